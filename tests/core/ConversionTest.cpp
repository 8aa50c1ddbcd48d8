// Measurement files into spreadsheet text: the lines, the refused files and the
// replacement of an older output.
#include "BlockTables.h"
#include "Conversion.h"
#include "MeasurementFrames.h"
#include "ProgramState.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace vantor;
using namespace vantor::test;

namespace {

const std::string kEnglishHeader = "N\xB0\tDate\tTime\tFlow\tQ Unit\tSpeed\tVelocity\n";
const std::string kFrenchHeader = "N\xB0\tDate\tHeure\tD\xE9"
                                  "bit\tUnit\xE9 Q\tVitesse\tC\xE9l\xE9rit\xE9\n";


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

// The user's conventions, the language and each record's own date and time.
TEST_F(ConversionTest, LinesInTheUsersConventions)
{
    MeasurementValues second = example(), third = example();
    second.second = 10;
    third.day = 7;
    third.hour = third.minute = third.second = 0;
    third.flowUnit = 5;
    MeasurementValues unknown = example();
    unknown.flowUnit = 12;
    const struct {
        const char* name;
        ConversionOptions options;
        std::vector<MeasurementValues> records;
        std::string expected;
    } rows[] = {
        {"the example", english(","), {example()}, kEnglishHeader + "1\t06/12/2026\t15:07:09\t12,35\tm3/h\t1,500\t1480\t\n"},
        {"French", ConversionOptions{}, {third},
         kFrenchHeader + "1\t07/12/2026\t00:00:00\t12.35\tm3/j\t1.500\t1480\t\n"},
        {"a point as date separator becomes the decimal separator",
         [] {
             ConversionOptions o = english(",");
             o.locale.dateSeparator = ".";
             return o;
         }(),
         {example()}, kEnglishHeader + "1\t06,12,2026\t15:07:09\t12,35\tm3/h\t1,500\t1480\t\n"},
        {"twelve-hour clock, year first",
         [] {
             ConversionOptions o = english();
             o.locale.dateOrder = 2;
             o.locale.dateSeparator = "-";
             o.locale.timeFormat = 0;
             o.locale.afternoon = "PM";
             return o;
         }(),
         {example()}, kEnglishHeader + "1\t2026-12-06\t03:07:09 PM\t12.35\tm3/h\t1.500\t1480\t\n"},
        {"a unit past the list", english(), {unknown},
         kEnglishHeader + "1\t06/12/2026\t15:07:09\t12.35\t*****\t1.500\t1480\t\n"},
        {"each record its own date and time", english(), {example(), second, third},
         kEnglishHeader + "1\t06/12/2026\t15:07:09\t12.35\tm3/h\t1.500\t1480\t\n"
                          "2\t06/12/2026\t15:07:10\t12.35\tm3/h\t1.500\t1480\t\n"
                          "3\t07/12/2026\t00:00:00\t12.35\tm3/d\t1.500\t1480\t\n"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(convert(row.records, row.options), row.expected) << row.name;
}

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
                      NumberCase{"SmallVelocityKeepsThreeDecimals", 12.3456f, 1.5f, 3, "12.35\tm3/h\t1.500\t3.000\t"},
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

TEST_F(ConversionTest, PartialTrailingRecordIsIgnoredAndTheOlderOutputReplaced)
{
    writeBytes(output, std::string(5000, 'z'));
    writeBytes(input, lengthWord(kMeasurementFrameSize) + frame(example()) + frame(example()) + frame(example()) + "x");
    const ConversionResult result = convertMeasurementFile(input, output, english());
    EXPECT_EQ(result.status, ConversionStatus::Done);
    EXPECT_EQ(result.records, 3);
    const std::string text = readBytes(output);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
    EXPECT_EQ(text.substr(text.rfind('\n', text.size() - 2) + 1), "3\t06/12/2026\t15:07:09\t12.35\tm3/h\t1.500\t1480\t\n");
}

// The reasons a file is refused are the measurement file's; here, what a
// refusal leaves: the older output, and no temporary file.
TEST_F(ConversionTest, ARefusedFileWritesNothingAndKeepsAnOlderOutput)
{
    writeBytes(input, lengthWord(77) + frame(example()).substr(0, 76));
    writeBytes(output, "older output");
    const ConversionResult result = convertMeasurementFile(input, output, english());
    EXPECT_EQ(result.status, ConversionStatus::Refused);
    EXPECT_EQ(result.fileStatus, MeasurementFileStatus::NoRecord);
    EXPECT_EQ(readBytes(output), "older output");
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"site.mes", "site.prn"}));
}

TEST_F(ConversionTest, UnwritableOutputIsReportedAndNothingIsLeft)
{
    writeBytes(input, lengthWord(kMeasurementFrameSize) + frame(example()));
    const std::string out = dir.file("absent/site.prn");
    const ConversionResult result = convertMeasurementFile(input, out, english());
    EXPECT_EQ(result.status, ConversionStatus::CannotWrite);
    EXPECT_NE(conversionProblem(result, input, out, kEnglish).find(out), std::string::npos);
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"site.mes"});
}

TEST_F(ConversionTest, TheRecordingItselfIsNeverTheOutput)
{
    const std::string recording = lengthWord(kMeasurementFrameSize) + frame(example());
    writeBytes(input, recording);
    for (const std::string& same : {input, dir.file("./site.mes")}) {
        const ConversionResult result = convertMeasurementFile(input, same, english());
        EXPECT_EQ(result.status, ConversionStatus::SameAsInput) << same;
        EXPECT_EQ(conversionProblem(result, input, same, kEnglish),
                  "No record was converted.\nThe output file is the input file:\n" + same);
        EXPECT_EQ(readBytes(input), recording);
    }
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

