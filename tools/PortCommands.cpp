// vantorctl's commands on the serial ports: the scan that finds the
// instrument, as Options > Connect runs it, and the machine's ports.
#include "CtlTool.h"
#include "JsonLine.h"
#include "PortDevices.h"
#include "ProgramSettings.h"
#include "SettingsStore.h"
#include "SystemDriver.h"
#include "UnitScan.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vantor::ctl {

namespace {

// Keeps where the unit answered in the program's settings, as Options >
// Connect does: the port by the Com slot that holds its device (the current
// slot takes it when none does), the speed and the address. The rest of the
// settings stay as they are. The Com slot used.
int saveFound(Tool& tool, const std::string& device, int32_t baudIndex, uint8_t address)
{
    SettingsStore store;
    const std::string key = settingsKey(kApplicationName);
    std::array<std::string, kPortCount> table = readPortTable(store, key);
    int slot = -1;
    for (int i = 0; i < kPortCount && slot < 0; ++i)
        if (tool.serial.devicePath(i) == device)
            slot = i;
    if (slot < 0) {
        slot = std::clamp(tool.state.settings.link.portIndex, 0, kPortCount - 1);
        table[static_cast<size_t>(slot)] = device;
        for (int i = 0; i < kPortCount; ++i)
            if (table[static_cast<size_t>(i)].empty())
                table[static_cast<size_t>(i)] = tool.serial.devicePath(i);
        savePortTable(store, key, table);
    }
    Settings settings;
    readSettings(store, key, settings);
    settings.link = {slot, baudIndex, static_cast<float>(address)};
    writeSettings(store, key, settings);
    return slot;
}

}  // namespace

int detectCommand(Tool& tool, const std::vector<std::string>& given, bool save)
{
    // Each port once, in the order given; by default the window's Com1 to Com3.
    std::vector<std::string> devices;
    for (const std::string& device : given)
        if (std::find(devices.begin(), devices.end(), device) == devices.end())
            devices.push_back(device);
    const bool byDefault = devices.empty();
    if (byDefault)
        devices = windowScanPorts(tool.serial);
    const ScanReport report = scanForUnit(devices);
    const int l = tool.language();
    if (!report.unit) {
        std::string reason = tool.text(lang::CtlNoInstrument), scanned;
        for (size_t i = 0; i < devices.size(); ++i) {
            const std::string port = systemDeviceShownName(devices[i]);
            reason += "; " + scanLine(port, report.ports.ports[i], l);
            scanned += (i ? ", " : "") + port;
        }
        if (byDefault)
            reason += "; " + formatted(tool.text(lang::CtlScanned), scanned.c_str());
        return tool.fail(reason, "not_found");
    }
    const ScanResult& unit = *report.unit;
    const std::string& device = devices[static_cast<size_t>(unit.portIndex)];
    const int baud = kBaudRates[static_cast<size_t>(unit.baudIndex)];
    if (tool.json)
        JsonLine()
            .boolean("found", true)
            .integer("port", unit.portIndex)
            .text("device", device)
            .integer("baud", baud)
            .integer("address", unit.address)
            .print();
    else
        say(formatted("port=%d device=%s baud=%d address=%d", unit.portIndex, device.c_str(), baud, unit.address));
    if (save) {
        const int slot = saveFound(tool, device, unit.baudIndex, unit.address);
        if (!tool.json)
            say(formatted(tool.text(lang::CtlDetectSaved), (comName(slot, l) + " (" + systemDeviceShownName(device) + ")").c_str(),
                          baud, unit.address));
    }
    return 0;
}

int portsCommand(Tool& tool)
{
    const std::vector<MachinePort> ports = machineSerialPorts();
    const int l = tool.language();
    if (ports.empty() && !tool.json)
        say(tool.text(lang::CtlPortsNone));
    for (const MachinePort& port : ports) {
        std::string used;
        for (int i = 0; i < kScannedPorts; ++i)
            if (tool.serial.devicePath(i) == port.device || (!port.name.empty() && tool.serial.devicePath(i) == port.name))
                used = comName(i, l);
        const std::string shown = systemDeviceShownName(port.device);
        if (tool.json) {
            JsonLine line;
            line.text("device", port.device).text("port", shown).text("name", port.name);
            if (!used.empty())
                line.text("settings", used);
            line.print();
            continue;
        }
        std::string row = padded(shown, 14) + " " + padded(port.name, 44);
        if (!used.empty())
            row += " " + formatted(tool.text(lang::CtlPortUsedAs), used.c_str());
        while (!row.empty() && row.back() == ' ')
            row.pop_back();
        say(row);
    }
    return 0;
}

}  // namespace vantor::ctl
