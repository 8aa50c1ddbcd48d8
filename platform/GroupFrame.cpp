#include "GroupFrame.h"

#include <QPainter>
#include <QStyleOptionGroupBox>

namespace vantor {

void GroupFrame::paintEvent(QPaintEvent*)
{
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    // The caption's font and width shape the frame in some styles: the frame
    // starts below the caption, or its line breaks around it.
    const Shape shape{size(), devicePixelRatioF(), static_cast<int>(option.state), palette().cacheKey(), style(),
                      font(), option.text};
    if (!(shape == m_shape) || m_picture.isNull()) {
        QPixmap picture(size() * shape.ratio);
        picture.setDevicePixelRatio(shape.ratio);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        QStyleOptionGroupBox frame = option;
        frame.subControls &= QStyle::SC_GroupBoxFrame;
        style()->drawComplexControl(QStyle::CC_GroupBox, &frame, &painter, this);
        m_picture = picture;
        m_shape = shape;
        ++m_framesDrawn;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
    option.subControls &= ~QStyle::SC_GroupBoxFrame;
    if (option.subControls != QStyle::SC_None)
        style()->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, this);
}

}  // namespace vantor
