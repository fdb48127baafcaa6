// The commit, the reference table, the circular check and the propagation
// written plainly: every step rescans the whole sheet and recurses, as the
// algorithms read. Slow on purpose; the differential test holds the
// calculation grid to its results. The propagation is the plain depth-first
// visit in row order with the behaviour for cycles made explicit: a row
// marked as circular stops no pass, rows on a cycle keep their texts, and
// every recalculated row raises its messages once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/engine/CalcState.h"
#include "core/engine/ExprEngine.h"
#include "core/engine/Prompt.h"
#include "core/sheet/SheetGrid.h"

class CLiteralSheet {
public:
    explicit CLiteralSheet(CCalcState& state);

    void Commit(int row, int col, const std::string& editorText);
    void RecalcAll(int currentRow);
    void DeleteRows(int r1, int r2);
    void RebuildRefTable(int row, int col, const std::string* pText);

    SheetGrid m_Grid;
    CCalcState& m_State;
    CExprEngine m_Engine;
    std::uint32_t m_clrError = 65535;

private:
    std::string CalcExpressionText(int row, int col, const std::string& text);
    std::string CalcRowText(int row);
    int CheckCircular(int row, const std::string& text);
    void PropagateValue(int row, std::string value);
    void RefreshNameUsers(int row, const std::string& name);
    std::string RecalcKeepingText(const std::string& text);
    std::string NameOf(int row) const;
    void FitRowHeight(int row);

    std::string TableNameOf(int row) const;
    bool Uses(int row, const std::string& name) const;
    std::vector<char> RowsOnCycles(const std::vector<std::vector<int>>& users, const std::vector<int>& first) const;
    void CarryValue(int origin, int from);
    void RefreshUsers(const std::vector<int>& users);
    void ShowMessagesOfRecalculated(CPrompt* prompt);

    std::vector<std::vector<int>> m_Users;  // per row: the rows that use its name, when the pass began
    std::vector<char> m_Cyclic;
    std::vector<char> m_Recalculated;
    std::vector<std::string> m_RefPath;  // names on the current circular-check path
};
