#include "core/settings/SheetSettings.h"
#include "core/settings/SettingsNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A memory store that also records every write, in order.
class CRecordingStore : public CMemorySettingsStore {
public:
    bool WriteRaw(const std::string& name, const std::string& value) override
    {
        m_Writes.push_back(name + "=" + value);
        return CMemorySettingsStore::WriteRaw(name, value);
    }
    std::string Get(const std::string& name)
    {
        std::string value;
        return ReadRaw(name, value) ? value : "<missing>";
    }
    std::vector<std::string> m_Writes;
};

}  // namespace

TEST(SheetSettings, EmptyStoreWritesEveryDefaultInOrder)
{
    CRecordingStore store;
    CSettingsKey key(store);
    SSheetInitSettings s = ReadSheetInitSettings(key);

    // The project and client defaults are written and then emptied again,
    // because a missing ISClearContant counts as "1".
    auto w = [](const std::string& name, const char* value) { return name + "=" + value; };
    const std::vector<std::string> expected = {
        "nSEATSIGN1=17", "nSEATSIGN2=24", "nSEATSIGN3=31", "nSEATSIGN4=44", "nSEATSIGN5=54",
        w("CompanyName", settingsdefault::COMPANY_NAME), w("ProjectCompanyName", settingsdefault::PROJECT_COMPANY_NAME),
        w("ProjectName", settingsdefault::PROJECT_NAME), "ISClearContant=1", "ProjectCompanyName=", "ProjectName=",
        w("m_CountProjectName", settingsdefault::COUNT_PROJECT_NAME),
        w("m_CountConstructionCompany", settingsdefault::COUNT_CONSTRUCTION_COMPANY),
        w("m_CountReplacePeople", settingsdefault::COUNT_REPLACE_PEOPLE), w("m_CountPeople", settingsdefault::COUNT_PEOPLE),
        w("m_CountPosition", settingsdefault::COUNT_POSITION), w("m_CountSize", settingsdefault::COUNT_SIZE),
        w("m_CountFormular", settingsdefault::COUNT_FORMULAR), w("m_CountUnit", settingsdefault::COUNT_UNIT),
        w("m_CountBook", settingsdefault::COUNT_BOOK), w("m_CountOrder", settingsdefault::COUNT_ORDER),
        "m_CountColor=65535", "m_TotalColor=16711935"};
    EXPECT_EQ(store.m_Writes, expected);

    const int align[6] = {4, 7, 4, 1, 4, 4};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(s.m_ColAlign[c], align[c]) << "column " << c;
    EXPECT_EQ(s.m_strBookTitle, "\xBC\xC6  \xC1\xBF  \xB5\xD7  \xB8\xE5");  // 计  量  底  稿
    EXPECT_EQ(s.m_clrErrorCell, 0x00FFFFu);                                 // yellow
    EXPECT_EQ(s.m_clrSummaryRow, 0xFF00FFu);                                // magenta

    // Every later initialisation finds the two names empty, so it writes
    // their defaults and empties them again; nothing else is written.
    store.m_Writes.clear();
    ReadSheetInitSettings(key);
    EXPECT_EQ(store.m_Writes, (std::vector<std::string>{w("ProjectCompanyName", settingsdefault::PROJECT_COMPANY_NAME), w("ProjectName", settingsdefault::PROJECT_NAME), "ProjectCompanyName=", "ProjectName="}));
}

TEST(SheetSettings, ColumnAlignmentIsClampedAndWrittenBack)
{
    struct SCase {
        int nCol;
        const char* szStored;  // nullptr: missing
        int nAlign;
        const char* szAfter;
    };
    const SCase cases[] = {
        {3, "30", 1, "31"},
        {3, "5", 1, "31"},
        {3, "35", 5, "35"},
        {3, "31", 1, "31"},
        {3, "37", 7, "37"},
        {3, "abc", 1, "31"},       // non-numeric counts as 0
        {3, "36xyz", 6, "36xyz"},  // leading digits count, value kept
        {3, "", 1, "31"},          // empty is missing: default 31
        {5, nullptr, 4, "54"},
        {5, "58", 7, "57"},
        {1, "-5", 1, "11"},
        {2, "99999999999999999999999", 7, "27"},  // saturates, no overflow
        {2, "-99999999999999999999999", 1, "21"},
    };
    for (const SCase& c : cases) {
        CRecordingStore store;
        CSettingsKey key(store);
        const std::string name = settingsname::SEAT_SIGN[c.nCol - 1];
        if (c.szStored)
            store.WriteRaw(name, c.szStored);
        store.WriteRaw("nSEATSIGN4", "41");
        store.m_Writes.clear();
        SSheetInitSettings s = ReadSheetInitSettings(key);
        EXPECT_EQ(s.m_ColAlign[c.nCol], c.nAlign) << name << " " << (c.szStored ? c.szStored : "<missing>");
        EXPECT_EQ(store.Get(name), c.szAfter) << name << " " << (c.szStored ? c.szStored : "<missing>");
        if (c.nCol != 4) {
            EXPECT_EQ(s.m_ColAlign[4], 1);
            EXPECT_EQ(store.Get("nSEATSIGN4"), "41");
        }
    }
}

TEST(SheetSettings, ClearContantRule)
{
    struct SCase {
        const char* szStored;  // nullptr: missing
        const char* szAfter;
        bool bCleared;
    };
    const SCase cases[] = {
        {nullptr, "1", true},
        {"", "1", true},
        {"1", "1", true},
        {"0", "0", false},
        {"yes", "1", true},
        {"01", "1", true},
    };
    for (const SCase& c : cases) {
        CRecordingStore store;
        CSettingsKey key(store);
        store.WriteRaw("ProjectName", "P");
        store.WriteRaw("ProjectCompanyName", "C");
        if (c.szStored)
            store.WriteRaw("ISClearContant", c.szStored);
        ReadSheetInitSettings(key);
        const char* label = c.szStored ? c.szStored : "<missing>";
        EXPECT_EQ(store.Get("ISClearContant"), c.szAfter) << label;
        EXPECT_EQ(store.Get("ProjectName"), c.bCleared ? "" : "P") << label;
        EXPECT_EQ(store.Get("ProjectCompanyName"), c.bCleared ? "" : "C") << label;
    }
}

TEST(SheetSettings, LabelsAndColoursFromStore)
{
    CRecordingStore store;
    CSettingsKey key(store);
    store.WriteRaw("m_CountUnit", "U");
    store.WriteRaw("m_CountOrder", std::string(199, 'x'));  // 200 with terminator
    store.WriteRaw("m_CountSize", std::string(198, 'y'));   // 199: still readable
    store.WriteRaw("m_CountColor", "abc");                  // present but not a number
    store.WriteRaw("m_TotalColor", "0");                    // present: black, not default
    SSheetInitSettings s = ReadSheetInitSettings(key);

    EXPECT_EQ(s.m_strHeader[4], "U");
    EXPECT_EQ(s.m_strHeader[5], settingsdefault::COUNT_ORDER);
    EXPECT_EQ(store.Get("m_CountOrder"), settingsdefault::COUNT_ORDER);  // long value replaced
    EXPECT_EQ(s.m_strHeader[2], std::string(198, 'y'));
    EXPECT_EQ(s.m_clrErrorCell, 0u);
    EXPECT_EQ(store.Get("m_CountColor"), "abc");
    EXPECT_EQ(s.m_clrSummaryRow, 0u);
}

TEST(SheetSettings, ColourText)
{
    EXPECT_EQ(settingsvalue::ToColour(" 255px"), 255u);
    for (std::uint32_t clr : {0u, 1u, 0xFFFFFFu, 0x80000000u, 0xFFFFFFFFu})
        EXPECT_EQ(settingsvalue::ToColour(settingsvalue::FromColour(clr)), clr) << clr;
}

TEST(SheetSettings, Startup)
{
    CRecordingStore store;
    CSettingsKey key(store);
    SStartupSettings s = ReadStartupSettings(key);
    EXPECT_EQ(store.m_Writes, (std::vector<std::string>{"ExampleShow=0", "nPiontNum=2", "SaveTime=10"}));
    EXPECT_FALSE(s.m_bExampleShow);
    EXPECT_EQ(s.m_nDecimals, 2);
    EXPECT_EQ(s.m_nSaveTime, 10);

    store.WriteRaw("RecentFile1", "/a.qtx");
    store.WriteRaw("RecentFile3", "/c.qtx");
    store.WriteRaw("ExampleShow", "yes");
    store.WriteRaw("IsAutoSave", "1");
    store.WriteRaw("nPiontNum", "9");
    store.WriteRaw("SaveTime", "1");
    store.m_Writes.clear();
    s = ReadStartupSettings(key);
    EXPECT_EQ(store.m_Writes, (std::vector<std::string>{"nPiontNum=6"}));
    EXPECT_EQ(s.m_strRecent[0], "/a.qtx");
    EXPECT_EQ(s.m_strRecent[1], "");
    EXPECT_EQ(s.m_strRecent[2], "/c.qtx");
    EXPECT_TRUE(s.m_bExampleShow);  // anything but "0" is on
    EXPECT_EQ(s.m_nDecimals, 6);
    EXPECT_EQ(s.m_nSaveTime, 1);
    EXPECT_FALSE(IsAutoSaveOn(key));  // "1" is not the switch text
    store.WriteRaw("IsAutoSave", settingstext::AUTO_SAVE_ON);
    EXPECT_TRUE(IsAutoSaveOn(key));
    store.WriteRaw("ExampleShow", "0");
    EXPECT_FALSE(ReadStartupSettings(key).m_bExampleShow);
}

TEST(SheetSettings, Decimals)
{
    struct SCase {
        const char* szStored;
        int nDecimals;
        const char* szAfter;
    };
    const SCase cases[] = {
        {"9", 6, "6"},
        {"6", 6, "6"},
        {"0", 0, "0"},
        {"-3", 0, "0"},
        {"abc", 0, "abc"},
        {"3.7", 3, "3.7"},
        {"", 2, "2"},
    };
    for (const SCase& c : cases) {
        CRecordingStore store;
        CSettingsKey key(store);
        store.WriteRaw("nPiontNum", c.szStored);
        EXPECT_EQ(ReadDecimals(key), c.nDecimals) << c.szStored;
        EXPECT_EQ(store.Get("nPiontNum"), c.szAfter) << c.szStored;
    }

    CMemorySettingsStore store;
    CSettingsKey key(store);
    WriteDecimals(key, 7);
    EXPECT_EQ(key.ReadString("nPiontNum"), "6");
}
