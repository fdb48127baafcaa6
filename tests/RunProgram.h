// Runs a command line through the shell, as a user at a console would, and
// catches what it prints.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace testrun {

struct SRun {
    int m_nExit = -1;
    std::string m_strOut;
    std::string m_strErr;
};

inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// One shell word, whatever the argument holds.
inline std::string Quote(const std::string& arg)
{
    std::string q = "'";
    for (char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// The output goes through files in the folder, so that both streams are
// caught whole and apart.
inline SRun Shell(const std::string& command, const std::string& folder, const std::string& input = "")
{
    std::ofstream(folder + "/run.in", std::ios::binary) << input;
    const std::string cmd = command + " <" + Quote(folder + "/run.in") + " >" + Quote(folder + "/run.out") + " 2>" + Quote(folder + "/run.err");
    const int status = std::system(cmd.c_str());
    SRun run;
    run.m_nExit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.m_strOut = ReadAll(folder + "/run.out");
    run.m_strErr = ReadAll(folder + "/run.err");
    return run;
}

}  // namespace testrun
