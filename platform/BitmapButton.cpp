#include "BitmapButton.h"

#include "Pictures.h"

#include <QPainter>

namespace vantor {

BitmapButton::BitmapButton(const QString& caption, QWidget* parent) : QAbstractButton(parent)
{
    // The caption names the faces; the dialog gives the tooltip in its language.
    setText(caption);
    setFocusPolicy(Qt::StrongFocus);
}

QSize BitmapButton::sizeHint() const { return {40, 40}; }

QChar BitmapButton::currentFace() const
{
    if (isDown())
        return QLatin1Char('D');
    return hasFocus() ? QLatin1Char('F') : QLatin1Char('U');
}

void BitmapButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPixmap face = picture(text() + currentFace(), devicePixelRatioF(), size());
    if (!face.isNull()) {
        p.drawPixmap(0, 0, face);
        return;
    }
    // A caption without pictures still shows as a plain button.
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.drawText(rect(), Qt::AlignCenter, text());
}

}  // namespace vantor
