// Measurement files into spreadsheet text: the lines, the refused files, the
// replacement of an older output, and the Convert File dialog.
#include "BlockTables.h"
#include "Conversion.h"
#include "ConvertFileDialog.h"
#include "DialogFixture.h"
#include "JbusCrc.h"
#include "ValueCodec.h"

#include <QProgressBar>
#include <QTimer>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace vantor;

namespace {

const std::string kEnglishHeader = "N\xB0\tDate\tTime\tFlow\tQ Unit\tSpeed\tVelocity\n";
const std::string kFrenchHeader = "N\xB0\tDate\tHeure\tD\xE9"
                                  "bit\tUnit\xE9 Q\tVitesse\tC\xE9l\xE9rit\xE9\n";

// The record of the example: 6 Dec 2026 15:07:09, 12.3456 m3/h, 1.5 m/s, 1480 m/s.
MeasurementValues example()
{
    MeasurementValues v;
    v.flow = 12.3456f;
    v.speed = 1.5f;
    v.velocity = 1480;
    v.flowUnit = 4;
    v.day = 6;
    v.month = 12;
    v.year = 26;
    v.hour = 15;
    v.minute = 7;
    v.second = 9;
    return v;
}

// The reply frame of a measurement read, padded with zeros to `length`.
std::string frame(const MeasurementValues& values, size_t length = kMeasurementFrameSize)
{
    std::vector<uint8_t> frame(std::max(length, kMeasurementFrameSize), 0);
    frame[0] = 1;
    frame[1] = 3;
    frame[2] = static_cast<uint8_t>(kMeasurementBlock.imageSize());
    encodeImage(kMeasurementTable, values, std::span<uint8_t>(frame.data() + 3, kMeasurementBlock.imageSize()));
    const uint16_t crc = jbusCrc16(frame.data(), 75);
    frame[75] = static_cast<uint8_t>(crc & 0xFF);
    frame[76] = static_cast<uint8_t>(crc >> 8);
    return {frame.begin(), frame.end()};
}

std::string lengthWord(size_t length)
{
    return {static_cast<char>(length & 0xFF), static_cast<char>(length >> 8)};
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> filesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

template <typename Case>
std::string caseName(const ::testing::TestParamInfo<Case>& test)
{
    return test.param.name;
}

ConversionOptions english(const std::string& decimal = ".")
{
    ConversionOptions options;
    options.language = kEnglish;
    options.locale.decimalSeparator = decimal;
    return options;
}

class ConversionTest : public ::testing::Test {
protected:
    // Converts a file of the given records; the output's bytes.
    std::string convert(const std::vector<MeasurementValues>& records, const ConversionOptions& options)
    {
        std::string bytes = lengthWord(kMeasurementFrameSize);
        for (const auto& r : records)
            bytes += frame(r);
        writeBytes(input, bytes);
        const ConversionResult result = convertMeasurementFile(input, output, options);
        EXPECT_EQ(result.status, ConversionStatus::Done);
        EXPECT_EQ(result.records, static_cast<int64_t>(records.size()));
        return readBytes(output);
    }

    test::TempDir dir;
    std::string input = dir.file("site.mes");
    std::string output = dir.file("site.prn");
};

}  // namespace

TEST_F(ConversionTest, ExampleRecordGivesItsLineByteForByte)
{
    EXPECT_EQ(convert({example()}, english(",")),
              kEnglishHeader + "1\t06/12/2026\t15:07:09\t12,35\tm3/h\t1,500\t1480\t\n");
}

TEST_F(ConversionTest, FrenchHeaderIsInWindows1252)
{
    const std::string text = convert({example()}, ConversionOptions{});
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), kFrenchHeader);
}

TEST_F(ConversionTest, PointOfADateSeparatorBecomesTheDecimalSeparator)
{
    ConversionOptions options = english(",");
    options.locale.dateSeparator = ".";
    const std::string text = convert({example()}, options);
    EXPECT_EQ(text.substr(kEnglishHeader.size()), "1\t06,12,2026\t15:07:09\t12,35\tm3/h\t1,500\t1480\t\n");
}

TEST_F(ConversionTest, TwelveHourClockAndYearFirstOrderComeFromTheLocale)
{
    ConversionOptions options = english();
    options.locale.dateOrder = 2;
    options.locale.dateSeparator = "-";
    options.locale.timeFormat = 0;
    options.locale.afternoon = "PM";
    const std::string text = convert({example()}, options);
    EXPECT_EQ(text.substr(kEnglishHeader.size()), "1\t2026-12-06\t03:07:09 PM\t12.35\tm3/h\t1.500\t1480\t\n");
}

// Each record has its own date and time: nothing of an earlier line is reused.
TEST_F(ConversionTest, ConsecutiveRecordsShowTheirOwnDateAndTime)
{
    MeasurementValues second = example(), third = example();
    second.second = 10;
    third.day = 7;
    third.hour = 0;
    third.minute = 0;
    third.second = 0;
    const std::string text = convert({example(), second, third}, english());
    EXPECT_EQ(text.substr(kEnglishHeader.size()), "1\t06/12/2026\t15:07:09\t12.35\tm3/h\t1.500\t1480\t\n"
                                                  "2\t06/12/2026\t15:07:10\t12.35\tm3/h\t1.500\t1480\t\n"
                                                  "3\t07/12/2026\t00:00:00\t12.35\tm3/h\t1.500\t1480\t\n");
}

struct UnitCase {
    int language;
    int32_t unit;
    const char* text;
};

class ConversionUnitTest : public ConversionTest, public ::testing::WithParamInterface<UnitCase> {};

TEST_P(ConversionUnitTest, FlowUnitIsTheLanguagesText)
{
    MeasurementValues v = example();
    v.flowUnit = GetParam().unit;
    ConversionOptions options;
    options.language = GetParam().language;
    const std::string text = convert({v}, options);
    EXPECT_EQ(text.substr(text.find('\n') + 1), std::string("1\t06/12/2026\t15:07:09\t12.35\t") + GetParam().text +
                                                    "\t1.500\t1480\t\n");
}

INSTANTIATE_TEST_SUITE_P(Units, ConversionUnitTest,
                         ::testing::Values(UnitCase{kFrench, 5, "m3/j"}, UnitCase{kEnglish, 5, "m3/d"},
                                           UnitCase{kFrench, 0, " l/s"}, UnitCase{kEnglish, 11, "UKGl/d"},
                                           UnitCase{kEnglish, 12, "*****"}, UnitCase{kFrench, 255, "*****"}));

struct NumberCase {
    const char* name;
    float flow, speed, velocity;
    const char* fields;  // flow, unit, speed and velocity as the line shows them
};

class ConversionNumberTest : public ConversionTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(ConversionNumberTest, NumbersAreRoundedAutomaticallyAndNotClamped)
{
    MeasurementValues v = example();
    v.flow = GetParam().flow;
    v.speed = GetParam().speed;
    v.velocity = GetParam().velocity;
    const std::string text = convert({v}, english());
    EXPECT_EQ(text.substr(kEnglishHeader.size()), std::string("1\t06/12/2026\t15:07:09\t") + GetParam().fields + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, ConversionNumberTest,
    ::testing::Values(NumberCase{"TensAboveTenThousand", 12345.0f, 1.5f, 1480, "12350\tm3/h\t1.500\t1480\t"},
                      NumberCase{"NegativeVelocityIsSigned", 12.3456f, -2.25f, -1480, "12.35\tm3/h\t-2.250\t-1480\t"},
                      NumberCase{"HugeFlowShowsTheCeiling", 5e7f, 1.5f, 1480, "999999\tm3/h\t1.500\t1480\t"}),
    caseName<NumberCase>);

// A record longer than a measurement frame still holds the image behind the
// frame's first three bytes; the next record starts after all of it.
TEST_F(ConversionTest, LongerRecordsAreSteppedByTheirLength)
{
    MeasurementValues second = example();
    second.flow = 50.0f;
    writeBytes(input, lengthWord(100) + frame(example(), 100) + frame(second, 100));
    const ConversionResult result = convertMeasurementFile(input, output, english());
    EXPECT_EQ(result.status, ConversionStatus::Done);
    EXPECT_EQ(readBytes(output), kEnglishHeader + "1\t06/12/2026\t15:07:09\t12.35\tm3/h\t1.500\t1480\t\n" +
                                     "2\t06/12/2026\t15:07:09\t50.00\tm3/h\t1.500\t1480\t\n");
}

TEST_F(ConversionTest, PartialTrailingRecordIsIgnored)
{
    writeBytes(input, lengthWord(kMeasurementFrameSize) + frame(example()) + frame(example()) + frame(example()) + "x");
    const ConversionResult result = convertMeasurementFile(input, output, english());
    EXPECT_EQ(result.status, ConversionStatus::Done);
    EXPECT_EQ(result.records, 3);
    const std::string text = readBytes(output);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
    EXPECT_EQ(text.substr(text.rfind('\n', text.size() - 2) + 1), "3\t06/12/2026\t15:07:09\t12.35\tm3/h\t1.500\t1480\t\n");
}

struct RefusedCase {
    const char* name;
    std::string bytes;  // nothing is written for the missing file
    MeasurementFileStatus status;
};

class RefusedFileTest : public ConversionTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedFileTest, RefusedFileWritesNothingAndKeepsAnOlderOutput)
{
    if (std::string(GetParam().name) != "Missing")
        writeBytes(input, GetParam().bytes);
    writeBytes(output, "older output");
    const std::string fresh = dir.file("fresh.prn");
    int progressCalls = 0;
    for (const std::string& out : {output, fresh}) {
        const ConversionResult result = convertMeasurementFile(input, out, english(), [&](const ConversionProgress&) {
            ++progressCalls;
            return true;
        });
        EXPECT_EQ(result.status, ConversionStatus::Refused);
        EXPECT_EQ(result.fileStatus, GetParam().status);
        EXPECT_EQ(result.records, 0);
        EXPECT_NE(conversionProblem(result, input, out, kEnglish).find(input), std::string::npos);
    }
    EXPECT_EQ(progressCalls, 0);
    EXPECT_EQ(readBytes(output), "older output");
    EXPECT_FALSE(std::filesystem::exists(fresh));
    // No temporary file left behind either.
    const std::string mes = std::string(GetParam().name) == "Missing" ? "" : "site.mes";
    std::vector<std::string> expected{"site.prn"};
    if (!mes.empty())
        expected.insert(expected.begin(), mes);
    EXPECT_EQ(filesIn(dir.path()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, RefusedFileTest,
    ::testing::Values(
        RefusedCase{"Missing", "", MeasurementFileStatus::CannotOpen},
        RefusedCase{"ShorterThanTwoBytes", "M", MeasurementFileStatus::TooShort},
        RefusedCase{"LengthZero", lengthWord(0) + frame(example()), MeasurementFileStatus::BadRecordLength},
        RefusedCase{"Length76", lengthWord(76) + frame(example()), MeasurementFileStatus::BadRecordLength},
        RefusedCase{"Length513", lengthWord(513) + frame(example(), 513), MeasurementFileStatus::BadRecordLength},
        RefusedCase{"NoWholeRecord", lengthWord(77) + frame(example()).substr(0, 76), MeasurementFileStatus::NoRecord}),
    caseName<RefusedCase>);

TEST_F(ConversionTest, UnwritableOutputIsReportedAndNothingIsLeft)
{
    writeBytes(input, lengthWord(kMeasurementFrameSize) + frame(example()));
    const std::string out = dir.file("absent/site.prn");
    const ConversionResult result = convertMeasurementFile(input, out, english());
    EXPECT_EQ(result.status, ConversionStatus::CannotWrite);
    EXPECT_NE(conversionProblem(result, input, out, kEnglish).find(out), std::string::npos);
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"site.mes"});
}

TEST_F(ConversionTest, ProgressComesEveryIntervalAndAtTheEnd)
{
    std::string bytes = lengthWord(kMeasurementFrameSize);
    for (int i = 0; i < 10; ++i) {
        MeasurementValues v = example();
        v.second = i;
        bytes += frame(v);
    }
    writeBytes(input, bytes);
    std::vector<std::string> seen;
    const ConversionResult result = convertMeasurementFile(
        input, output, english(),
        [&](const ConversionProgress& p) {
            seen.push_back(std::to_string(p.done) + "/" + std::to_string(p.total) + " " + p.firstDateTime + " - " +
                           p.lastDateTime);
            return true;
        },
        4);
    EXPECT_EQ(result.status, ConversionStatus::Done);
    EXPECT_EQ(seen, (std::vector<std::string>{"4/10 06/12/2026 15:07:00 - 06/12/2026 15:07:03",
                                              "8/10 06/12/2026 15:07:00 - 06/12/2026 15:07:07",
                                              "10/10 06/12/2026 15:07:00 - 06/12/2026 15:07:09"}));
}

TEST_F(ConversionTest, StoppedConversionKeepsTheOlderOutput)
{
    std::string bytes = lengthWord(kMeasurementFrameSize);
    for (int i = 0; i < 10; ++i)
        bytes += frame(example());
    writeBytes(input, bytes);
    writeBytes(output, "older output");
    const ConversionResult result =
        convertMeasurementFile(input, output, english(), [](const ConversionProgress&) { return false; }, 4);
    EXPECT_EQ(result.status, ConversionStatus::Cancelled);
    EXPECT_EQ(readBytes(output), "older output");
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"site.mes", "site.prn"}));
}

TEST_F(ConversionTest, CompletedConversionReplacesTheOlderOutput)
{
    writeBytes(output, std::string(5000, 'z'));
    EXPECT_EQ(convert({example()}, english()), kEnglishHeader + "1\t06/12/2026\t15:07:09\t12.35\tm3/h\t1.500\t1480\t\n");
}

struct NameCase {
    const char* input;
    const char* proposed;
};

class ProposedNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ProposedNameTest, EveryMesOfTheFileNameBecomesPrn)
{
    EXPECT_EQ(proposedOutputName(GetParam().input), GetParam().proposed);
}

INSTANTIATE_TEST_SUITE_P(Names, ProposedNameTest,
                         ::testing::Values(NameCase{"a.mes.mes", "a.prn.prn"}, NameCase{"/data/site.mes", "site.prn"},
                                           NameCase{"C:\\logs\\site.mes", "site.prn"},
                                           NameCase{"/runs.mes/day.mes", "day.prn"},
                                           NameCase{"site.MES", "site.MES"}));

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
    EXPECT_EQ(request.filter, "File Out(*.prn)|*.prn|");
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

TEST_F(ConvertFileDialogTest, FrenchDialogOffersTheFrenchFilter)
{
    writeInput(1);
    state.settings.language = kFrench;
    ASSERT_FALSE(dialog->opening());
    ASSERT_EQ(prompts.fileRequests().size(), 1u);
    EXPECT_EQ(prompts.fileRequests()[0].filter, "Fichier de Sortie(*.prn)|*.prn|");
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
