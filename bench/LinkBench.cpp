// Measures what a transaction costs: processor time while the instrument is
// silent, and the wall time of a good read against the line's own timing.
#include "JbusMaster.h"
#include "Simulator.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace vantor;

namespace {

double threadCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    const long micros = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1'000'000L + usage.ru_utime.tv_usec +
                        usage.ru_stime.tv_usec;
    return static_cast<double>(micros) / 1e3;
}

double wallMs(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    const int reads = argc > 1 ? std::atoi(argv[1]) : 20;
    std::string folder = (std::filesystem::temp_directory_path() / "vantor-bench-XXXXXX").string();
    if (!mkdtemp(folder.data()))
        return 1;
    const int turnaroundMs = 5;
    int status = 0;
    {
        sim::Simulator simulator({folder + "/com1"}, {.baud = 9600, .address = 1, .turnaroundMs = turnaroundMs});
        SerialLibrary serial;
        serial.setDevicePath(0, simulator.path(0));
        // The program pumps its user interface between waits; count a hook that does nothing.
        serial.setIdleHook([](SerialPort&) { return 0; }, 10);
        LinkSettings settings;
        JbusMaster master(serial, settings);

        simulator.injectFault(sim::Fault::Silence, 3);
        auto start = std::chrono::steady_clock::now();
        double cpu = threadCpuMs();
        const int silent = master.transact(1, 3, 0x1100, 28) ? 0 : -1;
        cpu = threadCpuMs() - cpu;
        const double wall = wallMs(start);
        std::printf("silent instrument: result %d, %.0f ms wall, %.2f ms processor, %.3f%% of the wall time\n",
                    silent, wall, cpu, 100.0 * cpu / wall);
        if (silent != -1 || cpu / wall >= 0.02)
            status = 1;

        // A read of 28 registers: 8 request and 61 reply bytes on the line, then
        // only the frame guard once the reply is whole.
        const int guardMs = frameGuardMs(9600);
        const double expected = wireTimeMs(69, 9600) + turnaroundMs;
        double total = 0, worst = 0;
        for (int i = 0; i < reads; ++i) {
            start = std::chrono::steady_clock::now();
            if (!master.transact(1, 3, 0x1100, 28))
                status = 1;
            const double ms = wallMs(start);
            total += ms;
            worst = std::max(worst, ms);
        }
        const double mean = total / reads;
        std::printf("read of 28 registers at 9600 baud: mean %.1f ms, worst %.1f ms over %d reads; "
                    "wire %d + turnaround %d = %.0f ms: %+.1f ms (guard %d ms)\n",
                    mean, worst, reads, wireTimeMs(69, 9600), turnaroundMs, expected, mean - expected, guardMs);
        if (mean > expected + 10 || mean < expected)
            status = 1;

        // The whole configuration: the catalogue and the four blocks.
        struct Block {
            uint16_t first, count;
        };
        const Block blocks[] = {{0x5000, 120}, {0x1100, 28}, {0x111C, 4}, {0x2200, 24}, {0x3000, 5}};
        int wire = 0;
        start = std::chrono::steady_clock::now();
        for (const Block& b : blocks) {
            if (!master.transact(1, 3, b.first, b.count))
                status = 1;
            wire += wireTimeMs(8 + 2 * b.count + 5, 9600) + turnaroundMs;
        }
        std::printf("whole configuration (catalogue and four blocks) at 9600 baud: %.0f ms; "
                    "wire and turnarounds %d ms\n", wallMs(start), wire);
    }
    std::filesystem::remove_all(folder);
    return status;
}
