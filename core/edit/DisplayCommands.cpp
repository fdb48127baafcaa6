#include "core/edit/DisplayCommands.h"

#include <algorithm>
#include <string>

#include "core/edit/SheetEditHost.h"
#include "core/edit/SummaryItems.h"
#include "core/engine/CalcTexts.h"
#include "core/engine/Prompt.h"
#include "core/settings/SettingsNames.h"
#include "core/settings/SettingsStore.h"
#include "core/sheet/EditTexts.h"
#include "core/sheet/SheetGrid.h"

CDisplayCommands::CDisplayCommands(CSheetEditHost& host) : m_Host(host) {}

void CDisplayCommands::AlignColumn(int align)
{
    SheetGrid& grid = m_Host.Grid();
    const int c = std::clamp(grid.Col(), 1, SHEET_COLS - 1);
    const int r = grid.Row();
    m_Host.Settings().WriteValue(settingsname::SEAT_SIGN[c - 1], std::to_string(10 * c + align));
    grid.SetColAlignment(c, align);
    // The header cell is made current to keep it centred: an open editor is
    // committed into its cell on the way, as on any move.
    m_Host.MoveCurrentCell(0, c);
    grid.SetAlignmentAt(0, c, ALIGN_CENTER_CENTER);
    m_Host.MoveCurrentCell(r, c);
    grid.Refresh();
}

void CDisplayCommands::InsertExample()
{
    const CSettingsKey& settings = m_Host.Settings();
    m_bExampleShow = !m_bExampleShow;
    const std::string flag = m_bExampleShow ? "1" : "0";
    settings.WriteValue(settingsname::EXAMPLE_SHOW, flag);
    std::string stored = settings.ReadString(settingsname::EXAMPLE_SHOW);
    if (stored.empty()) {
        settings.WriteValue(settingsname::EXAMPLE_SHOW, flag);
        stored = flag;
    }
    if (stored == "0")
        return;

    m_Host.MoveCurrentCell(1, COL_POSITION);
    if (m_Host.Prompt().AskQuestion(edittext::EXAMPLE_QUESTION, calctext::TEXT_WARNING, CPrompt::BUTTONS_YESNO) != CPrompt::ANSWER_YES)
        return;

    SheetGrid& grid = m_Host.Grid();
    grid.SetTextMatrix(1, COL_POSITION, edittext::EXAMPLE_ITEM);
    grid.SetTextMatrix(2, COL_POSITION, edittext::EXAMPLE_POSITION);
    grid.SetTextMatrix(2, COL_SIZE, edittext::EXAMPLE_SIZE_1);
    grid.SetTextMatrix(2, COL_FORMULA, edittext::EXAMPLE_FORMULA_1);
    grid.SetTextMatrix(3, COL_SIZE, edittext::EXAMPLE_SIZE_2);
    grid.SetTextMatrix(3, COL_FORMULA, edittext::EXAMPLE_FORMULA_2);
    for (int r = 1; r <= 3; ++r)
        m_Host.FitRowHeight(r);

    m_Host.MoveCurrentCell(1, COL_POSITION);
    m_Host.Summary().ToggleSummary();
}
