// The program object: owns every program-wide variable and the link, and is
// handed by reference to whatever needs them.
#pragma once

#include "DialogContext.h"
#include "FrameLog.h"
#include "Launcher.h"
#include "Prompts.h"
#include "QtTranslations.h"
#include "ProgramSettings.h"
#include "Session.h"
#include "SettingsStore.h"
#include "VersionStrings.h"

#include <string>

namespace vantor {

class Program : public Session {
public:
    Program(Prompts& prompts, SettingsStore& store, std::string applicationName = kApplicationName);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    DialogContext context();
    std::string settingsKey() const;

    Prompts& prompts;
    SettingsStore& store;
    VersionStrings versions;
    std::string applicationName;
    std::string commandLine;
    // What the dialogs take from the computer; tests put their own in place.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    std::function<LocaleItems()> locale = userLocaleItems;
    ProgramStarter startProgram = launchProgram;
    // The main window's status line, handed to every dialog.
    std::function<void(const StatusLine&)> showStatus = [](const StatusLine&) {};
    // The last frames on the line, for the link window.
    FrameLog frameLog;
    // Qt's own texts follow the program's language.
    QtTranslations qtTranslations;
};

}  // namespace vantor
