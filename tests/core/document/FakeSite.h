// A document site over a plain SheetGrid, and the scripted user: the sheet
// side and the user as the document layer sees them.
#pragma once

#include <string>

#include "core/document/DocumentSite.h"
#include "core/settings/SettingsStore.h"
#include "core/sheet/SheetGrid.h"
#include "tests/TestPrompt.h"

class CFakeSite : public CDocumentSite {
public:
    explicit CFakeSite(CSettingsStore& store) : m_Settings(store) { ResetSheet(); }

    SheetGrid& Sheet() override { return m_Sheet; }
    void ResetSheet() override
    {
        ++m_nResets;
        m_Sheet.SetRows(36);
        m_Sheet.Clear();
        m_Sheet.SetRow(1);
        m_Sheet.SetCol(1);
    }
    void RebuildReferences() override { ++m_nReferenceBuilds; }
    void RefreshItemList() override { ++m_nItemLists; }
    void ResetHistory() override { ++m_nHistoryResets; }
    void FitRowHeights(int first, int last) override
    {
        for (int row = first; row <= last; ++row) {
            int lines = 1;
            for (int col = 0; col < SHEET_COLS; ++col) {
                const std::string& text = m_Sheet.TextMatrix(row, col);
                int n = 1;
                for (char c : text)
                    n += c == '\n';
                if (n > lines)
                    lines = n;
            }
            m_Sheet.SetRowHeight(row, static_cast<int>(m_Sheet.CellFontSize() * lines * 23.75));
        }
    }
    std::uint32_t ErrorColour() override { return Colour("m_CountColor", "65535"); }
    std::uint32_t SummaryColour() override { return Colour("m_TotalColor", "16711935"); }
    void ShowWindowTitle(const std::string& text) override { m_strWindowTitle = text; }

    SheetGrid m_Sheet;
    int m_nResets = 0;
    int m_nReferenceBuilds = 0;
    int m_nItemLists = 0;
    int m_nHistoryResets = 0;
    std::string m_strWindowTitle;

private:
    std::uint32_t Colour(const char* name, const char* def)
    {
        return static_cast<std::uint32_t>(settingsvalue::ToLong(m_Settings.ReadWithDefault(name, def, true)));
    }
    CSettingsKey m_Settings;
};
