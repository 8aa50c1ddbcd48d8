// File > Open and File > New, with the dialogs they open closed by the test.
#include "AppFixture.h"
#include "FileCommands.h"
#include "TemplateDialog.h"

#include <QTimer>

#include <fstream>
#include <iterator>

using namespace vantor;

namespace {

class FileCommandsTest : public test::AppFixture {
protected:
    void SetUp() override { program.state.settings.currentFolder = dir.path().string() + "/"; }

    // Closes the next modal dialog once it shows, noting its caption and one control's text.
    void closeNextDialog(int control)
    {
        QTimer::singleShot(0, [this, control] {
            if (auto* dialog = qobject_cast<TemplateDialog*>(QApplication::activeModalWidget())) {
                shownCaption = dialog->windowTitle().toStdString();
                shownText = dialog->controlText(control).toStdString();
                dialog->reject();
            }
        });
    }

    std::string shownCaption, shownText;
};

std::vector<uint8_t> bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST_F(FileCommandsTest, NewCalibrationFileHoldsTheDefaultImage)
{
    program.state.settings.language = kEnglish;
    closeNextDialog(1082);
    newSettingsFile(program.context(), nullptr, filetypes::kCalibration);
    const std::string path = dir.file("New.eta");
    EXPECT_EQ(program.state.file.currentFilePath, path);
    EXPECT_TRUE(program.state.file.fileMode);
    EXPECT_EQ(shownCaption, "Settings");
    EXPECT_EQ(shownText, "26.1");
    const std::vector<uint8_t> expected = {
        0x38, 0x00, 0x01, 0x00, 0x01, 0x05, 0x04, 0x00, 0x04, 0x1F, 0x00, 0x0B, 0x0C, 0x00, 0x07, 0xD0,
        0x01, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x0A, 0x06, 0x00, 0x09, 0x00, 0x05, 0xDC, 0x00,
        0xC8, 0x00, 0x05, 0x00, 0x0A, 0x00, 0x00, 0x64, 0x01, 0x05, 0x00, 0x00, 0x00, 0x00, 0x03, 0xE8,
        0x00, 0x03, 0xE8, 0x03, 0x00, 0x00, 0x00, 0x01, 0x01, 0x01};
    EXPECT_EQ(bytes(path), expected);

    closeNextDialog(1082);
    newSettingsFile(program.context(), nullptr, filetypes::kCalibration);
    EXPECT_EQ(program.state.file.currentFilePath, dir.file("New1.eta"));
}

TEST_F(FileCommandsTest, OpenChoosesTheDialogByExtension)
{
    closeNextDialog(1082);
    newSettingsFile(program.context(), nullptr, filetypes::kCalibration);
    program.state.file.fileMode = false;
    shownCaption.clear();
    const std::string path = dir.file("Nouveau.eta");
    ASSERT_EQ(program.state.file.currentFilePath, path);

    prompts.chooseNextFile(path);
    closeNextDialog(1011);
    openSettingsFile(program.context(), nullptr);
    EXPECT_TRUE(program.state.file.fileMode);
    EXPECT_TRUE(prompts.boxes().empty());
    EXPECT_EQ(shownCaption, "Etalonnage");
    EXPECT_EQ(shownText, path) << "the dialog names its file";
    EXPECT_EQ(prompts.fileRequests().back().filter,
              "(*.*)|*.mes;*.eta|Fichier Mesure (*.mes)|*.mes|Fichier Etalonnage (*.eta)|*.eta|");
    EXPECT_TRUE(prompts.fileRequests().back().mustExist);
}

TEST_F(FileCommandsTest, UnknownOrUpperCaseExtensionsOpenNothing)
{
    for (const char* name : {"unit.ETA", "unit.txt", "unit"}) {
        program.state.file.fileMode = false;
        prompts.chooseNextFile(dir.file("sub/") + name);
        openSettingsFile(program.context(), nullptr);
        EXPECT_FALSE(program.state.file.fileMode) << name;
        EXPECT_EQ(program.state.file.currentFilePath, dir.file("sub/") + name);
        EXPECT_EQ(program.state.settings.currentFolder, dir.file("sub/"));
    }
    program.state.settings.currentFolder = "kept/";
    openSettingsFile(program.context(), nullptr);  // cancelled
    EXPECT_EQ(program.state.settings.currentFolder, "kept/");
}

namespace {

struct NewFileCase {
    const char* name;
    const FileType* type;
    int control;  // a control whose default value shows
    const char* caption;
    const char* shown;
    std::vector<uint8_t> bytes;
};

class NewFileTest : public FileCommandsTest, public ::testing::WithParamInterface<NewFileCase> {};

struct OpenFileCase {
    const char* extension;
    const FileType* type;
    const char* caption;
};

class OpenFileTest : public FileCommandsTest, public ::testing::WithParamInterface<OpenFileCase> {};

}  // namespace

TEST_P(NewFileTest, HoldsTheDefaultImageAndOpensItsDialog)
{
    const NewFileCase& c = GetParam();
    program.state.settings.language = kEnglish;
    closeNextDialog(c.control);
    newSettingsFile(program.context(), nullptr, *c.type);
    const std::string path = dir.file(std::string("New.") + c.type->extension);
    EXPECT_EQ(program.state.file.currentFilePath, path);
    EXPECT_EQ(shownCaption, c.caption);
    EXPECT_EQ(shownText, c.shown);
    EXPECT_EQ(bytes(path), c.bytes);

    closeNextDialog(c.control);
    newSettingsFile(program.context(), nullptr, *c.type);
    EXPECT_EQ(program.state.file.currentFilePath, dir.file(std::string("New1.") + c.type->extension));
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, NewFileTest,
    ::testing::Values(
        NewFileCase{"Factory", &filetypes::kFactory, 1202, "Factory Settings", "1.000",
                    {0x30, 0x00, 0x00, 0x01, 0x86, 0xA0, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                     0x00, 0x00, 0x03, 0x03, 0xE8, 0x03, 0xE8, 0x03, 0xE8, 0x03, 0xE8, 0x03, 0xE8, 0x03, 0xE8,
                     0x03, 0xE8, 0x03, 0xE8, 0x03, 0xE8, 0x03, 0xE8, 0x03, 0xE8, 0x0A, 0x50, 0x00, 0x00, 0x00,
                     0x0A, 0x00, 0x00, 0x00, 0x00}},
        NewFileCase{"Maker", &filetypes::kMaker, 1227, "HYDROMAST Settings", "11000",
                    {0x0A, 0x00, 0x01, 0x5E, 0x00, 0x01, 0x00, 0x00, 0x2A, 0xF8, 0xD6, 0xD8}}),
    [](const ::testing::TestParamInfo<NewFileCase>& p) { return std::string(p.param.name); });

TEST_P(OpenFileTest, OpensTheBlocksDialogWhateverTheAccessFlags)
{
    const OpenFileCase& c = GetParam();
    program.state.access = {};
    const std::string path = dir.file(std::string("unit.") + c.extension);
    ASSERT_EQ(writeDefaultSettingsFile(path, *c.type), FileStatus::Ok);
    prompts.chooseNextFile(path);
    closeNextDialog(1011);
    openSettingsFile(program.context(), nullptr);
    EXPECT_TRUE(program.state.file.fileMode);
    EXPECT_TRUE(prompts.boxes().empty());
    EXPECT_EQ(shownCaption, c.caption);
    EXPECT_EQ(shownText, path);
}

INSTANTIATE_TEST_SUITE_P(Blocks, OpenFileTest,
                         ::testing::Values(OpenFileCase{"rus", &filetypes::kFactory, "Reglage Usine"},
                                           OpenFileCase{"hdm", &filetypes::kMaker, "Reglage HYDROMAST"},
                                           OpenFileCase{"can", &filetypes::kCan, "CAN"}),
                         [](const ::testing::TestParamInfo<OpenFileCase>& p) { return std::string(p.param.extension); });

TEST_F(FileCommandsTest, OpenReplaysAMeasurementFile)
{
    const std::string path = dir.file("run.mes");
    std::string bytes = {77, 0, 1, 3, 72};
    bytes.resize(2 + 77, '\0');
    std::ofstream(path, std::ios::binary) << bytes;
    prompts.chooseNextFile(path);
    closeNextDialog(1006);
    openSettingsFile(program.context(), nullptr);
    EXPECT_EQ(shownCaption, "Mesure");
    EXPECT_EQ(shownText, "Nbre d'Enregistrement=1  N° d'Enregistrement=1");
}
