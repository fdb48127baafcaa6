// The desktop program as the user runs it: the main window, the view and
// the sheet's full controller over a settings store in memory, with a
// scripted prompt and helpers that click, type and read what is shown.
#pragma once

#include "tests/ui/AppTestSupport.h"

#include "core/engine/Prompt.h"
#include "core/settings/SettingsStore.h"
#include "tests/TestPrompt.h"
#include "ui/desktop/GbkQt.h"
#include "ui/desktop/MainFrame.h"
#include "ui/desktop/QuantorixView.h"
#include "ui/desktop/SheetModel.h"
#include "ui/desktop/SheetViewController.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QInputMethodEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The scripted user of the other tests, also keeping the status line texts.
class CDesktopPrompt : public CTestPrompt {
public:
    void ShowStatus(const std::string& text) override { m_Status.push_back(text); }

    std::vector<std::string> m_Status;
};

const std::uint32_t SUMMARY_COLOUR = 16711935;  // the default magenta
const std::uint32_t ERROR_COLOUR = 65535;       // the default yellow

// A window as the program makes it: the controller, the main frame and the
// view in it.
struct STestWindow {
    STestWindow(CSettingsKey& key, CPrompt& prompt) : m_Controller(key, prompt), m_Frame(key)
    {
        m_pView = new CQuantorixView(m_Controller, key, &m_Frame);
        m_Frame.SetView(m_pView);
        m_Frame.resize(1000, 700);
    }
    CSheetViewController m_Controller;
    CMainFrame m_Frame;  // closes before the controller it uses
    CQuantorixView* m_pView = nullptr;
};

class CDesktopFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApp();
        ASSERT_TRUE(m_Dir.isValid());
        m_pWindow = std::make_unique<STestWindow>(m_Key, m_Prompt);
        m_pController = &m_pWindow->m_Controller;
        m_pFrame = &m_pWindow->m_Frame;
        m_pView = m_pWindow->m_pView;
        m_pFrame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pFrame));
        m_pFrame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_pFrame));
    }
    void TearDown() override { m_pWindow.reset(); }

    SheetGrid& Sheet() { return m_pController->Sheet(); }
    const CSheetDocument& Document() { return m_pController->Session().Document(); }
    QWidget* Focus() { return QApplication::focusWidget() ? QApplication::focusWidget() : m_pView->Table(); }
    QRect CellRect(int row, int col)
    {
        return m_pView->Table()->visualRect(m_pView->Model()->index(row - 1, col - 1));
    }
    void ClickCell(int row, int col, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(m_pView->Table()->viewport(), Qt::LeftButton, modifiers, CellRect(row, col).center());
    }
    // Keys as a user types them: each goes to the widget that has the focus.
    void Type(const QString& text)
    {
        for (const QChar ch : text) {
            if (ch.unicode() < 0x80) {
                QTest::keyClick(Focus(), ch.toLatin1());
                continue;
            }
            // A character no key of the test keyboard has: its key event.
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(Focus(), &press);
        }
    }
    // Text an input method hands over at once.
    void Commit(const QString& text)
    {
        QInputMethodEvent commit(QString(), {});
        commit.setCommitString(text);
        QCoreApplication::sendEvent(Focus(), &commit);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(Focus(), key, modifiers); }
    void Enter(int row, int col, const QString& text)
    {
        ClickCell(row, col);
        Type(text);
        Key(Qt::Key_Return);
    }
    // The current cell: row and column.
    using SCell = std::pair<int, int>;
    SCell Current() { return {Sheet().Row(), Sheet().Col()}; }
    QString LastStatus() { return m_Prompt.m_Status.empty() ? QString() : GbkToQ(m_Prompt.m_Status.back()); }
    QString Shown(int row, int col)
    {
        return m_pView->Model()->index(row - 1, col - 1).data(Qt::DisplayRole).toString();
    }
    QColor Background(int row, int col)
    {
        return m_pView->Model()->index(row - 1, col - 1).data(Qt::BackgroundRole).value<QColor>();
    }
    // Runs a command whose modal dialog is handled by handle when it shows.
    void WithDialog(int nId, std::function<void(QDialog*)> handle)
    {
        bool bSeen = false;
        QTimer::singleShot(0, [&] {
            auto* pDlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(pDlg, nullptr);
            bSeen = true;
            handle(pDlg);
        });
        m_pFrame->Action(nId)->trigger();
        EXPECT_TRUE(bSeen);
    }
    // A path as the file dialog gives it: the system's bytes.
    std::string FilePath(const char* name) { return QFile::encodeName(m_Dir.filePath(QString::fromLatin1(name))).toStdString(); }

    QTemporaryDir m_Dir;
    CMemorySettingsStore m_Store;
    CSettingsKey m_Key{m_Store};
    CDesktopPrompt m_Prompt;
    std::unique_ptr<STestWindow> m_pWindow;
    CSheetViewController* m_pController = nullptr;
    CMainFrame* m_pFrame = nullptr;
    CQuantorixView* m_pView = nullptr;
};

}  // namespace
