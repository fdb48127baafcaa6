// Editing commands on large sheets: the total text of a big item, the
// summary refresh after leaving a cell, pasting a large block, a large row
// deletion with its undo and redo (both through the session's commands), and
// a whole cell commit through the session and its calculation grid.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>

#include "core/edit/ClipboardOps.h"
#include "core/engine/Prompt.h"
#include "core/session/SheetSession.h"
#include "core/sheet/EditTexts.h"

namespace {

// A session as the window drives it, its settings in memory.
struct SBenchSession {
    CCalcState m_State;
    CMemorySettingsStore m_Store;
    CSilentPrompt m_Prompt;
    CMemoryClipboard m_Clipboard;
    CSheetSession m_Session{m_State, m_Store, m_Prompt, m_Clipboard};
    SBenchSession() { m_Session.Start(); }
};

void FillRow(SheetGrid& grid, int r, int category)
{
    grid.SetTextMatrix(r, COL_POSITION, "p" + std::to_string(r));
    grid.SetTextMatrix(r, COL_SIZE, "C" + std::to_string(category));
    grid.SetTextMatrix(r, COL_FORMULA, "12.5*(3+" + std::to_string(r % 97) + ")=" + std::to_string(r % 1000) + ".25");
    grid.SetTextMatrix(r, COL_UNIT, "m3");
}

// One item of 9000 rows in 200 categories, rows interleaved.
void BM_TotalText9000Rows200Categories(benchmark::State& state)
{
    SBenchSession session;
    session.m_Session.Sheet().SetRows(9010);
    for (int r = 1; r <= 9000; ++r)
        FillRow(session.m_Session.Sheet(), r, (r * 37) % 200);
    for (auto _ : state)
        benchmark::DoNotOptimize(session.m_Session.Summary().TotalText(1, 9000));
}
BENCHMARK(BM_TotalText9000Rows200Categories)->Unit(benchmark::kMillisecond);

// A sheet of 65500 rows with 500 items: the refresh after leaving an
// expression cell and after leaving a unit cell.
void BM_RefreshItemOfIn65500Rows(benchmark::State& state)
{
    SBenchSession session;
    CSummaryItems& summary = session.m_Session.Summary();
    SheetGrid& grid = session.m_Session.Sheet();
    grid.SetRows(SHEET_MAX_ROWS);
    int number = 0;
    for (int r = 1; r < SHEET_MAX_ROWS; ++r) {
        if ((r - 1) % 131 == 0)
            grid.SetTextMatrix(r, COL_SEQ, std::to_string(++number));
        else
            FillRow(grid, r, r % 12);
    }
    summary.RefreshUnitLists();
    const int col = static_cast<int>(state.range(0));
    for (auto _ : state)
        summary.RefreshItemOf(30001, col);
}
BENCHMARK(BM_RefreshItemOfIn65500Rows)->Arg(COL_FORMULA)->Arg(COL_UNIT)->Unit(benchmark::kMillisecond);

// Pasting 20000 rows of 5 cells into an empty sheet under one item.
void BM_Paste20000x5(benchmark::State& state)
{
    std::string text;
    for (int r = 0; r < 20000; ++r) {
        text += "pos" + std::to_string(r) + "\tC" + std::to_string(r % 50) + "\t" + std::to_string(r) + "=" + std::to_string(r) + ".00\tm3\tn" + std::to_string(r);
        if (r + 1 < 20000)
            text += "\r\n";
    }
    // Through the session's command: the pasted rows are calculated, the
    // references rebuilt, the item totalled and the sheet marked modified.
    for (auto _ : state) {
        state.PauseTiming();
        auto session = std::make_unique<SBenchSession>();
        session->m_Clipboard.SetText(text);
        SheetGrid& grid = session->m_Session.Sheet();
        grid.SetTextMatrix(1, COL_SEQ, "1");
        session->m_Session.Click(1, COL_POSITION);
        state.ResumeTiming();
        session->m_Session.RunCommand(cmdid::EDIT_PASTE);
        state.PauseTiming();
        const bool pasted = grid.Rows() >= 20000 && session->m_Session.Document().IsModified();
        session.reset();
        if (!pasted) {
            state.SkipWithError("nothing was pasted");
            break;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Paste20000x5)->Unit(benchmark::kMillisecond)->Iterations(5);

// Deleting 60000 of 65500 rows through the session's command, then one
// undo and one redo: all three timed.
void BM_UndoRedoDelete60000Rows(benchmark::State& state)
{
    SBenchSession session;
    SheetGrid& grid = session.m_Session.Sheet();
    grid.SetRows(SHEET_MAX_ROWS);
    for (int r = 1; r < SHEET_MAX_ROWS; ++r) {
        if ((r - 1) % 131 == 0)
            grid.SetTextMatrix(r, COL_SEQ, std::to_string(r / 131 + 1));
        else
            FillRow(grid, r, r % 12);
    }
    session.m_Session.CalcGrid().RebuildRefTable();
    for (auto _ : state) {
        session.m_Session.Click(100, COL_POSITION);
        session.m_Session.ShiftClick(60099, COL_REF);
        session.m_Session.RunCommand(cmdid::DELETE_ROWS);
        session.m_Session.RunCommand(cmdid::EDIT_UNDO);
        session.m_Session.RunCommand(cmdid::EDIT_REDO);
        state.PauseTiming();
        session.m_Session.RunCommand(cmdid::EDIT_UNDO);
        state.ResumeTiming();
    }
    state.counters["rows"] = grid.Rows();
}
BENCHMARK(BM_UndoRedoDelete60000Rows)->Unit(benchmark::kMillisecond);

// The whole road of one edit in a sheet of 65499 rows (one short of the
// limit, where no editor opens any more) and 500 items:
// the cell is typed into and committed as leaving it does (cleaned, recorded
// for undo, calculated, references checked, wrapped, stored), then its item
// is refreshed. Arguments: the column edited (an expression alternating
// between two values, or a unit alternating between two texts, which also
// copies the unit to the rows of its category and renews every unit list)
// and the row (30005 is named and its value is carried to the next row).
void BM_ControllerCommitIn65499Rows(benchmark::State& state)
{
    CCalcState calcState;
    CMemorySettingsStore store;
    CSilentPrompt prompt;
    CMemoryClipboard clipboard;
    CSheetSession sheet(calcState, store, prompt, clipboard);
    sheet.Start();
    SheetGrid& grid = sheet.Sheet();
    const int rows = SHEET_MAX_ROWS - 1;
    grid.SetRows(rows);
    int number = 0;
    for (int r = 1; r < rows; ++r) {
        if ((r - 1) % 131 == 0) {
            grid.SetTextMatrix(r, COL_SEQ, std::to_string(++number));
            grid.SetTextMatrix(r, COL_SIZE, edittext::SUMMARY_SIZE);
        } else {
            FillRow(grid, r, r % 12);
        }
        // Every tenth row is named and the row after it uses the name.
        if (r % 10 == 5)
            grid.SetTextMatrix(r, COL_REF, "v" + std::to_string(r));
        else if (r % 10 == 6 && (r - 1) % 131 != 0 && (r - 2) % 131 != 0)
            grid.SetTextMatrix(r, COL_FORMULA, "v" + std::to_string(r - 1) + "*2=0.00");
    }
    sheet.CalcGrid().RebuildRefTable();
    sheet.Summary().RecomputeStretch(1, rows - 1);
    sheet.Summary().RefreshUnitLists();

    const int col = static_cast<int>(state.range(0));
    const int row = static_cast<int>(state.range(1));
    const char* texts[2][2] = {{"12.5*(3+4)", "12.5*(3+5)"}, {"m2", "m3"}};
    const int kind = col == COL_FORMULA ? 0 : 1;
    sheet.Click(row, col);
    int i = 0;
    for (auto _ : state) {
        sheet.TypeText(texts[kind][i++ & 1]);
        sheet.CommitEditor();
    }
    state.counters["items"] = number;
    // The commits must have reached the cell and the item's heading.
    const std::string& last = texts[kind][(i - 1) & 1];
    const std::string& heading = grid.TextMatrix(row - (row - 1) % 131, kind == 0 ? COL_FORMULA : COL_UNIT);
    if (grid.TextMatrix(row, col).rfind(last, 0) != 0 || heading.empty() || (kind == 1 && heading.find(last) == std::string::npos))
        state.SkipWithError("the commit did not reach the sheet");
}
BENCHMARK(BM_ControllerCommitIn65499Rows)
    ->Args({COL_FORMULA, 30001})
    ->Args({COL_FORMULA, 30005})
    ->Args({COL_UNIT, 30001})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
