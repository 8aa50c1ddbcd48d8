// What every dialog works with: the program's variables, the link, the prompts,
// and the two things taken from the computer (its clock and its locale).
#pragma once

#include "BlockLink.h"
#include "Launcher.h"
#include "LocaleFormat.h"
#include "ProgramState.h"
#include "Prompts.h"

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
    std::function<LocaleItems()> locale = UserLocaleItems;
    ProgramStarter startProgram = StartProgram;

    int32_t language() const { return state.settings.language == kEnglish ? kEnglish : kFrench; }
};

}  // namespace vantor
