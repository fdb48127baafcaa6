// Preparing a print or a preview: the print table of the chosen rows and
// the settings of the print, read once for all its pages.
#pragma once

#include <string>

#include "core/print/PrintLayout.h"
#include "core/print/PrintSettings.h"

class CPrintSelection;
class CPrompt;
class SheetGrid;

struct SPrintJob {
    SPrintTable m_Table;
    SPrintSettings m_Settings;
};

// False, after telling the user, when the selection gives no printed line:
// printing nothing at all would look like a print that got lost.
bool PreparePrintJob(const SheetGrid& sheet, const CPrintSelection& selection, const CSettingsKey& key,
                     const std::string& nativePath, const std::string& title, const SPrintDate& today,
                     CPrompt& prompt, SPrintJob& job);
