// File > Open and File > New, with the dialogs they open closed by the test.
#include "AppFixture.h"
#include "FileCommands.h"
#include "MeasurementFrames.h"
#include "QtPrompts.h"
#include "TemplateDialog.h"

#include <QTimer>

using namespace vantor;
using namespace vantor::test;

namespace {

class FileCommandsTest : public AppFixture {
protected:
    void SetUp() override { program.state.settings.currentFolder = dir.path().string() + "/"; }

    // Closes the next modal dialog once it shows, noting its caption and one control's text.
    void closeNextDialog(int control)
    {
        shownCaption.clear();
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

}  // namespace

TEST_F(FileCommandsTest, NewOpensTheDefaultsUnderTheNumberAfterTheHighest)
{
    const struct {
        const FileType* type;
        int control;  // one whose default value shows
        const char* shown;
        size_t size;
    } rows[] = {
        {&filetypes::kCalibration, 1082, "26.1", 56},
        {&filetypes::kFactory, 1202, "1.000", 48},
        {&filetypes::kMaker, 1227, "11000", 10},
    };
    for (const auto& row : rows) {
        const std::string extension = row.type->extension;
        closeNextDialog(row.control);
        newSettingsFile(program.context(), nullptr, *row.type);
        const std::string path = dir.file("Nouveau." + extension);
        EXPECT_EQ(program.state.file.currentFilePath, path);
        EXPECT_TRUE(program.state.file.fileMode);
        EXPECT_EQ(shownText, row.shown) << extension;
        // The block's length, low byte first, then the default image the model's tests spell out.
        EXPECT_EQ(readBytes(path).substr(0, 2), lengthWord(row.size));
        EXPECT_EQ(readBytes(path).size(), 2 + row.size);

        writeBytes(dir.file("Nouveau5." + extension), "");
        closeNextDialog(row.control);
        newSettingsFile(program.context(), nullptr, *row.type);
        EXPECT_EQ(program.state.file.currentFilePath, dir.file("Nouveau6." + extension));
    }
}

TEST_F(FileCommandsTest, OpenChoosesTheDialogByExtensionWhateverTheSwitches)
{
    program.state.access = {};
    const struct {
        const FileType* type;
        const char* caption;
    } rows[] = {
        {&filetypes::kCalibration, "Etalonnage"}, {&filetypes::kFactory, "Reglage Usine"},
        {&filetypes::kMaker, "Reglage HYDROMAST"}, {&filetypes::kCan, "CAN"}, {&filetypes::kMeasurement, "Mesure"},
    };
    for (const auto& row : rows) {
        const std::string path = dir.file(std::string("unit.") + row.type->extension);
        if (row.type == &filetypes::kMeasurement)
            writeBytes(path, lengthWord(kMeasurementFrameSize) + frame(example()));
        else
            ASSERT_EQ(writeDefaultSettingsFile(path, *row.type), FileStatus::Ok);
        prompts.chooseNextFile(path);
        closeNextDialog(1011);
        openSettingsFile(program.context(), nullptr);
        EXPECT_EQ(shownCaption, row.caption);
        EXPECT_EQ(shownText, path) << "the dialog names its file";
    }
    EXPECT_TRUE(prompts.boxes().empty());
    EXPECT_EQ(prompts.fileRequests().back().filter,
              "(*.*)|*.mes;*.eta|Fichier Mesure (*.mes)|*.mes|Fichier Etalonnage (*.eta)|*.eta|");
    EXPECT_TRUE(prompts.fileRequests().back().mustExist);
    // As the platform's file dialog shows it: each entry names its patterns once.
    EXPECT_EQ(qtFileFilter(prompts.fileRequests().back().filter), "(*.mes *.eta);;Fichier Mesure (*.mes);;Fichier Etalonnage (*.eta)");
    EXPECT_EQ(qtFileFilter("Fichier de Sortie(*.prn)|*.prn|"), "Fichier de Sortie (*.prn)");
}

TEST_F(FileCommandsTest, UnknownOrUpperCaseExtensionsOpenNothing)
{
    for (const char* name : {"unit.ETA", "unit.txt", "unit"}) {
        program.state.file.fileMode = false;
        prompts.chooseNextFile(dir.file("sub/") + name);
        openSettingsFile(program.context(), nullptr);
        EXPECT_FALSE(program.state.file.fileMode) << name;
        EXPECT_EQ(program.state.settings.currentFolder, dir.file("sub/"));
    }
    program.state.settings.currentFolder = "kept/";
    openSettingsFile(program.context(), nullptr);  // cancelled
    EXPECT_EQ(program.state.settings.currentFolder, "kept/");
}
