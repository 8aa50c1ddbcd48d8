// The per-user store the settings live in, as the core sees it: keys named by
// paths ("Software\VantorPC\Probe"), each holding named texts and numbers.
#pragma once

#include <cstdint>
#include <string>

namespace vantor {

class KeyValueStore {
public:
    virtual ~KeyValueStore() = default;
    // True when the key exists and can be written.
    virtual bool keyExists(const std::string& keyPath) const = 0;
    // Reading falls back to the default on any failure; writing creates the key.
    virtual std::string readText(const std::string& keyPath, const std::string& name,
                                 const std::string& fallback) const = 0;
    virtual int32_t readNumber(const std::string& keyPath, const std::string& name, int32_t fallback) const = 0;
    virtual void writeText(const std::string& keyPath, const std::string& name, const std::string& text) = 0;
    virtual void writeNumber(const std::string& keyPath, const std::string& name, int32_t value) = 0;
};

}  // namespace vantor
