#include "core/document/FileOps.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "core/engine/GbkText.h"
#include "core/text/TextCodec.h"

namespace docfile {

namespace {

// Larger files cannot be sheets; they are not read into memory.
const long long MAX_FILE_BYTES = 1LL << 30;

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

std::string NativePath(const std::string& gbkPath)
{
    return textcodec::GbkToUtf8(gbkPath);
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
    const int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
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
    if (::link(fromNative.c_str(), temp.c_str()) == 0) {
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

bool CAtomicFile::Write(const std::string& nativePath, const std::string& data, std::string& reason)
{
    Discard();
    // A link is followed, so that the file it points to gets the new version.
    std::string target = nativePath;
    struct stat lst {};
    if (::lstat(nativePath.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        if (char* real = ::realpath(nativePath.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    const std::size_t nameStart = NameStart(target);
    const std::string folder = target.substr(0, nameStart);
    // A short name, so that a long file name still leaves room for it.
    const std::string stem = folder + ".qtx-save-" + std::to_string(::getpid()) + "-";

    int fd = -1;
    std::string temp;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = stem + std::to_string(attempt) + ".tmp";
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            reason = ErrnoText("create");
            return false;
        }
    }
    if (fd < 0) {
        reason = "create: no free temporary name";
        return false;
    }
    // The new version keeps the permissions of the old one.
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0)
        ::fchmod(fd, st.st_mode & 07777);

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
    if (!ok) {
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
