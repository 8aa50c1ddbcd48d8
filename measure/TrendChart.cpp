#include "TrendChart.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace vantor {

namespace {

const QColor kBackground(192, 192, 192);

// How far above its anchor a label's text starts, in pixels.
constexpr int kLabelRise = 8;
constexpr int kLabelIndent = 5;

constexpr int kTickLength = 3;
// Steps of the time scale, in seconds: the first whose labels do not crowd each other.
constexpr int kTimeSteps[] = {5, 10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600, 7200, 14400, 28800, 86400};

void drawLabel(QPainter& painter, const TrendLabel& label)
{
    painter.fillRect(label.box, kBackground);
    painter.drawText(label.box.adjusted(0, 0, 1, 0), Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(label.text));
}

// The box of a text anchored at (x, y), moved inside the area where it would
// cross an edge (the top label's anchor lies above the area).
QRect boxInside(const QFontMetrics& metrics, QSize area, int x, int y, const std::string& text)
{
    const int width = metrics.boundingRect(QString::fromStdString(text)).width();
    const int height = metrics.height();
    return {std::clamp(x, 0, std::max(0, area.width() - width)), std::clamp(y, 0, std::max(0, area.height() - height)),
            width, height};
}

}  // namespace

QFont trendLabelFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

std::string trendTimeLabel(int seconds)
{
    char text[32];
    if (seconds == 0)
        return "0";
    if (seconds % 60 == 0)
        std::snprintf(text, sizeof text, "%+d min", seconds / 60);
    else
        std::snprintf(text, sizeof text, "%+d s", seconds);
    return text;
}

std::vector<TrendLabel> layTrendLabels(const QFontMetrics& metrics, QSize area, const TrendChartArgs& args)
{
    const TrendGeometry g = layTrendChart(area, args.rows, args.columns);
    std::vector<TrendLabel> labels;
    const auto add = [&](int x, int y, const std::string& text) {
        labels.push_back({boxInside(metrics, area, x, y, text), text});
    };
    add(kLabelIndent, -kLabelRise, trendLabel(args.topLabel, args.unit));
    add(kLabelIndent, g.yEnd - kLabelRise, trendLabel(args.bottomLabel, args.unit));
    if (args.bottom != args.top && args.zeroLine)
        add(kLabelIndent, g.yOf(0, args.bottom, args.top) - kLabelRise, " 0.0 ");
    if (args.secondsPerColumn <= 0 || args.columns < 2 || g.columnWidth == 0)
        return labels;

    const int zeroColumn = args.markColumn >= 0 && args.markColumn < args.columns ? args.markColumn : args.columns - 1;
    const int spacing = metrics.boundingRect(QStringLiteral("-10 min")).width() + 6;
    double step = 0;
    for (int seconds : kTimeSteps) {
        step = seconds;
        if (seconds / args.secondsPerColumn * g.columnWidth >= spacing)
            break;
    }
    const double columnsPerStep = step / args.secondsPerColumn;
    const size_t rangeLabels = labels.size();
    const auto coversText = [&labels](const QRect& box) {
        for (const TrendLabel& other : labels)
            if (!other.text.empty() && other.box.adjusted(-2, 0, 2, 0).intersects(box))
                return true;
        return false;
    };
    for (int k = -static_cast<int>(args.columns / columnsPerStep) - 1; k * columnsPerStep <= args.columns; ++k) {
        const double column = zeroColumn + k * columnsPerStep;
        if (column < 0 || column > args.columns - 1)
            continue;
        const int x = static_cast<int>(column) * g.columnWidth;
        const std::string text = trendTimeLabel(static_cast<int>(k * step));
        const int width = metrics.boundingRect(QString::fromStdString(text)).width();
        // Inside the frame, clear of its two-pixel sides, over its tick when it can be.
        const int lowest = 2, highest = std::max(lowest, g.xEnd - 2 - width);
        const int y = std::clamp(g.yEnd - kTickLength - metrics.height(), 0, std::max(0, area.height() - metrics.height()));
        QRect box(std::clamp(x - width / 2, lowest, highest), y, width, metrics.height());
        // A label that would cover a text moves aside, as long as it stays over its tick.
        for (int shift = 1; coversText(box) && shift <= width / 2; ++shift) {
            for (int side : {shift, -shift}) {
                const QRect moved = box.translated(side, 0);
                if (moved.left() >= lowest && moved.left() <= highest && moved.left() <= x && moved.right() >= x &&
                    !coversText(moved)) {
                    box = moved;
                    break;
                }
            }
        }
        TrendLabel label{box, text, x};
        // The range labels stand; a time label that would still cover one keeps only its tick.
        if (coversText(box))
            label = {QRect(), std::string(), x};
        // A tick never runs through a range label.
        for (size_t i = 0; i < rangeLabels; ++i)
            if (labels[i].box.contains(x, g.yEnd - 1))
                label.tickX = -1;
        if (!label.text.empty() || label.tickX >= 0)
            labels.push_back(label);
    }
    return labels;
}

int TrendGeometry::yOf(double value, double bottom, double top) const
{
    return static_cast<int>((value - top) / (bottom - top) * yEnd);
}

TrendGeometry layTrendChart(QSize area, int rows, int columns)
{
    TrendGeometry g;
    g.columnWidth = columns > 0 ? area.width() / columns : 0;
    g.rowHeight = rows > 0 ? area.height() / rows : 0;
    g.xEnd = columns * g.columnWidth;
    g.yEnd = rows * g.rowHeight;
    return g;
}

std::string trendLabel(float value, const std::string& unit)
{
    char text[64];
    std::snprintf(text, sizeof text, " %+.1f", static_cast<double>(value));
    return text + unit + " ";
}

namespace {

// Replay: every record as recorded, clamped to the range, a gap where there is
// none; the current record's column marked by a dashed line and a dot.
void drawRecordedCurve(QPainter& painter, const TrendGeometry& g, const TrendChartArgs& args)
{
    const double bottom = args.bottom, top = args.top;
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const size_t count = std::min(args.values.size(), static_cast<size_t>(std::max(args.columns, 0)));
    std::optional<QPoint> previous;
    for (size_t i = 0; i < count; ++i) {
        const double v = args.values[i];
        if (v != v) {
            previous.reset();
            continue;
        }
        const QPoint at(static_cast<int>(i) * g.columnWidth, g.yOf(std::clamp(v, bottom, top), bottom, top));
        if (previous)
            painter.drawLine(*previous, at);
        previous = at;
    }
    if (args.markColumn >= args.columns)
        return;
    const int x = args.markColumn * g.columnWidth;
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawLine(x, 0, x, g.yEnd);
    if (static_cast<size_t>(args.markColumn) < count && args.values[static_cast<size_t>(args.markColumn)] ==
                                                            args.values[static_cast<size_t>(args.markColumn)]) {
        const double v = std::clamp<double>(args.values[static_cast<size_t>(args.markColumn)], bottom, top);
        painter.setPen(Qt::black);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QPoint(x, g.yOf(v, bottom, top)), 3, 3);
    }
}

}  // namespace

void drawTrendChart(QPainter& painter, QSize area, const TrendChartArgs& args)
{
    drawTrendBackground(painter, area, args);
    drawTrendCurve(painter, area, args);
}

void drawTrendBackground(QPainter& painter, QSize area, const TrendChartArgs& args)
{
    const TrendGeometry g = layTrendChart(area, args.rows, args.columns);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(QPoint(0, 0), area), kBackground);

    QPen grid(Qt::black, 0);
    painter.setPen(grid);
    if (args.horizontalGrid && args.rows > 1)
        for (int k = 1; k < args.rows; ++k)
            painter.drawLine(0, k * g.rowHeight, g.xEnd, k * g.rowHeight);
    if (args.verticalGrid && args.columns > 1)
        for (int k = 1; k < args.columns; ++k)
            painter.drawLine(k * g.columnWidth, 0, k * g.columnWidth, g.yEnd);

    const QPen frame(Qt::black, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    const QPoint corners[] = {{0, 0}, {0, g.yEnd}, {g.xEnd, g.yEnd}, {g.xEnd, 0}};
    painter.drawPolygon(corners, 4);

    painter.setFont(trendLabelFont());
    const std::vector<TrendLabel> labels = layTrendLabels(painter.fontMetrics(), area, args);
    // The ticks first: a text drawn after one covers it.
    painter.setPen(grid);
    for (const TrendLabel& label : labels)
        if (label.tickX >= 0)
            painter.drawLine(label.tickX, g.yEnd - kTickLength, label.tickX, g.yEnd);
    painter.setPen(Qt::black);
    for (const TrendLabel& label : labels)
        if (!label.text.empty() && label.text != " 0.0 ")  // the zero's goes over the zero line, below
            drawLabel(painter, label);

    // A zero range has no scale: neither zero line nor curve.
    const double bottom = args.bottom, top = args.top;
    if (bottom != top) {
        if (args.zeroLine) {
            const int y0 = g.yOf(0, bottom, top);
            painter.setPen(frame);
            painter.drawLine(0, y0, g.xEnd, y0);
            painter.setPen(Qt::black);
            for (const TrendLabel& label : labels)
                if (label.text == " 0.0 ")
                    drawLabel(painter, label);
        }
    }
    painter.restore();
}

void drawTrendCurve(QPainter& painter, QSize area, const TrendChartArgs& args)
{
    const TrendGeometry g = layTrendChart(area, args.rows, args.columns);
    const double bottom = args.bottom, top = args.top;
    if (bottom == top)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (args.markColumn >= 0) {
        drawRecordedCurve(painter, g, args);
    } else {
        painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        // The curve starts after the first sample strictly inside the range and
        // not zero: an empty history, or values pinned to a limit, draw nothing.
        bool started = false;
        QPoint pen;
        const size_t count = std::min(args.values.size(), static_cast<size_t>(std::max(args.columns, 0)));
        for (size_t i = 0; i < count; ++i) {
            double v = args.values[i];
            if (v > top)
                v = top;
            if (v < bottom || v != v)
                v = bottom;
            const QPoint at(static_cast<int>(i) * g.columnWidth, g.yOf(v, bottom, top));
            if (i > 0 && started)
                painter.drawLine(pen, at);
            else if (i > 0)
                started = v > bottom && v < top && v != 0;
            pen = at;
        }
    }
    painter.restore();
}

bool sameBackground(const TrendChartArgs& a, const TrendChartArgs& b)
{
    return a.rows == b.rows && a.horizontalGrid == b.horizontalGrid && a.columns == b.columns &&
           a.verticalGrid == b.verticalGrid && a.zeroLine == b.zeroLine && a.bottom == b.bottom && a.top == b.top &&
           a.bottomLabel == b.bottomLabel && a.topLabel == b.topLabel && a.unit == b.unit &&
           a.secondsPerColumn == b.secondsPerColumn && a.markColumn == b.markColumn;
}

TrendChart::TrendChart(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void TrendChart::setChart(TrendChartArgs args)
{
    m_args = std::move(args);
    m_drawn = true;
    update();
}

void TrendChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_drawn) {
        // Nothing polled yet: the dialog's own background.
        painter.fillRect(rect(), palette().window());
        return;
    }
    // Grid, frame and texts change only with the scale: drawn once into a
    // picture, each poll then costs the picture's copy and the curve.
    if (m_background.size() != size() * devicePixelRatio() || !m_backgroundValid ||
        !sameBackground(m_backgroundArgs, m_args)) {
        m_background = QPixmap(size() * devicePixelRatio());
        m_background.setDevicePixelRatio(devicePixelRatio());
        QPainter picture(&m_background);
        drawTrendBackground(picture, size(), m_args);
        m_backgroundArgs = m_args;
        m_backgroundValid = true;
    }
    painter.drawPixmap(0, 0, m_background);
    drawTrendCurve(painter, size(), m_args);
}

}  // namespace vantor
