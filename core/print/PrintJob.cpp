#include "core/print/PrintJob.h"

#include "core/engine/Prompt.h"
#include "core/print/PrintSelection.h"
#include "core/print/PrintTexts.h"

bool PreparePrintJob(const SheetGrid& sheet, const CPrintSelection& selection, const CSettingsKey& key,
                     const std::string& nativePath, const std::string& title, const SPrintDate& today,
                     CPrompt& prompt, SPrintJob& job)
{
    job.m_Table = BuildPrintTable(sheet, selection, ReadShowStyle(key));
    if (job.m_Table.m_nCount == 0) {
        prompt.ShowMessage(printtext::NOTHING_TO_PRINT, printtext::WARNING);
        return false;
    }
    job.m_Settings = ReadPrintSettings(key, nativePath, title, today);
    return true;
}
