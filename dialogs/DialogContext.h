// What every dialog works with: the program's variables, the link and the prompts.
#pragma once

#include "BlockLink.h"
#include "ProgramState.h"
#include "Prompts.h"

namespace vantor {

struct DialogContext {
    ProgramState& state;
    BlockLink& link;
    Prompts& prompts;

    int32_t language() const { return state.settings.language == kEnglish ? kEnglish : kFrench; }
};

}  // namespace vantor
