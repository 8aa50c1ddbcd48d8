// The calibration dialog against the simulated instrument, driven by control id.
#include "CalibrationDialog.h"
#include "DialogFixture.h"
#include "SettingsFiles.h"

#include <QCheckBox>
#include <QLineEdit>

using namespace vantor;

namespace {

class CalibrationDialogTest : public test::OpenDialogFixture<CalibrationDialog> {
protected:
    // Reading the probe names would take the line a quarter second.
    CalibrationDialogTest() { link.markProbeCatalogueRead(); }
    void tick(int id) { dialog->control<QCheckBox>(id)->click(); }
    std::vector<uint8_t> unitBytes() { return simulator->image(0x1100, 28); }
};

}  // namespace

// A number typed outside its limits is kept at the limit, and says so: the box
// is marked until its text changes, and the status line names the field.
TEST_F(CalibrationDialogTest, TypedNumbersAreHeldWithinTheirBoundsAndSaySo)
{
    const struct { int control; const char *typed, *shown, *status; } rows[] = {
        {1082, "1e9", "2200.0", "Diamètre Ext. : 1e9 ramené à 2200.0 (maximum)"},
        {1074, "5000", "4000", "C0 : 5000 ramené à 4000 (maximum)"},
        {1074, "100", "200", "C0 : 100 ramené à 200 (minimum)"},
        {1121, "-5", "0.0", "QMax : -5 ramené à 0.0 (minimum)"},
        {1094, "-5", "-5.000", "QMax : -5 ramené à 0.0 (minimum)"},  // within: nothing new
    };
    open();
    const auto marked = [this](int id) { return !dialog->control<QLineEdit>(id)->styleSheet().isEmpty(); };
    for (const auto& row : rows) {
        type(row.control, row.typed);
        EXPECT_EQ(text(row.control), row.shown) << row.control << ": " << row.typed;
        EXPECT_EQ(status, row.status) << row.control << ": " << row.typed;
        EXPECT_EQ(marked(row.control), row.control != 1094) << row.control << ": " << row.typed;
    }
    EXPECT_EQ(state.record.calibration.c0, 200.0f);
    EXPECT_EQ(statusLine.text(kEnglish), "MaxQ: -5 brought to 0.0 (minimum)");
    EXPECT_TRUE(marked(1082) && marked(1074) && marked(1121)) << "still marked once other fields were left";
    EXPECT_FALSE(marked(1094));
    EXPECT_EQ(dialog->control(1074)->toolTip().toStdString(), "C0 : 100 ramené à 200 (minimum)");
    type(1082, "123.4");
    EXPECT_FALSE(marked(1082));
    EXPECT_TRUE(dialog->control(1082)->toolTip().isEmpty());
    // The gain's label follows its type: the field is named as it reads.
    test::choose(combo(1055), 1);
    type(1056, "500");
    EXPECT_EQ(status, "Marge : 500 ramené à 80 (maximum)");
}

// The clock first, the instrument given time after each write, then the block,
// read back to check it.
TEST_F(CalibrationDialogTest, UploadWithTheClockAndATotalizerReset)
{
    locale.decimalSeparator = ",";
    open();
    type(1082, "123,4");  // a decimal comma in French
    EXPECT_EQ(text(1082), "123.4");
    tick(1135);
    tick(1145);
    upload();
    EXPECT_EQ(dialog->result(), QDialog::Accepted) << "a successful upload closes the dialog";
    EXPECT_EQ(requests(), (std::vector<std::pair<int, int>>{{16, 0x2301}, {16, 0x2306}, {16, 0x1100}, {3, 0x1100}}));
    const auto frames = simulator->requests();
    for (size_t i = 1; i < 3; ++i)
        EXPECT_GE(frames[i].atMs - frames[i - 1].atMs, 590) << "before write " << i;
    EXPECT_EQ(simulator->image(0x2301, 3), (std::vector<uint8_t>{24, 3, 5, 14, 7, 9}));
    EXPECT_EQ(simulator->image(0x2306, 2), (std::vector<uint8_t>{0, 0, 0, 1})) << "the second totalizer reset";
    EXPECT_EQ(simulator->image(0x1100, 2), (std::vector<uint8_t>{0x01, 0x00, 0x04, 0xD2}));  // 1234 tenths
    EXPECT_FALSE(dialog->control<QCheckBox>(1135)->isChecked()) << "the options are for one upload";
    EXPECT_EQ(status, "Téléchargé et vérifié à 14:07:09 — Com1, 9600 bauds, adresse 1");
}

TEST_F(CalibrationDialogTest, AValueTheUnitDidNotTakeIsNamedAndTheDialogStays)
{
    open();
    // From here on the unit acknowledges its first write without storing it.
    simulator = std::make_unique<sim::Simulator>(std::vector<std::string>{dir.file("deaf")},
                                                 sim::SimOptions{.turnaroundMs = 2, .ignoredWrites = 1});
    serial.setDevicePath(0, simulator->path(0));
    type(1082, "123.4");
    upload();
    ASSERT_EQ(prompts.boxes().size(), 2u);
    EXPECT_EQ(prompts.boxes()[1].text, "L'unité ne contient pas ce qui a été envoyé :\nDiamètre Ext.\n")
        << "named as the dialog names it";
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(status, "Téléchargé à 14:07:09, mais l'unité ne garde pas toutes les valeurs — Com1, 9600 bauds, adresse 1");
}

// A settings file made for another unit would re-address this one: asked first, No by default.
TEST_F(CalibrationDialogTest, AFileThatMovesTheUnitIsUploadedOnlyOnceAskedByName)
{
    std::vector<uint8_t> image = unitBytes();
    image[53] = 5;  // the Jbus address
    const std::string file = dir.file("other unit.eta");
    ASSERT_EQ(writeSettingsFile(file, image), FileStatus::Ok);
    state.file = {true, file};
    state.settings.language = kEnglish;
    open();
    dialog->sendCommand(1036);  // TRANSFERT, answered No
    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_EQ(prompts.boxes()[0].text, "The file sets the unit's Jbus address from 1 to 5. Upload?");
    EXPECT_EQ(prompts.boxes()[0].buttons, BoxButtons::YesNoDefaultNo);
    EXPECT_TRUE(simulator->requests().empty());
    upload();
    EXPECT_EQ(simulator->address(), 5);
    EXPECT_EQ(requests(), (std::vector<std::pair<int, int>>{{16, 0x1100}, {3, 0x1100}}));
    EXPECT_EQ(simulator->requests()[1].bytes[0], 5) << "read back at the new address";
    EXPECT_EQ(state.settings.link.jbusAddress, 5.0f) << "the program follows the unit";
    EXPECT_EQ(status, "Uploaded and checked at 14:07:09: the unit now answers at address 5");
    // The same address as configured asks the plain question.
    prompts.clear();
    image[53] = 5;
    ASSERT_EQ(writeSettingsFile(file, image), FileStatus::Ok);
    open();
    upload(BoxAnswer::No);
    EXPECT_EQ(prompts.boxes().at(0).text, "Upload to unit");
}

TEST_F(CalibrationDialogTest, AFailedUploadStopsAtTheFailedWriteAndSaysSo)
{
    state.settings.language = kEnglish;
    open();
    tick(1135);
    simulator->injectFault(sim::Fault::Exception, 3);
    upload();
    ASSERT_EQ(prompts.boxes().size(), 2u);
    EXPECT_EQ(prompts.boxes()[1].text, "Upload Failure");
    EXPECT_EQ(prompts.boxes()[1].icon, BoxIcon::Error);
    EXPECT_EQ(requests().size(), 3u) << "the clock write failed: nothing else was sent";
    EXPECT_EQ(status, "Upload failed: request refused by the instrument (exception 4: instrument fault) — Com1, 9600 baud, address 1");
    EXPECT_NE(dialog->result(), QDialog::Accepted) << "the dialog stays open";
}

TEST_F(CalibrationDialogTest, FieldsHoldingNoNumberSendAndSaveNothing)
{
    locale.decimalSeparator = ",";
    for (const char* typed : {"abc", "", "1,2,3"}) {
        open();
        prompts.clear();
        type(1121, typed);  // QMax
        EXPECT_EQ(text(1121), typed) << "kept for the user to mend";
        upload();
        prompts.chooseNextFile(dir.file("unit.eta"));
        dialog->sendCommand(1035);
        EXPECT_TRUE(requests().empty()) << typed;
        EXPECT_TRUE(prompts.fileRequests().empty()) << "no file is asked for: " << typed;
        ASSERT_EQ(prompts.boxes().size(), 2u) << typed;
        EXPECT_EQ(prompts.boxes()[0].text, "Ces champs ne contiennent pas un nombre ; rien n'est envoyé ni enregistré :\nQMax");
    }
}

TEST_F(CalibrationDialogTest, ClosingAChangedDialogAsksAndKeepsTheValuesOnNo)
{
    open();
    dialog->show();
    dialog->close();
    EXPECT_TRUE(prompts.boxes().empty()) << "unchanged: no question";

    open();
    dialog->show();
    type(1114, "0.5");
    dialog->close();  // the box is answered No, its default
    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_EQ(prompts.boxes()[0].buttons, BoxButtons::YesNoDefaultNo);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(text(1114), "0.50");
    prompts.answerNext(BoxAnswer::Yes);
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(requests().empty());
}
