#include "core/document/SheetDocument.h"

#include <unistd.h>

#include <algorithm>

#include "core/document/DocumentTexts.h"
#include "core/document/FileOps.h"
#include "core/document/SheetFile.h"
#include "core/engine/Prompt.h"
#include "core/sheet/SheetGrid.h"
#include "core/text/TextCodec.h"

CSheetDocument::CSheetDocument(CSettingsStore& store, CPrompt& prompt)
    : m_Settings(store), m_Prompt(prompt), m_strTitle(doctext::NEW_TITLE)
{
}

void CSheetDocument::LoadRecentList()
{
    for (int i = 0; i < RECENT_COUNT; ++i)
        m_Recent[i] = docfile::TextToPath(m_Settings.ReadString(doctext::KEY_RECENT[i]));
    const std::string cache = m_strCacheFolder.empty() ? docfile::CacheFolder() : m_strCacheFolder;
    if (!cache.empty())
        docfile::RemoveStaleTemps(cache);
    for (const std::string& recent : m_Recent) {
        if (!recent.empty())
            docfile::RemoveStaleTemps(docfile::FolderOf(recent));
    }
}

std::string CSheetDocument::WindowTitle() const
{
    return std::string(doctext::TEXT_TITLE_PREFIX) + "[" + m_strTitle + "]";
}

void CSheetDocument::Warn(const std::string& text)
{
    m_Prompt.ShowMessage(text, doctext::TEXT_WARNING);
}

std::string CSheetDocument::WorkFolder() const
{
    return docfile::PathToText(WorkFolderPath());
}

std::string CSheetDocument::ProposedPath() const
{
    return WorkFolderPath() + "/" + docfile::TextToPath(m_strTitle);
}

std::string CSheetDocument::WorkFolderPath() const
{
    const std::string folder = m_Settings.ReadString(doctext::KEY_WORK_DIR);
    if (!folder.empty())
        return docfile::TextToPath(folder);
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

void CSheetDocument::ResetDocument()
{
    m_bNamed = false;
    m_bModified = false;
    m_KeptProps = sheetfile::SKeptProperties();
}

CSheetDocument::EAskResult CSheetDocument::AskToSave(SheetGrid& sheet, bool bNewTitle)
{
    if (!m_bModified)
        return ASK_GO_ON;
    const CPrompt::EAnswer answer = m_Prompt.AskQuestion(doctext::TEXT_ASK_SAVE, doctext::TEXT_WARNING, CPrompt::BUTTONS_YESNO);
    if (answer == CPrompt::ANSWER_NO)
        return ASK_GO_ON;
    if (answer != CPrompt::ANSWER_YES)
        return ASK_ABANDON;  // the box was closed without an answer: keep the sheet
    // An unnamed sheet is offered under the new-sheet name when New asks.
    const std::string oldTitle = m_strTitle;
    if (bNewTitle && !m_bNamed)
        m_strTitle = doctext::NEW_TITLE;
    if (Save(sheet))
        return ASK_SAVED;
    // Not saved (Save As cancelled, name refused, write failed): the
    // command is abandoned, so the unsaved work stays.
    if (!m_bNamed)
        m_strTitle = oldTitle;
    return ASK_ABANDON;
}

void CSheetDocument::StartNew()
{
    m_strTitle = doctext::NEW_TITLE;
    ResetDocument();
}

bool CSheetDocument::ChooseFileToOpen(std::string& path)
{
    // The dialog starts in the document's folder, or in the work folder.
    const std::string folder = m_strPath.empty() ? WorkFolderPath() : docfile::FolderOf(m_strPath);
    path = (folder.empty() ? std::string() : folder + "/") + "*.qtx";
    return m_Prompt.ChooseFile(false, doctext::FILE_FILTER, path);
}

bool CSheetDocument::Load(const std::string& path, SheetGrid& sheet, const sheetfile::SHighlight& colours)
{
    ResetDocument();
    m_strPath = path;
    m_strTitle = docfile::PathToText(docfile::TitleFromPath(path));

    std::string data;
    std::string error;
    bool ok = false;
    switch (docfile::ReadWholeFile(path, data)) {
    case docfile::READ_OK:
        // An empty file leaves the new sheet.
        ok = data.empty() || sheetfile::ReadSheet(sheet, colours, m_Settings, m_pProgress, data.data(), data.size(), error, &m_KeptProps);
        break;
    case docfile::READ_TOO_LARGE:
        error = doctext::TEXT_TOO_LARGE;
        break;
    case docfile::READ_CANNOT_OPEN:
        error = doctext::TEXT_OPEN_FAILED;
        break;
    }
    if (!ok) {
        Warn(error);
        return false;
    }
    m_bNamed = true;
    m_bModified = false;
    AddRecent(path);
    return true;
}

bool CSheetDocument::Save(SheetGrid& sheet)
{
    if (!m_bNamed)
        return SaveAs(sheet);
    m_bContent = false;

    const std::string& native = m_strPath;
    const std::string cache = m_strCacheFolder.empty() ? docfile::CacheFolder() : m_strCacheFolder;
    docfile::RemoveStaleTemps(docfile::FolderOf(native));
    if (!cache.empty())
        docfile::RemoveStaleTemps(cache);

    std::string data;
    bool bContent = false;
    std::string reason;
    docfile::CAtomicFile file;
    if (!sheetfile::WriteSheet(sheet, m_Settings, m_pProgress, data, bContent, &m_KeptProps) || !file.Write(native, data, reason)) {
        Warn(doctext::TEXT_SAVE_FAILED);
        return false;
    }
    m_bContent = bContent;

    // The backups lie beside the name the user gave (a symbolic link too)
    // and are always files of their own. A document that is itself named
    // like its backup gets none.
    const std::string bak = docfile::BackupPath(native, "bak");
    const std::string older = docfile::BackupPath(native, "~~k");
    const bool bBackups = bak != native && older != native;
    // The previous version is kept aside (a second name of its data) before
    // the new one replaces it; whether it becomes the backup depends on the
    // content of the new one.
    std::string previous;
    if (bBackups && !cache.empty()) {
        previous = cache + "/quantorix-" + std::to_string(::getpid()) + ".tmp";
        // A file that did not exist before has no previous version: the
        // copy is then gone rather than stale.
        if (!docfile::LinkOrCopy(native, previous)) {
            docfile::RemoveFile(previous);
            previous.clear();
        }
    }
    if (!file.Commit(reason)) {
        docfile::RemoveFile(previous);
        Warn(doctext::TEXT_SAVE_FAILED);
        return false;
    }
    // Only now that the new version is in place do the backups move on.
    if (bBackups)
        docfile::LinkOrCopy(bak, older);

    m_bNamed = true;
    m_bModified = false;
    AddRecent(m_strPath);
    if (!previous.empty()) {
        if (m_bContent)
            docfile::MoveFileReplace(previous, bak);
        else
            docfile::RemoveFile(previous);
    }
    return true;
}

bool CSheetDocument::SaveAs(SheetGrid& sheet)
{
    std::string name = ProposedPath();
    if (!m_Prompt.ChooseFile(true, doctext::FILE_FILTER, name))
        return false;
    return SaveAsPath(sheet, name);
}

bool CSheetDocument::SaveAsPath(SheetGrid& sheet, const std::string& path)
{
    const std::string title = docfile::PathToText(docfile::TitleFromPath(path));
    if (docfile::HasForbiddenChar(title)) {
        Warn(doctext::TEXT_BAD_NAME);
        return false;
    }
    const std::string oldPath = m_strPath;
    const std::string oldTitle = m_strTitle;
    const bool bOldNamed = m_bNamed;
    m_strPath = path;
    m_strTitle = title;
    m_bNamed = true;
    if (Save(sheet))
        return true;
    // Not written: the document still belongs where it was.
    m_strPath = oldPath;
    m_strTitle = oldTitle;
    m_bNamed = bOldNamed;
    return false;
}

void CSheetDocument::AddRecent(const std::string& named)
{
    // Kept absolute: the list is used again from wherever the program starts.
    const std::string path = docfile::AbsolutePath(named);
    // The entry that leaves: the same path, else the first free one, else
    // the oldest. Those before it move one place down.
    int leave = RECENT_COUNT - 1;
    const auto begin = m_Recent;
    const auto end = m_Recent + RECENT_COUNT;
    auto found = std::find(begin, end, path);
    if (found == end)
        found = std::find(begin, end, std::string());
    if (found != end)
        leave = static_cast<int>(found - begin);
    for (int i = leave; i > 0; --i)
        m_Recent[i] = m_Recent[i - 1];
    m_Recent[0] = path;
    for (int i = 0; i < RECENT_COUNT; ++i)
        m_Settings.WriteValue(doctext::KEY_RECENT[i], docfile::PathToText(m_Recent[i]));
}

std::string CSheetDocument::RecentMenuText(int index) const
{
    const std::string& path = m_Recent[index];
    if (path.empty())
        return std::string(doctext::TEXT_RECENT) + std::to_string(index + 1);
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && path.substr(0, slash) == WorkFolderPath())
        return docfile::PathToText(docfile::TitleFromPath(path));
    return docfile::PathToText(path);
}
