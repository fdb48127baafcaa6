// Printing from qtx: the sheet of a session to a PDF file, as the program's
// Print command does on a PDF printer.
#pragma once

#include <QPageLayout>
#include <ostream>
#include <string>

class CSheetSession;

namespace qtx {

// A Qt Gui application for the fonts and the PDF writer; without a display
// it runs on the offscreen platform.
void EnsureGuiApplication();

// Prints the session's sheet with its print selection into the PDF file
// at the UTF-8 path and writes `pages=N` to out. False when there was
// nothing to print (the prompt has told the user; error stays empty) or the
// file could not be written (error holds the reason, UTF-8).
bool PrintToPdf(CSheetSession& session, const std::string& path, const QPageLayout& layout, std::ostream& out,
                std::string& error);

}  // namespace qtx
