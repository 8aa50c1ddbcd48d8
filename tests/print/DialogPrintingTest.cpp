// Printing the five data dialogs: real pages written as PDF files and read back
// with poppler's tools (pdfinfo, pdftotext, pdftoppm).
#include "CalibrationDialog.h"
#include "CanDialog.h"
#include "DialogFixture.h"
#include "FactoryDialog.h"
#include "MakerDialog.h"
#include "MeasurementDialog.h"
#include "SettingsFiles.h"
#include "VersionStrings.h"
#include "WaitWindow.h"

#include <QAbstractButton>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>

using namespace vantor;

namespace {

// Runs one of poppler's tools and returns what it printed; a missing tool or a
// failed run fails the test with the reason.
QString runPoppler(const QString& tool, const QStringList& arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        ADD_FAILURE() << tool.toStdString()
                      << " is missing: the printing tests read their pages with poppler-utils "
                         "(scripts/install-deps installs it)";
        return {};
    }
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        ADD_FAILURE() << tool.toStdString() << " " << arguments.join(' ').toStdString() << " failed: "
                      << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct PdfFacts {
    int pages = 0;
    QString title;
    double width = 0, height = 0;  // points
};

PdfFacts readPdfFacts(const std::string& pdf)
{
    PdfFacts facts;
    const QString info = runPoppler(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf)});
    for (const QString& line : info.split('\n')) {
        const QString value = line.section(':', 1).trimmed();
        if (line.startsWith(QLatin1String("Pages:")))
            facts.pages = value.toInt();
        else if (line.startsWith(QLatin1String("Title:")))
            facts.title = value;
        else if (line.startsWith(QLatin1String("Page size:"))) {
            const QStringList parts = value.split(' ', Qt::SkipEmptyParts);
            if (parts.size() >= 3) {
                facts.width = parts[0].toDouble();
                facts.height = parts[2].toDouble();
            }
        }
    }
    return facts;
}

// The page's texts, one line each: the picture is an image and holds none.
std::vector<std::string> textLines(const std::string& pdf)
{
    std::vector<std::string> lines;
    const QString text = runPoppler(QStringLiteral("pdftotext"), {QString::fromStdString(pdf), QStringLiteral("-")});
    for (const QString& line : text.split('\n')) {
        const QString trimmed = line.trimmed().remove(QChar('\f'));
        if (!trimmed.isEmpty())
            lines.push_back(trimmed.toStdString());
    }
    return lines;
}

constexpr int kRasterDpi = 300;  // the printer's capped resolution: one raster pixel per device pixel

// The page as grey levels, one pixel per printer device pixel, without smoothing.
QImage rasterise(const std::string& pdf, const std::string& stem)
{
    runPoppler(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(kRasterDpi), QStringLiteral("-gray"),
                                            QStringLiteral("-aa"), QStringLiteral("no"), QStringLiteral("-aaVector"),
                                            QStringLiteral("no"), QStringLiteral("-singlefile"),
                                            QString::fromStdString(pdf), QString::fromStdString(stem)});
    QImage page(QString::fromStdString(stem + ".pgm"));
    return page.convertToFormat(QImage::Format_Grayscale8);
}

int grey(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)); }
bool ink(const QImage& image, int x, int y) { return grey(image, x, y) < 128; }

// Rows (or columns) holding ink inside a band of the page.
bool inkIn(const QImage& image, const QRect& band)
{
    const QRect r = band.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (ink(image, x, y))
                return true;
    return false;
}

// The leftmost column with ink inside a band, or -1.
int firstInkColumn(const QImage& image, const QRect& band)
{
    const QRect r = band.intersected(image.rect());
    for (int x = r.left(); x <= r.right(); ++x)
        for (int y = r.top(); y <= r.bottom(); ++y)
            if (ink(image, x, y))
                return x;
    return -1;
}

// Spread of grey levels over a region: about zero where nothing is drawn.
int spread(const QImage& image, const QRect& region)
{
    int low = 255, high = 0;
    const QRect r = region.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            low = std::min(low, grey(image, x, y));
            high = std::max(high, grey(image, x, y));
        }
    return high - low;
}

// The dialogs as a test opens them: on a settings file (no line traffic), or on
// the instrument where what is shown depends on it.
enum class Subject {
    CalibrationOnUnit,  // COMPARE offered
    CalibrationOnFile,
    FactoryOnUnit,  // COMPARE offered
    FactoryOnFile,
    MakerOnFile,
    CanOnFile,
    MeasurementOnFile,
    MeasurementOnUnit,  // before its first poll
};

struct SubjectFacts {
    Subject subject;
    const char* name;
    const char* title;
    bool landscape;
    bool dateLine;
};

// The five callers, and the measurement dialog in both of its modes.
constexpr SubjectFacts kCallers[] = {
    {Subject::CalibrationOnFile, "calibration", "Calibration", true, true},
    {Subject::FactoryOnFile, "factory", "Factory", true, true},
    {Subject::MakerOnFile, "maker", "Hydromast", true, true},
    {Subject::CanOnFile, "CAN", "Can", true, true},
    {Subject::MeasurementOnFile, "measurement on a file", "Measurement", false, true},
    {Subject::MeasurementOnUnit, "measurement on the instrument", "Measurement", false, false},
};

// The bitmap buttons of each kind of dialog.
constexpr int kParameterButtons[] = {1035, 1045, 1036, 1198};
constexpr int kMeasurementButtons[] = {1035, 1032, 1039, 1037, 1045, 1004, 1048, 1049};
constexpr int kCalibrationOptions[] = {1135, 1139, 1145};

class DialogPrintingTest : public test::DialogFixture {
protected:
    DialogPrintingTest()
    {
        // A PDF file stands for the default printer, at the resolution a fine printer asks for.
        context.defaultPrinter = [this]() -> std::unique_ptr<QPrinter> {
            ++printerCalls;
            hiddenWhenPrinting.clear();
            for (int id : buttons())
                hiddenWhenPrinting.push_back(dialog->control(id)->isHidden());
            return pdfPrinter(printerPdf);
        };
        // The probe names do not matter here, and reading them takes the line a quarter second.
        link.markProbeCatalogueRead();
        locale.dateOrder = 1;
        locale.dateSeparator = ".";
        locale.timeSeparator = ":";
        locale.timeFormat = 1;
    }

    static std::unique_ptr<QPrinter> pdfPrinter(const std::string& path)
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(path));
        return printer;
    }

    TemplateDialog& open(Subject subject)
    {
        state.file.fileMode = false;
        switch (subject) {
        case Subject::CalibrationOnUnit: return open<CalibrationDialog>();
        case Subject::CalibrationOnFile: return openOnFile<CalibrationDialog>(filetypes::kCalibration);
        case Subject::FactoryOnUnit: return open<FactoryDialog>();
        case Subject::FactoryOnFile: return openOnFile<FactoryDialog>(filetypes::kFactory);
        case Subject::MakerOnFile: return openOnFile<MakerDialog>(filetypes::kMaker);
        case Subject::CanOnFile: return openOnFile<CanDialog>(filetypes::kCan);
        case Subject::MeasurementOnFile: {
            // One record: the reply frame of a measurement read.
            std::vector<char> bytes(2 + kMeasurementFrameSize, 0);
            bytes[0] = static_cast<char>(kMeasurementFrameSize);
            bytes[2] = 1, bytes[3] = 3, bytes[4] = 72;
            state.file.currentFilePath = dir.file("replay.mes");
            std::ofstream(state.file.currentFilePath, std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            state.file.fileMode = true;
            return open<MeasurementDialog>();
        }
        case Subject::MeasurementOnUnit: return open<MeasurementDialog>();
        }
        throw std::logic_error("no such dialog");
    }

    template <typename Dialog>
    Dialog& openOnFile(const FileType& type)
    {
        state.file.currentFilePath = dir.file("settings." + std::string(type.extension));
        EXPECT_EQ(writeDefaultSettingsFile(state.file.currentFilePath, type), FileStatus::Ok);
        state.file.fileMode = true;
        return open<Dialog>();
    }

    template <typename Dialog>
    Dialog& open()
    {
        auto owned = std::make_unique<Dialog>(context, nullptr);
        Dialog& d = *owned;
        dialog = std::move(owned);
        measurement = std::is_same_v<Dialog, MeasurementDialog>;
        EXPECT_TRUE(d.opening());
        d.show();
        QCoreApplication::processEvents();
        return d;
    }

    std::vector<int> buttons() const
    {
        std::vector<int> ids;
        if (measurement)
            ids.assign(std::begin(kMeasurementButtons), std::end(kMeasurementButtons));
        else
            ids.assign(std::begin(kParameterButtons), std::end(kParameterButtons));
        if (dynamic_cast<CalibrationDialog*>(dialog.get()))
            ids.insert(ids.end(), std::begin(kCalibrationOptions), std::end(kCalibrationOptions));
        // The maker and CAN dialogs have no COMPARE.
        std::erase_if(ids, [this](int id) { return dialog->control(id) == nullptr; });
        return ids;
    }

    std::vector<bool> hiddenNow() const
    {
        std::vector<bool> hidden;
        for (int id : buttons())
            hidden.push_back(dialog->control(id)->isHidden());
        return hidden;
    }

    // The PRINT button, or Ctrl+P while it is hidden (the measurement before its first poll).
    void pressPrint()
    {
        auto* button = dialog->control<QAbstractButton>(1045);
        if (button->isHidden())
            QTest::keyClick(dialog.get(), Qt::Key_P, Qt::ControlModifier);
        else
            button->click();
    }

    // The dialog's control `id` as it lands on a page printed from the dialog,
    // less a margin so that its neighbours stay out.
    QRect onPage(int id, const QRect& picture) const
    {
        const double kx = static_cast<double>(picture.width()) / dialog->width();
        const double ky = static_cast<double>(picture.height()) / dialog->height();
        const QWidget* w = dialog->control(id);
        const QPoint at = w->mapTo(dialog.get(), QPoint(0, 0));
        const QRect r(picture.left() + static_cast<int>(at.x() * kx), picture.top() + static_cast<int>(at.y() * ky),
                      static_cast<int>(w->width() * kx), static_cast<int>(w->height() * ky));
        return r.adjusted(3, 3, -3, -3);
    }

    // The outer edge of the frames: the first ink met from each side along the
    // middle row and column of the page, which the heading does not reach.
    static QRect frameOf(const QImage& page)
    {
        const int row = page.height() / 2, column = page.width() / 2;
        int left = 0, right = page.width() - 1, top = 0, bottom = page.height() - 1;
        while (left < right && !ink(page, left, row))
            ++left;
        while (right > left && !ink(page, right, row))
            --right;
        while (top < bottom && !ink(page, column, top))
            ++top;
        while (bottom > top && !ink(page, column, bottom))
            --bottom;
        return QRect(QPoint(left, top), QPoint(right, bottom));
    }

    std::unique_ptr<TemplateDialog> dialog;
    bool measurement = false;
    std::string printerPdf = dir.file("printer.pdf");
    int printerCalls = 0;
    std::vector<bool> hiddenWhenPrinting;
};

}  // namespace

TEST_F(DialogPrintingTest, EveryDialogPrintsOnePageNamedAfterItsTitleInItsOrientation)
{
    for (const SubjectFacts& s : kCallers) {
        SCOPED_TRACE(s.name);
        std::filesystem::remove(printerPdf);
        open(s.subject);
        pressPrint();
        const PdfFacts facts = readPdfFacts(printerPdf);
        EXPECT_EQ(facts.pages, 1);
        EXPECT_EQ(facts.title.toStdString(), s.title);
        if (s.landscape)
            EXPECT_GT(facts.width, facts.height);
        else
            EXPECT_LT(facts.width, facts.height);
        EXPECT_TRUE(prompts.boxes().empty());
    }
}

TEST_F(DialogPrintingTest, HeadingIsTheProgramsNameAndTheDateLineWhereAsked)
{
    const std::string program = readVersionStrings().internalName;
    ASSERT_FALSE(program.empty());
    for (const SubjectFacts& s : kCallers) {
        SCOPED_TRACE(s.name);
        open(s.subject);
        pressPrint();
        std::vector<std::string> expected = {program};
        if (s.dateLine)
            expected.push_back("05.03.2024 14:07:09");
        EXPECT_EQ(textLines(printerPdf), expected);
    }
}

TEST_F(DialogPrintingTest, DateLineFollowsTheLocaleItems)
{
    LocaleItems american;
    american.dateOrder = 0;
    american.dateSeparator = "/";
    american.timeFormat = 0;
    american.morning = "AM";
    american.afternoon = "PM";
    LocaleItems iso;
    iso.dateOrder = 2;
    iso.dateSeparator = "-";
    iso.timeSeparator = "h";
    const struct {
        LocaleItems items;
        const char* dateLine;
    } cases[] = {
        {american, "03/05/2024 02:07:09 PM"},
        {iso, "2024-03-05 14h07h09"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dateLine);
        locale = c.items;
        open(Subject::MakerOnFile);
        pressPrint();
        const std::vector<std::string> lines = textLines(printerPdf);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[1], c.dateLine);
    }
}

TEST_F(DialogPrintingTest, PictureSitsCentredInsideItsFramesUnderTheHeading)
{
    open(Subject::CalibrationOnFile);
    pressPrint();
    const QImage page = rasterise(printerPdf, dir.file("page"));
    ASSERT_FALSE(page.isNull());
    ASSERT_GT(page.width(), page.height()) << "landscape";

    // The printable area (HRES × VRES) within the page, one raster pixel per device pixel.
    std::unique_ptr<QPrinter> same = pdfPrinter(dir.file("unused.pdf"));
    same->setPageOrientation(QPageLayout::Landscape);
    const QRect printable = same->pageLayout().paintRectPixels(kRasterDpi);
    const QSize whole = same->pageLayout().fullRectPixels(kRasterDpi).size();
    ASSERT_NEAR(page.width(), whole.width(), 1);
    ASSERT_NEAR(page.height(), whole.height(), 1);

    // The picture: the dialog at 300 dpi over the screen's pixels per inch, centred.
    const int width = static_cast<int>(dialog->width() * (300.0 / dialog->logicalDpiX()));
    const int height = static_cast<int>(dialog->height() * (300.0 / dialog->logicalDpiY()));
    const int x0 = printable.width() / 2 - width / 2, y0 = printable.height() / 2 - height / 2;
    const QRect frame = frameOf(page);

    // Inside the frames, along the middle row and column: the picture, exactly
    // where the geometry puts it.
    const int row = page.height() / 2, column = page.width() / 2;
    int left = frame.left(), right = frame.right(), top = frame.top(), bottom = frame.bottom();
    while (left < right && ink(page, left, row))
        ++left;
    while (right > left && ink(page, right, row))
        --right;
    while (top < bottom && ink(page, column, top))
        ++top;
    while (bottom > top && ink(page, column, bottom))
        --bottom;
    // Rasterising rounds a line or an image edge on a pixel boundary either way: one pixel of slack.
    const QPoint origin = printable.topLeft();
    EXPECT_NEAR(left, origin.x() + x0, 1);
    EXPECT_NEAR(right, origin.x() + x0 + width - 1, 1);
    EXPECT_NEAR(top, origin.y() + y0, 1);
    EXPECT_NEAR(bottom, origin.y() + y0 + height - 1, 1);
    // Four one-pixel frames on each side, eight pixels across and down.
    EXPECT_NEAR(left - frame.left() + frame.right() - right, 8, 1) << "four frames left and right";
    EXPECT_NEAR(top - frame.top() + frame.bottom() - bottom, 8, 1) << "four frames above and below";
    EXPECT_FALSE(inkIn(page, QRect(frame.left() - 3, row - 3, 2, 6))) << "nothing just outside the frames";

    // The heading: the title's top at y0 / 4, the date line's at y0 / 2, each
    // beginning where the picture begins; nothing between them and the frames.
    const int em = 300 * 10 / 72;  // 10 points at 300 dpi
    const auto line = [&](int from, int to) { return QRect(0, from, page.width(), to - from); };
    const int title = origin.y() + y0 / 4, dateLine = origin.y() + y0 / 2;
    EXPECT_FALSE(inkIn(page, line(0, title))) << "nothing above the title";
    for (int at : {title, dateLine}) {
        SCOPED_TRACE(at == title ? "title" : "date line");
        const int first = firstInkColumn(page, line(at, at + em));
        EXPECT_GE(first, origin.x() + x0) << "starts at the picture's left edge";
        EXPECT_LE(first, origin.x() + x0 + em / 8) << "within a glyph's bearing";
        EXPECT_FALSE(inkIn(page, line(at + em + em / 2, at == title ? dateLine : frame.top() - 1)))
            << "one line high";
    }
}

TEST_F(DialogPrintingTest, ControlsTheDialogKeepsOffThePaperAreNotOnIt)
{
    open(Subject::CalibrationOnUnit);
    ASSERT_FALSE(dialog->control(1198)->isHidden()) << "COMPARE is offered on the instrument's values";
    pressPrint();
    const QImage page = rasterise(printerPdf, dir.file("page"));
    ASSERT_FALSE(page.isNull());
    const QRect picture = frameOf(page).adjusted(4, 4, -4, -4);
    for (int id : {1035, 1045, 1036, 1198, 1135, 1139, 1145})
        EXPECT_LE(spread(page, onPage(id, picture)), 8) << "control " << id << " is on the paper";
    // The same measure finds the controls that are printed.
    for (int id : {1082, 1054, 1120})
        EXPECT_GT(spread(page, onPage(id, picture)), 64) << "control " << id << " is missing from the paper";
}

TEST_F(DialogPrintingTest, FactoryDialogPrintsCompareWhenItIsOffered)
{
    open(Subject::FactoryOnUnit);
    ASSERT_FALSE(dialog->control(1198)->isHidden());
    pressPrint();
    const QImage page = rasterise(printerPdf, dir.file("page"));
    ASSERT_FALSE(page.isNull());
    const QRect picture = frameOf(page).adjusted(4, 4, -4, -4);
    EXPECT_GT(spread(page, onPage(1198, picture)), 64) << "COMPARE is printed";
    for (int id : {1035, 1045, 1036})
        EXPECT_LE(spread(page, onPage(id, picture)), 8) << "control " << id << " is on the paper";
}

TEST_F(DialogPrintingTest, ButtonsAreHiddenWhilePrintingAndComeBackAsTheyWere)
{
    for (Subject subject : {Subject::CalibrationOnUnit, Subject::CalibrationOnFile, Subject::FactoryOnUnit,
                            Subject::FactoryOnFile, Subject::MakerOnFile, Subject::CanOnFile,
                            Subject::MeasurementOnFile, Subject::MeasurementOnUnit}) {
        SCOPED_TRACE(static_cast<int>(subject));
        open(subject);
        const std::vector<int> ids = buttons();
        const std::vector<bool> before = hiddenNow();
        printerCalls = 0;
        pressPrint();
        ASSERT_EQ(printerCalls, 1);
        for (size_t i = 0; i < ids.size(); ++i) {
            // The factory dialog's COMPARE goes on the paper as it stands.
            const bool factory = subject == Subject::FactoryOnUnit || subject == Subject::FactoryOnFile;
            const bool kept = factory && ids[i] == 1198;
            EXPECT_EQ(hiddenWhenPrinting[i], kept ? before[i] : true) << "control " << ids[i] << " while printing";
        }
        EXPECT_EQ(hiddenNow(), before) << "visible ones are back, hidden ones stay hidden";
    }
}

TEST_F(DialogPrintingTest, CtrlPPrintsAsThePrintButtonDoes)
{
    for (Subject subject : {Subject::CalibrationOnFile, Subject::MeasurementOnFile}) {
        SCOPED_TRACE(static_cast<int>(subject));
        open(subject);
        printerCalls = 0;
        QTest::keyClick(dialog.get(), Qt::Key_P, Qt::ControlModifier);
        EXPECT_EQ(printerCalls, 1);
    }
}

TEST_F(DialogPrintingTest, WaitWindowIsUpWhileThePageIsMade)
{
    open(Subject::CalibrationOnFile);
    bool waiting = false;
    // The wait window lets timers run as it shows itself, in the middle of the printout.
    QTimer::singleShot(0, dialog.get(), [&] { waiting = !dialog->findChildren<WaitWindow*>().isEmpty(); });
    pressPrint();
    EXPECT_TRUE(waiting);
    EXPECT_TRUE(dialog->findChildren<WaitWindow*>().isEmpty()) << "and gone after";
}

TEST_F(DialogPrintingTest, WithoutAPrinterAPdfIsOfferedAndCancellingPrintsNothing)
{
    const struct {
        int32_t language;
        const char* title;
        const char* filter;
        const char* name;
    } cases[] = {
        {kFrench, "Pas d'imprimante par défaut : imprimer dans un fichier PDF", "Fichier PDF|*.pdf|", "Reglage Usine.pdf"},
        {kEnglish, "No default printer: print to a PDF file", "PDF File|*.pdf|", "Factory.pdf"},
    };
    context.defaultPrinter = [] { return std::unique_ptr<QPrinter>(); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        state.settings.language = c.language;
        prompts.clear();
        open(Subject::FactoryOnFile);
        const std::vector<bool> before = hiddenNow();
        prompts.chooseNextFile(std::nullopt);
        pressPrint();
        ASSERT_EQ(prompts.fileRequests().size(), 1u);
        const FileRequest& request = prompts.fileRequests()[0];
        EXPECT_EQ(request.title, c.title);
        EXPECT_EQ(request.filter, c.filter);
        EXPECT_EQ(request.initialFolder, state.settings.currentFolder);
        EXPECT_EQ(request.initialName, c.name) << "in the language";
        EXPECT_EQ(request.owner, dialog.get());
        EXPECT_TRUE(prompts.boxes().empty()) << "a cancel is not a failure";
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            EXPECT_NE(entry.path().extension(), ".pdf") << entry.path();
        EXPECT_EQ(hiddenNow(), before);
    }
}

TEST_F(DialogPrintingTest, WithoutAPrinterThePdfHoldsTheSamePage)
{
    open(Subject::CalibrationOnFile);
    pressPrint();
    const QImage printed = rasterise(printerPdf, dir.file("printed"));

    context.defaultPrinter = [] { return std::unique_ptr<QPrinter>(); };
    open(Subject::CalibrationOnFile);
    const std::string chosen = dir.file("chosen.pdf");
    prompts.chooseNextFile(chosen);
    pressPrint();
    ASSERT_EQ(prompts.fileRequests().size(), 1u);
    EXPECT_EQ(readPdfFacts(chosen).title, "Calibration");
    const QImage offered = rasterise(chosen, dir.file("offered"));
    ASSERT_FALSE(printed.isNull());
    EXPECT_TRUE(offered == printed) << "a different page";
}

TEST_F(DialogPrintingTest, FailedPrintoutIsReportedInTheUsersLanguage)
{
    const std::string unwritable = dir.file("no-such-folder/page.pdf");
    const struct {
        const char* name;
        bool printer;  // else the PDF offered in its place
        int32_t language;
        const char* caption;
        const char* text;
    } cases[] = {
        {"printer refuses the job", true, kEnglish, "PRINT", "Printing failed"},
        {"PDF cannot be written", false, kFrench, "IMPRESSION", "L'impression a échoué"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.clear();
        state.settings.language = c.language;
        if (c.printer)
            context.defaultPrinter = [&] { return pdfPrinter(unwritable); };
        else
            context.defaultPrinter = [] { return std::unique_ptr<QPrinter>(); };
        prompts.chooseNextFile(unwritable);
        open(Subject::CalibrationOnFile);
        const std::vector<bool> before = hiddenNow();
        pressPrint();
        ASSERT_EQ(prompts.boxes().size(), 1u);
        const RecordedBox& box = prompts.boxes()[0];
        EXPECT_EQ(box.caption, c.caption);
        EXPECT_EQ(box.text, std::string(c.text) + "\n" + unwritable);
        EXPECT_EQ(box.icon, BoxIcon::Error);
        EXPECT_EQ(box.buttons, BoxButtons::Ok);
        EXPECT_EQ(hiddenNow(), before);
    }
}

