// The maker and CAN settings dialogs, on the simulated instrument and on files.
#include "CanDialog.h"
#include "DialogFixture.h"
#include "MakerDialog.h"

#include <QCheckBox>

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
    void openFile(const std::string& name, const std::string& bytes)
    {
        state.file.fileMode = true;
        state.file.currentFilePath = dir.file(name);
        std::ofstream(state.file.currentFilePath, std::ios::binary) << bytes;
    }
};

}  // namespace

TEST_F(MakerAndCanDialogTest, MakerPointsAreHeldWithinTheirBoundsAndUploaded)
{
    open<MakerDialog>();
    const std::pair<const char*, const char*> fourMilliamps[] = {{"60000", "13000"}, {"100", " 8000"}, {"12345", "12345"}};
    for (auto [typed, shown] : fourMilliamps) {
        type(1227, typed);
        EXPECT_EQ(text(1227), shown) << typed;
    }
    type(1231, "50000");
    EXPECT_EQ(text(1231), "52000");
    upload();
    EXPECT_EQ(requests(), (std::vector<std::pair<int, int>>{{16, kMakerFirst}, {3, kMakerFirst}})) << "written, read back";
    EXPECT_EQ(simulator->image(kMakerFirst, 5),
              (std::vector<uint8_t>{0x01, 0x5E, 0x00, 0x01, 0x00, 0x00, 0x30, 0x39, 0xCB, 0x20}));
}

TEST_F(MakerAndCanDialogTest, CanSavesOnlyTheTickedItems)
{
    simulator->setImage(kCanFirst, {0x03, 0x07, 0x02, 0x05, 0x00, 0x00, 0x00, 0x00});
    open<CanDialog>();
    dialog->control<QCheckBox>(1257)->click();  // Gain
    dialog->control<QCheckBox>(1259)->click();  // I.Q.
    prompts.chooseNextFile(dir.file("node"));
    dialog->sendCommand(1035);  // SAVEDISK
    EXPECT_EQ(fileBytes(dir.file("node.can")),
              (std::vector<uint8_t>{0x08, 0x00, 0x03, 0x07, 0x02, 0x05, 0x00, 0x00, 0x03, 0x00}));
}

TEST_F(MakerAndCanDialogTest, CanFileTicksTheItemsOfItsBits)
{
    // Node 3, type 7, 250 KHz, 0.5 s; Flow and Fault, "Sonde" (bit 5 of byte 5), I.Q.
    openFile("unit.can", std::string("\x08\x00\x03\x07\x02\x05\x81\x20\x02\x00", 10));
    open<CanDialog>();
    EXPECT_EQ(text(1226), "3");
    EXPECT_EQ(text(1228), "7");
    EXPECT_EQ(text(1087), "250 KHz");
    EXPECT_EQ(text(1240), "5");
    for (int id : kCanChecks) {
        EXPECT_EQ(checked(id), id == 1232 || id == 1239 || id == 1252 || id == 1259) << "control " << id;
        EXPECT_GT(text(id).size(), 1u) << "control " << id << " still shows the template's letter";
    }
    EXPECT_EQ(text(1252), "Sonde");
    EXPECT_EQ(text(1254), "Type Sonde");
}
