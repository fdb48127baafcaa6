#include "core/session/MessageGroup.h"

#include "core/settings/SettingsStore.h"

namespace {
// "（共" and "次）": "N times in all", behind a message that came N times.
const char COUNT_OPEN[] = "\xA3\xA8\xB9\xB2";
const char COUNT_CLOSE[] = "\xB4\xCE\xA3\xA9";
}  // namespace

void CMessageGroup::ShowMessage(const std::string& text, const std::string& caption)
{
    if (m_nDepth == 0) {
        m_Target.ShowMessage(text, caption);
        return;
    }
    for (SMessage& kept : m_Kept)
        if (kept.m_strText == text && kept.m_strCaption == caption) {
            ++kept.m_nCount;
            return;
        }
    m_Kept.push_back({text, caption, 1});
}

CPrompt::EAnswer CMessageGroup::AskQuestion(const std::string& text, const std::string& caption, EButtons buttons)
{
    Flush();
    return m_Target.AskQuestion(text, caption, buttons);
}

bool CMessageGroup::ChooseFile(bool bSave, const std::string& filter, std::string& path)
{
    Flush();
    return m_Target.ChooseFile(bSave, filter, path);
}

bool CMessageGroup::ChooseFileOfType(bool bSave, const std::string& filter, std::string& path, int& nType)
{
    Flush();
    return m_Target.ChooseFileOfType(bSave, filter, path, nType);
}

void CMessageGroup::BeginAction()
{
    ++m_nDepth;
    if (m_pStore)
        m_pStore->BeginBatch();
}

void CMessageGroup::EndAction()
{
    if (m_nDepth == 0)
        return;
    --m_nDepth;
    if (m_pStore)
        m_pStore->EndBatch();
    if (m_nDepth == 0)
        Flush();
}

void CMessageGroup::Flush()
{
    // Taken first: a message box runs an event loop that may start another
    // action.
    std::vector<SMessage> kept;
    kept.swap(m_Kept);
    for (const SMessage& message : kept)
        m_Target.ShowMessage(CountedText(message.m_strText, message.m_nCount), message.m_strCaption);
}

std::string CMessageGroup::CountedText(const std::string& text, int count)
{
    if (count <= 1)
        return text;
    return text + "\n" + COUNT_OPEN + std::to_string(count) + COUNT_CLOSE;
}
