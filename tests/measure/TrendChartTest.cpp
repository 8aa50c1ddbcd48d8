// The trend chart rendered into images of known size, checked pixel by pixel.
#include "TrendChart.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

const QRgb kGrey = qRgb(192, 192, 192);
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

// Rows that are black across the chart's middle, where no label stands.
std::vector<int> blackRows(const QImage& image, int x)
{
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(x, y) == kBlack && image.pixel(x + 7, y) == kBlack)
            rows.push_back(y);
    return rows;
}

}  // namespace

TEST(TrendChart, GeometryOnWholeRowsAndColumns)
{
    const TrendGeometry g = layTrendChart({266, 107}, 20, 200);
    EXPECT_EQ(g.columnWidth, 1);
    EXPECT_EQ(g.rowHeight, 5);
    EXPECT_EQ(g.xEnd, 200);
    EXPECT_EQ(g.yEnd, 100);
    EXPECT_EQ(g.yOf(0, -50, 50), 50);
    EXPECT_EQ(g.yOf(50, -50, 50), 0);
    EXPECT_EQ(g.yOf(-50, -50, 50), 100);
    EXPECT_EQ(g.yOf(33.3, -50, 50), 16) << "truncated toward zero, not rounded";
}

TEST(TrendChart, LabelsCarryTheSignOneDecimalAndTheUnitAsItStands)
{
    EXPECT_EQ(trendLabel(100, " l/s"), " +100.0 l/s ");
    EXPECT_EQ(trendLabel(-12.34f, "m3/h"), " -12.3m3/h ");
}

TEST(TrendChart, ZerosDrawGridFrameAndZeroLineButNoCurve)
{
    // 107 high: rows of 5, the frame's bottom at 100, the last 7 rows plain grey.
    const QImage image = render(flow({}), {400, 107});
    const std::vector<int> rows = blackRows(image, 300);
    // 19 grid lines at 5, 10 ... 95, the zero line at 50 among them, and the frame at 0 and 100.
    for (int k = 1; k < 20; ++k)
        EXPECT_NE(std::find(rows.begin(), rows.end(), 5 * k), rows.end()) << "grid line " << k;
    EXPECT_NE(std::find(rows.begin(), rows.end(), 100), rows.end()) << "frame bottom";
    EXPECT_EQ(image.pixel(300, 104), kGrey);
    EXPECT_EQ(image.pixel(300, 106), kGrey) << "below the frame stays background";
    // The zero line is drawn with the frame's width: two pixels thick.
    EXPECT_EQ(blackInColumn(image, 300, 48, 52), 2);
    // Between the grid lines nothing is drawn: no curve.
    for (int x = 100; x < 390; ++x)
        for (int y : {22, 37, 62, 77})
            ASSERT_EQ(image.pixel(x, y), kGrey) << x << "," << y;
}

TEST(TrendChart, TheCurveStartsAfterTheFirstSampleStrictlyInsideTheRange)
{
    std::vector<float> history(200, 0);
    history[199] = 50;
    const QImage first = render(flow(history));  // 2 pixels a column, 10 a row
    // Alone at the end, the sample only moves the pen: nothing between 0 and 100 at the right.
    for (int y = 51; y < 95; ++y)
        if (y % 10 != 0) {
            EXPECT_NE(first.pixel(397, y), kBlack) << y;
        }

    std::rotate(history.begin(), history.begin() + 1, history.end());
    history[199] = -50;
    const QImage next = render(flow(history));
    // Now from 198 (x 396, y 50) down to 199 (x 398, y 150).
    EXPECT_GT(blackInColumn(next, 397, 55, 145), 60);
}

TEST(TrendChart, SamplesBeyondTheRangeArePinnedToItsEdge)
{
    std::vector<float> history(200, 0);
    history[100] = 20;      // starts the curve
    history[101] = 500;     // drawn on the top edge
    history[102] = 500;
    const QImage image = render(flow(history));
    EXPECT_EQ(image.pixel(203, 0), kBlack);
    EXPECT_EQ(image.pixel(203, 1), kBlack);
    EXPECT_GT(blackInColumn(image, 201, 5, 75), 30) << "the climb from 20 to the top";

    // A value on a limit never starts the curve.
    std::vector<float> pinned(200, 100);
    const QImage flat = render(flow(pinned));
    for (int x = 10; x < 390; ++x)
        ASSERT_NE(flat.pixel(x, 1), kBlack) << x;
}

TEST(TrendChart, AZeroRangeDrawsNeitherZeroLineNorCurve)
{
    std::vector<float> history(200, 0);
    history[150] = 5;
    history[151] = 7;
    const QImage image = render(flow(history, 0));
    // Only the grid (1 px every 10 rows) and the frame: no 2-pixel zero line, no curve.
    EXPECT_EQ(blackInColumn(image, 302, 95, 105), 1);
    for (int y = 1; y < 199; ++y) {
        if (y % 10 != 0) {
            ASSERT_NE(image.pixel(301, y), kBlack) << "no curve at row " << y;
        }
    }
}

TEST(TrendChart, TheWidgetDrawsItsLastChartWhenRepainted)
{
    TrendChart chart(nullptr);
    chart.resize(400, 200);
    std::vector<float> history(200, 0);
    history[120] = 10;
    history[121] = -60;
    chart.setChart(flow(history));
    const QImage painted = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(painted, render(flow(history)).convertToFormat(QImage::Format_RGB32));
}
