#include "JbusCrc.h"
#include "JbusMaster.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <vector>

using namespace vantor;

TEST(JbusCrc, KnownVectors)
{
    const char* text = "123456789";
    EXPECT_EQ(jbusCrc16(reinterpret_cast<const uint8_t*>(text), 9), 0x4B37);
    EXPECT_EQ(jbusCrc16(nullptr, 0), 0xFFFF);
}

TEST(JbusRequest, WriteHeaderCarriesByteCountAndTheData)
{
    std::array<uint8_t, JbusMaster::kFrameSize> frame{};
    frame.fill(0xEE);
    const uint8_t data[] = {0x5A, 0x01, 0x02};
    ASSERT_EQ(buildJbusRequest(frame, 1, 16, 0x1100, 28, data), 7u + 56);
    EXPECT_EQ(std::vector<uint8_t>(frame.begin(), frame.begin() + 12),
              std::vector<uint8_t>({0x01, 0x10, 0x11, 0x00, 0x00, 0x1C, 56, 0x5A, 0x01, 0x02, 0x00, 0x00}))
        << "bytes the data does not give are sent as zero";
    EXPECT_EQ(frame[63], 0xEE) << "nothing past the data";
    // Only the low byte of the count is doubled, kept to 8 bits.
    ASSERT_EQ(buildJbusRequest(frame, 1, 16, 0, 0x90), 7u + 0x120);
    EXPECT_EQ(frame[6], 0x20);
    // A write the frame cannot hold with its CRC is no request.
    EXPECT_EQ(buildJbusRequest(frame, 1, 16, 0, 252), 0u);
    EXPECT_EQ(buildJbusRequest(frame, 1, 16, 0, 251), 509u);
}

TEST(JbusRequest, AddressIsTruncatedToItsLowByte)
{
    const struct {
        float address;
        uint8_t sent;
    } cases[] = {{1.9f, 1}, {0.0f, 0}, {247.0f, 247}, {255.99f, 255}, {300.0f, 44}, {-0.5f, 0},
                 {std::numeric_limits<float>::quiet_NaN(), 0}, {1e20f, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(jbusAddressByte(c.address), c.sent) << "address " << c.address;
}

TEST(JbusTiming, TimeoutsAndWireTime)
{
    EXPECT_EQ(readTimeouts(0).replyMs, 1000);
    EXPECT_EQ(readTimeouts(1).interByteMs, 400);
    EXPECT_EQ(readTimeouts(2).replyMs, 400);
    EXPECT_EQ(readTimeouts(5).interByteMs, 150);
    // A write of 28 registers is 65 bytes: 2.4 s at 300 baud, 1.2 s at 600.
    EXPECT_EQ(wireTimeMs(65, 300), 2384);
    EXPECT_EQ(wireTimeMs(65, 600), 1192);
    EXPECT_EQ(wireTimeMs(8, 9600), 10);
    // The frame guard: 3.5 characters of 11 bits, never under 2 ms.
    const std::pair<int32_t, int> guards[] = {{300, 129}, {600, 65}, {2400, 17}, {9600, 5}, {19200, 3}, {115200, 2}};
    for (const auto& [baud, ms] : guards)
        EXPECT_EQ(frameGuardMs(baud), ms) << baud << " baud";
}
