// The termios driver's writes on a pseudo-terminal whose far end the test holds
// and never reads (its reads, waits and line settings are the transactions'
// against the simulator, JbusTransactTest), and ports named by their stable
// device names, in a folder laid out as /dev is.
#include "PortDevices.h"
#include "SerialPort.h"
#include "TempDir.h"
#include "TermiosDriver.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

using namespace vantor;

TEST(SerialPort, WritesReachTheLineAndAnOverfullBlockIsCut)
{
    int far = -1, near = -1;
    char name[128];
    ASSERT_EQ(openpty(&far, &near, name, nullptr, nullptr), 0);
    SerialLibrary serial;
    SerialPort& port = serial.openDevice(name, 0, 9600, 'N', 8, 2);
    ASSERT_EQ(port.status, kSerialOk);
    EXPECT_EQ(port.driverKind, kTermiosDriverKind);
    EXPECT_EQ(port.ops.writeByte(port, 0x41), kSerialOk);
    const uint8_t block[] = {1, 2, 3};
    EXPECT_EQ(port.ops.writeBlock(port, block, 3), kSerialOk);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::vector<uint8_t> received(16);
    fcntl(far, F_SETFL, O_NONBLOCK);
    received.resize(static_cast<size_t>(std::max<ssize_t>(read(far, received.data(), received.size()), 0)));
    EXPECT_EQ(received, (std::vector<uint8_t>{0x41, 1, 2, 3}));

    std::vector<uint8_t> big(2000, 0x55);
    EXPECT_EQ(port.ops.writeBlock(port, big.data(), static_cast<uint32_t>(big.size())), kSerialTxFull);
    EXPECT_EQ(port.status, kSerialTxFull);
    EXPECT_GT(port.transferred, 0u);
    EXPECT_LE(port.transferred, 1050u) << "no more than the transmit queue takes";
    EXPECT_EQ(port.ops.closePort(port), kSerialOk);
    EXPECT_EQ(serial.liveCount(), 0);
    close(near);
    close(far);
}

TEST(PortDevices, TheStableNameLeadingToTheDevice)
{
    test::TempDir dir;
    const std::string byId = dir.file("by-id");
    std::filesystem::create_directory(byId);
    for (const char* tty : {"ttyUSB0", "ttyUSB1", "ttyS0"})
        std::ofstream(dir.file(tty)) << "";
    std::filesystem::create_symlink("../ttyUSB1", byId + "/usb-FTDI_FT232R_USB_UART_A10K3Q2B-if00-port0");
    std::filesystem::create_symlink("../ttyUSB0", byId + "/usb-Prolific_PL2303-if00-port0");

    EXPECT_EQ(stableDeviceName(dir.file("ttyUSB1"), byId), byId + "/usb-FTDI_FT232R_USB_UART_A10K3Q2B-if00-port0");
    EXPECT_EQ(stableDeviceName(dir.file("ttyUSB0"), byId), byId + "/usb-Prolific_PL2303-if00-port0");
    EXPECT_EQ(stableDeviceName(dir.file("ttyS0"), byId), dir.file("ttyS0")) << "no stable name: its own";
    EXPECT_EQ(stableDeviceName(dir.file("absent"), byId), dir.file("absent"));
    EXPECT_EQ(stableDeviceName(dir.file("ttyS0"), dir.file("no-such-folder")), dir.file("ttyS0"));
    EXPECT_TRUE(deviceExists(dir.file("ttyS0")));
    EXPECT_FALSE(deviceExists(dir.file("absent")));
}
