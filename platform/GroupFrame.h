// A group box that keeps a picture of its frame. The measurement's labels sit
// inside group boxes and change every second; each change repaints the frame
// under the label, and the style would draw the whole frame again each time
// (Fusion loads its frame image for every paint). The picture is drawn anew
// only when something the frame depends on changes: size, caption, font,
// palette, style, state or scale. The caption is drawn live, so that its text
// keeps the screen's antialiasing.
#pragma once

#include <QFont>
#include <QGroupBox>
#include <QPixmap>

namespace vantor {

class GroupFrame : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;
    // How many times the frame was drawn by the style: once unless it changed.
    int framesDrawn() const { return m_framesDrawn; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Shape {
        QSize size;
        qreal ratio = 0;
        int state = 0;
        qint64 palette = 0;
        const QStyle* style = nullptr;
        QFont font;
        QString text;
        bool operator==(const Shape&) const = default;
    };
    QPixmap m_picture;
    Shape m_shape;
    int m_framesDrawn = 0;
};

}  // namespace vantor
