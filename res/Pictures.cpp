#include "Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace vantor {

namespace {

const QColor kBlue(0x1f, 0x5a, 0x96);
const QColor kLightBlue(0x7f, 0xb2, 0xe5);
const QColor kFace(0xe8, 0xec, 0xf0);

QPixmap canvas(QSize size, qreal dpr)
{
    QPixmap pixmap(size * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void drawMain(QPainter& p, QSize size, const QString& subtitle)
{
    const qreal w = size.width(), h = size.height();
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(0xf4, 0xf8, 0xfc));
    sky.setColorAt(1, QColor(0xc9, 0xdc, 0xee));
    p.fillRect(QRectF(0, 0, w, h), sky);

    // A pipe with a transducer on each side and the sound path between them.
    const QRectF pipe(20, h * 0.50, w - 40, h * 0.22);
    QLinearGradient metal(0, pipe.top(), 0, pipe.bottom());
    metal.setColorAt(0, QColor(0x9a, 0xa5, 0xb1));
    metal.setColorAt(0.5, QColor(0xe6, 0xea, 0xee));
    metal.setColorAt(1, QColor(0x7d, 0x88, 0x94));
    p.setPen(QPen(QColor(0x55, 0x5f, 0x6a), 1.5));
    p.setBrush(metal);
    p.drawRoundedRect(pipe, 6, 6);
    const QPointF up(w * 0.30, pipe.top()), down(w * 0.70, pipe.bottom());
    p.setBrush(kBlue);
    p.drawRect(QRectF(up.x() - 14, up.y() - 18, 28, 16));
    p.drawRect(QRectF(down.x() - 14, down.y() + 2, 28, 16));
    QPen wave(kBlue, 2, Qt::DashLine);
    p.setPen(wave);
    p.drawLine(up, down);
    // Flow arrows.
    p.setPen(QPen(kLightBlue, 3));
    for (qreal x = pipe.left() + 20; x < pipe.right() - 30; x += 70) {
        const qreal y = pipe.center().y();
        p.drawLine(QPointF(x, y), QPointF(x + 30, y));
        p.drawLine(QPointF(x + 30, y), QPointF(x + 22, y - 5));
        p.drawLine(QPointF(x + 30, y), QPointF(x + 22, y + 5));
    }
    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(static_cast<int>(h * 0.16));
    title.setBold(true);
    p.setFont(title);
    p.setPen(kBlue);
    p.drawText(QRectF(0, h * 0.08, w, h * 0.22), Qt::AlignCenter, QStringLiteral("VantorPC"));
    QFont sub = title;
    sub.setBold(false);
    sub.setPixelSize(static_cast<int>(h * 0.06));
    p.setFont(sub);
    p.setPen(QColor(0x33, 0x44, 0x55));
    p.drawText(QRectF(0, h * 0.30, w, h * 0.12), Qt::AlignCenter, subtitle);
}

void drawHourglass(QPainter& p, QSize size)
{
    const qreal w = size.width(), h = size.height();
    QPainterPath glass;
    glass.moveTo(w * 0.2, h * 0.1);
    glass.lineTo(w * 0.8, h * 0.1);
    glass.lineTo(w * 0.5, h * 0.5);
    glass.lineTo(w * 0.8, h * 0.9);
    glass.lineTo(w * 0.2, h * 0.9);
    glass.lineTo(w * 0.5, h * 0.5);
    glass.closeSubpath();
    p.setPen(QPen(kBlue, std::max(1.0, w / 12)));
    p.setBrush(kLightBlue);
    p.drawPath(glass);
}

void drawSymbol(QPainter& p, const QString& caption, QRectF r)
{
    p.setPen(QPen(kBlue, std::max(1.0, r.width() / 14), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (caption == QLatin1String("SAVEDISK")) {
        p.setBrush(kLightBlue);
        p.drawRoundedRect(r, 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(r.left() + r.width() * 0.2, r.top(), r.width() * 0.6, r.height() * 0.35));
        p.drawRect(QRectF(r.left() + r.width() * 0.15, r.top() + r.height() * 0.55, r.width() * 0.7, r.height() * 0.45));
    } else if (caption == QLatin1String("PRINT")) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(r.left() + r.width() * 0.2, r.top(), r.width() * 0.6, r.height() * 0.4));
        p.setBrush(kLightBlue);
        p.drawRoundedRect(QRectF(r.left(), r.top() + r.height() * 0.35, r.width(), r.height() * 0.4), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(r.left() + r.width() * 0.2, r.top() + r.height() * 0.6, r.width() * 0.6, r.height() * 0.4));
    } else if (caption == QLatin1String("TRANSFERT")) {
        p.setBrush(kLightBlue);
        p.drawRect(QRectF(r.left(), r.top() + r.height() * 0.55, r.width(), r.height() * 0.45));
        const qreal cx = r.center().x();
        p.drawLine(QPointF(cx, r.top()), QPointF(cx, r.top() + r.height() * 0.6));
        p.drawLine(QPointF(cx, r.top() + r.height() * 0.6), QPointF(cx - r.width() * 0.2, r.top() + r.height() * 0.4));
        p.drawLine(QPointF(cx, r.top() + r.height() * 0.6), QPointF(cx + r.width() * 0.2, r.top() + r.height() * 0.4));
    } else if (caption == QLatin1String("COMPARE")) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(r.left(), r.top(), r.width() * 0.45, r.height() * 0.8));
        p.drawRect(QRectF(r.left() + r.width() * 0.55, r.top() + r.height() * 0.2, r.width() * 0.45, r.height() * 0.8));
        const qreal y = r.center().y();
        p.drawLine(QPointF(r.left() + r.width() * 0.3, y - 3), QPointF(r.right() - r.width() * 0.3, y - 3));
        p.drawLine(QPointF(r.left() + r.width() * 0.3, y + 3), QPointF(r.right() - r.width() * 0.3, y + 3));
    } else if (caption == QLatin1String("TABLEUR")) {
        // A sheet with its grid.
        p.setBrush(Qt::white);
        p.drawRect(r);
        for (int k = 1; k < 3; ++k) {
            p.drawLine(QPointF(r.left(), r.top() + r.height() * k / 3), QPointF(r.right(), r.top() + r.height() * k / 3));
            p.drawLine(QPointF(r.left() + r.width() * k / 3, r.top()), QPointF(r.left() + r.width() * k / 3, r.bottom()));
        }
    } else if (caption == QLatin1String("ARRETDISK")) {
        p.setBrush(QColor(0xc0, 0x30, 0x30));
        p.drawRect(r.adjusted(r.width() * 0.1, r.height() * 0.1, -r.width() * 0.1, -r.height() * 0.1));
    } else if (caption == QLatin1String("HOME") || caption == QLatin1String("END") ||
               caption == QLatin1String("PGU") || caption == QLatin1String("PGD")) {
        // Arrows towards the first or the last record, with a bar at the far end.
        const bool back = caption == QLatin1String("HOME") || caption == QLatin1String("PGU");
        const bool toEnd = caption == QLatin1String("HOME") || caption == QLatin1String("END");
        const qreal tip = back ? r.left() + r.width() * 0.25 : r.right() - r.width() * 0.25;
        const qreal tail = back ? r.right() : r.left();
        QPolygonF arrow;
        arrow << QPointF(tip, r.center().y()) << QPointF(tail, r.top()) << QPointF(tail, r.bottom());
        p.setBrush(kLightBlue);
        p.drawPolygon(arrow);
        if (toEnd) {
            const qreal bar = back ? r.left() : r.right();
            p.drawLine(QPointF(bar, r.top()), QPointF(bar, r.bottom()));
        }
    }
}

bool isButtonCaption(const QString& caption)
{
    static const QStringList kCaptions = {QStringLiteral("SAVEDISK"), QStringLiteral("PRINT"),
                                          QStringLiteral("TRANSFERT"), QStringLiteral("COMPARE"),
                                          QStringLiteral("TABLEUR"), QStringLiteral("ARRETDISK"),
                                          QStringLiteral("HOME"),     QStringLiteral("END"),
                                          QStringLiteral("PGU"),      QStringLiteral("PGD")};
    return kCaptions.contains(caption);
}

// A button face: U raised, D pressed, F raised with the focus marked.
void drawFace(QPainter& p, const QString& caption, QChar face, QSize size)
{
    const QRectF all(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const bool down = face == QLatin1Char('D');
    p.setPen(QPen(down ? QColor(0x60, 0x68, 0x70) : QColor(0xa0, 0xa8, 0xb0), 1));
    p.setBrush(down ? kFace.darker(110) : kFace);
    p.drawRoundedRect(all, 3, 3);
    const qreal side = std::min(size.width(), size.height()) * 0.6;
    QRectF symbol(0, 0, side, side);
    symbol.moveCenter(all.center() + (down ? QPointF(1, 1) : QPointF(0, 0)));
    drawSymbol(p, caption, symbol);
    if (face == QLatin1Char('F')) {
        p.setPen(QPen(kBlue, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(all.adjusted(2.5, 2.5, -2.5, -2.5), 2, 2);
    }
}

}  // namespace

bool hasPicture(const QString& name)
{
    if (name == QLatin1String(kMainPicture) || name == QLatin1String(kWaitPicture))
        return true;
    return name.size() > 1 && QStringLiteral("UDF").contains(name.back()) && isButtonCaption(name.chopped(1));
}

QPixmap mainPicture(qreal dpr, const QString& subtitle)
{
    const QSize size(376, 252);
    QPixmap pixmap = canvas(size, dpr);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawMain(p, size, subtitle);
    return pixmap;
}

QPixmap picture(const QString& name, qreal dpr, QSize size)
{
    if (!hasPicture(name))
        return QPixmap();
    if (name == QLatin1String(kMainPicture))
        size = QSize(376, 252);
    else if (name == QLatin1String(kWaitPicture))
        size = size.isValid() ? size : QSize(16, 16);
    else if (!size.isValid())
        size = QSize(32, 32);
    QPixmap pixmap = canvas(size, dpr);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (name == QLatin1String(kMainPicture))
        drawMain(p, size, QStringLiteral("Ultrasonic transit-time flowmeters"));
    else if (name == QLatin1String(kWaitPicture))
        drawHourglass(p, size);
    else
        drawFace(p, name.chopped(1), name.back(), size);
    return pixmap;
}

QIcon programIcon()
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap = canvas(QSize(side, side), 1.0);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(0.5, 0.5, side - 1.0, side - 1.0));
        // A sound wave crossing the circle.
        QPainterPath wave;
        wave.moveTo(side * 0.18, side * 0.5);
        for (int i = 0; i <= 32; ++i) {
            const qreal x = side * (0.18 + 0.64 * i / 32.0);
            wave.lineTo(x, side * (0.5 - 0.18 * std::sin(i * 3.14159 / 4)));
        }
        p.setPen(QPen(Qt::white, std::max(1.0, side / 14.0), Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace vantor
