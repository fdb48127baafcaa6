// Which rows of the sheet are printed: all rows, the summary rows only, or
// the calculation rows of one category. The choice lasts for the program's
// run and is never stored.
#pragma once

#include <string>
#include <vector>

class SheetGrid;

class CPrintSelection {
public:
    enum EMode { MODE_ALL = 1,
                 MODE_SUMMARY = 2,
                 MODE_CATEGORY = 3 };

    int Mode() const { return m_nMode; }
    const std::string& Category() const { return m_strCategory; }
    // What the print-content dialog's OK stores.
    void Set(int nMode, const std::string& category)
    {
        m_nMode = nMode;
        m_strCategory = category;
    }

    // Whether sheet row `row` is printed: every row in mode 1, rows with an
    // item number in mode 2, rows whose category text equals the chosen one
    // byte for byte in mode 3, none in any other mode.
    bool IsRowSelected(const SheetGrid& sheet, int row) const;

    // The categories of the calculation rows, each once, in the order of
    // their first occurrence. As long as the sheet needs: no fixed limit.
    static std::vector<std::string> CategoryList(const SheetGrid& sheet);

private:
    int m_nMode = MODE_ALL;
    std::string m_strCategory;
};
