// Settings files from the dialogs: choosing a name, the Open filter, and the
// comparison report.
#include "CalibrationDialog.h"
#include "DialogFixture.h"
#include "FileDialogs.h"
#include "SettingsFiles.h"

using namespace vantor;

namespace {

class SettingsFilesTest : public test::DialogFixture {
protected:
    // Opens the calibration dialog on the instrument and compares it with a
    // file of its values, some bytes changed; returns the report's name.
    std::string compareWith(const std::string& file, std::initializer_list<std::pair<int, uint8_t>> changes = {})
    {
        std::vector<uint8_t> image = simulator->image(0x1100, 28);
        for (auto [at, value] : changes)
            image[static_cast<size_t>(at)] = value;
        EXPECT_EQ(writeSettingsFile(file, image), FileStatus::Ok);
        CalibrationDialog dialog(context, nullptr);
        EXPECT_TRUE(dialog.opening());
        prompts.chooseNextFile(file);
        dialog.sendCommand(1198);
        EXPECT_EQ(dialog.controlText(1109).toStdString(), "1.0") << "the controls keep the instrument's values";
        return state.file.currentFilePath;
    }
};

}  // namespace

TEST_F(SettingsFilesTest, ASavedNameTakesTheTypesExtensionAndAReplacementIsAsked)
{
    prompts.chooseNextFile(dir.file("site.old/unit"));
    ASSERT_TRUE(askSaveFile(context, nullptr, filetypes::kCalibration));
    EXPECT_EQ(state.file.currentFilePath, dir.file("site.old/unit.eta"));
    EXPECT_EQ(state.settings.currentFolder, dir.file("site.old/"));

    // The name typed did not exist, the one with the extension does: ask first.
    std::ofstream(dir.file("unit.eta")) << "old";
    prompts.chooseNextFile(dir.file("unit"));
    prompts.answerNext(BoxAnswer::No);
    EXPECT_FALSE(askSaveFile(context, nullptr, filetypes::kCalibration));
    EXPECT_EQ(prompts.boxes().back().text, "Ce fichier existe déjà. Le remplacer ?\n" + dir.file("unit.eta"));
    prompts.chooseNextFile(dir.file("unit.txt"));
    prompts.answerNext(BoxAnswer::Yes);
    EXPECT_TRUE(askSaveFile(context, nullptr, filetypes::kCalibration));
    EXPECT_EQ(state.file.currentFilePath, dir.file("unit.eta"));
}

TEST_F(SettingsFilesTest, TheOpenFilterOffersTheBlocksTheSwitchesAllow)
{
    EXPECT_EQ(openFilter({}, kEnglish),
              "(*.*)|*.mes;*.eta|Measurement File (*.mes)|*.mes|Calibration File (*.eta)|*.eta|");
    EXPECT_EQ(openFilter({true, true, true, true}, kFrench),
              "(*.*)|*.mes;*.eta;*.can;*.rus;*.hdm|Fichier Mesure (*.mes)|*.mes|Fichier Etalonnage (*.eta)|*.eta|"
              "Fichier Réglage CAN (*.can)|*.can|Fichier Réglage Usine (*.rus)|*.rus|"
              "Fichier Réglage HYDROMAST (*.hdm)|*.hdm|");
}

TEST_F(SettingsFilesTest, CompareReportsNumbersInTheLocaleAndChoicesByText)
{
    locale.decimalSeparator = ",";
    locale.dateSeparator = ".";
    state.settings.spreadsheetPath = "/usr/bin/localc";
    // Viscosity 12.5 cSt, Ax. D. 150.0 mm, material Steel.
    const std::string file = dir.file("site.eta");
    const std::string report = compareWith(file, {{19, 0x00}, {20, 125}, {11, 0}, {12, 0x05}, {13, 0xDC}, {23, 10}});
    EXPECT_EQ(report, dir.file("Ecart.prn"));
    // Windows-1252 on disk.
    EXPECT_EQ(fileText(report), "Unit\xE9 N\xB0 _____________\n"
                                "Ecart entre Unit\xE9 et Fichier  " + file + "\n"
                                "Fait le :05.03.2024 14:07:09\n"
                                "Visa : __________\n"
                                "\n"
                                "Nom\tValeur Unit\xE9\tValeur Fichier\n"
                                "D. Ax.\t200,0\t150,0\n"
                                "Viscosit\xE9\t1,0\t12,5\n"
                                "Mat\xE9riau\tCuivre\tAcier\n");
    EXPECT_EQ(started, (std::vector<std::string>{"/usr/bin/localc", report}));
    EXPECT_EQ(state.record.calibration.material, 6) << "the record holds the instrument's values again";

    // The same values, and no spreadsheet program: a second report, named in a box.
    state.settings.spreadsheetPath.clear();
    const std::string second = compareWith(file);
    EXPECT_EQ(second, dir.file("Ecart1.prn")) << "the first report stays";
    EXPECT_NE(fileText(second).find("\n\nAucun \xE9" "cart entre unit\xE9 et Fichier\n"), std::string::npos);
    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_EQ(prompts.boxes()[0].text, "Ecart entre Unité et Fichier " + file + "\nVoir Fichier " + second);
}
