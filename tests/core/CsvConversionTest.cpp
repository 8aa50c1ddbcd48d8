// Measurement files into comma-separated values: a file made by hand, its
// expected lines written out (the French texts are vantorctl's convert test's).
#include "Conversion.h"
#include "MeasurementFrames.h"
#include "ProgramState.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace vantor;
using namespace vantor::test;

namespace {

std::string fromHex(const std::string& hex)
{
    std::istringstream in(hex);
    std::string bytes;
    unsigned byte;
    while (in >> std::hex >> byte)
        bytes += static_cast<char>(byte);
    return bytes;
}

// Two records of 77 bytes: 6 Dec 2026 15:07:09, 12.3456 m3/h, 1.5 m/s, 1480 m/s,
// T1 123456789 in 1m3, T2 -42 in 10l, gain 47 dB, I.Q. 93 %, Kh 1.25 manual,
// time 190.75 us, DeltaT 250.5 ns, probe 9 at 125.5 mm, in fault; then one
// second later -0.75 m3/h, 0 m/s, Kh automatic, no fault.
const std::string kFile = fromHex(
    "4d 00"
    " 01 03 48 41 45 87 94 3f c0 00 00 07 5b cd 15 ff ff ff d6 12 53 04 00 00 01 01 00 05 c8 3f a0 00 00"
    " 43 7a 80 00 43 3e c0 00 0c 1a 0f 06 09 07 00 09 00 00 42 fb 00 00 2f 00 5d 00 56 32 2e 31 34 20 41"
    " 30 33 2d 32 36 01 00 02 00 b4 85"
    " 01 03 48 bf 40 00 00 00 00 00 00 07 5b cd 15 ff ff ff d6 12 53 04 00 00 00 00 00 05 c8 3f a0 00 00"
    " 43 7a 80 00 43 3e c0 00 0c 1a 0f 06 0a 07 00 09 00 00 42 fb 00 00 2f 00 5d 00 56 32 2e 31 34 20 41"
    " 30 33 2d 32 36 01 00 02 00 72 b5");

}  // namespace

// The locale's decimal comma is ignored.
TEST(CsvConversion, EveryFieldOfEveryRecordInItsColumn)
{
    test::TempDir dir;
    const std::string input = dir.file("site.mes"), output = dir.file("site.csv");
    writeBytes(input, kFile);
    ConversionOptions options;
    options.language = kEnglish;
    options.locale.decimalSeparator = ",";
    options.format = ConversionFormat::Csv;
    ProbeCatalogue probes;
    probes.names[9] = "SP2-80";
    options.probes = &probes;
    const ConversionResult result = convertMeasurementFile(input, output, options);
    EXPECT_EQ(result.status, ConversionStatus::Done);
    EXPECT_EQ(result.records, 2);
    EXPECT_EQ(readBytes(output),
              "\xEF\xBB\xBFN\xC2\xB0,Date and time,Flow,Q Unit,Flow speed (m/s),Sound velocity (m/s),T1,T1 Unit,T2,T2 Unit,"
              "Gain (dB),I.Q. (%),Kh,Kh Mode,Time (\xC2\xB5s),DeltaT (ns),Probe,D. Probe (mm),Fault State\r\n"
              "1,2026-12-06T15:07:09,12.3456,m3/h,1.5,1480,123456789,1m3,-42,10l,47,93,1.25,Manual,190.75,250.5,SP2-80,"
              "125.5,Fault\r\n"
              "2,2026-12-06T15:07:10,-0.75,m3/h,0,1480,123456789,1m3,-42,10l,47,93,1.25,Automatic,190.75,250.5,SP2-80,"
              "125.5,No Fault\r\n");
}
