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
    // A command of the script with the rest of its line; false with the
    // reason when the line is bad.
    using FCommand = bool (CRunSession::*)(const std::string& command, const std::string& rest, std::string& error);
    struct SCommand {
        const char* m_szName;
        FCommand m_pRun;
    };
    static const SCommand COMMANDS[];

    bool Dispatch(const std::string& command, const std::string& rest, std::string& error);
    bool SetValue(const std::string& command, const std::string& rest, std::string& error);
    bool GetValue(const std::string& command, const std::string& rest, std::string& error);
    bool Answer(const std::string& command, const std::string& rest, std::string& error);
    bool Timing(const std::string& command, const std::string& rest, std::string& error);
    bool ClickCell(const std::string& command, const std::string& rest, std::string& error);
    bool SelectRange(const std::string& command, const std::string& rest, std::string& error);
    bool TypeText(const std::string& command, const std::string& rest, std::string& error);
    bool TypeChars(const std::string& command, const std::string& rest, std::string& error);
    bool EditCell(const std::string& command, const std::string& rest, std::string& error);
    bool PressKey(const std::string& command, const std::string& rest, std::string& error);
    bool OpenOrSaveAs(const std::string& command, const std::string& rest, std::string& error);
    bool ExportExcel(const std::string& command, const std::string& rest, std::string& error);
    bool Decimals(const std::string& command, const std::string& rest, std::string& error);
    bool Align(const std::string& command, const std::string& rest, std::string& error);
    bool AppendText(const std::string& command, const std::string& rest, std::string& error);
    bool RemoveText(const std::string& command, const std::string& rest, std::string& error);
    bool ChooseItem(const std::string& command, const std::string& rest, std::string& error);
    bool SetClipboard(const std::string& command, const std::string& rest, std::string& error);
    bool PrintMode(const std::string& command, const std::string& rest, std::string& error);
    bool PrintPdf(const std::string& command, const std::string& rest, std::string& error);
    bool SystemSettings(const std::string& command, const std::string& rest, std::string& error);
    bool EditSettings(const std::string& command, const std::string& rest, std::string& error);
    bool ShowCell(const std::string& command, const std::string& rest, std::string& error);
    bool ShowHeight(const std::string& command, const std::string& rest, std::string& error);
    bool Dump(const std::string& command, const std::string& rest, std::string& error);
    bool ShowEditor(const std::string& command, const std::string& rest, std::string& error);
    bool ShowItems(const std::string& command, const std::string& rest, std::string& error);
    bool ShowState(const std::string& command, const std::string& rest, std::string& error);
    bool ShowClipboard(const std::string& command, const std::string& rest, std::string& error);
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
