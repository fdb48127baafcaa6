#include "tests/ui/AppTestSupport.h"

#include "core/settings/SettingsDialogData.h"
#include "core/settings/SettingsNames.h"
#include "core/settings/SettingsStore.h"
#include "ui/desktop/SettingsDialogs.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace settingsname;

namespace {

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override { TestApp(); }
    template <class T>
    static T* Control(QWidget& dlg, int id)
    {
        return dlg.findChild<T*>(QString::number(id));
    }
    CMemorySettingsStore m_Store;
    CSettingsKey m_Key{m_Store};
};

TEST_F(SettingsDialogTest, FirstOpeningWritesDefaultsEvenWhenCancelled)
{
    {
        CSystemSettingsDlg dlg(m_Key);
        dlg.reject();
    }
    EXPECT_EQ(m_Key.ReadString(PRINT_TIME), "1");
    EXPECT_EQ(m_Key.ReadString(SHOW_STYLE), "AUTOSHOW");
    EXPECT_EQ(m_Key.ReadString(ENTER_TO_WORD), "DOWN");
    EXPECT_EQ(m_Key.ReadString(SAVE_TIME), "10");
    EXPECT_EQ(m_Key.ReadString(IS_CLEAR_CONTANT), "1");
    EXPECT_EQ(m_Key.ReadString(IS_NOT_PRN_ADDRESS), "0");
    // Nothing else: the names stay unwritten.
    EXPECT_FALSE(m_Store.Has(COMPANY_NAME));
    EXPECT_FALSE(m_Store.Has(WORK_DIR));
}

TEST_F(SettingsDialogTest, IntervalAndWorkDirectoryAreCorrectedOnOk)
{
    // What OK stores for a typed value.
    auto stored = [this](std::string SSystemSettingsData::*pField, const char* typed, const char* name) {
        SSystemSettingsData data;
        data.Load(m_Key, "/cur");
        data.*pField = typed;
        data.Save(m_Key);
        return m_Key.ReadString(name);
    };
    const std::pair<const char*, const char*> intervals[] = {
        {"0", "2"}, {"1", "2"}, {"abc", "2"}, {"75", "59"}, {"59", "59"}, {"60", "59"}, {"2", "2"}, {"-5", "2"}};
    for (const auto& [typed, expected] : intervals)
        EXPECT_EQ(stored(&SSystemSettingsData::m_strInterval, typed, SAVE_TIME), expected) << typed;
    const std::pair<const char*, const char*> folders[] = {
        {"D:\\jobs\\\\", "D:\\jobs"}, {"/home/a/", "/home/a"}, {"/", "/"}, {"/home/a", "/home/a"}, {"\\", ""}};
    for (const auto& [typed, expected] : folders)
        EXPECT_EQ(stored(&SSystemSettingsData::m_strWorkDir, typed, WORK_DIR), expected) << typed;
    // An empty work directory shows the current one at the next opening.
    SSystemSettingsData data;
    data.Load(m_Key, "/cur");
    EXPECT_EQ(data.m_strWorkDir, "/cur");
}

TEST_F(SettingsDialogTest, FlagsAndRadioGroupsAsStored)
{
    m_Key.WriteValue(IS_CLEAR_CONTANT, "1");
    m_Key.WriteValue(SHOW_STYLE, "WEIRD");
    m_Key.WriteValue(ENTER_TO_WORD, "LEFT");
    m_Key.WriteValue(IS_AUTO_SAVE, settingstext::AUTO_SAVE_ON);
    CSystemSettingsDlg dlg(m_Key);
    EXPECT_TRUE(Control<QCheckBox>(dlg, 1046)->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(dlg, 1047)->isChecked());
    EXPECT_EQ(m_Key.ReadString(IS_NOT_PRN_ADDRESS), "0");
    EXPECT_TRUE(Control<QCheckBox>(dlg, 1011)->isChecked());
    for (int id : {1034, 1035, 1036})
        EXPECT_FALSE(Control<QRadioButton>(dlg, id)->isChecked()) << id;
    EXPECT_TRUE(Control<QRadioButton>(dlg, 1039)->isChecked());
    EXPECT_FALSE(Control<QRadioButton>(dlg, 1038)->isChecked());

    // A click selects its button alone; OK writes the unknown style back
    // unchanged and the new direction.
    Control<QRadioButton>(dlg, 1040)->click();
    EXPECT_TRUE(Control<QRadioButton>(dlg, 1040)->isChecked());
    EXPECT_FALSE(Control<QRadioButton>(dlg, 1039)->isChecked());
    Control<QCheckBox>(dlg, 1011)->setChecked(false);
    Control<QLineEdit>(dlg, 1002)->setText(QStringLiteral("甲公司"));
    Control<QPushButton>(dlg, 1)->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(m_Key.ReadString(SHOW_STYLE), "WEIRD");
    EXPECT_EQ(m_Key.ReadString(ENTER_TO_WORD), "RIGHT");
    EXPECT_EQ(m_Key.ReadString(IS_AUTO_SAVE), "");
    EXPECT_EQ(m_Key.ReadString(COMPANY_NAME), Gbk("甲公司"));
}

TEST_F(SettingsDialogTest, SystemDialogCancelWritesNothingTyped)
{
    m_Key.WriteValue(COMPANY_NAME, "A");
    CSystemSettingsDlg dlg(m_Key);
    Control<QLineEdit>(dlg, 1002)->setText(QStringLiteral("B"));
    Control<QRadioButton>(dlg, 1037)->click();
    Control<QPushButton>(dlg, 2)->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(m_Key.ReadString(COMPANY_NAME), "A");
    EXPECT_EQ(m_Key.ReadString(ENTER_TO_WORD), "DOWN");
}

TEST_F(SettingsDialogTest, BrowseAndDefaultDirectoryKeepOtherEdits)
{
    CSystemSettingsDlg dlg(m_Key);
    Control<QLineEdit>(dlg, 1003)->setText(QStringLiteral("typed"));
    dlg.m_ChooseFolder = []() { return QString(); };
    Control<QPushButton>(dlg, 1041)->click();
    const QString before = Control<QLineEdit>(dlg, 1013)->text();
    dlg.m_ChooseFolder = []() { return QStringLiteral("/srv/jobs"); };
    Control<QPushButton>(dlg, 1041)->click();
    EXPECT_NE(before, QStringLiteral("/srv/jobs"));
    EXPECT_EQ(Control<QLineEdit>(dlg, 1013)->text(), QStringLiteral("/srv/jobs"));
    EXPECT_EQ(Control<QLineEdit>(dlg, 1003)->text(), QStringLiteral("typed"));
}

TEST_F(SettingsDialogTest, EditDialogDefaultsAndCancel)
{
    m_Key.WriteValue(COUNT_POSITION, "X");
    m_Key.WriteValue(COUNT_COLOR, "65535");
    CEditSettingsDlg dlg(m_Key);
    dlg.m_ChooseColour = [](std::uint32_t& clr) {
        clr = 0x00FF00;
        return true;
    };
    Control<QPushButton>(dlg, 3)->click();  // 恢复默认值
    EXPECT_EQ(Control<QLineEdit>(dlg, 1006)->text(), QStringLiteral("计算部位"));
    EXPECT_EQ(Control<QLineEdit>(dlg, 1010)->text(), QStringLiteral("计  量  底  稿"));
    Control<QPushButton>(dlg, 1042)->click();
    Control<QPushButton>(dlg, 2)->click();
    EXPECT_EQ(m_Key.ReadString(COUNT_POSITION), "X");
    EXPECT_EQ(m_Key.ReadString(COUNT_COLOR), "65535");
    EXPECT_FALSE(m_Store.Has(COUNT_PROJECT_NAME));
    // The colours stay those read at the opening.
    EXPECT_EQ(dlg.Data().m_clrError, 65535u);
}

TEST_F(SettingsDialogTest, EditDialogOkWritesLabelsAndColours)
{
    m_Key.WriteValue(COUNT_COLOR, "65535");
    CEditSettingsDlg dlg(m_Key);
    // A missing summary colour reads as 0 and never takes the other one.
    EXPECT_EQ(dlg.Data().m_clrSummary, 0u);
    dlg.m_ChooseColour = [](std::uint32_t& clr) {
        clr = 0x0000FF;  // pure red
        return true;
    };
    Control<QPushButton>(dlg, 1042)->click();
    dlg.m_ChooseColour = [](std::uint32_t&) { return false; };
    Control<QPushButton>(dlg, 1043)->click();
    Control<QLineEdit>(dlg, 1008)->setText(QString());
    Control<QLineEdit>(dlg, 1011)->setText(QStringLiteral("参照"));
    Control<QPushButton>(dlg, 1)->click();
    EXPECT_EQ(m_Key.ReadString(COUNT_COLOR), "255");
    EXPECT_EQ(m_Key.ReadString(TOTAL_COLOR), "0");
    EXPECT_TRUE(m_Store.Has(COUNT_FORMULAR));
    EXPECT_EQ(m_Key.ReadString(COUNT_FORMULAR), "");
    EXPECT_EQ(m_Key.ReadString(COUNT_ORDER), Gbk("参照"));
    EXPECT_EQ(dlg.Data().m_clrError, 255u);
}

TEST_F(SettingsDialogTest, BulkDialogShowsStoredTextAndAsksBeforeClosing)
{
    m_Key.WriteValue(SELECT_ADD_SIGN, "*2");
    std::vector<std::string> asked;
    bool bAccept = false;
    CBulkTextDlg dlg(m_Key, [&](const std::string& text) {
        asked.push_back(text);
        return bAccept;
    });
    auto* pEdit = Control<QLineEdit>(dlg, 1002);
    EXPECT_EQ(pEdit->text(), QStringLiteral("*2"));
    dlg.show();
    pEdit->setText(QStringLiteral("+(3[墙]"));
    Control<QPushButton>(dlg, 1)->click();
    EXPECT_TRUE(dlg.isVisible());  // refused: stays open
    bAccept = true;
    pEdit->setText(QStringLiteral("+3😀"));
    Control<QPushButton>(dlg, 1)->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], Gbk("+(3[墙]"));
    EXPECT_EQ(asked[1], "+3?");
    EXPECT_TRUE(dlg.Replaced());
}

}  // namespace
