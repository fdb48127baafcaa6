// A sequence of user actions on a whole sheet (clicks, typing, keys,
// commands, bulk edits, the item list, the clipboard, the settings dialogs)
// decoded from arbitrary bytes and run through CSheetSession, with the
// invariants that must hold after every action checked as it goes.
//
// Shared by the fuzz target (which aborts on the first broken invariant) and
// the replay test (which runs every stored input as a regression case).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "core/edit/ClipboardOps.h"
#include "core/engine/CalcState.h"
#include "core/engine/ExprText.h"
#include "core/engine/GbkText.h"
#include "core/engine/Prompt.h"
#include "core/session/CommandIds.h"
#include "core/session/SheetSession.h"
#include "core/settings/SettingsDialogData.h"
#include "core/settings/SettingsStore.h"
#include "core/sheet/CellText.h"
#include "core/sheet/SheetGrid.h"

namespace sheetactions {

// Bytes read front to back; an exhausted reader reads zeros and ends the run.
class CByteReader {
public:
    CByteReader(const std::uint8_t* data, std::size_t size) : m_pData(data), m_nSize(size) {}
    bool AtEnd() const { return m_nPos >= m_nSize; }
    std::uint8_t Byte() { return m_nPos < m_nSize ? m_pData[m_nPos++] : 0; }
    int Below(int n) { return n <= 0 ? 0 : Byte() % n; }

private:
    const std::uint8_t* m_pData;
    std::size_t m_nSize;
    std::size_t m_nPos = 0;
};

// Pieces of what a user types into an expression sheet.
inline const char* const PIECES[] = {
    "0",
    "1",
    "2",
    "3",
    "5",
    "7",
    "9",
    "12",
    "3.5",
    ".",
    "100",
    "0.001",
    "99999999999",
    "1e308",
    "-1",
    "+",
    "-",
    "*",
    "/",
    "^",
    "(",
    ")",
    "[",
    "]",
    "[note]",
    "[[x]",
    "()",
    "=",
    ";",
    "\n",
    "\r\n",
    " ",
    "a1",
    "b",
    "x1",
    "A1",
    "ab12cd",
    "toolong1",
    "1a",
    "sin(",
    "cos(",
    "tan(",
    "ctg(",
    "log(",
    "sqrt(",
    "sqrt(-1)",
    "log(0)",
    "1/0",
    "0/0",
    "10^999",
    "2^0.5",
    "tan(90)",
    "ctg(0)",
    "(1+2)*3",
    "a1*2",
    "\x81\x5B",  // a double-byte character whose second byte is "["
    "\xB0\x5D",  // ... "]"
    "\xC4\x5E",  // ... "^"
    "\xB0\x61",  // ... "a"
    "\xD7\x41",  // ... "A"
    "\xB0\x40",  // ... "@"
    "\xC7\xBD",  // 墙
    "\xB3\xA4",  // 长
    "\xC3\xD7",  // 米
    "\xA3\xA8",  // （
    "\xA3\xA9",  // ）
    "\xA3\xAB",  // ＋
    "\xA3\xAD",  // －
    "\xA3\xAA",  // ＊
    "\xA3\xAF",  // ／
    "\xA3\xBB",  // ；
    "\xA3\xBD",  // ＝
    "\xA1\xBE",  // 【
    "\xA1\xBF",  // 】
    "\xA3\xB1",  // １
    "\xA3\xAE",  // ．
    "\xA1\xC1",  // ×
    "\x81",      // a lead byte on its own
    "\t",
};
inline const int PIECE_COUNT = static_cast<int>(sizeof(PIECES) / sizeof(PIECES[0]));

// One typed character: a single piece of one character.
inline const char* const CHARS[] = {
    "0",
    "1",
    "5",
    "9",
    ".",
    "+",
    "-",
    "*",
    "/",
    "^",
    "(",
    ")",
    "[",
    "]",
    "=",
    ";",
    " ",
    "a",
    "b",
    "x",
    "z",
    "\x81\x5B",
    "\xB0\x5D",
    "\xC4\x5E",
    "\xB0\x61",
    "\xC7\xBD",
    "\xA3\xA8",
    "\xA3\xBB",
    "\xA1\xBE",
    "\xA3\xBD",
};
inline const int CHAR_COUNT = static_cast<int>(sizeof(CHARS) / sizeof(CHARS[0]));

inline const int COMMANDS[] = {
    cmdid::EDIT_UNDO,
    cmdid::EDIT_REDO,
    cmdid::EDIT_UNDO,
    cmdid::EDIT_CUT,
    cmdid::EDIT_COPY,
    cmdid::EDIT_PASTE,
    cmdid::EDIT_CLEAR,
    cmdid::INSERT_ROWS,
    cmdid::DELETE_ROWS,
    cmdid::TOGGLE_SUMMARY,
    cmdid::TOGGLE_MINUS,
    cmdid::ALIGN_LEFT,
    cmdid::ALIGN_CENTER,
    cmdid::ALIGN_RIGHT,
    cmdid::MORE_DECIMALS,
    cmdid::FEWER_DECIMALS,
    cmdid::INSERT_EXAMPLE,
    cmdid::FILE_NEW,
    cmdid::FILE_OPEN,
    cmdid::FILE_SAVE,
    cmdid::FILE_SAVE_AS,
    cmdid::RECENT_FILE_1,
    cmdid::RECENT_FILE_1 + 1,
    cmdid::RECENT_FILE_4,
};
inline const int COMMAND_COUNT = static_cast<int>(sizeof(COMMANDS) / sizeof(COMMANDS[0]));

const std::size_t MAX_TEXT = 300;
const int MAX_ACTIONS = 200;

// Answers and file choices taken from the input. Files are chosen inside
// the run's folder (or the choice is cancelled).
class CScriptedPrompt : public CPrompt {
public:
    CScriptedPrompt(CByteReader& in, const std::string& folder) : m_In(in), m_strFolder(folder) {}
    void ShowMessage(const std::string&, const std::string&) override {}
    EAnswer AskQuestion(const std::string&, const std::string&, EButtons buttons) override
    {
        const int n = buttons == BUTTONS_YESNOCANCEL ? 3 : 2;
        const int pick = m_In.Below(n);
        return pick == 0 ? ANSWER_NO : pick == 1 ? ANSWER_YES
                                                 : ANSWER_CANCEL;
    }
    bool ChooseFile(bool, const std::string&, std::string& path) override
    {
        const int pick = m_In.Below(6);
        if (pick == 0)
            return false;
        if (pick == 5)
            path = m_strFolder + "/missing/x.qtx";  // a folder that does not exist
        else
            path = m_strFolder + "/f" + std::to_string(pick) + ".qtx";
        return true;
    }

private:
    CByteReader& m_In;
    std::string m_strFolder;
};

// A short text from dictionary pieces, now and then with raw input bytes.
inline std::string ReadText(CByteReader& in)
{
    std::string text;
    const int pieces = in.Below(10) + 1;
    for (int i = 0; i < pieces && text.size() < MAX_TEXT; ++i) {
        const std::uint8_t b = in.Byte();
        if (b >= 250) {
            const int raw = in.Below(6) + 1;
            for (int k = 0; k < raw; ++k)
                text += static_cast<char>(in.Byte());
        } else {
            text += PIECES[b % PIECE_COUNT];
        }
    }
    if (text.size() > MAX_TEXT)
        text.resize(MAX_TEXT);
    return text;
}

// The run's state: the sheet with everything around it.
struct SRun {
    SRun(CByteReader& in, const std::string& folder)
        : m_In(in), m_strFolder(folder), m_Prompt(in, folder), m_Controller(m_State, m_Store, m_Prompt, m_Clipboard)
    {
    }
    CByteReader& m_In;
    std::string m_strFolder;
    CCalcState m_State;
    CMemorySettingsStore m_Store;
    CScriptedPrompt m_Prompt;
    CMemoryClipboard m_Clipboard;
    CSheetSession m_Controller;
    bool m_bGrown = false;
};

// A row: mostly near the top, sometimes around the sheet's end or outside
// it; once per run after growing the sheet.
inline int ReadRow(SRun& run)
{
    const int rows = run.m_Controller.Sheet().Rows();
    const std::uint8_t b = run.m_In.Byte();
    if (b < 192)
        return b % 24 + 1;
    if (b < 232)
        return rows - 4 + b % 6;
    if (b < 250)
        return b % 2 ? -(b % 5) : rows + b % 7;
    if (b == 255 && !run.m_bGrown) {
        // Once per run the sheet grows, doubling a few times by inserting
        // as many rows as it has, up to the largest row count.
        run.m_bGrown = true;
        CSheetSession& ctl = run.m_Controller;
        const int times = run.m_In.Below(13);
        for (int i = 0; i < times; ++i) {
            ctl.Click(1, COL_FORMULA);
            ctl.ShiftClick(ctl.Sheet().Rows() - 1, COL_FORMULA);
            ctl.RunCommand(cmdid::INSERT_ROWS);
        }
        return ctl.Sheet().Rows() - 1 - run.m_In.Below(4);
    }
    return 1;
}

inline int ReadCol(CByteReader& in) { return in.Below(9) - 1; }

// Empty when every invariant holds, else what broke.
inline std::string CheckInvariants(SRun& run)
{
    CSheetSession& ctl = run.m_Controller;
    SheetGrid& sheet = ctl.Sheet();
    const int rows = sheet.Rows();
    if (rows < 2 || rows > SHEET_MAX_ROWS)
        return "row count " + std::to_string(rows);
    if (sheet.Row() < 1 || sheet.Row() >= rows || sheet.Col() < 1 || sheet.Col() >= SHEET_COLS)
        return "current cell " + std::to_string(sheet.Row()) + "," + std::to_string(sheet.Col());
    if (sheet.RowSel() < 1 || sheet.RowSel() >= rows || sheet.ColSel() < 1 || sheet.ColSel() >= SHEET_COLS)
        return "selection corner " + std::to_string(sheet.RowSel()) + "," + std::to_string(sheet.ColSel());
    const CCellEditor& editor = ctl.Editor();
    if (editor.IsShown()) {
        if (editor.Caret() > editor.Text().size() || !gbk::IsCharStart(editor.Text(), editor.Caret()))
            return "editor caret " + std::to_string(editor.Caret()) + " in " + editor.Text();
    } else if (!editor.Text().empty()) {
        return "hidden editor keeps text";
    }
    int items = 0;
    for (int row = 1; row < rows; ++row) {
        if (!sheet.TextMatrix(row, COL_SEQ).empty())
            ++items;
        const std::string ref = celltext::WithoutLineBreaks(sheet.TextMatrix(row, COL_REF));
        if (!ref.empty() && celltext::MakeRefName(ref) != ref)
            return "reference name '" + ref + "' in row " + std::to_string(row);
        const std::string& formula = sheet.TextMatrix(row, COL_FORMULA);
        const std::size_t sep = exprtext::FindResultSeparator(formula);
        if (sep < formula.size()) {
            // Only the ASCII of the result counts: a double-byte character
            // whose bytes spell part of a word is no result.
            std::string ascii;
            for (std::size_t i = sep + 1; i < formula.size(); i += gbk::CharLength(formula, i))
                ascii += gbk::CharLength(formula, i) == 1 ? gbk::ToLowerAscii(formula[i]) : ' ';
            if (ascii.find("nan") != std::string::npos || ascii.find("inf") != std::string::npos)
                return "result '" + formula + "' in row " + std::to_string(row);
        }
    }
    if (items != static_cast<int>(ctl.Summary().ItemEntries().size()))
        return "item list of " + std::to_string(ctl.Summary().ItemEntries().size()) + " entries for " + std::to_string(items) + " numbered rows";
    return std::string();
}

inline void ChangeSystemSettings(SRun& run)
{
    CByteReader& in = run.m_In;
    CSettingsKey key(run.m_Store);
    SSystemSettingsData data;
    data.Load(key, run.m_strFolder);
    if (in.Below(2) == 0)
        return;  // cancelled
    switch (in.Below(6)) {
    case 0: data.m_strEnterDir = EnterDirValue(in.Below(5)); break;
    case 1: data.m_strShowStyle = ShowStyleValue(in.Below(4)); break;
    case 2: data.m_bClearOnNew = !data.m_bClearOnNew; break;
    case 3: data.m_strInterval = std::to_string(in.Below(80)); break;
    case 4: data.m_strProject = ReadText(in); break;
    default: data.m_strWorkDir = run.m_strFolder + "/"; break;
    }
    data.Save(key);
    run.m_Controller.AfterSystemSettings();
}

inline void ChangeEditSettings(SRun& run)
{
    CByteReader& in = run.m_In;
    CSettingsKey key(run.m_Store);
    SEditSettingsData data;
    data.Load(key);
    const int what = in.Below(4);
    if (what == 0)
        data.RestoreDefaults();
    else if (what == 1)
        data.m_strLabel[in.Below(SEditSettingsData::LABEL_COUNT)] = ReadText(in);
    else if (what == 2)
        data.m_clrError = in.Byte() * 0x010101u;
    else
        data.m_clrSummary = in.Byte() * 0x000101u;
    if (in.Below(3) != 0)
        data.Save(key);
    run.m_Controller.AfterEditSettings(data);
}

// Another program puts a clipboard text of a few rows of cells.
inline void PutOnClipboard(SRun& run)
{
    CByteReader& in = run.m_In;
    std::string text;
    const int cells = in.Below(8) + 1;
    for (int i = 0; i < cells && text.size() < MAX_TEXT; ++i) {
        text += ReadText(in);
        const int sep = in.Below(4);
        text += sep == 0 ? "\t" : sep == 1 ? "\n"
            : sep == 2                     ? "\r\n"
                                           : "";
    }
    run.m_Clipboard.SetText(text);
}

// A click or a drag inside the open editor, anywhere in its bytes.
inline void ClickInEditor(SRun& run)
{
    CByteReader& in = run.m_In;
    CCellEditor& editor = run.m_Controller.Editor();
    const int size = static_cast<int>(editor.Text().size());
    const std::size_t anchor = static_cast<std::size_t>(in.Below(size + 2));
    const std::size_t caret = static_cast<std::size_t>(in.Below(size + 2));
    if (editor.IsShown()) {
        if (in.Below(2))
            editor.SetCaret(caret);
        else
            editor.SetSelection(anchor, caret);
    }
}

// Runs one action; false at the end of the input.
inline bool RunAction(SRun& run)
{
    CByteReader& in = run.m_In;
    if (in.AtEnd())
        return false;
    CSheetSession& ctl = run.m_Controller;
    switch (in.Below(18)) {
    case 0:
    case 1: {
        const int row = ReadRow(run);
        ctl.Click(row, ReadCol(in));
        break;
    }
    case 2: {
        const int row = ReadRow(run);
        ctl.ShiftClick(row, ReadCol(in));
        break;
    }
    case 3:
    case 4: ctl.TypeText(ReadText(in)); break;
    case 5: ctl.TypeChar(CHARS[in.Below(CHAR_COUNT)]); break;
    case 6: ctl.CommitEditor(); break;
    case 7:
    case 8: ctl.PressKey(static_cast<ESheetKey>(in.Below(SHEETKEY_OTHER + 1))); break;
    case 9:
    case 10: {
        const int id = COMMANDS[in.Below(COMMAND_COUNT)];
        ctl.RunCommand(id);
        if (id == cmdid::MORE_DECIMALS || id == cmdid::FEWER_DECIMALS)
            ctl.CalcGrid().WaitForRecalc();
        break;
    }
    case 11:
        if (in.Below(2))
            ctl.AppendText(ReadText(in));
        else
            ctl.RemoveText(ReadText(in));
        break;
    case 12: ctl.ChooseItem(in.Below(static_cast<int>(ctl.Summary().ItemEntries().size()) + 3) - 1); break;
    case 13: PutOnClipboard(run); break;
    case 14: ChangeSystemSettings(run); break;
    case 15: ChangeEditSettings(run); break;
    case 16: ClickInEditor(run); break;
    default: {
        // A burst of key presses of characters.
        const int count = in.Below(8) + 1;
        for (int i = 0; i < count; ++i)
            ctl.TypeChar(CHARS[in.Below(CHAR_COUNT)]);
        break;
    }
    }
    return true;
}

// Runs the actions of one input in folder (which must exist); the files
// chosen there are removed first so that every run starts alike. Empty
// when every invariant held, else the action number and what broke.
inline std::string RunActions(const std::uint8_t* data, std::size_t size, const std::string& folder)
{
    for (int i = 1; i <= 5; ++i)
        std::remove((folder + "/f" + std::to_string(i) + ".qtx").c_str());
    CByteReader in(data, size);
    // A file that is no sheet, from the first bytes of the input.
    {
        std::ofstream junk(folder + "/f4.qtx", std::ios::binary);
        const int n = in.Below(16);
        for (int i = 0; i < n; ++i)
            junk.put(static_cast<char>(in.Byte()));
    }
    SRun run(in, folder);
    run.m_Controller.Start();
    std::string error = CheckInvariants(run);
    if (!error.empty())
        return "start: " + error;
    for (int action = 1; action <= MAX_ACTIONS && RunAction(run); ++action) {
        error = CheckInvariants(run);
        if (!error.empty())
            return "action " + std::to_string(action) + ": " + error;
    }
    // Everything undone and redone again.
    for (int i = 0; i < 400 && run.m_Controller.History().CanUndo(); ++i)
        run.m_Controller.RunCommand(cmdid::EDIT_UNDO);
    error = CheckInvariants(run);
    if (!error.empty())
        return "after undoing all: " + error;
    for (int i = 0; i < 400 && run.m_Controller.History().CanRedo(); ++i)
        run.m_Controller.RunCommand(cmdid::EDIT_REDO);
    error = CheckInvariants(run);
    if (!error.empty())
        return "after redoing all: " + error;
    return std::string();
}

}  // namespace sheetactions
