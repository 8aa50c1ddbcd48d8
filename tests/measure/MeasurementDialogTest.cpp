// The measurement dialog on the simulated instrument and on files, driven by control id.
#include "BlockTables.h"
#include "DialogFixture.h"
#include "GroupFrame.h"
#include "MeasurementDialog.h"
#include "MeasurementFrames.h"
#include "TrendChart.h"
#include "ValueCodec.h"

#include <QGroupBox>
#include <QStyleFactory>
#include <QTest>

#include <cmath>

using namespace vantor;
using sim::Fault;

namespace {

class MeasurementDialogTest : public test::OpenDialogFixture<MeasurementDialog> {
protected:
    // Only the probe's angle needs the names read; that takes the line a quarter second.
    MeasurementDialogTest() { link.markProbeCatalogueRead(); }
    // The instrument holds this measurement still; `patch` changes bytes of its image.
    void hold(const MeasurementValues& values, const std::vector<std::pair<int, uint8_t>>& patch = {})
    {
        std::vector<uint8_t> image(kMeasurementBlock.imageSize());
        encodeImage(kMeasurementTable, values, std::span<uint8_t>(image));
        for (auto [at, byte] : patch)
            image[static_cast<size_t>(at)] = byte;
        simulator->holdImage(kMeasurementBlock.firstRegister, image);
    }
    static MeasurementValues flowing(float flow) { return [&] { auto v = test::example(); v.flow = flow; return v; }(); }
    void record(const std::string& name)
    {
        prompts.chooseNextFile(dir.file(name));
        dialog->sendCommand(1035);  // SAVEDISK
    }
    size_t fileSize(const std::string& name) { return fileBytes(dir.file(name)).size(); }
};

}  // namespace

TEST_F(MeasurementDialogTest, APollShowsTheValuesAsMeasuredWithinTheirBounds)
{
    state.catalogue.read = false;
    open();
    MeasurementValues v = test::example();
    v.flow = 12345678, v.velocity = -5, v.deltaT = -3.5f, v.totalizer1 = 42, v.totalizer2 = -42;
    v.flowUnit = 5, v.model = 4, v.hardware = 1;
    v.probeIndex = 2;  // no angle
    // Sign modes in byte 16, units in byte 17: T1 in the high nibble, T2 in the low.
    std::vector<std::pair<int, uint8_t>> patch = {{16, 0x12}, {17, 0x53}};
    for (char c : std::string("V1.23 ABCDEF"))  // twelve characters, the hardware byte right after
        patch.emplace_back(56 + static_cast<int>(patch.size()) - 2, static_cast<uint8_t>(c));
    hold(v, patch);
    dialog->poll();
    const std::pair<int, const char*> shown[] = {
        {1027, "999999"},   {1031, "0"},         {1022, "-3.5"},     {1012, "000000042"}, {1016, "-00000042"},
        {1014, "(+)"},      {1018, "(-)"},       {1015, "1m3"},      {1019, "10l"},       {1034, "m3/j"},
        {1040, "*****"},    {1044, "Vantor-K"},  {1042, "V1.23 ABCDEF"}, {1005, "06/12/2026 15:07:09"},
        {1026, "Débit"},
    };
    for (auto [id, expected] : shown)
        EXPECT_EQ(text(id), expected) << "control " << id;
    EXPECT_FALSE(visible(1008)) << "D. Probe only for an angled probe";
    EXPECT_EQ(dialog->flowHistory().back(), 9999999.0f) << "the clamped flow enters the history";

    v.flow = -20;
    v.probeIndex = 8;  // angled in the instrument's catalogue
    hold(v);
    dialog->poll();
    EXPECT_TRUE(visible(1008));
    EXPECT_EQ(dialog->flowHistory()[198], 9999999.0f);
    const TrendChartArgs& chart = dialog->chart()->chart();
    EXPECT_EQ(chart.values.back(), -20.0f);
    EXPECT_EQ(std::pair(chart.bottom, chart.top), std::pair(-10.0f, 10.0f)) << "full scale from the calibration's QMax";
}

// Each good poll adds its reply frame to the recording; a failed one changes
// neither the values, the chart nor the file; a new recording replaces the file.
TEST_F(MeasurementDialogTest, ARecordingKeepsTheGoodPollsAndANewOneReplacesTheFile)
{
    open();
    record("run");
    hold(flowing(3));
    dialog->poll();
    dialog->poll();
    const auto history = dialog->flowHistory();
    const std::string flow = text(1027);
    hold(flowing(7));
    simulator->injectFault(Fault::Exception, 3);
    dialog->poll();
    EXPECT_EQ(text(1027), flow);
    EXPECT_EQ(dialog->flowHistory(), history);
    EXPECT_EQ(dialog->chart()->chart().values.back(), 3.0f);
    EXPECT_EQ(fileSize("run.mes"), 2u + 2 * 77) << "the record length, then the two good replies";

    dialog->sendCommand(1032);  // ARRETDISK
    dialog->poll();
    EXPECT_EQ(fileSize("run.mes"), 2u + 2 * 77) << "stopped";
    record("run.mes");
    dialog->poll();
    EXPECT_EQ(text(1006), "Enregistrement n° 1");
    EXPECT_EQ(fileSize("run.mes"), 2u + 77);
}

// The calibration read fails and the measurement's succeeds: the poll fails
// for the calibration's reason, then polling resumes and says so once.
TEST_F(MeasurementDialogTest, WithoutTheCalibrationThePollFailsForItsReason)
{
    state.settings.language = kEnglish;
    open();
    simulator->injectFault(Fault::Exception, 3);
    dialog->poll();
    EXPECT_EQ(text(1006), "Communication Failure: request refused by the instrument (exception 4: instrument fault) \u2014 Com1, 9600 baud, address 1");
    dialog->poll();
    EXPECT_EQ(text(1006), "");
    EXPECT_EQ(status, "Measuring since 14:07:09 \u2014 Com1, 9600 baud, address 1");
}

// A unit with no full scale (QMax 0) gets one from the flows shown.
TEST_F(MeasurementDialogTest, WithoutAQMaxTheChartTakesItsScaleFromTheFlows)
{
    std::vector<uint8_t> calibration = simulator->image(0x1100, 28);
    calibration[35] = calibration[36] = calibration[37] = 0;  // QMax
    simulator->setImage(0x1100, calibration);
    open();
    hold(flowing(0));
    dialog->poll();
    const TrendChartArgs& chart = dialog->chart()->chart();
    EXPECT_EQ(std::pair(chart.bottom, chart.top), std::pair(-1.0f, 1.0f)) << "no flow yet";
    hold(flowing(-3.2f));
    dialog->poll();
    EXPECT_EQ(std::pair(chart.bottomLabel, chart.topLabel), std::pair(-5.0f, 5.0f));
}

// Values that stopped coming are greyed until a poll brings them again, and
// closing the window says on the status line how the measurement ended.
TEST_F(MeasurementDialogTest, FailedPollsGreyTheValuesAndClosingSaysHowItEnded)
{
    open();
    const auto live = [this] {
        return dialog->control(1027)->isEnabled() && dialog->control(1034)->isEnabled() &&
               dialog->control(1005)->isEnabled() && dialog->control(1015)->isEnabled();
    };
    dialog->poll();
    EXPECT_TRUE(live());
    simulator->injectFault(Fault::Silence, 3);
    dialog->poll();
    EXPECT_FALSE(dialog->control(1027)->isEnabled() || dialog->control(1034)->isEnabled() ||
                 dialog->control(1005)->isEnabled() || dialog->control(1015)->isEnabled());
    dialog->poll();
    EXPECT_TRUE(live());
    dialog->reject();
    EXPECT_EQ(status, "Mesure arrêtée à 14:07:09, 2 relevés, 1 échec \u2014 Com1, 9600 bauds, adresse 1");
    EXPECT_EQ(statusLine.text(kEnglish), "Measurement stopped at 14:07:09, 2 readings, 1 failed \u2014 Com1, 9600 baud, address 1");
}

TEST_F(MeasurementDialogTest, ReplayNumbersTheRecordsAndCentresTheCurrentOne)
{
    state.file.fileMode = true;
    state.file.currentFilePath = dir.file("replay.mes");
    test::writeBytes(state.file.currentFilePath, test::lengthWord(77) + test::frame(flowing(1)) +
                                                     test::frame(flowing(2)) + test::frame(flowing(3)));
    open();
    EXPECT_EQ(text(1006), "Nbre d'Enregistrement=3  N° d'Enregistrement=1");
    EXPECT_EQ(text(1027), "1.000");
    QTest::keyClick(dialog.get(), Qt::Key_PageUp);
    EXPECT_EQ(text(1027), "1.000") << "Page Up on the first record stays there";
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(dialog.get(), Qt::Key_PageDown);
    EXPECT_EQ(text(1006), "Nbre d'Enregistrement=3  N° d'Enregistrement=3") << "Page Down stops on the last";
    EXPECT_EQ(text(1027), "3.000");

    // The records around the current one, which stands marked in the middle.
    const std::vector<float>& values = dialog->chart()->chart().values;
    ASSERT_EQ(values.size(), 200u);
    EXPECT_TRUE(std::isnan(values[97]) && std::isnan(values[101])) << "no record there";
    EXPECT_EQ(std::vector<float>(values.begin() + 98, values.begin() + 101), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(dialog->chart()->chart().markColumn, 100);
    dialog->sendCommand(1048);  // HOME
    const std::vector<float>& home = dialog->chart()->chart().values;
    EXPECT_EQ(std::vector<float>(home.begin() + 100, home.begin() + 103), (std::vector<float>{1, 2, 3}));
    EXPECT_TRUE(requests().empty()) << "no link traffic from a file";
}

// The group boxes keep a picture of their frame: it must look as the style
// draws it, follow a resize and a palette, and not be drawn again by a poll.
TEST_F(MeasurementDialogTest, GroupFramesLookAsTheStyleDrawsThemAndAPollRedrawsNone)
{
    const auto sameLook = [](QWidget& a, QWidget& b) {
        const QImage x = a.grab().toImage(), y = b.grab().toImage();
        bool same = x.size() == y.size();
        for (int row = 0; same && row < x.height(); ++row)
            for (int column = 0; same && column < x.width(); ++column) {
                const QColor p = x.pixelColor(column, row), q = y.pixelColor(column, row);
                // Blending through the picture may round a channel by one.
                same = std::abs(p.red() - q.red()) <= 1 && std::abs(p.green() - q.green()) <= 1 &&
                       std::abs(p.blue() - q.blue()) <= 1;
            }
        return same;
    };
    // Fusion draws the frame from an image; the Windows style from the palette.
    for (const char* styleName : {"Fusion", "Windows"}) {
        const std::unique_ptr<QStyle> style(QStyleFactory::create(styleName));
        GroupFrame kept("Totalisateurs");
        QGroupBox drawn("Totalisateurs");
        kept.setStyle(style.get()), drawn.setStyle(style.get());
        for (QSize size : {QSize(200, 60), QSize(120, 90)}) {
            kept.resize(size), drawn.resize(size);
            EXPECT_TRUE(sameLook(kept, drawn)) << styleName << ", " << size.width() << " x " << size.height();
        }
        QPalette dark = drawn.palette();
        dark.setColor(QPalette::Light, Qt::darkBlue), dark.setColor(QPalette::Dark, Qt::darkRed);
        kept.setPalette(dark), drawn.setPalette(dark);
        EXPECT_TRUE(sameLook(kept, drawn)) << styleName << ", another palette";
    }

    open();
    const auto framesDrawn = [&] {
        dialog->grab();
        int drawn = 0;
        for (const GroupFrame* frame : dialog->findChildren<GroupFrame*>())
            drawn += frame->framesDrawn();
        return drawn;
    };
    hold(flowing(3));
    dialog->poll();
    EXPECT_EQ(framesDrawn(), 5) << "the five group boxes, each drawn once";
    hold(flowing(4));
    dialog->poll();
    EXPECT_EQ(framesDrawn(), 5) << "a poll draws no frame again";
}
