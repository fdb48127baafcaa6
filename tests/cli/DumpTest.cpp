// qtx dump on both layouts and on files it cannot take.
#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>

#include <filesystem>

#include "cli/QtxCommon.h"
#include "core/document/SheetFile.h"
#include "tests/core/document/PlainSheet.h"

namespace {

struct SCapture {
    std::ostringstream m_Out, m_Err;
    std::streambuf* m_pOut = std::cout.rdbuf(m_Out.rdbuf());
    std::streambuf* m_pErr = std::cerr.rdbuf(m_Err.rdbuf());
    ~SCapture()
    {
        std::cout.rdbuf(m_pOut);
        std::cerr.rdbuf(m_pErr);
    }
};

int Dump(const std::vector<std::string>& args, std::string& out, std::string& err)
{
    SCapture capture;
    const int rc = qtx::DumpMain(args);
    out = capture.m_Out.str();
    err = capture.m_Err.str();
    return rc;
}

std::string TempFile(const std::string& bytes)
{
    char pattern[] = "/tmp/qtx-dump-XXXXXX";
    const int fd = ::mkstemp(pattern);
    EXPECT_GE(fd, 0);
    ::close(fd);
    std::ofstream(pattern, std::ios::binary) << bytes;
    return pattern;
}

}  // namespace

TEST(QtxDump, PrintsTheVersion150Layout)
{
    CMemorySettingsStore store;
    CSettingsKey key(store);
    CPlainSheet sheet;
    key.WriteValue("CompanyName", "\xBD\xA8\xD6\xFE");  // 建筑
    key.WriteValue("CountName", "a\tb");
    sheet.SetTextMatrix(2, COL_SEQ, "1");
    sheet.SetTextMatrix(2, COL_FORMULA, "x\\y\nz");
    sheet.SetTextMatrix(4, COL_REF, "r1");
    sheet.SetRow(4);
    sheet.SetCol(5);
    std::string bytes;
    bool bContent = false;
    ASSERT_TRUE(sheetfile::WriteSheet(sheet, key, nullptr, bytes, bContent));
    const std::string path = TempFile(bytes);

    std::string out, err;
    EXPECT_EQ(Dump({"--", path}, out, err), 0);
    EXPECT_EQ(out, "layout=150 rows=35 current=4,5\n"
                   "CompanyName=\xE5\xBB\xBA\xE7\xAD\x91\n"
                   "ProjectCompanyName=\nProjectName=\nAuditName=\nCountName=a\\tb\n"
                   "2\t1\t\t\tx\\\\y\\nz\t\t\n"
                   "4\t\t\t\t\t\tr1\n");
    EXPECT_EQ(err, "");
    std::filesystem::remove(path);
}

TEST(QtxDump, PrintsTheFiveColumnLayoutAndRefusesBadFiles)
{
    // Octal escapes, so that a byte is never read together with the
    // character after it.
    const char raw[] = "\002\0\0\0"             // two rows
                       "\001c\0\0\0"            // client, project, auditor, calculator
                       "\0\001p\0\0\0"          // row 1
                       "\0011\0\0\0\0"          // row 2
                       "\007\0\0\0\001\0\0\0";  // current cell
    const std::string five(raw, sizeof raw - 1);
    const std::string path = TempFile(five);
    std::string out, err;
    EXPECT_EQ(Dump({path}, out, err), 0);
    EXPECT_EQ(out, "layout=5 rows=2 current=7,1\nCompanyName=\nProjectCompanyName=c\nProjectName=\n"
                   "AuditName=\nCountName=\n1\t\tp\t\t\t\t\n2\t1\t\t\t\t\t\n");

    std::ofstream(path, std::ios::binary) << five.substr(0, five.size() - 1);
    EXPECT_EQ(Dump({path}, out, err), 1);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find(path), std::string::npos);
    EXPECT_EQ(Dump({path + ".missing"}, out, err), 1);
    EXPECT_EQ(Dump({}, out, err), 2);
    EXPECT_EQ(Dump({path, path}, out, err), 2);
    std::filesystem::remove(path);
}
