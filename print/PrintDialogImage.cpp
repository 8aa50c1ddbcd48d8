#include "PrintDialogImage.h"

#include "LanguageTables.h"
#include "Prompts.h"
#include "SettingsFiles.h"
#include "WaitWindow.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QPrinterInfo>

#include <optional>

namespace vantor {

namespace {

// "Arial", or the sans-serif face the platform puts in its place, 10 points at
// the printer's resolution.
QFont headingFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(10);
    font.setWeight(QFont::Normal);
    return font;
}

QString dateLine(const PrintSurroundings& s)
{
    const QDate date = s.printedAt.date();
    const QTime time = s.printedAt.time();
    return QString::fromStdString(formatLocaleDate(s.locale, date.day(), date.month(), date.year()) + " " +
                                  formatLocaleTime(s.locale, time.hour(), time.minute(), time.second()));
}

std::optional<std::string> askPdfPath(QWidget& dialog, const PrintJob& job, const PrintSurroundings& s)
{
    FileRequest request;
    request.owner = &dialog;
    request.title = lang::PrintToPdf.text(s.language);
    request.filter = std::string(lang::PrintPdfFile.text(s.language)) + "|*.pdf|";
    request.initialFolder = s.pdfFolder;
    request.initialName = (job.pdfName.empty() ? job.title : job.pdfName) + ".pdf";
    const std::optional<std::string> chosen = s.prompts.saveFileName(request);
    if (!chosen)
        return std::nullopt;
    const std::string path = withDefaultExtension(*chosen, "pdf");
    // The dialog asked about the name typed, not the one with the extension.
    if (path != *chosen && pathExists(path) &&
        s.prompts.messageBox(&dialog, lang::PrintCaption.text(s.language), lang::FileReplace.text(s.language) + path,
                             BoxIcon::Question, BoxButtons::YesNo) != BoxAnswer::Yes)
        return std::nullopt;
    return path;
}

std::unique_ptr<QPrinter> pdfPrinter(const std::string& path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QString::fromStdString(path));
    return printer;
}

// The page: four frames, the picture over their inside, the heading above. False
// when the printer refused the job or the file could not be written.
bool printPage(QPrinter& printer, const QPixmap& picture, const QWidget& dialog, const PrintJob& job,
               const PrintSurroundings& s)
{
    if (picture.isNull())
        return false;
    printer.setDocName(QString::fromStdString(job.title));
    printer.setPageOrientation(job.orientation);
    if (printer.resolution() > kPrinterResolutionCap)
        printer.setResolution(kPrinterResolutionCap);
    const PageGeometry g =
        computePageGeometry({dialog.logicalDpiX(), dialog.logicalDpiY()}, {printer.logicalDpiX(), printer.logicalDpiY()},
                            printer.width(), printer.height(), dialog.width(), dialog.height());

    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The painter's own pen (black, one device pixel) and no fill: four frames
    // side by side make a border around the picture.
    for (int k = 1; k <= 4; ++k)
        painter.drawRect(g.x0 - k, g.y0 - k, g.width + 2 * k - 1, g.height + 2 * k - 1);
    painter.drawPixmap(QRect(g.x0, g.y0, g.width, g.height), picture);

    painter.setFont(headingFont());
    const int ascent = painter.fontMetrics().ascent();
    // Each text's top-left corner at its point, left-aligned with the picture.
    if (job.dateLine)
        painter.drawText(g.x0, g.y0 / 2 + ascent, dateLine(s));
    painter.drawText(g.x0, g.y0 / 4 + ascent, QString::fromStdString(s.applicationTitle));
    return painter.end() && printer.printerState() != QPrinter::Error;
}

QString destination(const QPrinter& printer)
{
    return printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
}

}  // namespace

std::unique_ptr<QPrinter> systemDefaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

void printDialogImage(QWidget& dialog, const PrintJob& job, const PrintSurroundings& s)
{
    // The picture first, as the dialog stands now: the prompt and the wait
    // window that follow must not be on it.
    const QPixmap picture = dialog.grab();
    std::unique_ptr<QPrinter> printer = s.defaultPrinter ? s.defaultPrinter() : nullptr;
    if (!printer) {
        // Many desktops have no default printer: the page goes to a file instead.
        const std::optional<std::string> path = askPdfPath(dialog, job, s);
        if (!path)
            return;
        printer = pdfPrinter(*path);
    }
    bool printed;
    {
        WaitWindow wait(&dialog, s.language);
        printed = printPage(*printer, picture, dialog, job, s);
    }
    if (!printed)
        s.prompts.messageBox(&dialog, lang::PrintCaption.text(s.language),
                             std::string(lang::PrintFailure.text(s.language)) + "\n" +
                                 destination(*printer).toStdString(),
                             BoxIcon::Error, BoxButtons::Ok);
}

ControlsOffPaper::ControlsOffPaper(QWidget& dialog, const std::vector<QWidget*>& controls, QWidget* focusAfter)
    : m_dialog(dialog), m_focusAfter(focusAfter), m_focusBefore(dialog.focusWidget())
{
    for (QWidget* control : controls) {
        if (control && !control->isHidden()) {
            control->hide();
            m_hidden.emplace_back(control);
        }
    }
    // Hiding the focused control hands the focus to the next one, which would
    // then show its focus mark on the paper.
    if (QWidget* focused = dialog.focusWidget())
        focused->clearFocus();
}

ControlsOffPaper::~ControlsOffPaper()
{
    for (const QPointer<QWidget>& control : m_hidden)
        if (control)
            control->show();
    for (QWidget* target : {m_focusAfter.data(), m_focusBefore.data()}) {
        if (target && target->isVisibleTo(&m_dialog)) {
            target->setFocus();
            break;
        }
    }
}

}  // namespace vantor
