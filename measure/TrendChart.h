// The flow trend chart: a grey panel with a frame, horizontal grid lines, a
// zero line, the range labels and the polyline of the last values, laid out
// on whole rows and columns of pixels.
#pragma once

#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <string>
#include <vector>

class QFontMetrics;
class QPainter;

namespace vantor {

struct TrendChartArgs {
    int rows = 20;
    bool horizontalGrid = true;
    int columns = 200;  // also the number of values
    bool verticalGrid = false;
    bool zeroLine = true;
    std::vector<float> values;  // oldest first
    float bottom = 0, top = 0;  // the scale
    float bottomLabel = 0, topLabel = 0;
    std::string unit;  // UTF-8, appended to both labels as it stands
    // Seconds between two columns; above 0, a time scale along the bottom
    // counts back from the last column (or from the marked one).
    double secondsPerColumn = 0;
    // Replay: the current record's column, marked with a vertical line. Every
    // value is then drawn as recorded; NaN stands for no record there.
    int markColumn = -1;
};

// Where things fall in an area of the given size: whole columns and rows, so the
// right and bottom edges can fall short of the area by the remainder.
struct TrendGeometry {
    int columnWidth = 0;
    int rowHeight = 0;
    int xEnd = 0;
    int yEnd = 0;
    // The row of a value between top (0) and bottom (yEnd), truncated toward zero.
    int yOf(double value, double bottom, double top) const;
};
TrendGeometry layTrendChart(QSize area, int rows, int columns);

// " %+.1f%s ": the signed value, one decimal, the unit, a blank on each side.
std::string trendLabel(float value, const std::string& unit);
// A time scale's text for an offset in seconds: "0", "-30 s", "-2 min", "+90 s".
std::string trendTimeLabel(int seconds);

// The labels' font: "MS Sans Serif" 8 points, or the sans-serif face in its place.
QFont trendLabelFont();

// Where the texts of the chart go: each box lies wholly inside the area, and a
// time label that would cover another text keeps only its tick (no text).
struct TrendLabel {
    QRect box;
    std::string text;
    int tickX = -1;  // a time label's tick on the bottom edge
};
std::vector<TrendLabel> layTrendLabels(const QFontMetrics& metrics, QSize area, const TrendChartArgs& args);

// Draws the whole chart into an area of the given size at the painter's origin:
// the background (panel, grid, frame, texts, zero line), then the curve.
void drawTrendChart(QPainter& painter, QSize area, const TrendChartArgs& args);
void drawTrendBackground(QPainter& painter, QSize area, const TrendChartArgs& args);
void drawTrendCurve(QPainter& painter, QSize area, const TrendChartArgs& args);
// True when two charts differ only in their values.
bool sameBackground(const TrendChartArgs& a, const TrendChartArgs& b);

// The chart as a control: it keeps the last arguments and draws them whenever
// it is painted, so a repaint shows the chart again instead of erasing it.
class TrendChart : public QWidget {
    Q_OBJECT
public:
    explicit TrendChart(QWidget* parent);
    void setChart(TrendChartArgs args);
    const TrendChartArgs& chart() const { return m_args; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TrendChartArgs m_args;
    bool m_drawn = false;
    QPixmap m_background;  // of m_backgroundArgs
    TrendChartArgs m_backgroundArgs;
    bool m_backgroundValid = false;
};

}  // namespace vantor
