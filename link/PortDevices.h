// The device behind each port, named as the user can recognise it: serial
// adapters come and go and their /dev/tty names move, the names under
// /dev/serial/by-id do not.
#pragma once

#include <string>
#include <vector>

namespace vantor {

inline constexpr const char* kSerialByIdFolder = "/dev/serial/by-id";

// The stable name in byIdFolder that leads to the same device as path, or path
// itself when there is none.
std::string stableDeviceName(const std::string& path, const std::string& byIdFolder = kSerialByIdFolder);
// True when something is at the path (a link is followed).
bool deviceExists(const std::string& path);

struct MachinePort {
    std::string device;  // as the driver opens it: /dev/ttyUSB0, \\.\COM7
    std::string name;    // as the system names it: its /dev/serial/by-id link, "USB Serial Port (COM7)"; may be empty
};

// Every serial port of the machine: on Linux the USB adapters (ttyUSB, ttyACM)
// and the serial ports a UART stands behind (ttyS), under VANTOR_DEVICE_ROOT
// instead of /dev when it is set; on Windows the COM ports with the names
// Device Manager gives them.
std::vector<MachinePort> machineSerialPorts();

}  // namespace vantor
