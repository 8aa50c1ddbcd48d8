// How a reply is taken off the line, on the system's own driver: on Linux a
// pseudo-terminal, on Windows the Win32 driver on a COM port of the Wine prefix,
// where the rest of a reply is read in runs that the system ends at a silence.
#include "JbusMaster.h"
#include "LinkState.h"
#include "SerialPort.h"
#include "Simulator.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantor;
using vantor::sim::Fault;

namespace {

struct Row {
    const char* name;
    uint8_t function;
    uint16_t first;
    uint16_t count;
    Fault fault;
    int times;  // 0: no fault
    int amount;
    int result;
    LinkFailure failure;  // None on a failure: whichever the rest of a reply makes of the next attempt
    uint16_t received;    // by the last attempt; 0: not checked
    size_t heard;
};

class ReplyRunTest : public ::testing::Test {
protected:
    ReplyRunTest() { serial.setDevicePath(0, simulator.path(0)); }

    int transact(const Row& row)
    {
        std::vector<uint8_t> image(row.function == 16 ? 2u * row.count : 0u);
        for (size_t i = 0; i < image.size(); ++i)
            image[i] = static_cast<uint8_t>(i);
        return master.transact(1, row.function, row.first, row.count, image) ? 0 : -1;
    }

    test::TempDir dir;
    sim::Simulator simulator{{dir.file("com1")}, {.turnaroundMs = 2}};
    SerialLibrary serial;
    LinkSettings settings;
    JbusMaster master{serial, settings};
};

}  // namespace

// At 9600 baud the inter-byte time-out is 150 ms: a pause of 100 ms inside the
// reply is still one frame, one of 230 ms ends it.
TEST_F(ReplyRunTest, EndsAtItsLengthAtASilenceOrOverLong)
{
    const Row rows[] = {
        {"whole reply", 3, 0x1100, 28, Fault::Silence, 0, 0, 0, LinkFailure::None, 61, 1},
        {"reply longer than one run", 3, 0x5000, 120, Fault::Silence, 0, 0, 0, LinkFailure::None, 245, 1},
        {"write acknowledged", 16, 0x1100, 4, Fault::Silence, 0, 0, 0, LinkFailure::None, 8, 1},
        {"pause under the time-out", 3, 0x1100, 28, Fault::PauseInside, 1, 100, 0, LinkFailure::None, 61, 1},
        {"pause over the time-out", 3, 0x1100, 28, Fault::PauseInside, 3, 230, -1, LinkFailure::None, 0, 3},
        {"exception", 3, 0x1100, 28, Fault::Exception, 3, 2, -1, LinkFailure::Exception, 5, 3},
        {"one byte too many", 3, 0x1100, 28, Fault::ExtraBytes, 3, 1, -1, LinkFailure::WrongLength, 62, 3},
        {"one byte short", 3, 0x1100, 28, Fault::MissingBytes, 3, 1, -1, LinkFailure::WrongLength, 60, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        simulator.clearRequests();
        simulator.clearFaults();
        if (row.times > 0)
            simulator.injectFault(row.fault, row.times, row.amount);
        EXPECT_EQ(transact(row), row.result);
        if (row.result == 0 || row.failure != LinkFailure::None) {
            EXPECT_EQ(master.lastFailure(), row.failure);
        }
        if (row.received != 0) {
            EXPECT_EQ(master.lastReply().size(), row.received);
        }
        EXPECT_EQ(simulator.requests().size(), row.heard);
        if (row.result == 0 && row.function == 3) {
            EXPECT_EQ(std::vector<uint8_t>(master.lastReply().begin() + 3, master.lastReply().end() - 2),
                      simulator.image(row.first, row.count));
        }
        // The bytes of a pause or an over-long reply are gone before the next request.
        simulator.clearFaults();
        EXPECT_TRUE(master.transact(1, 3, 0x1100, 1)) << "the transaction after it";
    }
}
