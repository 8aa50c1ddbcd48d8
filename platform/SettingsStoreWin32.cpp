// The settings store on Windows without Qt: the registry under
// HKEY_CURRENT_USER, keys and values where the window keeps them.
#include "SettingsStore.h"

#include "FileNames.h"

#include <windows.h>

#include <vector>

namespace vantor {

namespace {

// An open key, closed when it goes.
class Key {
public:
    // Texts are UTF-8 inside the program and UTF-16 in the registry, so that a
    // folder named in any language reads back as it was written.
    Key(const std::string& path, bool create)
    {
        const std::wstring wide = widened(path);
        if (create)
            m_ok = RegCreateKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                   &m_key, nullptr) == ERROR_SUCCESS;
        else
            m_ok = RegOpenKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, KEY_READ, &m_key) == ERROR_SUCCESS;
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

// Another root than the user's own (the tests give a folder) stands for a
// branch of its own under HKEY_CURRENT_USER, so that nothing touches the
// user's real settings.
std::string SettingsStore::registryPath(const std::string& keyPath) const
{
    if (m_root == defaultRoot())
        return keyPath;
    std::string branch = m_root;
    for (char& c : branch)
        if (c == '\\' || c == '/' || c == ':')
            c = '_';
    return "Software\\VantorPC stores\\" + branch + "\\" + keyPath;
}

SettingsStore::Place SettingsStore::placeOf(const std::string& keyPath) const
{
    return {"HKEY_CURRENT_USER\\" + registryPath(keyPath), std::string()};
}

std::string SettingsStore::location(const std::string& keyPath) const { return placeOf(keyPath).file; }

bool SettingsStore::keyExists(const std::string& keyPath) const
{
    return static_cast<bool>(Key(registryPath(keyPath), false));
}

bool SettingsStore::createKey(const std::string& keyPath) { return static_cast<bool>(Key(registryPath(keyPath), true)); }

std::string SettingsStore::readText(const std::string& keyPath, const std::string& name,
                                    const std::string& fallback) const
{
    const Key key(registryPath(keyPath), false);
    const std::wstring wideName = widened(name);
    DWORD type = 0, size = 0;
    if (!key || RegQueryValueExW(key.handle(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return fallback;
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key.handle(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                         &size) != ERROR_SUCCESS)
        return fallback;
    return narrowed(std::wstring(text.data()));
}

int32_t SettingsStore::readNumber(const std::string& keyPath, const std::string& name, int32_t fallback) const
{
    const Key key(registryPath(keyPath), false);
    DWORD type = 0, value = 0, size = sizeof value;
    if (!key || RegQueryValueExW(key.handle(), widened(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                    ERROR_SUCCESS ||
        type != REG_DWORD)
        return fallback;
    return static_cast<int32_t>(value);
}

void SettingsStore::writeText(const std::string& keyPath, const std::string& name, const std::string& text)
{
    const Key key(registryPath(keyPath), true);
    const std::wstring wide = widened(text);
    if (key)
        RegSetValueExW(key.handle(), widened(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                       static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

void SettingsStore::writeNumber(const std::string& keyPath, const std::string& name, int32_t value)
{
    const Key key(registryPath(keyPath), true);
    const DWORD stored = static_cast<DWORD>(value);
    if (key)
        RegSetValueExW(key.handle(), widened(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored), sizeof stored);
}

}  // namespace vantor
