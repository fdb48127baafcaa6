// Every stored input of the sheet-actions fuzz target replayed through the
// same decoder: each one is a sequence of user actions whose invariants must
// keep holding, so inputs that once broke the sheet stay regression cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/SheetActions.h"
#include "tests/TempFolder.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> CorpusFiles()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(QTX_SOURCE_DIR) / "fuzz/corpus/sheetactions"))
        if (entry.is_regular_file() && entry.path().filename() != "README.md")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

class SheetActionsReplay : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(m_Folder.empty()); }
    const CTempFolder m_Temp{"qtx-replay"};
    const std::string m_Folder = m_Temp.Path();
};

}  // namespace

TEST_F(SheetActionsReplay, EveryStoredInputKeepsTheSheetSound)
{
    const std::vector<fs::path> files = CorpusFiles();
    ASSERT_GE(files.size(), 8u);
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(sheetactions::RunActions(bytes.data(), bytes.size(), m_Folder), "") << file.filename().string();
    }
}

// The decoder itself: the same input gives the same sheet, so a stored input
// keeps reproducing what it once found.
TEST_F(SheetActionsReplay, ReplayIsDeterministic)
{
    for (const fs::path& file : CorpusFiles()) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string first, second;
        for (std::string* dump : {&first, &second}) {
            sheetactions::CByteReader reader(bytes.data(), bytes.size());
            sheetactions::SRun run(reader, m_Folder);
            run.m_Controller.Start();
            while (sheetactions::RunAction(run)) {
            }
            run.m_Controller.CalcGrid().WaitForRecalc();
            const SheetGrid& sheet = run.m_Controller.Sheet();
            for (int row = 0; row < sheet.Rows(); ++row)
                for (int col = 0; col < SHEET_COLS; ++col)
                    *dump += sheet.TextMatrix(row, col) + '\x1F';
        }
        EXPECT_EQ(first, second) << file.filename().string();
    }
}

// The checks themselves: a sheet broken in each of the ways they watch for
// is reported, so a passing replay means something.
TEST_F(SheetActionsReplay, ChecksReportBrokenSheets)
{
    struct SCase {
        const char* m_pszWhat;
        int m_nCol;
        const char* m_pszText;
    };
    const SCase cases[] = {
        {"upper-case name", COL_REF, "Ab"},
        {"name of seven characters", COL_REF, "abcdefg"},
        {"name starting with a digit", COL_REF, "1a"},
        {"name with a sign", COL_REF, "a+"},
        {"result not a number", COL_FORMULA, "1/0=nan"},
        {"infinite result", COL_FORMULA, "9^999=-INF"},
    };
    for (const SCase& c : cases) {
        sheetactions::CByteReader reader(nullptr, 0);
        sheetactions::SRun run(reader, m_Folder);
        run.m_Controller.Start();
        EXPECT_EQ(sheetactions::CheckInvariants(run), "");
        run.m_Controller.Sheet().SetTextMatrix(3, c.m_nCol, c.m_pszText);
        EXPECT_NE(sheetactions::CheckInvariants(run), "") << c.m_pszWhat;
    }

    // Names that pass: wrapped or empty; a double-byte character whose
    // bytes spell "inf" is no result.
    sheetactions::CByteReader reader(nullptr, 0);
    sheetactions::SRun run(reader, m_Folder);
    run.m_Controller.Start();
    SheetGrid& sheet = run.m_Controller.Sheet();
    sheet.SetTextMatrix(2, COL_REF, "abc\n12");
    sheet.SetTextMatrix(3, COL_FORMULA, "1=1.00\xB0"
                                        "inf");  // the lead byte pairs with the "i"
    EXPECT_EQ(sheetactions::CheckInvariants(run), "");
}
