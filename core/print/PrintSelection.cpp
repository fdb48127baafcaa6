#include "core/print/PrintSelection.h"

#include <unordered_set>

#include "core/sheet/SheetGrid.h"

bool CPrintSelection::IsRowSelected(const SheetGrid& sheet, int row) const
{
    switch (m_nMode) {
    case MODE_ALL: return true;
    case MODE_SUMMARY: return !sheet.TextMatrix(row, COL_SEQ).empty();
    case MODE_CATEGORY: return sheet.TextMatrix(row, COL_SIZE) == m_strCategory;
    default: return false;
    }
}

std::vector<std::string> CPrintSelection::CategoryList(const SheetGrid& sheet)
{
    std::vector<std::string> list;
    std::unordered_set<std::string> seen;
    for (int row = 1; row < sheet.Rows(); ++row) {
        const std::string& category = sheet.TextMatrix(row, COL_SIZE);
        if (category.empty() || !sheet.TextMatrix(row, COL_SEQ).empty())
            continue;
        if (seen.insert(category).second)
            list.push_back(category);
    }
    return list;
}
