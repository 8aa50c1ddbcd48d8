// Measurement files into spreadsheet text, line by line (what a refused or
// unwritable conversion leaves is vantorctl's convert test).
#include "BlockTables.h"
#include "Conversion.h"
#include "MeasurementFrames.h"
#include "ProgramState.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::test;

namespace {

const std::string kEnglishHeader = "N\xB0\tDate\tTime\tFlow\tQ Unit\tSpeed\tVelocity\n";

const std::string kFirst = "1\t06/12/2026\t15:07:09\t";

ConversionOptions english(const std::string& decimal = ".")
{
    ConversionOptions options;
    options.language = kEnglish;
    options.locale.decimalSeparator = decimal;
    return options;
}

MeasurementValues withNumbers(float flow, float speed, float velocity)
{
    MeasurementValues v = example();
    v.flow = flow;
    v.speed = speed;
    v.velocity = velocity;
    return v;
}

class ConversionTest : public ::testing::Test {
protected:
    // Converts a file of the given records, with a part of one after them, over
    // an older output; the output's bytes.
    std::string convert(const std::vector<MeasurementValues>& records, const ConversionOptions& options,
                        size_t length)
    {
        std::string bytes = lengthWord(length);
        for (const auto& r : records)
            bytes += frame(r, length);
        writeBytes(input, bytes + "x");
        writeBytes(output, std::string(5000, 'z'));
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

// The user's conventions and numbers rounded automatically, not clamped (the
// French text and each record's own date and time: vantorctl's convert test).
TEST_F(ConversionTest, LinesInTheUsersConventions)
{
    MeasurementValues unknown = example();
    unknown.flowUnit = 12;
    const struct {
        const char* name;
        ConversionOptions options;
        std::vector<MeasurementValues> records;
        std::string expected;
        size_t length = kMeasurementFrameSize;
    } rows[] = {
        {"the example", english(","), {example()}, kEnglishHeader + "1\t06/12/2026\t15:07:09\t12,35\tm3/h\t1,500\t1480\t\n"},
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
        {"a unit past the list", english(), {unknown}, kEnglishHeader + kFirst + "12.35\t*****\t1.500\t1480\t\n"},
        {"a negative velocity is signed", english(), {withNumbers(12.3456f, -2.25f, -1480)},
         kEnglishHeader + kFirst + "12.35\tm3/h\t-2.250\t-1480\t\n"},
        {"a small velocity keeps three decimals", english(), {withNumbers(12.3456f, 1.5f, 3)},
         kEnglishHeader + kFirst + "12.35\tm3/h\t1.500\t3.000\t\n"},
        // A record longer than a frame holds the image behind the frame's first
        // three bytes; the next starts after all of it.
        {"records stepped by their length", english(), {example(), withNumbers(50.0f, 1.5f, 1480)},
         kEnglishHeader + kFirst + "12.35\tm3/h\t1.500\t1480\t\n" + "2\t06/12/2026\t15:07:09\t50.00\tm3/h\t1.500\t1480\t\n",
         100},
    };
    for (const auto& row : rows)
        EXPECT_EQ(convert(row.records, row.options, row.length), row.expected) << row.name;
}

