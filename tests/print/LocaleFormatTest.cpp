// Dates and times as the user's locale writes them, on printed pages and in reports.
#include "UserLocale.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(LocaleFormat, DateOrdersAndClocks)
{
    // Separators are whole strings; the twelve-hour clock calls midnight 12 AM and noon 12 PM.
    const struct { LocaleItems items; int hour; const char* shown; } rows[] = {
        {{".", 1, ":", 1}, 15, "06.12.2026 15:07:09"},  {{"/", 0, ":", 0}, 15, "12/06/2026 03:07:09 PM"},
        {{"-", 2, "h", 1}, 15, "2026-12-06 15h07h09"},  {{" / ", 5, ":", 0}, 0, "06 / 12 / 2026 12:07:09 AM"},
        {{"/", 1, ":", 0}, 12, "06/12/2026 12:07:09 PM"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(formatLocaleDate(row.items, 6, 12, 2026) + " " + formatLocaleTime(row.items, row.hour, 7, 9), row.shown);
}
