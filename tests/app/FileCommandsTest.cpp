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

std::vector<uint8_t> Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST_F(FileCommandsTest, NewCalibrationFileHoldsTheDefaultImage)
{
    program.state.settings.language = kEnglish;
    closeNextDialog(1082);
    NewSettingsFile(program.context(), nullptr, filetypes::kCalibration);
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
    EXPECT_EQ(Bytes(path), expected);

    closeNextDialog(1082);
    NewSettingsFile(program.context(), nullptr, filetypes::kCalibration);
    EXPECT_EQ(program.state.file.currentFilePath, dir.file("New1.eta"));
}

TEST_F(FileCommandsTest, OpenChoosesTheDialogByExtension)
{
    closeNextDialog(1082);
    NewSettingsFile(program.context(), nullptr, filetypes::kCalibration);
    program.state.file.fileMode = false;
    shownCaption.clear();
    const std::string path = dir.file("Nouveau.eta");
    ASSERT_EQ(program.state.file.currentFilePath, path);

    prompts.chooseNextFile(path);
    closeNextDialog(1011);
    OpenSettingsFile(program.context(), nullptr);
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
        OpenSettingsFile(program.context(), nullptr);
        EXPECT_FALSE(program.state.file.fileMode) << name;
        EXPECT_EQ(program.state.file.currentFilePath, dir.file("sub/") + name);
        EXPECT_EQ(program.state.settings.currentFolder, dir.file("sub/"));
    }
    program.state.settings.currentFolder = "kept/";
    OpenSettingsFile(program.context(), nullptr);  // cancelled
    EXPECT_EQ(program.state.settings.currentFolder, "kept/");
}
