#include "ui/desktop/QuantorixView.h"

#include "core/compare/CompareFiles.h"
#include "core/document/DocumentTexts.h"
#include "core/document/FileOps.h"
#include "core/engine/Prompt.h"
#include "core/session/CommandIds.h"
#include "core/settings/SettingsNames.h"
#include "core/settings/SettingsStore.h"
#include "core/sheet/SheetGrid.h"
#include "ui/desktop/CompareWindow.h"
#include "ui/desktop/GbkQt.h"
#include "ui/desktop/PrintDialogs.h"
#include "ui/desktop/SettingsDialogs.h"
#include "ui/desktop/SheetDelegate.h"
#include "ui/desktop/SheetKeyboard.h"
#include "ui/desktop/SheetModel.h"
#include "ui/desktop/WindowPlacement.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QTimer>
#include <QVBoxLayout>

// ---------------------------------------------------------------------------
// CSheetTable

CSheetTable::CSheetTable(CQuantorixView& view, QWidget* pParent) : QTableView(pParent), m_View(view)
{
    setObjectName(QStringLiteral("1000"));
    setAttribute(Qt::WA_InputMethodEnabled, true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFocusPolicy(Qt::StrongFocus);
}

void CSheetTable::mousePressEvent(QMouseEvent* e)
{
    setFocus();
    const QModelIndex index = indexAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton && index.isValid()) {
        m_DragIndex = index;
        m_bDragging = true;
        m_View.MouseCell(index, e->modifiers() & Qt::ShiftModifier);
    }
    e->accept();
}

void CSheetTable::mouseMoveEvent(QMouseEvent* e)
{
    if (!m_bDragging || !(e->buttons() & Qt::LeftButton))
        return;
    const QModelIndex index = indexAt(e->position().toPoint());
    if (index.isValid() && index != m_DragIndex) {
        m_DragIndex = index;
        m_View.MouseCell(index, true);
    }
}

void CSheetTable::mouseReleaseEvent(QMouseEvent* e)
{
    m_bDragging = false;
    e->accept();
}

void CSheetTable::mouseDoubleClickEvent(QMouseEvent* e)
{
    const QModelIndex index = indexAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton && index.isValid())
        m_View.DoubleClick(index);
    e->accept();
}

void CSheetTable::wheelEvent(QWheelEvent* e)
{
    const int delta = e->angleDelta().y();
    if (delta != 0)
        m_View.Wheel(delta < 0);
    QTableView::wheelEvent(e);
}

void CSheetTable::keyPressEvent(QKeyEvent* e)
{
    m_View.GridKey(e);
}

void CSheetTable::inputMethodEvent(QInputMethodEvent* e)
{
    m_View.GridInputMethod(e);
}

QVariant CSheetTable::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled)
        return true;
    return QTableView::inputMethodQuery(query);
}

void CSheetTable::contextMenuEvent(QContextMenuEvent* e)
{
    // The event reaches the table through its viewport, in the viewport's
    // coordinates, as visualRect gives them too.
    QPoint pos = e->pos();
    if (e->reason() != QContextMenuEvent::Mouse) {
        const QModelIndex current = currentIndex();
        pos = current.isValid() ? visualRect(current).center() : QPoint(0, 0);
    }
    m_View.ContextMenuAt(indexAt(pos), e->globalPos());
    e->accept();
}

bool CSheetTable::eventFilter(QObject* pWatched, QEvent* e)
{
    if (e->type() == QEvent::Paint && pWatched == m_View.m_pCorner) {
        m_View.PaintCorner(m_View.m_pCorner);
        return true;
    }
    return QTableView::eventFilter(pWatched, e);
}

// ---------------------------------------------------------------------------
// CQuantorixView

namespace {

int CharIndexOfByte(const std::string& gbk, int byteOffset)
{
    byteOffset = std::clamp(byteOffset, 0, static_cast<int>(gbk.size()));
    return static_cast<int>(GbkToQ(gbk.substr(0, static_cast<std::size_t>(byteOffset))).size());
}

int ByteOffsetOfChar(const QString& text, int charIndex)
{
    charIndex = std::clamp(charIndex, 0, static_cast<int>(text.size()));
    return static_cast<int>(QToGbk(text.left(charIndex)).size());
}

}  // namespace

CQuantorixView::CQuantorixView(CSheetViewController& controller, const CSettingsKey& key, QWidget* pParent)
    : QWidget(pParent), m_Controller(controller), m_Session(controller.Session()), m_Key(key)
{
    setObjectName(QStringLiteral("quantorixView"));
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);

    m_pModel = new CSheetModel(controller.Sheet(), this);
    m_pTable = new CSheetTable(*this, this);
    QFont gridFont = m_pTable->font();
    gridFont.setPointSizeF(controller.Sheet().CellFontSize());
    m_pTable->setFont(gridFont);
    m_pTable->setModel(m_pModel);
    m_pTable->setItemDelegate(new CSheetDelegate(m_pTable));
    pLayout->addWidget(m_pTable);
    SetUpHeaders(gridFont);

    // The top left corner shows the header text of the item number column.
    m_pCorner = m_pTable->findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (m_pCorner)
        m_pCorner->installEventFilter(m_pTable);

    m_pEditor = new CCellEdit(m_pTable->viewport());
    m_pEditor->setFont(gridFont);
    connect(m_pEditor, &CCellEdit::sheetKey, this, &CQuantorixView::EditorKey);
    connect(m_pEditor, &CCellEdit::edited, this, &CQuantorixView::EditorEdited);

    FollowModel();
    m_Controller.m_OnBusy = [this](bool bBusy) { SetBusy(bBusy); };
    m_Controller.m_OnChanged = [this]() { Refresh(); };

    ApplyLayout();
}

void CQuantorixView::SetUpHeaders(const QFont& gridFont)
{
    QHeaderView* pRows = m_pTable->verticalHeader();
    pRows->setSectionResizeMode(QHeaderView::Fixed);
    pRows->setMinimumSectionSize(1);
    pRows->setSectionsClickable(false);
    pRows->setDefaultAlignment(Qt::AlignCenter);
    pRows->setFont(gridFont);
    QHeaderView* pCols = m_pTable->horizontalHeader();
    pCols->setSectionResizeMode(QHeaderView::Interactive);
    pCols->setSectionsClickable(false);
    pCols->setHighlightSections(false);
    pCols->setFont(gridFont);
    pCols->setMinimumSectionSize(8);
    m_UserWidths = ReadColumnWidths(m_Key);
    connect(pCols, &QHeaderView::sectionResized, this, [this](int logical, int, int newSize) {
        const int index = CSheetModel::SheetCol(logical) - 1;
        if (!m_bApplyingLayout && index >= 0 && index < static_cast<int>(m_UserWidths.size()))
            m_UserWidths[static_cast<std::size_t>(index)] = newSize;
    });
}

void CQuantorixView::FollowModel()
{
    connect(m_pModel, &CSheetModel::sheetReset, this, [this]() {
        ApplyLayout();
        SyncSelection();
    });
    connect(m_pModel, &CSheetModel::rowHeightChanged, this, &CQuantorixView::ApplyRowHeight);
    connect(m_pModel, &CSheetModel::currentCellChanged, this, &CQuantorixView::SyncSelection);
    connect(m_pModel, &QAbstractItemModel::headerDataChanged, this, [this](Qt::Orientation o, int, int) {
        if (o == Qt::Horizontal && m_pCorner)
            m_pCorner->update();
    });
    connect(m_pModel, &CSheetModel::redrawChanged, this, [this](bool bRedraw) {
        m_pTable->viewport()->setUpdatesEnabled(bRedraw);
        if (bRedraw)
            m_pTable->viewport()->update();
    });
    connect(m_pTable->verticalScrollBar(), &QScrollBar::valueChanged, this, &CQuantorixView::PlaceEditor);
    connect(m_pTable->horizontalScrollBar(), &QScrollBar::valueChanged, this, &CQuantorixView::PlaceEditor);
}

void CQuantorixView::SetBusy(bool bBusy)
{
    // While the sheet is recalculated on another thread the table neither
    // draws nor reads it, and the window takes no input; afterwards the
    // model is read again in full.
    if (bBusy) {
        m_Session.Sheet().SetObserver(nullptr);
        m_pTable->setUpdatesEnabled(false);
        window()->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return;
    }
    m_Session.Sheet().SetObserver(m_pModel);
    m_pModel->OnSheetReset();
    m_pTable->setUpdatesEnabled(true);
    window()->setEnabled(true);
    QApplication::restoreOverrideCursor();
    m_pTable->setFocus();
}

CQuantorixView::~CQuantorixView()
{
    m_Controller.m_OnBusy = nullptr;
    m_Controller.m_OnChanged = nullptr;
}

QRect CQuantorixView::EditorRectOf(const QRect& rcCell) const
{
    const int frame = m_pEditor->frameWidth();
    return rcCell.adjusted(-frame, -frame, frame, frame);
}

int CQuantorixView::TwipsToPixels(int twips) const
{
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    return std::max(1, (twips * dpi + 720) / 1440);
}

QList<int> CQuantorixView::TemplateWidths(const std::string& format, const QFontMetrics& fm)
{
    // The sheet wraps its cells by bytes, a Chinese character counting two,
    // as a font with half-width letters lays them out. Each byte of a
    // segment gets half a Chinese character's width (at least a digit's),
    // so that a wrapped line fits its column whatever the proportions of
    // the screen font.
    const int halfWidth = std::max((fm.horizontalAdvance(QStringLiteral("\u6C49")) + 1) / 2,
                                   fm.horizontalAdvance(QLatin1Char('0')));
    QList<int> widths;
    const QStringList segments = GbkToQ(format).split(QLatin1Char('|'));
    for (const QString& segment : segments) {
        const int bytes = static_cast<int>(QToGbk(segment).size());
        widths << std::max(fm.horizontalAdvance(segment), bytes * halfWidth) + 8;
    }
    return widths;
}

void CQuantorixView::ApplyLayout()
{
    SheetGrid& sheet = m_Session.Sheet();
    const QFontMetrics fm(m_pTable->font());
    QList<int> widths;
    if (!sheet.FormatString().empty())
        widths = TemplateWidths(sheet.FormatString(), fm);
    m_bApplyingLayout = true;
    for (int col = 0; col < SHEET_COLS; ++col) {
        int width = col < widths.size() ? widths[col]
                                        : sheet.ColumnWidthChars(col) * fm.horizontalAdvance(QLatin1Char('0')) + 8;
        const std::size_t user = static_cast<std::size_t>(col - 1);
        if (col != COL_SEQ && user < m_UserWidths.size() && m_UserWidths[user] > 0)
            width = m_UserWidths[user];
        if (col == COL_SEQ)
            m_pTable->verticalHeader()->setFixedWidth(width);
        else
            m_pTable->setColumnWidth(CSheetModel::ModelCol(col), width);
    }
    m_bApplyingLayout = false;

    // One default height for all rows; only rows that differ get their own.
    // This keeps a reset of 65500 rows to a single pass over plain integers.
    QHeaderView* pRows = m_pTable->verticalHeader();
    const int lineHeight = sheet.LineHeight();
    pRows->setDefaultSectionSize(TwipsToPixels(lineHeight));
    for (int row = 1; row < sheet.Rows(); ++row)
        if (sheet.RowHeight(row) != lineHeight)
            pRows->resizeSection(CSheetModel::ModelRow(row), TwipsToPixels(sheet.RowHeight(row)));
    m_pTable->horizontalHeader()->setFixedHeight(TwipsToPixels(sheet.RowHeight(0)) + 4);
    if (m_pCorner)
        m_pCorner->update();
}

void CQuantorixView::SaveColumnWidths() const
{
    WriteColumnWidths(m_Key, m_UserWidths);
}

void CQuantorixView::RestoreColumnWidths()
{
    std::fill(m_UserWidths.begin(), m_UserWidths.end(), 0);
    ApplyLayout();
    PlaceEditor();
    SaveColumnWidths();
}

void CQuantorixView::ApplyRowHeight(int sheetRow)
{
    SheetGrid& sheet = m_Session.Sheet();
    if (sheetRow == 0) {
        m_pTable->horizontalHeader()->setFixedHeight(TwipsToPixels(sheet.RowHeight(0)) + 4);
        return;
    }
    const int modelRow = CSheetModel::ModelRow(sheetRow);
    if (modelRow >= 0 && modelRow < m_pModel->rowCount())
        m_pTable->verticalHeader()->resizeSection(modelRow, TwipsToPixels(sheet.RowHeight(sheetRow)));
}

void CQuantorixView::PaintCorner(QWidget* pCorner)
{
    QPainter painter(pCorner);
    QStyleOptionHeader option;
    option.initFrom(pCorner);
    // The corner takes no clicks but is drawn like the other headers.
    option.state |= QStyle::State_Enabled;
    option.palette = m_pTable->horizontalHeader()->palette();
    option.rect = pCorner->rect();
    option.text = GbkToQ(m_Session.Sheet().TextMatrix(0, COL_SEQ));
    option.textAlignment = Qt::AlignCenter;
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.orientation = Qt::Horizontal;
    painter.setFont(m_pTable->font());
    pCorner->style()->drawControl(QStyle::CE_Header, &option, &painter, pCorner);
}

void CQuantorixView::SyncSelection()
{
    if (m_bSyncing)
        return;
    m_bSyncing = true;
    SheetGrid& sheet = m_Session.Sheet();
    const int row = CSheetModel::ModelRow(sheet.Row());
    const int col = CSheetModel::ModelCol(sheet.Col());
    const QModelIndex current = m_pModel->index(row, col);
    if (current.isValid()) {
        QItemSelectionModel* pSelection = m_pTable->selectionModel();
        const int rowSel = CSheetModel::ModelRow(sheet.RowSel());
        const int colSel = CSheetModel::ModelCol(sheet.ColSel());
        const QModelIndex topLeft = m_pModel->index(std::min(row, rowSel), std::max(0, std::min(col, colSel)));
        const QModelIndex bottomRight = m_pModel->index(std::max(row, rowSel), std::max(col, colSel));
        pSelection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
        if (topLeft.isValid() && bottomRight.isValid())
            pSelection->select(QItemSelection(topLeft, bottomRight), QItemSelectionModel::ClearAndSelect);
        else
            pSelection->select(current, QItemSelectionModel::ClearAndSelect);
        m_pTable->scrollTo(current);
    }
    m_bSyncing = false;
}

void CQuantorixView::PlaceEditor()
{
    if (!m_pEditor->isVisible() && m_nEditRow < 0)
        return;
    const QModelIndex index = m_pModel->index(CSheetModel::ModelRow(m_nEditRow), CSheetModel::ModelCol(m_nEditCol));
    if (!index.isValid())
        return;
    const QRect rcCell = m_pTable->visualRect(index);
    const QRect rcClient = m_pTable->viewport()->rect();
    if (m_pEditor->isVisible()) {
        // Scrolling moves the editor with its cell; its size stays.
        m_pEditor->move(EditorRectOf(rcCell).topLeft());
        m_pEditor->PlaceOnCell(m_pEditor->geometry(), rcClient);
    } else {
        // The editor's frame lies on the cell's grid lines: its text area is
        // the cell.
        m_pEditor->PlaceOnCell(EditorRectOf(rcCell), rcClient);
    }
}

void CQuantorixView::Refresh()
{
    SyncSelection();
    PullEditorState();
    m_pTable->viewport()->update();
    if (m_pCorner)
        m_pCorner->update();

    const QString title = GbkToQ(m_Session.Document().WindowTitle());
    if (title != m_strTitle) {
        m_strTitle = title;
        emit titleChanged(title);
    }
    QStringList items;
    for (const std::string& item : m_Session.Summary().ItemEntries())
        items << GbkToQ(item);
    const int current = m_Session.Summary().SelectedItem();
    if (items != m_Items || current != m_nCurrentItem) {
        m_Items = items;
        m_nCurrentItem = current;
        emit itemListChanged(items, current);
    }
}

void CQuantorixView::PullEditorState()
{
    const CCellEditor& editor = m_Session.Editor();
    if (!editor.IsShown()) {
        if (m_pEditor->isVisible()) {
            const bool bHadFocus = m_pEditor->hasFocus();
            m_pEditor->hide();
            m_nEditRow = m_nEditCol = -1;
            if (bHadFocus)
                m_pTable->setFocus();
        }
        return;
    }
    const std::string& text = editor.Text();
    const QString qText = GbkToQ(text);
    const int caret = CharIndexOfByte(text, static_cast<int>(editor.Caret()));
    // The selection's other end; the caret itself when nothing is selected.
    std::size_t anchorByte = editor.Caret();
    if (editor.HasSelection())
        anchorByte = editor.Caret() == editor.SelectionStart() ? editor.SelectionEnd() : editor.SelectionStart();
    const int anchor = CharIndexOfByte(text, static_cast<int>(anchorByte));

    const SheetGrid& sheet = m_Session.Sheet();
    if (!m_pEditor->isVisible() || m_nEditRow != sheet.Row() || m_nEditCol != sheet.Col()) {
        m_pEditor->hide();
        m_nEditRow = sheet.Row();
        m_nEditCol = sheet.Col();
        m_pTable->scrollTo(m_pModel->index(CSheetModel::ModelRow(m_nEditRow), CSheetModel::ModelCol(m_nEditCol)));
        PlaceEditor();
        m_pEditor->SetState(qText, caret, anchor);
        m_pEditor->show();
        m_pEditor->raise();
        m_pEditor->setFocus();
        m_pEditor->GrowToText();
    } else if (qText != m_pEditor->toPlainText() || caret != m_pEditor->Caret() || anchor != m_pEditor->Anchor()) {
        m_pEditor->SetState(qText, caret, anchor);
    }
}

void CQuantorixView::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (m_bFirstShown)
        return;
    m_bFirstShown = true;
    // The screen decides the header template; without one the common
    // template is used.
    QSize screenSize;
    if (const QScreen* pScreen = screen())
        screenSize = pScreen->geometry().size();
    m_Controller.FirstDisplay(window(), screenSize.width(), screenSize.height());
    ApplyLayout();
    Refresh();
    // A file named on the command line opens a moment later, once the empty
    // window stands, so that its progress shows over a painted window.
    const int PENDING_OPEN_DELAY_MS = 800;
    QTimer::singleShot(PENDING_OPEN_DELAY_MS, this, [this]() {
        if (m_strPendingOpen.empty())
            return;
        const std::string path = m_strPendingOpen;
        m_strPendingOpen.clear();
        m_Controller.OpenPendingFile(path);
        Refresh();
    });
}

void CQuantorixView::NoteReplaced(bool bReplaced)
{
    if (bReplaced)
        emit statusMessage(ReplacedCharsNotice());
}

void CQuantorixView::OnCommand(int nId)
{
    if (!m_Controller.IsCommandEnabled(nId))
        return;
    // An open edit is handed over first, so that commands see its text.
    if (m_pEditor->isVisible())
        PushEditorState();
    switch (nId) {
    case cmdid::RESTORE_COLUMN_WIDTHS:
        RestoreColumnWidths();
        break;
    case cmdid::SYSTEM_SETTINGS: {
        CSystemSettingsDlg dlg(m_Key, window());
        if (dlg.exec() == QDialog::Accepted)
            m_Controller.AfterSystemSettings();
        break;
    }
    case cmdid::EDIT_SETTINGS: {
        CEditSettingsDlg dlg(m_Key, window());
        // Whichever way it closes, its data holds the colours to keep.
        dlg.exec();
        m_Controller.AfterEditSettings(dlg.Data());
        break;
    }
    case cmdid::APPEND_TO_CELLS:
    case cmdid::REMOVE_FROM_CELLS: {
        CBulkTextDlg dlg(
            m_Key, [this](const std::string& text) { return m_Controller.ConfirmBulkText(text); }, window());
        const bool bOk = dlg.exec() == QDialog::Accepted;
        NoteReplaced(dlg.Replaced());
        if (bOk)
            m_Controller.RunCommand(nId);
        break;
    }
    case cmdid::COMPARE_SHEETS:
        OpenCompareWindow();
        break;
    case cmdid::PRINT_SELECTION: Printing().ChooseContent(); break;
    case cmdid::FILE_PRINT: Printing().Print(); break;
    case cmdid::FILE_PRINT_PREVIEW: Printing().Preview(); break;
    case cmdid::FILE_PRINT_SETUP: Printing().PageSetup(); break;
    default:
        m_Controller.RunCommand(nId);
        break;
    }
    Refresh();
}

CCompareWindow* CQuantorixView::CompareWindow() const
{
    return qobject_cast<CCompareWindow*>(m_pCompare.data());
}

void CQuantorixView::OpenCompareWindow()
{
    const CSheetViewController::SCompareSource source = m_Controller.CompareSource();
    CPrompt& prompt = m_Controller.Prompt();
    std::string path = "*.qtx";
    if (!prompt.ChooseFile(false, doctext::FILE_FILTER, path))
        return;
    CCompareWindow::SSetup setup;
    sheetfile::SProperties props;
    std::string error;
    if (!sheetcompare::LoadSheetFile(path, setup.m_Other, props, error)) {
        prompt.ShowMessage(error, doctext::TEXT_WARNING);
        return;
    }
    setup.m_strOtherTitle = docfile::PathToText(docfile::TitleFromPath(path));
    setup.m_Open = m_Session.Sheet();
    setup.m_strOpenTitle = source.m_strTitle;
    setup.m_nDecimals = source.m_nDecimals;
    // The printed titles: the open sheet's project and client, with the
    // labels the print layout uses.
    struct STitle {
        const char* m_pszLabel;
        const char* m_pszDefault;
        const char* m_pszValue;
    };
    const STitle titles[] = {
        {settingsname::COUNT_PROJECT_NAME, settingsdefault::COUNT_PROJECT_NAME, doctext::KEY_PROJECT},
        {settingsname::COUNT_CONSTRUCTION_COMPANY, settingsdefault::COUNT_CONSTRUCTION_COMPANY, doctext::KEY_CLIENT},
    };
    for (const STitle& title : titles) {
        const std::string value = m_Key.ReadString(title.m_pszValue);
        if (!value.empty())
            setup.m_Titles.push_back(m_Key.ReadWithDefault(title.m_pszLabel, title.m_pszDefault, false) + "\xA3\xBA" + value);  // "："
    }
    auto* pWindow = new CCompareWindow(std::move(setup), prompt, window());
    pWindow->m_ShowRow = [this](int row) {
        m_Controller.ClickCell(row, COL_FORMULA, false);
        Refresh();
        window()->raise();
        window()->activateWindow();
        m_pTable->setFocus();
    };
    pWindow->m_TakeOpenSheet = [this](SheetGrid& sheet, int& decimals) {
        decimals = m_Controller.CompareSource().m_nDecimals;
        sheet = m_Session.Sheet();
    };
    m_pCompare = pWindow;
    pWindow->show();
}

CPrintCommands& CQuantorixView::Printing()
{
    if (!m_pPrinting)
        m_pPrinting = std::make_unique<CPrintCommands>(m_Controller, window());
    return *m_pPrinting;
}

void CQuantorixView::PushEditorState()
{
    CCellEditor& editor = m_Session.Editor();
    if (!editor.IsShown())
        return;
    bool bReplaced = false;
    const QString text = m_pEditor->toPlainText();
    const std::string gbk = QToGbk(text, &bReplaced);
    if (editor.Text() != gbk)
        editor.Open(gbk);
    const int caret = ByteOffsetOfChar(text, m_pEditor->Caret());
    const int anchor = ByteOffsetOfChar(text, m_pEditor->Anchor());
    editor.SetSelection(static_cast<std::size_t>(std::max(anchor, 0)), static_cast<std::size_t>(std::max(caret, 0)));
    NoteReplaced(bReplaced);
}

void CQuantorixView::SendKey(ESheetKey key)
{
    if (key == SHEETKEY_PAGE_UP || key == SHEETKEY_PAGE_DOWN) {
        // A page is the rows of common height the table shows at once.
        const int rowHeight = std::max(1, m_pTable->verticalHeader()->defaultSectionSize());
        m_Session.SetPageRows(std::max(1, m_pTable->viewport()->height() / rowHeight));
    }
    m_Controller.PressKey(key);
}

void CQuantorixView::EditorKey(ESheetKey key)
{
    PushEditorState();
    SendKey(key);
    Refresh();
}

void CQuantorixView::EditorEdited()
{
    if (m_pEditor->isVisible())
        PushEditorState();
}

void CQuantorixView::MouseCell(const QModelIndex& index, bool bExtend)
{
    if (m_pEditor->isVisible())
        PushEditorState();
    m_Controller.ClickCell(CSheetModel::SheetRow(index.row()), CSheetModel::SheetCol(index.column()), bExtend);
    Refresh();
}

void CQuantorixView::DoubleClick(const QModelIndex& index)
{
    m_Controller.DoubleClickCell(CSheetModel::SheetRow(index.row()), CSheetModel::SheetCol(index.column()));
    Refresh();
}

void CQuantorixView::ContextMenuAt(const QModelIndex& index, const QPoint& globalPos)
{
    if (m_pEditor->isVisible())
        PushEditorState();
    if (index.isValid())
        m_Controller.ContextClickCell(CSheetModel::SheetRow(index.row()), CSheetModel::SheetCol(index.column()));
    Refresh();
    if (m_pContextMenu)
        m_pContextMenu->exec(globalPos);
}

void CQuantorixView::Wheel(bool bTowardsUser)
{
    if (m_pEditor->isVisible())
        PushEditorState();
    m_Controller.PressKey(bTowardsUser ? SHEETKEY_WHEEL_DOWN : SHEETKEY_WHEEL_UP);
    Refresh();
}

void CQuantorixView::GridKey(QKeyEvent* e)
{
    ESheetKey key = SHEETKEY_OTHER;
    if (!SheetKeyOf(e->key(), e->modifiers(), key))
        return;
    const QString text = e->text();
    const bool bCtrl = e->modifiers() & Qt::ControlModifier;
    if (key == SHEETKEY_OTHER && !text.isEmpty() && text.at(0).isPrint() && !bCtrl) {
        bool bReplaced = false;
        m_Controller.TypeText(QToGbk(text, &bReplaced));
        NoteReplaced(bReplaced);
    } else {
        SendKey(key);
    }
    Refresh();
}

void CQuantorixView::GridInputMethod(QInputMethodEvent* e)
{
    // An input method that starts composing on the grid opens the editor
    // first, so the composition shows in the cell.
    if (!m_Session.Editor().IsShown() && (!e->preeditString().isEmpty() || !e->commitString().isEmpty())) {
        m_Controller.PressKey(SHEETKEY_OTHER);
        Refresh();
    }
    if (m_pEditor->isVisible()) {
        QCoreApplication::sendEvent(m_pEditor, e);
    } else if (!e->commitString().isEmpty()) {
        bool bReplaced = false;
        m_Controller.TypeText(QToGbk(e->commitString(), &bReplaced));
        NoteReplaced(bReplaced);
        Refresh();
    }
    e->accept();
}
