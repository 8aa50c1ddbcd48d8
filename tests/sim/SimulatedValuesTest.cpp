// The simulated instrument's values as the program reads them: over a
// pseudo-terminal, through the poller and the block decoders, each in its field
// and in the range a real instrument on a water pipe gives.
#include "BlockCodec.h"
#include "BlockTransfer.h"
#include "MeasurementPoller.h"
#include "Session.h"
#include "Simulator.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

namespace vantor {
namespace {

class SimulatedValuesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        simulator = std::make_unique<sim::Simulator>(std::vector<std::string>{dir.file("com1")});
        session.serial.setDevicePath(0, dir.file("com1"));
    }

    test::TempDir dir;
    std::unique_ptr<sim::Simulator> simulator;
    Session session;
};

struct FieldRange {
    const char* name;
    std::function<double(const MeasurementValues&)> value;
    double low, high;
};

TEST_F(SimulatedValuesTest, EachMeasurementValueIsInItsFieldAndRange)
{
    MeasurementPoller poller(session.link, session.state);
    const MeasurementValues& m = session.state.record.measurement;
    // Flow in m3/h within MaxQ (10), the mean speed in the pipe of a few m/s,
    // the sound velocity in water near 1480 m/s, transit times of a 283 mm path.
    const FieldRange ranges[] = {
        {"flow", [](auto& v) { return v.flow; }, -10, 10},
        {"speed", [](auto& v) { return std::fabs(v.speed); }, 0.01, 10},
        {"velocity", [](auto& v) { return v.velocity; }, 1400, 1600},
        {"flow unit", [](auto& v) { return v.flowUnit; }, 4, 4},
        {"T1 sign", [](auto& v) { return v.totalizer1Sign; }, 0, 2},
        {"T2 sign", [](auto& v) { return v.totalizer2Sign; }, 0, 2},
        {"T1 unit", [](auto& v) { return v.totalizer1Unit; }, 0, 9},
        {"T2 unit", [](auto& v) { return v.totalizer2Unit; }, 0, 9},
        {"T1", [](auto& v) { return v.totalizer1; }, -999999999, 999999999},
        {"T2", [](auto& v) { return v.totalizer2; }, -999999999, 999999999},
        {"Kh mode", [](auto& v) { return v.khMode; }, 0, 1},
        {"fault", [](auto& v) { return v.faultState; }, 0, 0},
        {"Kh", [](auto& v) { return v.kh; }, 0.5, 2},
        {"DeltaT", [](auto& v) { return std::fabs(v.deltaT); }, 0, 5000},
        {"Time", [](auto& v) { return v.time; }, 150, 250},
        {"month", [](auto& v) { return v.month; }, 1, 12},
        {"year", [](auto& v) { return v.year; }, 24, 99},
        {"day", [](auto& v) { return v.day; }, 1, 31},
        {"hour", [](auto& v) { return v.hour; }, 0, 23},
        {"minute", [](auto& v) { return v.minute; }, 0, 59},
        {"second", [](auto& v) { return v.second; }, 0, 59},
        {"probe", [](auto& v) { return v.probeIndex; }, 0, 23},
        {"D. Probe", [](auto& v) { return v.probeDistance; }, 1, 1000},
        {"gain", [](auto& v) { return v.gain; }, 0, 100},
        {"I.Q.", [](auto& v) { return v.signalQuality; }, 0, 100},
        {"hardware", [](auto& v) { return v.hardware; }, 0, 1},
        {"model", [](auto& v) { return v.model; }, 0, 3},
    };
    for (int poll = 0; poll < 3; ++poll) {
        ASSERT_TRUE(poller.poll());
        for (const FieldRange& r : ranges) {
            EXPECT_GE(r.value(m), r.low) << r.name << " on poll " << poll;
            EXPECT_LE(r.value(m), r.high) << r.name << " on poll " << poll;
        }
        // Speed, DeltaT and flow go the same way.
        EXPECT_GT(m.speed * m.flow, 0);
        EXPECT_GE(m.deltaT * m.flow, 0);
        EXPECT_STREQ(m.softwareVersion.data(), "V2.14 A03-26");
    }
}

TEST_F(SimulatedValuesTest, TheParameterBlocksHoldTheDefaultsOfANewFile)
{
    struct Case {
        const BlockInfo& block;
        std::vector<uint8_t> image;  // as a new settings file holds it
    };
    std::vector<uint8_t> factory(48, 0);
    factory[1] = 0x01, factory[2] = 0x86, factory[3] = 0xA0, factory[4] = 0x0A, factory[15] = 0x03;
    for (int i = 16; i < 38; i += 2)
        factory[i] = 0x03, factory[i + 1] = 0xE8;
    factory[38] = 0x0A, factory[39] = 0x50, factory[43] = 0x0A;
    const Case cases[] = {
        {kCalibrationBlock, {0x01, 0x00, 0x01, 0x05, 0x04, 0x00, 0x04, 0x1F, 0x00, 0x0B, 0x0C, 0x00, 0x07, 0xD0,
                             0x01, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x0A, 0x06, 0x00, 0x09, 0x00, 0x05,
                             0xDC, 0x00, 0xC8, 0x00, 0x05, 0x00, 0x0A, 0x00, 0x00, 0x64, 0x01, 0x05, 0x00, 0x00,
                             0x00, 0x00, 0x03, 0xE8, 0x00, 0x03, 0xE8, 0x03, 0x00, 0x00, 0x00, 0x01, 0x01, 0x01}},
        {kMakerBlock, {0x01, 0x5E, 0x00, 0x01, 0x00, 0x00, 0x2A, 0xF8, 0xD6, 0xD8}},
        {kCanBlock, {0x02, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {kFactoryBlock, factory},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> image(c.block.imageSize());
        ASSERT_EQ(readBlockImage(session.link, c.block, image), 0) << c.block.name;
        EXPECT_EQ(image, c.image) << c.block.name;
    }
}

}  // namespace
}  // namespace vantor
