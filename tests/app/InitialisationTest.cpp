// The initialisation against the simulated instrument: its dialog driven once it
// shows, the writes it makes at address 0, their order and the pauses between them.
#include "BlockTransfer.h"
#include "DialogFixture.h"
#include "Initialisation.h"
#include "QtPrompts.h"
#include "SettingsFiles.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace vantor;
using namespace vantor::test;

namespace {

constexpr int kClock = 0x2301, kResets = 0x2306, kCalibration = 0x1100, kFactory = 0x2200, kCan = 0x111C,
              kMaker = 0x3000;

class InitialisationTest : public DialogFixture {
protected:
    InitialisationTest()
    {
        state.settings.link.jbusAddress = 12;
        state.catalogue.read = true;  // the clock write is the first frame sent
        // Blocks unlike their defaults, so that a default written shows.
        simulator->setImage(kCalibration, std::vector<uint8_t>(56, 0x11));
        simulator->setImage(kFactory, std::vector<uint8_t>(48, 0x22));
        simulator->setImage(kCan, std::vector<uint8_t>(8, 0x33));
        simulator->setImage(kMaker, std::vector<uint8_t>(10, 0x44));
    }

    std::vector<int> writtenRegisters() const
    {
        std::vector<int> out;
        for (auto [function, first] : requests())
            if (function == 16)
                out.push_back(first);
        return out;
    }

    // A block's default image, as a new settings file holds it.
    std::vector<uint8_t> defaults(const FileType& type)
    {
        const std::string path = dir.file(std::string("new.") + type.extension);
        EXPECT_EQ(writeDefaultSettingsFile(path, type), FileStatus::Ok);
        std::vector<uint8_t> bytes = fileBytes(path);
        return {bytes.begin() + 2, bytes.end()};
    }

    QObject timers;
};

}  // namespace

TEST_F(InitialisationTest, WritesAtTheBroadcastAddressWithAPauseAfterTheClock)
{
    state.initialisation = {0, 0, 0};  // an earlier run's choice does not carry over
    float addressWhileOpen = -1;
    QTimer::singleShot(0, &timers, [&] {  // no block ticked
        auto* dialog = qobject_cast<TemplateDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        addressWhileOpen = state.settings.link.jbusAddress;
        for (int id : {1283, 1284, 1285}) {
            EXPECT_TRUE(dialog->control<QCheckBox>(id)->isChecked()) << "every block is offered ticked";
            dialog->control<QAbstractButton>(id)->click();
        }
        dialog->control<QAbstractButton>(1280)->click();
    });
    prompts.answerNext(BoxAnswer::Yes);  // the confirmation of what is erased
    runInitialisation(context, nullptr);
    EXPECT_EQ(addressWhileOpen, 12.0f) << "the settings keep the unit's address: only the frames go to 0";
    EXPECT_EQ(writtenRegisters(), (std::vector<int>{kClock, kResets})) << "the clock and both totalizers, always";
    const auto frames = simulator->requests();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].bytes.at(0) + frames[1].bytes.at(0), 0) << "every frame goes to address 0";
    EXPECT_GE(frames[1].atMs - frames[0].atMs, 590);
    EXPECT_EQ(simulator->image(kClock, 3), (std::vector<uint8_t>{24, 3, 5, 14, 7, 9}));
    EXPECT_EQ(simulator->image(kResets, 2), (std::vector<uint8_t>{0, 1, 0, 1}));
    EXPECT_EQ(prompts.boxes().at(1).text, "Téléchargement réussi");
    EXPECT_EQ(state.settings.link.jbusAddress, 12.0f) << "the configured address stays";
}

// The writes themselves, with the pauses counted instead of waited.
TEST_F(InitialisationTest, ChosenBlocksGetTheirDefaultsAndTheCanBlockGoesWithTheCalibration)
{
    const struct { InitialisationChoice choice; std::vector<int> written; } rows[] = {
        {{1, 0, 0}, {kClock, kResets, kCalibration, kCan}},
        {{0, 1, 1}, {kClock, kResets, kFactory, kMaker}},
    };
    for (const auto& row : rows) {
        simulator->clearRequests();
        int pauses = 0;
        const InitialisationResult result = initialiseUnit(link, 0, row.choice, {2024, 3, 5, 14, 7, 9}, [&pauses] { ++pauses; });
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.calibrationWritten, row.choice.calibration != 0);
        EXPECT_EQ(writtenRegisters(), row.written);
        EXPECT_EQ(pauses, static_cast<int>(row.written.size()) - 1) << "one before every write after the first";
    }
    EXPECT_EQ(simulator->image(kCalibration, 28), defaults(filetypes::kCalibration));
    EXPECT_EQ(simulator->image(kFactory, 24), defaults(filetypes::kFactory));
    EXPECT_EQ(simulator->image(kCan, 4), defaults(filetypes::kCan));
    EXPECT_EQ(simulator->image(kMaker, 5), defaults(filetypes::kMaker));
}

TEST_F(InitialisationTest, StopsAtTheFirstWriteTheInstrumentDoesNotTake)
{
    int pauses = 0;
    const auto refuseTheCalibration = [&] {
        if (++pauses == 2)
            simulator->injectFault(sim::Fault::Exception, 3);
    };
    const InitialisationResult result = initialiseUnit(link, 0, {1, 1, 1}, {2024, 3, 5, 14, 7, 9}, refuseTheCalibration);
    EXPECT_EQ(result.status, -1);
    EXPECT_FALSE(result.calibrationWritten);
    EXPECT_EQ(writtenRegisters(), (std::vector<int>{kClock, kResets, kCalibration, kCalibration, kCalibration}));
    // The factory block refused after the calibration went: the unit has its default address all the same.
    int before = 0;  // the pauses before the resets, the calibration, then the factory block
    const auto refuseTheFactory = [&] {
        if (++before == 3)
            simulator->injectFault(sim::Fault::Exception, 3);
    };
    EXPECT_TRUE(initialiseUnit(link, 0, {1, 1, 1}, {2024, 3, 5, 14, 7, 9}, refuseTheFactory).calibrationWritten);
}

// The default calibration block holds the default address: the program follows
// the unit there and keeps it, and the next read finds the unit.
TEST_F(InitialisationTest, AfterTheCalibrationBlockTheProgramTalksToTheUnitAtItsDefaultAddress)
{
    state.settings.link.jbusAddress = 5;
    simulator->setImage(kCalibration + 26, {0, 5});
    QTimer::singleShot(0, &timers, [&] {  // the configuration alone
        auto* dialog = qobject_cast<TemplateDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        for (int id : {1284, 1285})
            dialog->control<QAbstractButton>(id)->click();
        dialog->control<QAbstractButton>(1280)->click();
    });
    prompts.answerNext(BoxAnswer::Yes);
    runInitialisation(context, nullptr);
    EXPECT_EQ(writtenRegisters(), (std::vector<int>{kClock, kResets, kCalibration, kCan}));
    EXPECT_EQ(state.settings.link.jbusAddress, 1.0f);
    EXPECT_EQ(statusLine.text(kFrench), "Initialisation faite à 14:07:09 : l'unité répond maintenant à l'adresse 1");
    EXPECT_EQ(statusLine.text(kEnglish), "Initialised at 14:07:09: the unit now answers at address 1");
    std::vector<uint8_t> image(56);
    EXPECT_EQ(readBlockImage(link, kCalibrationBlock, image), 0) << "the next read finds the unit";
}

// Enter on the dialog (Yes, its default), then Enter on the real confirmation box.
TEST_F(InitialisationTest, EnterOnTheConfirmationChangesNothing)
{
    QtPrompts boxes;
    DialogContext onScreen{state, link, boxes};
    onScreen.now = context.now;
    bool confirmationShown = false;
    std::function<void()> pressEnter = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            confirmationShown = true;
            QTest::keyClick(box, Qt::Key_Return);
            return;
        }
        if (modal)
            QTest::keyClick(modal, Qt::Key_Return);
        QTimer::singleShot(10, &timers, pressEnter);
    };
    QTimer::singleShot(0, &timers, pressEnter);
    runInitialisation(onScreen, nullptr);
    EXPECT_TRUE(confirmationShown);
    EXPECT_TRUE(simulator->requests().empty());
}
