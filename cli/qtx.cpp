// qtx: the Quantorix command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/QtxCommon.h"

namespace {

int Usage() { return qtx::PrintUsage(std::cerr); }

}  // namespace

namespace {

int Dispatch(const std::string& command, const std::vector<std::string>& args)
{
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

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    int status = Dispatch(command, std::vector<std::string>(argv + 2, argv + argc));
    // Output that never arrived (a full disk, a closed stream) makes the
    // command a failure, whatever it did besides.
    if (!std::cout.flush() && status == qtx::EXIT_DONE) {
        std::cerr << "qtx " << command << ": standard output could not be written\n";
        status = qtx::EXIT_FAILURE_;
    }
    return status;
}
