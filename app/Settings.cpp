#include "Settings.h"

#include "SerialPort.h"

#include <QDir>

#include <cmath>

namespace vantor {

namespace {

constexpr std::array<BuiltInProbe, 24> kBuiltInProbes = {{
    {"SP1-25", 0, {}},    {"SP1-40", 0, {}},    {"SP2-50", 0, {}},     {"SP2-80", 0, {}},
    {"SP3-100", 0, {}},   {"SP3-150", 0, {}},   {"SP4-200", 0, {}},    {"SP4-300", 0, {}},
    {"CL-A10", 37, {}},   {"CL-A20", 37, {}},   {"CL-B35", 45, {}},    {"CL-B50", 45, {}},
    {"W-25HT", 0, {}},    {"W-40HT", 0, {}},    {"INS-100", -15, {}},  {"INS-200", -15, {}},
    {"DUAL-600", 60, {}}, {"", 0, {}},          {"", 0, {}},           {"", 0, {}},
    {"", 0, {}},          {"", 0, {}},          {"", 0, {}},           {"", 0, {}},
}};

int32_t inRange(int32_t value, int32_t low, int32_t high, int32_t fallback)
{
    return value >= low && value <= high ? value : fallback;
}

std::string subkey(const std::string& key, const char* name) { return key + "\\" + name; }

}  // namespace

const std::array<BuiltInProbe, 24>& builtInProbeCatalogue() { return kBuiltInProbes; }

std::string settingsKey(const std::string& applicationName) { return "Software\\" + applicationName; }

AccessFlags decodeSwitches(const std::string& commandLine)
{
    auto has = [&](const char* s) { return commandLine.find(s) != std::string::npos; };
    AccessFlags flags;
    if (has("-x")) {
        flags.factory = true;
        if (has("-kTrQ")) {
            flags.maker = true;
            if (has("init"))
                flags.init = true;
        }
    }
    flags.can = has("-Can");
    return flags;
}

bool installationCheck(const SettingsStore& store, const std::string& key, Prompts& prompts)
{
    if (store.keyExists(key))
        return true;
    prompts.messageBox(nullptr, "", "Programm must be installed correctly\nwith Setup.exe", BoxIcon::Error,
                       BoxButtons::Ok);
    return false;
}

void loadSettings(const SettingsStore& store, const std::string& key, const std::string& dataHome, ProgramState& state)
{
    Settings& s = state.settings;
    s.currentFolder = store.readText(key, "LastPathName", "");
    s.spreadsheetPath = store.readText(key, "LastFileSpName", "");
    s.prnFolder = store.readText(key, "LastPathPrnFileName", "");
    // Values that index tables fall back to their defaults when out of range.
    s.link.portIndex = inRange(store.readNumber(key, "Com", 0), 0, 3, 0);
    s.link.jbusAddress = static_cast<float>(store.readNumber(key, "Jbus", 1));
    s.language = inRange(store.readNumber(key, "Language", 0), 0, 1, 0);
    s.link.baudIndex = inRange(store.readNumber(key, "Bauds", 5), 0, 5, 5);

    bool anyName = false;
    for (int i = 0; i < kProbeCount; ++i) {
        const std::string name = std::to_string(i);
        state.catalogue.names[i] = store.readText(subkey(key, "Probe"), name, "");
        state.catalogue.angles[i] = static_cast<int16_t>(store.readNumber(subkey(key, "Angle"), name, 0) & 0xFFFF);
        anyName = anyName || !state.catalogue.names[i].empty();
    }
    if (anyName)
        return;

    // First run: the built-in catalogue and a data folder of the user's own.
    for (int i = 0; i < kProbeCount; ++i) {
        state.catalogue.names[i] = kBuiltInProbes[i].name;
        state.catalogue.angles[i] = kBuiltInProbes[i].angle;
    }
    const QString folder = QDir(QString::fromStdString(dataHome)).filePath(QStringLiteral("Data"));
    QDir().mkpath(folder);  // a failure is ignored: the name is still used
    s.currentFolder = QDir::toNativeSeparators(folder + QDir::separator()).toStdString();
    s.prnFolder = s.currentFolder;
}

void saveSettings(SettingsStore& store, const std::string& key, const ProgramState& state)
{
    const Settings& s = state.settings;
    store.writeText(key, "LastPathName", s.currentFolder);
    store.writeText(key, "LastFileSpName", s.spreadsheetPath);
    store.writeText(key, "LastPathPrnFileName", s.prnFolder);
    store.writeNumber(key, "Com", s.link.portIndex);
    const double address = std::trunc(static_cast<double>(s.link.jbusAddress));
    store.writeNumber(key, "Jbus", address > -2147483649.0 && address < 2147483648.0 ? static_cast<int32_t>(address) : 0);
    store.writeNumber(key, "Language", s.language);
    store.writeNumber(key, "Bauds", s.link.baudIndex);
    for (int i = 0; i < kProbeCount; ++i) {
        const std::string name = std::to_string(i);
        store.writeText(subkey(key, "Probe"), name, state.catalogue.names[i]);
        store.writeNumber(subkey(key, "Angle"), name, state.catalogue.angles[i]);
    }
}

void loadPortTable(const SettingsStore& store, const std::string& key, SerialLibrary& serial)
{
    for (int i = 0; i < kPortCount; ++i) {
        const std::string device = store.readText(subkey(key, "Ports"), "Com" + std::to_string(i + 1), "");
        if (!device.empty())
            serial.setDevicePath(i, device);
    }
}

void savePortTable(SettingsStore& store, const std::string& key, const std::array<std::string, 4>& devices)
{
    for (int i = 0; i < kPortCount; ++i)
        store.writeText(subkey(key, "Ports"), "Com" + std::to_string(i + 1), devices[i]);
}

}  // namespace vantor
