// The program object: owns every program-wide variable and the link, and is
// handed by reference to whatever needs them.
#pragma once

#include "BlockLink.h"
#include "DialogContext.h"
#include "JbusMaster.h"
#include "Launcher.h"
#include "ProgramState.h"
#include "Prompts.h"
#include "QtTranslations.h"
#include "SerialPort.h"
#include "SettingsStore.h"
#include "VersionStrings.h"

#include <string>

namespace vantor {

class Program {
public:
    Program(Prompts& prompts, SettingsStore& store, std::string applicationName = "VantorPC");
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    DialogContext context();
    std::string settingsKey() const;

    ProgramState state;
    SerialLibrary serial;
    JbusMaster master{serial, state.settings.link, state.buffers};
    BlockLink link{master, state.catalogue};
    Prompts& prompts;
    SettingsStore& store;
    VersionStrings versions;
    std::string applicationName;
    std::string commandLine;
    // What the dialogs take from the computer; tests put their own in place.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    std::function<LocaleItems()> locale = userLocaleItems;
    ProgramStarter startProgram = startProgram;
    // Qt's own texts follow the program's language.
    QtTranslations qtTranslations;
};

}  // namespace vantor
