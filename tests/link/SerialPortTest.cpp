// The serial operations on real pseudo-terminals.
#include "SerialPort.h"
#include "TempDir.h"
#include "TermiosDriver.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>

#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

using namespace vantor;

namespace {

// A pseudo-terminal whose far end the test drives directly.
class PtyPair {
public:
    PtyPair()
    {
        char name[128];
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        m_name = name;
        termios t{};
        tcgetattr(m_slave, &t);
        cfmakeraw(&t);
        tcsetattr(m_slave, TCSANOW, &t);
    }
    ~PtyPair()
    {
        close(m_slave);
        close(m_master);
    }
    const std::string& name() const { return m_name; }
    void send(const std::vector<uint8_t>& bytes) const
    {
        ASSERT_EQ(write(m_master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    std::vector<uint8_t> received() const
    {
        std::vector<uint8_t> out(4096);
        fcntl(m_master, F_SETFL, O_NONBLOCK);
        const ssize_t n = read(m_master, out.data(), out.size());
        out.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return out;
    }
    termios slaveSettings() const
    {
        termios t{};
        tcgetattr(m_master, &t);
        return t;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_name;
};

// Waits until the pseudo-terminal has delivered what the far end sent.
void settle() { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }

class SerialPortTest : public ::testing::Test {
protected:
    SerialPort& open(int32_t baud = 9600) { return serial.openDevice(pty.name(), 0, baud, 'N', 8, 2); }

    PtyPair pty;
    SerialLibrary serial;
};

}  // namespace

TEST_F(SerialPortTest, OpensRawAtTheRequestedLineSettings)
{
    SerialPort& port = open(4800);
    ASSERT_EQ(port.status, kSerialOk);
    EXPECT_EQ(port.portNumber, 0);
    EXPECT_EQ(port.driverKind, kTermiosDriverKind);
    const termios t = pty.slaveSettings();
    EXPECT_EQ(cfgetospeed(&t), B4800);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(t.c_cflag & PARENB);
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO));
    EXPECT_EQ(serial.liveCount(), 1);
    EXPECT_EQ(port.ops.closePort(port), kSerialOk);
    EXPECT_EQ(serial.liveCount(), 0);
}

TEST_F(SerialPortTest, WritesReachTheLineAndAnOverfullBlockIsCut)
{
    SerialPort& port = open();
    EXPECT_EQ(port.ops.writeByte(port, 0x41), kSerialOk);
    const uint8_t block[] = {1, 2, 3};
    EXPECT_EQ(port.ops.writeBlock(port, block, 3), kSerialOk);
    settle();
    EXPECT_EQ(pty.received(), (std::vector<uint8_t>{0x41, 1, 2, 3}));

    std::vector<uint8_t> big(2000, 0x55);
    EXPECT_EQ(port.ops.writeBlock(port, big.data(), static_cast<uint32_t>(big.size())), kSerialTxFull);
    EXPECT_EQ(port.status, kSerialTxFull);
    EXPECT_GT(port.transferred, 0u);
    EXPECT_LE(port.transferred, 1050u) << "no more than the transmit queue takes";
    port.ops.closePort(port);
}

TEST_F(SerialPortTest, TimedReadAndDelayRunTheIdleHookAndHonourTheirTimes)
{
    int idleCalls = 0;
    serial.setIdleHook([&](SerialPort&) { return ++idleCalls, 0; }, 10);
    SerialPort& port = open();

    EXPECT_EQ(readByteTimed(port, 0), kSerialTimeout);
    EXPECT_EQ(idleCalls, 1);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(readByteTimed(port, 100), kSerialTimeout);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(100));
    EXPECT_LT(elapsed, std::chrono::milliseconds(400));
    EXPECT_GE(idleCalls, 5) << "the hook runs between waits while the user interface waits";

    std::thread sender([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(80));
        pty.send({0x42});
    });
    EXPECT_EQ(readByteTimed(port, -1), 0x42) << "no limit waits for the byte";
    sender.join();

    pty.send({1});  // received input must not cut a delay short
    auto delayed = std::chrono::steady_clock::now();
    EXPECT_EQ(delayMs(port, 60), kSerialOk);
    EXPECT_GE(std::chrono::steady_clock::now() - delayed, std::chrono::milliseconds(60));
    EXPECT_EQ(readByteTimed(port, 0), 1);

    serial.setIdleHook([](SerialPort&) { return -7; });
    EXPECT_EQ(readByteTimed(port, 1000), -7) << "a negative hook result aborts the wait";
    EXPECT_EQ(port.status, -7);
    EXPECT_EQ(delayMs(port, 1000), -7);
    port.ops.closePort(port);
}
