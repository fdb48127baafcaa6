// The Excel 97-2003 workbook: one worksheet of texts in the BIFF8 format,
// inside a compound file, written byte by byte. No library writes this
// format any more, and the reader programs (Excel, WPS, LibreOffice) are
// strict about it, so every record here follows the published layout.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace xlsfile {

// A worksheet holds at most this many rows (the title row included) and
// columns; a cell shows at most MAX_CELL_CHARS characters.
const int MAX_ROWS = 65536;
const int MAX_COLS = 256;
const std::size_t MAX_CELL_CHARS = 32767;

struct SSheet {
    std::u16string m_strName;  // 1 to 31 characters
    // Rows of cell texts; row 0 is the title row, shown bold and centred.
    std::vector<std::vector<std::u16string>> m_Rows;
    // Width of each column in 1/256 of a character; missing ones keep the
    // default width.
    std::vector<int> m_ColWidths;
};

// The workbook stream (globals and the one worksheet). Texts longer than
// MAX_CELL_CHARS are cut there. The caller keeps to MAX_ROWS and MAX_COLS.
std::string WorkbookStream(const SSheet& sheet);

// The compound file that holds stream as its only stream, "Workbook".
std::string CompoundFile(const std::string& stream);

}  // namespace xlsfile
