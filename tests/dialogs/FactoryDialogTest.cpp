// The factory settings dialog against the simulated instrument, driven by control id.
#include "DialogFixture.h"
#include "FactoryDialog.h"
#include "SettingsFiles.h"

#include <QLineEdit>

using namespace vantor;

namespace {

constexpr uint16_t kFactoryFirst = 0x2200;
constexpr uint16_t kFactoryCount = 24;

class FactoryDialogTest : public test::OpenDialogFixture<FactoryDialog> {
protected:
    // Changes bytes of the instrument's factory block.
    void setInstrument(std::initializer_list<std::pair<int, uint8_t>> bytes)
    {
        std::vector<uint8_t> image = simulator->image(kFactoryFirst, kFactoryCount);
        for (auto [at, value] : bytes)
            image[at] = value;
        simulator->setImage(kFactoryFirst, image);
    }
};

// A probe's T0 edit and the rows that only mean something when T0 is set.
struct ProbeRows {
    const char* probe;
    int t0;
    std::vector<int> rows;
};

class FactoryProbeRowsTest : public FactoryDialogTest, public ::testing::WithParamInterface<ProbeRows> {};

}  // namespace

TEST_P(FactoryProbeRowsTest, ZeroT0HidesTheAngleAndFrequency)
{
    const ProbeRows& p = GetParam();
    open();
    type(p.t0, "1.5");
    for (int id : p.rows)
        EXPECT_TRUE(visible(id)) << p.probe << " control " << id;
    type(p.t0, "0");
    for (int id : p.rows)
        EXPECT_FALSE(visible(id)) << p.probe << " control " << id;
    type(p.t0, "1.5");
    for (int id : p.rows)
        EXPECT_TRUE(visible(id)) << p.probe << " control " << id << " comes back";
}

INSTANTIATE_TEST_SUITE_P(BothProbes, FactoryProbeRowsTest,
                         ::testing::Values(ProbeRows{"SP1", 1177, {1178, 1179, 1108, 1162, 1163}},
                                           ProbeRows{"SP2", 1184, {1185, 1186, 1112, 1181, 1182}}),
                         [](const ::testing::TestParamInfo<ProbeRows>& p) { return std::string(p.param.probe); });

TEST_F(FactoryDialogTest, SimulationShowsItsSettings)
{
    open();
    const std::initializer_list<int> simulation = {1164, 1165, 1166, 1167, 1098};
    test::choose(combo(1161), 1);
    for (int id : simulation)
        EXPECT_TRUE(visible(id)) << id;
    test::choose(combo(1161), 0);
    for (int id : simulation)
        EXPECT_FALSE(visible(id)) << id;
}

TEST_F(FactoryDialogTest, CoefficientsAreClampedOnFocusLoss)
{
    open();
    type(1202, "70");
    EXPECT_EQ(text(1202), "65.000");
    EXPECT_EQ(state.record.factory.coef50, 65.0f);
}

TEST_F(FactoryDialogTest, ComparisonIsOfferedOnlyOnUnchangedValues)
{
    open();
    EXPECT_TRUE(visible(1198));
    type(1202, "1.5");
    EXPECT_FALSE(visible(1198));
    type(1202, "1");
    EXPECT_TRUE(visible(1198)) << "back to the instrument's value";
}

TEST_F(FactoryDialogTest, DeclinedUploadStillRereadsTheProbeCatalogue)
{
    open();
    ASSERT_TRUE(state.catalogue.read);
    prompts.answerNext(BoxAnswer::No);
    dialog->sendCommand(1036);  // TRANSFERT
    EXPECT_TRUE(requests().empty());
    EXPECT_FALSE(state.catalogue.read);
    EXPECT_NE(dialog->result(), QDialog::Accepted);

    ASSERT_EQ(link.blockTransact(3, kFactoryFirst, kFactoryCount), 0);
    EXPECT_EQ(requests(), (std::vector<std::pair<int, int>>{{3, 0x5000}, {3, kFactoryFirst}}));
}

TEST_F(FactoryDialogTest, UploadWritesTheFactoryBlock)
{
    open();
    std::vector<uint8_t> expected = simulator->image(kFactoryFirst, kFactoryCount);
    expected[26] = 0x09;  // Coef 50% 2.5: 2500 thousandths
    expected[27] = 0xC4;
    type(1202, "2.5");
    prompts.answerNext(BoxAnswer::Yes);
    dialog->sendCommand(1036);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(requests(), (std::vector<std::pair<int, int>>{{16, kFactoryFirst}, {3, kFactoryFirst}})) << "written, read back";
    ASSERT_EQ(simulator->requests().size(), 2u);
    EXPECT_EQ(simulator->requests()[0].bytes.at(5), kFactoryCount);
    EXPECT_EQ(simulator->image(kFactoryFirst, kFactoryCount), expected);
    EXPECT_FALSE(state.catalogue.read) << "the new block may have changed the probes";
}

TEST_F(FactoryDialogTest, CaptionAndLabelsFollowTheLanguage)
{
    const struct {
        int32_t language;
        const char* caption;
        const char* linearisation;
    } cases[] = {{kFrench, "Reglage Usine", "Linéarisation"}, {kEnglish, "Factory Settings", "Linearization"}};
    for (const auto& c : cases) {
        state.settings.language = c.language;
        open();
        EXPECT_EQ(dialog->windowTitle().toStdString(), c.caption);
        EXPECT_EQ(text(1446), c.linearisation);
    }
}

TEST_F(FactoryDialogTest, CompareNamesTheValuesThatDiffer)
{
    state.settings.spreadsheetPath = "/usr/bin/localc";
    open();
    prompts.chooseNextFile(dir.file("site"));
    dialog->sendCommand(1035);  // SAVEDISK
    const std::string file = dir.file("site.rus");
    ASSERT_EQ(fileBytes(file).size(), 50u);

    setInstrument({{0, 1}, {26, 0x04}, {27, 0xE2}});  // Simulation, Coef 50% 1.250
    open();
    prompts.chooseNextFile(file);
    dialog->sendCommand(1198);
    const std::string report = dir.file("Ecart.prn");
    EXPECT_EQ(state.file.currentFilePath, report);
    EXPECT_EQ(started, (std::vector<std::string>{"/usr/bin/localc", report}));
    EXPECT_TRUE(prompts.boxes().empty());
    const std::string header = "Nom\tValeur Unit\xE9\tValeur Fichier\n";
    const std::string content = fileText(report);
    const size_t at = content.find(header);
    ASSERT_NE(at, std::string::npos) << content;
    EXPECT_EQ(content.substr(at + header.size()), "Coef 50%\t1.250\t1.000\n"
                                                  "Fonction\tSimulation\tMesure\n");
    EXPECT_EQ(state.record.factory.coef50, 1.25f) << "the record holds the instrument's values again";
}

TEST_F(FactoryDialogTest, ComparisonIsStillOfferedAfterAComparison)
{
    open();
    prompts.chooseNextFile(dir.file("site"));
    dialog->sendCommand(1035);
    setInstrument({{26, 0x04}, {27, 0xE2}});  // Coef 50% 1.250 on the instrument, 1.000 in the file
    open();
    prompts.chooseNextFile(dir.file("site.rus"));
    dialog->sendCommand(1198);
    type(1202, "1.25");
    EXPECT_TRUE(visible(1198)) << "the instrument's value, retyped, is still unchanged";
    type(1202, "1");
    EXPECT_FALSE(visible(1198)) << "the file's value is not the instrument's";
}
