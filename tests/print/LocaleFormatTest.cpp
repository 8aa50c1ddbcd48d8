// Dates and times as the user's locale writes them, on printed pages and in reports.
#include "UserLocale.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(LocaleFormat, DateOrdersAndClocks)
{
    const struct {
        int dateOrder;
        const char* dateSeparator;
        int timeFormat;
        const char* timeSeparator;
        int hour;
        const char* shown;
    } rows[] = {
        {1, ".", 1, ":", 15, "06.12.2026 15:07:09"},
        {0, "/", 0, ":", 15, "12/06/2026 03:07:09 PM"},
        {2, "-", 1, "h", 15, "2026-12-06 15h07h09"},
        {5, " / ", 0, ":", 0, "06 / 12 / 2026 12:07:09 AM"},  // separators are whole strings
        {1, "/", 0, ":", 12, "06/12/2026 12:07:09 PM"},
    };
    for (const auto& row : rows) {
        LocaleItems items;
        items.dateOrder = row.dateOrder;
        items.dateSeparator = row.dateSeparator;
        items.timeFormat = row.timeFormat;
        items.timeSeparator = row.timeSeparator;
        EXPECT_EQ(formatLocaleDate(items, 6, 12, 2026) + " " + formatLocaleTime(items, row.hour, 7, 9), row.shown);
    }
}
