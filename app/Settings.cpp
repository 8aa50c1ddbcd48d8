#include "Settings.h"

namespace vantor {

AccessFlags decodeSwitches(const std::string& commandLine)
{
    auto has = [&](const char* s) { return commandLine.find(s) != std::string::npos; };
    AccessFlags flags;
    if (has("-x")) {
        flags.factory = true;
        if (has("-kTrQ")) {
            flags.maker = true;
            if (has("init"))
                flags.init = true;
        }
    }
    flags.can = has("-Can");
    return flags;
}

bool installationCheck(const SettingsStore& store, const std::string& key, Prompts& prompts)
{
    if (store.keyExists(key))
        return true;
    prompts.messageBox(nullptr, "", "Programm must be installed correctly\nwith Setup.exe", BoxIcon::Error,
                       BoxButtons::Ok);
    return false;
}

}  // namespace vantor
