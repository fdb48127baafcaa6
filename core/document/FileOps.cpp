#include "core/document/FileOps.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "core/engine/GbkText.h"
#include "core/text/TextCodec.h"

namespace docfile {

namespace {

// A write past the file size limit (ulimit -f) raises SIGXFSZ, which ends
// the program by default and loses the unsaved sheet. While an object of
// this class lives the signal is held back on this thread, so that the
// write fails with EFBIG like any other failed write; a signal raised
// meanwhile is taken away before the thread's mask is restored.
class CFileSizeSignalBlock {
public:
    CFileSizeSignalBlock()
    {
        sigemptyset(&m_Set);
        sigaddset(&m_Set, SIGXFSZ);
        m_bBlocked = ::pthread_sigmask(SIG_BLOCK, &m_Set, &m_Old) == 0;
    }
    CFileSizeSignalBlock(const CFileSizeSignalBlock&) = delete;
    CFileSizeSignalBlock& operator=(const CFileSizeSignalBlock&) = delete;
    ~CFileSizeSignalBlock()
    {
        if (!m_bBlocked)
            return;
        if (!sigismember(&m_Old, SIGXFSZ)) {
            sigset_t pending;
            sigemptyset(&pending);
            const timespec zero{};
            while (::sigpending(&pending) == 0 && sigismember(&pending, SIGXFSZ) && ::sigtimedwait(&m_Set, nullptr, &zero) == SIGXFSZ) {
            }
        }
        ::pthread_sigmask(SIG_SETMASK, &m_Old, nullptr);
    }

private:
    sigset_t m_Set;
    sigset_t m_Old;
    bool m_bBlocked = false;
};

bool IsRunning(long long pid)
{
    if (pid <= 0 || pid != static_cast<pid_t>(pid))
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

// The process id in name[from..] when the rest of the name is made of
// digits up to `end` (npos: to the end), or -1.
long long PidAt(const std::string& name, std::size_t from, std::size_t end = std::string::npos)
{
    if (end == std::string::npos)
        end = name.size();
    if (from >= end || end - from > 18)
        return -1;
    long long pid = 0;
    for (std::size_t i = from; i < end; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return -1;
        pid = pid * 10 + (name[i] - '0');
    }
    return pid;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The process that made a temporary file of a save, judged by its name, or
// -1 when the name is none of them:
//   .qtx-save-PID-N.tmp              the new version before its rename
//   quantorix-PID.tmp                the previous version in the cache
//   NAME.bak.copy-PID, .link-PID     a backup on its way (also ~~k, tmp)
long long TempOwner(const std::string& name)
{
    const std::string save = ".qtx-save-";
    if (name.compare(0, save.size(), save) == 0 && EndsWith(name, ".tmp")) {
        const std::size_t dash = name.find('-', save.size());
        if (dash == std::string::npos || PidAt(name, dash + 1, name.size() - 4) < 0)
            return -1;
        return PidAt(name, save.size(), dash);
    }
    const std::string cache = "quantorix-";
    if (name.compare(0, cache.size(), cache) == 0 && EndsWith(name, ".tmp"))
        return PidAt(name, cache.size(), name.size() - 4);
    for (const char* what : {".copy-", ".link-"}) {
        const std::size_t at = name.rfind(what);
        if (at == std::string::npos)
            continue;
        const std::string base = name.substr(0, at);
        if (EndsWith(base, ".bak") || EndsWith(base, ".~~k") || EndsWith(base, ".tmp"))
            return PidAt(name, at + 6);
    }
    return -1;
}

std::string ErrnoText(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return true;
}

std::size_t NameStart(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

std::string PathToText(const std::string& nativePath)
{
    // The system names files in UTF-8.
    return textcodec::Utf8ToGbk(CUtf8Text(nativePath));
}

std::string TextToPath(const std::string& gbkText)
{
    return textcodec::GbkToUtf8(gbkText).Bytes();
}

std::string AbsolutePath(const std::string& path)
{
    if (path.empty())
        return path;
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(path), ec);
    if (ec)
        return path;
    return absolute.lexically_normal().string();
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string TitleFromPath(const std::string& path)
{
    std::string name = path.substr(NameStart(path));
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

std::string BackupPath(const std::string& path, const char* ext)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < NameStart(path))
        return path + "." + ext;
    return path.substr(0, dot + 1) + ext;
}

bool HasForbiddenChar(const std::string& title)
{
    for (std::size_t i = 0; i < title.size();) {
        const std::size_t len = gbk::CharLength(title, i);
        if (len == 1 && std::strchr("#%;/\\", title[i]) && title[i] != '\0')
            return true;
        i += len;
    }
    return false;
}

EReadResult ReadWholeFile(const std::string& nativePath, std::string& data)
{
    data.clear();
    // Without waiting: opening a named pipe would block until a writer comes.
    const int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return READ_CANNOT_OPEN;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return READ_CANNOT_OPEN;
    }
    if (st.st_size > MAX_FILE_BYTES) {
        ::close(fd);
        return READ_TOO_LARGE;
    }
    data.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < data.size()) {
        const ssize_t n = ::read(fd, &data[got], data.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            data.clear();
            return READ_CANNOT_OPEN;
        }
        if (n == 0)
            break;  // the file shrank meanwhile: take what is there
        got += static_cast<std::size_t>(n);
    }
    data.resize(got);
    ::close(fd);
    return READ_OK;
}

std::string SiblingTemp(const std::string& path, const char* what)
{
    return path + "." + what + "-" + std::to_string(::getpid());
}

bool CopyFileReplace(const std::string& fromNative, const std::string& toNative)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fromNative, ec))
        return false;
    // Never written in place: the target may share its data with another
    // name (see LinkOrCopy).
    const std::string temp = SiblingTemp(toNative, "copy");
    CFileSizeSignalBlock block;
    if (!std::filesystem::copy_file(fromNative, temp, std::filesystem::copy_options::overwrite_existing, ec) || ec || ::rename(temp.c_str(), toNative.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool LinkOrCopy(const std::string& fromNative, const std::string& toNative)
{
    struct stat st {};
    if (::stat(fromNative.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    const std::string temp = SiblingTemp(toNative, "link");
    ::unlink(temp.c_str());
    // A symbolic link is followed: the second name must hold the data, not
    // point to a file that the next save replaces.
    if (::linkat(AT_FDCWD, fromNative.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        const bool ok = ::rename(temp.c_str(), toNative.c_str()) == 0;
        // rename leaves both names when they already were the same file.
        ::unlink(temp.c_str());
        if (ok)
            return true;
    }
    return CopyFileReplace(fromNative, toNative);
}

bool MoveFileReplace(const std::string& fromNative, const std::string& toNative)
{
    if (::rename(fromNative.c_str(), toNative.c_str()) == 0)
        return true;
    const bool ok = CopyFileReplace(fromNative, toNative);
    ::unlink(fromNative.c_str());
    return ok;
}

bool FileExists(const std::string& nativePath)
{
    struct stat st {};
    return ::stat(nativePath.c_str(), &st) == 0;
}

void RemoveFile(const std::string& nativePath)
{
    if (!nativePath.empty())
        ::unlink(nativePath.c_str());
}

void RemoveStaleTemps(const std::string& nativeFolder)
{
    DIR* dir = ::opendir(nativeFolder.empty() ? "." : nativeFolder.c_str());
    if (!dir)
        return;
    const std::string prefix = nativeFolder.empty() ? std::string() : nativeFolder + "/";
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const long long owner = TempOwner(name);
        if (owner < 0 || owner == ::getpid() || IsRunning(owner))
            continue;
        const std::string path = prefix + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode)))
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}

std::string CacheFolder()
{
    std::string base;
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/')
            return std::string();
        base = std::string(home) + "/.cache";
    }
    const std::string folder = base + "/quantorix";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return std::filesystem::is_directory(folder, ec) ? folder : std::string();
}

namespace {

// The file a save replaces: a link is followed, so that the file it points
// to gets the new version.
std::string SaveTarget(const std::string& nativePath)
{
    struct stat lst {};
    if (::lstat(nativePath.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        if (char* real = ::realpath(nativePath.c_str(), nullptr)) {
            std::string target = real;
            std::free(real);
            return target;
        }
    }
    return nativePath;
}

// Only a regular file is replaced, and only one the user may write: the
// rename of the save would otherwise replace a read-only file, a locked one
// or a pipe without asking. A file not there yet may be made.
bool MayReplace(const std::string& target, std::string& reason)
{
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0)
        return true;
    if (!S_ISREG(old.st_mode)) {
        reason = "not a regular file";
        return false;
    }
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        reason = ErrnoText("access");
        return false;
    }
    return true;
}

// A new temporary file beside the target, open for writing (-1 with reason
// when none can be made); it keeps the permissions of the target.
int CreateSaveTemp(const std::string& target, std::string& temp, std::string& reason)
{
    const std::string folder = target.substr(0, NameStart(target));
    // A short name, so that a long file name still leaves room for it.
    const std::string stem = folder + ".qtx-save-" + std::to_string(::getpid()) + "-";
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = stem + std::to_string(attempt) + ".tmp";
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            reason = ErrnoText("create");
            return -1;
        }
    }
    if (fd < 0) {
        reason = "create: no free temporary name";
        return -1;
    }
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0)
        ::fchmod(fd, st.st_mode & 07777);
    return fd;
}

// The data written to the disk and the file closed; false with the reason
// of the first failure.
bool WriteAndClose(int fd, const std::string& data, std::string& reason)
{
    CFileSizeSignalBlock block;
    bool ok = WriteAll(fd, data.data(), data.size());
    if (!ok)
        reason = ErrnoText("write");
    if (ok && ::fdatasync(fd) != 0) {
        ok = false;
        reason = ErrnoText("fdatasync");
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        reason = ErrnoText("close");
    }
    return ok;
}

}  // namespace

bool CAtomicFile::Write(const std::string& nativePath, const std::string& data, std::string& reason)
{
    Discard();
    const std::string target = SaveTarget(nativePath);
    if (!MayReplace(target, reason))
        return false;
    std::string temp;
    const int fd = CreateSaveTemp(target, temp, reason);
    if (fd < 0)
        return false;
    if (!WriteAndClose(fd, data, reason)) {
        ::unlink(temp.c_str());
        return false;
    }
    m_strTarget = target;
    m_strTemp = temp;
    return true;
}

bool CAtomicFile::Commit(std::string& reason)
{
    if (m_strTemp.empty()) {
        reason = "nothing written";
        return false;
    }
    if (::rename(m_strTemp.c_str(), m_strTarget.c_str()) != 0) {
        reason = ErrnoText("rename");
        Discard();
        return false;
    }
    // The folder is not flushed: after a crash the name shows either the old
    // or the new version, both complete, which is all a save promises.
    m_strTemp.clear();
    return true;
}

void CAtomicFile::Discard()
{
    if (!m_strTemp.empty())
        ::unlink(m_strTemp.c_str());
    m_strTemp.clear();
}

}  // namespace docfile
