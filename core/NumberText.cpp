#include "NumberText.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace vantor {

std::string formatDouble(const char* format, double value)
{
    char out[128];
    // The format comes from a binding table, never from outside.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::snprintf(out, sizeof out, format, value);
#pragma GCC diagnostic pop
    std::string text(out);
    // The user interface's locale may have set another decimal separator.
    const char* point = std::localeconv()->decimal_point;
    if (point && *point && std::strcmp(point, ".") != 0) {
        const size_t at = text.find(point);
        if (at != std::string::npos)
            text.replace(at, std::strlen(point), ".");
    }
    return text;
}

double parseNumber(const std::string& text)
{
    // atof itself, in the C locale whatever the user interface's locale says.
#ifdef _WIN32
    static const _locale_t kCLocale = _create_locale(LC_NUMERIC, "C");
    return _strtod_l(text.c_str(), nullptr, kCLocale);
#else
    static const locale_t kCLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(text.c_str(), nullptr, kCLocale);
#endif
}

std::optional<double> parseTypedNumber(const std::string& text, const std::string& decimalSeparator)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    size_t at = 0, end = text.size();
    while (at < end && blank(text[at]))
        ++at;
    while (end > at && blank(text[end - 1]))
        --end;
    const auto digit = [&](size_t i) { return i < end && text[i] >= '0' && text[i] <= '9'; };
    std::string plain;
    if (at < end && (text[at] == '+' || text[at] == '-'))
        plain += text[at++];
    int digits = 0;
    bool separated = false;
    while (at < end) {
        if (digit(at)) {
            plain += text[at++];
            ++digits;
        } else if (separated) {
            break;
        } else if (text[at] == '.') {
            plain += '.';
            ++at;
            separated = true;
        } else if (!decimalSeparator.empty() && text.compare(at, decimalSeparator.size(), decimalSeparator) == 0) {
            plain += '.';
            at += decimalSeparator.size();
            separated = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (at < end && (text[at] == 'e' || text[at] == 'E')) {
        plain += text[at++];
        if (at < end && (text[at] == '+' || text[at] == '-'))
            plain += text[at++];
        if (!digit(at))
            return std::nullopt;
        while (digit(at))
            plain += text[at++];
    }
    if (at != end)
        return std::nullopt;
    return parseNumber(plain);
}

float toFloat(double value)
{
    // Beyond what a float holds the conversion is undefined: go to the infinities,
    // which the limits then clamp.
    if (value > std::numeric_limits<float>::max())
        return std::numeric_limits<float>::infinity();
    if (value < -std::numeric_limits<float>::max())
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

double autoDecimals(float value, int& decimalsCount)
{
    const double v = static_cast<double>(value);
    const double a = std::fabs(v);
    double result;
    if (a < 9.999) {
        decimalsCount = 3;
        result = a;
    } else if (a < 99.99) {
        decimalsCount = 2;
        result = a;
    } else if (a < 999.9) {
        decimalsCount = 1;
        result = a;
    } else {
        decimalsCount = 0;
        if (a <= 9999)
            result = a;
        else if (a < 99995)
            result = std::floor((a + 5) * 0.1) * 10;
        else if (a < 999950)
            result = std::floor((a + 50) * 0.01) * 100;
        else
            result = 999999;
    }
    return v < 0 ? -result : result;
}

std::string formatBoundNumber(const char* format, float value, int& decimalsCount)
{
    if (format && *format)
        return formatDouble(format, static_cast<double>(value));
    const double rounded = autoDecimals(value, decimalsCount);
    const std::string automatic = "%." + std::to_string(decimalsCount) + "f";
    return formatDouble(automatic.c_str(), rounded);
}

}  // namespace vantor
