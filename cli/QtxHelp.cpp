// qtx --help, qtx SUBCOMMAND --help and --version.
#include <iostream>
#include <string>
#include <vector>

#include "cli/QtxCommon.h"

#ifndef QTX_VERSION
#define QTX_VERSION "0"
#endif

namespace qtx {

namespace {

struct SHelp {
    const char* m_pszCommand;
    const char* m_pszUsage;
    const char* m_pszText;
};

const SHelp s_Help[] = {
    {"calc", "qtx calc [--decimals N] [--status] [EXPR ...]",
     "Prints, for each EXPR (or each line of standard input), the text an expression\n"
     "cell holds after EXPR is typed into an empty sheet and the cell is left.\n"
     "\n"
     "  --decimals N  decimals of the result, 0 to 6 (default 2)\n"
     "  --status      start each line with \"ok\" or \"error\" and a tab\n"
     "  --            end of options (for an expression starting with -)\n"
     "\n"
     "Message boxes the calculation raises are printed on standard error as\n"
     "\"notice: TEXT\".\n"},
    {"run", "qtx run [SCRIPT]",
     "Replays a script of user actions (the file SCRIPT, or standard input) on one\n"
     "open sheet, one command a line: click, type, chars, key, edit, answer, the\n"
     "menu commands (new, open, save, saveas, summary, copy, paste, undo, redo,\n"
     "print-mode, pdf, xls, ...) and the looking commands (cell, attr, dump,\n"
     "editor?, items, state, clipboard?, height, timing). Message boxes are printed\n"
     "as \"message: TEXT\", questions as \"question: TEXT -> yes|no\".\n"},
    {"dump", "qtx dump FILE",
     "Prints what the sheet file FILE holds (layout, rows, current cell, the five\n"
     "document properties and every row with a non-empty cell) without changing\n"
     "anything.\n"},
    {"pdf", "qtx pdf [--mode all|summary|category=TEXT] [--page-size A4|A3|Letter] [--landscape] FILE OUT.pdf",
     "Prints the sheet file FILE to OUT.pdf as the program's Print command does on a\n"
     "PDF printer, and prints \"pages=N\". OUT.pdf is written whole or not at all.\n"},
    {"xls", "qtx xls [--summary] FILE OUT",
     "Exports the sheet file FILE as the program's export commands do: every row, or\n"
     "the summary items with --summary. OUT ending in .xlsx gives an Excel 2007+\n"
     "workbook whose quantities are formulas; any other name gets .xls. Prints\n"
     "\"rows=N\".\n"},
    {"compare", "qtx compare [--xlsx OUT.xlsx] A B",
     "Compares the submitted sheet A (送审) with the checked sheet B (审定) item by\n"
     "item and category by category, and prints the reconciliation (对量): item\n"
     "lines, row lines (changed, added, removed) and category totals.\n"
     "With --xlsx the reconciliation is also written as an Excel workbook.\n"},
};

const SHelp* FindHelp(const std::string& command)
{
    for (const SHelp& help : s_Help)
        if (command == help.m_pszCommand)
            return &help;
    return nullptr;
}

}  // namespace

std::string VersionText() { return std::string("qtx (Quantorix) ") + QTX_VERSION; }

bool HelpRequested(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (arg == "--")
            return false;
        if (arg == "--help" || arg == "-h")
            return true;
    }
    return false;
}

int PrintUsage(std::ostream& out)
{
    out << "usage:";
    bool bFirst = true;
    for (const SHelp& help : s_Help) {
        out << (bFirst ? " " : "       ") << help.m_pszUsage << "\n";
        bFirst = false;
    }
    out << "       qtx --help | --version | SUBCOMMAND --help\n";
    return EXIT_USAGE;
}

int PrintHelp(const std::string& command)
{
    if (const SHelp* pHelp = FindHelp(command)) {
        std::cout << "usage: " << pHelp->m_pszUsage << "\n\n"
                  << pHelp->m_pszText;
        return EXIT_DONE;
    }
    std::cout << "qtx drives the Quantorix calculation sheet without a window.\n\n";
    PrintUsage(std::cout);
    std::cout << "\nArguments, standard input and output are UTF-8. Exit status: 0 done,\n"
                 "1 a failure (reported on standard error), 2 wrong usage.\n"
                 "See qtx(1) for the whole reference.\n";
    return EXIT_DONE;
}

}  // namespace qtx
