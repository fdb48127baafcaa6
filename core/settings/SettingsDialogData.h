// What the system settings dialog and the edit settings dialog hold, and
// how they read it from the store when they open and write it back on OK.
// No widgets here: the dialogs move these fields to and from their
// controls. Texts are GBK.
#pragma once

#include <cstdint>
#include <string>

class CSettingsKey;

struct SSystemSettingsData {
    std::string m_strCompany;
    std::string m_strProject;
    std::string m_strClient;
    std::string m_strChecker;
    std::string m_strCalculator;
    bool m_bAutoSave = false;
    std::string m_strInterval;
    std::string m_strPrintDate;  // "1", "2", "3"
    std::string m_strShowStyle;  // AUTOENTER, AUTOSHOW, AUTOSHOWSIGN or a stored unknown text
    std::string m_strEnterDir;   // UP, DOWN, LEFT, RIGHT or a stored unknown text
    std::string m_strWorkDir;
    bool m_bClearOnNew = false;
    bool m_bNoAddress = false;
    std::string m_strWebAddress;

    SSystemSettingsData();

    // The opening: reads every value, writes the defaults of the radio
    // groups, the interval and the two flags when they are missing (even if
    // the dialog is then cancelled). strCurrentDir stands in for an empty
    // work directory.
    void Load(const CSettingsKey& key, const std::string& strCurrentDir);
    // OK: the interval is limited to 2..59 minutes, trailing folder
    // separators are removed from the work directory, then everything is
    // written.
    void Save(const CSettingsKey& key);

    // The text field or the flag stored under a setting name ("CompanyName",
    // "IsAutoSave" ...); null for a name that is none of them.
    std::string* TextField(const std::string& name);
    bool* FlagField(const std::string& name);
};

// The web address offered when none is stored.
extern const char* const DEFAULT_WEB_ADDRESS;

// Index of a radio value in its group, -1 for a text that is none of them.
int ShowStyleIndex(const std::string& strStyle);
int EnterDirIndex(const std::string& strDir);
int PrintDateIndex(const std::string& strDate);
const char* ShowStyleValue(int nIndex);
const char* EnterDirValue(int nIndex);
const char* PrintDateValue(int nIndex);

struct SEditSettingsData {
    enum { LABEL_COUNT = 10 };
    // In the order of the dialog's edits 1002 .. 1011 and of the writes.
    std::string m_strLabel[LABEL_COUNT];
    std::uint32_t m_clrError = 0;
    std::uint32_t m_clrSummary = 0;

    // Setting names and defaults of the ten labels, in the same order.
    static const char* LabelName(int i);
    static const char* LabelDefault(int i);

    // The opening: labels as stored (missing ones empty), colours as stored
    // (a missing colour reads as 0, the default background).
    void Load(const CSettingsKey& key);
    // "恢复默认值": the ten default labels; the colours stay.
    void RestoreDefaults();
    // OK: the ten labels, then the two colours as decimal text.
    void Save(const CSettingsKey& key) const;
};
