// The desktop program with the sheet's full controller, driven through its
// real widgets: keys, input methods, accelerators, the system clipboard,
// the dialogs, files and closing.
#include "DesktopFixture.h"

#include "core/session/CommandIds.h"
#include "core/settings/SettingsNames.h"
#include "ui/desktop/CellEdit.h"
#include "ui/desktop/QuantorixApp.h"
#include "ui/desktop/SettingsDialogs.h"
#include "ui/desktop/SheetKeyboard.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>

using namespace cmdid;

namespace {

using DesktopSheetTest = CDesktopFixture;

TEST(SheetKeyboard, ModifiersChooseTheSheetKey)
{
    const Qt::KeyboardModifiers none, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
    const struct {
        int m_nQtKey;
        Qt::KeyboardModifiers m_Modifiers;
        ESheetKey m_eKey;
    } rows[] = {
        {Qt::Key_Left, shift, SHEETKEY_SHIFT_LEFT},
        {Qt::Key_Home, ctrl | shift, SHEETKEY_CTRL_HOME},
        {Qt::Key_Backtab, shift, SHEETKEY_SHIFT_TAB},
        {Qt::Key_Enter, Qt::KeypadModifier, SHEETKEY_ENTER},
        {Qt::Key_A, ctrl | shift, SHEETKEY_OTHER},
        {Qt::Key_V, ctrl | Qt::KeypadModifier, SHEETKEY_CTRL_V},
    };
    for (const auto& row : rows) {
        ESheetKey key = SHEETKEY_OTHER;
        EXPECT_TRUE(SheetKeyOf(row.m_nQtKey, row.m_Modifiers, key) && key == row.m_eKey) << row.m_nQtKey;
    }
    // A lone Shift, and Shift+Insert or Ctrl+Delete when no accelerator took
    // them: no sheet key, so they neither insert a row nor clear a cell.
    const std::pair<int, Qt::KeyboardModifiers> unmapped[] = {
        {Qt::Key_Shift, shift}, {Qt::Key_Insert, shift}, {Qt::Key_Delete, ctrl}};
    for (const auto& [qtKey, modifiers] : unmapped) {
        ESheetKey key = SHEETKEY_OTHER;
        EXPECT_FALSE(SheetKeyOf(qtKey, modifiers, key)) << qtKey;
    }
    // The editor keeps F6 alone and Ctrl with A, C, X or V from the window.
    EXPECT_TRUE(IsEditorShortcut(Qt::Key_F6, none) && IsEditorShortcut(Qt::Key_X, ctrl));
    EXPECT_FALSE(IsEditorShortcut(Qt::Key_F6, shift) || IsEditorShortcut(Qt::Key_C, ctrl | shift)
                 || IsEditorShortcut(Qt::Key_Z, ctrl));
}

TEST_F(DesktopSheetTest, TypedExpressionIsCalculatedAndEnterMovesDown)
{
    Enter(2, COL_FORMULA, QStringLiteral("1+2*3"));
    EXPECT_EQ(Shown(2, COL_FORMULA), QStringLiteral("1+2*3=7.00"));
    EXPECT_EQ(Current(), SCell(3, COL_FORMULA));
    // The empty cell below opens its editor at once.
    ASSERT_TRUE(m_pView->Editor()->isVisible());

    // A faulty expression is marked and coloured with the error colour.
    Type(QStringLiteral("5++3"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Background(3, COL_FORMULA), QColor(255, 255, 0));
    EXPECT_TRUE(Shown(3, COL_FORMULA).endsWith(QStringLiteral("5++3=0.00")));
    EXPECT_TRUE(Document().IsModified());
}

TEST_F(DesktopSheetTest, ChineseFromTheInputMethodLandsInTheCell)
{
    ClickCell(2, COL_POSITION);
    // Composition starts on the grid: the editor opens and takes it.
    QInputMethodEvent preedit(QStringLiteral("zhuanqiang"), {});
    QCoreApplication::sendEvent(m_pView->Table(), &preedit);
    ASSERT_TRUE(m_pView->Editor()->isVisible());
    Commit(QStringLiteral("砖墙"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Sheet().TextMatrix(2, COL_POSITION), Gbk("砖墙"));
    EXPECT_EQ(Shown(2, COL_POSITION), QStringLiteral("砖墙"));

    // A character GBK cannot hold becomes "?" with a notice.
    QSignalSpy notices(m_pView, &CQuantorixView::statusMessage);
    ClickCell(3, COL_POSITION);
    Type(QStringLiteral("a"));
    Commit(QStringLiteral("墙😀"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Sheet().TextMatrix(3, COL_POSITION), Gbk("a墙?"));
    ASSERT_FALSE(notices.isEmpty());
    EXPECT_EQ(notices.last().at(0).toString(), ReplacedCharsNotice());
}

TEST_F(DesktopSheetTest, F2MakesASummaryRowInTheSummaryColour)
{
    Enter(3, COL_SIZE, QStringLiteral("C30"));
    ClickCell(3, COL_FORMULA);
    Type(QStringLiteral("1.5"));
    Key(Qt::Key_Return);
    ClickCell(2, COL_POSITION);
    Key(Qt::Key_F2);
    EXPECT_EQ(Sheet().TextMatrix(2, COL_SEQ), "1");
    EXPECT_EQ(m_pView->Model()->headerData(1, Qt::Vertical).toString(), QStringLiteral("1"));
    for (int col = COL_POSITION; col <= COL_REF; ++col)
        EXPECT_EQ(Background(2, col), QColor(255, 0, 255)) << col;
    EXPECT_EQ(Sheet().TextMatrix(2, COL_FORMULA).rfind("C30=1.50", 0), 0u);
    // The item list of the tool bar shows the new item.
    EXPECT_EQ(m_pFrame->ItemList()->count(), 1);
    // Typing on the total cells of a summary row does nothing.
    ClickCell(2, COL_FORMULA);
    Type(QStringLiteral("9"));
    EXPECT_FALSE(m_pView->Editor()->isVisible());
    // F2 again removes the numbering and the colour.
    ClickCell(2, COL_POSITION);
    Key(Qt::Key_F2);
    EXPECT_EQ(Sheet().TextMatrix(2, COL_SEQ), "");
    EXPECT_FALSE(Background(2, COL_POSITION).isValid());
}

TEST_F(DesktopSheetTest, UndoAndRedoFromTheKeyboard)
{
    // Each edit is left with a click, so that no empty editor is committed
    // in between.
    ClickCell(2, COL_FORMULA);
    Type(QStringLiteral("2*3"));
    ClickCell(5, COL_POSITION);
    Type(QStringLiteral("abc"));
    ClickCell(8, COL_POSITION);
    m_pFrame->UpdateCommandStates();
    EXPECT_TRUE(m_pFrame->Action(EDIT_UNDO)->isEnabled());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Sheet().TextMatrix(5, COL_POSITION), "");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(2, COL_FORMULA), QString());
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Shown(2, COL_FORMULA), QStringLiteral("2*3=6.00"));
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Sheet().TextMatrix(5, COL_POSITION), "abc");
    m_pFrame->UpdateCommandStates();
    EXPECT_FALSE(m_pFrame->Action(EDIT_REDO)->isEnabled());
}

TEST_F(DesktopSheetTest, CopyAndPasteThroughTheSystemClipboard)
{
    Enter(2, COL_POSITION, QStringLiteral("a"));
    Enter(2, COL_SIZE, QStringLiteral("b"));
    Enter(3, COL_POSITION, QStringLiteral("c"));
    Enter(3, COL_SIZE, QStringLiteral("d"));
    ClickCell(2, COL_POSITION);
    ClickCell(3, COL_SIZE, Qt::ShiftModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a\tb\nc\td"));

    ClickCell(6, COL_POSITION);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Sheet().TextMatrix(6, COL_POSITION), "a");
    EXPECT_EQ(Sheet().TextMatrix(7, COL_SIZE), "d");
    EXPECT_EQ(Shown(7, COL_SIZE), QStringLiteral("d"));

    // What a spreadsheet puts there: CRLF lines and a final line break;
    // Chinese comes through, what GBK cannot hold becomes "?".
    QGuiApplication::clipboard()->setText(QStringLiteral("砖墙\t😀\r\n抹灰\tx\r\n"));
    ClickCell(10, COL_POSITION);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Sheet().TextMatrix(10, COL_POSITION), Gbk("砖墙"));
    EXPECT_EQ(Sheet().TextMatrix(10, COL_SIZE), "?");
    EXPECT_EQ(Sheet().TextMatrix(11, COL_POSITION), Gbk("抹灰"));
    EXPECT_EQ(Sheet().TextMatrix(12, COL_POSITION), "");
    EXPECT_EQ(LastStatus(), ReplacedCharsNotice());
}

TEST_F(DesktopSheetTest, InsertAndDeleteWithShiftAreTheClipboardKeys)
{
    Enter(2, COL_POSITION, QStringLiteral("keep"));
    Enter(4, COL_POSITION, QStringLiteral("move"));
    const int rows = Sheet().Rows();

    // Shift+Delete cuts: the text goes to the clipboard.
    ClickCell(4, COL_POSITION);
    Key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("move"));
    EXPECT_EQ(Sheet().TextMatrix(4, COL_POSITION), "");
    // Shift+Insert pastes; no row is inserted.
    ClickCell(6, COL_POSITION);
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Sheet().TextMatrix(6, COL_POSITION), "move");
    EXPECT_EQ(Sheet().Rows(), rows);
    // Ctrl+Insert copies.
    ClickCell(2, COL_POSITION);
    Key(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("keep"));
    EXPECT_EQ(Sheet().Rows(), rows);

    // Plain Insert inserts a row above, plain Delete clears.
    Key(Qt::Key_Insert);
    EXPECT_EQ(Sheet().Rows(), rows + 1);
    EXPECT_EQ(Sheet().TextMatrix(3, COL_POSITION), "keep");
    ClickCell(3, COL_POSITION);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Sheet().TextMatrix(3, COL_POSITION), "");
}

TEST_F(DesktopSheetTest, EditorKeysWorkInTheOpenEditor)
{
    ClickCell(2, COL_FORMULA);
    Type(QStringLiteral("1+2"));
    CCellEdit* pEditor = m_pView->Editor();
    Key(Qt::Key_Home);
    Key(Qt::Key_F6);  // brackets from the caret to the end
    EXPECT_EQ(pEditor->toPlainText(), QStringLiteral("(1+2)"));
    Key(Qt::Key_F3);  // an annotation at the caret
    Type(QStringLiteral("x"));
    EXPECT_EQ(pEditor->toPlainText(), QStringLiteral("(1+2)[x]"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Sheet().TextMatrix(2, COL_FORMULA), "(1+2)[x]=3.00");
    // Left on an empty editor moves to the cell before.
    Key(Qt::Key_Left);
    EXPECT_EQ(Current(), SCell(3, COL_SIZE));
}

TEST_F(DesktopSheetTest, GridKeysMoveCommitAndEscapeCancels)
{
    ClickCell(2, COL_FORMULA);
    Type(QStringLiteral("1+2"));
    ClickCell(2, COL_POSITION);
    // Esc gives the edit up: the old text stays, no step, no calculation.
    ClickCell(2, COL_FORMULA);
    Type(QStringLiteral("9"));
    EXPECT_EQ(m_pView->Editor()->toPlainText(), QStringLiteral("1+29"));
    Key(Qt::Key_Escape);
    EXPECT_FALSE(m_pView->Editor()->isVisible());
    EXPECT_EQ(Sheet().TextMatrix(2, COL_FORMULA), "1+2=3.00");
    m_pFrame->UpdateCommandStates();
    Key(Qt::Key_Z, Qt::ControlModifier);  // takes back the first edit
    EXPECT_EQ(Sheet().TextMatrix(2, COL_FORMULA), "");

    // Tab commits and moves right, from the last column to the next row;
    // Shift+Tab (Backtab, as a keyboard sends it) moves back. The focus
    // stays on the sheet.
    ClickCell(4, COL_UNIT);
    Type(QStringLiteral("m"));
    Key(Qt::Key_Tab);
    EXPECT_EQ(Sheet().TextMatrix(4, COL_UNIT), "m");
    EXPECT_EQ(Sheet().Col(), COL_REF);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Current(), SCell(5, COL_POSITION));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Current(), SCell(4, COL_REF));
    EXPECT_TRUE(m_pView->isAncestorOf(Focus()));

    // A page is what the table shows; the column stays. The edit left by
    // PageDown is committed and can be undone like a click's.
    m_pFrame->resize(1000, 450);
    QCoreApplication::processEvents();
    ClickCell(3, COL_SIZE);
    Type(QStringLiteral("C30"));
    Key(Qt::Key_PageDown);
    const int page = m_pView->Table()->viewport()->height() / m_pView->Table()->rowHeight(0);
    ASSERT_GT(page, 5);
    ASSERT_LT(page, Sheet().Rows() - 4);
    EXPECT_EQ(Current(), SCell(3 + page, COL_SIZE));
    EXPECT_EQ(Sheet().TextMatrix(3, COL_SIZE), "C30");
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Sheet().Row(), 3);
    m_pFrame->UpdateCommandStates();
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Sheet().TextMatrix(3, COL_SIZE), "");

    // Ctrl+End: the last row with content; Ctrl+Home: the first row.
    Enter(25, COL_POSITION, QStringLiteral("z"));
    ClickCell(2, COL_UNIT);
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Current(), SCell(25, COL_UNIT));
    EXPECT_TRUE(m_pView->Table()->viewport()->rect().intersects(CellRect(25, COL_UNIT)));
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Current(), SCell(1, COL_UNIT));
}

TEST_F(DesktopSheetTest, ClipboardKeysActOnTheOpenEditorsText)
{
    Enter(2, COL_POSITION, QStringLiteral("keep"));
    ClickCell(4, COL_POSITION);
    Type(QStringLiteral("abc"));
    CCellEdit* pEditor = m_pView->Editor();
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("abc"));
    Key(Qt::Key_End);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pEditor->toPlainText(), QStringLiteral("abcabc"));
    Key(Qt::Key_Home, Qt::ShiftModifier);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(pEditor->toPlainText(), QString());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("abcabc"));

    // Another program's text: what GBK cannot hold becomes "?", and the
    // status bar says so.
    QGuiApplication::clipboard()->setText(QStringLiteral("墙😀"));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pEditor->toPlainText(), QStringLiteral("墙?"));
    EXPECT_EQ(LastStatus(), ReplacedCharsNotice());
    // Nothing went into the sheet's cells on the way.
    EXPECT_EQ(Sheet().TextMatrix(2, COL_POSITION), "keep");
    EXPECT_EQ(Sheet().TextMatrix(5, COL_POSITION), "");
    Key(Qt::Key_Return);
    EXPECT_EQ(Sheet().TextMatrix(4, COL_POSITION), Gbk("墙?"));
}

// A label as the user reads it: without its "(&X)" mnemonic and the key
// shown after a tab.
QString Label(QString text)
{
    text = text.left(text.indexOf(QLatin1Char('\t')));
    return text.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
}

bool HasLatinLetters(const QString& text)
{
    return text.contains(QRegularExpression(QStringLiteral("[A-Za-z]")));
}

TEST_F(DesktopSheetTest, QtsOwnTextsAndTheEditorsMenuAreChinese)
{
    ASSERT_TRUE(CQuantorixApp::LoadChineseTranslations());
    QMessageBox box(QMessageBox::Question, QStringLiteral("警告"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("是(&Y)"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("否(&N)"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
    QFileDialog files(m_pFrame);
    files.setOption(QFileDialog::DontUseNativeDialog);
    for (QAbstractButton* pButton : files.findChild<QDialogButtonBox*>()->buttons())
        EXPECT_FALSE(HasLatinLetters(Label(pButton->text()))) << pButton->text().toStdString();

    // The editor's menu: Qt's entries in Chinese, the program's own bracket
    // keys after them; chosen entries act as their keys do.
    ClickCell(2, COL_FORMULA);
    Type(QStringLiteral("ab"));
    CCellEdit* pEditor = m_pView->Editor();
    QGuiApplication::clipboard()->setText(QStringLiteral("1😀"));
    auto choose = [pEditor](const QString& label) {
        QTimer::singleShot(0, [pEditor, label] {
            QMenu* pMenu = pEditor->ContextMenu();
            ASSERT_NE(pMenu, nullptr);
            QAction* pChosen = nullptr;
            for (QAction* pAction : pMenu->actions()) {
                EXPECT_FALSE(HasLatinLetters(Label(pAction->text()))) << pAction->text().toStdString();
                if (Label(pAction->text()) == label)
                    pChosen = pAction;
            }
            pMenu->close();
            ASSERT_NE(pChosen, nullptr) << label.toStdString();
            pChosen->trigger();
        });
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(2, 2), pEditor->viewport()->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(pEditor->viewport(), &e);
    };
    choose(QStringLiteral("插入括号()"));
    EXPECT_EQ(pEditor->toPlainText(), QStringLiteral("ab()"));
    choose(QStringLiteral("粘贴"));
    EXPECT_EQ(pEditor->toPlainText(), QStringLiteral("ab(1?)"));
    EXPECT_EQ(LastStatus(), ReplacedCharsNotice());
}

TEST_F(DesktopSheetTest, SystemSettingsWriteOnOkOnlyAndRestartAutosave)
{
    m_Key.WriteValue(settingsname::IS_AUTO_SAVE, settingstext::AUTO_SAVE_ON);
    m_Key.WriteValue(settingsname::SAVE_TIME, "5");
    const std::string company = m_Key.ReadString(settingsname::COMPANY_NAME);
    for (const bool bOk : {false, true}) {
        WithDialog(SYSTEM_SETTINGS, [bOk](QDialog* pDlg) {
            pDlg->findChild<QLineEdit*>(QStringLiteral("1002"))->setText(QStringLiteral("某某建筑公司"));
            bOk ? pDlg->accept() : pDlg->reject();
        });
        EXPECT_EQ(m_Key.ReadString(settingsname::COMPANY_NAME), bOk ? Gbk("某某建筑公司") : company);
        EXPECT_EQ(Document().IsModified(), bOk);
    }
    EXPECT_TRUE(m_pController->Autosave().IsRunning());
    EXPECT_EQ(m_pController->Autosave().PeriodMs(), 300000);

    // Autosave switched off in the dialog stops the timer.
    WithDialog(SYSTEM_SETTINGS, [](QDialog* pDlg) {
        pDlg->findChild<QCheckBox*>(QStringLiteral("1011"))->setChecked(false);
        pDlg->accept();
    });
    EXPECT_FALSE(m_pController->Autosave().IsRunning());
}

TEST_F(DesktopSheetTest, EditSettingsRenameHeadersAndColourNewCells)
{
    Enter(2, COL_FORMULA, QStringLiteral("5++3"));
    ClickCell(4, COL_POSITION);
    Key(Qt::Key_F2);
    auto chooseRed = [](QDialog* pDlg) {
        auto* pEdit = static_cast<CEditSettingsDlg*>(pDlg);
        pEdit->m_ChooseColour = [](std::uint32_t& clr) {
            clr = 255;
            return true;
        };
        pDlg->findChild<QPushButton*>(QStringLiteral("1042"))->click();
        pDlg->findChild<QLineEdit*>(QStringLiteral("1009"))->setText(QStringLiteral("计量单位"));
    };
    const std::string before = m_Key.ReadString(settingsname::COUNT_COLOR);
    WithDialog(EDIT_SETTINGS, [&](QDialog* pDlg) {
        chooseRed(pDlg);
        pDlg->reject();
    });
    EXPECT_EQ(m_Key.ReadString(settingsname::COUNT_COLOR), before);
    EXPECT_EQ(m_pController->Session().CalcGrid().ErrorColor(), ERROR_COLOUR);
    EXPECT_EQ(Sheet().BackColorAt(2, COL_FORMULA) & 0xFFFFFF, ERROR_COLOUR);
    EXPECT_NE(m_pView->Model()->headerData(COL_UNIT - 1, Qt::Horizontal).toString(), QStringLiteral("计量单位"));

    WithDialog(EDIT_SETTINGS, [&](QDialog* pDlg) {
        chooseRed(pDlg);
        pDlg->accept();
    });
    EXPECT_EQ(m_Key.ReadString(settingsname::COUNT_COLOR), "255");
    EXPECT_EQ(m_pView->Model()->headerData(COL_UNIT - 1, Qt::Horizontal).toString(), QStringLiteral("计量单位"));
    // Cells coloured from now on take the new colour; cells already
    // coloured keep theirs until they are committed again.
    EXPECT_EQ(Sheet().BackColorAt(2, COL_FORMULA) & 0xFFFFFF, ERROR_COLOUR);
    Enter(6, COL_FORMULA, QStringLiteral("1**2"));
    EXPECT_EQ(Sheet().BackColorAt(6, COL_FORMULA) & 0xFFFFFF, 255u);
    EXPECT_EQ(Sheet().BackColorAt(4, COL_POSITION) & 0xFFFFFF, SUMMARY_COLOUR);
}

TEST_F(DesktopSheetTest, BulkDialogAppendsToTheSelectedExpressions)
{
    Enter(2, COL_FORMULA, QStringLiteral("2"));
    Enter(3, COL_FORMULA, QStringLiteral("3"));
    ClickCell(2, COL_FORMULA);
    ClickCell(3, COL_FORMULA, Qt::ShiftModifier);
    WithDialog(APPEND_TO_CELLS, [](QDialog* pDlg) {
        pDlg->findChild<QLineEdit*>()->setText(QStringLiteral("*10"));
        pDlg->accept();
    });
    EXPECT_EQ(Sheet().TextMatrix(2, COL_FORMULA), "(2)*10=20.00");
    EXPECT_EQ(Sheet().TextMatrix(3, COL_FORMULA), "(3)*10=30.00");
    // An empty text is refused and the dialog stays open until cancelled.
    WithDialog(REMOVE_FROM_CELLS, [this](QDialog* pDlg) {
        pDlg->findChild<QLineEdit*>()->clear();
        pDlg->accept();
        EXPECT_TRUE(pDlg->isVisible());
        EXPECT_FALSE(m_Prompt.m_Messages.empty());
        pDlg->reject();
    });
    EXPECT_EQ(Sheet().TextMatrix(2, COL_FORMULA), "(2)*10=20.00");
}

TEST_F(DesktopSheetTest, SaveReopenTitleAndRecentFiles)
{
    Enter(2, COL_POSITION, QStringLiteral("墙"));
    Enter(2, COL_FORMULA, QStringLiteral("(12+45)[墙长度]*2.8"));
    m_Prompt.m_Files = {FilePath("wall.qtx")};
    Key(Qt::Key_S, Qt::ControlModifier);  // an unnamed sheet asks for its name
    EXPECT_FALSE(Document().IsModified());
    EXPECT_TRUE(m_pFrame->windowTitle().endsWith(QStringLiteral("[wall]")));
    EXPECT_TRUE(m_pFrame->isEnabled());  // the progress window has let go

    // The main window is active again, ready for the next key.
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pFrame));
    Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Sheet().TextMatrix(2, COL_POSITION), "");
    EXPECT_TRUE(m_pFrame->windowTitle().endsWith(QStringLiteral("[NewProject]")));

    m_pFrame->UpdateCommandStates();
    QAction* pRecent = m_pFrame->Action(RECENT_FILE_1);
    EXPECT_TRUE(pRecent->isEnabled());
    EXPECT_TRUE(pRecent->text().contains(QStringLiteral("wall")));
    EXPECT_FALSE(m_pFrame->Action(RECENT_FILE_1 + 1)->isEnabled());
    pRecent->trigger();
    EXPECT_EQ(Sheet().TextMatrix(2, COL_POSITION), Gbk("墙"));
    EXPECT_EQ(Shown(2, COL_FORMULA), QStringLiteral("(12+45)[墙长度]*2.8=159.60"));
    EXPECT_TRUE(m_pFrame->windowTitle().endsWith(QStringLiteral("[wall]")));
    EXPECT_TRUE(m_pFrame->isEnabled());
}

TEST_F(DesktopSheetTest, DraggedColumnWidthsStayUntilRestored)
{
    QHeaderView* pHeader = m_pView->Table()->horizontalHeader();
    const int section = CSheetModel::ModelCol(COL_UNIT);
    const int templateWidth = pHeader->sectionSize(section);
    // The user drags the right edge of the unit column 60 pixels further.
    const int edge = pHeader->sectionViewportPosition(section) + templateWidth - 1;
    const int y = pHeader->height() / 2;
    QTest::mousePress(pHeader->viewport(), Qt::LeftButton, {}, QPoint(edge, y));
    QTest::mouseMove(pHeader->viewport(), QPoint(edge + 30, y));
    QTest::mouseMove(pHeader->viewport(), QPoint(edge + 60, y));
    QTest::mouseRelease(pHeader->viewport(), Qt::LeftButton, {}, QPoint(edge + 60, y));
    const int dragged = pHeader->sectionSize(section);
    ASSERT_EQ(dragged, templateWidth + 60);

    // Recalculated, saved and reopened, the column keeps its width.
    Enter(2, COL_FORMULA, QStringLiteral("1/3"));
    m_pFrame->Action(MORE_DECIMALS)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_pFrame->isEnabled(); }, 5000));
    EXPECT_EQ(pHeader->sectionSize(section), dragged);
    m_Prompt.m_Files = {FilePath("widths.qtx")};
    Key(Qt::Key_S, Qt::ControlModifier);
    m_Prompt.m_Files = {FilePath("widths.qtx")};
    m_pFrame->Action(FILE_OPEN)->trigger();
    EXPECT_EQ(Shown(2, COL_FORMULA), QStringLiteral("1/3=0.333"));
    EXPECT_EQ(pHeader->sectionSize(section), dragged);

    // The window's settings keep it for the next start.
    m_pFrame->close();
    STestWindow next(m_Key, m_Prompt);
    next.m_Frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&next.m_Frame));
    QHeaderView* pNewHeader = next.m_pView->Table()->horizontalHeader();
    EXPECT_EQ(pNewHeader->sectionSize(section), dragged);
    EXPECT_EQ(pNewHeader->sectionSize(CSheetModel::ModelCol(COL_REF)),
              pHeader->sectionSize(CSheetModel::ModelCol(COL_REF)));

    // The menu entry brings the template widths back, for good.
    next.m_Frame.Action(RESTORE_COLUMN_WIDTHS)->trigger();
    EXPECT_EQ(pNewHeader->sectionSize(section), templateWidth);
    EXPECT_EQ(m_Key.ReadString(settingsname::COLUMN_WIDTHS), "");
}

TEST_F(DesktopSheetTest, FileNamedOnTheCommandLineOpensAfterTheFirstDisplay)
{
    Enter(2, COL_POSITION, QStringLiteral("x"));
    m_Prompt.m_Files = {FilePath("start.qtx")};
    m_pFrame->Action(FILE_SAVE)->trigger();
    Key(Qt::Key_N, Qt::ControlModifier);

    CTestPrompt prompt;
    STestWindow next(m_Key, prompt);
    next.m_pView->SetPendingOpen(FilePath("start.qtx"));
    next.m_Frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&next.m_Frame));
    const SheetGrid& sheet = next.m_Controller.Sheet();
    EXPECT_EQ(sheet.TextMatrix(2, COL_POSITION), "");  // not yet
    EXPECT_TRUE(QTest::qWaitFor([&] { return sheet.TextMatrix(2, COL_POSITION) == "x"; }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return next.m_Frame.windowTitle().endsWith(QStringLiteral("[start]")); }, 1000));
}

TEST_F(DesktopSheetTest, ClosingAModifiedSheetAsksAndCanBeHeldOpen)
{
    Enter(2, COL_POSITION, QStringLiteral("x"));
    // Yes, then the file dialog is cancelled: nothing is saved, so the
    // window stays.
    m_Prompt.m_Answers = {CPrompt::ANSWER_YES};
    EXPECT_FALSE(m_pFrame->close());
    EXPECT_TRUE(m_pFrame->isVisible());
    EXPECT_EQ(m_Prompt.m_Questions.size(), 1u);
    // The rectangle was written all the same.
    EXPECT_EQ(m_Key.ReadString(settingsname::WINDOW_SHOW), "1");
    // No: the changes are dropped and the window closes.
    m_Prompt.m_Answers = {CPrompt::ANSWER_NO};
    EXPECT_TRUE(m_pFrame->close());
    EXPECT_EQ(m_Prompt.m_Questions.size(), 2u);
}

TEST_F(DesktopSheetTest, DecimalsAreRecalculatedInTheBackgroundAndShown)
{
    Enter(2, COL_FORMULA, QStringLiteral("1/3"));
    Enter(3, COL_FORMULA, QStringLiteral("2/3"));
    m_pFrame->Action(MORE_DECIMALS)->trigger();
    // Meanwhile the window takes no input and the table does not draw.
    EXPECT_FALSE(m_pFrame->isEnabled());
    EXPECT_FALSE(m_pView->Table()->updatesEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_pFrame->isEnabled(); }, 5000));
    EXPECT_TRUE(m_pView->Table()->updatesEnabled());
    EXPECT_EQ(Shown(2, COL_FORMULA), QStringLiteral("1/3=0.333"));
    EXPECT_EQ(Shown(3, COL_FORMULA), QStringLiteral("2/3=0.667"));
    // Typing goes on as before.
    Enter(4, COL_FORMULA, QStringLiteral("1/8"));
    EXPECT_EQ(Sheet().TextMatrix(4, COL_FORMULA), "1/8=0.125");
    // A command right after the start waits for the recalculation.
    m_pFrame->Action(FEWER_DECIMALS)->trigger();
    m_pController->ClickCell(5, COL_FORMULA, false);
    EXPECT_TRUE(m_pFrame->isEnabled());
    Enter(5, COL_FORMULA, QStringLiteral("1/3"));
    EXPECT_EQ(Sheet().TextMatrix(5, COL_FORMULA), "1/3=0.33");
    EXPECT_EQ(Shown(2, COL_FORMULA), QStringLiteral("1/3=0.33"));
}

TEST_F(DesktopSheetTest, ExampleCommandIsCheckedOnceShown)
{
    EXPECT_FALSE(m_pController->IsCommandChecked(INSERT_EXAMPLE));
    m_Prompt.m_Answers = {CPrompt::ANSWER_YES};
    m_pController->RunCommand(INSERT_EXAMPLE);
    EXPECT_TRUE(m_pController->IsCommandChecked(INSERT_EXAMPLE));
    EXPECT_EQ(Sheet().TextMatrix(1, COL_SEQ), "1");
}

TEST_F(DesktopSheetTest, OpenEditorIsCommittedBeforeTheSheetIsReplacedSavedOrClosed)
{
    // After a file operation the window is active again before the next
    // accelerator reaches it.
    auto ctrl = [&](Qt::Key key) {
        m_pFrame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_pFrame));
        Key(key, Qt::ControlModifier);
    };
    Enter(2, COL_POSITION, QStringLiteral("other"));
    m_Prompt.m_Files = {FilePath("other.qtx")};
    ctrl(Qt::Key_S);
    ctrl(Qt::Key_N);

    // Open, New, a recent file and the command line file: what is being
    // typed goes into its own cell of the sheet it was typed in, so the
    // question about saving sees it, and never reaches the next sheet.
    const std::function<void()> replacers[] = {
        [&] {
            m_Prompt.m_Files = {FilePath("other.qtx")};
            ctrl(Qt::Key_O);
        },
        [&] { ctrl(Qt::Key_N); },
        [&] {
            m_pFrame->UpdateCommandStates();
            m_pFrame->Action(RECENT_FILE_1)->trigger();
        },
        [&] {
            m_pController->OpenPendingFile(FilePath("other.qtx"));
            m_pView->Refresh();
        },
        [&] {  // a file that cannot be opened
            m_Prompt.m_Files = {FilePath("missing.qtx")};
            ctrl(Qt::Key_O);
        },
    };
    for (const auto& replace : replacers) {
        const std::size_t asked = m_Prompt.m_Questions.size();
        ClickCell(3, COL_SIZE);
        Type(QStringLiteral("leak"));
        ASSERT_TRUE(m_pView->Editor()->isVisible());
        m_Prompt.m_Answers = {CPrompt::ANSWER_NO};
        replace();
        EXPECT_EQ(m_Prompt.m_Questions.size(), asked + 1);  // the sheet was modified
        EXPECT_FALSE(m_pView->Editor()->isVisible());
        ClickCell(5, COL_FORMULA);
        EXPECT_NE(Sheet().TextMatrix(3, COL_SIZE), "leak");
        EXPECT_NE(Sheet().TextMatrix(5, COL_FORMULA).substr(0, 4), "leak");
    }

    // Save with the editor open saves what it holds.
    ClickCell(2, COL_SIZE);
    Type(QStringLiteral("Y"));
    m_Prompt.m_Files = {FilePath("y.qtx")};
    ctrl(Qt::Key_S);
    EXPECT_FALSE(Document().IsModified());
    ctrl(Qt::Key_N);
    m_pController->OpenPendingFile(FilePath("y.qtx"));
    EXPECT_EQ(Sheet().TextMatrix(2, COL_SIZE), "Y");

    // Closing the window asks about what is being typed.
    ClickCell(4, COL_SIZE);
    Type(QStringLiteral("Z"));
    const std::size_t asked = m_Prompt.m_Questions.size();
    m_Prompt.m_Answers = {CPrompt::ANSWER_NO};
    EXPECT_TRUE(m_pFrame->close());
    EXPECT_EQ(m_Prompt.m_Questions.size(), asked + 1);
}

TEST_F(DesktopSheetTest, RightClickActsOnTheRowUnderThePointer)
{
    for (int row = 1; row <= 25; ++row)
        Sheet().SetTextMatrix(row, COL_POSITION, "r" + std::to_string(row));
    m_pView->Refresh();
    for (int row : {2, 12, 20}) {
        // The menu shows; 删除行 is chosen from it.
        QTimer::singleShot(0, [&] {
            auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(pMenu, nullptr);
            pMenu->close();
            m_pFrame->Action(DELETE_ROWS)->trigger();
        });
        const QPoint at = m_pView->Table()->viewport()->mapTo(m_pFrame, CellRect(row, COL_SIZE).center());
        QTest::mouseClick(m_pFrame->windowHandle(), Qt::RightButton, {}, at);
        EXPECT_EQ(Sheet().Row(), row);
        EXPECT_EQ(Sheet().TextMatrix(row, COL_POSITION), "r" + std::to_string(row + 1)) << row;
        EXPECT_EQ(Sheet().TextMatrix(row - 1, COL_POSITION), "r" + std::to_string(row - 1)) << row;
        Sheet().InsertRowsAt(row, 1);
        Sheet().SetTextMatrix(row, COL_POSITION, "r" + std::to_string(row));
        m_pView->Refresh();
    }
}

}  // namespace
