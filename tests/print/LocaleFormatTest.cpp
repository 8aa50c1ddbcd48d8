#include "UserLocale.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace vantor;

TEST(LocaleFormat, DateOrders)
{
    LocaleItems items;
    items.dateOrder = 1;
    items.dateSeparator = ".";
    EXPECT_EQ(formatLocaleDate(items, 6, 12, 2026), "06.12.2026");
    items.dateOrder = 0;
    items.dateSeparator = "/";
    EXPECT_EQ(formatLocaleDate(items, 6, 12, 2026), "12/06/2026");
    items.dateOrder = 2;
    items.dateSeparator = "-";
    EXPECT_EQ(formatLocaleDate(items, 6, 12, 2026), "2026-12-06");
    items.dateOrder = 5;
    items.dateSeparator = " / ";  // separators are whole strings
    EXPECT_EQ(formatLocaleDate(items, 6, 12, 2026), "06 / 12 / 2026");
}

TEST(LocaleFormat, TwelveAndTwentyFourHourClocks)
{
    LocaleItems items;
    items.timeFormat = 0;
    EXPECT_EQ(formatLocaleTime(items, 15, 7, 9), "03:07:09 PM");
    EXPECT_EQ(formatLocaleTime(items, 0, 30, 0), "12:30:00 AM");
    EXPECT_EQ(formatLocaleTime(items, 12, 0, 0), "12:00:00 PM");
    items.timeFormat = 1;
    items.timeSeparator = "h";
    EXPECT_EQ(formatLocaleTime(items, 15, 7, 9), "15h07h09");
}

TEST(LocaleFormat, UserLocaleGivesUsableItems)
{
    const LocaleItems items = userLocaleItems();
    EXPECT_FALSE(items.dateSeparator.empty());
    EXPECT_FALSE(items.timeSeparator.empty());
    EXPECT_FALSE(items.decimalSeparator.empty());
    EXPECT_GE(items.dateOrder, 0);
    EXPECT_LE(items.dateOrder, 2);
}

TEST(LocaleFormat, LocalesGiveTheirOwnDateAndTime)
{
    const struct {
        QLocale locale;
        const char* shown;
    } cases[] = {
        {QLocale::c(), "06/12/2026 15:07:09"},  // its short date spells the month
        {QLocale(QLocale::French, QLocale::France), "06/12/2026 15:07:09"},
        {QLocale(QLocale::German, QLocale::Germany), "06.12.2026 15:07:09"},
        {QLocale(QLocale::English, QLocale::UnitedStates), "12/06/2026 03:07:09 PM"},
    };
    for (const auto& c : cases) {
        const LocaleItems items = localeItemsOf(c.locale);
        EXPECT_EQ(formatLocaleDate(items, 6, 12, 2026) + " " + formatLocaleTime(items, 15, 7, 9), c.shown)
            << c.locale.name().toStdString();
    }
}
