#include "core/engine/ExprText.h"

#include <cstring>
#include <vector>

#include "core/engine/CalcTexts.h"
#include "core/engine/GbkText.h"

namespace exprtext {

namespace {

bool IsDigit(char c) { return gbk::IsAsciiDigit(c); }

// Deletes spaces and line feeds. Both are below 0x40 and therefore never part
// of a double-byte character.
void DeleteSpacesAndLineFeeds(std::string& text)
{
    std::size_t w = 0;
    for (char c : text)
        if (c != ' ' && c != '\n')
            text[w++] = c;
    text.resize(w);
}

// The annotation strip. A "[" met outside starts an annotation that ends at
// the next "]" and is removed whole; a "[" met inside restarts it just after
// that inner "[", which stays. Removing text and rescanning from the start
// yields the same state at the point of removal as before it, so the scan can
// go on from there.
//
// When lastEq is given, it receives the input position of the last "=" that
// survives, or npos.
std::string Strip(const std::string& text, std::size_t* lastEq)
{
    if (text.find('[') == std::string::npos) {
        // Nothing to strip; "=" is below 0x40 and never a trail byte.
        if (lastEq)
            *lastEq = text.rfind('=');
        return text;
    }
    std::string out;
    out.reserve(text.size());
    bool inside = false;
    bool markAtOpen = false;                               // mark is the opening "[" itself (not just after an inner one)
    std::size_t mark = 0;                                  // where a "]" starts deleting
    std::vector<std::pair<std::size_t, std::size_t>> eqs;  // (out position, input position)
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        if (gbk::CharLength(text, i) == 2) {
            out.append(text, i, 2);
            i += 2;
            continue;
        }
        const char c = text[i];
        if (c == '[') {
            markAtOpen = !inside;
            inside = true;
            mark = out.size() + (markAtOpen ? 0 : 1);
            out.push_back(c);
        } else if (c == ']' && inside) {
            out.resize(mark);
            while (!eqs.empty() && eqs.back().first >= mark)
                eqs.pop_back();
            // Outside again when the cut took the opening "["; otherwise the
            // inner "[" stays and the scan is still inside just after it.
            inside = !markAtOpen;
        } else {
            if (c == '=' && lastEq)
                eqs.emplace_back(out.size(), i);
            out.push_back(c);
        }
        i += 1;
    }
    if (lastEq)
        *lastEq = eqs.empty() ? std::string::npos : eqs.back().second;
    return out;
}

}  // namespace

std::string StripAnnotations(const std::string& text)
{
    return Strip(text, nullptr);
}

void FixPairsAndPoints(std::string& text)
{
    // Without an empty pair, a point between two digits is all the scan can
    // meet and it changes nothing: the common case.
    bool work = false;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n && !work; ++i) {
        if (text[i] == '.')
            work = i == 0 || i + 1 == n || !IsDigit(text[i - 1]) || !IsDigit(text[i + 1]);
        else if (text[i] == '(')
            work = i + 1 < n && text[i + 1] == ')';
    }
    if (!work)
        return;

    // A gap buffer: out holds the text before the scan position, rev the
    // text from it on in reverse order, so that stepping back is cheap.
    std::string out;
    out.reserve(text.size() + 8);
    std::string rev(text.rbegin(), text.rend());
    auto stepBack = [&]() {
        rev.push_back(out.back());
        out.pop_back();
    };
    while (!rev.empty()) {
        const std::size_t r = rev.size();
        if (rev[r - 1] == '(' && r > 2 && rev[r - 2] == ')') {
            rev.resize(r - 2);
            for (int k = 0; k < 2 && !out.empty(); ++k)
                stepBack();
        }
        if (!rev.empty() && rev.back() == '.') {
            if (out.empty() || !IsDigit(out.back()))
                out.push_back('0');
            if (rev.size() == 1 || !IsDigit(rev[rev.size() - 2])) {
                rev.pop_back();
                stepBack();
            }
        }
        if (!rev.empty()) {
            out.push_back(rev.back());
            rev.pop_back();
        }
    }
    text.swap(out);
}

std::string CleanExpression(const std::string& input)
{
    // An earlier calculation's message is not part of the expression: the
    // first occurrence of each of the first eight messages goes. Every
    // message starts with "["; the text is copied only when one is there.
    std::string removed;
    const std::string* source = &input;
    if (input.find('[') != std::string::npos) {
        for (int k = 0; k < 8; ++k) {
            const char* msg = calctext::CALC_MESSAGES[k];
            const std::size_t len = std::strlen(msg);
            if (source->find(msg, 0, len) == std::string::npos)
                continue;
            if (source == &input) {
                removed = input;
                source = &removed;
            }
            const std::size_t pos = gbk::FindChars(removed, std::string(msg, len));
            if (pos != std::string::npos)
                removed.erase(pos, len);
        }
    }
    const std::string& text = *source;
    // In one pass: lower-case letters, full-width punctuation, no
    // spaces or line feeds. The mapped characters are neither letters nor
    // spaces, so the order of the three passes does not matter.
    std::string out;
    out.reserve(text.size());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        if (gbk::CharLength(text, i) == 2) {
            char mapped = 0;
            const unsigned char lead = static_cast<unsigned char>(text[i]);
            for (const auto& fw : calctext::FULL_WIDTH) {
                if (lead != 0xA1 && lead != 0xA3)
                    break;  // every mapped character has one of these two lead bytes
                if (text[i] == fw.m_szWide[0] && text[i + 1] == fw.m_szWide[1]) {
                    mapped = fw.m_cAscii;
                    break;
                }
            }
            if (mapped)
                out.push_back(mapped);
            else
                out.append(text, i, 2);
            i += 2;
            continue;
        }
        char c = text[i++];
        if (c == ' ' || c == '\n')
            continue;
        out.push_back(gbk::ToLowerAscii(c));
    }
    // Typing slips such as "()" and stray points are mended last, on the
    // text as it will be stored.
    FixPairsAndPoints(out);
    return out;
}

std::string PrepareForEvaluation(const std::string& input)
{
    std::string text;
    if (input.find_first_of(" \n") == std::string::npos) {
        text = Strip(input, nullptr);  // no blanks to delete: only the annotations go
    } else {
        text = input;
        DeleteSpacesAndLineFeeds(text);
        if (text.find('[') != std::string::npos)
            text = Strip(text, nullptr);  // annotations take no part in the arithmetic
    }
    FixPairsAndPoints(text);
    // A sign after "(" becomes a subtraction from 0: "(-" reads "(0-".
    std::string out;
    if (text.find("(-") == std::string::npos) {
        out.swap(text);
    } else {
        out.reserve(text.size() + 4);
        for (std::size_t k = 0; k < text.size(); ++k) {
            out.push_back(text[k]);
            if (text[k] == '(' && k + 1 < text.size() && text[k + 1] == '-')
                out.push_back('0');
        }
    }
    if (out.empty())  // an expression of annotations only counts as 0
        out = "0.0";
    if (out[0] == '-')  // a leading sign, too, is a subtraction from 0
        out.insert(out.begin(), '0');
    return out;
}

std::size_t FindResultSeparator(const std::string& text)
{
    if (text.find('=') == std::string::npos)
        return text.size();
    std::size_t pos = std::string::npos;
    Strip(text, &pos);
    return pos == std::string::npos ? text.size() : pos;
}

std::string ValueAfterSeparator(const std::string& text)
{
    std::size_t pos = FindResultSeparator(text);
    return pos < text.size() ? text.substr(pos + 1) : text;
}

int CheckAnnotations(const std::string& input)
{
    return CheckPreparedBrackets(PrepareForEvaluation(input));
}

int CheckPreparedBrackets(const std::string& text)
{
    if (text.find_first_of("[]") == std::string::npos)
        return 0;
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); i += gbk::CharLength(text, i)) {
        if (gbk::CharLength(text, i) == 2)
            continue;
        if (text[i] == '[') {
            if (++depth > 1)
                return 1;
        } else if (text[i] == ']') {
            if (--depth < 0)
                return 1;
        }
    }
    return depth > 0 ? 1 : 0;
}

int CheckParentheses(const std::string& text)
{
    long depth = 0;
    for (char c : text) {
        if (c == '(')
            ++depth;
        else if (c == ')' && --depth < 0)
            return 1;
    }
    return depth != 0 ? 1 : 0;
}

int CheckSyntax(const std::string& text)
{
    // Every character the tests look for except "^" is below 0x40 and so
    // never part of a double-byte character; a lead byte fails the first test
    // at its own position, which comes before its trail byte. Only the point
    // scan looks past a lead byte, and it steps over the whole character.
    const long L = static_cast<long>(text.size());
    if (L == 0)
        return 1;
    const char first = text[0];
    if (first != '(' && first != '.' && !IsDigit(first))
        return 1;
    const char last = text[L - 1];
    if (last != ')' && last != '.' && !IsDigit(last))
        return 2;
    for (long i = 0; i < L; ++i) {
        const char c = text[i];
        const bool op = IsOperator(c);
        const bool digit = IsDigit(c);
        if (!digit && !op && c != '.' && c != '(' && c != ')')
            return 3;
        if (i > 0 && digit && text[i - 1] == ')')
            return 4;
        if (i < L - 2 && digit && text[i + 1] == '(')
            return 5;
        if (op) {
            if (i < L - 1 && IsOperator(text[i + 1]))
                return 6;
            if (i > 0 && text[i - 1] == '(')
                return 7;
            if (i < L - 1 && text[i + 1] == ')')
                return 7;
            if (i > 1 && text[i - 1] == '.' && !IsDigit(text[i - 2]))
                return 7;
            if (i < L - 2 && text[i + 1] == '.' && !IsDigit(text[i + 2]))
                return 7;
        }
        if (c == '.' && i < L - 2) {
            // A double-byte character neither ends the run nor counts as a
            // point, even when its trail byte reads as "^".
            for (long k = i + 1; k < L; k += static_cast<long>(gbk::CharLength(text, static_cast<std::size_t>(k)))) {
                const char d = text[k];
                if (gbk::CharLength(text, static_cast<std::size_t>(k)) == 2)
                    continue;
                if (d == '.')
                    return 8;
                if (d == '(' || d == ')' || IsOperator(d))
                    break;
            }
        }
    }
    return 0;
}

}  // namespace exprtext
