// qtx xls [--summary] FILE OUT: the sheet file exported as the program's
// export commands do, with OUT chosen in their file dialog.
#include <iostream>
#include <sstream>

#include "cli/QtxCommon.h"
#include "cli/ScriptPrompt.h"
#include "core/edit/ClipboardOps.h"
#include "core/engine/CalcState.h"
#include "core/session/SheetSession.h"
#include "core/settings/IniSettingsStore.h"
#include "core/text/TextCodec.h"

namespace qtx {

int XlsMain(const std::vector<std::string>& args)
{
    bool bSummary = false;
    bool bOptions = true;
    std::vector<std::string> files;
    for (const std::string& arg : args) {
        if (bOptions && arg == "--") {
            bOptions = false;
        } else if (bOptions && arg == "--summary") {
            bSummary = true;
        } else if (bOptions && arg.size() > 1 && arg[0] == '-') {
            files.clear();
            break;
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2 || files[0].empty() || files[1].empty()) {
        std::cerr << "usage: qtx xls [--summary] FILE OUT\n";
        return EXIT_USAGE;
    }

    // What the program would show in a message box is kept: the last one
    // explains a failure.
    std::ostringstream shown;
    CScriptPrompt prompt(shown);
    CIniSettingsStore store;
    CCalcState state;
    CMemoryClipboard clipboard;
    CSheetSession session(state, store, prompt, clipboard);
    session.Start();
    auto fail = [&](const std::string& path, const char* what) {
        std::cerr << "qtx xls: " << path << ": " << prompt.LastMessage(what) << "\n";
        return EXIT_FAILURE_;
    };
    if (!session.OpenPath(files[0]))
        return fail(files[0], "cannot open");
    prompt.SetNextFile(files[1]);
    const int rows = session.ExportExcel(bSummary);
    if (rows < 0)
        return fail(files[1], "not written");
    std::cout << "rows=" << rows << "\n";
    return EXIT_DONE;
}

}  // namespace qtx
