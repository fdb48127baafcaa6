// The settings store: one string value per name, shared by every part of the
// program and by every running instance. Texts are GBK.
//
// CSettingsStore is the medium (an INI file in the program, memory in
// tests); CSettingsKey is the one access path every consumer uses.
#pragma once

#include <map>
#include <mutex>
#include <string>

class CSettingsStore {
public:
    virtual ~CSettingsStore() = default;
    // False when the value does not exist or cannot be read.
    virtual bool ReadRaw(const std::string& name, std::string& value) = 0;
    // False when the value cannot be written.
    virtual bool WriteRaw(const std::string& name, const std::string& value) = 0;

    // Brackets the writes of one user action, which may nest: a store that
    // keeps its values in a file writes them there as one update when the
    // outermost bracket ends, so other instances see all of them (or none
    // yet). Reads inside the bracket see its writes.
    virtual void BeginBatch() {}
    virtual void EndBatch() {}
};

// A store in memory, for tests and tools that must not touch the user's
// settings.
class CMemorySettingsStore : public CSettingsStore {
public:
    bool ReadRaw(const std::string& name, std::string& value) override;
    bool WriteRaw(const std::string& name, const std::string& value) override;
    bool Has(const std::string& name) const;
    void Remove(const std::string& name);

private:
    mutable std::mutex m_Mutex;
    std::map<std::string, std::string> m_Values;
};

class CSettingsKey {
public:
    explicit CSettingsKey(CSettingsStore& store) : m_Store(store) {}

    // 0 on success. On failure (missing, unreadable, or 200 bytes or more
    // with its terminator) out is left exactly as it was.
    int ReadValue(const std::string& name, std::string& out) const;
    // 0 on success.
    int WriteValue(const std::string& name, const std::string& text) const;

    // The value, or the empty text when missing ("empty means missing").
    std::string ReadString(const std::string& name) const;
    // The value; when missing (or empty) the default, written back when
    // bWriteBack is set.
    std::string ReadWithDefault(const std::string& name, const std::string& def, bool bWriteBack) const;

    CSettingsStore& Store() const { return m_Store; }

private:
    CSettingsStore& m_Store;
};

namespace settingsvalue {
// The longest text a value can hold and still be read back (with its
// terminator it must stay below 200 bytes).
const std::size_t MAX_TEXT_BYTES = 198;
// atoi/atol rules: optional sign and leading digits; anything else gives 0.
long ToLong(const std::string& text);
std::string FromLong(long value);
}  // namespace settingsvalue
