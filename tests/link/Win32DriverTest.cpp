// The Win32 driver's own rules: device names, line settings, status codes and
// the dump text; and what a real open answers for a port that is not there.
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

TEST(Win32DeviceName, PortIndexZeroIsCom1)
{
    EXPECT_EQ(comDeviceName(0), "\\\\.\\COM1");
    EXPECT_EQ(comDeviceName(3), "\\\\.\\COM4");
    EXPECT_EQ(comDeviceName(11), "\\\\.\\COM12");
}

TEST(Win32DeviceName, LibraryHoldsTheComNamesOfItsFourPorts)
{
    SerialLibrary serial;
    EXPECT_EQ(serial.devicePath(0), "\\\\.\\COM1");
    EXPECT_EQ(serial.devicePath(3), "\\\\.\\COM4");
}

TEST(Win32DeviceName, BareComNameGetsTheDevicePrefix)
{
    EXPECT_EQ(comDevicePath("COM3"), "\\\\.\\COM3");
    EXPECT_EQ(comDevicePath("com12"), "\\\\.\\com12");
    EXPECT_EQ(comDevicePath("\\\\.\\COM12"), "\\\\.\\COM12");
}

TEST(Win32DeviceName, OtherNamesAreOpenedAsGiven)
{
    EXPECT_EQ(comDevicePath("COM"), "COM");
    EXPECT_EQ(comDevicePath("COM1A"), "COM1A");
    EXPECT_EQ(comDevicePath("CNCA0"), "CNCA0");
    EXPECT_EQ(comDevicePath("\\\\.\\CNCB0"), "\\\\.\\CNCB0");
    EXPECT_EQ(comDevicePath(""), "");
}

TEST(Win32Line, OpenSetsBinaryNoFlowControlAndTheXonXoffCharacters)
{
    DCB line = emptyLine();
    line.fParity = 1;
    line.fNull = 1;
    line.fOutxCtsFlow = 1;
    line.fOutxDsrFlow = 1;
    line.fDtrControl = DTR_CONTROL_HANDSHAKE;
    line.fRtsControl = RTS_CONTROL_HANDSHAKE;
    line.EofChar = 0x1A;
    line.EvtChar = 0x0D;
    line.fOutX = 1;
    line.fInX = 1;
    line.fAbortOnError = 1;
    prepareLine(line, 1050);
    EXPECT_EQ(line.fBinary, 1u);
    EXPECT_EQ(line.fParity, 0u);
    EXPECT_EQ(line.fNull, 0u);
    EXPECT_EQ(line.fOutxCtsFlow, 0u);
    EXPECT_EQ(line.fOutxDsrFlow, 0u);
    EXPECT_EQ(line.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
    EXPECT_EQ(line.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));
    EXPECT_EQ(line.XonChar, 0x11);
    EXPECT_EQ(line.XoffChar, 0x13);
    EXPECT_EQ(line.XonLim, 262);
    EXPECT_EQ(line.XoffLim, 262);
    EXPECT_EQ(line.EofChar, 0);
    EXPECT_EQ(line.EvtChar, 0);
    // What the system reported stays for the rest.
    EXPECT_EQ(line.fOutX, 1u);
    EXPECT_EQ(line.fInX, 1u);
    EXPECT_EQ(line.fAbortOnError, 1u);
}

TEST(Win32Line, JbusLineIsEightBitsNoParityTwoStopBits)
{
    DCB line = emptyLine();
    ASSERT_EQ(buildLine(line, 9600, 'N', 8, 2), kSerialOk);
    EXPECT_EQ(line.BaudRate, 9600u);
    EXPECT_EQ(line.ByteSize, 8);
    EXPECT_EQ(line.Parity, NOPARITY);
    EXPECT_EQ(line.StopBits, TWOSTOPBITS);
}

TEST(Win32Line, EveryParityLetterInEitherCase)
{
    const std::pair<char, BYTE> letters[] = {{'E', EVENPARITY}, {'m', MARKPARITY}, {'n', NOPARITY},
                                             {'O', ODDPARITY},  {'s', SPACEPARITY}, {'e', EVENPARITY}};
    for (const auto& [letter, code] : letters) {
        DCB line = emptyLine();
        ASSERT_EQ(buildLine(line, 1200, letter, 7, 1), kSerialOk) << letter;
        EXPECT_EQ(line.Parity, code) << letter;
        EXPECT_EQ(line.StopBits, ONESTOPBIT);
        EXPECT_EQ(line.ByteSize, 7);
    }
}

TEST(Win32Line, BadArgumentsLeaveTheSettingsAsTheyWere)
{
    DCB line = emptyLine();
    ASSERT_EQ(buildLine(line, 4800, 'N', 8, 2), kSerialOk);
    EXPECT_EQ(buildLine(line, 115200, 'N', 8, 2), kSerialOk);
    EXPECT_EQ(line.BaudRate, 115200u);
    ASSERT_EQ(buildLine(line, 4800, 'N', 8, 2), kSerialOk);

    EXPECT_EQ(buildLine(line, 115201, 'E', 7, 1), kSerialBadBaud);
    EXPECT_EQ(buildLine(line, 9600, 'X', 7, 1), kSerialBadParity);
    EXPECT_EQ(buildLine(line, 9600, 'E', 7, 3), kSerialBadStopBits);
    EXPECT_EQ(line.BaudRate, 4800u);
    EXPECT_EQ(line.ByteSize, 8);
    EXPECT_EQ(line.Parity, NOPARITY);
    EXPECT_EQ(line.StopBits, TWOSTOPBITS);
}

TEST(Win32Line, DataBitsAreLeftToTheSystemToRefuse)
{
    DCB line = emptyLine();
    EXPECT_EQ(buildLine(line, 9600, 'N', 9, 2), kSerialOk);
    EXPECT_EQ(line.ByteSize, 9);
}

TEST(Win32Status, SystemErrorsMapToTheStatusCodes)
{
    EXPECT_EQ(mapWin32Error(ERROR_ACCESS_DENIED), kSerialBusy);
    EXPECT_EQ(mapWin32Error(ERROR_FILE_NOT_FOUND), kSerialNoSuchPort);
    EXPECT_EQ(mapWin32Error(ERROR_PATH_NOT_FOUND), kSerialNoSuchPort);
    // What GetCommModemStatus answers under Wine on a line without modem lines.
    EXPECT_EQ(mapWin32Error(ERROR_NOT_SUPPORTED), kSerialOther);
    EXPECT_EQ(mapWin32Error(ERROR_SHARING_VIOLATION), kSerialOther);
    EXPECT_EQ(mapWin32Error(ERROR_INVALID_PARAMETER), kSerialOther);
    EXPECT_EQ(mapSystemError(ERROR_ACCESS_DENIED), kSerialBusy);
    EXPECT_EQ(mapSystemError(ERROR_FILE_NOT_FOUND), kSerialNoSuchPort);
}

TEST(Win32Status, LegacyDriverCodesStillMap)
{
    EXPECT_EQ(mapSystemError(-1), kSerialBadPort);
    EXPECT_EQ(mapSystemError(-2), kSerialBusy);
    EXPECT_EQ(mapSystemError(-4), kSerialNoMemory);
    EXPECT_EQ(mapSystemError(-10), kSerialNoSuchPort);
    EXPECT_EQ(mapSystemError(-11), kSerialBadDataBits);
    EXPECT_EQ(mapSystemError(-12), kSerialBadBaud);
    EXPECT_EQ(mapSystemError(-99), kSerialOther);
}

TEST(Win32Dump, TenLinesOfSettingsQueuesErrorsAndModemLines)
{
    WinComData data;
    data.rxQueueSize = 1050;
    data.txQueueSize = 1050;
    data.line = emptyLine();
    prepareLine(data.line, data.rxQueueSize);
    ASSERT_EQ(buildLine(data.line, 9600, 'N', 8, 2), kSerialOk);
    data.errorFlags = kErrFrame | kErrTxFull;
    const std::vector<std::string> expected = {
        "",
        "Port type:  MS Windows  DCB BaudRate: 9600    ByteSize: 8  Parity: 0",
        "StopBits: 2 fBinary: 1  fRtsControl: 1",
        "Parity: 0  OutCtsFlow: 0  OutDsrFlow: 0  DtrControl: 1  OutX: 0  InX: 0",
        "Null: 0  DtrControl: 1  RtsControl: 1  XonChar: 11  XoffChar: 13",
        "XonLim: 262   XoffLim: 262   EofChr: 00  EvtChr: 00",
        "RX count/free:     4/1046   TX count/free:     0/1050   BREAK/FE/OE/PE: 0100",
        "CE_BREAK:0  CE_FRAME:1  CE_MODE:0 CE_OVERRUN:0",
        "CE_RXOVER:0 CE_RXPARITY:0 CE_TXFULL:1  CTS/DSR/RI/CD: 1001",
        "8250:0000",
    };
    EXPECT_EQ(dumpText(data, 4, 0, kModemCts | kModemCarrier), expected);
}

TEST(Win32Dump, FailedModemQueryShowsNoLineUp)
{
    WinComData data;
    data.line = emptyLine();
    data.errorFlags = kErrBreak | kErrOverrun | kErrParity | kErrRxOver | kErrMode;
    const auto lines = dumpText(data, 0, 0, kSerialOther);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[6], "RX count/free:     0/0      TX count/free:     0/0      BREAK/FE/OE/PE: 1011");
    EXPECT_EQ(lines[7], "CE_BREAK:1  CE_FRAME:0  CE_MODE:1 CE_OVERRUN:1");
    EXPECT_EQ(lines[8], "CE_RXOVER:1 CE_RXPARITY:1 CE_TXFULL:0  CTS/DSR/RI/CD: 0000");
}

TEST(Win32Open, MissingPortIsNoSuchPortAndStillCloses)
{
    SerialLibrary serial;
    SerialPort& port = serial.openDevice("COM219", 218, 9600, 'N', 8, 2);
    EXPECT_EQ(port.status, kSerialNoSuchPort);
    EXPECT_EQ(port.driverKind, kWin32DriverKind);
    EXPECT_EQ(port.ops.readByte(port), kSerialUnsupported);
    EXPECT_EQ(serial.liveCount(), 1);
    EXPECT_EQ(port.ops.closePort(port), kSerialOk);
    EXPECT_EQ(serial.liveCount(), 0);
}

TEST(Win32Open, DeviceThatIsNoSerialPortIsNoSuchPort)
{
    SerialLibrary serial;
    SerialPort& port = serial.openDevice("NUL", 0, 9600, 'N', 8, 2);
    EXPECT_EQ(port.status, kSerialNoSuchPort);
    port.ops.closePort(port);
    EXPECT_EQ(serial.liveCount(), 0);
}

TEST(Win32Open, PortIndexOutsideTheFourIsABadPort)
{
    SerialLibrary serial;
    SerialPort& port = serial.openPort(4, 9600, 'N', 8, 2);
    EXPECT_EQ(port.status, kSerialBadPort);
    port.ops.closePort(port);
    EXPECT_EQ(serial.liveCount(), 0);
}

TEST(Win32Open, OutOfMemoryGivesThePlaceholderThatSupportsNothing)
{
    SerialLibrary serial;
    serial.failAllocations(1, 1);  // the record, then not its driver data
    SerialPort& port = serial.openPort(0, 9600, 'N', 8, 2);
    EXPECT_EQ(port.status, kSerialNoMemory);
    EXPECT_EQ(port.portNumber, -1);
    EXPECT_EQ(port.driverKind, -1);
    EXPECT_EQ(port.ops.rxCount(port), kSerialUnsupported);
    std::vector<std::string> lines;
    EXPECT_EQ(port.ops.dump(port, [&](const std::string& line) { lines.push_back(line); }), kSerialUnsupported);
    EXPECT_EQ(lines, (std::vector<std::string>{"Port dump not supported for this driver", ""}));
    port.ops.closePort(port);
    EXPECT_EQ(serial.liveCount(), 0);
}
