// Finding the instrument: Com1 to Com3, each through every speed from 300 to
// 9600 baud at Jbus address 0, the three ports scanned at once. The answer is
// the one-by-one scan's: the first port in order that answers, at its first
// speed that answers. A port with nothing connected costs no more than the
// others, so the whole scan takes about as long as one port.
#pragma once

#include "JbusMaster.h"
#include "LinkState.h"
#include "SerialPort.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace vantor {

inline constexpr int kScannedPorts = 3;

// Where each port's scan stands, as the wait window shows it.
struct ScanProgress {
    enum class Port {
        Trying,
        Found,
        NotFound,    // no answer at any speed
        Stopped,
        CannotOpen,  // missing, busy, not allowed: no speed would do better
    };
    struct PortState {
        Port state = Port::Trying;
        int32_t baudIndex = 0;  // being tried, or the one that answered
        LinkFailure failure = LinkFailure::None;  // why the port cannot be opened
    };
    std::array<PortState, kScannedPorts> ports{};
};

struct ScanResult {
    int32_t portIndex = 0;
    int32_t baudIndex = 0;
    uint8_t address = 0;  // the unit's own Jbus address, from the register read
};

struct ScanReport {
    std::optional<ScanResult> unit;  // nothing when no unit answered or the scan was stopped
    ScanProgress ports;              // where each port's scan ended
};

// One port's line of the scan, in the language: "Com2: trying 1200 baud",
// "Com1: port missing", "Com3: no answer at any speed".
std::string scanLine(int port, const ScanProgress::PortState& state, int language);

// Called about every 50 ms from the thread that started the scan (a window
// repaints there); false stops the scan.
using ScanWatcher = std::function<bool(const ScanProgress&)>;

// Scans the devices the library holds for Com1 to Com3.
ScanReport scanForUnit(const SerialLibrary& serial, const ScanWatcher& watch = {});

}  // namespace vantor
