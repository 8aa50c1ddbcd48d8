// Where the dialog's picture lands on the page, from the two resolutions and the sizes.
#include "PageGeometry.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(PageGeometry, ScaledInEachDirectionCappedAt300DpiAndCentred)
{
    const struct { Resolution screen, printer; int printableWidth, printableHeight, clientWidth, clientHeight;
                   double kx, ky; int width, height, x0, y0; } rows[] = {
        // 600 dpi is asked down to 300; 1562.5 truncated.
        {{96, 96}, {600, 600}, 3300, 2550, 500, 400, 3.125, 3.125, 1562, 1250, 1650 - 781, 1275 - 625},
        // A coarse printer enlarges instead of reducing.
        {{96, 96}, {72, 72}, 612, 792, 500, 400, 96.0 / 72, 96.0 / 72, 666, 533, 306 - 333, 396 - 266},
        {{96, 96}, {600, 150}, 2000, 2000, 100, 100, 3.125, 1.5625, 312, 156, 1000 - 156, 1000 - 78},
        {{120, 96}, {300, 48}, 2000, 2000, 100, 100, 2.5, 2, 250, 200, 875, 900},
        // A device that reports nothing is not scaled.
        {{96, 96}, {0, 300}, 2000, 2000, 100, 100, 1, 3.125, 100, 312, 950, 1000 - 156},
        // Halves truncated toward zero; wider than the page, the picture starts left of it.
        {{96, 96}, {96, 96}, 1001, 1001, 101, 101, 1, 1, 101, 101, 500 - 50, 500 - 50},
        {{96, 96}, {96, 96}, 100, 100, 301, 301, 1, 1, 301, 301, 50 - 150, 50 - 150},
    };
    for (const auto& r : rows) {
        const PageGeometry g =
            computePageGeometry(r.screen, r.printer, r.printableWidth, r.printableHeight, r.clientWidth, r.clientHeight);
        SCOPED_TRACE(::testing::Message() << r.printer.x << " x " << r.printer.y << " dpi, client " << r.clientWidth);
        EXPECT_DOUBLE_EQ(g.kx, r.kx);
        EXPECT_DOUBLE_EQ(g.ky, r.ky);
        EXPECT_EQ((std::vector<int>{g.width, g.height, g.x0, g.y0}), (std::vector<int>{r.width, r.height, r.x0, r.y0}));
    }
}
