// GBK texts of the core to and from QString, through the one codec of the
// program. A character GBK cannot hold becomes "?".
#pragma once

#include "core/text/TextCodec.h"

#include <QFile>
#include <QString>
#include <string>

inline QString GbkToQ(const std::string& gbk)
{
    return QString::fromStdString(textcodec::GbkToUtf8(gbk).Bytes());
}

inline std::string QToGbk(const QString& text, bool* pReplaced = nullptr)
{
    return textcodec::Utf8ToGbk(CUtf8Text(text.toStdString()), pReplaced);
}

// File paths stay in the system's own encoding; only Qt's side is UTF-16.
inline QString NativePathToQ(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
inline std::string QToNativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The status bar text shown when a character had to be replaced.
inline QString ReplacedCharsNotice()
{
    return QStringLiteral("有字符无法用GBK保存，已替换为“?”");
}
