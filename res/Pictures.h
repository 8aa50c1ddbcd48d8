// The program's pictures, drawn rather than stored so they stay sharp at any
// screen density: the main window's picture, the wait window's hourglass, the
// faces of the bitmap buttons and the program icon.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace vantor {

inline constexpr const char* kMainPicture = "MAIN";  // resource 205, 376 x 252
inline constexpr const char* kWaitPicture = "WAIT";  // resource 204

// The named picture at its natural size, or at `size` for button faces.
// A name nobody draws gives a null pixmap.
QPixmap picture(const QString& name, qreal devicePixelRatio, QSize size = QSize());
bool hasPicture(const QString& name);
// The main window's picture under another subtitle (the user's language).
QPixmap mainPicture(qreal devicePixelRatio, const QString& subtitle);

QIcon programIcon();  // resource 128

}  // namespace vantor
