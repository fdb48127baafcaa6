// The text passes and the three checks, case by case.
#include <gtest/gtest.h>

#include "GbkSamples.h"
#include "core/engine/ExprText.h"

using namespace sample;

namespace {

struct SPass {
    std::string m_strIn;
    std::string m_strOut;
};

TEST(CleanExpression, MapsLowersAndJoins)
{
    const SPass cases[] = {
        // The nine full-width characters.
        {"2" + FW_TIMES + "3", "2*3"},
        {"2" + FW_PLUS + "3", "2+3"},
        {"2" + FW_MINUS + "3", "2-3"},
        {"2" + FW_SLASH + "3", "2/3"},
        {FW_OPEN + "2" + FW_CLOSE, "(2)"},
        {"2" + FW_POINT + "5", "2.5"},
        {FW_LEFT + "a" + FW_RIGHT + "1", "[a]1"},
        {"2" + FW_TIMES + "3" + FW_PLUS + "4" + FW_SLASH + "2", "2*3+4/2"},
        // Full-width letters and digits stay.
        {FW_SIN + FW_OPEN + FW_30 + FW_CLOSE, FW_SIN + "(" + FW_30 + ")"},
        {"SIN" + FW_OPEN + "30" + FW_CLOSE, "sin(30)"},
        {"Ctg(45)", "ctg(45)"},
        {"1 2\n+3", "12+3"},
        {"[a b]\n1", "[ab]1"},
        {"1\t+\r2", "1\t+\r2"},  // tabs and carriage returns stay
        {"", ""},
        // Messages: the first occurrence of each of the first eight goes.
        {Msg(5) + "5++3=0.00", "5++3=0.00"},
        {Msg(2) + Msg(2) + "1", Msg(2) + "1"},
        {Msg(0) + Msg(7) + "1", "1"},
        {Msg(8) + "a1+2", Msg(8) + "a1+2"},
        // Empty pairs and decimal points.
        {".5", "0.5"},
        {"+.5", "+0.5"},
        {"3.", "3"},
        {".", "0"},
        {"1..2", "1.2"},
        {"1.2.3", "1.2.3"},
        {"[3.]", "[3]"},
        {"5+()", "5+()"},
        {"()+5", "+5"},
        {"(())+1", "()+1"},
        {"2*()()3", "2*3"},
        {"(.)+1", "(0)+1"},
        // Double-byte characters pass untouched, whatever their trail byte.
        {"(12+45)[" + WALL + "]*2.8", "(12+45)[" + WALL + "]*2.8"},
        {"[" + LUSHAN + "]1", "[" + LUSHAN + "]1"},
        {"[" + MENCHUANG + "]1", "[" + MENCHUANG + "]1"},
        {TRAIL_OPEN + "A", TRAIL_OPEN + "a"},
        {TRAIL_S + "IN(30)", TRAIL_S + "in(30)"},
    };
    for (const SPass& c : cases)
        EXPECT_EQ(exprtext::CleanExpression(c.m_strIn), c.m_strOut) << c.m_strIn;
}

TEST(PrepareForEvaluation, StripsAndRepairs)
{
    const SPass cases[] = {
        {"(12+45)[" + WALL + "]*2.8", "(12+45)*2.8"},
        {"(12+45)[" + WALL + "]*2.8[" + OUTSIDE + "]+(10)*(3.6+0.2)", "(12+45)*2.8+(10)*(3.6+0.2)"},
        {"", "0.0"},
        {"[" + NOTE + "]", "0.0"},
        {" \n", "0.0"},
        {"-(-2)", "0-(0-2)"},
        {"-3*2", "0-3*2"},
        {"5*-2", "5*-2"},
        {"(-(-3))", "(0-(0-3))"},
        {"[ab[cd]ef]", "[ab["},
        {"a]b", "a]b"},
        {"[ab", "[ab"},
        {"]a[b]", "]a"},
        {"1[a][b]2", "12"},
        {Msg(8) + "a1+2", "a1+2"},
        {"[3.]+.5", "+0.5"},
        {"()[x]+1", "+1"},
        {"[" + LUSHAN + "]1+[" + MENCHUANG + "]2", "1+2"},
        {"2[" + TRAIL_OPEN + "]*3", "2*3"},
        {"1+" + TRAIL_OPEN + "2", "1+" + TRAIL_OPEN + "2"},
    };
    for (const SPass& c : cases)
        EXPECT_EQ(exprtext::PrepareForEvaluation(c.m_strIn), c.m_strOut) << c.m_strIn;
}

TEST(FindResultSeparator, LastEqualsOutsideAnnotations)
{
    struct SCase {
        std::string m_strText;
        std::size_t m_nPos;
    } cases[] = {
        {"5++3=0.00", 4},
        {"3[a=b]=7", 6},
        {"1+2", 3},
        {"[a=b]", 5},
        {"1=2=3", 3},
        {"[" + LUSHAN + "=]1=2", 8},
        // Annotations after the "=": the position is still that of the "=".
        {"1=2[x]", 1},
        {"1=2[x][yy]3", 1},
        {"a[b]=c[d]", 4},
        {"", 0},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(exprtext::FindResultSeparator(c.m_strText), c.m_nPos) << c.m_strText;
}

TEST(Checks, AnnotationsAndParentheses)
{
    struct SCase {
        std::string m_strText;
        int m_nAnnotations;
        int m_nParentheses;
    } cases[] = {
        {"[ab", 1, 0},
        {"a]b", 1, 0},
        {"[a[b]c]", 1, 0},
        {"[a](b)", 0, 0},
        {"(1+2", 0, 1},
        {"1)+(2", 0, 1},
        {"3[(]", 0, 1},
        {"(1)[x](2)", 0, 0},
        {"[" + LUSHAN + "]", 0, 0},
        {"[" + TRAIL_OPEN + "]", 0, 0},
        {"1" + LUSHAN, 0, 0},  // the "]" inside 廬 is no bracket
        {"1" + TRAIL_OPEN + "2", 0, 0},
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(exprtext::CheckAnnotations(c.m_strText), c.m_nAnnotations) << c.m_strText;
        EXPECT_EQ(exprtext::CheckParentheses(c.m_strText), c.m_nParentheses) << c.m_strText;
    }
}

TEST(Checks, SyntaxCodes)
{
    struct SCase {
        std::string m_strText;
        int m_nCode;
    } cases[] = {
        {"1.2+3.4", 0},
        {"2^3", 0},
        {"(1+2)*3", 0},
        {".5", 0},
        {"5.", 0},
        {"+5", 1},
        {"a+1", 1},
        {")1", 1},
        {"5+", 2},
        {"1+a", 2},
        {"1+(", 2},
        {"1+a+1", 3},
        {"1=2", 3},
        {"1[2", 3},
        {"1" + TRAIL_OPEN + "2", 3},
        {"1" + TRAIL_CARET + "2", 3},  // not two operators: the caret is a trail byte
        {"(3+4)2", 4},
        {"2(3+4)", 5},
        {"1+2(3)", 5},
        {"5++3", 6},
        {"5*-2", 6},
        {"2^-1", 6},
        {"(3+)", 7},
        {"(*3)", 7},
        {"(+5)", 7},
        {"1+.+2", 7},
        {"1.2.3+4", 8},
        {"1..2", 8},
        {"1.2" + TRAIL_CARET + "3.4", 8},  // a double-byte character does not end the run
        {"(3)+(4)", 0},
        {"1.2.", 8},
        {"1.2", 0},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(exprtext::CheckSyntax(c.m_strText), c.m_nCode) << c.m_strText;
}

}  // namespace
