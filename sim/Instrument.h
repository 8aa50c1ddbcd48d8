// The simulated flowmeter's registers and its answers to Jbus frames.
// Knows nothing of the line: the simulator feeds it whole frames.
#pragma once

#include "BlockTables.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace vantor::sim {


inline constexpr uint8_t kIllegalFunction = 1, kIllegalAddress = 2, kIllegalValue = 3;

struct ProbeEntry {
    const char* name;
    int16_t angle;
};

class Instrument {
public:
    // nowMs: the monotonic time the instrument starts at (its flow and clock run from it).
    explicit Instrument(uint8_t address = 1, int64_t nowMs = 0);

    // Answers one frame, CRC included. Returns false when the instrument stays
    // silent (bad CRC, another address, a frame too short to mean anything).
    bool handle(const std::vector<uint8_t>& frame, int64_t nowMs, std::vector<uint8_t>& reply);

    uint16_t reg(uint16_t r) const { return m_regs[r]; }
    void setReg(uint16_t r, uint16_t value) { m_regs[r] = value; }
    // Register image bytes, high byte first.
    std::vector<uint8_t> image(uint16_t first, uint16_t count) const;
    void setImage(uint16_t first, const std::vector<uint8_t>& bytes);

    uint8_t address() const;  // byte 53 of the calibration block
    void setAddress(uint8_t address);

    // Recomputes the live measurement block for the given time, unless held.
    void updateMeasurement(int64_t nowMs);
    // Holds the measurement block at what it is set to (tests that need fixed values).
    void holdMeasurement(bool held) { m_measurementHeld = held; }
    // Holds the measurement and takes writes to it, so that a script can set any
    // value over the line, even one the simulated flow never gives.
    void takeMeasurementWrites();
    // Sets the instrument's clock; it runs on from there.
    void setClock(int year, int month, int day, int hour, int minute, int second, int64_t nowMs);
    // Seconds since 1970 of the instrument's clock, read as UTC.
    int64_t clockSeconds(int64_t nowMs) const;

    // Every readable register as "RRRR VVVV" lines in hexadecimal.
    void writeRegisters(std::ostream& out) const;

    static const std::array<ProbeEntry, 24>& probeCatalogue();
    static const char* versionText();

private:
    bool readable(uint16_t first, uint16_t count) const;
    bool writable(uint16_t first, uint16_t count) const;
    void allow(uint16_t first, uint16_t count, bool writable);
    void afterWrite(uint16_t first, uint16_t count, int64_t nowMs);
    void exception(uint8_t function, uint8_t code, std::vector<uint8_t>& reply) const;
    double flowAt(int64_t nowMs) const;

    std::array<uint16_t, 65536> m_regs{};
    std::bitset<65536> m_readable;
    std::bitset<65536> m_writable;
    int64_t m_startMs = 0;
    int64_t m_lastUpdateMs = 0;
    int64_t m_clockBase = 0;     // seconds, read as UTC
    int64_t m_clockAnchorMs = 0; // monotonic time of the last clock setting
    double m_volume1 = 0, m_volume2 = 0;  // litres counted by each totalizer
    bool m_measurementHeld = false;
};

// Appends the CRC, low byte first.
void appendCrc(std::vector<uint8_t>& frame);

}  // namespace vantor::sim
