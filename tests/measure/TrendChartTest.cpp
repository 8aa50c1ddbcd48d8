// The trend chart rendered into images of known size, checked pixel by pixel.
#include "TrendChart.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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

struct LabelCase {
    const char* name;
    QSize size;
    float qMax;
    const char* unit;
    int markColumn;
};

class TrendChartLabels : public ::testing::TestWithParam<LabelCase> {};

// Drawn in the middle of a white image: any text past the chart's edges would
// show on the white around it.
TEST_P(TrendChartLabels, EveryTextLiesWhollyInsideTheChart)
{
    const LabelCase& c = GetParam();
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
    const std::vector<TrendLabel> labels = layTrendLabels(painter.fontMetrics(), c.size, args);
    painter.end();
    const QRect inside(QPoint(kMargin - 1, kMargin - 1), c.size + QSize(2, 2));  // the frame's pen straddles the edge
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!inside.contains(x, y)) {
                ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << "painted outside at " << x << "," << y;
            }
        }
    }
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

// The dialog's chart area in French and in English units, and a small one.
INSTANTIATE_TEST_SUITE_P(Sizes, TrendChartLabels,
                         ::testing::Values(LabelCase{"French", {200, 155}, 150, "m3/j", -1},
                                           LabelCase{"English", {200, 155}, 150, "m3/d", -1},
                                           LabelCase{"Wide", {400, 107}, 99999.9f, "UKGl/d", -1},
                                           LabelCase{"Replay", {266, 160}, 150, " l/h", 100}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(TrendChart, TimeLabelsCountBackInSecondsOrMinutes)
{
    EXPECT_EQ(trendTimeLabel(0), "0");
    EXPECT_EQ(trendTimeLabel(-30), "-30 s");
    EXPECT_EQ(trendTimeLabel(-120), "-2 min");
    EXPECT_EQ(trendTimeLabel(90), "+90 s");
}

TEST(TrendChart, ReplayDrawsTheRecordedCurveAndMarksTheCurrentRecord)
{
    std::vector<float> recorded(200, std::nanf(""));
    for (int i = 20; i < 200; ++i)
        recorded[static_cast<size_t>(i)] = 60 * std::sin(static_cast<float>(i) / 15.0f);
    TrendChartArgs args = flow(recorded);  // 2 pixels a column, 1 a unit of flow around y 100
    args.markColumn = 100;
    const QImage image = render(args);
    const TrendGeometry g = layTrendChart({400, 200}, 20, 200);
    for (int i = 60; i < 200; i += 7) {
        const int y = g.yOf(recorded[static_cast<size_t>(i)], -100, 100);
        EXPECT_GT(blackInColumn(image, 2 * i, y - 1, y + 1), 0) << "record " << i << " at row " << y;
    }
    // No record before 20: nothing drawn there between the grid lines.
    for (int y = 20; y < 180; ++y) {
        if (y % 10 != 0) {
            ASSERT_NE(image.pixel(2 * 10 + 1, y), kBlack) << "row " << y;
        }
    }
    // The mark: a dashed line down the current record's column, and its dot.
    EXPECT_GT(blackInColumn(image, 200, 0, 199), 60);
    const int current = g.yOf(recorded[100], -100, 100);
    EXPECT_EQ(blackInColumn(image, 202, current - 1, current + 1), 3);
}
