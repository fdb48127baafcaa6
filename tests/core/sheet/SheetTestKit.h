// Shared set-up of the sheet tests: a grid over an in-memory settings store,
// a prompt that records what it shows, and a plain editor.
#pragma once

#include <string>
#include <vector>

#include "core/engine/CalcState.h"
#include "core/settings/SettingsStore.h"
#include "core/sheet/CalcGrid.h"
#include "tests/TestPrompt.h"

class CHookRecorder : public CCalcGridHooks {
public:
    void RecordStep(int kind, int r1, int c1, int r2, int c2) override
    {
        m_Steps.push_back({kind, r1, c1, r2, c2});
    }
    void RefreshItemOf(int row, int col, bool) override { m_Refreshed.push_back({row, col}); }
    void RemoveItemNumbering(int row) override { m_Unnumbered.push_back(row); }
    void SetModified() override { ++m_nModified; }
    void ResetDocument() override { ++m_nResets; }
    void ResetHistory() override { ++m_nHistoryResets; }

    std::vector<std::vector<int>> m_Steps;
    std::vector<std::vector<int>> m_Refreshed;
    std::vector<int> m_Unnumbered;
    int m_nModified = 0;
    int m_nResets = 0;
    int m_nHistoryResets = 0;
};

struct SSheetFixture {
    CMemorySettingsStore m_Store;
    CSettingsKey m_Key{m_Store};
    CCalcState m_State;
    CTestPrompt m_Prompt;
    CPlainEditorSite m_Editor;
    CHookRecorder m_Hooks;
    CCalcGrid m_Calc{m_State, m_Key};

    SSheetFixture()
    {
        m_State.m_pPrompt = &m_Prompt;
        m_Calc.SetEditor(&m_Editor);
        m_Calc.SetHooks(&m_Hooks);
        m_Calc.ResetSheet();
    }

    // Types text into (row, col) and leaves the cell.
    void Edit(int row, int col, const std::string& text)
    {
        m_Calc.Grid().SetRow(row);
        m_Calc.Grid().SetCol(col);
        m_Editor.Show(text);
        m_Calc.CommitCell();
    }
    const std::string& Text(int row, int col) const { return m_Calc.Grid().TextMatrix(row, col); }
};
