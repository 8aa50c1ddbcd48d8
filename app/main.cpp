// vantorpc: configures and monitors Vantor flowmeters.
#include "Program.h"
#include "QtPrompts.h"
#include "SettingsStore.h"
#include "StartUp.h"

#include <QApplication>
#include <QStandardPaths>

#include <clocale>
#include <cstdio>
#include <cstring>

namespace {

void usage()
{
    std::printf("usage: vantorpc [-x [-kTrQ [init]]] [-Can]\n"
                "  Configures and monitors Vantor ultrasonic flowmeters over a serial link.\n"
                "  -x                unlocks the factory functions\n"
                "  -x -kTrQ          unlocks the maker functions too\n"
                "  -x -kTrQ init     unlocks the initialisation of an instrument too\n"
                "  -Can              unlocks the CAN functions\n"
                "  The program starts once vantor-setup has created the user's settings.\n");
}

}  // namespace

int main(int argc, char** argv)
{
    // Answered before any window: it needs no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            usage();
            return 0;
        }
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VantorPC"));
    // The desktop entry's name, so that a Wayland desktop shows the entry's icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("vantorpc"));
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
    vantor::runProgram(program, vantor::joinCommandLine(arguments), dataHome);
    return 0;
}
