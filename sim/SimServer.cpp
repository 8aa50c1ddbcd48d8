#include "SimServer.h"

#include "HexText.h"
#include "Simulator.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

namespace vantor::sim {

namespace {

// The one simulator on the lines, and the connection that started it. A test
// may start a second simulator before it lets the first go (a unit replaced
// mid-test): the newest takes the lines.
struct Lines {
    const std::vector<std::string>& paths;
    std::mutex mutex;
    std::unique_ptr<Simulator> simulator;
    const void* owner = nullptr;
};

// One client's conversation: a line in, a line out.
class Session {
public:
    Session(int fd, Lines& lines) : m_fd(fd), m_lines(lines) {}
    ~Session()
    {
        std::lock_guard lock(m_lines.mutex);
        if (m_lines.owner == this) {
            m_lines.simulator.reset();
            m_lines.owner = nullptr;
        }
    }

    void run()
    {
        std::string line;
        while (readLine(line)) {
            std::string reply;
            try {
                std::lock_guard lock(m_lines.mutex);
                reply = handle(line);
            } catch (const std::exception& e) {
                reply = std::string("error ") + e.what();
            }
            if (!send(reply + "\n"))
                break;
        }
    }

private:
    std::string handle(const std::string& line)
    {
        std::istringstream in(line);
        std::string command;
        in >> command;
        if (command == "start") {
            int lines = 1, baud = 9600, address = 1, turnaround = 5, ignored = 0, writable = 0;
            in >> lines >> baud >> address >> turnaround >> ignored >> writable;
            const std::vector<std::string>& paths = m_lines.paths;
            if (lines < 1 || lines > static_cast<int>(paths.size()))
                return "error only " + std::to_string(paths.size()) + " lines";
            m_lines.simulator.reset();
            m_lines.owner = this;
            m_lines.simulator = std::make_unique<Simulator>(
                std::vector<std::string>(paths.begin(), paths.begin() + lines),
                SimOptions{.baud = baud, .address = static_cast<uint8_t>(address), .turnaroundMs = turnaround,
                           .ignoredWrites = ignored, .measurementWritable = writable != 0});
            return "ok";
        }
        if (!m_lines.simulator || m_lines.owner != this)
            return "error no simulator started";
        Simulator& s = *m_lines.simulator;
        int a = 0, b = 0, c = 0;
        std::string bytes;
        if (command == "image") {
            in >> a >> b;
            return "ok " + hexText(s.image(static_cast<uint16_t>(a), static_cast<uint16_t>(b)));
        }
        if (command == "setimage" || command == "hold") {
            in >> a >> bytes;
            (command == "hold" ? s.holdImage(static_cast<uint16_t>(a), hexBytes(bytes))
                               : s.setImage(static_cast<uint16_t>(a), hexBytes(bytes)));
            return "ok";
        }
        if (command == "reg") {
            in >> a;
            return "ok " + std::to_string(s.reg(static_cast<uint16_t>(a)));
        }
        if (command == "setreg") {
            in >> a >> b;
            s.setReg(static_cast<uint16_t>(a), static_cast<uint16_t>(b));
            return "ok";
        }
        if (command == "address")
            return "ok " + std::to_string(s.address());
        if (command == "fault") {
            in >> a >> b >> c;
            s.injectFault(static_cast<Fault>(a), b, c);
            return "ok";
        }
        if (command == "requests") {
            std::string out = "ok";
            for (const HeardRequest& r : s.requests())
                out += " " + std::to_string(r.line) + "," + std::to_string(r.lineBaud) + "," +
                       std::to_string(r.heard) + "," + std::to_string(r.answered) + "," + std::to_string(r.atMs) +
                       "," + hexText(r.bytes);
            return out;
        }
        if (command == "clearfaults")
            return s.clearFaults(), "ok";
        if (command == "clearrequests")
            return s.clearRequests(), "ok";
        if (command == "setbaud")
            return in >> a, s.setBaud(a), "ok";
        if (command == "setturnaround")
            return in >> a, s.setTurnaroundMs(a), "ok";
        if (command == "disconnect")
            return s.disconnect(), "ok";
        if (command == "reconnect")
            return s.reconnect(), "ok";
        if (command == "stop") {
            m_lines.simulator.reset();
            m_lines.owner = nullptr;
            return "ok";
        }
        return "error unknown command " + command;
    }

    bool readLine(std::string& line)
    {
        line.clear();
        for (;;) {
            const size_t end = m_pending.find('\n');
            if (end != std::string::npos) {
                line = m_pending.substr(0, end);
                m_pending.erase(0, end + 1);
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                return true;
            }
            char buffer[4096];
            const ssize_t n = recv(m_fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                return false;
            m_pending.append(buffer, static_cast<size_t>(n));
        }
    }

    bool send(const std::string& text)
    {
        size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = ::send(m_fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }

    int m_fd;
    Lines& m_lines;
    std::string m_pending;
};

}  // namespace

int serveSimulators(int port, const std::vector<std::string>& paths)
{
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    if (listener < 0)
        return 1;
    const int yes = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 4) != 0) {
        std::perror("vantor-sim: cannot listen");
        close(listener);
        return 1;
    }
    std::printf("vantor-sim: serving simulators on 127.0.0.1:%d\n", port);
    std::fflush(stdout);
    // A simulator goes with the connection that started it.
    Lines lines{paths, {}, {}, nullptr};
    for (;;) {
        const int client = accept(listener, nullptr, nullptr);
        if (client < 0)
            continue;
        std::thread([client, &lines] {
            Session(client, lines).run();
            close(client);
        }).detach();
    }
}

}  // namespace vantor::sim
