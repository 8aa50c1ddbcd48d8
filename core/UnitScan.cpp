#include "UnitScan.h"

#include "BlockTables.h"
#include "JbusMaster.h"
#include "Formatted.h"
#include "LanguageTables.h"
#include "NetworkPortName.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace vantor {

namespace {

constexpr auto kWatchInterval = std::chrono::milliseconds(50);

// What the scanning threads and the one that waits for them share.
struct Shared {
    explicit Shared(size_t ports) : addresses(ports), stop(ports)
    {
        progress.ports.resize(ports);
    }
    std::mutex mutex;
    std::condition_variable changed;
    ScanProgress progress;
    std::vector<uint8_t> addresses;
    // Set for a port whose scan can no longer give the answer.
    std::deque<std::atomic<bool>> stop;
};

// A port that cannot be opened at one speed cannot be at any.
bool cannotOpen(LinkFailure failure)
{
    switch (failure) {
    case LinkFailure::PortMissing:
    case LinkFailure::PortBusy:
    case LinkFailure::PortDenied:
    case LinkFailure::PortUnavailable:
    case LinkFailure::ConnectRefused:
    case LinkFailure::HostUnreachable:
    case LinkFailure::HostUnknown:
    case LinkFailure::ConnectTimeout: return true;
    default: return false;
    }
}

// One port through its speeds, on a library and master of its own:
// the port's transactions never share anything with the others'.
void scanPort(size_t port, const std::string& device, Shared& shared)
{
    SerialLibrary serial;
    serial.setDevicePath(0, device);
    // A stopped scan leaves its wait at once.
    serial.setIdleHook([&shared, port](SerialPort&) { return shared.stop[port] ? -1 : 0; }, 10);
    LinkSettings settings;
    settings.portIndex = 0;
    JbusMaster master(serial, settings);

    ScanProgress::Port outcome = ScanProgress::Port::NotFound;
    // A raw TCP port's line runs at the server's speed whatever is asked, so
    // one try tells all: made at the program's default speed, which the
    // settings then keep (it means nothing to such a port).
    const std::optional<NetworkPortName> network = parseNetworkPortName(device);
    const bool serverSpeed = network && !network->telnet;
    const int32_t firstBaud = serverSpeed ? LinkSettings{}.baudIndex : 0;
    const int32_t endBaud = serverSpeed ? firstBaud + 1 : static_cast<int32_t>(kBaudRates.size());
    for (int32_t baud = firstBaud; baud < endBaud; ++baud) {
        if (shared.stop[port]) {
            outcome = ScanProgress::Port::Stopped;
            break;
        }
        {
            const std::lock_guard lock(shared.mutex);
            shared.progress.ports[port].baudIndex = baud;
        }
        settings.baudIndex = baud;
        // Address 0: whichever unit is on the line answers, under its own.
        if (const auto image = master.transact(0, 3, kUnitAddressBlock.firstRegister, kUnitAddressBlock.registerCount)) {
            outcome = ScanProgress::Port::Found;
            const std::lock_guard lock(shared.mutex);
            shared.addresses[port] = (*image)[1];
            break;
        }
        if (cannotOpen(master.lastFailure()) && !shared.stop[port]) {
            outcome = ScanProgress::Port::CannotOpen;
            const std::lock_guard lock(shared.mutex);
            shared.progress.ports[port].failure = master.lastFailure();
            break;
        }
    }
    if (outcome == ScanProgress::Port::NotFound && shared.stop[port])
        outcome = ScanProgress::Port::Stopped;
    {
        const std::lock_guard lock(shared.mutex);
        shared.progress.ports[port].state = outcome;
    }
    shared.changed.notify_all();
}

// The answer once it is known: the first port that found the unit with every
// port before it done without it. Nothing while it is not known yet.
std::optional<int> decided(const ScanProgress& progress, bool& none)
{
    none = false;
    for (size_t port = 0; port < progress.ports.size(); ++port) {
        switch (progress.ports[port].state) {
        case ScanProgress::Port::Found: return static_cast<int>(port);
        case ScanProgress::Port::Trying: return std::nullopt;
        case ScanProgress::Port::NotFound:
        case ScanProgress::Port::Stopped:
        case ScanProgress::Port::CannotOpen: break;
        }
    }
    none = true;
    return std::nullopt;
}

}  // namespace

std::string comName(int index, int language)
{
    const char* name = choiceText(lang::ListCom, index, language);
    return name ? name : "Com" + std::to_string(index + 1);
}

std::vector<std::string> windowScanPorts(const SerialLibrary& serial)
{
    std::vector<std::string> devices;
    for (int port = 0; port < kScannedPorts; ++port)
        devices.push_back(serial.devicePath(port));
    return devices;
}

std::string scanLine(const std::string& portName, const ScanProgress::PortState& state, int language)
{
    const char* name = portName.c_str();
    const bool knownBaud = state.baudIndex >= 0 && state.baudIndex < static_cast<int32_t>(kBaudRates.size());
    const int baud = knownBaud ? kBaudRates[static_cast<size_t>(state.baudIndex)] : 0;
    switch (state.state) {
    case ScanProgress::Port::Trying: return formatted(lang::ScanTrying.text(language), name, baud);
    case ScanProgress::Port::Found: return formatted(lang::ScanFound.text(language), name, baud);
    case ScanProgress::Port::NotFound: return formatted(lang::ScanNothing.text(language), name);
    case ScanProgress::Port::Stopped: return formatted(lang::ScanStopped.text(language), name);
    case ScanProgress::Port::CannotOpen:
        return formatted(lang::ScanCannotOpen.text(language), name, linkFailureText(state.failure, language));
    }
    return name;
}

ScanReport scanForUnit(const std::vector<std::string>& devices, const ScanWatcher& watch)
{
    Shared shared(devices.size());
    std::vector<std::thread> threads;
    for (size_t port = 0; port < devices.size(); ++port)
        threads.emplace_back(scanPort, port, devices[port], std::ref(shared));

    std::optional<ScanResult> result;
    bool cancelled = false;
    std::unique_lock lock(shared.mutex);
    for (;;) {
        bool none = false;
        if (const std::optional<int> port = decided(shared.progress, none)) {
            result = ScanResult{*port, shared.progress.ports[static_cast<size_t>(*port)].baudIndex,
                                shared.addresses[static_cast<size_t>(*port)]};
            break;
        }
        if (none)
            break;
        // A port after one that found the unit cannot give the answer.
        for (size_t port = 0; port < devices.size(); ++port)
            if (shared.progress.ports[port].state == ScanProgress::Port::Found)
                for (size_t later = port + 1; later < devices.size(); ++later)
                    shared.stop[later] = true;
        shared.changed.wait_for(lock, kWatchInterval);
        if (watch) {
            const ScanProgress snapshot = shared.progress;
            lock.unlock();
            const bool goOn = watch(snapshot);
            lock.lock();
            if (!goOn) {
                cancelled = true;
                break;
            }
        }
    }
    lock.unlock();
    for (auto& stop : shared.stop)
        stop = true;
    for (std::thread& thread : threads)
        thread.join();
    if (cancelled)
        result.reset();
    return {result, shared.progress};
}

}  // namespace vantor
