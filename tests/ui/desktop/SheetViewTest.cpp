// The sheet's table: the model over the sheet, the row and column layout,
// scrolling, the in-cell editor's place and size, and mouse selection.
#include "DesktopFixture.h"

#include "core/session/CommandIds.h"
#include "ui/desktop/CellEdit.h"
#include "ui/desktop/SheetDelegate.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>

using namespace cmdid;

namespace {

class SheetViewTest : public CDesktopFixture {
protected:
    QTableView* Table() { return m_pView->Table(); }
    // The first data row shown at the top of the table.
    int TopRow() { return CSheetModel::SheetRow(Table()->rowAt(0)); }
};

TEST(SheetModel, MapsSheetToTableWithHeadersColoursAndAlignment)
{
    TestApp();
    SheetGrid sheet;
    sheet.SetRows(5);
    CSheetModel model(sheet);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    sheet.SetTextMatrix(0, COL_FORMULA, Gbk("计算表达式"));
    sheet.SetTextMatrix(2, COL_SEQ, "1");
    sheet.SetTextMatrix(2, COL_POSITION, Gbk("墙体"));
    sheet.SetBackColorAt(2, COL_POSITION, 16711935);  // magenta
    sheet.SetAlignmentAt(2, COL_POSITION, ALIGN_LEFT_CENTER);
    sheet.SetColAlignment(COL_UNIT, ALIGN_RIGHT_CENTER);

    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.columnCount(), 5);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("计算表达式"));
    EXPECT_EQ(model.headerData(1, Qt::Vertical).toString(), QStringLiteral("1"));
    const QModelIndex cell = model.index(1, 0);
    EXPECT_EQ(cell.data().toString(), QStringLiteral("墙体"));
    EXPECT_EQ(cell.data(Qt::BackgroundRole).value<QColor>(), QColor(255, 0, 255));
    EXPECT_EQ(cell.data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_FALSE(model.index(0, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_EQ(model.index(0, 3).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignRight | Qt::AlignVCenter);

    // Every code maps to its place in the cell.
    const std::pair<int, Qt::Alignment> codes[] = {
        {1, Qt::AlignLeft | Qt::AlignVCenter}, {2, Qt::AlignLeft | Qt::AlignBottom}, {3, Qt::AlignHCenter | Qt::AlignTop}, {4, Qt::AlignCenter}, {5, Qt::AlignHCenter | Qt::AlignBottom}, {6, Qt::AlignRight | Qt::AlignTop}, {7, Qt::AlignRight | Qt::AlignVCenter}};
    for (const auto& code : codes)
        EXPECT_EQ(CSheetModel::ToQtAlignment(code.first), code.second) << code.first;
}

TEST(SheetModel, RowChangesStayConsistentAndBulkWorkResetsOnce)
{
    TestApp();
    SheetGrid sheet;
    sheet.SetRows(36);
    CSheetModel model(sheet);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &CSheetModel::sheetReset);

    sheet.SetTextMatrix(5, COL_SIZE, "five");
    sheet.InsertRowsAt(3, 3);
    EXPECT_EQ(model.rowCount(), 38);
    EXPECT_EQ(model.index(7, 1).data().toString(), QStringLiteral("five"));
    sheet.RemoveItem(1);
    sheet.SetRows(20);
    EXPECT_EQ(model.rowCount(), sheet.Rows() - 1);
    EXPECT_EQ(resets.count(), 0);

    sheet.SetRedraw(false);
    for (int i = 0; i < 500; ++i)
        sheet.AddItem("", 2);
    sheet.RemoveRowsAt(2, 10);
    EXPECT_EQ(model.rowCount(), 19);  // unchanged until drawing resumes
    sheet.SetRedraw(true);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(model.rowCount(), sheet.Rows() - 1);
}

TEST(SheetDelegate, LinesFitTheRowWhateverTheFont)
{
    // Three lines in a row of 42 pixels with a 15-pixel font: squeezed to
    // 14 pixels each, all inside the cell.
    const QRect rc(0, 100, 50, 42);
    EXPECT_EQ(CSheetDelegate::LineTops(rc, 3, 15, Qt::AlignVCenter), (QList<int>{100, 114, 128}));
    // One line: placed by the vertical alignment.
    EXPECT_EQ(CSheetDelegate::LineTops(rc, 1, 15, Qt::AlignTop), QList<int>{100});
    EXPECT_EQ(CSheetDelegate::LineTops(rc, 1, 15, Qt::AlignBottom), QList<int>{127});
    EXPECT_EQ(CSheetDelegate::LineTops(rc, 1, 15, Qt::AlignVCenter), QList<int>{113});
}

TEST_F(SheetViewTest, NewSheetLayout)
{
    EXPECT_EQ(m_pView->Model()->rowCount(), 35);
    EXPECT_EQ(m_pView->Model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("计算部位"));
    // Columns as wide as their template segments: the expression column is
    // by far the widest, the unit wider than the reference.
    EXPECT_GT(Table()->columnWidth(2), 3 * Table()->columnWidth(0));
    EXPECT_GT(Table()->columnWidth(3), Table()->columnWidth(4));
    const QList<int> widths = CQuantorixView::TemplateWidths(Gbk("ab|abcd"), Table()->fontMetrics());
    ASSERT_EQ(widths.size(), 2);
    EXPECT_GT(widths[1], widths[0]);
}

TEST_F(SheetViewTest, RowHeightsFollowTwipsUpToAFullSheet)
{
    EXPECT_EQ(m_pView->TwipsToPixels(1440), m_pView->logicalDpiY());
    const int line = Sheet().LineHeight();
    const QHeaderView* pRows = Table()->verticalHeader();
    EXPECT_EQ(pRows->sectionSize(0), m_pView->TwipsToPixels(line));
    Sheet().SetRowHeight(4, 3 * line);
    EXPECT_EQ(pRows->sectionSize(3), m_pView->TwipsToPixels(3 * line));
    EXPECT_GT(pRows->sectionSize(3), 2 * pRows->sectionSize(0));

    Sheet().SetRedraw(false);
    Sheet().SetRows(SHEET_MAX_ROWS);
    Sheet().SetRowHeight(60000, 2 * line);
    Sheet().SetRedraw(true);
    EXPECT_EQ(m_pView->Model()->rowCount(), SHEET_MAX_ROWS - 1);
    EXPECT_EQ(pRows->sectionSize(59999), m_pView->TwipsToPixels(2 * line));
    EXPECT_EQ(pRows->sectionSize(59998), m_pView->TwipsToPixels(line));
    // Moving to the last row scrolls it into view.
    ClickCell(1, 1);
    Sheet().SetRow(SHEET_MAX_ROWS - 1);
    m_pView->Refresh();
    EXPECT_TRUE(Table()->viewport()->rect().intersects(CellRect(SHEET_MAX_ROWS - 1, 1)));
}

TEST_F(SheetViewTest, OpenedSheetShowsItsTopAndScrollsOverItsOwnRows)
{
    // A sheet a little taller than the window, every fifth row two lines
    // high, saved with row 1 current.
    for (int row = 1; row <= 40; ++row)
        Sheet().SetTextMatrix(row, COL_POSITION, "r" + std::to_string(row) + (row % 5 == 0 ? "\nx" : ""));
    ClickCell(1, COL_POSITION);
    m_Prompt.m_Files = {FilePath("tall.qtx")};
    m_pFrame->Action(FILE_SAVE)->trigger();
    ASSERT_FALSE(Document().IsModified());
    // Opened over a long sheet scrolled far down.
    Key(Qt::Key_N, Qt::ControlModifier);
    Sheet().SetRows(3000);
    Sheet().SetRow(2990);
    m_pView->Refresh();
    ASSERT_GT(TopRow(), 2900);

    m_pFrame->Action(RECENT_FILE_1)->trigger();
    QCoreApplication::processEvents();  // the table lays out its rows
    const QHeaderView* pRows = Table()->verticalHeader();
    const QScrollBar* pBar = Table()->verticalScrollBar();
    EXPECT_EQ(Sheet().Row(), 1);
    EXPECT_EQ(TopRow(), 1);
    EXPECT_EQ(pBar->value(), 0);
    EXPECT_EQ(pRows->sectionSize(4), 2 * pRows->sectionSize(3));
    // The range is what the rows are taller than the window, the page one
    // window: the handle covers most of the bar.
    EXPECT_EQ(pBar->pageStep(), Table()->viewport()->height());
    EXPECT_EQ(pBar->maximum(), pRows->length() - Table()->viewport()->height());
    EXPECT_GT(pBar->maximum(), 0);
    EXPECT_LT(pBar->maximum(), pBar->pageStep());
}

TEST_F(SheetViewTest, EditorGrowsButNeverPastTheGrid)
{
    ClickCell(2, COL_REF);
    Type(QStringLiteral("x"));
    CCellEdit* pEditor = m_pView->Editor();
    ASSERT_TRUE(pEditor->isVisible());
    // It opens on its cell, its frame on the cell's grid lines, and one
    // line of text keeps that size: the row below stays visible.
    EXPECT_EQ(pEditor->geometry(), m_pView->EditorRectOf(CellRect(2, COL_REF)));
    EXPECT_LT(pEditor->geometry().bottom(), CellRect(3, COL_REF).top());
    Type(QStringLiteral("12"));
    EXPECT_EQ(pEditor->geometry(), m_pView->EditorRectOf(CellRect(2, COL_REF)));
    const int startWidth = pEditor->width();
    const int startHeight = pEditor->height();
    QTest::keyClicks(pEditor, QString(120, QLatin1Char('m')));
    const QRect client = Table()->viewport()->rect();
    EXPECT_GT(pEditor->width(), startWidth);
    // Wrapped, it grows by whole lines (plus 5 pixels and the frame).
    const int frame = 2 * pEditor->frameWidth();
    EXPECT_GT(pEditor->height(), startHeight);
    EXPECT_EQ((pEditor->height() - frame - 5) % pEditor->fontMetrics().lineSpacing(), 0);
    EXPECT_LE(pEditor->geometry().right(), client.right());
    EXPECT_LE(pEditor->geometry().bottom(), client.bottom());
    // Deleting text does not shrink it.
    const QSize grown = pEditor->size();
    for (int i = 0; i < 100; ++i)
        QTest::keyClick(pEditor, Qt::Key_Backspace);
    EXPECT_EQ(pEditor->size(), grown);
}

TEST_F(SheetViewTest, AcceleratorKeysAreLeftToTheWindow)
{
    ClickCell(2, COL_POSITION);
    Type(QStringLiteral("a"));
    ASSERT_TRUE(m_pView->Editor()->isVisible());
    // Ctrl+Z goes to the window; the clipboard keys and plain typing are the
    // editor's own.
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, bool> keys[] = {
        {Qt::Key_Z, Qt::ControlModifier, false}, {Qt::Key_C, Qt::ControlModifier, true}, {Qt::Key_A, Qt::NoModifier, true}};
    for (const auto& [key, modifiers, bEditors] : keys) {
        QKeyEvent e(QEvent::ShortcutOverride, key, modifiers, QString(QChar(key)).toLower());
        QCoreApplication::sendEvent(m_pView->Editor(), &e);
        EXPECT_EQ(e.isAccepted(), bEditors) << key;
    }
}

TEST_F(SheetViewTest, DragSelectsAndInsertedRowsReachTheTable)
{
    Enter(3, COL_POSITION, QStringLiteral("old3"));
    ClickCell(3, COL_POSITION);
    QTest::mousePress(Table()->viewport(), Qt::LeftButton, {}, CellRect(3, COL_POSITION).center());
    QTest::mouseMove(Table()->viewport(), CellRect(5, COL_SIZE).center());
    QTest::mouseRelease(Table()->viewport(), Qt::LeftButton, {}, CellRect(5, COL_SIZE).center());
    EXPECT_EQ(Sheet().RowSel(), 5);
    EXPECT_EQ(Sheet().ColSel(), COL_SIZE);
    QItemSelectionModel* pSel = Table()->selectionModel();
    EXPECT_TRUE(pSel->isSelected(m_pView->Model()->index(3, 1)));
    EXPECT_FALSE(pSel->isSelected(m_pView->Model()->index(5, 1)));

    Key(Qt::Key_Insert);
    EXPECT_EQ(m_pView->Model()->rowCount(), Sheet().Rows() - 1);
    // Three rows went in above the selection's three.
    EXPECT_EQ(Sheet().TextMatrix(6, COL_POSITION), "old3");
    EXPECT_EQ(Shown(6, COL_POSITION), QStringLiteral("old3"));
}

}  // namespace
