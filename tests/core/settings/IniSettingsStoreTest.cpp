#include "core/settings/IniSettingsStore.h"
#include "core/settings/SettingsNames.h"
#include "core/settings/SheetSettings.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace {

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

std::string Read(CSettingsStore& store, const std::string& name)
{
    std::string value;
    return store.ReadRaw(name, value) ? value : "<missing>";
}

// Sets (or, given nullptr, clears) an environment variable for the life of
// the object; the variable is unset afterwards.
struct SEnv {
    SEnv(const char* name, const char* value) : m_szName(name)
    {
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~SEnv() { unsetenv(m_szName); }
    const char* m_szName;
};

const char POSITION_GBK[] = "\xBC\xC6\xCB\xE3\xB2\xBF\xCE\xBB";  // 计算部位

}  // namespace

TEST(IniSettingsStore, TextsAreUtf8InTheFileAndGbkInTheProgram)
{
    QTemporaryDir dir;
    QString path = dir.filePath("q.ini");
    CIniSettingsStore store(path);
    ASSERT_TRUE(store.WriteRaw("m_CountPosition", POSITION_GBK));
    ASSERT_TRUE(store.WriteRaw("m_CountColor", "65535"));

    QByteArray bytes = FileBytes(path);
    EXPECT_TRUE(bytes.contains("[Quantorix]")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("m_CountPosition=\xE8\xAE\xA1\xE7\xAE\x97\xE9\x83\xA8\xE4\xBD\x8D")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("m_CountColor=65535")) << bytes.constData();

    EXPECT_EQ(Read(store, "m_CountPosition"), POSITION_GBK);
    EXPECT_EQ(Read(store, "m_CountPositio"), "<missing>");
}

TEST(IniSettingsStore, ValuesSurviveTheFileFormat)
{
    QTemporaryDir dir;
    CIniSettingsStore store(dir.filePath("q.ini"));
    const std::string values[] = {
        "\xCD\xF8\xB8\xF1\xCF\xDF\xA3\xAD\xB4\xD6",  // 网格线－粗
        "C:\\Projects\\\xB9\xA4\xB3\xCC.qtx",        // C:\Projects\工程.qtx
        "a,b",
        "a, b",
        "\"quoted\"",
        "@Variant(x)",
        "@",
        "  padded  ",
        "x=y;z",
        "#not a comment",
        "[Other]",
        "line1\nline2",
        "tab\there",
        "",
        "0",
        "true",
    };
    for (const std::string& value : values) {
        ASSERT_TRUE(store.WriteRaw("SelectAddSign", value));
        EXPECT_EQ(Read(store, "SelectAddSign"), value);
    }
}

TEST(IniSettingsStore, EveryValueNameIsKeptAsWritten)
{
    QTemporaryDir dir;
    QString path = dir.filePath("q.ini");
    CIniSettingsStore store(path);
    const std::string names[] = {
        settingsname::COUNT_COLOR,
        settingsname::TOTAL_COLOR,
        settingsname::IS_CLEAR_CONTANT,
        settingsname::PIONT_NUM,
        settingsname::SEAT_SIGN[0],
        settingsname::SEAT_SIGN[4],
        settingsname::RECENT_FILE[0],
        settingsname::WORK_DIR,
        settingsname::IS_NOT_PRN_ADDRESS,
        settingsname::NET_ADDRESS,
        settingsname::WINDOW_SHOW,
    };
    for (const std::string& name : names)
        ASSERT_TRUE(store.WriteRaw(name, name + "-value"));
    // Names that differ only in case stay apart.
    ASSERT_TRUE(store.WriteRaw("isclearcontant", "lower"));

    QByteArray bytes = FileBytes(path);
    for (const std::string& name : names) {
        EXPECT_TRUE(bytes.contains(QByteArray::fromStdString("\n" + name + "=" + name + "-value"))) << name;
        EXPECT_EQ(Read(store, name), name + "-value");
    }
    EXPECT_EQ(Read(store, "isclearcontant"), "lower");
    EXPECT_EQ(bytes.count("["), 1) << bytes.constData();
}

TEST(IniSettingsStore, LengthLimitCountsGbkBytes)
{
    QTemporaryDir dir;
    CIniSettingsStore store(dir.filePath("q.ini"));
    CSettingsKey key(store);
    const std::string wide = "\xB9\xA4";  // 工: two bytes in GBK, three in UTF-8
    std::string text99, text100;
    for (int i = 0; i < 99; ++i)
        text99 += wide;
    text100 = text99 + wide;
    key.WriteValue("WorkDir", text99);
    EXPECT_EQ(key.ReadString("WorkDir"), text99);
    key.WriteValue("WorkDir", text100);
    std::string out = "unchanged";
    EXPECT_NE(key.ReadValue("WorkDir", out), 0);
    EXPECT_EQ(out, "unchanged");

    // A long value with a default written back is replaced by the default.
    key.WriteValue("m_CountPosition", text100);
    EXPECT_EQ(ReadSheetInitSettings(key).m_strHeader[1], POSITION_GBK);
    EXPECT_EQ(Read(store, "m_CountPosition"), POSITION_GBK);
}

TEST(IniSettingsStore, TwoInstancesSeeEachOthersWrites)
{
    QTemporaryDir dir;
    QString path = dir.filePath("q.ini");
    CIniSettingsStore first(path);
    CIniSettingsStore second(path);
    CSettingsKey firstKey(first);
    CSettingsKey secondKey(second);

    for (int i = 0; i < 20; ++i) {
        std::string value = std::to_string(i % 7);  // same size, quick succession
        firstKey.WriteValue("nPiontNum", value);
        EXPECT_EQ(secondKey.ReadString("nPiontNum"), value);
        secondKey.WriteValue("SaveTime", value);
        EXPECT_EQ(firstKey.ReadString("SaveTime"), value);
    }
    // Neither write lost the other's value.
    EXPECT_EQ(firstKey.ReadString("nPiontNum"), "5");
    EXPECT_EQ(secondKey.ReadString("SaveTime"), "5");
}

TEST(IniSettingsStore, EveryWriteMovesTheFileTimeForward)
{
    // Readers in other instances notice a change by the file's size and
    // time; a write within the same clock tick as the previous one, or on a
    // file whose time lies ahead, must still give it a newer time.
    QTemporaryDir dir;
    QString path = dir.filePath("q.ini");
    CIniSettingsStore store(path);
    ASSERT_TRUE(store.WriteRaw("nPiontNum", "2"));
    const QDateTime tAhead = QDateTime::currentDateTime().addSecs(3600);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(tAhead, QFileDevice::FileModificationTime));
    }
    CIniSettingsStore other(path);
    EXPECT_EQ(Read(other, "nPiontNum"), "2");
    QDateTime tLast = tAhead;
    for (int i = 3; i < 6; ++i) {
        ASSERT_TRUE(store.WriteRaw("nPiontNum", std::to_string(i)));
        QDateTime t = QFileInfo(path).lastModified();
        EXPECT_GT(t, tLast) << i;
        tLast = t;
        EXPECT_EQ(Read(other, "nPiontNum"), std::to_string(i));
    }
}

TEST(IniSettingsStore, PathFromEnvironment)
{
    QTemporaryDir dir;
    QString path = dir.filePath("sub/dir/mine.ini");
    {
        SEnv env("QUANTORIX_SETTINGS", path.toLocal8Bit().constData());
        EXPECT_EQ(CIniSettingsStore::DefaultPath(), path);
        CIniSettingsStore store;
        EXPECT_EQ(store.Path(), path);
        ASSERT_TRUE(store.WriteRaw("CountName", "x"));  // folders are created
        EXPECT_TRUE(FileBytes(path).contains("CountName=x"));
    }
    {
        SEnv env("QUANTORIX_SETTINGS", "");
        EXPECT_TRUE(CIniSettingsStore::DefaultPath().endsWith("/Quantorix/Quantorix.ini"));
    }
    {
        SEnv env("QUANTORIX_SETTINGS", nullptr);
        SEnv home("XDG_CONFIG_HOME", dir.path().toLocal8Bit().constData());
        EXPECT_EQ(CIniSettingsStore::DefaultPath(), dir.filePath("Quantorix/Quantorix.ini"));
    }
}

TEST(IniSettingsStore, UnusableLocationFailsQuietly)
{
    QTemporaryDir dir;
    // A folder cannot be created under a plain file, not even by root.
    WriteFileBytes(dir.filePath("plain"), "x");
    CIniSettingsStore store(dir.filePath("plain/q.ini"));
    CSettingsKey key(store);
    EXPECT_FALSE(store.WriteRaw("nPiontNum", "3"));
    EXPECT_EQ(Read(store, "nPiontNum"), "<missing>");
    // The sheet still starts, with the defaults.
    EXPECT_EQ(ReadSheetInitSettings(key).m_strHeader[1], POSITION_GBK);
    EXPECT_EQ(ReadStartupSettings(key).m_nDecimals, 2);
}

TEST(IniSettingsStore, HandEditedListValueReadsAsText)
{
    QTemporaryDir dir;
    QString path = dir.filePath("q.ini");
    WriteFileBytes(path, "[Quantorix]\nWorkDir=D:/a, b\nm_CountUnit=\xE5\x8D\x95\xE4\xBD\x8D\n");
    CIniSettingsStore store(path);
    EXPECT_EQ(Read(store, "WorkDir"), "D:/a, b");
    EXPECT_EQ(Read(store, "m_CountUnit"), "\xB5\xA5\xCE\xBB");  // 单位
}

TEST(IniSettingsStore, LockOfAProcessThatIsGoneIsTakenOverAtOnce)
{
    // A program killed while it wrote the settings leaves its lock behind:
    // empty (killed before it wrote its id) or naming a process that is gone.
    const QByteArray leftovers[] = {QByteArray(), QByteArray("999999999\nquantorix\n\n")};
    for (const QByteArray& lock : leftovers) {
        QTemporaryDir dir;
        const QString path = dir.filePath("q.ini");
        CIniSettingsStore store(path);
        ASSERT_TRUE(store.WriteRaw("SaveTime", "10"));
        WriteFileBytes(path + ".lock", lock);
        // Not a measurement: the old behaviour waited for the lock to age
        // (about 30 s) on every start.
        const qint64 start = QDateTime::currentMSecsSinceEpoch();
        EXPECT_TRUE(store.WriteRaw("SaveTime", "12"));
        EXPECT_EQ(Read(store, "SaveTime"), "12");
        EXPECT_LT(QDateTime::currentMSecsSinceEpoch() - start, 10000) << lock.constData();
    }
}

TEST(IniSettingsStore, ANamedPipeIsNoSettingsFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("q.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    CIniSettingsStore store(path);
    std::string value;
    EXPECT_FALSE(store.ReadRaw("SaveTime", value));
    EXPECT_FALSE(store.WriteRaw("SaveTime", "12"));
}
