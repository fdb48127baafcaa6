#include "core/settings/SettingsStore.h"

#include <cstdlib>

bool CMemorySettingsStore::ReadRaw(const std::string& name, std::string& value)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    auto it = m_Values.find(name);
    if (it == m_Values.end())
        return false;
    value = it->second;
    return true;
}

bool CMemorySettingsStore::WriteRaw(const std::string& name, const std::string& value)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Values[name] = value;
    return true;
}

bool CMemorySettingsStore::Has(const std::string& name) const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Values.count(name) != 0;
}

void CMemorySettingsStore::Remove(const std::string& name)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Values.erase(name);
}

int CSettingsKey::ReadValue(const std::string& name, std::string& out) const
{
    std::string value;
    if (!m_Store.ReadRaw(name, value))
        return 1;
    // A value of 200 bytes or more, terminator included, does not read.
    if (value.size() + 1 >= 200)
        return 2;
    std::string::size_type zero = value.find('\0');
    out = zero == std::string::npos ? value : value.substr(0, zero);
    return 0;
}

int CSettingsKey::WriteValue(const std::string& name, const std::string& text) const
{
    return m_Store.WriteRaw(name, text) ? 0 : 1;
}

std::string CSettingsKey::ReadString(const std::string& name) const
{
    std::string out;
    ReadValue(name, out);
    return out;
}

std::string CSettingsKey::ReadWithDefault(const std::string& name, const std::string& def, bool bWriteBack) const
{
    std::string out = ReadString(name);
    if (!out.empty())
        return out;
    if (bWriteBack)
        WriteValue(name, def);
    return def;
}

namespace settingsvalue {

long ToLong(const std::string& text)
{
    return std::strtol(text.c_str(), nullptr, 10);
}

std::string FromLong(long value)
{
    return std::to_string(value);
}

}  // namespace settingsvalue
