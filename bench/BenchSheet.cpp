// Commits on a sheet of 65,500 rows: a value carried down a chain of named
// rows, a name used by many rows, a row nobody uses, the recalculation of
// every row, and the memory of a full sheet with its reference index.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <malloc.h>
#include <memory>
#include <string>

#include "bench/ResidentMemory.h"
#include "tests/core/sheet/SheetTestKit.h"

namespace {

const int SHEET_ROWS = 65500;

// The sheet tests' fixture on a full sheet.
struct SBenchSheet : SSheetFixture {
    SBenchSheet() { m_Calc.Grid().SetRows(SHEET_ROWS); }
    void Commit(int row, int col, const std::string& text) { Edit(row, col, text); }
    // Rows 1 .. count named r1, r2, ..., each using the name of the row above.
    void BuildChain(int count)
    {
        SheetGrid& grid = m_Calc.Grid();
        for (int row = 1; row <= count; ++row) {
            grid.SetTextMatrix(row, COL_REF, "r" + std::to_string(row));
            if (row > 1)
                grid.SetTextMatrix(row, COL_FORMULA, "r" + std::to_string(row - 1) + "+1=0.00");
        }
        Commit(1, COL_FORMULA, "1");
    }
};

void BM_CommitChainHead(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    SBenchSheet sheet;
    sheet.BuildChain(count);
    int n = 0;
    for (auto _ : state) {
        sheet.Commit(1, COL_FORMULA, std::to_string(2 + (n++ & 1)));
    }
    const std::string expected = "r" + std::to_string(count - 1) + "+1=" + std::to_string(count + 1 + ((n - 1) & 1)) + ".00";
    if (sheet.m_Calc.Grid().TextMatrix(count, COL_FORMULA) != expected)
        state.SkipWithError("the end of the chain was not rewritten");
}
BENCHMARK(BM_CommitChainHead)->Arg(10000)->Arg(65000)->Unit(benchmark::kMillisecond);

void BM_CommitNameUsedByMany(benchmark::State& state)
{
    const int users = 10000;
    SBenchSheet sheet;
    SheetGrid& grid = sheet.m_Calc.Grid();
    grid.SetTextMatrix(1, COL_REF, "base");
    for (int row = 2; row <= users + 1; ++row)
        grid.SetTextMatrix(row, COL_FORMULA, "base*" + std::to_string(row) + "=0.00");
    sheet.Commit(1, COL_FORMULA, "1");
    int n = 0;
    for (auto _ : state)
        sheet.Commit(1, COL_FORMULA, std::to_string(2 + (n++ & 1)));
    if (grid.TextMatrix(users + 1, COL_FORMULA) != "base*10001=" + std::to_string((2 + ((n - 1) & 1)) * 10001) + ".00")
        state.SkipWithError("a user was not rewritten");
}
BENCHMARK(BM_CommitNameUsedByMany)->Unit(benchmark::kMillisecond);

void BM_CommitUnusedRow(benchmark::State& state)
{
    SBenchSheet sheet;
    SheetGrid& grid = sheet.m_Calc.Grid();
    for (int row = 1; row <= 10000; ++row) {
        grid.SetTextMatrix(row, COL_REF, "n" + std::to_string(row));
        grid.SetTextMatrix(row, COL_FORMULA, std::to_string(row) + "*2=" + std::to_string(2 * row) + ".00");
    }
    for (int row = 10001; row < SHEET_ROWS; ++row)
        grid.SetTextMatrix(row, COL_FORMULA, "(12+45)*2.8+" + std::to_string(row) + "=0.00");
    sheet.Commit(30000, COL_FORMULA, "1");
    int n = 0;
    for (auto _ : state)
        sheet.Commit(30000, COL_FORMULA, "n5*" + std::to_string(2 + (n++ & 1)));
}
BENCHMARK(BM_CommitUnusedRow)->Unit(benchmark::kMicrosecond);

void BM_RecalcAllRows(benchmark::State& state)
{
    SBenchSheet sheet;
    SheetGrid& grid = sheet.m_Calc.Grid();
    for (int row = 1; row < SHEET_ROWS; ++row)
        grid.SetTextMatrix(row, COL_FORMULA, "(12+45)*2.8[wall]+" + std::to_string(row) + "/4=0.00");
    sheet.m_Calc.RecalcAllRows();
    int n = 0;
    for (auto _ : state) {
        sheet.m_State.SetDecimals(2 + (n++ & 1));
        sheet.m_Calc.RecalcAllRows();
    }
}
BENCHMARK(BM_RecalcAllRows)->Unit(benchmark::kMillisecond);

// Bytes the allocator has handed out and not taken back (from its heap and
// as mapped blocks): unlike the resident
// size, it does not depend on what earlier repetitions left cached.
double AllocatedMiB()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

void BM_FullSheetMemory(benchmark::State& state)
{
    for (auto _ : state) {
        const double allocatedBefore = AllocatedMiB();
        const long before = ResidentKiB();
        auto sheet = std::make_unique<SBenchSheet>();
        SheetGrid& grid = sheet->m_Calc.Grid();
        const std::string position = "\xD2\xBB\xB2\xE3\xC7\xBD\xCC\xE5";  // 一层墙体
        for (int row = 1; row < SHEET_ROWS; ++row) {
            grid.SetTextMatrix(row, COL_POSITION, position);
            grid.SetTextMatrix(row, COL_SIZE, "C20");
            grid.SetTextMatrix(row, COL_UNIT, "m3");
            grid.SetTextMatrix(row, COL_REF, "r" + std::to_string(row));
            grid.SetTextMatrix(row, COL_FORMULA, row > 1 ? "(12+45)*2.8+r" + std::to_string(row - 1) + "=0.00" : "1");
        }
        sheet->Commit(1, COL_FORMULA, "2");
        state.counters["estimate_MiB"] = static_cast<double>(sheet->m_Calc.MemoryBytes()) / (1024.0 * 1024.0);
        state.counters["allocated_MiB"] = AllocatedMiB() - allocatedBefore;
        // Grows only on the first repetition of a process; kept for reference.
        state.counters["rss_MiB"] = static_cast<double>(ResidentKiB() - before) / 1024.0;
    }
}
BENCHMARK(BM_FullSheetMemory)->Iterations(1)->Repetitions(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
