// win32_line_check: one Jbus read through the serial library and the Jbus
// master on a COM port, as the program makes it, with what it cost.
//
//   win32_line_check [--port N] [--baud B] [--idle-ms MS] [--line]
//
// Defaults: COM1, 9600 baud; it reads the 28 registers from 0x1100 (the
// configuration block) at address 1. Prints the result, the reply's register image in
// hexadecimal and the wall and processor time of the transaction; --line
// prints the line settings the system holds for the port first. --idle-ms installs an idle hook run at least
// every MS milliseconds, as a window would, so that every wait is cut short
// and cancelled, also while the reply arrives. Exits 0 when the read succeeded.
#include "JbusMaster.h"
#include "LinkState.h"
#include "SerialPort.h"
#include "Win32Driver.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace vantor;

namespace {

// User and kernel time of this process, in milliseconds.
double processorMs()
{
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user))
        return 0;
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

double nowMs()
{
    LARGE_INTEGER frequency, count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool number(const char* text, long low, long high, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 0);
    return end && *end == '\0' && end != text && value >= low && value <= high;
}

void printHex(const char* label, const uint8_t* bytes, size_t count)
{
    std::printf("%s", label);
    for (size_t i = 0; i < count; ++i)
        std::printf(" %02X", bytes[i]);
    std::printf("\n");
}

int usage()
{
    std::fprintf(stderr, "usage: win32_line_check [--port 1-4] [--baud B] [--idle-ms MS] [--line]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    LinkSettings settings;
    settings.portIndex = 0;
    settings.baudIndex = 5;
    settings.jbusAddress = 1;
    constexpr long first = 0x1100, count = 28;
    long idleMs = 0;
    bool line = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        long value = 0;
        if (arg == "--port" && hasValue && number(argv[i + 1], 1, kPortCount, value)) {
            settings.portIndex = static_cast<int32_t>(value - 1);
        } else if (arg == "--baud" && hasValue && number(argv[i + 1], 300, 9600, value)) {
            settings.baudIndex = -1;
            for (size_t b = 0; b < kBaudRates.size(); ++b)
                if (kBaudRates[b] == value)
                    settings.baudIndex = static_cast<int32_t>(b);
            if (settings.baudIndex < 0)
                return usage();
        } else if (arg == "--idle-ms" && hasValue && number(argv[i + 1], 1, 1000, value)) {
            idleMs = value;
        } else if (arg == "--line") {
            line = true;
            continue;
        } else {
            return usage();
        }
        ++i;
    }

    SerialLibrary serial;
    const int32_t baud = kBaudRates[static_cast<size_t>(settings.baudIndex)];
    std::printf("port COM%d (%s) at %d baud, address %d: read %ld registers from 0x%04lX\n",
                settings.portIndex + 1, serial.devicePath(settings.portIndex).c_str(), baud,
                static_cast<int>(settings.jbusAddress), count, first);
    if (line) {
        SerialPort& port = serial.openPort(settings.portIndex, baud, 'N', 8, 2);
        std::printf("open status %d\n", port.status);
        if (port.status == kSerialOk) {
            // The line as the system holds it, not as the driver asked for it.
            DCB held{};
            held.DCBlength = sizeof held;
            GetCommState(port.driver->handle, &held);
            std::printf("line %lu baud, %d bits, parity %d, stop bits %s, binary %d, flow control %d\n",
                        static_cast<unsigned long>(held.BaudRate), held.ByteSize, held.Parity,
                        held.StopBits == TWOSTOPBITS ? "2" : held.StopBits == ONESTOPBIT ? "1" : "1.5",
                        static_cast<int>(held.fBinary), static_cast<int>(held.fOutxCtsFlow || held.fOutX || held.fInX));
        }
        port.ops.closePort(port);
    }

    long idleRuns = 0;
    if (idleMs > 0)
        serial.setIdleHook(
            [&idleRuns](SerialPort&) {
                ++idleRuns;
                return 0;
            },
            static_cast<int>(idleMs));

    JbusMaster master(serial, settings);

    const double cpuBefore = processorMs();
    const double start = nowMs();
    const int result =
        master.transact(jbusAddressByte(settings.jbusAddress), 3, static_cast<uint16_t>(first), static_cast<uint16_t>(count))
            ? 0
            : -1;
    const double elapsed = nowMs() - start;
    const double cpu = processorMs() - cpuBefore;

    std::printf("result %d (%s)\n", result, linkFailureText(master.lastFailure(), 1));
    if (result == 0)
        printHex("image", master.lastReply().data() + JbusMaster::kReplyImageOffset, static_cast<size_t>(count) * 2);
    std::printf("transaction %.0f ms wall, %.1f ms processor\n", elapsed, cpu);
    if (idleMs > 0)
        std::printf("idle hook %ld runs\n", idleRuns);
    std::fflush(stdout);
    return result == 0 ? 0 : 1;
}
