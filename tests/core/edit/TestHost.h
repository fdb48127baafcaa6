// The host of the editing commands' tests: the shared grid host with
// scripted message boxes, the sheet's row operations and a plain leave-cell
// commit (clean, evaluate an expression, record the edit).
#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>

#include "EditHostBase.h"
#include "core/edit/CellEditor.h"
#include "tests/TestPrompt.h"

class CTestHost : public CEditHostBase<CTestPrompt> {
public:
    explicit CTestHost(int rows = 36) : CEditHostBase(rows) {}

    void SetModified() override { m_bModified = true; }
    void RebuildReferences() override { ++m_nRefBuilds; }

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

    CCellEditor m_Editor;
    bool m_bModified = false;
    bool m_bNavigating = false;
    bool m_bReplaying = false;
    int m_nRefBuilds = 0;
};

// GBK texts the tests use.
namespace testtext {
inline const char* const SUMMARY = "\xBC\xC6\xCB\xE3\xBB\xE3\xD7\xDC";  // 计算汇总
inline const char* const WALL = "\xC7\xBD";                             // 墙
}  // namespace testtext
