// The file commands of the session: what the document does with the file,
// in the order the sheet around it needs.
#include <mutex>

#include "core/session/SheetSession.h"

bool CSheetSession::AutosaveTick()
{
    if (!m_Autosave.IsDue())
        return false;
    CUserAction action(m_Group);
    std::lock_guard<std::recursive_mutex> lock(m_Grid.Mutex());
    CommitOpenEditor();  // what is being typed is saved too
    if (!m_Autosave.Tick(m_Document.IsModified()))
        return false;
    SaveFile();
    return true;
}

bool CSheetSession::AfterSave(bool bSaved)
{
    if (bSaved) {
        // Undo stops at the saved version; the autosave interval counts
        // from now.
        m_History.ResetHistory();
        m_Autosave.RestartAfterSave();
    }
    return bSaved;
}

bool CSheetSession::SaveFile()
{
    return AfterSave(m_Document.Save(Sheet()));
}

bool CSheetSession::SaveFileAs()
{
    return AfterSave(m_Document.SaveAs(Sheet()));
}

bool CSheetSession::GoOnAfterAsking(bool bNewTitle)
{
    const CSheetDocument::EAskResult answer = m_Document.AskToSave(Sheet(), bNewTitle);
    AfterSave(answer == CSheetDocument::ASK_SAVED);
    return answer != CSheetDocument::ASK_ABANDON;
}

void CSheetSession::AfterReplacing()
{
    m_Summary.RefreshItemList();
    m_Summary.CheckUnitLists();  // a file may hold lists that do not follow its items
    m_Grid.RebuildRefTable();
}

bool CSheetSession::NewFile()
{
    if (!GoOnAfterAsking(true))
        return false;
    // Every row goes, so that none keeps the formatting of the old sheet.
    Sheet().SetRows(1);
    ResetSheet();
    m_Document.StartNew();
    return true;
}

bool CSheetSession::OpenFile()
{
    if (!GoOnAfterAsking(false))
        return false;
    std::string path;
    if (!m_Document.ChooseFileToOpen(path)) {
        AfterReplacing();
        return false;
    }
    return LoadFile(path);
}

bool CSheetSession::OpenFileAt(const std::string& path)
{
    if (!GoOnAfterAsking(false))
        return false;
    return LoadFile(path);
}

bool CSheetSession::OpenRecentFile(int index)
{
    if (index < 0 || index >= CSheetDocument::RECENT_COUNT || !m_Document.RecentEnabled(index))
        return false;
    const std::string path = m_Document.RecentFile(index);  // the list may change meanwhile
    return OpenFileAt(path);
}

bool CSheetSession::LoadFile(const std::string& path)
{
    // The new sheet first: a file that cannot be read leaves it.
    ResetSheet();
    sheetfile::SHighlight colours;
    colours.m_clrSummary = m_Grid.SummaryColor();
    colours.m_clrError = m_Grid.ErrorColor();
    const bool ok = m_Document.Load(path, Sheet(), colours);
    AfterReplacing();
    return ok;
}
