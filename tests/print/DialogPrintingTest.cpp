// Printing a dialog: real pages written as PDF files and read back with
// poppler's tools (pdfinfo, pdftotext, pdftoppm). Only what shows on the page
// itself is checked here.
#include "CalibrationDialog.h"
#include "DialogFixture.h"
#include "MeasurementDialog.h"
#include "MeasurementFrames.h"
#include "SettingsFiles.h"
#include "VersionStrings.h"

#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace vantor;

namespace {

// What one of poppler's tools printed; a missing tool or a failed run fails the test.
QString runPoppler(const QString& tool, const QStringList& arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
#ifdef _WIN32
    if (program.isEmpty())
        return {};  // the test skips: see havePoppler
#endif
    if (program.isEmpty()) {
        ADD_FAILURE() << tool.toStdString() << " is missing: scripts/install-deps installs poppler-utils";
        return {};
    }
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        ADD_FAILURE() << tool.toStdString() << " failed: " << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}


class DialogPrintingTest : public test::DialogFixture {
protected:
    DialogPrintingTest()
    {
        context.defaultPrinter = [this] {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(QString::fromStdString(printerPdf));
            return printer;
        };
        link.markProbeCatalogueRead();  // the probe names do not show on paper
        locale.dateSeparator = ".";  // day, month, year on a 24-hour clock otherwise
    }

    enum Subject { CalibrationOnFile, MeasurementOnFile, LiveMeasurement };

    // Opens the dialog and prints it with Ctrl+P, as the user does.
    void print(Subject subject)
    {
        state.file.fileMode = subject != LiveMeasurement;
        state.file.currentFilePath = dir.file(subject == CalibrationOnFile ? "unit.eta" : "run.mes");
        const auto keep = [this](auto opened) { EXPECT_TRUE(opened->opening()); dialog = std::move(opened); };
        if (subject == CalibrationOnFile) {
            EXPECT_EQ(writeDefaultSettingsFile(state.file.currentFilePath, filetypes::kCalibration), FileStatus::Ok);
            keep(std::make_unique<CalibrationDialog>(context, nullptr));
        } else {
            test::writeBytes(state.file.currentFilePath, test::lengthWord(kMeasurementFrameSize) + test::frame(test::example()));
            keep(std::make_unique<MeasurementDialog>(context, nullptr));
        }
        dialog->show();
        QTest::keyClick(dialog.get(), Qt::Key_P, Qt::ControlModifier);
    }

    std::unique_ptr<TemplateDialog> dialog;
    std::string printerPdf = dir.file("printer.pdf");
};

// poppler's tools read the printed pages. They are Linux programs: the
// Windows build reads its pages where they are there (WINEPATH can name them).
bool havePoppler()
{
#ifdef _WIN32
    return !QStandardPaths::findExecutable("pdftotext").isEmpty();
#else
    return true;
#endif
}

}  // namespace

TEST_F(DialogPrintingTest, ThePageCarriesTheDateOfPrintingExceptForALiveMeasurement)
{
    if (!havePoppler())
        GTEST_SKIP() << "poppler's pdftotext and pdftoppm are not on this system";
    const std::string heading = readVersionStrings().internalName;
    ASSERT_FALSE(heading.empty());
    for (Subject subject : {CalibrationOnFile, MeasurementOnFile, LiveMeasurement}) {
        SCOPED_TRACE(subject);
        print(subject);
        // The page's texts: the picture is an image and holds none.
        const QString texts = runPoppler("pdftotext", {QString::fromStdString(printerPdf), "-"}).simplified();
        EXPECT_EQ(texts.toStdString(), heading + (subject != LiveMeasurement ? " 05.03.2024 14:07:09" : ""));
    }
}

TEST_F(DialogPrintingTest, TheFrameIsFourPrinterPixelsThick)
{
    if (!havePoppler())
        GTEST_SKIP() << "poppler's pdftotext and pdftoppm are not on this system";
    print(CalibrationOnFile);
    // One raster pixel per printer pixel (the resolution is capped at 300 dpi), without smoothing.
    const std::string stem = dir.file("page");
    runPoppler("pdftoppm", {"-r", "300", "-gray", "-aa", "no", "-aaVector", "no", "-singlefile",
                            QString::fromStdString(printerPdf), QString::fromStdString(stem)});
    const QImage page(QString::fromStdString(stem + ".pgm"));
    ASSERT_FALSE(page.isNull());
    // Along the middle row and column, which the heading does not reach: the
    // ink met from each side before the picture's own pixels.
    const auto ink = [&](int x, int y) { return qGray(page.pixel(x, y)) < 128; };
    const auto inkRun = [&](int x, int y, int dx, int dy) {
        while (page.valid(x, y) && !ink(x, y))
            x += dx, y += dy;
        int run = 0;
        for (; page.valid(x, y) && ink(x, y); x += dx, y += dy)
            ++run;
        return run;
    };
    const int row = page.height() / 2, column = page.width() / 2;
    EXPECT_NEAR(inkRun(0, row, 1, 0) + inkRun(page.width() - 1, row, -1, 0), 8, 1) << "left and right";
    EXPECT_NEAR(inkRun(column, 0, 0, 1) + inkRun(column, page.height() - 1, 0, -1), 8, 1) << "above and below";
}

// No default printer: the page goes to the PDF file chosen, named with its extension.
TEST_F(DialogPrintingTest, WithoutAPrinterThePageGoesToAPdfFileWithItsExtension)
{
    context.defaultPrinter = [] { return std::unique_ptr<QPrinter>(); };
    prompts.chooseNextFile(dir.file("site 12"));
    print(CalibrationOnFile);
    ASSERT_EQ(prompts.fileRequests().size(), 1u);
    EXPECT_EQ(prompts.fileRequests()[0].initialName, "Étalonnage.pdf");
    EXPECT_EQ(test::readBytes(dir.file("site 12.pdf")).substr(0, 5), "%PDF-");
    EXPECT_FALSE(pathExists(dir.file("site 12")));
}
