// File > Open on files that are not what their name says.
#include "AppFixture.h"
#include "FileCommands.h"
#include "MeasurementFrames.h"
#include "QtPrompts.h"
#include "TemplateDialog.h"

#include <QTimer>

#include <filesystem>

using namespace vantor;
using namespace vantor::test;

namespace {

enum class Damage { Empty, Truncated, OneByteTooLong, Folder, Vanished };

// A whole file of the type: its length word and one block or record.
std::string whole(const FileType& type)
{
    const size_t size = type.codec ? type.codec->block->imageSize() : kMeasurementFrameSize;
    return lengthWord(size) + std::string(size, '\x11');
}

using BadFilesTest = AppFixture;

}  // namespace

// Each is refused with a message in the user's language, loads nothing,
// changes nothing on disk and leaves no dialog open.
TEST_F(BadFilesTest, EachIsRefusedWithAMessageAndChangesNothing)
{
    const struct { const FileType* type; Damage damage; int language; } rows[] = {
        {&filetypes::kCalibration, Damage::OneByteTooLong, kFrench},
        {&filetypes::kMaker, Damage::OneByteTooLong, kEnglish},
        {&filetypes::kFactory, Damage::Truncated, kEnglish},
        {&filetypes::kMeasurement, Damage::Truncated, kFrench},  // no whole record
        {&filetypes::kCan, Damage::Empty, kFrench},
        {&filetypes::kCalibration, Damage::Folder, kEnglish},
        {&filetypes::kFactory, Damage::Vanished, kFrench},
    };
    ProgramState& state = program.state;
    state.settings.currentFolder = dir.path().string() + "/";
    for (const auto& row : rows) {
        const std::string path = dir.file(std::string("bad.") + row.type->extension);
        SCOPED_TRACE(path + ", damage " + std::to_string(static_cast<int>(row.damage)));
        std::filesystem::remove_all(path);
        state.settings.language = row.language;
        const std::string bytes = whole(*row.type);
        const std::string written = row.damage == Damage::Empty            ? ""
                                    : row.damage == Damage::Truncated      ? bytes.substr(0, bytes.size() - 1)
                                    : row.damage == Damage::OneByteTooLong ? bytes + '\x22'
                                                                           : bytes;
        if (row.damage == Damage::Folder)
            std::filesystem::create_directory(path);
        else if (row.damage != Damage::Vanished)
            writeBytes(path, written);
        state.record.calibration.extDiameter = state.record.factory.qRef = state.record.maker.ref3 = 777;
        state.record.can.node = 7;
        state.record.measurement.flow = 777;
        prompts.clear();
        prompts.chooseNextFile(path);
        bool dialogShown = false;
        QTimer closer;  // a dialog opened on a file it should have refused is closed once it shows
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<TemplateDialog*>(QApplication::activeModalWidget()))
                dialogShown = true, prompts.answerNext(BoxAnswer::Yes), dialog->reject();  // Yes: close it, changed or not
        });
        closer.start(10);
        openSettingsFile(program.context(), nullptr);
        EXPECT_FALSE(dialogShown) << "no dialog stays open on a refused file";
        ASSERT_EQ(prompts.boxes().size(), 1u);
        const RecordedBox& box = prompts.boxes()[0];
        EXPECT_EQ(box.icon, BoxIcon::Error);
        EXPECT_EQ(box.caption, row.type->name.text(row.language));
        EXPECT_NE(box.text.find(path), std::string::npos) << box.text;
        EXPECT_EQ(box.text.find(row.language == kFrench ? "file" : "fichier"), std::string::npos) << box.text;
        EXPECT_EQ(state.record.calibration.extDiameter + state.record.factory.qRef + state.record.maker.ref3, 3 * 777.0f)
            << "nothing loaded";
        EXPECT_EQ(state.record.can.node, 7.0f);
        EXPECT_EQ(state.record.measurement.flow, 777.0f);
        EXPECT_EQ(std::filesystem::is_regular_file(path) ? readBytes(path) : written, written) << "nothing written";
    }
    EXPECT_EQ(prompts.fileRequests().back().filter,
              "(*.*)|*.mes;*.eta|Fichier Mesure (*.mes)|*.mes|Fichier Étalonnage (*.eta)|*.eta|") << "without switches";
    // As the platform's file dialog shows it: each entry names its patterns once.
    EXPECT_EQ(qtFileFilter(prompts.fileRequests().back().filter), "(*.mes *.eta);;Fichier Mesure (*.mes);;Fichier Étalonnage (*.eta)");
}
