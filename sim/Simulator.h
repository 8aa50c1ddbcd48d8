// A simulated instrument at the end of a serial line, reachable through
// pseudo-terminals. It models the line itself: a request counts only after its
// wire time, replies leave byte by byte at the wire rate, and a master set to
// another speed is not heard.
#pragma once

#include "Instrument.h"
#include "SimTypes.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vantor::sim {

class Simulator {
public:
    // Line 0 carries the instrument; the others are lines with nothing connected.
    // Each path becomes a symbolic link to its pseudo-terminal. Throws std::runtime_error.
    explicit Simulator(const std::vector<std::string>& paths, SimOptions options = {});
    ~Simulator();  // stops and removes the links
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    const std::string& path(int line) const;
    std::string terminal(int line) const;  // the /dev/pts name behind the link

    uint16_t reg(uint16_t r) const;
    void setReg(uint16_t r, uint16_t value);
    std::vector<uint8_t> image(uint16_t first, uint16_t count) const;
    void setImage(uint16_t first, const std::vector<uint8_t>& bytes);
    uint8_t address() const;
    // Holds the measurement still at the bytes given from register `first`.
    void holdImage(uint16_t first, const std::vector<uint8_t>& bytes);
    // Runs f on the instrument while the simulator is held still.
    void withInstrument(const std::function<void(Instrument&)>& f);

    void setBaud(int32_t baud);
    int32_t baud() const { return m_baud; }
    void setTurnaroundMs(int ms) { m_turnaroundMs = ms; }

    // The fault applies to the next `times` requests the instrument would answer.
    void injectFault(Fault fault, int times = 1, int amount = 0);
    void clearFaults();

    std::vector<HeardRequest> requests() const;
    void clearRequests();

    // The instrument's line goes away (its terminal closes) and comes back on a new one.
    void disconnect();
    void reconnect();

    bool writeRegisters(const std::string& file) const;

private:
    struct Line;
    struct PendingFault {
        Fault fault;
        int times;
        int amount;
    };

    void run();
    void wake();
    void completeFrame(Line& line, int index, int64_t nowUs);
    // The last `glued` bytes go out together with the one before them.
    void schedule(Line& line, std::vector<uint8_t> bytes, int64_t startUs, int pauseAtByte, int pauseMs,
                  size_t glued = 0);
    // Makes the reply answer another request, as the mismatch faults ask.
    void mismatch(std::vector<uint8_t>& reply);
    std::optional<int> takeFault(Fault fault);  // the fault's amount when it applies to this reply

    std::vector<std::unique_ptr<Line>> m_lines;
    Instrument m_instrument;
    std::vector<PendingFault> m_faults;
    std::vector<HeardRequest> m_requests;
    std::atomic<int32_t> m_baud;
    std::atomic<int> m_turnaroundMs;
    mutable std::recursive_mutex m_mutex;
    int m_wakePipe[2] = {-1, -1};
    std::atomic<bool> m_running{true};
    std::thread m_thread;
};

}  // namespace vantor::sim
