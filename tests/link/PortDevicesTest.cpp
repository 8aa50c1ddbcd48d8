// Ports named by their stable device names, in a folder laid out as /dev is.
#include "PortDevices.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vantor;
namespace fs = std::filesystem;

TEST(PortDevices, TheStableNameLeadingToTheDevice)
{
    test::TempDir dir;
    const std::string byId = dir.file("by-id");
    fs::create_directory(byId);
    for (const char* tty : {"ttyUSB0", "ttyUSB1", "ttyS0"})
        std::ofstream(dir.file(tty)) << "";
    fs::create_symlink("../ttyUSB1", byId + "/usb-FTDI_FT232R_USB_UART_A10K3Q2B-if00-port0");
    fs::create_symlink("../ttyUSB0", byId + "/usb-Prolific_PL2303-if00-port0");

    EXPECT_EQ(stableDeviceName(dir.file("ttyUSB1"), byId), byId + "/usb-FTDI_FT232R_USB_UART_A10K3Q2B-if00-port0");
    EXPECT_EQ(stableDeviceName(dir.file("ttyUSB0"), byId), byId + "/usb-Prolific_PL2303-if00-port0");
    EXPECT_EQ(stableDeviceName(dir.file("ttyS0"), byId), dir.file("ttyS0")) << "no stable name: its own";
    EXPECT_EQ(stableDeviceName(dir.file("absent"), byId), dir.file("absent"));
    EXPECT_EQ(stableDeviceName(dir.file("ttyS0"), dir.file("no-such-folder")), dir.file("ttyS0"));
    EXPECT_TRUE(deviceExists(dir.file("ttyS0")));
    EXPECT_FALSE(deviceExists(dir.file("absent")));
}
