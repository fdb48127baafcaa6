// Commands that change how the sheet shows its contents: the alignment of a
// column and the worked example in the first rows (the number of decimals
// belongs to the calculation grid, which recalculates every row).
// None of them records an undo step.
#pragma once

class CSheetEditHost;

class CDisplayCommands {
public:
    explicit CDisplayCommands(CSheetEditHost& host);

    // Alignment code a (1 left, 4 centre, 7 right) for the current column:
    // stored (nSEATSIGNc = 10 * c + a) and shown; the header stays centred.
    void AlignColumn(int align);
    void AlignLeft() { AlignColumn(1); }
    void AlignCenter() { AlignColumn(4); }
    void AlignRight() { AlignColumn(7); }

    // The example command's check state (ExampleShow, read at start-up).
    bool ExampleShown() const { return m_bExampleShow; }
    void SetExampleShown(bool bShown) { m_bExampleShow = bShown; }
    // Toggles the check state; when it becomes checked and the user agrees,
    // rows 1 .. 3 get the example texts and row 1 becomes a summary item.
    void InsertExample();

private:
    CSheetEditHost& m_Host;
    bool m_bExampleShow = false;
};
