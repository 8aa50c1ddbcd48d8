// The maker and CAN settings dialogs, on the simulated instrument and on files.
#include "CanDialog.h"
#include "DialogFixture.h"
#include "MakerDialog.h"
#include "SettingsFiles.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <filesystem>
#include <functional>

using namespace vantor;

namespace {

constexpr uint16_t kMakerFirst = 0x3000;
constexpr uint16_t kCanFirst = 0x111C;

// Every check box of the CAN dialog's TX group.
constexpr int kCanChecks[] = {1232, 1233, 1234, 1235, 1236, 1237, 1238, 1239, 1241, 1242, 1243,
                              1245, 1249, 1252, 1254, 1256, 1257, 1259, 1260, 1261, 1263, 1265};

class MakerAndCanDialogTest : public test::OpenDialogFixture<ParameterDialog> {
protected:
    bool checked(int id) { return dialog->control<QCheckBox>(id)->isChecked(); }
    std::string writeFile(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir.file(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
};

}  // namespace

TEST_F(MakerAndCanDialogTest, MakerShowsTheReferenceWithLeadingZeros)
{
    simulator->setImage(kMakerFirst, {7, 3, 0x00, 0x2A});
    open<MakerDialog>();
    EXPECT_EQ(text(1219), "07");
    EXPECT_EQ(text(1221), "03");
    EXPECT_EQ(text(1223), "00042");
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Reglage HYDROMAST");
}

TEST_F(MakerAndCanDialogTest, MakerPointsAreClampedOnFocusLoss)
{
    open<MakerDialog>();
    type(1227, "60000");
    EXPECT_EQ(text(1227), "13000");
    type(1231, "50000");
    EXPECT_EQ(text(1231), "52000");
    EXPECT_EQ(state.record.maker.points20mA, 52000.0f);
}

TEST_F(MakerAndCanDialogTest, MakerUploadWritesTheBlock)
{
    open<MakerDialog>();
    type(1227, "12345");
    prompts.answerNext(BoxAnswer::Yes);
    dialog->sendCommand(1036);  // TRANSFERT
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(requests(), (std::vector<std::pair<int, int>>{{16, kMakerFirst}, {3, kMakerFirst}})) << "written, read back";
    EXPECT_EQ(simulator->image(kMakerFirst, 5),
              (std::vector<uint8_t>{0x01, 0x5E, 0x00, 0x01, 0x00, 0x00, 0x30, 0x39, 0xD6, 0xD8}));
}

TEST_F(MakerAndCanDialogTest, CanSavesOnlyTheTickedItems)
{
    simulator->setImage(kCanFirst, {0x03, 0x07, 0x02, 0x05, 0x00, 0x00, 0x00, 0x00});
    open<CanDialog>();
    dialog->control<QCheckBox>(1257)->click();  // Gain
    dialog->control<QCheckBox>(1259)->click();  // I.Q.
    prompts.chooseNextFile(dir.file("node"));
    dialog->sendCommand(1035);  // SAVEDISK
    const std::string path = dir.file("node.can");
    EXPECT_EQ(text(1011), path);
    EXPECT_EQ(fileBytes(path), (std::vector<uint8_t>{0x08, 0x00, 0x03, 0x07, 0x02, 0x05, 0x00, 0x00, 0x03, 0x00}));
}

TEST_F(MakerAndCanDialogTest, CanNodeIsClampedOnFocusLoss)
{
    open<CanDialog>();
    type(1226, "20");
    EXPECT_EQ(text(1226), "15");
}

TEST_F(MakerAndCanDialogTest, CanCheckBoxesShowTheirItemNames)
{
    const struct {
        int32_t language;
        const char* flow;
        const char* application;
        const char* dateTime;
    } cases[] = {{kFrench, "Débit", "Ref Application", "Date/Heure"},
                 {kEnglish, "Flow", "Application Ref", "Date/Time"}};
    for (const auto& c : cases) {
        state.settings.language = c.language;
        open<CanDialog>();
        EXPECT_EQ(text(1232), c.flow);
        EXPECT_EQ(text(1265), c.application);
        EXPECT_EQ(text(1249), c.dateTime);
        for (int id : kCanChecks)
            EXPECT_GT(text(id).size(), 1u) << "control " << id << " still shows the template's letter";
    }
}

TEST_F(MakerAndCanDialogTest, CanUploadWritesTheBlock)
{
    open<CanDialog>();
    type(1226, "9");
    dialog->control<QCheckBox>(1232)->click();  // Flow
    prompts.answerNext(BoxAnswer::Yes);
    dialog->sendCommand(1036);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(requests(), (std::vector<std::pair<int, int>>{{16, kCanFirst}, {3, kCanFirst}})) << "written, read back";
    EXPECT_EQ(simulator->image(kCanFirst, 4), (std::vector<uint8_t>{0x09, 0x05, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00}));
}

TEST_F(MakerAndCanDialogTest, MakerOpensFromAFile)
{
    state.file.fileMode = true;
    state.file.currentFilePath = writeFile("unit.hdm", std::string("\x0A\x00\x07\x03\x00\x2A\x00\x00\x2E\xE0\xD6\xD8", 12));
    open<MakerDialog>();
    EXPECT_EQ(text(1011), state.file.currentFilePath);
    EXPECT_EQ(text(1219), "07");
    EXPECT_EQ(text(1221), "03");
    EXPECT_EQ(text(1223), "00042");
    EXPECT_EQ(text(1227), "12000");
    EXPECT_EQ(text(1231), "55000");
    EXPECT_TRUE(simulator->requests().empty()) << "a file needs no instrument";
}

TEST_F(MakerAndCanDialogTest, CanOpensFromAFile)
{
    state.file.fileMode = true;
    // Node 3, type 7, 250 KHz, 0.5 s; Flow and Fault, I.Q.
    state.file.currentFilePath = writeFile("unit.can", std::string("\x08\x00\x03\x07\x02\x05\x81\x00\x02\x00", 10));
    open<CanDialog>();
    EXPECT_EQ(text(1011), state.file.currentFilePath);
    EXPECT_EQ(text(1226), "3");
    EXPECT_EQ(text(1228), "7");
    EXPECT_EQ(text(1087), "250 KHz");
    EXPECT_EQ(text(1240), "5");
    for (int id : kCanChecks)
        EXPECT_EQ(checked(id), id == 1232 || id == 1239 || id == 1259) << "control " << id;
    EXPECT_TRUE(simulator->requests().empty());
}

TEST_F(MakerAndCanDialogTest, FileWithTheWrongLengthWordDoesNotOpen)
{
    const struct {
        const char* name;
        std::string bytes;
        const char* typeName;
        std::function<ParameterDialog*()> make;
    } cases[] = {
        {"bad.hdm", std::string("\x08\x00", 2) + std::string(10, '\x01'), "Fichier Réglage HYDROMAST",
         [this] { return new MakerDialog(context, nullptr); }},
        {"bad.can", std::string("\x0A\x00", 2) + std::string(10, '\x01'), "Fichier Réglage CAN",
         [this] { return new CanDialog(context, nullptr); }},
    };
    state.file.fileMode = true;
    for (const auto& c : cases) {
        prompts.clear();
        state.file.currentFilePath = writeFile(c.name, c.bytes);
        std::unique_ptr<ParameterDialog> d(c.make());
        EXPECT_FALSE(d->opening()) << c.name;
        ASSERT_EQ(prompts.boxes().size(), 1u) << c.name;
        EXPECT_EQ(prompts.boxes()[0].caption, c.typeName);
        EXPECT_EQ(prompts.boxes()[0].icon, BoxIcon::Error);
        EXPECT_NE(prompts.boxes()[0].text.find(state.file.currentFilePath), std::string::npos) << "names the file";
    }
}

TEST_F(MakerAndCanDialogTest, ALongPathKeepsItsFileNameInSight)
{
    const std::string folder = dir.file("Vantor/Donnees/Nouvelle installation du site de la station d'epuration");
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/Nouveau Reglage HYDROMAST 2.hdm";
    ASSERT_EQ(writeDefaultSettingsFile(path, filetypes::kMaker), FileStatus::Ok);
    state.file.fileMode = true;
    state.file.currentFilePath = path;
    open<MakerDialog>();
    const auto* label = dialog->control<QLabel>(1011);
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
    EXPECT_TRUE(label->text().endsWith("/Nouveau Reglage HYDROMAST 2.hdm")) << label->text().toStdString();
    EXPECT_EQ(label->toolTip().toStdString(), path);
}
