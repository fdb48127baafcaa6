// The file commands on real files in a temporary folder: backups, the
// recent list, names, failed opens and saves, and the question before
// unsaved work is replaced.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>

#include "DocumentFixture.h"
#include "core/document/DocumentTexts.h"
#include "core/text/TextCodec.h"

namespace fs = std::filesystem;

namespace {

class DocumentTest : public CDocumentFixture {
protected:
    void Edit(const std::string& text)
    {
        m_Sheet.SetTextMatrix(1, COL_FORMULA, text);
        m_Doc.SetModified(true);
    }
    std::string Cell() { return m_Sheet.TextMatrix(1, COL_FORMULA); }
    std::vector<std::string> Listing(const std::string& folder) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

}  // namespace

TEST_F(DocumentTest, BackupsHoldThePreviousTwoVersions)
{
    fs::create_directory(P("my.jobs"));
    // A stale previous version from an earlier save must not become a backup.
    WriteBytes(P("cache/quantorix-" + std::to_string(::getpid()) + ".tmp"), "stale");
    const std::string path = P("my.jobs/wall.qtx");
    Edit("1=1.00");
    ASSERT_TRUE(SaveAsPath(path));
    const std::string v1 = ReadBytes(path);
    EXPECT_FALSE(fs::exists(P("my.jobs/wall.bak")));  // the file did not exist before
    EXPECT_FALSE(fs::exists(P("my.jobs/wall.~~k")));

    Edit("2=2.00");
    ASSERT_TRUE(Save());
    const std::string v2 = ReadBytes(path);
    EXPECT_NE(v1, v2);
    EXPECT_EQ(ReadBytes(P("my.jobs/wall.bak")), v1);

    Edit("3=3.00");
    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadBytes(P("my.jobs/wall.bak")), v2);
    EXPECT_EQ(ReadBytes(P("my.jobs/wall.~~k")), v1);

    // An all-empty sheet leaves ".bak" alone; "~~k" still takes ".bak".
    Edit("");
    ASSERT_TRUE(Save());
    EXPECT_FALSE(m_Doc.SavedContent());
    EXPECT_EQ(ReadBytes(P("my.jobs/wall.bak")), v2);
    EXPECT_EQ(ReadBytes(P("my.jobs/wall.~~k")), v2);
    // Nothing is left behind in the folders.
    EXPECT_EQ(Listing(P("my.jobs")), (std::vector<std::string>{"wall.bak", "wall.qtx", "wall.~~k"}));
    EXPECT_TRUE(Listing(P("cache")).empty());
}

TEST_F(DocumentTest, NameWithoutExtensionGetsBackupsAppended)
{
    Edit("1");
    ASSERT_TRUE(SaveAsPath(P("plan")));
    EXPECT_EQ(m_Doc.Title(), "plan");
    Edit("2");
    ASSERT_TRUE(Save());
    Edit("3");
    ASSERT_TRUE(Save());
    EXPECT_TRUE(fs::exists(P("plan.bak")));
    EXPECT_TRUE(fs::exists(P("plan.~~k")));
}

TEST_F(DocumentTest, DocumentNamedLikeItsBackupKeepsItsLatestVersion)
{
    for (const char* name : {"notes.bak", "notes.~~k"}) {
        SCOPED_TRACE(name);
        Edit("1");
        ASSERT_TRUE(SaveAsPath(P(name)));
        Edit("2");
        ASSERT_TRUE(Save());
        Edit("3");
        ASSERT_TRUE(Save());
        EXPECT_NE(ReadBytes(P(name)).find('3'), std::string::npos);
    }
}

TEST_F(DocumentTest, SaveStateTitleAndRecentEntry)
{
    Edit("1");
    EXPECT_EQ(m_Doc.WindowTitle(), std::string(doctext::TEXT_TITLE_PREFIX) + "[NewProject]");
    ASSERT_TRUE(SaveAsPath(P("wall.qtx")));
    EXPECT_TRUE(m_Doc.IsNamed());
    EXPECT_FALSE(m_Doc.IsModified());
    EXPECT_EQ(m_Doc.Title(), "wall");
    EXPECT_EQ(m_Doc.WindowTitle(), std::string(doctext::TEXT_TITLE_PREFIX) + "[wall]");
    EXPECT_EQ(m_Key.ReadString("RecentFile1"), P("wall.qtx"));

    // A symbolic link stays a link; the file it points to gets the data.
    fs::create_symlink(P("wall.qtx"), P("link.qtx"));
    ASSERT_TRUE(SaveAsPath(P("link.qtx")));
    EXPECT_TRUE(fs::is_symlink(P("link.qtx")));
}

TEST_F(DocumentTest, SaveAsRefusesForbiddenCharactersAndKeepsTheOldName)
{
    Edit("1");
    ASSERT_TRUE(SaveAsPath(P("first.qtx")));
    for (const char* name : {"a#1", "b%", "c;d.qtx", "e\\f.qtx"}) {
        SCOPED_TRACE(name);
        m_Prompt.m_Messages.clear();
        m_Prompt.m_Files.push_back(P(name));
        EXPECT_FALSE(SaveAs());
        ASSERT_EQ(m_Prompt.m_Messages.size(), 1u);
        EXPECT_EQ(m_Prompt.m_Messages[0], doctext::TEXT_BAD_NAME);
        EXPECT_EQ(m_Prompt.m_Captions.back(), doctext::TEXT_WARNING);
        EXPECT_EQ(m_Doc.Path(), P("first.qtx"));
        EXPECT_EQ(m_Doc.Title(), "first");
    }
    EXPECT_EQ(Listing(m_strDir), (std::vector<std::string>{"cache", "first.qtx"}));
    // A double-byte character whose second byte is "\" is no separator.
    EXPECT_TRUE(SaveAsPath(P(textcodec::GbkToUtf8("\x81\x5C").Bytes() + ".qtx")));
    EXPECT_EQ(m_Doc.Title(), "\x81\x5C");
}

TEST_F(DocumentTest, SaveAsStartsInTheWorkFolderWithTheTitle)
{
    m_Prompt.m_Files.push_back(P("x.qtx"));
    ASSERT_TRUE(Save());  // unnamed: Save asks for a name
    ASSERT_EQ(m_Prompt.m_Proposed.size(), 1u);
    EXPECT_EQ(m_Prompt.m_Proposed[0], P("NewProject"));
    EXPECT_TRUE(m_Prompt.m_Saves[0]);
    EXPECT_TRUE(fs::exists(P("x.qtx")));
}

TEST_F(DocumentTest, FailedSaveKeepsTheOldFileAndTheModifiedFlag)
{
    Edit("old");
    ASSERT_TRUE(SaveAsPath(P("wall.qtx")));
    const std::string old = ReadBytes(P("wall.qtx"));
    Edit(std::string(5000, 'x'));

    // The disk fills up while the new version is written.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool ok = Save();
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_FALSE(ok);
    EXPECT_TRUE(m_Doc.IsModified());
    EXPECT_EQ(ReadBytes(P("wall.qtx")), old);
    ASSERT_EQ(m_Prompt.m_Messages.size(), 1u);
    EXPECT_EQ(m_Prompt.m_Messages[0], doctext::TEXT_SAVE_FAILED);
    EXPECT_EQ(Listing(m_strDir), (std::vector<std::string>{"cache", "wall.qtx"}));

    // The target cannot be replaced (a folder stands there).
    fs::create_directory(P("dir.qtx"));
    EXPECT_FALSE(SaveAsPath(P("dir.qtx")));
    EXPECT_TRUE(fs::is_directory(P("dir.qtx")));
    // A failed Save As leaves the document where it was.
    EXPECT_FALSE(SaveAsPath(P("missing/x.qtx")));
    EXPECT_EQ(m_Doc.Path(), P("wall.qtx"));
    EXPECT_EQ(m_Doc.Title(), "wall");
    EXPECT_TRUE(m_Doc.IsModified());
    EXPECT_EQ(Listing(m_strDir), (std::vector<std::string>{"cache", "dir.qtx", "wall.qtx"}));
}

TEST_F(DocumentTest, OpeningFiles)
{
    Edit("1+1=2.00");
    m_Key.WriteValue("ProjectName", "P1");
    ASSERT_TRUE(SaveAsPath(P("a.qtx")));
    WriteBytes(P("empty.qtx"), "");
    WriteBytes(P("bad.qtx"), std::string("\x6A\xFF\xFF\xFF\x02\x00\x00\x00", 8));
    ASSERT_TRUE(New());
    EXPECT_EQ(Cell(), "");

    // A 0-byte file gives the new sheet, named after the file.
    EXPECT_TRUE(OpenPath(P("empty.qtx")));
    EXPECT_TRUE(m_Doc.IsNamed());
    EXPECT_EQ(m_Doc.Title(), "empty");
    EXPECT_EQ(m_Sheet.Rows(), 36);

    m_Key.WriteValue("ProjectName", "other");
    EXPECT_TRUE(OpenPath(P("a.qtx")));
    EXPECT_EQ(Cell(), "1+1=2.00");
    EXPECT_EQ(m_Key.ReadString("ProjectName"), "P1");
    EXPECT_FALSE(m_Doc.IsModified());

    struct SCase {
        const char* m_szName;
        const char* m_szMessage;
    } failures[] = {{"gone.qtx", doctext::TEXT_OPEN_FAILED}, {"bad.qtx", doctext::TEXT_DAMAGED}, {"cache", doctext::TEXT_OPEN_FAILED}};
    for (const SCase& c : failures) {
        SCOPED_TRACE(c.m_szName);
        m_Prompt.m_Messages.clear();
        m_Prompt.m_Files.push_back(P(c.m_szName));
        EXPECT_FALSE(Open());
        EXPECT_EQ(m_Prompt.m_Messages, std::vector<std::string>{c.m_szMessage});
        EXPECT_FALSE(m_Doc.IsNamed());
        EXPECT_EQ(Cell(), "");  // reset
        EXPECT_EQ(m_Doc.Path(), P(c.m_szName));
    }
    EXPECT_EQ(m_Key.ReadString("RecentFile1"), P("a.qtx"));
    // The dialog starts in the folder of the document's path.
    EXPECT_EQ(m_Prompt.m_Proposed.back(), P("*.qtx"));
}

TEST_F(DocumentTest, RecentListMovesEntriesDown)
{
    const char* names[] = {"1.qtx", "2.qtx", "3.qtx", "4.qtx", "5.qtx"};
    for (const char* name : names)
        WriteBytes(P(name), "");
    auto list = [&] {
        std::vector<std::string> entries;
        for (int i = 0; i < CSheetDocument::RECENT_COUNT; ++i) {
            EXPECT_EQ(m_Doc.RecentFile(i), m_Key.ReadString(doctext::KEY_RECENT[i]));
            entries.push_back(m_Doc.RecentFile(i).empty() ? "-" : fs::path(m_Doc.RecentFile(i)).stem().string());
        }
        return entries;
    };
    using V = std::vector<std::string>;
    ASSERT_TRUE(OpenPath(P("1.qtx")));
    EXPECT_EQ(list(), (V{"1", "-", "-", "-"}));
    ASSERT_TRUE(OpenPath(P("2.qtx")));
    ASSERT_TRUE(OpenPath(P("3.qtx")));
    EXPECT_EQ(list(), (V{"3", "2", "1", "-"}));
    ASSERT_TRUE(OpenPath(P("3.qtx")));  // already first
    EXPECT_EQ(list(), (V{"3", "2", "1", "-"}));
    ASSERT_TRUE(OpenRecent(2));  // third becomes first
    EXPECT_EQ(list(), (V{"1", "3", "2", "-"}));
    ASSERT_TRUE(OpenPath(P("4.qtx")));
    ASSERT_TRUE(OpenPath(P("5.qtx")));  // the oldest falls off
    EXPECT_EQ(list(), (V{"5", "4", "1", "3"}));

    // A free slot in the middle (a hand-edited setting) is filled first.
    m_Key.WriteValue("RecentFile2", "");
    m_Doc.LoadRecentList();
    ASSERT_TRUE(OpenPath(P("2.qtx")));
    EXPECT_EQ(list(), (V{"2", "5", "1", "3"}));

    // A vanished file stays in the list.
    fs::remove(P("1.qtx"));
    EXPECT_FALSE(OpenRecent(2));
    EXPECT_EQ(list(), (V{"2", "5", "1", "3"}));
}

TEST_F(DocumentTest, RecentMenuTexts)
{
    CSheetDocument doc(m_Store, m_Prompt);
    EXPECT_EQ(doc.RecentMenuText(1), std::string(doctext::TEXT_RECENT) + "2");
    EXPECT_FALSE(doc.RecentEnabled(1));
    doc.AddRecent(P("wall.qtx"));
    EXPECT_TRUE(doc.RecentEnabled(0));
    EXPECT_EQ(doc.RecentMenuText(0), "wall");
    m_Key.WriteValue("WorkDir", m_strDir + "/");
    EXPECT_EQ(doc.RecentMenuText(0), P("wall.qtx"));
    m_Key.WriteValue("WorkDir", "/elsewhere");
    EXPECT_EQ(doc.RecentMenuText(0), P("wall.qtx"));
}

TEST_F(DocumentTest, UnsavedWorkIsNeverDiscardedWithoutSaveOrNo)
{
    WriteBytes(P("other.qtx"), "");
    const std::function<bool()> commands[] = {
        [&] { return New(); },
        [&] { return Open(); },
        [&] { return OpenPath(P("other.qtx")); },
        [&] { return CanClose(); },
    };
    for (const auto& command : commands) {
        // Unnamed: Yes, then the save dialog is cancelled.
        m_Prompt.m_Files.clear();
        Edit("work");
        m_Prompt.m_Answers.push_back(CPrompt::ANSWER_YES);
        const std::size_t dialogs = m_Prompt.m_Saves.size();
        EXPECT_FALSE(command());
        EXPECT_EQ(Cell(), "work");
        EXPECT_TRUE(m_Doc.IsModified());
        ASSERT_EQ(m_Prompt.m_Saves.size(), dialogs + 1);  // only the save dialog came up
        EXPECT_TRUE(m_Prompt.m_Saves.back());
        EXPECT_EQ(m_Doc.Title(), "NewProject");
    }
    // Named, and the save fails: abandoned too.
    ASSERT_TRUE(SaveAsPath(P("w.qtx")));
    fs::remove(P("w.qtx"));
    fs::create_directory(P("w.qtx"));
    Edit("more");
    m_Prompt.m_Answers.push_back(CPrompt::ANSWER_YES);
    EXPECT_FALSE(New());
    EXPECT_EQ(Cell(), "more");
    EXPECT_EQ(m_Doc.Title(), "w");

    // No discards the changes.
    m_Prompt.m_Answers.push_back(CPrompt::ANSWER_NO);
    EXPECT_TRUE(New());
    EXPECT_EQ(Cell(), "");
    EXPECT_EQ(m_Doc.Title(), "NewProject");
    EXPECT_FALSE(m_Doc.IsNamed());
    EXPECT_FALSE(m_Doc.IsModified());
    EXPECT_EQ(m_Doc.Path(), P("w.qtx"));  // kept for the open dialog

    // Yes on an unnamed sheet offers it as NewProject, saves, then goes on.
    Edit("keep me");
    m_Prompt.m_Answers.push_back(CPrompt::ANSWER_YES);
    m_Prompt.m_Files.push_back(P("kept.qtx"));
    EXPECT_TRUE(OpenPath(P("other.qtx")));
    EXPECT_EQ(m_Prompt.m_Proposed.back(), P("NewProject"));
    EXPECT_NE(ReadBytes(P("kept.qtx")).find("keep me"), std::string::npos);
    EXPECT_EQ(m_Doc.Title(), "other");
}
