// qtx: the Quantorix command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/QtxCommon.h"

namespace {

int Usage() { return qtx::PrintUsage(std::cerr); }

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "--version") {
        std::cout << qtx::VersionText() << "\n";
        return qtx::EXIT_DONE;
    }
    if (command == "--help" || command == "-h" || command == "help")
        return qtx::PrintHelp(args.empty() ? std::string() : args.front());
    if (qtx::HelpRequested(args))
        return qtx::PrintHelp(command);
    if (command == "calc")
        return qtx::CalcMain(args);
    if (command == "run")
        return qtx::RunMain(args);
    if (command == "dump")
        return qtx::DumpMain(args);
    if (command == "compare")
        return qtx::CompareMain(args);
    if (command == "xls")
        return qtx::XlsMain(args);
    if (command == "pdf")
        return qtx::PdfMain(args);
    return Usage();
}
