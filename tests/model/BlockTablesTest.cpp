// The register map: fields that a new file leaves at 0 (the simulated
// instrument's defaults are checked in tests/sim), each on hand-made bytes.
#include "BlockTables.h"
#include "ValueCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantor;

namespace {

std::vector<uint8_t> hex(const std::string& text)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i + 1 < text.size(); i += 3)
        out.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    return out;
}

}  // namespace

// Fields whose defaults are all 0 cannot show in a new file: hand-made images
// put a value of its own in each, where the instrument keeps it.
TEST(BlockTables, HandMadeImagesDecodeEachFieldFromItsBytes)
{
    FactoryValues f;
    decodeImage(kFactoryTable, std::span<const uint8_t>(hex("00 00 00 00 00 11 94 1E 05 00 00 FF 07 ")), f);
    EXPECT_EQ(f.angle1, 45.0f);
    EXPECT_EQ(f.t0Probe1, 3.0f) << "T0 SP1, byte 7";
    EXPECT_EQ(f.frequency1, 5) << "Frequency SP1, byte 8";
    EXPECT_EQ(f.t0Probe2, 25.5f);
    EXPECT_EQ(f.frequency2, 7);

    CanValues can;
    decodeImage(kCanTable, std::span<const uint8_t>(hex("00 00 00 00 81 20 00 00 ")), can);
    EXPECT_EQ(can.flow + can.fault, 2) << "bits 0 and 7 of byte 4";
    EXPECT_EQ(can.probe, 1) << "Sonde, bit 5 of byte 5";
    EXPECT_EQ(can.probeType, 0) << "Type Sonde, bit 6 of byte 5";

    std::vector<uint8_t> image(72, 0);
    const std::vector<uint8_t> times = hex("44 48 40 00 43 3E CC CD FF 38 ");  // 801 ns, 190.8 µs, -200
    std::copy(times.begin(), times.begin() + 8, image.begin() + 30);
    std::copy(times.begin() + 8, times.end(), image.begin() + 24);
    MeasurementValues m;
    decodeImage(kMeasurementTable, std::span<const uint8_t>(image), m);
    EXPECT_EQ(m.deltaT, 801.0f) << "DeltaT, bytes 30-33";
    EXPECT_EQ(m.time, 190.8f) << "Time, bytes 34-37";
    EXPECT_EQ(m.velocity, -200.0f) << "a signed word";
}
