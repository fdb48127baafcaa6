// A grid for the editing commands' tests: a bare SheetGrid with the
// engine, an in-memory settings store, scripted message boxes and a plain
// leave-cell commit (clean, evaluate an expression, record the edit).
#pragma once

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "engine/CalcState.h"
#include "engine/ExprEngine.h"
#include "engine/Prompt.h"
#include "settings/SettingsStore.h"
#include "sheet/CellEditor.h"
#include "sheet/SheetEditHost.h"
#include "sheet/SheetGrid.h"
#include "sheet/SummaryItems.h"
#include "sheet/UndoHistory.h"

class CTestPrompt : public CPrompt {
public:
    void ShowMessage(const std::string& text, const std::string&) override { m_Messages.push_back(text); }
    EAnswer AskQuestion(const std::string& text, const std::string&, EButtons) override
    {
        m_Questions.push_back(text);
        if (m_Answers.empty())
            return ANSWER_NO;
        const EAnswer answer = m_Answers.front();
        m_Answers.pop_front();
        return answer;
    }
    std::vector<std::string> m_Messages;
    std::vector<std::string> m_Questions;
    std::deque<EAnswer> m_Answers;
};

class CTestHost : public CSheetEditHost {
public:
    explicit CTestHost(int rows = 36) : m_Engine(m_State), m_Key(m_Store), m_Summary(*this)
    {
        m_Grid.SetRows(rows);
        m_State.m_pPrompt = &m_Prompt;
    }

    SheetGrid& Grid() override { return m_Grid; }
    CCalcState& State() override { return m_State; }
    CPrompt& Prompt() override { return m_Prompt; }
    const CSettingsKey& Settings() override { return m_Key; }
    CSummaryItems& Summary() override { return m_Summary; }
    UndoHistory& History() override { return m_History; }
    void SetModified() override { m_bModified = true; }
    void FitRowHeight(int row) override
    {
        int lines = 1;
        for (int c = 0; c < SHEET_COLS; ++c) {
            const std::string& t = m_Grid.TextMatrix(row, c);
            lines = std::max(lines, 1 + static_cast<int>(std::count(t.begin(), t.end(), '\n')));
        }
        m_Grid.SetRowHeight(row, m_Grid.LineHeight() * lines);
    }
    void RebuildReferences() override { ++m_nRefBuilds; }
    std::uint32_t SummaryColor() const override { return 16711935; }

    void InsertRows() override
    {
        const int r1 = std::min(m_Grid.Row(), m_Grid.RowSel());
        const int r2 = std::max(m_Grid.Row(), m_Grid.RowSel());
        m_History.RecordStep(m_Grid, UNDO_INSERT_ROWS, r1, 1, r2, 5);
        SetModified();
        m_Grid.InsertRowsAt(r1, r2 - r1 + 1);
    }
    void DeleteRows() override
    {
        int r1 = m_Grid.Row(), r2 = m_Grid.RowSel();
        if (std::abs(r2 - r1) >= m_Grid.Rows() - 2)
            return;
        SetModified();
        if (r1 > r2)
            std::swap(r1, r2);
        m_History.RecordStep(m_Grid, UNDO_DELETE_ROWS, r1, 1, r2, 5);
        for (int r = r1; r <= r2; ++r)
            if (CSummaryItems::IsSummaryRow(m_Grid, r))
                m_Summary.RemoveItemAt(r);
        m_Grid.RemoveRowsAt(r1, r2 - r1 + 1);
        m_Summary.RecomputeStretch(r1, r1);
        m_Summary.RefreshItemList();
        RebuildReferences();
    }
    void SetReplaying(bool b) override { m_bReplaying = b; }
    void SetNavigating(bool b) override { m_bNavigating = b; }
    std::string CalcExpressionText(int, const std::string& text) override { return m_Engine.CalcExpressionText(text); }

    void MoveCurrentCell(int row, int col) override
    {
        if (row == m_Grid.Row() && col == m_Grid.Col() && m_Grid.RowSel() == row && m_Grid.ColSel() == col)
            return;
        Commit();
        m_Grid.SetRow(row);
        m_Grid.SetCol(col);
    }
    void OpenEditorAndCommit(bool bRecordUndo) override
    {
        m_Editor.Open(EditorOpenText(m_Grid.Text(), m_Grid.Col(), std::string()));
        const bool saved = m_bNavigating;
        if (!bRecordUndo)
            m_bNavigating = true;
        Commit();
        m_bNavigating = saved;
    }

    // The leave-cell commit, reduced to what these tests need.
    void Commit()
    {
        const int row = m_Grid.Row(), col = m_Grid.Col();
        if (col >= 2 && CSummaryItems::IsSummaryRow(m_Grid, row))
            return;
        if (m_Editor.IsShown()) {
            std::string t = m_Editor.Text();
            if (col == COL_FORMULA || col == COL_REF)
                t = m_Engine.CleanExpression(t);
            t.erase(std::remove_if(t.begin(), t.end(), [](char c) { return c == ' ' || c == '\r' || c == '\n'; }),
                    t.end());
            if (!m_bNavigating && !m_bReplaying)
                m_History.RecordStep(m_Grid, UNDO_CELL_EDIT, row, col, row, col);
            t.erase(std::min(t.size(), m_Engine.FindResultSeparator(t)));
            if (col == COL_FORMULA && !t.empty())
                t = m_Engine.CalcExpressionText(t);
            if (t != m_Grid.TextMatrix(row, col))
                SetModified();
            m_Grid.SetTextMatrix(row, col, t);
            m_Editor.Hide();
            FitRowHeight(row);
        }
        m_Summary.RefreshItemOf(row, col);
    }
    // qtx "edit R C TEXT".
    void Edit(int row, int col, const std::string& text)
    {
        MoveCurrentCell(row, col);
        m_Editor.Open(text);
        Commit();
    }
    void Select(int r1, int c1, int r2, int c2)
    {
        MoveCurrentCell(r1, c1);
        m_Grid.SetRowSel(r2);
        m_Grid.SetColSel(c2);
    }
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

    SheetGrid m_Grid;
    CCalcState m_State;
    CExprEngine m_Engine;
    CMemorySettingsStore m_Store;
    CSettingsKey m_Key;
    CTestPrompt m_Prompt;
    CSummaryItems m_Summary;
    UndoHistory m_History;
    CCellEditor m_Editor;
    bool m_bModified = false;
    bool m_bNavigating = false;
    bool m_bReplaying = false;
    int m_nRefBuilds = 0;
};

// GBK texts the tests use.
namespace testtext {
inline const char* const SUMMARY = "\xBC\xC6\xCB\xE3\xBB\xE3\xD7\xDC"; // 计算汇总
inline const char* const WALL = "\xC7\xBD"; // 墙
} // namespace testtext
