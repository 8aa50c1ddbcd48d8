#include "TrendChart.h"

#include <QPainter>

#include <cstdio>

namespace vantor {

namespace {

const QColor kBackground(192, 192, 192);

// How far above its anchor a label's text starts, in pixels.
constexpr int kLabelRise = 8;
constexpr int kLabelIndent = 5;

void drawLabel(QPainter& painter, int x, int y, const QString& text)
{
    const QRect box = painter.fontMetrics().boundingRect(text);
    painter.fillRect(QRect(x, y, box.width(), painter.fontMetrics().height()), kBackground);
    painter.drawText(QRect(x, y, box.width() + 1, painter.fontMetrics().height()), Qt::AlignLeft | Qt::AlignTop, text);
}

}  // namespace

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

void drawTrendChart(QPainter& painter, QSize area, const TrendChartArgs& args)
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

    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    painter.setFont(font);
    painter.setPen(Qt::black);
    drawLabel(painter, kLabelIndent, -kLabelRise, QString::fromStdString(trendLabel(args.topLabel, args.unit)));
    drawLabel(painter, kLabelIndent, g.yEnd - kLabelRise,
              QString::fromStdString(trendLabel(args.bottomLabel, args.unit)));

    // A zero range has no scale: neither zero line nor curve.
    const double bottom = args.bottom, top = args.top;
    if (bottom != top) {
        if (args.zeroLine) {
            const int y0 = g.yOf(0, bottom, top);
            painter.setPen(frame);
            painter.drawLine(0, y0, g.xEnd, y0);
            painter.setPen(Qt::black);
            drawLabel(painter, kLabelIndent, y0 - kLabelRise, QStringLiteral(" 0.0 "));
        }
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
    drawTrendChart(painter, size(), m_args);
}

}  // namespace vantor
