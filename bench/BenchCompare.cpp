// The reconciliation of two full sheets (65,499 data rows each, a summary
// item every 50 rows) where 1 % of the rows differ: expressions changed,
// rows added and rows removed. Measured as `qtx compare` runs it: both
// files read, the sheets compared; and the comparison alone.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/BenchFiles.h"
#include "core/compare/CompareFiles.h"
#include "core/compare/SheetCompare.h"
#include "core/document/SheetFile.h"
#include "tests/SheetFileBytes.h"

namespace {

const int DATA_ROWS = SHEET_MAX_ROWS - 1;

using Row = std::vector<std::string>;

Row CalcRow(int n)
{
    const std::string k = std::to_string(n);
    return {"", "position " + k, "C" + std::to_string(n % 10 * 5 + 10), k + "*0.5+1=" + std::to_string(n / 2 + 1) + ".00",
            "m3", ""};
}

// The submitted sheet, and the checked one with every hundredth row
// touched in turn: an expression changed, a row added before it, the row
// removed (the checked sheet keeps the same number of rows).
void MakeSheets(std::vector<Row>& a, std::vector<Row>& b)
{
    for (int row = 1; row <= DATA_ROWS; ++row) {
        if (row % 50 == 1)
            a.push_back({std::to_string(row / 50 + 1), "item " + std::to_string(row / 50), "", "", "", ""});
        else
            a.push_back(CalcRow(row));
    }
    int touched = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const bool bCalc = a[i][0].empty();
        if (!bCalc || i % 100 != 7) {
            b.push_back(a[i]);
            continue;
        }
        switch (touched++ % 4) {
        case 0:
        case 1:
            b.push_back(a[i]);
            b.back()[3] = "(" + a[i][3].substr(0, a[i][3].find('=')) + ")*1.1=1.00";
            break;
        case 2:
            b.push_back(CalcRow(900000 + static_cast<int>(i)));
            b.push_back(a[i]);
            break;
        case 3:
            break;  // removed
        }
    }
    b.resize(a.size());
}

struct SFiles {
    CBenchFolder m_Folder;
    std::string m_strA, m_strB;
    SFiles()
    {
        std::vector<Row> a, b;
        MakeSheets(a, b);
        m_strA = m_Folder.Write("a.qtx", SheetFileBytes(a));
        m_strB = m_Folder.Write("b.qtx", SheetFileBytes(b));
    }
};

SFiles& Files()
{
    static SFiles files;
    return files;
}

void Load(const std::string& path, SheetGrid& grid)
{
    sheetfile::SProperties props;
    std::string error;
    if (!sheetcompare::LoadSheetFile(path, grid, props, error))
        std::abort();
}

void BM_CompareFiles(benchmark::State& state)
{
    SFiles& files = Files();
    for (auto _ : state) {
        SheetGrid a, b;
        Load(files.m_strA, a);
        Load(files.m_strB, b);
        const sheetcompare::SComparison result = sheetcompare::CompareSheets(a, b, 2);
        benchmark::DoNotOptimize(result.m_Rows.size());
        state.counters["row_lines"] = static_cast<double>(result.m_Rows.size());
    }
}
BENCHMARK(BM_CompareFiles)->Unit(benchmark::kMillisecond);

void BM_CompareSheetsOnly(benchmark::State& state)
{
    SFiles& files = Files();
    SheetGrid a, b;
    Load(files.m_strA, a);
    Load(files.m_strB, b);
    for (auto _ : state) {
        const sheetcompare::SComparison result = sheetcompare::CompareSheets(a, b, 2);
        benchmark::DoNotOptimize(result.m_Items.size());
    }
}
BENCHMARK(BM_CompareSheetsOnly)->Unit(benchmark::kMillisecond);

// The hardest case for the alignment: one item of 65,499 rows on each side
// with no locations and five categories in unrelated orders, so that most
// rows differ while every key occurs on both sides.
void BM_CompareUnrelatedOrders(benchmark::State& state)
{
    SheetGrid a, b;
    a.SetRows(SHEET_MAX_ROWS);
    b.SetRows(SHEET_MAX_ROWS);
    unsigned seedA = 1, seedB = 2;
    auto next = [](unsigned& seed) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % 5;
    };
    for (int row = 1; row < SHEET_MAX_ROWS; ++row) {
        a.SetTextMatrix(row, COL_SIZE, "C" + std::to_string(next(seedA)));
        a.SetTextMatrix(row, COL_FORMULA, "1=1.00");
        b.SetTextMatrix(row, COL_SIZE, "C" + std::to_string(next(seedB)));
        b.SetTextMatrix(row, COL_FORMULA, "1=1.00");
    }
    for (auto _ : state) {
        const sheetcompare::SComparison result = sheetcompare::CompareSheets(a, b, 2);
        benchmark::DoNotOptimize(result.m_Rows.size());
        state.counters["row_lines"] = static_cast<double>(result.m_Rows.size());
    }
}
BENCHMARK(BM_CompareUnrelatedOrders)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
