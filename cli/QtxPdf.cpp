// qtx pdf [--mode all|summary|category=TEXT] [--page-size A4|A3|Letter]
//         [--landscape] FILE OUT.pdf
#include "cli/QtxPdf.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>
#include <sstream>

#include "cli/QtxCommon.h"
#include "cli/ScriptPrompt.h"
#include "core/edit/ClipboardOps.h"
#include "core/engine/CalcState.h"
#include "core/session/SheetSession.h"
#include "core/settings/IniSettingsStore.h"
#include "core/text/TextCodec.h"
#include "ui/print/PdfPrint.h"

namespace qtx {

namespace {

// Qt's own notes (a missing runtime folder, a font fallback) are not the
// tool's to report: standard error carries qtx's failures, one line each.
void QtMessagesOnlyWhenSerious(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

}  // namespace

void EnsureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    qInstallMessageHandler(QtMessagesOnlyWhenSerious);
    // qtx never shows a window: the offscreen platform prints the same pages
    // as a desktop one, and a display that has gone away (a stale DISPLAY)
    // cannot abort the program. A platform named by the user still wins.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "qtx";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

bool PrintToPdf(CSheetSession& session, const std::string& path, const QPageLayout& layout, std::ostream& out,
                CUtf8Text& error)
{
    EnsureGuiApplication();
    SPrintJob job;
    if (!session.PreparePrint(job, LocalDate(std::time(nullptr))))
        return false;  // the user has been told
    int pages = 0;
    std::string reason;
    if (!WritePrintPdf(job, path, layout, nullptr, pages, reason)) {
        // The system names files in UTF-8, so the path joins the reason as it is.
        error = CUtf8Text(path + ": " + textcodec::GbkToUtf8(reason).Bytes());
        return false;
    }
    out << "pages=" << pages << "\n";
    return true;
}

namespace {

int Usage()
{
    std::cerr << "usage: qtx pdf [--mode all|summary|category=TEXT] [--page-size A4|A3|Letter] [--landscape] FILE "
                 "OUT.pdf\n";
    return EXIT_USAGE;
}

struct SPdfOptions {
    int m_nMode = CPrintSelection::MODE_ALL;
    std::string m_strCategory;  // GBK, for the category mode
    QPageSize::PageSizeId m_eSize = QPageSize::A4;
    QPageLayout::Orientation m_eOrientation = QPageLayout::Portrait;
    std::vector<std::string> m_Files;  // the sheet and the PDF
};

bool ReadPageSize(const std::string& value, SPdfOptions& options)
{
    if (value == "A4")
        options.m_eSize = QPageSize::A4;
    else if (value == "A3")
        options.m_eSize = QPageSize::A3;
    else if (value == "Letter")
        options.m_eSize = QPageSize::Letter;
    else
        return false;
    return true;
}

bool ReadMode(const std::string& value, SPdfOptions& options)
{
    if (value == "all") {
        options.m_nMode = CPrintSelection::MODE_ALL;
    } else if (value == "summary") {
        options.m_nMode = CPrintSelection::MODE_SUMMARY;
    } else if (value.compare(0, 9, "category=") == 0) {
        options.m_nMode = CPrintSelection::MODE_CATEGORY;
        bool bReplaced = false;
        options.m_strCategory = textcodec::Utf8ToGbk(CUtf8Text(value.substr(9)), &bReplaced);
        if (bReplaced)
            std::cerr << "warning: characters that GBK cannot hold were replaced by \"?\"\n";
    } else {
        return false;
    }
    return true;
}

// The options and the two file names; false when they do not make a
// command.
bool ReadOptions(const std::vector<std::string>& args, SPdfOptions& options)
{
    bool bOptions = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!bOptions || arg.size() < 2 || arg[0] != '-') {
            options.m_Files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            bOptions = false;
        } else if (arg == "--landscape") {
            options.m_eOrientation = QPageLayout::Landscape;
        } else if (arg == "--mode" || arg == "--page-size") {
            if (++i == args.size())
                return false;
            if (!(arg == "--page-size" ? ReadPageSize(args[i], options) : ReadMode(args[i], options)))
                return false;
        } else {
            return false;
        }
    }
    const std::vector<std::string>& files = options.m_Files;
    return files.size() == 2 && !files[0].empty() && !files[1].empty();
}

}  // namespace

int PdfMain(const std::vector<std::string>& args)
{
    SPdfOptions options;
    if (!ReadOptions(args, options))
        return Usage();
    const std::vector<std::string>& files = options.m_Files;

    EnsureGuiApplication();
    CIniSettingsStore store;
    CCalcState state;
    // What the program would show in a message box is kept: the last one
    // explains a failure, in the one line a failure gets.
    std::ostringstream shown;
    CScriptPrompt prompt(shown);
    CMemoryClipboard clipboard;
    CSheetSession session(state, store, prompt, clipboard);
    session.Start();
    if (!session.OpenPath(files[0])) {
        std::cerr << "qtx pdf: " << files[0] << ": " << prompt.LastMessage("cannot open the sheet") << "\n";
        return EXIT_FAILURE_;
    }
    session.PrintSelection().Set(options.m_nMode, options.m_strCategory);
    CUtf8Text error;
    if (!PrintToPdf(session, files[1], PrintPageLayout(options.m_eSize, options.m_eOrientation), std::cout, error)) {
        std::cerr << "qtx pdf: "
                  << (error.IsEmpty() ? prompt.LastMessage("nothing to print") : error.Bytes()) << "\n";
        return EXIT_FAILURE_;
    }
    return EXIT_DONE;
}

}  // namespace qtx
