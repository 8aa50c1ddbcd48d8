// The codec on hand-made rows (every byte image of the type codes), and the
// register map's fields that a new file leaves at 0 on hand-made bytes (the
// simulated instrument's defaults are checked in tests/sim).
#include "BlockTables.h"
#include "ValueCodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace vantor;

namespace {

struct Sample {
    float number = 0;
    int32_t integer = 0;
};

using Rows = std::vector<Descriptor<Sample>>;

template <typename Value>
Descriptor<Sample> row(Value Sample::*value, uint8_t type, int16_t offset, int16_t parameter)
{
    return {value, type, offset, parameter, 0, "", ""};
}

std::vector<uint8_t> encode(const Rows& rows, const Sample& s, size_t size)
{
    std::vector<uint8_t> image(size, 0xAA);
    encodeImage<Sample>(rows, s, image);
    return image;
}

std::vector<uint8_t> hex(const std::string& text)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i + 1 < text.size(); i += 3)
        out.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    return out;
}

Sample decode(const Rows& rows, std::vector<uint8_t> image)
{
    Sample s;
    decodeImage<Sample>(rows, image, s);
    return s;
}

}  // namespace

// Each numeric type code on the bytes written out by hand, both ways.
TEST(ValueCodec, NumbersToAndFromTheirBytes)
{
    const struct {
        uint8_t type;
        int16_t scale;
        float value;
        std::vector<uint8_t> bytes;
    } rows[] = {
        {kScaledI24, 10, 26.1f, {0x00, 0x01, 0x05}},
        {kScaledI24, 10, -1.0f, {0xFF, 0xFF, 0xF6}},
        {kScaledI24, 10, -838860.8f, {0x80, 0x00, 0x00}},
        {kScaledI24, 1000, -999.999f, {0xF0, 0xBD, 0xC1}},
        {kScaledU16, 1000, 1.055f, {0x04, 0x1F}},
        {kScaledI16, 1, -100.0f, {0xFF, 0x9C}},
        {kScaledU8, 10, 25.0f, {0xFA}},
        {kFloat32, 0, -1.0f, {0xBF, 0x80, 0x00, 0x00}},
        // Exact halves, so that only the rounding rule decides: away from zero.
        {kScaledU8, 1, 12.5f, {0x0D}},
        {kScaledU8, 10, 0.25f, {0x03}},
        {kScaledI16, 1, -2.5f, {0xFF, 0xFD}},
        {kScaledI24, 10, -0.25f, {0xFF, 0xFF, 0xFD}},
    };
    for (const auto& r : rows) {
        const Rows one = {row(&Sample::number, r.type, 0, r.scale)};
        Sample s;
        s.number = r.value;
        EXPECT_EQ(encode(one, s, r.bytes.size()), r.bytes) << r.value << " at scale " << r.scale;
        const double scale = r.scale ? r.scale : 1;
        if (std::abs(r.value * scale - std::round(r.value * scale)) < 0.01) {  // halves do not come back
            EXPECT_FLOAT_EQ(decode(one, r.bytes).number, r.value) << r.value;
        }
    }
    // Out of its 16 bits, a value keeps the low ones (what the instrument would take).
    Sample s;
    s.number = 70.0f;
    EXPECT_EQ(encode({row(&Sample::number, kScaledU16, 0, 1000)}, s, 2), (std::vector<uint8_t>{0x11, 0x70}));
    s.number = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(encode({row(&Sample::number, kScaledI24, 0, 1000)}, s, 3), (std::vector<uint8_t>{0, 0, 0}));
}

namespace {

struct Flags {
    uint8_t b0 = 0, b1 = 0, b2 = 0, b3 = 0, b4 = 0, b5 = 0, b6 = 0, b7 = 0, high = 0, low = 0;
};

const Descriptor<Flags> kFlagRows[] = {
    {&Flags::b0, kBit, 0, 0, 1, "", ""},    {&Flags::b1, kBit, 0, 1, 0, "", ""},
    {&Flags::b2, kBit, 0, 2, 0, "", ""},    {&Flags::b3, kBit, 0, 3, 0, "", ""},
    {&Flags::b4, kBit, 0, 4, 0, "", ""},    {&Flags::b5, kBit, 0, 5, 0, "", ""},
    {&Flags::b6, kBit, 0, 6, 0, "", ""},    {&Flags::b7, kBit, 0, 7, 1, "", ""},
    {&Flags::high, kNibble, 1, 1, 2, "", ""}, {&Flags::low, kNibble, 1, 0, 9, "", ""},
};

}  // namespace

TEST(ValueCodec, BitsAndNibblesShareTheirByte)
{
    Flags f;
    decodeImage<Flags>(kFlagRows, std::vector<uint8_t>{0x80, 0x29}, f);
    EXPECT_EQ(f.b7, 1);
    EXPECT_EQ(f.b0 + f.b1 + f.b2 + f.b3 + f.b4 + f.b5 + f.b6, 0);
    EXPECT_EQ(f.high, 2);
    EXPECT_EQ(f.low, 9);

    Flags g{.b0 = 1, .b7 = 1, .high = 2, .low = 9};
    std::vector<uint8_t> image(2);
    encodeImage<Flags>(kFlagRows, g, image);
    EXPECT_EQ(image, (std::vector<uint8_t>{0x81, 0x29}));
    g.b3 = 3;     // only bit 0 of a flag counts
    g.high = 0x1F;  // kept to 8 bits after the shift
    g.low = 0x3A;   // only the low nibble
    encodeImage<Flags>(kFlagRows, g, image);
    EXPECT_EQ(image, (std::vector<uint8_t>{0x89, 0xFA}));
}

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
