// The device behind each port, named as the user can recognise it: serial
// adapters come and go and their /dev/tty names move, the names under
// /dev/serial/by-id do not.
#pragma once

#include <string>

namespace vantor {

inline constexpr const char* kSerialByIdFolder = "/dev/serial/by-id";

// The stable name in byIdFolder that leads to the same device as path, or path
// itself when there is none.
std::string stableDeviceName(const std::string& path, const std::string& byIdFolder = kSerialByIdFolder);
// True when something is at the path (a link is followed).
bool deviceExists(const std::string& path);

}  // namespace vantor
