// Start-up's view of the settings: the command-line switches, the installation
// check, and loading and saving the persistent values.
#pragma once

#include "ProgramState.h"
#include "Prompts.h"
#include "SettingsStore.h"

#include <array>
#include <cstdint>
#include <string>

namespace vantor {

class SerialLibrary;

// "Software\" followed by the application name.
std::string settingsKey(const std::string& applicationName);

// Each switch is a plain, case-sensitive substring of the command line.
AccessFlags decodeSwitches(const std::string& commandLine);

// True when the settings key exists; otherwise says the program must be installed.
bool installationCheck(const SettingsStore& store, const std::string& key, Prompts& prompts);

// dataHome: the per-user folder the first run keeps its data folder in.
void loadSettings(const SettingsStore& store, const std::string& key, const std::string& dataHome,
                  ProgramState& state);
void saveSettings(SettingsStore& store, const std::string& key, const ProgramState& state);

// The serial device that stands for Com1 to Com4, as the installation recorded it.
void loadPortTable(const SettingsStore& store, const std::string& key, SerialLibrary& serial);
void savePortTable(SettingsStore& store, const std::string& key, const std::array<std::string, 4>& devices);

struct BuiltInProbe {
    char name[12];  // up to 11 characters, zero-padded
    int16_t angle;
    uint8_t unused[6];
};
// The probes the program knows before it has met an instrument.
const std::array<BuiltInProbe, 24>& builtInProbeCatalogue();

}  // namespace vantor
