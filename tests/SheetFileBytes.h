// A sheet file made from rows for tests and benchmarks: the version 150
// layout, empty properties, each row's cells in column order (missing
// cells empty).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/document/SheetFile.h"
#include "core/sheet/SheetGrid.h"

inline std::string SheetFileBytes(const std::vector<std::vector<std::string>>& rows)
{
    std::string out;
    sheetfile::AppendInt(out, -150);
    sheetfile::AppendInt(out, static_cast<std::int32_t>(rows.size()));
    for (int i = 0; i < 5; ++i)
        sheetfile::AppendString(out, "");
    for (const auto& row : rows)
        for (int col = 0; col < SHEET_COLS; ++col)
            sheetfile::AppendString(out, col < static_cast<int>(row.size()) ? row[col] : std::string());
    sheetfile::AppendInt(out, 1);
    sheetfile::AppendInt(out, 1);
    return out;
}
