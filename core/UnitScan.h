// Finding the instrument: each port given (Com1 to Com3 for the window),
// through every speed from 300 to 9600 baud at Jbus address 0, the ports
// scanned at once. The answer is the one-by-one scan's: the first port in
// order that answers, at its first speed that answers. A port with nothing
// connected costs no more than the others, so the whole scan takes about as
// long as one port.
#pragma once

#include "JbusMaster.h"
#include "LinkState.h"
#include "SerialPort.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vantor {

// The window's scan: Com1 to Com3.
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
    std::vector<PortState> ports;  // in the order given
};

struct ScanResult {
    int32_t portIndex = 0;  // in the list scanned
    int32_t baudIndex = 0;
    uint8_t address = 0;  // the unit's own Jbus address, from the register read
};

struct ScanReport {
    std::optional<ScanResult> unit;  // nothing when no unit answered or the scan was stopped
    ScanProgress ports;              // where each port's scan ended
};

// One port's line of the scan, in the language, the port by the name given:
// "Com2: trying 1200 baud", "Com1: port missing", "COM3: no answer at any speed".
std::string scanLine(const std::string& name, const ScanProgress::PortState& state, int language);
// The window's name of port `index` of its list: "Com1".
std::string comName(int index, int language);

// Called about every 50 ms from the thread that started the scan (a window
// repaints there); false stops the scan.
using ScanWatcher = std::function<bool(const ScanProgress&)>;

// Scans each device given once, all at once.
ScanReport scanForUnit(const std::vector<std::string>& devices, const ScanWatcher& watch = {});
// The devices the library holds for Com1 to Com3.
std::vector<std::string> windowScanPorts(const SerialLibrary& serial);

}  // namespace vantor
