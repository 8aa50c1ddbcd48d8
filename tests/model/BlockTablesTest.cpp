// The register map: default images byte for byte, table invariants, and every
// writable row round-tripping at its limits.
#include "BlockTables.h"
#include "ValueCodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

using namespace vantor;

namespace {

template <typename Group>
std::vector<uint8_t> defaults(DescriptorTable<Group> table, const BlockInfo& block)
{
    std::vector<uint8_t> image(block.imageSize(), 0xAA);
    encodeDefaults(table, std::span<uint8_t>(image));
    return image;
}

std::vector<uint8_t> hex(const std::string& text)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i + 1 < text.size(); i += 3)
        out.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    return out;
}

// Bits of the image that no row covers, as "byte" or "byte.bit" strings.
template <typename Group>
std::set<std::string> uncoveredBytes(DescriptorTable<Group> table, const BlockInfo& block)
{
    std::vector<uint8_t> covered(block.imageSize(), 0);
    for (const auto& row : table) {
        uint8_t mask = 0xFF;
        if (row.type == kBit)
            mask = static_cast<uint8_t>(1 << row.parameter);
        else if (row.type == kNibble)
            mask = row.parameter ? 0xF0 : 0x0F;
        for (int i = 0; i < imageWidth(row.type, row.parameter); ++i) {
            EXPECT_EQ(covered[row.offset + i] & mask, 0) << row.name << " overlaps another row";
            covered[row.offset + i] |= mask;
        }
    }
    std::set<std::string> out;
    for (size_t i = 0; i < covered.size(); ++i) {
        if (covered[i] == 0)
            out.insert(std::to_string(i));
        else
            for (int bit = 0; bit < 8; ++bit)
                if (!(covered[i] & (1 << bit)))
                    out.insert(std::to_string(i) + "." + std::to_string(bit));
    }
    return out;
}

template <typename Group>
void checkTable(DescriptorTable<Group> table, const BlockInfo& block, size_t rows, std::set<std::string> uncovered)
{
    SCOPED_TRACE(block.name);
    EXPECT_EQ(table.size(), rows);
    for (const auto& row : table) {
        EXPECT_TRUE(codec::rowFits(row.type, row.offset, row.parameter, block.imageSize())) << row.name;
    }
    EXPECT_EQ(uncoveredBytes(table, block), uncovered);
}

}  // namespace

TEST(BlockTables, NewFileImages)
{
    EXPECT_EQ(defaults(kCalibrationTable, kCalibrationBlock),
              hex("01 00 01 05 04 00 04 1F 00 0B 0C 00 07 D0 01 0C 00 00 00 00 0A 00 0A 06 00 09 00 05 DC 00 "
                  "C8 00 05 00 0A 00 00 64 01 05 00 00 00 00 03 E8 00 03 E8 03 00 00 00 01 01 01 "));
    EXPECT_EQ(defaults(kMakerTable, kMakerBlock), hex("01 5E 00 01 00 00 2A F8 D6 D8 "));
    EXPECT_EQ(defaults(kCanTable, kCanBlock), hex("02 05 00 00 00 00 00 00 "));
    EXPECT_EQ(defaults(kFactoryTable, kFactoryBlock),
              hex("00 01 86 A0 0A 00 00 00 00 00 00 00 00 00 00 03 03 E8 03 E8 03 E8 03 E8 03 E8 03 E8 "
                  "03 E8 03 E8 03 E8 03 E8 03 E8 0A 50 00 00 00 0A 00 00 00 00 "));
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

TEST(BlockTables, MeasurementDateBytes)
{
    std::vector<uint8_t> image(72, 0);
    const uint8_t date[] = {0x03, 0x1A, 0x0E, 0x05, 0x09, 0x07};
    std::copy(std::begin(date), std::end(date), image.begin() + 38);
    std::copy_n("V2.14 A03-26", 12, image.begin() + 56);
    MeasurementValues m;
    decodeImage(kMeasurementTable, std::span<const uint8_t>(image), m);
    EXPECT_EQ(m.day, 5);
    EXPECT_EQ(m.month, 3);
    EXPECT_EQ(m.year + 2000, 2026);
    EXPECT_EQ(m.hour, 14);
    EXPECT_EQ(m.minute, 7);
    EXPECT_EQ(m.second, 9);
    EXPECT_EQ(std::string(m.softwareVersion.data()), "V2.14 A03-26");
}

TEST(BlockTables, EveryTableCoversItsBlockAsMapped)
{
    checkTable(kMeasurementTable, kMeasurementBlock, 29, {"19", "20", "23", "53", "55", "69", "71"});
    checkTable(kCalibrationTable, kCalibrationBlock, 34, {});
    checkTable(kCanTable, kCanBlock, 26, {"6.6", "6.7", "7"});
    checkTable(kFactoryTable, kFactoryBlock, 28, {"44", "45", "46", "47"});
    checkTable(kClockTable, kClockBlock, 6, {});
    checkTable(kMakerTable, kMakerBlock, 5, {"4", "5"});
}

TEST(BlockTables, TheUnitsAddressIsTheCalibrationsBytes52And53)
{
    EXPECT_EQ(kUnitAddressBlock.firstRegister, kCalibrationBlock.firstRegister + 26);
}
