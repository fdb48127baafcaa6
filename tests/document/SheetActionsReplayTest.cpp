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

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> CorpusFiles()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(QTX_SOURCE_DIR) / "fuzz/corpus/sheetactions"))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

class SheetActionsReplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "qtx-replay-XXXXXX").string();
        ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
        m_Folder = pattern;
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_Folder, ec);
    }
    std::string m_Folder;
};

} // namespace

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
