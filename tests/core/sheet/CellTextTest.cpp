// Line breaking, name rules and value reading of committed cells.
#include <gtest/gtest.h>

#include "core/sheet/CellText.h"

namespace {

TEST(CellTextWrap, BreaksAtWidthSemicolonAndNeverInsideNumbersOrCharacters)
{
    struct SCase {
        const char* m_szIn;
        int m_nWidth;
        const char* m_szOut;
    } cases[] = {
        {"\xD2\xBB\xB2\xE3;\xB6\xFE\xB2\xE3", 12, "\xD2\xBB\xB2\xE3;\n\xB6\xFE\xB2\xE3"},  // 一层;二层
        {"12345678901", 8, "12345678901"},
        {"abcdef", 6, "abcde\nf"},
        {"abc123", 6, "abc\n123"},
        {"abcde", 6, "abcde"},
        {"a;b;", 6, "a;\nb;\n"},
        // Seven double-byte characters in twelve bytes: the seventh moves on.
        {"\xD2\xBB\xD2\xBB\xD2\xBB\xD2\xBB\xD2\xBB\xD2\xBB\xD2\xBB", 12,
         "\xD2\xBB\xD2\xBB\xD2\xBB\xD2\xBB\xD2\xBB\xD2\xBB\n\xD2\xBB"},  // 一一一一一一一
        // A character that would straddle the width starts the next line.
        {"abcdefghijk\xD2\xBB", 12, "abcdefghijk\n\xD2\xBB"},
        // Exactly full: nothing to break.
        {"abcd\xD2\xBB", 6, "abcd\xD2\xBB"},
        // A trail byte that looks like a letter is no place to break.
        {"ab\x81"
         "cd",
         4, "ab\x81"
            "c\nd"},
        {"", 6, ""},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(celltext::WrapCellText(c.m_szIn, c.m_nWidth), c.m_szOut) << c.m_szIn;
}

TEST(CellTextWrap, LongExpressionKeepsItsNumbersWhole)
{
    const std::string text = "(12.345+67.891)*(23.456+78.912)*(34.567+89.123)+(45.678+90.234)=123456.78";
    const std::string wrapped = celltext::WrapCellText(text, 48);
    std::string joined;
    for (char c : wrapped)
        if (c != '\n')
            joined += c;
    EXPECT_EQ(joined, text);
    EXPECT_NE(wrapped.find('\n'), std::string::npos);
    for (std::size_t p = wrapped.find('\n'); p != std::string::npos; p = wrapped.find('\n', p + 1)) {
        const bool numberBefore = p > 0 && (isdigit(static_cast<unsigned char>(wrapped[p - 1])) || wrapped[p - 1] == '.');
        const bool numberAfter = p + 1 < wrapped.size() && (isdigit(static_cast<unsigned char>(wrapped[p + 1])) || wrapped[p + 1] == '.');
        EXPECT_FALSE(numberBefore && numberAfter) << wrapped;
    }
}

TEST(CellTextNames, NameRules)
{
    struct SCase {
        const char* m_szIn;
        const char* m_szOut;
    } cases[] = {
        {"1ab-c", "abc"}, {"Abcdefgh", "abcdef"}, {"\xB3\xA4\xB6\xC8", ""},  // 长度
        {"9", ""},
        {"x_1", "x1"},
        {"\xB3\xA4"
         "a",
         "a"},  // a double-byte character goes whole
        {"\x81"
         "a1",
         ""},  // "\x81a" is one character: the "1" left is no name
    };
    for (const SCase& c : cases)
        EXPECT_EQ(celltext::MakeRefName(c.m_szIn), c.m_szOut) << c.m_szIn;
}

TEST(CellTextValues, ValueAndOperandReading)
{
    EXPECT_EQ(celltext::ValueOrZero("3[a=b]=3.00"), "3.00");
    EXPECT_EQ(celltext::ValueOrZero("2*3"), "0");
    EXPECT_EQ(celltext::ValueOrZero("2*3="), "0");
    EXPECT_EQ(celltext::ValueOrZero("[a=b]"), "0");

    EXPECT_TRUE(celltext::OccursAsOperand("a1*2=12.00", "a1"));
    EXPECT_TRUE(celltext::OccursAsOperand("2+(a1)", "a1"));
    EXPECT_FALSE(celltext::OccursAsOperand("2*a1", "a1"));  // the end does not count
    EXPECT_FALSE(celltext::OccursAsOperand("ba1+2", "a1"));
    EXPECT_FALSE(celltext::OccursAsOperand("a12+2", "a1"));
    EXPECT_TRUE(celltext::OccursAsOperand("ba1+a1=", "a1"));
}

}  // namespace
