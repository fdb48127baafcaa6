#include "core/settings/SheetSettings.h"

#include "core/settings/SettingsNames.h"

#include <climits>

namespace settingsvalue {

std::uint32_t ToColour(const std::string& text)
{
    return static_cast<std::uint32_t>(static_cast<unsigned long>(ToLong(text)));
}

std::string FromColour(std::uint32_t clr)
{
    // A 32-bit "%ld": values with the top bit set come out negative, and
    // ToColour takes them back to the same bits.
    return FromLong(static_cast<long>(static_cast<std::int32_t>(clr)));
}

int ToInt(const std::string& text)
{
    long value = ToLong(text);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace settingsvalue

int ReadColumnAlignment(const CSettingsKey& key, int nCol)
{
    const char* name = settingsname::SEAT_SIGN[nCol - 1];
    std::string def = settingsvalue::FromLong(settingsdefault::SEAT_SIGN[nCol - 1]);
    long value = settingsvalue::ToLong(key.ReadWithDefault(name, def, true));
    // Compare against the bounds instead of subtracting 10 * n, so that a
    // hand-edited huge number cannot overflow.
    const long lo = 10L * nCol + 1;
    const long hi = 10L * nCol + 7;
    if (value > hi) {
        key.WriteValue(name, settingsvalue::FromLong(hi));
        return 7;
    }
    if (value < lo) {
        key.WriteValue(name, settingsvalue::FromLong(lo));
        return 1;
    }
    return static_cast<int>(value - 10L * nCol);
}

static std::uint32_t ReadColour(const CSettingsKey& key, const char* name, const char* def)
{
    return settingsvalue::ToColour(key.ReadWithDefault(name, def, true));
}

SSheetInitSettings ReadSheetInitSettings(const CSettingsKey& key)
{
    SSheetInitSettings s{};

    s.m_ColAlign[0] = 4;
    for (int n = 1; n <= 5; ++n)
        s.m_ColAlign[n] = ReadColumnAlignment(key, n);

    // Document properties: defaults first, then a new sheet may start with
    // an empty project and client.
    key.ReadWithDefault(settingsname::COMPANY_NAME, settingsdefault::COMPANY_NAME, true);
    key.ReadWithDefault(settingsname::PROJECT_COMPANY_NAME, settingsdefault::PROJECT_COMPANY_NAME, true);
    key.ReadWithDefault(settingsname::PROJECT_NAME, settingsdefault::PROJECT_NAME, true);
    std::string clear = key.ReadString(settingsname::IS_CLEAR_CONTANT);
    if (clear != "0") {
        if (clear != "1")
            key.WriteValue(settingsname::IS_CLEAR_CONTANT, "1");
        key.WriteValue(settingsname::PROJECT_COMPANY_NAME, "");
        key.WriteValue(settingsname::PROJECT_NAME, "");
    }

    key.ReadWithDefault(settingsname::COUNT_PROJECT_NAME, settingsdefault::COUNT_PROJECT_NAME, true);
    key.ReadWithDefault(settingsname::COUNT_CONSTRUCTION_COMPANY, settingsdefault::COUNT_CONSTRUCTION_COMPANY, true);
    key.ReadWithDefault(settingsname::COUNT_REPLACE_PEOPLE, settingsdefault::COUNT_REPLACE_PEOPLE, true);
    key.ReadWithDefault(settingsname::COUNT_PEOPLE, settingsdefault::COUNT_PEOPLE, true);

    s.m_strHeader[0] = settingsdefault::HEADER_SEQ;
    s.m_strHeader[1] = key.ReadWithDefault(settingsname::COUNT_POSITION, settingsdefault::COUNT_POSITION, true);
    s.m_strHeader[2] = key.ReadWithDefault(settingsname::COUNT_SIZE, settingsdefault::COUNT_SIZE, true);
    s.m_strHeader[3] = key.ReadWithDefault(settingsname::COUNT_FORMULAR, settingsdefault::COUNT_FORMULAR, true);
    s.m_strHeader[4] = key.ReadWithDefault(settingsname::COUNT_UNIT, settingsdefault::COUNT_UNIT, true);
    s.m_strBookTitle = key.ReadWithDefault(settingsname::COUNT_BOOK, settingsdefault::COUNT_BOOK, true);
    s.m_strHeader[5] = key.ReadWithDefault(settingsname::COUNT_ORDER, settingsdefault::COUNT_ORDER, true);

    s.m_clrErrorCell = ReadColour(key, settingsname::COUNT_COLOR, settingsdefault::COUNT_COLOR);
    s.m_clrSummaryRow = ReadColour(key, settingsname::TOTAL_COLOR, settingsdefault::TOTAL_COLOR);
    return s;
}

int ReadDecimals(const CSettingsKey& key)
{
    long value = settingsvalue::ToLong(key.ReadWithDefault(settingsname::PIONT_NUM, settingsdefault::PIONT_NUM, true));
    if (value > 6) {
        key.WriteValue(settingsname::PIONT_NUM, "6");
        return 6;
    }
    if (value < 0) {
        key.WriteValue(settingsname::PIONT_NUM, "0");
        return 0;
    }
    return static_cast<int>(value);
}

void WriteDecimals(const CSettingsKey& key, int nDecimals)
{
    if (nDecimals > 6)
        nDecimals = 6;
    if (nDecimals < 0)
        nDecimals = 0;
    key.WriteValue(settingsname::PIONT_NUM, settingsvalue::FromLong(nDecimals));
}

int ReadSaveTime(const CSettingsKey& key)
{
    return settingsvalue::ToInt(key.ReadWithDefault(settingsname::SAVE_TIME, settingsdefault::SAVE_TIME, true));
}

SStartupSettings ReadStartupSettings(const CSettingsKey& key)
{
    SStartupSettings s{};
    for (int i = 0; i < 4; ++i)
        s.m_strRecent[i] = key.ReadString(settingsname::RECENT_FILE[i]);

    // A missing value stores the toggle's current state, which is off.
    std::string example = key.ReadString(settingsname::EXAMPLE_SHOW);
    if (example.empty()) {
        key.WriteValue(settingsname::EXAMPLE_SHOW, settingsdefault::EXAMPLE_SHOW);
        s.m_bExampleShow = false;
    } else {
        s.m_bExampleShow = example != "0";
    }

    s.m_strAutoSave = key.ReadString(settingsname::IS_AUTO_SAVE);
    s.m_nDecimals = ReadDecimals(key);
    s.m_nSaveTime = ReadSaveTime(key);
    return s;
}

std::string ReadEnterDirection(const CSettingsKey& key)
{
    return key.ReadWithDefault(settingsname::ENTER_TO_WORD, settingsdefault::ENTER_TO_WORD, false);
}

bool IsAutoSaveOn(const CSettingsKey& key)
{
    return key.ReadString(settingsname::IS_AUTO_SAVE) == settingstext::AUTO_SAVE_ON;
}
