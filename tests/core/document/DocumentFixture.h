// A document over a plain sheet, working in a fresh temporary folder (with
// its cache folder inside) that is removed afterwards. The file commands
// are put together from the document's steps as the edit session does,
// with a plain reset of the sheet before a file is read.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "PlainSheet.h"
#include "core/document/SheetDocument.h"
#include "tests/TempFolder.h"
#include "tests/TestPrompt.h"

// A file's bytes as the disk holds them, and a file made of given bytes.
inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

class CDocumentFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_strDir.empty());
        std::filesystem::create_directory(m_strDir + "/cache");
        m_Doc.SetCacheFolder(m_strDir + "/cache");
        m_Key.WriteValue("WorkDir", m_strDir);
    }

    std::string P(const std::string& name) const { return m_strDir + "/" + name; }

    bool Save() { return m_Doc.Save(m_Sheet); }
    bool SaveAs() { return m_Doc.SaveAs(m_Sheet); }
    bool SaveAsPath(const std::string& path) { return m_Doc.SaveAsPath(m_Sheet, path); }
    bool CanClose() { return m_Doc.AskToSave(m_Sheet, false) != CSheetDocument::ASK_ABANDON; }
    bool New()
    {
        if (m_Doc.AskToSave(m_Sheet, true) == CSheetDocument::ASK_ABANDON)
            return false;
        ResetPlainSheet(m_Sheet);
        m_Doc.StartNew();
        return true;
    }
    bool Open()
    {
        std::string path;
        return CanClose() && m_Doc.ChooseFileToOpen(path) && Load(path);
    }
    bool OpenPath(const std::string& path) { return CanClose() && Load(path); }
    bool OpenRecent(int index)
    {
        const std::string path = m_Doc.RecentFile(index);  // the list changes on the way
        return !path.empty() && OpenPath(path);
    }

    const CTempFolder m_Folder{"qtx-doc"};
    const std::string m_strDir = m_Folder.Path();
    CMemorySettingsStore m_Store;
    CSettingsKey m_Key{m_Store};
    CPlainSheet m_Sheet;
    CTestPrompt m_Prompt;
    CSheetDocument m_Doc{m_Store, m_Prompt};

private:
    bool Load(const std::string& path)
    {
        ResetPlainSheet(m_Sheet);
        return m_Doc.Load(path, m_Sheet, SettingsHighlight(m_Key));
    }
};
