// qtx dump FILE: what a sheet file holds, read without changing anything
// (no sheet, no settings).
#include <iostream>

#include "cli/QtxCommon.h"
#include "core/document/DocumentTexts.h"
#include "core/document/FileOps.h"
#include "core/document/SheetFile.h"
#include "core/text/TextCodec.h"

namespace qtx {

int DumpMain(const std::vector<std::string>& args)
{
    std::vector<std::string> files;
    bool bOptions = true;
    for (const std::string& arg : args) {
        if (bOptions && arg == "--")
            bOptions = false;
        else if (bOptions && arg.size() > 1 && arg[0] == '-')
            files.push_back(std::string());  // no options: wrong usage
        else
            files.push_back(arg);
    }
    if (files.size() != 1 || files[0].empty()) {
        std::cerr << "usage: qtx dump FILE\n";
        return EXIT_USAGE;
    }
    const std::string& path = files[0];
    auto fail = [&](const char* gbkReason) {
        std::cerr << "qtx dump: " << path << ": " << textcodec::GbkToUtf8(gbkReason) << "\n";
        return EXIT_FAILURE_;
    };

    std::string data;
    switch (docfile::ReadWholeFile(path, data)) {
    case docfile::READ_OK: break;
    case docfile::READ_TOO_LARGE: return fail(doctext::TEXT_TOO_LARGE);
    case docfile::READ_CANNOT_OPEN: return fail(doctext::TEXT_OPEN_FAILED);
    }
    sheetfile::SContents contents;
    std::string error;
    if (!sheetfile::Inspect(data.data(), data.size(), contents, error))
        return fail(error.c_str());

    // The file has been checked whole: rows go out as they are read, so
    // that a large file is not held a second time as text.
    std::ostream& out = std::cout;
    out << "layout=" << contents.m_eLayout << " rows=" << contents.m_nRows << " current="
        << contents.m_nCurrentRow << "," << contents.m_nCurrentCol << "\n";
    const sheetfile::SProperties& props = contents.m_Props;
    out << "CompanyName=" << PrintableText(props.m_strCompany) << "\n"
        << "ProjectCompanyName=" << PrintableText(props.m_strClient) << "\n"
        << "ProjectName=" << PrintableText(props.m_strProject) << "\n"
        << "AuditName=" << PrintableText(props.m_strAuditor) << "\n"
        << "CountName=" << PrintableText(props.m_strCalculator) << "\n";

    sheetfile::CParser parser(data.data(), data.size());
    parser.ReadHeader();
    std::string_view cells[SHEET_COLS];
    for (int row = 1; row <= parser.RowCount() && parser.ReadRow(cells); ++row) {
        bool bEmpty = true;
        for (const std::string_view& cell : cells)
            bEmpty = bEmpty && cell.empty();
        if (bEmpty)
            continue;
        out << row;
        for (const std::string_view& cell : cells)
            out << "\t" << PrintableText(std::string(cell));
        out << "\n";
    }
    return EXIT_DONE;
}

}  // namespace qtx
