#include "ui/desktop/SettingsDialogs.h"

#include "core/settings/SettingsNames.h"
#include "core/settings/SettingsStore.h"
#include "ui/desktop/GbkQt.h"
#include "ui/skin/FlatButton.h"
#include "ui/skin/SkinFrame.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLineEdit* MakeEdit(QWidget* pParent, int id)
{
    auto* pEdit = new QLineEdit(pParent);
    pEdit->setObjectName(QString::number(id));
    return pEdit;
}

template <class TButton>
TButton* MakeButton(QWidget* pParent, int id, const char* text)
{
    auto* pButton = new TButton(QString::fromUtf8(text), pParent);
    pButton->setObjectName(QString::number(id));
    return pButton;
}

QLabel* MakeLabel(QWidget* pParent, const char* text)
{
    return new QLabel(QString::fromUtf8(text), pParent);
}

// A radio group whose buttons the dialog checks itself: a click selects its
// button and clears the others; no button is selected for an unknown value.
QButtonGroup* MakeRadioGroup(QWidget* pBox, QBoxLayout* pLayout, const std::initializer_list<std::pair<int, const char*>>& buttons)
{
    auto* pGroup = new QButtonGroup(pBox);
    pGroup->setExclusive(false);
    int index = 0;
    for (const auto& button : buttons) {
        auto* pRadio = MakeButton<QRadioButton>(pBox, button.first, button.second);
        pRadio->setAutoExclusive(false);
        pGroup->addButton(pRadio, index++);
        pLayout->addWidget(pRadio);
    }
    return pGroup;
}

void CheckOnly(QButtonGroup* pGroup, int index)
{
    for (QAbstractButton* pButton : pGroup->buttons())
        pButton->setChecked(pGroup->id(pButton) == index);
}

QString CurrentDir()
{
    return QDir::toNativeSeparators(QDir::currentPath());
}

}  // namespace

// The "确定" and "取消" row at the foot of a dialog (after an optional button
// on its left), wired to accept and reject.
void AddOkCancelRow(QDialog* pDlg, QBoxLayout* pMain, QPushButton* pLeft)
{
    auto* pButtons = new QHBoxLayout;
    if (pLeft)
        pButtons->addWidget(pLeft);
    pButtons->addStretch(1);
    auto* pOk = MakeButton<CFlatButton>(pDlg, 1, "确定");
    auto* pCancel = MakeButton<CFlatButton>(pDlg, 2, "取消");
    pOk->setDefault(true);
    pButtons->addWidget(pOk);
    pButtons->addWidget(pCancel);
    pMain->addLayout(pButtons);
    QObject::connect(pOk, &QPushButton::clicked, pDlg, &QDialog::accept);
    QObject::connect(pCancel, &QPushButton::clicked, pDlg, &QDialog::reject);
}

CSystemSettingsDlg::CSystemSettingsDlg(const CSettingsKey& key, QWidget* pParent) : QDialog(pParent), m_Key(key)
{
    setWindowTitle(QStringLiteral("系统设置"));
    setObjectName(QStringLiteral("149"));
    auto* pMain = new QVBoxLayout(this);
    // Top to bottom as the user reads them; the focus follows the same order.
    AddPrintedNames(pMain);
    AddAutosaveAndDate(pMain);
    AddStyleAndEnter(pMain);
    AddWorkDir(pMain);
    AddPrintOptions(pMain);
    AddOkCancelRow(this, pMain);

    m_ChooseFolder = [this]() {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("选择工作目录：\n选择保存和打开计算稿文件的首选目录。"),
                                                 QDir::homePath(), QFileDialog::ShowDirsOnly);
    };

    m_Data.Load(m_Key, QToGbk(CurrentDir()));
    ToControls();
    CSkinFrame::Apply(this);
}

void CSystemSettingsDlg::AddPrintedNames(QVBoxLayout* pMain)
{
    auto* pTitle = new QGroupBox(QStringLiteral("打印标题名称"), this);
    auto* pTitleLayout = new QGridLayout(pTitle);
    pTitleLayout->addWidget(MakeLabel(pTitle, "编制单位名称"), 0, 0);
    pTitleLayout->addWidget(m_pEdit[0] = MakeEdit(pTitle, 1002), 0, 1);
    pMain->addWidget(pTitle);

    auto* pProject = new QGroupBox(QStringLiteral("打印项目名称"), this);
    auto* pProjectLayout = new QGridLayout(pProject);
    pProjectLayout->addWidget(MakeLabel(pProject, "项目名称"), 0, 0);
    pProjectLayout->addWidget(m_pEdit[1] = MakeEdit(pProject, 1003), 0, 1);
    pProjectLayout->addWidget(MakeLabel(pProject, "建设单位名称"), 1, 0);
    pProjectLayout->addWidget(m_pEdit[2] = MakeEdit(pProject, 1004), 1, 1);
    pMain->addWidget(pProject);

    auto* pPeople = new QGroupBox(QStringLiteral("打印人员名单"), this);
    auto* pPeopleLayout = new QHBoxLayout(pPeople);
    pPeopleLayout->addWidget(MakeLabel(pPeople, "核对人姓名"));
    pPeopleLayout->addWidget(m_pEdit[3] = MakeEdit(pPeople, 1009));
    pPeopleLayout->addWidget(MakeLabel(pPeople, "计算人姓名"));
    pPeopleLayout->addWidget(m_pEdit[4] = MakeEdit(pPeople, 1010));
    pMain->addWidget(pPeople);
}

void CSystemSettingsDlg::AddAutosaveAndDate(QVBoxLayout* pMain)
{
    auto* pRow = new QHBoxLayout;
    auto* pAuto = new QGroupBox(QStringLiteral("自动存盘设定"), this);
    auto* pAutoLayout = new QGridLayout(pAuto);
    pAutoLayout->addWidget(m_pAutoSave = MakeButton<QCheckBox>(pAuto, 1011, "自动存盘允许"), 0, 0, 1, 3);
    pAutoLayout->addWidget(MakeLabel(pAuto, "存盘时间间隔"), 1, 0);
    pAutoLayout->addWidget(m_pInterval = MakeEdit(pAuto, 1012), 1, 1);
    pAutoLayout->addWidget(MakeLabel(pAuto, "分钟"), 1, 2);
    m_pInterval->setMaximumWidth(60);
    pRow->addWidget(pAuto);

    auto* pDate = new QGroupBox(QStringLiteral("打印日期"), this);
    auto* pDateLayout = new QVBoxLayout(pDate);
    m_pPrintDate = MakeRadioGroup(pDate, pDateLayout, {{1027, "当前系统时间"}, {1028, "文件创建时间"}, {1029, "文件修改时间"}});
    pRow->addWidget(pDate);
    pMain->addLayout(pRow);
    connect(m_pPrintDate, &QButtonGroup::idClicked, this, [this](int id) {
        m_Data.m_strPrintDate = PrintDateValue(id);
        CheckOnly(m_pPrintDate, id);
    });
}

void CSystemSettingsDlg::AddStyleAndEnter(QVBoxLayout* pMain)
{
    auto* pRow = new QHBoxLayout;
    auto* pStyle = new QGroupBox(QStringLiteral("打印“规格类别”列显示方式"), this);
    auto* pStyleLayout = new QVBoxLayout(pStyle);
    m_pShowStyle = MakeRadioGroup(pStyle, pStyleLayout, {{1034, "强行换行"}, {1035, "换行或省略号"}, {1036, "省略号"}});
    pRow->addWidget(pStyle);

    auto* pEnter = new QGroupBox(QStringLiteral("“ENTER”键"), this);
    auto* pEnterLayout = new QHBoxLayout(pEnter);
    m_pEnterDir = MakeRadioGroup(pEnter, pEnterLayout, {{1037, "向上"}, {1038, "向下"}, {1039, "向左"}, {1040, "向右"}});
    pRow->addWidget(pEnter);
    pMain->addLayout(pRow);
    connect(m_pShowStyle, &QButtonGroup::idClicked, this, [this](int id) {
        m_Data.m_strShowStyle = ShowStyleValue(id);
        CheckOnly(m_pShowStyle, id);
    });
    connect(m_pEnterDir, &QButtonGroup::idClicked, this, [this](int id) {
        m_Data.m_strEnterDir = EnterDirValue(id);
        CheckOnly(m_pEnterDir, id);
    });
}

void CSystemSettingsDlg::AddWorkDir(QVBoxLayout* pMain)
{
    auto* pDir = new QGroupBox(QStringLiteral("默认工作目录"), this);
    auto* pDirLayout = new QHBoxLayout(pDir);
    pDirLayout->addWidget(m_pWorkDir = MakeEdit(pDir, 1013), 1);
    auto* pBrowse = MakeButton<QPushButton>(pDir, 1041, "...");
    pBrowse->setMaximumWidth(32);
    pDirLayout->addWidget(pBrowse);
    auto* pDefaultDir = MakeButton<CFlatButton>(pDir, 1005, "缺省目录");
    pDirLayout->addWidget(pDefaultDir);
    pMain->addWidget(pDir);
    connect(pDefaultDir, &QPushButton::clicked, this, &CSystemSettingsDlg::OnDefaultDir);
    connect(pBrowse, &QPushButton::clicked, this, &CSystemSettingsDlg::OnBrowse);
}

void CSystemSettingsDlg::AddPrintOptions(QVBoxLayout* pMain)
{
    auto* pPrint = new QGroupBox(QStringLiteral("打印设置"), this);
    auto* pPrintLayout = new QVBoxLayout(pPrint);
    pPrintLayout->addWidget(m_pClear = MakeButton<QCheckBox>(pPrint, 1046, "创建新文件是清空项目名称和单位"));
    auto* pAddressRow = new QHBoxLayout;
    pAddressRow->addWidget(m_pNoAddress = MakeButton<QCheckBox>(pPrint, 1047, "不打印网址"));
    pAddressRow->addWidget(m_pWebAddress = MakeEdit(pPrint, 1014), 1);
    pPrintLayout->addLayout(pAddressRow);
    pMain->addWidget(pPrint);
}

void CSystemSettingsDlg::ToControls()
{
    m_pEdit[0]->setText(GbkToQ(m_Data.m_strCompany));
    m_pEdit[1]->setText(GbkToQ(m_Data.m_strProject));
    m_pEdit[2]->setText(GbkToQ(m_Data.m_strClient));
    m_pEdit[3]->setText(GbkToQ(m_Data.m_strChecker));
    m_pEdit[4]->setText(GbkToQ(m_Data.m_strCalculator));
    m_pInterval->setText(GbkToQ(m_Data.m_strInterval));
    m_pWorkDir->setText(GbkToQ(m_Data.m_strWorkDir));
    m_pWebAddress->setText(GbkToQ(m_Data.m_strWebAddress));
    m_pAutoSave->setChecked(m_Data.m_bAutoSave);
    m_pClear->setChecked(m_Data.m_bClearOnNew);
    m_pNoAddress->setChecked(m_Data.m_bNoAddress);
    CheckOnly(m_pPrintDate, PrintDateIndex(m_Data.m_strPrintDate));
    CheckOnly(m_pShowStyle, ShowStyleIndex(m_Data.m_strShowStyle));
    CheckOnly(m_pEnterDir, EnterDirIndex(m_Data.m_strEnterDir));
}

void CSystemSettingsDlg::FromControls()
{
    m_Data.m_strCompany = QToGbk(m_pEdit[0]->text());
    m_Data.m_strProject = QToGbk(m_pEdit[1]->text());
    m_Data.m_strClient = QToGbk(m_pEdit[2]->text());
    m_Data.m_strChecker = QToGbk(m_pEdit[3]->text());
    m_Data.m_strCalculator = QToGbk(m_pEdit[4]->text());
    m_Data.m_strInterval = QToGbk(m_pInterval->text());
    m_Data.m_strWorkDir = QToGbk(m_pWorkDir->text());
    m_Data.m_strWebAddress = QToGbk(m_pWebAddress->text());
    m_Data.m_bAutoSave = m_pAutoSave->isChecked();
    m_Data.m_bClearOnNew = m_pClear->isChecked();
    m_Data.m_bNoAddress = m_pNoAddress->isChecked();
}

// "缺省目录" and "..." change only the work directory; what the user typed
// into the other fields since the dialog opened stays.
void CSystemSettingsDlg::OnDefaultDir()
{
    m_pWorkDir->setText(CurrentDir());
}

void CSystemSettingsDlg::OnBrowse()
{
    const QString folder = m_ChooseFolder ? m_ChooseFolder() : QString();
    if (!folder.isEmpty())
        m_pWorkDir->setText(QDir::toNativeSeparators(folder));
}

void CSystemSettingsDlg::accept()
{
    FromControls();
    m_Data.Save(m_Key);
    QDialog::accept();
}

CEditSettingsDlg::CEditSettingsDlg(const CSettingsKey& key, QWidget* pParent) : QDialog(pParent), m_Key(key)
{
    setWindowTitle(QStringLiteral("编辑设置"));
    setObjectName(QStringLiteral("182"));
    static const char* const s_Labels[SEditSettingsData::LABEL_COUNT] = {
        "项目名称：", "建设单位名称：", "核对人：", "计算人：", "计算部位：",
        "规格类别：", "计算表达式：", "单位：", "计量底稿：", "引用："};

    auto* pMain = new QVBoxLayout(this);
    auto* pNames = new QGroupBox(QStringLiteral("修改标题名称"), this);
    auto* pGrid = new QGridLayout(pNames);
    for (int i = 0; i < SEditSettingsData::LABEL_COUNT; ++i) {
        const int row = i / 2;
        const int col = (i % 2) * 2;
        auto* pLabel = MakeLabel(pNames, s_Labels[i]);
        pLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        pGrid->addWidget(pLabel, row, col);
        pGrid->addWidget(m_pLabel[i] = MakeEdit(pNames, 1002 + i), row, col + 1);
    }
    pMain->addWidget(pNames);

    auto* pColours = new QGroupBox(QStringLiteral("编辑颜色"), this);
    auto* pColourLayout = new QHBoxLayout(pColours);
    m_pColour[0] = MakeButton<QPushButton>(pColours, 1042, "算式错误的颜色");
    m_pColour[1] = MakeButton<QPushButton>(pColours, 1043, "汇总栏的颜色");
    for (int i = 0; i < 2; ++i) {
        m_pColour[i]->setFlat(true);
        m_pColour[i]->setAutoDefault(false);
        pColourLayout->addWidget(m_pColour[i]);
        connect(m_pColour[i], &QPushButton::clicked, this, [this, i]() { OnColour(i); });
    }
    pMain->addWidget(pColours);

    auto* pDefaults = MakeButton<CFlatButton>(this, 3, "恢复默认值");
    pDefaults->setAutoDefault(false);
    AddOkCancelRow(this, pMain, pDefaults);

    connect(pDefaults, &QPushButton::clicked, this, [this]() {
        m_Data.RestoreDefaults();
        ToControls();
    });

    m_ChooseColour = [this](std::uint32_t& clr) {
        const QColor chosen = QColorDialog::getColor(Qt::black, this);
        if (!chosen.isValid())
            return false;
        clr = static_cast<std::uint32_t>(chosen.red()) | (static_cast<std::uint32_t>(chosen.green()) << 8) | (static_cast<std::uint32_t>(chosen.blue()) << 16);
        return true;
    };

    m_Data.Load(m_Key);
    m_clrChosen[0] = m_Data.m_clrError;
    m_clrChosen[1] = m_Data.m_clrSummary;
    ToControls();
    CSkinFrame::Apply(this);
}

void CEditSettingsDlg::ToControls()
{
    for (int i = 0; i < SEditSettingsData::LABEL_COUNT; ++i)
        m_pLabel[i]->setText(GbkToQ(m_Data.m_strLabel[i]));
    ShowColour(0);
    ShowColour(1);
}

void CEditSettingsDlg::FromControls()
{
    for (int i = 0; i < SEditSettingsData::LABEL_COUNT; ++i)
        m_Data.m_strLabel[i] = QToGbk(m_pLabel[i]->text());
}

// The button shows its colour as a small swatch in front of its text.
void CEditSettingsDlg::ShowColour(int which)
{
    const std::uint32_t clr = m_clrChosen[which];
    QPixmap swatch(14, 14);
    swatch.fill(QColor(clr & 0xFF, (clr >> 8) & 0xFF, (clr >> 16) & 0xFF));
    m_pColour[which]->setIcon(QIcon(swatch));
}

void CEditSettingsDlg::OnColour(int which)
{
    std::uint32_t clr = 0;
    if (m_ChooseColour && m_ChooseColour(clr)) {
        m_clrChosen[which] = clr;
        ShowColour(which);
    }
}

void CEditSettingsDlg::accept()
{
    FromControls();
    m_Data.m_clrError = m_clrChosen[0];
    m_Data.m_clrSummary = m_clrChosen[1];
    m_Data.Save(m_Key);
    QDialog::accept();
}

CBulkTextDlg::CBulkTextDlg(const CSettingsKey& key, std::function<bool(const std::string&)> confirm,
                           QWidget* pParent)
    : QDialog(pParent), m_Confirm(std::move(confirm))
{
    setWindowTitle(QStringLiteral("选择范围添加或删除文字或表达式"));
    setObjectName(QStringLiteral("178"));
    auto* pMain = new QVBoxLayout(this);
    pMain->addWidget(MakeLabel(this, "可以在选择的格子中添加或删除字符或表达式"));
    pMain->addWidget(MakeLabel(this, "表达式第一位必须是运算符号   例如： *(20[A轴]+31)"));
    pMain->addWidget(m_pText = MakeEdit(this, 1002));
    AddOkCancelRow(this, pMain);

    m_pText->setText(GbkToQ(key.ReadString(settingsname::SELECT_ADD_SIGN)));
    m_pText->selectAll();
    CSkinFrame::Apply(this);
}

void CBulkTextDlg::accept()
{
    const std::string text = QToGbk(m_pText->text(), &m_bReplaced);
    if (m_Confirm && !m_Confirm(text)) {
        m_pText->setFocus();
        return;
    }
    QDialog::accept();
}
