// The calculation grid: the sheet together with the engine that calculates
// it. It sets up new sheets, inserts and deletes rows, fits row heights,
// grows the sheet, commits the in-cell editor into the current cell (clean,
// calculate, check references, carry the new value to the rows that use it,
// wrap, colour, store) and recalculates every row when the number of
// decimals changes.
//
// Headless: the desktop program shows the sheet and implements the editor
// site, the hooks and the prompt.
//
// Threads. RecalcAllRows runs on a worker thread started by MoreDecimals and
// FewerDecimals. The worker holds Mutex() for the whole recalculation, and
// every public operation that reads or writes the sheet or the calculation
// state takes it too, so a commit simply waits for the worker (which takes
// at most a few dozen milliseconds). Code outside that touches the sheet or
// the state while a worker may run takes Mutex() as well. While the worker
// runs, the message boxes it raises are not shown: they are queued and
// handed to the state's prompt by DeliverPendingMessages on the interface
// thread. The worker calls CCalcGridHooks::OnRecalcFinished when it is done
// (on the worker thread); the desktop program answers it by posting a call
// of DeliverPendingMessages to its interface thread. WaitForRecalc joins the
// worker and delivers the messages.
#pragma once

#include <atomic>
#include <cstdint>
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

// The in-cell editor as the grid needs it for a commit.
class CCellEditorSite {
public:
    virtual ~CCellEditorSite() = default;
    virtual bool IsShown() const = 0;
    virtual std::string Text() const = 0;
    // Empties the editor's text.
    virtual void Clear() = 0;
    virtual void Hide() = 0;
};

// A bare editor: shown or not, and its text. For tests and tools.
class CPlainEditorSite : public CCellEditorSite {
public:
    bool IsShown() const override { return m_bShown; }
    std::string Text() const override { return m_strText; }
    void Clear() override { m_strText.clear(); }
    void Hide() override { m_bShown = false; }
    void Show(const std::string& text)
    {
        m_strText = text;
        m_bShown = true;
    }

    bool m_bShown = false;
    std::string m_strText;
};

// Where the summary items, the undo history and the document plug into the
// grid. Every hook does nothing by default.
class CCalcGridHooks {
public:
    // Kinds of undo steps.
    enum { STEP_CELL_EDIT = 2,
           STEP_DELETE_ROWS = 6,
           STEP_INSERT_ROWS = 7 };

    virtual ~CCalcGridHooks() = default;

    // Undo: the rectangle an action is about to change. Called for a cell
    // commit that changes its cell (not while navigating or replaying) and for row insertion and
    // deletion (not while replaying).
    virtual void RecordStep(int kind, int r1, int c1, int r2, int c2)
    {
        (void)kind, (void)r1, (void)c1, (void)r2, (void)c2;
    }
    // Summary items: refresh after leaving a cell (while item refresh is on);
    // bChanged when the commit changed the cell's text.
    virtual void RefreshItemOf(int row, int col, bool bChanged) { (void)row, (void)col, (void)bChanged; }
    // Row deletion meets a summary row at row (already current): remove its
    // numbering before the row goes.
    virtual void RemoveItemNumbering(int row) { (void)row; }
    // Row deletion took further headings along: the item numbers from row
    // on change by delta.
    virtual void RenumberItemsFrom(int row, int delta) { (void)row, (void)delta; }
    // Row deletion: totals of the items around first .. last.
    virtual void RecomputeStretch(int first, int last) { (void)first, (void)last; }
    virtual void RefreshItemList() {}

    // Document: modified flag set; a new sheet (not modified, no file, name
    // "NewProject"); undo history emptied.
    virtual void SetModified() {}
    virtual void ResetDocument() {}
    virtual void ResetHistory() {}

    // Called on the worker thread when a recalculation of all rows ends.
    virtual void OnRecalcFinished() {}
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

    void SetEditor(CCellEditorSite* pEditor) { m_pEditor = pEditor; }
    void SetHooks(CCalcGridHooks* pHooks);

    // Grid flags: navigating (commits record no undo step), replaying (an
    // undo or redo runs: nothing is recorded), item refresh (commits refresh
    // the summary item).
    void SetNavigating(bool b) { m_bNavigating = b; }
    void SetReplaying(bool b) { m_bReplaying = b; }
    void SetItemRefresh(bool b) { m_bItemRefresh = b; }
    bool Navigating() const { return m_bNavigating; }
    bool Replaying() const { return m_bReplaying; }
    bool ItemRefresh() const { return m_bItemRefresh; }

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

    // Sheet operations.
    void ResetSheet();
    void InsertRows();
    void DeleteRows();
    void FitRowHeight(int row);
    // Adds rows when the current row is near the end, up to the sheet's
    // limit; a full sheet is still edited. Always true.
    bool GrowIfNearEnd();

    // The leave-cell commit of the current cell.
    void CommitCell();
    // Commits the current cell, then makes (row, col) current.
    void MoveCurrentCell(int row, int col);

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

    void ChangeDecimals(int delta);
    void CommitFormula(int row, std::string& t);
    void CommitName(int row, std::string& t);
    void WriteFormula(int row, const std::string& text);
    std::string EvaluateValue(const std::string& prepared);
    void UsersOfName(const std::string& name, std::vector<int>& out);
    void RecalcRow(int row);
    CCalcGridHooks& Hooks() { return m_pHooks ? *m_pHooks : m_NoHooks; }

    CCalcState& m_State;
    const CSettingsKey& m_Key;
    SheetGrid m_Grid;
    CExprEngine m_Engine;
    std::unique_ptr<CRefIndex> m_pIndex;
    CCellEditorSite* m_pEditor = nullptr;
    CCalcGridHooks* m_pHooks = nullptr;
    CCalcGridHooks m_NoHooks;

    bool m_bNavigating = false;
    bool m_bReplaying = false;
    bool m_bItemRefresh = true;
    bool m_bScreen1024 = false;
    std::uint32_t m_clrErrorCell = 65535;
    std::uint32_t m_clrSummaryRow = 16711935;

    // Circular check and propagation scratch.
    std::vector<int> m_Visited;             // per row: stamp of the last check that found no cycle from it
    std::vector<std::vector<int>> m_Below;  // per row: duplicated names its search reached
    int m_nStamp = 0;

    std::recursive_mutex m_Mutex;
    std::thread m_Worker;
    std::atomic<bool> m_bRecalcRunning{false};
    std::unique_ptr<CQueuedPrompt> m_pQueue;
    std::unique_ptr<CAffectedOrder> m_pOrder;
};
