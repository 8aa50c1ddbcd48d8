#include "StartUp.h"

#include "MainWindow.h"
#include "Program.h"
#include "Settings.h"

namespace vantor {

std::string JoinCommandLine(const std::vector<std::string>& arguments)
{
    std::string line;
    for (const std::string& a : arguments) {
        if (!line.empty())
            line += ' ';
        line += a;
    }
    return line;
}

bool PrepareProgram(Program& program, const std::string& commandLine, const std::string& dataHome)
{
    program.commandLine = commandLine;
    program.versions = ReadVersionStrings();
    program.state.access = DecodeSwitches(commandLine);
    const std::string key = program.settingsKey();
    if (!InstallationCheck(program.store, key, program.prompts))
        return false;
    LoadSettings(program.store, key, dataHome, program.state);
    LoadPortTable(program.store, key, program.serial);
    return true;
}

void RunProgram(Program& program, const std::string& commandLine, const std::string& dataHome)
{
    if (!PrepareProgram(program, commandLine, dataHome))
        return;
    {
        MainWindow window(program);
        window.exec();
    }
    SaveSettings(program.store, program.settingsKey(), program.state);
}

}  // namespace vantor
