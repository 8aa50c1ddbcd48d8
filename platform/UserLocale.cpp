// The user's regional settings on Linux: the C library's locale that the
// environment names (LC_ALL, LC_NUMERIC or LC_TIME, LANG), read without
// changing the process's own locale, which stays "C" for the files.
#include "UserLocale.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace vantor {

namespace {

// The locale the environment names for a category, as the C library resolves it.
std::string localeName(const char* category)
{
    for (const char* variable : {"LC_ALL", category, "LANG"}) {
        const char* name = std::getenv(variable);
        if (name != nullptr && *name != '\0')
            return name;
    }
    return "C";
}

bool isPosixLocale(const std::string& name)
{
    return name == "C" || name == "POSIX" || name.starts_with("C.");
}

// "%D", "%T", "%r"... spelled out into the fields they stand for.
std::string expanded(const std::string& format, const std::string& twelveHour)
{
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        switch (const char field = format[++i]) {
        case 'D': out += "%m/%d/%y"; break;
        case 'F': out += "%Y-%m-%d"; break;
        case 'T': out += "%H:%M:%S"; break;
        case 'R': out += "%H:%M"; break;
        case 'r': out += expanded(twelveHour.empty() ? "%I:%M:%S %p" : twelveHour, "%I:%M:%S %p"); break;
        default:
            out += '%';
            out += field;
        }
    }
    return out;
}

// Past the field that starts at format[i]: "%d", "%-d", "%Ey"...
size_t fieldEnd(const std::string& format, size_t i)
{
    size_t j = i + 1;
    while (j < format.size() && std::string_view("-_0^#EO").find(format[j]) != std::string_view::npos)
        ++j;
    return std::min(j + 1, format.size());
}

// Where one of the fields first appears in a format, or npos.
size_t fieldAt(const std::string& format, std::string_view fields)
{
    for (size_t i = format.find('%'); i != std::string::npos; i = format.find('%', fieldEnd(format, i))) {
        const size_t end = fieldEnd(format, i);
        if (end > i + 1 && fields.find(format[end - 1]) != std::string_view::npos)
            return i;
    }
    return std::string::npos;
}

// The text between a format's first two fields: its separator.
std::string separatorIn(const std::string& format, const std::string& fallback)
{
    const size_t first = format.find('%');
    if (first == std::string::npos)
        return fallback;
    const size_t from = fieldEnd(format, first);
    const size_t to = format.find('%', from);
    const std::string separator = format.substr(from, to == std::string::npos ? std::string::npos : to - from);
    return separator.empty() ? fallback : separator;
}

}  // namespace

LocaleItems localeItemsOf(const char* numericLocale, const char* timeLocale)
{
    LocaleItems items;
    // The C locales write a point, as items has it. Asking newlocale() for them
    // is not free: the measurement asks once a second, and the C library looks
    // for "C.UTF-8" in its locale archive each time before finding it elsewhere.
    const locale_t numeric = isPosixLocale(numericLocale)
                                 ? static_cast<locale_t>(nullptr)
                                 : newlocale(LC_NUMERIC_MASK, numericLocale, static_cast<locale_t>(nullptr));
    if (numeric != static_cast<locale_t>(nullptr)) {
        const std::string point = nl_langinfo_l(RADIXCHAR, numeric);
        if (!point.empty())
            items.decimalSeparator = point;
        freelocale(numeric);
    }
    // The POSIX locale spells no regional choice: day/month/year with "/" and a
    // 24-hour clock, as a fresh Windows installation would have.
    if (isPosixLocale(timeLocale))
        return items;
    const locale_t time = newlocale(LC_TIME_MASK, timeLocale, static_cast<locale_t>(nullptr));
    if (time == static_cast<locale_t>(nullptr))
        return items;
    const std::string twelveHour = nl_langinfo_l(T_FMT_AMPM, time);
    const std::string date = expanded(nl_langinfo_l(D_FMT, time), twelveHour);
    const std::string clock = expanded(nl_langinfo_l(T_FMT, time), twelveHour);
    const std::string morning = nl_langinfo_l(AM_STR, time);
    const std::string afternoon = nl_langinfo_l(PM_STR, time);
    freelocale(time);

    const size_t day = fieldAt(date, "de"), month = fieldAt(date, "mbB"), year = fieldAt(date, "yYCG");
    if (year < month && year < day)
        items.dateOrder = 2;
    else if (month < day)
        items.dateOrder = 0;
    else
        items.dateOrder = 1;
    items.dateSeparator = separatorIn(date, items.dateSeparator);
    items.timeSeparator = separatorIn(clock, items.timeSeparator);
    items.timeFormat = fieldAt(clock, "Il") != std::string::npos ? 0 : 1;
    if (!morning.empty())
        items.morning = morning;
    if (!afternoon.empty())
        items.afternoon = afternoon;
    return items;
}

LocaleItems userLocaleItems()
{
    return localeItemsOf(localeName("LC_NUMERIC").c_str(), localeName("LC_TIME").c_str());
}

}  // namespace vantor
