// The settings store's INI files: those the Qt-built versions of the program
// wrote read the same, what is written reads back and keeps the rest of the
// file, and two programs writing at once lose nothing.
#include "SettingsStore.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

using namespace vantor;

namespace {

const std::string kKey = "Software\\VantorPC";

class SettingsStoreTest : public ::testing::Test {
protected:
    std::string file() const { return store.location(kKey); }
    void put(const std::string& content)
    {
        std::filesystem::create_directories(std::filesystem::path(file()).parent_path());
        std::ofstream(file(), std::ios::binary) << content;
    }
    std::string content() const
    {
        std::ostringstream text;
        text << std::ifstream(file(), std::ios::binary).rdbuf();
        return text.str();
    }

    test::TempDir dir;
    SettingsStore store{dir.file("config")};
};

}  // namespace

// A file as QSettings wrote it, with every form its writer uses, and lines a
// user may add by hand.
TEST_F(SettingsStoreTest, FilesOfTheQtBuiltVersionsReadTheSame)
{
    put("[General]\r\n"
        "LastPathName=/home/tech/Donn\xc3\xa9\x65s/site A/\n"
        "LastFileSpName=\"C:\\\\sites\\\\a,b;c=d.eta\"\n"
        "Com=2\n"
        "Jbus = 247 \n"
        "Language=\" 1\"\n"
        "Bauds=4294967295\n"
        "\n"
        "; a comment\n"
        "[Probe]\n"
        "0=@@SP1\n"
        "1=\\\"quoted\\\"\\ttab\\x1\\x61\n"
        "2=\" lead and trail \"\n"
        "3=@String(text)\n"
        "4=@Invalid()\n"
        "5=value ; comment\n"
        "6=a\\qb\n"
        "\n"
        "[%General]\n"
        "x=group named General\n"
        "\n"
        "[Ports]\n"
        "Com1=/dev/ttyUSB0\n"
        "sp%20ace%E9%U20AC=escaped key\n"
        "\n"
        "[a]\n"
        "b\\c=deep\n");
    const struct { const char* key; const char* name; const char* value; } texts[] = {
        {"", "LastPathName", "/home/tech/Donn\xc3\xa9\x65s/site A/"},
        {"", "LastFileSpName", "C:\\sites\\a,b;c=d.eta"},
        {"\\Probe", "0", "@SP1"},
        {"\\Probe", "1", "\"quoted\"\ttab\x01" "a"},
        {"\\Probe", "2", " lead and trail "},
        {"\\Probe", "3", "text"},
        {"\\Probe", "4", "(absent)"},
        {"\\Probe", "5", "value"},
        {"\\Probe", "6", "ab"},
        {"\\Probe", "7", "(absent)"},
        {"\\General", "x", "group named General"},
        {"\\Ports", "Com1", "/dev/ttyUSB0"},
        {"\\Ports", "sp ace\xc3\xa9\xe2\x82\xac", "escaped key"},
        {"\\a\\b", "c", "deep"},
    };
    for (const auto& row : texts)
        EXPECT_EQ(store.readText(kKey + row.key, row.name, "(absent)"), row.value) << row.key << " " << row.name;
    const struct { const char* name; int32_t value; } numbers[] = {
        {"Com", 2}, {"Jbus", 247}, {"Language", 1}, {"Bauds", -1}, {"LastPathName", -7}, {"Absent", -7},
    };
    for (const auto& row : numbers)
        EXPECT_EQ(store.readNumber(kKey, row.name, -7), row.value) << row.name;
    EXPECT_TRUE(store.keyExists(kKey));
    EXPECT_TRUE(store.keyExists(kKey + "\\Probe"));
    EXPECT_FALSE(store.keyExists(kKey + "\\Angle"));
}

// Written into a file that holds other lines: each value changed in its place
// or added at the end of its section, in the forms QSettings writes, and the
// rest of the file as it was.
TEST_F(SettingsStoreTest, WritingKeepsTheRestOfTheFile)
{
    put("; kept\n[General]\nCom=2\nOther=kept\n\n[Ports]\nCom1=/dev/ttyS0\n");
    store.writeNumber(kKey, "Com", -3);
    store.writeText(kKey, "LastPathName", "/a;b/ x");
    store.writeText(kKey + "\\Ports", "Com2", " \"q\"\\\n\x01" "b@");
    store.writeText(kKey + "\\Probe", "0", "@SP1");
    store.writeText(kKey + "\\Probe", "1", "");
    store.writeText(kKey + "\\General", "x", "y");
    EXPECT_EQ(content(), "; kept\n[General]\nCom=-3\nOther=kept\nLastPathName=\"/a;b/ x\"\n\n"
                         "[Ports]\nCom1=/dev/ttyS0\nCom2=\" \\\"q\\\"\\\\\\n\\x1\\x62@\"\n\n"
                         "[Probe]\n0=@@SP1\n1=\n\n"
                         "[%General]\nx=y\n");

    // A fresh file opens with the top-level section; what is written reads back.
    std::filesystem::remove(file());
    store.writeText(kKey + "\\Ports", "Com1", "/dev/ttyUSB0");
    store.writeNumber(kKey, "Bauds", 5);
    EXPECT_EQ(content(), "[General]\nBauds=5\n\n[Ports]\nCom1=/dev/ttyUSB0\n");
    EXPECT_EQ(store.readText(kKey + "\\Ports", "Com1", ""), "/dev/ttyUSB0");
    EXPECT_EQ(store.readNumber(kKey, "Bauds", 0), 5);
}

// The store keeps what it parsed, but a file changed by another program is
// read again.
TEST_F(SettingsStoreTest, AFileChangedBehindTheStoreIsReadAgain)
{
    put("[General]\nCom=1\n");
    EXPECT_EQ(store.readNumber(kKey, "Com", 0), 1);
    put("[General]\nCom=20\n");
    EXPECT_EQ(store.readNumber(kKey, "Com", 0), 20);
    std::filesystem::remove(file());
    EXPECT_EQ(store.readNumber(kKey, "Com", 0), 0);
    EXPECT_FALSE(store.keyExists(kKey));
}

// The window saving its settings while vantorctl saves the port table: each
// writer's values are all kept.
TEST_F(SettingsStoreTest, TwoWritersAtOnceLoseNothing)
{
    ASSERT_TRUE(store.createKey(kKey));
    const auto writer = [this](const std::string& group) {
        SettingsStore own(dir.file("config"));
        for (int i = 0; i < 40; ++i)
            own.writeNumber(kKey + "\\" + group, std::to_string(i), i);
    };
    std::thread first(writer, "Probe"), second(writer, "Angle");
    first.join();
    second.join();
    for (const char* group : {"\\Probe", "\\Angle"})
        for (int i = 0; i < 40; ++i)
            EXPECT_EQ(store.readNumber(kKey + group, std::to_string(i), -1), i) << group << i;
}
