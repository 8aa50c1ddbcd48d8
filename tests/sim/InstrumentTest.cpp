// The simulated instrument's refusals, frame by frame, without a line (its
// change of address is tried through vantorctl).
#include "Instrument.h"
#include "JbusCrc.h"

#include <gtest/gtest.h>


using namespace vantor::sim;

namespace {

std::vector<uint8_t> frame(std::initializer_list<int> bytes)
{
    std::vector<uint8_t> f;
    for (int b : bytes)
        f.push_back(static_cast<uint8_t>(b));
    appendCrc(f);
    return f;
}

std::vector<uint8_t> read(uint8_t address, uint16_t first, uint16_t count)
{
    return frame({address, 3, first >> 8, first & 0xFF, count >> 8, count & 0xFF});
}

std::vector<uint8_t> write(uint8_t address, uint16_t first, const std::vector<uint8_t>& image)
{
    const auto count = static_cast<uint8_t>(image.size() / 2);
    std::vector<uint8_t> f;
    for (uint8_t b : {address, uint8_t{16}, static_cast<uint8_t>(first >> 8), static_cast<uint8_t>(first),
                      uint8_t{0}, count, static_cast<uint8_t>(2 * count)})
        f.push_back(b);
    for (uint8_t b : image)
        f.push_back(b);
    appendCrc(f);
    return f;
}

}  // namespace

TEST(Instrument, RefusesWhatItDoesNotHold)
{
    std::vector<uint8_t> badCount = write(1, 0x3000, {0, 1, 0, 2});
    badCount[6] = 5;
    badCount.resize(badCount.size() - 2);
    appendCrc(badCount);
    std::vector<uint8_t> corrupt = read(1, 0x3000, 5);
    corrupt.back() ^= 1;
    const struct {
        const char* name;
        std::vector<uint8_t> request, reply;  // no reply: silence
    } cases[] = {
        {"function 4", frame({1, 4, 0x11, 0x00, 0, 1}), frame({1, 0x84, 1})},
        {"no such register", read(1, 0x4000, 2), frame({1, 0x83, 2})},
        {"0x111E and 0x111F are CAN, 0x1120 is nothing", read(1, 0x111E, 3), frame({1, 0x83, 2})},
        {"the measurement block is read-only", write(1, 0x0010, {0, 0}), frame({1, 0x90, 2})},
        {"a byte count not twice the registers", badCount, frame({1, 0x90, 3})},
        {"a bad CRC", corrupt, {}},
        {"another address", read(2, 0x3000, 5), {}},
    };
    Instrument unit;
    for (const auto& c : cases) {
        std::vector<uint8_t> reply;
        EXPECT_EQ(unit.handle(c.request, 0, reply) ? reply : std::vector<uint8_t>{}, c.reply) << c.name;
    }
}
