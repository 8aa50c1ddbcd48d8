#include "JsonLine.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace vantor::ctl {

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

JsonLine& JsonLine::key(std::string_view name)
{
    if (!m_body.empty())
        m_body += ',';
    m_body += jsonString(name);
    m_body += ':';
    return *this;
}

JsonLine& JsonLine::text(std::string_view name, std::string_view value)
{
    key(name).m_body += jsonString(value);
    return *this;
}

JsonLine& JsonLine::number(std::string_view name, double value)
{
    key(name);
    if (!std::isfinite(value)) {
        m_body += "null";
        return *this;
    }
    // The instrument's values are floats: one that came from a float gets the
    // float's shortest text (26.1, not 26.100000381469727).
    const auto single = static_cast<float>(value);
    char out[32];
    m_body.append(out, static_cast<double>(single) == value ? std::to_chars(out, out + sizeof out, single).ptr
                                                             : std::to_chars(out, out + sizeof out, value).ptr);
    return *this;
}

JsonLine& JsonLine::number(std::string_view name, float value)
{
    key(name);
    if (!std::isfinite(value)) {
        m_body += "null";
        return *this;
    }
    char out[32];
    m_body.append(out, std::to_chars(out, out + sizeof out, value).ptr);
    return *this;
}

JsonLine& JsonLine::integer(std::string_view name, int64_t value)
{
    key(name).m_body += std::to_string(value);
    return *this;
}

JsonLine& JsonLine::boolean(std::string_view name, bool value)
{
    key(name).m_body += value ? "true" : "false";
    return *this;
}

JsonLine& JsonLine::raw(std::string_view name, std::string_view json)
{
    key(name).m_body += json;
    return *this;
}

void JsonLine::print() const
{
    std::printf("%s\n", str().c_str());
    std::fflush(stdout);
}

std::string isoNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    // +0100 as +01:00, the form of ISO 8601 that every reader takes.
    std::string iso = text;
    if (iso.size() > 2)
        iso.insert(iso.size() - 2, ":");
    return iso;
}

}  // namespace vantor::ctl
