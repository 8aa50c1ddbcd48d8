// The scan that finds the instrument, three ports at once against the same
// ports one after the other. One after the other, each port costs what it costs
// alone: that is scanned here port by port, the other two absent.
#include "Simulator.h"
#include "UnitScan.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace vantor;

namespace {

struct Line {
    bool instrument;  // else nothing connected
};

double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Scans with the given ports present (the others absent); the time it took and what it found.
double timeScan(const std::string& folder, const std::vector<Line>& lines, const std::vector<bool>& present,
                std::optional<ScanResult>& found)
{
    std::vector<std::unique_ptr<sim::Simulator>> sims;
    SerialLibrary serial;
    for (int port = 0; port < kScannedPorts; ++port) {
        const std::string path = folder + "/com" + std::to_string(port + 1);
        serial.setDevicePath(port, folder + "/absent" + std::to_string(port + 1));
        if (!present[port])
            continue;
        sim::SimOptions options;
        options.baud = lines[port].instrument ? 9600 : 19200;  // 19200: a speed the scan never hears
        sims.push_back(std::make_unique<sim::Simulator>(std::vector<std::string>{path}, options));
        serial.setDevicePath(port, sims.back()->path(0));
    }
    const auto start = std::chrono::steady_clock::now();
    found = scanForUnit(windowScanPorts(serial)).unit;
    return seconds(std::chrono::steady_clock::now() - start);
}

void compare(const std::string& folder, const char* name, const std::vector<Line>& lines)
{
    std::optional<ScanResult> found;
    double oneByOne = 0;
    for (int port = 0; port < kScannedPorts; ++port) {
        std::vector<bool> present(kScannedPorts, false);
        present[port] = true;
        oneByOne += timeScan(folder, lines, present, found);
        if (found)
            break;  // one after the other, the scan stops at the first port that answers
    }
    const double atOnce = timeScan(folder, lines, std::vector<bool>(kScannedPorts, true), found);
    std::printf("%-40s one by one %5.1f s, at once %5.1f s (%3.0f%%)%s\n", name, oneByOne, atOnce,
                100.0 * atOnce / oneByOne,
                found ? (" found Com" + std::to_string(found->portIndex + 1) + " at " +
                         std::to_string(kBaudRates[found->baudIndex]) + " baud")
                            .c_str()
                      : " nothing found");
}

}  // namespace

int main()
{
    std::string folder = "/tmp/vantor-scan-XXXXXX";
    if (!mkdtemp(folder.data()))
        return 1;
    compare(folder, "three silent ports", {{false}, {false}, {false}});
    compare(folder, "the instrument on Com3 at 9600 baud", {{false}, {false}, {true}});
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
