// What every dialog works with: the program's variables, the link, the prompts,
// and what is taken from the computer (its clock, its locale, its printer).
#pragma once

#include "BlockLink.h"
#include "Launcher.h"
#include "LinkStatus.h"
#include "LocalTime.h"
#include "UserLocale.h"
#include "PrintDialogImage.h"
#include "ProgramState.h"
#include "Prompts.h"
#include "VersionStrings.h"

#include <QDateTime>

#include <functional>
#include <string>
#include <vector>

namespace vantor {

// Starts another program with its arguments, without a shell; false on failure.
using ProgramStarter = std::function<bool(const std::string& program, const std::vector<std::string>& arguments)>;

struct DialogContext {
    ProgramState& state;
    BlockLink& link;
    Prompts& prompts;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    std::function<LocaleItems()> locale = userLocaleItems;
    ProgramStarter startProgram = launchProgram;
    // Where printouts go; tests put a printer of their own here.
    PrinterSource defaultPrinter = systemDefaultPrinter;
    // The heading of printouts: the program's name, as on the main window's caption.
    std::string applicationTitle = readVersionString("InternalName");
    // The main window's status line: the outcome of each operation on the instrument.
    std::function<void(const StatusLine&)> showStatus = [](const StatusLine&) {};

    int32_t language() const { return state.settings.language == kEnglish ? kEnglish : kFrench; }
    // The time now, as the instrument's clock and the reports take it.
    LocalDateTime localNow() const
    {
        const QDateTime when = now();
        return {when.date().year(), when.date().month(), when.date().day(),
                when.time().hour(), when.time().minute(), when.time().second()};
    }
    // A printout made now, PDF files proposed in the current folder.
    PrintSurroundings printSurroundings() const
    {
        return {prompts, language(), applicationTitle, state.settings.currentFolder, now(), locale(), defaultPrinter};
    }
};

}  // namespace vantor
