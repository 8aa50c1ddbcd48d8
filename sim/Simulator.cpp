#include "Simulator.h"

#include "MonotonicClock.h"
#include "TermiosDriver.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <deque>
#include <fstream>
#include <stdexcept>

namespace vantor::sim {

namespace {

int64_t nowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t byteTimeUs(int32_t baud)
{
    return baud > 0 ? 11'000'000 / baud : 0;
}

}  // namespace

struct Simulator::Line {
    std::string link;
    std::string terminal;
    int master = -1;
    int slave = -1;  // held open so the master never sees a hang-up between two opens
    std::vector<uint8_t> incoming;
    int64_t firstUs = 0;
    int64_t lastUs = 0;
    int32_t incomingBaud = 0;
    std::deque<std::pair<int64_t, uint8_t>> outgoing;  // (due time, byte)

    void close()
    {
        if (slave >= 0)
            ::close(slave);
        if (master >= 0)
            ::close(master);
        slave = master = -1;
        incoming.clear();
        outgoing.clear();
    }

    void open()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            throw std::runtime_error("cannot create a pseudo-terminal: " + std::string(std::strerror(errno)));
        char name[128];
        if (ptsname_r(master, name, sizeof name) != 0)
            throw std::runtime_error("cannot name the pseudo-terminal");
        terminal = name;
        slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (slave < 0)
            throw std::runtime_error("cannot open " + terminal + ": " + std::strerror(errno));
        termios t{};
        tcgetattr(slave, &t);
        cfmakeraw(&t);  // no echo of our own replies
        tcsetattr(slave, TCSANOW, &t);

        struct stat st{};
        if (lstat(link.c_str(), &st) == 0) {
            if (!S_ISLNK(st.st_mode))
                throw std::runtime_error(link + " exists and is not a link");
            ::unlink(link.c_str());
        }
        if (symlink(terminal.c_str(), link.c_str()) != 0)
            throw std::runtime_error("cannot link " + link + ": " + std::strerror(errno));
    }

    // The speed the program's side of the line is set to.
    int32_t masterSpeed() const
    {
        termios t{};
        if (master < 0 || tcgetattr(master, &t) != 0)
            return 0;
        return baudOfSpeed(cfgetospeed(&t));
    }

    int64_t frameCompleteUs(int32_t baud) const
    {
        // A request is over once all of it has crossed the line and 3.5 characters
        // of silence have followed.
        const int64_t byteUs = byteTimeUs(baud > 0 ? baud : 9600);
        const int64_t crossed = firstUs + byteUs * static_cast<int64_t>(incoming.size());
        return std::max(crossed, lastUs) + std::max<int64_t>(byteUs * 7 / 2, 1750);
    }
};

Simulator::Simulator(const std::vector<std::string>& paths, SimOptions options)
    : m_instrument(options.address, monotonicMs()), m_baud(options.baud), m_turnaroundMs(options.turnaroundMs)
{
    if (paths.empty())
        throw std::runtime_error("no line to simulate");
    try {
        for (const std::string& p : paths) {
            auto line = std::make_unique<Line>();
            line->link = p;
            m_lines.push_back(std::move(line));
            m_lines.back()->open();
        }
        if (pipe2(m_wakePipe, O_NONBLOCK | O_CLOEXEC) != 0)
            throw std::runtime_error("cannot create a pipe");
        if (options.ignoredWrites > 0)
            m_faults.push_back({Fault::WriteIgnored, options.ignoredWrites, 0});
        if (options.measurementWritable)
            m_instrument.takeMeasurementWrites();
    } catch (...) {
        for (auto& line : m_lines) {
            line->close();
            ::unlink(line->link.c_str());
        }
        throw;
    }
    m_thread = std::thread([this] { run(); });
}

Simulator::~Simulator()
{
    m_running = false;
    wake();
    m_thread.join();
    for (auto& line : m_lines) {
        line->close();
        ::unlink(line->link.c_str());
    }
    ::close(m_wakePipe[0]);
    ::close(m_wakePipe[1]);
}

const std::string& Simulator::path(int line) const { return m_lines.at(line)->link; }

std::string Simulator::terminal(int line) const
{
    std::lock_guard lock(m_mutex);
    return m_lines.at(line)->terminal;
}

uint16_t Simulator::reg(uint16_t r) const
{
    std::lock_guard lock(m_mutex);
    return m_instrument.reg(r);
}

void Simulator::setReg(uint16_t r, uint16_t value)
{
    std::lock_guard lock(m_mutex);
    m_instrument.setReg(r, value);
}

std::vector<uint8_t> Simulator::image(uint16_t first, uint16_t count) const
{
    std::lock_guard lock(m_mutex);
    return m_instrument.image(first, count);
}

void Simulator::setImage(uint16_t first, const std::vector<uint8_t>& bytes)
{
    std::lock_guard lock(m_mutex);
    m_instrument.setImage(first, bytes);
}

uint8_t Simulator::address() const
{
    std::lock_guard lock(m_mutex);
    return m_instrument.address();
}

void Simulator::holdImage(uint16_t first, const std::vector<uint8_t>& bytes)
{
    withInstrument([&](Instrument& unit) {
        unit.holdMeasurement(true);
        unit.setImage(first, bytes);
    });
}

void Simulator::withInstrument(const std::function<void(Instrument&)>& f)
{
    std::lock_guard lock(m_mutex);
    f(m_instrument);
}

void Simulator::setBaud(int32_t baud) { m_baud = baud; }

void Simulator::injectFault(Fault fault, int times, int amount)
{
    std::lock_guard lock(m_mutex);
    m_faults.push_back({fault, times, amount});
}

void Simulator::clearFaults()
{
    std::lock_guard lock(m_mutex);
    m_faults.clear();
}

std::vector<HeardRequest> Simulator::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

void Simulator::clearRequests()
{
    std::lock_guard lock(m_mutex);
    m_requests.clear();
}

void Simulator::disconnect()
{
    std::lock_guard lock(m_mutex);
    m_lines[0]->close();
    wake();
}

void Simulator::reconnect()
{
    std::lock_guard lock(m_mutex);
    if (m_lines[0]->master < 0)
        m_lines[0]->open();
    wake();
}

bool Simulator::writeRegisters(const std::string& file) const
{
    std::lock_guard lock(m_mutex);
    const std::string temporary = file + ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        m_instrument.writeRegisters(out);
        if (!out.flush())
            return false;
    }
    return std::rename(temporary.c_str(), file.c_str()) == 0;
}

void Simulator::wake()
{
    const char c = 1;
    [[maybe_unused]] ssize_t n = write(m_wakePipe[1], &c, 1);
}

std::optional<int> Simulator::takeFault(Fault fault)
{
    for (auto it = m_faults.begin(); it != m_faults.end(); ++it) {
        if (it->fault != fault)
            continue;
        const int amount = it->amount;
        if (--it->times <= 0)
            m_faults.erase(it);
        return amount;
    }
    return std::nullopt;
}

void Simulator::schedule(Line& line, std::vector<uint8_t> bytes, int64_t startUs, int pauseAtByte, int pauseMs,
                         size_t glued)
{
    const int64_t byteUs = byteTimeUs(m_baud);
    int64_t due = startUs;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (static_cast<int>(i) == pauseAtByte)
            due += int64_t{pauseMs} * 1000;
        line.outgoing.emplace_back(due, bytes[i]);
        if (i + 1 + glued < bytes.size())
            due += byteUs;
    }
}

void Simulator::mismatch(std::vector<uint8_t>& reply)
{
    const bool isWrite = reply.size() == 8 && reply[1] == 16;
    bool changed = false;
    if (const auto address = takeFault(Fault::OtherAddress)) {
        reply[0] = static_cast<uint8_t>(*address);
        changed = true;
    }
    if (const auto function = takeFault(Fault::OtherFunction)) {
        reply[1] = static_cast<uint8_t>(*function);
        changed = true;
    }
    if (takeFault(Fault::OtherCount)) {
        ++reply[isWrite ? 5 : 2];
        changed = true;
    }
    if (takeFault(Fault::OtherRegister) && isWrite) {
        ++reply[3];
        changed = true;
    }
    if (changed) {
        reply.resize(reply.size() - 2);
        appendCrc(reply);
    }
}

void Simulator::completeFrame(Line& line, int index, int64_t nowUs)
{
    HeardRequest heard;
    heard.line = index;
    heard.lineBaud = line.incomingBaud;
    heard.heard = index == 0 && line.incomingBaud == m_baud;
    heard.bytes = std::move(line.incoming);
    heard.atMs = nowUs / 1000;
    line.incoming.clear();

    // A write the instrument acknowledges but does not store: its registers are put back.
    const bool isWrite = heard.bytes.size() >= 6 && heard.bytes[1] == 16;
    const auto writeFirst = static_cast<uint16_t>(isWrite ? (heard.bytes[2] << 8) | heard.bytes[3] : 0);
    const auto writeCount = static_cast<uint16_t>(isWrite ? (heard.bytes[4] << 8) | heard.bytes[5] : 0);
    std::vector<uint8_t> kept;
    const bool ignoreWrite = heard.heard && isWrite && takeFault(Fault::WriteIgnored);
    if (ignoreWrite)
        kept = m_instrument.image(writeFirst, writeCount);

    std::vector<uint8_t> reply;
    const bool answers = heard.heard && m_instrument.handle(heard.bytes, monotonicMs(), reply);
    if (ignoreWrite)
        m_instrument.setImage(writeFirst, kept);
    if (answers && !takeFault(Fault::Silence)) {
        heard.answered = true;
        // Amounts of 0 mean one byte, or exception code 4.
        if (const auto code = takeFault(Fault::Exception)) {
            reply = {m_instrument.address(), static_cast<uint8_t>(heard.bytes[1] | 0x80),
                     static_cast<uint8_t>(*code > 0 ? *code : 4)};
            appendCrc(reply);
        }
        mismatch(reply);
        if (takeFault(Fault::BadCrc))
            reply.back() ^= 0x5A;
        // The over-long part follows the last byte at once, whatever the load.
        size_t glued = 0;
        if (const auto extra = takeFault(Fault::ExtraBytes)) {
            glued = static_cast<size_t>(std::max(1, *extra));
            reply.insert(reply.end(), glued, 0x00);
        }
        if (const auto missing = takeFault(Fault::MissingBytes))
            reply.resize(reply.size() - std::min(reply.size(), static_cast<size_t>(std::max(1, *missing))));
        if (const auto noise = takeFault(Fault::NoiseBefore))
            reply.insert(reply.begin(), static_cast<size_t>(std::max(1, *noise)), 0xA5);
        const int pauseMs = takeFault(Fault::PauseInside).value_or(0);
        int64_t startUs = nowUs + int64_t{m_turnaroundMs} * 1000;
        startUs += int64_t{takeFault(Fault::LateReply).value_or(0)} * 1000;
        const int middle = static_cast<int>(reply.size() / 2);
        schedule(line, std::move(reply), startUs, middle, pauseMs, glued);
    }
    m_requests.push_back(std::move(heard));
}

void Simulator::run()
{
    std::vector<pollfd> fds;
    std::vector<int> owners;
    while (m_running) {
        int64_t nextUs = INT64_MAX;
        fds.clear();
        owners.clear();
        fds.push_back({m_wakePipe[0], POLLIN, 0});
        owners.push_back(-1);
        {
            std::lock_guard lock(m_mutex);
            for (size_t i = 0; i < m_lines.size(); ++i) {
                Line& line = *m_lines[i];
                if (line.master < 0)
                    continue;
                fds.push_back({line.master, POLLIN, 0});
                owners.push_back(static_cast<int>(i));
                if (!line.incoming.empty())
                    nextUs = std::min(nextUs, line.frameCompleteUs(line.incomingBaud));
                if (!line.outgoing.empty())
                    nextUs = std::min(nextUs, line.outgoing.front().first);
            }
        }
        timespec timeout{};
        timespec* wait = nullptr;
        if (nextUs != INT64_MAX) {
            const int64_t left = std::max<int64_t>(0, nextUs - nowUs());
            timeout.tv_sec = static_cast<time_t>(left / 1'000'000);
            timeout.tv_nsec = static_cast<long>(left % 1'000'000) * 1000;
            wait = &timeout;
        }
        if (ppoll(fds.data(), fds.size(), wait, nullptr) < 0 && errno != EINTR)
            break;

        std::lock_guard lock(m_mutex);
        if (fds[0].revents & POLLIN) {
            char drain[64];
            while (read(m_wakePipe[0], drain, sizeof drain) > 0) {
            }
        }
        const int64_t now = nowUs();
        for (size_t k = 1; k < fds.size(); ++k) {
            Line& line = *m_lines[owners[k]];
            if (!(fds[k].revents & POLLIN) || line.master != fds[k].fd)
                continue;
            uint8_t buffer[512];
            const ssize_t n = read(line.master, buffer, sizeof buffer);
            if (n <= 0)
                continue;
            if (line.incoming.empty()) {
                line.firstUs = now;
                line.incomingBaud = line.masterSpeed();
            }
            line.lastUs = now;
            line.incoming.insert(line.incoming.end(), buffer, buffer + n);
        }
        for (size_t i = 0; i < m_lines.size(); ++i) {
            Line& line = *m_lines[i];
            if (line.master < 0)
                continue;
            if (!line.incoming.empty() && now >= line.frameCompleteUs(line.incomingBaud))
                completeFrame(line, static_cast<int>(i), now);
            while (!line.outgoing.empty() && line.outgoing.front().first <= now) {
                const uint8_t byte = line.outgoing.front().second;
                line.outgoing.pop_front();
                [[maybe_unused]] ssize_t n = write(line.master, &byte, 1);
            }
        }
    }
}

}  // namespace vantor::sim
