// The simulated instrument's refusals and its change of address, frame by
// frame, without a line: the other tests rely on both.
#include "Instrument.h"
#include "JbusCrc.h"

#include <gtest/gtest.h>


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

}  // namespace

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
