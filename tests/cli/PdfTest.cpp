// qtx pdf end to end: the example sheet printed to a PDF file, checked with
// poppler's tools as a reader of the file would see it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "tests/RunProgram.h"
#include "tests/TempFolder.h"

namespace {

class PdfTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(m_strDir.empty()); }
    testrun::SRun Run(const std::string& command, const std::string& input = "")
    {
        return testrun::Shell(command, m_strDir, input);
    }
    testrun::SRun Qtx(const std::string& args, const std::string& input = "")
    {
        // Without a runtime folder Qt has something to say; qtx keeps it
        // off standard error. Nor does a display that is not there stop it.
        return Run("env -u XDG_RUNTIME_DIR -u QT_QPA_PLATFORM DISPLAY=:99 QUANTORIX_SETTINGS=" + m_strDir + "/settings.ini " + QTX_BINARY + " " + args,
                   input);
    }
    // The PDF's text as a reader would copy it, in its printed layout.
    std::string Text(const std::string& pdf) { return Run("pdftotext -layout " + m_strDir + "/" + pdf + " -").m_strOut; }

    const CTempFolder m_Folder{"qtx-pdf"};
    const std::string m_strDir = m_Folder.Path();
};

const std::string SAMPLE = std::string(QTX_SOURCE_DIR) + "/examples/sample.qtx ";

}  // namespace

TEST_F(PdfTest, ExampleSheetReadsBackFromThePdf)
{
    const testrun::SRun run = Qtx("pdf " + SAMPLE + m_strDir + "/out.pdf");
    ASSERT_EQ(run.m_nExit, 0) << run.m_strErr;
    EXPECT_EQ(run.m_strOut, "pages=1\n");
    EXPECT_EQ(run.m_strErr, "");

    const std::string info = Run("pdfinfo " + m_strDir + "/out.pdf").m_strOut;
    EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    // One font, embedded, with a Unicode map.
    const std::string fonts = Run("pdffonts " + m_strDir + "/out.pdf").m_strOut;
    EXPECT_NE(fonts.find("WenQuanYiMicroHeiMono"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("Identity-H       yes"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find(" yes      "), std::string::npos) << fonts;

    const std::string text = Text("out.pdf");
    for (const char* expected : {
             "×××××建筑安装工程有限公司", "计       量     底   稿", "建设单位名称：", "项目名称：", "第1页共1页",
             "(12.6+8.4)*2[外墙中心线长]=42.00m", "l1*3.3[层高]*0.24-1.5*1.8*6[扣c2窗]*0.24=29.38m3",
             "12.6*8.4*2[两层]=211.68m2", "[连续两个运算符错误]l1*(3.6+3.3)+*12=0.00m2", "计算人：     , 核对人：",
             "文件：sample.qtx",
             // The wrapped expression continues on its next line, unit at its end.
             "32.66m3"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n"
                                                          << text;
}

TEST_F(PdfTest, OptionsAndFailures)
{
    EXPECT_EQ(Qtx("pdf --mode summary --page-size A3 --landscape " + SAMPLE + m_strDir + "/s.pdf").m_strOut, "pages=1\n");
    const std::string info = Run("pdfinfo " + m_strDir + "/s.pdf").m_strOut;
    EXPECT_NE(info.find("1191 x 842 pts (A3)"), std::string::npos) << info;
    const std::string text = Text("s.pdf");
    EXPECT_NE(text.find("C30混凝土=25.85;m3;"), std::string::npos) << text;
    EXPECT_EQ(text.find("条形基础"), std::string::npos);

    EXPECT_EQ(Qtx("pdf --mode category=C25混凝土 " + SAMPLE + m_strDir + "/c.pdf").m_nExit, 0);
    const std::string cat = Text("c.pdf");
    EXPECT_NE(cat.find("12.6*8.4*0.12[板厚]=12.70m3"), std::string::npos) << cat;
    EXPECT_EQ(cat.find("C30"), std::string::npos) << cat;

    // Nothing to print, an unreadable sheet, a folder that does not exist
    // fail, each with its reason in one line; a page size qtx does not know
    // is wrong usage. None leaves a file.
    const struct {
        std::string m_strArgs;
        const char* m_szPdf;
        int m_nExit;
        const char* m_szReason;
    } FAILURES[] = {
        {"--mode category=none " + SAMPLE, "none.pdf", 1, "qtx pdf: 没有可打印的内容。\n"},
        {m_strDir + "/missing.qtx ", "m.pdf", 1, "/missing.qtx: 文件打开失败！\n"},
        {SAMPLE, "no/such/folder.pdf", 1, "/no/such/folder.pdf: No such file or directory\n"},
        {"--page-size B5 " + SAMPLE, "b.pdf", 2, "usage: "},
    };
    for (const auto& f : FAILURES) {
        const testrun::SRun run = Qtx("pdf " + f.m_strArgs + m_strDir + "/" + f.m_szPdf);
        EXPECT_EQ(run.m_nExit, f.m_nExit) << f.m_szPdf;
        EXPECT_NE(run.m_strErr.find(f.m_szReason), std::string::npos) << run.m_strErr;
        EXPECT_EQ(std::count(run.m_strErr.begin(), run.m_strErr.end(), '\n'), 1) << run.m_strErr;
        EXPECT_FALSE(std::filesystem::exists(m_strDir + "/" + f.m_szPdf)) << f.m_szPdf;
    }

    // The names the sheet file carries are printed in the footer; a sheet
    // whose file name is Chinese opens by the name the shell gives.
    Qtx("run -", "syssettings CountName=王工 AuditName=李工\nedit 1 3 1+1\nsaveas " + m_strDir + "/工程.qtx\n");
    EXPECT_EQ(Qtx("pdf " + m_strDir + "/工程.qtx " + m_strDir + "/n.pdf").m_strOut, "pages=1\n");
    const std::string named = Text("n.pdf");
    EXPECT_NE(named.find("计算人：王工, 核对人：李工"), std::string::npos) << named;
    EXPECT_NE(named.find("文件：工程.qtx"), std::string::npos) << named;
}
