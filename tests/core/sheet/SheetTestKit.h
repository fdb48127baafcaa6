// Shared set-up of the sheet tests: a grid over an in-memory settings store,
// a prompt that records what it shows, and commits as the user types them.
#pragma once

#include <string>
#include <vector>

#include "core/engine/CalcState.h"
#include "core/settings/SettingsStore.h"
#include "core/sheet/CalcGrid.h"
#include "tests/TestPrompt.h"

struct SSheetFixture {
    CMemorySettingsStore m_Store;
    CSettingsKey m_Key{m_Store};
    CCalcState m_State;
    CTestPrompt m_Prompt;
    CCalcGrid m_Calc{m_State, m_Key};
    SCellCommit m_Last;  // what the last Edit did

    SSheetFixture()
    {
        m_State.SetPrompt(&m_Prompt);
        m_Calc.ResetSheet();
    }

    // Types text into (row, col) and leaves the cell.
    void Edit(int row, int col, const std::string& text)
    {
        m_Calc.Grid().SetRow(row);
        m_Calc.Grid().SetCol(col);
        m_Last = m_Calc.CommitText(row, col, text);
    }
    const std::string& Text(int row, int col) const { return m_Calc.Grid().TextMatrix(row, col); }
};
