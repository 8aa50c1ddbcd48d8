// Start-up: switches, the installation check, loading and saving the settings.
#include "AppFixture.h"
#include "OptionsDialog.h"
#include "ProgramSettings.h"
#include "Settings.h"
#include "StartUp.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QSettings>

#include <filesystem>

#include <fstream>
#include <tuple>

using namespace vantor;

namespace {

class SettingsTest : public test::AppFixture {
protected:
    const std::string key = settingsKey("VantorPC");
};

}  // namespace

TEST(Switches, NestedCaseSensitiveSubstrings)
{
    const struct { const char* line; bool factory, maker, init, can; } rows[] = {
        {"", false, false, false, false},            {"-x -Can", true, false, false, true},
        {"-kTrQ init", false, false, false, false},  {"-x init", true, false, false, false},
        {"-X", false, false, false, false},          {"-x -KTRQ", true, false, false, false},
        {"-x -kTr init", true, false, false, false}, {"-can", false, false, false, false},
        {"-x -kTrQ C:\\sites\\initial.eta", true, true, true, false}, {"a-xb", true, false, false, false},
    };
    for (const auto& row : rows) {
        const AccessFlags f = decodeSwitches(row.line);
        EXPECT_EQ((std::vector<bool>{f.factory, f.maker, f.init, f.can}),
                  (std::vector<bool>{row.factory, row.maker, row.init, row.can}))
            << row.line;
    }
}

// The first run takes the built-in catalogue and a data folder, values past
// their ranges load as their defaults, and what is saved loads back.
TEST_F(SettingsTest, SettingsLoadAsSavedAndOutOfRangeAsTheirDefaults)
{
    ASSERT_TRUE(store.createKey(key));
    for (const auto& [name, value] : {std::pair{"Com", "99"}, {"Bauds", "-4"}, {"Jbus", "not a number"}, {"Language", "7"}})
        store.writeText(key, name, value);
    ASSERT_TRUE(prepareProgram(program, "", dataHome()));
    Settings& settings = program.state.settings;
    EXPECT_EQ((std::tuple{settings.link.portIndex, settings.link.baudIndex, settings.link.jbusAddress, settings.language}),
              (std::tuple{0, 5, 1.0f, kFrench}));
    EXPECT_EQ(program.state.catalogue.names[16] + " " + std::to_string(program.state.catalogue.angles[8]), "DUAL-600 37");
    EXPECT_EQ(settings.prnFolder, (std::filesystem::path(dataHome()) / "Data" / "").make_preferred().string());
    EXPECT_TRUE(QFileInfo(QString::fromStdString(settings.prnFolder)).isDir()) << "created with its parents";

    settings = {};
    settings.currentFolder = "C:\\Объект\\Łódź\\";
    settings.link = {2, 3, 247.4f};
    settings.language = kEnglish;
    program.state.catalogue = {.names = {"XY"}, .angles = {-1}};
    saveSettings(store, key, program.state);
    program.state = {};
    ASSERT_TRUE(prepareProgram(program, "", dataHome()));
    EXPECT_EQ((std::tuple{settings.link.portIndex, settings.link.baudIndex, settings.link.jbusAddress, settings.language}),
              (std::tuple{2, 3, 247.0f, kEnglish}));
    EXPECT_EQ(settings.currentFolder, "C:\\Объект\\Łódź\\")
        << "a stored catalogue means a later run: the folders stay as stored, in any language";
    EXPECT_EQ(program.state.catalogue.names[0] + " " + std::to_string(program.state.catalogue.angles[0]), "XY -1");
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

// The port list's last item gives the Com selected a device server's port,
// checked, kept with the port table and shown in the list; empty gives it back
// its serial device.
TEST_F(SettingsTest, OptionsGiveAComADeviceServersPort)
{
    program.state.settings.link.portIndex = 1;
    OptionsDialog options(program, nullptr);
    options.opening();
    auto* ports = options.control<QComboBox>(1000);
    ASSERT_EQ(ports->count(), kPortCount + 1);
    EXPECT_EQ(ports->itemText(kPortCount).toStdString(), "Réseau...");
    const std::string serialDevice = program.serial.devicePath(1);
    const struct { const char* typed; std::string device; const char* initial; } rows[] = {
        {"rfc2217://gw1:2001", "rfc2217://gw1:2001", "rfc2217://"},
        {"gw1:2001", "rfc2217://gw1:2001", "rfc2217://gw1:2001"},  // refused, said why
        {"tcp://10.0.4.17:4001", "tcp://10.0.4.17:4001", "rfc2217://gw1:2001"},
        {"", serialDevice, "tcp://10.0.4.17:4001"},
    };
    for (const auto& row : rows) {
        prompts.clear();
        prompts.typeNext(row.typed);
        test::choose(ports, kPortCount);
        ASSERT_EQ(prompts.textRequests().size(), 1u) << row.typed;
        EXPECT_EQ(prompts.textRequests()[0], row.initial) << row.typed;
        const std::string& device = row.device;
        EXPECT_EQ(program.serial.devicePath(1), device) << row.typed;
        EXPECT_EQ(readPortTable(store, key)[1], device) << row.typed;
        EXPECT_EQ(ports->currentIndex(), 1) << "back on Com2";
        EXPECT_EQ(program.state.settings.link.portIndex, 1);
        EXPECT_EQ(prompts.boxes().size(), std::string(row.typed) == "gw1:2001" ? 1u : 0u) << row.typed;
    }
    EXPECT_EQ(program.serial.devicePath(1), serialDevice);
    prompts.typeNext("rfc2217://gw1:2001");
    test::choose(ports, kPortCount);
    EXPECT_EQ(ports->itemText(1).toStdString(), "Com2  rfc2217://gw1:2001") << "named, never absent";
    prompts.typeNext(std::nullopt);  // cancelled: as it was
    test::choose(ports, kPortCount);
    EXPECT_EQ(program.serial.devicePath(1), "rfc2217://gw1:2001");
}

// The store's files and those of Qt's QSettings, which the earlier versions
// of the program used, read the same both ways.
TEST_F(SettingsTest, QSettingsAndTheStoreReadEachOthersFiles)
{
#ifdef _WIN32
    GTEST_SKIP() << "on Windows the store is the registry, which the program has always read itself";
#endif
    const std::string values[] = {
        "",        " lead",        "trail ",     "a,b;c=d",   "q\"x\\y",    "caf\xc3\xa9 \xe2\x82\xac", "\x01" "a\n\t",
        "@at",     "x@",           "#hash",      "[br]",      "%25",        "C:\\sites\\a,b.eta",      "/dev/ttyUSB0",
    };
    const std::string names[] = {"sp ace", "caf\xc3\xa9", "a=b", "0", "x.y-z_w", "%", "General", "\xf0\x9f\x98\x80"};
    ASSERT_TRUE(store.createKey(key));
    for (size_t i = 0; i < std::size(values); ++i)
        store.writeText(key + "\\Probe", std::to_string(i), values[i]);
    for (const std::string& name : names)
        store.writeText(key + "\\" + name, name, name);
    QSettings qt(QString::fromStdString(store.location(key)), QSettings::IniFormat);
    for (size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(qt.value("Probe/" + QString::number(i)).toString().toStdString(), values[i]) << i;
    for (const std::string& name : names)
        EXPECT_EQ(qt.value(QString::fromStdString(name + "/" + name)).toString().toStdString(), name);

    for (size_t i = 0; i < std::size(values); ++i)
        qt.setValue("Angle/" + QString::number(i), QString::fromStdString(values[i]));
    for (const std::string& name : names)
        qt.setValue(QString::fromStdString("Ports/" + name), QString::fromStdString(name));
    qt.sync();
    for (size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(store.readText(key + "\\Angle", std::to_string(i), "(absent)"), values[i]) << i;
    for (const std::string& name : names)
        EXPECT_EQ(store.readText(key + "\\Ports", name, "(absent)"), name);
}
