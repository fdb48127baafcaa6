// Which rows print in each mode, the category list of the print-content
// dialog, and what a print reads from (and corrects in) the settings.
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <sys/time.h>
#include <unistd.h>

#include "core/print/PrintSelection.h"
#include "core/print/PrintSettings.h"
#include "core/print/PrintTexts.h"
#include "core/settings/SettingsNames.h"
#include "tests/core/print/PrintTestKit.h"

namespace {

const std::string SUMMARY = printtext::SUMMARY_CATEGORY;

SheetGrid CategorySheet()
{
    return MakeSheet({
        {{"1", "A", SUMMARY, "", "", ""}},
        Calc("a1", "X", "1"),
        Calc("a2", "Y", "2"),
        {{"2", "B", SUMMARY, "", "", ""}},
        Calc("b1", "X", "3"),
        Calc("b2", "Z", "4"),
        Calc("", "", ""),
    });
}

std::vector<int> Selected(const SheetGrid& sheet, const CPrintSelection& sel)
{
    std::vector<int> rows;
    for (int r = 1; r < sheet.Rows(); ++r)
        if (sel.IsRowSelected(sheet, r))
            rows.push_back(r);
    return rows;
}

}  // namespace

TEST(PrintSelection, ModesAndCategoryList)
{
    const SheetGrid sheet = CategorySheet();
    // X, Y, X, Z offers X, Y, Z; the summary rows' category is never offered.
    EXPECT_EQ(CPrintSelection::CategoryList(sheet), (std::vector<std::string>{"X", "Y", "Z"}));

    CPrintSelection sel;
    EXPECT_EQ(sel.Mode(), CPrintSelection::MODE_ALL);  // a new run prints everything
    EXPECT_EQ(Selected(sheet, sel), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    sel.Set(CPrintSelection::MODE_SUMMARY, "X");
    EXPECT_EQ(Selected(sheet, sel), (std::vector<int>{1, 4}));
    sel.Set(CPrintSelection::MODE_CATEGORY, "X");  // no summary row, no empty row
    EXPECT_EQ(Selected(sheet, sel), (std::vector<int>{2, 5}));
    sel.Set(CPrintSelection::MODE_CATEGORY, "Q");  // a category no longer in the sheet
    EXPECT_TRUE(Selected(sheet, sel).empty());
    sel.Set(7, "X");
    EXPECT_TRUE(Selected(sheet, sel).empty());
}

TEST(PrintSelection, CategoryListHasNoFixedLimit)
{
    std::vector<SRowTexts> rows;
    for (int i = 0; i < 1500; ++i)
        rows.push_back(Calc("p", "C" + std::to_string(i), "1"));
    rows.push_back(Calc("p", "C7", "1"));
    const auto list = CPrintSelection::CategoryList(MakeSheet(rows));
    ASSERT_EQ(list.size(), 1500u);
    EXPECT_EQ(list.back(), "C1499");
}

TEST(PrintSettings, AddressAndRules)
{
    CMemorySettingsStore store;
    CSettingsKey key(store);
    key.WriteValue(settingsname::NET_ADDRESS, "www.x.cn");
    const struct {
        const char* m_szStored;
        const char* m_szAfter;
        const char* m_szPrinted;
    } CASES[] = {
        {"1", "1", "   "},
        {"", "0", "www.x.cn   "},
        {"0", "0", "www.x.cn   "},
        {"yes", "0", "www.x.cn   "},
    };
    for (const auto& c : CASES) {
        key.WriteValue(settingsname::IS_NOT_PRN_ADDRESS, c.m_szStored);
        const SPrintSettings s = ReadPrintSettings(key, "", "t", SPrintDate());
        EXPECT_EQ(s.m_strAddress, c.m_szPrinted) << c.m_szStored;
        EXPECT_EQ(key.ReadString(settingsname::IS_NOT_PRN_ADDRESS), c.m_szAfter) << c.m_szStored;
    }

    const std::pair<std::string, int> PENS[] = {{"", 1},
                                                {settingstext::DRAW_LINES_STYLES[0], 1},
                                                {settingstext::DRAW_LINES_STYLES[1], 5},
                                                {settingstext::DRAW_LINES_STYLES[2], 9},
                                                {"thick", 1}};
    for (const auto& pen : PENS) {
        key.WriteValue(settingsname::DRAW_LINES_STYLE, pen.first);
        EXPECT_EQ(ReadPrintSettings(key, "", "t", SPrintDate()).m_nPen, pen.second) << pen.first;
    }
    EXPECT_EQ(key.ReadString(settingsname::DRAW_LINES_STYLE), "thick");  // kept as the user wrote it
}

TEST(PrintSettings, PrintDate)
{
    CMemorySettingsStore store;
    CSettingsKey key(store);
    char path[] = "/tmp/qtx-print-dateXXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    // Last modified on 2011-03-04 at noon, local time.
    std::tm tm{};
    tm.tm_year = 111;
    tm.tm_mon = 2;
    tm.tm_mday = 4;
    tm.tm_hour = 12;
    tm.tm_isdst = -1;
    const struct timeval times[2] = {{std::mktime(&tm), 0}, {std::mktime(&tm), 0}};
    ASSERT_EQ(futimes(fd, times), 0);
    const SPrintDate today = LocalDate(std::time(nullptr));
    SPrintDate today2 = today;
    today2.m_nYear = 2030;

    auto date = [&](const std::string& stored, const std::string& file) {
        key.WriteValue(settingsname::PRINT_TIME, stored);
        const SPrintSettings s = ReadPrintSettings(key, file, "t", today2);
        return std::to_string(s.m_nYear) + "." + std::to_string(s.m_nMonth) + "." + std::to_string(s.m_nDay);
    };
    const std::string now = std::to_string(today.m_nYear) + "." + std::to_string(today.m_nMonth) + "." + std::to_string(today.m_nDay);
    EXPECT_EQ(date("1", path), "2030." + std::to_string(today.m_nMonth) + "." + std::to_string(today.m_nDay));
    EXPECT_EQ(date("2", path), now);  // the file was made today
    EXPECT_EQ(date("3", path), "2011.3.4");
    EXPECT_EQ(key.ReadString(settingsname::PRINT_TIME), "3");
    // An unsaved sheet, or a file that is gone, prints today and stores "1".
    for (const char* stored : {"", "2", "3"}) {
        EXPECT_EQ(date(stored, "").substr(0, 4), "2030") << stored;
        EXPECT_EQ(key.ReadString(settingsname::PRINT_TIME), "1") << stored;
    }
    ::close(fd);
    std::remove(path);
    EXPECT_EQ(date("3", path).substr(0, 4), "2030");
    EXPECT_EQ(key.ReadString(settingsname::PRINT_TIME), "1");
}
