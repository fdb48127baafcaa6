#include "LiteralCalc.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/engine/CalcTexts.h"

namespace literal {

namespace {

// True when byte i starts a character: walk from the start, a lead byte
// 0x81-0xFE followed by a trail byte 0x40-0xFE (not 0x7F) spans two.
bool IsStart(const std::string& t, long i)
{
    long k = 0;
    while (k < i) {
        const unsigned char a = static_cast<unsigned char>(t[k]);
        const bool pair = k + 1 < static_cast<long>(t.size()) && a >= 0x81 && a <= 0xFE && static_cast<unsigned char>(t[k + 1]) >= 0x40 && static_cast<unsigned char>(t[k + 1]) <= 0xFE && t[k + 1] != 0x7F;
        k += pair ? 2 : 1;
    }
    return k == i;
}

// Position i holds the single-byte character c.
bool At(const std::string& t, long i, char c)
{
    return i >= 0 && i < static_cast<long>(t.size()) && t[i] == c && IsStart(t, i);
}

bool Digit(const std::string& t, long i)
{
    return i >= 0 && i < static_cast<long>(t.size()) && t[i] >= '0' && t[i] <= '9' && IsStart(t, i);
}

bool Operator(const std::string& t, long i)
{
    return At(t, i, '+') || At(t, i, '-') || At(t, i, '*') || At(t, i, '/') || At(t, i, '^');
}

long Len(const std::string& t) { return static_cast<long>(t.size()); }

long Find(const std::string& t, const std::string& what)
{
    for (long p = 0; p + Len(what) <= Len(t); ++p)
        if (t.compare(p, what.size(), what) == 0 && IsStart(t, p))
            return p;
    return -1;
}

std::string DeleteBlanks(std::string t)
{
    for (long i = 0; i < Len(t);) {
        if (t[i] == ' ' || t[i] == '\n')
            t.erase(i, 1);
        else
            ++i;
    }
    return t;
}

}  // namespace

std::string FixPairsAndPoints(std::string t)
{
    long i = 0;
    while (i < Len(t)) {
        if (At(t, i, '(') && i < Len(t) - 2 && At(t, i + 1, ')')) {
            t.erase(i, 2);
            i = i - 2 > 0 ? i - 2 : 0;
        }
        if (At(t, i, '.')) {
            if (i == 0) {
                t.insert(0, "0");
                i = 1;
            } else if (!Digit(t, i - 1)) {
                t.insert(i, "0");
                i += 1;
            }
            if (i == Len(t) - 1 || !Digit(t, i + 1)) {
                t.erase(i, 1);
                i -= 1;
            }
        }
        i += 1;
    }
    return t;
}

std::string StripAnnotations(const std::string& input, std::vector<long>* origin)
{
    std::string t = input;
    std::vector<long> from;
    for (long k = 0; k < Len(t); ++k)
        from.push_back(k);
    bool inside = false;
    long opens = 0;
    long span = 0;
    long i = 0;
    while (i < Len(t)) {
        if (At(t, i, '[')) {
            inside = true;
            ++opens;
            if (opens >= 2) {
                span = 0;
                opens = 1;
            } else {
                ++span;
            }
        } else if (inside) {
            ++span;
        }
        if (At(t, i, ']') && inside) {
            const long start = i - span + 1 > 0 ? i - span + 1 : 0;
            t.erase(start, i - start + 1);
            from.erase(from.begin() + start, from.begin() + i + 1);
            inside = false;
            opens = 0;
            span = 0;
            i = 0;
            continue;
        }
        ++i;
    }
    if (origin)
        *origin = from;
    return t;
}

std::string CleanExpression(std::string t)
{
    // The outcome messages of an earlier calculation go, so that a cell
    // recalculated does not carry them twice.
    for (int k = 0; k < 8; ++k) {
        const std::string msg = calctext::CALC_MESSAGES[k];
        const long p = Find(t, msg);
        if (p >= 0)
            t.erase(p, msg.size());
    }
    // Capitals lower-cased, never the second byte of a Chinese character.
    for (long i = 0; i < Len(t); ++i)
        if (t[i] >= 'A' && t[i] <= 'Z' && IsStart(t, i))
            t[i] = static_cast<char>(t[i] + 32);
    // Full-width signs typed with a Chinese input method become ASCII.
    if (!t.empty()) {
        for (const auto& fw : calctext::FULL_WIDTH) {
            for (long p = Find(t, fw.m_szWide); p >= 0; p = Find(t, fw.m_szWide))
                t.replace(p, 2, 1, fw.m_cAscii);
        }
    }
    t = DeleteBlanks(t);
    return FixPairsAndPoints(t);
}

std::string PrepareForEvaluation(std::string t)
{
    // The text as the evaluator takes it: no blanks, no annotations, and
    // what removing them leaves of brackets and points repaired.
    t = DeleteBlanks(t);
    t = StripAnnotations(t);
    t = FixPairsAndPoints(t);
    // A sign after an opening bracket or at the start becomes a
    // subtraction from 0, the only minus the evaluator knows.
    for (long k = 0; k <= Len(t) - 2; ++k)
        if (At(t, k, '(') && At(t, k + 1, '-'))
            t.insert(k + 1, "0");
    if (t.empty())
        t = "0.0";
    if (At(t, 0, '-'))
        t.insert(0, "0");
    return t;
}

long ResultSeparatorByFormula(const std::string& text)
{
    const std::string s = StripAnnotations(text);
    for (long j = Len(s) - 1; j >= 0; --j)
        if (At(s, j, '='))
            return Len(text) - (Len(s) - j);
    return Len(text);
}

long ResultSeparatorTrue(const std::string& text)
{
    std::vector<long> origin;
    const std::string s = StripAnnotations(text, &origin);
    for (long j = Len(s) - 1; j >= 0; --j)
        if (At(s, j, '='))
            return origin[j];
    return Len(text);
}

int CheckAnnotations(const std::string& text)
{
    const std::string t = PrepareForEvaluation(text);
    int depth = 0;
    for (long i = 0; i < Len(t); ++i) {
        if (At(t, i, '[') && ++depth > 1)
            return 1;
        if (At(t, i, ']') && --depth < 0)
            return 1;
    }
    return depth > 0 ? 1 : 0;
}

int CheckParentheses(const std::string& t)
{
    int depth = 0;
    for (long i = 0; i < Len(t); ++i) {
        if (At(t, i, '('))
            ++depth;
        if (At(t, i, ')') && --depth < 0)
            return 1;
    }
    return depth != 0 ? 1 : 0;
}

int CheckSyntax(const std::string& t)
{
    const long L = Len(t);
    if (!At(t, 0, '(') && !Digit(t, 0) && !At(t, 0, '.'))
        return 1;
    if (!At(t, L - 1, ')') && !Digit(t, L - 1) && !At(t, L - 1, '.'))
        return 2;
    for (long i = 0; i < L; ++i) {
        const bool digit = Digit(t, i);
        const bool op = Operator(t, i);
        if (!digit && !At(t, i, '.') && !At(t, i, '(') && !At(t, i, ')') && !op)
            return 3;
        if (i > 0 && digit && At(t, i - 1, ')'))
            return 4;
        if (i < L - 2 && digit && At(t, i + 1, '('))
            return 5;
        if (i < L - 1 && op && Operator(t, i + 1))
            return 6;
        if (i > 0 && op && At(t, i - 1, '('))
            return 7;
        if (i < L - 1 && op && At(t, i + 1, ')'))
            return 7;
        if (i > 1 && op && At(t, i - 1, '.') && !Digit(t, i - 2))
            return 7;
        if (i < L - 2 && op && At(t, i + 1, '.') && !Digit(t, i + 2))
            return 7;
        if (i < L - 2 && At(t, i, '.')) {
            for (long k = i + 1; k < L; ++k) {
                if (At(t, k, '.'))
                    return 8;
                if (At(t, k, '(') || At(t, k, ')') || Operator(t, k))
                    break;
            }
        }
    }
    return 0;
}

// printf("%.Nf") as the sheets' original platform prints it: 17
// significant digits, then that decimal text rounded half up.
std::string LegacyFixed(double v, int decimals)
{
    char s[64];
    std::snprintf(s, sizeof s, "%.16e", v);
    std::string str = s;
    const bool negative = str[0] == '-';
    if (negative)
        str.erase(0, 1);
    const std::size_t e = str.find('e');
    const int point = std::atoi(str.c_str() + e + 1) + 1;  // digits before the point
    const std::string digits = str.substr(0, 1) + str.substr(2, e - 2);
    std::string intPart;
    std::string frac;
    if (point <= 0) {
        intPart = "0";
        frac = std::string(static_cast<std::size_t>(-point), '0') + digits;
    } else if (point >= static_cast<int>(digits.size())) {
        intPart = digits + std::string(static_cast<std::size_t>(point) - digits.size(), '0');
    } else {
        intPart = digits.substr(0, static_cast<std::size_t>(point));
        frac = digits.substr(static_cast<std::size_t>(point));
    }
    frac += std::string(static_cast<std::size_t>(decimals) + 1, '0');
    std::string number = intPart + frac.substr(0, static_cast<std::size_t>(decimals));
    if (frac[static_cast<std::size_t>(decimals)] >= '5') {
        long i = static_cast<long>(number.size()) - 1;
        while (i >= 0 && number[static_cast<std::size_t>(i)] == '9')
            number[static_cast<std::size_t>(i--)] = '0';
        if (i < 0)
            number.insert(0, "1");
        else
            ++number[static_cast<std::size_t>(i)];
    }
    const std::size_t intDigits = number.size() - static_cast<std::size_t>(decimals);
    std::string out = negative ? "-" : "";
    out += number.substr(0, intDigits);
    if (decimals > 0)
        out += "." + number.substr(intDigits);
    return out;
}

double RoundHalfUp(double x, int n)
{
    double v = x;
    for (int i = 0; i < n; ++i)
        v *= 10;
    v = std::floor(v + 0.50000001);
    for (int i = 0; i < n; ++i)
        v *= 0.1;
    return std::isfinite(v) ? v : x;  // too large to scale: nothing to round
}

void CLiteralCalc::Record(int k)
{
    m_bCalcOk = 0;
    m_strCalcError = calctext::CALC_MESSAGES[k];
}

void CLiteralCalc::Notice(const char* text)
{
    m_Notices.push_back(text);
    m_bCalcOk = 0;
}

double CLiteralCalc::Finite(double v)
{
    if (std::isfinite(v))
        return v;
    Notice(calctext::TEXT_NOT_FINITE);
    return 0.0;
}

std::string CLiteralCalc::PrepareExpression(const std::string& text)
{
    if (text.empty())
        return text;
    ++m_nDepth;
    // Only the outermost call starts a fresh outcome: a function's
    // argument prepared inside it adds to the same one.
    if (m_nDepth == 1) {
        m_strCalcError.clear();
        m_bCalcOk = 1;
    }
    std::string t = text;
    std::string result = "0.0";
    if (CheckAnnotations(t)) {
        Record(0);
    } else if (CheckParentheses(t)) {
        Record(1);
    } else {
        t = ReduceFunctions(PrepareForEvaluation(t));
        const int code = CheckSyntax(t);
        if (code == 0)
            result = t;
        else
            Record(code <= 3 ? 2 : code - 1);
    }
    --m_nDepth;
    return result;
}

std::string CLiteralCalc::ReduceFunctions(std::string t)
{
    // Function names are matched in lower case.
    for (long i = 0; i < Len(t); ++i)
        if (t[i] >= 'A' && t[i] <= 'Z' && IsStart(t, i))
            t[i] = static_cast<char>(t[i] + 32);
    static const char* const names[] = {"log", "sin", "cos", "tan", "ctg", "sqrt"};
    for (long c = 0; c < Len(t) - 2; ++c) {
        for (const char* name : names) {
            const long n = static_cast<long>(std::strlen(name));
            if (!(c < Len(t) - (n + 2)))
                continue;
            if (t.compare(c, n, name) != 0 || !IsStart(t, c) || !At(t, c + n, '('))
                continue;
            const long open = c + n;
            auto closing = [&]() {
                int depth = 1;
                for (long k = open + 1; k < Len(t); ++k) {
                    if (At(t, k, '('))
                        ++depth;
                    if (At(t, k, ')') && --depth == 0)
                        return k;
                }
                return At(t, Len(t) - 1, ')') ? Len(t) - 1 : -1L;
            };
            long close = closing();
            if (close < 0) {
                t.replace(c, n + 1, "0");
                continue;
            }
            const std::string argument = t.substr(open + 1, close - open - 1);
            const double v = Evaluate(PrepareExpression(argument));
            double x = std::atof(LegacyFixed(v, 6).c_str());
            double y = 0;
            const std::string f = name;
            if (f == "log") {
                if (x > 0)
                    y = std::log(x);
                else
                    Notice(calctext::TEXT_LOG_DOMAIN);
            } else if (f == "sin") {
                y = std::sin(x * 0.017453292519444445);
            } else if (f == "cos") {
                y = std::cos(x * 0.017453292519444445);
            } else if (f == "tan") {
                if (x - std::trunc(x * 0.011111111111111112) * 90 == 0) {
                    Notice(calctext::TEXT_TAN_ZERO);
                    x = std::atof("1.0");
                }
                y = std::tan(x * 0.017453292519444445);
            } else if (f == "ctg") {
                if (x - std::trunc(x * 0.005555555555555556) * 180 == 0) {
                    Notice(calctext::TEXT_CTG_ZERO);
                    x = std::atof("1.0");
                }
                y = (1000 / std::tan(x * 0.017453292519444445)) * 0.001;
            } else {
                if (x >= 0)
                    y = std::sqrt(x);
                else
                    Notice(calctext::TEXT_SQRT_DOMAIN);
            }
            y = Finite(y);
            if (y == 0)
                y = 0;  // a negative zero would print as a second sign
            const std::string value = y >= 0 ? LegacyFixed(y, 6) : "(0" + LegacyFixed(y, 6) + ")";
            close = closing();
            t.replace(c, close - c + 1, value);
        }
    }
    return t;
}

double CLiteralCalc::Evaluate(const std::string& t)
{
    // Tokens: a run of digits and points is a number, anything else one
    // character.
    std::vector<std::string> tokens;
    for (long i = 0; i < Len(t);) {
        long j = i;
        while (Digit(t, j) || At(t, j, '.'))
            ++j;
        if (j == i)
            j = IsStart(t, i + 1) ? i + 1 : i + 2;
        tokens.push_back(t.substr(i, j - i));
        i = j;
    }
    // Postfix order by the operators' precedence and the brackets.
    std::vector<std::string> postfix, ops;
    auto top = [&]() { return ops.empty() ? std::string() : ops.back(); };
    for (const std::string& tok : tokens) {
        const char c = tok.size() == 1 ? tok[0] : 0;
        if ((tok[0] >= '0' && tok[0] <= '9') || tok[0] == '.') {
            postfix.push_back(tok);
        } else if (c == '(') {
            ops.push_back(tok);
        } else if (c == ')') {
            while (!ops.empty() && top() != "(") {
                postfix.push_back(top());
                ops.pop_back();
            }
            if (!ops.empty())
                ops.pop_back();
        } else if (c == '+' || c == '-') {
            while (!ops.empty() && top() != "(") {
                postfix.push_back(top());
                ops.pop_back();
            }
            ops.push_back(tok);
        } else if (c == '*' || c == '/') {
            while (top() == "*" || top() == "/" || top() == "^") {
                postfix.push_back(top());
                ops.pop_back();
            }
            ops.push_back(tok);
        } else if (c == '^') {
            while (top() == "^") {
                postfix.push_back(top());
                ops.pop_back();
            }
            ops.push_back(tok);
        }
    }
    while (!ops.empty()) {
        postfix.push_back(top());
        ops.pop_back();
    }
    postfix.push_back("#");
    // The postfix run on a stack that never empties: a missing operand
    // counts as 0.
    std::vector<double> values(1, 0.0);
    for (const std::string& tok : postfix) {
        if (tok == "#")
            break;
        if ((tok[0] >= '0' && tok[0] <= '9') || tok[0] == '.') {
            values.push_back(Finite(std::atof(tok.c_str())));
            continue;
        }
        const char op = tok[0];
        if (op != '+' && op != '-' && op != '*' && op != '/' && op != '^') {
            if (values.size() > 1)
                values.pop_back();
            continue;
        }
        const double b = values.back();
        if (values.size() > 1)
            values.pop_back();
        else
            values.back() = 0;
        double a = values.back();
        double r = 0;
        if (op == '+') {
            r = Finite(a + b);
        } else if (op == '-') {
            r = Finite(a - b);
        } else if (op == '*') {
            r = Finite(a * b);
        } else if (op == '/') {
            if (b == 0) {
                Notice(calctext::TEXT_DIV_ZERO);
                r = a;
            } else {
                r = Finite((a * 1000 / b) * 0.001);
            }
        } else {
            double e = b;
            if (e < 0) {
                Notice(calctext::TEXT_POW_NEGATIVE);
                e = 0;
            }
            r = Finite(std::pow(a, e));
        }
        values.back() = r;
    }
    return values.back();
}

std::string CLiteralCalc::CalcExpressionText(const std::string& text)
{
    // The old result goes before the expression is calculated again; the
    // value is rounded half up one place further than shown, then printed
    // with the old program's formatting after any error message.
    std::string t = CleanExpression(text);
    t.erase(ResultSeparatorTrue(t));
    const double value = Evaluate(PrepareExpression(t));
    const double rounded = RoundHalfUp(value, m_nDecimals + 1);
    return m_strCalcError + t + "=" + LegacyFixed(rounded, m_nDecimals);
}

}  // namespace literal
