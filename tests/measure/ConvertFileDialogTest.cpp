// The Convert File dialog: the conversion run from the measurement dialog,
// its progress, the spreadsheet started on the output, and cancelling.
#include "Conversion.h"
#include "ConvertFileDialog.h"
#include "DialogFixture.h"
#include "MeasurementFrames.h"

#include <QProgressBar>
#include <QTimer>
#include <QTest>

#include <filesystem>

using namespace vantor;
using namespace vantor::test;

// ---- The dialog.

namespace {

class ConvertFileDialogTest : public test::DialogFixture {
protected:
    ConvertFileDialogTest()
    {
        std::filesystem::create_directory(dir.path() / "out");
        state.file.currentFilePath = input;
        state.settings.prnFolder = "/earlier/";
        state.settings.language = kEnglish;
    }

    void writeInput(int records)
    {
        std::string bytes = lengthWord(kMeasurementFrameSize);
        for (int i = 0; i < records; ++i) {
            MeasurementValues v = example();
            v.minute = i / 60 % 60;
            v.second = i % 60;
            bytes += frame(v);
        }
        writeBytes(input, bytes);
    }
    std::string text(int id) const { return dialog->controlText(id).toStdString(); }
    // What the routine writes for the input, with the dialog's language and locale.
    std::string expectedOutput()
    {
        const std::string reference = dir.file("reference.prn");
        ConversionOptions options;
        options.language = context.language();
        options.locale = locale;
        EXPECT_EQ(convertMeasurementFile(input, reference, options).status, ConversionStatus::Done);
        const std::string bytes = readBytes(reference);
        std::filesystem::remove(reference);
        return bytes;
    }

    std::string input = dir.file("site.mes");
    std::string output = dir.file("out/chosen.prn");
    std::unique_ptr<ConvertFileDialog> dialog = std::make_unique<ConvertFileDialog>(context, nullptr);
};

}  // namespace

TEST_F(ConvertFileDialogTest, ConvertsAndOpensTheSpreadsheetWithTwoArguments)
{
    writeInput(3);
    locale.decimalSeparator = ",";
    state.settings.spreadsheetPath = "/opt/sheet program/calc";
    prompts.chooseNextFile(output);
    ASSERT_TRUE(dialog->opening());
    ASSERT_EQ(prompts.fileRequests().size(), 1u);
    const FileRequest& request = prompts.fileRequests()[0];
    EXPECT_EQ(request.filter, "File Out(*.prn)|*.prn|CSV UTF-8 File(*.csv)|*.csv|");
    EXPECT_EQ(request.initialName, "site.prn");
    EXPECT_EQ(request.initialFolder, "/earlier/");
    EXPECT_EQ(state.settings.prnFolder, dir.file("out/"));
    EXPECT_EQ(text(1270), input);
    EXPECT_EQ(text(1271), output);
    EXPECT_EQ(text(1262), "3");

    QTRY_VERIFY_WITH_TIMEOUT(!started.empty(), 5000);
    EXPECT_EQ(started, (std::vector<std::string>{"/opt/sheet program/calc", output}));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(readBytes(output), expectedOutput());
    EXPECT_NE(readBytes(output).find("12,35"), std::string::npos);
    EXPECT_TRUE(prompts.boxes().empty());
}

TEST_F(ConvertFileDialogTest, WithoutSpreadsheetTheFinalCountsStayOnView)
{
    writeInput(5000);
    prompts.chooseNextFile(output);
    ASSERT_TRUE(dialog->opening());
    dialog->show();
    QTRY_COMPARE_WITH_TIMEOUT(text(1264), std::string("5000"), 5000);
    EXPECT_EQ(text(1262), "5000");
    EXPECT_EQ(text(1268), "06/12/2026 15:00:00");
    EXPECT_EQ(text(1266), "06/12/2026 15:23:19");
    EXPECT_EQ(dialog->control<QProgressBar>(1258)->value(), 5000);
    EXPECT_EQ(dialog->control<QProgressBar>(1258)->maximum(), 5000);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(readBytes(output), expectedOutput());
}

TEST_F(ConvertFileDialogTest, ANameEndingInCsvWritesTheCsv)
{
    writeInput(2);
    prompts.chooseNextFile(dir.file("out/chosen.CSV"));
    ASSERT_TRUE(dialog->opening());
    dialog->show();
    QTRY_COMPARE_WITH_TIMEOUT(text(1264), std::string("2"), 5000);
    const std::string csv = readBytes(dir.file("out/chosen.CSV"));
    EXPECT_EQ(csv.substr(0, 33), "\xEF\xBB\xBFN\xC2\xB0,Date and time,Flow,Q Unit,");
    EXPECT_NE(csv.find("\r\n2,2026-12-06T15:00:01,12.3456,m3/h,1.5,1480,"), std::string::npos);
}

TEST_F(ConvertFileDialogTest, FrenchDialogOffersTheFrenchFilter)
{
    writeInput(1);
    state.settings.language = kFrench;
    ASSERT_FALSE(dialog->opening());
    ASSERT_EQ(prompts.fileRequests().size(), 1u);
    EXPECT_EQ(prompts.fileRequests()[0].filter, "Fichier de Sortie(*.prn)|*.prn|Fichier CSV UTF-8(*.csv)|*.csv|");
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Convertir Fichier");
    EXPECT_EQ(text(1273), "Fichier d'entr\xC3\xA9"
                          "e");
}

TEST_F(ConvertFileDialogTest, CancellingTheSavePromptWritesNothing)
{
    writeInput(3);
    state.settings.spreadsheetPath = "/opt/calc";
    EXPECT_FALSE(dialog->opening());  // an empty script cancels
    QTest::qWait(250);
    EXPECT_EQ(state.settings.prnFolder, "/earlier/");
    EXPECT_TRUE(filesIn(dir.path() / "out").empty());
    EXPECT_TRUE(started.empty());
    EXPECT_TRUE(prompts.boxes().empty());
}

TEST_F(ConvertFileDialogTest, RefusedFileSaysSoAndAsksForNoOutput)
{
    writeBytes(input, "M");
    prompts.chooseNextFile(output);
    EXPECT_FALSE(dialog->opening());
    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_EQ(prompts.boxes()[0].icon, BoxIcon::Error);
    EXPECT_EQ(prompts.boxes()[0].text, measurementFileProblem(MeasurementFileStatus::TooShort, input, kEnglish));
    EXPECT_TRUE(prompts.fileRequests().empty());
    QTest::qWait(250);
    EXPECT_TRUE(filesIn(dir.path() / "out").empty());
}

// The file went bad between the opening and the conversion.
TEST_F(ConvertFileDialogTest, ConversionThatWroteNoFileStartsNoSpreadsheet)
{
    writeInput(3);
    state.settings.spreadsheetPath = "/opt/calc";
    prompts.chooseNextFile(output);
    ASSERT_TRUE(dialog->opening());
    writeBytes(input, lengthWord(kMeasurementFrameSize));
    QTRY_COMPARE_WITH_TIMEOUT(prompts.boxes().size(), size_t{1}, 5000);
    EXPECT_NE(prompts.boxes()[0].text.find("No record was converted"), std::string::npos);
    EXPECT_TRUE(started.empty());
    EXPECT_TRUE(filesIn(dir.path() / "out").empty());
}

TEST_F(ConvertFileDialogTest, ClosingDuringTheConversionKeepsTheOlderOutput)
{
    writeInput(20000);
    writeBytes(output, "older output");
    state.settings.spreadsheetPath = "/opt/calc";
    prompts.chooseNextFile(output);
    ASSERT_TRUE(dialog->opening());
    dialog->show();
    // The close box, clicked once the conversion shows it is under way: an
    // event the dialog only sees if it keeps handling events meanwhile.
    QProgressBar* bar = dialog->control<QProgressBar>(1258);
    bool clicked = false;
    QObject::connect(bar, &QProgressBar::valueChanged, dialog.get(), [&](int value) {
        if (value > 0 && !clicked)
            QTimer::singleShot(0, dialog.get(), &QWidget::close);
        clicked = clicked || value > 0;
    });
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 5000);
    EXPECT_GT(bar->value(), 0);
    EXPECT_LT(bar->value(), 20000);
    EXPECT_EQ(readBytes(output), "older output");
    EXPECT_EQ(filesIn(dir.path() / "out"), std::vector<std::string>{"chosen.prn"});
    EXPECT_TRUE(started.empty());
}
