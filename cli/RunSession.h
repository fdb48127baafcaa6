// One scripted session of qtx run: a sheet that starts as the program
// starts, driven one script line at a time.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/ScriptPrompt.h"
#include "core/edit/ClipboardOps.h"
#include "core/engine/CalcState.h"

class CSettingsStore;
class CSheetSession;

namespace qtx {

class CRunSession {
public:
    explicit CRunSession(std::ostream& out);
    ~CRunSession();

    // Runs one script line; false with the reason when the line is bad or
    // the session cannot go on (an unanswered question).
    bool Execute(const std::string& line, std::string& error);

private:
    bool Dispatch(const std::string& command, const std::string& rest, std::string& error);
    bool SheetCommand(const std::string& command, const std::string& rest, std::string& error);
    bool PrintMode(const std::string& rest, std::string& error);
    bool SettingsDialog(bool bSystem, const std::string& rest, std::string& error);
    bool LookCommand(const std::string& command, const std::string& rest, std::string& error);
    std::string Text(const std::string& rest);
    void PrintRows();

    std::ostream& m_Out;
    std::unique_ptr<CSettingsStore> m_pStore;
    CCalcState m_State;
    CScriptPrompt m_Prompt;
    CMemoryClipboard m_Clipboard;
    std::unique_ptr<CSheetSession> m_pSheet;
    bool m_bTiming = false;
};

}  // namespace qtx
