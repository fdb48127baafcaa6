// qtx compare [--xlsx OUT.xlsx] A B: the reconciliation of the submitted
// sheet A with the checked sheet B, read from their files without opening
// either as the program's sheet.
#include <algorithm>
#include <iostream>
#include <sstream>

#include "cli/QtxCommon.h"
#include "core/compare/CompareFiles.h"
#include "core/compare/SheetCompare.h"
#include "core/settings/IniSettingsStore.h"
#include "core/settings/SettingsNames.h"
#include "core/settings/SheetSettings.h"
#include "core/sheet/SheetGrid.h"
#include "core/text/TextCodec.h"

namespace qtx {

namespace {

// The decimals of the settings, read without writing anything back.
int SettingsDecimals()
{
    CIniSettingsStore store;
    CSettingsKey key(store);
    const std::string value = key.ReadString(settingsname::PIONT_NUM);
    if (value.empty())
        return 2;
    return std::clamp(settingsvalue::ToInt(value), 0, 6);
}

void PutQuantities(std::ostream& out, const sheetcompare::SQuantities& q)
{
    out << "\t" << q.m_strA << "\t" << q.m_strB << "\t" << q.m_strDiff << "\n";
}

std::string RowNumber(int row)
{
    return row ? std::to_string(row) : std::string("-");
}

}  // namespace

void PrintComparison(std::ostream& out, const sheetcompare::SComparison& comparison)
{
    for (const sheetcompare::SItemLine& line : comparison.m_Items) {
        out << "item\t" << PrintableText(line.m_strItem) << "\t" << PrintableText(line.m_strCategory);
        PutQuantities(out, line.m_Qty);
    }
    for (const sheetcompare::SRowLine& line : comparison.m_Rows)
        out << "row\t" << sheetcompare::KindName(line.m_eKind) << "\t" << PrintableText(line.m_strItem) << "\t"
            << RowNumber(line.m_nRowA) << "\t" << RowNumber(line.m_nRowB) << "\t" << PrintableText(line.m_strLocation)
            << "\t" << PrintableText(line.m_strCategory) << "\t" << PrintableText(line.m_strTextA) << "\t"
            << PrintableText(line.m_strTextB) << "\n";
    for (const sheetcompare::STotalLine& line : comparison.m_Totals) {
        out << "total\t" << PrintableText(line.m_strCategory) << "\t" << PrintableText(line.m_strUnit);
        PutQuantities(out, line.m_Qty);
    }
}

int CompareMain(const std::vector<std::string>& args)
{
    std::string xlsx;
    std::vector<std::string> files;
    bool bOptions = true;
    bool bUsage = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (bOptions && arg == "--")
            bOptions = false;
        else if (bOptions && arg == "--xlsx" && i + 1 < args.size() && !args[i + 1].empty())
            xlsx = args[++i];
        else if (bOptions && arg.size() > 1 && arg[0] == '-')
            bUsage = true;
        else
            files.push_back(arg);
    }
    if (bUsage || files.size() != 2 || files[0].empty() || files[1].empty()) {
        std::cerr << "usage: qtx compare [--xlsx OUT.xlsx] A B\n";
        return EXIT_USAGE;
    }

    SheetGrid sheets[2];
    for (int side = 0; side < 2; ++side) {
        sheetfile::SProperties props;
        std::string error;
        if (!sheetcompare::LoadSheetFile(files[side], sheets[side], props, error)) {
            std::cerr << "qtx compare: " << files[side] << ": " << textcodec::GbkToUtf8(error) << "\n";
            return EXIT_FAILURE_;
        }
    }
    const sheetcompare::SComparison comparison = sheetcompare::CompareSheets(sheets[0], sheets[1], SettingsDecimals());
    if (!xlsx.empty()) {
        std::string reason;
        if (!sheetcompare::WriteWorkbook(comparison, xlsx, reason)) {
            std::cerr << "qtx compare: " << xlsx << ": " << textcodec::GbkToUtf8(reason) << "\n";
            return EXIT_FAILURE_;
        }
    }
    std::ostringstream out;
    PrintComparison(out, comparison);
    std::cout << out.str();
    return EXIT_DONE;
}

}  // namespace qtx
