// The measurement dialog on the simulated instrument and on files, driven by control id.
#include "BlockTables.h"
#include "DialogFixture.h"
#include "MeasurementDialog.h"
#include "TrendChart.h"
#include "ValueCodec.h"

#include <QTest>

#include <cmath>
#include <cstring>
#include <filesystem>

using namespace vantor;
using sim::Fault;

namespace {

// A measurement the instrument holds still for the test.
struct Reading {
    float flow = 12.5f;
    float velocity = 1480;
    int32_t totalizer1 = 42, totalizer2 = -42;
    int32_t flowUnit = 4, model = 3, hardware = 1, probe = 8;
    const char* version = "V1.23 ABCDEFG";  // thirteen: only twelve travel
};

std::vector<uint8_t> image(const Reading& r)
{
    MeasurementValues m;
    m.flow = r.flow;
    m.speed = 1.5f;
    m.velocity = r.velocity;
    m.totalizer1 = r.totalizer1;
    m.totalizer2 = r.totalizer2;
    m.totalizer1Unit = 5;
    m.totalizer2Sign = 2;
    m.flowUnit = r.flowUnit;
    m.model = r.model;
    m.hardware = r.hardware;
    m.probeIndex = r.probe;
    m.day = 6, m.month = 12, m.year = 26, m.hour = 15, m.minute = 7, m.second = 9;
    std::vector<uint8_t> image(kMeasurementBlock.imageSize());
    encodeImage(kMeasurementTable, m, std::span<uint8_t>(image));
    std::memcpy(image.data() + 56, r.version, std::min<size_t>(12, std::strlen(r.version)));
    return image;
}

class MeasurementDialogTest : public test::DialogFixture {
protected:
    void hold(const Reading& r)
    {
        simulator->withInstrument([&](sim::Instrument& unit) {
            unit.holdMeasurement(true);
            unit.setImage(kMeasurementBlock.firstRegister, image(r));
        });
    }
    MeasurementDialog& open()
    {
        dialog = std::make_unique<MeasurementDialog>(context, nullptr);
        EXPECT_TRUE(dialog->opening());
        return *dialog;
    }
    std::string text(int id) { return dialog->controlText(id).toStdString(); }
    bool visible(int id) { return !dialog->control(id)->isHidden(); }

    std::unique_ptr<MeasurementDialog> dialog;
};

// A measurement file of frames built from readings, and perhaps a stray byte.
void writeFile(const std::string& path, const std::vector<Reading>& readings, bool stray = false)
{
    std::vector<uint8_t> bytes = {77, 0};
    for (const Reading& r : readings) {
        const std::vector<uint8_t> data = image(r);
        bytes.insert(bytes.end(), {1, 3, 72});
        bytes.insert(bytes.end(), data.begin(), data.end());
        bytes.insert(bytes.end(), {0xAB, 0xCD});
    }
    if (stray)
        bytes.push_back(0xEE);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

TEST_F(MeasurementDialogTest, OpensWaitingWithEveryButtonHidden)
{
    state.settings.language = kEnglish;
    open();
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Measurement");
    EXPECT_EQ(text(1011), "Trying to connect");
    for (int id : {1035, 1032, 1039, 1037, 1045, 1004, 1048, 1049})
        EXPECT_FALSE(visible(id)) << id;
    EXPECT_EQ(text(1026), "") << "labels wait for the first poll";
}

TEST_F(MeasurementDialogTest, RefreshShowsClampsAndNamesTheValues)
{
    const struct {
        Reading reading;
        int control;
        const char* shown;
    } cases[] = {
        {{.flow = 12345678}, 1027, "999999"},
        {{.flow = 12344}, 1027, "12340"},
        {{.velocity = -5}, 1031, "0"},
        {{.totalizer1 = 42}, 1012, "000000042"},
        {{.totalizer2 = -42}, 1016, "-00000042"},
        {{.model = 3}, 1040, "Vantor-P"},
        {{.model = 4}, 1040, "*****"},
        {{.hardware = 1}, 1044, "Vantor-K"},
        {{.hardware = 2}, 1044, "*****"},
        {{.version = "ABCDEFGHIJKL"}, 1042, "ABCDEFGHIJKL"},
        {{.flowUnit = 5}, 1034, "m3/j"},
        {{}, 1015, "1m3"},
        {{}, 1018, "(-)"},
    };
    open();
    for (const auto& c : cases) {
        hold(c.reading);
        dialog->poll();
        EXPECT_EQ(text(c.control), c.shown) << c.control;
    }
    EXPECT_EQ(text(1005), "06/12/2026 15:07:09");
    EXPECT_EQ(text(1026), "Débit");

    state.settings.language = kEnglish;
    hold({.flowUnit = 5});
    dialog->poll();
    EXPECT_EQ(text(1034), "m3/d");
}

TEST_F(MeasurementDialogTest, TheClampedFlowEntersTheHistoryAndTheChart)
{
    open();
    hold({.flow = 12345678});
    dialog->poll();
    EXPECT_EQ(dialog->flowHistory().back(), 9999999.0f);
    EXPECT_EQ(dialog->flowHistory()[198], 0.0f);
    hold({.flow = -20});
    dialog->poll();
    EXPECT_EQ(dialog->flowHistory()[198], 9999999.0f);
    EXPECT_EQ(dialog->flowHistory().back(), -20.0f);
    const TrendChartArgs& chart = dialog->chart()->chart();
    EXPECT_EQ(chart.values.back(), -20.0f);
    EXPECT_EQ(chart.top, 10.0f) << "full scale from the calibration's QMax";
    EXPECT_EQ(chart.bottom, -10.0f);
    EXPECT_EQ(chart.unit, "m3/h");
}

TEST_F(MeasurementDialogTest, DProbeRowFollowsTheCatalogueAngle)
{
    open();
    hold({.probe = 8});  // an angled probe in the instrument's catalogue
    dialog->poll();
    EXPECT_TRUE(visible(1008));
    hold({.probe = 2});
    dialog->poll();
    EXPECT_FALSE(visible(1007));
    EXPECT_FALSE(visible(1008));
    EXPECT_FALSE(visible(1138));
    hold({.probe = 30});
    dialog->poll();
    EXPECT_FALSE(visible(1008)) << "no such probe";
    EXPECT_EQ(text(1150), "*****");
}

TEST_F(MeasurementDialogTest, WithoutTheCalibrationEveryTickIsAFailureAndNothingIsRecorded)
{
    state.settings.language = kEnglish;
    open();
    prompts.chooseNextFile(dir.file("run"));
    dialog->sendCommand(1035);
    for (int tick = 0; tick < 2; ++tick) {
        simulator->clearRequests();
        simulator->injectFault(Fault::Silence, 3);  // the calibration read, with its retries
        dialog->poll();
        EXPECT_EQ(text(1006), "Communication Failure: no answer — Com1, 9600 baud, address 1");
        EXPECT_EQ(status, text(1006));
        EXPECT_EQ(text(1011), "");
        EXPECT_EQ(requests().back(), (std::pair<int, int>{3, 0x0010})) << "the measurement was read";
    }
    EXPECT_EQ(text(1027), "");
    EXPECT_FALSE(std::filesystem::exists(dir.file("run.mes")));
}

TEST_F(MeasurementDialogTest, AFailedPollChangesNeitherValuesNorChartNorFile)
{
    open();
    prompts.chooseNextFile(dir.file("run.mes"));
    dialog->sendCommand(1035);
    EXPECT_TRUE(visible(1032));
    EXPECT_FALSE(visible(1035));
    hold({.flow = 3});
    dialog->poll();
    EXPECT_EQ(text(1006), "Enregistrement n° 1");
    const auto history = dialog->flowHistory();
    const std::string flow = text(1027);

    hold({.flow = 7});
    simulator->injectFault(Fault::Silence, 3);
    dialog->poll();
    EXPECT_EQ(text(1006), "Communication interrompue : pas de réponse — Com1, 9600 bauds, adresse 1");
    EXPECT_EQ(text(1027), flow);
    EXPECT_EQ(dialog->flowHistory(), history);
    EXPECT_EQ(dialog->chart()->chart().values.back(), 3.0f);
    EXPECT_EQ(fileBytes(dir.file("run.mes")).size(), 79u);
}

TEST_F(MeasurementDialogTest, ATickDuringAPollDoesNothing)
{
    open();
    int reentered = 0;
    serial.setIdleHook(
        [&](SerialPort&) {
            ++reentered;
            dialog->poll();
            return 0;
        },
        10);
    dialog->poll();
    serial.setIdleHook(nullptr);
    EXPECT_GT(reentered, 0);
    // The catalogue, the calibration and the measurement: nothing twice.
    EXPECT_EQ(requests(), (std::vector<std::pair<int, int>>{{3, 0x5000}, {3, 0x1100}, {3, 0x0010}}));
}

TEST_F(MeasurementDialogTest, RecordingWritesEachPollAndStartsOverOnTheSameName)
{
    state.settings.language = kEnglish;
    open();
    prompts.chooseNextFile(dir.file("run"));
    dialog->sendCommand(1035);
    EXPECT_EQ(state.file.currentFilePath, dir.file("run.mes"));
    for (int i = 0; i < 3; ++i)
        dialog->poll();
    EXPECT_EQ(text(1006), "Record n° 3");
    std::vector<uint8_t> bytes = fileBytes(dir.file("run.mes"));
    ASSERT_EQ(bytes.size(), 233u);
    EXPECT_EQ(bytes[0], 0x4D);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes[2], 1) << "the reply frame as received: address";
    EXPECT_EQ(bytes[3], 3);
    EXPECT_EQ(bytes[4], 72);

    dialog->sendCommand(1032);  // ARRETDISK
    EXPECT_FALSE(visible(1032));
    dialog->poll();
    EXPECT_TRUE(visible(1035)) << "SAVEDISK is back with the next poll";
    EXPECT_EQ(fileBytes(dir.file("run.mes")).size(), 233u);

    prompts.chooseNextFile(dir.file("run.mes"));
    dialog->sendCommand(1035);
    dialog->poll();
    EXPECT_EQ(text(1006), "Record n° 1");
    EXPECT_EQ(fileBytes(dir.file("run.mes")).size(), 79u);
}

TEST_F(MeasurementDialogTest, ARecordThatCannotBeWrittenStopsTheRecordingWithAMessage)
{
    state.settings.language = kEnglish;
    open();
    prompts.chooseNextFile(dir.file("run.mes"));
    dialog->sendCommand(1035);
    dialog->poll();
    std::filesystem::rename(dir.file("run.mes"), dir.file("kept.mes"));
    std::filesystem::create_symlink("/dev/full", dir.file("run.mes"));
    dialog->poll();
    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_EQ(prompts.boxes()[0].text, "Recording stopped: cannot write the file\n" + dir.file("run.mes"));
    EXPECT_EQ(prompts.boxes()[0].icon, BoxIcon::Error);
    EXPECT_EQ(fileBytes(dir.file("kept.mes")).size(), 79u);
    EXPECT_FALSE(visible(1032));
    dialog->poll();
    EXPECT_EQ(prompts.boxes().size(), 1u) << "the recording stopped: no message at every tick";
    EXPECT_TRUE(visible(1035));
    EXPECT_EQ(text(1006), "");
}

TEST_F(MeasurementDialogTest, ReplayShowsRecordsAndNavigates)
{
    state.settings.language = kEnglish;
    state.file.fileMode = true;
    state.file.currentFilePath = dir.file("three.mes");
    writeFile(state.file.currentFilePath, {{.flow = 1}, {.flow = 2}, {.flow = 3}}, true);
    open();
    EXPECT_EQ(text(1006), "Total Record=3  Record N°=1");
    EXPECT_EQ(text(1011), state.file.currentFilePath);
    EXPECT_EQ(text(1027), "1.000");
    EXPECT_TRUE(visible(1045));
    EXPECT_TRUE(visible(1004));
    EXPECT_FALSE(visible(1035));
    EXPECT_FALSE(visible(1037));
    EXPECT_FALSE(visible(1048));
    EXPECT_TRUE(visible(1039));
    EXPECT_TRUE(visible(1049));

    QTest::keyClick(dialog.get(), Qt::Key_PageUp);
    EXPECT_EQ(text(1006), "Total Record=3  Record N°=1") << "Page Up on the first record stays there";
    QTest::keyClick(dialog.get(), Qt::Key_PageDown);
    EXPECT_EQ(text(1027), "2.000");
    EXPECT_TRUE(visible(1037));
    QTest::keyClick(dialog.get(), Qt::Key_End);
    EXPECT_EQ(text(1006), "Total Record=3  Record N°=3");
    EXPECT_FALSE(visible(1039));
    EXPECT_FALSE(visible(1049));
    // The chart: the records around the current one, which stands marked in the middle.
    const TrendChartArgs& end = dialog->chart()->chart();
    ASSERT_EQ(end.values.size(), 200u);
    EXPECT_TRUE(std::isnan(end.values[97]) && std::isnan(end.values[101])) << "no record there";
    EXPECT_EQ(std::vector<float>(end.values.begin() + 98, end.values.begin() + 101), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(end.markColumn, 100);
    EXPECT_EQ(end.topLabel, 5) << "the largest flow shown, rounded up";
    EXPECT_EQ(end.unit, "m3/h");
    dialog->sendCommand(1048);  // HOME
    EXPECT_EQ(text(1027), "1.000");
    EXPECT_EQ(std::vector<float>(dialog->chart()->chart().values.begin() + 100, dialog->chart()->chart().values.begin() + 103),
              (std::vector<float>{1, 2, 3}));
    EXPECT_TRUE(requests().empty()) << "no link traffic from a file";
}

TEST_F(MeasurementDialogTest, AOneRecordFileHidesTheNavigation)
{
    state.file.fileMode = true;
    state.file.currentFilePath = dir.file("one.mes");
    writeFile(state.file.currentFilePath, {{}});
    open();
    for (int id : {1037, 1039, 1048, 1049})
        EXPECT_FALSE(visible(id)) << id;
}

TEST_F(MeasurementDialogTest, ARefusedFileIsReportedAndTheDialogCloses)
{
    state.settings.language = kEnglish;
    state.file.fileMode = true;
    state.file.currentFilePath = dir.file("short.mes");
    std::ofstream(state.file.currentFilePath, std::ios::binary) << std::string("\x4D\x00\x01", 3);
    MeasurementDialog d(context, nullptr);
    EXPECT_EQ(d.run(), QDialog::Accepted);
    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_EQ(prompts.boxes()[0].caption, "Measurement File");
    EXPECT_EQ(prompts.boxes()[0].text, "This file holds no whole record:\n" + state.file.currentFilePath);
}

TEST_F(MeasurementDialogTest, AnAdapterPulledOutAndPluggedBackWhileRecording)
{
    const auto descriptors = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator());
    };
    state.settings.language = kEnglish;
    open();
    prompts.chooseNextFile(dir.file("run.mes"));
    dialog->sendCommand(1035);
    dialog->poll();
    dialog->poll();
    const auto before = descriptors();

    simulator->disconnect();  // the device is gone from under its name
    dialog->poll();
    dialog->poll();  // the first finds the port open on nothing, the second no port
    EXPECT_EQ(text(1006), "Communication Failure: port missing — Com1, 9600 baud, address 1");
    EXPECT_TRUE(prompts.boxes().empty()) << "no message box for a missing instrument";
    EXPECT_EQ(fileBytes(dir.file("run.mes")).size(), 2u + 2 * 77) << "what was recorded stays";

    simulator->reconnect();  // back under the same name
    dialog->poll();
    EXPECT_EQ(text(1006), "Record n° 3") << "polling and recording resume by themselves";
    EXPECT_EQ(status, "Measuring since 14:07:09 — Com1, 9600 baud, address 1");
    EXPECT_EQ(fileBytes(dir.file("run.mes")).size(), 2u + 3 * 77);
    EXPECT_EQ(descriptors(), before) << "no descriptor leaked";
}
