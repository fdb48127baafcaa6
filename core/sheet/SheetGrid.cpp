#include "core/sheet/SheetGrid.h"

#include <algorithm>

namespace {
const std::string EMPTY_TEXT;
// "宋体": the sheet's one font.
const char FONT_NAME[] = "\xCB\xCE\xCC\xE5";
}  // namespace

SheetGrid::SheetGrid() : m_strFontName(FONT_NAME)
{
    m_Rows.resize(2, NewRow());
}

SheetGrid::SRow SheetGrid::NewRow() const
{
    SRow row;
    row.m_nHeight = LineHeight();
    return row;
}

int SheetGrid::LineHeight() const
{
    return static_cast<int>(m_dFontSize * 23.75);
}

void SheetGrid::SetRows(int rows)
{
    rows = std::max(rows, 1);
    const int old = Rows();
    if (rows == old)
        return;
    if (rows > old) {
        m_Rows.resize(rows, NewRow());
        RecordRows(SSheetChange::ROWS_INSERTED, old, rows - old);
        if (m_pObserver)
            m_pObserver->OnRowsInserted(old, rows - old);
    } else {
        m_Rows.resize(rows);
        RecordRows(SSheetChange::ROWS_REMOVED, rows, old - rows);
        if (m_pObserver)
            m_pObserver->OnRowsRemoved(rows, old - rows);
    }
    ClampCurrent();
}

void SheetGrid::ClampCurrent()
{
    const int last = Rows() - 1;
    bool changed = false;
    for (int* p : {&m_nRow, &m_nRowSel}) {
        if (*p > last) {
            *p = std::max(last, 0);
            changed = true;
        }
    }
    if (changed && m_pObserver)
        m_pObserver->OnCurrentCellChanged();
}

void SheetGrid::SetRow(int row)
{
    m_nRow = m_nRowSel = std::clamp(row, 0, std::max(Rows() - 1, 0));
    m_nColSel = m_nCol;
    if (m_pObserver)
        m_pObserver->OnCurrentCellChanged();
}

void SheetGrid::SetCol(int col)
{
    m_nCol = m_nColSel = std::clamp(col, 0, SHEET_COLS - 1);
    m_nRowSel = m_nRow;
    if (m_pObserver)
        m_pObserver->OnCurrentCellChanged();
}

void SheetGrid::SetRowSel(int row)
{
    m_nRowSel = std::clamp(row, 0, std::max(Rows() - 1, 0));
    if (m_pObserver)
        m_pObserver->OnCurrentCellChanged();
}

void SheetGrid::SetColSel(int col)
{
    m_nColSel = std::clamp(col, 0, SHEET_COLS - 1);
    if (m_pObserver)
        m_pObserver->OnCurrentCellChanged();
}

const std::string& SheetGrid::TextMatrix(int row, int col) const
{
    return IsCell(row, col) ? m_Rows[row].m_Text[col] : EMPTY_TEXT;
}

void SheetGrid::SetTextMatrix(int row, int col, const std::string& text)
{
    if (!IsCell(row, col))
        return;
    std::string& cell = m_Rows[row].m_Text[col];
    if (cell == text)
        return;
    cell = text;
    if (col == COL_FORMULA || col == COL_REF)
        RecordText(row);
    if (m_pObserver)
        m_pObserver->OnCellChanged(row, col);
}

// --- the change record ------------------------------------------------------

bool SheetGrid::RecordFull()
{
    // A grid nobody reads must not keep growing: past this length, reading
    // everything again costs no more than replaying the record.
    if (!m_bAllChanged && m_Changes.size() >= m_Rows.size() + 4096) {
        m_bAllChanged = true;
        m_Changes.clear();
    }
    return m_bAllChanged;
}

void SheetGrid::RecordText(int row)
{
    SRow& r = m_Rows[row];
    if (r.m_nTextRound == m_nRound || RecordFull())
        return;
    r.m_nTextRound = m_nRound;
    m_Changes.push_back({SSheetChange::TEXT, row, 1});
}

void SheetGrid::RecordRows(SSheetChange::EKind kind, int first, int count)
{
    if (!RecordFull())
        m_Changes.push_back({kind, first, count});
}

void SheetGrid::ClearChanges()
{
    // A file read into the sheet leaves a long record; its memory goes with it.
    if (m_Changes.capacity() > 1024)
        std::vector<SSheetChange>().swap(m_Changes);
    else
        m_Changes.clear();
    m_bAllChanged = false;
    if (++m_nRound == 0) {
        // The rounds wrapped: no row may keep a round that could come again.
        for (SRow& r : m_Rows)
            r.m_nTextRound = 0;
        m_nRound = 1;
    }
}

std::uint32_t SheetGrid::BackColorAt(int row, int col) const
{
    return IsCell(row, col) ? m_Rows[row].m_Back[col] : 0;
}

void SheetGrid::SetBackColorAt(int row, int col, std::uint32_t clr)
{
    if (!IsCell(row, col))
        return;
    clr &= 0xFFFFFF;
    if (m_Rows[row].m_Back[col] == clr)
        return;
    m_Rows[row].m_Back[col] = clr;
    if (m_pObserver)
        m_pObserver->OnCellChanged(row, col);
}

int SheetGrid::AlignmentAt(int row, int col) const
{
    return IsCell(row, col) ? static_cast<int>(m_Rows[row].m_Align[col]) : static_cast<int>(ALIGN_DEFAULT);
}

void SheetGrid::SetAlignmentAt(int row, int col, int align)
{
    if (!IsCell(row, col) || align < 0 || align > 9)
        return;
    if (m_Rows[row].m_Align[col] == align)
        return;
    m_Rows[row].m_Align[col] = static_cast<std::int8_t>(align);
    if (m_pObserver)
        m_pObserver->OnCellChanged(row, col);
}

int SheetGrid::EffectiveAlignment(int row, int col) const
{
    const int own = AlignmentAt(row, col);
    if (own != ALIGN_DEFAULT)
        return own;
    if (row < m_nFixedRows || col < m_nFixedCols)
        return FixedAlignment(col);
    return ColAlignment(col);
}

void SheetGrid::SetColAlignment(int col, int align)
{
    if (col >= 0 && col < SHEET_COLS)
        m_ColAlign[col] = align;
}

int SheetGrid::ColAlignment(int col) const
{
    return (col >= 0 && col < SHEET_COLS) ? m_ColAlign[col] : ALIGN_DEFAULT;
}

void SheetGrid::SetFixedAlignment(int col, int align)
{
    if (col >= 0 && col < SHEET_COLS)
        m_FixedAlign[col] = align;
}

int SheetGrid::FixedAlignment(int col) const
{
    return (col >= 0 && col < SHEET_COLS) ? m_FixedAlign[col] : ALIGN_DEFAULT;
}

int SheetGrid::RowHeight(int row) const
{
    return (row >= 0 && row < Rows()) ? m_Rows[row].m_nHeight : 0;
}

void SheetGrid::SetRowHeight(int row, int twips)
{
    if (row < 0 || row >= Rows() || m_Rows[row].m_nHeight == twips)
        return;
    m_Rows[row].m_nHeight = twips;
    if (m_pObserver)
        m_pObserver->OnRowHeightChanged(row);
}

void SheetGrid::FitRowHeight(int row)
{
    if (row < 0 || row >= Rows())
        return;
    int lines = 1;
    for (const std::string& text : m_Rows[row].m_Text)
        lines = std::max(lines, 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n')));
    SetRowHeight(row, static_cast<int>(m_dFontSize * lines * 23.75));
}

void SheetGrid::AddItem(const std::string& text, int index)
{
    index = std::clamp(index, 0, Rows());
    InsertRowsAt(index, 1);
    if (!text.empty())
        m_Rows[index].m_Text[0] = text;
}

void SheetGrid::RemoveItem(int index)
{
    RemoveRowsAt(index, 1);
}

void SheetGrid::InsertRowsAt(int index, int count)
{
    if (count <= 0)
        return;
    index = std::clamp(index, 0, Rows());
    m_Rows.insert(m_Rows.begin() + index, static_cast<std::size_t>(count), NewRow());
    RecordRows(SSheetChange::ROWS_INSERTED, index, count);
    if (m_pObserver)
        m_pObserver->OnRowsInserted(index, count);
}

void SheetGrid::RemoveRowsAt(int index, int count)
{
    if (index < 0 || index >= Rows() || count <= 0)
        return;
    count = std::min(count, Rows() - index);
    if (Rows() - count < 1)
        count = Rows() - 1;
    if (count <= 0)
        return;
    m_Rows.erase(m_Rows.begin() + index, m_Rows.begin() + index + count);
    RecordRows(SSheetChange::ROWS_REMOVED, index, count);
    if (m_pObserver)
        m_pObserver->OnRowsRemoved(index, count);
    ClampCurrent();
}

void SheetGrid::Clear()
{
    for (SRow& row : m_Rows) {
        const int height = row.m_nHeight;
        row = SRow();
        row.m_nHeight = height;
    }
    m_bAllChanged = true;
    m_Changes.clear();
    if (m_pObserver)
        m_pObserver->OnSheetReset();
}

void SheetGrid::SetFormatString(const std::string& format)
{
    m_strFormat = format;
    // Each "|"-separated segment sets one column's width in characters; a
    // double-byte character counts as two.
    std::size_t start = 0;
    for (int col = 0; col < SHEET_COLS; ++col) {
        std::size_t bar = format.find('|', start);
        std::size_t end = bar == std::string::npos ? format.size() : bar;
        if (start <= format.size())
            m_ColWidth[col] = static_cast<int>(end - start);
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    if (m_pObserver)
        m_pObserver->OnSheetReset();
}

int SheetGrid::ColumnWidthChars(int col) const
{
    return (col >= 0 && col < SHEET_COLS) ? m_ColWidth[col] : 0;
}

void SheetGrid::SetRedraw(bool bRedraw)
{
    if (m_bRedraw == bRedraw)
        return;
    m_bRedraw = bRedraw;
    if (m_pObserver)
        m_pObserver->OnRedrawChanged(bRedraw);
}

void SheetGrid::Refresh()
{
    if (m_pObserver)
        m_pObserver->OnSheetReset();
}
