// A device server that misbehaves: a small server on the loopback plays each
// fault on a raw TCP port, and every case ends as the transaction rules say,
// with the next transaction, to a server behaving again, succeeding.
#include "JbusCrc.h"
#include "JbusMaster.h"
#include "LinkState.h"
#include "SerialPort.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

using namespace vantor;

namespace {

// Read of 5 registers from 0x3000 at address 1, and the instrument's answer.
const std::vector<uint8_t> kRequest = {0x01, 0x03, 0x30, 0x00, 0x00, 0x05, 0x8A, 0xC9};
std::vector<uint8_t> goodReply()
{
    std::vector<uint8_t> reply = {0x01, 0x03, 0x0A, 0x01, 0x5E, 0x00, 0x01, 0x00, 0x00, 0x2A, 0xF8, 0xD6, 0xD8};
    const uint16_t crc = jbusCrc16(reply.data(), static_cast<uint16_t>(reply.size()));
    reply.push_back(static_cast<uint8_t>(crc & 0xFF));
    reply.push_back(static_cast<uint8_t>(crc >> 8));
    return reply;
}

enum class Act { Answer, Garbage, HalfThenClose, CloseAtOnce, Late };

// Serves one connection at a time; each request is answered as the act of the
// moment says, and counted.
class MisbehavingServer {
public:
    MisbehavingServer()
    {
        m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(m_listener, 4);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~MisbehavingServer()
    {
        m_stop = true;
        m_thread.join();
        close(m_listener);
    }
    std::string name() const { return "tcp://127.0.0.1:" + std::to_string(m_port); }
    void act(Act act, int lateMs = 0) { m_act = act, m_lateMs = lateMs, m_requests = 0; }
    int requests() const { return m_requests; }

private:
    // True when fd became readable before the server was told to stop.
    bool readable(int fd)
    {
        for (pollfd p{fd, POLLIN, 0}; !m_stop; p.revents = 0)
            if (poll(&p, 1, 20) > 0)
                return true;
        return false;
    }
    void serve()
    {
        while (readable(m_listener)) {
            const int client = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0)
                converse(client);
        }
    }
    void converse(int client)
    {
        std::vector<uint8_t> got;
        uint8_t buffer[256];
        while (readable(client)) {
            const ssize_t n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            got.insert(got.end(), buffer, buffer + n);
            if (got.size() < kRequest.size())
                continue;
            got.clear();
            ++m_requests;
            const std::vector<uint8_t> reply = goodReply();
            switch (m_act.load()) {
            case Act::Answer: send(client, reply.data(), reply.size(), MSG_NOSIGNAL); break;
            case Act::Garbage: {
                const std::vector<uint8_t> noise(reply.size(), 0xA5);
                send(client, noise.data(), noise.size(), MSG_NOSIGNAL);
                break;
            }
            case Act::HalfThenClose: send(client, reply.data(), reply.size() / 2, MSG_NOSIGNAL); [[fallthrough]];
            case Act::CloseAtOnce: close(client); return;
            case Act::Late:
                std::this_thread::sleep_for(std::chrono::milliseconds(m_lateMs.load()));
                send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
                break;
            }
        }
        close(client);
    }

    int m_listener = -1;
    uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<Act> m_act{Act::Answer};
    std::atomic<int> m_lateMs{0};
    std::atomic<int> m_requests{0};
    std::thread m_thread;
};

}  // namespace

TEST(NetworkFaults, EachEndsAsTheRulesSayAndTheNextTransactionSucceeds)
{
    const struct {
        const char* name;
        Act act;
        int lateMs;
        bool succeeds;
        LinkFailure failure;
        int requests;  // the server hears
    } rows[] = {
        {"garbage", Act::Garbage, 0, false, LinkFailure::BadCrc, 3},
        // A reply cut by a closed connection: gone like an unplugged adapter, no retry on it.
        {"half a reply, then closed", Act::HalfThenClose, 0, false, LinkFailure::NoAnswer, 1},
        {"closed at the request", Act::CloseAtOnce, 0, false, LinkFailure::NoAnswer, 1},
        // 400 ms for the first byte at 9600 baud, and the network's margin beyond.
        {"late, within the network's margin", Act::Late, 480, true, LinkFailure::None, 1},
    };
    MisbehavingServer server;
    SerialLibrary serial;
    serial.setDevicePath(0, server.name());
    LinkSettings settings;
    JbusMaster master(serial, settings);
    for (const auto& row : rows) {
        server.act(row.act, row.lateMs);
        const bool succeeded = master.transact(1, 3, 0x3000, 5).has_value();
        EXPECT_EQ(succeeded, row.succeeds) << row.name;
        EXPECT_EQ(master.lastFailure(), row.succeeds ? master.lastFailure() : row.failure) << row.name;
        EXPECT_EQ(server.requests(), row.requests) << row.name;
        server.act(Act::Answer);
        const auto next = master.transact(1, 3, 0x3000, 5);
        ASSERT_TRUE(next.has_value()) << "after " << row.name << ": " << static_cast<int>(master.lastFailure());
        EXPECT_EQ((*next)[0], 0x01) << "after " << row.name;
        EXPECT_EQ((*next)[1], 0x5E) << "after " << row.name;
    }
}
