// Network ports against a real device server: ser2net serves the simulated
// instrument's pseudo-terminal on loopback ports, through RFC 2217 and raw TCP,
// and the master reads through it with the same code as on a serial line.
#include "JbusMaster.h"
#include "LinkState.h"
#include "LinkStatus.h"
#include "ProgramState.h"
#include "SerialPort.h"
#include "Simulator.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace vantor;

namespace {

// The instruments run at 4800 baud; the RFC 2217 accepter's line starts at
// 9600, so a read there only succeeds once the speed has gone over the network.
// One instrument behind each accepter: ser2net holds a device a while after
// its client has gone, and another accepter's client would find it taken.
constexpr int32_t kInstrumentBaud = 4800;
constexpr int kBaudIndex4800 = 4;

std::string findSer2net()
{
    std::string dirs = std::getenv("PATH") ? std::getenv("PATH") : "";
    // Debian installs it for root: not on every user's path.
    dirs += ":/usr/sbin:/sbin";
    std::stringstream list(dirs);
    for (std::string dir; std::getline(list, dir, ':');) {
        const std::string candidate = dir + "/ser2net";
        if (!dir.empty() && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

// A loopback port nobody listens on as the system hands it out.
uint16_t freeLoopbackPort()
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0)
            close(fd);
        return 0;
    }
    close(fd);
    return ntohs(address.sin_port);
}

// True when the system lists a socket listening on the loopback port.
bool listening(uint16_t port)
{
    std::ifstream table("/proc/net/tcp");
    char local[16];
    std::snprintf(local, sizeof local, "0100007F:%04X", port);
    for (std::string line; std::getline(table, line);) {
        std::istringstream fields(line);
        std::string slot, address, remote, state;
        fields >> slot >> address >> remote >> state;
        if (address == local && state == "0A")
            return true;
    }
    return false;
}

// ser2net in the foreground on a configuration of its own.
class Ser2net {
public:
    Ser2net(std::string program, std::string config, std::string log)
        : m_program(std::move(program)), m_config(std::move(config)), m_log(std::move(log))
    {
    }
    ~Ser2net() { stop(); }

    // Starts it and waits until it listens on the ports; false, with its output
    // in `why`, when it ended instead.
    bool start(const std::vector<uint16_t>& ports, std::string& why)
    {
        // The simulator runs threads: between fork and exec the child only
        // makes system calls, on what was made before.
        const std::string pidFile = m_config + ".pid";
        const int log = open(m_log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        m_pid = fork();
        if (m_pid == 0) {
            if (log >= 0) {
                dup2(log, STDOUT_FILENO);
                dup2(log, STDERR_FILENO);
            }
            // -n: in the foreground; -u: no UUCP lock files in the system's folders.
            execl(m_program.c_str(), m_program.c_str(), "-n", "-u", "-P", pidFile.c_str(), "-c", m_config.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        if (log >= 0)
            close(log);
        for (;;) {
            bool all = true;
            for (const uint16_t port : ports)
                all = all && listening(port);
            if (all)
                return true;
            int status = 0;
            if (m_pid < 0 || waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                std::ifstream output(m_log);
                why = "ser2net ended: " + std::string(std::istreambuf_iterator<char>(output), {});
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    void stop()
    {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    std::string m_program, m_config, m_log;
    pid_t m_pid = -1;
};

struct Block {
    const char* name;
    uint16_t first;
    uint16_t count;
};
// Every block the program reads.
constexpr Block kBlocks[] = {
    {"probe catalogue", 0x5000, 120}, {"measurement", 0x0010, 36}, {"calibration", 0x1100, 28},
    {"CAN settings", 0x111C, 4},      {"factory", 0x2200, 24},     {"maker", 0x3000, 5},
    {"unit address", 0x111A, 1},
};

class NetworkPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string program = findSer2net();
        if (program.empty())
            GTEST_SKIP() << "ser2net not found (scripts/install-deps installs it)";
        rfc2217Port = freeLoopbackPort();
        rawPort = freeLoopbackPort();
        ASSERT_NE(rfc2217Port, 0);
        ASSERT_NE(rawPort, 0);
        ASSERT_NE(rfc2217Port, rawPort);
        const std::string config = dir.file("ser2net.yaml");
        std::ofstream(config) << "connection: &rfc2217\n"
                                 "  accepter: telnet(rfc2217),tcp,127.0.0.1,"
                              << rfc2217Port << "\n  connector: serialdev," << rfc2217Instrument.path(0)
                              << ",9600n82,local\n"
                                 "connection: &raw\n"
                                 "  accepter: tcp,127.0.0.1,"
                              << rawPort << "\n  connector: serialdev," << rawInstrument.path(0) << ","
                              << kInstrumentBaud << "n82,local\n";
        server = std::make_unique<Ser2net>(program, config, dir.file("ser2net.log"));
        std::string why;
        ASSERT_TRUE(server->start({rfc2217Port, rawPort}, why)) << why;
    }

    std::string rfc2217() const { return "rfc2217://127.0.0.1:" + std::to_string(rfc2217Port); }
    std::string raw() const { return "tcp://127.0.0.1:" + std::to_string(rawPort); }

    sim::Simulator& instrument(bool telnet) { return telnet ? rfc2217Instrument : rawInstrument; }

    test::TempDir dir;
    sim::Simulator rfc2217Instrument{{dir.file("com1")}, {.baud = kInstrumentBaud, .address = 1, .turnaroundMs = 5}};
    sim::Simulator rawInstrument{{dir.file("com2")}, {.baud = kInstrumentBaud, .address = 1, .turnaroundMs = 5}};
    std::unique_ptr<Ser2net> server;
    uint16_t rfc2217Port = 0, rawPort = 0;
    SerialLibrary serial;
    LinkSettings settings;
    JbusMaster master{serial, settings};
};

}  // namespace

TEST_F(NetworkPortTest, ReadsEveryBlockByteExact)
{
    const struct {
        const char* name;
        bool telnet;
    } ports[] = {{"rfc2217", true}, {"tcp", false}};
    settings.baudIndex = kBaudIndex4800;
    for (const auto& port : ports) {
        serial.setDevicePath(0, port.telnet ? rfc2217() : raw());
        for (const Block& block : kBlocks) {
            SCOPED_TRACE(std::string(port.name) + ": " + block.name);
            const auto image = master.transact(1, 3, block.first, block.count);
            ASSERT_TRUE(image) << linkFailureCode(master.lastFailure());
            EXPECT_EQ(std::vector<uint8_t>(image->begin(), image->end()), instrument(port.telnet).image(block.first, block.count));
            EXPECT_EQ(master.lastReply().size(), 2u * block.count + 5);
        }
    }
    EXPECT_EQ(master.counters().retries, 0u);
}

TEST_F(NetworkPortTest, WritesThroughRfc2217AndReadsBack)
{
    serial.setDevicePath(0, rfc2217());
    settings.baudIndex = kBaudIndex4800;
    // 0xFF in the data: doubled on the way out, one byte at the instrument.
    const std::vector<uint8_t> image = {0xFF, 0xFF, 0x00, 0xFF, 0x12, 0x34, 0xFF, 0x01, 0x00, 0x00};
    ASSERT_TRUE(master.transact(1, 16, 0x3000, 5, image)) << linkFailureCode(master.lastFailure());
    EXPECT_EQ(rfc2217Instrument.image(0x3000, 5), image);
    const auto back = master.transact(1, 3, 0x3000, 5);
    ASSERT_TRUE(back);
    EXPECT_EQ(std::vector<uint8_t>(back->begin(), back->end()), image);
}

// Nobody listening: its own reason, with the server's name, and nothing sent.
TEST(NetworkPortRefused, SaysWhoRefused)
{
    const uint16_t port = freeLoopbackPort();
    ASSERT_NE(port, 0);
    const std::string endpoint = "127.0.0.1:" + std::to_string(port);
    SerialLibrary serial;
    LinkSettings settings;
    JbusMaster master(serial, settings);
    for (const std::string scheme : {"rfc2217://", "tcp://"}) {
        SCOPED_TRACE(scheme);
        serial.setDevicePath(0, scheme + endpoint);
        EXPECT_FALSE(master.transact(1, 3, 0x3000, 5));
        EXPECT_EQ(master.lastFailure(), LinkFailure::ConnectRefused);
        EXPECT_EQ(failureReason(master.lastFailure(), 0, master.devicePath(), kEnglish),
                  "cannot connect to " + endpoint + ": connection refused");
        EXPECT_EQ(failureReason(master.lastFailure(), 0, master.devicePath(), kFrench),
                  "connexion impossible à " + endpoint + " : connexion refusée");
        EXPECT_EQ(master.counters().retries, 0u) << "a refused connection is not retried";
    }
}

TEST(NetworkPortRefused, MalformedNameCannotBeOpened)
{
    SerialLibrary serial;
    LinkSettings settings;
    JbusMaster master(serial, settings);
    for (const char* name : {"rfc2217://gw1", "tcp://gw1:0", "tcp://:2001"}) {
        SCOPED_TRACE(name);
        serial.setDevicePath(0, name);
        EXPECT_FALSE(master.transact(1, 3, 0x3000, 5));
        EXPECT_EQ(master.lastFailure(), LinkFailure::PortUnavailable);
    }
}
