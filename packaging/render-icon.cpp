// render-icon: writes the program icon, which the program draws itself, as PNG
// files for the desktop's icon theme, so that the menu shows the window's icon.
// usage: render-icon SIZE FILE [SIZE FILE...]
#include "Pictures.h"

#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: render-icon SIZE FILE [SIZE FILE...]\n");
        return 2;
    }
    const QIcon icon = vantor::programIcon();
    for (int i = 1; i + 1 < argc; i += 2) {
        const int side = std::atoi(argv[i]);
        const QPixmap pixmap = icon.pixmap(QSize(side, side));
        if (side <= 0 || pixmap.width() != side || !pixmap.save(QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "render-icon: cannot write %s at %d pixels\n", argv[i + 1], side);
            return 1;
        }
    }
    return 0;
}
