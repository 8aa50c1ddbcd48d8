#include "PageGeometry.h"

#include <algorithm>

namespace vantor {

namespace {

double scale(int screen, int printer)
{
    printer = std::min(printer, kPrinterResolutionCap);
    // A device that reports no resolution is taken at the other's.
    if (screen <= 0 || printer <= 0)
        return 1;
    return static_cast<double>(std::max(screen, printer)) / std::min(screen, printer);
}

}  // namespace

PageGeometry computePageGeometry(Resolution screen, Resolution printer, int printableWidth, int printableHeight,
                                 int clientWidth, int clientHeight)
{
    PageGeometry g;
    g.kx = scale(screen.x, printer.x);
    g.ky = scale(screen.y, printer.y);
    g.width = static_cast<int>(clientWidth * g.kx);
    g.height = static_cast<int>(clientHeight * g.ky);
    g.x0 = printableWidth / 2 - g.width / 2;
    g.y0 = printableHeight / 2 - g.height / 2;
    return g;
}

}  // namespace vantor
