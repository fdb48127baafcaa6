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

    // SST and its CONTINUE records, then EXTSST. offset is the position of
    // the SST record in the stream, which EXTSST points into.
    void Write(CBytes& out) const
    {
        const std::size_t count = m_Texts.size();
        // EXTSST keeps at most 128 buckets of at least 8 strings.
        std::size_t perBucket = std::max<std::size_t>(8, (count + 127) / 128);
        struct SBucket {
            std::uint32_t m_nStreamPos;
            std::uint16_t m_nRecordPos;
        };
        std::vector<SBucket> buckets;

        bool bFirst = true;
        std::size_t recordStart = out.Size();  // where the current record's header lies
        CBytes body;
        body.U32(m_nTotal);
        body.U32(static_cast<std::uint32_t>(count));
        auto flush = [&]() {
            out.Record(bFirst ? REC_SST : REC_CONTINUE, body.m_Data);
            bFirst = false;
            body.m_Data.clear();
            recordStart = out.Size();
        };
        for (std::size_t i = 0; i < count; ++i) {
            const std::u16string& text = m_Texts[i];
            const bool bWide = NeedsWide(text);
            const std::size_t unit = bWide ? 2 : 1;
            // A string's length and flags never part from its first character.
            const std::size_t head = 3 + (text.empty() ? 0 : unit);
            if (body.Size() + head > MAX_RECORD)
                flush();
            if (i % perBucket == 0)
                buckets.push_back({static_cast<std::uint32_t>(recordStart + 4 + body.Size()),
                                   static_cast<std::uint16_t>(4 + body.Size())});
            body.U16(static_cast<unsigned>(text.size()));
            body.U8(bWide ? 1 : 0);
            std::size_t done = 0;
            while (done < text.size()) {
                std::size_t room = (MAX_RECORD - body.Size()) / unit;
                if (room == 0) {
                    // The rest goes on in a CONTINUE record that starts with
                    // the flags of the characters it holds.
                    flush();
                    body.U8(bWide ? 1 : 0);
                    room = (MAX_RECORD - 1) / unit;
                }
                std::size_t n = std::min(room, text.size() - done);
                // Never split a surrogate pair across records.
                if (n < text.size() - done && n > 0 && text[done + n - 1] >= 0xD800 && text[done + n - 1] <= 0xDBFF)
                    --n;
                if (n == 0) {
                    flush();
                    body.U8(bWide ? 1 : 0);
                    continue;
                }
                body.Chars(text.substr(done, n), bWide);
                done += n;
            }
        }
        flush();

        CBytes ext;
        ext.U16(static_cast<unsigned>(perBucket));
        for (const SBucket& bucket : buckets) {
            ext.U32(bucket.m_nStreamPos);
            ext.U16(bucket.m_nRecordPos);
            ext.U16(0);
        }
        out.Record(REC_EXTSST, ext.m_Data);
    }

private:
    std::uint32_t m_nTotal = 0;
    std::vector<std::u16string> m_Texts;
    std::unordered_map<std::u16string, std::uint32_t> m_Index;
};

}  // namespace

std::string WorkbookStream(const SSheet& sheet)
{
    const int rowCount = static_cast<int>(sheet.m_Rows.size());
    std::size_t colCount = 0;
    for (const auto& row : sheet.m_Rows)
        colCount = std::max(colCount, row.size());

    // The worksheet first: its cells fill the string table.
    CStrings strings;
    CBytes ws;
    ws.Record(REC_BOF, Bof(0x0010));
    {
        CBytes b;
        b.U16(8);
        ws.Record(REC_DEFCOLWIDTH, b.m_Data);
    }
    for (std::size_t c = 0; c < sheet.m_ColWidths.size() && c < colCount; ++c) {
        CBytes b;
        b.U16(static_cast<unsigned>(c));
        b.U16(static_cast<unsigned>(c));
        b.U16(static_cast<unsigned>(std::clamp(sheet.m_ColWidths[c], 256, 255 * 256)));
        b.U16(XF_CELL);
        b.U16(0);
        b.U16(0);
        ws.Record(REC_COLINFO, b.m_Data);
    }
    {
        CBytes b;
        b.U32(0);
        b.U32(static_cast<std::uint32_t>(rowCount));
        b.U16(0);
        b.U16(static_cast<unsigned>(colCount));
        b.U16(0);
        ws.Record(REC_DIMENSIONS, b.m_Data);
    }
    for (int first = 0; first < rowCount; first += ROW_BLOCK) {
        const int last = std::min(rowCount, first + ROW_BLOCK);
        for (int r = first; r < last; ++r) {
            CBytes b;
            b.U16(static_cast<unsigned>(r));
            b.U16(0);
            b.U16(static_cast<unsigned>(sheet.m_Rows[r].size()));
            b.U16(ROW_HEIGHT);
            b.U16(0);
            b.U16(0);
            b.U32(0x0100u | (static_cast<std::uint32_t>(XF_CELL) << 16));
            ws.Record(REC_ROW, b.m_Data);
        }
        for (int r = first; r < last; ++r) {
            const auto& row = sheet.m_Rows[r];
            for (std::size_t c = 0; c < row.size(); ++c) {
                CBytes b;
                b.U16(static_cast<unsigned>(r));
                b.U16(static_cast<unsigned>(c));
                b.U16(r == 0 ? XF_TITLE : XF_CELL);
                b.U32(strings.Add(Clipped(row[c])));
                ws.Record(REC_LABELSST, b.m_Data);
            }
        }
    }
    {
        CBytes b;
        b.U16(0x06B6);  // grid, headers, zeros, outline symbols; selected, shown
        b.U16(0);       // top row
        b.U16(0);       // left column
        b.U32(64);      // grid line colour: automatic
        b.U16(0);       // zoom of the page break preview: default
        b.U16(0);       // zoom of the normal view: default
        b.U32(0);
        ws.Record(REC_WINDOW2, b.m_Data);
    }
    ws.Record(REC_EOF, std::string());

    CBytes gl;
    gl.Record(REC_BOF, Bof(0x0005));
    {
        CBytes b;
        b.U16(1200);  // texts are UTF-16
        gl.Record(REC_CODEPAGE, b.m_Data);
    }
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
        gl.Record(REC_WINDOW1, b.m_Data);
    }
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
    {
        CBytes b;
        b.U16(0x8000);  // built-in style "Normal" on XF 0
        b.U8(0);
        b.U8(0xFF);
        gl.Record(REC_STYLE, b.m_Data);
    }
    const std::size_t boundSheet = gl.Size();
    {
        const bool bWide = NeedsWide(sheet.m_strName);
        CBytes b;
        b.U32(0);  // the worksheet's position, set below
        b.U8(0);   // visible
        b.U8(0);   // worksheet
        b.U8(static_cast<unsigned>(sheet.m_strName.size()));
        b.U8(bWide ? 1 : 0);
        b.Chars(sheet.m_strName, bWide);
        gl.Record(REC_BOUNDSHEET, b.m_Data);
    }
    strings.Write(gl);
    gl.Record(REC_EOF, std::string());

    const std::uint32_t sheetPos = static_cast<std::uint32_t>(gl.Size());
    for (int k = 0; k < 4; ++k)
        gl.m_Data[boundSheet + 4 + k] = static_cast<char>((sheetPos >> (8 * k)) & 0xFF);
    gl.m_Data += ws.m_Data;
    return std::move(gl.m_Data);
}

std::string CompoundFile(const std::string& stream)
{
    const std::uint32_t SECTOR = 512;
    const std::uint32_t PER_SECTOR = SECTOR / 4;
    const std::uint32_t END_OF_CHAIN = 0xFFFFFFFE;
    const std::uint32_t FREE = 0xFFFFFFFF;
    const std::uint32_t FAT_SECTOR = 0xFFFFFFFD;
    const std::uint32_t DIFAT_SECTOR = 0xFFFFFFFC;
    const std::uint32_t HEADER_DIFAT = 109;

    // A stream under 4096 bytes would belong in the mini stream; padding it
    // keeps the file to plain sectors.
    std::string data = stream;
    if (data.size() < 4096)
        data.resize(4096, '\0');
    const std::uint32_t streamSize = static_cast<std::uint32_t>(data.size());
    data.resize((data.size() + SECTOR - 1) / SECTOR * SECTOR, '\0');
    const std::uint32_t dataSectors = static_cast<std::uint32_t>(data.size() / SECTOR);

    // Sectors: the stream, one directory sector, the allocation table, and
    // DIFAT sectors for the table sectors the header cannot list.
    std::uint32_t fatSectors = 1;
    std::uint32_t difatSectors = 0;
    for (;;) {
        const std::uint32_t total = dataSectors + 1 + fatSectors + difatSectors;
        const std::uint32_t needFat = (total + PER_SECTOR - 1) / PER_SECTOR;
        const std::uint32_t needDifat = needFat > HEADER_DIFAT ? (needFat - HEADER_DIFAT + PER_SECTOR - 2) / (PER_SECTOR - 1) : 0;
        if (needFat == fatSectors && needDifat == difatSectors)
            break;
        fatSectors = std::max(fatSectors, needFat);
        difatSectors = std::max(difatSectors, needDifat);
    }
    const std::uint32_t dirSector = dataSectors;
    const std::uint32_t firstFat = dirSector + 1;
    const std::uint32_t firstDifat = firstFat + fatSectors;

    CBytes out;
    out.m_Data.reserve(SECTOR * (1 + dataSectors + 1 + fatSectors + difatSectors));
    // Header.
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
    out.U32(fatSectors);
    out.U32(dirSector);
    out.U32(0);             // transactions
    out.U32(4096);          // mini stream cutoff
    out.U32(END_OF_CHAIN);  // no mini allocation table
    out.U32(0);
    out.U32(difatSectors ? firstDifat : END_OF_CHAIN);
    out.U32(difatSectors);
    for (std::uint32_t i = 0; i < HEADER_DIFAT; ++i)
        out.U32(i < fatSectors ? firstFat + i : FREE);

    out.m_Data += data;

    // Directory: the root storage and the stream.
    auto entry = [&](const std::u16string& name, std::uint8_t type, std::uint32_t child, std::uint32_t start,
                     std::uint32_t size) {
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
    };
    entry(u"Root Entry", 5, 1, END_OF_CHAIN, 0);
    entry(u"Workbook", 2, FREE, 0, streamSize);
    entry(std::u16string(), 0, FREE, 0, 0);
    entry(std::u16string(), 0, FREE, 0, 0);

    // Allocation table.
    const std::uint32_t totalEntries = fatSectors * PER_SECTOR;
    for (std::uint32_t s = 0; s < totalEntries; ++s) {
        std::uint32_t v = FREE;
        if (s < dataSectors)
            v = s + 1 == dataSectors ? END_OF_CHAIN : s + 1;
        else if (s == dirSector)
            v = END_OF_CHAIN;
        else if (s >= firstFat && s < firstDifat)
            v = FAT_SECTOR;
        else if (s >= firstDifat && s < firstDifat + difatSectors)
            v = DIFAT_SECTOR;
        out.U32(v);
    }
    // DIFAT sectors: the table sectors after the first 109, 127 a sector,
    // each sector ending with the next one's number.
    std::uint32_t listed = HEADER_DIFAT;
    for (std::uint32_t d = 0; d < difatSectors; ++d) {
        for (std::uint32_t i = 0; i < PER_SECTOR - 1; ++i, ++listed)
            out.U32(listed < fatSectors ? firstFat + listed : FREE);
        out.U32(d + 1 < difatSectors ? firstDifat + d + 1 : END_OF_CHAIN);
    }
    return std::move(out.m_Data);
}

}  // namespace xlsfile
