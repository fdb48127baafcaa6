// The writes of one user action reach the settings file as one update:
// reads inside the action see them, another instance sees all of them once
// the action ends, and opening, saving and starting a sheet each write the
// file once.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <string>

#include "core/engine/CalcState.h"
#include "core/session/SheetSession.h"
#include "core/settings/IniSettingsStore.h"
#include "tests/TestPrompt.h"

namespace {

std::string Read(CSettingsStore& store, const std::string& name)
{
    std::string value;
    return store.ReadRaw(name, value) ? value : "<missing>";
}

TEST(IniSettingsBatch, OneActionIsOneUpdateOfTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("q.ini"));
    CIniSettingsStore store(path), other(path);
    store.WriteRaw("a", "1");
    store.BeginBatch();
    store.BeginBatch();  // nested
    store.WriteRaw("a", "2");
    store.WriteRaw("b", "\xB3\xA4");  // 长
    EXPECT_EQ(Read(store, "a"), "2");
    store.EndBatch();
    EXPECT_EQ(Read(other, "a"), "1");
    EXPECT_EQ(Read(other, "b"), "<missing>");
    EXPECT_EQ(store.FileWrites(), 1);
    store.EndBatch();
    EXPECT_EQ(store.FileWrites(), 2);
    EXPECT_EQ(Read(other, "a"), "2");
    EXPECT_EQ(Read(other, "b"), "\xB3\xA4");
    store.EndBatch();  // unbalanced: nothing happens
    EXPECT_EQ(store.FileWrites(), 2);
}

TEST(IniSettingsBatch, NewOpenAndSaveWriteTheFileOnce)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    CIniSettingsStore store(dir.filePath(QStringLiteral("q.ini")));
    CCalcState state;
    CTestPrompt prompt;
    CMemoryClipboard clipboard;
    CSheetSession session(state, store, prompt, clipboard);
    session.Start();
    session.Click(1, COL_FORMULA);
    session.TypeText("12*3");
    session.PressKey(SHEETKEY_ENTER);
    struct SCase {
        int m_nCommand;
        const char* m_szFile;
    };
    for (const SCase& c : {SCase{cmdid::FILE_SAVE, "a.qtx"}, SCase{cmdid::FILE_NEW, nullptr}, SCase{cmdid::FILE_OPEN, "a.qtx"},
                           SCase{cmdid::FILE_SAVE, nullptr}}) {
        if (c.m_szFile)
            prompt.m_Files.push_back(folder + "/" + c.m_szFile);
        const int before = store.FileWrites();
        ASSERT_TRUE(session.RunCommand(c.m_nCommand));
        EXPECT_LE(store.FileWrites() - before, 1) << c.m_nCommand;
    }
    EXPECT_EQ(session.Sheet().TextMatrix(1, COL_FORMULA), "12*3=36.00");
}

}  // namespace
