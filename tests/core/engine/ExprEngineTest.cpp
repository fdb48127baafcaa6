// Evaluation, the function guards, the result text and the calculation state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GbkSamples.h"
#include "core/engine/CalcTexts.h"
#include "core/engine/ExprEngine.h"
#include "core/engine/Prompt.h"

using namespace sample;

namespace {

class CRecordingPrompt : public CPrompt {
public:
    std::vector<std::string> m_Shown;
    void ShowMessage(const std::string& text, const std::string& caption) override
    {
        EXPECT_EQ(caption, calctext::TEXT_WARNING);
        m_Shown.push_back(text);
    }
    EAnswer AskQuestion(const std::string&, const std::string&, EButtons) override
    {
        ADD_FAILURE() << "the engine never asks";
        return ANSWER_NO;
    }
};

struct SCalc {
    CRecordingPrompt m_Prompt;
    CCalcState m_State;
    CExprEngine m_Engine{m_State};
    explicit SCalc(int decimals = 2)
    {
        m_State.SetPrompt(&m_Prompt);
        m_State.SetDecimals(decimals);
    }
    std::string Calc(const std::string& text)
    {
        m_Prompt.m_Shown.clear();
        return m_Engine.CalcExpressionText(text);
    }
};

const std::string TAN = calctext::TEXT_TAN_ZERO;
const std::string CTG = calctext::TEXT_CTG_ZERO;
const std::string DIV = calctext::TEXT_DIV_ZERO;
const std::string POW = calctext::TEXT_POW_NEGATIVE;
const std::string LOG = calctext::TEXT_LOG_DOMAIN;
const std::string SQRT = calctext::TEXT_SQRT_DOMAIN;
const std::string RANGE = calctext::TEXT_NOT_FINITE;

struct SCase {
    std::string m_strIn;
    std::string m_strOut;  // the result text with two decimals
    bool m_bOk;
    std::vector<std::string> m_Notices;
};

void RunCases(const std::vector<SCase>& cases)
{
    SCalc calc;
    for (const SCase& c : cases) {
        EXPECT_EQ(calc.Calc(c.m_strIn), c.m_strOut) << c.m_strIn;
        EXPECT_EQ(calc.m_State.CalcOk(), c.m_bOk) << c.m_strIn;
        EXPECT_EQ(calc.m_Prompt.m_Shown, c.m_Notices) << c.m_strIn;
    }
}

TEST(Evaluate, PrecedenceAndAssociativity)
{
    RunCases({
        {"1+2*3", "1+2*3=7.00", true, {}},
        {"(1+2)*3", "(1+2)*3=9.00", true, {}},
        {"2^3^2", "2^3^2=64.00", true, {}},
        {"8/2/2", "8/2/2=2.00", true, {}},
        {"2*3^2", "2*3^2=18.00", true, {}},
        {"10-2-3", "10-2-3=5.00", true, {}},
        {"-3+5", "-3+5=2.00", true, {}},
        {"(-2)*3", "(-2)*3=-6.00", true, {}},
        {"-(-2)", "-(-2)=2.00", true, {}},
        {"((((1.5))))", "((((1.5))))=1.50", true, {}},
        {"(12+45)[" + WALL + "]*2.8[" + OUTSIDE + "]+(10)*(3.6+0.2)",
         "(12+45)[" + WALL + "]*2.8[" + OUTSIDE + "]+(10)*(3.6+0.2)=197.60",
         true,
         {}},
        {"", "=0.00", true, {}},
        {"[" + NOTE + "]", "[" + NOTE + "]=0.00", true, {}},
    });
}

TEST(Evaluate, SyntaxMessages)
{
    RunCases({
        {"[ab", Msg(0) + "[ab=0.00", false, {}},
        {"a]b", Msg(0) + "a]b=0.00", false, {}},
        {"(1+2", Msg(1) + "(1+2=0.00", false, {}},
        {"3[(]", Msg(1) + "3[(]=0.00", false, {}},
        {"+5", Msg(2) + "+5=0.00", false, {}},
        {"5+", Msg(2) + "5+=0.00", false, {}},
        {"1+a+1", Msg(2) + "1+a+1=0.00", false, {}},
        {"(3+4)2", Msg(3) + "(3+4)2=0.00", false, {}},
        {"2(3+4)", Msg(4) + "2(3+4)=0.00", false, {}},
        {"5++3", Msg(5) + "5++3=0.00", false, {}},
        {"5*-2", Msg(5) + "5*-2=0.00", false, {}},
        {"2^-1", Msg(5) + "2^-1=0.00", false, {}},
        {"(3+)", Msg(6) + "(3+)=0.00", false, {}},
        {"1.2.3+4", Msg(7) + "1.2.3+4=0.00", false, {}},
        // The message of an earlier calculation is replaced, not kept.
        {Msg(5) + "5++3=0.00", Msg(5) + "5++3=0.00", false, {}},
        {Msg(5) + "5+3=0.00", "5+3=8.00", true, {}},
        // Full-width letters and digits are not mapped and fail.
        {FW_SIN + FW_OPEN + FW_30 + FW_CLOSE, Msg(2) + FW_SIN + "(" + FW_30 + ")=0.00", false, {}},
        {"SIN" + FW_OPEN + "30" + FW_CLOSE, "sin(30)=0.50", true, {}},
    });
}

TEST(Evaluate, DoubleByteCharactersAreNeverSyntax)
{
    RunCases({
        {"[" + LUSHAN + "]1+[" + MENCHUANG + "]2", "[" + LUSHAN + "]1+[" + MENCHUANG + "]2=3.00", true, {}},
        {"2[" + TRAIL_OPEN + "]*3", "2[" + TRAIL_OPEN + "]*3=6.00", true, {}},
        {"2" + TRAIL_CARET + "3", Msg(2) + "2" + TRAIL_CARET + "3=0.00", false, {}},
        {"1" + LUSHAN + "+2", Msg(2) + "1" + LUSHAN + "+2=0.00", false, {}},
        // The trail byte "t" followed by "an(0)" is no tan call: no notice.
        {"1+" + TRAIL_T + "an(0)", Msg(2) + "1+" + TRAIL_T + "an(0)=0.00", false, {}},
        {TRAIL_S + "in(30)", Msg(2) + TRAIL_S + "in(30)=0.00", false, {}},
    });
}

TEST(Functions, ValuesAndGuards)
{
    RunCases({
        {"sin(30)", "sin(30)=0.50", true, {}},
        {"cos(60)", "cos(60)=0.50", true, {}},
        {"sqrt(16)", "sqrt(16)=4.00", true, {}},
        {"log(1)", "log(1)=0.00", true, {}},
        {"log(100)", "log(100)=4.61", true, {}},
        {"2*sin(-30)", "2*sin(-30)=-1.00", true, {}},
        {"sin(-30)^2", "sin(-30)^2=0.25", true, {}},
        {"tan(45)", "tan(45)=1.00", true, {}},
        {"ctg(45)", "ctg(45)=1.00", true, {}},
        {"sqrt(sqrt(16))", "sqrt(sqrt(16))=2.00", true, {}},
        {"sin(10+20)*2", "sin(10+20)*2=1.00", true, {}},
        {"SQRT(9)+Log(1)", "sqrt(9)+log(1)=3.00", true, {}},
        {"tan(0)", "tan(0)=0.02", false, {TAN}},
        {"tan(90)", "tan(90)=0.02", false, {TAN}},
        {"tan(180)", "tan(180)=0.02", false, {TAN}},
        {"tan(-270)", "tan(-270)=0.02", false, {TAN}},
        {"ctg(90)", "ctg(90)=0.00", true, {}},
        {"ctg(180)", "ctg(180)=57.29", false, {CTG}},
        {"ctg(0)", "ctg(0)=57.29", false, {CTG}},
        {"log(0)+1", "log(0)+1=1.00", false, {LOG}},
        {"log(0-5)", "log(0-5)=0.00", false, {LOG}},
        {"sqrt(0-4)+2", "sqrt(0-4)+2=2.00", false, {SQRT}},
        {"sqrt(0)", "sqrt(0)=0.00", true, {}},
        // No closing parenthesis at the end: the name and "(" become "0",
        // and the text then fails the parenthesis check first.
        {"sin(30", Msg(1) + "sin(30=0.00", false, {}},
        // The argument passes through six decimals.
        {"sqrt(0.0000001)", "sqrt(0.0000001)=0.00", true, {}},
        {"sin()", Msg(2) + "sin()=0.00", false, {}},
        {"sin()+1", Msg(2) + "sin+1=0.00", false, {}},
        {"sin(1+)+2", Msg(2) + "sin(1+)+2=2.00", false, {}},
        {"tan(0)+sin(30)", "tan(0)+sin(30)=0.52", false, {TAN}},
        {"sin(5++3)+sin(30)", Msg(5) + "sin(5++3)+sin(30)=0.50", false, {}},
        {"tan(90)+ctg(180)", "tan(90)+ctg(180)=57.31", false, {TAN, CTG}},
        {"foo(1)", Msg(2) + "foo(1)=0.00", false, {}},
    });
}

TEST(Evaluate, ArithmeticGuards)
{
    RunCases({
        {"1/0", "1/0=1.00", false, {DIV}},
        {"5/(2-2)+1", "5/(2-2)+1=6.00", false, {DIV}},
        {"2^(0-1)", "2^(0-1)=1.00", false, {POW}},
        {"(0-8)^(1/3)", "(0-8)^(1/3)=0.00", false, {RANGE}},
        {"(0-8)^(1/3)+2", "(0-8)^(1/3)+2=2.00", false, {RANGE}},
        {"10^400", "10^400=0.00", false, {RANGE}},
        {"10^200*10^200+1", "10^200*10^200+1=1.00", false, {RANGE}},
        {"1/0+2^(0-1)", "1/0+2^(0-1)=2.00", false, {DIV, POW}},
        {"0^0", "0^0=1.00", true, {}},
        {"1/3*3", "1/3*3=1.00", true, {}},
        {"1" + std::string(400, '0'), "1" + std::string(400, '0') + "=0.00", false, {RANGE}},
        {"0." + std::string(400, '0') + "1", "0." + std::string(400, '0') + "1=0.00", true, {}},
    });
}

TEST(Evaluate, NoTokenLimit)
{
    SCalc calc;
    std::string sum = "1";
    for (int i = 1; i < 3000; ++i)
        sum += "+1";
    EXPECT_EQ(calc.Calc(sum), sum + "=3000.00");
    std::string nested = std::string(2000, '(') + "2" + std::string(2000, ')') + "*3";
    EXPECT_EQ(calc.Calc(nested), nested + "=6.00");
    EXPECT_TRUE(calc.m_State.CalcOk());
}

TEST(Evaluate, DeepFunctionNestingIsRefused)
{
    SCalc calc;
    std::string deep;
    for (int i = 0; i < 1000; ++i)
        deep += "sqrt(";
    deep += "1" + std::string(1000, ')');
    const std::string result = calc.Calc(deep);
    EXPECT_EQ(result, Msg(2) + deep + "=0.00");
    EXPECT_FALSE(calc.m_State.CalcOk());
    std::string shallow = "sqrt(sqrt(sqrt(sqrt(sqrt(sqrt(sqrt(sqrt(1))))))))";
    EXPECT_EQ(calc.Calc(shallow), shallow + "=1.00");
}

TEST(CalcState, EachCalculationStartsClean)
{
    SCalc calc;
    calc.Calc("5++3");
    EXPECT_EQ(calc.m_State.CalcError(), Msg(5));
    EXPECT_EQ(calc.Calc("5+3"), "5+3=8.00");
    EXPECT_TRUE(calc.m_State.CalcError().empty());
    EXPECT_TRUE(calc.m_State.CalcOk());

    // An empty text leaves the state alone.
    calc.Calc("1/0");
    EXPECT_FALSE(calc.m_State.CalcOk());
    EXPECT_EQ(calc.m_Engine.PrepareExpression(""), "");
    EXPECT_FALSE(calc.m_State.CalcOk());

    // Without a prompt the guards still clear the flag.
    CCalcState quiet;
    CExprEngine engine(quiet);
    EXPECT_EQ(engine.CalcExpressionText("1/0"), "1/0=1.00");
    EXPECT_FALSE(quiet.CalcOk());
}

TEST(ResultText, DecimalsAndRounding)
{
    struct SFormat {
        std::string m_strIn;
        int m_nDecimals;
        std::string m_strOut;
    } cases[] = {
        {"1/3", 0, "1/3=0"},
        {"1/3", 2, "1/3=0.33"},
        {"1/3", 6, "1/3=0.333333"},
        {"2/3", 0, "2/3=1"},
        {"2/3", 1, "2/3=0.7"},
        {"2/3", 3, "2/3=0.667"},
        {"2/3", 4, "2/3=0.6667"},
        {"2/3", 5, "2/3=0.66667"},
        {"2.4449999", 2, "2.4449999=2.45"},
        {"2.444", 2, "2.444=2.44"},
        {"0.5", 0, "0.5=1"},  // an exact half rounds up, as the sheets always showed it
        {"1.5", 0, "1.5=2"},
        {"2.5", 0, "2.5=3"},
        {"0.125", 2, "0.125=0.13"},
        {"0.135", 2, "0.135=0.14"},
        {"0-0.125", 2, "0-0.125=-0.13"},
        {"0-2.5", 0, "0-2.5=-3"},
        {"0-0.001", 2, "0-0.001=-0.00"},
        {"123456789.987654", 6, "123456789.987654=123456789.987654"},
    };
    for (const SFormat& c : cases) {
        SCalc calc(c.m_nDecimals);
        EXPECT_EQ(calc.Calc(c.m_strIn), c.m_strOut) << c.m_strIn << " / " << c.m_nDecimals;
    }
}

TEST(ResultText, RoundHalfUpStepByStep)
{
    EXPECT_DOUBLE_EQ(CExprEngine::RoundHalfUp(2.4449999, 3), 2.445);
    EXPECT_DOUBLE_EQ(CExprEngine::RoundHalfUp(0.33333, 1), 0.30000000000000004);  // 3 * 0.1
    EXPECT_DOUBLE_EQ(CExprEngine::RoundHalfUp(-1.25, 1), -1.2000000000000002);
    EXPECT_EQ(CExprEngine::RoundHalfUp(0, 7), 0.0);
    EXPECT_EQ(CExprEngine::RoundHalfUp(1e306, 7), 1e306);  // too large to scale
}

TEST(ResultText, RecalculatingAResultGivesTheSameText)
{
    const std::string texts[] = {
        "(12+45)[" + WALL + "]*2.8[" + OUTSIDE + "]+(10)*(3.6+0.2)",
        "5++3",
        "1/0",
        "2^3^2",
        "2*sin(-30)",
        "SIN" + FW_OPEN + "30" + FW_CLOSE,
        "3[a=b]",
        "tan(0)+sin(30)",
        "sin(1+)+2",
    };
    for (const std::string& t : texts) {
        SCalc calc;
        const std::string first = calc.Calc(t);
        EXPECT_EQ(calc.Calc(first), first) << t;
    }
}

TEST(Conversions, ToNumberAndFormatArgument)
{
    EXPECT_EQ(CExprEngine::ToNumber("12abc"), 12.0);
    EXPECT_EQ(CExprEngine::ToNumber("-0.5"), -0.5);
    EXPECT_EQ(CExprEngine::ToNumber(""), 0.0);
    EXPECT_EQ(CExprEngine::ToNumber("abc"), 0.0);
    EXPECT_EQ(CExprEngine::ToNumber(" 3.25"), 3.25);
    EXPECT_EQ(CExprEngine::FormatArgument(0.5), "0.500000");
    EXPECT_EQ(CExprEngine::FormatArgument(-2.0 / 3), "-0.666667");
}

}  // namespace

// The substitution by token gives the per-entry substitution's text, or
// declines when it cannot be sure to.
TEST(Substitution, ByNameAgreesOrDeclines)
{
    CCalcState state;
    CExprEngine engine(state);
    auto add = [&](const std::string& name, int row, const std::string& value) {
        CRefEntry e;
        e.m_strName = name;
        e.m_strRow = std::to_string(row);
        e.m_nRow = row;
        e.m_strValue = value;
        state.RefTableToRebuild().push_back(e);
        state.RefNamesToRebuild().AddTableRow(state.RefNamesToRebuild().Intern(name), row);
        state.RefNamesToRebuild().SetEntryCount(state.RefTable().size());
    };
    add("a1", 1, "2");
    add("b2", 2, "3.5");
    add("ab", 4, "-1");
    add("a1", 6, "9");                     // a duplicate: the first entry counts
    const std::string CHANG = "\xB3\xA4";  // 长, whose trail byte is no delimiter
    const std::vector<std::string> texts = {"a1+b2*ab", "(a1)/b22", "xa1+a1x", "a1[c]+]b2", "a1=5", "sin(ab)",
                                            CHANG + "a1+a1" + CHANG, "a1b2", "2a1", "", "[a1]", "a1(b2)ab"};
    std::string out;
    for (const std::string& text : texts) {
        ASSERT_TRUE(engine.SubstituteByName(text, out)) << text;
        EXPECT_EQ(out, engine.SubstituteReferences(text)) << text;
    }
    state.RefTableToRebuild()[1].m_strValue = "x+1";  // a value that could hold a name
    EXPECT_FALSE(engine.SubstituteByName("b2+1", out));
    state.RefTableToRebuild()[1].m_strValue = "3.5";
    add("\xBC\xD7", 7, "1");  // 甲: a name found only by scanning
    EXPECT_FALSE(engine.SubstituteByName("a1", out));
    CCalcState other;  // a table written without its names
    other.RefTableToRebuild() = state.RefTable();
    EXPECT_FALSE(CExprEngine(other).SubstituteByName("a1", out));
}
