// Where a dialog's picture lands on the printed page, in printer device pixels.
#pragma once

namespace vantor {

// Printers are asked for no more than this: the picture is a screen capture, and a
// finer grid only makes the job larger.
inline constexpr int kPrinterResolutionCap = 300;

// Pixels per inch of a device, horizontally and vertically.
struct Resolution {
    int x = 96;
    int y = 96;
};

struct PageGeometry {
    double kx = 1, ky = 1;  // printer pixels for one dialog pixel; never below 1
    int width = 0, height = 0;  // the picture: W × H
    int x0 = 0, y0 = 0;         // its top-left corner, centred in the printable area
};

// screen: the dialog's pixels per inch; printer: the printer's, capped here at
// kPrinterResolutionCap; printable: the printable area (HRES × VRES) in device
// pixels at the capped resolution; client: the dialog's client size in pixels.
// The scale is the larger resolution over the smaller one, so a printer coarser
// than the screen enlarges the picture instead of reducing it.
PageGeometry computePageGeometry(Resolution screen, Resolution printer, int printableWidth, int printableHeight,
                                 int clientWidth, int clientHeight);

}  // namespace vantor
