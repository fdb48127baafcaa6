// The editing tests' sheet: a real session over an in-memory settings store
// and clipboard, with scripted message boxes, driven as the user drives it.
#pragma once

#include <string>

#include "core/session/SheetSession.h"
#include "tests/TestPrompt.h"

struct SEditSession {
    CCalcState m_State;
    CMemorySettingsStore m_Store;
    CTestPrompt m_Prompt;
    CMemoryClipboard m_Clipboard;
    CSheetSession m_Session{m_State, m_Store, m_Prompt, m_Clipboard};
    SheetGrid& m_Grid = m_Session.Sheet();
    CSummaryItems& m_Summary = m_Session.Summary();
    UndoHistory& m_History = m_Session.History();

    explicit SEditSession(int rows = 36)
    {
        m_Session.Start();
        m_Grid.SetRows(rows);
    }

    // qtx "edit R C TEXT".
    void Edit(int row, int col, const std::string& text)
    {
        m_Session.Click(row, col);
        m_Session.TypeText(text);
        m_Session.CommitEditor();
    }
    void MoveCurrentCell(int row, int col) { m_Session.Click(row, col); }
    void Select(int r1, int c1, int r2, int c2)
    {
        m_Session.Click(r1, c1);
        m_Session.ShiftClick(r2, c2);
    }
    void Run(int command) { m_Session.RunCommand(command); }
    bool Modified() { return m_Session.Document().IsModified(); }
    // Texts of a rectangle, rows joined by "|", cells by ",".
    std::string Block(int r1, int c1, int r2, int c2) const
    {
        std::string out;
        for (int r = r1; r <= r2; ++r) {
            if (r > r1)
                out += '|';
            for (int c = c1; c <= c2; ++c) {
                if (c > c1)
                    out += ',';
                out += m_Grid.TextMatrix(r, c);
            }
        }
        return out;
    }
};

// GBK texts the tests use.
namespace testtext {
inline const char* const SUMMARY = "\xBC\xC6\xCB\xE3\xBB\xE3\xD7\xDC";  // 计算汇总
inline const char* const WALL = "\xC7\xBD";                             // 墙
}  // namespace testtext
