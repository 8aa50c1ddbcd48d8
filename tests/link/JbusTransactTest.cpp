// Transactions on a pseudo-terminal against the simulated instrument.
#include "MonotonicClock.h"
#include "SimFixture.h"
#include "TermiosDriver.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <utility>
#include <vector>

using namespace vantor;
using vantor::sim::Fault;

namespace {

using Clock = std::chrono::steady_clock;

int64_t msSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class JbusTransactTest : public test::SimFixture {};

}  // namespace

TEST_F(JbusTransactTest, ReadsABlock)
{
    ASSERT_EQ(read(0x3000, 5), 0);
    EXPECT_EQ(master.lastReply().size(), 15u);
    EXPECT_EQ(std::vector<uint8_t>(master.lastReply().begin(), master.lastReply().begin() + 13),
              std::vector<uint8_t>({0x01, 0x03, 0x0A, 0x01, 0x5E, 0x00, 0x01, 0x00, 0x00, 0x2A, 0xF8, 0xD6, 0xD8}));
    const auto requests = simulator->requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].bytes, std::vector<uint8_t>({0x01, 0x03, 0x30, 0x00, 0x00, 0x05, 0x8A, 0xC9}));
    EXPECT_EQ(serial.liveCount(), 0) << "the port is closed after every transaction";
}

// A reply complete under a good CRC is not followed by the inter-byte time-out:
// the master waits only the frame guard for a byte that would make it over-long.
TEST_F(JbusTransactTest, AReplyEndsAtItsLengthAfterTheFrameGuard)
{
    std::vector<int> waits;
    SerialLibrary::WaitClock logged;
    logged.waitForInput = [&waits](SerialPort& port, int ms) {
        waits.push_back(ms);
        waitForInput(port, ms);
    };
    serial.setWaitClock(logged);
    ASSERT_EQ(read(0x1100, 28), 0);
    ASSERT_FALSE(waits.empty());
    EXPECT_LE(waits.back(), frameGuardMs(9600)) << "after the last byte";
    EXPECT_GT(*std::max_element(waits.begin(), waits.end() - 1), frameGuardMs(9600)) << "before it";

}

// A poller holds the port from one poll to the next; a failure lets it go, so
// that an adapter plugged in again is opened afresh.
TEST_F(JbusTransactTest, AHeldPortStaysOpenUntilAFailureOrTheEndOfTheHold)
{
    master.holdPortOpen(true);
    ASSERT_EQ(read(0x3000, 5), 0);
    ASSERT_EQ(read(0x3000, 5), 0);
    EXPECT_EQ(serial.liveCount(), 1);
    EXPECT_EQ(simulator->requests().size(), 2u);
    simulator->injectFault(Fault::Exception, 3);
    EXPECT_EQ(read(0x3000, 5), -1);
    EXPECT_EQ(serial.liveCount(), 0);
    ASSERT_EQ(read(0x3000, 5), 0);
    EXPECT_EQ(serial.liveCount(), 1);
    master.holdPortOpen(false);
    EXPECT_EQ(serial.liveCount(), 0);
}

// The line as the master sets it while it waits for the reply (a pseudo-terminal
// keeps only the speed and the stop bits of what it is given).
TEST_F(JbusTransactTest, TheMasterOpensTheLineWithTwoStopBits)
{
    termios line{};
    serial.setIdleHook([&line](SerialPort& port) { return tcgetattr(port.driver->fd, &line), 0; }, 5);
    ASSERT_EQ(read(0x3000, 5), 0);
    serial.setIdleHook(nullptr);
    EXPECT_NE(line.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(cfgetospeed(&line), B9600);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO), 0u) << "raw";
}

// A port missing or held by another program: no attempt, no wait.
TEST_F(JbusTransactTest, AMissingOrBusyPortFailsAtOnceWithNothingSent)
{
    SerialLibrary otherProgram;
    SerialPort& held = otherProgram.openDevice(simulator->path(0), 0, 9600, 'N', 8, 2);
    ASSERT_EQ(held.status, kSerialOk);
    int waits = 0;
    SerialLibrary::WaitClock counted;
    counted.waitForInput = [&waits](SerialPort&, int) { ++waits; };
    counted.sleep = [&waits](int) { ++waits; };
    serial.setWaitClock(counted);
    for (const auto& [port, failure] : {std::pair{2, LinkFailure::PortMissing}, {0, LinkFailure::PortBusy}}) {
        settings.portIndex = port;
        EXPECT_EQ(read(0x3000, 5), -1);
        EXPECT_EQ(waits, 0);
        EXPECT_EQ(master.lastFailure(), failure);
    }
    held.ops.closePort(held);
    EXPECT_TRUE(simulator->requests().empty());
}

TEST_F(JbusTransactTest, AWriteWaitsLongerForItsReplyThanARead)
{
    // Writes take the instrument time: a reply 700 ms late is still in time.
    simulator->injectFault(Fault::LateReply, 1, 700);
    EXPECT_EQ(write(0x3000, {0x0101}), 0);
    EXPECT_EQ(heardCount(), 1u) << "in one attempt";
}

namespace {

// The RTS changes of the port under test, with their times, on a line taken
// for one whose RTS switches a transmitter (a pseudo-terminal has no RTS).
struct RtsLog {
    static inline std::vector<std::pair<bool, int64_t>> changes;
    static int record(SerialPort&, bool on)
    {
        changes.emplace_back(on, monotonicUs());
        return kSerialOk;
    }
};

}  // namespace

TEST_F(JbusTransactTest, RtsComesDownOnlyOnceTheRequestHasLeftTheLine)
{
    simulator.reset();
    startSimulator(1, {.baud = 600});
    settings.baudIndex = 1;
    RtsLog::changes.clear();
    serial.setDeviceOpener(
        [](SerialPort& port, const std::string& path, int32_t baud, char parity, int dataBits, int stopBits) {
            openTermiosDevice(port, path, baud, parity, dataBits, stopBits);
            port.driver->noModemLines = false;
            port.ops.setRts = &RtsLog::record;
        });
    // What the master waits for before RTS comes down, and the first wait after.
    std::vector<int> sleeps;
    int sleepsBeforeRtsDown = -1;
    SerialLibrary::WaitClock logged;
    logged.sleep = [&sleeps](int ms) {
        sleeps.push_back(ms);
        sleepMs(ms);
    };
    logged.waitForInput = [&](SerialPort& port, int ms) {
        if (sleepsBeforeRtsDown < 0)
            sleepsBeforeRtsDown = static_cast<int>(sleeps.size());
        waitForInput(port, ms);
    };
    serial.setWaitClock(logged);
    const int64_t start = monotonicUs();
    ASSERT_EQ(write(0x3000, {1, 2, 3, 4, 5}), 0);
    serial.setDeviceOpener(nullptr);
    ASSERT_EQ(RtsLog::changes.size(), 2u);
    EXPECT_TRUE(RtsLog::changes[0].first);
    EXPECT_FALSE(RtsLog::changes[1].first);
    // 19 bytes of 11 bits at 600 baud: 349 ms on the line.
    EXPECT_GE((RtsLog::changes[1].second - start) / 1000, 349);
    ASSERT_GE(sleepsBeforeRtsDown, 1);
    int asked = 0;
    for (int i = 0; i < sleepsBeforeRtsDown; ++i)
        asked += sleeps[static_cast<size_t>(i)];
    EXPECT_LE(asked, 349) << "and no longer than what was left of it";
}

// A driver whose writer is held up at every call, as on a loaded machine.
struct HeldUpWriter {
    static inline int (*realWriteBlock)(SerialPort&, const uint8_t*, uint32_t) = nullptr;
    static void pause() { std::this_thread::sleep_for(std::chrono::milliseconds(10)); }
    static int writeBlock(SerialPort& port, const uint8_t* bytes, uint32_t n)
    {
        return pause(), realWriteBlock(port, bytes, n);
    }
};

TEST_F(JbusTransactTest, ARequestReachesTheLineWholeEvenWhenTheWriterIsHeldUp)
{
    serial.setDeviceOpener([](SerialPort& port, const std::string& path, int32_t baud, char parity, int dataBits,
                              int stopBits) {
        openTermiosDevice(port, path, baud, parity, dataBits, stopBits);
        HeldUpWriter::realWriteBlock = std::exchange(port.ops.writeBlock, HeldUpWriter::writeBlock);
    });
    // A silence of 10 ms between two bytes would end the frame at 9600 baud.
    EXPECT_EQ(read(0x3000, 5), 0);
    EXPECT_EQ(heardCount(), 1u);
}

TEST_F(JbusTransactTest, CountersCountEveryOutcome)
{
    EXPECT_EQ(read(0x3000, 5), 0);
    simulator->injectFault(Fault::Silence, 3);
    const auto start = Clock::now();
    EXPECT_EQ(read(0x3000, 5), -1);
    // Three times 400 ms, each after the 10 ms the request takes on the line.
    EXPECT_GE(msSince(start), 3 * 410);
    simulator->injectFault(Fault::BadCrc, 1);
    EXPECT_EQ(read(0x3000, 5), 0);
    simulator->injectFault(Fault::MissingBytes, 1, 1);
    EXPECT_EQ(read(0x3000, 5), 0);
    simulator->injectFault(Fault::Exception, 3, 2);
    EXPECT_EQ(read(0x3000, 5), -1);
    EXPECT_EQ(master.lastFailure(), LinkFailure::Exception) << "a refusal, not a spoilt reply";
    EXPECT_EQ(master.exceptionCode(), 2);

    const LinkCounters& c = master.counters();
    EXPECT_EQ(c.transactions, 5u);
    EXPECT_EQ(c.good, 3u);
    EXPECT_EQ(c.retries, 2u + 1 + 1 + 2);
    EXPECT_EQ(c.silences, 3u);
    EXPECT_EQ(c.badCrc, 1u);
    EXPECT_EQ(c.wrongLength, 1u);
    EXPECT_EQ(c.exceptions, 3u);
    EXPECT_GT(c.lastFailureTime, 0);
}

TEST(TermiosWait, BytesBeyondOneReadOfTheDriverAreNotLeftWaitingForANewByte)
{
    // More bytes at once than the driver takes in one read: the rest, already
    // there, must come at once and not after a time-out.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    SerialLibrary serial;
    serial.setDevicePath(0, ptsname(master));
    SerialPort& port = serial.openPort(0, 9600, 'N', 8, 2);
    ASSERT_EQ(port.status, kSerialOk);
    const std::vector<uint8_t> burst(700, 0x55);
    ASSERT_EQ(::write(master, burst.data(), burst.size()), static_cast<ssize_t>(burst.size()));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

    int waits = 0;
    SerialLibrary::WaitClock counted;
    counted.waitForInput = [&waits](SerialPort& line, int ms) {
        ++waits;
        waitForInput(line, ms);
    };
    serial.setWaitClock(counted);
    size_t got = 0;
    while (readByteTimed(port, 1000) == 0x55)
        if (++got == burst.size())
            break;
    EXPECT_EQ(got, burst.size());
    EXPECT_LT(waits, 10) << "one wait a read of the driver at most";
    port.ops.closePort(port);
    close(master);
}
