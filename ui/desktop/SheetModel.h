// The sheet as a Qt table model. Model rows are the data rows of the sheet
// (sheet row r is model row r - 1) and model columns are sheet columns
// 1 .. 5; the header row becomes the horizontal header and the item number
// column the vertical header. GBK is converted at this edge.
//
// The sheet tells its observer after a change; the model keeps its own row
// count so that every insertion and removal reaches the view as a proper
// begin/end pair. While the sheet's drawing switch is off, insertions and
// removals are only noted, and the model resets once when drawing comes
// back on: bulk operations on thousands of rows cost one reset.
#pragma once

#include "core/sheet/SheetGrid.h"

#include <QAbstractTableModel>

class CSheetModel : public QAbstractTableModel, public CSheetObserver {
    Q_OBJECT
public:
    explicit CSheetModel(SheetGrid& sheet, QObject* pParent = nullptr);
    ~CSheetModel() override;

    SheetGrid& Sheet() { return m_Sheet; }
    // Notifications are passed on to a second observer (the controller may
    // want them too).
    void SetNextObserver(CSheetObserver* pNext) { m_pNext = pNext; }

    static int SheetRow(int modelRow) { return modelRow + 1; }
    static int SheetCol(int modelCol) { return modelCol + 1; }
    static int ModelRow(int sheetRow) { return sheetRow - 1; }
    static int ModelCol(int sheetCol) { return sheetCol - 1; }

    // 0x00BBGGRR to a colour; 0 is the default background (invalid colour).
    static QColor ToQColor(std::uint32_t clr);
    static Qt::Alignment ToQtAlignment(int code);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // CSheetObserver
    void OnSheetReset() override;
    void OnRowsInserted(int first, int count) override;
    void OnRowsRemoved(int first, int count) override;
    void OnCellChanged(int row, int col) override;
    void OnRowHeightChanged(int row) override;
    void OnCurrentCellChanged() override;
    void OnRedrawChanged(bool bRedraw) override;

signals:
    // Sheet rows.
    void rowHeightChanged(int sheetRow);
    void currentCellChanged();
    void redrawChanged(bool bRedraw);
    // After a reset of the whole model (new sheet, bulk change).
    void sheetReset();

private:
    void ResetFromSheet();

    SheetGrid& m_Sheet;
    CSheetObserver* m_pNext = nullptr;
    int m_nRows = 0;  // data rows as the views know them
    bool m_bPendingReset = false;
};
