// Start-up's view of the settings: the command-line switches and the
// installation check. The values themselves are read and written by the
// settings table (ProgramSettings.h).
#pragma once

#include "ProgramSettings.h"
#include "ProgramState.h"
#include "Prompts.h"
#include "SettingsStore.h"

#include <string>

namespace vantor {

// Each switch is a plain, case-sensitive substring of the command line.
AccessFlags decodeSwitches(const std::string& commandLine);

// True when the settings key exists; otherwise says the program must be installed.
bool installationCheck(const SettingsStore& store, const std::string& key, Prompts& prompts);

}  // namespace vantor
