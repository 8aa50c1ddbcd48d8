#include "PortDevices.h"

#include <filesystem>
#include <system_error>

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
    std::error_code error;
    return fs::exists(path, error);
}

}  // namespace vantor
