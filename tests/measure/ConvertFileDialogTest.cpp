// The Convert File dialog: the conversion run from the measurement dialog,
// the spreadsheet started on the output, and cancelling.
#include "ConvertFileDialog.h"
#include "DialogFixture.h"
#include "MeasurementFrames.h"

#include <QProgressBar>
#include <QTimer>
#include <QTest>

#include <filesystem>

using namespace vantor;
using namespace vantor::test;

namespace {

class ConvertFileDialogTest : public DialogFixture {
protected:
    ConvertFileDialogTest()
    {
        std::filesystem::create_directory(dir.path() / "out");
        state.file.currentFilePath = input;
        state.settings.prnFolder = "/earlier/";
        state.settings.language = kEnglish;
        state.settings.spreadsheetPath = "/opt/sheet program/calc";
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

    std::string input = dir.file("site.mes");
    std::string output = dir.file("out/chosen.prn");
    std::unique_ptr<ConvertFileDialog> dialog = std::make_unique<ConvertFileDialog>(context, nullptr);
};

}  // namespace

TEST_F(ConvertFileDialogTest, ConvertsAndOpensTheSpreadsheetOnTheOutput)
{
    writeInput(3);
    locale.decimalSeparator = ",";
    prompts.chooseNextFile(output);
    ASSERT_TRUE(dialog->opening());
    EXPECT_EQ(prompts.fileRequests().at(0).initialName, "site.prn");
    EXPECT_EQ(prompts.fileRequests()[0].initialFolder, "/earlier/");
    EXPECT_EQ(state.settings.prnFolder, dir.file("out/"));
    QTRY_VERIFY_WITH_TIMEOUT(!started.empty(), 5000);
    EXPECT_EQ(started, (std::vector<std::string>{"/opt/sheet program/calc", output}));
    EXPECT_NE(readBytes(output).find("\t12,35\t"), std::string::npos) << "in the user's locale";
}

TEST_F(ConvertFileDialogTest, ANameEndingInCsvWritesTheCsv)
{
    writeInput(2);
    state.settings.spreadsheetPath.clear();
    prompts.chooseNextFile(dir.file("out/chosen.CSV"));
    ASSERT_TRUE(dialog->opening());
    dialog->show();
    QTRY_COMPARE_WITH_TIMEOUT(dialog->controlText(1264), QString("2"), 5000);
    EXPECT_TRUE(dialog->isVisible()) << "without a spreadsheet the counts stay on view";
    QTRY_COMPARE_WITH_TIMEOUT(prompts.boxes().size(), size_t{1}, 5000);
    EXPECT_EQ(prompts.boxes()[0].text, "File converted:\n" + dir.file("out/chosen.CSV") +
                                           "\n\nNo spreadsheet program is set to open it: Options > SpreadSheet.");
    const std::string csv = readBytes(dir.file("out/chosen.CSV"));
    EXPECT_EQ(csv.substr(0, 33), "\xEF\xBB\xBFN\xC2\xB0,Date and time,Flow,Q Unit,");
    EXPECT_NE(csv.find("\r\n2,2026-12-06T15:00:01,12.3456,m3/h,1.5,1480,"), std::string::npos);
}

TEST_F(ConvertFileDialogTest, ClosingDuringTheConversionKeepsTheOlderOutput)
{
    writeInput(20000);
    writeBytes(output, "older output");
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
    EXPECT_LT(bar->value(), 20000);
    EXPECT_EQ(readBytes(output), "older output");
    EXPECT_EQ(filesIn(dir.path() / "out"), std::vector<std::string>{"chosen.prn"});
    EXPECT_TRUE(started.empty());
}
