#include "LocaleFormat.h"

#include <QLocale>

#include <cstdio>

namespace vantor {

namespace {

// The first run of non-letters between two fields of a short format: its separator.
std::string separatorIn(const QString& format, const QString& fields, const std::string& fallback)
{
    int i = 0;
    while (i < format.size() && !fields.contains(format[i]))
        ++i;
    while (i < format.size() && fields.contains(format[i]))
        ++i;
    QString separator;
    while (i < format.size() && !fields.contains(format[i]) && !format[i].isLetter())
        separator += format[i++];
    return separator.isEmpty() ? fallback : separator.toStdString();
}

}  // namespace

LocaleItems localeItemsOf(const QLocale& locale)
{
    LocaleItems items;
    items.decimalSeparator = QString(locale.decimalPoint()).toStdString();
    const QString date = locale.dateFormat(QLocale::ShortFormat);
    const QString time = locale.timeFormat(QLocale::ShortFormat);
    // A short date that spells the month (the C locale's "d MMM yyyy") has no
    // numeric separator to take: day/month/year with "/", and a 24-hour clock.
    if (locale.language() == QLocale::C || date.contains(QStringLiteral("MMM")))
        return items;
    const qsizetype day = date.indexOf('d'), month = date.indexOf('M'), year = date.indexOf('y');
    if (year >= 0 && year < month && year < day)
        items.dateOrder = 2;
    else if (month >= 0 && month < day)
        items.dateOrder = 0;
    else
        items.dateOrder = 1;
    items.dateSeparator = separatorIn(date, QStringLiteral("dMy"), "/");
    items.timeSeparator = separatorIn(time, QStringLiteral("hHm"), ":");
    items.timeFormat = time.contains('a', Qt::CaseInsensitive) ? 0 : 1;
    items.morning = locale.amText().toStdString();
    items.afternoon = locale.pmText().toStdString();
    return items;
}

LocaleItems userLocaleItems() { return localeItemsOf(QLocale::system()); }

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
