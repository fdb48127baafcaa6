// A document over the fake site, working in a fresh temporary folder (with
// its cache folder inside) that is removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "FakeSite.h"
#include "core/document/SheetDocument.h"

class CDocumentFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qtx-doc-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_strDir = pattern;
        std::filesystem::create_directory(m_strDir + "/cache");
        m_Doc.SetCacheFolder(m_strDir + "/cache");
        m_Key.WriteValue("WorkDir", m_strDir);
    }
    void TearDown() override { std::filesystem::remove_all(m_strDir); }

    std::string P(const std::string& name) const { return m_strDir + "/" + name; }

    std::string m_strDir;
    CMemorySettingsStore m_Store;
    CSettingsKey m_Key{m_Store};
    CFakeSite m_Site{m_Store};
    CTestPrompt m_Prompt;
    CSheetDocument m_Doc{m_Site, m_Store, m_Prompt};
};
