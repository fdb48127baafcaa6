// Whole user actions on large sheets, through the session's commands as the
// window and `qtx run` drive them: the settings in an INI file on disk, the
// sheet opened from a file with progress reporting in place. Each fast case
// has its plain counterpart in the same run (the literal algorithms of the
// tests, or the old one-heading-at-a-time row operations) on a size they
// can finish.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchFiles.h"
#include "core/document/Progress.h"
#include "core/document/SheetFile.h"
#include "core/engine/CalcState.h"
#include "core/session/SheetSession.h"
#include "core/settings/IniSettingsStore.h"
#include "tests/SheetFileBytes.h"
#include "tests/TestPrompt.h"
#include "tests/core/sheet/LiteralSheet.h"

namespace {

using SRow = std::vector<std::string>;  // six cells

std::string WriteSheetFile(const std::string& name, const std::vector<SRow>& rows)
{
    return BenchFolder().Write(name, SheetFileBytes(rows));
}

// 65,499 rows, a heading every `every` rows with its total, measured rows
// with a category, an expression and a unit; the heading holds the unit
// list the program writes for it.
std::vector<SRow> ItemRows(int count, int every)
{
    std::vector<SRow> rows;
    rows.reserve(static_cast<std::size_t>(count));
    int number = 0;
    for (int r = 1; r <= count; ++r) {
        if (every > 0 && r % every == 1)
            rows.push_back({std::to_string(++number), "item" + std::to_string(number), "", "C20=" + std::to_string(every - 1) + ".00", "m3", ""});
        else
            rows.push_back({"", "p" + std::to_string(r), "C20", "(12.6+8.4)*2.8=58.80", "m3", ""});
    }
    return rows;
}

struct SSession {
    CIniSettingsStore m_Store{QString::fromStdString(BenchFolder().SettingsFile())};
    CCalcState m_State;
    CTestPrompt m_Prompt;
    CMemoryClipboard m_Clipboard;
    CRecordingProgress m_Progress;
    CSheetSession m_Session{m_State, m_Store, m_Prompt, m_Clipboard};

    SSession()
    {
        m_Session.SetProgress(&m_Progress);
        m_Session.Start();
    }
    bool Open(const std::string& path)
    {
        m_Prompt.m_Answers.push_back(CPrompt::ANSWER_NO);  // do not save the sheet it replaces
        m_Prompt.m_Files.push_back(path);
        m_Session.RunCommand(cmdid::FILE_OPEN);
        m_Prompt.m_Answers.clear();
        return m_Session.Document().Path() == path;
    }
    // The rows written to a file of that name and opened; the benchmark is
    // marked failed when they do not open.
    void Open(benchmark::State& state, const std::string& name, const std::vector<SRow>& rows)
    {
        if (!Open(WriteSheetFile(name, rows)))
            state.SkipWithError("not opened");
    }
    SheetGrid& Grid() { return m_Session.CalcGrid().Grid(); }
    void Select(int r1, int c1, int r2, int c2)
    {
        m_Session.Click(r1, c1);
        m_Session.ShiftClick(r2, c2);
    }
    // Typed into a cell and committed with Enter.
    void Type(int row, int col, const std::string& text)
    {
        m_Session.Click(row, col);
        m_Session.TypeText(text);
        m_Session.PressKey(SHEETKEY_ENTER);
    }
    const std::string& Text(int row, int col) { return Grid().TextMatrix(row, col); }
};

// The literal algorithms (every path followed, every step rescanning) on
// the same rows.
void LoadPlain(CLiteralSheet& plain, const std::vector<SRow>& rows)
{
    plain.m_Grid.SetRows(static_cast<int>(rows.size()) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < SHEET_COLS; ++c)
            plain.m_Grid.SetTextMatrix(static_cast<int>(r) + 1, c, rows[r][c]);
}

std::string Name(char letter, int k)
{
    return std::string(1, letter) + std::to_string(k);
}

// a_k and b_k both use a_(k-1) and b_(k-1); rows 2k+1 and 2k+2.
std::vector<SRow> DiamondRows(int layers)
{
    std::vector<SRow> rows;
    rows.push_back({"", "", "", "1=1.00", "", "a0"});
    rows.push_back({"", "", "", "1=1.00", "", "b0"});
    for (int k = 1; k < layers; ++k) {
        const std::string uses = Name('a', k - 1) + "+" + Name('b', k - 1) + "=0.00";
        rows.push_back({"", "", "", uses, "", Name('a', k)});
        rows.push_back({"", "", "", uses, "", Name('b', k)});
    }
    for (int i = 0; i < 10; ++i)
        rows.push_back({"", "", "", "", "", ""});
    return rows;
}

void BM_DiamondRootCommit(benchmark::State& state)
{
    const int layers = static_cast<int>(state.range(0));
    SSession s;
    s.Open(state, "diamond.qtx", DiamondRows(layers));
    int n = 0;
    for (auto _ : state)
        s.Type(1, COL_FORMULA, std::to_string(2 + (n++ & 1)));
    if (s.Text(2 * layers, COL_FORMULA).find("=0.00") != std::string::npos)
        state.SkipWithError("the foot was not recalculated");
}
BENCHMARK(BM_DiamondRootCommit)->Arg(20)->Arg(25)->Unit(benchmark::kMillisecond);

void BM_DiamondRootCommitPlain(benchmark::State& state)
{
    const int layers = static_cast<int>(state.range(0));
    CCalcState st;
    CLiteralSheet plain(st);
    LoadPlain(plain, DiamondRows(layers));
    int n = 0;
    for (auto _ : state)
        plain.Commit(1, COL_FORMULA, std::to_string(2 + (n++ & 1)));
}
BENCHMARK(BM_DiamondRootCommitPlain)->Arg(12)->Arg(16)->Unit(benchmark::kMillisecond);

// t_k = t_(k-1) + q*k: every row also uses the root q.
std::vector<SRow> RunningTotalRows(int count)
{
    std::vector<SRow> rows;
    rows.push_back({"", "", "", "1=1.00", "", "q"});
    rows.push_back({"", "", "", "q=1.00", "", "t1"});
    for (int k = 2; k <= count; ++k)
        rows.push_back({"", "", "", "t" + std::to_string(k - 1) + "+q*" + std::to_string(k % 7) + "=0.00", "", "t" + std::to_string(k)});
    for (int i = 0; i < 10; ++i)
        rows.push_back({"", "", "", "", "", ""});
    return rows;
}

void BM_RunningTotalCommit(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    SSession s;
    s.Open(state, "total.qtx", RunningTotalRows(count));
    int n = 0;
    for (auto _ : state)
        s.Type(1, COL_FORMULA, std::to_string(2 + (n++ & 1)));
}
BENCHMARK(BM_RunningTotalCommit)->Arg(4000)->Unit(benchmark::kMillisecond);

void BM_RunningTotalCommitPlain(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    CCalcState st;
    CLiteralSheet plain(st);
    LoadPlain(plain, RunningTotalRows(count));
    int n = 0;
    for (auto _ : state)
        plain.Commit(1, COL_FORMULA, std::to_string(2 + (n++ & 1)));
}
BENCHMARK(BM_RunningTotalCommitPlain)->Arg(500)->Unit(benchmark::kMillisecond);

// The root uses "z"; naming the foot of the diamond "z" closes the cycle.
// A duplicate name read from the file (a second row named a1) makes the
// check follow two rows for that name.
void BM_CloseCycleAtDiamondFoot(benchmark::State& state)
{
    const int layers = static_cast<int>(state.range(0));
    const bool duplicate = state.range(1) != 0;
    std::vector<SRow> rows = DiamondRows(layers);
    rows[0][COL_FORMULA] = "z+1=0.00";
    if (duplicate)
        rows[2 * layers] = {"", "", "", "a0*2=0.00", "", "a1"};
    SSession s;
    s.Open(state, "cycle.qtx", rows);
    const int foot = 2 * layers;
    for (auto _ : state) {
        s.Type(foot, COL_REF, "z");
        state.PauseTiming();
        s.Type(foot, COL_REF, Name('b', layers - 1));
        state.ResumeTiming();
    }
    s.Type(foot, COL_REF, "z");
    if (s.Text(foot, COL_FORMULA).find("[\xD1\xAD") != 0)
        state.SkipWithError("the cycle was not reported");
}
BENCHMARK(BM_CloseCycleAtDiamondFoot)->Args({20, 0})->Args({20, 1})->Unit(benchmark::kMillisecond);

void BM_CloseCycleAtDiamondFootPlain(benchmark::State& state)
{
    const int layers = static_cast<int>(state.range(0));
    std::vector<SRow> rows = DiamondRows(layers);
    rows[0][COL_FORMULA] = "z+1=0.00";
    CCalcState st;
    CLiteralSheet plain(st);
    LoadPlain(plain, rows);
    const int foot = 2 * layers;
    for (auto _ : state) {
        plain.Commit(foot, COL_REF, "z");
        state.PauseTiming();
        plain.Commit(foot, COL_REF, Name('b', layers - 1));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CloseCycleAtDiamondFootPlain)->Arg(12)->Unit(benchmark::kMillisecond);

// Deleting rows 100 .. 60,099 of 65,499 with a heading every 20 rows; the
// deletion's undo and redo.
const int FULL_ROWS = sheetfile::MAX_FILE_ROWS;

void BM_DeleteRowsWithHeadings(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    SSession s;
    s.Open(state, "items.qtx", ItemRows(FULL_ROWS, 20));
    const int rows = s.Grid().Rows();
    for (auto _ : state) {
        s.Select(100, COL_POSITION, 100 + count - 1, COL_REF);
        s.m_Session.RunCommand(cmdid::DELETE_ROWS);
        state.PauseTiming();
        if (s.Grid().Rows() != rows - count)
            state.SkipWithError("not deleted");
        s.m_Session.RunCommand(cmdid::EDIT_UNDO);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteRowsWithHeadings)->Arg(10000)->Arg(60000)->Unit(benchmark::kMillisecond);

void BM_DeleteRowsUndoRedo(benchmark::State& state)
{
    SSession s;
    s.Open(state, "items.qtx", ItemRows(FULL_ROWS, 20));
    s.Select(100, COL_POSITION, 60099, COL_REF);
    s.m_Session.RunCommand(cmdid::DELETE_ROWS);
    for (auto _ : state) {
        s.m_Session.RunCommand(cmdid::EDIT_UNDO);
        s.m_Session.RunCommand(cmdid::EDIT_REDO);
    }
}
BENCHMARK(BM_DeleteRowsUndoRedo)->Unit(benchmark::kMillisecond);

// The deletion as it went before: each heading's numbering removed and its
// row deleted on its own.
void BM_DeleteRowsWithHeadingsPlain(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    SSession s;
    s.Open(state, "items.qtx", ItemRows(FULL_ROWS, 20));
    for (auto _ : state) {
        SheetGrid& grid = s.Grid();
        int r1 = 100, left = count;
        while (left > 0) {
            if (!grid.TextMatrix(r1, COL_SEQ).empty()) {
                grid.SetRow(r1);
                s.m_Session.Summary().RemoveItemAt(r1);
                grid.RemoveRowsAt(r1, 1);
                --left;
                continue;
            }
            int run = 1;
            while (run < left && grid.TextMatrix(r1 + run, COL_SEQ).empty())
                ++run;
            grid.RemoveRowsAt(r1, run);
            left -= run;
        }
        state.PauseTiming();
        grid.InsertRowsAt(100, count);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteRowsWithHeadingsPlain)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_CutRowsWithHeadings(benchmark::State& state)
{
    SSession s;
    s.Open(state, "items.qtx", ItemRows(FULL_ROWS, 20));
    for (auto _ : state) {
        s.Select(100, COL_POSITION, 10099, COL_REF);
        s.m_Session.RunCommand(cmdid::EDIT_CUT);
        state.PauseTiming();
        s.m_Session.RunCommand(cmdid::EDIT_UNDO);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CutRowsWithHeadings)->Unit(benchmark::kMillisecond);

// The three bulk edits over 65,000 expression rows (one item).
void BM_BulkEdit(benchmark::State& state)
{
    const int kind = static_cast<int>(state.range(0));
    SSession s;
    s.Open(state, "bulk.qtx", ItemRows(65000, 0));
    int n = 0;
    for (auto _ : state) {
        s.Select(1, COL_FORMULA, 65000, COL_FORMULA);
        switch (kind) {
        case 0: s.m_Session.RunCommand(cmdid::TOGGLE_MINUS); break;
        case 1: s.m_Session.AppendText("*2"); break;
        default: (n++ & 1) ? s.m_Session.AppendText("*2") : s.m_Session.RemoveText("*2"); break;
        }
        if (kind == 1) {
            state.PauseTiming();
            s.m_Session.RemoveText("*2");
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_BulkEdit)->Arg(0)->Arg(1)->Arg(2)->Iterations(3)->Unit(benchmark::kMillisecond);

// The first action after opening against the same action repeated: a
// decimals change, a commit at the head of a chain, a paste.
std::vector<SRow> ChainRows(int count)
{
    std::vector<SRow> rows = ItemRows(count, 50);
    for (int r = 1; r < count; ++r)
        if (rows[r][COL_SEQ].empty() && r + 1 < count) {
            rows[r][COL_REF] = "r" + std::to_string(r);
            if (r > 2)
                rows[r][COL_FORMULA] = "r" + std::to_string(r - 1) + "+1=0.00";
        }
    return rows;
}

// False when the action did not do what it should.
bool AfterOpeningAction(SSession& s, int action, int n)
{
    switch (action) {
    case 0:
        s.m_Session.RunCommand((n & 1) ? cmdid::FEWER_DECIMALS : cmdid::MORE_DECIMALS);
        s.m_Session.WaitForRecalc();
        break;
    case 1: s.Type(3, COL_FORMULA, std::to_string(5 + (n & 1))); break;
    default:
        s.m_Clipboard.SetText((n & 1) ? "7*3\tC20\r\n4*6\tC20" : "12*3\tC20\r\n4*5\tC20");
        s.Select(30000 / 50, COL_FORMULA, 30000 / 50, COL_FORMULA);
        s.m_Prompt.m_Answers.push_back(CPrompt::ANSWER_YES);  // over the cells that hold data
        s.m_Session.RunCommand(cmdid::EDIT_PASTE);
        s.m_Prompt.m_Answers.clear();
        return s.Text(30000 / 50, COL_FORMULA).compare(0, 4, (n & 1) ? "7*3=" : "12*3") == 0;
    }
    return true;
}

// Each repetition of the first action runs in a session of its own that
// has just opened the file, so nothing an earlier repetition filled is
// left. The repeated action runs in one session after a first round, once
// straight after itself (its code and data still in the processor's
// caches) and once after a sweep through more memory than the caches hold,
// as after opening: the two show what is the caches' share of the first.
void BM_AfterOpening(benchmark::State& state)
{
    const int action = static_cast<int>(state.range(0));
    enum { FIRST,
           REPEATED,
           REPEATED_COLD };
    const int mode = static_cast<int>(state.range(1));
    const std::string path = WriteSheetFile("chain.qtx", ChainRows(20000));
    std::unique_ptr<SSession> s;
    auto fresh = [&]() {
        s.reset();
        s.reset(new SSession);
        if (!s->Open(path))
            state.SkipWithError("not opened");
    };
    if (mode != FIRST) {
        fresh();
        AfterOpeningAction(*s, action, 0);
        AfterOpeningAction(*s, action, 1);
    }
    std::vector<char> sweep(mode == REPEATED_COLD ? 64u << 20 : 0u);
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (mode == FIRST)
            fresh();
        for (std::size_t i = 0; i < sweep.size(); i += 64)
            ++sweep[i];
        state.ResumeTiming();
        if (!AfterOpeningAction(*s, action, mode == FIRST ? 0 : n++))
            state.SkipWithError("the action did nothing");
    }
}
BENCHMARK(BM_AfterOpening)->ArgsProduct({{0, 1, 2}, {0, 1, 2}})->Iterations(5)->Repetitions(5)->ReportAggregatesOnly(true)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (!BenchFolder().IsValid())
        return 1;
    return RunBenchmarks(argc, argv);
}
