// The program's persistent settings: one descriptor table (stored name,
// default, range) read and written by the window, vantorctl and vantor-setup.
#pragma once

#include "KeyValueStore.h"
#include "ProgramState.h"
#include "SerialPort.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace vantor {

class SerialLibrary;

// "Software\" followed by the application name.
std::string settingsKey(const std::string& applicationName);
inline const std::string kApplicationName = "VantorPC";

enum class SettingKind { Words, Index, Address };

struct SettingDescriptor {
    const char* name;  // the value's name in the settings key
    SettingKind kind;
    std::string& (*text)(Settings&);    // Words
    int32_t& (*index)(Settings&);       // Index: a value that indexes a table
    float& (*address)(Settings&);       // Address: kept as a whole number
    int32_t fallback;                   // default of a number
    int32_t low, high;                  // an index outside falls back to its default
};

// Every value of the settings key, in the order start-up reads them.
std::span<const SettingDescriptor> settingsTable();

// Reads every value of the table into the settings.
void readSettings(const KeyValueStore& store, const std::string& key, Settings& settings);
// Reads the probe catalogue the program keeps; the built-in one (and false)
// when it keeps none.
bool readProbeCatalogue(const KeyValueStore& store, const std::string& key, ProbeCatalogue& catalogue);
// Reads the settings and the probe catalogue. dataHome: the per-user folder
// the first run keeps its data folder in.
void loadSettings(const KeyValueStore& store, const std::string& key, const std::string& dataHome,
                  ProgramState& state);
// Writes every value of the table from the settings.
void writeSettings(KeyValueStore& store, const std::string& key, const Settings& settings);
// The settings and the probe catalogue.
void saveSettings(KeyValueStore& store, const std::string& key, const ProgramState& state);

// The serial device that stands for Com1 to Com4, as the installation recorded
// it; an empty name where none is recorded.
std::array<std::string, kPortCount> readPortTable(const KeyValueStore& store, const std::string& key);
void loadPortTable(const KeyValueStore& store, const std::string& key, SerialLibrary& serial);
void savePortTable(KeyValueStore& store, const std::string& key, const std::array<std::string, kPortCount>& devices);

struct BuiltInProbe {
    char name[12];  // up to 11 characters, zero-padded
    int16_t angle;
    uint8_t unused[6];
};
// The probes the program knows before it has met an instrument.
const std::array<BuiltInProbe, 24>& builtInProbeCatalogue();

}  // namespace vantor
