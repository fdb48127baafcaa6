#include "core/settings/IniSettingsStore.h"

#include "core/text/TextCodec.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const char SECTION[] = "Quantorix";

QString ToQString(const std::string& gbk)
{
    std::string utf8 = textcodec::GbkToUtf8(gbk);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToGbk(const QString& text)
{
    QByteArray utf8 = text.toUtf8();
    return textcodec::Utf8ToGbk(std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString KeyOf(const std::string& name)
{
    return QString::fromLatin1(SECTION) + QLatin1Char('/') + ToQString(name);
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
    QFileInfo before(m_strPath);
    const bool bExisted = before.exists();
    const QDateTime tBefore = bExisted ? before.lastModified() : QDateTime();
    {
        QSettings settings(m_strPath, QSettings::IniFormat);
        if (settings.status() != QSettings::NoError)
            return false;
        settings.setValue(KeyOf(name), ToQString(value));
        settings.sync();
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
