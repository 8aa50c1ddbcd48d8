// vantorctl: reads and writes an instrument's registers and blocks from the command line.
#include "CtlTool.h"
#include "JsonLine.h"
#include "ProgramSettings.h"
#include "SettingsStore.h"
#include "SystemDriver.h"
#include "UnitScan.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace vantor::ctl {

int fail(const std::string& reason)
{
    std::fprintf(stderr, "vantorctl: %s\n", reason.c_str());
    return 1;
}

namespace {

// Serial devices belong to a group (dialout on Debian) whose members may open them.
std::string deviceGroupHint(const std::string& device)
{
    const std::string name = deviceGroup(device);
    if (name.empty())
        return {};
    return " (join the group " + name + ": sudo usermod -aG " + name + " $USER, then log in again)";
}

}  // namespace

int Tool::failure() const
{
    const LinkFailure why = master.lastFailure();
    const std::string reason = linkFailureText(why, kEnglish);
    switch (why) {
    case LinkFailure::PortMissing:
    case LinkFailure::PortBusy:
    case LinkFailure::PortUnavailable: return fail(reason + ": " + device);
    case LinkFailure::PortDenied: return fail(reason + ": " + device + deviceGroupHint(device));
    case LinkFailure::Exception: return fail(reason + " (exception " + std::to_string(master.exceptionCode()) + ")");
    default: return fail(reason);
    }
}

namespace {

void usage()
{
    std::fprintf(stderr,
                 "usage: vantorctl [--device PATH] [--baud B] [--address A] [--trace] COMMAND\n"
                 "Without flags the port, speed and address are those of VantorPC's settings.\n"
                 "--trace prints every frame sent and received on standard error, with the time in\n"
                 "milliseconds since the start, the direction, the bytes and the verdict.\n"
                 "commands:\n"
                 "  read FIRST COUNT        print COUNT registers from FIRST as hexadecimal words\n"
                 "  write FIRST VALUE...    write the values to the registers from FIRST\n"
                 "  read-block NAME [--raw] [--json] [--language fr|en]\n"
                 "                          print a block's parameters (calibration, factory, maker, can,\n"
                 "                          measurement), a choice by its text and index; --raw prints\n"
                 "                          its register image\n"
                 "  save-block NAME FILE    read a block and write it to a settings file whose extension\n"
                 "                          is the block's (eta, rus, hdm, can)\n"
                 "  upload FILE [--no-verify] [--address-change]\n"
                 "                          write a settings file's block, then read it back and compare;\n"
                 "                          a file that gives the unit another Jbus address needs\n"
                 "                          --address-change, and is read back at the new address\n"
                 "  compare FILE [--json] [--language fr|en]  print the deviation report between the instrument\n"
                 "                          and a calibration (eta) or factory (rus) file; exit 1 on a deviation\n"
                 "  init [--calibration] [--factory] [--maker] [--yes]  at address 0: set the clock, reset\n"
                 "                          both totalizers, write the default values of the blocks named\n"
                 "                          (the CAN block goes with the calibration); asks first on a\n"
                 "                          terminal, and needs --yes when standard input is none\n"
                 "  catalogue               print the 24 probe names and angles\n"
                 "  poll [--interval MS] [--count N] [--record FILE.mes] [--json]\n"
                 "                          poll the measurement (once a second by default), one line\n"
                 "                          per poll; --record writes the polls to a measurement file;\n"
                 "                          --json prints each poll as one JSON object per line\n"
                 "  convert FILE.mes [--csv] [--out FILE.prn|FILE.csv] [--language fr|en] [--decimal C]\n"
                 "                          write a measurement file as tab-separated text for a spreadsheet;\n"
                 "                          by default beside it (.mes made .prn), in the program's language,\n"
                 "                          with the user's date, time and decimal separator; --csv writes\n"
                 "                          every field as UTF-8 CSV (.csv), ISO 8601 dates, numbers with a point\n"
                 "  detect [--ports P0,P1,P2] [--json]  scan three ports at every speed for the instrument\n"
                 "--json prints one JSON object per line (per poll for poll): numbers as numbers, UTF-8 texts.\n"
                 "Numbers are decimal or 0x hexadecimal. Speeds: 300 600 1200 2400 4800 9600 (default 9600).\n");
}

bool parseNumber(const std::string& text, long low, long high, long& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 0);
    return errno == 0 && end != text.c_str() && *end == '\0' && value >= low && value <= high;
}

int readCommand(Tool& tool, const std::vector<std::string>& args)
{
    long first = 0, count = 0;
    if (args.size() != 2 || !parseNumber(args[0], 0, 0xFFFF, first) || !parseNumber(args[1], 1, 125, count))
        return fail("read takes FIRST (0 to 0xFFFF) and COUNT (1 to 125)");
    tool.master.jbusRequest(3, static_cast<uint16_t>(first), static_cast<uint16_t>(count));
    if (tool.master.jbusTransact(6) != 0)
        return tool.failure();
    const auto image = replyImage(tool.state.buffers);
    for (long i = 0; i < count; ++i)
        std::printf("%s%02X%02X", i ? " " : "", image[2 * i], image[2 * i + 1]);
    std::printf("\n");
    return 0;
}

int writeCommand(Tool& tool, const std::vector<std::string>& args)
{
    long first = 0;
    if (args.size() < 2 || args.size() > 124 || !parseNumber(args[0], 0, 0xFFFF, first))
        return fail("write takes FIRST (0 to 0xFFFF) and 1 to 123 values");
    const auto count = static_cast<uint16_t>(args.size() - 1);
    tool.master.jbusRequest(16, static_cast<uint16_t>(first), count);
    auto image = requestImage(tool.state.buffers);
    for (uint16_t i = 0; i < count; ++i) {
        long value = 0;
        if (!parseNumber(args[i + 1], 0, 0xFFFF, value))
            return fail("bad register value: " + args[i + 1]);
        image[2 * i] = static_cast<uint8_t>(value >> 8);
        image[2 * i + 1] = static_cast<uint8_t>(value);
    }
    if (tool.master.jbusTransact(7 + 2 * count) != 0)
        return tool.failure();
    return 0;
}

int catalogueCommand(Tool& tool, const std::vector<std::string>& args)
{
    if (!args.empty())
        return fail("catalogue takes no argument");
    if (tool.link.readProbeCatalogue() != 0)
        return tool.failure();
    for (int i = 0; i < kProbeCount; ++i)
        std::printf("%2d %-8s %d\n", i, tool.state.catalogue.names[i].c_str(), tool.state.catalogue.angles[i]);
    return 0;
}

int detectCommand(Tool& tool, std::vector<std::string> args)
{
    const auto jsonFlag = std::find(args.begin(), args.end(), "--json");
    const bool json = jsonFlag != args.end();
    if (json)
        args.erase(jsonFlag);
    if (args.size() == 2 && args[0] == "--ports") {
        std::istringstream list(args[1]);
        std::string path;
        for (int port = 0; port < 3 && std::getline(list, path, ','); ++port)
            tool.serial.setDevicePath(port, path);
    } else if (!args.empty()) {
        return fail("detect takes --ports PATH0,PATH1,PATH2 and --json");
    } else if (!tool.device.empty()) {
        tool.serial.setDevicePath(0, tool.device);
    }
    // The three ports at once, as the options dialog's Connect scans them.
    const std::optional<ScanResult> found = scanForUnit(tool.serial).unit;
    if (!found) {
        const std::string reason = "no instrument found on " + tool.serial.devicePath(0) + ", " +
                                   tool.serial.devicePath(1) + ", " + tool.serial.devicePath(2);
        if (json)
            JsonLine().boolean("found", false).text("reason", reason).print();
        return fail(reason);
    }
    if (json) {
        JsonLine()
            .boolean("found", true)
            .integer("port", found->portIndex)
            .text("device", tool.serial.devicePath(found->portIndex))
            .integer("baud", kBaudRates[found->baudIndex])
            .integer("address", found->address)
            .print();
        return 0;
    }
    std::printf("port=%d device=%s baud=%d address=%d\n", found->portIndex,
                tool.serial.devicePath(found->portIndex).c_str(), kBaudRates[found->baudIndex], found->address);
    return 0;
}

// The program's own settings, when installed: its ports, speed, address and
// language are the defaults that the flags override; the probe names it keeps
// name the probes of a converted file.
void loadProgramSettings(Tool& tool)
{
    const SettingsStore store;
    const std::string key = settingsKey(kApplicationName);
    if (!store.keyExists(key)) {
        readProbeCatalogue(store, key, tool.state.catalogue);
        return;
    }
    loadPortTable(store, key, tool.serial);
    readSettings(store, key, tool.state.settings);
    readProbeCatalogue(store, key, tool.state.catalogue);
}

// Every frame on standard error: milliseconds since the start, direction,
// bytes and verdict. What a technician sends back from the field.
void traceFrames(Tool& tool)
{
    const auto start = std::chrono::steady_clock::now();
    tool.master.setTracer([start](const TraceEvent& event) {
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::fprintf(stderr, "%s\n", traceLine(event, ms).c_str());
    });
}

}  // namespace

}  // namespace vantor::ctl

int main(int argc, char** argv)
{
    using namespace vantor;
    using namespace vantor::ctl;
    Tool tool;
    loadProgramSettings(tool);
    std::vector<std::string> command;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        long value = 0;
        if (!command.empty()) {
            command.push_back(arg);
        } else if (arg == "--device" && i + 1 < argc) {
            tool.device = argv[++i];
        } else if (arg == "--baud" && i + 1 < argc && parseNumber(argv[i + 1], 1, 115200, value)) {
            ++i;
            tool.state.settings.link.baudIndex = -1;
            for (size_t b = 0; b < kBaudRates.size(); ++b)
                if (kBaudRates[b] == value)
                    tool.state.settings.link.baudIndex = static_cast<int32_t>(b);
            if (tool.state.settings.link.baudIndex < 0)
                return fail("unsupported speed " + std::to_string(value));
        } else if (arg == "--address" && i + 1 < argc && parseNumber(argv[i + 1], 0, 255, value)) {
            ++i;
            tool.state.settings.link.jbusAddress = static_cast<float>(value);
        } else if (arg == "--trace") {
            traceFrames(tool);
        } else if (arg == "--help" || arg == "-h") {
            usage();
            return 0;
        } else if (!arg.empty() && arg[0] != '-') {
            command.push_back(arg);
        } else {
            usage();
            return 1;
        }
    }
    if (command.empty()) {
        usage();
        return 1;
    }
    const std::vector<std::string> args(command.begin() + 1, command.end());
    if (command[0] == "detect")
        return detectCommand(tool, args);
    if (command[0] == "convert")
        return convertCommand(tool, args);
    if (!tool.device.empty()) {
        tool.serial.setDevicePath(tool.state.settings.link.portIndex, tool.device);
    } else {
        tool.device = tool.serial.devicePath(tool.state.settings.link.portIndex);  // the program's own port
    }
    if (command[0] == "read")
        return readCommand(tool, args);
    if (command[0] == "write")
        return writeCommand(tool, args);
    if (command[0] == "read-block")
        return readBlockCommand(tool, args);
    if (command[0] == "catalogue")
        return catalogueCommand(tool, args);
    if (command[0] == "save-block")
        return saveBlockCommand(tool, args);
    if (command[0] == "upload")
        return uploadCommand(tool, args);
    if (command[0] == "compare")
        return compareCommand(tool, args);
    if (command[0] == "init")
        return initialiseCommand(tool, args);
    if (command[0] == "poll")
        return pollCommand(tool, args);
    usage();
    return 1;
}
