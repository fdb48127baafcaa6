// The desktop program on a full sheet (65,499 rows of about twelve bytes a
// cell): opening the file until the table has taken the new rows and
// painted once, and one cell commit (an expression typed, Enter) with its
// repaint. What a user waits for: the open should show within a second, a
// commit within one frame (16 ms).
#include <benchmark/benchmark.h>

#include "bench/BenchFiles.h"
#include "bench/ResidentMemory.h"
#include "core/document/SheetFile.h"
#include "core/session/CommandIds.h"
#include "core/settings/IniSettingsStore.h"
#include "core/settings/SettingsStore.h"
#include "tests/TestPrompt.h"
#include "ui/desktop/MainFrame.h"
#include "ui/desktop/QuantorixView.h"
#include "ui/desktop/SheetModel.h"
#include "ui/desktop/SheetViewController.h"

#include <QApplication>
#include <QTest>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

const int FILE_ROWS = sheetfile::MAX_FILE_ROWS;  // 65,499
// A sheet at its 65,500 rows takes no more edits ("out of the sheet's
// range"): the largest file that stays editable leaves room for its spare
// rows and one more.
const int EDITABLE_ROWS = SHEET_MAX_ROWS - 1 - sheetfile::SPARE_ROWS - 1;  // 65,489
const int ITEM_ROWS = 50;                                                  // a summary row heads every 50 rows

std::string g_strFullFile;      // FILE_ROWS rows
std::string g_strEditableFile;  // EDITABLE_ROWS rows
std::string g_strSaveFile;      // 60,000 rows

// A sheet file in the program's own layout: items of 49 measured rows under
// a heading row with its totals; every tenth row carries a reference name.
std::string MakeSheetFile(int rows, double& bytesPerCell)
{
    std::string out;
    sheetfile::AppendInt(out, -150);
    sheetfile::AppendInt(out, rows);
    for (int i = 0; i < 5; ++i)
        sheetfile::AppendString(out, "");
    std::size_t cellBytes = 0;
    auto cell = [&](const std::string& text) {
        sheetfile::AppendString(out, text);
        cellBytes += text.size();
    };
    for (int row = 1; row <= rows; ++row) {
        if (row % ITEM_ROWS == 1) {
            cell(std::to_string(row / ITEM_ROWS + 1));
            cell(wallitem::HEADING);
            cell(wallitem::SUMMED);
            cell(wallitem::CATEGORY + "=691.39;");
            cell("m3;");
            cell("");
            continue;
        }
        cell("");
        cell(wallitem::POSITION + std::to_string(row));
        cell(wallitem::CATEGORY);
        cell(wallitem::FORMULA);
        cell("m3");
        cell(row % 10 == 0 ? "W" + std::to_string(row) : std::string());
    }
    sheetfile::AppendInt(out, 1);
    sheetfile::AppendInt(out, 1);
    bytesPerCell = static_cast<double>(cellBytes) / (6.0 * rows);
    return out;
}

// The program's main window, view and controller over the INI settings
// file on disk, as the program has it; the scripted prompt answers the file
// dialog.
struct SDesk {
    SDesk()
    {
        m_pView = new CQuantorixView(m_Controller, m_Key, &m_Frame);
        m_Frame.SetView(m_pView);
        m_Frame.resize(1200, 800);
        m_Frame.show();
        (void)QTest::qWaitForWindowExposed(&m_Frame);
        m_Frame.activateWindow();
        (void)QTest::qWaitForWindowActive(&m_Frame);
    }
    void Command(int nId) { m_Frame.Action(nId)->trigger(); }
    void Open(const std::string& path)
    {
        m_Prompt.m_Files.push_back(path);
        Command(cmdid::FILE_OPEN);
        Show();
    }
    // What the window does before the user sees the result: pending events
    // (the table's layout) and one paint of the table.
    void Show()
    {
        QCoreApplication::processEvents();
        m_pView->Table()->viewport()->repaint();
    }
    QWidget* Focus() { return QApplication::focusWidget() ? QApplication::focusWidget() : m_pView->Table(); }

    CIniSettingsStore m_Store{QString::fromStdString(BenchFolder().SettingsFile())};
    CSettingsKey m_Key{m_Store};
    CTestPrompt m_Prompt;
    CSheetViewController m_Controller{m_Key, m_Prompt};  // outlives the window
    CMainFrame m_Frame{m_Key};
    CQuantorixView* m_pView = nullptr;
};

// The user's process keeps one window for its life and opens file after
// file in it. A window made and destroyed for each run of the benchmark
// would leave its sheet's memory free between the texts of the next
// window's sheet, and the resident size would tell of the benchmark's
// history rather than of the window.
std::unique_ptr<SDesk> g_pWindow;

void BM_OpenFullSheet(benchmark::State& state)
{
    if (!g_pWindow)
        g_pWindow = std::make_unique<SDesk>();
    SDesk& desk = *g_pWindow;
    int writes = 0, opens = 0;
    for (auto _ : state) {
        const int before = desk.m_Store.FileWrites();
        desk.Open(g_strFullFile);
        writes += desk.m_Store.FileWrites() - before;
        ++opens;
        state.PauseTiming();
        if (desk.m_pView->Model()->rowCount() < FILE_ROWS)
            state.SkipWithError("the sheet was not opened");
        // The window with the full sheet, as the process holds it.
        state.counters["resident_MiB"] = static_cast<double>(ResidentKiB()) / 1024.0;
        const int beforeNew = desk.m_Store.FileWrites();
        desk.Command(cmdid::FILE_NEW);  // the next open starts from a new sheet, as at start-up
        desk.Show();
        state.counters["settings_writes_new"] = desk.m_Store.FileWrites() - beforeNew;
        state.ResumeTiming();
    }
    state.counters["settings_writes_open"] = opens ? static_cast<double>(writes) / opens : 0;
}
BENCHMARK(BM_OpenFullSheet)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Ctrl+S of a modified 60,000-row sheet in the window, progress shown.
void BM_SaveSheet(benchmark::State& state)
{
    SDesk desk;
    desk.Open(g_strSaveFile);
    int writes = 0, saves = 0;
    for (auto _ : state) {
        state.PauseTiming();
        desk.m_Controller.ClickCell(5, COL_POSITION, false);
        desk.m_Controller.PressKey(SHEETKEY_DELETE);
        desk.Show();
        const int before = desk.m_Store.FileWrites();
        state.ResumeTiming();
        desk.Command(cmdid::FILE_SAVE);  // Ctrl+S
        desk.Show();
        writes += desk.m_Store.FileWrites() - before;
        ++saves;
    }
    state.counters["settings_writes_save"] = saves ? static_cast<double>(writes) / saves : 0;
    std::ifstream saved(g_strSaveFile, std::ios::binary | std::ios::ate);
    if (static_cast<long long>(saved.tellg()) < 1000000)
        state.SkipWithError("the sheet was not saved");
}
BENCHMARK(BM_SaveSheet)->Unit(benchmark::kMillisecond);

// The same bytes written and flushed with plain file calls: what the disk
// itself costs.
void BM_SaveRawBytes(benchmark::State& state)
{
    std::ifstream in(g_strSaveFile, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string path = BenchFolder().File("raw.qtx");
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fflush(f);
        std::fclose(f);
    }
}
BENCHMARK(BM_SaveRawBytes)->Unit(benchmark::kMillisecond);

// A large valid file: the full sheet with long texts (about 128 MiB). Its
// open must stay linear (about 1 s per 32 MiB) and light (the peak memory
// is reported beside the time).
std::string g_strLargeFile;

void BM_OpenLargeFile(benchmark::State& state)
{
    SDesk desk;
    for (auto _ : state) {
        desk.Open(g_strLargeFile);
        state.PauseTiming();
        if (desk.m_pView->Model()->rowCount() < FILE_ROWS)
            state.SkipWithError("the sheet was not opened");
        desk.Command(cmdid::FILE_NEW);
        desk.Show();
        state.ResumeTiming();
    }
    state.counters["peak_rss_mb"] = PeakMiB();
}
BENCHMARK(BM_OpenLargeFile)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_CommitCellInFullSheet(benchmark::State& state)
{
    SDesk desk;
    desk.Open(g_strEditableFile);
    if (desk.m_pView->Model()->rowCount() < EDITABLE_ROWS) {
        state.SkipWithError("the sheet was not opened");
        return;
    }
    // A measured row in the middle of the sheet and of its item.
    const int row = 32000 / ITEM_ROWS * ITEM_ROWS + 20;
    QTableView* pTable = desk.m_pView->Table();
    for (auto _ : state) {
        state.PauseTiming();
        desk.m_Controller.ClickCell(row, COL_FORMULA, false);
        desk.m_Controller.PressKey(SHEETKEY_DELETE);
        desk.m_pView->Refresh();
        pTable->setFocus();
        desk.Show();
        state.ResumeTiming();

        // Each key goes where the focus is: the first opens the editor.
        for (const char ch : std::string("(12.6+8.4)*2.8"))
            QTest::keyClick(desk.Focus(), ch);
        QTest::keyClick(desk.Focus(), Qt::Key_Return);
        desk.Show();
    }
    if (desk.m_Controller.Sheet().TextMatrix(row, COL_FORMULA) != "(12.6+8.4)*2.8=58.80")
        state.SkipWithError(("the cell was not committed: " + desk.m_Controller.Sheet().TextMatrix(row, COL_FORMULA)).c_str());
}
BENCHMARK(BM_CommitCellInFullSheet)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // The window layer runs without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    if (!BenchFolder().IsValid())
        return 1;
    auto write = [&](const char* name, int rows) {
        double bytesPerCell = 0;
        const std::string bytes = MakeSheetFile(rows, bytesPerCell);
        const std::string path = BenchFolder().Write(name, bytes);  // an ASCII path
        std::printf("%s: %d rows, %.1f bytes a cell, %zu bytes\n", name, rows, bytesPerCell, bytes.size());
        return path;
    };
    g_strFullFile = write("full.qtx", FILE_ROWS);
    g_strSaveFile = write("save.qtx", 60000);
    g_strEditableFile = write("editable.qtx", EDITABLE_ROWS);
    {
        // The full sheet again, each text made about 330 bytes longer.
        std::string out;
        sheetfile::AppendInt(out, -150);
        sheetfile::AppendInt(out, FILE_ROWS);
        for (int i = 0; i < 5; ++i)
            sheetfile::AppendString(out, "");
        const std::string tail(330, 'x');
        for (int row = 1; row <= FILE_ROWS; ++row) {
            sheetfile::AppendString(out, "");
            sheetfile::AppendString(out, "pos" + std::to_string(row) + tail);
            sheetfile::AppendString(out, tail);
            sheetfile::AppendString(out, std::to_string(row) + "+1[" + tail + "]=" + std::to_string(row + 1) + ".00");
            sheetfile::AppendString(out, "m" + tail);
            sheetfile::AppendString(out, "n" + std::to_string(row));
        }
        sheetfile::AppendInt(out, 1);
        sheetfile::AppendInt(out, 1);
        g_strLargeFile = BenchFolder().Write("large.qtx", out);
        std::printf("large.qtx: %d rows, %zu bytes\n", FILE_ROWS, out.size());
    }

    const int result = RunBenchmarks(argc, argv);
    g_pWindow.reset();  // before the application
    return result;
}
