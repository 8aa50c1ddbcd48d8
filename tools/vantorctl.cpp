// vantorctl: reads and writes an instrument's registers and blocks from the command line.
#include "CtlTool.h"
#include "JsonLine.h"
#include "LinkStatus.h"
#include "ProgramSettings.h"
#include "SettingsStore.h"
#include "SystemDriver.h"
#include "VersionInfo.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace vantor::ctl {

void say(const std::string& line) { writeOut(line + "\n"); }

int Tool::fail(const std::string& reason, std::string_view code, int status) const
{
    if (json)
        JsonLine().boolean("ok", false).text("reason", reason).text("reason_code", code).print();
    writeErr("vantorctl: " + reason + "\n");
    return status;
}

int Tool::failure(int status) const
{
    const LinkFailure why = master.lastFailure();
    const int l = language();
    const std::string reason = failureReason(why, master.exceptionCode(), master.devicePath(), l);
    const std::string port = systemDeviceShownName(master.devicePath());
    const LinkSettings used = master.lastLink();
    std::string said;
    switch (why) {
    case LinkFailure::PortDenied:
        // Serial devices belong to a group (dialout on Debian) whose members may open them.
        said = formatted(text(lang::CtlFailedOn), linkFailureText(why, l), port.c_str());
        if (const std::string group = deviceGroup(master.devicePath()); !group.empty())
            said += formatted(text(lang::CtlJoinGroup), group.c_str(), group.c_str());
        break;
    case LinkFailure::ConnectRefused:
    case LinkFailure::HostUnreachable:
    case LinkFailure::HostUnknown:
    case LinkFailure::ConnectTimeout:
        // The reason names the server already.
        said = reason;
        break;
    case LinkFailure::PortMissing:
    case LinkFailure::PortBusy:
    case LinkFailure::PortUnavailable:
        said = formatted(text(lang::CtlFailedOn), reason.c_str(), port.c_str());
        // "1" given for a port: the COM port of that number, most likely.
        if (!port.empty() && std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; }))
            said += formatted(text(lang::CtlDidYouMean), ("COM" + port).c_str());
        break;
    default: {
        const bool knownBaud = used.baudIndex >= 0 && used.baudIndex < static_cast<int32_t>(kBaudRates.size());
        said = formatted(text(lang::CtlFailedAt), reason.c_str(), port.c_str(),
                         knownBaud ? kBaudRates[static_cast<size_t>(used.baudIndex)] : 0,
                         static_cast<int>(jbusAddressByte(used.jbusAddress)));
        if (why == LinkFailure::NoAnswer)
            said += text(lang::CtlRunDetect);
    }
    }
    return fail(said, linkFailureCode(why), status);
}

int readCommand(Tool& tool, long first, long count)
{
    const auto reply = tool.master.transact(tool.link.unitAddress(), 3, static_cast<uint16_t>(first),
                                            static_cast<uint16_t>(count));
    if (!reply)
        return tool.failure();
    const std::span<const uint8_t> image = *reply;
    std::string words;
    Json numbers = Json::array();
    for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
        words += formatted("%s%02X%02X", i ? " " : "", image[2 * i], image[2 * i + 1]);
        numbers.push_back(image[2 * i] << 8 | image[2 * i + 1]);
    }
    if (tool.json)
        JsonLine().boolean("ok", true).integer("first", first).set("registers", std::move(numbers)).print();
    else
        say(words);
    return 0;
}

int writeCommand(Tool& tool, long first, const std::vector<long>& values)
{
    const auto count = static_cast<uint16_t>(values.size());
    std::vector<uint8_t> image(2 * size_t{count});
    for (uint16_t i = 0; i < count; ++i) {
        image[2 * i] = static_cast<uint8_t>(values[i] >> 8);
        image[2 * i + 1] = static_cast<uint8_t>(values[i]);
    }
    if (!tool.master.transact(tool.link.unitAddress(), 16, static_cast<uint16_t>(first), count, image))
        return tool.failure();
    if (tool.json)
        JsonLine().boolean("ok", true).integer("first", first).integer("count", count).print();
    return 0;
}

int catalogueCommand(Tool& tool)
{
    if (tool.link.readProbeCatalogue() != 0)
        return tool.failure();
    const ProbeCatalogue& catalogue = tool.state.catalogue;
    if (tool.json) {
        Json probes = Json::array();
        for (int i = 0; i < kProbeCount; ++i)
            probes.push_back(JsonLine().integer("index", i).text("name", catalogue.names[i])
                                 .integer("angle", catalogue.angles[i]).object());
        JsonLine().boolean("ok", true).set("probes", std::move(probes)).print();
        return 0;
    }
    for (int i = 0; i < kProbeCount; ++i)
        say(formatted("%2d %-8s %d", i, catalogue.names[i].c_str(), catalogue.angles[i]));
    return 0;
}

namespace {

// The program's own settings, when installed: its ports, speed, address and
// language are the defaults that the options override; the probe names it
// keeps name the probes of a converted file. Without them, the program's
// defaults (French, Com1, 9600 baud, address 1).
void loadProgramSettings(Tool& tool)
{
    const SettingsStore store;
    const std::string key = settingsKey(kApplicationName);
    readProbeCatalogue(store, key, tool.state.catalogue);
    if (!store.keyExists(key))
        return;
    loadPortTable(store, key, tool.serial);
    readSettings(store, key, tool.state.settings);
}

// Every frame on standard error: milliseconds since the start, direction,
// bytes and verdict. What a technician sends back from the field.
void traceFrames(Tool& tool)
{
    const auto start = std::chrono::steady_clock::now();
    tool.master.setTracer([start](const TraceEvent& event) {
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        writeErr(traceLine(event, ms) + "\n");
    });
}

// The help as the other programs print theirs: the usage line first.
class Help : public CLI::Formatter {
public:
    std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const override
    {
        if (mode == CLI::AppFormatMode::Sub)
            return make_expanded(app);
        std::string usage = make_usage(app, name);
        if (usage.rfind("Usage:", 0) == 0)
            usage[0] = 'u';
        return usage + make_description(app) + make_positionals(app) + make_groups(app, mode) +
               make_subcommands(app, mode) + make_footer(app);
    }
};

constexpr const char* kCommands[] = {"read",    "write", "read-block", "catalogue", "save-block", "upload",
                                     "compare", "init",  "poll",       "convert",   "detect",     "ports"};
// Options of the whole run that take a value: the word after them is no command.
constexpr const char* kValueOptions[] = {"--device", "--baud", "--address", "--language"};

// The command a run names, or the first word that names none.
std::string commandWord(const std::vector<std::string>& args)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (std::find(std::begin(kValueOptions), std::end(kValueOptions), arg) != std::end(kValueOptions)) {
            ++i;
            continue;
        }
        if (!arg.empty() && arg[0] != '-')
            return arg;
    }
    return {};
}

}  // namespace

}  // namespace vantor::ctl

int main(int argc, char** argv)
{
    using namespace vantor;
    using namespace vantor::ctl;

    std::vector<std::string> args = utf8Arguments(argc, argv);
#ifdef _WIN32
    // The help switch of Windows' own commands.
    for (std::string& arg : args)
        if (arg == "/?")
            arg = "--help";
#endif
    Tool tool;
    loadProgramSettings(tool);

    CLI::App app{"Reads and writes a Vantor flowmeter's registers, blocks and measurement over its serial Jbus link.\n"
                 "Without options the port, speed, address and language are VantorPC's settings.\n"
                 "Numbers are decimal or 0x hexadecimal.",
                 "vantorctl"};
    app.formatter(std::make_shared<Help>());
    app.fallthrough();
    app.require_subcommand(0, 1);
    app.set_help_flag("-h,--help", "print this help and exit");
    app.set_version_flag("--version", std::string("vantorctl ") + kVersionFileVersion, "print the version and exit");
    std::string device, language;
    int baud = 0, address = -1;
    bool trace = false;
    // Given twice, the last one counts, as a script that adds its own expects.
    const auto last = CLI::MultiOptionPolicy::TakeLast;
    app.add_option("--device", device,
                   "the serial device: COM3 or \\\\.\\COM12 on Windows, /dev/ttyUSB0 on Linux; also a "
                   "device server's port, rfc2217://HOST:PORT or tcp://HOST:PORT")
        ->multi_option_policy(last);
    app.add_option("--baud", baud, "the speed")->check(CLI::IsMember({300, 600, 1200, 2400, 4800, 9600}))
        ->multi_option_policy(last);
    app.add_option("--address", address, "the unit's Jbus address")->check(CLI::Range(0, 255))->multi_option_policy(last);
    app.add_option("--language", language, "the language of every text: fr or en")
        ->check(CLI::IsMember({"fr", "en"}))
        ->multi_option_policy(last);
    app.add_flag("--json", tool.json, "print JSON: one object per line, a failure as one with its reason");
    app.add_flag("--trace", trace, "print every frame sent and received on standard error");

    long first = 0, count = 0;
    std::vector<long> values;
    auto* read = app.add_subcommand("read", "print COUNT registers from FIRST as hexadecimal words");
    read->add_option("FIRST", first)->required()->check(CLI::Range(0L, 0xFFFFL));
    read->add_option("COUNT", count)->required()->check(CLI::Range(1L, 125L));
    auto* write = app.add_subcommand("write", "write the values to the registers from FIRST");
    write->add_option("FIRST", first)->required()->check(CLI::Range(0L, 0xFFFFL));
    write->add_option("VALUE", values)->required()->expected(1, 123)->check(CLI::Range(0L, 0xFFFFL));

    std::string name, path;
    bool raw = false, noVerify = false, addressChange = false;
    auto* readBlock = app.add_subcommand(
        "read-block", "print a block's parameters (calibration, factory, maker, can, measurement), or its image");
    readBlock->add_option("NAME", name)->required();
    readBlock->add_flag("--raw", raw, "the register image as hexadecimal bytes");
    auto* catalogue = app.add_subcommand("catalogue", "print the 24 probe names and angles");
    auto* saveBlock = app.add_subcommand("save-block", "read a block and write it to a settings file (.eta, .rus, .hdm, .can)");
    saveBlock->add_option("NAME", name)->required();
    saveBlock->add_option("FILE", path)->required();
    auto* upload = app.add_subcommand("upload", "write a settings file's block, then read it back and compare");
    upload->add_option("FILE", path)->required();
    upload->add_flag("--no-verify", noVerify, "write only, without reading back");
    upload->add_flag("--address-change", addressChange,
                     "let a file give the unit another Jbus address (read back there)");
    auto* compare = app.add_subcommand(
        "compare", "print the deviation report between the unit and a calibration or factory file; exit 1 on a "
                   "deviation, 2 when no comparison could be made");
    compare->add_option("FILE", path)->required();
    InitialisationFlags init;
    auto* initialise = app.add_subcommand(
        "init", "at address 0: set the clock, reset both totalizers, write the default values of the blocks named "
                "(the CAN block goes with the calibration)");
    initialise->add_flag("--calibration", init.calibration, "the configuration and CAN blocks");
    initialise->add_flag("--factory", init.factory, "the factory settings");
    initialise->add_flag("--maker", init.maker, "the maker settings");
    initialise->add_flag("--yes", init.yes, "do not ask (needed when standard input is not a terminal)");
    PollOptions poll;
    auto* polling = app.add_subcommand("poll", "poll the measurement, one line per poll");
    polling->add_option("--interval", poll.intervalMs, "milliseconds between polls (1000)")->check(CLI::Range(10L, 3600000L));
    polling->add_option("--count", poll.count, "polls to make (until interrupted)")->check(CLI::PositiveNumber);
    polling->add_option("--record", poll.record, "write the polls to a measurement file (.mes)");
    ConvertOptions convert;
    auto* converting = app.add_subcommand(
        "convert", "write a measurement file as tab-separated text for a spreadsheet (.mes made .prn), or CSV");
    converting->add_option("FILE", convert.input)->required();
    converting->add_flag("--csv", convert.csv, "every field as UTF-8 CSV (.mes made .csv)");
    converting->add_option("--out", convert.output, "the output file");
    converting->add_option("--decimal", convert.decimal, "the decimal separator of the text (the user's by default)");
    std::vector<std::string> ports;
    bool save = false;
    auto* detect = app.add_subcommand(
        "detect", "scan ports at every speed, at Jbus address 0, for the instrument (Com1 to Com3 by default)");
    detect->add_option("--ports", ports, "the ports to scan, each once")->delimiter(',');
    detect->add_flag("--save", save, "keep the port, speed and address found in the program's settings");
    auto* portList = app.add_subcommand("ports", "list the machine's serial ports and which the settings use");
    app.footer("--help after a command tells more of it. Text goes to a Windows console as Unicode; redirected, "
               "it is UTF-8.");

    // A failure to read the arguments is JSON too when JSON was asked for.
    tool.json = std::find(args.begin(), args.end(), "--json") != args.end();
    const std::string word = commandWord(args);
    const bool comparing = word == "compare";
    // As diff does: a compare that could not be made exits with 2.
    const int usageStatus = comparing ? 2 : 1;
    if (!word.empty() && std::find(std::begin(kCommands), std::end(kCommands), word) == std::end(kCommands))
        return tool.fail("unknown command '" + word + "'; vantorctl --help lists them", "usage", usageStatus);
    std::reverse(args.begin(), args.end());
    try {
        app.parse(args);
    } catch (const CLI::CallForHelp&) {
        writeOut(app.help());
        return 0;
    } catch (const CLI::CallForVersion& e) {
        say(e.what());
        return 0;
    } catch (const CLI::ParseError& e) {
        std::string what = e.what();
        std::replace(what.begin(), what.end(), '\n', ' ');
        return tool.fail(what + "; vantorctl --help tells more", "usage", usageStatus);
    }
    if (app.get_subcommands().empty()) {
        writeOut(app.help());
        return 1;
    }

    if (!language.empty())
        tool.state.settings.language = language == "en" ? kEnglish : kFrench;
    LinkSettings& link = tool.state.settings.link;
    if (baud != 0)
        link.baudIndex = static_cast<int32_t>(std::find(kBaudRates.begin(), kBaudRates.end(), baud) - kBaudRates.begin());
    if (address >= 0)
        link.jbusAddress = static_cast<float>(address);
    if (trace)
        traceFrames(tool);
    if (!device.empty()) {
        tool.device = systemDeviceFromName(device);
        tool.serial.setDevicePath(link.portIndex, tool.device);
    }

    if (portList->parsed())
        return portsCommand(tool);
    if (detect->parsed()) {
        std::vector<std::string> scanned;
        for (const std::string& port : ports)
            scanned.push_back(systemDeviceFromName(port));
        if (scanned.empty() && !tool.device.empty())
            scanned.push_back(tool.device);
        return detectCommand(tool, scanned, save);
    }
    if (converting->parsed())
        return convertCommand(tool, convert);
    if (read->parsed())
        return readCommand(tool, first, count);
    if (write->parsed())
        return writeCommand(tool, first, values);
    if (readBlock->parsed())
        return readBlockCommand(tool, name, raw);
    if (catalogue->parsed())
        return catalogueCommand(tool);
    if (saveBlock->parsed())
        return saveBlockCommand(tool, name, path);
    if (upload->parsed())
        return uploadCommand(tool, path, !noVerify, addressChange);
    if (compare->parsed())
        return compareCommand(tool, path);
    if (initialise->parsed())
        return initialiseCommand(tool, init);
    return pollCommand(tool, poll);
}
