#include "HexText.h"
#include "Simulator.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace vantor::sim {

namespace {

SOCKET connectToServer()
{
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    const char* port = std::getenv("VANTOR_SIM_SERVER");
    if (!started || !port || !*port)
        throw std::runtime_error("no simulator server: VANTOR_SIM_SERVER names its port");
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(std::atoi(port)));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (s == INVALID_SOCKET || connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (s != INVALID_SOCKET)
            closesocket(s);
        throw std::runtime_error(std::string("cannot reach the simulator server on port ") + port);
    }
    const BOOL noDelay = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    return s;
}

}  // namespace

Simulator::Simulator(const std::vector<std::string>& paths, SimOptions options)
    : m_baud(options.baud), m_socket(connectToServer())
{
    for (size_t i = 0; i < paths.size(); ++i)
        m_paths.push_back("\\\\.\\COM" + std::to_string(i + 1));
    ask("start " + std::to_string(paths.size()) + " " + std::to_string(options.baud) + " " +
        std::to_string(options.address) + " " + std::to_string(options.turnaroundMs) + " " +
        std::to_string(options.ignoredWrites) + " " + std::to_string(options.measurementWritable ? 1 : 0));
}

Simulator::~Simulator()
{
    closesocket(static_cast<SOCKET>(m_socket));
}

std::string Simulator::ask(const std::string& command) const
{
    const std::string line = command + "\n";
    const SOCKET s = static_cast<SOCKET>(m_socket);
    if (::send(s, line.data(), static_cast<int>(line.size()), 0) != static_cast<int>(line.size()))
        throw std::runtime_error("the simulator server went away");
    for (;;) {
        const size_t end = m_pending.find('\n');
        if (end != std::string::npos) {
            std::string reply = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            if (reply.rfind("ok", 0) != 0)
                throw std::runtime_error("simulator server: " + reply + " (for " + command + ")");
            return reply.size() > 3 ? reply.substr(3) : std::string();
        }
        char buffer[4096];
        const int n = recv(s, buffer, sizeof buffer, 0);
        if (n <= 0)
            throw std::runtime_error("the simulator server went away");
        m_pending.append(buffer, static_cast<size_t>(n));
    }
}

uint16_t Simulator::reg(uint16_t r) const { return static_cast<uint16_t>(std::stoi(ask("reg " + std::to_string(r)))); }

void Simulator::setReg(uint16_t r, uint16_t value)
{
    ask("setreg " + std::to_string(r) + " " + std::to_string(value));
}

std::vector<uint8_t> Simulator::image(uint16_t first, uint16_t count) const
{
    return hexBytes(ask("image " + std::to_string(first) + " " + std::to_string(count)));
}

void Simulator::setImage(uint16_t first, const std::vector<uint8_t>& bytes)
{
    ask("setimage " + std::to_string(first) + " " + hexText(bytes));
}

void Simulator::holdImage(uint16_t first, const std::vector<uint8_t>& bytes)
{
    ask("hold " + std::to_string(first) + " " + hexText(bytes));
}

uint8_t Simulator::address() const { return static_cast<uint8_t>(std::stoi(ask("address"))); }

void Simulator::setBaud(int32_t baud)
{
    ask("setbaud " + std::to_string(baud));
    m_baud = baud;
}

void Simulator::setTurnaroundMs(int ms) { ask("setturnaround " + std::to_string(ms)); }

void Simulator::injectFault(Fault fault, int times, int amount)
{
    ask("fault " + std::to_string(static_cast<int>(fault)) + " " + std::to_string(times) + " " +
        std::to_string(amount));
}

void Simulator::clearFaults() { ask("clearfaults"); }

std::vector<HeardRequest> Simulator::requests() const
{
    std::vector<HeardRequest> out;
    std::istringstream in(ask("requests"));
    std::string item;
    while (in >> item) {
        HeardRequest r;
        int heard = 0, answered = 0;
        long long at = 0;
        char bytes[1100] = {};
        if (std::sscanf(item.c_str(), "%d,%d,%d,%d,%lld,%1099s", &r.line, &r.lineBaud, &heard, &answered, &at,
                        bytes) != 6)
            throw std::runtime_error("simulator server: bad request record " + item);
        r.heard = heard != 0;
        r.answered = answered != 0;
        r.atMs = at;
        r.bytes = hexBytes(bytes);
        out.push_back(std::move(r));
    }
    return out;
}

void Simulator::clearRequests() { ask("clearrequests"); }
void Simulator::disconnect() { ask("disconnect"); }
void Simulator::reconnect() { ask("reconnect"); }

}  // namespace vantor::sim
