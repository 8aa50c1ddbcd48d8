// vantorctl: reads and writes an instrument's registers from the command line.
#include "JbusMaster.h"
#include "LinkState.h"
#include "SerialPort.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace vantor;

void Usage()
{
    std::fprintf(stderr,
                 "usage: vantorctl --device PATH [--baud B] [--address A] COMMAND\n"
                 "commands:\n"
                 "  read FIRST COUNT        print COUNT registers from FIRST as hexadecimal words\n"
                 "  write FIRST VALUE...    write the values to the registers from FIRST\n"
                 "Numbers are decimal or 0x hexadecimal. Speeds: 300 600 1200 2400 4800 9600 (default 9600).\n");
}

bool ParseNumber(const char* text, long low, long high, long& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 0);
    return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

int Fail(const std::string& reason)
{
    std::fprintf(stderr, "vantorctl: %s\n", reason.c_str());
    return 1;
}

int Failure(const JbusMaster& master, const std::string& device)
{
    switch (master.lastFailure()) {
    case LinkFailure::PortMissing: return Fail("port missing: " + device);
    case LinkFailure::PortBusy: return Fail("port busy: " + device);
    case LinkFailure::PortUnavailable: return Fail("port cannot be opened: " + device);
    case LinkFailure::NoAnswer: return Fail("no answer");
    case LinkFailure::WrongLength:
    case LinkFailure::BadCrc: return Fail("bad reply");
    default: return Fail(LinkFailureText(master.lastFailure()));
    }
}

int Read(JbusMaster& master, const std::string& device, const std::vector<std::string>& args)
{
    long first = 0, count = 0;
    if (args.size() != 2 || !ParseNumber(args[0].c_str(), 0, 0xFFFF, first) ||
        !ParseNumber(args[1].c_str(), 1, 125, count))
        return Fail("read takes FIRST (0 to 0xFFFF) and COUNT (1 to 125)");
    master.JbusRequest(3, static_cast<uint16_t>(first), static_cast<uint16_t>(count));
    if (master.JbusTransact(6) != 0)
        return Failure(master, device);
    const auto& reply = master.buffers().reply;
    for (long i = 0; i < count; ++i)
        std::printf("%s%02X%02X", i ? " " : "", reply[3 + 2 * i], reply[4 + 2 * i]);
    std::printf("\n");
    return 0;
}

int Write(JbusMaster& master, const std::string& device, const std::vector<std::string>& args)
{
    long first = 0;
    if (args.size() < 2 || args.size() > 124 || !ParseNumber(args[0].c_str(), 0, 0xFFFF, first))
        return Fail("write takes FIRST (0 to 0xFFFF) and 1 to 123 values");
    const auto count = static_cast<uint16_t>(args.size() - 1);
    master.JbusRequest(16, static_cast<uint16_t>(first), count);
    auto& request = master.buffers().request;
    for (uint16_t i = 0; i < count; ++i) {
        long value = 0;
        if (!ParseNumber(args[i + 1].c_str(), 0, 0xFFFF, value))
            return Fail("bad register value: " + args[i + 1]);
        request[LinkBuffers::kRequestImage + 2 * i] = static_cast<uint8_t>(value >> 8);
        request[LinkBuffers::kRequestImage + 2 * i + 1] = static_cast<uint8_t>(value);
    }
    if (master.JbusTransact(7 + 2 * count) != 0)
        return Failure(master, device);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string device;
    LinkSettings settings;
    std::vector<std::string> command;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        long value = 0;
        if (!command.empty()) {
            command.push_back(arg);
        } else if (arg == "--device" && i + 1 < argc) {
            device = argv[++i];
        } else if (arg == "--baud" && i + 1 < argc && ParseNumber(argv[i + 1], 1, 115200, value)) {
            ++i;
            settings.baudIndex = -1;
            for (size_t b = 0; b < kBaudRates.size(); ++b)
                if (kBaudRates[b] == value)
                    settings.baudIndex = static_cast<int32_t>(b);
            if (settings.baudIndex < 0)
                return Fail("unsupported speed " + std::to_string(value));
        } else if (arg == "--address" && i + 1 < argc && ParseNumber(argv[i + 1], 0, 255, value)) {
            ++i;
            settings.jbusAddress = static_cast<float>(value);
        } else if (arg == "--help" || arg == "-h") {
            Usage();
            return 0;
        } else if (!arg.empty() && arg[0] != '-') {
            command.push_back(arg);
        } else {
            Usage();
            return 1;
        }
    }
    if (device.empty() || command.empty()) {
        Usage();
        return 1;
    }

    SerialLibrary serial;
    serial.setDevicePath(0, device);
    settings.portIndex = 0;
    LinkBuffers buffers;
    JbusMaster master(serial, settings, buffers);
    const std::vector<std::string> args(command.begin() + 1, command.end());
    if (command[0] == "read")
        return Read(master, device, args);
    if (command[0] == "write")
        return Write(master, device, args);
    Usage();
    return 1;
}
