// The user's regional settings from the C library's locales (installed by
// scripts/install-deps), as a technician's system names them.
#include "UserLocale.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace vantor;

TEST(UserLocale, ItemsOfTheCLibrarysLocales)
{
    // numbers, dates and times; decimal, date separator and order, time separator, clock, AM, PM
    const struct { const char* numeric; const char* time; LocaleItems items; } rows[] = {
        {"fr_FR.UTF-8", "fr_FR.UTF-8", {"/", 1, ":", 1, "AM", "PM", ","}},
        {"de_DE.UTF-8", "de_DE.UTF-8", {".", 1, ":", 1, "AM", "PM", ","}},
        {"en_US.UTF-8", "en_US.UTF-8", {"/", 0, ":", 0, "AM", "PM", "."}},
        {"en_GB.UTF-8", "en_GB.UTF-8", {"/", 1, ":", 1, "am", "pm", "."}},
        {"sv_SE.UTF-8", "sv_SE.UTF-8", {"-", 2, ":", 1, "AM", "PM", ","}},
        // Numbers and dates from different locales, as LC_NUMERIC and LC_TIME may say.
        {"de_DE.UTF-8", "en_US.UTF-8", {"/", 0, ":", 0, "AM", "PM", ","}},
        // The POSIX locale, and one the system does not have: the defaults.
        {"C.UTF-8", "C.UTF-8", {"/", 1, ":", 1, "AM", "PM", "."}},
        {"xx_XX.UTF-8", "xx_XX.UTF-8", {"/", 1, ":", 1, "AM", "PM", "."}},
    };
    for (const auto& row : rows) {
        const LocaleItems got = localeItemsOf(row.numeric, row.time);
        const LocaleItems& want = row.items;
        EXPECT_EQ(std::tie(got.decimalSeparator, got.dateSeparator, got.dateOrder, got.timeSeparator, got.timeFormat,
                           got.morning, got.afternoon),
                  std::tie(want.decimalSeparator, want.dateSeparator, want.dateOrder, want.timeSeparator,
                           want.timeFormat, want.morning, want.afternoon))
            << row.numeric << " " << row.time;
    }
}

