// Copy, cut, paste and clear on the sheet's rectangular selection, through a
// plain-text clipboard: cells of a row separated by "\t", rows by "\n", no
// trailing separator.
#pragma once

#include <string>
#include <vector>

class CCalcGrid;
class CCurrentCell;
class CPrompt;
class CSummaryItems;
class UndoHistory;

// The clipboard in its text format (GBK). The desktop program maps it onto
// the system clipboard; qtx and the tests keep it in memory.
class CClipboard {
public:
    enum EState {
        CLIP_TEXT,      // text read (possibly empty)
        CLIP_NOT_TEXT,  // the clipboard holds no text
        CLIP_BUSY       // the clipboard could not be opened
    };
    virtual ~CClipboard() = default;
    virtual EState GetText(std::string& text) = 0;
    // False when the clipboard could not be opened.
    virtual bool SetText(const std::string& text) = 0;
};

class CMemoryClipboard : public CClipboard {
public:
    EState GetText(std::string& text) override;
    bool SetText(const std::string& text) override;
    bool HasText() const { return m_bHasText; }

private:
    std::string m_strText;
    bool m_bHasText = false;
};

class CClipboardOps {
public:
    // Rows the transfer buffer holds, and cells per row.
    static const int BUFFER_ROWS = 20000;
    static const int BUFFER_CELLS = 6;

    CClipboardOps(CCalcGrid& calc, CCurrentCell& cell, CSummaryItems& summary, UndoHistory& history, CPrompt& prompt,
                  CClipboard& clipboard);

    // Each returns whether the sheet counts as modified.
    bool Copy();
    bool Cut();
    bool Paste();
    bool Clear();

    // The clipboard text split into rows of cells the way paste reads it
    // (end trimmed, "\t" between cells, "\n" or "\r\n" between rows).
    static std::vector<std::vector<std::string>> SplitClipboardText(const std::string& text);
    // A pasted reference name: ASCII letters and digits only, starting with
    // a letter, at most 6 characters, lower case.
    static std::string CleanReferenceName(const std::string& text);

private:
    // Selection rectangle, ordered.
    void Selection(int& r1, int& c1, int& r2, int& c2) const;
    void FitRows(int r1, int r2);
    // Row r of the selection's columns c1..c2 into the buffer (row r - r1)
    // and, tab- and line-feed-separated, onto out; headings copy as empty.
    void CopyRow(int r, int r1, int c1, int c2, std::string& out);
    // How a paste ended, for what follows once the sheet draws again.
    enum EPasteEnd { PASTE_NOTHING,
                     PASTE_REFUSED,
                     PASTE_DECLINED,
                     PASTE_DONE };
    // The paste while the sheet does not draw.
    EPasteEnd PasteUndrawn();
    // Paste's parts: the clipboard's lines (PASTE_DONE when they can be
    // pasted, else why not, the user told); the refusal; the lines written
    // into the selection (true when a name cell got a text); the pasted
    // expressions calculated; the totals of the items that got rows; the
    // pasted names cleaned.
    EPasteEnd ReadLines(std::vector<std::vector<std::string>>& lines);
    EPasteEnd RefusePaste();
    bool WriteLines(int r1, int c1, int r2, int c2);
    void CalculatePasted(int r1, int c1, int r2, int c2);
    void RefreshPastedItems(int r1, int r2);
    void CleanPastedNames(int r1, int r2);

    CCalcGrid& m_Calc;
    CCurrentCell& m_Cell;
    CSummaryItems& m_Summary;
    UndoHistory& m_History;
    CPrompt& m_Prompt;
    CClipboard& m_Clipboard;
    // The transfer buffer shared by copy, cut and paste.
    std::vector<std::vector<std::string>> m_Buffer;
};
