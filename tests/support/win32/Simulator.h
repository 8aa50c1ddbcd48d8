// The simulated instrument for the Windows build of the tests: a Linux
// vantor-sim started with --serve drives pseudo-terminals that the Wine prefix
// has as COM1, COM2...; this client starts and drives it over the loopback,
// with the calls the tests make of the simulator in the process.
#pragma once

#include "SimTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vantor::sim {

class Simulator {
public:
    // Line n is COMn+1 whatever the path given; line 0 carries the instrument.
    // Throws std::runtime_error when the server cannot be reached.
    explicit Simulator(const std::vector<std::string>& paths, SimOptions options = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    const std::string& path(int line) const { return m_paths.at(static_cast<size_t>(line)); }

    uint16_t reg(uint16_t r) const;
    void setReg(uint16_t r, uint16_t value);
    std::vector<uint8_t> image(uint16_t first, uint16_t count) const;
    void setImage(uint16_t first, const std::vector<uint8_t>& bytes);
    void holdImage(uint16_t first, const std::vector<uint8_t>& bytes);
    uint8_t address() const;

    void setBaud(int32_t baud);
    int32_t baud() const { return m_baud; }
    void setTurnaroundMs(int ms);

    void injectFault(Fault fault, int times = 1, int amount = 0);
    void clearFaults();

    std::vector<HeardRequest> requests() const;
    void clearRequests();

    void disconnect();
    void reconnect();

private:
    // Sends one command and returns what follows the server's "ok".
    std::string ask(const std::string& command) const;

    std::vector<std::string> m_paths;
    int32_t m_baud;
    uintptr_t m_socket;
    mutable std::string m_pending;
};

}  // namespace vantor::sim
