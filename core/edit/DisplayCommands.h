// Commands that change how the sheet shows its contents: the alignment of a
// column and the worked example in the first rows (the number of decimals
// belongs to the calculation grid, which recalculates every row).
// None of them records an undo step.
#pragma once

class CCalcGrid;
class CCurrentCell;
class CPrompt;
class CSettingsKey;
class CSummaryItems;

// Both commands move the current cell (committing what is typed) and
// return whether the sheet changed.
class CDisplayCommands {
public:
    CDisplayCommands(CCalcGrid& calc, CCurrentCell& cell, CSummaryItems& summary, CPrompt& prompt,
                     const CSettingsKey& key);

    // Alignment code a (1 left, 4 centre, 7 right) for the current column:
    // stored (nSEATSIGNc = 10 * c + a) and shown; the header stays centred.
    bool AlignColumn(int align);
    bool AlignLeft() { return AlignColumn(1); }
    bool AlignCenter() { return AlignColumn(4); }
    bool AlignRight() { return AlignColumn(7); }

    // The example command's check state (ExampleShow, read at start-up).
    bool ExampleShown() const { return m_bExampleShow; }
    void SetExampleShown(bool bShown) { m_bExampleShow = bShown; }
    // Toggles the check state; when it becomes checked and the user agrees,
    // rows 1 .. 3 get the example texts and row 1 becomes a summary item.
    bool InsertExample();

private:
    CCalcGrid& m_Calc;
    CCurrentCell& m_Cell;
    CSummaryItems& m_Summary;
    CPrompt& m_Prompt;
    const CSettingsKey& m_Key;
    bool m_bExampleShow = false;
};
