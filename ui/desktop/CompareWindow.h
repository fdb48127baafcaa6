// The compare window (文件 → 对比另一个计算稿…): the reconciliation of the
// open sheet with another sheet file. The item/category table shows 送审,
// 审定, 核增 and 核减 with the increases and decreases coloured; the row list
// shows each changed, added or removed row with both expressions and their
// differing characters marked. A double-click on a row shows it in the
// sheet. The comparison goes to an Excel workbook (two worksheets), the
// item table to the printer or a PDF file with the sheet's titles and page
// numbers.
#pragma once

#include "core/compare/SheetCompare.h"
#include "core/sheet/SheetGrid.h"

#include <QWidget>
#include <functional>
#include <string>

class CPrompt;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QPagedPaintDevice;
class QPushButton;
class QTableWidget;

class CCompareWindow : public QWidget {
    Q_OBJECT
public:
    struct SSetup {
        SheetGrid m_Open;             // the open sheet as it was when compared
        std::string m_strOpenTitle;   // GBK
        SheetGrid m_Other;            // the chosen file's sheet
        std::string m_strOtherTitle;  // GBK
        int m_nDecimals = 2;
        // Title lines of the printed table below "对量表" (GBK).
        std::vector<std::string> m_Titles;
    };
    CCompareWindow(SSetup setup, CPrompt& prompt, QWidget* pParent = nullptr);
    ~CCompareWindow() override;

    // Shows a row of the open sheet in the main window.
    std::function<void(int row)> m_ShowRow;
    // The open sheet as it is now and its decimals, for 重新对比.
    std::function<void(SheetGrid& sheet, int& decimals)> m_TakeOpenSheet;

    // True while the open sheet is the checked one (审定, side B).
    bool OpenIsChecked() const;
    void SetOpenIsChecked(bool bChecked);
    const sheetcompare::SComparison& Comparison() const { return m_Comparison; }

    QTableWidget* ItemTable() const { return m_pItems; }
    QTableWidget* RowTable() const { return m_pRows; }
    QComboBox* SideBox() const { return m_pSide; }
    QLabel* StatusLabel() const { return m_pStatus; }
    QPushButton* ExcelButton() const { return m_pExcel; }
    QPushButton* PdfButton() const { return m_pPdf; }
    QPushButton* RefreshButton() const { return m_pRefresh; }

    // The commands of the buttons: a file chosen through the prompt, then
    // written whole or not at all. False when nothing was written.
    bool ExportWorkbook();
    bool ExportPdf();
    void Print();
    // The item table on pages of device; returns the number of pages.
    int RenderItemTable(QPagedPaintDevice& device) const;

private:
    QHBoxLayout* MakeTopRow();  // the side chooser, the heading and the buttons
    void MakeTables();          // the item table and the row list
    void Recompare();
    void Refresh();
    void FillItems();
    void FillRows();
    void RowActivated(int tableRow);
    void ItemActivated(int tableRow);
    void ShowOpenRow(int row);
    QString SideTitle(bool bChecked) const;

    SSetup m_Setup;
    CPrompt& m_Prompt;
    sheetcompare::SComparison m_Comparison;
    QComboBox* m_pSide = nullptr;
    QLabel* m_pHeading = nullptr;
    QTableWidget* m_pItems = nullptr;
    QTableWidget* m_pRows = nullptr;
    QLabel* m_pStatus = nullptr;
    QPushButton* m_pRefresh = nullptr;
    QPushButton* m_pExcel = nullptr;
    QPushButton* m_pPrint = nullptr;
    QPushButton* m_pPdf = nullptr;
};
