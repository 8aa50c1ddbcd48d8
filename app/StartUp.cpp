#include "StartUp.h"

#include "MainWindow.h"
#include "Program.h"
#include "Settings.h"

namespace vantor {

std::string joinCommandLine(const std::vector<std::string>& arguments)
{
    std::string line;
    for (const std::string& a : arguments) {
        if (!line.empty())
            line += ' ';
        line += a;
    }
    return line;
}

bool prepareProgram(Program& program, const std::string& commandLine, const std::string& dataHome)
{
    program.commandLine = commandLine;
    program.versions = readVersionStrings();
    program.state.access = decodeSwitches(commandLine);
    const std::string key = program.settingsKey();
    if (!installationCheck(program.store, key, program.prompts))
        return false;
    loadSettings(program.store, key, dataHome, program.state);
    loadPortTable(program.store, key, program.serial);
    return true;
}

void runProgram(Program& program, const std::string& commandLine, const std::string& dataHome)
{
    if (!prepareProgram(program, commandLine, dataHome))
        return;
    {
        MainWindow window(program);
        window.exec();
    }
    saveSettings(program.store, program.settingsKey(), program.state);
}

}  // namespace vantor
