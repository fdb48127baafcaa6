// What the benchmarks that go through the disk share: one folder of their
// own for the settings file and the sheets they write, the texts of a
// typical take-off sheet, and the run of the benchmarks chosen on the
// command line.
#pragma once

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

// A fresh folder under /tmp, removed with all it holds when it goes.
class CBenchFolder {
public:
    CBenchFolder()
    {
        char pattern[] = "/tmp/qtx-bench-XXXXXX";
        if (::mkdtemp(pattern))
            m_strPath = pattern;
    }
    ~CBenchFolder()
    {
        if (!m_strPath.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_strPath, ignored);
        }
    }
    CBenchFolder(const CBenchFolder&) = delete;
    CBenchFolder& operator=(const CBenchFolder&) = delete;

    bool IsValid() const { return !m_strPath.empty(); }
    const std::string& Path() const { return m_strPath; }
    std::string File(const std::string& name) const { return m_strPath + "/" + name; }
    // Where the program keeps its INI settings when it runs from this folder.
    std::string SettingsFile() const { return File("settings.ini"); }
    // The bytes written to a file of that name in the folder; its path.
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = File(name);
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

private:
    std::string m_strPath;
};

// The folder of the whole benchmark program: the settings file and the
// sheets stay there from the first benchmark to the last.
inline const CBenchFolder& BenchFolder()
{
    static const CBenchFolder folder;
    return folder;
}

// The GBK texts of a wall item in a real take-off: the measured rows'
// position, category and expression, the heading row's name and kind.
namespace wallitem {
const std::string POSITION = "\xD2\xBB\xB2\xE3\xCD\xE2\xC7\xBD\xD6\xE1\xCF\xDF";       // 一层外墙轴线
const std::string CATEGORY = "240\xD7\xA9\xC7\xBDM5\xBB\xEC\xBA\xCF\xC9\xB0\xBD\xAC";  // 240砖墙M5混合砂浆
// (12.6+8.4)*2.8[层高]*0.24[墙厚]=14.11
const std::string FORMULA = "(12.6+8.4)*2.8[\xB2\xE3\xB8\xDF]*0.24[\xC7\xBD\xBA\xF1]=14.11";
const std::string HEADING = "\xD7\xA9\xC7\xBD";                 // 砖墙
const std::string SUMMED = "\xBC\xC6\xCB\xE3\xBB\xE3\xD7\xDC";  // 计算汇总
}  // namespace wallitem

// The benchmarks the command line chose, run; 1 when it holds an argument
// the library does not know.
inline int RunBenchmarks(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
