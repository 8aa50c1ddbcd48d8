#include "JsonLine.h"

#include "Console.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace vantor::ctl {

namespace {

// The length of the UTF-8 sequence at the start of text, 0 when it is none
// (a stray byte, a truncated or over-long sequence, a surrogate).
size_t utf8Sequence(std::string_view text)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    const size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || length > text.size())
        return 0;
    for (size_t i = 1; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) >= 0xA0) || (lead == 0xF0 && byte(1) < 0x90) ||
        (lead == 0xF4 && byte(1) >= 0x90))
        return 0;
    return length;
}

}  // namespace

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (size_t at = 0; at < text.size();) {
        const char c = text[at];
        const auto byte = static_cast<unsigned char>(c);
        const size_t length = utf8Sequence(text.substr(at));
        if (length == 0) {
            out += "\xEF\xBF\xBD";  // a byte no UTF-8 reader takes: the replacement character
            ++at;
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out.append(text.substr(at, length));
        }
        at += length;
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

void JsonLine::print() const { writeOut(str() + "\n"); }

std::string isoNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{}, utc{};
#ifdef _WIN32
    localtime_s(&local, &now);
    gmtime_s(&utc, &now);
#else
    localtime_r(&now, &local);
    gmtime_r(&now, &utc);
#endif
    // The offset from UTC, computed rather than taken from strftime's %z,
    // which some C libraries write as the zone's name.
    utc.tm_isdst = local.tm_isdst;
    std::tm localCopy = local;
    const long offset = std::lround(std::difftime(std::mktime(&localCopy), std::mktime(&utc)));
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, offset < 0 ? '-' : '+',
                  std::labs(offset) / 3600, std::labs(offset) / 60 % 60);
    return text;
}

}  // namespace vantor::ctl
