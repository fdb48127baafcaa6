// qtx calc and the usage and script faults of qtx end to end: the built
// program is run with arguments and standard input, and its output, error
// output and exit status are checked.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/RunProgram.h"
#include "tests/TempFolder.h"

namespace {

using testrun::SRun;

// Runs qtx with the arguments (UTF-8) and the given standard input;
// with bFullDisk its standard output goes to a device that is always full.
SRun Qtx(const std::vector<std::string>& args, const std::string& input = "", bool bFullDisk = false)
{
    const CTempFolder folder("qtx-calc");
    const std::string& dir = folder.Path();
    if (dir.empty())
        return {};
    // A settings file of its own, so that no run touches the user's store.
    std::string cmd = "QUANTORIX_SETTINGS=" + testrun::Quote(dir + "/settings.ini") + " " + testrun::Quote(QTX_BINARY);
    for (const std::string& a : args)
        cmd += " " + testrun::Quote(a);
    if (bFullDisk)
        cmd = "{ " + cmd + " >/dev/full; }";
    return testrun::Shell(cmd, dir, input);
}

const std::string DIV = "notice: 错误!被除数的运算结果为零。\n";
const std::string POW = "notice: 错误!幂级数必须大于零。\n";
const std::string TAN = "notice: tan(X)中X的值不能等于0!程序自动将X设置为1\n";

struct SCase {
    std::vector<std::string> m_Args;
    std::string m_strOut;
    std::string m_strErr;
};

TEST(QtxCalc, WorkedExamples)
{
    const SCase cases[] = {
        {{"(12+45)[墙长度]*2.8[中括号外填写计算式]+(10)*(3.6+0.2)"},
         "(12+45)[墙长度]*2.8[中括号外填写计算式]+(10)*(3.6+0.2)=197.60\n",
         ""},
        {{"--decimals", "0", "1/3"}, "1/3=0\n", ""},
        {{"--decimals=6", "1/3"}, "1/3=0.333333\n", ""},
        {{"[廬山]1+[門窗]2"}, "[廬山]1+[門窗]2=3.00\n", ""},
        {{"2×3＋4、2"}, "2*3+4/2=8.00\n", ""},
        // Escapes in the printed cell text.
        {{"1\t+2\\"}, "[表达式中有错误的符号或数值]1\\t+2\\\\=0.00\n", ""},
        // An empty expression leaves the cell empty.
        {{""}, "\n", ""},
    };
    for (const SCase& c : cases) {
        std::vector<std::string> args{"calc"};
        args.insert(args.end(), c.m_Args.begin(), c.m_Args.end());
        const SRun run = Qtx(args);
        const std::string label = c.m_Args.back();
        EXPECT_EQ(run.m_nExit, 0) << label;
        EXPECT_EQ(run.m_strOut, c.m_strOut) << label;
        EXPECT_EQ(run.m_strErr, c.m_strErr) << label;
    }
}

TEST(QtxCalc, SeveralExpressionsKeepNoticesInOrder)
{
    const SRun run = Qtx({"calc", "--status", "1/0+2^(0-1)", "1+1", "tan(0)", "5/0"});
    EXPECT_EQ(run.m_nExit, 0);
    EXPECT_EQ(run.m_strOut, "error\t1/0+2^(0-1)=2.00\nok\t1+1=2.00\nerror\ttan(0)=0.02\nerror\t5/0=5.00\n");
    EXPECT_EQ(run.m_strErr, DIV + POW + TAN + DIV);
}

TEST(QtxCalc, DoubleDashEndsOptions)
{
    SRun run = Qtx({"calc", "--", "-3+5"});
    EXPECT_EQ(run.m_nExit, 0);
    EXPECT_EQ(run.m_strOut, "-3+5=2.00\n");
    run = Qtx({"calc", "--decimals", "1", "--", "--status", "-2*3"});
    EXPECT_EQ(run.m_nExit, 0);
    EXPECT_EQ(run.m_strOut, "[表达式中有错误的符号或数值]--status=0.0\n-2*3=-6.0\n");
    // An expression ends the options too.
    run = Qtx({"calc", "1+1", "--status"});
    EXPECT_EQ(run.m_nExit, 0);
    EXPECT_EQ(run.m_strOut, "1+1=2.00\n[表达式中有错误的符号或数值]--status=0.00\n");
}

TEST(QtxCalc, StandardInputLineByLine)
{
    SRun run = Qtx({"calc", "--status"}, "1+2\r\n5++3\n\nSIN（30）\n1/0");
    EXPECT_EQ(run.m_nExit, 0);
    EXPECT_EQ(run.m_strOut,
              "ok\t1+2=3.00\nerror\t[连续两个运算符错误]5++3=0.00\nok\t\nok\tsin(30)=0.50\nerror\t1/0=1.00\n");
    EXPECT_EQ(run.m_strErr, DIV);
    run = Qtx({"calc", "--decimals", "0"}, "");
    EXPECT_EQ(run.m_nExit, 0);
    EXPECT_EQ(run.m_strOut, "");
}

TEST(QtxCalc, CharactersGbkCannotHold)
{
    const SRun run = Qtx({"calc", "1+2😀"});
    EXPECT_EQ(run.m_nExit, 0);
    EXPECT_EQ(run.m_strOut, "[表达式中有错误的符号或数值]1+2?=0.00\n");
    EXPECT_NE(run.m_strErr.find("?"), std::string::npos);
    EXPECT_EQ(run.m_strErr.find("notice:"), std::string::npos);
}

TEST(QtxCalc, WrongUsageExitsWithTwo)
{
    const std::vector<std::vector<std::string>> bad = {
        {"calc", "--bogus", "1"},
        {"calc", "--decimals", "7", "1"},
        {"calc", "--decimals", "-1", "1"},
        {"calc", "--decimals", "x", "1"},
        {"calc", "--decimals"},
        {"calc", "--decimals=10", "1"},
        {},
        {"frob"},
        {"run", "-x"},
        {"run", "a", "b"},
    };
    for (const auto& args : bad) {
        const SRun run = Qtx(args);
        std::string label;
        for (const std::string& a : args)
            label += a + " ";
        EXPECT_EQ(run.m_nExit, 2) << label;
        EXPECT_EQ(run.m_strOut, "") << label;
        EXPECT_FALSE(run.m_strErr.empty()) << label;
    }
}

// A script line qtx run cannot carry out stops the script with its line
// number; blank lines, a byte order mark and comments are no lines to run.
TEST(QtxRun, BadLinesStopWithTheirNumber)
{
    const struct {
        const char* m_szScript;
        const char* m_szErr;
    } cases[] = {
        {"\xEF\xBB\xBF"
         "edit 1 3 1+1\n  \n# note\ncell 1 3\nfrob\n",
         "qtx run: line 5: unknown command 'frob'\n"},
        {"more-decimals 3\n", "qtx run: line 1: more-decimals takes no argument\n"},
        {"dump all\n", "qtx run: line 1: dump takes no argument\n"},
        {"item 1\n", "qtx run: line 1: item 1: the list has 0 entries\n"},
        {"editsettings m_CountColor=red\n", "qtx run: line 1: m_CountColor takes a colour, 0 to 16777215\n"},
        {"syssettings ShowStyle=AUTOSHOW EnterToWord=down\n",
         "qtx run: line 1: EnterToWord=down is not one of the dialog's choices\n"},
        {"syssettings IsAutoSave=yes\n", "qtx run: line 1: IsAutoSave=yes is not one of the dialog's choices\n"},
        {"edit 1 3 1\nnew\n", "qtx run: line 2: question without an answer: 是否保存已修改的文件!\n"},
    };
    for (const auto& c : cases) {
        const SRun run = Qtx({"run"}, c.m_szScript);
        EXPECT_EQ(run.m_nExit, 1) << c.m_szScript;
        EXPECT_EQ(run.m_strErr, c.m_szErr) << c.m_szScript;
    }
    // A folder is no script.
    EXPECT_EQ(Qtx({"run", "/"}).m_strErr, "qtx run: cannot read /\n");
    EXPECT_EQ(Qtx({"run"}, "\xEF\xBB\xBF"
                           "edit 1 3 1+1\n  \n# note\ncell 1 3\n")
                  .m_strOut,
              "1+1=2.00\n");
}

// Output that cannot be written (a full disk) is a failure, not a success.
TEST(QtxRun, UnwrittenOutputFails)
{
    const std::vector<std::vector<std::string>> commands = {{"calc", "1+1"}, {"run"}, {"--version"}};
    for (const auto& args : commands) {
        const SRun run = Qtx(args, "cell 1 3\n", true);
        EXPECT_EQ(run.m_nExit, 1) << args[0];
        EXPECT_NE(run.m_strErr.find("standard output could not be written"), std::string::npos) << args[0];
    }
}

}  // namespace
