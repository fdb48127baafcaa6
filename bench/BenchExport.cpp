// The Excel export of a full sheet (65,500 rows) through the session's
// export command, as the user runs it: the dialog's choice, the workbook
// built and written to the disk (temporary file, flush, rename).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "bench/BenchFiles.h"
#include "core/edit/ClipboardOps.h"
#include "core/engine/ExprEngine.h"
#include "core/engine/Prompt.h"
#include "core/session/SheetSession.h"
#include "core/settings/SettingsStore.h"

namespace {

// The export dialog always answers with one name.
class CChoosingPrompt : public CSilentPrompt {
public:
    bool ChooseFile(bool, const std::string&, std::string& path) override
    {
        path = m_strFile;
        return true;
    }
    std::string m_strFile;
};

struct SBench {
    CMemorySettingsStore m_Store;
    CCalcState m_State;
    CChoosingPrompt m_Prompt;
    CMemoryClipboard m_Clipboard;
    std::unique_ptr<CSheetSession> m_pSession;

    SBench()
    {
        if (!BenchFolder().IsValid())  // made first, so it outlives the session
            std::abort();
        m_pSession = std::make_unique<CSheetSession>(m_State, m_Store, m_Prompt, m_Clipboard);
        m_pSession->Start();
        Fill(m_pSession->Sheet());
    }

    // Calculated rows with Chinese texts, annotations and a name every
    // 20 rows that the next row uses; a summary row every 50 rows.
    static void Fill(SheetGrid& sheet)
    {
        sheet.SetRows(SHEET_MAX_ROWS);
        for (int row = 1; row < SHEET_MAX_ROWS; ++row) {
            const int n = row % 1000;
            if (row % 50 == 1) {
                sheet.SetTextMatrix(row, COL_SEQ, std::to_string(row / 50 + 1));
                sheet.SetTextMatrix(row, COL_POSITION, "\xB5\xDA" + std::to_string(row / 50 + 1) + "\xB2\xE3");  // 第..层
                continue;
            }
            sheet.SetTextMatrix(row, COL_POSITION, "\xC7\xBD\xCC\xE5 A-" + std::to_string(n) + "\xD6\xE1");  // 墙体 轴
            sheet.SetTextMatrix(row, COL_SIZE, row % 3 ? "C30 \xBB\xEC\xC4\xFD\xCD\xC1" : "M10 \xC9\xB0\xBD\xAC");
            std::string text;
            double value = 0;
            if (row % 20 == 3) {
                text = "w" + std::to_string(row - 1) + "*2";
                value = 2 * (159.6 + (row - 1) % 1000);
            } else {
                text = "(12+45)[\xC7\xBD\xB3\xA4]*2.8+" + std::to_string(n);  // [墙长]
                value = 159.6 + n;
            }
            std::string formula = text + "=";
            CExprEngine::AppendFixed(formula, value, 2);
            sheet.SetTextMatrix(row, COL_FORMULA, formula);
            sheet.SetTextMatrix(row, COL_UNIT, "m3");
            if (row % 20 == 2)
                sheet.SetTextMatrix(row, COL_REF, "w" + std::to_string(row));
        }
    }
};

SBench& Bench()
{
    static SBench bench;
    return bench;
}

void Export(benchmark::State& state, bool bSummary, const char* name)
{
    SBench& b = Bench();
    b.m_Prompt.m_strFile = BenchFolder().File(name);
    int rows = 0;
    for (auto _ : state) {
        rows = b.m_pSession->ExportExcel(bSummary);
        if (rows < 0)
            state.SkipWithError("export failed");
    }
    state.counters["rows"] = rows;
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(b.m_Prompt.m_strFile));
}

void BM_ExportAllRowsXls(benchmark::State& state) { Export(state, false, "all.xls"); }
BENCHMARK(BM_ExportAllRowsXls)->Unit(benchmark::kMillisecond);

void BM_ExportAllRowsXlsx(benchmark::State& state) { Export(state, false, "all.xlsx"); }
BENCHMARK(BM_ExportAllRowsXlsx)->Unit(benchmark::kMillisecond);

void BM_ExportSummaryXls(benchmark::State& state) { Export(state, true, "summary.xls"); }
BENCHMARK(BM_ExportSummaryXls)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
