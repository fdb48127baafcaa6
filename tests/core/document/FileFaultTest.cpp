// The sheet file and its backups under faults: links, permissions, a file
// size limit, a kill half way through a save, leftovers of such saves, pipes
// and huge files. Rights that root would have anyway are given up in a child
// process running as the user nobody.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "DocumentFixture.h"
#include "core/document/DocumentTexts.h"
#include "core/document/FileOps.h"
#include "core/document/SheetFile.h"
#include "core/text/TextCodec.h"

namespace fs = std::filesystem;

namespace {

const uid_t NOBODY = 65534;

// The id of a process that has ended.
pid_t GonePid()
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

// Runs body in a child process; its exit status, or 128 + the signal that
// ended it. The child reports a failed expectation by its status.
int InChild(const std::function<void()>& body, uid_t uid = 0)
{
    std::fflush(stdout);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (uid != 0 && (::setgroups(0, nullptr) != 0 || ::setgid(uid) != 0 || ::setuid(uid) != 0))
            ::_exit(77);
        body();
        std::fflush(stdout);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

class FileFaultTest : public CDocumentFixture {
protected:
    void Edit(const std::string& text)
    {
        m_Sheet.SetTextMatrix(1, COL_FORMULA, text);
        m_Doc.SetModified(true);
    }
    // Saves three versions v1, v2, v3 of path: then .bak holds v2, .~~k v1.
    void SaveThree(const std::string& path)
    {
        for (const char* text : {"v1", "v2", "v3"}) {
            Edit(text);
            ASSERT_TRUE(path == m_Doc.Path() ? Save() : SaveAsPath(path));
            m_Versions.push_back(ReadBytes(path));
        }
    }
    // As a normal user (nobody when the tests run as root): the folder is
    // handed over first.
    void AsNormalUser(const std::function<void()>& body)
    {
        if (::geteuid() != 0) {
            body();
            return;
        }
        ASSERT_EQ(::chown(m_strDir.c_str(), NOBODY, NOBODY), 0);
        for (const auto& entry : fs::recursive_directory_iterator(m_strDir))
            ASSERT_EQ(::lchown(entry.path().c_str(), NOBODY, NOBODY), 0);
        const int status = InChild(body, NOBODY);
        if (status == 77)
            GTEST_SKIP() << "cannot become the user nobody";
        EXPECT_EQ(status, 0);
    }

    std::vector<std::string> m_Versions;
};

}  // namespace

TEST_F(FileFaultTest, BackupsThroughASymbolicLinkAreFilesOfTheirOwn)
{
    fs::create_directory(P("data"));
    SaveThree(P("data/wall.qtx"));
    fs::create_symlink(P("data/wall.qtx"), P("link.qtx"));
    AsNormalUser([&]() {
        ASSERT_TRUE(OpenPath(P("link.qtx")));
        for (const char* text : {"v4", "v5"}) {
            Edit(text);
            ASSERT_TRUE(Save());
        }
        // The link still leads to the file, which holds the newest version;
        // the backups beside the link hold the two before.
        EXPECT_TRUE(fs::is_symlink(P("link.qtx")));
        EXPECT_NE(ReadBytes(P("data/wall.qtx")).find("v5"), std::string::npos);
        for (const char* name : {"link.bak", "link.~~k"})
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(P(name)))) << name;
        EXPECT_NE(ReadBytes(P("link.bak")).find("v4"), std::string::npos);
        EXPECT_EQ(ReadBytes(P("link.~~k")), m_Versions[2]);
        EXPECT_EQ(ReadBytes(P("data/wall.bak")), m_Versions[1]);  // untouched
    });
}

TEST_F(FileFaultTest, ReadOnlySheetIsNotOverwritten)
{
    SaveThree(P("wall.qtx"));
    ASSERT_EQ(::chmod(P("wall.qtx").c_str(), 0444), 0);
    AsNormalUser([&]() {
        Edit("v4");
        EXPECT_FALSE(Save());
        EXPECT_TRUE(m_Doc.IsModified());
        EXPECT_EQ(m_Prompt.m_Messages.back(), doctext::TEXT_SAVE_FAILED);
        EXPECT_EQ(ReadBytes(P("wall.qtx")), m_Versions[2]);
        EXPECT_EQ(ReadBytes(P("wall.bak")), m_Versions[1]);
        EXPECT_EQ(ReadBytes(P("wall.~~k")), m_Versions[0]);
    });
}

TEST_F(FileFaultTest, FailedSaveRotatesNoBackup)
{
    SaveThree(P("wall.qtx"));
    // The file replaced by a folder; a pipe in its place.
    for (const bool bPipe : {false, true}) {
        SCOPED_TRACE(bPipe ? "pipe" : "folder");
        fs::remove_all(P("wall.qtx"));
        if (bPipe)
            ASSERT_EQ(::mkfifo(P("wall.qtx").c_str(), 0600), 0);
        else
            fs::create_directory(P("wall.qtx"));
        Edit("v4");
        EXPECT_FALSE(Save());
        EXPECT_TRUE(m_Doc.IsModified());
        EXPECT_EQ(ReadBytes(P("wall.bak")), m_Versions[1]);
        EXPECT_EQ(ReadBytes(P("wall.~~k")), m_Versions[0]);
    }
    EXPECT_EQ(fs::directory_iterator(P("cache")), fs::directory_iterator());
}

TEST_F(FileFaultTest, FileSizeLimitFailsTheSaveAndKillsNothing)
{
    SaveThree(P("wall.qtx"));
    const int status = InChild([&]() {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit small{1000, 1000};
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        Edit(std::string(5000, 'x'));
        EXPECT_FALSE(Save());
        EXPECT_TRUE(m_Doc.IsModified());
        EXPECT_EQ(m_Prompt.m_Messages.back(), doctext::TEXT_SAVE_FAILED);
        // The program goes on: a small sheet still saves.
        Edit("v4");
        EXPECT_TRUE(Save());
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadBytes(P("wall.bak")), m_Versions[2]);
    EXPECT_EQ(ReadBytes(P("wall.~~k")), m_Versions[1]);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_strDir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"cache", "wall.bak", "wall.qtx", "wall.~~k"}));
}

TEST_F(FileFaultTest, KilledSavesLeaveAVersionAndTheirLeftoversGo)
{
    // A sheet large enough that a kill lands inside the save now and then.
    m_Sheet.SetRows(3000);
    for (int row = 1; row < 3000; ++row)
        m_Sheet.SetTextMatrix(row, COL_POSITION, std::string(300, static_cast<char>('a' + row % 26)));
    SaveThree(P("wall.qtx"));
    for (int delay = 0; delay < 12; ++delay) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (;;) {
                Edit("again");
                Save();
            }
        }
        ::usleep(static_cast<useconds_t>(delay * 1500));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        // Whatever the moment, the file and its backups are whole versions.
        for (const char* name : {"wall.qtx", "wall.bak", "wall.~~k"}) {
            std::string error;
            sheetfile::SContents contents;
            const std::string bytes = ReadBytes(P(name));
            EXPECT_TRUE(sheetfile::Inspect(bytes.data(), bytes.size(), contents, error)) << name << " " << delay;
        }
    }
    // The next save (and the next start) clear what the killed ones left.
    Edit("last");
    ASSERT_TRUE(Save());
    m_Doc.LoadRecentList();
    for (const auto& folder : {m_strDir, P("cache")})
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(name == "cache" || name.rfind("wall.", 0) == 0) << name;
            EXPECT_EQ(name.find("copy-"), std::string::npos) << name;
            EXPECT_EQ(name.find("link-"), std::string::npos) << name;
        }
}

TEST_F(FileFaultTest, LeftoversOfEndedProcessesAreRemoved)
{
    Edit("v1");
    ASSERT_TRUE(SaveAsPath(P("wall.qtx")));
    const std::string gone = std::to_string(GonePid());
    const std::string alive = std::to_string(::getppid());
    const std::string stale[] = {".qtx-save-" + gone + "-0.tmp", "wall.bak.copy-" + gone, "wall.~~k.link-" + gone};
    const std::string kept[] = {".qtx-save-" + alive + "-0.tmp", "notes.copy-" + gone, ".qtx-save-x-0.tmp"};
    for (const std::string& name : stale)
        WriteBytes(P(name), "x");
    for (const std::string& name : kept)
        WriteBytes(P(name), "x");
    WriteBytes(P("cache/quantorix-" + gone + ".tmp"), "x");
    WriteBytes(P("cache/quantorix-" + alive + ".tmp"), "x");

    // At start-up: the cache, and the folders of the recent files.
    m_Doc.LoadRecentList();
    EXPECT_FALSE(fs::exists(P("cache/quantorix-" + gone + ".tmp")));
    EXPECT_TRUE(fs::exists(P("cache/quantorix-" + alive + ".tmp")));
    for (const std::string& name : stale)
        EXPECT_FALSE(fs::exists(P(name))) << name;
    for (const std::string& name : stale)
        WriteBytes(P(name), "x");
    // Before a save.
    Edit("v2");
    ASSERT_TRUE(Save());
    for (const std::string& name : stale)
        EXPECT_FALSE(fs::exists(P(name))) << name;
    for (const std::string& name : kept)
        EXPECT_TRUE(fs::exists(P(name))) << name;
}

TEST_F(FileFaultTest, OnlyRegularFilesAreRead)
{
    ASSERT_EQ(::mkfifo(P("pipe.qtx").c_str(), 0600), 0);
    std::string data;
    EXPECT_EQ(docfile::ReadWholeFile(P("pipe.qtx"), data), docfile::READ_CANNOT_OPEN);
    EXPECT_FALSE(OpenPath(P("pipe.qtx")));
    EXPECT_EQ(m_Prompt.m_Messages.back(), doctext::TEXT_OPEN_FAILED);
}

TEST_F(FileFaultTest, HugeFileIsRefusedAtOnceWithItsReason)
{
    // A sparse file: its size costs no disk.
    {
        std::ofstream(P("huge.qtx")).close();
        fs::resize_file(P("huge.qtx"), static_cast<std::uintmax_t>(docfile::MAX_FILE_BYTES) + 1);
    }
    EXPECT_FALSE(OpenPath(P("huge.qtx")));
    EXPECT_EQ(m_Prompt.m_Messages.back(), doctext::TEXT_TOO_LARGE);
    EXPECT_EQ(m_Sheet.Rows(), 36);
}

namespace {

// Keeps texts as UTF-8, as the settings file does: bytes that are no GBK
// character do not come back.
class CUtf8Store : public CSettingsStore {
public:
    bool ReadRaw(const std::string& name, std::string& value) override
    {
        auto it = m_Values.find(name);
        if (it == m_Values.end())
            return false;
        value = textcodec::Utf8ToGbk(CUtf8Text(it->second));
        return true;
    }
    bool WriteRaw(const std::string& name, const std::string& value) override
    {
        m_Values[name] = textcodec::GbkToUtf8(value).Bytes();
        return true;
    }
    std::map<std::string, std::string> m_Values;
};

}  // namespace

TEST_F(FileFaultTest, PropertiesComeBackByteForByteAndReachTheSettingsCut)
{
    const std::string he = "\xBA\xCB";  // 核
    const std::string longName = "a" + std::string() + [&]() {
        std::string s;
        for (int i = 0; i < (1 << 19); ++i)
            s += he;
        return s;
    }();
    const std::string props[5] = {"\x80\xFF", "\x81", "\xFE", longName, "\xCD\xF5"};
    std::string file;
    sheetfile::AppendInt(file, -150);
    sheetfile::AppendInt(file, 2);
    for (const std::string& prop : props)
        sheetfile::AppendString(file, prop);
    for (int i = 0; i < 12; ++i)
        sheetfile::AppendString(file, i == 3 ? longName : std::string());
    sheetfile::AppendInt(file, 1);
    sheetfile::AppendInt(file, 1);
    WriteBytes(P("props.qtx"), file);

    CUtf8Store store;
    CSettingsKey key(store);
    CPlainSheet sheet;
    CSheetDocument doc{store, m_Prompt};
    doc.SetCacheFolder(P("cache"));
    ASSERT_TRUE(doc.Load(P("props.qtx"), sheet, SettingsHighlight(key)));
    // The setting holds the longest start that reads back, whole characters
    // only; the cell keeps everything.
    EXPECT_EQ(key.ReadString("AuditName"), longName.substr(0, 197));
    EXPECT_TRUE(sheet.TextMatrix(1, COL_FORMULA) == longName);
    sheetfile::SContents contents;
    std::string error;
    auto savedProps = [&]() {
        const std::string saved = ReadBytes(P("props.qtx"));
        EXPECT_TRUE(sheetfile::Inspect(saved.data(), saved.size(), contents, error));
        const sheetfile::SProperties& p = contents.m_Props;
        return std::vector<std::string>{p.m_strCompany, p.m_strClient, p.m_strProject, p.m_strAuditor, p.m_strCalculator};
    };
    ASSERT_TRUE(doc.Save(sheet));
    EXPECT_TRUE(savedProps() == std::vector<std::string>(props, props + 5));

    // A property changed in the settings is written as changed.
    key.WriteValue("ProjectName", "new");
    ASSERT_TRUE(doc.Save(sheet));
    const std::vector<std::string> changed = savedProps();
    EXPECT_EQ(changed[2], "new");
    EXPECT_EQ(changed[0], props[0]);
    // A new sheet forgets the file's properties.
    ResetPlainSheet(sheet);
    doc.StartNew();
    ASSERT_TRUE(doc.SaveAsPath(sheet, P("other.qtx")));
    const std::string other = ReadBytes(P("other.qtx"));
    ASSERT_TRUE(sheetfile::Inspect(other.data(), other.size(), contents, error));
    EXPECT_NE(contents.m_Props.m_strCompany, props[0]);
}

TEST_F(FileFaultTest, PathsKeepCharactersThatGbkCannotHold)
{
    // 한글 (UTF-8): the system takes it, GBK has no such characters.
    const std::string path = P("\xED\x95\x9C\xEA\xB8\x80 wall.qtx");
    Edit("v1");
    ASSERT_TRUE(SaveAsPath(path));
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(m_Doc.Path(), path);
    EXPECT_EQ(m_Doc.Title(), "?? wall");  // shown as GBK
    ASSERT_TRUE(New());
    m_Prompt.m_Files.push_back(path);
    ASSERT_TRUE(Open());
    EXPECT_EQ(m_Sheet.TextMatrix(1, COL_FORMULA), "v1");
    EXPECT_EQ(m_Doc.RecentFile(0), path);
    Edit("v2");
    ASSERT_TRUE(Save());
    ASSERT_TRUE(OpenRecent(0));
    EXPECT_EQ(m_Sheet.TextMatrix(1, COL_FORMULA), "v2");
    EXPECT_EQ(m_Doc.RecentMenuText(0), "?? wall");
}
