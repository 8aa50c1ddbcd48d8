// vantor-sim: a simulated Vantor flowmeter on pseudo-terminals.
#include "SimServer.h"
#include "Simulator.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

namespace {

void usage()
{
    std::fprintf(stderr,
                 "usage: vantor-sim [--baud B] [--address A] [--turnaround MS] [--registers FILE] [--ignore-writes N]\n"
                 "                 [--writable-measurement] PATH [PATH...]\n"
                 "       vantor-sim --serve PORT PATH [PATH...]\n"
                 "  The instrument answers on the first PATH; the others are lines with nothing connected.\n"
                 "  --ignore-writes N: the first N writes are acknowledged but not stored.\n"
                 "  --writable-measurement: the measurement stops following the flow and takes writes.\n"
                 "  SIGUSR1 writes the registers to FILE; SIGINT or SIGTERM ends the simulation.\n"
                 "  --serve: test programs on 127.0.0.1:PORT start and drive simulators on the PATHs.\n");
}

bool parseNumber(const char* text, long low, long high, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 0);
    return end && *end == '\0' && end != text && value >= low && value <= high;
}

}  // namespace

int main(int argc, char** argv)
{
    vantor::sim::SimOptions options;
    std::string registersFile;
    std::vector<std::string> paths;
    long servePort = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        long value = 0;
        const bool hasValue = i + 1 < argc;
        if (arg == "--baud" && hasValue && parseNumber(argv[i + 1], 300, 115200, value)) {
            options.baud = static_cast<int32_t>(value);
            ++i;
        } else if (arg == "--address" && hasValue && parseNumber(argv[i + 1], 1, 255, value)) {
            options.address = static_cast<uint8_t>(value);
            ++i;
        } else if (arg == "--turnaround" && hasValue && parseNumber(argv[i + 1], 0, 10000, value)) {
            options.turnaroundMs = static_cast<int>(value);
            ++i;
        } else if (arg == "--ignore-writes" && hasValue && parseNumber(argv[i + 1], 0, 1000000, value)) {
            options.ignoredWrites = static_cast<int>(value);
            ++i;
        } else if (arg == "--serve" && hasValue && parseNumber(argv[i + 1], 1, 65535, value)) {
            servePort = value;
            ++i;
        } else if (arg == "--writable-measurement") {
            options.measurementWritable = true;
        } else if (arg == "--registers" && hasValue) {
            registersFile = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            usage();
            return 0;
        } else if (!arg.empty() && arg[0] != '-') {
            paths.push_back(arg);
        } else {
            usage();
            return 2;
        }
    }
    if (paths.empty()) {
        usage();
        return 2;
    }

    if (servePort != 0)
        return vantor::sim::serveSimulators(static_cast<int>(servePort), paths);

    // Signals are taken synchronously below; block them before any thread starts.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    sigaddset(&signals, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    try {
        vantor::sim::Simulator simulator(paths, options);
        std::printf("vantor-sim: instrument on %s (%s) at %d baud, address %d\n", paths[0].c_str(),
                    simulator.terminal(0).c_str(), options.baud, options.address);
        for (size_t i = 1; i < paths.size(); ++i)
            std::printf("vantor-sim: nothing connected on %s (%s)\n", paths[i].c_str(),
                        simulator.terminal(static_cast<int>(i)).c_str());
        std::fflush(stdout);
        for (;;) {
            int sig = 0;
            if (sigwait(&signals, &sig) != 0)
                break;
            if (sig != SIGUSR1)
                break;
            if (registersFile.empty())
                std::fprintf(stderr, "vantor-sim: no --registers file given\n");
            else if (!simulator.writeRegisters(registersFile))
                std::fprintf(stderr, "vantor-sim: cannot write %s\n", registersFile.c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vantor-sim: %s\n", e.what());
        return 1;
    }
    return 0;
}
