// qtx: the Quantorix command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/QtxCommon.h"

namespace {

int Usage()
{
    std::cerr << "usage: qtx calc [--decimals N] [--status] [EXPR ...]\n"
                 "       qtx run [SCRIPT]\n"
                 "       qtx dump FILE\n"
                 "       qtx compare [--xlsx OUT.xlsx] A B\n";
    return qtx::EXIT_USAGE;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "calc")
        return qtx::CalcMain(args);
    if (command == "run")
        return qtx::RunMain(args);
    if (command == "dump")
        return qtx::DumpMain(args);
    if (command == "compare")
        return qtx::CompareMain(args);
    return Usage();
}
