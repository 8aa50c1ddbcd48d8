// Where the dialog's picture lands on the page, from the two resolutions and the sizes.
#include "PageGeometry.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(PageGeometry, FinePrinterIsCappedAndThePictureCentred)
{
    // 600 dpi is asked down to 300: 300 / 96 = 3.125.
    const PageGeometry g = computePageGeometry({96, 96}, {600, 600}, 3300, 2550, 500, 400);
    EXPECT_DOUBLE_EQ(g.kx, 3.125);
    EXPECT_DOUBLE_EQ(g.ky, 3.125);
    EXPECT_EQ(g.width, 1562) << "1562.5 truncated";
    EXPECT_EQ(g.height, 1250);
    EXPECT_EQ(g.x0, 1650 - 781);
    EXPECT_EQ(g.y0, 1275 - 625);
}

TEST(PageGeometry, CoarsePrinterEnlargesInsteadOfReducing)
{
    const PageGeometry g = computePageGeometry({96, 96}, {72, 72}, 612, 792, 500, 400);
    EXPECT_DOUBLE_EQ(g.kx, 96.0 / 72);
    EXPECT_DOUBLE_EQ(g.ky, 96.0 / 72);
    EXPECT_EQ(g.width, 666);
    EXPECT_EQ(g.height, 533);
    EXPECT_EQ(g.x0, 306 - 333);
    EXPECT_EQ(g.y0, 396 - 266);
}

TEST(PageGeometry, EachDirectionHasItsOwnScale)
{
    const struct {
        Resolution screen, printer;
        double kx, ky;
    } cases[] = {
        {{96, 96}, {96, 96}, 1, 1},
        {{96, 96}, {300, 300}, 3.125, 3.125},
        {{96, 96}, {1200, 1200}, 3.125, 3.125},
        {{96, 96}, {600, 150}, 3.125, 1.5625},
        {{120, 96}, {300, 48}, 2.5, 2},
        {{96, 96}, {0, 300}, 1, 3.125},  // a device that reports nothing is not scaled
    };
    for (const auto& c : cases) {
        const PageGeometry g = computePageGeometry(c.screen, c.printer, 2000, 2000, 100, 100);
        EXPECT_DOUBLE_EQ(g.kx, c.kx) << c.screen.x << " against " << c.printer.x;
        EXPECT_DOUBLE_EQ(g.ky, c.ky) << c.screen.y << " against " << c.printer.y;
    }
}

TEST(PageGeometry, HalvesAreTruncatedTowardZero)
{
    const struct {
        int printable, client, origin;
    } cases[] = {
        {1001, 101, 500 - 50},
        {1000, 100, 450},
        {100, 301, 50 - 150},  // wider than the page: the picture starts left of it
    };
    for (const auto& c : cases) {
        const PageGeometry g = computePageGeometry({96, 96}, {96, 96}, c.printable, c.printable, c.client, c.client);
        EXPECT_EQ(g.x0, c.origin) << c.printable << " / " << c.client;
        EXPECT_EQ(g.y0, c.origin) << c.printable << " / " << c.client;
    }
}
