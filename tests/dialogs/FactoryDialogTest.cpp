// The factory settings dialog against the simulated instrument, driven by control id.
#include "DialogFixture.h"
#include "FactoryDialog.h"

using namespace vantor;

namespace {

constexpr uint16_t kFactoryFirst = 0x2200;
constexpr uint16_t kFactoryCount = 24;

class FactoryDialogTest : public test::OpenDialogFixture<FactoryDialog> {
protected:
    std::vector<uint8_t> unitBytes() { return simulator->image(kFactoryFirst, kFactoryCount); }
};

}  // namespace

TEST_F(FactoryDialogTest, UploadWritesTheBlockAndTheProbeCatalogueIsReadAgain)
{
    open();
    std::vector<uint8_t> expected = unitBytes();
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
    EXPECT_EQ(unitBytes(), expected);
}

TEST_F(FactoryDialogTest, CompareNamesEveryValueThatDiffersAndIsOfferedAgainOnTheUnitsValues)
{
    state.settings.spreadsheetPath = "/usr/bin/localc";
    open();
    prompts.chooseNextFile(dir.file("site"));
    dialog->sendCommand(1035);  // SAVEDISK
    const std::string file = dir.file("site.rus");
    ASSERT_EQ(fileBytes(file).size(), 50u);

    std::vector<uint8_t> unit = unitBytes();
    unit[0] = 1;                         // Simulation
    unit[15] = 5;                        // Q Ref. unit
    unit[26] = 0x04, unit[27] = 0xE2;    // Coef 50% 1.250
    simulator->setImage(kFactoryFirst, unit);
    open();
    prompts.chooseNextFile(file);
    dialog->sendCommand(1198);  // COMPARE
    const std::string report = dir.file("Ecart.prn");
    EXPECT_EQ(started, (std::vector<std::string>{"/usr/bin/localc", report}));
    const std::string header = "Nom\tValeur Unit\xE9\tValeur Fichier\n";
    const std::string content = fileText(report);
    ASSERT_NE(content.find(header), std::string::npos) << content;
    EXPECT_EQ(content.substr(content.find(header) + header.size()), "Coef 50%\t1.250\t1.000\n"
                                                                     "Fonction\tSimulation\tMesure\n"
                                                                     "Unit\xE9 Q Ref\tm3/j\tm3/s\n");

    EXPECT_EQ(state.record.factory.coef50, 1.25f) << "the record holds the instrument's values again";
    type(1202, "1.25");
    EXPECT_TRUE(visible(1198)) << "the instrument's value, retyped, is still unchanged";
    type(1202, "1");
    EXPECT_FALSE(visible(1198)) << "the file's value is not the instrument's";
}
