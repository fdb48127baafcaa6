// qtx calc: the text an expression cell holds after the user types an
// expression into an empty sheet and leaves the cell.
#include <cstdio>
#include <iostream>
#include <string>

#include "cli/QtxCommon.h"
#include "core/engine/CalcTexts.h"
#include "core/engine/ExprEngine.h"
#include "core/engine/GbkText.h"
#include "core/engine/Prompt.h"
#include "core/text/TextCodec.h"

namespace qtx {

namespace {

class CStderrPrompt : public CPrompt {
public:
    void ShowMessage(const std::string& text, const std::string&) override
    {
        std::fflush(stdout);
        std::cerr << "notice: " << PrintableText(text) << "\n"
                  << std::flush;
    }
    EAnswer AskQuestion(const std::string&, const std::string&, EButtons) override { return ANSWER_NO; }
};

// The commit of an expression cell in a sheet without names: cleaned,
// stripped of blanks and the old result, calculated, and any circular
// reference message dropped (an empty sheet has no cycles).
std::string CommitAlone(CExprEngine& engine, const std::string& typed)
{
    CCalcState& state = engine.State();
    state.MarkCalcOk();
    std::string t = engine.CleanExpression(typed);
    std::string::size_type w = 0;
    for (char c : t)
        if (c != ' ' && c != '\r' && c != '\n')
            t[w++] = c;
    t.resize(w);
    t.erase(engine.FindResultSeparator(t));
    if (!t.empty())
        t = engine.CalcExpressionText(t);
    const std::string circular = calctext::CALC_MESSAGES[calctext::MSG_CIRCULAR];
    std::size_t pos = gbk::FindChars(t, circular);
    if (pos != std::string::npos)
        t.erase(pos, circular.size());
    return t;
}

int Usage()
{
    std::cerr << "usage: qtx calc [--decimals N] [--status] [EXPR ...]\n";
    return EXIT_USAGE;
}

struct SCalcOptions {
    int m_nDecimals = 2;
    bool m_bStatus = false;
    std::size_t m_nFirst = 0;  // the first expression among the arguments
};

// The options before the expressions; false when they are wrong (the user
// has been told), with the exit code.
bool ReadOptions(const std::vector<std::string>& args, SCalcOptions& options, int& code)
{
    code = EXIT_USAGE;
    std::size_t& i = options.m_nFirst;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            ++i;
            break;
        }
        if (a == "--status") {
            options.m_bStatus = true;
        } else if (a == "--decimals" || a.rfind("--decimals=", 0) == 0) {
            std::string value;
            if (a == "--decimals") {
                if (i + 1 >= args.size()) {
                    code = Usage();
                    return false;
                }
                value = args[++i];
            } else {
                value = a.substr(11);
            }
            if (value.size() != 1 || value[0] < '0' || value[0] > '6') {
                std::cerr << "qtx calc: the number of decimals must be 0 to 6\n";
                return false;
            }
            options.m_nDecimals = value[0] - '0';
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            code = Usage();
            return false;
        } else {
            break;
        }
    }
    return true;
}

// Each expression of the command line, or else each line of the standard
// input (a Windows line end taken as a plain one).
template <class TCalc>
void ForEachExpression(const std::vector<std::string>& args, std::size_t first, TCalc calc)
{
    if (first < args.size()) {
        for (std::size_t i = first; i < args.size(); ++i)
            calc(args[i]);
        return;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        calc(line);
    }
}

}  // namespace

int CalcMain(const std::vector<std::string>& args)
{
    SCalcOptions options;
    int code = EXIT_DONE;
    if (!ReadOptions(args, options, code))
        return code;

    CStderrPrompt prompt;
    CCalcState state;
    state.SetPrompt(&prompt);
    state.SetDecimals(options.m_nDecimals);
    CExprEngine engine(state);

    bool replaced = false;
    ForEachExpression(args, options.m_nFirst, [&](const std::string& utf8) {
        bool lost = false;
        std::string result = CommitAlone(engine, textcodec::Utf8ToGbk(CUtf8Text(utf8), &lost));
        replaced = replaced || lost;
        std::string line;
        if (options.m_bStatus)
            line = state.CalcOk() ? "ok\t" : "error\t";
        line += PrintableText(result);
        std::cout << line << "\n"
                  << std::flush;
    });
    if (replaced)
        std::cerr << "warning: characters that GBK cannot hold were replaced by \"?\"\n";
    return EXIT_DONE;
}

}  // namespace qtx
