// The Excel export end to end: sheets built through the session, exported
// by its commands, and read back by independent readers (xlrd for .xls,
// openpyxl for .xlsx; the .xlsx reader also recalculates every formula and
// compares it with its cached value).
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/edit/ClipboardOps.h"
#include "core/export/ExcelExport.h"
#include "core/export/ExportText.h"
#include "core/export/LiveSheet.h"
#include "core/export/SpreadSheet.h"
#include "core/session/SheetSession.h"
#include "core/settings/SettingsStore.h"
#include "core/text/TextCodec.h"
#include "tests/RunProgram.h"
#include "tests/TempFolder.h"
#include "tests/TestPrompt.h"

namespace fs = std::filesystem;

namespace {

using testrun::Quote;
using testrun::ReadAll;
using testrun::Shell;
using testrun::SRun;

// One of the reader scripts beside this file on a workbook.
SRun Reader(const char* script, const std::string& file)
{
    const std::string folder = fs::path(file).parent_path().string();
    return Shell(Quote(QTX_PYTHON) + " " + Quote(std::string(QTX_TEST_SCRIPTS) + "/" + script) + " " + Quote(file),
                 folder);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string G(const std::string& utf8) { return textcodec::Utf8ToGbk(CUtf8Text(utf8)); }

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_strDir.empty());
        m_pSession = std::make_unique<CSheetSession>(m_State, m_Store, m_Prompt, m_Clipboard);
        m_pSession->Start();
    }

    SheetGrid& Sheet() { return m_pSession->Sheet(); }
    void Edit(int row, int col, const std::string& utf8)
    {
        m_pSession->Click(row, col);
        m_pSession->TypeText(G(utf8));
        m_pSession->CommitEditor();
    }
    // The export command with name chosen in its dialog (the type follows
    // the name's extension).
    int Export(bool bSummary, const std::string& name)
    {
        m_Prompt.m_Files.push_back(m_strDir + "/" + name);
        return m_pSession->ExportExcel(bSummary);
    }
    std::string Path(const std::string& name) const { return m_strDir + "/" + name; }

    const CTempFolder m_Folder{"qtx-export"};
    const std::string m_strDir = m_Folder.Path();
    CMemorySettingsStore m_Store;
    CCalcState m_State;
    CTestPrompt m_Prompt;
    CMemoryClipboard m_Clipboard;
    std::unique_ptr<CSheetSession> m_pSession;
};

const std::string TITLES = "序号\t计算部位\t规格类别\t计算表达式\t单位";

TEST_F(ExportTest, SummaryExportSplitsEachItemIntoItsCategories)
{
    // The item's texts as a sheet file may hold them: every total ended by
    // ";", on two lines.
    Sheet().SetTextMatrix(1, COL_SEQ, "1");
    Sheet().SetTextMatrix(1, COL_POSITION, G("砖墙"));
    Sheet().SetTextMatrix(1, COL_FORMULA, G("砖=12.00;\n砂浆=3.50;"));
    Sheet().SetTextMatrix(1, COL_UNIT, "m3;m3");
    ASSERT_EQ(Export(true, "sum"), 5);
    const SRun run = Reader("xls_rows.py", Path("sum.xls"));
    ASSERT_EQ(run.m_nExit, 0) << run.m_strErr;
    EXPECT_EQ(Lines(run.m_strOut), (std::vector<std::string>{"sheet Quantorix 5", TITLES, "1\t砖墙\t砖\t12.00\tm3", "\t\t砂浆\t3.50\tm3", "", ""}));

    // Without summary rows: the titles and one empty row.
    Sheet().SetTextMatrix(1, COL_SEQ, "");
    ASSERT_EQ(Export(true, "none.xls"), 2);
    EXPECT_EQ(Lines(Reader("xls_rows.py", Path("none.xls")).m_strOut),
              (std::vector<std::string>{"sheet Quantorix 2", TITLES, ""}));
}

TEST_F(ExportTest, ExportOfAllRowsWritesEveryRowAsTheSheetShowsIt)
{
    // A fresh sheet: 35 empty rows.
    ASSERT_EQ(Export(false, "fresh.xls"), 36);
    std::vector<std::string> expected{"sheet Quantorix 36", TITLES};
    expected.resize(37);
    EXPECT_EQ(Lines(Reader("xls_rows.py", Path("fresh.xls")).m_strOut), expected);

    // Chinese texts, line breaks removed, the name column left out, a
    // value holding the old row separator kept whole.
    Edit(1, 1, "一层 A-1轴");
    Edit(1, 2, "C30 混凝土");
    Edit(1, 3, "(12+45)[墙长度]*2.8[中括号外填写计算式]+(10)*(3.6+0.2)");
    Edit(1, 4, "立方米");
    Edit(1, 5, "qa");
    Sheet().SetTextMatrix(2, COL_POSITION, G("第一行\n第二行"));
    Sheet().SetTextMatrix(3, COL_POSITION, "\"a\",;.?\"b\"");
    ASSERT_EQ(Export(false, "all.xls"), 36);
    const SRun run = Reader("xls_rows.py", Path("all.xls"));
    ASSERT_EQ(run.m_nExit, 0) << run.m_strErr;
    const std::vector<std::string> lines = Lines(run.m_strOut);
    ASSERT_EQ(lines.size(), 37u);
    EXPECT_EQ(lines[2], "\t一层A-1轴\tC30混凝土\t(12+45)[墙长度]*2.8[中括号外填写计算式]+(10)*(3.6+0.2)=197.60\t立方米");
    EXPECT_EQ(lines[3], "\t第一行第二行");
    EXPECT_EQ(lines[4], "\t\"a\",;.?\"b\"");
}

TEST_F(ExportTest, TheNameDecidesTheFileAndNothingIsHalfWritten)
{
    const std::string old = "old workbook";
    std::ofstream(Path("a;b.xls")) << old;
    EXPECT_EQ(Export(false, "a;b"), -1);
    EXPECT_EQ(ReadAll(Path("a;b.xls")), old);

    // The .xls type turns any extension into ".xls"; the .xlsx type keeps
    // (or gives) ".xlsx".
    excelexport::SInput input;
    input.m_pGrid = &Sheet();
    CExcelExport exporter(m_Prompt);
    EXPECT_EQ(exporter.ExportTo(false, input, Path("report.xlsx"), exporttext::TYPE_XLS), 36);
    EXPECT_TRUE(fs::exists(Path("report.xls")));
    EXPECT_FALSE(fs::exists(Path("report.xlsx")));
    EXPECT_EQ(exporter.ExportTo(true, input, Path("report.xls"), exporttext::TYPE_XLSX), 2);
    EXPECT_TRUE(fs::exists(Path("report.xlsx")));
    EXPECT_EQ(excelexport::WorkbookPath("d/x.y/name", exporttext::TYPE_XLS), "d/x.y/name.xls");
    EXPECT_EQ(excelexport::WorkbookPath("d/a.b.xlsx", exporttext::TYPE_XLS), "d/a.b.xls");

    // A failed write is reported and leaves what was there: a folder that
    // does not exist, a name held by a folder.
    const std::size_t messages = m_Prompt.m_Messages.size();
    for (const char* name : {"missing/out.xls", "taken.xls", "taken.xlsx"}) {
        fs::create_directory(Path("taken.xls"));
        fs::create_directory(Path("taken.xlsx"));
        EXPECT_EQ(Export(false, name), -1) << name;
        ASSERT_GT(m_Prompt.m_Messages.size(), messages) << name;
        EXPECT_EQ(m_Prompt.m_Messages.back().rfind(exporttext::TEXT_EXPORT_FAILED, 0), 0u) << name;
        EXPECT_TRUE(fs::is_directory(Path("taken.xls")));
    }
    for (const auto& entry : fs::directory_iterator(m_strDir))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(ExportTest, XlsxQuantitiesAreFormulasThatGiveTheSheetsValues)
{
    Edit(1, 1, "砖墙");
    m_pSession->RunCommand(cmdid::TOGGLE_SUMMARY);
    const struct {
        const char* m_szSize;
        const char* m_szExpr;
        const char* m_szName;
    } ROWS[] = {
        {"砖", "(12+45)[墙长度]*2.8+(10)*(3.6+0.2)", "a"},  // 2
        {"砂浆", "a*2+sin(30)", "b"},                       // 3
        {"砖", "2^3^2-b/4", ""},                            // 4
        {"", "-2^2+cos(60)-tan(30)+ctg(45)", ""},           // 5
        {"砖", "log(10)+sqrt(2)*[注]3", ""},                // 6
        {"砂浆", "5/0", ""},                                // 7: division by zero
        {"砂浆", "5++3", ""},                               // 8: syntax error
        {"\"引号\"", "0.125*3", ""},                        // 9
    };
    int row = 2;
    for (const auto& r : ROWS) {
        Edit(row, 2, r.m_szSize);
        Edit(row, 3, r.m_szExpr);
        Edit(row, 4, "m3");
        if (*r.m_szName)
            Edit(row, 5, r.m_szName);
        ++row;
    }
    Edit(10, 1, "二层");
    m_pSession->RunCommand(cmdid::TOGGLE_SUMMARY);
    Edit(11, 2, "砖");
    Edit(11, 3, "a+b");
    Edit(12, 2, "砖");
    Edit(12, 3, "0-a-b");  // the item's total is exactly 0: it shows none

    ASSERT_EQ(Export(false, "live.xlsx"), 36);
    const SRun run = Reader("xlsx_check.py", Path("live.xlsx"));
    ASSERT_EQ(run.m_nExit, 0) << run.m_strErr << run.m_strOut;
    const std::vector<std::string> lines = Lines(run.m_strOut);
    EXPECT_EQ(lines.back(), "formulas 9");  // 8 rows and 1 total, not the two faulty rows
    EXPECT_EQ(lines[1], TITLES + "\t工程量");

    m_pSession->CalcGrid().RebuildRefTable();
    const livesheet::SBook book = livesheet::AllRowsBook(Sheet(), m_State.RefTable());
    auto formula = [&](int r, int c) { return textcodec::GbkToUtf8(book.m_Rows[r][c].m_strFormula).Bytes(); };
    EXPECT_EQ(formula(2, 5), "=ROUND((12+45)*2.8+10*(3.6+0.2),2)");
    EXPECT_EQ(formula(3, 5), "=ROUND(F3*2+ROUND(SIN(RADIANS(30)),6),2)");
    EXPECT_EQ(formula(4, 5), "=ROUND(2^3^2-F4/4,2)");
    EXPECT_EQ(formula(5, 5), "=ROUND(0-2^2+ROUND(COS(RADIANS(60)),6)-ROUND(TAN(RADIANS(30)),6)+ROUND(1/TAN(RADIANS(45)),6),2)");
    EXPECT_EQ(formula(6, 5), "=ROUND(ROUND(LN(10),6)+ROUND(SQRT(2),6)*3,2)");
    EXPECT_EQ(formula(1, 3).rfind("=\"砖=\"&FIXED(SUMPRODUCT(--EXACT(C3:C10,\"砖\"),F3:F10),2,TRUE)", 0), 0u);
    for (int r : {7, 8}) {
        EXPECT_EQ(book.m_Rows[r][5].m_eKind, livesheet::SCell::NUMBER) << r;
        EXPECT_EQ(book.m_Rows[r][3].m_eKind, livesheet::SCell::TEXT) << r;
    }
    EXPECT_EQ(book.m_Rows[8][5].m_dValue, 0.0);
}

TEST(ExcelRound, RoundsHalfAwayFromZeroOnFifteenDigits)
{
    const struct {
        double m_dIn;
        int m_nDecimals;
        double m_dOut;
    } CASES[] = {{2.675, 2, 2.68}, {-2.675, 2, -2.68}, {0.125, 2, 0.13}, {1.005, 2, 1.01}, {123456.785, 2, 123456.79}, {0.0004, 3, 0.0}, {0.0005, 3, 0.001}, {1e20, 2, 1e20}};
    for (const auto& c : CASES)
        EXPECT_EQ(livesheet::ExcelRound(c.m_dIn, c.m_nDecimals), c.m_dOut) << c.m_dIn;
}

TEST(SpreadSheet, KeepsTheWritersChecksAndTexts)
{
    CSpreadSheet sheet("/nonexistent/x.XLS", "Quantorix", true);
    EXPECT_TRUE(sheet.IsWorkbook());
    sheet.DeferWrite();
    EXPECT_FALSE(sheet.AppendRow({"a"}));
    EXPECT_EQ(sheet.LastError(), "No header row. Add header row first\n");
    ASSERT_TRUE(sheet.SetHeader({"h1", "h2"}));
    EXPECT_FALSE(sheet.AppendRow({"a", "b", "c"}));
    EXPECT_EQ(sheet.LastError(), "Number of columns to be added cannot be greater than the number of fields\n");
    EXPECT_FALSE(sheet.AppendRow({"x", "x"}, 1));
    EXPECT_EQ(sheet.LastError(), "Duplicate header row field:x\n");
    EXPECT_FALSE(sheet.AppendRow({"x"}, 1));
    EXPECT_EQ(sheet.LastError(),
              "Number of columns in new header row cannot be less than the number of columns in previous header row");
    ASSERT_TRUE(sheet.AppendRow({"a"}));
    ASSERT_TRUE(sheet.AppendRow({"z", "y"}, 4));  // beyond the end: a row of spaces first
    std::vector<std::string> values;
    ASSERT_TRUE(sheet.RowValues(3, values));
    EXPECT_EQ(values, (std::vector<std::string>{" ", " "}));
    ASSERT_TRUE(sheet.RowValues(0, values));
    EXPECT_EQ(values, (std::vector<std::string>{"z", "y"}));
    EXPECT_FALSE(sheet.RowValues(5, values));
    EXPECT_EQ(sheet.LastError(), "Desired row is greater than total number of rows in spreadsheet\n");
    EXPECT_FALSE(sheet.WriteAll());  // the folder does not exist
    EXPECT_FALSE(CSpreadSheet("x.xlsx", "s", false).IsWorkbook());
}

TEST_F(ExportTest, AFullSheetFitsTheOlderFormat)
{
    Sheet().SetRows(SHEET_MAX_ROWS);
    for (int r = 1; r < SHEET_MAX_ROWS; ++r) {
        Sheet().SetTextMatrix(r, COL_POSITION, G("墙体 A-") + std::to_string(r));
        Sheet().SetTextMatrix(r, COL_FORMULA, "12*" + std::to_string(r % 1000) + "=" + std::to_string(12 * (r % 1000)) + ".00");
        if (r % 50 == 1)
            Sheet().SetTextMatrix(r, COL_SEQ, std::to_string(r / 50 + 1));
    }
    ASSERT_EQ(Export(false, "full.xls"), SHEET_MAX_ROWS);
    // The allocation table needs more than the header's 109 sectors.
    const std::string bytes = ReadAll(Path("full.xls"));
    ASSERT_GT(bytes.size(), 0x50u);
    EXPECT_GT(static_cast<unsigned char>(bytes[0x48]), 0);
    const SRun run = Reader("xls_rows.py", Path("full.xls"));
    ASSERT_EQ(run.m_nExit, 0) << run.m_strErr;
    const std::vector<std::string> lines = Lines(run.m_strOut);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(SHEET_MAX_ROWS + 1));
    EXPECT_EQ(lines[0], "sheet Quantorix 65500");
    EXPECT_EQ(lines.back(), "\t墙体 A-65499\t\t12*499=5988.00");
    EXPECT_EQ(lines[1 + 65451], "1310\t墙体 A-65451\t\t12*451=5412.00");
}

TEST(QtxXls, ExportsASheetFileFromTheCommandLine)
{
    const CTempFolder folder("qtx-xls");
    const std::string& dir = folder.Path();
    ASSERT_FALSE(dir.empty());
    const std::string qtx = "QUANTORIX_SETTINGS=" + Quote(dir + "/s.ini") + " XDG_CACHE_HOME=" + Quote(dir) + " " + Quote(QTX_BINARY);
    const std::string script = "edit 1 1 砖\nsummary\nedit 2 2 C20\nedit 2 3 1+2\nsaveas " + dir + "/s.qtx\n";
    ASSERT_EQ(Shell(qtx + " run -", dir, script).m_nExit, 0);

    SRun run = Shell(qtx + " xls " + Quote(dir + "/s.qtx") + " " + Quote(dir + "/out.txt"), dir);
    EXPECT_EQ(run.m_nExit, 0) << run.m_strErr;
    EXPECT_EQ(run.m_strOut, "rows=45\n");  // the sheet as opened, grown by ten rows
    EXPECT_TRUE(fs::exists(dir + "/out.xls"));
    run = Shell(qtx + " xls --summary " + Quote(dir + "/s.qtx") + " " + Quote(dir + "/sum.xlsx"), dir);
    EXPECT_EQ(run.m_strOut, "rows=4\n");
    EXPECT_EQ(Reader("xlsx_check.py", dir + "/sum.xlsx").m_strOut,
              "sheet Quantorix 2\n" + TITLES + "\n1\t砖\tC20\t3\nformulas 0\n");

    for (const auto& [args, exit] : {std::pair<std::string, int>{Quote(dir + "/none.qtx") + " " + Quote(dir + "/x.xls"), 1}, {"--bad a b", 2}, {"a", 2}})
        EXPECT_EQ(Shell(qtx + " xls " + args, dir).m_nExit, exit) << args;
}

}  // namespace
