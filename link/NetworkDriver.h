// The network driver behind the serial operations: a port reached through a
// serial device server (ser2net and the like) over TCP, raw or with telnet's
// COM Port Control Option. The same on Linux and Windows: the calls that
// differ are in SocketCalls.h.
#pragma once

#include "SerialPort.h"
#include "TelnetCodec.h"

#include <array>
#include <cstdint>
#include <string>

namespace vantor {

#ifdef _WIN32
using SocketHandle = std::uintptr_t;  // Winsock's SOCKET, without its headers here
#else
using SocketHandle = int;
#endif

// A device server forwards the request and the reply across a network and
// through its own buffers (ser2net holds the serial bytes a few character
// times before it sends them on). That delay comes on top of the instrument's
// own, and is not silence on the line: the wait for a reply's first byte gets
// this much more.
inline constexpr int kNetworkReplyMarginMs = 150;
// A server that has not taken the connection by then is down or unreachable.
inline constexpr int kConnectTimeoutMs = 3000;
// Time for an RFC 2217 server to apply the line settings and say so.
inline constexpr int kNegotiationTimeoutMs = 2000;

// What the network driver keeps of its connection, in the system driver's
// record of the port.
struct NetworkLink {
    SocketHandle socket{};
    // Data bytes received and not yet taken, the telnet framing gone: one
    // recv() takes all that waits.
    std::array<uint8_t, 512> received{};
    uint32_t receivedFrom = 0, receivedTo = 0;
    // The last recv() filled the buffer: more may wait in the connection.
    bool moreWaiting = false;
    bool telnet = false;  // rfc2217://
    telnet::TelnetDecoder decoder;
    bool comPortRefused = false;
    int32_t baudAnswer = 0;      // the speed the server last said its line runs at
    bool modemAnswered = false;  // the server answers SET-CONTROL: RTS changes go to it
    bool rtsOn = false;
    bool lost = false;           // the server closed or reset the connection
};

// Connects to the server the name gives, sets its line (RFC 2217) and fills
// the driver slots. Failures are left in port.status: a server that cannot be
// reached has codes of its own, a name that is not well formed is a bad port.
void openNetworkDevice(SerialPort& port, const std::string& name, int32_t baud, char parity, int dataBits,
                       int stopBits);

// What the system driver's waits do for a network port (see SystemDriver.h).
uint32_t networkHeldBytes(const NetworkLink& link);
bool networkSwitchesRts(const NetworkLink& link);
void waitForNetworkInput(NetworkLink& link, int ms);

}  // namespace vantor
