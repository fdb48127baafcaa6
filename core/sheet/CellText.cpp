#include "core/sheet/CellText.h"

#include "core/engine/CalcTexts.h"
#include "core/engine/ExprText.h"
#include "core/engine/GbkText.h"

namespace celltext {

namespace {

const int WRAP_WIDTH[6] = {0, 12, 14, 48, 8, 6};

bool IsNumberChar(char c) { return gbk::IsAsciiDigit(c) || c == '.'; }

bool IsOperandNeighbour(char c)
{
    return c == '*' || c == '/' || c == '+' || c == '-' || c == '(' || c == ')' || c == '=';
}

// Where a line that has reached `width` bytes at i may end instead: the
// last place before i that is not inside a number nor inside a double-byte
// character; npos when the line holds none.
std::size_t NumberSafeBreak(const std::string& text, std::size_t i, std::size_t width)
{
    for (std::size_t back = 1; back < width && back <= i; ++back) {
        const std::size_t j = i - back;
        if (IsNumberChar(text[j]) && IsNumberChar(text[j + 1]))
            continue;
        if (gbk::IsCharStart(text, j + 1))
            return j + 1;
    }
    return std::string::npos;
}

}  // namespace

int WrapWidth(int col)
{
    return (col >= 0 && col < 6) ? WRAP_WIDTH[col] : 0;
}

std::string WrapCellText(const std::string& text, int width)
{
    std::string out = text;
    if (width <= 0)
        return out;
    const std::size_t w = static_cast<std::size_t>(width);
    // line: bytes of the current line up to its last single-byte character;
    // pending: bytes of double-byte characters met since; since: bytes
    // scanned since the last break.
    std::size_t line = 0, pending = 0, since = 0;
    bool inTrail = false;
    std::size_t i = 0;
    auto endLineBefore = [&](std::size_t pos) {
        out.insert(pos, 1, '\n');
        line = pending = since = 0;
        inTrail = false;
    };
    while (i < out.size()) {
        const bool isLead = !inTrail && gbk::CharLength(out, i) == 2;
        const bool isDouble = inTrail || isLead;
        const bool isLast = i + 1 == out.size();
        if (!isDouble) {
            line += pending + 1;
            pending = 0;
        } else {
            pending += 1;
        }
        // A line ends after a semicolon, and after the second byte of a
        // character that reaches the width (unless the text ends there).
        const bool reached = inTrail && line + pending >= w;
        if (reached && isLast)
            break;
        if (reached || (!isDouble && out[i] == ';')) {
            endLineBefore(i + 1);
            i += 2;
            continue;
        }
        if (isLead && line + pending >= w) {
            // The first byte of a character that would reach the width: the
            // whole character goes to the next line.
            endLineBefore(i);
            pending = 1;
            i += 2;  // the second byte of the moved character
            inTrail = true;
            continue;
        }
        since += 1;
        const std::size_t pos = since >= w ? NumberSafeBreak(out, i, w) : std::string::npos;
        if (pos != std::string::npos) {
            endLineBefore(pos);
            // The first character of the new line is not counted.
            const std::size_t first = pos + 1;
            i = first + (first < out.size() ? gbk::CharLength(out, first) : 1);
            continue;
        }
        inTrail = isLead;
        i += 1;
    }
    return out;
}

std::string MakeRefName(const std::string& cleaned)
{
    std::string name;
    for (std::size_t i = 0; i < cleaned.size();) {
        const std::size_t len = gbk::CharLength(cleaned, i);
        // Only ASCII letters and digits can be typed into an expression.
        if (len == 1 && (gbk::IsAsciiLetter(cleaned[i]) || gbk::IsAsciiDigit(cleaned[i])))
            name.push_back(cleaned[i]);
        i += len;
    }
    std::size_t first = 0;  // a name starts with a letter, or it would read as a number
    while (first < name.size() && !gbk::IsAsciiLetter(name[first]))
        ++first;
    name.erase(0, first);
    if (name.size() > 6)  // names are short by design: six characters at most
        name.resize(6);
    gbk::LowerAsciiInPlace(name);
    return name;
}

bool IsFunctionName(const std::string& name)
{
    static const char* const FUNCTIONS[] = {"log", "sin", "cos", "tan", "ctg", "sqrt"};
    for (const char* pFunction : FUNCTIONS)
        if (name == pFunction)
            return true;
    return false;
}

std::string WithoutLineBreaks(const std::string& text)
{
    if (text.find('\n') == std::string::npos)
        return text;
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\n')
            out.push_back(c);
    return out;
}

std::string ValueOrZero(const std::string& formula)
{
    const std::size_t pos = exprtext::FindResultSeparator(formula);
    if (pos + 1 >= formula.size())
        return "0";
    return formula.substr(pos + 1);
}

const std::string& CircularMessage()
{
    static const std::string message = calctext::CALC_MESSAGES[calctext::MSG_CIRCULAR];
    return message;
}

bool HasCircularMessage(const std::string& text)
{
    return text.size() >= CircularMessage().size() && gbk::FindChars(text, CircularMessage()) != std::string::npos;
}

void RemoveCircularMessage(std::string& text)
{
    const std::string& msg = CircularMessage();
    for (std::size_t p = gbk::FindChars(text, msg); p != std::string::npos; p = gbk::FindChars(text, msg, p))
        text.erase(p, msg.size());
}

bool OccursAsOperand(const std::string& prepared, const std::string& name)
{
    if (name.empty())
        return false;
    for (std::size_t p = prepared.find(name); p != std::string::npos; p = prepared.find(name, p + 1)) {
        const std::size_t end = p + name.size();
        if ((p == 0 || IsOperandNeighbour(prepared[p - 1])) && end < prepared.size() && IsOperandNeighbour(prepared[end]))
            return true;
    }
    return false;
}

}  // namespace celltext
