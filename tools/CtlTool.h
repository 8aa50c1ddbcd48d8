// What every vantorctl command works with: the program's variables and a link
// to the instrument, and the one-line failure every command ends with.
#pragma once

#include "Session.h"

#include <string>
#include <vector>

namespace vantor::ctl {

using Args = std::vector<std::string>;

// Prints "vantorctl: reason" on standard error; returns the exit status 1.
int fail(const std::string& reason);

struct Tool : Session {
    std::string device;

    // Says why the last transaction failed; returns 1.
    int failure() const;
};

// Commands on parameter blocks and settings files.
int readBlockCommand(Tool& tool, Args args);
int saveBlockCommand(Tool& tool, const Args& args);
int uploadCommand(Tool& tool, Args args);
int compareCommand(Tool& tool, const Args& args);
int initialiseCommand(Tool& tool, const Args& args);

// Commands on the measurement.
int pollCommand(Tool& tool, const Args& args);
int convertCommand(Tool& tool, const Args& args);

}  // namespace vantor::ctl
