// The engine's passes against the literal implementation in LiteralCalc, on
// many random texts made of the pieces expressions are made of.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "GbkSamples.h"
#include "LiteralCalc.h"
#include "core/engine/ExprEngine.h"
#include "core/engine/ExprText.h"
#include "core/engine/Prompt.h"

namespace {

class CNoticeLog : public CPrompt {
public:
    std::vector<std::string> m_Shown;
    void ShowMessage(const std::string& text, const std::string&) override { m_Shown.push_back(text); }
    EAnswer AskQuestion(const std::string&, const std::string&, EButtons) override { return ANSWER_NO; }
};

// Random expression-like texts. Double-byte characters are always whole
// (lead 0x81-0xFE, trail 0x40-0xFE without 0x7F), and often have a trail
// byte that reads as a bracket, a caret or a letter.
class CTextMaker {
public:
    explicit CTextMaker(unsigned seed) : m_Rng(seed) {}

    std::string Make(std::size_t maxPieces)
    {
        // Numbers, points, operators, brackets, blanks, letters, function
        // names, the full-width characters the cleaning maps, and a word.
        static const char* const pieces[] = {
            "0", "1", "2", "3", "5", "7", "9", "12", "0.5", "45", "3.6", ".", ".", "..",
            "+", "-", "*", "/", "^", "(", ")", "(", ")", "()", "(-",
            "[", "]", "[", "]", "=", " ", "\n", "\t",
            "a", "x", "A", "Z", "b1",
            "sin(", "cos(", "tan(", "ctg(", "log(", "sqrt(", "SIN(", "Sqrt(", "sin", "(0-",
            "90", "180", "0-", "1e5", "000",
            "\xA1\xC1", "\xA3\xAB", "\xA3\xAD", "\xA1\xA2", "\xA3\xA8", "\xA3\xA9", "\xA1\xA3", "\xA1\xB2", "\xA1\xB3", "\xC7\xBD\xB3\xA4\xB6\xC8"};
        const std::size_t nPieces = sizeof pieces / sizeof pieces[0];
        std::string s;
        const std::size_t count = Below(maxPieces + 1);
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t kind = Below(20);
            if (kind == 0) {
                s += DoubleByte();
            } else if (kind == 1) {
                s += calctext::CALC_MESSAGES[Below(9)];
            } else if (kind == 2) {
                s += "[" + DoubleByte() + Pick("ab=.()+") + "]";
            } else {
                s += pieces[Below(nPieces)];
            }
        }
        return s;
    }

    // Short texts over a small alphabet, dense in the cases where a trail
    // byte could be taken for a bracket, a caret or a letter.
    std::string MakeDense(std::size_t maxChars)
    {
        static const char* const chars[] = {"1", "2", ".", ".", "(", ")", "+", "^", "[", "]", "=", "s",
                                            "\x8F\x5E", "\x8F\x5B", "\x8F\x5D", "\x81\x73", "\xA3\xA8"};
        std::string s;
        const std::size_t count = Below(maxChars + 1);
        for (std::size_t k = 0; k < count; ++k)
            s += chars[Below(sizeof chars / sizeof chars[0])];
        return s;
    }

private:
    std::size_t Below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_Rng); }
    std::string Pick(const char* set)
    {
        const std::string all = set;
        return all.substr(Below(all.size()), 1);
    }
    std::string DoubleByte()
    {
        static const unsigned char trails[] = {0x5B, 0x5D, 0x5E, 0x73, 0x74, 0x53, 0x54, 0x40, 0xA1, 0xFE, 0x69, 0x6E};
        std::string c;
        c += static_cast<char>(0x81 + Below(0x7E));
        unsigned char t;
        if (Below(2) == 0) {
            t = trails[Below(sizeof trails)];
        } else {
            t = static_cast<unsigned char>(0x40 + Below(0xBF));
            if (t == 0x7F)
                t = 0x80;
        }
        c += static_cast<char>(t);
        return c;
    }
    std::mt19937 m_Rng;
};

const int ROUNDS = 20000;

TEST(Differential, TextPasses)
{
    CTextMaker maker(12345);
    for (int r = 0; r < ROUNDS; ++r) {
        const std::string s = r % 2 ? maker.Make(24) : maker.MakeDense(10);
        std::string fixed = s;
        exprtext::FixPairsAndPoints(fixed);
        ASSERT_EQ(fixed, literal::FixPairsAndPoints(s)) << s;
        ASSERT_EQ(exprtext::StripAnnotations(s), literal::StripAnnotations(s)) << s;
        ASSERT_EQ(exprtext::CleanExpression(s), literal::CleanExpression(s)) << s;
        ASSERT_EQ(exprtext::PrepareForEvaluation(s), literal::PrepareForEvaluation(s)) << s;
        ASSERT_EQ(exprtext::CheckAnnotations(s), literal::CheckAnnotations(s)) << s;
        ASSERT_EQ(exprtext::CheckParentheses(s), literal::CheckParentheses(s)) << s;
        ASSERT_EQ(exprtext::CheckSyntax(s), literal::CheckSyntax(s)) << s;
        const std::string prepared = exprtext::PrepareForEvaluation(exprtext::CleanExpression(s));
        ASSERT_EQ(exprtext::CheckSyntax(prepared), literal::CheckSyntax(prepared)) << prepared;
    }
}

// The separator is the true position of the last "=" outside annotations.
// The step list's formula (input length minus what follows that "=" in the
// stripped copy) agrees whenever nothing after the "=" was stripped, and
// points past the "=" otherwise; the engine keeps the true position.
TEST(Differential, ResultSeparator)
{
    CTextMaker maker(777);
    int disagreements = 0;
    for (int r = 0; r < ROUNDS; ++r) {
        const std::string s = r % 2 ? maker.Make(16) : maker.MakeDense(10);
        const long pos = static_cast<long>(exprtext::FindResultSeparator(s));
        ASSERT_EQ(pos, literal::ResultSeparatorTrue(s)) << s;
        const long formula = literal::ResultSeparatorByFormula(s);
        if (formula != pos) {
            ++disagreements;
            ASSERT_LT(pos, formula) << s;
            ASSERT_NE(literal::StripAnnotations(s.substr(pos)), s.substr(pos)) << s;
        } else if (pos < static_cast<long>(s.size())) {
            ASSERT_EQ(s[pos], '=') << s;
        }
    }
    EXPECT_GT(disagreements, 0);  // the generator does reach the mended case
}

// The engine and the literal implementation agree on the result text, the
// state and the notices shown.
void SameCalculation(const std::string& s, int decimals)
{
    CNoticeLog log;
    CCalcState state;
    state.SetPrompt(&log);
    state.SetDecimals(decimals);
    CExprEngine engine(state);
    literal::CLiteralCalc slow;
    slow.m_nDecimals = decimals;
    ASSERT_EQ(engine.CalcExpressionText(s), slow.CalcExpressionText(s)) << s;
    ASSERT_EQ(state.CalcOk(), slow.m_bCalcOk != 0) << s;
    ASSERT_EQ(log.m_Shown, slow.m_Notices) << s;
}

TEST(Differential, WholeCalculation)
{
    CTextMaker maker(4242);
    for (int r = 0; r < ROUNDS; ++r)
        ASSERT_NO_FATAL_FAILURE(SameCalculation(r % 2 ? maker.Make(20) : maker.MakeDense(12), r % 7));
}

// Well-formed arithmetic reaches the evaluator more often than random text.
TEST(Differential, WellFormedArithmetic)
{
    std::mt19937 rng(99);
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    std::function<std::string(int)> make = [&](int depth) -> std::string {
        const int kind = depth > 4 ? 0 : below(6);
        if (kind == 0) {
            std::string num = std::to_string(below(1000));
            if (below(2))
                num += "." + std::to_string(below(100));
            return num;
        }
        if (kind == 1)
            return "(" + make(depth + 1) + ")";
        if (kind == 2) {
            static const char* const fn[] = {"sin(", "cos(", "tan(", "ctg(", "log(", "sqrt("};
            return std::string(fn[below(6)]) + make(depth + 1) + ")";
        }
        if (kind == 3)
            return "(-" + make(depth + 1) + ")";
        return make(depth + 1) + "+-*/^"[below(5)] + make(depth + 1);
    };
    for (int r = 0; r < ROUNDS; ++r)
        ASSERT_NO_FATAL_FAILURE(SameCalculation(make(0), r % 7));
}

// The fixed formatting rounds the 17 significant digits half up, and stays
// within half a unit of the last decimal shown.
TEST(Differential, FixedFormattingMatchesTheLegacyPrintf)
{
    std::mt19937_64 rng(2024);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-30, 40);
    for (int r = 0; r < 200000; ++r) {
        double v;
        switch (r % 4) {
        case 0: v = unit(rng) * std::pow(10.0, exponent(rng)); break;
        case 1: v = static_cast<double>(static_cast<long long>(rng() % 2000000) - 1000000) / 1000; break;
        case 2: v = (static_cast<double>(rng() % 100000) + 0.5) / std::pow(10.0, static_cast<int>(rng() % 7)); break;
        default: {
            const std::uint64_t bits = rng();
            std::memcpy(&v, &bits, sizeof v);
            if (!std::isfinite(v))
                v = 0.0;
        }
        }
        const int decimals = static_cast<int>(r % 7);
        std::string ours;
        CExprEngine::AppendFixed(ours, v, decimals);
        ASSERT_EQ(ours, literal::LegacyFixed(v, decimals)) << v << " / " << decimals;
        ASSERT_NEAR(CExprEngine::ToNumber(ours), v, 0.5 * std::pow(10.0, -decimals) + std::fabs(v) * 1e-15)
            << v << " / " << decimals;
    }
}

}  // namespace
