#include "core/compare/SheetCompare.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "core/compare/CompareTexts.h"
#include "core/compare/SequenceDiff.h"
#include "core/edit/SummaryItems.h"
#include "core/engine/ExprText.h"
#include "core/sheet/CellText.h"
#include "core/sheet/SheetGrid.h"

namespace sheetcompare {

namespace {

// One summary item of one sheet: its name and its rows that hold anything.
struct SItem {
    std::string m_strName;
    int m_nHeading = 0;  // its summary row; 0 for the rows above the first one
    std::vector<int> m_Rows;
};

bool IsBlankRow(const SheetGrid& grid, int row)
{
    for (int col = COL_POSITION; col < SHEET_COLS; ++col)
        if (!grid.TextMatrix(row, col).empty())
            return false;
    return true;
}

std::vector<SItem> ItemsOf(const SheetGrid& grid)
{
    std::vector<SItem> items;
    // Rows above the first heading form an item without a name, when there
    // are any.
    items.emplace_back();
    bool bHeading = false;
    for (int row = 1; row < grid.Rows(); ++row) {
        if (!grid.TextMatrix(row, COL_SEQ).empty()) {
            if (!bHeading && items[0].m_Rows.empty())
                items.clear();
            bHeading = true;
            items.emplace_back();
            items.back().m_strName = celltext::WithoutLineBreaks(grid.TextMatrix(row, COL_POSITION));
            items.back().m_nHeading = row;
        } else if (!IsBlankRow(grid, row)) {
            items.back().m_Rows.push_back(row);
        }
    }
    if (!bHeading && items[0].m_Rows.empty())
        items.clear();
    return items;
}

// A row takes part in the quantities when it names a category or holds an
// expression; a row with only a location is a note.
bool CountsForQuantity(const SheetGrid& grid, int row)
{
    return !grid.TextMatrix(row, COL_SIZE).empty() || !grid.TextMatrix(row, COL_FORMULA).empty();
}

int Power10(int decimals)
{
    int p = 1;
    for (int i = 0; i < decimals; ++i)
        p *= 10;
    return p;
}

// A shown quantity ("-12.50") as a count of its last decimal; false when it
// has too many digits for that.
bool ShownUnits(const std::string& text, long long& units)
{
    units = 0;
    bool bNegative = false;
    int digits = 0;
    for (char c : text) {
        if (c == '-')
            bNegative = true;
        else if (c >= '0' && c <= '9') {
            if (++digits > 18)
                return false;
            units = units * 10 + (c - '0');
        }
    }
    if (bNegative)
        units = -units;
    return true;
}

std::string UnitsText(long long units, int decimals)
{
    const unsigned long long magnitude = units < 0 ? 0ULL - static_cast<unsigned long long>(units)
                                                   : static_cast<unsigned long long>(units);
    std::string digits = std::to_string(magnitude);
    if (decimals > 0) {
        if (static_cast<int>(digits.size()) <= decimals)
            digits.insert(0, decimals + 1 - digits.size(), '0');
        digits.insert(digits.size() - decimals, 1, '.');
    }
    if (units > 0)
        return "+" + digits;
    if (units < 0)
        return "-" + digits;
    return digits;
}

SQuantities MakeQuantities(double sumA, double sumB, int decimals)
{
    SQuantities q;
    CSummaryItems::AppendTotalValue(q.m_strA, sumA, decimals);
    CSummaryItems::AppendTotalValue(q.m_strB, sumB, decimals);
    const double scale = Power10(decimals);
    long long unitsA = 0, unitsB = 0;
    if (ShownUnits(q.m_strA, unitsA) && ShownUnits(q.m_strB, unitsB)) {
        const long long diff = unitsB - unitsA;
        q.m_strDiff = UnitsText(diff, decimals);
        q.m_dA = static_cast<double>(unitsA) / scale;
        q.m_dB = static_cast<double>(unitsB) / scale;
        q.m_dDiff = static_cast<double>(diff) / scale;
        q.m_nSign = diff > 0 ? 1 : diff < 0 ? -1
                                            : 0;
        return q;
    }
    // Quantities beyond 18 digits: the difference of the rounded values.
    q.m_dA = sumA;
    q.m_dB = sumB;
    const double diff = sumB - sumA;
    q.m_dDiff = diff;
    if (diff > 0)
        q.m_strDiff = "+";
    CSummaryItems::AppendTotalValue(q.m_strDiff, diff, decimals);
    q.m_nSign = diff > 0 ? 1 : diff < 0 ? -1
                                        : 0;
    return q;
}

// Categories in order of first occurrence, B's rows before A's, with the
// sums of both sides and the unit of the first row that names them.
class CCategorySums {
public:
    void Add(const SheetGrid& grid, int row, int side)
    {
        if (!CountsForQuantity(grid, row))
            return;
        std::string key = celltext::WithoutLineBreaks(grid.TextMatrix(row, COL_SIZE));
        auto found = m_Index.find(key);
        std::size_t i;
        if (found == m_Index.end()) {
            i = m_Lines.size();
            m_Index.emplace(key, i);
            m_Lines.push_back(SLine{std::move(key), {}, {0.0, 0.0}, {false, false}});
        } else {
            i = found->second;
        }
        SLine& line = m_Lines[i];
        line.m_Sum[side] += CSummaryItems::RowValue(grid.TextMatrix(row, COL_FORMULA));
        // The unit of the first row that names the category, B's before
        // A's (B is added first); A's fills in where B's first row has none.
        if (!line.m_bSeen[side]) {
            line.m_bSeen[side] = true;
            if (line.m_strUnit.empty())
                line.m_strUnit = celltext::WithoutLineBreaks(grid.TextMatrix(row, COL_UNIT));
        }
    }

    struct SLine {
        std::string m_strCategory;
        std::string m_strUnit;
        double m_Sum[2];
        bool m_bSeen[2];
    };
    const std::vector<SLine>& Lines() const { return m_Lines; }

private:
    std::unordered_map<std::string, std::size_t> m_Index;
    std::vector<SLine> m_Lines;
};

// The rows of one matched item (either side may be missing).
class CItemCompare {
public:
    CItemCompare(const SheetGrid& a, const SheetGrid& b, std::unordered_map<std::string, int>& keys,
                 SComparison& out)
        : m_A(a), m_B(b), m_Keys(keys), m_Out(out)
    {
    }

    void Run(const std::string& name, const SItem* pA, const SItem* pB)
    {
        static const std::vector<int> s_None;
        const std::vector<int>& rowsA = pA ? pA->m_Rows : s_None;
        const std::vector<int>& rowsB = pB ? pB->m_Rows : s_None;

        CCategorySums sums;
        for (int row : rowsB)
            sums.Add(m_B, row, 1);
        for (int row : rowsA)
            sums.Add(m_A, row, 0);
        for (const CCategorySums::SLine& line : sums.Lines())
            m_Out.m_Items.push_back(SItemLine{name, line.m_strCategory, line.m_strUnit,
                                              MakeQuantities(line.m_Sum[0], line.m_Sum[1], m_Out.m_nDecimals),
                                              HeadingOf(pA), HeadingOf(pB)});

        const std::vector<int> keysA = KeysOf(m_A, rowsA);
        const std::vector<int> keysB = KeysOf(m_B, rowsB);
        std::size_t i = 0, j = 0;
        for (const auto& match : seqdiff::LongestCommonSubsequence(keysA, keysB)) {
            Gap(name, rowsA, i, match.first, rowsB, j, match.second);
            const int rowA = rowsA[match.first];
            const int rowB = rowsB[match.second];
            if (!SameExpression(m_A.TextMatrix(rowA, COL_FORMULA), m_B.TextMatrix(rowB, COL_FORMULA)))
                AddRow(ROW_CHANGED, name, rowA, rowB);
            i = match.first + 1;
            j = match.second + 1;
        }
        Gap(name, rowsA, i, rowsA.size(), rowsB, j, rowsB.size());
    }

private:
    // The row that shows an item: its heading, or the first of the rows
    // above the first heading; 0 when the side has no such item.
    static int HeadingOf(const SItem* pItem)
    {
        if (!pItem)
            return 0;
        if (pItem->m_nHeading)
            return pItem->m_nHeading;
        return pItem->m_Rows.empty() ? 0 : pItem->m_Rows.front();
    }

    std::vector<int> KeysOf(const SheetGrid& grid, const std::vector<int>& rows)
    {
        std::vector<int> keys;
        keys.reserve(rows.size());
        std::string key;
        for (int row : rows) {
            // A GBK text holds no zero byte, so it separates the two cells.
            key = celltext::WithoutLineBreaks(grid.TextMatrix(row, COL_POSITION));
            key += '\0';
            key += celltext::WithoutLineBreaks(grid.TextMatrix(row, COL_SIZE));
            auto added = m_Keys.emplace(key, static_cast<int>(m_Keys.size()));
            keys.push_back(added.first->second);
        }
        return keys;
    }

    // The unmatched rows between two matches: A's first, then B's.
    void Gap(const std::string& name, const std::vector<int>& rowsA, std::size_t i, std::size_t endA,
             const std::vector<int>& rowsB, std::size_t j, std::size_t endB)
    {
        for (; i < endA; ++i)
            AddRow(ROW_REMOVED, name, rowsA[i], 0);
        for (; j < endB; ++j)
            AddRow(ROW_ADDED, name, 0, rowsB[j]);
    }

    void AddRow(ERowKind kind, const std::string& name, int rowA, int rowB)
    {
        SRowLine line;
        line.m_eKind = kind;
        line.m_strItem = name;
        line.m_nRowA = rowA;
        line.m_nRowB = rowB;
        // The location and category are those of the side that has the row
        // (equal on both sides for an aligned pair).
        const SheetGrid& grid = rowB ? m_B : m_A;
        const int row = rowB ? rowB : rowA;
        line.m_strLocation = celltext::WithoutLineBreaks(grid.TextMatrix(row, COL_POSITION));
        line.m_strCategory = celltext::WithoutLineBreaks(grid.TextMatrix(row, COL_SIZE));
        if (rowA)
            line.m_strTextA = m_A.TextMatrix(rowA, COL_FORMULA);
        if (rowB)
            line.m_strTextB = m_B.TextMatrix(rowB, COL_FORMULA);
        m_Out.m_Rows.push_back(std::move(line));
    }

    const SheetGrid& m_A;
    const SheetGrid& m_B;
    std::unordered_map<std::string, int>& m_Keys;
    SComparison& m_Out;
};

std::string ExpressionPart(const std::string& formula)
{
    return formula.substr(0, exprtext::FindResultSeparator(formula));
}

}  // namespace

const char* KindName(ERowKind kind)
{
    switch (kind) {
    case ROW_CHANGED: return "changed";
    case ROW_ADDED: return "added";
    case ROW_REMOVED: return "removed";
    }
    return "";
}

const char* KindText(ERowKind kind)
{
    switch (kind) {
    case ROW_CHANGED: return comparetext::KIND_CHANGED;
    case ROW_ADDED: return comparetext::KIND_ADDED;
    case ROW_REMOVED: return comparetext::KIND_REMOVED;
    }
    return "";
}

bool SameExpression(const std::string& a, const std::string& b)
{
    const std::string exprA = ExpressionPart(a);
    const std::string exprB = ExpressionPart(b);
    return exprA == exprB || exprtext::CleanExpression(exprA) == exprtext::CleanExpression(exprB);
}

SComparison CompareSheets(const SheetGrid& a, const SheetGrid& b, int decimals)
{
    SComparison out;
    out.m_nDecimals = std::clamp(decimals, 0, 6);

    const std::vector<SItem> itemsA = ItemsOf(a);
    const std::vector<SItem> itemsB = ItemsOf(b);
    // A's items by name, each name's occurrences in sheet order.
    std::unordered_map<std::string, std::vector<std::size_t>> byName;
    for (std::size_t i = 0; i < itemsA.size(); ++i)
        byName[itemsA[i].m_strName].push_back(i);
    std::unordered_map<std::string, std::size_t> used;
    std::vector<bool> matchedA(itemsA.size(), false);

    std::unordered_map<std::string, int> keys;
    CItemCompare compare(a, b, keys, out);
    for (const SItem& itemB : itemsB) {
        const SItem* pA = nullptr;
        auto found = byName.find(itemB.m_strName);
        if (found != byName.end()) {
            std::size_t& next = used[itemB.m_strName];
            if (next < found->second.size()) {
                pA = &itemsA[found->second[next]];
                matchedA[found->second[next]] = true;
                ++next;
            }
        }
        compare.Run(itemB.m_strName, pA, &itemB);
    }
    for (std::size_t i = 0; i < itemsA.size(); ++i)
        if (!matchedA[i])
            compare.Run(itemsA[i].m_strName, &itemsA[i], nullptr);

    CCategorySums totals;
    for (int row = 1; row < b.Rows(); ++row)
        if (b.TextMatrix(row, COL_SEQ).empty() && !IsBlankRow(b, row))
            totals.Add(b, row, 1);
    for (int row = 1; row < a.Rows(); ++row)
        if (a.TextMatrix(row, COL_SEQ).empty() && !IsBlankRow(a, row))
            totals.Add(a, row, 0);
    for (const CCategorySums::SLine& line : totals.Lines())
        out.m_Totals.push_back(
            STotalLine{line.m_strCategory, line.m_strUnit, MakeQuantities(line.m_Sum[0], line.m_Sum[1], out.m_nDecimals)});
    return out;
}

}  // namespace sheetcompare
