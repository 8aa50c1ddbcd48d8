// vantor-setup: the installation step. Creates the current user's settings store
// and records which serial device stands for Com1 to Com4.
#include "Settings.h"
#include "SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <array>
#include <cstdio>
#include <string>

namespace {

void Usage()
{
    std::fprintf(stderr,
                 "usage: vantor-setup [--com1 DEVICE] [--com2 DEVICE] [--com3 DEVICE] [--com4 DEVICE] [--list]\n"
                 "  Creates the settings of VantorPC for the current user and records the serial device\n"
                 "  of each port (defaults /dev/ttyS0 to /dev/ttyS3, or what an earlier run recorded).\n"
                 "  --list only shows the USB serial adapters found.\n");
}

// USB serial adapters: their stable names first, then the kernel's.
QStringList SerialAdapters()
{
    QStringList found;
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& entry : byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
        found << entry.absoluteFilePath() + QStringLiteral(" -> ") + entry.canonicalFilePath();
    const QDir dev(QStringLiteral("/dev"));
    for (const QFileInfo& entry :
         dev.entryInfoList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")}, QDir::System, QDir::Name))
        found << entry.absoluteFilePath();
    return found;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const std::string key = vantor::SettingsKey("VantorPC");
    vantor::SettingsStore store;

    std::array<std::string, 4> devices;
    for (int i = 0; i < 4; ++i)
        devices[i] = store.readText(key + "\\Ports", "Com" + std::to_string(i + 1), "/dev/ttyS" + std::to_string(i));
    bool listOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--list") {
            listOnly = true;
        } else if (arg.size() == 6 && arg.rfind("--com", 0) == 0 && arg[5] >= '1' && arg[5] <= '4' && i + 1 < argc) {
            devices[arg[5] - '1'] = argv[++i];
        } else {
            Usage();
            return arg == "--help" || arg == "-h" ? 0 : 2;
        }
    }

    const QStringList adapters = SerialAdapters();
    std::printf("USB serial adapters found: %s\n", adapters.isEmpty() ? "none" : "");
    for (const QString& adapter : adapters)
        std::printf("  %s\n", qPrintable(adapter));
    if (listOnly)
        return 0;

    if (!store.createKey(key)) {
        std::fprintf(stderr, "vantor-setup: cannot create %s\n", store.location(key).c_str());
        return 1;
    }
    vantor::SavePortTable(store, key, devices);
    for (int i = 0; i < 4; ++i)
        std::printf("Com%d = %s\n", i + 1, devices[i].c_str());
    std::printf("Settings of VantorPC: %s\n", store.location(key).c_str());
    return 0;
}
