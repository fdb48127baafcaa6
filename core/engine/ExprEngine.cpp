#include "core/engine/ExprEngine.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "core/engine/CalcTexts.h"
#include "core/engine/GbkText.h"

namespace {

// Degrees to radians with the constant the sheets have always used
// (3.1415926535 / 180), not the exact pi / 180.
const double DEGREE = 0.017453292519444445;

// Function calls nested deeper than this are refused as a syntax error
// instead of exhausting the stack.
const int MAX_NESTING = 200;

struct SFunction {
    const char* m_szName;
    std::size_t m_nLength;
};
const SFunction FUNCTIONS[] = {{"log", 3}, {"sin", 3}, {"cos", 3}, {"tan", 3}, {"ctg", 3}, {"sqrt", 4}};

// The leading number of [first, last), as atof reads it: a number too large
// for a double is infinite (the caller reports it), one too small is 0.
double ReadNumber(const char* first, const char* last)
{
    double v = 0.0;
    const auto res = std::from_chars(first, last, v, std::chars_format::fixed);
    if (res.ec == std::errc::result_out_of_range) {
        v = 0.0;
        for (const char* p = first; p < res.ptr && *p != '.'; ++p)
            if (*p >= '1' && *p <= '9')
                v = HUGE_VAL;
    }
    return v;
}

// The function whose name and "(" stand at pos. "log" ... "ctg" are only
// found while pos < length - 5, "sqrt" while pos < length - 6.
const SFunction* FunctionCallAt(const std::string& text, std::size_t pos)
{
    const std::size_t remaining = text.size() - pos;
    for (const SFunction& fn : FUNCTIONS) {
        if (remaining > fn.m_nLength + 2 && text.compare(pos, fn.m_nLength, fn.m_szName) == 0 && text[pos + fn.m_nLength] == '(')
            return &fn;
    }
    return nullptr;
}

// The ")" that closes the "(" at open. Where the parentheses never balance,
// a text that ends in ")" closes the call there; any other text has no close
// (npos).
std::size_t ClosingParenthesis(const std::string& text, std::size_t open)
{
    int depth = 1;
    for (std::size_t close = open + 1; close < text.size(); ++close) {
        if (text[close] == '(')
            ++depth;
        else if (text[close] == ')' && --depth == 0)
            return close;
    }
    return text.back() == ')' ? text.size() - 1 : std::string::npos;
}

// A function of x. Angles are in degrees, and a value outside a function's
// domain is told and taken as 0; tan and ctg at their poles are told and
// taken at 1 degree.
double FunctionValue(const char* name, double x, CCalcState& state)
{
    auto refuse = [&state](const std::string& notice) {
        state.ShowNotice(notice);
        state.MarkCalcFailed();
    };
    if (std::strcmp(name, "log") == 0) {
        if (x > 0)
            return std::log(x);
        refuse(calctext::TEXT_LOG_DOMAIN);
        return 0.0;
    }
    if (std::strcmp(name, "sin") == 0)
        return std::sin(x * DEGREE);
    if (std::strcmp(name, "cos") == 0)
        return std::cos(x * DEGREE);
    if (std::strcmp(name, "tan") == 0) {
        if (x - std::trunc(x * 0.011111111111111112) * 90 == 0) {
            refuse(calctext::TEXT_TAN_ZERO);
            x = CExprEngine::ToNumber("1.0");
        }
        return std::tan(x * DEGREE);
    }
    if (std::strcmp(name, "ctg") == 0) {
        if (x - std::trunc(x * 0.005555555555555556) * 180 == 0) {
            refuse(calctext::TEXT_CTG_ZERO);
            x = CExprEngine::ToNumber("1.0");
        }
        return (1000 / std::tan(x * DEGREE)) * 0.001;
    }
    // sqrt
    if (x >= 0)
        return std::sqrt(x);
    refuse(calctext::TEXT_SQRT_DOMAIN);
    return 0.0;
}

// The level of an operator on the evaluation stack; "(" lies below all.
int Precedence(char op)
{
    switch (op) {
    case '+':
    case '-':
        return 1;
    case '*':
    case '/':
        return 2;
    case '^':
        return 3;
    default:
        return 0;
    }
}

bool IsRefBefore(char c)
{
    return c == '*' || c == '/' || c == '+' || c == '-' || c == '(' || c == ')' || c == ']';
}
bool IsRefAfter(char c)
{
    return c == '*' || c == '/' || c == '+' || c == '-' || c == '(' || c == ')' || c == '=' || c == '[';
}

}  // namespace

CExprEngine::CExprEngine(CCalcState& state) : m_State(state)
{
    m_State.MarkCalcOk();
}

std::string CExprEngine::CleanExpression(const std::string& text) const
{
    return exprtext::CleanExpression(text);
}

std::string CExprEngine::PrepareForEvaluation(const std::string& text) const
{
    return exprtext::PrepareForEvaluation(text);
}

std::size_t CExprEngine::FindResultSeparator(const std::string& text) const
{
    return exprtext::FindResultSeparator(text);
}

int CExprEngine::CheckAnnotations(const std::string& text) const { return exprtext::CheckAnnotations(text); }
int CExprEngine::CheckParentheses(const std::string& text) const { return exprtext::CheckParentheses(text); }
int CExprEngine::CheckSyntax(const std::string& text) const { return exprtext::CheckSyntax(text); }

std::string CExprEngine::SubstituteReferences(const std::string& input) const
{
    if (m_State.RefTable().empty())
        return input;
    std::string text = input;
    for (const CRefEntry& entry : m_State.RefTable()) {
        const std::string& name = entry.m_strName;
        if (!name.empty() && text.find(name) != std::string::npos)
            ReplaceName(text, name, "(" + entry.m_strValue + ")");
    }
    return text;
}

void CExprEngine::ReplaceName(std::string& text, const std::string& name, const std::string& replacement)
{
    std::size_t from = 0;
    for (;;) {
        std::size_t p = gbk::FindChars(text, name, from);
        if (p == std::string::npos)
            break;
        const std::size_t end = p + name.size();
        // Only "]" of the neighbours can be the trail byte of a double-byte character.
        const bool before = p == 0 || (IsRefBefore(text[p - 1]) && (text[p - 1] != ']' || gbk::IsCharStart(text, p - 1)));
        const bool after = end == text.size() || IsRefAfter(text[end]);
        if (before && after) {
            text.replace(p, name.size(), replacement);
            // The search goes on behind the inserted value: a value that
            // holds its own name would otherwise be replaced without end.
            from = p + replacement.size();
        } else {
            from = p + name.size();
        }
        if (from > text.size())
            break;
    }
}

bool CExprEngine::SubstituteByName(const std::string& text, std::string& out) const
{
    const auto& table = m_State.RefTable();
    const CRefNames& names = m_State.RefNames();
    if (!names.Describes(table))
        return false;
    out.clear();
    const std::size_t n = text.size();
    std::size_t copied = 0;
    std::size_t start = 0;
    bool beforeOk = true;  // start of the text
    // The run [start, end) between delimiters is a name when the neighbours
    // allow one there and a table entry carries it.
    auto segment = [&](std::size_t end) {
        if (end > start && beforeOk && (end == n || IsRefAfter(text[end])) && CRefNames::IsRegularName(text.data() + start, end - start)) {
            const int id = names.Lookup(text.data() + start, end - start);
            if (id >= 0 && !names.TableRows(id).empty()) {
                const int entry = CRefNames::EntryOfRow(table, names.TableRows(id).front());
                if (entry < 0)
                    return false;
                const std::string& value = table[entry].m_strValue;
                for (char c : value)
                    if (gbk::IsAsciiLetter(c))
                        return false;
                out.append(text, copied, start - copied);
                out += '(';
                out += value;
                out += ')';
                copied = end;
            }
        }
        return true;
    };
    for (std::size_t i = 0; i < n;) {
        const std::size_t len = gbk::CharLength(text, i);
        if (len == 1 && (IsRefBefore(text[i]) || IsRefAfter(text[i]))) {
            if (!segment(i))
                return false;
            beforeOk = IsRefBefore(text[i]);
            start = i + 1;
        }
        i += len;
    }
    if (!segment(n))
        return false;
    out.append(text, copied, std::string::npos);
    return true;
}

std::string CExprEngine::PrepareExpression(const std::string& text)
{
    if (text.empty())  // nothing to prepare; an empty cell evaluates to nothing
        return text;
    struct SDepth {
        int& m_nDepth;
        explicit SDepth(int& d) : m_nDepth(d) { ++m_nDepth; }
        ~SDepth() { --m_nDepth; }
    } depth(m_nPrepareDepth);

    // A fresh calculation starts without messages, but only at the outermost
    // level: a function argument keeps what the arguments before it recorded.
    if (m_nPrepareDepth == 1) {
        m_State.ClearOutcome();
    }
    if (m_nPrepareDepth > MAX_NESTING) {
        m_State.RecordMessage(calctext::MSG_SYNTAX);
        return "0.0";
    }

    std::string substituted;
    // Names of other rows become their values before anything is checked.
    const std::string* pSource = &text;
    if (!m_State.RefTable().empty()) {
        if (!SubstituteByName(text, substituted))
            substituted = SubstituteReferences(text);
        pSource = &substituted;
    }
    const std::string& source = *pSource;
    // The annotation check works on the prepared text, which the function
    // pass below needs anyway.
    std::string t = PrepareForEvaluation(source);
    if (exprtext::CheckPreparedBrackets(t)) {
        m_State.RecordMessage(calctext::MSG_ANNOTATION);
        return "0.0";
    }
    if (CheckParentheses(source)) {
        m_State.RecordMessage(calctext::MSG_PARENTHESES);
        return "0.0";
    }
    bool letters = false;
    for (char c : t)
        letters = letters || gbk::IsAsciiLetter(c);
    if (letters)  // without letters there is no function name to lower or find
        t = ReduceFunctions(t);
    const int code = CheckSyntax(t);
    if (code == 0)
        return t;
    m_State.RecordMessage(code <= 3 ? calctext::MSG_SYNTAX : code - 1);
    return "0.0";
}

std::string CExprEngine::ReduceFunctions(const std::string& input)
{
    std::string text = input;
    gbk::LowerAsciiInPlace(text);  // function names are found in any case

    // The scan writes what it has passed into out and reads the rest from
    // text at pos. A value text never starts or ends with a letter, so no
    // name can fire inside it and the scan may go on right after it.
    std::string out;
    out.reserve(text.size());
    const std::size_t n = text.size();
    std::size_t pos = 0;
    while (pos + 2 < n) {  // position < current length - 2
        const SFunction* fn = FunctionCallAt(text, pos);
        if (!fn) {
            const std::size_t len = gbk::CharLength(text, pos);
            out.append(text, pos, len);
            pos += len;
            continue;
        }
        const std::size_t open = pos + fn->m_nLength;
        const std::size_t close = ClosingParenthesis(text, open);
        if (close == std::string::npos) {
            // No closing parenthesis: the name and its "(" become "0".
            out.push_back('0');
            pos = open + 1;
            continue;
        }
        // The argument's value, rounded through six decimals as the text it
        // is written back as would be.
        const std::string argument = text.substr(open + 1, close - open - 1);
        const std::string prepared = PrepareExpression(argument);
        const double x = ToNumber(FormatArgument(Evaluate(prepared)));
        double y = Finite(FunctionValue(fn->m_szName, x, m_State));
        if (y == 0)
            y = 0.0;  // never "-0.000000", which would read as a second sign

        // The value replaces the call; a negative one is written as (0-v) so
        // that it cannot follow an operator directly.
        if (y >= 0) {
            AppendFixed(out, y, 6);
        } else {
            out += "(0";
            AppendFixed(out, y, 6);
            out += ')';
        }
        pos = close + 1;
    }
    if (pos < n)
        out.append(text, pos, std::string::npos);
    return out;
}

double CExprEngine::Finite(double value)
{
    if (std::isfinite(value))
        return value;
    m_State.ShowNotice(calctext::TEXT_NOT_FINITE);
    m_State.MarkCalcFailed();
    return 0.0;
}

double CExprEngine::ApplyOperator(char op, double a, double b)
{
    switch (op) {
    case '+':
        return Finite(a + b);
    case '-':
        return Finite(a - b);
    case '*':
        return Finite(a * b);
    case '/':
        if (b == 0) {
            m_State.ShowNotice(calctext::TEXT_DIV_ZERO);
            m_State.MarkCalcFailed();
            return a;
        }
        return Finite((a * 1000 / b) * 0.001);
    case '^':
        if (b < 0) {
            m_State.ShowNotice(calctext::TEXT_POW_NEGATIVE);
            m_State.MarkCalcFailed();
            b = 0;
        }
        return Finite(std::pow(a, b));
    }
    return b;
}

// An operator leaving the evaluation stack takes the two topmost values.
void CExprEngine::ApplyStacked(char op)
{
    std::vector<double>& values = m_Values;
    if (op == '(') {  // an unmatched "(" drops the topmost value
        if (values.size() > 1)
            values.pop_back();
        return;
    }
    const double b = values.back();
    if (values.size() > 1)
        values.pop_back();
    else
        values.back() = 0.0;
    const double a = values.back();
    values.back() = ApplyOperator(op, a, b);
}

double CExprEngine::Evaluate(const std::string& text)
{
    // Operators are applied as they leave the operator stack, which is the
    // order of the postfix list. The value stack keeps 0.0 in slot 0: it is
    // what an expression without a number yields.
    std::vector<char>& ops = m_Ops;
    std::vector<double>& values = m_Values;
    ops.clear();
    values.clear();
    values.push_back(0.0);

    // Applies the stacked operators down to the first one below level.
    auto applyFrom = [&](int level) {
        while (!ops.empty() && Precedence(ops.back()) >= level) {
            ApplyStacked(ops.back());
            ops.pop_back();
        }
    };

    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const char c = text[i];
        if (gbk::IsAsciiDigit(c) || c == '.') {
            std::size_t j = i + 1;
            while (j < n && (gbk::IsAsciiDigit(text[j]) || text[j] == '.'))
                ++j;
            values.push_back(Finite(ReadNumber(text.data() + i, text.data() + j)));
            i = j;
            continue;
        }
        const std::size_t len = gbk::CharLength(text, i);
        i += len;
        if (len == 2)
            continue;  // a double-byte character is no operator
        switch (c) {
        case '(':
            ops.push_back(c);
            break;
        case ')':
            applyFrom(1);
            if (!ops.empty())
                ops.pop_back();
            break;
        case '+':
        case '-':
        case '*':
        case '/':
        case '^':
            // All operators are left-associative: those of the same or a
            // higher level go first.
            applyFrom(Precedence(c));
            ops.push_back(c);
            break;
        default:
            break;  // any other character is dropped
        }
    }
    applyFrom(0);
    return values.back();
}

double CExprEngine::ToNumber(const std::string& text)
{
    // atof on the texts the engine produces: an optional sign, digits and a
    // decimal point; the first character that does not fit ends the number.
    const char* p = text.c_str();
    const char* end = p + text.size();
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    const double v = ReadNumber(p, end);
    return negative ? -v : v;
}

std::string CExprEngine::FormatArgument(double value)
{
    std::string s;
    AppendFixed(s, value, 6);
    return s;
}

CExprEngine::SDigits CExprEngine::ScientificDigits(double value, int precision)
{
    SDigits d;
    const auto res = std::to_chars(d.m_szText, d.m_szText + sizeof d.m_szText - 1, value,
                                   std::chars_format::scientific, precision);
    if (res.ec != std::errc())
        return d;
    *res.ptr = '\0';
    // The text is "[-]d.ddd...e[+-]x".
    const char* p = d.m_szText;
    d.m_bNegative = *p == '-';
    if (d.m_bNegative)
        ++p;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p != '.')
            d.m_Digits[d.m_nCount++] = *p;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, d.m_nExponent);
    return d;
}

namespace {

// The digits of value (taken apart in sci) shown with decimals decimals,
// rounded half away from zero at the last one shown.
void KeepDigits(const CExprEngine::SDigits& sci, int decimals, char* kept, int& keptCount, int& intDigits)
{
    const char* digits = sci.m_Digits;
    const int count = sci.m_nCount;
    const int exponent = sci.m_nExponent;

    // The digits to keep: those of the integer part and the decimals.
    const int keep = exponent + 1 + decimals;
    keptCount = 0;
    intDigits = exponent + 1;
    if (keep <= 0) {
        // Everything lies beyond the last decimal shown; a first digit of 5
        // or more exactly at the rounding place still rounds up.
        const bool up = keep == 0 && digits[0] >= '5';
        intDigits = 1;
        for (int i = 0; i < 1 + decimals; ++i)
            kept[keptCount++] = '0';
        if (up)
            kept[keptCount - 1] = '1';
    } else {
        for (int i = 0; i < keep; ++i)
            kept[keptCount++] = i < count ? digits[i] : '0';
        if (keep < count && digits[keep] >= '5') {
            int i = keptCount - 1;
            while (i >= 0 && kept[i] == '9')
                kept[i--] = '0';
            if (i >= 0) {
                ++kept[i];
            } else {
                for (int k = keptCount; k > 0; --k)
                    kept[k] = kept[k - 1];
                kept[0] = '1';
                ++keptCount;
                ++intDigits;
            }
        }
        if (intDigits <= 0) {
            // 0.000ddd: leading zeros of the decimals.
            const int zeros = 1 - intDigits;
            for (int k = keptCount - 1; k >= 0; --k)
                kept[k + zeros] = kept[k];
            for (int k = 0; k < zeros; ++k)
                kept[k] = '0';
            keptCount += zeros;
            intDigits = 1;
        }
    }
}

}  // namespace

void CExprEngine::AppendFixed(std::string& out, double value, int decimals)
{
    // Fixed notation as the sheets have always shown it: the value is taken
    // to 17 significant digits and that decimal text is rounded half away
    // from zero, so 2.5 shows as 3 and 0.125 as 0.13 (a plain printf rounds
    // such exact halves to even).
    if (decimals < 0)
        decimals = 0;
    if (!std::isfinite(value)) {
        out += '0';
        return;
    }
    // 17 digits and a decimal exponent.
    const SDigits sci = ScientificDigits(value, 16);
    if (sci.m_nCount == 0) {
        out += '0';
        return;
    }
    // kept holds the digits shown, most significant first; intDigits of
    // them form the integer part (the rest are decimals).
    char kept[400];
    int keptCount = 0;
    int intDigits = 0;
    KeepDigits(sci, decimals, kept, keptCount, intDigits);
    if (sci.m_bNegative)
        out += '-';
    out.append(kept, kept + intDigits);
    if (decimals > 0) {
        out += '.';
        out.append(kept + intDigits, kept + keptCount);
    }
}

double CExprEngine::RoundHalfUp(double x, int n)
{
    double v = x;
    for (int i = 0; i < n; ++i)
        v *= 10;
    v = std::floor(v + 0.50000001);
    for (int i = 0; i < n; ++i)
        v *= 0.1;
    // A value too large to scale has no digits left to round.
    return std::isfinite(v) ? v : x;
}

std::string CExprEngine::FormatResult(const std::string& expr, double value, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > 6)
        decimals = 6;
    std::string out;
    out.reserve(expr.size() + 16);
    out += expr;
    out += '=';
    AppendFixed(out, RoundHalfUp(value, decimals + 1), decimals);
    return out;
}

std::string CExprEngine::EvaluateToResultText(const std::string& cleaned)
{
    const double value = Evaluate(PrepareExpression(cleaned));
    std::string result = FormatResult(cleaned, value, m_State.Decimals());
    // The message goes in front, where the user sees it first.
    if (!m_State.CalcError().empty())
        result.insert(0, m_State.CalcError());
    return result;
}

std::string CExprEngine::CalcExpressionText(const std::string& text)
{
    std::string t = CleanExpression(text);
    t.erase(FindResultSeparator(t));  // the old result is calculated anew
    return EvaluateToResultText(t);
}
