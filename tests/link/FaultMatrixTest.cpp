// Every way a reply can go wrong, for reads and writes of the program's sizes
// at the fastest and a slow speed, through the simulated instrument. Each case
// ends as the transaction rules say, and the next transaction on a clean line
// succeeds: nothing stale is carried over.
#include "JbusMaster.h"
#include "Simulator.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace vantor;
using sim::Fault;

namespace {

struct Operation {
    const char* name;
    uint8_t function;
    uint16_t first;
    uint16_t count;
    int replyLength() const { return function == 3 ? 2 * count + 5 : 8; }
};

constexpr Operation kOperations[] = {
    {"read 28", 3, 0x1100, 28},
    {"read 36", 3, 0x0010, 36},
    {"write 28", 16, 0x1100, 28},
    {"write 5", 16, 0x3000, 5},
};

enum class Expect { Success, Failure };

struct Case {
    std::string name;
    Operation operation;
    int32_t baud;
    Fault fault;
    int times;   // attempts the fault spoils
    int amount;
    Expect expect;
    LinkFailure failure;   // for a failure; None accepts any
    size_t attempts;       // requests the instrument hears
    bool vanish = false;   // the line goes away in the middle of the reply
};

struct Outcome {
    int result = 0;
    LinkFailure failure = LinkFailure::None;
    size_t heard = 0;
    int next = -1;  // the transaction after, on a clean line
};

// One instrument, one line and one master of its own, so that cases run side by side.
class Rig {
public:
    explicit Rig(int32_t baud)
        : m_simulator({m_dir.file("com1")}, {.baud = baud, .address = 1, .turnaroundMs = 5})
    {
        m_serial.setDevicePath(0, m_simulator.path(0));
        m_settings.baudIndex = baud == 600 ? 1 : 5;
    }

    int transact(const Operation& op)
    {
        // A write sends the registers' own values back: the instrument is left as it was.
        const std::vector<uint8_t> image =
            op.function == 16 ? m_simulator.image(op.first, op.count) : std::vector<uint8_t>();
        return m_master.transact(1, op.function, op.first, op.count, image) ? 0 : -1;
    }

    Outcome run(const Case& c)
    {
        Outcome out;
        m_simulator.injectFault(c.fault, c.times, c.amount);
        if (c.vanish) {
            // Unplugged once the first half of the reply is on its way.
            auto transaction = std::async(std::launch::async, [&] { return transact(c.operation); });
            const int requestBytes = c.operation.function == 3 ? 8 : 9 + 2 * c.operation.count;
            std::this_thread::sleep_for(std::chrono::milliseconds(
                wireTimeMs(requestBytes + c.operation.replyLength() / 2, c.baud) + 60));
            m_simulator.disconnect();
            out.result = transaction.get();
            m_simulator.reconnect();
        } else {
            out.result = transact(c.operation);
        }
        out.failure = m_master.lastFailure();
        for (const auto& r : m_simulator.requests())
            out.heard += r.heard ? 1 : 0;
        m_simulator.clearFaults();
        // Whatever was still on its way has arrived before the next request.
        const int settleMs = c.fault == Fault::LateReply ? c.amount + wireTimeMs(c.operation.replyLength(), c.baud) : 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(settleMs + 50));
        out.next = transact(c.operation);
        return out;
    }

private:
    test::TempDir m_dir;
    sim::Simulator m_simulator;
    SerialLibrary m_serial;
    LinkSettings m_settings;
    JbusMaster m_master{m_serial, m_settings};
};

std::vector<Case> matrix(int32_t baud)
{
    std::vector<Case> cases;
    {
        const bool slow = baud == 600;
        const int interByteMs = slow ? 400 : 150;
        for (const Operation& op : kOperations) {
            // At the slow speed a read and a write of the block size are enough for the timing.
            if (slow && op.count != (op.function == 3 ? 36 : 28))
                continue;
            const std::string at = std::string(op.name) + " at " + std::to_string(baud) + ": ";
            const int readTimeoutMs = slow ? 1000 : 400;
            const int replyTimeoutMs = op.function == 3 ? readTimeoutMs : kWriteReplyTimeoutMs;
            const int n = op.replyLength();
            cases.push_back({at + "silence", op, baud, Fault::Silence, 3, 0, Expect::Failure, LinkFailure::NoAnswer, 3});
            cases.push_back({at + "wrong CRC", op, baud, Fault::BadCrc, 3, 0, Expect::Failure, LinkFailure::BadCrc, 3});
            cases.push_back({at + "wrong CRC once", op, baud, Fault::BadCrc, 1, 0, Expect::Success, {}, 2});
            // Cut after each of its bytes: every one of a write's reply; a read's frame
            // edges and every eighth byte between them at the fast speed, its edges at the slow one.
            for (int kept = 1; kept < n; ++kept) {
                const bool edge = kept <= 3 || kept >= n - 3;
                if (!(op.function == 16 || edge || (!slow && kept % 8 == 0)) || (slow && !edge))
                    continue;
                cases.push_back({at + "cut after byte " + std::to_string(kept), op, baud, Fault::MissingBytes, 1,
                                 n - kept, Expect::Success, {}, 2});
            }
            cases.push_back({at + "cut every time", op, baud, Fault::MissingBytes, 3, 1, Expect::Failure,
                             LinkFailure::WrongLength, 3});
            cases.push_back({at + "one extra byte", op, baud, Fault::ExtraBytes, 3, 1, Expect::Failure,
                             LinkFailure::WrongLength, 3});
            cases.push_back({at + "exception", op, baud, Fault::Exception, 3, 2, Expect::Failure,
                             LinkFailure::Exception, 3});
            // Right length and CRC, but the answer to another request.
            cases.push_back({at + "reply from another address", op, baud, Fault::OtherAddress, 3, 2,
                             op.function == 3 ? Expect::Failure : Expect::Success,
                             LinkFailure::BadReply, op.function == 3 ? 3u : 1u});
            cases.push_back({at + "reply of another function", op, baud, Fault::OtherFunction, 3,
                             op.function == 3 ? 4 : 6, Expect::Failure, LinkFailure::BadReply, 3});
            cases.push_back({at + (op.function == 3 ? "another byte count" : "another echoed count"), op, baud,
                             Fault::OtherCount, 3, 0, Expect::Failure, LinkFailure::BadReply, 3});
            if (op.function == 16)
                cases.push_back({at + "another echoed register", op, baud, Fault::OtherRegister, 3, 0,
                                 Expect::Failure, LinkFailure::BadReply, 3});
            cases.push_back({at + "another function once", op, baud, Fault::OtherFunction, 1, 4, Expect::Success, {},
                             2});
            cases.push_back({at + "gap just under the inter-byte time-out", op, baud, Fault::PauseInside, 1,
                             interByteMs - (slow ? 70 : 50), Expect::Success, {}, 1});
            cases.push_back({at + "gap just over the inter-byte time-out", op, baud, Fault::PauseInside, 3,
                             interByteMs + (slow ? 100 : 70), Expect::Failure, LinkFailure::None, 3});
            cases.push_back({at + "noise before the reply", op, baud, Fault::NoiseBefore, 3, 1, Expect::Failure,
                             LinkFailure::WrongLength, 3});
            // Later than the three attempts together: a reply later than one time-out but
            // in the next attempt's would be taken there, as the same request's reply.
            const int requestMs = wireTimeMs(op.function == 3 ? 8 : 9 + 2 * op.count, baud);
            cases.push_back({at + "reply later than the time-out", op, baud, Fault::LateReply, 3,
                             3 * (replyTimeoutMs + requestMs) + 200, Expect::Failure, LinkFailure::NoAnswer, 3});
            Case vanish{at + "line vanishing mid-reply", op, baud, Fault::PauseInside, 1, 2000, Expect::Failure,
                        LinkFailure::None, 1};
            vanish.vanish = true;
            cases.push_back(vanish);
        }
    }
    return cases;
}

void runMatrix(int32_t baud)
{
    const std::vector<Case> cases = matrix(baud);
    std::vector<Outcome> outcomes(cases.size());
    // The cases wait on the line far more than they compute: a few workers take
    // them one after the other, each case on a line of its own.
    std::atomic<size_t> nextCase{0};
    std::vector<std::thread> workers;
    // As many as the machine has cores, four a core: more would time the line of a starved one.
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    for (size_t w = 0; w < std::min<size_t>(cases.size(), 4 * cores); ++w)
        workers.emplace_back([&] {
            for (size_t i = nextCase++; i < cases.size(); i = nextCase++) {
                Rig rig(cases[i].baud);
                outcomes[i] = rig.run(cases[i]);
            }
        });
    for (std::thread& worker : workers)
        worker.join();

    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const Outcome& o = outcomes[i];
        SCOPED_TRACE(c.name + " (result " + std::to_string(o.result) + ", " + linkFailureText(o.failure, 1) + ", heard " +
                     std::to_string(o.heard) + ")");
        if (c.expect == Expect::Success) {
            EXPECT_EQ(o.result, 0);
        } else {
            EXPECT_EQ(o.result, -1);
            if (c.failure != LinkFailure::None) {
                EXPECT_EQ(o.failure, c.failure);
            } else {
                EXPECT_NE(o.failure, LinkFailure::None);
            }
        }
        if (!c.vanish) {
            EXPECT_EQ(o.heard, c.attempts) << "requests heard";
        }
        EXPECT_EQ(o.next, 0) << "the next transaction";
    }
}

}  // namespace

TEST(FaultMatrix, At9600Baud) { runMatrix(9600); }
TEST(FaultMatrix, At600Baud) { runMatrix(600); }
