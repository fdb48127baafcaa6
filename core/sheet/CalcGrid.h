// The calculation grid: the sheet together with the engine that calculates
// it. It sets up new sheets, inserts rows, fits row heights, grows the
// sheet, commits a text typed into a cell (clean, calculate, check
// references, carry the new value to the rows that use it, wrap, colour,
// store) and recalculates every row when the number of decimals changes.
//
// It takes what it works on as arguments and returns what it did: undo
// steps, summary totals and the modified flag are the caller's business.
//
// Threads. RecalcAllRows runs on a worker thread started by MoreDecimals and
// FewerDecimals. The worker holds Mutex() for the whole recalculation, and
// every public operation that reads or writes the sheet or the calculation
// state takes it too, so a commit simply waits for the worker (which takes
// at most a few dozen milliseconds). Code outside that touches the sheet or
// the state while a worker may run takes Mutex() as well. While the worker
// runs, the message boxes it raises are not shown: they are queued and
// handed to the state's prompt by DeliverPendingMessages on the interface
// thread. The worker calls the function given to SetRecalcFinished when it
// is done (on the worker thread); the desktop program answers it by posting
// a call of DeliverPendingMessages to its interface thread. WaitForRecalc
// joins the worker and delivers the messages.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/engine/CalcState.h"
#include "core/engine/ExprEngine.h"
#include "core/sheet/SheetGrid.h"

class CSettingsKey;
class CRefIndex;

// What a commit of a typed text did to its cell.
struct SCellCommit {
    // The cell took the text: false for a cell outside the data rows and
    // columns and for the number, size, unit and name cells of a summary
    // row, which keep what they have.
    bool m_bTaken = false;
    // The stored text differs from the one before.
    bool m_bChanged = false;
    // The cell's text before the commit, for the caller's undo step.
    std::string m_strOldText;
};

// Rows first .. last inserted; m_bDone false when the sheet refused them.
struct SRowsInserted {
    bool m_bDone = false;
    int m_nFirst = 0;
    int m_nLast = 0;
};

class CCalcGrid {
public:
    CCalcGrid(CCalcState& state, const CSettingsKey& key);
    ~CCalcGrid();
    CCalcGrid(const CCalcGrid&) = delete;
    CCalcGrid& operator=(const CCalcGrid&) = delete;

    SheetGrid& Grid() { return m_Grid; }
    const SheetGrid& Grid() const { return m_Grid; }
    CExprEngine& Engine() { return m_Engine; }
    CCalcState& State() { return m_State; }
    std::recursive_mutex& Mutex() { return m_Mutex; }

    // Called on the worker thread when a recalculation of all rows ends.
    void SetRecalcFinished(std::function<void()> onFinished) { m_OnRecalcFinished = std::move(onFinished); }

    // The screen size decides the header template of a new sheet.
    void SetScreenSize(int width, int height) { m_bScreen1024 = width == 1024 && height == 768; }
    // Colours read at the last new-sheet setup (0x00BBGGRR).
    std::uint32_t ErrorColor() const { return m_clrErrorCell; }
    std::uint32_t SummaryColor() const { return m_clrSummaryRow; }
    // Colours chosen in the edit settings, used from now on.
    void SetHighlightColors(std::uint32_t clrError, std::uint32_t clrSummary)
    {
        m_clrErrorCell = clrError;
        m_clrSummaryRow = clrSummary;
    }

    // Sheet operations. A reset leaves an empty sheet of the new-sheet
    // size with the stored headers and alignments; the caller empties what
    // belongs to the old sheet (undo history, item list). InsertRows puts
    // empty rows in front of the selected ones, as many as are selected.
    void ResetSheet();
    SRowsInserted InsertRows();
    void FitRowHeight(int row);
    // The expression cells of rows first .. last take the colour their
    // texts call for: the error colour with a calculation message in front,
    // the default background otherwise (summary rows keep theirs).
    void ColourFormulaCells(int first, int last);
    // Adds rows when the current row is near the end, up to the sheet's
    // limit; a full sheet is still edited. Always true.
    bool GrowIfNearEnd();

    // The text typed into (row, col) stored as the cell keeps it: cleaned,
    // an expression calculated and checked for circular references, a name
    // checked and carried to its users, wrapped, clipped and coloured; the
    // rows that use the cell's value are recalculated.
    SCellCommit CommitText(int row, int col, const std::string& typed);

    static std::string WrapCellText(const std::string& text, int width);

    // Row calculation.
    std::string CalcExpressionText(int row, const std::string& text);
    std::string CalcRowText(int row);
    std::string RecalcKeepingText(const std::string& text);
    void RecalcAllRows();

    // References.
    void RebuildRefTable();
    void RebuildRefTable(int row, int col, const std::string& text);
    int CheckCircular(int row, const std::string& text);
    void PropagateValue(int row, const std::string& value);
    void RefreshNameUsers(int row, const std::string& name);
    // The rows PropagateValue rewrote since the last call: their items'
    // totals are the caller's to refresh.
    std::vector<int> TakeRecalculatedUsers();

    // Decimals commands: change the number of decimals, store it and start
    // the recalculation of all rows on the worker thread.
    void MoreDecimals();
    void FewerDecimals();
    void WaitForRecalc();
    bool RecalcRunning() const;
    // Shows the queued message boxes of the worker through the state's
    // prompt. Interface thread only.
    void DeliverPendingMessages();

    // Bytes held by the sheet and the reference index (an estimate).
    std::size_t MemoryBytes() const;

private:
    class CQueuedPrompt;
    class CAffectedOrder;
    class CCycleSearch;

    void ChangeDecimals(int delta);
    // The stamp of a new circular check, the per-row scratch sized for it.
    int NextVisitStamp(bool bDups);
    std::string CalcExpressionTextAt(int row, int col, const std::string& text);
    void CommitFormula(int row, std::string& t);
    void CommitName(int row, std::string& t);
    void WriteFormula(int row, const std::string& text);
    std::string EvaluateValue(const std::string& prepared);
    // idHint: the id the name probably has (a reached row's own name),
    // which spares looking it up; -1 for none.
    void UsersOfName(const std::string& name, std::vector<int>& out, int idHint = -1);
    // The walk both propagations share: the rows a changed name reaches,
    // each once and after every reached row it uses (rows on a cycle left
    // out). origin is the row whose name changed (-1 for none), start the
    // name its users are found by, nameOf(r) the name a reached row passes
    // on (empty for none).
    void OrderUsers(int origin, const std::string& start, const std::function<std::string(int)>& nameOf,
                    std::vector<int>& order);
    void RecalcRow(int row);

    CCalcState& m_State;
    const CSettingsKey& m_Key;
    SheetGrid m_Grid;
    CExprEngine m_Engine;
    std::unique_ptr<CRefIndex> m_pIndex;
    std::function<void()> m_OnRecalcFinished;
    bool m_bScreen1024 = false;
    std::uint32_t m_clrErrorCell = 65535;
    std::uint32_t m_clrSummaryRow = 16711935;

    // Circular check and propagation scratch.
    std::vector<int> m_Visited;             // per row: stamp of the last check that found no cycle from it
    std::vector<std::vector<int>> m_Below;  // per row: duplicated names its search reached
    std::vector<int> m_PathCount;           // per name id: on the path of the running check (0 outside one)
    int m_nStamp = 0;
    std::vector<int> m_RecalculatedUsers;

    std::recursive_mutex m_Mutex;
    std::thread m_Worker;
    std::atomic<bool> m_bRecalcRunning{false};
    std::unique_ptr<CQueuedPrompt> m_pQueue;
    std::unique_ptr<CAffectedOrder> m_pOrder;
};
