#include "core/edit/DisplayCommands.h"

#include <algorithm>
#include <string>

#include "core/edit/CurrentCell.h"
#include "core/edit/SummaryItems.h"
#include "core/engine/CalcTexts.h"
#include "core/engine/Prompt.h"
#include "core/settings/SettingsNames.h"
#include "core/settings/SettingsStore.h"
#include "core/sheet/CalcGrid.h"
#include "core/sheet/EditTexts.h"
#include "core/sheet/SheetGrid.h"

CDisplayCommands::CDisplayCommands(CCalcGrid& calc, CCurrentCell& cell, CSummaryItems& summary, CPrompt& prompt,
                                   const CSettingsKey& key)
    : m_Calc(calc), m_Cell(cell), m_Summary(summary), m_Prompt(prompt), m_Key(key)
{
}

bool CDisplayCommands::AlignColumn(int align)
{
    SheetGrid& grid = m_Calc.Grid();
    const int c = std::clamp(grid.Col(), 1, SHEET_COLS - 1);
    const int r = grid.Row();
    m_Key.WriteValue(settingsname::SEAT_SIGN[c - 1], std::to_string(10 * c + align));
    grid.SetColAlignment(c, align);
    // The header cell is made current to keep it centred: an open editor is
    // committed into its cell on the way, as on any move.
    bool changed = m_Cell.MoveTo(0, c);
    grid.SetAlignmentAt(0, c, ALIGN_CENTER_CENTER);
    changed |= m_Cell.MoveTo(r, c);
    grid.Refresh();
    return changed;
}

bool CDisplayCommands::InsertExample()
{
    const CSettingsKey& settings = m_Key;
    m_bExampleShow = !m_bExampleShow;
    const std::string flag = m_bExampleShow ? "1" : "0";
    settings.WriteValue(settingsname::EXAMPLE_SHOW, flag);
    std::string stored = settings.ReadString(settingsname::EXAMPLE_SHOW);
    if (stored.empty()) {
        settings.WriteValue(settingsname::EXAMPLE_SHOW, flag);
        stored = flag;
    }
    if (stored == "0")
        return false;

    bool changed = m_Cell.MoveTo(1, COL_POSITION);
    if (m_Prompt.AskQuestion(edittext::EXAMPLE_QUESTION, calctext::TEXT_WARNING, CPrompt::BUTTONS_YESNO) != CPrompt::ANSWER_YES)
        return changed;

    SheetGrid& grid = m_Calc.Grid();
    grid.SetTextMatrix(1, COL_POSITION, edittext::EXAMPLE_ITEM);
    grid.SetTextMatrix(2, COL_POSITION, edittext::EXAMPLE_POSITION);
    grid.SetTextMatrix(2, COL_SIZE, edittext::EXAMPLE_SIZE_1);
    grid.SetTextMatrix(2, COL_FORMULA, edittext::EXAMPLE_FORMULA_1);
    grid.SetTextMatrix(3, COL_SIZE, edittext::EXAMPLE_SIZE_2);
    grid.SetTextMatrix(3, COL_FORMULA, edittext::EXAMPLE_FORMULA_2);
    for (int r = 1; r <= 3; ++r)
        m_Calc.FitRowHeight(r);

    changed |= m_Cell.MoveTo(1, COL_POSITION);
    changed |= m_Summary.ToggleSummary();
    return changed;
}
