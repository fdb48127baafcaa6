// Every input of the fuzzing corpus (inputs the fuzzer found interesting or
// that once misbehaved), with every number of decimals: the result ends in a
// plain number and the engine agrees with the literal implementation where
// the input is well-formed GBK.
#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "LiteralCalc.h"
#include "core/engine/ExprEngine.h"
#include "core/engine/Prompt.h"

namespace {

std::vector<std::string> CorpusFiles()
{
    std::vector<std::string> files;
    if (DIR* dir = opendir(QTX_CALC_CORPUS)) {
        while (dirent* e = readdir(dir))
            if (e->d_name[0] != '.' && std::string(e->d_name) != "README.md")
                files.push_back(std::string(QTX_CALC_CORPUS) + "/" + e->d_name);
        closedir(dir);
    }
    return files;
}

bool PlainNumber(const std::string& s)
{
    if (s.empty())
        return false;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (!((s[i] >= '0' && s[i] <= '9') || s[i] == '.' || (s[i] == '-' && i == 0)))
            return false;
    return true;
}

// Whole double-byte characters only (a lead byte is always followed by a
// trail byte), no NUL.
bool WellFormed(const std::string& s)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c == 0 || c == 0x80 || c == 0xFF)
            return false;
        if (c >= 0x81) {
            if (i + 1 >= s.size())
                return false;
            const unsigned char t = static_cast<unsigned char>(s[i + 1]);
            if (t < 0x40 || t == 0x7F || t == 0xFF)
                return false;
            ++i;
        }
    }
    return true;
}

TEST(Corpus, EveryInputGivesAPlainResult)
{
    const std::vector<std::string> files = CorpusFiles();
    ASSERT_FALSE(files.empty());
    for (const std::string& path : files) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        const std::string data = ss.str();
        if (data.empty())
            continue;
        const std::string text = data.substr(1);
        for (int decimals = 0; decimals <= 6; ++decimals) {
            CSilentPrompt prompt;
            CCalcState state;
            state.SetPrompt(&prompt);
            state.SetDecimals(decimals);
            CExprEngine engine(state);
            const std::string result = engine.CalcExpressionText(text);
            const std::size_t eq = result.rfind('=');
            ASSERT_NE(eq, std::string::npos) << path;
            EXPECT_TRUE(PlainNumber(result.substr(eq + 1))) << path << ": " << result;
            if (WellFormed(text) && text.size() < 600) {
                literal::CLiteralCalc slow;
                slow.m_nDecimals = decimals;
                EXPECT_EQ(result, slow.CalcExpressionText(text)) << path;
            }
        }
    }
}

}  // namespace
