// The settings store of the program: one INI file per user, read and written
// through QSettings. All values live in the section [Quantorix]; texts are
// GBK in the program and UTF-8 in the file.
//
// Nothing is kept open or cached between operations: each read and each
// write opens the file on its own, so two running instances that share the
// file see each other's last write at their next read.
#pragma once

#include "core/settings/SettingsStore.h"

#include <QString>

class CIniSettingsStore : public CSettingsStore {
public:
    // The file named by QUANTORIX_SETTINGS when that is set and not empty,
    // else Quantorix/Quantorix.ini in the user's configuration folder.
    static QString DefaultPath();

    explicit CIniSettingsStore(const QString& strPath = DefaultPath());

    // False when the file or the value does not exist or cannot be read.
    bool ReadRaw(const std::string& name, std::string& value) override;
    // False when the file cannot be written; the file is created (with its
    // folder) on the first write.
    bool WriteRaw(const std::string& name, const std::string& value) override;

    const QString& Path() const { return m_strPath; }

private:
    QString m_strPath;
};
