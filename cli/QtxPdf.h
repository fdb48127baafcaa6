// Printing from qtx: the sheet of a session to a PDF file, as the program's
// Print command does on a PDF printer.
#pragma once

#include <QPageLayout>
#include <ostream>
#include <string>

#include "core/text/Utf8Text.h"

class CSheetSession;

namespace qtx {

// A Qt Gui application for the fonts and the PDF writer; without a display
// it runs on the offscreen platform.
void EnsureGuiApplication();

// Prints the session's sheet with its print selection into the PDF file
// at the path (the system's bytes) and writes `pages=N` to out. False when
// there was nothing to print (the prompt has told the user; error stays
// empty) or the file could not be written (error holds the path and the
// reason).
bool PrintToPdf(CSheetSession& session, const std::string& path, const QPageLayout& layout, std::ostream& out,
                CUtf8Text& error);

}  // namespace qtx
