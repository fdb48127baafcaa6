// Printing in the window: the print-content dialog, the print preview and
// the commands Print, Print preview and Print setup. One printer is kept
// for the program's run, so that the page set up once holds for every
// later print and preview; it starts on A4 at 600 dpi.
#pragma once

#include "core/print/PrintJob.h"

#include <QDialog>
#include <QPrinter>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CPrintFonts;
class CPrintSelection;
class CSheetViewController;
class QButtonGroup;
class QComboBox;
class QLabel;
class QScrollArea;
class QSpinBox;

// "选择打印内容设置...": all rows, the summary rows, or the calculation rows of
// one category. OK stores the choice in the selection; Cancel changes
// nothing. Controls carry their ids as object names.
class CPrintContentDlg : public QDialog {
    Q_OBJECT
public:
    // categories: the categories of the sheet in order of first occurrence.
    CPrintContentDlg(CPrintSelection& selection, const std::vector<std::string>& categories,
                     QWidget* pParent = nullptr);

    int Choice() const { return m_nChoice; }
    // "打印...": the Print command, with the choice in force before this
    // dialog opened.
    std::function<void()> m_OnPrint;

    void accept() override;

private:
    void Choose(int nChoice);

    CPrintSelection& m_Selection;
    int m_nChoice = 1;
    QButtonGroup* m_pModes = nullptr;
    QComboBox* m_pCategories = nullptr;
};

// The print preview: one page at a time, drawn when it is shown, so that it
// opens at once on a sheet of thousands of pages. Page turning, zoom, page
// setup and print.
class CPrintPreviewDlg : public QDialog {
    Q_OBJECT
public:
    CPrintPreviewDlg(const SPrintJob& job, QPrinter& printer, QWidget* pParent = nullptr);
    ~CPrintPreviewDlg() override;

    int PageCount() const;
    int CurrentPage() const { return m_nPage; }
    void ShowPage(int nPage);
    void SetZoom(int nPercent);
    // Pages drawn so far (each once, while it stays in the cache).
    int RenderedPages() const { return m_nRendered; }
    // The user asked to print; the dialog has closed.
    bool PrintRequested() const { return m_bPrint; }
    // Page setup; replaceable for tests. True when the page changed.
    std::function<bool(QPrinter&)> m_PageSetup;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Relayout();
    void Render();
    QImage PageImage(int nPage);

    const SPrintJob& m_Job;
    QPrinter& m_Printer;
    std::unique_ptr<CPrintFonts> m_pFonts;
    std::unique_ptr<CPrintLayout> m_pLayout;
    std::map<int, QImage> m_Cache;
    int m_nPage = 1;
    int m_nZoom = 100;
    int m_nRendered = 0;
    bool m_bPrint = false;
    QScrollArea* m_pScroll = nullptr;
    QLabel* m_pPage = nullptr;
    QSpinBox* m_pPageBox = nullptr;
    QLabel* m_pCount = nullptr;
    QComboBox* m_pZoom = nullptr;
};

class CPrintCommands {
public:
    CPrintCommands(CSheetViewController& controller, QWidget* pWindow);
    ~CPrintCommands();

    void ChooseContent();  // 32813
    void Print();          // 57607
    void Preview();        // 57609
    void PageSetup();      // 57606

    QPrinter& Printer() { return m_Printer; }

    // The dialogs, replaceable for tests. m_ChoosePrinter: the print dialog
    // offering pages 1..nPages; true prints with the printer as chosen.
    // m_RunDialog: shows a dialog of ours modally.
    std::function<bool(QPrinter& printer, int nPages)> m_ChoosePrinter;
    std::function<int(QDialog& dlg)> m_RunDialog;

private:
    void PrintJob(const SPrintJob& job);
    bool PrintToPdfFile(const SPrintJob& job, int from, int to);
    void Warn(const std::string& gbk);

    CSheetViewController& m_Controller;
    QWidget* m_pWindow;
    QPrinter m_Printer;
};
