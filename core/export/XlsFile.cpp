#include "core/export/XlsFile.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace xlsfile {

namespace {

// Record types.
enum : std::uint16_t {
    REC_BOF = 0x0809,
    REC_EOF = 0x000A,
    REC_CODEPAGE = 0x0042,
    REC_WINDOW1 = 0x003D,
    REC_FONT = 0x0031,
    REC_XF = 0x00E0,
    REC_STYLE = 0x0293,
    REC_BOUNDSHEET = 0x0085,
    REC_SST = 0x00FC,
    REC_CONTINUE = 0x003C,
    REC_EXTSST = 0x00FF,
    REC_DEFCOLWIDTH = 0x0055,
    REC_COLINFO = 0x007D,
    REC_DIMENSIONS = 0x0200,
    REC_ROW = 0x0208,
    REC_LABELSST = 0x00FD,
    REC_WINDOW2 = 0x023E,
};

// The longest record body; longer data goes on in CONTINUE records.
const std::size_t MAX_RECORD = 8224;
// The cell formats: 0..14 are the built-in style formats, 15 the default
// cell format, 16 the title cells.
const std::uint16_t XF_CELL = 15;
const std::uint16_t XF_TITLE = 16;
// Row height in twips: one line of the 11-point font.
const std::uint16_t ROW_HEIGHT = 270;
// Rows are stored in blocks: their ROW records, then their cells.
const int ROW_BLOCK = 32;

class CBytes {
public:
    std::string m_Data;

    void U8(unsigned v) { m_Data.push_back(static_cast<char>(v & 0xFF)); }
    void U16(unsigned v)
    {
        U8(v);
        U8(v >> 8);
    }
    void U32(std::uint32_t v)
    {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void Chars(const std::u16string& text, bool bWide)
    {
        for (char16_t c : text) {
            if (bWide)
                U16(c);
            else
                U8(c);
        }
    }
    void Record(std::uint16_t type, const std::string& body)
    {
        U16(type);
        U16(static_cast<unsigned>(body.size()));
        m_Data += body;
    }
    std::size_t Size() const { return m_Data.size(); }
};

bool NeedsWide(const std::u16string& text)
{
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c > 0xFF; });
}

std::u16string Clipped(const std::u16string& text)
{
    if (text.size() <= MAX_CELL_CHARS)
        return text;
    std::size_t n = MAX_CELL_CHARS;
    // A surrogate pair stays whole.
    if (text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF)
        --n;
    return text.substr(0, n);
}

std::string Bof(std::uint16_t kind)
{
    CBytes b;
    b.U16(0x0600);  // BIFF8
    b.U16(kind);    // 0x0005 workbook globals, 0x0010 worksheet
    b.U16(0x0DBB);  // build
    b.U16(0x07CC);  // year
    b.U32(0);       // file history
    b.U32(0x0006);  // lowest version that can read the file
    return b.m_Data;
}

std::string Font(bool bBold)
{
    static const std::u16string NAME = u"\u5B8B\u4F53";  // 宋体
    CBytes b;
    b.U16(220);                // 11 points
    b.U16(0);                  // not italic, not struck out
    b.U16(0x7FFF);             // automatic colour
    b.U16(bBold ? 700 : 400);  // weight
    b.U16(0);                  // no super- or subscript
    b.U8(0);                   // no underline
    b.U8(0);                   // family
    b.U8(0x86);                // GB2312 character set
    b.U8(0);                   // reserved
    b.U8(static_cast<unsigned>(NAME.size()));
    b.U8(1);  // UTF-16
    b.Chars(NAME, true);
    return b.m_Data;
}

// One XF record. A style XF leaves every attribute group to the cell
// formats; a cell XF says which groups it sets itself.
std::string Xf(std::uint16_t font, bool bStyle, std::uint8_t align, std::uint8_t used)
{
    CBytes b;
    b.U16(font);
    b.U16(0);                         // number format "General"
    b.U16(bStyle ? 0xFFF5 : 0x0001);  // locked; style XFs have no parent
    b.U8(align);                      // horizontal and vertical alignment
    b.U8(0);                          // no rotation
    b.U8(0);                          // no indent
    b.U8(used);                       // attribute groups
    b.U32(0);                         // no borders
    b.U32(0);
    b.U16(0x20C0);  // pattern colours: automatic
    return b.m_Data;
}

// The SST record being filled, continued in CONTINUE records where the
// strings outgrow MAX_RECORD.
class CSstRecords {
public:
    explicit CSstRecords(CBytes& out) : m_Out(out), m_nRecordStart(out.Size()) {}

    CBytes m_Body;

    // Where the next byte of the body will lie in the stream and in its record.
    std::size_t StreamPos() const { return m_nRecordStart + 4 + m_Body.Size(); }
    std::size_t RecordPos() const { return 4 + m_Body.Size(); }

    void Flush()
    {
        m_Out.Record(m_bFirst ? REC_SST : REC_CONTINUE, m_Body.m_Data);
        m_bFirst = false;
        m_Body.m_Data.clear();
        m_nRecordStart = m_Out.Size();
    }

    // One string: its length and flags, then its characters, as many as each
    // record holds.
    void AddString(const std::u16string& text)
    {
        const bool bWide = NeedsWide(text);
        const std::size_t unit = bWide ? 2 : 1;
        m_Body.U16(static_cast<unsigned>(text.size()));
        m_Body.U8(bWide ? 1 : 0);
        std::size_t done = 0;
        while (done < text.size()) {
            std::size_t room = (MAX_RECORD - m_Body.Size()) / unit;
            if (room == 0) {
                ContinueString(bWide);
                room = (MAX_RECORD - 1) / unit;
            }
            std::size_t n = std::min(room, text.size() - done);
            // Never split a surrogate pair across records.
            if (n < text.size() - done && n > 0 && text[done + n - 1] >= 0xD800 && text[done + n - 1] <= 0xDBFF)
                --n;
            if (n == 0) {
                ContinueString(bWide);
                continue;
            }
            m_Body.Chars(text.substr(done, n), bWide);
            done += n;
        }
    }

private:
    // The rest of a string goes on in a CONTINUE record that starts with the
    // flags of the characters it holds.
    void ContinueString(bool bWide)
    {
        Flush();
        m_Body.U8(bWide ? 1 : 0);
    }

    CBytes& m_Out;
    std::size_t m_nRecordStart;  // where the current record's header lies
    bool m_bFirst = true;
};

// The shared string table: each text once, in order of first use.
class CStrings {
public:
    std::uint32_t Add(const std::u16string& text)
    {
        ++m_nTotal;
        auto found = m_Index.find(text);
        if (found != m_Index.end())
            return found->second;
        const std::uint32_t index = static_cast<std::uint32_t>(m_Texts.size());
        m_Index.emplace(text, index);
        m_Texts.push_back(text);
        return index;
    }

    // SST and its CONTINUE records, then EXTSST, which points into them by
    // position in the stream.
    void Write(CBytes& out) const
    {
        const std::size_t count = m_Texts.size();
        // EXTSST keeps at most 128 buckets of at least 8 strings.
        std::size_t perBucket = std::max<std::size_t>(8, (count + 127) / 128);
        CBytes ext;
        ext.U16(static_cast<unsigned>(perBucket));

        CSstRecords sst(out);
        sst.m_Body.U32(m_nTotal);
        sst.m_Body.U32(static_cast<std::uint32_t>(count));
        for (std::size_t i = 0; i < count; ++i) {
            const std::u16string& text = m_Texts[i];
            // A string's length and flags never part from its first character.
            const std::size_t head = 3 + (text.empty() ? 0 : NeedsWide(text) ? 2
                                                                             : 1);
            if (sst.m_Body.Size() + head > MAX_RECORD)
                sst.Flush();
            if (i % perBucket == 0) {
                ext.U32(static_cast<std::uint32_t>(sst.StreamPos()));
                ext.U16(static_cast<unsigned>(sst.RecordPos()));
                ext.U16(0);
            }
            sst.AddString(text);
        }
        sst.Flush();
        out.Record(REC_EXTSST, ext.m_Data);
    }

private:
    std::uint32_t m_nTotal = 0;
    std::vector<std::u16string> m_Texts;
    std::unordered_map<std::u16string, std::uint32_t> m_Index;
};

// --- the worksheet --------------------------------------------------------

std::string ColInfo(std::size_t col, int width)
{
    CBytes b;
    b.U16(static_cast<unsigned>(col));  // first and last column of the range
    b.U16(static_cast<unsigned>(col));
    b.U16(static_cast<unsigned>(std::clamp(width, 256, 255 * 256)));
    b.U16(XF_CELL);
    b.U16(0);
    b.U16(0);
    return b.m_Data;
}

std::string Dimensions(int rowCount, std::size_t colCount)
{
    CBytes b;
    b.U32(0);
    b.U32(static_cast<std::uint32_t>(rowCount));
    b.U16(0);
    b.U16(static_cast<unsigned>(colCount));
    b.U16(0);
    return b.m_Data;
}

std::string RowInfo(int row, std::size_t cells)
{
    CBytes b;
    b.U16(static_cast<unsigned>(row));
    b.U16(0);
    b.U16(static_cast<unsigned>(cells));
    b.U16(ROW_HEIGHT);
    b.U16(0);
    b.U16(0);
    b.U32(0x0100u | (static_cast<std::uint32_t>(XF_CELL) << 16));
    return b.m_Data;
}

std::string LabelSst(int row, std::size_t col, std::uint32_t string)
{
    CBytes b;
    b.U16(static_cast<unsigned>(row));
    b.U16(static_cast<unsigned>(col));
    b.U16(row == 0 ? XF_TITLE : XF_CELL);
    b.U32(string);
    return b.m_Data;
}

std::string Window2()
{
    CBytes b;
    b.U16(0x06B6);  // grid, headers, zeros, outline symbols; selected, shown
    b.U16(0);       // top row
    b.U16(0);       // left column
    b.U32(64);      // grid line colour: automatic
    b.U16(0);       // zoom of the page break preview: default
    b.U16(0);       // zoom of the normal view: default
    b.U32(0);
    return b.m_Data;
}

// The worksheet substream. Its cells fill the string table, which the
// globals written after it must hold.
std::string Worksheet(const SSheet& sheet, CStrings& strings)
{
    const int rowCount = static_cast<int>(sheet.m_Rows.size());
    std::size_t colCount = 0;
    for (const auto& row : sheet.m_Rows)
        colCount = std::max(colCount, row.size());

    CBytes ws;
    ws.Record(REC_BOF, Bof(0x0010));
    {
        CBytes b;
        b.U16(8);
        ws.Record(REC_DEFCOLWIDTH, b.m_Data);
    }
    for (std::size_t c = 0; c < sheet.m_ColWidths.size() && c < colCount; ++c)
        ws.Record(REC_COLINFO, ColInfo(c, sheet.m_ColWidths[c]));
    ws.Record(REC_DIMENSIONS, Dimensions(rowCount, colCount));
    for (int first = 0; first < rowCount; first += ROW_BLOCK) {
        const int last = std::min(rowCount, first + ROW_BLOCK);
        for (int r = first; r < last; ++r)
            ws.Record(REC_ROW, RowInfo(r, sheet.m_Rows[r].size()));
        for (int r = first; r < last; ++r) {
            const auto& row = sheet.m_Rows[r];
            for (std::size_t c = 0; c < row.size(); ++c)
                ws.Record(REC_LABELSST, LabelSst(r, c, strings.Add(Clipped(row[c]))));
        }
    }
    ws.Record(REC_WINDOW2, Window2());
    ws.Record(REC_EOF, std::string());
    return std::move(ws.m_Data);
}

// --- the workbook globals -----------------------------------------------------

std::string Window1()
{
    CBytes b;
    b.U16(0);
    b.U16(0);
    b.U16(0x4000);
    b.U16(0x2000);
    b.U16(0x0038);  // horizontal and vertical scroll bars, sheet tabs
    b.U16(0);       // the first sheet is shown
    b.U16(0);
    b.U16(1);    // one sheet selected
    b.U16(600);  // tab bar width ratio
    return b.m_Data;
}

// The fonts, the 15 style formats, the two cell formats and the one style.
void WriteFormats(CBytes& gl)
{
    // Index 4 does not exist in BIFF: the fifth font record is font 5.
    for (int i = 0; i < 4; ++i)
        gl.Record(REC_FONT, Font(false));
    gl.Record(REC_FONT, Font(true));
    for (int i = 0; i < 15; ++i) {
        const std::uint16_t font = (i == 1 || i == 2) ? 1 : (i == 3 || i == 4) ? 2
                                                                               : 0;
        gl.Record(REC_XF, Xf(font, true, 0x20, i == 0 ? 0x00 : 0xF4));
    }
    gl.Record(REC_XF, Xf(0, false, 0x20, 0x00));
    gl.Record(REC_XF, Xf(5, false, 0x22, 0x18));  // bold, centred
    CBytes b;
    b.U16(0x8000);  // built-in style "Normal" on XF 0
    b.U8(0);
    b.U8(0xFF);
    gl.Record(REC_STYLE, b.m_Data);
}

// The sheet's entry; the worksheet's position is filled in once the
// globals are complete.
std::string BoundSheet(const std::u16string& name)
{
    const bool bWide = NeedsWide(name);
    CBytes b;
    b.U32(0);
    b.U8(0);  // visible
    b.U8(0);  // worksheet
    b.U8(static_cast<unsigned>(name.size()));
    b.U8(bWide ? 1 : 0);
    b.Chars(name, bWide);
    return b.m_Data;
}

}  // namespace

std::string WorkbookStream(const SSheet& sheet)
{
    CStrings strings;
    const std::string worksheet = Worksheet(sheet, strings);

    CBytes gl;
    gl.Record(REC_BOF, Bof(0x0005));
    {
        CBytes b;
        b.U16(1200);  // texts are UTF-16
        gl.Record(REC_CODEPAGE, b.m_Data);
    }
    gl.Record(REC_WINDOW1, Window1());
    WriteFormats(gl);
    const std::size_t boundSheet = gl.Size();
    gl.Record(REC_BOUNDSHEET, BoundSheet(sheet.m_strName));
    strings.Write(gl);
    gl.Record(REC_EOF, std::string());

    const std::uint32_t sheetPos = static_cast<std::uint32_t>(gl.Size());
    for (int k = 0; k < 4; ++k)
        gl.m_Data[boundSheet + 4 + k] = static_cast<char>((sheetPos >> (8 * k)) & 0xFF);
    gl.m_Data += worksheet;
    return std::move(gl.m_Data);
}

// --- the compound file ----------------------------------------------------------

namespace {

const std::uint32_t SECTOR = 512;
const std::uint32_t PER_SECTOR = SECTOR / 4;
const std::uint32_t END_OF_CHAIN = 0xFFFFFFFE;
const std::uint32_t FREE = 0xFFFFFFFF;
const std::uint32_t FAT_SECTOR = 0xFFFFFFFD;
const std::uint32_t DIFAT_SECTOR = 0xFFFFFFFC;
// The header lists this many allocation table sectors itself.
const std::uint32_t HEADER_DIFAT = 109;

// Where everything lies, in sectors: the stream, one directory sector, the
// allocation table, and DIFAT sectors for the table sectors the header
// cannot list.
struct SLayout {
    std::uint32_t m_nDataSectors = 0;
    std::uint32_t m_nFatSectors = 1;
    std::uint32_t m_nDifatSectors = 0;

    std::uint32_t DirSector() const { return m_nDataSectors; }
    std::uint32_t FirstFat() const { return DirSector() + 1; }
    std::uint32_t FirstDifat() const { return FirstFat() + m_nFatSectors; }
    std::uint32_t Total() const { return m_nDataSectors + 1 + m_nFatSectors + m_nDifatSectors; }
};

// The table must also cover its own sectors and the DIFAT sectors, so both
// counts grow until they stop changing.
SLayout Layout(std::uint32_t dataSectors)
{
    SLayout layout;
    layout.m_nDataSectors = dataSectors;
    for (;;) {
        const std::uint32_t needFat = (layout.Total() + PER_SECTOR - 1) / PER_SECTOR;
        const std::uint32_t needDifat = needFat > HEADER_DIFAT ? (needFat - HEADER_DIFAT + PER_SECTOR - 2) / (PER_SECTOR - 1) : 0;
        if (needFat == layout.m_nFatSectors && needDifat == layout.m_nDifatSectors)
            return layout;
        layout.m_nFatSectors = std::max(layout.m_nFatSectors, needFat);
        layout.m_nDifatSectors = std::max(layout.m_nDifatSectors, needDifat);
    }
}

void WriteHeader(CBytes& out, const SLayout& layout)
{
    static const unsigned char SIGNATURE[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    for (unsigned char c : SIGNATURE)
        out.U8(c);
    for (int i = 0; i < 16; ++i)
        out.U8(0);    // class id
    out.U16(0x003E);  // minor version
    out.U16(0x0003);  // major version 3: 512-byte sectors
    out.U16(0xFFFE);  // little-endian
    out.U16(9);       // sector size 2^9
    out.U16(6);       // mini sector size 2^6
    for (int i = 0; i < 6; ++i)
        out.U8(0);
    out.U32(0);  // directory sectors (always 0 in version 3)
    out.U32(layout.m_nFatSectors);
    out.U32(layout.DirSector());
    out.U32(0);             // transactions
    out.U32(4096);          // mini stream cutoff
    out.U32(END_OF_CHAIN);  // no mini allocation table
    out.U32(0);
    out.U32(layout.m_nDifatSectors ? layout.FirstDifat() : END_OF_CHAIN);
    out.U32(layout.m_nDifatSectors);
    for (std::uint32_t i = 0; i < HEADER_DIFAT; ++i)
        out.U32(i < layout.m_nFatSectors ? layout.FirstFat() + i : FREE);
}

void WriteDirEntry(CBytes& out, const std::u16string& name, std::uint8_t type, std::uint32_t child,
                   std::uint32_t start, std::uint32_t size)
{
    const std::size_t begin = out.Size();
    out.Chars(name, true);
    while (out.Size() < begin + 64)
        out.U8(0);
    out.U16(name.empty() ? 0 : static_cast<unsigned>((name.size() + 1) * 2));
    out.U8(type);
    out.U8(name.empty() ? 0 : 1);  // black
    out.U32(FREE);                 // left sibling
    out.U32(FREE);                 // right sibling
    out.U32(child);
    for (int i = 0; i < 16 + 4 + 8 + 8; ++i)
        out.U8(0);  // class id, state, times
    out.U32(start);
    out.U32(size);
    out.U32(0);
}

// The allocation table: the stream as one chain, then the directory, the
// table's own sectors and the DIFAT sectors marked as such.
void WriteFat(CBytes& out, const SLayout& layout)
{
    const std::uint32_t totalEntries = layout.m_nFatSectors * PER_SECTOR;
    const std::uint32_t firstFat = layout.FirstFat();
    const std::uint32_t firstDifat = layout.FirstDifat();
    for (std::uint32_t s = 0; s < totalEntries; ++s) {
        std::uint32_t v = FREE;
        if (s < layout.m_nDataSectors)
            v = s + 1 == layout.m_nDataSectors ? END_OF_CHAIN : s + 1;
        else if (s == layout.DirSector())
            v = END_OF_CHAIN;
        else if (s >= firstFat && s < firstDifat)
            v = FAT_SECTOR;
        else if (s >= firstDifat && s < firstDifat + layout.m_nDifatSectors)
            v = DIFAT_SECTOR;
        out.U32(v);
    }
}

// The table sectors after the first 109, 127 a sector, each sector ending
// with the next one's number.
void WriteDifat(CBytes& out, const SLayout& layout)
{
    std::uint32_t listed = HEADER_DIFAT;
    for (std::uint32_t d = 0; d < layout.m_nDifatSectors; ++d) {
        for (std::uint32_t i = 0; i < PER_SECTOR - 1; ++i, ++listed)
            out.U32(listed < layout.m_nFatSectors ? layout.FirstFat() + listed : FREE);
        out.U32(d + 1 < layout.m_nDifatSectors ? layout.FirstDifat() + d + 1 : END_OF_CHAIN);
    }
}

}  // namespace

std::string CompoundFile(const std::string& stream)
{
    // A stream under 4096 bytes would belong in the mini stream; padding it
    // keeps the file to plain sectors.
    std::string data = stream;
    if (data.size() < 4096)
        data.resize(4096, '\0');
    const std::uint32_t streamSize = static_cast<std::uint32_t>(data.size());
    data.resize((data.size() + SECTOR - 1) / SECTOR * SECTOR, '\0');
    const SLayout layout = Layout(static_cast<std::uint32_t>(data.size() / SECTOR));

    CBytes out;
    out.m_Data.reserve(SECTOR * (1 + layout.Total()));
    WriteHeader(out, layout);
    out.m_Data += data;
    // The directory: the root storage, the stream and two unused entries.
    WriteDirEntry(out, u"Root Entry", 5, 1, END_OF_CHAIN, 0);
    WriteDirEntry(out, u"Workbook", 2, FREE, 0, streamSize);
    WriteDirEntry(out, std::u16string(), 0, FREE, 0, 0);
    WriteDirEntry(out, std::u16string(), 0, FREE, 0, 0);
    WriteFat(out, layout);
    WriteDifat(out, layout);
    return std::move(out.m_Data);
}

}  // namespace xlsfile
