// The sheet as a table model: six text columns, one fixed header row and one
// fixed item-number column, per-cell background colour and alignment, row
// heights, current cell and selection. No window: the desktop program shows
// it through a view that listens to the observer below.
//
// Texts are GBK byte strings. Operations are named after the grid properties
// the sheet has always used (Rows, Row, TextMatrix, AddItem, ...).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum {
    COL_SEQ = 0,
    COL_POSITION = 1,
    COL_SIZE = 2,
    COL_FORMULA = 3,
    COL_UNIT = 4,
    COL_REF = 5,
    SHEET_COLS = 6
};

// At most this many rows, header included.
const int SHEET_MAX_ROWS = 65500;

// Alignment codes of the grid.
enum {
    ALIGN_DEFAULT = 0,  // the cell shows its column's alignment
    ALIGN_LEFT_CENTER = 1,
    ALIGN_LEFT_BOTTOM = 2,
    ALIGN_CENTER_TOP = 3,
    ALIGN_CENTER_CENTER = 4,
    ALIGN_CENTER_BOTTOM = 5,
    ALIGN_RIGHT_TOP = 6,
    ALIGN_RIGHT_CENTER = 7
};

// Told about every change, so that a view can redraw what changed.
class CSheetObserver {
public:
    virtual ~CSheetObserver() = default;
    virtual void OnSheetReset() {}
    virtual void OnRowsInserted(int first, int count)
    {
        (void)first;
        (void)count;
    }
    virtual void OnRowsRemoved(int first, int count)
    {
        (void)first;
        (void)count;
    }
    virtual void OnCellChanged(int row, int col)
    {
        (void)row;
        (void)col;
    }
    virtual void OnRowHeightChanged(int row) { (void)row; }
    virtual void OnCurrentCellChanged() {}
    virtual void OnRedrawChanged(bool bRedraw) { (void)bRedraw; }
};

// One entry of the grid's change record: a row's expression or reference
// text changed, or rows were inserted or removed.
struct SSheetChange {
    enum EKind : std::uint8_t { TEXT,
                                ROWS_INSERTED,
                                ROWS_REMOVED };
    EKind m_eKind;
    int m_nFirst;  // the row of a text change, the first row otherwise
    int m_nCount;  // rows inserted or removed
};

class SheetGrid {
public:
    SheetGrid();

    void SetObserver(CSheetObserver* pObserver) { m_pObserver = pObserver; }

    // The change record, for an index kept beside the sheet (the reference
    // index of the calculation grid), which reads it when it is next asked:
    // in order, every insertion and removal of rows and every change of an
    // expression or reference text since the reader last cleared it. A row
    // whose text change is already recorded is not recorded again before
    // the next clearing (the row's entry moves with it through the row
    // changes recorded after it). Clear, and a record grown long unread,
    // leave "everything changed" instead. Colours and heights are not
    // recorded.
    bool HasChanges() const { return m_bAllChanged || !m_Changes.empty(); }
    bool AllChanged() const { return m_bAllChanged; }
    const std::vector<SSheetChange>& Changes() const { return m_Changes; }
    void ClearChanges();

    // Size. Setting Rows removes or appends rows at the end (at least 1).
    int Rows() const { return static_cast<int>(m_Rows.size()); }
    void SetRows(int rows);
    int Cols() const { return SHEET_COLS; }
    void SetCols(int cols) { (void)cols; }  // always six columns
    void SetFixedRows(int n) { m_nFixedRows = n; }
    void SetFixedCols(int n) { m_nFixedCols = n; }
    int FixedRows() const { return m_nFixedRows; }
    int FixedCols() const { return m_nFixedCols; }

    // Current cell and selection corner. Setting Row or Col collapses the
    // selection to the current cell.
    int Row() const { return m_nRow; }
    int Col() const { return m_nCol; }
    int RowSel() const { return m_nRowSel; }
    int ColSel() const { return m_nColSel; }
    void SetRow(int row);
    void SetCol(int col);
    void SetRowSel(int row);
    void SetColSel(int col);

    // Cell texts. Out-of-range reads give an empty text; writes are ignored.
    const std::string& TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const std::string& text);
    const std::string& Text() const { return TextMatrix(m_nRow, m_nCol); }
    void SetText(const std::string& text) { SetTextMatrix(m_nRow, m_nCol, text); }

    // Attributes of the current cell.
    std::uint32_t CellBackColor() const { return BackColorAt(m_nRow, m_nCol); }
    void SetCellBackColor(std::uint32_t clr) { SetBackColorAt(m_nRow, m_nCol, clr); }
    int CellAlignment() const { return AlignmentAt(m_nRow, m_nCol); }
    void SetCellAlignment(int align) { SetAlignmentAt(m_nRow, m_nCol, align); }
    const std::string& CellFontName() const { return m_strFontName; }
    void SetCellFontName(const std::string& name) { (void)name; }  // the sheet keeps one font
    double CellFontSize() const { return m_dFontSize; }
    void SetCellFontSize(double size) { (void)size; }
    double CellFontWidth() const { return 0.0; }
    void SetCellFontWidth(double width) { (void)width; }

    // The same attributes of any cell, without moving the current cell.
    // BackColorAt is 0 for the default background; AlignmentAt is the cell's
    // own code or ALIGN_DEFAULT; EffectiveAlignment falls back to the column.
    std::uint32_t BackColorAt(int row, int col) const;
    void SetBackColorAt(int row, int col, std::uint32_t clr);
    int AlignmentAt(int row, int col) const;
    void SetAlignmentAt(int row, int col, int align);
    int EffectiveAlignment(int row, int col) const;

    void SetColAlignment(int col, int align);
    int ColAlignment(int col) const;
    void SetFixedAlignment(int col, int align);
    int FixedAlignment(int col) const;

    // Row heights in twips.
    int RowHeight(int row) const;
    void SetRowHeight(int row, int twips);
    // Makes a row as high as its cell with the most text lines.
    void FitRowHeight(int row);

    // One row inserted before index (its first cell gets text); one removed.
    void AddItem(const std::string& text, int index);
    void RemoveItem(int index);
    // The same for many rows at once (empty rows of the default height).
    void InsertRowsAt(int index, int count);
    void RemoveRowsAt(int index, int count);

    // Every cell's text emptied and all cell formatting reset.
    void Clear();

    // The header template: "|"-separated segments, one per column. The
    // segments give the column widths in characters of the grid font.
    void SetFormatString(const std::string& format);
    const std::string& FormatString() const { return m_strFormat; }
    // Width of each column in characters, from the template.
    int ColumnWidthChars(int col) const;

    void SetRedraw(bool bRedraw);
    bool Redraw() const { return m_bRedraw; }
    void Refresh();

    // Row height of one text line in twips for the grid font.
    int LineHeight() const;

private:
    struct SRow {
        std::string m_Text[SHEET_COLS];
        std::uint32_t m_Back[SHEET_COLS] = {0, 0, 0, 0, 0, 0};
        std::int8_t m_Align[SHEET_COLS] = {0, 0, 0, 0, 0, 0};
        int m_nHeight = 0;
        std::uint32_t m_nTextRound = 0;  // the record's round of its last recorded text change
    };
    bool IsCell(int row, int col) const
    {
        return row >= 0 && row < Rows() && col >= 0 && col < SHEET_COLS;
    }
    SRow NewRow() const;
    void ClampCurrent();
    bool RecordFull();
    void RecordText(int row);
    void RecordRows(SSheetChange::EKind kind, int first, int count);

    std::vector<SRow> m_Rows;
    int m_nFixedRows = 1;
    int m_nFixedCols = 1;
    int m_nRow = 1, m_nCol = 1, m_nRowSel = 1, m_nColSel = 1;
    int m_ColAlign[SHEET_COLS] = {4, 7, 4, 1, 4, 4};
    int m_FixedAlign[SHEET_COLS] = {4, 4, 4, 4, 4, 4};
    std::string m_strFormat;
    int m_ColWidth[SHEET_COLS] = {4, 12, 14, 48, 8, 6};
    std::string m_strFontName;
    double m_dFontSize = 9.0;
    bool m_bRedraw = true;
    CSheetObserver* m_pObserver = nullptr;
    std::vector<SSheetChange> m_Changes;
    bool m_bAllChanged = true;
    std::uint32_t m_nRound = 1;
};

// Turns the sheet's redraw off while it lives and puts back the state it
// found, so that a command run inside another (a row insertion inside an
// undo) leaves the redraw to the outer one.
class CRedrawOff {
public:
    explicit CRedrawOff(SheetGrid& grid) : m_Grid(grid), m_bWasOn(grid.Redraw()) { m_Grid.SetRedraw(false); }
    ~CRedrawOff() { m_Grid.SetRedraw(m_bWasOn); }
    CRedrawOff(const CRedrawOff&) = delete;
    CRedrawOff& operator=(const CRedrawOff&) = delete;

private:
    SheetGrid& m_Grid;
    const bool m_bWasOn;
};
