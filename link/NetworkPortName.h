// A port reached through a serial device server: "rfc2217://HOST:PORT" speaks
// telnet with the COM Port Control Option, "tcp://HOST:PORT" carries the bytes
// raw at the server's own speed. Any other name is a serial device.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vantor {

struct NetworkPortName {
    bool telnet = false;  // rfc2217://
    std::string host;     // without the brackets of an IPv6 address
    uint16_t port = 0;
};

// True for a name of either scheme, well formed or not: such a name never
// goes to the serial driver.
bool isNetworkPortName(const std::string& name);
// The parts of a well-formed name; nothing for a serial device's name, an
// empty host, or a port outside 1..65535.
std::optional<NetworkPortName> parseNetworkPortName(const std::string& name);
// "HOST:PORT" as the name gives them, for messages; the name itself when it is
// not a network one.
std::string networkEndpoint(const std::string& name);

}  // namespace vantor
