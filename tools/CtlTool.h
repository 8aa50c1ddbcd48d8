// What every vantorctl command works with: the program's variables and a link
// to the instrument, the run's language and output, and the one-line failure
// every command ends with.
#pragma once

#include "Console.h"
#include "Formatted.h"
#include "LanguageTables.h"
#include "Session.h"

#include <string>
#include <string_view>
#include <vector>

namespace vantor::ctl {

struct Tool : Session {
    // The port given with --device, as the driver opens it; empty for the settings' own.
    std::string device;
    // With --json, what a command prints is JSON, its failure included.
    bool json = false;

    // Every text of a run comes from the language tables in this language.
    int language() const { return state.settings.language == 1 ? 1 : 0; }
    const char* text(const BilingualText& t) const { return t.text(language()); }

    // Says why a command failed: "vantorctl: reason" on standard error, and with
    // --json one object holding the reason and its stable code on standard
    // output. Returns status.
    int fail(const std::string& reason, std::string_view code, int status = 1) const;
    // The last transaction's failure, with the port, speed and address it used.
    int failure(int status = 1) const;
};

// A line on standard output.
void say(const std::string& line);
// The text padded with blanks to `width` characters (not bytes: "N°" is two).
std::string padded(const std::string& text, size_t width);

// Commands on registers, the probe catalogue and the ports.
int readCommand(Tool& tool, long first, long count);
int writeCommand(Tool& tool, long first, const std::vector<long>& values);
int catalogueCommand(Tool& tool);
int detectCommand(Tool& tool, const std::vector<std::string>& ports, bool save);
int portsCommand(Tool& tool);

// Commands on parameter blocks and settings files.
int readBlockCommand(Tool& tool, const std::string& name, bool raw);
int saveBlockCommand(Tool& tool, const std::string& name, const std::string& path);
int uploadCommand(Tool& tool, const std::string& path, bool verify, bool addressChange);
int compareCommand(Tool& tool, const std::string& path);
struct InitialisationFlags {
    bool calibration = false;
    bool factory = false;
    bool maker = false;
    bool yes = false;
};
int initialiseCommand(Tool& tool, const InitialisationFlags& flags);

// Commands on the measurement.
struct PollOptions {
    long intervalMs = 1000;
    long count = -1;  // until interrupted
    std::string record;
};
int pollCommand(Tool& tool, const PollOptions& options);
struct ConvertOptions {
    std::string input;
    std::string output;
    bool csv = false;
    std::string decimal;  // the locale's when empty
};
int convertCommand(Tool& tool, const ConvertOptions& options);

}  // namespace vantor::ctl
