// The open sheet as a document: its path, title, flags and recent-file
// list, and the reading and writing of its file.
//
// The document reads into and writes from the sheet it is given; whoever
// owns the sheet resets it before a file is read and does what the sheet
// needs afterwards. Everything the user sees goes through CPrompt
// (questions, messages, file dialogs). Every command returns whether it did
// what was asked: false when it was refused, cancelled or failed (the user
// has been told).
#pragma once

#include <string>

#include "core/document/SheetFile.h"
#include "core/settings/SettingsStore.h"

class CProgress;
class CPrompt;
class SheetGrid;

class CSheetDocument {
public:
    enum { RECENT_COUNT = 4 };

    // How the question before unsaved work is replaced or closed ended.
    enum EAskResult {
        ASK_GO_ON,    // nothing unsaved, or the user chose not to save
        ASK_SAVED,    // saved as the user asked; the command goes on
        ASK_ABANDON,  // no answer, or the save did not happen: keep the sheet
    };

    CSheetDocument(CSettingsStore& store, CPrompt& prompt);

    // The progress window for reading and writing (optional).
    void SetProgress(CProgress* pProgress) { m_pProgress = pProgress; }
    // Where the previous version waits during a save; CacheFolder() unless set.
    void SetCacheFolder(const std::string& nativeFolder) { m_strCacheFolder = nativeFolder; }

    // When the view is first shown: reads the recent list and removes what
    // saves of runs that ended half way left in the cache folder and beside
    // the recent files.
    void LoadRecentList();

    // Before the sheet is replaced or closed: asks whether to save a modified
    // sheet, and saves it on Yes. An unnamed sheet is offered under the
    // new-sheet name when a new sheet replaces it (bNewTitle).
    EAskResult AskToSave(SheetGrid& sheet, bool bNewTitle);
    // The open-file dialog, in the document's folder or the work folder.
    // False when cancelled; path receives the choice.
    bool ChooseFileToOpen(std::string& path);
    // The sheet has been reset as a new one: unnamed, unchanged, under the
    // new-sheet title. The path stays as the open dialog's starting point.
    void StartNew();
    // Reads a file into the sheet, which the caller has reset. The document
    // takes the file's path and title either way; false when the file could
    // not be read (the sheet stays the new one).
    bool Load(const std::string& path, SheetGrid& sheet, const sheetfile::SHighlight& colours);
    // Writes the sheet to the document's file (an unnamed sheet asks for a
    // name first), keeping the previous versions as backups.
    bool Save(SheetGrid& sheet);
    bool SaveAs(SheetGrid& sheet);  // with the save-file dialog
    bool SaveAsPath(SheetGrid& sheet, const std::string& path);

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
    void ResetDocument();
    void Warn(const std::string& text);

    CSettingsKey m_Settings;
    CPrompt& m_Prompt;
    CProgress* m_pProgress = nullptr;
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
