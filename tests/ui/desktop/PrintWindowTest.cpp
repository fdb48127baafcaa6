// Printing from the window: the print-content dialog, the preview and a
// print to a PDF file through the printer.
#include "DesktopFixture.h"

#include "core/print/PrintSelection.h"
#include "core/print/PrintTexts.h"
#include "core/session/CommandIds.h"
#include "ui/desktop/PrintDialogs.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>

namespace {

class PrintWindowTest : public CDesktopFixture {
protected:
    void SetUp() override
    {
        CDesktopFixture::SetUp();
        // 100 rows in categories X, Y, X, Z, ... under no summary item.
        const char* const categories[4] = {"X", "Y", "X", "Z"};
        Sheet().SetRows(201);
        for (int r = 1; r <= 100; ++r) {
            Sheet().SetTextMatrix(r, COL_POSITION, "p" + std::to_string(r));
            Sheet().SetTextMatrix(r, COL_SIZE, categories[(r - 1) % 4]);
            Sheet().SetTextMatrix(r, COL_FORMULA, "1+1=2.00");
        }
    }
    CPrintCommands& Printing() { return m_pView->Printing(); }
    CPrintSelection& Selection() { return m_pController->Session().PrintSelection(); }
    // Opens the print-content dialog and lets handle work it.
    void Content(std::function<void(CPrintContentDlg&)> handle)
    {
        Printing().m_RunDialog = [&](QDialog& dlg) {
            handle(dynamic_cast<CPrintContentDlg&>(dlg));
            return dlg.result();
        };
        m_pFrame->Action(cmdid::PRINT_SELECTION)->trigger();
    }
    template <class T>
    static T* Child(QDialog& dlg, const char* name)
    {
        return dlg.findChild<T*>(QString::fromLatin1(name));
    }
};

}  // namespace

TEST_F(PrintWindowTest, ContentDialogSetsTheThreeModes)
{
    EXPECT_TRUE(m_pFrame->Action(cmdid::PRINT_SELECTION)->isEnabled());
    Content([](CPrintContentDlg& dlg) {
        EXPECT_TRUE(Child<QRadioButton>(dlg, "1027")->isChecked());
        const QComboBox* pList = Child<QComboBox>(dlg, "1031");
        ASSERT_EQ(pList->count(), 3);
        EXPECT_EQ(pList->itemText(1), QStringLiteral("Y"));
        Child<QRadioButton>(dlg, "1028")->click();
        Child<QPushButton>(dlg, "1")->click();
    });
    EXPECT_EQ(Selection().Mode(), CPrintSelection::MODE_SUMMARY);

    // Opening the list chooses the category mode; OK takes the entry shown.
    Content([](CPrintContentDlg& dlg) {
        EXPECT_TRUE(Child<QRadioButton>(dlg, "1028")->isChecked());
        auto* pList = Child<QComboBox>(dlg, "1031");
        pList->showPopup();
        pList->hidePopup();
        pList->setCurrentIndex(2);
        EXPECT_TRUE(Child<QRadioButton>(dlg, "1029")->isChecked());
        EXPECT_FALSE(Child<QRadioButton>(dlg, "1028")->isChecked());
        Child<QPushButton>(dlg, "1")->click();
    });
    EXPECT_EQ(Selection().Mode(), CPrintSelection::MODE_CATEGORY);
    EXPECT_EQ(Selection().Category(), "Z");

    // Cancel changes nothing; OK untouched keeps the mode in force.
    Content([](CPrintContentDlg& dlg) {
        EXPECT_TRUE(Child<QRadioButton>(dlg, "1029")->isChecked());
        EXPECT_EQ(Child<QComboBox>(dlg, "1031")->currentText(), QStringLiteral("Z"));
        Child<QRadioButton>(dlg, "1027")->click();
        Child<QPushButton>(dlg, "2")->click();
    });
    EXPECT_EQ(Selection().Mode(), CPrintSelection::MODE_CATEGORY);
    Content([](CPrintContentDlg& dlg) { Child<QPushButton>(dlg, "1")->click(); });
    EXPECT_EQ(Selection().Mode(), CPrintSelection::MODE_CATEGORY);
    Content([](CPrintContentDlg& dlg) {
        Child<QRadioButton>(dlg, "1027")->click();
        Child<QPushButton>(dlg, "1")->click();
    });
    EXPECT_EQ(Selection().Mode(), CPrintSelection::MODE_ALL);
}

TEST_F(PrintWindowTest, PreviewOpensAndTurnsPages)
{
    int pages = 0;
    Printing().m_RunDialog = [&](QDialog& dlg) {
        auto& preview = dynamic_cast<CPrintPreviewDlg&>(dlg);
        pages = preview.PageCount();
        EXPECT_EQ(preview.CurrentPage(), 1);
        EXPECT_EQ(preview.RenderedPages(), 1);  // only the page in view
        preview.findChild<QPushButton*>(QStringLiteral("next"))->click();
        EXPECT_EQ(preview.CurrentPage(), 2);
        QTest::keyClick(&preview, Qt::Key_PageDown);
        EXPECT_EQ(preview.CurrentPage(), 3);
        preview.findChild<QPushButton*>(QStringLiteral("last"))->click();
        EXPECT_EQ(preview.CurrentPage(), pages);
        QTest::keyClick(&preview, Qt::Key_Home);
        EXPECT_EQ(preview.CurrentPage(), 1);  // kept, not drawn again
        EXPECT_EQ(preview.RenderedPages(), 4);
        preview.SetZoom(50);
        EXPECT_EQ(preview.CurrentPage(), 1);
        return 0;
    };
    m_pFrame->Action(cmdid::FILE_PRINT_PREVIEW)->trigger();
    EXPECT_EQ(pages, 4);

    // Nothing selected: the user is told and no preview opens.
    Selection().Set(CPrintSelection::MODE_SUMMARY, "");
    bool bOpened = false;
    Printing().m_RunDialog = [&](QDialog&) { return bOpened = true, 0; };
    m_pFrame->Action(cmdid::FILE_PRINT_PREVIEW)->trigger();
    EXPECT_FALSE(bOpened);
    ASSERT_FALSE(m_Prompt.m_Messages.empty());
    EXPECT_EQ(m_Prompt.m_Messages.back(), printtext::NOTHING_TO_PRINT);
}

TEST_F(PrintWindowTest, PrintsToAPdfFileThroughThePrinter)
{
    const QString path = m_Dir.filePath(QStringLiteral("sheet.pdf"));
    int offered = 0;
    Printing().m_ChoosePrinter = [&](QPrinter& printer, int nPages) {
        offered = nPages;
        EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    };
    m_pFrame->Action(cmdid::FILE_PRINT)->trigger();
    EXPECT_EQ(offered, 4);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF-"));
    // Nothing else is left in the folder.
    EXPECT_EQ(QDir(m_Dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("sheet.pdf")});
}
