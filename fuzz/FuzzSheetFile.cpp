// The sheet file reader on arbitrary bytes: it must refuse or read them
// without touching memory it does not own, and a file it reads must come
// out of the writer the same way again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/document/Progress.h"
#include "core/document/SheetFile.h"
#include "core/settings/SettingsStore.h"
#include "core/sheet/SheetGrid.h"

namespace {

void ResetSheet(SheetGrid& sheet)
{
    sheet.SetRows(36);
    sheet.Clear();
    sheet.SetRow(1);
    sheet.SetCol(1);
}

const sheetfile::SHighlight COLOURS = {16711935, 65535};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    CMemorySettingsStore store;
    CSettingsKey key(store);
    SheetGrid sheet;
    ResetSheet(sheet);
    CRecordingProgress progress;
    std::string error;
    sheetfile::SContents contents;
    const bool inspected = sheetfile::Inspect(bytes, size, contents, error);
    sheetfile::SKeptProperties kept;
    const bool read = sheetfile::ReadSheet(sheet, COLOURS, key, &progress, bytes, size, error, &kept);
    if (inspected != read)
        std::abort();
    if (!read) {
        if (error.empty() || sheet.Rows() != 36)
            std::abort();
        return 0;
    }
    if (sheet.Rows() > SHEET_MAX_ROWS || sheet.Rows() != std::min(contents.m_nRows + 10, SHEET_MAX_ROWS))
        std::abort();
    if (sheet.Row() < 1 || sheet.Row() >= sheet.Rows() || sheet.Col() < 1 || sheet.Col() >= SHEET_COLS)
        std::abort();

    // What was read is written and read back unchanged (the write may trim
    // empty rows at the end).
    std::string out;
    bool bContent = false;
    if (!sheetfile::WriteSheet(sheet, key, nullptr, out, bContent, &kept))
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
    SheetGrid again;
    ResetSheet(again);
    if (!sheetfile::ReadSheet(again, COLOURS, key, nullptr, out.data(), out.size(), error))
        std::abort();
    for (int row = 1; row < sheet.Rows(); ++row)
        for (int col = 0; col < SHEET_COLS; ++col)
            if (sheet.TextMatrix(row, col) != again.TextMatrix(row, col))
                std::abort();
    return 0;
}
