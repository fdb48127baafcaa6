// Reading a sheet file for comparing, and the comparison's workbook written
// whole or not at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/compare/CompareFiles.h"
#include "tests/core/document/PlainSheet.h"

namespace {

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(CompareFiles, ReadsASheetFileWithoutTheSettings)
{
    CMemorySettingsStore store;
    CSettingsKey key(store);
    CPlainSheet sheet;
    key.WriteValue("ProjectName", "p");
    sheet.SetTextMatrix(1, COL_SEQ, "1");
    sheet.SetTextMatrix(2, COL_FORMULA, "1+2=3.00");
    std::string bytes;
    bool bContent = false;
    ASSERT_TRUE(sheetfile::WriteSheet(sheet, key, nullptr, bytes, bContent));
    const std::string dir = ::testing::TempDir() + "qtx-compare-files";
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/a.qtx";
    std::ofstream(path, std::ios::binary) << bytes;

    SheetGrid grid;
    sheetfile::SProperties props;
    std::string error;
    ASSERT_TRUE(sheetcompare::LoadSheetFile(path, grid, props, error));
    EXPECT_EQ(props.m_strProject, "p");
    EXPECT_EQ(grid.TextMatrix(1, COL_SEQ), "1");
    EXPECT_EQ(grid.TextMatrix(2, COL_FORMULA), "1+2=3.00");

    // A damaged file is refused and the grid stays as it was.
    std::ofstream(path, std::ios::binary) << bytes.substr(0, bytes.size() - 3);
    grid.SetTextMatrix(2, COL_FORMULA, "kept");
    EXPECT_FALSE(sheetcompare::LoadSheetFile(path, grid, props, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(grid.TextMatrix(2, COL_FORMULA), "kept");
    EXPECT_FALSE(sheetcompare::LoadSheetFile(dir + "/missing.qtx", grid, props, error));
    std::filesystem::remove_all(dir);
}

TEST(CompareFiles, WorkbookIsWrittenWholeOrNotAtAll)
{
    sheetcompare::SComparison comparison;
    comparison.m_Items.push_back({"wall", "C20", "m3", {"1.00", "2.00", "+1.00", 1, 2, 1, 1}, 0, 2});
    comparison.m_Rows.push_back({sheetcompare::ROW_ADDED, "wall", 0, 3, "L1", "C20", "", "1=1.00"});
    const std::string dir = ::testing::TempDir() + "qtx-compare-book";
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/out.xlsx";
    std::string reason;
    ASSERT_TRUE(sheetcompare::WriteWorkbook(comparison, path, reason)) << reason;
    EXPECT_EQ(ReadBytes(path).substr(0, 2), "PK");

    // A folder that does not exist: nothing is written, no stray files.
    EXPECT_FALSE(sheetcompare::WriteWorkbook(comparison, dir + "/no/out.xlsx", reason));
    EXPECT_FALSE(reason.empty());
    // A target that cannot be replaced (a folder) keeps its place and the
    // temporary file is removed.
    std::filesystem::create_directories(dir + "/busy.xlsx/x");
    EXPECT_FALSE(sheetcompare::WriteWorkbook(comparison, dir + "/busy.xlsx", reason));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1);
    std::filesystem::remove_all(dir);
}
