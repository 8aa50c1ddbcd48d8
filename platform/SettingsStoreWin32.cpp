// The settings store on Windows without Qt: the registry under
// HKEY_CURRENT_USER, keys and values where the window keeps them.
#include "SettingsStore.h"

#include <windows.h>

#include <vector>

namespace vantor {

namespace {

// An open key, closed when it goes.
class Key {
public:
    Key(const std::string& path, bool create)
    {
        if (create)
            m_ok = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                   &m_key, nullptr) == ERROR_SUCCESS;
        else
            m_ok = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &m_key) == ERROR_SUCCESS;
    }
    ~Key()
    {
        if (m_ok)
            RegCloseKey(m_key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    explicit operator bool() const { return m_ok; }
    HKEY handle() const { return m_key; }

private:
    HKEY m_key = nullptr;
    bool m_ok = false;
};

}  // namespace

struct SettingsStore::ParsedFile {};

SettingsStore::SettingsStore(std::string root) : m_root(std::move(root)) {}

SettingsStore::~SettingsStore() = default;

std::string SettingsStore::defaultRoot() { return "HKEY_CURRENT_USER"; }

SettingsStore::Place SettingsStore::placeOf(const std::string& keyPath) const
{
    return {"HKEY_CURRENT_USER\\" + keyPath, std::string()};
}

std::string SettingsStore::location(const std::string& keyPath) const { return placeOf(keyPath).file; }

bool SettingsStore::keyExists(const std::string& keyPath) const { return static_cast<bool>(Key(keyPath, false)); }

bool SettingsStore::createKey(const std::string& keyPath) { return static_cast<bool>(Key(keyPath, true)); }

std::string SettingsStore::readText(const std::string& keyPath, const std::string& name,
                                    const std::string& fallback) const
{
    const Key key(keyPath, false);
    DWORD type = 0, size = 0;
    if (!key || RegQueryValueExA(key.handle(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return fallback;
    std::vector<char> text(size + 1, '\0');
    if (RegQueryValueExA(key.handle(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
        ERROR_SUCCESS)
        return fallback;
    return std::string(text.data());
}

int32_t SettingsStore::readNumber(const std::string& keyPath, const std::string& name, int32_t fallback) const
{
    const Key key(keyPath, false);
    DWORD type = 0, value = 0, size = sizeof value;
    if (!key || RegQueryValueExA(key.handle(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                    ERROR_SUCCESS ||
        type != REG_DWORD)
        return fallback;
    return static_cast<int32_t>(value);
}

void SettingsStore::writeText(const std::string& keyPath, const std::string& name, const std::string& text)
{
    const Key key(keyPath, true);
    if (key)
        RegSetValueExA(key.handle(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
}

void SettingsStore::writeNumber(const std::string& keyPath, const std::string& name, int32_t value)
{
    const Key key(keyPath, true);
    const DWORD stored = static_cast<DWORD>(value);
    if (key)
        RegSetValueExA(key.handle(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored), sizeof stored);
}

}  // namespace vantor
