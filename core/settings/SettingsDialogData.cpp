#include "core/settings/SettingsDialogData.h"

#include "core/settings/SettingsNames.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SheetSettings.h"

using namespace settingsname;

const char* const DEFAULT_WEB_ADDRESS = "https://quantorix.example.com/";

namespace {

const char* const s_ShowStyles[3] = {settingstext::SHOW_STYLE_AUTOENTER, settingstext::SHOW_STYLE_AUTOSHOW,
                                     settingstext::SHOW_STYLE_AUTOSHOWSIGN};
const char* const s_EnterDirs[4] = {settingstext::ENTER_UP, settingstext::ENTER_DOWN, settingstext::ENTER_LEFT,
                                    settingstext::ENTER_RIGHT};
const char* const s_PrintDates[3] = {"1", "2", "3"};

template <std::size_t N>
int IndexOf(const char* const (&values)[N], const std::string& text)
{
    for (std::size_t i = 0; i < N; ++i)
        if (text == values[i])
            return static_cast<int>(i);
    return -1;
}

// A radio group's value: empty becomes the default; a known value is
// written again; an unknown one stays as it is and is not written.
void LoadRadio(const CSettingsKey& key, const char* name, const char* def, int (*index)(const std::string&),
               std::string& field)
{
    field.clear();
    key.ReadValue(name, field);
    if (field.empty())
        field = def;
    else if (index(field) < 0)
        return;
    key.WriteValue(name, field);
}

// "1"/"0" flag with a default written for anything else.
bool LoadFlag(const CSettingsKey& key, const char* name, bool def)
{
    std::string value;
    key.ReadValue(name, value);
    if (value == "1")
        return true;
    if (value == "0")
        return false;
    key.WriteValue(name, def ? "1" : "0");
    return def;
}

// The texts stored under their setting names as they stand; the first
// PLAIN_TEXTS of them are read and written without any check.
const struct {
    const char* m_szName;
    std::string SSystemSettingsData::*m_pText;
} s_Texts[] = {
    {COMPANY_NAME, &SSystemSettingsData::m_strCompany},
    {PROJECT_NAME, &SSystemSettingsData::m_strProject},
    {PROJECT_COMPANY_NAME, &SSystemSettingsData::m_strClient},
    {AUDIT_NAME, &SSystemSettingsData::m_strChecker},
    {COUNT_NAME, &SSystemSettingsData::m_strCalculator},
    {SAVE_TIME, &SSystemSettingsData::m_strInterval},
    {PRINT_TIME, &SSystemSettingsData::m_strPrintDate},
    {SHOW_STYLE, &SSystemSettingsData::m_strShowStyle},
    {ENTER_TO_WORD, &SSystemSettingsData::m_strEnterDir},
    {WORK_DIR, &SSystemSettingsData::m_strWorkDir},
    {NET_ADDRESS, &SSystemSettingsData::m_strWebAddress},
};
const std::size_t PLAIN_TEXTS = 5;

const struct {
    const char* m_szName;
    bool SSystemSettingsData::*m_pFlag;
} s_Flags[] = {
    {IS_AUTO_SAVE, &SSystemSettingsData::m_bAutoSave},
    {IS_CLEAR_CONTANT, &SSystemSettingsData::m_bClearOnNew},
    {IS_NOT_PRN_ADDRESS, &SSystemSettingsData::m_bNoAddress},
};

}  // namespace

int ShowStyleIndex(const std::string& strStyle) { return IndexOf(s_ShowStyles, strStyle); }
int EnterDirIndex(const std::string& strDir) { return IndexOf(s_EnterDirs, strDir); }
int PrintDateIndex(const std::string& strDate) { return IndexOf(s_PrintDates, strDate); }
const char* ShowStyleValue(int nIndex) { return nIndex >= 0 && nIndex < 3 ? s_ShowStyles[nIndex] : ""; }
const char* EnterDirValue(int nIndex) { return nIndex >= 0 && nIndex < 4 ? s_EnterDirs[nIndex] : ""; }
const char* PrintDateValue(int nIndex) { return nIndex >= 0 && nIndex < 3 ? s_PrintDates[nIndex] : ""; }

SSystemSettingsData::SSystemSettingsData() : m_strWebAddress(DEFAULT_WEB_ADDRESS) {}

std::string* SSystemSettingsData::TextField(const std::string& name)
{
    for (const auto& text : s_Texts)
        if (name == text.m_szName)
            return &(this->*text.m_pText);
    return nullptr;
}

bool* SSystemSettingsData::FlagField(const std::string& name)
{
    for (const auto& flag : s_Flags)
        if (name == flag.m_szName)
            return &(this->*flag.m_pFlag);
    return nullptr;
}

void SSystemSettingsData::Load(const CSettingsKey& key, const std::string& strCurrentDir)
{
    for (std::size_t i = 0; i < PLAIN_TEXTS; ++i)
        key.ReadValue(s_Texts[i].m_szName, this->*s_Texts[i].m_pText);
    key.ReadValue(SAVE_TIME, m_strInterval);
    key.ReadValue(NET_ADDRESS, m_strWebAddress);
    if (m_strWebAddress.empty())
        m_strWebAddress = DEFAULT_WEB_ADDRESS;

    m_bClearOnNew = LoadFlag(key, IS_CLEAR_CONTANT, true);
    m_bNoAddress = LoadFlag(key, IS_NOT_PRN_ADDRESS, false);

    LoadRadio(key, SHOW_STYLE, settingsdefault::SHOW_STYLE, ShowStyleIndex, m_strShowStyle);
    LoadRadio(key, ENTER_TO_WORD, settingsdefault::ENTER_TO_WORD, EnterDirIndex, m_strEnterDir);
    LoadRadio(key, PRINT_TIME, settingsdefault::PRINT_TIME, PrintDateIndex, m_strPrintDate);

    if (m_strInterval.empty()) {
        m_strInterval = settingsdefault::SAVE_TIME;
        key.WriteValue(SAVE_TIME, m_strInterval);
    }

    key.ReadValue(WORK_DIR, m_strWorkDir);
    if (m_strWorkDir.empty())
        m_strWorkDir = strCurrentDir;

    m_bAutoSave = IsAutoSaveOn(key);
}

void SSystemSettingsData::Save(const CSettingsKey& key)
{
    key.WriteValue(ENTER_TO_WORD, m_strEnterDir);
    key.WriteValue(SHOW_STYLE, m_strShowStyle);
    key.WriteValue(PRINT_TIME, m_strPrintDate);
    for (std::size_t i = 0; i < PLAIN_TEXTS; ++i)
        key.WriteValue(s_Texts[i].m_szName, this->*s_Texts[i].m_pText);
    key.WriteValue(NET_ADDRESS, m_strWebAddress);

    if (settingsvalue::ToLong(m_strInterval) >= 60)
        m_strInterval = "59";
    if (settingsvalue::ToLong(m_strInterval) < 2)
        m_strInterval = "2";
    key.WriteValue(SAVE_TIME, m_strInterval);

    // Trailing separators go; the root folder "/" stays as it is, since
    // an empty work directory would mean the current one.
    while (!m_strWorkDir.empty() && (m_strWorkDir.back() == '\\' || m_strWorkDir.back() == '/') && m_strWorkDir != "/")
        m_strWorkDir.pop_back();
    key.WriteValue(WORK_DIR, m_strWorkDir);

    key.WriteValue(IS_AUTO_SAVE, m_bAutoSave ? settingstext::AUTO_SAVE_ON : "");
    key.WriteValue(IS_CLEAR_CONTANT, m_bClearOnNew ? "1" : "0");
    key.WriteValue(IS_NOT_PRN_ADDRESS, m_bNoAddress ? "1" : "0");
}

namespace {

const char* const s_LabelNames[SEditSettingsData::LABEL_COUNT] = {
    COUNT_PROJECT_NAME, COUNT_CONSTRUCTION_COMPANY, COUNT_REPLACE_PEOPLE, COUNT_PEOPLE, COUNT_POSITION,
    COUNT_SIZE, COUNT_FORMULAR, COUNT_UNIT, COUNT_BOOK, COUNT_ORDER};

const char* const s_LabelDefaults[SEditSettingsData::LABEL_COUNT] = {
    settingsdefault::COUNT_PROJECT_NAME, settingsdefault::COUNT_CONSTRUCTION_COMPANY,
    settingsdefault::COUNT_REPLACE_PEOPLE, settingsdefault::COUNT_PEOPLE, settingsdefault::COUNT_POSITION,
    settingsdefault::COUNT_SIZE, settingsdefault::COUNT_FORMULAR, settingsdefault::COUNT_UNIT,
    settingsdefault::COUNT_BOOK, settingsdefault::COUNT_ORDER};

}  // namespace

const char* SEditSettingsData::LabelName(int i) { return i >= 0 && i < LABEL_COUNT ? s_LabelNames[i] : ""; }
const char* SEditSettingsData::LabelDefault(int i) { return i >= 0 && i < LABEL_COUNT ? s_LabelDefaults[i] : ""; }

void SEditSettingsData::Load(const CSettingsKey& key)
{
    for (int i = 0; i < LABEL_COUNT; ++i) {
        m_strLabel[i].clear();
        key.ReadValue(s_LabelNames[i], m_strLabel[i]);
    }
    // Each colour is read on its own: a missing one is 0 and never takes
    // the other colour's value.
    m_clrError = settingsvalue::ToColour(key.ReadString(COUNT_COLOR));
    m_clrSummary = settingsvalue::ToColour(key.ReadString(TOTAL_COLOR));
}

void SEditSettingsData::RestoreDefaults()
{
    for (int i = 0; i < LABEL_COUNT; ++i)
        m_strLabel[i] = s_LabelDefaults[i];
}

void SEditSettingsData::Save(const CSettingsKey& key) const
{
    for (int i = 0; i < LABEL_COUNT; ++i)
        key.WriteValue(s_LabelNames[i], m_strLabel[i]);
    key.WriteValue(COUNT_COLOR, settingsvalue::FromColour(m_clrError));
    key.WriteValue(TOTAL_COLOR, settingsvalue::FromColour(m_clrSummary));
}
