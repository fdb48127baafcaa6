#include "AppTestSupport.h"

#include "app/BasicController.h"
#include "app/CellEdit.h"
#include "app/QuantorixView.h"
#include "app/SheetDelegate.h"
#include "app/SheetModel.h"
#include "engine/Prompt.h"
#include "settings/SettingsStore.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class SheetViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApp();
        m_pView = std::make_unique<CQuantorixView>(m_Controller, m_Key);
        m_pView->resize(900, 600);
        m_pView->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pView.get()));
    }
    SheetGrid& Sheet() { return m_Controller.Sheet(); }
    QRect CellRect(int row, int col)
    {
        return m_pView->Table()->visualRect(m_pView->Model()->index(row - 1, col - 1));
    }
    void ClickCell(int row, int col)
    {
        QTest::mouseClick(m_pView->Table()->viewport(), Qt::LeftButton, {}, CellRect(row, col).center());
    }

    CMemorySettingsStore m_Store;
    CSettingsKey m_Key{m_Store};
    CSilentPrompt m_Prompt;
    CBasicController m_Controller{m_Key, m_Prompt};
    std::unique_ptr<CQuantorixView> m_pView;
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
    sheet.SetBackColorAt(2, COL_POSITION, 16711935); // magenta
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
        {1, Qt::AlignLeft | Qt::AlignVCenter},    {2, Qt::AlignLeft | Qt::AlignBottom},
        {3, Qt::AlignHCenter | Qt::AlignTop},     {4, Qt::AlignCenter},
        {5, Qt::AlignHCenter | Qt::AlignBottom},  {6, Qt::AlignRight | Qt::AlignTop},
        {7, Qt::AlignRight | Qt::AlignVCenter}};
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
    EXPECT_EQ(model.rowCount(), 19); // unchanged until drawing resumes
    sheet.SetRedraw(true);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(model.rowCount(), sheet.Rows() - 1);
}

TEST_F(SheetViewTest, NewSheetLayout)
{
    EXPECT_EQ(m_pView->Model()->rowCount(), 35);
    EXPECT_EQ(m_pView->Model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("计算部位"));
    // Columns as wide as their template segments: the expression column is
    // by far the widest, the unit wider than the reference.
    const QTableView* pTable = m_pView->Table();
    EXPECT_GT(pTable->columnWidth(2), 3 * pTable->columnWidth(0));
    EXPECT_GT(pTable->columnWidth(3), pTable->columnWidth(4));
    const QList<int> widths = CQuantorixView::TemplateWidths(Gbk("ab|abcd"), pTable->fontMetrics());
    ASSERT_EQ(widths.size(), 2);
    EXPECT_GT(widths[1], widths[0]);
}

TEST_F(SheetViewTest, RowHeightsFollowTwips)
{
    const int line = Sheet().LineHeight();
    const QHeaderView* pRows = m_pView->Table()->verticalHeader();
    EXPECT_EQ(pRows->sectionSize(0), m_pView->TwipsToPixels(line));
    Sheet().SetRowHeight(4, 3 * line);
    EXPECT_EQ(pRows->sectionSize(3), m_pView->TwipsToPixels(3 * line));
    EXPECT_GT(pRows->sectionSize(3), 2 * pRows->sectionSize(0));
    EXPECT_EQ(m_pView->TwipsToPixels(1440), m_pView->logicalDpiY());
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

TEST_F(SheetViewTest, FullSheetKeepsItsOddRowHeights)
{
    const int line = Sheet().LineHeight();
    Sheet().SetRedraw(false);
    Sheet().SetRows(SHEET_MAX_ROWS);
    Sheet().SetRowHeight(60000, 2 * line);
    Sheet().SetRedraw(true);
    EXPECT_EQ(m_pView->Model()->rowCount(), SHEET_MAX_ROWS - 1);
    const QHeaderView* pRows = m_pView->Table()->verticalHeader();
    EXPECT_EQ(pRows->sectionSize(59999), m_pView->TwipsToPixels(2 * line));
    EXPECT_EQ(pRows->sectionSize(59998), m_pView->TwipsToPixels(line));
    // Moving to the last row scrolls it into view.
    ClickCell(1, 1);
    Sheet().SetRow(SHEET_MAX_ROWS - 1);
    m_pView->Refresh();
    EXPECT_TRUE(m_pView->Table()->viewport()->rect().intersects(CellRect(SHEET_MAX_ROWS - 1, 1)));
}

TEST_F(SheetViewTest, TypingOpensEditorOverCellAndEnterCommits)
{
    ClickCell(3, 2);
    EXPECT_EQ(Sheet().Row(), 3);
    EXPECT_EQ(Sheet().Col(), 2);
    QTest::keyClicks(m_pView->Table(), QStringLiteral("ab"));
    CCellEdit* pEditor = m_pView->Editor();
    ASSERT_TRUE(pEditor->isVisible());
    EXPECT_EQ(pEditor->toPlainText(), QStringLiteral("ab"));
    EXPECT_EQ(pEditor->geometry().topLeft(), CellRect(3, 2).topLeft());

    // An input method's committed text goes into the editor.
    QInputMethodEvent ime(QString(), {});
    ime.setCommitString(QStringLiteral("砖墙"));
    QCoreApplication::sendEvent(pEditor, &ime);
    EXPECT_EQ(pEditor->toPlainText(), QStringLiteral("ab砖墙"));

    QTest::keyClick(pEditor, Qt::Key_Return);
    EXPECT_FALSE(pEditor->isVisible());
    EXPECT_EQ(Sheet().TextMatrix(3, 2), Gbk("ab砖墙"));
    EXPECT_EQ(Sheet().Row(), 4);
}

TEST_F(SheetViewTest, InputMethodOnGridOpensEditor)
{
    ClickCell(2, 1);
    QInputMethodEvent preedit(QStringLiteral("zhuan"), {});
    QCoreApplication::sendEvent(m_pView->Table(), &preedit);
    ASSERT_TRUE(m_pView->Editor()->isVisible());
    QInputMethodEvent commit(QString(), {});
    commit.setCommitString(QStringLiteral("砖"));
    QCoreApplication::sendEvent(m_pView->Editor(), &commit);
    ClickCell(5, 1);
    EXPECT_EQ(Sheet().TextMatrix(2, 1), Gbk("砖"));
}

TEST_F(SheetViewTest, CharacterOutsideGbkBecomesQuestionMarkWithNotice)
{
    QSignalSpy notices(m_pView.get(), &CQuantorixView::statusMessage);
    ClickCell(2, 3);
    QTest::keyClicks(m_pView->Table(), QStringLiteral("1+"));
    m_pView->Editor()->insertPlainText(QStringLiteral("😀"));
    QTest::keyClick(m_pView->Editor(), Qt::Key_Return);
    EXPECT_EQ(Sheet().TextMatrix(2, 3), "1+?");
    EXPECT_GE(notices.count(), 1);
}

TEST_F(SheetViewTest, EditorGrowsButNeverPastTheGrid)
{
    ClickCell(2, 5);
    QTest::keyClicks(m_pView->Table(), QStringLiteral("x"));
    CCellEdit* pEditor = m_pView->Editor();
    const int startWidth = pEditor->width();
    const int startHeight = pEditor->height();
    QTest::keyClicks(pEditor, QString(120, QLatin1Char('m')));
    const QRect client = m_pView->Table()->viewport()->rect();
    EXPECT_GT(pEditor->width(), startWidth);
    EXPECT_GT(pEditor->height(), startHeight);
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
    ClickCell(2, 1);
    QTest::keyClicks(m_pView->Table(), QStringLiteral("a"));
    QKeyEvent copy(QEvent::ShortcutOverride, Qt::Key_C, Qt::ControlModifier, QStringLiteral("c"));
    QCoreApplication::sendEvent(m_pView->Editor(), &copy);
    EXPECT_FALSE(copy.isAccepted());
    QKeyEvent plain(QEvent::ShortcutOverride, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(m_pView->Editor(), &plain);
    EXPECT_TRUE(plain.isAccepted());
}

TEST_F(SheetViewTest, DragSelectsAndInsertKeyAddsRows)
{
    ClickCell(3, 1);
    Sheet().SetTextMatrix(3, 1, "old3");
    QTest::mousePress(m_pView->Table()->viewport(), Qt::LeftButton, {}, CellRect(3, 1).center());
    QTest::mouseMove(m_pView->Table()->viewport(), CellRect(5, 2).center());
    QTest::mouseRelease(m_pView->Table()->viewport(), Qt::LeftButton, {}, CellRect(5, 2).center());
    EXPECT_EQ(Sheet().RowSel(), 5);
    EXPECT_EQ(Sheet().ColSel(), 2);
    QItemSelectionModel* pSel = m_pView->Table()->selectionModel();
    EXPECT_TRUE(pSel->isSelected(m_pView->Model()->index(3, 1)));
    EXPECT_FALSE(pSel->isSelected(m_pView->Model()->index(5, 1)));

    QTest::keyClick(m_pView->Table(), Qt::Key_Insert);
    EXPECT_EQ(Sheet().TextMatrix(6, 1), "old3");
    EXPECT_EQ(m_pView->Model()->rowCount(), Sheet().Rows() - 1);
}

} // namespace
