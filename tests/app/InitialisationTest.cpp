// The initialisation against the simulated instrument: its dialog driven once it
// shows, the writes it makes at address 0, their order and the pauses between them.
#include "DialogFixture.h"
#include "Initialisation.h"
#include "QtPrompts.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace vantor;
using sim::Fault;

namespace {

constexpr uint16_t kClock = 0x2301, kResets = 0x2306, kCalibration = 0x1100, kFactory = 0x2200, kCan = 0x111C,
                   kMaker = 0x3000;

const std::vector<uint8_t> kDefaultCalibration = {
    0x01, 0x00, 0x01, 0x05, 0x04, 0x00, 0x04, 0x1F, 0x00, 0x0B, 0x0C, 0x00, 0x07, 0xD0, 0x01, 0x0C,
    0x00, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x0A, 0x06, 0x00, 0x09, 0x00, 0x05, 0xDC, 0x00, 0xC8, 0x00,
    0x05, 0x00, 0x0A, 0x00, 0x00, 0x64, 0x01, 0x05, 0x00, 0x00, 0x00, 0x00, 0x03, 0xE8, 0x00, 0x03,
    0xE8, 0x03, 0x00, 0x00, 0x00, 0x01, 0x01, 0x01};
const std::vector<uint8_t> kDefaultFactory = {
    0x00, 0x01, 0x86, 0xA0, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03,
    0x03, 0xE8, 0x03, 0xE8, 0x03, 0xE8, 0x03, 0xE8, 0x03, 0xE8, 0x03, 0xE8, 0x03, 0xE8, 0x03, 0xE8,
    0x03, 0xE8, 0x03, 0xE8, 0x03, 0xE8, 0x0A, 0x50, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00};
const std::vector<uint8_t> kDefaultCan = {0x02, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
const std::vector<uint8_t> kDefaultMaker = {0x01, 0x5E, 0x00, 0x01, 0x00, 0x00, 0x2A, 0xF8, 0xD6, 0xD8};

class InitialisationTest : public test::DialogFixture {
protected:
    InitialisationTest()
    {
        state.settings.link.jbusAddress = 12;
        // Blocks unlike their defaults, so that a default written shows.
        simulator->setImage(kCalibration, std::vector<uint8_t>(56, 0x11));
        simulator->setImage(kFactory, std::vector<uint8_t>(48, 0x22));
        simulator->setImage(kCan, std::vector<uint8_t>(8, 0x33));
        simulator->setImage(kMaker, std::vector<uint8_t>(10, 0x44));
    }

    // Runs the command; `answer` acts on its dialog once it shows, `confirmation`
    // answers the question of what is erased. A dialog
    // the answer leaves open is noted, then closed as No would.
    void run(const std::function<void(TemplateDialog&)>& answer, BoxAnswer confirmation = BoxAnswer::Yes)
    {
        QTimer::singleShot(0, &timers, [this, answer] {
            auto* dialog = qobject_cast<TemplateDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shown = true;
            caption = dialog->windowTitle().toStdString();
            addressWhileOpen = state.settings.link.jbusAddress;
            for (int id : {1283, 1284, 1285})
                tickedAtStart.push_back(dialog->control<QCheckBox>(id)->isChecked());
            answer(*dialog);
            leftOpen = dialog->isVisible();
            if (leftOpen)
                dialog->reject();
        });
        prompts.answerNext(confirmation);  // the confirmation of what is erased
        runInitialisation(context, nullptr);
    }

    static void click(TemplateDialog& dialog, int id) { dialog.control<QAbstractButton>(id)->click(); }
    static void untickAll(TemplateDialog& dialog)
    {
        for (int id : {1283, 1284, 1285})
            click(dialog, id);
    }

    std::vector<sim::HeardRequest> writes() const
    {
        std::vector<sim::HeardRequest> out;
        for (const auto& r : simulator->requests())
            if (r.bytes.at(1) == 16)
                out.push_back(r);
        return out;
    }
    static std::vector<int> registersOf(const std::vector<sim::HeardRequest>& frames)
    {
        std::vector<int> out;
        for (const auto& r : frames)
            out.push_back((r.bytes.at(2) << 8) | r.bytes.at(3));
        return out;
    }
    // Every write waited for the instrument before the next one.
    static void expectPauses(const std::vector<sim::HeardRequest>& frames)
    {
        for (size_t i = 1; i < frames.size(); ++i) {
            const int64_t gap = frames[i].atMs - frames[i - 1].atMs;
            EXPECT_GE(gap, 590) << "before write " << i;
            EXPECT_LT(gap, 1500) << "before write " << i;
        }
    }
    void expectSuccessBox(const char* text, const char* boxCaption)
    {
        ASSERT_EQ(prompts.boxes().size(), 2u);
        EXPECT_EQ(prompts.boxes()[1].caption, boxCaption);
        EXPECT_EQ(prompts.boxes()[1].text, text);
        EXPECT_EQ(prompts.boxes()[1].icon, BoxIcon::Information);
    }

    QObject timers;
    bool shown = false, leftOpen = false;
    std::string caption;
    float addressWhileOpen = -1;
    std::vector<bool> tickedAtStart;
};

}  // namespace

TEST_F(InitialisationTest, EveryBlockWithPausesAtAddressZero)
{
    state.initialisation = {0, 0, 0};  // an earlier run's choice does not carry over
    run([](TemplateDialog& d) { click(d, 1280); });
    ASSERT_TRUE(shown);
    EXPECT_EQ(caption, "TELECHARGEMENT");
    EXPECT_EQ(tickedAtStart, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(addressWhileOpen, 0.0f);

    const auto frames = writes();
    EXPECT_EQ(registersOf(frames), (std::vector<int>{kClock, kResets, kCalibration, kFactory, kCan, kMaker}));
    for (const auto& r : simulator->requests())
        EXPECT_EQ(r.bytes.at(0), 0) << "every frame goes to address 0";
    expectPauses(frames);

    EXPECT_EQ(simulator->image(kCalibration, 28), kDefaultCalibration);
    EXPECT_EQ(simulator->image(kFactory, 24), kDefaultFactory);
    EXPECT_EQ(simulator->image(kCan, 4), kDefaultCan);
    EXPECT_EQ(simulator->image(kMaker, 5), kDefaultMaker);
    EXPECT_EQ(simulator->reg(0x2306), 1);
    EXPECT_EQ(simulator->reg(0x2307), 1);
    expectSuccessBox("Téléchargement réussi", "TELECHARGEMENT");
    EXPECT_EQ(state.settings.link.jbusAddress, 12.0f) << "the configured address comes back";
}

TEST_F(InitialisationTest, OnlyTheMakerBlock)
{
    run([](TemplateDialog& d) {
        click(d, 1283);
        click(d, 1284);
        click(d, 1280);
    });
    const auto frames = writes();
    EXPECT_EQ(registersOf(frames), (std::vector<int>{kClock, kResets, kMaker}));
    expectPauses(frames);
    EXPECT_EQ(simulator->image(kMaker, 5), kDefaultMaker);
    EXPECT_EQ(simulator->image(kCan, 4), std::vector<uint8_t>(8, 0x33)) << "the CAN block goes with the calibration";
}

TEST_F(InitialisationTest, NoBlockStillSetsTheClockAndResetsBothTotalizers)
{
    state.settings.language = kEnglish;
    run([](TemplateDialog& d) {
        untickAll(d);
        click(d, 1280);
    });
    const auto frames = writes();
    EXPECT_EQ(registersOf(frames), (std::vector<int>{kClock, kResets}));
    expectPauses(frames);
    EXPECT_EQ(simulator->reg(0x2306), 1);
    EXPECT_EQ(simulator->reg(0x2307), 1);
    expectSuccessBox("Upload successful", "UPLOAD");
}

TEST_F(InitialisationTest, EnterConfirmsAndEscapeDoesNothing)
{
    bool openAfterEscape = false;
    run([&openAfterEscape](TemplateDialog& d) {
        QTest::keyClick(&d, Qt::Key_Escape);
        openAfterEscape = d.isVisible();
        untickAll(d);
        QTest::keyClick(&d, Qt::Key_Return);
    });
    EXPECT_TRUE(openAfterEscape);
    EXPECT_FALSE(leftOpen) << "Enter acts as Yes";
    EXPECT_EQ(registersOf(writes()), (std::vector<int>{kClock, kResets}));
}

TEST_F(InitialisationTest, NoWritesNothing)
{
    run([](TemplateDialog& d) { click(d, 1281); });
    ASSERT_TRUE(shown);
    EXPECT_FALSE(leftOpen);
    EXPECT_TRUE(simulator->requests().empty());
    EXPECT_TRUE(prompts.boxes().empty());
    EXPECT_EQ(state.settings.link.jbusAddress, 12.0f);
}

TEST_F(InitialisationTest, SilentInstrumentStopsAtTheClock)
{
    state.catalogue.read = true;  // the clock write is the first frame sent
    simulator->injectFault(Fault::Silence, 20);
    run([](TemplateDialog& d) { click(d, 1280); });
    EXPECT_EQ(registersOf(simulator->requests()), (std::vector<int>{kClock, kClock, kClock}))
        << "three attempts at the clock, nothing after";
    ASSERT_EQ(prompts.boxes().size(), 2u);
    EXPECT_EQ(prompts.boxes()[1].caption, "TELECHARGEMENT");
    EXPECT_EQ(prompts.boxes()[1].text, "Téléchargement a échoué");
    EXPECT_EQ(prompts.boxes()[1].icon, BoxIcon::Error);
    EXPECT_EQ(state.settings.link.jbusAddress, 12.0f);
}

TEST_F(InitialisationTest, TheConfirmationNamesWhatIsErasedInTheLanguage)
{
    const struct {
        int language;
        const char* caption;
        const char* text;
    } cases[] = {
        {kFrench, "INITIALISATION",
         "L'initialisation va effacer dans l'unité :\n- l'étalonnage et le réglage CAN (valeurs par défaut)\n"
         "- le réglage HYDROMAST (valeurs par défaut)\n- les deux totalisateurs (remis à zéro)\n"
         "- son heure (mise à l'heure du PC)\n\nContinuer ?"},
        {kEnglish, "INITIALIZATION",
         "The initialization will erase in the unit:\n- the configuration and the CAN settings (default values)\n"
         "- the HYDROMAST settings (default values)\n- both totalizers (reset to zero)\n"
         "- its clock (set to the PC's time)\n\nContinue?"},
    };
    for (const auto& c : cases) {
        prompts.clear();
        state.settings.language = c.language;
        run([](TemplateDialog& d) {
            click(d, 1284);  // the factory block stays
            click(d, 1280);
        }, BoxAnswer::No);
        ASSERT_FALSE(prompts.boxes().empty());
        EXPECT_EQ(prompts.boxes()[0].caption, c.caption);
        EXPECT_EQ(prompts.boxes()[0].text, c.text);
        EXPECT_EQ(prompts.boxes()[0].buttons, BoxButtons::YesNoDefaultNo);
        EXPECT_TRUE(simulator->requests().empty()) << "No writes nothing";
    }
}

TEST_F(InitialisationTest, EnterOnTheConfirmationChangesNothing)
{
    QtPrompts boxes;
    DialogContext onScreen{state, link, boxes};
    onScreen.now = context.now;
    const std::vector<uint8_t> calibration = simulator->image(kCalibration, 28);
    // Enter on the dialog (Yes, its default), then Enter on the confirmation.
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
    EXPECT_EQ(simulator->image(kCalibration, 28), calibration);
}

TEST_F(InitialisationTest, ClockIsWrittenFromTheGivenTime)
{
    state.settings.link.jbusAddress = 0;
    int pauses = 0;
    const LocalDateTime when{2001, 3, 1, 14, 5, 9};
    EXPECT_EQ(initialiseUnit(link, InitialisationChoice{}, when, [&pauses] { ++pauses; }), 0);
    EXPECT_EQ(simulator->image(kClock, 3), (std::vector<uint8_t>{1, 3, 1, 14, 5, 9}));
    EXPECT_EQ(pauses, 5) << "one before every write after the first";
}
