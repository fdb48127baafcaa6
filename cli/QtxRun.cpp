// qtx run: replays a script of user actions on one open sheet.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/QtxCommon.h"
#include "cli/RunSession.h"

namespace qtx {

namespace {

int Usage()
{
    std::cerr << "usage: qtx run [SCRIPT]\n";
    return EXIT_USAGE;
}

}  // namespace

int RunMain(const std::vector<std::string>& args)
{
    std::size_t i = 0;
    if (i < args.size() && args[i] == "--")
        ++i;
    else if (i < args.size() && args[i].size() > 1 && args[i][0] == '-')
        return Usage();  // run has no options
    if (args.size() > i + 1)
        return Usage();
    std::string path = i < args.size() ? args[i] : "-";

    std::ifstream file;
    std::istream* in = &std::cin;
    if (path != "-") {
        // A folder opens like a file here but reads as empty: it is no script.
        std::error_code ec;
        if (!std::filesystem::is_directory(path, ec))
            file.open(path, std::ios::binary);
        if (!file.is_open()) {
            std::cerr << "qtx run: cannot read " << path << "\n";
            return EXIT_FAILURE_;
        }
        in = &file;
    }

    CRunSession session(std::cout);
    std::string line;
    int lineNo = 0;
    while (std::getline(*in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // A script saved by a Windows editor may start with a byte order mark.
        if (lineNo == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3);
        if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#')
            continue;
        std::string error;
        if (!session.Execute(line, error)) {
            std::cout.flush();
            std::cerr << "qtx run: line " << lineNo << ": " << error << "\n";
            return EXIT_FAILURE_;
        }
    }
    std::cout.flush();
    return EXIT_DONE;
}

}  // namespace qtx
