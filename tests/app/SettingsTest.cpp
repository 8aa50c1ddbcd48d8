// Start-up: switches, the installation check, loading and saving the settings.
#include "AppFixture.h"
#include "OptionsDialog.h"
#include "Settings.h"
#include "StartUp.h"

#include <QFileInfo>
#include <QLineEdit>

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
    } rows[] = {
        {"", false, false, false, false},
        {"-x -Can", true, false, false, true},
        {"-kTrQ init", false, false, false, false},
        {"-x init", true, false, false, false},
        {"-X", false, false, false, false},
        {"-x -KTRQ", true, false, false, false},
        {"-x -kTr init", true, false, false, false},
        {"-can", false, false, false, false},
        {"-x -kTrQ C:\\sites\\initial.eta", true, true, true, false},
        {"a-xb", true, false, false, false},
    };
    for (const auto& row : rows) {
        const AccessFlags f = decodeSwitches(row.line);
        EXPECT_EQ((std::vector<bool>{f.factory, f.maker, f.init, f.can}),
                  (std::vector<bool>{row.factory, row.maker, row.init, row.can}))
            << row.line;
    }
}

TEST_F(SettingsTest, TheFirstRunTakesTheBuiltInCatalogueAndADataFolder)
{
    install();
    ASSERT_TRUE(prepareProgram(program, "", dataHome()));
    const ProgramState& s = program.state;
    EXPECT_EQ(s.settings.link.portIndex, 0);
    EXPECT_EQ(s.settings.link.baudIndex, 5);
    EXPECT_EQ(s.settings.link.jbusAddress, 1.0f);
    EXPECT_EQ(s.settings.language, kFrench);
    EXPECT_EQ(s.catalogue.names[16], "DUAL-600");
    EXPECT_EQ(s.catalogue.angles[8], 37);
    const std::string folder = dataHome() + "/Data/";
    EXPECT_EQ(s.settings.currentFolder, folder);
    EXPECT_EQ(s.settings.prnFolder, folder);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(folder)).isDir()) << "created with its parents";

    // A stored catalogue means a later run: the folders stay as stored.
    store.writeText(key + "\\Probe", "5", "XY");
    program.state = {};
    ASSERT_TRUE(prepareProgram(program, "", dataHome()));
    EXPECT_EQ(program.state.settings.currentFolder, "");
    EXPECT_EQ(program.state.catalogue.names[5], "XY");
    EXPECT_EQ(program.state.catalogue.names[0], "");
}

TEST_F(SettingsTest, ValuesRoundTripThroughTheStore)
{
    install();
    EXPECT_EQ(store.location(key), configRoot() + "/Software/VantorPC.ini");
    store.writeNumber(key, "Jbus", 247);
    store.writeNumber(key + "\\Angle", "3", 65535);
    store.writeText(key + "\\Probe", "0", "P0");
    savePortTable(store, key, {"/dev/ttyUSB0", "", "", "/dev/serial/by-id/x"});
    ASSERT_TRUE(prepareProgram(program, "", dataHome()));
    EXPECT_EQ(program.state.settings.link.jbusAddress, 247.0f);
    EXPECT_EQ(program.state.catalogue.angles[3], -1);
    EXPECT_EQ(program.serial.devicePath(0), "/dev/ttyUSB0");
    EXPECT_EQ(program.serial.devicePath(2), "/dev/ttyS2") << "an empty entry keeps the default";
    EXPECT_EQ(program.serial.devicePath(3), "/dev/serial/by-id/x");

    program.state.settings.link.jbusAddress = 12.7f;
    program.state.settings.language = kEnglish;
    saveSettings(store, key, program.state);
    EXPECT_EQ(store.readNumber(key, "Jbus", 0), 12);
    EXPECT_EQ(static_cast<uint32_t>(store.readNumber(key + "\\Angle", "3", 0)), 0xFFFFFFFFu) << "all bits set";
    EXPECT_EQ(store.readNumber(key, "Language", 0), 1);
    EXPECT_EQ(store.readText(key + "\\Probe", "23", "unset"), "") << "every value is written";
}

// Damaged stores are the fuzz targets' to replay; here, values past their ranges.
TEST_F(SettingsTest, ValuesPastTheirRangesLoadAsTheirDefaults)
{
    install();
    std::ofstream(store.location(key)) << "[General]\nCom=99\nBauds=-4\nJbus=not a number\nLanguage=7\n";
    ASSERT_TRUE(prepareProgram(program, "", dataHome()));
    EXPECT_EQ(program.state.settings.link.portIndex, 0);
    EXPECT_EQ(program.state.settings.link.baudIndex, 5);
    EXPECT_EQ(program.state.settings.link.jbusAddress, 1.0f);
    EXPECT_EQ(program.state.settings.language, kFrench);
    EXPECT_TRUE(prompts.boxes().empty());
}

TEST_F(SettingsTest, OptionsTakeJbusAddressesUpTo255)
{
    OptionsDialog options(program, nullptr);
    options.opening();
    auto* address = options.control<QLineEdit>(1146);
    for (auto [typed, kept] : {std::pair{"255", 255.0f}, std::pair{"300", 255.0f}}) {
        address->setText(typed);
        test::loseFocus(address);
        EXPECT_EQ(program.state.settings.link.jbusAddress, kept) << typed;
    }
    EXPECT_EQ(address->text().toStdString(), "255");
}
