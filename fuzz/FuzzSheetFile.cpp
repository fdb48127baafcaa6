// The sheet file reader on arbitrary bytes: it must refuse or read them
// without touching memory it does not own, and a file it reads must come
// out of the writer the same way again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/document/DocumentSite.h"
#include "core/document/Progress.h"
#include "core/document/SheetFile.h"
#include "core/settings/SettingsStore.h"
#include "core/sheet/SheetGrid.h"

namespace {

class CFuzzSite : public CDocumentSite {
public:
    SheetGrid& Sheet() override { return m_Sheet; }
    void ResetSheet() override
    {
        m_Sheet.SetRows(36);
        m_Sheet.Clear();
        m_Sheet.SetRow(1);
        m_Sheet.SetCol(1);
    }
    void RebuildReferences() override {}
    void RefreshItemList() override {}
    void ResetHistory() override {}
    void FitRowHeights(int first, int last) override
    {
        if (first < 1 || last >= m_Sheet.Rows())
            std::abort();
    }
    std::uint32_t ErrorColour() override { return 65535; }
    std::uint32_t SummaryColour() override { return 16711935; }

    SheetGrid m_Sheet;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    CMemorySettingsStore store;
    CSettingsKey key(store);
    CFuzzSite site;
    site.ResetSheet();
    CRecordingProgress progress;
    std::string error;
    sheetfile::SContents contents;
    const bool inspected = sheetfile::Inspect(bytes, size, contents, error);
    sheetfile::SKeptProperties kept;
    const bool read = sheetfile::ReadSheet(site, key, &progress, bytes, size, error, &kept);
    if (inspected != read)
        std::abort();
    if (!read) {
        if (error.empty() || site.m_Sheet.Rows() != 36)
            std::abort();
        return 0;
    }
    SheetGrid& sheet = site.m_Sheet;
    if (sheet.Rows() > SHEET_MAX_ROWS || sheet.Rows() != std::min(contents.m_nRows + 10, SHEET_MAX_ROWS))
        std::abort();
    if (sheet.Row() < 1 || sheet.Row() >= sheet.Rows() || sheet.Col() < 1 || sheet.Col() >= SHEET_COLS)
        std::abort();

    // What was read is written and read back unchanged (the write may trim
    // empty rows at the end).
    std::string out;
    bool bContent = false;
    if (!sheetfile::WriteSheet(site, key, nullptr, out, bContent, &kept))
        std::abort();
    // The properties come back as the file held them, whatever their bytes
    // and length (a five-column file has no company of its own).
    sheetfile::SContents written;
    if (!sheetfile::Inspect(out.data(), out.size(), written, error))
        std::abort();
    const sheetfile::SProperties& a = contents.m_Props;
    const sheetfile::SProperties& b = written.m_Props;
    if (a.m_strClient != b.m_strClient || a.m_strProject != b.m_strProject || a.m_strAuditor != b.m_strAuditor
        || a.m_strCalculator != b.m_strCalculator
        || (contents.m_eLayout == sheetfile::LAYOUT_150 && a.m_strCompany != b.m_strCompany))
        std::abort();
    // What reached the settings is what a setting can hold.
    for (const char* name : sheetfile::PROPERTY_KEYS) {
        std::string value;
        if (store.ReadRaw(name, value) && value.size() > settingsvalue::MAX_TEXT_BYTES)
            std::abort();
    }
    CFuzzSite again;
    again.ResetSheet();
    if (!sheetfile::ReadSheet(again, key, nullptr, out.data(), out.size(), error))
        std::abort();
    for (int row = 1; row < sheet.Rows(); ++row)
        for (int col = 0; col < SHEET_COLS; ++col)
            if (sheet.TextMatrix(row, col) != again.m_Sheet.TextMatrix(row, col))
                std::abort();
    return 0;
}
