// What the document layer needs from the sheet side. The desktop program
// implements it over its calculation grid; tests over a plain SheetGrid.
#pragma once

#include <cstdint>
#include <string>

class SheetGrid;

class CDocumentSite {
public:
    virtual ~CDocumentSite() = default;

    // The sheet the document reads into and writes from.
    virtual SheetGrid& Sheet() = 0;
    // The new-sheet setup of the grid (rows, formats, header texts, project
    // settings, colour mirrors, reference table, undo history). The document
    // keeps its own path, title and flags and clears them itself.
    virtual void ResetSheet() = 0;
    // Rebuilds the table of named references from the sheet's texts.
    virtual void RebuildReferences() = 0;
    // Rebuilds the list of summary items.
    virtual void RefreshItemList() = 0;
    // Empties the undo history.
    virtual void ResetHistory() = 0;
    // Fits the height of rows first..last to their number of text lines.
    virtual void FitRowHeights(int first, int last) = 0;
    // Background of expression cells with an error marker and of summary
    // rows, as 0x00BBGGRR.
    virtual std::uint32_t ErrorColour() = 0;
    virtual std::uint32_t SummaryColour() = 0;

    // The main window's caption changed (GBK).
    virtual void ShowWindowTitle(const std::string& text) { (void)text; }
};
