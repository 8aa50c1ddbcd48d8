// The factory, maker and CAN dialogs on the simulated instrument and on files,
// and the settings files the dialogs save and compare.
#include "CalibrationDialog.h"
#include "CanDialog.h"
#include "DialogFixture.h"
#include "FactoryDialog.h"
#include "FileDialogs.h"
#include "MakerDialog.h"
#include "SettingsFiles.h"

#include <QCheckBox>

using namespace vantor;

namespace {

constexpr uint16_t kFactoryFirst = 0x2200, kMakerFirst = 0x3000;

// Every check box of the CAN dialog's TX group.
constexpr int kCanChecks[] = {1232, 1233, 1234, 1235, 1236, 1237, 1238, 1239, 1241, 1242, 1243,
                              1245, 1249, 1252, 1254, 1256, 1257, 1259, 1260, 1261, 1263, 1265};

using FactoryDialogTest = test::OpenDialogFixture<FactoryDialog>;
using MakerAndCanDialogTest = test::OpenDialogFixture<ParameterDialog>;
using SettingsFilesTest = test::DialogFixture;

}  // namespace

TEST_F(FactoryDialogTest, UploadWritesTheBlockAndTheProbeCatalogueIsReadAgain)
{
    open();
    std::vector<uint8_t> expected = simulator->image(kFactoryFirst, 24);
    type(1177, "30");  // T0 SP1, in tenths of a microsecond
    EXPECT_EQ(text(1177), "25.5");
    test::choose(combo(1163), 3);  // Frequency SP1
    type(1202, "2.5");             // Coef 50%, in thousandths
    expected[7] = 255;
    expected[8] = 3;
    expected[26] = 0x09;
    expected[27] = 0xC4;

    upload(BoxAnswer::No);
    EXPECT_TRUE(requests().empty());
    EXPECT_FALSE(state.catalogue.read) << "the factory block may change the probes, even declined";
    upload();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(requests(), (std::vector<std::pair<int, int>>{{3, 0x5000}, {16, kFactoryFirst}, {3, kFactoryFirst}}));
    EXPECT_EQ(simulator->image(kFactoryFirst, 24), expected);
}

TEST_F(MakerAndCanDialogTest, MakerPointsAreHeldWithinTheirBoundsAndUploaded)
{
    open<MakerDialog>();
    // Pts 4mA, then Pts 20mA.
    const struct { int control; const char *typed, *shown; } rows[] = {
        {1227, "60000", "13000"}, {1227, "100", " 8000"}, {1227, "12345", "12345"}, {1231, "50000", "52000"}};
    for (const auto& row : rows) {
        type(row.control, row.typed);
        EXPECT_EQ(text(row.control), row.shown) << row.typed;
    }
    upload();
    EXPECT_EQ(requests(), (std::vector<std::pair<int, int>>{{16, kMakerFirst}, {3, kMakerFirst}})) << "written, read back";
    EXPECT_EQ(simulator->image(kMakerFirst, 5),
              (std::vector<uint8_t>{0x01, 0x5E, 0x00, 0x01, 0x00, 0x00, 0x30, 0x39, 0xCB, 0x20}));
}

TEST_F(MakerAndCanDialogTest, CanTicksTheItemsOfItsBitsAndSavesTheTickedOnes)
{
    // Node 3, type 7, 250 KHz, 0.5 s; Flow and Fault, "Sonde" (bit 5 of byte 5), I.Q.
    state.file.fileMode = true;
    state.file.currentFilePath = dir.file("unit.can");
    test::writeBytes(state.file.currentFilePath, std::string("\x08\x00\x03\x07\x02\x05\x81\x20\x02\x00", 10));
    open<CanDialog>();
    EXPECT_EQ((std::vector{text(1226), text(1228), text(1087), text(1240)}),
              (std::vector<std::string>{"3", "7", "250 KHz", "5"}));
    for (int id : kCanChecks) {
        EXPECT_EQ(dialog->control<QCheckBox>(id)->isChecked(), id == 1232 || id == 1239 || id == 1252 || id == 1259)
            << "control " << id;
        EXPECT_GT(text(id).size(), 1u) << "control " << id << " still shows the template's letter";
    }
    EXPECT_EQ(text(1252), "Sonde");
    EXPECT_EQ(text(1254), "Type Sonde");
    dialog->control<QCheckBox>(1257)->click();  // Gain
    dialog->control<QCheckBox>(1232)->click();  // Flow
    prompts.chooseNextFile(dir.file("node"));
    dialog->sendCommand(1035);  // SAVEDISK
    EXPECT_EQ(fileBytes(dir.file("node.can")),
              (std::vector<uint8_t>{0x08, 0x00, 0x03, 0x07, 0x02, 0x05, 0x80, 0x20, 0x03, 0x00}));
}

// The name typed did not exist, the one with the type's extension does: ask first.
TEST_F(SettingsFilesTest, ASavedNameTakesTheTypesExtensionAndAReplacementIsAsked)
{
    test::writeBytes(dir.file("unit.eta"), "old");
    prompts.chooseNextFile(dir.file("unit"));
    prompts.answerNext(BoxAnswer::No);
    EXPECT_FALSE(askSaveFile(context, nullptr, filetypes::kCalibration));
    EXPECT_EQ(prompts.boxes().back().text, "Ce fichier existe déjà. Le remplacer ?\n" + dir.file("unit.eta"));
    prompts.chooseNextFile(dir.file("unit.txt"));
    prompts.answerNext(BoxAnswer::Yes);
    EXPECT_TRUE(askSaveFile(context, nullptr, filetypes::kCalibration));
    EXPECT_EQ(state.file.currentFilePath, dir.file("unit.eta"));
}

TEST_F(SettingsFilesTest, CompareReportsNumbersInTheLocaleAndChoicesByText)
{
    locale.decimalSeparator = ",";
    locale.dateSeparator = ".";
    state.settings.spreadsheetPath = "/usr/bin/localc";
    // The instrument's values with Viscosity 12.5 cSt, Ax. D. 150.0 mm, KH 2.000 and material Nylon (first in
    // its list). Numbers come in the dialog's order, KH after Ax. D., though its register comes first.
    std::vector<uint8_t> image = simulator->image(0x1100, 28);
    for (auto [at, value] : {std::pair{19, 0x00}, {20, 125}, {11, 0}, {12, 0x05}, {13, 0xDC}, {6, 0x07}, {7, 0xD0}, {23, 0}})
        image[static_cast<size_t>(at)] = static_cast<uint8_t>(value);
    const std::string file = dir.file("site.eta"), report = dir.file("Ecart.prn");
    ASSERT_EQ(writeSettingsFile(file, image), FileStatus::Ok);
    CalibrationDialog dialog(context, nullptr);
    ASSERT_TRUE(dialog.opening());
    prompts.chooseNextFile(file);
    dialog.sendCommand(1198);  // COMPARE
    EXPECT_EQ(dialog.controlText(1109).toStdString(), "1.0") << "the controls keep the instrument's values";
    EXPECT_EQ(state.record.calibration.material, 6) << "the record holds the instrument's values again";
    EXPECT_EQ(started, (std::vector<std::string>{"/usr/bin/localc", report}));
    // Windows-1252 on disk.
    EXPECT_EQ(test::readBytes(report), "Unit\xE9 N\xB0 _____________\nEcart entre Unit\xE9 et Fichier  " + file +
                                           "\nFait le :05.03.2024 14:07:09\nVisa : __________\n\n"
                                           "Nom\tValeur Unit\xE9\tValeur Fichier\nD. Ax.\t200,0\t150,0\nKH\t1,055\t2,000\n"
                                           "Viscosit\xE9\t1,0\t12,5\nMat\xE9riau\tCuivre\tNylon\n");

    // A spreadsheet that does not start, then none.
    starts = false;
    prompts.chooseNextFile(file);
    dialog.sendCommand(1198);
    EXPECT_EQ(prompts.boxes().back().text, "Impossible de lancer le tableur\n/usr/bin/localc");
    state.settings.spreadsheetPath.clear();
    prompts.chooseNextFile(file);
    dialog.sendCommand(1198);
    EXPECT_EQ(prompts.boxes().back().text, "Ecart entre Unité et Fichier " + file + "\nVoir Fichier " +
                                               dir.file("Ecart2.prn") +
                                               "\n\nAucun tableur n'est choisi pour l'ouvrir : Configuration > Tableur.");
}
