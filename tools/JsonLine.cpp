#include "JsonLine.h"

#include "Console.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <utility>

namespace vantor::ctl {

namespace {

// nlohmann writes a whole double as 2.0 where the float's text is 2: below
// 1e15, where it would write all its digits, a whole number is given to it as
// an integer (and -0 is 0). From 1e15 on it writes an exponent, as the
// float's text does.
Json jsonNumber(double value)
{
    if (!std::isfinite(value))
        return nullptr;
    if (std::trunc(value) == value && std::fabs(value) < 1e15)
        return static_cast<int64_t>(value);
    return value;
}

}  // namespace

JsonLine& JsonLine::set(std::string_view name, Json value)
{
    m_object[std::string(name)] = std::move(value);
    return *this;
}

JsonLine& JsonLine::text(std::string_view name, std::string_view value) { return set(name, std::string(value)); }

JsonLine& JsonLine::number(std::string_view name, double value)
{
    // The instrument's values are floats: one that came from a float gets the
    // float's shortest text (26.1, not 26.100000381469727).
    if (std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max() &&
        static_cast<double>(static_cast<float>(value)) == value)
        return number(name, static_cast<float>(value));
    return set(name, jsonNumber(value));
}

JsonLine& JsonLine::number(std::string_view name, float value)
{
    if (!std::isfinite(value))
        return set(name, nullptr);
    // nlohmann prints a double in the fewest digits it finds that read back
    // as that double: the double read from the float's shortest text prints
    // as that text, but for about one float in a thousand, which Grisu2 (its
    // method) writes in 17 digits that read back as the same float.
    char text[32];
    const char* end = std::to_chars(text, text + sizeof text, value).ptr;
    double shortest = value;
    std::from_chars(text, end, shortest);
    return set(name, jsonNumber(shortest));
}

JsonLine& JsonLine::integer(std::string_view name, int64_t value) { return set(name, value); }

JsonLine& JsonLine::boolean(std::string_view name, bool value) { return set(name, value); }

// Compact, non-ASCII as UTF-8, and a byte no UTF-8 reader takes (a Latin-1
// file name on Linux) as the replacement character.
std::string JsonLine::str() const { return m_object.dump(-1, ' ', false, Json::error_handler_t::replace); }

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
