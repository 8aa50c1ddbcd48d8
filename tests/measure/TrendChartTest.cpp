// The trend chart rendered into images of known size, checked pixel by pixel.
#include "TrendChart.h"
#include "WindowsFont.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace vantor;

namespace {

const QRgb kBlack = qRgb(0, 0, 0);

TrendChartArgs flow(std::vector<float> values, float qMax = 100)
{
    TrendChartArgs args;
    args.values = std::move(values);
    args.values.resize(200, 0);
    args.bottom = args.bottomLabel = -qMax;
    args.top = args.topLabel = qMax;
    args.unit = " l/s";
    return args;
}

// On 400 x 200 with the range ±100: 2 pixels a column, the flow v on row 100 - v.
QImage render(const TrendChartArgs& args, QSize size = {400, 200})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawTrendChart(painter, size, args);
    return image;
}

// Black pixels in a column between two rows (inclusive).
int blackInColumn(const QImage& image, int x, int fromY, int toY)
{
    int n = 0;
    for (int y = fromY; y <= toY; ++y)
        n += image.pixel(x, y) == kBlack ? 1 : 0;
    return n;
}

}  // namespace

// A flow of zero or pinned to a limit (an instrument not measuring) does not
// start the curve; the first flow strictly inside the range does.
TEST(TrendChart, OnlyAFlowStrictlyInsideTheRangeStartsTheCurve)
{
    const struct { float before, last; bool drawn; } rows[] = {
        {0, 50, false}, {100, -50, false}, {-100, 50, false}, {-500, 50, false}, {20, -50, true},
    };
    for (const auto& row : rows) {
        std::vector<float> history(200, row.before);
        history[199] = row.last;
        const QImage image = render(flow(history));
        // The climb to the last sample, between the grid lines.
        const int from = 100 - static_cast<int>(std::clamp(std::max(row.before, row.last), -100.0f, 100.0f)) + 2;
        const int to = 100 - static_cast<int>(std::clamp(std::min(row.before, row.last), -100.0f, 100.0f)) - 2;
        int ink = 0;
        for (int y = from; y <= std::min(to, 199); ++y)
            ink += (y + 1) % 10 > 2 && image.pixel(397, y) == kBlack;
        EXPECT_EQ(ink > 0, row.drawn) << row.before << " then " << row.last;
    }
}

// Drawn in the middle of a white image: any text past the chart's edges would
// show on the white around it.
TEST(TrendChartLabels, EveryTextLiesWhollyInsideTheChart)
{
    if (const std::string why = test::withoutWindowsFont(); !why.empty())
        GTEST_SKIP() << why;
    // The dialog's chart area in French and in English units, a wide one, and the replay's.
    const struct { QSize size; float qMax; const char* unit; int markColumn; } rows[] = {
        {{200, 155}, 150, "m3/j", -1}, {{200, 155}, 150, "m3/d", -1},
        {{400, 107}, 99999.9f, "UKGl/d", -1}, {{266, 160}, 150, " l/h", 100},
    };
    for (const auto& c : rows) {
        SCOPED_TRACE(c.unit);
        TrendChartArgs args = flow({}, c.qMax);
        args.unit = c.unit;
        args.secondsPerColumn = 1;
        args.markColumn = c.markColumn;
        constexpr int kMargin = 40;
        QImage image(c.size + QSize(2 * kMargin, 2 * kMargin), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.translate(kMargin, kMargin);
        drawTrendChart(painter, c.size, args);
        const std::vector<TrendLabel> labels = layTrendLabels(QFontMetrics(trendLabelFont()), c.size, args);
        painter.end();
        const QRect inside(QPoint(kMargin - 1, kMargin - 1), c.size + QSize(2, 2));  // the frame's pen straddles the edge
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ASSERT_TRUE(inside.contains(x, y) || image.pixel(x, y) == qRgb(255, 255, 255)) << "painted at " << x << "," << y;
        // Range labels whole, and a time scale with "now" (0) and at least one step back.
        int timeLabels = 0;
        for (const TrendLabel& label : labels) {
            EXPECT_TRUE(label.text.empty() || QRect(QPoint(0, 0), c.size).contains(label.box)) << label.text;
            timeLabels += label.tickX >= 0 && !label.text.empty() ? 1 : 0;
        }
        EXPECT_EQ(labels[0].text, trendLabel(c.qMax, c.unit));
        EXPECT_GE(timeLabels, 2);
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const TrendLabel& l) { return l.text == "0"; }));
    }
}

TEST(TrendChart, ReplayDrawsTheRecordedCurveAndMarksTheCurrentRecord)
{
    if (const std::string why = test::withoutWindowsFont(); !why.empty())
        GTEST_SKIP() << why;
    std::vector<float> recorded(200, std::nanf(""));
    for (int i = 20; i < 200; ++i)
        recorded[static_cast<size_t>(i)] = 60 * std::sin(static_cast<float>(i) / 15.0f);
    TrendChartArgs args = flow(recorded);
    args.markColumn = 100;
    const QImage image = render(args);
    for (int i = 60; i < 200; i += 7) {
        const int y = 100 - static_cast<int>(recorded[static_cast<size_t>(i)]);
        EXPECT_GT(blackInColumn(image, 2 * i, y - 1, y + 1), 0) << "record " << i << " at row " << y;
    }
    int before = 0;
    for (int y = 20; y < 180; ++y)
        before += y % 10 != 0 && image.pixel(21, y) == kBlack;
    EXPECT_EQ(before, 0) << "no record before 20: nothing drawn between the grid lines";
    // The mark: a dashed line down the current record's column, and its dot.
    EXPECT_GT(blackInColumn(image, 200, 0, 199), 60);
    const int current = 100 - static_cast<int>(recorded[100]);
    EXPECT_EQ(blackInColumn(image, 202, current - 1, current + 1), 3);
}

// The dialog's live chart (one column a second, a pixel each): a time label
// every minute that does not sit on a range label or the frame, and no tick
// through a text.
TEST(TrendChartLabels, TextsStandClearOfEachOtherTheFrameAndTheTicks)
{
    if (const std::string why = test::withoutWindowsFont(); !why.empty())
        GTEST_SKIP() << why;
    TrendChartArgs args = flow({}, 10);
    args.unit = "m3/h";
    args.secondsPerColumn = 1;
    const QSize area(232, 167);
    QImage image(area, QImage::Format_RGB32);
    QPainter painter(&image);
    drawTrendChart(painter, area, args);
    const std::vector<TrendLabel> labels = layTrendLabels(QFontMetrics(trendLabelFont()), area, args);
    const TrendGeometry g = layTrendChart(area, args.rows, args.columns);
    std::vector<std::string> times;
    for (const TrendLabel& label : labels) {
        if (label.text.empty())
            continue;
        if (label.tickX >= 0) {
            times.push_back(label.text);
            EXPECT_GT(label.box.left(), 1) << label.text << ": on the frame";
            EXPECT_LT(label.box.right(), g.xEnd - 1) << label.text << ": on the frame";
        }
        for (const TrendLabel& other : labels) {
            if (&other == &label)
                continue;
            EXPECT_FALSE(!other.text.empty() && other.box.intersects(label.box)) << label.text << " on " << other.text;
            EXPECT_FALSE(other.tickX >= 0 && label.box.contains(other.tickX, g.yEnd - 1))
                << "the tick of " << other.text << " through " << label.text;
        }
    }
    EXPECT_EQ(times, (std::vector<std::string>{"-2 min", "-1 min", "0"}));
}
