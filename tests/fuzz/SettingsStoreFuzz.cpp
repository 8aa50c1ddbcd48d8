// The settings store's file, whatever it holds (any text, any number), loaded
// at start-up into the program's settings, probe catalogue and port table.
//
// The input: one byte that names a value, then the file. Loading everything
// reads 60 values, each through the store's own reader (some 0.6 ms): one input
// in 32 does that; every input has the value its first byte names read as the
// start-up reads it, so that the file's syntax is tried many times faster.
// The file's bytes are also written as a value into the file itself and must
// read back unchanged, whatever quotes, escapes or line ends they hold.
#include "FuzzSupport.h"
#include "IniFile.h"
#include "JbusMaster.h"
#include "SerialPort.h"
#include "ProgramSettings.h"
#include "SettingsStore.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>

using namespace vantor;

namespace {

const std::string kKey = "Software\\VantorPC";

// The store's root holds Software/VantorPC.ini, the file of the key "Software\VantorPC".
const std::string& root()
{
    static const std::string root = [] {
        const std::string path = fuzz::scratch().file("config");
        std::filesystem::create_directories(path + "/Software");
        return path;
    }();
    return root;
}

// The store's reader keeps files it has parsed until their time stamp changes:
// give every input a time of its own, so that each is read afresh.
void touch(const std::string& path)
{
    static int64_t tick = 0;
    ++tick;
    const timespec times[2] = {{tick, 0}, {tick, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

void loadEverything(const SettingsStore& store)
{
    FUZZ_CHECK(store.keyExists(kKey));
    ProgramState state;
    loadSettings(store, kKey, fuzz::scratch().file("home"), state);
    SerialLibrary serial;
    loadPortTable(store, kKey, serial);

    // Whatever the file said, every value that indexes a table is within it.
    const Settings& s = state.settings;
    FUZZ_CHECK(s.link.portIndex >= 0 && s.link.portIndex < kPortCount);
    FUZZ_CHECK(s.link.baudIndex >= 0 && s.link.baudIndex < static_cast<int32_t>(kBaudRates.size()));
    FUZZ_CHECK(s.language == kFrench || s.language == kEnglish);
    // The address as the master sends it, from any number.
    (void)jbusAddressByte(s.link.jbusAddress);
}

// One of the values the start-up reads, named by `which`, read as it reads it.
void loadOne(const SettingsStore& store, uint8_t which)
{
    static const char* const kTexts[] = {"LastPathName", "LastFileSpName", "LastPathPrnFileName"};
    static const char* const kNumbers[] = {"Com", "Jbus", "Language", "Bauds"};
    const int index = which % 64;
    if (index < 3) {
        (void)store.readText(kKey, kTexts[index], "");
    } else if (index < 7) {
        const int32_t value = store.readNumber(kKey, kNumbers[index - 3], -7);
        (void)jbusAddressByte(static_cast<float>(value));
    } else if (index < 31) {
        (void)store.readText(kKey + "\\Probe", std::to_string(index - 7), "");
    } else if (index < 55) {
        (void)static_cast<int16_t>(store.readNumber(kKey + "\\Angle", std::to_string(index - 31), 0) & 0xFFFF);
    } else {
        (void)store.readText(kKey + "\\Ports", "Com" + std::to_string(index % 4 + 1), "");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const SettingsStore store(root());
    const std::string file = fuzz::writeInputFile("config/Software/VantorPC.ini", data + 1, size - 1);
    touch(file);
    loadOne(store, data[0]);
    if (fuzz::sampled(data, size, 32))
        loadEverything(store);

    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    IniFile ini(bytes);
    ini.setValue("Probe/0", bytes);
    ini.setValue("LastPathName", bytes);
    const IniFile again(ini.text());
    FUZZ_CHECK(again.value("Probe/0") == bytes);
    FUZZ_CHECK(again.value("LastPathName") == bytes);
    return 0;
}
