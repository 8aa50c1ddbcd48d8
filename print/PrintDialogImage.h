// Printing a dialog as it stands on the screen: its picture, scaled to the
// printer's resolution and centred on one page under the program's heading, on
// the default printer without a print dialog. Without a default printer the
// page goes to a PDF file the user names.
#pragma once

#include "LocaleFormat.h"
#include "PageGeometry.h"

#include <QDateTime>
#include <QPageLayout>
#include <QPointer>
#include <QPrinter>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vantor {

class Prompts;

// The printer a printout goes to, or nothing when there is none.
using PrinterSource = std::function<std::unique_ptr<QPrinter>()>;
// The system's default printer (CUPS on Linux), or nothing.
std::unique_ptr<QPrinter> systemDefaultPrinter();

struct PrintJob {
    std::string title;  // the document's name, and the name proposed for a PDF; not printed
    bool dateLine = false;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    std::string pdfName = {};  // the name proposed for a PDF in the user's language, when not the title
};

// What a printout takes from the program and the computer.
struct PrintSurroundings {
    Prompts& prompts;
    int language = 0;
    std::string applicationTitle;  // the page's heading
    std::string pdfFolder;         // where a PDF is proposed when there is no printer
    QDateTime printedAt;
    LocaleItems locale;
    PrinterSource defaultPrinter = systemDefaultPrinter;
};

// Prints the dialog's client area as currently shown (hidden controls are not
// in the picture). A failed printout is reported to the user.
void printDialogImage(QWidget& dialog, const PrintJob& job, const PrintSurroundings& surroundings);

// The caller's part of a printout: while this lives, the given controls are
// hidden and no control holds the keyboard focus, so neither shows on the
// paper; afterwards the controls that were visible are shown again and the
// focus goes to `focusAfter` (when visible) or back where it was.
class ControlsOffPaper {
public:
    ControlsOffPaper(QWidget& dialog, const std::vector<QWidget*>& controls, QWidget* focusAfter);
    ~ControlsOffPaper();
    ControlsOffPaper(const ControlsOffPaper&) = delete;
    ControlsOffPaper& operator=(const ControlsOffPaper&) = delete;

private:
    QWidget& m_dialog;
    std::vector<QPointer<QWidget>> m_hidden;
    QPointer<QWidget> m_focusAfter;
    QPointer<QWidget> m_focusBefore;
};

}  // namespace vantor
