#include "PortDevices.h"

#include "NetworkPortName.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#include <devguid.h>
#include <setupapi.h>
#endif

namespace vantor {

namespace fs = std::filesystem;

std::string stableDeviceName(const std::string& path, const std::string& byIdFolder)
{
    std::error_code error;
    const fs::path device = fs::canonical(path, error);
    if (error || path.rfind(byIdFolder + "/", 0) == 0)
        return path;
    for (fs::directory_iterator it(byIdFolder, error), end; !error && it != end; it.increment(error)) {
        std::error_code own;
        if (fs::canonical(it->path(), own) == device && !own)
            return it->path().string();
    }
    return path;
}

bool deviceExists(const std::string& path)
{
    // A device server's port is there for all we know until a connection says
    // otherwise: what can be told here is only whether the name is well formed.
    if (isNetworkPortName(path))
        return parseNetworkPortName(path).has_value();
#ifdef _WIN32
    // A COM port is a name of the system's, not a file: it exists when the
    // system has a device behind the name.
    const std::string prefix = "\\\\.\\";
    if (path.rfind(prefix, 0) == 0) {
        const std::string name = path.substr(prefix.size());
        std::wstring wide(name.begin(), name.end());
        wchar_t target[512];
        return QueryDosDeviceW(wide.c_str(), target, 512) != 0;
    }
#endif
    std::error_code error;
    return fs::exists(path, error);
}

#ifdef _WIN32

namespace {

std::string utf8(const std::wstring& wide)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(std::max(length, 1)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, text.data(), length, nullptr, nullptr);
    text.resize(text.size() - 1);
    return text;
}

// "COM7" -> "USB Serial Port (COM7)", from the ports class of the device manager.
std::map<std::wstring, std::string> friendlyNames()
{
    std::map<std::wstring, std::string> names;
    const HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return names;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        wchar_t friendly[256] = {};
        if (!SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_FRIENDLYNAME, nullptr,
                                               reinterpret_cast<BYTE*>(friendly), sizeof friendly - sizeof(wchar_t),
                                               nullptr))
            continue;
        const HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE)
            continue;
        wchar_t port[64] = {};
        DWORD size = sizeof port - sizeof(wchar_t);
        if (RegQueryValueExW(key, L"PortName", nullptr, nullptr, reinterpret_cast<BYTE*>(port), &size) == ERROR_SUCCESS)
            names[port] = utf8(friendly);
        RegCloseKey(key);
    }
    SetupDiDestroyDeviceInfoList(set);
    return names;
}

}  // namespace

std::vector<MachinePort> machineSerialPorts()
{
    // Every DOS device name, the COM ports among them, in number order.
    std::vector<wchar_t> all(65536);
    const DWORD length = QueryDosDeviceW(nullptr, all.data(), static_cast<DWORD>(all.size()));
    std::vector<std::pair<int, std::wstring>> com;
    for (DWORD at = 0; at < length && all[at] != L'\0';) {
        const std::wstring name(all.data() + at);
        at += static_cast<DWORD>(name.size()) + 1;
        if (name.size() > 3 && _wcsnicmp(name.c_str(), L"COM", 3) == 0 &&
            std::all_of(name.begin() + 3, name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
            com.emplace_back(_wtoi(name.c_str() + 3), name);
    }
    std::sort(com.begin(), com.end());
    const std::map<std::wstring, std::string> friendly = friendlyNames();
    std::vector<MachinePort> ports;
    for (const auto& [number, name] : com) {
        const auto named = friendly.find(name);
        ports.push_back({"\\\\.\\" + utf8(name), named == friendly.end() ? std::string() : named->second});
    }
    return ports;
}

#else

namespace {

// A ttyS port with no UART behind it reads type 0 in sysfs; one that sysfs
// does not know is listed all the same.
bool hasUart(const std::string& name)
{
    std::ifstream type("/sys/class/tty/" + name + "/type");
    int value = -1;
    return !(type >> value) || value != 0;
}

}  // namespace

std::vector<MachinePort> machineSerialPorts()
{
    const char* given = std::getenv("VANTOR_DEVICE_ROOT");
    const std::string root = given != nullptr && *given != '\0' ? given : "/dev";
    std::vector<std::pair<std::string, std::string>> found;  // sort key, name
    std::error_code error;
    for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        for (const char* kind : {"ttyUSB", "ttyACM", "ttyS"}) {
            const std::string prefix = kind;
            if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
                !std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end(),
                             [](char c) { return c >= '0' && c <= '9'; }))
                continue;
            if (prefix == "ttyS" && root == "/dev" && !hasUart(name))
                continue;
            // Adapters first, each kind in number order.
            const std::string number = name.substr(prefix.size());
            const char order = prefix == "ttyUSB" ? '0' : prefix == "ttyACM" ? '1' : '2';
            found.emplace_back(order + std::string(8 - std::min<size_t>(number.size(), 8), '0') + number, name);
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<MachinePort> ports;
    for (const auto& [key, name] : found) {
        const std::string device = root + "/" + name;
        const std::string stable = stableDeviceName(device, root + "/serial/by-id");
        ports.push_back({device, stable == device ? std::string() : stable});
    }
    return ports;
}

#endif
}  // namespace vantor
