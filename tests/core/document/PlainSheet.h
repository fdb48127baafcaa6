// A plain sheet set up as a new sheet is (36 rows, nothing in them, the
// first cell current), and the highlight colours the settings give, for the
// tests of reading and writing sheet files.
#pragma once

#include <cstdint>

#include "core/document/SheetFile.h"
#include "core/settings/SettingsStore.h"
#include "core/sheet/SheetGrid.h"

inline void ResetPlainSheet(SheetGrid& sheet)
{
    sheet.SetRows(36);
    sheet.Clear();
    sheet.SetRow(1);
    sheet.SetCol(1);
}

class CPlainSheet : public SheetGrid {
public:
    CPlainSheet() { ResetPlainSheet(*this); }
};

inline sheetfile::SHighlight SettingsHighlight(const CSettingsKey& key)
{
    auto colour = [&key](const char* name, const char* def) {
        return static_cast<std::uint32_t>(settingsvalue::ToLong(key.ReadWithDefault(name, def, true)));
    };
    sheetfile::SHighlight colours;
    colours.m_clrSummary = colour("m_TotalColor", "16711935");
    colours.m_clrError = colour("m_CountColor", "65535");
    return colours;
}
