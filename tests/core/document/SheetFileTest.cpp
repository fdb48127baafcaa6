// The sheet file: exact bytes written, trimming, both layouts read, the
// rebuilt colours and alignments, and files the reader must refuse.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "PlainSheet.h"
#include "core/document/DocumentTexts.h"
#include "core/document/Progress.h"
#include "core/document/SheetFile.h"
#include "core/engine/CalcTexts.h"

namespace {

struct SSheet {
    CMemorySettingsStore m_Store;
    CSettingsKey m_Key{m_Store};
    CPlainSheet m_Sheet;
    SheetGrid& Grid() { return m_Sheet; }

    std::string Write(bool* pContent = nullptr, CProgress* pProgress = nullptr)
    {
        std::string out;
        bool bContent = false;
        EXPECT_TRUE(sheetfile::WriteSheet(m_Sheet, m_Key, pProgress, out, bContent));
        if (pContent)
            *pContent = bContent;
        return out;
    }
    bool Read(const std::string& bytes, std::string* pError = nullptr, CProgress* pProgress = nullptr)
    {
        std::string error;
        const bool ok = sheetfile::ReadSheet(m_Sheet, SettingsHighlight(m_Key), m_Key, pProgress, bytes.data(), bytes.size(), error);
        if (pError)
            *pError = error;
        return ok;
    }
};

// File pieces built by hand, independent of the writer.
std::string Int(std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    return {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF), static_cast<char>((u >> 16) & 0xFF),
            static_cast<char>(u >> 24)};
}
std::string Str(const std::string& text)  // texts below 255 bytes
{
    return std::string(1, static_cast<char>(text.size())) + text;
}
std::string File150(int rows, const std::vector<std::string>& cells, int curRow, int curCol, int tag = -150)
{
    std::string f = Int(tag) + Int(rows) + Str("co") + Str("cl") + Str("pr") + Str("au") + Str("ca");
    for (const std::string& c : cells)
        f += Str(c);
    return f + Int(curRow) + Int(curCol);
}

const std::string SUMMARY_SIZE = "\xBC\xC6\xCB\xE3\xBB\xE3\xD7\xDC";  // 计算汇总
const std::string WALL = "\xC7\xBD";                                  // 墙

}  // namespace

TEST(SheetFileWrite, FreshSheetIsExactly231Bytes)
{
    SSheet s;
    bool bContent = true;
    const std::string out = s.Write(&bContent);
    std::string expected = "\x6A\xFF\xFF\xFF" + Int(35) + std::string(5 + 210, '\0') + Int(1) + Int(1);
    ASSERT_EQ(expected.size(), 231u);
    EXPECT_EQ(out, expected);
    EXPECT_FALSE(bContent);
}

TEST(SheetFileWrite, LengthPrefixesAndRoundTrip)
{
    struct SCase {
        std::size_t m_nLen;
        std::string m_strPrefix;
    } cases[] = {
        {0, std::string(1, '\0')},
        {254, "\xFE"},
        {255, std::string("\xFF\xFF\x00", 3)},
        {65533, "\xFF\xFD\xFF"},
        {65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
        {70000, std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7)},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.m_nLen);
        SSheet s;
        const std::string text(c.m_nLen, 'x');
        s.Grid().SetTextMatrix(1, COL_SEQ, text);
        bool bContent = false;
        const std::string out = s.Write(&bContent);
        EXPECT_EQ(bContent, c.m_nLen > 0);
        EXPECT_EQ(out.substr(13, c.m_strPrefix.size()), c.m_strPrefix);  // after tag, count, 5 empty properties
        EXPECT_EQ(out.size(), 231u + c.m_strPrefix.size() - 1 + c.m_nLen);

        SSheet back;
        ASSERT_TRUE(back.Read(out));
        EXPECT_EQ(back.Grid().TextMatrix(1, COL_SEQ), text);
    }
}

TEST(SheetFileWrite, TrimsTrailingEmptyRowsOnlyPastThirtyOne)
{
    struct SCase {
        int m_nRows;
        int m_nLastFilled;  // 0: none
        int m_nFilledCol;
        int m_nExpectedCount;
    } cases[] = {
        {100, 9, COL_FORMULA, 31},  // 74 empty rows counted, 68 removed
        {60, 29, COL_FORMULA, 59},  // 30 counted: kept
        {100, 99, COL_REF, 99},     // a reference name alone is content
        {80, 0, 0, 31},             // rows 1..25 are never counted
        {36, 0, 0, 35},
        {20, 0, 0, 19},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.m_nRows);
        SSheet s;
        s.Grid().SetRows(c.m_nRows);
        if (c.m_nLastFilled)
            s.Grid().SetTextMatrix(c.m_nLastFilled, c.m_nFilledCol, "1+1=2.00");
        const std::string out = s.Write();
        EXPECT_EQ(out.substr(4, 4), Int(c.m_nExpectedCount));
        EXPECT_EQ(s.Grid().Rows(), c.m_nExpectedCount + 1);  // the screen is trimmed too
    }
}

TEST(SheetFileRead, RoundTripRebuildsColoursAlignmentsAndHeights)
{
    SSheet s;
    s.m_Key.WriteValue("CompanyName", "A");
    s.m_Key.WriteValue("ProjectCompanyName", "B");
    s.m_Key.WriteValue("ProjectName", WALL);
    s.m_Key.WriteValue("AuditName", "D");
    s.m_Key.WriteValue("CountName", "E");
    SheetGrid& g = s.Grid();
    g.SetTextMatrix(1, COL_SEQ, "1");
    g.SetTextMatrix(1, COL_SIZE, SUMMARY_SIZE);
    g.SetTextMatrix(2, COL_POSITION, WALL + "\n" + WALL + "\nx");
    g.SetTextMatrix(2, COL_FORMULA, std::string(calctext::CALC_MESSAGES[calctext::MSG_CIRCULAR]) + "a1*2=0.00");
    g.SetTextMatrix(2, COL_REF, "b1");
    g.SetTextMatrix(3, COL_FORMULA, "(12+45)[" + WALL + "]*2.8=159.60");
    g.SetRow(3);
    g.SetCol(4);
    bool bContent = false;
    const std::string out = s.Write(&bContent);
    EXPECT_TRUE(bContent);

    SSheet t;
    t.m_Key.WriteValue("m_TotalColor", "255");
    std::string error;
    ASSERT_TRUE(t.Read(out, &error)) << error;
    SheetGrid& h = t.Grid();
    EXPECT_EQ(h.Rows(), 45);  // 35 rows stored, nine spare
    for (int row = 1; row <= 3; ++row)
        for (int col = 0; col < SHEET_COLS; ++col)
            EXPECT_EQ(h.TextMatrix(row, col), g.TextMatrix(row, col)) << row << "," << col;
    EXPECT_EQ(t.m_Key.ReadString("ProjectName"), WALL);
    EXPECT_EQ(t.m_Key.ReadString("CountName"), "E");

    // The summary row: colour on columns 1..5, centred number, left name.
    EXPECT_EQ(h.BackColorAt(1, COL_SEQ), 0u);
    for (int col = 1; col < SHEET_COLS; ++col)
        EXPECT_EQ(h.BackColorAt(1, col), 255u);
    EXPECT_EQ(h.AlignmentAt(1, COL_SEQ), ALIGN_CENTER_CENTER);
    EXPECT_EQ(h.AlignmentAt(1, COL_POSITION), ALIGN_LEFT_CENTER);
    EXPECT_EQ(h.AlignmentAt(2, COL_POSITION), ALIGN_DEFAULT);
    // The marked expression only.
    EXPECT_EQ(h.BackColorAt(2, COL_FORMULA), 65535u);
    EXPECT_EQ(h.BackColorAt(3, COL_FORMULA), 0u);
    EXPECT_EQ(h.RowHeight(2), static_cast<int>(h.CellFontSize() * 3 * 23.75));
    EXPECT_EQ(h.Row(), 3);
    EXPECT_EQ(h.Col(), 4);
}

TEST(SheetFileRead, ErrorMarkerMustStartOnCharacterBoundary)
{
    // 0x81 0x5B is one double-byte character whose second byte looks like "[".
    const std::string marker = calctext::CALC_MESSAGES[calctext::MSG_TWO_OPERATORS];
    SSheet s;
    ASSERT_TRUE(s.Read(File150(2, {"", "", "", "\x81" + marker.substr(1), "", "", "", "", "", "5" + marker, "", ""},
                               1, 1)));
    EXPECT_EQ(s.Grid().BackColorAt(1, COL_FORMULA), 0u);
    EXPECT_EQ(s.Grid().BackColorAt(2, COL_FORMULA), 65535u);
}

TEST(SheetFileRead, FiveColumnFileKeepsCompanyName)
{
    SSheet s;
    s.m_Key.WriteValue("CompanyName", "keep");
    s.m_Key.WriteValue("ProjectCompanyName", "old");
    std::string f = Int(3) + Str("client") + Str("project") + Str("audit") + Str("count");
    for (int row = 1; row <= 3; ++row)
        f += Str(row == 2 ? "2" : "") + Str("p" + std::to_string(row)) + Str("") + Str("1+2=3.00") + Str("m");
    f += Int(2) + Int(3);
    ASSERT_TRUE(s.Read(f));
    SheetGrid& g = s.Grid();
    EXPECT_EQ(g.Rows(), 13);
    EXPECT_EQ(g.TextMatrix(3, COL_POSITION), "p3");
    EXPECT_EQ(g.TextMatrix(3, COL_UNIT), "m");
    for (int row = 1; row < g.Rows(); ++row)
        EXPECT_EQ(g.TextMatrix(row, COL_REF), "");
    EXPECT_EQ(g.BackColorAt(2, COL_REF), 16711935u);
    EXPECT_EQ(s.m_Key.ReadString("CompanyName"), "keep");
    EXPECT_EQ(s.m_Key.ReadString("ProjectCompanyName"), "client");
    EXPECT_EQ(s.m_Key.ReadString("CountName"), "count");
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.Col(), 3);
}

TEST(SheetFileRead, Tag151ReadsLike150AndIsWrittenAs150)
{
    SSheet s;
    ASSERT_TRUE(s.Read(File150(1, {"", "a", "b", "c", "d", "e"}, 1, 2, -151)));
    EXPECT_EQ(s.Grid().TextMatrix(1, COL_REF), "e");
    EXPECT_EQ(s.m_Key.ReadString("CompanyName"), "co");
    EXPECT_EQ(s.Write().substr(0, 4), Int(-150));
}

TEST(SheetFileRead, CurrentCellIsKeptInsideTheSheet)
{
    struct SCase {
        int m_nRows, m_nRow, m_nCol, m_nWantRow, m_nWantCol;
    } cases[] = {
        {40, 500, 3, 40, 3},
        {40, 7, 5, 7, 5},
        {40, 0, 0, 1, 1},
        {40, -5, 9, 1, 5},
        {0, 3, 2, 1, 2},
        {40, INT_MAX, INT_MIN, 40, 1},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.m_nRow);
        SSheet s;
        ASSERT_TRUE(s.Read(File150(c.m_nRows, std::vector<std::string>(c.m_nRows * 6), c.m_nRow, c.m_nCol)));
        EXPECT_EQ(s.Grid().Rows(), c.m_nRows + 10);
        EXPECT_EQ(s.Grid().Row(), c.m_nWantRow);
        EXPECT_EQ(s.Grid().Col(), c.m_nWantCol);
    }
}

TEST(SheetFileRead, SheetNeverGrowsPastItsLimit)
{
    for (int rows : {65489, 65490, 65499}) {
        SCOPED_TRACE(rows);
        SSheet s;
        ASSERT_TRUE(s.Read(File150(rows, std::vector<std::string>(rows * 6), 1, 1)));
        EXPECT_EQ(s.Grid().Rows(), std::min(rows + 10, SHEET_MAX_ROWS));
    }
}

TEST(SheetFileRead, RefusesWhatItCannotTakeAndChangesNothing)
{
    const std::string valid = File150(2, {"1", "a", "b", "c", "d", "e", "", "f", "", "g", "", ""}, 2, 3);
    struct SCase {
        const char* m_szName;
        std::string m_strBytes;
        const char* m_szError;
    } cases[] = {
        {"empty", "", doctext::TEXT_DAMAGED},
        {"tag only", Int(-150), doctext::TEXT_DAMAGED},
        {"tag 0", Int(0) + Int(0) + Int(1) + Int(1), doctext::TEXT_UNKNOWN_FORMAT},
        {"tag -149", Int(-149) + Int(0) + Int(1) + Int(1), doctext::TEXT_UNKNOWN_FORMAT},
        {"tag INT_MIN", Int(INT_MIN) + Int(1), doctext::TEXT_UNKNOWN_FORMAT},
        {"too many rows", Int(-150) + Int(65500) + std::string(5 + 65500 * 6, '\0') + Int(1) + Int(1),
         doctext::TEXT_BAD_ROW_COUNT},
        {"negative rows", Int(-150) + Int(-1) + std::string(5, '\0') + Int(1) + Int(1), doctext::TEXT_BAD_ROW_COUNT},
        {"five columns, too many rows", Int(65500) + std::string(4, '\0'), doctext::TEXT_BAD_ROW_COUNT},
        {"huge row count, tiny file", Int(-150) + Int(65499) + std::string(5, '\0'), doctext::TEXT_DAMAGED},
        {"16-bit length past the end", Int(-150) + Int(0) + std::string("\xFF\x10\x27", 3) + "abc",
         doctext::TEXT_DAMAGED},
        {"32-bit length past the end", Int(-150) + Int(0) + std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 7),
         doctext::TEXT_DAMAGED},
        {"UTF-16 announcement", Int(-150) + Int(0) + std::string("\xFF\xFE\xFF\x02", 4) + "a\0b\0",
         doctext::TEXT_UNICODE},
        {"no current column", valid.substr(0, valid.size() - 4), doctext::TEXT_DAMAGED},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.m_szName);
        SSheet s;
        s.m_Key.WriteValue("CompanyName", "keep");
        s.Grid().SetTextMatrix(4, COL_UNIT, "m2");
        std::string error;
        EXPECT_FALSE(s.Read(c.m_strBytes, &error));
        EXPECT_EQ(error, c.m_szError);
        EXPECT_EQ(s.Grid().Rows(), 36);
        EXPECT_EQ(s.Grid().TextMatrix(4, COL_UNIT), "m2");
        EXPECT_EQ(s.m_Key.ReadString("CompanyName"), "keep");
    }
    // Every cut of a valid file is refused as damaged.
    for (std::size_t cut = 0; cut < valid.size(); ++cut) {
        SSheet s;
        std::string error;
        EXPECT_FALSE(s.Read(valid.substr(0, cut), &error)) << cut;
        EXPECT_EQ(error, doctext::TEXT_DAMAGED) << cut;
    }
    SSheet s;
    EXPECT_TRUE(s.Read(valid + "trailing bytes are ignored"));
}

TEST(Progress, CaptionChangesOnlyWithTheWholePercentage)
{
    CRecordingProgress p;
    p.Open("T");
    p.SetBounds(0, 250, 1);
    p.Advance();
    p.Advance();
    EXPECT_EQ(p.Caption(), "T");
    EXPECT_TRUE(p.m_Captions.empty());
    p.Advance();
    EXPECT_EQ(p.Caption(), "T [1%]");
    for (int i = 3; i < 250; ++i)
        p.Advance();
    EXPECT_EQ(p.Caption(), "T [100%]");
    EXPECT_EQ(p.m_Captions.size(), 100u);

    // Empty bounds never divide by zero; a cancelled window ignores calls.
    p.Open("U");
    p.SetBounds(0, 0, 1);
    p.Advance();
    EXPECT_EQ(p.Caption(), "U");
    p.m_nCancelAtPump = p.m_nPumps + 1;
    p.PumpPendingMessages(true);
    EXPECT_TRUE(p.IsCancelled());
    EXPECT_FALSE(p.IsOpen());
    EXPECT_EQ(p.SetPosition(50), 1);
    EXPECT_EQ(p.Position(), 1);
}

TEST(Progress, SerializerStepsOncePerRowAndRunsToTheEnd)
{
    SSheet s;
    s.Grid().SetRows(251);
    s.Grid().SetTextMatrix(250, COL_FORMULA, "1");
    CRecordingProgress saving;
    const std::string out = s.Write(nullptr, &saving);
    ASSERT_EQ(saving.m_Opened.size(), 1u);
    EXPECT_EQ(saving.m_Opened[0], doctext::TEXT_SAVING);
    EXPECT_EQ(saving.m_nPumps, 250);
    EXPECT_EQ(saving.m_nCloses, 1);

    SSheet t;
    CRecordingProgress opening;
    opening.m_nCancelAtPump = 10;  // Esc does not stop a file operation
    ASSERT_TRUE(t.Read(out, nullptr, &opening));
    EXPECT_EQ(opening.m_Opened[0], doctext::TEXT_OPENING);
    EXPECT_EQ(t.Grid().TextMatrix(250, COL_FORMULA), "1");
}

// The fuzzing corpus: every input is either refused without a change or
// read, and what was read survives a write and a second read.
TEST(SheetFileRead, FuzzCorpusReadsOrIsRefusedCleanly)
{
    const std::filesystem::path folder = std::filesystem::path(QTX_SOURCE_DIR) / "fuzz" / "corpus" / "sheetfile";
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    int files = 0, read = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ++files;
        SSheet s;
        sheetfile::SContents contents;
        std::string error;
        const bool inspected = sheetfile::Inspect(bytes.data(), bytes.size(), contents, error);
        ASSERT_EQ(s.Read(bytes), inspected);
        if (!inspected) {
            EXPECT_EQ(s.Grid().Rows(), 36);
            continue;
        }
        ++read;
        SSheet t;
        ASSERT_TRUE(t.Read(s.Write()));
        for (int row = 1; row < s.Grid().Rows(); ++row)
            for (int col = 0; col < SHEET_COLS; ++col)
                ASSERT_EQ(s.Grid().TextMatrix(row, col), t.Grid().TextMatrix(row, col));
    }
    EXPECT_GT(files, 4);
    EXPECT_GT(read, 0);
}
