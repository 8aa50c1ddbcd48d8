// vantorctl: reads and writes an instrument's registers and blocks from the command line.
#include "BlockLink.h"
#include "BlockRead.h"
#include "BlockTables.h"
#include "JbusMaster.h"
#include "LinkState.h"
#include "SerialPort.h"
#include "Settings.h"
#include "SettingsStore.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace vantor;

void Usage()
{
    std::fprintf(stderr,
                 "usage: vantorctl [--device PATH] [--baud B] [--address A] COMMAND\n"
                 "Without flags the port, speed and address are those of VantorPC's settings.\n"
                 "commands:\n"
                 "  read FIRST COUNT        print COUNT registers from FIRST as hexadecimal words\n"
                 "  write FIRST VALUE...    write the values to the registers from FIRST\n"
                 "  read-block NAME [--raw] print a block's parameters (calibration, factory, maker, can,\n"
                 "                          measurement); --raw prints its register image\n"
                 "  catalogue               print the 24 probe names and angles\n"
                 "  detect [--ports P0,P1,P2]  scan three ports at every speed for the instrument\n"
                 "Numbers are decimal or 0x hexadecimal. Speeds: 300 600 1200 2400 4800 9600 (default 9600).\n");
}

bool ParseNumber(const std::string& text, long low, long high, long& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 0);
    return errno == 0 && end != text.c_str() && *end == '\0' && value >= low && value <= high;
}

int Fail(const std::string& reason)
{
    std::fprintf(stderr, "vantorctl: %s\n", reason.c_str());
    return 1;
}

struct Tool {
    SerialLibrary serial;
    LinkSettings settings;
    LinkBuffers buffers;
    ProbeCatalogue catalogue;
    JbusMaster master{serial, settings, buffers};
    BlockLink link{master, catalogue};
    std::string device;

    int failure() const
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
};

int Read(Tool& tool, const std::vector<std::string>& args)
{
    long first = 0, count = 0;
    if (args.size() != 2 || !ParseNumber(args[0], 0, 0xFFFF, first) || !ParseNumber(args[1], 1, 125, count))
        return Fail("read takes FIRST (0 to 0xFFFF) and COUNT (1 to 125)");
    tool.master.JbusRequest(3, static_cast<uint16_t>(first), static_cast<uint16_t>(count));
    if (tool.master.JbusTransact(6) != 0)
        return tool.failure();
    const auto image = ReplyImage(tool.buffers);
    for (long i = 0; i < count; ++i)
        std::printf("%s%02X%02X", i ? " " : "", image[2 * i], image[2 * i + 1]);
    std::printf("\n");
    return 0;
}

int Write(Tool& tool, const std::vector<std::string>& args)
{
    long first = 0;
    if (args.size() < 2 || args.size() > 124 || !ParseNumber(args[0], 0, 0xFFFF, first))
        return Fail("write takes FIRST (0 to 0xFFFF) and 1 to 123 values");
    const auto count = static_cast<uint16_t>(args.size() - 1);
    tool.master.JbusRequest(16, static_cast<uint16_t>(first), count);
    auto image = RequestImage(tool.buffers);
    for (uint16_t i = 0; i < count; ++i) {
        long value = 0;
        if (!ParseNumber(args[i + 1], 0, 0xFFFF, value))
            return Fail("bad register value: " + args[i + 1]);
        image[2 * i] = static_cast<uint8_t>(value >> 8);
        image[2 * i + 1] = static_cast<uint8_t>(value);
    }
    if (tool.master.JbusTransact(7 + 2 * count) != 0)
        return tool.failure();
    return 0;
}

template <typename Group>
std::string FormatValue(const Group& group, const Descriptor<Group>& row)
{
    if (auto text = std::get_if<Text Group::*>(&row.value))
        return (group.**text).data();
    char out[48];
    const double value = LoadValue(group, row.value);
    if (row.type == kFloat32) {
        std::snprintf(out, sizeof out, "%g", value);
    } else if (std::holds_alternative<float Group::*>(row.value)) {
        const int decimals = static_cast<int>(std::lround(std::log10(RowScale(row.type, row.parameter))));
        std::snprintf(out, sizeof out, "%.*f", decimals, value);
    } else {
        std::snprintf(out, sizeof out, "%.0f", value);
    }
    return out;
}

template <typename Group>
int PrintBlock(Tool& tool, DescriptorTable<Group> table, const BlockInfo& block, bool raw)
{
    Group group{};
    if (ReadParameterBlock(tool.link, table, block, group) != 0)
        return tool.failure();
    if (raw) {
        const auto image = ReplyImage(tool.buffers).first(block.imageSize());
        for (size_t i = 0; i < image.size(); ++i)
            std::printf("%s%02X", i ? " " : "", image[i]);
        std::printf("\n");
        return 0;
    }
    for (const auto& row : table) {
        const std::string value = FormatValue(group, row);
        std::printf("%-20s %s%s%s\n", row.name, value.c_str(), *row.unit ? " " : "", row.unit);
    }
    return 0;
}

int ReadBlock(Tool& tool, std::vector<std::string> args)
{
    bool raw = false;
    std::erase_if(args, [&](const std::string& a) { return a == "--raw" ? (raw = true) : false; });
    const std::string name = args.size() == 1 ? args[0] : "";
    if (name == kCalibrationBlock.name)
        return PrintBlock(tool, kCalibrationTable, kCalibrationBlock, raw);
    if (name == kFactoryBlock.name)
        return PrintBlock(tool, kFactoryTable, kFactoryBlock, raw);
    if (name == kMakerBlock.name)
        return PrintBlock(tool, kMakerTable, kMakerBlock, raw);
    if (name == kCanBlock.name)
        return PrintBlock(tool, kCanTable, kCanBlock, raw);
    if (name == kMeasurementBlock.name)
        return PrintBlock(tool, kMeasurementTable, kMeasurementBlock, raw);
    return Fail("read-block takes one of calibration, factory, maker, can, measurement");
}

int Catalogue(Tool& tool, const std::vector<std::string>& args)
{
    if (!args.empty())
        return Fail("catalogue takes no argument");
    if (tool.link.ReadProbeCatalogue() != 0)
        return tool.failure();
    for (int i = 0; i < kProbeCount; ++i)
        std::printf("%2d %-8s %d\n", i, tool.catalogue.names[i].c_str(), tool.catalogue.angles[i]);
    return 0;
}

int Detect(Tool& tool, const std::vector<std::string>& args)
{
    if (args.size() == 2 && args[0] == "--ports") {
        std::istringstream list(args[1]);
        std::string path;
        for (int port = 0; port < 3 && std::getline(list, path, ','); ++port)
            tool.serial.setDevicePath(port, path);
    } else if (!args.empty()) {
        return Fail("detect takes --ports PATH0,PATH1,PATH2");
    } else if (!tool.device.empty()) {
        tool.serial.setDevicePath(0, tool.device);
    }
    // As the options dialog's Connect does: no catalogue read during the scan.
    const LinkSettings remembered = tool.settings;
    tool.link.MarkProbeCatalogueRead();
    const bool found = DetectUnit(tool.link, tool.settings);
    tool.link.InvalidateProbeCatalogue();
    if (!found) {
        tool.settings = remembered;
        return Fail("no instrument found on " + tool.serial.devicePath(0) + ", " + tool.serial.devicePath(1) +
                    ", " + tool.serial.devicePath(2));
    }
    const int address = ReplyImage(tool.buffers)[1];
    std::printf("port=%d device=%s baud=%d address=%d\n", tool.settings.portIndex,
                tool.serial.devicePath(tool.settings.portIndex).c_str(), kBaudRates[tool.settings.baudIndex], address);
    return 0;
}

// The program's own settings, when installed: its ports, speed and address are
// the defaults that the flags override.
void LoadProgramSettings(Tool& tool)
{
    const SettingsStore store;
    const std::string key = SettingsKey("VantorPC");
    if (!store.keyExists(key))
        return;
    LoadPortTable(store, key, tool.serial);
    const int32_t port = store.readNumber(key, "Com", 0);
    const int32_t baud = store.readNumber(key, "Bauds", 5);
    tool.settings.portIndex = port >= 0 && port < kPortCount ? port : 0;
    tool.settings.baudIndex = baud >= 0 && baud < static_cast<int32_t>(kBaudRates.size()) ? baud : 5;
    tool.settings.jbusAddress = static_cast<float>(store.readNumber(key, "Jbus", 1));
}

}  // namespace

int main(int argc, char** argv)
{
    Tool tool;
    LoadProgramSettings(tool);
    std::vector<std::string> command;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        long value = 0;
        if (!command.empty()) {
            command.push_back(arg);
        } else if (arg == "--device" && i + 1 < argc) {
            tool.device = argv[++i];
        } else if (arg == "--baud" && i + 1 < argc && ParseNumber(argv[i + 1], 1, 115200, value)) {
            ++i;
            tool.settings.baudIndex = -1;
            for (size_t b = 0; b < kBaudRates.size(); ++b)
                if (kBaudRates[b] == value)
                    tool.settings.baudIndex = static_cast<int32_t>(b);
            if (tool.settings.baudIndex < 0)
                return Fail("unsupported speed " + std::to_string(value));
        } else if (arg == "--address" && i + 1 < argc && ParseNumber(argv[i + 1], 0, 255, value)) {
            ++i;
            tool.settings.jbusAddress = static_cast<float>(value);
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
    if (command.empty()) {
        Usage();
        return 1;
    }
    const std::vector<std::string> args(command.begin() + 1, command.end());
    if (command[0] == "detect")
        return Detect(tool, args);
    if (!tool.device.empty()) {
        tool.serial.setDevicePath(tool.settings.portIndex, tool.device);
    } else {
        tool.device = tool.serial.devicePath(tool.settings.portIndex);  // the program's own port
    }
    if (command[0] == "read")
        return Read(tool, args);
    if (command[0] == "write")
        return Write(tool, args);
    if (command[0] == "read-block")
        return ReadBlock(tool, args);
    if (command[0] == "catalogue")
        return Catalogue(tool, args);
    Usage();
    return 1;
}
