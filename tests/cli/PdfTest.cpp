// qtx pdf end to end: the example sheet printed to a PDF file, checked with
// poppler's tools as a reader of the file would see it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

namespace {

// Runs a shell command line; returns its standard output and sets rc.
std::string Shell(const std::string& command, int& rc)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        rc = -1;
        return out;
    }
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
        out.append(buf.data(), n);
    const int status = pclose(pipe);
    rc = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

class PdfTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/qtx_pdf_test_XXXXXX";
        ASSERT_TRUE(mkdtemp(dir));
        m_strDir = dir;
        m_strEnv = "QUANTORIX_SETTINGS=" + m_strDir + "/settings.ini QT_QPA_PLATFORM=offscreen ";
    }
    void TearDown() override
    {
        int rc = 0;
        Shell("rm -rf '" + m_strDir + "'", rc);
    }
    std::string Qtx(const std::string& args, int& rc)
    {
        return Shell(m_strEnv + QTX_BINARY + " pdf " + args + " 2>/dev/null", rc);
    }

    std::string m_strDir;
    std::string m_strEnv;
};

}  // namespace

TEST_F(PdfTest, ExampleSheetReadsBackFromThePdf)
{
    const std::string out = m_strDir + "/out.pdf";
    int rc = -1;
    EXPECT_EQ(Qtx(std::string(QTX_SOURCE_DIR) + "/examples/sample.qtx " + out, rc), "pages=1\n");
    ASSERT_EQ(rc, 0);

    const std::string info = Shell("pdfinfo " + out, rc);
    EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    // One font, embedded, with a Unicode map.
    const std::string fonts = Shell("pdffonts " + out, rc);
    EXPECT_NE(fonts.find("WenQuanYiMicroHeiMono"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("Identity-H       yes"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find(" yes      "), std::string::npos) << fonts;

    const std::string text = Shell("pdftotext -layout " + out + " -", rc);
    for (const char* expected : {
             "×××××建筑安装工程有限公司", "计       量     底   稿", "建设单位名称：", "项目名称：", "第1页共1页",
             "(12.6+8.4)*2[外墙中心线长]=42.00m", "l1*3.3[层高]*0.24-1.5*1.8*6[扣c2窗]*0.24=29.38m3",
             "12.6*8.4*2[两层]=211.68m2", "[连续两个运算符错误]l1*(3.6+3.3)+*12=0.00m2", "计算人：     , 核对人：",
             "文件：sample.qtx"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n"
                                                          << text;
    // The wrapped expression continues on its next line, unit at its end.
    EXPECT_NE(text.find("32.66m3"), std::string::npos);
}

TEST_F(PdfTest, OptionsAndFailures)
{
    const std::string sample = std::string(QTX_SOURCE_DIR) + "/examples/sample.qtx ";
    int rc = -1;
    EXPECT_EQ(Qtx("--mode summary --page-size A3 --landscape " + sample + m_strDir + "/s.pdf", rc), "pages=1\n");
    EXPECT_EQ(rc, 0);
    const std::string info = Shell("pdfinfo " + m_strDir + "/s.pdf", rc);
    EXPECT_NE(info.find("1191 x 842 pts (A3)"), std::string::npos) << info;
    const std::string text = Shell("pdftotext -layout " + m_strDir + "/s.pdf -", rc);
    EXPECT_NE(text.find("C30混凝土=25.85;m3;"), std::string::npos) << text;
    EXPECT_EQ(text.find("条形基础"), std::string::npos);

    const std::string cat = Shell(m_strEnv + QTX_BINARY + " pdf --mode category=C25混凝土 " + sample + m_strDir + "/c.pdf 2>/dev/null && pdftotext -layout " + m_strDir + "/c.pdf -",
                                  rc);
    EXPECT_NE(cat.find("12.6*8.4*0.12[板厚]=12.70m3"), std::string::npos) << cat;
    EXPECT_EQ(cat.find("C30"), std::string::npos) << cat;

    // Nothing to print, an unreadable sheet, a folder that does not exist:
    // exit 1 and no file.
    Qtx("--mode category=none " + sample + m_strDir + "/none.pdf", rc);
    EXPECT_EQ(rc, 1);
    Qtx(m_strDir + "/missing.qtx " + m_strDir + "/m.pdf", rc);
    EXPECT_EQ(rc, 1);
    Qtx(sample + m_strDir + "/no/such/folder.pdf", rc);
    EXPECT_EQ(rc, 1);
    struct stat st;
    EXPECT_NE(stat((m_strDir + "/none.pdf").c_str(), &st), 0);
    EXPECT_NE(stat((m_strDir + "/m.pdf").c_str(), &st), 0);
    Qtx("--page-size B5 " + sample + m_strDir + "/b.pdf", rc);
    EXPECT_EQ(rc, 2);

    // The names the sheet file carries are printed in the footer; a sheet
    // whose file name is Chinese opens by the name the shell gives.
    Shell(m_strEnv + QTX_BINARY + " run - >/dev/null 2>&1 <<'EOF'\nsyssettings CountName=王工 AuditName=李工\nedit 1 3 1+1\nsaveas " + m_strDir + "/工程.qtx\nEOF",
          rc);
    EXPECT_EQ(Qtx(m_strDir + "/工程.qtx " + m_strDir + "/n.pdf", rc), "pages=1\n");
    const std::string named = Shell("pdftotext -layout " + m_strDir + "/n.pdf -", rc);
    EXPECT_NE(named.find("计算人：王工, 核对人：李工"), std::string::npos) << named;
    EXPECT_NE(named.find("文件：工程.qtx"), std::string::npos) << named;
}
