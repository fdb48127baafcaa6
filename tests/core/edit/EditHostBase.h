// The part of a sheet-editing host that the editing tests and benchmarks
// share: a bare SheetGrid with the engine, an in-memory settings store, the
// summary items and the undo history, and row heights fitted by line count.
// Row operations, cell moves and commits are each user's own.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/edit/SheetEditHost.h"
#include "core/edit/SummaryItems.h"
#include "core/edit/UndoHistory.h"
#include "core/engine/CalcState.h"
#include "core/engine/ExprEngine.h"
#include "core/settings/SettingsStore.h"
#include "core/sheet/SheetGrid.h"

template <class TPrompt>
class CEditHostBase : public CSheetEditHost {
public:
    explicit CEditHostBase(int rows) : m_Engine(m_State), m_Key(m_Store), m_Summary(*this)
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
    void FitRowHeight(int row) override
    {
        int lines = 1;
        for (int c = 0; c < SHEET_COLS; ++c) {
            const std::string& t = m_Grid.TextMatrix(row, c);
            lines = std::max(lines, 1 + static_cast<int>(std::count(t.begin(), t.end(), '\n')));
        }
        m_Grid.SetRowHeight(row, m_Grid.LineHeight() * lines);
    }
    std::uint32_t SummaryColor() const override { return 16711935; }
    std::string CalcExpressionText(int, const std::string& text) override { return m_Engine.CalcExpressionText(text); }

    SheetGrid m_Grid;
    CCalcState m_State;
    CExprEngine m_Engine;
    CMemorySettingsStore m_Store;
    CSettingsKey m_Key;
    TPrompt m_Prompt;
    CSummaryItems m_Summary;
    UndoHistory m_History;
};
