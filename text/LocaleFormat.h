// Dates and times as the user's regional settings write them.
#pragma once

#include <string>

namespace vantor {

struct LocaleItems {
    std::string dateSeparator = "/";
    int dateOrder = 1;  // 0 month-day-year, 1 day-month-year, 2 year-month-day
    std::string timeSeparator = ":";
    int timeFormat = 1;  // 0 twelve-hour clock, anything else 24-hour clock
    std::string morning = "AM";
    std::string afternoon = "PM";
    std::string decimalSeparator = ".";
};

std::string formatLocaleDate(const LocaleItems& items, int day, int month, int year);
std::string formatLocaleTime(const LocaleItems& items, int hour, int minute, int second);

}  // namespace vantor
