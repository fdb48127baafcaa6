// The open sheet as a document: its path, title, flags and recent-file
// list, and the file commands New, Open, Save and Save As.
//
// Everything the user sees goes through CPrompt (questions, messages, file
// dialogs) and CDocumentSite (the sheet, the window title). Every command
// returns true when it did what was asked, false when it was refused,
// cancelled or failed (the user has been told).
#pragma once

#include <string>

#include "core/document/SheetFile.h"
#include "core/settings/SettingsStore.h"

class CAutosave;
class CDocumentSite;
class CProgress;
class CPrompt;

class CSheetDocument {
public:
    enum { RECENT_COUNT = 4 };

    CSheetDocument(CDocumentSite& site, CSettingsStore& store, CPrompt& prompt);

    // Optional parts: the progress window for reading and writing, and the
    // autosave schedule that restarts after each save.
    void SetProgress(CProgress* pProgress) { m_pProgress = pProgress; }
    void SetAutosave(CAutosave* pAutosave) { m_pAutosave = pAutosave; }
    // Where the previous version waits during a save; CacheFolder() unless set.
    void SetCacheFolder(const std::string& nativeFolder) { m_strCacheFolder = nativeFolder; }

    // When the view is first shown: reads the recent list and removes what
    // saves of runs that ended half way left in the cache folder and beside
    // the recent files.
    void LoadRecentList();

    // File commands.
    bool New();
    bool Open();                             // with the open-file dialog
    bool OpenPath(const std::string& path);  // recent files, start-up file, scripts
    bool Save();
    bool SaveAs();  // with the save-file dialog
    bool SaveAsPath(const std::string& path);
    bool OpenRecent(int index);  // 0..3
    // Before the view closes: false when the close must not happen.
    bool CanClose() { return AskToSave(false); }

    // State.
    bool IsModified() const { return m_bModified; }
    void SetModified(bool bModified) { m_bModified = bModified; }
    bool IsNamed() const { return m_bNamed; }
    // The file system's path; the title is GBK text.
    const std::string& Path() const { return m_strPath; }
    const std::string& Title() const { return m_strTitle; }
    std::string WindowTitle() const;
    // The content flag of the last save: a stored cell was not empty.
    bool SavedContent() const { return m_bContent; }

    // Recent list (paths), most recent first; an empty entry is free.
    const std::string& RecentFile(int index) const { return m_Recent[index]; }
    void AddRecent(const std::string& path);
    bool RecentEnabled(int index) const { return !m_Recent[index].empty(); }
    std::string RecentMenuText(int index) const;

    // The folder the file dialogs start in: WorkDir, or the current folder;
    // as text (GBK) and as a path.
    std::string WorkFolder() const;
    std::string WorkFolderPath() const;
    // The name a save dialog proposes: the title in the work folder.
    std::string ProposedPath() const;

private:
    // False when the command must be abandoned: the answer was Yes and the
    // save did not happen.
    bool AskToSave(bool bNewTitle);
    bool LoadFile(const std::string& path);
    void ResetDocument();
    void ShowTitle();
    void Warn(const std::string& text);

    CDocumentSite& m_Site;
    CSettingsKey m_Settings;
    CPrompt& m_Prompt;
    CProgress* m_pProgress = nullptr;
    CAutosave* m_pAutosave = nullptr;
    std::string m_strCacheFolder;

    bool m_bModified = false;
    bool m_bNamed = false;
    bool m_bContent = false;
    std::string m_strPath;
    std::string m_strTitle;
    std::string m_Recent[RECENT_COUNT];
    // The properties of the file read last, written back as they were.
    sheetfile::SKeptProperties m_KeptProps;
};
