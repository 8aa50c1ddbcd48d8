// The simulated instrument's answers, frame by frame, without a line.
#include "Instrument.h"
#include "JbusCrc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>

using namespace vantor::sim;

namespace {

std::vector<uint8_t> frame(std::initializer_list<int> bytes)
{
    std::vector<uint8_t> f;
    for (int b : bytes)
        f.push_back(static_cast<uint8_t>(b));
    appendCrc(f);
    return f;
}

std::vector<uint8_t> read(uint8_t address, uint16_t first, uint16_t count)
{
    return frame({address, 3, first >> 8, first & 0xFF, count >> 8, count & 0xFF});
}

std::vector<uint8_t> write(uint8_t address, uint16_t first, const std::vector<uint8_t>& image)
{
    const auto count = static_cast<uint8_t>(image.size() / 2);
    std::vector<uint8_t> f;
    for (uint8_t b : {address, uint8_t{16}, static_cast<uint8_t>(first >> 8), static_cast<uint8_t>(first),
                      uint8_t{0}, count, static_cast<uint8_t>(2 * count)})
        f.push_back(b);
    for (uint8_t b : image)
        f.push_back(b);
    appendCrc(f);
    return f;
}

float floatAt(const std::vector<uint8_t>& reply, size_t imageOffset)
{
    const size_t at = 3 + imageOffset;
    const uint32_t bits = (uint32_t{reply[at]} << 24) | (reply[at + 1] << 16) | (reply[at + 2] << 8) | reply[at + 3];
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

int32_t int32At(const std::vector<uint8_t>& reply, size_t imageOffset)
{
    const size_t at = 3 + imageOffset;
    return static_cast<int32_t>((uint32_t{reply[at]} << 24) | (reply[at + 1] << 16) | (reply[at + 2] << 8) | reply[at + 3]);
}

}  // namespace

TEST(Instrument, AnswersReadsOfItsBlocksWithAValidFrame)
{
    Instrument unit;
    std::vector<uint8_t> reply;
    ASSERT_TRUE(unit.handle(read(1, 0x5000, 120), 0, reply));
    ASSERT_EQ(reply.size(), 245u);
    EXPECT_EQ(vantor::jbusCrc16(reply.data(), 245), 0) << "a frame followed by its own CRC checks to zero";
    // Entry 0 and the first entry with an angle.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&reply[3]), 6), "SP1-25");
    int filled = 0, angled = 0;
    for (int i = 0; i < 24; ++i) {
        filled += reply[3 + 10 * i] != 0;
        angled += (reply[3 + 10 * i + 8] | reply[3 + 10 * i + 9]) != 0;
    }
    EXPECT_EQ(filled, 17);
    EXPECT_GT(angled, 0);
}

TEST(Instrument, RefusesWhatItDoesNotHold)
{
    Instrument unit;
    std::vector<uint8_t> reply;
    ASSERT_TRUE(unit.handle(frame({1, 4, 0x11, 0x00, 0, 1}), 0, reply));
    EXPECT_EQ(reply, frame({1, 0x84, 1}));
    ASSERT_TRUE(unit.handle(read(1, 0x4000, 2), 0, reply));
    EXPECT_EQ(reply, frame({1, 0x83, 2}));
    ASSERT_TRUE(unit.handle(read(1, 0x111E, 3), 0, reply)) << "0x111E and 0x111F are CAN, 0x1120 is nothing";
    EXPECT_EQ(reply, frame({1, 0x83, 2}));
    ASSERT_TRUE(unit.handle(write(1, 0x0010, {0, 0}), 0, reply));
    EXPECT_EQ(reply, frame({1, 0x90, 2})) << "the measurement block is read-only";
    std::vector<uint8_t> badCount = write(1, 0x3000, {0, 1, 0, 2});
    badCount[6] = 5;
    badCount.resize(badCount.size() - 2);
    appendCrc(badCount);
    ASSERT_TRUE(unit.handle(badCount, 0, reply));
    EXPECT_EQ(reply, frame({1, 0x90, 3}));

    std::vector<uint8_t> corrupt = read(1, 0x3000, 5);
    corrupt.back() ^= 1;
    EXPECT_FALSE(unit.handle(corrupt, 0, reply)) << "a bad CRC gets silence";
    EXPECT_FALSE(unit.handle(read(2, 0x3000, 5), 0, reply)) << "another address gets silence";
}

TEST(Instrument, CalibrationByte53IsItsAddress)
{
    Instrument unit(1);
    std::vector<uint8_t> reply;
    std::vector<uint8_t> calibration = unit.image(vantor::kCalibrationBlock.firstRegister, vantor::kCalibrationBlock.registerCount);
    calibration[53] = 7;
    ASSERT_TRUE(unit.handle(write(1, vantor::kCalibrationBlock.firstRegister, calibration), 0, reply));
    EXPECT_EQ(reply[0], 7) << "the reply already comes from the new address";
    EXPECT_EQ(unit.address(), 7);
    EXPECT_FALSE(unit.handle(read(1, 0x3000, 5), 0, reply));
    ASSERT_TRUE(unit.handle(read(0, vantor::kUnitAddressBlock.firstRegister, 1), 0, reply));
    EXPECT_EQ(reply[4], 7);
    EXPECT_TRUE(unit.handle(read(7, 0x3000, 5), 0, reply));
}

TEST(Instrument, MeasurementFollowsTheCalibrationBlock)
{
    Instrument unit(1, 0);
    std::vector<uint8_t> calibration = unit.image(vantor::kCalibrationBlock.firstRegister, vantor::kCalibrationBlock.registerCount);
    calibration[4] = 2;   // l/h
    calibration[5] = 1;   // manual Kh
    calibration[49] = 9;  // probe
    unit.setImage(vantor::kCalibrationBlock.firstRegister, calibration);
    std::vector<uint8_t> reply;
    for (int64_t ms = 0; ms <= 120'000; ms += 7'000) {
        ASSERT_TRUE(unit.handle(read(1, vantor::kMeasurementBlock.firstRegister, vantor::kMeasurementBlock.registerCount), ms, reply));
        ASSERT_EQ(reply.size(), 77u);
        const float flow = floatAt(reply, 0);
        EXPECT_LE(std::fabs(flow), 10.0f) << "within MaxQ at " << ms << " ms";
        EXPECT_EQ(reply[3 + 18], 2);
        EXPECT_EQ(reply[3 + 21], 1);
        EXPECT_EQ(reply[3 + 45], 9);
    }
    EXPECT_EQ(reply[3 + 16], 0x10) << "T1 counts forward only, T2 both ways";
    EXPECT_EQ(reply[3 + 17], 0x55) << "both totalizers in m3";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&reply[3 + 56]), 12), Instrument::versionText());
}

TEST(Instrument, ClockRunsFromItsLastSettingAndTotalizersReset)
{
    Instrument unit(1, 0);
    std::vector<uint8_t> calibration = unit.image(vantor::kCalibrationBlock.firstRegister, vantor::kCalibrationBlock.registerCount);
    calibration[39] = 0;  // totalizers count centilitres, so they move quickly
    unit.setImage(vantor::kCalibrationBlock.firstRegister, calibration);
    std::vector<uint8_t> reply;
    ASSERT_TRUE(unit.handle(write(1, vantor::kClockBlock.firstRegister, {26, 3, 5, 14, 7, 9}), 1000, reply));
    ASSERT_TRUE(unit.handle(read(1, vantor::kMeasurementBlock.firstRegister, vantor::kMeasurementBlock.registerCount), 3500, reply));
    // Month, year, hour, day, second, minute: two seconds and a half later.
    EXPECT_EQ(std::vector<uint8_t>(reply.begin() + 3 + 38, reply.begin() + 3 + 44),
              (std::vector<uint8_t>{3, 26, 14, 5, 11, 7}));

    ASSERT_TRUE(unit.handle(read(1, vantor::kMeasurementBlock.firstRegister, vantor::kMeasurementBlock.registerCount), 20'000, reply));
    EXPECT_GT(int32At(reply, 8), 0);
    EXPECT_NE(int32At(reply, 12), 0);
    ASSERT_TRUE(unit.handle(write(1, vantor::kTotalizerResetBlock.firstRegister, {0, 1, 0, 0}), 20'000, reply));
    ASSERT_TRUE(unit.handle(read(1, vantor::kMeasurementBlock.firstRegister, vantor::kMeasurementBlock.registerCount), 20'000, reply));
    EXPECT_EQ(int32At(reply, 8), 0);
    EXPECT_NE(int32At(reply, 12), 0) << "only T1 was reset";
}

TEST(Instrument, WritesItsRegistersAsText)
{
    Instrument unit;
    std::ostringstream out;
    unit.writeRegisters(out);
    EXPECT_NE(out.str().find("\n3000 015E\n"), std::string::npos);
    EXPECT_NE(out.str().find("\n1100 0100\n"), std::string::npos);
}
