// A push button drawn with three faces named after its caption: caption + "U"
// when up, + "D" when pressed, + "F" when it has the focus.
#pragma once

#include <QAbstractButton>

namespace vantor {

class BitmapButton : public QAbstractButton {
    Q_OBJECT
public:
    BitmapButton(const QString& caption, QWidget* parent);
    QSize sizeHint() const override;
    // The face now showing: 'U', 'D' or 'F'.
    QChar currentFace() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace vantor
