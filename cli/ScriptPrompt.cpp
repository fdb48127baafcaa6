#include "cli/ScriptPrompt.h"

#include "cli/QtxCommon.h"

namespace qtx {

void CScriptPrompt::ShowMessage(const std::string& text, const std::string&)
{
    m_strLastMessage = PrintableText(text);
    m_Out << "message: " << m_strLastMessage << "\n";
}

CPrompt::EAnswer CScriptPrompt::AskQuestion(const std::string& text, const std::string&, EButtons)
{
    if (m_Answers.empty()) {
        // A question nobody answers ends the session; until the script
        // stops, it counts as "no" so that nothing is overwritten or lost.
        if (!m_bUnanswered) {
            m_bUnanswered = true;
            m_strUnanswered = text;
        }
        return ANSWER_CANCEL;
    }
    const bool yes = m_Answers.front();
    m_Answers.pop_front();
    m_Out << "question: " << PrintableText(text) << " -> " << (yes ? "yes" : "no") << "\n";
    return yes ? ANSWER_YES : ANSWER_NO;
}

bool CScriptPrompt::ChooseFile(bool, const std::string&, std::string& path)
{
    if (m_strNextFile.empty())
        return false;
    path = m_strNextFile;
    m_strNextFile.clear();
    return true;
}

void CScriptPrompt::ShowStatus(const std::string&) {}

}  // namespace qtx
