#include "core/document/SheetFile.h"

#include <algorithm>
#include <cstring>

#include "core/document/DocumentTexts.h"
#include "core/document/Progress.h"
#include "core/engine/CalcTexts.h"
#include "core/engine/GbkText.h"
#include "core/settings/SettingsStore.h"

namespace sheetfile {

namespace {

const std::int32_t TAG_150 = -150;
const std::int32_t TAG_151 = -151;

std::uint32_t Get16(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return b[0] | (static_cast<std::uint32_t>(b[1]) << 8);
}

std::uint32_t Get32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return b[0] | (static_cast<std::uint32_t>(b[1]) << 8) | (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

void Put16(std::string& out, std::uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::size_t PrefixSize(std::size_t len)
{
    return len < 0xFF ? 1 : len < 0xFFFE ? 3
                                         : 7;
}

// Writing into a buffer sized beforehand.
void PutInt(char*& p, std::uint32_t v)
{
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>((v >> 8) & 0xFF);
    p[2] = static_cast<char>((v >> 16) & 0xFF);
    p[3] = static_cast<char>(v >> 24);
    p += 4;
}

bool PutText(char*& p, const std::string& text)
{
    const std::size_t len = text.size();
    if (len < 0xFF) {
        *p++ = static_cast<char>(len);
    } else if (len < 0xFFFE) {
        *p++ = '\xFF';
        *p++ = static_cast<char>(len & 0xFF);
        *p++ = static_cast<char>(len >> 8);
    } else {
        if (len > 0xFFFFFFFFu)
            return false;
        *p++ = '\xFF';
        *p++ = '\xFF';
        *p++ = '\xFF';
        PutInt(p, static_cast<std::uint32_t>(len));
    }
    std::memcpy(p, text.data(), len);
    p += len;
    return true;
}

bool HasErrorMarker(const std::string& text)
{
    if (text.find('[') == std::string::npos)
        return false;
    for (const char* marker : calctext::CALC_MESSAGES) {
        if (gbk::FindChars(text, marker) != std::string::npos)
            return true;
    }
    return false;
}

bool RowIsEmpty(const SheetGrid& sheet, int row)
{
    for (int col = 0; col < SHEET_COLS; ++col) {
        if (!sheet.TextMatrix(row, col).empty())
            return false;
    }
    return true;
}

// The longest start of text that a setting holds, never ending inside a
// double-byte character.
std::string ClipForSettings(const std::string& text)
{
    if (text.size() <= settingsvalue::MAX_TEXT_BYTES)
        return text;
    std::size_t end = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t next = i + gbk::CharLength(text, i);
        if (next > settingsvalue::MAX_TEXT_BYTES)
            break;
        end = i = next;
    }
    return text.substr(0, end);
}

}  // namespace

const char* const PROPERTY_KEYS[5] = {doctext::KEY_COMPANY, doctext::KEY_CLIENT, doctext::KEY_PROJECT,
                                      doctext::KEY_AUDITOR, doctext::KEY_CALCULATOR};

void AppendInt(std::string& out, std::int32_t value)
{
    Put32(out, static_cast<std::uint32_t>(value));
}

bool AppendString(std::string& out, std::string_view text)
{
    const std::size_t len = text.size();
    if (len < 0xFF) {
        out += static_cast<char>(len);
    } else if (len < 0xFFFE) {
        out += '\xFF';
        Put16(out, static_cast<std::uint32_t>(len));
    } else {
        if (len > 0xFFFFFFFFu)
            return false;
        out += '\xFF';
        Put16(out, 0xFFFF);
        Put32(out, static_cast<std::uint32_t>(len));
    }
    out.append(text.data(), len);
    return true;
}

bool CParser::Fail(const char* message)
{
    if (!m_szError)
        m_szError = message;
    return false;
}

bool CParser::ReadInt(std::int32_t& value)
{
    if (m_szError)
        return false;
    if (m_nSize - m_nPos < 4)
        return Fail(doctext::TEXT_DAMAGED);
    value = static_cast<std::int32_t>(Get32(m_pData + m_nPos));
    m_nPos += 4;
    return true;
}

bool CParser::ReadText(std::string_view& text)
{
    if (m_szError)
        return false;
    std::size_t left = m_nSize - m_nPos;
    if (left < 1)
        return Fail(doctext::TEXT_DAMAGED);
    std::size_t len = static_cast<unsigned char>(m_pData[m_nPos]);
    std::size_t prefix = 1;
    if (len == 0xFF) {
        if (left < 3)
            return Fail(doctext::TEXT_DAMAGED);
        len = Get16(m_pData + m_nPos + 1);
        prefix = 3;
        if (len == 0xFFFE)
            return Fail(doctext::TEXT_UNICODE);
        if (len == 0xFFFF) {
            if (left < 7)
                return Fail(doctext::TEXT_DAMAGED);
            len = Get32(m_pData + m_nPos + 3);
            prefix = 7;
        }
    }
    if (len > left - prefix)
        return Fail(doctext::TEXT_DAMAGED);
    text = std::string_view(m_pData + m_nPos + prefix, len);
    m_nPos += prefix + len;
    return true;
}

bool CParser::ReadHeader()
{
    std::int32_t tag = 0;
    if (!ReadInt(tag))
        return false;
    std::int32_t rows = tag;
    std::string_view props[5];
    int first = 0;
    if (tag > 0) {
        m_eLayout = LAYOUT_5;
        first = 1;  // no company in this layout
    } else if (tag == TAG_150 || tag == TAG_151) {
        m_eLayout = LAYOUT_150;
        if (!ReadInt(rows))
            return false;
    } else {
        return Fail(doctext::TEXT_UNKNOWN_FORMAT);
    }
    if (rows < 0 || rows > MAX_FILE_ROWS)
        return Fail(doctext::TEXT_BAD_ROW_COUNT);
    m_nRows = rows;
    for (int i = first; i < 5; ++i) {
        if (!ReadText(props[i]))
            return false;
    }
    m_Props.m_strCompany.assign(props[0]);
    m_Props.m_strClient.assign(props[1]);
    m_Props.m_strProject.assign(props[2]);
    m_Props.m_strAuditor.assign(props[3]);
    m_Props.m_strCalculator.assign(props[4]);
    return true;
}

bool CParser::ReadRow(std::string_view cells[SHEET_COLS])
{
    const int width = Width();
    for (int col = 0; col < width; ++col) {
        if (!ReadText(cells[col]))
            return false;
    }
    for (int col = width; col < SHEET_COLS; ++col)
        cells[col] = std::string_view();
    return true;
}

bool CParser::ReadCurrent(std::int32_t& row, std::int32_t& col)
{
    return ReadInt(row) && ReadInt(col);
}

bool Inspect(const char* data, std::size_t size, SContents& contents, std::string& error)
{
    CParser parser(data, size);
    bool ok = parser.ReadHeader();
    std::string_view cells[SHEET_COLS];
    for (int row = 1; ok && row <= parser.RowCount(); ++row)
        ok = parser.ReadRow(cells);
    ok = ok && parser.ReadCurrent(contents.m_nCurrentRow, contents.m_nCurrentCol);
    if (!ok) {
        error = parser.Error();
        return false;
    }
    contents.m_eLayout = parser.Layout();
    contents.m_nRows = parser.RowCount();
    contents.m_Props = parser.Properties();
    return true;
}

void TrimTrailingEmptyRows(SheetGrid& sheet)
{
    int empty = 0;
    for (int row = sheet.Rows() - 1; row > TRIM_KEEP_ROWS && RowIsEmpty(sheet, row); --row)
        ++empty;
    if (empty - 6 > TRIM_KEEP_ROWS)
        sheet.SetRows(sheet.Rows() - (empty - 6));
}

bool WriteSheet(SheetGrid& sheet, const CSettingsKey& settings, CProgress* pProgress, std::string& out,
                bool& bContent, const SKeptProperties* pKept)
{
    TrimTrailingEmptyRows(sheet);
    const int rows = sheet.Rows() - 1;

    std::string props[5];
    for (int i = 0; i < 5; ++i) {
        props[i] = settings.ReadString(PROPERTY_KEYS[i]);
        if (pKept && pKept->m_bKept[i] && props[i] == pKept->m_strStored[i])
            props[i] = pKept->m_strFile[i];
    }

    // Size the buffer once: the file is written in one piece afterwards.
    std::size_t size = 16;
    for (const std::string& prop : props)
        size += PrefixSize(prop.size()) + prop.size();
    for (int row = 1; row <= rows; ++row) {
        for (int col = 0; col < SHEET_COLS; ++col) {
            const std::size_t len = sheet.TextMatrix(row, col).size();
            size += PrefixSize(len) + len;
        }
    }
    if (size > out.max_size())
        return false;
    out.assign(size, '\0');
    char* p = &out[0];

    PutInt(p, TAG_150);
    PutInt(p, rows);
    bool ok = true;
    for (const std::string& prop : props)
        ok = PutText(p, prop) && ok;

    if (pProgress) {
        pProgress->Open(doctext::TEXT_SAVING);
        pProgress->SetBounds(0, rows, 1);
        pProgress->SetMessage("");
    }
    long filled = 0;
    for (int row = 1; row <= rows; ++row) {
        if (pProgress) {
            pProgress->Advance();
            pProgress->PumpPendingMessages(true);
        }
        for (int col = 0; col < SHEET_COLS; ++col) {
            const std::string& text = sheet.TextMatrix(row, col);
            if (!text.empty())
                ++filled;
            ok = PutText(p, text) && ok;
        }
    }
    bContent = filled > 0;
    PutInt(p, sheet.Row());
    PutInt(p, sheet.Col());
    out.resize(static_cast<std::size_t>(p - out.data()));
    if (pProgress)
        pProgress->Close();
    return ok;
}

namespace {

// The file's rows into the sheet: headings and failed expressions coloured,
// each row as high as its texts. The sheet does not draw meanwhile.
void FillRows(SheetGrid& sheet, CParser& parser, int rows, const SHighlight& colours, CProgress* pProgress)
{
    CRedrawOff redrawOff(sheet);
    sheet.SetRows(std::min(rows + 1 + SPARE_ROWS, SHEET_MAX_ROWS));
    const std::uint32_t summary = colours.m_clrSummary & 0xFFFFFF;
    const std::uint32_t failed = colours.m_clrError & 0xFFFFFF;

    if (pProgress) {
        pProgress->Open(doctext::TEXT_OPENING);
        pProgress->SetBounds(0, rows, 1);
        pProgress->SetMessage("");
    }
    std::string_view cells[SHEET_COLS];
    std::string text;
    for (int row = 1; row <= rows; ++row) {
        if (pProgress) {
            pProgress->Advance();
            pProgress->PumpPendingMessages(true);
        }
        parser.ReadRow(cells);
        for (int col = 0; col < SHEET_COLS; ++col) {
            text.assign(cells[col]);
            sheet.SetTextMatrix(row, col, text);
        }
        if (!cells[COL_SEQ].empty()) {
            for (int col = 1; col < SHEET_COLS; ++col)
                sheet.SetBackColorAt(row, col, summary);
            sheet.SetAlignmentAt(row, COL_SEQ, ALIGN_CENTER_CENTER);
            sheet.SetAlignmentAt(row, COL_POSITION, ALIGN_LEFT_CENTER);
        }
        if (!cells[COL_FORMULA].empty() && HasErrorMarker(sheet.TextMatrix(row, COL_FORMULA)))
            sheet.SetBackColorAt(row, COL_FORMULA, failed);
    }
    if (pProgress)
        pProgress->Close();
    for (int row = 1; row <= rows; ++row)
        sheet.FitRowHeight(row);
}

// The file's properties go to the settings; a five-column file has no
// company, so that setting keeps its value. pKept, when given, learns what
// the file held and what the settings hold now.
void StoreProperties(const CParser& parser, const CSettingsKey& settings, SKeptProperties* pKept)
{
    const SProperties& props = parser.Properties();
    const std::string* texts[5] = {&props.m_strCompany, &props.m_strClient, &props.m_strProject, &props.m_strAuditor,
                                   &props.m_strCalculator};
    if (pKept)
        *pKept = SKeptProperties();
    for (int i = parser.Layout() == LAYOUT_150 ? 0 : 1; i < 5; ++i) {
        settings.WriteValue(PROPERTY_KEYS[i], ClipForSettings(*texts[i]));
        if (pKept) {
            pKept->m_bKept[i] = true;
            pKept->m_strFile[i] = *texts[i];
            pKept->m_strStored[i] = settings.ReadString(PROPERTY_KEYS[i]);
        }
    }
}

}  // namespace

bool ReadSheet(SheetGrid& sheet, const SHighlight& colours, const CSettingsKey& settings, CProgress* pProgress,
               const char* data, std::size_t size, std::string& error, SKeptProperties* pKept)
{
    // First the whole file is checked, so that a damaged one changes nothing.
    SContents contents;
    if (!Inspect(data, size, contents, error))
        return false;

    CParser parser(data, size);
    parser.ReadHeader();
    StoreProperties(parser, settings, pKept);

    const int rows = parser.RowCount();
    FillRows(sheet, parser, rows, colours, pProgress);
    sheet.Refresh();

    // The stored current cell is limited to the rows read; the header row
    // and the item-number column are never current.
    std::int32_t current = contents.m_nCurrentRow;
    current = std::min<std::int32_t>(current, rows);
    current = std::clamp<std::int32_t>(current, 1, std::max(sheet.Rows() - 1, 1));
    sheet.SetRow(current);
    sheet.SetCol(std::clamp<std::int32_t>(contents.m_nCurrentCol, 1, SHEET_COLS - 1));
    return true;
}

}  // namespace sheetfile
