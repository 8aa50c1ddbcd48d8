// A long run of measurement polls against the simulator with faults injected
// at random (seeded): each poll must come out as what it was, and neither the
// resident memory nor the open descriptors may grow once the run has settled.
// usage: soak_bench [POLLS] [SEED]
#include "MeasurementPoller.h"
#include "Session.h"
#include "Simulator.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

using namespace vantor;

namespace {

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

long descriptors()
{
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator());
}

}  // namespace

int main(int argc, char** argv)
{
    const long polls = argc > 1 ? std::atol(argv[1]) : 10000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 20261206u;
    std::string folder = (std::filesystem::temp_directory_path() / "vantor-soak-XXXXXX").string();
    if (!mkdtemp(folder.data()))
        return 1;
    int mismatches = 0, faults = 0, failures = 0;
    long settledKiB = 0, settledDescriptors = 0;
    const auto start = std::chrono::steady_clock::now();
    {
        // The fastest pace the line allows: one poll right after the other.
        sim::Simulator simulator({folder + "/com1"}, {.baud = 9600, .address = 1, .turnaroundMs = 1});
        Session session;
        session.serial.setDevicePath(0, simulator.path(0));
        MeasurementPoller poller(session.link, session.state);

        std::mt19937 random(seed);
        const sim::Fault kinds[] = {sim::Fault::Silence, sim::Fault::BadCrc, sim::Fault::MissingBytes,
                                    sim::Fault::ExtraBytes, sim::Fault::NoiseBefore};
        for (long i = 0; i < polls; ++i) {
            // One poll in a hundred spoils every attempt of its measurement read.
            const bool spoiled = i > 0 && random() % 100 == 0;
            if (spoiled) {
                simulator.injectFault(kinds[random() % std::size(kinds)], 3, 1);
                ++faults;
            }
            const bool polled = poller.poll();
            simulator.clearFaults();
            // The simulator keeps every frame it hears: forget them, so that only
            // the program's own memory is measured.
            simulator.clearRequests();
            failures += polled ? 0 : 1;
            if (polled == spoiled) {
                ++mismatches;
                std::fprintf(stderr, "poll %ld: %s, but it was %s\n", i, polled ? "read" : "failed",
                             spoiled ? "spoiled" : "clean");
            }
            if (i == 999) {
                settledKiB = residentKiB();
                settledDescriptors = descriptors();
            }
        }
        const long endKiB = residentKiB();
        const long endDescriptors = descriptors();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("soak: %ld polls in %.0f s, %d spoiled by faults, %d failed, %d reported as something else\n",
                    polls, seconds, faults, failures, mismatches);
        std::printf("soak: resident memory %ld KiB after 1000 polls, %ld KiB at the end; descriptors %ld and %ld\n",
                    settledKiB, endKiB, settledDescriptors, endDescriptors);
        const bool held = mismatches == 0 && endKiB <= settledKiB + 64 && endDescriptors == settledDescriptors;
        std::printf("soak: %s\n", held ? "goal met" : "GOAL MISSED");
        std::filesystem::remove_all(folder);
        return held ? 0 : 1;
    }
}
