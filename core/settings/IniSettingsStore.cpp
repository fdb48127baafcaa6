#include "core/settings/IniSettingsStore.h"

#include "core/text/TextCodec.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <sys/stat.h>
#include <thread>

namespace {

const char SECTION[] = "Quantorix";

QString ToQString(const std::string& gbk)
{
    const CUtf8Text utf8 = textcodec::GbkToUtf8(gbk);
    return QString::fromUtf8(utf8.Bytes().data(), static_cast<qsizetype>(utf8.Bytes().size()));
}

std::string ToGbk(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return textcodec::Utf8ToGbk(CUtf8Text(std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()))));
}

QString KeyOf(const std::string& name)
{
    return QString::fromLatin1(SECTION) + QLatin1Char('/') + ToQString(name);
}

// Only a regular file (or none yet) is a settings file: opening a named pipe
// or a device would block or read garbage.
bool IsUsablePath(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT;
    return S_ISREG(st.st_mode);
}

QByteArray LockContents(const QString& lockPath)
{
    QFile file(lockPath);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("?");  // unreadable: not ours to judge
    return file.read(1024);
}

// QSettings guards a write with "<file>.lock", which holds the writer's
// process id, program name and host name, one a line. A program killed
// while writing can leave it behind, empty or naming a process that is gone,
// and QSettings would then wait about 30 s for it to age on every start.
// Such a lock belongs to nobody and is removed at once.
void TakeOverStaleLock(const QString& path)
{
    const QString lockPath = path + QStringLiteral(".lock");
    if (!QFileInfo::exists(lockPath))
        return;
    QByteArray contents = LockContents(lockPath);
    if (contents.isEmpty()) {
        // The owner may be between creating the lock and writing its id.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        contents = LockContents(lockPath);
    }
    if (!contents.isEmpty()) {
        const QList<QByteArray> lines = contents.split('\n');
        bool bNumber = false;
        const long long pid = lines[0].trimmed().toLongLong(&bNumber);
        const QByteArray host = lines.size() > 2 ? lines[2].trimmed() : QByteArray();
        // A lock of another machine (a shared folder) cannot be judged here.
        if (!host.isEmpty() && host != QSysInfo::machineHostName().toUtf8())
            return;
        if (bNumber && pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH))
            return;
    }
    QFile::remove(lockPath);
}

}  // namespace

QString CIniSettingsStore::DefaultPath()
{
    QString strEnv = qEnvironmentVariable("QUANTORIX_SETTINGS");
    if (!strEnv.isEmpty())
        return strEnv;
    QString strDir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(strDir).filePath(QStringLiteral("Quantorix/Quantorix.ini"));
}

CIniSettingsStore::CIniSettingsStore(const QString& strPath) : m_strPath(strPath) {}

bool CIniSettingsStore::ReadRaw(const std::string& name, std::string& value)
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        auto it = m_Pending.find(name);
        if (it != m_Pending.end()) {
            value = it->second;
            return true;
        }
    }
    if (!IsUsablePath(m_strPath))
        return false;
    // A fresh QSettings per operation re-reads the file when another
    // instance has changed it.
    QSettings settings(m_strPath, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return false;
    QVariant var = settings.value(KeyOf(name));
    if (!var.isValid())
        return false;
    // A hand-edited value with unquoted commas comes back as a list.
    if (var.typeId() == QMetaType::QStringList)
        value = ToGbk(var.toStringList().join(QStringLiteral(", ")));
    else
        value = ToGbk(var.toString());
    return true;
}

bool CIniSettingsStore::WriteRaw(const std::string& name, const std::string& value)
{
    if (!IsUsablePath(m_strPath))
        return false;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_nBatchDepth > 0) {
            m_Pending[name] = value;
            return true;
        }
    }
    return WriteValues({{name, value}});
}

void CIniSettingsStore::BeginBatch()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    ++m_nBatchDepth;
}

void CIniSettingsStore::EndBatch()
{
    std::map<std::string, std::string> values;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_nBatchDepth == 0 || --m_nBatchDepth > 0)
            return;
        values.swap(m_Pending);
    }
    if (!values.empty() && IsUsablePath(m_strPath))
        WriteValues(values);
}

bool CIniSettingsStore::WriteValues(const std::map<std::string, std::string>& values)
{
    TakeOverStaleLock(m_strPath);
    QFileInfo before(m_strPath);
    const bool bExisted = before.exists();
    const QDateTime tBefore = bExisted ? before.lastModified() : QDateTime();
    {
        QSettings settings(m_strPath, QSettings::IniFormat);
        if (settings.status() != QSettings::NoError)
            return false;
        for (const auto& value : values)
            settings.setValue(KeyOf(value.first), ToQString(value.second));
        settings.sync();
        ++m_nFileWrites;
        if (settings.status() != QSettings::NoError)
            return false;
    }
    // QSettings keeps the contents of a file it has read and reads it again
    // only when the file's size or modification time has changed. Two quick
    // writes of the same size can share one clock tick of the file system,
    // and another instance would then keep reading (and write back) the
    // older contents. So every write moves the modification time forward.
    if (bExisted) {
        QFileInfo after(m_strPath);
        if (after.lastModified() <= tBefore) {
            QFile file(m_strPath);
            if (file.open(QIODevice::ReadWrite))
                file.setFileTime(tBefore.addMSecs(1), QFileDevice::FileModificationTime);
        }
    }
    return true;
}
