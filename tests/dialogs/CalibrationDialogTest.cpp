// The calibration dialog against the simulated instrument, driven by control id.
#include "CalibrationDialog.h"
#include "DialogFixture.h"
#include "SettingsFiles.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPrinter>
#include <QTest>

using namespace vantor;
using sim::Fault;

namespace {

class CalibrationDialogTest : public test::OpenDialogFixture<CalibrationDialog> {
protected:
    void tick(int id)
    {
        dialog->control<QCheckBox>(id)->click();
    }
    // Changes bytes of the instrument's calibration block.
    void setInstrument(std::initializer_list<std::pair<int, uint8_t>> bytes)
    {
        simulator->withInstrument([&](sim::Instrument& unit) {
            std::vector<uint8_t> cal = unit.image(0x1100, 28);
            for (auto [at, value] : bytes)
                cal[at] = value;
            unit.setImage(0x1100, cal);
        });
    }
};

}  // namespace

TEST_F(CalibrationDialogTest, ShowsTheInstrumentsValues)
{
    setInstrument({{1, 0x00}, {2, 0x2E}, {3, 0xE0}, {4, 2}, {26, 1}, {49, 16}});
    state.settings.language = kEnglish;
    open();
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Settings");
    EXPECT_EQ(text(1082), "1200.0");
    EXPECT_EQ(combo(1120)->currentText().toStdString(), " l/h");
    EXPECT_EQ(combo(1054)->currentText().toStdString(), "DUAL-600") << "probe names come from the instrument";
    EXPECT_EQ(text(1410), "Ext. Diameter");
    EXPECT_TRUE(visible(1074)) << "C0 shows for a product other than water";
    EXPECT_TRUE(visible(1198)) << "the comparison is offered on the instrument's values";
    EXPECT_EQ(text(1011), "");
}

TEST_F(CalibrationDialogTest, FailedReadClosesWithoutAMessage)
{
    serial.setDevicePath(0, dir.file("nothing"));
    CalibrationDialog d(context, nullptr);
    EXPECT_FALSE(d.opening());
    EXPECT_EQ(d.run(), QDialog::Accepted) << "closes at once, as if confirmed";
    EXPECT_TRUE(prompts.boxes().empty());
}

TEST_F(CalibrationDialogTest, NumbersAreClampedOnFocusLoss)
{
    open();
    type(1082, "3000");
    EXPECT_EQ(text(1082), "2200.0");
    EXPECT_EQ(state.record.calibration.extDiameter, 2200.0f);
    type(1094, "-5");
    EXPECT_EQ(text(1094), "-5.000");
}

TEST_F(CalibrationDialogTest, VisibilityRules)
{
    open();
    // Probe 8 has an angle: no length or axial distance.
    test::choose(combo(1054), 8);
    EXPECT_FALSE(visible(1078));
    EXPECT_FALSE(visible(1070));
    test::choose(combo(1054), 2);
    EXPECT_TRUE(visible(1079));
    EXPECT_TRUE(visible(1071));

    test::choose(combo(1064), 0);
    EXPECT_FALSE(visible(1074));
    EXPECT_FALSE(visible(1073));
    test::choose(combo(1064), 1);
    EXPECT_TRUE(visible(1076));
    EXPECT_TRUE(visible(1072));

    test::choose(combo(1116), 1);  // manual Kh
    EXPECT_TRUE(visible(1117));
    EXPECT_FALSE(visible(1109));
    EXPECT_FALSE(visible(1115));
    test::choose(combo(1116), 0);
    EXPECT_FALSE(visible(1033));
    EXPECT_TRUE(visible(1107));
    EXPECT_TRUE(visible(1114));

    test::choose(combo(1131), 2);  // relay 1 on totalizer 2, relay 2 open
    test::choose(combo(1133), 0);
    EXPECT_TRUE(visible(1129));
    EXPECT_FALSE(visible(1140));
    test::choose(combo(1131), 5);  // both on flow alarm
    test::choose(combo(1133), 5);
    EXPECT_FALSE(visible(1128));
    EXPECT_TRUE(visible(1134));
    EXPECT_TRUE(visible(1142));

    test::choose(combo(1055), 0);
    EXPECT_EQ(text(1023), "Gain");
    test::choose(combo(1055), 1);
    EXPECT_EQ(text(1023), "Marge");
}

TEST_F(CalibrationDialogTest, ComparisonIsOfferedOnlyOnUnchangedValues)
{
    open();
    EXPECT_TRUE(visible(1198));
    type(1109, "2.5");
    EXPECT_FALSE(visible(1198));
    type(1109, "1.0");
    EXPECT_TRUE(visible(1198)) << "back to the instrument's value";
    test::choose(combo(1085), 3);
    EXPECT_FALSE(visible(1198));
    test::choose(combo(1085), 6);
    EXPECT_TRUE(visible(1198));
}

TEST_F(CalibrationDialogTest, UploadWithClockAndResetOptions)
{
    open();
    type(1082, "123.4");
    tick(1135);
    tick(1145);
    EXPECT_EQ(state.upload.syncClock, 1);
    prompts.answerNext(BoxAnswer::Yes);
    dialog->sendCommand(1036);  // TRANSFERT
    EXPECT_EQ(dialog->result(), QDialog::Accepted) << "a successful upload closes the dialog";
    EXPECT_EQ(requests(), (std::vector<std::pair<int, int>>{{16, 0x2301}, {16, 0x2306}, {16, 0x1100}, {3, 0x1100}}))
        << "the block is read back";
    EXPECT_EQ(simulator->reg(0x2301), 0x1803);
    EXPECT_EQ(simulator->reg(0x2302), 0x050E);
    EXPECT_EQ(simulator->reg(0x2303), 0x0709);
    EXPECT_EQ(simulator->reg(0x2306), 0);
    EXPECT_EQ(simulator->reg(0x2307), 1);
    EXPECT_EQ(simulator->image(0x1100, 2), (std::vector<uint8_t>{0x01, 0x00, 0x04, 0xD2}));  // 1234 tenths
    EXPECT_FALSE(dialog->control<QCheckBox>(1135)->isChecked());
    EXPECT_EQ(state.upload.resetTotalizer2, 0);
    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_EQ(prompts.boxes()[0].caption, "TELECHARGEMENT");
    EXPECT_EQ(prompts.boxes()[0].text, "Téléchargement vers Unité");
    EXPECT_EQ(prompts.boxes()[0].icon, BoxIcon::Question);
}

TEST_F(CalibrationDialogTest, UploadWithoutOptionsWritesOnlyTheBlock)
{
    open();
    prompts.answerNext(BoxAnswer::Yes);
    dialog->sendCommand(1036);
    EXPECT_EQ(requests(), (std::vector<std::pair<int, int>>{{16, 0x1100}, {3, 0x1100}}));
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
    prompts.answerNext(BoxAnswer::Yes);
    dialog->sendCommand(1036);
    ASSERT_EQ(prompts.boxes().size(), 2u);
    EXPECT_EQ(prompts.boxes()[1].text, "L'unité ne contient pas ce qui a été envoyé :\nExt. Diameter\n");
    EXPECT_EQ(prompts.boxes()[1].icon, BoxIcon::Error);
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(status, "Téléchargé à 14:07:09, mais l'unité ne garde pas toutes les valeurs — Com1, 9600 bauds, adresse 1");
}

TEST_F(CalibrationDialogTest, AnUploadThatMovesTheUnitReadsBackAtItsNewAddress)
{
    open();
    type(1146, "7");  // the unit's Jbus address
    prompts.answerNext(BoxAnswer::Yes);
    dialog->sendCommand(1036);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(state.settings.link.jbusAddress, 7.0f) << "the program follows the unit";
    ASSERT_EQ(simulator->requests().size(), 2u);
    EXPECT_EQ(simulator->requests()[1].bytes[0], 7) << "the read-back goes to the new address";
    EXPECT_EQ(status, "Téléchargé et vérifié à 14:07:09 : l'unité répond maintenant à l'adresse 7");
}

TEST_F(CalibrationDialogTest, DecliningSendsNothingAndUnticksTheBoxes)
{
    open();
    tick(1139);
    prompts.answerNext(BoxAnswer::No);
    dialog->sendCommand(1036);
    EXPECT_TRUE(requests().empty());
    EXPECT_FALSE(dialog->control<QCheckBox>(1139)->isChecked());
    EXPECT_EQ(state.upload.resetTotalizer1, 0);
    EXPECT_NE(dialog->result(), QDialog::Accepted);
}

TEST_F(CalibrationDialogTest, SilentInstrumentGivesTheFailureMessage)
{
    state.settings.language = kEnglish;
    open();
    tick(1135);
    simulator->injectFault(Fault::Silence, 3);
    prompts.answerNext(BoxAnswer::Yes);
    dialog->sendCommand(1036);
    ASSERT_EQ(prompts.boxes().size(), 2u);
    EXPECT_EQ(prompts.boxes()[1].caption, "UPLOAD");
    EXPECT_EQ(prompts.boxes()[1].text, "Upload Failure");
    EXPECT_EQ(prompts.boxes()[1].icon, BoxIcon::Error);
    EXPECT_EQ(requests().size(), 3u) << "the clock write failed: nothing else was sent";
    EXPECT_EQ(status, "Upload failed: no answer — Com1, 9600 baud, address 1");
    EXPECT_NE(dialog->result(), QDialog::Accepted) << "the dialog stays open";
}

TEST_F(CalibrationDialogTest, SaveAndReopenFromTheFile)
{
    open();
    type(1109, "12.5");
    test::choose(combo(1120), 7);
    prompts.chooseNextFile(dir.file("unit.txt"));
    dialog->sendCommand(1035);  // SAVEDISK
    const std::string path = dir.file("unit.eta");
    EXPECT_EQ(state.file.currentFilePath, path);
    EXPECT_EQ(text(1011), path);
    const std::vector<uint8_t> bytes = fileBytes(path);
    ASSERT_EQ(bytes.size(), 58u);
    EXPECT_EQ(bytes[0], 0x38);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes[2 + 4], 7);

    state.record.calibration = {};
    state.file.fileMode = true;
    CalibrationDialog reopened(context, nullptr);
    ASSERT_TRUE(reopened.opening());
    EXPECT_EQ(reopened.controlText(1109).toStdString(), "12.5");
    EXPECT_EQ(reopened.control<QComboBox>(1120)->currentIndex(), 7);
    EXPECT_EQ(reopened.controlText(1011).toStdString(), path);
    EXPECT_TRUE(reopened.control(1198)->isHidden()) << "no comparison from a file";
}

TEST_F(CalibrationDialogTest, FileThatCannotBeReadIsReportedAndCloses)
{
    state.file.fileMode = true;
    state.file.currentFilePath = dir.file("short.eta");
    std::ofstream(state.file.currentFilePath, std::ios::binary) << std::string("\x38\x00\x01\x02", 4);
    CalibrationDialog d(context, nullptr);
    EXPECT_FALSE(d.opening());
    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_EQ(prompts.boxes()[0].caption, "Fichier Etalonnage");
    EXPECT_EQ(prompts.boxes()[0].icon, BoxIcon::Error);
}

TEST_F(CalibrationDialogTest, KeysInsideTheDialog)
{
    int printers = 0;
    context.defaultPrinter = [&printers]() -> std::unique_ptr<QPrinter> {
        ++printers;
        return nullptr;  // no printer: a PDF is offered, and declined
    };
    open();
    dialog->show();
    QWidget* edit = dialog->control(1082);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Escape);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Enter);
    EXPECT_TRUE(dialog->isVisible()) << "Escape and Enter close nothing";
    EXPECT_TRUE(prompts.boxes().empty());
    EXPECT_TRUE(requests().empty()) << "and send nothing";

    QTest::keyClick(edit, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(printers, 1) << "Ctrl+P prints";
    QTest::keyClick(edit, Qt::Key_T, Qt::ControlModifier);
    ASSERT_EQ(prompts.boxes().size(), 1u) << "Ctrl+T asks to upload";
    EXPECT_EQ(prompts.boxes()[0].text, "Téléchargement vers Unité");
    EXPECT_TRUE(dialog->isVisible());
}

// Typed numbers, with the keyboard as the user types them.
class TypedNumbersTest : public CalibrationDialogTest {
protected:
    void typeKeys(int id, const char* typed)
    {
        auto* edit = dialog->control<QLineEdit>(id);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, typed);
        test::loseFocus(edit);
    }
    std::vector<uint8_t> calibrationBytes() { return simulator->image(0x1100, 28); }
};

TEST_F(TypedNumbersTest, FrenchDecimalCommaReachesTheUnit)
{
    locale.decimalSeparator = ",";
    open();
    typeKeys(1114, "0,25");  // Rugosité, in hundredths of a millimetre
    EXPECT_EQ(text(1114), "0.25");
    prompts.answerNext(BoxAnswer::Yes);
    dialog->sendCommand(1036);
    const std::vector<uint8_t> unit = calibrationBytes();
    EXPECT_EQ((std::vector<uint8_t>{unit[21], unit[22]}), (std::vector<uint8_t>{0x00, 25}));
}

TEST_F(TypedNumbersTest, FieldsHoldingNoNumberSendAndSaveNothing)
{
    locale.decimalSeparator = ",";
    for (const char* typed : {"abc", "", "1,2,3", "12abc"}) {
        open();
        const std::vector<uint8_t> before = calibrationBytes();
        prompts.clear();
        typeKeys(1121, typed);  // QMax
        EXPECT_EQ(text(1121), typed) << "kept for the user to mend";
        prompts.answerNext(BoxAnswer::Yes);
        dialog->sendCommand(1036);
        prompts.chooseNextFile(dir.file("unit.eta"));
        dialog->sendCommand(1035);
        EXPECT_TRUE(requests().empty()) << typed;
        EXPECT_EQ(calibrationBytes(), before);
        EXPECT_TRUE(prompts.fileRequests().empty()) << "no file is asked for: " << typed;
        ASSERT_EQ(prompts.boxes().size(), 2u) << typed;
        EXPECT_EQ(prompts.boxes()[0].text, "Ces champs ne contiennent pas un nombre ; rien n'est envoyé ni enregistré :\nQMax");
        EXPECT_NE(dialog->result(), QDialog::Accepted);
    }
}

TEST_F(TypedNumbersTest, ClosingAChangedDialogAsksAndKeepsTheValuesOnNo)
{
    open();
    dialog->show();
    dialog->close();
    EXPECT_TRUE(prompts.boxes().empty()) << "unchanged: no question";
    EXPECT_FALSE(dialog->isVisible());

    open();
    dialog->show();
    typeKeys(1114, "0.5");
    dialog->close();  // the box is answered No, its default
    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_EQ(prompts.boxes()[0].buttons, BoxButtons::YesNoDefaultNo);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(text(1114), "0.50");
    EXPECT_EQ(state.record.calibration.roughness, 0.5f);
    prompts.answerNext(BoxAnswer::Yes);
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(requests().empty());
}
