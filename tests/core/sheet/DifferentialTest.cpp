// The calculation grid against the plain implementation: the same random
// commits on both, every text, colour and table entry compared after each
// step.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "LiteralSheet.h"
#include "SheetTestKit.h"
#include "core/sheet/CellText.h"

namespace {

class CCountingPrompt : public CPrompt {
public:
    void ShowMessage(const std::string&, const std::string&) override { ++m_nShown; }
    EAnswer AskQuestion(const std::string&, const std::string&, EButtons) override { return ANSWER_YES; }
    int m_nShown = 0;
};

const char* const NAMES[] = {"a", "b", "c1", "ab", "x", "q9"};

class CRandomSheet {
public:
    explicit CRandomSheet(unsigned seed) : m_Random(seed) {}

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_Random); }

    std::string Operand()
    {
        switch (Pick(9)) {
        case 0:
        case 1:
        case 2:
        case 3:
            return NAMES[Pick(6)];
        case 4:
            return std::to_string(Pick(20));
        case 5:
            return std::to_string(Pick(9)) + "." + std::to_string(Pick(99));
        case 6:
            return "(" + std::string(NAMES[Pick(6)]) + "+1)";
        case 7:
            return "sin(" + std::to_string(Pick(90)) + ")";
        case 8:
            return Pick(2) ? "b" + std::string(NAMES[Pick(6)])  // a name inside a longer word
                           : std::string(Pick(2) ? "a.b" : "12");
        default:
            return "1";
        }
    }

    std::string Expression()
    {
        static const char* const OPS[] = {"+", "-", "*", "/", "^"};
        std::string text = Operand();
        const int terms = Pick(3);
        for (int i = 0; i < terms; ++i)
            text += std::string(OPS[Pick(5)]) + Operand();
        switch (Pick(13)) {
        case 0: text += "[\xD7\xA2=1]"; break;  // [注=1]
        case 1: text = "[" + text + "]" + Operand(); break;
        case 2: text += "++2"; break;                                                       // an error
        case 3: text += "=99"; break;                                                       // an old result
        case 4: text = "\xA3\xA8" + text + "\xA3\xA9"; break;                               // （ ）
        case 5: text = "[\xD1\xAD\xBB\xB7\xD2\xFD\xD3\xC3\xB4\xED\xCE\xF3]" + text; break;  // [循环引用错误]
        case 6: text = "1/0"; break;
        case 7: text = ""; break;
        case 8:  // long enough for the result to be wrapped onto a line of its own
            for (int n = 17 + Pick(8); n > 0; --n)
                text += "+1";
            break;
        default: break;
        }
        return text;
    }

    std::string Name()
    {
        switch (Pick(8)) {
        case 0: return "";
        case 1: return "1" + std::string(NAMES[Pick(6)]);
        case 2: return "\xB3\xA4\xB6\xC8";  // 长度
        default: return NAMES[Pick(6)];
        }
    }

    std::mt19937 m_Random;
};

void ExpectSame(const SheetGrid& a, const CCalcState& sa, const SheetGrid& b, const CCalcState& sb,
                const std::string& step)
{
    ASSERT_EQ(a.Rows(), b.Rows()) << step;
    for (int row = 1; row < a.Rows(); ++row) {
        ASSERT_EQ(a.RowHeight(row), b.RowHeight(row)) << step << " height of " << row;
        for (int col = 1; col < SHEET_COLS; ++col) {
            ASSERT_EQ(a.TextMatrix(row, col), b.TextMatrix(row, col)) << step << " at " << row << "," << col;
            ASSERT_EQ(a.BackColorAt(row, col), b.BackColorAt(row, col)) << step << " at " << row << "," << col;
        }
    }
    ASSERT_EQ(sa.RefTable().size(), sb.RefTable().size()) << step;
    for (std::size_t i = 0; i < sa.RefTable().size(); ++i) {
        ASSERT_EQ(sa.RefTable()[i].m_strName, sb.RefTable()[i].m_strName) << step;
        ASSERT_EQ(sa.RefTable()[i].m_strRow, sb.RefTable()[i].m_strRow) << step;
        ASSERT_EQ(sa.RefTable()[i].m_strValue, sb.RefTable()[i].m_strValue) << step << " entry " << i;
    }
}

void RunSequence(unsigned seed, int steps, int rows)
{
    CMemorySettingsStore store;
    CSettingsKey key(store);
    CCalcState fastState, plainState;
    CCountingPrompt fastPrompt, plainPrompt;
    fastState.SetPrompt(&fastPrompt);
    plainState.SetPrompt(&plainPrompt);
    CCalcGrid calc(fastState, key);
    calc.ResetSheet();
    calc.Grid().SetRows(rows);
    CLiteralSheet plain(plainState);
    plain.m_Grid.SetRows(rows);

    CRandomSheet random(seed);
    for (int step = 0; step < steps; ++step) {
        const int row = 1 + random.Pick(calc.Grid().Rows() - 1);
        std::string what;
        switch (random.Pick(16)) {
        case 0: {  // the number of decimals changes: every row is recalculated
            const int delta = random.Pick(2) ? 1 : -1;
            calc.Grid().SetRow(row);
            delta > 0 ? calc.MoreDecimals() : calc.FewerDecimals();
            calc.WaitForRecalc();
            if (delta > 0 && plainState.Decimals() == 6)
                ++plainPrompt.m_nShown;  // the command's own message
            plainState.SetDecimals(fastState.Decimals());
            plain.RecalcAll(row);
            what = "decimals";
            break;
        }
        case 1: {                                                                                         // a text written around the commit (paste, undo, loading)
            static const char* const ODD_NAMES[] = {"a.b", "12", "A", "\xB3\xA4\xB6\xC8", "a\nb", "c1"};  // 长度
            // Stored texts no commit writes: a separator at the start, a
            // value on a line of its own, an expression never cleaned or
            // never calculated, a summary row's item number.
            static const char* const ODD_TEXTS[] = {"=5", "=a+1=2.00", "a+1\n=2.00", "SIN\xA3\xA8"
                                                                                     "30\xA3\xA9=0.50",
                                                    "b+1",
                                                    "3[a=b]", "1"};
            const int kind = random.Pick(8);
            const bool name = kind == 0;
            const bool odd = kind == 1;
            const int oddIndex = random.Pick(7);
            const std::string text = name ? ODD_NAMES[random.Pick(6)] : odd ? ODD_TEXTS[oddIndex]
                                                                            : random.Expression();
            const int col = name ? COL_REF : (odd && oddIndex == 6) ? COL_SEQ
                                                                    : COL_FORMULA;
            calc.Grid().SetTextMatrix(row, col, text);
            plain.m_Grid.SetTextMatrix(row, col, text);
            what = "direct " + text;
            break;
        }
        case 2: {  // rows inserted or deleted
            if (random.Pick(2)) {
                calc.Grid().InsertRowsAt(row, 1);
                plain.m_Grid.InsertRowsAt(row, 1);
                what = "insert";
            } else {
                const int last = std::min(row + random.Pick(2), calc.Grid().Rows() - 2);
                const int r1 = std::min(row, last), r2 = std::max(row, last);
                if (r2 - r1 < plain.m_Grid.Rows() - 2) {
                    calc.Grid().RemoveRowsAt(r1, r2 - r1 + 1);
                    calc.RebuildRefTable();
                    plain.DeleteRows(r1, r2);
                }
                what = "delete";
            }
            break;
        }
        case 3:
        case 4:
        case 5: {
            const std::string name = random.Name();
            calc.CommitText(row, COL_REF, name);
            plain.Commit(row, COL_REF, name);
            what = "name " + name;
            break;
        }
        case 6: {
            const std::string text = random.Pick(2) ? "m=2" : "C20";
            calc.CommitText(row, COL_SIZE, text);
            plain.Commit(row, COL_SIZE, text);
            what = "size";
            break;
        }
        default: {
            const std::string text = random.Expression();
            calc.CommitText(row, COL_FORMULA, text);
            plain.Commit(row, COL_FORMULA, text);
            what = "formula " + text;
            break;
        }
        }
        if (getenv("QTX_TRACE"))
            printf("%u/%d row %d %s\n", seed, step, row, what.c_str());
        ExpectSame(calc.Grid(), fastState, plain.m_Grid, plainState,
                   "seed " + std::to_string(seed) + " step " + std::to_string(step) + " row " + std::to_string(row) + " " + what);
        if (::testing::Test::HasFatalFailure())
            return;
        ASSERT_EQ(fastPrompt.m_nShown, plainPrompt.m_nShown) << "seed " << seed << " step " << step << " " << what;
    }
}

TEST(CalcGridDifferential, RandomCommitsMatchThePlainAlgorithms)
{
    for (unsigned seed = 1; seed <= 60; ++seed) {
        RunSequence(seed, 150, 10 + static_cast<int>(seed % 5));
        if (HasFatalFailure())
            return;
    }
}

TEST(CalcGridDifferential, DenseSheetsWithManyNames)
{
    for (unsigned seed = 100; seed < 110; ++seed) {
        RunSequence(seed, 400, 7);
        if (HasFatalFailure())
            return;
    }
}

// The same sheet on both sides, filled by commits or by texts written
// directly (as a file or a paste would), compared after every step.
class CPairedSheets {
public:
    explicit CPairedSheets(int rows) : m_Key(m_Store), m_Calc(m_FastState, m_Key), m_Plain(m_PlainState)
    {
        m_FastState.SetPrompt(&m_FastPrompt);
        m_PlainState.SetPrompt(&m_PlainPrompt);
        m_Calc.ResetSheet();
        m_Calc.Grid().SetRows(rows);
        m_Plain.m_Grid.SetRows(rows);
    }
    void Commit(int row, int col, const std::string& text)
    {
        m_Calc.CommitText(row, col, text);
        m_Plain.Commit(row, col, text);
        Check("commit " + std::to_string(row) + " " + text);
    }
    void Write(int row, int col, const std::string& text)
    {
        m_Calc.Grid().SetTextMatrix(row, col, text);
        m_Plain.m_Grid.SetTextMatrix(row, col, text);
    }
    void Check(const std::string& step)
    {
        ExpectSame(m_Calc.Grid(), m_FastState, m_Plain.m_Grid, m_PlainState, step);
        EXPECT_EQ(m_FastPrompt.m_nShown, m_PlainPrompt.m_nShown) << step;
    }
    const std::string& Text(int row) const { return m_Calc.Grid().TextMatrix(row, COL_FORMULA); }

    CMemorySettingsStore m_Store;
    CSettingsKey m_Key;
    CCalcState m_FastState, m_PlainState;
    CCountingPrompt m_FastPrompt, m_PlainPrompt;
    CCalcGrid m_Calc;
    CLiteralSheet m_Plain;
};

std::string Name(char letter, int k)
{
    return std::string(1, letter) + std::to_string(k);
}

// a_k and b_k both use a_(k-1) and b_(k-1): every row is reached along
// 2^k paths. A division by zero at the foot raises its message once.
TEST(CalcGridDifferential, DiamondsRunningTotalsAndCycles)
{
    const int layers = 9;
    CPairedSheets sheets(2 * layers + 8);
    sheets.Commit(1, COL_REF, "a0");
    sheets.Commit(2, COL_REF, "b0");
    sheets.Commit(1, COL_FORMULA, "1");
    sheets.Commit(2, COL_FORMULA, "1");
    for (int k = 1; k < layers; ++k) {
        const std::string uses = Name('a', k - 1) + "+" + Name('b', k - 1);
        sheets.Commit(2 * k + 1, COL_REF, Name('a', k));
        sheets.Commit(2 * k + 2, COL_REF, Name('b', k));
        sheets.Commit(2 * k + 1, COL_FORMULA, uses);
        sheets.Commit(2 * k + 2, COL_FORMULA, uses + "/(" + Name('a', k - 1) + "-" + Name('b', k - 1) + ")");
    }
    sheets.Commit(1, COL_FORMULA, "2");
    sheets.Commit(2, COL_FORMULA, "3");
    // A running total that also uses the root, and a row marked circular in
    // the middle that stops nothing.
    const int foot = 2 * layers + 1;
    sheets.Commit(foot, COL_REF, "t1");
    sheets.Commit(foot, COL_FORMULA, "a0*2");
    sheets.Commit(foot + 1, COL_REF, "cy");
    sheets.Commit(foot + 1, COL_FORMULA, "cy+a0");
    EXPECT_NE(sheets.Text(foot + 1).find("[\xD1\xAD\xBB\xB7"), std::string::npos);
    sheets.Commit(foot + 2, COL_REF, "t2");
    sheets.Commit(foot + 2, COL_FORMULA, "t1+a0*3");
    sheets.Commit(foot + 3, COL_FORMULA, "t2+t1+a0");
    sheets.Commit(1, COL_FORMULA, "5");
    EXPECT_EQ(sheets.Text(foot + 3), "t2+t1+a0=40.00");
    // Closing a cycle at the foot of the diamond by naming its last row,
    // then by an expression; mending it again.
    sheets.Commit(2 * layers, COL_REF, "z");
    sheets.Commit(1, COL_FORMULA, "z+1");
    sheets.Commit(1, COL_FORMULA, "4");
    sheets.Commit(2 * layers, COL_REF, "a0x");
    // A duplicate name written by a file: the first row that carries it
    // gives its value, every row that carries it is followed by the check.
    sheets.Write(foot + 4, COL_REF, "a3");
    sheets.Write(foot + 4, COL_FORMULA, "b8+1=0");
    sheets.Commit(1, COL_FORMULA, "b8");
    sheets.Commit(1, COL_FORMULA, "6");
    sheets.Write(foot + 4, COL_FORMULA, "7=7");
    sheets.Commit(3, COL_FORMULA, "a3+b0");
    sheets.Commit(foot + 4, COL_FORMULA, "b2*2");
    sheets.Commit(2, COL_FORMULA, "1");
}

}  // namespace
