// The user's regional settings on Windows without Qt: the items of the
// user's default locale, as the control panel sets them.
#include "UserLocale.h"

#include <windows.h>

namespace vantor {

namespace {

std::string localeText(LCTYPE item, const std::string& fallback)
{
    char text[80];
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, item, text, sizeof text);
    return length > 1 ? std::string(text, static_cast<size_t>(length - 1)) : fallback;
}

int localeNumber(LCTYPE item, int fallback)
{
    const std::string text = localeText(item, "");
    return text.empty() || text[0] < '0' || text[0] > '9' ? fallback : text[0] - '0';
}

}  // namespace

LocaleItems userLocaleItems()
{
    LocaleItems items;
    items.dateSeparator = localeText(LOCALE_SDATE, items.dateSeparator);
    items.dateOrder = localeNumber(LOCALE_IDATE, items.dateOrder);
    items.timeSeparator = localeText(LOCALE_STIME, items.timeSeparator);
    items.timeFormat = localeNumber(LOCALE_ITIME, items.timeFormat);
    items.morning = localeText(LOCALE_S1159, items.morning);
    items.afternoon = localeText(LOCALE_S2359, items.afternoon);
    items.decimalSeparator = localeText(LOCALE_SDECIMAL, items.decimalSeparator);
    return items;
}

}  // namespace vantor
