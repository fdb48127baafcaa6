// Shared pieces of the qtx command line: text escapes, conversion at the
// console edge, and the subcommand entry points.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace qtx {

enum { EXIT_DONE = 0,
       EXIT_FAILURE_ = 1,
       EXIT_USAGE = 2 };

// A GBK cell text for printing: UTF-8, with \\ \t \n \r escaped.
std::string PrintableText(const std::string& gbk);
// A path (the system's bytes, UTF-8 here) for printing, escaped alike.
std::string PrintablePath(const std::string& utf8);
// A script argument (UTF-8 with the escapes above and \s) as GBK text.
// pReplaced is set when a character GBK cannot hold became "?".
std::string ScriptText(const std::string& utf8, bool* pReplaced = nullptr);
// A script argument that names a file: unescaped, not converted.
std::string ScriptPath(const std::string& utf8);

int CalcMain(const std::vector<std::string>& args);
int RunMain(const std::vector<std::string>& args);
// qtx dump FILE: prints what a sheet file holds.
int DumpMain(const std::vector<std::string>& args);
// qtx pdf: prints a sheet file to a PDF file.
int PdfMain(const std::vector<std::string>& args);
// qtx compare [--xlsx OUT.xlsx] A B: the reconciliation of two sheet files.
int CompareMain(const std::vector<std::string>& args);
// qtx xls [--summary] FILE OUT: exports a sheet file as a workbook.
int XlsMain(const std::vector<std::string>& args);

// "qtx (Quantorix) VERSION".
std::string VersionText();
// Whether --help (or -h) comes before the end of the options.
bool HelpRequested(const std::vector<std::string>& args);
// The help of one subcommand, or the general help for any other name.
int PrintHelp(const std::string& command);
// The usage lines of every subcommand; returns the wrong-usage status.
int PrintUsage(std::ostream& out);

}  // namespace qtx
