// Opening and saving a full sheet (65,500 rows, about 12 bytes a cell),
// next to one plain buffered write of the same bytes for comparison.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "bench/BenchFiles.h"
#include "core/document/FileOps.h"
#include "core/document/SheetDocument.h"
#include "core/document/SheetFile.h"
#include "tests/TestPrompt.h"
#include "tests/core/document/PlainSheet.h"

namespace {

struct SBench {
    CBenchFolder m_Folder;
    CMemorySettingsStore m_Store;
    CPlainSheet m_Sheet;
    CSilentPrompt m_Prompt;
    CSheetDocument m_Doc{m_Store, m_Prompt};
    std::string m_strPath;
    std::string m_strBytes;

    SBench()
    {
        if (!m_Folder.IsValid())
            std::abort();
        m_Doc.SetCacheFolder(m_Folder.Path());
        m_strPath = m_Folder.File("big.qtx");
        Fill(m_Sheet);
        if (!m_Doc.SaveAsPath(m_Sheet, m_strPath))
            std::abort();
        if (docfile::ReadWholeFile(m_strPath, m_strBytes) != docfile::READ_OK)
            std::abort();
    }

    // Opening reads into a sheet reset as a new one.
    bool Open()
    {
        ResetPlainSheet(m_Sheet);
        return m_Doc.Load(m_strPath, m_Sheet, sheetfile::SHighlight{16711935, 65535});
    }

    // About 72 bytes a row, 12 a cell on average; a summary row every 50 rows and
    // an error marker every 100.
    static void Fill(SheetGrid& sheet)
    {
        sheet.SetRows(SHEET_MAX_ROWS);
        for (int row = 1; row < SHEET_MAX_ROWS; ++row) {
            const std::string n = std::to_string(row % 1000);
            if (row % 50 == 1)
                sheet.SetTextMatrix(row, COL_SEQ, std::to_string(row / 50 + 1));
            sheet.SetTextMatrix(row, COL_POSITION, "\xC7\xBD\xCC\xE5 A-" + n + "\xD6\xE1\n#2");                           // 墙体 轴
            sheet.SetTextMatrix(row, COL_SIZE, "C30 \xBB\xEC\xC4\xFD\xCD\xC1 \xCF\xD6\xBD\xBD");                          // 混凝土 现浇
            std::string formula = "(12+45)[\xC7\xBD\xB3\xA4]*2.8+" + n + "=" + std::to_string(159 + row % 1000) + ".60";  // [墙长]
            if (row % 100 == 7)
                formula = "[\xD1\xAD\xBB\xB7\xD2\xFD\xD3\xC3\xB4\xED\xCE\xF3]" + formula;  // [循环引用错误]
            sheet.SetTextMatrix(row, COL_FORMULA, formula);
            sheet.SetTextMatrix(row, COL_UNIT, "\xC1\xA2\xB7\xBD\xC3\xD7m3");  // 立方米m3
            sheet.SetTextMatrix(row, COL_REF, "ab" + n);
        }
    }
};

SBench& Bench()
{
    static SBench bench;
    return bench;
}

void BM_OpenFullSheet(benchmark::State& state)
{
    SBench& b = Bench();
    for (auto _ : state) {
        if (!b.Open())
            state.SkipWithError("open failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(b.m_strBytes.size()));
    state.counters["file_bytes"] = static_cast<double>(b.m_strBytes.size());
    state.counters["bytes_per_cell"] = static_cast<double>(b.m_strBytes.size()) / (6.0 * (SHEET_MAX_ROWS - 1)) - 1.0;  // minus the prefix
}
BENCHMARK(BM_OpenFullSheet)->Unit(benchmark::kMillisecond);

// Save by hand: serialize, write atomically with fsync, rotate backups.
void BM_SaveFullSheet(benchmark::State& state)
{
    SBench& b = Bench();
    b.Open();
    for (auto _ : state) {
        if (!b.m_Doc.Save(b.m_Sheet))
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(b.m_strBytes.size()));
}
BENCHMARK(BM_SaveFullSheet)->Unit(benchmark::kMillisecond);

// The writer alone (serialization into memory).
void BM_SerializeFullSheet(benchmark::State& state)
{
    SBench& b = Bench();
    b.Open();
    CSettingsKey key(b.m_Store);
    std::string out;
    for (auto _ : state) {
        bool bContent = false;
        sheetfile::WriteSheet(b.m_Sheet, key, nullptr, out, bContent);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_SerializeFullSheet)->Unit(benchmark::kMillisecond);

// The atomic write alone: temporary file, fsync, rename.
void BM_AtomicWriteSameBytes(benchmark::State& state)
{
    SBench& b = Bench();
    const std::string path = b.m_Folder.File("atomic.qtx");
    for (auto _ : state) {
        docfile::CAtomicFile file;
        std::string reason;
        if (!file.Write(path, b.m_strBytes, reason) || !file.Commit(reason))
            state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_AtomicWriteSameBytes)->Unit(benchmark::kMillisecond);

// The yardstick: one buffered write of the same bytes, no flush to disk.
void BM_BufferedWriteSameBytes(benchmark::State& state)
{
    SBench& b = Bench();
    const std::string path = b.m_Folder.File("plain.qtx");
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(b.m_strBytes.data(), 1, b.m_strBytes.size(), f);
        std::fclose(f);
    }
}
BENCHMARK(BM_BufferedWriteSameBytes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
