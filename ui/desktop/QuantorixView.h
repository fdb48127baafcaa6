// The sheet view: a table view over the sheet model with the fixed header
// row and item number column, column widths from the header template, row
// heights in twips, and the in-cell editor over the current cell. Mouse,
// keys, the wheel and input methods become calls of the controller; after
// each call the view redraws from the sheet. Commands with a dialog (system
// settings, edit settings, the bulk text dialog) show the dialog here and
// hand the result to the controller.
#pragma once

#include "ui/desktop/CellEdit.h"
#include "ui/desktop/SheetViewController.h"

#include <QPointer>
#include <QStringList>
#include <QTableView>
#include <QWidget>
#include <memory>
#include <vector>

class CPrintCommands;
class CSettingsKey;
class CCompareWindow;
class CSheetModel;
class CQuantorixView;
#include <QMenu>

// The grid window: a table view whose input goes to the view.
class CSheetTable : public QTableView {
    Q_OBJECT
public:
    CSheetTable(CQuantorixView& view, QWidget* pParent);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    bool eventFilter(QObject* pWatched, QEvent* e) override;
    // Tab and Shift+Tab move between cells, never the focus away.
    bool focusNextPrevChild(bool next) override
    {
        (void)next;
        return false;
    }

private:
    CQuantorixView& m_View;
    QModelIndex m_DragIndex;
    bool m_bDragging = false;
};

class CQuantorixView : public QWidget {
    Q_OBJECT
public:
    CQuantorixView(CSheetViewController& controller, const CSettingsKey& key, QWidget* pParent = nullptr);
    ~CQuantorixView() override;

    CSheetViewController& Controller() { return m_Controller; }
    CSheetTable* Table() const { return m_pTable; }
    CCellEdit* Editor() const { return m_pEditor; }
    CSheetModel* Model() const { return m_pModel; }
    // The compare window opened last (文件 → 对比另一个计算稿…), while open.
    CCompareWindow* CompareWindow() const;

    // The grid's context menu (the frame builds it from its actions).
    void SetContextMenu(QMenu* pMenu) { m_pContextMenu = pMenu; }
    // The file named on the command line: opened 800 ms after the view is
    // first shown.
    void SetPendingOpen(const std::string& path) { m_strPendingOpen = path; }

    // Column widths the user dragged stay through recalculation, opening and
    // saving, and are kept with the window's settings when it closes;
    // RestoreColumnWidths gives every column its template width again.
    void SaveColumnWidths() const;
    void RestoreColumnWidths();
    // Print, preview, page setup and the print-content dialog.
    CPrintCommands& Printing();

    // Where the editor opens over a cell's rectangle (table coordinates).
    QRect EditorRectOf(const QRect& rcCell) const;
    // Pixels of a height in twips on this screen.
    int TwipsToPixels(int twips) const;
    // Width in pixels of each template segment of the header template.
    static QList<int> TemplateWidths(const std::string& format, const QFontMetrics& fm);

public slots:
    // A command from a menu, tool bar, accelerator or the context menu.
    void OnCommand(int nId);
    // Redraws from the sheet: current cell and selection, editor, title,
    // item list.
    void Refresh();

signals:
    void titleChanged(const QString& title);
    void itemListChanged(const QStringList& items, int current);
    void statusMessage(const QString& text);

protected:
    void showEvent(QShowEvent* e) override;

private:
    friend class CSheetTable;

    void SetUpHeaders(const QFont& gridFont);
    // The table follows the model's resets, row heights and current cell.
    void FollowModel();
    // A recalculation on another thread starts (true) or has ended.
    void SetBusy(bool bBusy);

    // Keys and typing in the open editor.
    void EditorKey(ESheetKey key);
    void EditorEdited();

    // Input from the table.
    void MouseCell(const QModelIndex& index, bool bExtend);
    void DoubleClick(const QModelIndex& index);
    void ContextMenuAt(const QModelIndex& index, const QPoint& globalPos);
    void Wheel(bool bTowardsUser);
    void GridKey(QKeyEvent* e);
    void GridInputMethod(QInputMethodEvent* e);

    // The editor's text, caret and anchor to the session's editor, and back.
    void PushEditorState();
    void PullEditorState();
    // A key for the controller, with the page size it needs at hand.
    void SendKey(ESheetKey key);
    void PlaceEditor();
    void SyncSelection();
    void ApplyLayout();  // column widths and row heights from the sheet
    void ApplyRowHeight(int sheetRow);
    void NoteReplaced(bool bReplaced);
    void OpenCompareWindow();
    void PaintCorner(QWidget* pCorner);

    CSheetViewController& m_Controller;
    CSheetSession& m_Session;
    const CSettingsKey& m_Key;
    CSheetModel* m_pModel = nullptr;
    CSheetTable* m_pTable = nullptr;
    CCellEdit* m_pEditor = nullptr;
    QPointer<QMenu> m_pContextMenu;
    QPointer<QWidget> m_pCompare;  // a CCompareWindow
    QWidget* m_pCorner = nullptr;
    int m_nEditRow = -1;
    int m_nEditCol = -1;
    bool m_bSyncing = false;
    bool m_bApplyingLayout = false;
    std::vector<int> m_UserWidths;  // columns 1 .. 5, 0 for the template width
    bool m_bFirstShown = false;
    std::string m_strPendingOpen;
    std::unique_ptr<CPrintCommands> m_pPrinting;
    QString m_strTitle;
    QStringList m_Items;
    int m_nCurrentItem = -2;
};
