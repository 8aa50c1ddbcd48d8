// Settings files on disk: new names, paths and a replacement that fails
// without harm (the files refused are BadFilesTest's, opened as the user opens them).
#include "SettingsFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

using namespace vantor;

namespace {

class SettingsFilesTest : public ::testing::Test {
protected:
    void touch(const std::string& name) { std::ofstream(dir.file(name)) << "x"; }
    std::vector<uint8_t> fileBytes(const std::string& path) const
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    test::TempDir dir;
};

}  // namespace

TEST_F(SettingsFilesTest, NewFileNamesTakeTheNextNumber)
{
    const std::string folder = dir.path().string() + "/";
    EXPECT_EQ(newFileName(folder, "New", "eta"), folder + "New.eta");
    touch("New.eta");
    EXPECT_EQ(newFileName(folder, "New", "eta"), folder + "New1.eta");
    touch("New1.eta");
    touch("New7.eta");
    touch("new9.ETA");  // the search ignores case, so does the number
    touch("New20.rus");
    EXPECT_EQ(newFileName(folder, "New", "eta"), folder + "New10.eta");
    EXPECT_EQ(newFileName(folder, "Nouveau", "eta"), folder + "Nouveau.eta");
    EXPECT_EQ(newFileName("", "Ecart", "prn"), "Ecart.prn") << "no folder: the working directory";
    EXPECT_EQ(newFileName(dir.path().string(), "New", "eta"), folder + "New10.eta") << "a folder without separator";
    touch("New2147483647.eta");
    EXPECT_EQ(newFileName(folder, "New", "eta"), folder + "New2147483648.eta") << "past the largest int";
    // Numbers beyond counting saturate; the name after them is taken too: a free one.
    touch("New99999999999999999999.eta");
    touch("New1000000000000000000.eta");
    EXPECT_EQ(newFileName(folder, "New", "eta"), folder + "New2.eta") << "a new name is never a taken one";
}

TEST(SettingsFileNames, OnlyTheFileNamesOwnExtensionIsReplaced)
{
    EXPECT_EQ(withExtension("/data/unit", "eta"), "/data/unit.eta");
    EXPECT_EQ(withExtension("/data/unit.txt", "eta"), "/data/unit.eta");
    EXPECT_EQ(withExtension("/data/site.old/unit", "eta"), "/data/site.old/unit.eta");
    EXPECT_EQ(withExtension("C:\\Data\\site.old\\unit", "eta"), "C:\\Data\\site.old\\unit.eta");
    EXPECT_EQ(withExtension("/data/.hidden", "eta"), "/data/.hidden.eta");
    EXPECT_EQ(folderOf("/data/site.old/unit.eta"), "/data/site.old/");

}

TEST_F(SettingsFilesTest, AFailedSaveKeepsThePreviousFile)
{
    const std::string path = dir.file("keep.eta");
    const std::vector<uint8_t> first(56, 1);
    ASSERT_EQ(writeSettingsFile(path, first), FileStatus::Ok);
    EXPECT_EQ(writeSettingsFile(dir.file("no/such/folder/x.eta"), first), FileStatus::CannotWrite);
    // A target that cannot be replaced (a folder stands there) leaves everything as it was.
    std::filesystem::create_directories(dir.file("taken.eta"));
    EXPECT_EQ(writeSettingsFile(dir.file("taken.eta"), first), FileStatus::CannotWrite);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken.eta")));
    const std::vector<uint8_t> bytes = fileBytes(path);
    ASSERT_EQ(bytes.size(), 58u);
    EXPECT_EQ(bytes[2], 1);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u) << "no temporary file is left behind";
}
