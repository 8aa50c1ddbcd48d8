// The Win32 driver's own rules: device names, line settings and status codes;
// and what a real open answers for a port that is not there.
#include "SerialPort.h"
#include "Win32Driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantor;

namespace {

DCB emptyLine()
{
    DCB line{};
    line.DCBlength = sizeof(DCB);
    return line;
}

}  // namespace

TEST(Win32DeviceName, ComNamesGetTheDevicePrefixOtherNamesAreOpenedAsGiven)
{
    EXPECT_EQ(comDeviceName(0), "\\\\.\\COM1");
    EXPECT_EQ(comDeviceName(11), "\\\\.\\COM12");
    EXPECT_EQ(SerialLibrary().devicePath(3), "\\\\.\\COM4");
    const std::pair<const char*, const char*> names[] = {
        {"COM3", "\\\\.\\COM3"}, {"com12", "\\\\.\\com12"}, {"\\\\.\\COM12", "\\\\.\\COM12"},
        {"COM", "COM"},          {"COM1A", "COM1A"},        {"CNCA0", "CNCA0"},
    };
    for (const auto& [given, opened] : names)
        EXPECT_EQ(comDevicePath(given), opened) << given;
}

TEST(Win32Line, BinaryWithoutFlowControlAtTheSettingsAsked)
{
    DCB line = emptyLine();
    line.fOutxCtsFlow = 1;
    line.fDtrControl = DTR_CONTROL_HANDSHAKE;
    line.fRtsControl = RTS_CONTROL_HANDSHAKE;
    line.EofChar = 0x1A;
    prepareLine(line, 1050);
    EXPECT_EQ(line.fBinary, 1u);
    EXPECT_EQ(line.fOutxCtsFlow, 0u);
    EXPECT_EQ(line.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
    EXPECT_EQ(line.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));
    EXPECT_EQ(line.EofChar, 0);

    ASSERT_EQ(buildLine(line, 9600, 'N', 8, 2), kSerialOk);
    EXPECT_EQ(line.BaudRate, 9600u);
    EXPECT_EQ(line.ByteSize, 8);
    EXPECT_EQ(line.Parity, NOPARITY);
    EXPECT_EQ(line.StopBits, TWOSTOPBITS);
    const std::pair<char, BYTE> letters[] = {{'e', EVENPARITY}, {'M', MARKPARITY}, {'o', ODDPARITY}, {'S', SPACEPARITY}};
    for (const auto& [letter, code] : letters) {
        DCB other = emptyLine();
        ASSERT_EQ(buildLine(other, 1200, letter, 7, 1), kSerialOk) << letter;
        EXPECT_EQ(other.Parity, code) << letter;
    }
    // A refused argument leaves the line as it was.
    EXPECT_EQ(buildLine(line, 115201, 'E', 7, 1), kSerialBadBaud);
    EXPECT_EQ(buildLine(line, 9600, 'X', 7, 1), kSerialBadParity);
    EXPECT_EQ(buildLine(line, 9600, 'E', 7, 3), kSerialBadStopBits);
    EXPECT_EQ(line.BaudRate, 9600u);
    EXPECT_EQ(line.Parity, NOPARITY);
    EXPECT_EQ(line.StopBits, TWOSTOPBITS);
}

TEST(Win32Status, SystemErrorsMapToTheStatusCodes)
{
    const std::pair<int, int> codes[] = {
        {ERROR_ACCESS_DENIED, kSerialBusy},   {ERROR_FILE_NOT_FOUND, kSerialNoSuchPort},
        {ERROR_PATH_NOT_FOUND, kSerialNoSuchPort}, {ERROR_NOT_SUPPORTED, kSerialOther},
        {-2, kSerialBusy}, {-10, kSerialNoSuchPort}, {-12, kSerialBadBaud}, {-99, kSerialOther},
    };
    for (const auto& [error, status] : codes)
        EXPECT_EQ(mapSystemError(error), status) << error;
}

TEST(Win32Open, APortThatIsNotThereOrNoSerialPortIsNoSuchPort)
{
    SerialLibrary serial;
    for (const char* device : {"COM219", "NUL"}) {
        SerialPort& port = serial.openDevice(device, 0, 9600, 'N', 8, 2);
        EXPECT_EQ(port.status, kSerialNoSuchPort) << device;
        EXPECT_EQ(port.ops.closePort(port), kSerialOk);
    }
    SerialPort& fifth = serial.openPort(4, 9600, 'N', 8, 2);
    EXPECT_EQ(fifth.status, kSerialBadPort);
    fifth.ops.closePort(fifth);
    EXPECT_EQ(serial.liveCount(), 0);
}
