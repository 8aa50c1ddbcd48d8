#include "UserLocale.h"

#include <QLocale>

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

}  // namespace vantor
