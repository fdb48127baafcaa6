// File names and file system work of the document layer (POSIX).
//
// Document paths are the file system's own bytes all the way from the file
// dialog or the command line to the system call, so that any name the
// system can hold can be opened. Only what the user reads (the title, the
// recent-file menu) and what the settings keep is GBK text, converted here.
#pragma once

#include <string>

namespace docfile {

// A document path as the system takes it: unchanged, since document paths
// are the system's own bytes already (kept for callers of the older name).
inline std::string NativePath(const std::string& path)
{
    return path;
}
// The path as GBK text; a character GBK cannot hold becomes "?".
std::string PathToText(const std::string& nativePath);
// The path that a GBK text (a setting, a name typed in) names.
std::string TextToPath(const std::string& gbkText);

// The part before the last "/", or empty when there is none.
std::string FolderOf(const std::string& path);
// The path made absolute against the current folder, so that it names the
// same file wherever the program is started next time.
std::string AbsolutePath(const std::string& path);
// The file name without its folder and without its extension (everything
// from the last "." of the name on).
std::string TitleFromPath(const std::string& path);
// The path with the extension of its file name replaced by ext ("bak",
// "~~k"); a name without an extension gets "." + ext appended.
std::string BackupPath(const std::string& path, const char* ext);
// True when a title holds one of the characters # % ; / \ (double-byte
// characters never count, whatever their second byte).
bool HasForbiddenChar(const std::string& title);

// Larger files are refused at once: a sheet at its row limit with long
// texts stays far below, and reading more would only tie up the memory.
const long long MAX_FILE_BYTES = 256LL << 20;

enum EReadResult { READ_OK,
                   READ_CANNOT_OPEN,
                   READ_TOO_LARGE };
// Reads a whole regular file; anything else (a folder, a named pipe, a
// device) cannot be opened.
EReadResult ReadWholeFile(const std::string& nativePath, std::string& data);

// Copies a file over another one (through a temporary copy and a rename,
// never writing into the target). False when the source does not exist or
// the copy fails.
bool CopyFileReplace(const std::string& fromNative, const std::string& toNative);
// The same result without copying data where the file system allows: the
// target becomes a second name of the source's data. Only for files that
// are never written in place (every write here goes through a rename).
bool LinkOrCopy(const std::string& fromNative, const std::string& toNative);
// Renames a file over another one, or copies it and removes the source
// when they lie on different file systems.
bool MoveFileReplace(const std::string& fromNative, const std::string& toNative);
bool FileExists(const std::string& nativePath);
void RemoveFile(const std::string& nativePath);

// Removes the temporary files that saves of processes no longer running
// left in a folder (a save killed half way, a crash): the new version before
// its rename, the previous version kept in the cache, backups on their way.
void RemoveStaleTemps(const std::string& nativeFolder);

// The user's cache folder for the program, created when missing:
// $XDG_CACHE_HOME/quantorix or ~/.cache/quantorix. Empty when there is none.
std::string CacheFolder();

// Writes a file so that it is either the old or the new version: the bytes
// go to a temporary file in the same folder, are flushed to the disk, and
// Commit renames it over the target. Destroying an uncommitted object
// removes the temporary file.
class CAtomicFile {
public:
    CAtomicFile() = default;
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;
    ~CAtomicFile() { Discard(); }

    // Writes and flushes the temporary file. False with reason on failure.
    bool Write(const std::string& nativePath, const std::string& data, std::string& reason);
    bool Commit(std::string& reason);
    void Discard();

private:
    std::string m_strTarget;
    std::string m_strTemp;
};

}  // namespace docfile
