// vantorpc: configures and monitors Vantor flowmeters.
#include "Program.h"
#include "QtPrompts.h"
#include "SettingsStore.h"
#include "StartUp.h"

#include <QApplication>
#include <QStandardPaths>

#include <clocale>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VantorPC"));
    // Numbers are read and written with a point; the locale's separator is used
    // only where a report asks for it.
    std::setlocale(LC_NUMERIC, "C");

    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);

    vantor::QtPrompts prompts;
    vantor::SettingsStore store;
    vantor::Program program(prompts, store);
    const std::string dataHome =
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation).toStdString();
    vantor::RunProgram(program, vantor::JoinCommandLine(arguments), dataHome);
    return 0;
}
