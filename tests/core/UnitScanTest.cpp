// The scan that finds the instrument, three ports at once, against simulated
// instruments and lines with nothing connected.
#include "Simulator.h"
#include "TempDir.h"
#include "ProgramState.h"
#include "UnitScan.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace vantor;

namespace {

class UnitScanTest : public ::testing::Test {
protected:
    UnitScanTest()
    {
        for (int port = 0; port < kScannedPorts; ++port)
            serial.setDevicePath(port, dir.file("absent" + std::to_string(port)));
    }

    // An instrument (or, at a speed the scan never uses, a line with nothing
    // connected) on the given port.
    sim::Simulator& place(int port, sim::SimOptions options)
    {
        sims.push_back(std::make_unique<sim::Simulator>(
            std::vector<std::string>{dir.file("com" + std::to_string(port + 1))}, options));
        serial.setDevicePath(port, sims.back()->path(0));
        return *sims.back();
    }

    test::TempDir dir;
    SerialLibrary serial;
    std::vector<std::unique_ptr<sim::Simulator>> sims;
};

constexpr sim::SimOptions kNothingConnected{.baud = 19200};

}  // namespace

TEST_F(UnitScanTest, FindsTheInstrumentAtItsPortSpeedAndAddress)
{
    // At the last speed tried, beside two lines with nothing connected.
    sim::Simulator& unit = place(1, {.baud = 9600, .address = 7});
    place(0, kNothingConnected);
    place(2, kNothingConnected);
    std::vector<ScanProgress> seen;
    const std::optional<ScanResult> found = scanForUnit(windowScanPorts(serial), [&seen](const ScanProgress& p) {
        seen.push_back(p);
        return true;
    }).unit;
    ASSERT_TRUE(found);
    EXPECT_EQ(found->portIndex, 1);
    EXPECT_EQ(found->baudIndex, 5);
    EXPECT_EQ(found->address, 7) << "from register 0x111A";

    // Every speed from 300 up, three attempts each until the one that answers,
    // always the same request at address 0.
    std::vector<int32_t> speeds;
    for (const auto& r : unit.requests()) {
        EXPECT_EQ(r.bytes, (std::vector<uint8_t>{0x00, 0x03, 0x11, 0x1A, 0x00, 0x01, 0xA1, 0x20}));
        if (speeds.empty() || speeds.back() != r.lineBaud)
            speeds.push_back(r.lineBaud);
    }
    EXPECT_EQ(speeds, (std::vector<int32_t>{300, 600, 1200, 2400, 4800, 9600}));
    EXPECT_EQ(unit.requests().size(), 5u * 3 + 1);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().ports[2].state, ScanProgress::Port::Trying) << "the ports are scanned at once";
}

TEST_F(UnitScanTest, AnEarlierPortWinsOverALaterOneThatAnswersSooner)
{
    place(0, {.baud = 600, .address = 7});  // answers at the second speed only
    place(1, {.baud = 300, .address = 9});  // answers at once
    const std::optional<ScanResult> found = scanForUnit(windowScanPorts(serial)).unit;
    ASSERT_TRUE(found);
    EXPECT_EQ(found->portIndex, 0);
    EXPECT_EQ(found->baudIndex, 1);
    EXPECT_EQ(found->address, 7);
}

// A scan that finds nothing says why for each port: one missing and one busy
// at once, without trying every speed; one silent at every speed.
TEST_F(UnitScanTest, EachPortSaysWhyNothingAnsweredThere)
{
    place(1, kNothingConnected);
    sim::Simulator& busy = place(2, kNothingConnected);
    SerialLibrary otherProgram;
    SerialPort& held = otherProgram.openDevice(busy.path(0), 0, 9600, 'N', 8, 2);
    ASSERT_EQ(held.status, kSerialOk);
    const ScanReport report = scanForUnit(windowScanPorts(serial));
    held.ops.closePort(held);
    EXPECT_FALSE(report.unit);
    std::vector<std::string> lines;
    for (int port = 0; port < kScannedPorts; ++port)
        lines.push_back(scanLine(comName(port, kEnglish), report.ports.ports[static_cast<size_t>(port)], kEnglish));
    EXPECT_EQ(lines, (std::vector<std::string>{"Com1: port missing", "Com2: no answer at any speed", "Com3: port busy"}));
    EXPECT_EQ(scanLine(comName(0, kFrench), report.ports.ports[0], kFrench), "Com1 : port absent");
    EXPECT_TRUE(busy.requests().empty());
}
