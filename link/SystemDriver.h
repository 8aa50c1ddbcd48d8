// What the platform's serial driver gives the library: termios on Linux, the
// Win32 communications functions on Windows. Exactly one of them is built.
#pragma once

#include "SerialPort.h"

#include <cstdint>
#include <string>

namespace vantor {

#ifdef _WIN32
inline constexpr int32_t kSystemDriverKind = kWin32DriverKind;
#else
inline constexpr int32_t kSystemDriverKind = kTermiosDriverKind;
#endif

// Opens the device and fills the driver slots. Failures are left in port.status.
void openSystemDevice(SerialPort& port, const std::string& path, int32_t baud, char parity, int dataBits,
                      int stopBits);

// The device of port index n (0 is the first serial port) until a path is set.
std::string systemDevicePath(int portNumber);
// A device as the user names it, as the driver opens it: "COM3" is "\\.\COM3" on Windows.
std::string systemDeviceFromName(const std::string& name);
// A device as the user names it: "COM3" for "\\.\COM3" on Windows, the path elsewhere.
std::string systemDeviceShownName(const std::string& device);

// The serial driver's rules for line settings, which a network port is held
// to as well: kSerialOk, or the code of the first bad argument.
int32_t checkLineSettings(int32_t baud, char parity, int dataBits, int stopBits);

// Maps a system error number (errno, or GetLastError on Windows) to a status code.
int32_t mapPlatformError(int error);

// True when the device exists but the user may not open it, which the status
// codes cannot tell from a port in use.
bool deviceDenied(const std::string& path);

// The group whose members may open the device ("dialout" on Debian); empty
// where the system has no such thing.
std::string deviceGroup(const std::string& path);

// The bytes the driver already holds for reading, found without reading the
// device: while there are some, no wait is needed.
uint32_t heldBytes(SerialPort& port);

// False when lowering RTS does nothing on this line: a pseudo-terminal has no
// modem lines, and a kernel that switches an RS-485 transmitter keeps RTS itself.
bool switchesRts(SerialPort& port);

// Waits until input may be readable or ms pass, without spinning. ms < 0 waits without limit.
void waitForInput(SerialPort& port, int ms);

// A read of up to `wanted` bytes into buffer that the system itself ends at a
// silence of gapMs between two bytes, so that a reply costs one wake-up rather
// than one a byte. Called just after a byte was taken: it lets paceMs pass and
// starts only when the next byte has come, so that the system times every gap
// of the run, the first one too (within that pace). False where the driver has
// no such read (termios, where a wake-up costs little), or nothing came: the
// caller then waits for the next byte itself.
bool startRun(SerialPort& port, uint8_t* buffer, uint32_t wanted, int gapMs, int paceMs);
// Waits up to ms for the run to end by itself; true once it has.
bool waitRun(SerialPort& port, int ms);
// Ends the run, cut short if it still goes on, and returns how many bytes it read.
uint32_t endRun(SerialPort& port);

// Sleeps ms milliseconds.
void sleepMs(int ms);

}  // namespace vantor
