// The commit, the reference table, the circular check and the propagation
// written plainly: every step rescans the whole sheet and recurses, as the
// algorithms read. Slow on purpose; the differential test holds the
// calculation grid to its results.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/engine/CalcState.h"
#include "core/engine/ExprEngine.h"
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

    std::vector<char> m_Active;
};
