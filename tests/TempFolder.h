// A fresh folder of the test's own under the system's temporary folder,
// removed with everything in it when the test is done with it.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

class CTempFolder {
public:
    explicit CTempFolder(const std::string& prefix = "qtx-test")
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(&pattern[0]))
            m_strPath = pattern;
    }
    ~CTempFolder()
    {
        std::error_code ec;
        if (!m_strPath.empty())
            std::filesystem::remove_all(m_strPath, ec);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    // Empty when the folder could not be made.
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};
