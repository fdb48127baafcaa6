// 文件 → 对比另一个计算稿… with real events: the other file chosen, the
// item table and the row list shown, a double-click showing the row in the
// sheet, the sides switched, the workbook and the PDF written.
#include "DesktopFixture.h"

#include "core/compare/SheetCompare.h"
#include "core/session/CommandIds.h"
#include "tests/SheetFileBytes.h"
#include "ui/desktop/CompareWindow.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>

namespace {

class CompareWindowTest : public CDesktopFixture {
protected:
    // The submitted sheet: rows "SEQ|POSITION|SIZE|FORMULA|UNIT" (ASCII).
    std::string WriteSheet(const char* name, const std::vector<std::vector<std::string>>& rows)
    {
        const std::string bytes = SheetFileBytes(rows);
        const std::string path = FilePath(name);
        QFile file(GbkToQ(path));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }
    // The menu command as the user picks it: the File menu, then its item.
    void PickFromFileMenu(int nId)
    {
        QMenuBar* pBar = m_pFrame->menuBar();
        QAction* pFileMenu = pBar->actions().at(0);
        QTest::mouseClick(pBar, Qt::LeftButton, {}, pBar->actionGeometry(pFileMenu).center());
        QMenu* pMenu = pFileMenu->menu();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(pMenu));
        QTest::mouseClick(pMenu, Qt::LeftButton, {}, pMenu->actionGeometry(m_pFrame->Action(nId)).center());
    }
    // A table line's cells joined by "|".
    static QString Line(QTableWidget* pTable, int row)
    {
        QStringList cells;
        for (int col = 0; col < pTable->columnCount(); ++col)
            cells << (pTable->item(row, col) ? pTable->item(row, col)->text() : QString());
        return cells.join('|');
    }
    void DoubleClickRow(QTableWidget* pTable, int row)
    {
        const QPoint at = pTable->visualItemRect(pTable->item(row, 3)).center();
        QTest::mouseClick(pTable->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(pTable->viewport(), Qt::LeftButton, {}, at);
    }
};

}  // namespace

TEST_F(CompareWindowTest, ComparesTheOpenSheetWithAnotherFile)
{
    // The open sheet, typed: item "wall" with L1 unchanged and L2 changed.
    ClickCell(1, COL_POSITION);
    Key(Qt::Key_F2);
    const std::tuple<int, int, const char*> typed[] = {{1, COL_POSITION, "wall"}, {2, COL_POSITION, "L1"}, {2, COL_SIZE, "C20"}, {2, COL_FORMULA, "2 * 3"}, {2, COL_UNIT, "m3"}, {3, COL_POSITION, "L2"}, {3, COL_SIZE, "C20"}, {3, COL_FORMULA, "1+2"}};
    for (const auto& [row, col, text] : typed)
        Enter(row, col, QString::fromLatin1(text));
    const std::string other = WriteSheet("submitted.qtx", {{"1", "wall", "", "", ""}, {"", "L1", "C20", "2*3=6.00", "m3"}, {"", "L2", "C20", "1+1=2.00", "m3"}, {"", "L3", "C30", "4=4.00", "m2"}});

    // A file the reader refuses: its message, and no window.
    const std::string bad = FilePath("bad.qtx");
    QFile(GbkToQ(bad)).open(QIODevice::WriteOnly);
    m_Prompt.m_Files.push_back(bad);
    PickFromFileMenu(cmdid::COMPARE_SHEETS);
    EXPECT_EQ(m_Prompt.m_Messages.size(), 1u);
    EXPECT_EQ(m_pView->CompareWindow(), nullptr);

    m_Prompt.m_Files.push_back(other);
    PickFromFileMenu(cmdid::COMPARE_SHEETS);
    CCompareWindow* pWindow = m_pView->CompareWindow();
    ASSERT_NE(pWindow, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pWindow));
    EXPECT_TRUE(pWindow->OpenIsChecked());

    // The open sheet is the checked one (审定): C20 grew, C30 went away.
    QTableWidget* pItems = pWindow->ItemTable();
    ASSERT_EQ(pItems->rowCount(), 4);
    EXPECT_EQ(Line(pItems, 0), QStringLiteral("wall|C20|m3|8.00|9.00|1.00|"));
    EXPECT_EQ(Line(pItems, 1), QStringLiteral("|C30|m2|4.00|0.00||4.00"));
    EXPECT_EQ(Line(pItems, 2), QStringLiteral("合计|C20|m3|8.00|9.00|1.00|"));
    EXPECT_EQ(pItems->item(0, 5)->foreground().color(), QColor(0xc6, 0x28, 0x28));
    EXPECT_EQ(pItems->item(1, 6)->foreground().color(), QColor(0x2e, 0x7d, 0x32));

    // The rows: L2 changed, its differing characters marked (expression and
    // result each on its own); L3 removed.
    QTableWidget* pRows = pWindow->RowTable();
    ASSERT_EQ(pRows->rowCount(), 2);
    EXPECT_EQ(Line(pRows, 0), QStringLiteral("修改|wall|3|3|L2|C20|1+1=2.00|1+2=3.00"));
    EXPECT_EQ(Line(pRows, 1), QStringLiteral("删除|wall|4||L3|C30|4=4.00|"));
    EXPECT_EQ(pRows->item(0, 7)->data(Qt::UserRole + 1).toString(),
              QStringLiteral("1+<span style=\"background:#c8e6c9\">2</span>=<span "
                             "style=\"background:#c8e6c9\">3</span>.00"));

    // A double-click shows the row in the sheet; a row the open sheet does
    // not have is only named.
    DoubleClickRow(pRows, 0);
    EXPECT_EQ(Sheet().Row(), 3);
    EXPECT_EQ(Sheet().Col(), COL_FORMULA);
    DoubleClickRow(pRows, 1);
    EXPECT_EQ(Sheet().Row(), 3);
    EXPECT_TRUE(pWindow->StatusLabel()->text().contains(QStringLiteral("submitted")));
    // A double-click on an item line shows the item's heading.
    DoubleClickRow(pItems, 1);
    EXPECT_EQ(Sheet().Row(), 1);

    // The open sheet as the submitted one (送审): the sides change places.
    pWindow->activateWindow();
    QTest::keyClick(pWindow->SideBox(), Qt::Key_Down);
    EXPECT_FALSE(pWindow->OpenIsChecked());
    EXPECT_EQ(Line(pItems, 0), QStringLiteral("wall|C20|m3|9.00|8.00||1.00"));
    EXPECT_EQ(Line(pItems, 1), QStringLiteral("|C30|m2|0.00|4.00|4.00|"));
    EXPECT_EQ(Line(pRows, 1), QStringLiteral("新增|wall||4|L3|C30||4=4.00"));
    QTest::keyClick(pWindow->SideBox(), Qt::Key_Up);
    EXPECT_TRUE(pWindow->OpenIsChecked());

    // 重新对比 takes the open sheet as it is now: L2 made equal again (the
    // edit made through the session: the compare window keeps the focus).
    m_pController->Session().Click(3, COL_FORMULA);
    m_pController->Session().TypeText("1+1");
    m_pController->Session().CommitEditor();
    QTest::mouseClick(pWindow->RefreshButton(), Qt::LeftButton);
    EXPECT_EQ(Line(pItems, 0), QStringLiteral("wall|C20|m3|8.00|8.00||"));
    EXPECT_EQ(pRows->rowCount(), 1);

    // The workbook and the PDF, each through its file choice.
    m_Prompt.m_Files.push_back(FilePath("both"));
    QTest::mouseClick(pWindow->ExcelButton(), Qt::LeftButton);
    QFile book(GbkToQ(FilePath("both.xlsx")));
    ASSERT_TRUE(book.open(QIODevice::ReadOnly));
    EXPECT_EQ(book.read(2), QByteArray("PK"));
    m_Prompt.m_Files.push_back(FilePath("table.pdf"));
    QTest::mouseClick(pWindow->PdfButton(), Qt::LeftButton);
    QFile pdf(GbkToQ(FilePath("table.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdf.read(5), QByteArray("%PDF-"));
    EXPECT_TRUE(pWindow->StatusLabel()->text().contains(QStringLiteral("1 页")));
    EXPECT_EQ(m_Prompt.m_Messages.size(), 1u);
    pWindow->close();
}
