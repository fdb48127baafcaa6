#include "core/export/LiveSheet.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unordered_map>

#include <xlsxwriter.h>

#include "core/document/FileOps.h"
#include "core/edit/SummaryItems.h"
#include "core/engine/CalcTexts.h"
#include "core/engine/ExprEngine.h"
#include "core/engine/ExprText.h"
#include "core/engine/GbkText.h"
#include "core/export/ExportText.h"
#include "core/sheet/CellText.h"
#include "core/sheet/RefIndex.h"
#include "core/sheet/SheetGrid.h"
#include "core/text/TextCodec.h"

namespace livesheet {

namespace {

const double PI = 3.14159265358979323846;
// Excel keeps a formula to 8192 characters.
const std::size_t MAX_FORMULA = 8000;
// Deeper nesting than this is left as a plain value rather than parsed.
const int MAX_DEPTH = 200;
// Columns of the export of all rows.
enum { X_SEQ,
       X_POSITION,
       X_SIZE,
       X_FORMULA,
       X_UNIT,
       X_QUANTITY,
       X_COLS };

// A plain decimal number ("12", "-3.50"): its value and decimals.
bool PlainNumber(const std::string& text, double& value, int& decimals)
{
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-')
        ++i;
    const std::size_t digits = i;
    while (i < text.size() && gbk::IsAsciiDigit(text[i]))
        ++i;
    if (i == digits)
        return false;
    decimals = 0;
    if (i < text.size() && text[i] == '.') {
        const std::size_t point = ++i;
        while (i < text.size() && gbk::IsAsciiDigit(text[i]))
            ++i;
        decimals = static_cast<int>(i - point);
        if (decimals == 0 || decimals > 15)
            return false;
    }
    if (i != text.size() || text.size() > 40)
        return false;
    const auto res = std::from_chars(text.data() + (text[0] == '-' ? 1 : 0), text.data() + text.size(), value,
                                     std::chars_format::fixed);
    if (res.ec != std::errc())
        return false;
    if (text[0] == '-')
        value = -value;
    return true;
}

std::string NumberText(double value)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    std::string text(buf, res.ptr);
    for (char& c : text)
        if (c == 'e')
            c = 'E';
    return text;
}

std::string CellName(int col, int sheetRow)
{
    return std::string(1, static_cast<char>('A' + col)) + std::to_string(sheetRow + 1);
}

// An Excel string literal.
std::string Literal(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        out.push_back(c);
        if (c == '"')
            out.push_back('"');
    }
    return out + "\"";
}

// FIXED(value, decimals, TRUE) as Excel shows it.
std::string FixedText(double value, int decimals)
{
    double rounded = ExcelRound(value, decimals);
    if (rounded == 0)
        rounded = 0.0;
    std::string out;
    CExprEngine::AppendFixed(out, rounded, decimals);
    return out;
}

// --- expressions ---------------------------------------------------------------

// The names of a cleaned expression replaced as the engine replaces them,
// each by "(" + marker + ")" instead of "(" + value + ")": the marker
// (\x01, the entry's index, \x02) stands for the cell of the named row.
std::string MarkReferences(const std::string& input, const std::vector<CRefEntry>& table)
{
    std::string text = input;
    for (std::size_t k = 0; k < table.size(); ++k) {
        const std::string& name = table[k].m_strName;
        if (!name.empty() && text.find(name) != std::string::npos)
            CExprEngine::ReplaceName(text, name, "(\x01" + std::to_string(k) + "\x02)");
    }
    return text;
}

// MarkReferences for a whole sheet. Where every name is regular (ASCII
// letters and digits), a name can only match a whole run of text between
// the characters that may stand around it, so one scan of the text and one
// lookup per run give the same result as trying every name.
class CNameMarker {
public:
    explicit CNameMarker(const std::vector<CRefEntry>& table) : m_Table(table)
    {
        for (std::size_t k = 0; k < table.size(); ++k) {
            const std::string& name = table[k].m_strName;
            if (name.empty())
                continue;
            m_bRegular = m_bRegular && CRefIndex::IsRegularName(name);
            m_First.emplace(name, k);  // the first entry of a name replaces it
        }
    }

    std::string Mark(const std::string& text) const
    {
        if (!m_bRegular)
            return MarkReferences(text, m_Table);
        if (m_First.empty())
            return text;
        std::string out;
        out.reserve(text.size() + 8);
        std::size_t start = 0;
        char left = 0;
        auto flush = [&](std::size_t end, char right) {
            if (end == start)
                return;
            const bool bLeft = left == 0 || (left != '=' && left != '[');
            const bool bRight = right == 0 || right != ']';
            if (bLeft && bRight) {
                auto found = m_First.find(text.substr(start, end - start));
                if (found != m_First.end()) {
                    out += "(\x01" + std::to_string(found->second) + "\x02)";
                    return;
                }
            }
            out.append(text, start, end - start);
        };
        for (std::size_t i = 0; i < text.size();) {
            const std::size_t len = gbk::CharLength(text, i);
            const char c = text[i];
            if (len == 1 && std::strchr("*/+-()]=[", c)) {
                flush(i, c);
                out.push_back(c);
                left = c;
                start = i + 1;
            }
            i += len;
        }
        flush(text.size(), 0);
        return out;
    }

private:
    const std::vector<CRefEntry>& m_Table;
    bool m_bRegular = true;
    std::unordered_map<std::string, std::size_t> m_First;
};

struct SNode {
    char m_cKind = 'n';  // n number, r reference, f function, g parentheses, b operator
    double m_dValue = 0.0;
    int m_nRow = 0;  // r: the sheet row
    std::string m_strFunction;
    char m_cOp = 0;
    int m_nLeft = -1, m_nRight = -1;  // b: operands; g, f: the inner node
};

// A parser of prepared expressions with the engine's grammar: + and - below
// * and /, below ^, all of them left-associative. Anything the engine would
// read in its own way (digits run into a function value, letters that are
// no function, nesting too deep) is refused, and the row keeps its value.
class CParser {
public:
    CParser(const std::string& text, const std::vector<CRefEntry>& table) : m_Text(text), m_Table(table) {}

    bool Parse(int& root)
    {
        root = Sum(0);
        return root >= 0 && m_nPos == m_Text.size();
    }
    const std::vector<SNode>& Nodes() const { return m_Nodes; }

private:
    int Add(SNode node)
    {
        m_Nodes.push_back(std::move(node));
        return static_cast<int>(m_Nodes.size()) - 1;
    }
    char Peek() const { return m_nPos < m_Text.size() ? m_Text[m_nPos] : '\0'; }

    int Binary(int depth, int (CParser::*operand)(int), const char* ops)
    {
        int left = (this->*operand)(depth);
        while (left >= 0 && Peek() && std::strchr(ops, Peek())) {
            SNode node;
            node.m_cKind = 'b';
            node.m_cOp = m_Text[m_nPos++];
            node.m_nLeft = left;
            node.m_nRight = (this->*operand)(depth);
            if (node.m_nRight < 0)
                return -1;
            left = Add(std::move(node));
        }
        return left;
    }
    int Sum(int depth) { return depth > MAX_DEPTH ? -1 : Binary(depth, &CParser::Product, "+-"); }
    int Product(int depth) { return Binary(depth, &CParser::Power, "*/"); }
    int Power(int depth) { return Binary(depth, &CParser::Primary, "^"); }

    int Primary(int depth)
    {
        const char c = Peek();
        SNode node;
        if (gbk::IsAsciiDigit(c) || c == '.') {
            const std::size_t start = m_nPos;
            while (gbk::IsAsciiDigit(Peek()) || Peek() == '.')
                ++m_nPos;
            const auto res = std::from_chars(m_Text.data() + start, m_Text.data() + m_nPos, node.m_dValue,
                                             std::chars_format::fixed);
            if (res.ec != std::errc() || res.ptr != m_Text.data() + m_nPos || !std::isfinite(node.m_dValue))
                return -1;
            return Add(std::move(node));
        }
        if (c == '\x01') {
            const std::size_t close = m_Text.find('\x02', m_nPos);
            if (close == std::string::npos)
                return -1;
            const std::size_t index = std::strtoul(m_Text.c_str() + m_nPos + 1, nullptr, 10);
            m_nPos = close + 1;
            if (index >= m_Table.size())
                return -1;
            node.m_cKind = 'r';
            node.m_nRow = m_Table[index].m_nRow;
            return Add(std::move(node));
        }
        if (gbk::IsAsciiLower(c)) {
            const std::size_t start = m_nPos;
            while (gbk::IsAsciiLower(Peek()))
                ++m_nPos;
            node.m_strFunction = m_Text.substr(start, m_nPos - start);
            static const char* const FUNCTIONS[] = {"log", "sin", "cos", "tan", "ctg", "sqrt"};
            if (std::none_of(std::begin(FUNCTIONS), std::end(FUNCTIONS),
                             [&](const char* f) { return node.m_strFunction == f; })
                || Peek() != '(')
                return -1;
            node.m_cKind = 'f';
        } else if (c == '(') {
            node.m_cKind = 'g';
        } else {
            return -1;
        }
        ++m_nPos;  // "("
        node.m_nLeft = Sum(depth + 1);
        if (node.m_nLeft < 0 || Peek() != ')')
            return -1;
        ++m_nPos;
        return Add(std::move(node));
    }

    const std::string& m_Text;
    const std::vector<CRefEntry>& m_Table;
    std::size_t m_nPos = 0;
    std::vector<SNode> m_Nodes;
};

// Excel's value of a function the sheet knows (angles in degrees, the
// result rounded as the sheet shows it); false where Excel gives an error.
bool ExcelFunction(const std::string& f, double a, double& out)
{
    double result = 0.0;
    if (f == "log") {
        if (a <= 0)
            return false;
        result = std::log(a);
    } else if (f == "sqrt") {
        if (a < 0)
            return false;
        result = std::sqrt(a);
    } else if (f == "sin") {
        result = std::sin(a * PI / 180);
    } else if (f == "cos") {
        result = std::cos(a * PI / 180);
    } else if (f == "tan") {
        result = std::tan(a * PI / 180);
    } else {
        const double t = std::tan(a * PI / 180);
        if (t == 0)
            return false;
        result = 1 / t;
    }
    out = ExcelRound(result, 6);
    return std::isfinite(out);
}

// Excel's value of a binary operator; false where Excel gives an error.
bool ExcelOperator(char op, double a, double b, double& out)
{
    switch (op) {
    case '+': out = a + b; break;
    case '-': out = a - b; break;
    case '*': out = a * b; break;
    case '/':
        if (b == 0)
            return false;
        out = a / b;
        break;
    default:
        if (a == 0 && b <= 0)
            return false;
        out = std::pow(a, b);
        break;
    }
    return std::isfinite(out);
}

// The value Excel computes for a node, the referenced cells holding
// values[row]; false where Excel would give an error.
bool ExcelValue(const std::vector<SNode>& nodes, int n, const std::vector<double>& values, double& out)
{
    const SNode& node = nodes[n];
    double a = 0.0, b = 0.0;
    switch (node.m_cKind) {
    case 'n':
        out = node.m_dValue;
        return true;
    case 'r':
        if (node.m_nRow < 0 || node.m_nRow >= static_cast<int>(values.size()))
            return false;
        out = values[node.m_nRow];
        return true;
    case 'g':
        return ExcelValue(nodes, node.m_nLeft, values, out);
    case 'f':
        return ExcelValue(nodes, node.m_nLeft, values, a) && ExcelFunction(node.m_strFunction, a, out);
    default:
        return ExcelValue(nodes, node.m_nLeft, values, a) && ExcelValue(nodes, node.m_nRight, values, b) && ExcelOperator(node.m_cOp, a, b, out);
    }
}

void Emit(const std::vector<SNode>& nodes, int n, std::string& out)
{
    const SNode& node = nodes[n];
    switch (node.m_cKind) {
    case 'n': out += NumberText(node.m_dValue); return;
    case 'r': out += CellName(X_QUANTITY, node.m_nRow); return;
    case 'g': {
        const char inner = nodes[node.m_nLeft].m_cKind;
        const bool bKeep = inner == 'b';
        if (bKeep)
            out += '(';
        Emit(nodes, node.m_nLeft, out);
        if (bKeep)
            out += ')';
        return;
    }
    case 'f': {
        const std::string& f = node.m_strFunction;
        out += "ROUND(";
        if (f == "log")
            out += "LN(";
        else if (f == "sqrt")
            out += "SQRT(";
        else if (f == "ctg")
            out += "1/TAN(RADIANS(";
        else
            out += (f == "sin" ? "SIN" : f == "cos" ? "COS"
                                                    : "TAN")
                + std::string("(RADIANS(");
        Emit(nodes, node.m_nLeft, out);
        out += (f == "log" || f == "sqrt") ? ")" : "))";
        out += ",6)";
        return;
    }
    default:
        Emit(nodes, node.m_nLeft, out);
        out += node.m_cOp;
        Emit(nodes, node.m_nRight, out);
        return;
    }
}

void CollectRows(const std::vector<SNode>& nodes, std::vector<int>& rows)
{
    for (const SNode& node : nodes)
        if (node.m_cKind == 'r')
            rows.push_back(node.m_nRow);
}

bool HasCalcMessage(const std::string& text)
{
    if (text.find('[') == std::string::npos)
        return false;
    for (const char* msg : calctext::CALC_MESSAGES)
        if (text.find(msg) != std::string::npos)
            return true;
    return false;
}

// The quantity cell of calculation row r.
struct SRowFormula {
    std::string m_strFormula;  // empty: the plain value
    std::vector<int> m_Uses;   // rows whose quantity the formula reads
};

SRowFormula RowFormula(const SheetGrid& grid, int r, const std::vector<CRefEntry>& table, const CNameMarker& marker,
                       const std::vector<double>& values)
{
    SRowFormula result;
    const std::string text = celltext::WithoutLineBreaks(grid.TextMatrix(r, COL_FORMULA));
    if (grid.BackColorAt(r, COL_FORMULA) != 0 || HasCalcMessage(text))
        return result;  // an error or a corrected argument: the value stays
    const std::size_t sep = exprtext::FindResultSeparator(text);
    double shown = 0.0;
    int decimals = 0;
    if (sep >= text.size() || !PlainNumber(text.substr(sep + 1), shown, decimals) || decimals > 6)
        return result;
    std::string expr = exprtext::CleanExpression(text);
    expr.erase(exprtext::FindResultSeparator(expr));
    const std::string marked = marker.Mark(expr);
    const std::string prepared = exprtext::PrepareForEvaluation(marked);
    if (exprtext::CheckPreparedBrackets(prepared) || exprtext::CheckParentheses(marked))
        return result;
    CParser parser(prepared, table);
    int root = -1;
    if (!parser.Parse(root))
        return result;
    double value = 0.0;
    if (!ExcelValue(parser.Nodes(), root, values, value) || ExcelRound(value, decimals) != ExcelRound(shown, decimals))
        return result;
    std::string formula = "=ROUND(";
    Emit(parser.Nodes(), root, formula);
    formula += "," + std::to_string(decimals) + ")";
    if (formula.size() > MAX_FORMULA)
        return result;
    result.m_strFormula = std::move(formula);
    CollectRows(parser.Nodes(), result.m_Uses);
    return result;
}

// The totals text of the summary row r as a text formula over its rows
// ("cat=" & FIXED(SUMPRODUCT(--EXACT(C..,"cat"),F..),d,TRUE) & ";" ...),
// or empty when the formula would not give the text exactly.
std::string TotalsFormula(const SheetGrid& grid, int r, const std::vector<double>& values)
{
    const std::string text = celltext::WithoutLineBreaks(grid.TextMatrix(r, COL_FORMULA));
    const int a = r + 1;
    const int b = CSummaryItems::ItemEnd(grid, r);
    if (text.empty() || b < a)
        return std::string();
    const std::string cRange = CellName(X_SIZE, a) + ":" + CellName(X_SIZE, b);
    const std::string fRange = CellName(X_QUANTITY, a) + ":" + CellName(X_QUANTITY, b);
    std::string formula = "=";
    std::string literal;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t semi = text.find(';', pos);
        const bool bLast = semi == std::string::npos;
        if (bLast)
            semi = text.size();
        const std::string piece = text.substr(pos, semi - pos);
        const std::size_t eq = piece.find('=');
        double amount = 0.0;
        int decimals = 0;
        if (eq == std::string::npos || !PlainNumber(piece.substr(eq + 1), amount, decimals) || decimals > 6)
            return std::string();
        const std::string category = piece.substr(0, eq);
        double sum = 0.0;
        for (int row = a; row <= b; ++row)
            if (celltext::WithoutLineBreaks(grid.TextMatrix(row, COL_SIZE)) == category)
                sum += values[row];
        if (FixedText(sum, decimals) != piece.substr(eq + 1))
            return std::string();
        literal += category + "=";
        formula += Literal(literal) + "&FIXED(SUMPRODUCT(--EXACT(" + cRange + "," + Literal(category) + ")," + fRange + ")," + std::to_string(decimals) + ",TRUE)";
        literal.clear();
        if (!bLast) {
            literal = ";";
            formula += "&";
        }
        pos = semi + 1;
    }
    if (!literal.empty())
        formula += Literal(literal);
    return formula.size() > MAX_FORMULA ? std::string() : formula;
}

// Rows whose formulas read each other in a circle lose their formulas.
void BreakCycles(std::vector<SRowFormula>& formulas)
{
    const int n = static_cast<int>(formulas.size());
    std::vector<char> state(static_cast<std::size_t>(n), 0);  // 0 new, 1 on the path, 2 done
    std::vector<std::pair<int, std::size_t>> stack;
    for (int start = 0; start < n; ++start) {
        if (state[start] || formulas[start].m_strFormula.empty())
            continue;
        stack.emplace_back(start, 0);
        state[start] = 1;
        while (!stack.empty()) {
            auto& [row, next] = stack.back();
            const std::vector<int>& uses = formulas[row].m_Uses;
            if (next < uses.size()) {
                const int to = uses[next++];
                if (to < 0 || to >= n || formulas[to].m_strFormula.empty())
                    continue;
                if (state[to] == 1) {
                    // Every row on the path from `to` to here is in the circle.
                    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
                        formulas[it->first].m_strFormula.clear();
                        if (it->first == to)
                            break;
                    }
                } else if (state[to] == 0) {
                    state[to] = 1;
                    stack.emplace_back(to, 0);
                }
                continue;
            }
            state[row] = 2;
            stack.pop_back();
        }
    }
}

// A cell text for the workbook: UTF-8, at most the characters a cell holds.
CUtf8Text CellUtf8(const std::string& gbk)
{
    const std::size_t MAX_CELL = 32767;
    if (gbk.size() <= MAX_CELL)
        return textcodec::GbkToUtf8(gbk);
    return textcodec::GbkToUtf8(gbk.substr(0, gbk::ClipLength(gbk, MAX_CELL)));
}

SCell TextCell(const std::string& text)
{
    SCell cell;
    if (!text.empty()) {
        cell.m_eKind = SCell::TEXT;
        cell.m_strText = text;
    }
    return cell;
}

// An item number that reads as a whole number is written as one.
SCell SeqCell(const std::string& text)
{
    SCell cell = TextCell(text);
    if (!text.empty() && text.size() <= 9 && std::all_of(text.begin(), text.end(), gbk::IsAsciiDigit) && (text[0] != '0' || text.size() == 1)) {
        cell.m_eKind = SCell::NUMBER;
        cell.m_dValue = std::strtod(text.c_str(), nullptr);
        cell.m_nDecimals = 0;
    }
    return cell;
}

std::vector<int> WidthsOf(const std::vector<std::vector<SCell>>& rows, std::size_t columns)
{
    std::vector<std::vector<std::string>> texts;
    texts.reserve(rows.size());
    for (const auto& row : rows) {
        std::vector<std::string> line;
        line.reserve(row.size());
        for (const SCell& cell : row) {
            if (cell.m_eKind == SCell::TEXT || (cell.m_eKind == SCell::FORMULA && cell.m_bTextResult)) {
                line.push_back(cell.m_strText);
            } else if (cell.m_eKind == SCell::EMPTY) {
                line.emplace_back();
            } else {
                std::string shown;
                CExprEngine::AppendFixed(shown, cell.m_dValue, std::max(cell.m_nDecimals, 0));
                line.push_back(std::move(shown));
            }
        }
        texts.push_back(std::move(line));
    }
    return exporttext::FittedWidths(texts, columns);
}

}  // namespace

double ExcelRound(double value, int decimals)
{
    if (!std::isfinite(value) || value == 0)
        return value;
    const CExprEngine::SDigits sci = CExprEngine::ScientificDigits(value, 14);
    const char* digits = sci.m_Digits;
    const int count = sci.m_nCount;
    const int exponent = sci.m_nExponent;
    const int keep = exponent + 1 + decimals;
    if (keep >= count)
        return std::strtod(sci.m_szText, nullptr);
    long long mantissa = 0;
    for (int i = 0; i < keep; ++i)
        mantissa = mantissa * 10 + (digits[i] - '0');
    if (keep >= 0 && digits[keep] >= '5')
        ++mantissa;
    if (keep < 0)
        mantissa = 0;
    std::string text = std::to_string(mantissa) + "e" + std::to_string(-decimals);
    double out = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), out, std::chars_format::scientific);
    return sci.m_bNegative ? -out : out;
}

SBook SummaryBook(const std::vector<std::vector<std::string>>& rows)
{
    SBook book;
    book.m_Rows.reserve(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::vector<SCell> line;
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const std::string& text = rows[r][c];
            SCell cell = r == 0 ? TextCell(text) : c == 0 ? SeqCell(text)
                                                          : TextCell(text);
            double value = 0.0;
            int decimals = 0;
            if (r > 0 && c == 3 && PlainNumber(text, value, decimals) && decimals <= 6) {
                cell.m_eKind = SCell::NUMBER;
                cell.m_dValue = value;
                cell.m_nDecimals = decimals;
            }
            line.push_back(std::move(cell));
        }
        book.m_Rows.push_back(std::move(line));
    }
    book.m_ColWidths = WidthsOf(book.m_Rows, 5);
    return book;
}

SBook AllRowsBook(const SheetGrid& grid, const std::vector<CRefEntry>& refTable)
{
    const int rows = grid.Rows();
    // The quantity of every calculation row, as Excel will hold it.
    std::vector<double> values(static_cast<std::size_t>(rows), 0.0);
    std::vector<char> hasValue(static_cast<std::size_t>(rows), 0);
    for (int r = 1; r < rows; ++r) {
        if (!grid.TextMatrix(r, COL_SEQ).empty() || grid.TextMatrix(r, COL_FORMULA).empty())
            continue;
        values[r] = CSummaryItems::RowValue(grid.TextMatrix(r, COL_FORMULA));
        hasValue[r] = 1;
    }
    std::vector<SRowFormula> formulas(static_cast<std::size_t>(rows));
    const CNameMarker marker(refTable);
    for (int r = 1; r < rows; ++r)
        if (hasValue[r])
            formulas[r] = RowFormula(grid, r, refTable, marker, values);
    BreakCycles(formulas);

    SBook book;
    book.m_Rows.reserve(static_cast<std::size_t>(rows));
    std::vector<SCell> titles;
    for (const char* title : exporttext::TITLES)
        titles.push_back(TextCell(title));
    titles.push_back(TextCell(exporttext::TITLE_QUANTITY));
    book.m_Rows.push_back(std::move(titles));
    for (int r = 1; r < rows; ++r) {
        std::vector<SCell> line;
        line.reserve(X_COLS);
        const bool bSummary = !grid.TextMatrix(r, COL_SEQ).empty();
        line.push_back(SeqCell(celltext::WithoutLineBreaks(grid.TextMatrix(r, COL_SEQ))));
        for (int c = COL_POSITION; c <= COL_UNIT; ++c)
            line.push_back(TextCell(celltext::WithoutLineBreaks(grid.TextMatrix(r, c))));
        SCell quantity;
        if (bSummary) {
            std::string formula = TotalsFormula(grid, r, values);
            if (!formula.empty()) {
                SCell& totals = line[X_FORMULA];
                totals.m_eKind = SCell::FORMULA;
                totals.m_strFormula = std::move(formula);
                totals.m_bTextResult = true;
            }
        } else if (hasValue[r]) {
            double shown = 0.0;
            int decimals = -1;
            const std::string text = celltext::WithoutLineBreaks(grid.TextMatrix(r, COL_FORMULA));
            const std::size_t sep = exprtext::FindResultSeparator(text);
            if (sep >= text.size() || !PlainNumber(text.substr(sep + 1), shown, decimals) || decimals > 6)
                decimals = -1;
            quantity.m_eKind = formulas[r].m_strFormula.empty() ? SCell::NUMBER : SCell::FORMULA;
            quantity.m_strFormula = std::move(formulas[r].m_strFormula);
            quantity.m_dValue = values[r];
            quantity.m_nDecimals = decimals;
        }
        line.push_back(std::move(quantity));
        book.m_Rows.push_back(std::move(line));
    }
    book.m_ColWidths = WidthsOf(book.m_Rows, X_COLS);
    return book;
}

namespace {

// libxlsxwriter writes only to a named file: the workbook goes to a scratch
// file of ours, removed however the export ends, whose bytes then replace
// the target as any save does.
class CScratchFile {
public:
    CScratchFile()
    {
        std::error_code ec;
        m_strPath = (std::filesystem::temp_directory_path(ec) / "qtx-xlsx-XXXXXX").string();
        const int fd = ::mkstemp(&m_strPath[0]);
        if (fd < 0)
            m_strPath.clear();
        else
            ::close(fd);
    }
    ~CScratchFile()
    {
        if (!m_strPath.empty())
            ::unlink(m_strPath.c_str());
    }
    CScratchFile(const CScratchFile&) = delete;
    CScratchFile& operator=(const CScratchFile&) = delete;
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

// The bold centred title row, and one number format for each count of
// decimals a quantity may show.
struct SXlsxFormats {
    lxw_format* m_pTitle = nullptr;
    lxw_format* m_pNumbers[7] = {};

    explicit SXlsxFormats(lxw_workbook* workbook)
    {
        m_pTitle = workbook_add_format(workbook);
        format_set_bold(m_pTitle);
        format_set_align(m_pTitle, LXW_ALIGN_CENTER);
        format_set_bottom(m_pTitle, LXW_BORDER_THIN);
        for (int d = 0; d <= 6; ++d) {
            m_pNumbers[d] = workbook_add_format(workbook);
            format_set_num_format(m_pNumbers[d], d == 0 ? "0" : ("0." + std::string(static_cast<std::size_t>(d), '0')).c_str());
        }
    }
    lxw_format* For(std::size_t row, const SCell& cell) const
    {
        return row == 0 ? m_pTitle : cell.m_nDecimals >= 0 ? m_pNumbers[cell.m_nDecimals]
                                                           : nullptr;
    }
};

// Column widths, the frozen and repeated title row, A4 fitted to the width
// and the footer, as the printed sheet has them.
void SetUpWorksheet(lxw_worksheet* sheet, const SBook& book)
{
    for (std::size_t c = 0; c < book.m_ColWidths.size(); ++c)
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), book.m_ColWidths[c], nullptr);
    worksheet_freeze_panes(sheet, 1, 0);
    worksheet_set_paper(sheet, 9);  // A4
    worksheet_repeat_rows(sheet, 0, 0);
    worksheet_fit_to_pages(sheet, 1, 0);
    worksheet_set_footer(sheet, textcodec::GbkToUtf8(exporttext::FOOTER).c_str());
}

lxw_error WriteXlsxCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const SCell& cell, lxw_format* format)
{
    switch (cell.m_eKind) {
    case SCell::EMPTY:
        break;
    case SCell::TEXT:
        return worksheet_write_string(sheet, row, col, CellUtf8(cell.m_strText).c_str(), format);
    case SCell::NUMBER:
        return worksheet_write_number(sheet, row, col, cell.m_dValue, format);
    case SCell::FORMULA:
        if (cell.m_bTextResult)
            return worksheet_write_formula_str(sheet, row, col, textcodec::GbkToUtf8(cell.m_strFormula).c_str(), format,
                                               CellUtf8(cell.m_strText).c_str());
        return worksheet_write_formula_num(sheet, row, col, textcodec::GbkToUtf8(cell.m_strFormula).c_str(), format,
                                           cell.m_dValue);
    }
    return LXW_NO_ERROR;
}

// The first error of the book's cells, written in order.
lxw_error WriteXlsxRows(lxw_worksheet* sheet, const SBook& book, const SXlsxFormats& formats)
{
    for (std::size_t r = 0; r < book.m_Rows.size(); ++r)
        for (std::size_t c = 0; c < book.m_Rows[r].size(); ++c) {
            const SCell& cell = book.m_Rows[r][c];
            const lxw_error error = WriteXlsxCell(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), cell,
                                                  formats.For(r, cell));
            if (error != LXW_NO_ERROR)
                return error;
        }
    return LXW_NO_ERROR;
}

}  // namespace

bool WriteXlsx(const SBook& book, const std::string& nativePath, std::string& reason)
{
    const CScratchFile scratch;
    if (scratch.Path().empty()) {
        reason = "create: no temporary file";
        return false;
    }
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(scratch.Path().c_str(), &options);
    if (!workbook) {
        reason = "xlsx: cannot start the workbook";
        return false;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, exporttext::SHEET_NAME);
    const SXlsxFormats formats(workbook);
    SetUpWorksheet(sheet, book);
    lxw_error error = WriteXlsxRows(sheet, book, formats);
    const lxw_error closed = workbook_close(workbook);
    if (error == LXW_NO_ERROR)
        error = closed;
    if (error != LXW_NO_ERROR) {
        reason = std::string("xlsx: ") + lxw_strerror(error);
        return false;
    }
    std::string bytes;
    if (docfile::ReadWholeFile(scratch.Path(), bytes) != docfile::READ_OK) {
        reason = "xlsx: cannot read the scratch file";
        return false;
    }
    docfile::CAtomicFile file;
    return file.Write(nativePath, bytes, reason) && file.Commit(reason);
}

}  // namespace livesheet
