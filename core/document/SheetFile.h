// The sheet file (".qtx"): a flat little-endian byte stream.
//
//   int32 tag -150 (-151 reads alike)   | int32 N > 0 (older five-column file)
//   int32 N                             |
//   5 strings: CompanyName, Project-    | 4 strings: ProjectCompanyName,
//     CompanyName, ProjectName,         |   ProjectName, AuditName, CountName
//     AuditName, CountName              |
//   N x 6 cell strings, row by row      | N x 5 cell strings (no COL_REF)
//   int32 current row, int32 current column
//
// A string is a length prefix and that many GBK bytes: one byte for 0..254;
// FF and a 16-bit length for 255..65533; FF FFFF and a 32-bit length for
// 65534 and more. FF FFFE would announce UTF-16 text and is refused.
//
// The reader checks the whole file before it changes anything: a file it
// cannot take leaves the sheet and the settings as they were and gives one
// message. It never allocates more than the file holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/sheet/SheetGrid.h"

class CProgress;
class CSettingsKey;

namespace sheetfile {

enum ELayout { LAYOUT_NONE = 0,
               LAYOUT_5 = 5,
               LAYOUT_150 = 150 };

// The most data rows a file may hold: what the sheet can show.
const int MAX_FILE_ROWS = SHEET_MAX_ROWS - 1;
// The rows a read sheet keeps below the rows of the file.
const int SPARE_ROWS = 9;
// Rows 1..25 are never trimmed.
const int TRIM_KEEP_ROWS = 25;

// The five document properties, in file order.
struct SProperties {
    std::string m_strCompany;     // CompanyName (none in a five-column file)
    std::string m_strClient;      // ProjectCompanyName
    std::string m_strProject;     // ProjectName
    std::string m_strAuditor;     // AuditName
    std::string m_strCalculator;  // CountName
};

// The five properties as a file held them, beside what the settings gave
// back once they were stored there. A setting that still gives back the same
// text is written as the file held it: bytes the settings cannot keep and
// texts longer than a setting takes survive an open and a save unchanged.
struct SKeptProperties {
    bool m_bKept[5] = {false, false, false, false, false};
    std::string m_strFile[5];
    std::string m_strStored[5];
};

// The backgrounds a read sheet gives its summary rows and the expression
// cells that hold an error marker, as 0x00BBGGRR.
struct SHighlight {
    std::uint32_t m_clrSummary = 0;
    std::uint32_t m_clrError = 0;
};

// The settings names of the five properties, in file order.
extern const char* const PROPERTY_KEYS[5];

void AppendInt(std::string& out, std::int32_t value);
// False when the text is too long for the format (4 GiB or more).
bool AppendString(std::string& out, std::string_view text);

// Walks a file's bytes. Every read checks the bytes that remain; after a
// failure Error() holds the message (GBK) and every later read fails.
class CParser {
public:
    CParser(const char* data, std::size_t size) : m_pData(data), m_nSize(size) {}

    // Tag, row count and properties.
    bool ReadHeader();
    ELayout Layout() const { return m_eLayout; }
    int RowCount() const { return m_nRows; }
    int Width() const { return m_eLayout == LAYOUT_150 ? SHEET_COLS : SHEET_COLS - 1; }
    const SProperties& Properties() const { return m_Props; }

    // The next row: Width() views into the file's bytes; cells[5] is left
    // empty for a five-column file.
    bool ReadRow(std::string_view cells[SHEET_COLS]);
    bool ReadCurrent(std::int32_t& row, std::int32_t& col);

    const char* Error() const { return m_szError; }

private:
    bool ReadInt(std::int32_t& value);
    bool ReadText(std::string_view& text);
    bool Fail(const char* message);

    const char* m_pData;
    std::size_t m_nSize;
    std::size_t m_nPos = 0;
    ELayout m_eLayout = LAYOUT_NONE;
    int m_nRows = 0;
    SProperties m_Props;
    const char* m_szError = nullptr;
};

// A whole file checked and taken apart, without touching a sheet.
struct SContents {
    ELayout m_eLayout = LAYOUT_NONE;
    int m_nRows = 0;
    SProperties m_Props;
    std::int32_t m_nCurrentRow = 0;
    std::int32_t m_nCurrentCol = 0;
};
// Checks the whole file; false with error (GBK) when the reader cannot take it.
bool Inspect(const char* data, std::size_t size, SContents& contents, std::string& error);

// Removes trailing empty rows so that six stay, when at least 32 empty rows
// below row 25 are found.
void TrimTrailingEmptyRows(SheetGrid& sheet);

// Writes the sheet (after trimming) in the version 150 layout into out.
// bContent is set when at least one stored cell is not empty. False only
// when a text is too long for the format.
bool WriteSheet(SheetGrid& sheet, const CSettingsKey& settings, CProgress* pProgress, std::string& out,
                bool& bContent, const SKeptProperties* pKept = nullptr);

// Reads a file's bytes into the sheet, which the caller has reset, and the
// document properties into the settings; the rows read get their colours and
// their heights. False with error (GBK) when the file cannot be taken;
// nothing has changed then. A property reaches the settings cut to what a
// setting holds (the cells are never cut); pKept, when given, receives the
// properties as read.
bool ReadSheet(SheetGrid& sheet, const SHighlight& colours, const CSettingsKey& settings, CProgress* pProgress,
               const char* data, std::size_t size, std::string& error, SKeptProperties* pKept = nullptr);

}  // namespace sheetfile
