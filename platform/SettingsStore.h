// The per-user settings store, standing for the registry: keys named by paths
// such as "Software\VantorPC\Probe", each holding named text and number values.
// On Linux each top key ("Software\VantorPC") is an INI file under the user's
// configuration folder and its subkeys are groups of that file; on Windows it is
// the registry itself.
#pragma once

#include "KeyValueStore.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace vantor {

class IniFile;

class SettingsStore : public KeyValueStore {
public:
    // root: the folder the key files live in; the user's configuration folder by default.
    explicit SettingsStore(std::string root = defaultRoot());
    ~SettingsStore() override;

    static std::string defaultRoot();

    // True when the key exists and can be written.
    bool keyExists(const std::string& keyPath) const override;
    // Creates the key if it is missing; false when it cannot be created.
    bool createKey(const std::string& keyPath);

    // Reading falls back to the default on any failure; writing creates the key.
    std::string readText(const std::string& keyPath, const std::string& name, const std::string& fallback) const override;
    int32_t readNumber(const std::string& keyPath, const std::string& name, int32_t fallback) const override;
    void writeText(const std::string& keyPath, const std::string& name, const std::string& text) override;
    void writeNumber(const std::string& keyPath, const std::string& name, int32_t value) override;

    // Where the key's values are kept (a file on Linux).
    std::string location(const std::string& keyPath) const;

private:
    struct Place {
        std::string file;
        std::string group;
    };
    Place placeOf(const std::string& keyPath) const;
#ifdef _WIN32
    // The key's path under HKEY_CURRENT_USER.
    std::string registryPath(const std::string& keyPath) const;
#endif

    // Linux: the key files as last parsed, each kept while the file stays the same.
    struct ParsedFile;
    const IniFile* parsed(const std::string& file) const;
    std::optional<std::string> value(const std::string& keyPath, const std::string& name) const;
    void writeValue(const std::string& keyPath, const std::string& name, const std::string& text);

    std::string m_root;
    mutable std::map<std::string, std::unique_ptr<ParsedFile>> m_files;
};

}  // namespace vantor
