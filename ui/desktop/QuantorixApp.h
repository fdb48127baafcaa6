// The application object: owns the settings store, the prompt, the sheet's
// controller, the main window and the view for the whole run, and runs the
// start-up: splash picture, main window and view, window placement, and the
// file named on the command line.
#pragma once

#include "core/settings/IniSettingsStore.h"
#include "core/settings/SettingsStore.h"
#include "ui/desktop/QtPrompt.h"
#include "ui/desktop/SheetViewController.h"

#include <QStringList>
#include <cstdint>
#include <memory>
#include <string>

class CMainFrame;
class CQuantorixView;

class CQuantorixApp {
public:
    CQuantorixApp();
    ~CQuantorixApp();

    // Qt's own texts (file dialogs, the buttons of message boxes, the colour
    // chooser, the text edit's menu) in Chinese whatever the system's
    // language, as the program's own texts are. False when Qt's Chinese
    // translations are not installed; the program then runs with Qt's
    // English.
    static bool LoadChineseTranslations();

    // The start-up; false ends the program at once. args are the program's
    // arguments without the program name.
    bool InitInstance(const QStringList& args);

    CMainFrame* Frame() const { return m_pFrame.get(); }
    CQuantorixView* View() const { return m_pView; }
    const CSettingsKey& Key() const { return m_Key; }

    // The path of a sheet file the view opens shortly after start-up.
    std::string m_strPendingOpen;

private:
    void ShowSplash();

    CIniSettingsStore m_Store;
    CSettingsKey m_Key;
    CQtPrompt m_Prompt;
    std::unique_ptr<CSheetViewController> m_pController;
    std::unique_ptr<CMainFrame> m_pFrame;
    CQuantorixView* m_pView = nullptr;
    int m_nCommandLineOnce = 1;
};
