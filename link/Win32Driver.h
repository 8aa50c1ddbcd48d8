// The Win32 communications driver behind the serial operations.
#pragma once

#include "NetworkDriver.h"
#include "SerialPort.h"
#include "SystemDriver.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantor {

struct WinComData {
    uint32_t rxQueueSize = 0;
    uint32_t txQueueSize = 0;
    DCB line{};                 // line settings as last read and modified
    HANDLE handle = INVALID_HANDLE_VALUE;
    COMMTIMEOUTS savedTimeouts{};  // as found at open; not restored
    // The one block every read, write and wait of this port goes through.
    OVERLAPPED overlapped{};
    // A write handed to the system and not finished: the block is still its own.
    bool pending = false;
    // Bytes taken off the line and not read yet: what a wait brought and
    // whatever had queued behind it, taken in one read (each call into the
    // system costs, most of all under Wine), read before anything else.
    std::array<uint8_t, 1050> inbox{};
    uint32_t inboxFirst = 0;
    uint32_t inboxEnd = 0;
    uint32_t inboxed() const { return inboxEnd - inboxFirst; }
    // A read of several bytes in flight, ended by the system at a silence.
    bool running = false;
    DWORD runGapMs = 0;  // the interval time-out set for it, kept while unchanged
    // Set for a port behind a device server, which has its connection there
    // and no handle here.
    std::optional<NetworkLink> network;
};

// "\\.\COM1" for port index 0: the name works for every port number, also above 9.
std::string comDeviceName(int portNumber);

// The name to open for a device given by the user: a bare COMn gets the "\\.\"
// prefix, anything else is opened as given.
std::string comDevicePath(const std::string& name);

// The changes the open makes to the line settings the system reported: binary,
// no flow control, DTR and RTS on, the XON/XOFF characters and limits.
void prepareLine(DCB& line, uint32_t rxQueueSize);

// Speed, parity letter (either case), data and stop bits put into line; a bad
// argument leaves line as it was and gives its status code.
int32_t buildLine(DCB& line, int32_t baud, char parity, int dataBits, int stopBits);

// A GetLastError value as a status code.
int32_t mapWin32Error(unsigned long error);

// Opens the device and fills the driver slots. Failures are left in port.status.
void openWin32Device(SerialPort& port, const std::string& path, int32_t baud, char parity, int dataBits,
                     int stopBits);

}  // namespace vantor
