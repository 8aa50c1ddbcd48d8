// Which names reach the network driver, and what they hold.
#include "NetworkPortName.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace vantor;

TEST(NetworkPortName, PartsOfEachName)
{
    struct Row {
        const char* name;
        bool network;  // goes to the network driver at all
        std::optional<NetworkPortName> parts;
    };
    const Row rows[] = {
        {"rfc2217://127.0.0.1:2001", true, NetworkPortName{true, "127.0.0.1", 2001}},
        {"tcp://gw1:4001", true, NetworkPortName{false, "gw1", 4001}},
        {"rfc2217://[::1]:7000", true, NetworkPortName{true, "::1", 7000}},
        {"tcp://h:65535", true, NetworkPortName{false, "h", 65535}},
        {"rfc2217://gw1", true, std::nullopt},
        {"tcp://:80", true, std::nullopt},
        {"tcp://h:0", true, std::nullopt},
        {"tcp://h:65536", true, std::nullopt},
        {"tcp://h:12a", true, std::nullopt},
        {"tcp://h:", true, std::nullopt},
        {"tcp://::1:80", true, std::nullopt},
        {"tcp://[]:80", true, std::nullopt},
        {"/dev/ttyUSB0", false, std::nullopt},
        {"COM3", false, std::nullopt},
        {"telnet://h:23", false, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(isNetworkPortName(row.name), row.network);
        const auto parts = parseNetworkPortName(row.name);
        ASSERT_EQ(parts.has_value(), row.parts.has_value());
        if (parts) {
            EXPECT_EQ(parts->telnet, row.parts->telnet);
            EXPECT_EQ(parts->host, row.parts->host);
            EXPECT_EQ(parts->port, row.parts->port);
        }
    }
}

TEST(NetworkPortName, EndpointForMessages)
{
    EXPECT_EQ(networkEndpoint("rfc2217://127.0.0.1:2001"), "127.0.0.1:2001");
    EXPECT_EQ(networkEndpoint("tcp://gw1:4001"), "gw1:4001");
    EXPECT_EQ(networkEndpoint("/dev/ttyS0"), "/dev/ttyS0");
}
