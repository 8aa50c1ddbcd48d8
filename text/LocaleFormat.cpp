#include "LocaleFormat.h"

#include <cstdio>

namespace vantor {

std::string formatLocaleDate(const LocaleItems& items, int day, int month, int year)
{
    const char* sep = items.dateSeparator.c_str();
    char out[160];
    if (items.dateOrder == 0)
        std::snprintf(out, sizeof out, "%02d%s%02d%s%4d", month, sep, day, sep, year);
    else if (items.dateOrder == 2)
        std::snprintf(out, sizeof out, "%4d%s%02d%s%02d", year, sep, month, sep, day);
    else
        std::snprintf(out, sizeof out, "%02d%s%02d%s%4d", day, sep, month, sep, year);
    return out;
}

std::string formatLocaleTime(const LocaleItems& items, int hour, int minute, int second)
{
    const char* sep = items.timeSeparator.c_str();
    char out[160];
    if (items.timeFormat != 0) {
        std::snprintf(out, sizeof out, "%02d%s%02d%s%02d", hour, sep, minute, sep, second);
        return out;
    }
    const std::string& designator = hour > 11 ? items.afternoon : items.morning;
    int shown = hour > 11 ? hour - 12 : hour;
    if (shown == 0)
        shown = 12;
    std::snprintf(out, sizeof out, "%02d%s%02d%s%02d %s", shown, sep, minute, sep, second, designator.c_str());
    return out;
}

}  // namespace vantor
