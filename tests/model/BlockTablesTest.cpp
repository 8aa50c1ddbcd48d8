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

// Which storage a row's type code calls for.
template <typename Group>
bool storageMatches(const Descriptor<Group>& row)
{
    switch (row.type) {
    case kFloat32:
    case kScaledU16:
    case kScaledI24:
    case kScaledU8:
    case kScaledI16: return std::holds_alternative<float Group::*>(row.value);
    case kInt32:
    case kUint16:
    case kByte: return std::holds_alternative<int32_t Group::*>(row.value);
    case kBit:
    case kNibble: return std::holds_alternative<uint8_t Group::*>(row.value);
    case kText: return std::holds_alternative<Text Group::*>(row.value);
    default: return false;
    }
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
        EXPECT_TRUE(storageMatches(row)) << row.name;
        EXPECT_TRUE(row.name && *row.name) << "every row is named";
        if (row.type >= kScaledU16 && row.type <= kScaledI16) {
            EXPECT_GT(row.parameter, 0) << row.name << " needs a scale";
        }
    }
    EXPECT_EQ(uncoveredBytes(table, block), uncovered);
}

// The raw range a row's image can hold.
std::pair<double, double> rawRange(uint8_t type)
{
    switch (type) {
    case kScaledU16: return {0, 65535};
    case kScaledI24: return {-8388608, 8388607};
    case kScaledU8:
    case kByte: return {0, 255};
    case kBit: return {0, 1};
    default: return {0, 0};
    }
}

// Every writable row: its lowest, highest and a middle value encode and decode back.
template <typename Group>
void checkRoundTrips(DescriptorTable<Group> table, const BlockInfo& block)
{
    SCOPED_TRACE(block.name);
    for (const auto& row : table) {
        const auto [low, high] = rawRange(row.type);
        ASSERT_LT(low, high) << row.name << ": writable blocks use only types 3, 4, 6, 7 and 8";
        const double scale = rowScale(row.type, row.parameter);
        for (double raw : {low, high, std::floor((low + high) / 3), low + 1}) {
            Group group{};
            storeValue(group, row.value, raw / scale);
            std::vector<uint8_t> image(block.imageSize());
            encodeImage(table, group, std::span<uint8_t>(image));
            Group back{};
            decodeImage(table, std::span<const uint8_t>(image), back);
            EXPECT_NEAR(loadValue(back, row.value), raw / scale, 0.5 / scale) << row.name << " raw " << raw;
        }
    }
}

}  // namespace

TEST(BlockTables, NewCalibrationImage)
{
    EXPECT_EQ(defaults(kCalibrationTable, kCalibrationBlock),
              hex("01 00 01 05 04 00 04 1F 00 0B 0C 00 07 D0 01 0C 00 00 00 00 0A 00 0A 06 00 09 00 05 DC 00 "
                  "C8 00 05 00 0A 00 00 64 01 05 00 00 00 00 03 E8 00 03 E8 03 00 00 00 01 01 01 "));
}

TEST(BlockTables, NewMakerAndCanImages)
{
    EXPECT_EQ(defaults(kMakerTable, kMakerBlock), hex("01 5E 00 01 00 00 2A F8 D6 D8 "));
    EXPECT_EQ(defaults(kCanTable, kCanBlock), hex("02 05 00 00 00 00 00 00 "));
}

TEST(BlockTables, NewFactoryImage)
{
    std::vector<uint8_t> expected(48, 0);
    expected[1] = 0x01;
    expected[2] = 0x86;
    expected[3] = 0xA0;
    expected[4] = 0x0A;
    expected[15] = 0x03;
    for (int i = 16; i < 38; i += 2) {
        expected[i] = 0x03;
        expected[i + 1] = 0xE8;
    }
    expected[38] = 0x0A;
    expected[39] = 0x50;
    expected[43] = 0x0A;
    EXPECT_EQ(defaults(kFactoryTable, kFactoryBlock), expected);
}

TEST(BlockTables, DefaultImagesDecodeToTheDefaultValues)
{
    CalibrationValues c;
    decodeImage(kCalibrationTable, std::span<const uint8_t>(defaults(kCalibrationTable, kCalibrationBlock)), c);
    EXPECT_EQ(c.extDiameter, 26.1f);
    EXPECT_EQ(c.kh, 1.055f);
    EXPECT_EQ(c.roughness, 0.1f);
    EXPECT_EQ(c.thickness, 0.9f);
    EXPECT_EQ(c.maxQ, 10.0f);
    EXPECT_EQ(c.probe, 3);
    EXPECT_EQ(c.jbus, 1.0f);
}

TEST(BlockTables, CanFlagsFlowAndFault)
{
    CanValues can{};
    can.flow = 1;
    can.fault = 1;
    std::vector<uint8_t> image(8, 0xAA);
    encodeImage(kCanTable, can, std::span<uint8_t>(image));
    EXPECT_EQ(image[4], 0x81);
    EXPECT_EQ(image[5], 0);
    EXPECT_EQ(image[6], 0);
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

TEST(BlockTables, EveryWritableRowRoundTripsAtItsLimits)
{
    checkRoundTrips(kCalibrationTable, kCalibrationBlock);
    checkRoundTrips(kCanTable, kCanBlock);
    checkRoundTrips(kFactoryTable, kFactoryBlock);
    checkRoundTrips(kClockTable, kClockBlock);
    checkRoundTrips(kMakerTable, kMakerBlock);
}

TEST(BlockTables, BlockList)
{
    EXPECT_EQ(kCalibrationBlock.imageSize(), 56);
    EXPECT_EQ(kProbeCatalogueBlock.imageSize(), 240);
    EXPECT_EQ(kMeasurementBlock.imageSize(), 72);
    EXPECT_EQ(kUnitAddressBlock.firstRegister, kCalibrationBlock.firstRegister + 26)
        << "the address register is the calibration block's bytes 52 and 53";
}
