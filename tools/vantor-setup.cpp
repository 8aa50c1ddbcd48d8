// vantor-setup: the installation step. Creates the current user's settings store,
// records which serial device stands for Com1 to Com4 (USB adapters by their
// stable names, so that an adapter moved to another socket is still found) and
// checks that the user may open each of them.
#include "NetworkPortName.h"
#include "ProgramSettings.h"
#include "SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void usage(FILE* out)
{
    std::fprintf(out,
                 "usage: vantor-setup [--com1 DEVICE] [--com2 DEVICE] [--com3 DEVICE] [--com4 DEVICE]\n"
                 "       vantor-setup --list\n"
                 "       vantor-setup --if-missing\n"
                 "  Creates the settings of VantorPC for the current user and records the serial device\n"
                 "  of each port Com1 to Com4. A port keeps what an earlier run recorded; on the first run\n"
                 "  the USB serial adapters found take the first ports, by their stable names under\n"
                 "  /dev/serial/by-id, and the others are /dev/ttyS0 to /dev/ttyS3. A device given by its\n"
                 "  kernel name (/dev/ttyUSB0) is recorded by its stable name when it has one.\n"
                 "  Then checks that the user can open each recorded device and, when membership of the\n"
                 "  dialout group is missing, prints the command that grants it.\n"
                 "  --list        only shows the adapters found and the ports recorded; changes nothing\n"
                 "  --if-missing  does nothing when the settings exist already (the desktop launcher)\n");
}

// The folder standing for /dev: tests point it at a folder of fake devices.
QString deviceRoot()
{
    const char* root = std::getenv("VANTOR_DEVICE_ROOT");
    return root != nullptr && *root != '\0' ? QString::fromLocal8Bit(root) : QStringLiteral("/dev");
}

struct Adapter {
    std::string name;    // the stable name, or the kernel's when it has none
    std::string device;  // the device it stands for now
    bool stable = false;
};

// USB serial adapters: those with a stable name first, in name order, then the
// kernel's devices no stable name points to.
std::vector<Adapter> serialAdapters()
{
    std::vector<Adapter> found;
    const QDir root(deviceRoot());
    const QDir byId(root.filePath(QStringLiteral("serial/by-id")));
    for (const QFileInfo& entry : byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString target = entry.canonicalFilePath();
        found.push_back({entry.absoluteFilePath().toStdString(),
                         target.isEmpty() ? entry.symLinkTarget().toStdString() : target.toStdString(), true});
    }
    for (const QFileInfo& entry :
         root.entryInfoList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")}, QDir::System | QDir::Files,
                            QDir::Name)) {
        const std::string device = entry.canonicalFilePath().toStdString();
        const bool named = std::any_of(found.begin(), found.end(), [&](const Adapter& a) { return a.device == device; });
        if (!named)
            found.push_back({entry.absoluteFilePath().toStdString(), device, false});
    }
    return found;
}

// The stable name of a device given by its kernel name, or the device as given.
std::string stableName(const std::string& device, const std::vector<Adapter>& adapters)
{
    const QString canonical = QFileInfo(QString::fromStdString(device)).canonicalFilePath();
    if (canonical.isEmpty())
        return device;
    for (const Adapter& adapter : adapters)
        if (adapter.stable && adapter.device == canonical.toStdString())
            return adapter.name;
    return device;
}

enum class Access {
    Ok,
    Missing,
    NotInDialout,         // the device is the dialout group's and the user is not a member
    DialoutSinceLogin,    // a member, but the session started before the user was added
    Denied,               // any other reason
};

std::string userName()
{
    if (const passwd* user = getpwuid(getuid()))
        return user->pw_name;
    const char* name = std::getenv("USER");
    return name != nullptr ? name : "$USER";
}

bool sessionHasGroup(gid_t group)
{
    if (getegid() == group)
        return true;
    const int size = getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<size_t>(std::max(size, 0)));
    groups.resize(static_cast<size_t>(std::max(getgroups(size, groups.data()), 0)));
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

// Member by the group database: listed in it, or the group is the user's own.
bool listedInGroup(const group& g)
{
    const passwd* user = getpwuid(getuid());
    if (user == nullptr)
        return false;
    if (user->pw_gid == g.gr_gid)
        return true;
    for (char** member = g.gr_mem; member != nullptr && *member != nullptr; ++member)
        if (std::string(*member) == user->pw_name)
            return true;
    return false;
}

Access checkAccess(const std::string& device)
{
    // A device server's port is reached over the network, with no file to check.
    if (vantor::isNetworkPortName(device))
        return Access::Ok;
    struct stat info {};
    if (stat(device.c_str(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Access::Missing : Access::Denied;
    if (access(device.c_str(), R_OK | W_OK) == 0)
        return Access::Ok;
    const group* dialout = getgrnam("dialout");
    constexpr mode_t kGroupReadWrite = S_IRGRP | S_IWGRP;
    if (dialout == nullptr || info.st_gid != dialout->gr_gid || (info.st_mode & kGroupReadWrite) != kGroupReadWrite ||
        sessionHasGroup(dialout->gr_gid))
        return Access::Denied;
    return listedInGroup(*dialout) ? Access::DialoutSinceLogin : Access::NotInDialout;
}

// One line per port that cannot be opened, then what fixes it. The device is not
// opened: opening a serial line raises its control lines.
void reportAccess(const std::array<std::string, 4>& devices)
{
    bool joinDialout = false, logInAgain = false;
    for (int i = 0; i < 4; ++i) {
        const char* device = devices[i].c_str();
        switch (checkAccess(devices[i])) {
        case Access::Ok: break;
        case Access::Missing:
            std::printf("Com%d: %s %s\n", i + 1, device,
                        devices[i].find("/by-id/") != std::string::npos ? "is not plugged in" : "does not exist");
            break;
        case Access::NotInDialout:
            std::printf("Com%d: %s cannot be opened: only members of the dialout group may open it.\n", i + 1, device);
            joinDialout = true;
            break;
        case Access::DialoutSinceLogin:
            std::printf("Com%d: %s cannot be opened yet: you joined the dialout group after logging in.\n", i + 1,
                        device);
            logInAgain = true;
            break;
        case Access::Denied:
            std::printf("Com%d: %s cannot be opened: permission denied.\n", i + 1, device);
            break;
        }
    }
    if (joinDialout)
        std::printf("To open the serial ports, join the dialout group with this command, then log out and back in:\n"
                    "    sudo usermod -aG dialout %s\n",
                    userName().c_str());
    else if (logInAgain)
        std::printf("Log out and back in to open the serial ports.\n");
}

void printAdapters(const std::vector<Adapter>& adapters)
{
    std::fputs(adapters.empty() ? "USB serial adapters found: none\n" : "USB serial adapters found:\n", stdout);
    for (const Adapter& adapter : adapters) {
        if (adapter.stable)
            std::printf("  %s -> %s\n", adapter.name.c_str(), adapter.device.c_str());
        else
            std::printf("  %s (no stable name)\n", adapter.name.c_str());
    }
}

void printPorts(const std::array<std::string, 4>& devices)
{
    for (int i = 0; i < 4; ++i)
        std::printf("Com%d = %s\n", i + 1, devices[i].c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const std::string key = vantor::settingsKey(vantor::kApplicationName);
    vantor::SettingsStore store;

    std::array<std::string, 4> given;
    bool listOnly = false, ifMissing = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--list") {
            listOnly = true;
        } else if (arg == "--if-missing") {
            ifMissing = true;
        } else if (arg.size() == 6 && arg.rfind("--com", 0) == 0 && arg[5] >= '1' && arg[5] <= '4' && i + 1 < argc) {
            given[arg[5] - '1'] = argv[++i];
            const std::string& device = given[arg[5] - '1'];
            if (vantor::isNetworkPortName(device) && !vantor::parseNetworkPortName(device)) {
                std::fprintf(stderr, "vantor-setup: %s: a device server's port is rfc2217://HOST:PORT or tcp://HOST:PORT\n",
                             device.c_str());
                return 2;
            }
        } else if (arg == "--help" || arg == "-h") {
            usage(stdout);
            return 0;
        } else {
            usage(stderr);
            return 2;
        }
    }

    const bool installed = store.keyExists(key);
    if (ifMissing && installed)
        return 0;

    const std::vector<Adapter> adapters = serialAdapters();
    printAdapters(adapters);

    // Empty: nothing recorded for the port.
    const std::array<std::string, 4> recorded = vantor::readPortTable(store, key);

    if (listOnly) {
        if (!installed) {
            std::printf("VantorPC is not set up for this user yet.\n");
            return 0;
        }
        std::array<std::string, 4> devices;
        for (int i = 0; i < 4; ++i)
            devices[i] = recorded[i].empty() ? "/dev/ttyS" + std::to_string(i) : recorded[i];
        printPorts(devices);
        reportAccess(devices);
        return 0;
    }

    // A port takes, in order: the device given, the one recorded, an adapter not
    // taken by another port, its default.
    std::array<std::string, 4> devices;
    for (int i = 0; i < 4; ++i)
        devices[i] = stableName(!given[i].empty() ? given[i] : recorded[i], adapters);
    size_t next = 0;
    for (int i = 0; i < 4; ++i) {
        if (!devices[i].empty())
            continue;
        while (next < adapters.size() &&
               (!adapters[next].stable || std::find(devices.begin(), devices.end(), adapters[next].name) != devices.end()))
            ++next;
        devices[i] = next < adapters.size() ? adapters[next++].name : "/dev/ttyS" + std::to_string(i);
    }

    if (!store.createKey(key)) {
        std::fprintf(stderr, "vantor-setup: cannot create %s\n", store.location(key).c_str());
        return 1;
    }
    vantor::savePortTable(store, key, devices);
    printPorts(devices);
    std::printf("Settings of VantorPC: %s\n", store.location(key).c_str());
    reportAccess(devices);
    return 0;
}
