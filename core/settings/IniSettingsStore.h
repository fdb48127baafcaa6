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

#include <map>
#include <mutex>

class CIniSettingsStore : public CSettingsStore {
public:
    // The file named by QUANTORIX_SETTINGS when that is set and not empty,
    // else Quantorix/Quantorix.ini in the user's configuration folder.
    static QString DefaultPath();

    explicit CIniSettingsStore(const QString& strPath = DefaultPath());

    // False when the file or the value does not exist or cannot be read.
    bool ReadRaw(const std::string& name, std::string& value) override;
    // False when the file cannot be written; the file is created (with its
    // folder) on the first write. Inside a batch the value is kept until the
    // batch ends (false only when the file is not usable at all).
    bool WriteRaw(const std::string& name, const std::string& value) override;

    // The writes of a batch go to the file together: one lock, one atomic
    // replacement of the file.
    void BeginBatch() override;
    void EndBatch() override;

    const QString& Path() const { return m_strPath; }
    // Times the file has been written since this store was made.
    int FileWrites() const { return m_nFileWrites; }

private:
    bool WriteValues(const std::map<std::string, std::string>& values);

    QString m_strPath;
    std::mutex m_Mutex;
    int m_nBatchDepth = 0;
    std::map<std::string, std::string> m_Pending;
    int m_nFileWrites = 0;
};
