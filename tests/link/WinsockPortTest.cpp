// A network port through Winsock, against a loopback listener of the test's
// own: bytes both ways, a connection the peer closes, a refused one. The
// telnet side is read through ser2net by scripts/test-windows.
#include "SerialPort.h"
#include "SocketCalls.h"

#include <gtest/gtest.h>

#include <string>

using namespace vantor;

namespace {

// A listening socket on a loopback port the system chose.
struct Listener {
    SOCKET socket = INVALID_SOCKET;
    uint16_t port = 0;

    Listener()
    {
        sockets::start();
        socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        if (bind(socket, reinterpret_cast<sockaddr*>(&address), length) == 0 && listen(socket, 1) == 0 &&
            getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            port = ntohs(address.sin_port);
    }
    ~Listener() { closesocket(socket); }
    std::string url(const char* scheme) const { return scheme + std::string("127.0.0.1:") + std::to_string(port); }
};

}  // namespace

TEST(WinsockPort, RawBytesGoBothWaysAndAClosedConnectionIsAnUnpluggedPort)
{
    Listener listener;
    ASSERT_NE(listener.port, 0);
    SerialLibrary serial;
    SerialPort& port = serial.openDevice(listener.url("tcp://"), 0, 9600, 'N', 8, 2);
    ASSERT_EQ(port.status, kSerialOk);
    EXPECT_EQ(port.driverKind, kNetworkDriverKind);
    // The connection waits in the backlog: taken now, it is the server's end.
    const SOCKET peer = accept(listener.socket, nullptr, nullptr);
    ASSERT_NE(peer, INVALID_SOCKET);

    const uint8_t request[] = {0x01, 0x03, 0xFF, 0x00};
    ASSERT_EQ(port.ops.writeBlock(port, request, sizeof request), kSerialOk);
    char got[8] = {};
    int n = 0;
    while (n < 4) {
        const int r = recv(peer, got + n, static_cast<int>(sizeof got) - n, 0);
        ASSERT_GT(r, 0);
        n += r;
    }
    EXPECT_EQ(std::string(got, 4), std::string("\x01\x03\xFF\x00", 4)) << "raw: 0xFF goes as it is";

    ASSERT_EQ(send(peer, "\xFF\x09", 2, 0), 2);
    EXPECT_EQ(readByteTimed(port, 5000), 0xFF);
    EXPECT_EQ(readByteTimed(port, 5000), 0x09);
    EXPECT_EQ(port.ops.rxCount(port), 0);

    closesocket(peer);
    EXPECT_EQ(readByteTimed(port, 5000), kSerialNoSuchPort);
    EXPECT_EQ(port.ops.writeBlock(port, request, sizeof request), kSerialTxFull);
    port.ops.closePort(port);
    EXPECT_EQ(serial.liveCount(), 0);
}

TEST(WinsockPort, RefusedUnknownAndBadSettingsSayWhich)
{
    SerialLibrary serial;
    std::string refused;
    {
        Listener gone;
        ASSERT_NE(gone.port, 0);
        refused = gone.url("rfc2217://");
        SerialPort& port = serial.openDevice(gone.url("tcp://"), 0, 9600, 'N', 9, 2);
        EXPECT_EQ(port.status, kSerialBadDataBits) << "held to the serial driver's rules";
        port.ops.closePort(port);
    }
    SerialPort& port = serial.openDevice(refused, 0, 9600, 'N', 8, 2);
    EXPECT_EQ(port.status, kSerialConnectRefused);
    port.ops.closePort(port);
    SerialPort& unknown = serial.openDevice("rfc2217://nosuchhost.invalid:2217", 0, 9600, 'N', 8, 2);
    EXPECT_EQ(unknown.status, kSerialHostUnknown);
    unknown.ops.closePort(unknown);
    EXPECT_EQ(serial.liveCount(), 0);
}
