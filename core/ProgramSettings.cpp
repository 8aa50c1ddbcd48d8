#include "ProgramSettings.h"

#include "FileNames.h"
#include "SerialPort.h"

#include <cmath>
#include <filesystem>
#include <system_error>

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

constexpr SettingDescriptor textSetting(const char* name, std::string& (*value)(Settings&))
{
    return {name, SettingKind::Words, value, nullptr, nullptr, 0, 0, 0};
}
constexpr SettingDescriptor indexSetting(const char* name, int32_t& (*value)(Settings&), int32_t fallback, int32_t high)
{
    return {name, SettingKind::Index, nullptr, value, nullptr, fallback, 0, high};
}

const SettingDescriptor kSettings[] = {
    textSetting("LastPathName", [](Settings& s) -> std::string& { return s.currentFolder; }),
    textSetting("LastFileSpName", [](Settings& s) -> std::string& { return s.spreadsheetPath; }),
    textSetting("LastPathPrnFileName", [](Settings& s) -> std::string& { return s.prnFolder; }),
    indexSetting("Com", [](Settings& s) -> int32_t& { return s.link.portIndex; }, 0, kPortCount - 1),
    {"Jbus", SettingKind::Address, nullptr, nullptr, [](Settings& s) -> float& { return s.link.jbusAddress; }, 1, 0, 0},
    indexSetting("Language", [](Settings& s) -> int32_t& { return s.language; }, kFrench, kEnglish),
    indexSetting("Bauds", [](Settings& s) -> int32_t& { return s.link.baudIndex; }, 5, static_cast<int32_t>(kBaudRates.size()) - 1),
};

std::string subkey(const std::string& key, const char* name) { return key + "\\" + name; }

// The address as the settings keep it: a whole number, 0 when no int holds it.
int32_t storedAddress(float address)
{
    const double whole = std::trunc(static_cast<double>(address));
    return whole > -2147483649.0 && whole < 2147483648.0 ? static_cast<int32_t>(whole) : 0;
}

// The first run's data folder, in the platform's own separators, ending with one.
std::string dataFolderIn(const std::string& dataHome)
{
    std::filesystem::path folder = pathOf(dataHome) / "Data";
    std::error_code error;
    std::filesystem::create_directories(folder, error);  // a failure is ignored: the name is still used
    folder.make_preferred();
    std::string text = utf8Of(folder.lexically_normal());
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    if (text.empty() || text.back() != separator)
        text += separator;
    return text;
}

}  // namespace

std::string settingsKey(const std::string& applicationName) { return "Software\\" + applicationName; }

std::span<const SettingDescriptor> settingsTable() { return kSettings; }

const std::array<BuiltInProbe, 24>& builtInProbeCatalogue() { return kBuiltInProbes; }

void readSettings(const KeyValueStore& store, const std::string& key, Settings& settings)
{
    for (const SettingDescriptor& d : kSettings) {
        switch (d.kind) {
        case SettingKind::Words: d.text(settings) = store.readText(key, d.name, ""); break;
        case SettingKind::Index: {
            const int32_t value = store.readNumber(key, d.name, d.fallback);
            d.index(settings) = value >= d.low && value <= d.high ? value : d.fallback;
            break;
        }
        case SettingKind::Address:
            d.address(settings) = static_cast<float>(store.readNumber(key, d.name, d.fallback));
            break;
        }
    }
}

bool readProbeCatalogue(const KeyValueStore& store, const std::string& key, ProbeCatalogue& catalogue)
{
    bool anyName = false;
    for (int i = 0; i < kProbeCount; ++i) {
        const std::string name = std::to_string(i);
        catalogue.names[i] = store.readText(subkey(key, "Probe"), name, "");
        catalogue.angles[i] = static_cast<int16_t>(store.readNumber(subkey(key, "Angle"), name, 0) & 0xFFFF);
        anyName = anyName || !catalogue.names[i].empty();
    }
    if (anyName)
        return true;
    for (int i = 0; i < kProbeCount; ++i) {
        catalogue.names[i] = kBuiltInProbes[i].name;
        catalogue.angles[i] = kBuiltInProbes[i].angle;
    }
    return false;
}

void loadSettings(const KeyValueStore& store, const std::string& key, const std::string& dataHome, ProgramState& state)
{
    readSettings(store, key, state.settings);
    if (readProbeCatalogue(store, key, state.catalogue))
        return;
    // First run: a data folder of the user's own.
    state.settings.currentFolder = dataFolderIn(dataHome);
    state.settings.prnFolder = state.settings.currentFolder;
}

void writeSettings(KeyValueStore& store, const std::string& key, const Settings& given)
{
    Settings settings = given;
    for (const SettingDescriptor& d : kSettings) {
        switch (d.kind) {
        case SettingKind::Words: store.writeText(key, d.name, d.text(settings)); break;
        case SettingKind::Index: store.writeNumber(key, d.name, d.index(settings)); break;
        case SettingKind::Address: store.writeNumber(key, d.name, storedAddress(d.address(settings))); break;
        }
    }
}

void saveSettings(KeyValueStore& store, const std::string& key, const ProgramState& state)
{
    writeSettings(store, key, state.settings);
    for (int i = 0; i < kProbeCount; ++i) {
        const std::string name = std::to_string(i);
        store.writeText(subkey(key, "Probe"), name, state.catalogue.names[i]);
        store.writeNumber(subkey(key, "Angle"), name, state.catalogue.angles[i]);
    }
}

std::array<std::string, kPortCount> readPortTable(const KeyValueStore& store, const std::string& key)
{
    std::array<std::string, kPortCount> devices;
    for (int i = 0; i < kPortCount; ++i)
        devices[i] = store.readText(subkey(key, "Ports"), "Com" + std::to_string(i + 1), "");
    return devices;
}

void loadPortTable(const KeyValueStore& store, const std::string& key, SerialLibrary& serial)
{
    const std::array<std::string, kPortCount> devices = readPortTable(store, key);
    for (int i = 0; i < kPortCount; ++i)
        if (!devices[i].empty())
            serial.setDevicePath(i, devices[i]);
}

void savePortTable(KeyValueStore& store, const std::string& key, const std::array<std::string, kPortCount>& devices)
{
    for (int i = 0; i < kPortCount; ++i)
        store.writeText(subkey(key, "Ports"), "Com" + std::to_string(i + 1), devices[i]);
}

}  // namespace vantor
