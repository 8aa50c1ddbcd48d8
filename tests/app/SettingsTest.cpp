// Start-up: switches, the installation check, loading and saving the settings.
#include "AppFixture.h"
#include "Settings.h"
#include "StartUp.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <fstream>

using namespace vantor;

namespace {

class SettingsTest : public test::AppFixture {
protected:
    const std::string key = settingsKey("VantorPC");
    void install() { ASSERT_TRUE(store.createKey(key)); }
};

}  // namespace

TEST(Switches, NestedCaseSensitiveSubstrings)
{
    const struct {
        const char* line;
        bool factory, maker, init, can;
    } cases[] = {
        {"", false, false, false, false},
        {"-x -Can", true, false, false, true},
        {"-kTrQ init", false, false, false, false},
        {"-x init", true, false, false, false},
        {"-X", false, false, false, false},
        {"-can", false, false, false, false},
        {"-x -kTrQ C:\\sites\\initial.eta", true, true, true, false},
        {"a-xb", true, false, false, false},
    };
    for (const auto& c : cases) {
        const AccessFlags f = decodeSwitches(c.line);
        EXPECT_EQ(f.factory, c.factory) << c.line;
        EXPECT_EQ(f.maker, c.maker) << c.line;
        EXPECT_EQ(f.init, c.init) << c.line;
        EXPECT_EQ(f.can, c.can) << c.line;
    }
    EXPECT_EQ(joinCommandLine({"-x", "-kTrQ", "init"}), "-x -kTrQ init");
}

TEST_F(SettingsTest, MissingStoreSaysSoAndWritesNothing)
{
    runProgram(program, "-x", dataHome());
    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_EQ(prompts.boxes()[0].caption, "");
    EXPECT_EQ(prompts.boxes()[0].text, "Programm must be installed correctly\nwith Setup.exe");
    EXPECT_EQ(prompts.boxes()[0].icon, BoxIcon::Error);
    EXPECT_EQ(prompts.boxes()[0].owner, nullptr);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(configRoot())));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dataHome())));
}

TEST_F(SettingsTest, FirstRunDefaults)
{
    install();
    ASSERT_TRUE(prepareProgram(program, "", dataHome()));
    const ProgramState& s = program.state;
    EXPECT_EQ(s.settings.link.portIndex, 0);
    EXPECT_EQ(s.settings.link.baudIndex, 5);
    EXPECT_EQ(s.settings.link.jbusAddress, 1.0f);
    EXPECT_EQ(s.settings.language, kFrench);
    EXPECT_EQ(s.catalogue.names[0], builtInProbeCatalogue()[0].name);
    EXPECT_EQ(s.catalogue.angles[8], builtInProbeCatalogue()[8].angle);
    int filled = 0;
    for (const auto& name : s.catalogue.names)
        filled += !name.empty();
    EXPECT_EQ(filled, 17);
    const std::string folder = dataHome() + "/Data/";
    EXPECT_EQ(s.settings.currentFolder, folder);
    EXPECT_EQ(s.settings.prnFolder, folder);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(folder)).isDir()) << "created with its parents";
    EXPECT_TRUE(prompts.boxes().empty());
}

TEST_F(SettingsTest, AStoredCatalogueKeepsTheFoldersAsStored)
{
    install();
    store.writeText(key + "\\Probe", "5", "XY");
    ASSERT_TRUE(prepareProgram(program, "", dataHome()));
    EXPECT_EQ(program.state.settings.currentFolder, "");
    EXPECT_EQ(program.state.catalogue.names[5], "XY");
    EXPECT_EQ(program.state.catalogue.names[0], "");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dataHome())));
}

TEST_F(SettingsTest, ValuesRoundTripThroughTheStore)
{
    install();
    store.writeNumber(key, "Jbus", 247);
    store.writeNumber(key + "\\Angle", "3", 65535);
    store.writeText(key + "\\Probe", "0", "P0");
    store.writeText(key, "LastFileSpName", std::string(300, 'z'));  // any length is fine
    ASSERT_TRUE(prepareProgram(program, "", dataHome()));
    EXPECT_EQ(program.state.settings.link.jbusAddress, 247.0f);
    EXPECT_EQ(program.state.catalogue.angles[3], -1);
    EXPECT_EQ(program.state.settings.spreadsheetPath.size(), 300u);

    program.state.settings.link.jbusAddress = 12.7f;
    program.state.settings.language = kEnglish;
    saveSettings(store, key, program.state);
    EXPECT_EQ(store.readNumber(key, "Jbus", 0), 12);
    EXPECT_EQ(store.readNumber(key + "\\Angle", "3", 0), -1);
    EXPECT_EQ(static_cast<uint32_t>(store.readNumber(key + "\\Angle", "3", 0)), 0xFFFFFFFFu) << "all bits set";
    EXPECT_EQ(store.readNumber(key, "Language", 0), 1);
    EXPECT_EQ(store.readText(key + "\\Probe", "23", "unset"), "") << "every value is written";
}

TEST_F(SettingsTest, OutOfRangeIndexesLoadAsTheirDefaults)
{
    install();
    store.writeNumber(key, "Com", 7);
    store.writeNumber(key, "Bauds", -1);
    store.writeNumber(key, "Language", 2);
    store.writeText(key, "Jbus", "not a number");
    ASSERT_TRUE(prepareProgram(program, "", dataHome()));
    EXPECT_EQ(program.state.settings.link.portIndex, 0);
    EXPECT_EQ(program.state.settings.link.baudIndex, 5);
    EXPECT_EQ(program.state.settings.language, 0);
    EXPECT_EQ(program.state.settings.link.jbusAddress, 1.0f);
}

TEST_F(SettingsTest, PortTableMapsComPortsToDevices)
{
    install();
    savePortTable(store, key, {"/dev/ttyUSB0", "/dev/ttyS1", "", "/dev/serial/by-id/x"});
    ASSERT_TRUE(prepareProgram(program, "", dataHome()));
    EXPECT_EQ(program.serial.devicePath(0), "/dev/ttyUSB0");
    EXPECT_EQ(program.serial.devicePath(2), "/dev/ttyS2") << "an empty entry keeps the default";
    EXPECT_EQ(program.serial.devicePath(3), "/dev/serial/by-id/x");
}

TEST_F(SettingsTest, StoreKeysAndSubkeys)
{
    EXPECT_FALSE(store.keyExists(key));
    store.writeNumber(key + "\\Angle", "0", 5);
    EXPECT_TRUE(store.keyExists(key));
    EXPECT_TRUE(store.keyExists(key + "\\Angle"));
    EXPECT_FALSE(store.keyExists(key + "\\Probe"));
    EXPECT_EQ(store.readNumber(key, "absent", 42), 42);
    EXPECT_EQ(store.readText("Software\\Other", "x", "fallback"), "fallback");
    EXPECT_EQ(store.location(key), configRoot() + "/Software/VantorPC.ini");
}

TEST_F(SettingsTest, ADamagedStoreLoadsTheDefaults)
{
    install();
    const std::string file = store.location(key);
    std::string noise(600, '\0');
    unsigned value = 12345;
    for (char& c : noise)
        c = static_cast<char>((value = value * 1103515245u + 12345u) >> 24);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"random bytes", noise},
        {"truncated", "[General]\nCom=2\nBauds=3\nJb"},
        {"values past their ranges", "[General]\nCom=99\nBauds=-4\nJbus=1e40\nLanguage=7\n"},
    };
    for (const auto& c : cases) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << c.bytes;
        program.state = {};
        ASSERT_TRUE(prepareProgram(program, "", dataHome())) << c.name;
        const ProgramState& s = program.state;
        EXPECT_GE(s.settings.link.portIndex, 0) << c.name;
        EXPECT_LT(s.settings.link.portIndex, kPortCount) << c.name;
        EXPECT_GE(s.settings.link.baudIndex, 0) << c.name;
        EXPECT_LT(s.settings.link.baudIndex, 6) << c.name;
        EXPECT_TRUE(s.settings.language == kFrench || s.settings.language == kEnglish) << c.name;
        EXPECT_TRUE(prompts.boxes().empty()) << c.name;
    }
}

TEST_F(SettingsTest, AFolderInPlaceOfTheStoreIsNoInstallation)
{
    install();
    const std::string file = store.location(key);
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_FALSE(prepareProgram(program, "", dataHome()));
    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_EQ(prompts.boxes()[0].text, "Programm must be installed correctly\nwith Setup.exe");
}
