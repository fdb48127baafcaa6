// Printing a full sheet (65,499 rows, a summary item every 50 rows): the
// whole sheet into a PDF file as `qtx pdf` and the window's PDF printer
// write it (pages per second; the file should be done within 10 s, with
// the process staying under 200 MiB), and the print preview up to its
// first page (within a second).
#include <benchmark/benchmark.h>

#include "bench/BenchFiles.h"
#include "bench/ResidentMemory.h"
#include "core/edit/ClipboardOps.h"
#include "core/engine/CalcState.h"
#include "core/session/SheetSession.h"
#include "core/settings/SettingsStore.h"
#include "ui/desktop/PrintDialogs.h"
#include "ui/print/PdfPrint.h"

#include <QApplication>

#include <ctime>
#include <memory>
#include <string>

namespace {

const int ROWS = SHEET_MAX_ROWS - 1;

// A session over a sheet of ROWS rows: items of 49 measured rows under a
// heading with its totals.
struct SFullSheet {
    CMemorySettingsStore m_Store;
    CCalcState m_State;
    CSilentPrompt m_Prompt;
    CMemoryClipboard m_Clipboard;
    CSheetSession m_Session{m_State, m_Store, m_Prompt, m_Clipboard};

    SFullSheet()
    {
        m_Session.Start();
        SheetGrid& sheet = m_Session.Sheet();
        sheet.SetRows(ROWS + 1);
        for (int r = 1; r <= ROWS; ++r) {
            if (r % 50 == 1) {
                sheet.SetTextMatrix(r, COL_SEQ, std::to_string(r / 50 + 1));
                sheet.SetTextMatrix(r, COL_POSITION, wallitem::HEADING);
                sheet.SetTextMatrix(r, COL_SIZE, wallitem::SUMMED);
                sheet.SetTextMatrix(r, COL_FORMULA, wallitem::CATEGORY + "=691.39");
                sheet.SetTextMatrix(r, COL_UNIT, "m3");
            } else {
                sheet.SetTextMatrix(r, COL_POSITION, wallitem::POSITION);
                sheet.SetTextMatrix(r, COL_SIZE, wallitem::CATEGORY);
                sheet.SetTextMatrix(r, COL_FORMULA, wallitem::FORMULA);
                sheet.SetTextMatrix(r, COL_UNIT, "m3");
            }
        }
    }
};

void BM_FullSheetToPdf(benchmark::State& state)
{
    SFullSheet sheet;
    const std::string path = BenchFolder().File("full.pdf");
    int pages = 0;
    for (auto _ : state) {
        SPrintJob job;
        sheet.m_Session.PreparePrint(job, LocalDate(std::time(nullptr)));
        std::string reason;
        if (!WritePrintPdf(job, path, PrintPageLayout(), nullptr, pages, reason))
            state.SkipWithError("the PDF was not written");
    }
    state.counters["pages"] = pages;
    state.counters["pages_per_s"] = benchmark::Counter(pages * static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate);
    state.counters["peak_MiB"] = PeakMiB();
}
BENCHMARK(BM_FullSheetToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PreviewFirstPage(benchmark::State& state)
{
    SFullSheet sheet;
    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(PDF_DPI);
    printer.setPageLayout(PrintPageLayout());
    int pages = 0;
    for (auto _ : state) {
        SPrintJob job;
        sheet.m_Session.PreparePrint(job, LocalDate(std::time(nullptr)));
        CPrintPreviewDlg dlg(job, printer);
        pages = dlg.PageCount();
        benchmark::DoNotOptimize(dlg.RenderedPages());
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PreviewFirstPage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
