// The dialogs of the sheet: system settings, edit settings (with the colour
// chooser) and the text dialog of the bulk edits. Each reads its values
// when it opens and writes them on OK; Cancel writes nothing. Controls carry
// their numeric ids as object names ("1002", ...).
#pragma once

#include "core/settings/SettingsDialogData.h"

#include <QDialog>
#include <functional>
#include <string>

class CSettingsKey;
class QAbstractButton;
class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

// The "确定" and "取消" row at the foot of a dialog (after an optional button
// on its left), wired to accept and reject.
void AddOkCancelRow(QDialog* pDlg, QBoxLayout* pMain, QPushButton* pLeft = nullptr);

class CSystemSettingsDlg : public QDialog {
    Q_OBJECT
public:
    // Opening reads the store (and writes the missing defaults).
    CSystemSettingsDlg(const CSettingsKey& key, QWidget* pParent = nullptr);

    const SSystemSettingsData& Data() const { return m_Data; }
    // The folder chooser of "..."; replaceable for tests. Returns an empty
    // text when cancelled.
    std::function<QString()> m_ChooseFolder;

    void accept() override;

private:
    // The dialog's groups, each with the choices it wires up.
    void AddPrintedNames(QVBoxLayout* pMain);
    void AddAutosaveAndDate(QVBoxLayout* pMain);
    void AddStyleAndEnter(QVBoxLayout* pMain);
    void AddWorkDir(QVBoxLayout* pMain);
    void AddPrintOptions(QVBoxLayout* pMain);
    void ToControls();
    void FromControls();
    void OnDefaultDir();
    void OnBrowse();

    const CSettingsKey& m_Key;
    SSystemSettingsData m_Data;
    QLineEdit* m_pEdit[6] = {};
    QLineEdit* m_pInterval = nullptr;
    QLineEdit* m_pWorkDir = nullptr;
    QLineEdit* m_pWebAddress = nullptr;
    QCheckBox* m_pAutoSave = nullptr;
    QCheckBox* m_pClear = nullptr;
    QCheckBox* m_pNoAddress = nullptr;
    QButtonGroup* m_pPrintDate = nullptr;
    QButtonGroup* m_pShowStyle = nullptr;
    QButtonGroup* m_pEnterDir = nullptr;
};

class CEditSettingsDlg : public QDialog {
    Q_OBJECT
public:
    CEditSettingsDlg(const CSettingsKey& key, QWidget* pParent = nullptr);

    // Labels and colours: as read when opened, or as confirmed.
    const SEditSettingsData& Data() const { return m_Data; }
    // The colour chooser of 1042 and 1043, starting from black; replaceable
    // for tests. Returns false when cancelled.
    std::function<bool(std::uint32_t& clr)> m_ChooseColour;

    void accept() override;

private:
    void ToControls();
    void FromControls();
    void OnColour(int which);
    void ShowColour(int which);

    const CSettingsKey& m_Key;
    SEditSettingsData m_Data;
    // Chosen colours, applied to the data only on OK.
    std::uint32_t m_clrChosen[2] = {0, 0};
    QLineEdit* m_pLabel[SEditSettingsData::LABEL_COUNT] = {};
    QPushButton* m_pColour[2] = {};
};

class CBulkTextDlg : public QDialog {
    Q_OBJECT
public:
    // confirm decides on "确定": true accepts (it stores the text itself),
    // false keeps the dialog open.
    CBulkTextDlg(const CSettingsKey& key, std::function<bool(const std::string&)> confirm,
                 QWidget* pParent = nullptr);

    void accept() override;
    // Set when the text held a character GBK cannot hold.
    bool Replaced() const { return m_bReplaced; }

private:
    std::function<bool(const std::string&)> m_Confirm;
    QLineEdit* m_pText = nullptr;
    bool m_bReplaced = false;
};
