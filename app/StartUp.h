// The program's entry: switches, installation check, settings, main window.
#pragma once

#include <string>
#include <vector>

namespace vantor {

class Program;

// The arguments (without the program path) joined by blanks.
std::string joinCommandLine(const std::vector<std::string>& arguments);

// Runs the whole program on the given command line; returns when the main
// window has closed and the settings are saved, or at once when the program is
// not installed. dataHome is where the first run makes its data folder.
void runProgram(Program& program, const std::string& commandLine, const std::string& dataHome);

// The steps before the main window opens; false when the program must end.
bool prepareProgram(Program& program, const std::string& commandLine, const std::string& dataHome);

}  // namespace vantor
