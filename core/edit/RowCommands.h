// The sheet's row commands on the selected rows: insertion of empty rows in
// front of them and their deletion. Both record their undo step (nothing is
// recorded while a step replays) and keep the summary items numbered and
// totalled. They return whether the sheet changed.
#pragma once

class CCalcGrid;
class CSummaryItems;
class UndoHistory;

class CRowCommands {
public:
    CRowCommands(CCalcGrid& calc, CSummaryItems& summary, UndoHistory& history);

    bool InsertRows();
    // Every data row selected: nothing happens.
    bool DeleteRows();

private:
    CCalcGrid& m_Calc;
    CSummaryItems& m_Summary;
    UndoHistory& m_History;
};
