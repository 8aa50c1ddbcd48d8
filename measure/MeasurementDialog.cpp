#include "MeasurementDialog.h"

#include "BlockTables.h"
#include "ConvertFileDialog.h"
#include "Formatted.h"
#include "LanguageTables.h"
#include "LinkStatus.h"
#include "PrintDialogImage.h"
#include "FileDialogs.h"
#include "SettingsFiles.h"
#include "Templates.h"
#include "TrendChart.h"
#include "ValueCodec.h"
#include "Windows1252.h"

#include <QGroupBox>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vantor {

namespace {

using namespace lang;

enum Control {
    kInfoLine = 1011,
    kStatusLine = 1006,
    kDateTime = 1005,
    kChartArea = 1244,
    kT1Value = 1012,
    kT2Value = 1016,
    kVersionText = 1042,
    kTotalizersGroup = 1154,
    kVersionsGroup = 1155,
    kPrint = 1045,
    kTableur = 1004,
    kHome = 1048,
    kPageDown = 1039,
    kPageUp = 1037,
    kEnd = 1049,
    kStopRecording = 1032,
    kSaveDisk = 1035,
};
constexpr int kPollTimer = 1;
constexpr int kPollPeriodMs = 1000;

constexpr LabelBinding kLabels[] = {
    {1026, MeasFlow},       {1028, MeasSpeed},           {1046, MeasMetresPerSecond}, {1030, MeasVelocity},
    {1047, MeasMetresPerSecond}, {1144, MeasKh},         {1149, MeasProbe},           {1007, MeasDProbe},
    {1138, MeasMillimetres}, {1009, MeasTime},           {1141, MeasMicroseconds},    {1021, MeasDeltaT},
    {1143, MeasNanoseconds}, {1151, MeasGain},           {1153, MeasDecibel},         {1024, MeasIQ},
    {1147, MeasPercent},    {1154, MeasTotalizers},      {1013, MeasT1},              {1017, MeasT2},
    {1155, MeasVersions},   {1041, MeasSoftware},        {1043, MeasHardware},
};

constexpr LabelBinding kToolTips[] = {
    {kPrint, TipPrint},          {kTableur, TipConvert},         {kHome, TipFirstRecord},
    {kPageUp, TipPreviousRecord}, {kPageDown, TipNextRecord},     {kEnd, TipLastRecord},
    {kSaveDisk, TipRecord},      {kStopRecording, TipStopRecording},
};

using M = MeasurementValues;
constexpr NumberBinding kNumbers[] = {
    bindNumber(1027, numberOf<&M::flow>()),          bindNumber(1029, numberOf<&M::speed>()),
    bindNumber(1031, numberOf<&M::velocity>()),      bindNumber(1148, numberOf<&M::kh>()),
    bindNumber(1008, numberOf<&M::probeDistance>()), bindNumber(1010, numberOf<&M::time>()),
    bindNumber(1022, numberOf<&M::deltaT>()),        bindNumber(1152, numberOf<&M::gain>()),
    bindNumber(1025, numberOf<&M::signalQuality>()),
};

constexpr ChoiceBinding kChoices[] = {
    bindChoice(1150, choiceOf<&M::probeIndex>()), bindChoice(1034, choiceOf<&M::flowUnit>()),
    bindChoice(1020, choiceOf<&M::faultState>()), bindChoice(1040, choiceOf<&M::model>()),
    bindChoice(1044, choiceOf<&M::hardware>()),   bindChoice(1137, choiceOf<&M::khMode>()),
};

// The totalizers' units and sign modes share bytes by halves: they are kept as
// bytes, and shown by their texts like the choices above.
struct NibbleText {
    int control;
    uint8_t MeasurementValues::*value;
    int count;
    const ChoiceList* list;
    bool bilingual;
};

template <auto Member>
constexpr NibbleText nibbleText(int control)
{
    const ChoiceList& list = *descriptorRow<Member>().shown.list;
    return {control, Member, list.count, &list, list.bilingual};
}

constexpr NibbleText kNibbleTexts[] = {
    nibbleText<&M::totalizer1Unit>(1015),
    nibbleText<&M::totalizer2Unit>(1019),
    nibbleText<&M::totalizer1Sign>(1014),
    nibbleText<&M::totalizer2Sign>(1018),
};

// The texts' "%d" fields filled in order.
std::string filled(const char* format, std::initializer_list<long long> values)
{
    std::string text = format;
    size_t from = 0;
    for (long long value : values) {
        const size_t at = text.find("%d", from);
        if (at == std::string::npos)
            break;
        const std::string number = std::to_string(value);
        text.replace(at, 2, number);
        from = at + number.size();
    }
    return text;
}

// The smallest 1, 2 or 5 times a power of ten at or above the value (1 for none).
float niceScale(float value)
{
    if (!(value > 0))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(static_cast<double>(value))));
    for (double step : {1.0, 2.0, 5.0, 10.0})
        if (step * power >= static_cast<double>(value))
            return static_cast<float>(step * power);
    return value;
}

// The chart's full scale: the unit's QMax, or where it has none (0, or a
// value no scale can use), the largest flow shown, rounded up to a nice
// number (1 when every flow is 0).
float flowScale(float qMax, const std::vector<float>& flows)
{
    if (qMax > 0 && qMax <= 1e30f)
        return qMax;
    float largest = 0;
    for (float flow : flows)
        if (flow == flow)
            largest = std::max(largest, std::min(std::fabs(flow), 1e30f));
    return niceScale(largest);
}

std::string totalizer(int32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%09ld", static_cast<long>(value));
    return text;
}

}  // namespace

MeasurementDialog::MeasurementDialog(const DialogContext& context, QWidget* owner)
    : TemplateDialog(templates::kMeasurement, owner), m_context(context), m_poller(context.link, context.state),
      m_choices(withProbeList(kChoices, &m_probeList))
{
    QWidget* area = control(kChartArea);
    m_chart = new TrendChart(area);
    m_chart->setGeometry(area->rect());
    for (int group : {kTotalizersGroup, kVersionsGroup})
        control<QGroupBox>(group)->setAlignment(Qt::AlignHCenter);

    on(kPollTimer, Notification::Timer, [this] { poll(); });
    on(kSaveDisk, Notification::Clicked, [this] { startRecording(); });
    on(kStopRecording, Notification::Clicked, [this] { stopRecording(); });
    on(kHome, Notification::Clicked, [this] { moveTo(0); });
    on(kPageUp, Notification::Clicked, [this] { moveTo(m_cursor - 1); });
    on(kPageDown, Notification::Clicked, [this] { moveTo(m_cursor + 1); });
    on(kEnd, Notification::Clicked, [this] { moveTo(m_replay.recordCount - 1); });
    on(kPrint, Notification::Clicked, [this] { print(); });
    on(kTableur, Notification::Clicked, [this] { convert(); });
}

MeasurementDialog::~MeasurementDialog()
{
    // Every menu command destroys the window once it is closed: the port goes then.
    m_context.link.master().holdPortOpen(false);
}

bool MeasurementDialog::opening()
{
    ProgramState& state = m_context.state;
    const int language = m_context.language();
    centreOn(parentWidget());
    setWindowTitle(QString::fromUtf8(MeasCaption.text(language)));
    showToolTips(*this, kToolTips, language);
    showControls({kSaveDisk, kStopRecording, kPageDown, kPageUp, kPrint, kTableur, kHome, kEnd}, false);
    m_recorder.stop();
    if (!state.file.fileMode) {
        m_flowHistory.fill(0);
        // The polls have the line to themselves until the window closes.
        m_context.link.master().holdPortOpen(true);
        startWindowTimer(kPollTimer, kPollPeriodMs);
        m_polling = true;
        setControlText(kInfoLine, QString::fromUtf8(MeasTryingToConnect.text(language)));
        return true;
    }
    const std::string& path = state.file.currentFilePath;
    const MeasurementFileStatus status = readMeasurementGeometry(path, m_replay);
    if (status != MeasurementFileStatus::Ok) {
        m_context.prompts.messageBox(parentWidget(), FileMeasurement.text(language),
                                     measurementFileProblem(status, path, language), BoxIcon::Error, BoxButtons::Ok);
        return false;
    }
    showControls({kPrint, kTableur}, true);
    moveTo(0);
    setControlText(kInfoLine, QString::fromStdString(path));
    return true;
}

int MeasurementDialog::run()
{
    if (!opening())
        return QDialog::Accepted;
    return exec();
}

void MeasurementDialog::poll()
{
    // The link repaints and runs timers while it waits: a tick then finds a poll running.
    if (m_pollBusy)
        return;
    m_pollBusy = true;
    const int language = m_context.language();
    const bool polled = m_poller.poll();
    setControlText(kInfoLine, QString());
    if (!polled) {
        // Values, chart and recording stay as they were, the values greyed: they
        // are no longer live. The reason goes beside the failure.
        ++m_failedPolls;
        showValuesLive(false);
        const StatusLine failure =
            failedStatus(StatusPollFailed, m_poller.failure(), m_poller.exceptionCode(), m_context.link.master());
        setControlText(kStatusLine, QString::fromStdString(failure.text(language)));
        m_context.showStatus(failure);
        m_measuring = false;
    } else {
        if (!m_measuring)
            m_context.showStatus(doneStatus(StatusMeasuring, m_context.localNow(), m_context.state.settings.link,
                                                m_context.link.master().devicePath()));
        m_measuring = true;
        ++m_goodPolls;
        showValuesLive(true);
        if (m_recorder.state() == MeasurementRecorder::State::Idle)
            showControls({kPrint, kSaveDisk}, true);
        else
            showControls({kSaveDisk}, false);
        setControlText(kStatusLine, QString());
        refresh();
        recordStep();
    }
    m_pollBusy = false;
}

void MeasurementDialog::showValuesLive(bool live)
{
    std::vector<int> values = {kDateTime, kT1Value, kT2Value, kVersionText};
    for (const NumberBinding& b : kNumbers)
        values.push_back(b.control);
    for (const ChoiceBinding& b : kChoices)
        values.push_back(b.control);
    for (const NibbleText& n : kNibbleTexts)
        values.push_back(n.control);
    for (int id : values)
        if (QWidget* value = control(id))
            value->setEnabled(live);
}

void MeasurementDialog::done(int result)
{
    if (m_polling) {
        m_polling = false;
        StatusLine line = doneStatus(StatusMeasureStopped, m_context.localNow(), m_context.state.settings.link,
                                     m_context.link.master().devicePath());
        // French counts 0 and 1 in the singular, English 1 alone.
        const auto count = [](const BilingualText& one, const BilingualText& several, int language, long long n) {
            const bool singular = language == kEnglish ? n == 1 : n <= 1;
            return formatted((singular ? one : several).text(language), n);
        };
        for (int l : {kFrench, kEnglish}) {
            std::string& what = line.what[static_cast<size_t>(l)];
            what += count(StatusReading, StatusReadings, l, m_goodPolls);
            if (m_failedPolls > 0)
                what += count(StatusFailedPoll, StatusFailedPolls, l, m_failedPolls);
        }
        m_context.showStatus(line);
    }
    TemplateDialog::done(result);
}

void MeasurementDialog::refresh()
{
    ProgramState& state = m_context.state;
    const int language = m_context.language();
    MeasurementValues& m = state.record.measurement;

    setProbeNames(m_probeList, state.catalogue);
    showLabels(*this, kLabels, language);
    setControlText(kVersionText, QString::fromStdString(fromWindows1252(m.softwareVersion.data())));
    showNumbers(*this, kNumbers, state);
    showChoiceTexts(*this, m_choices, m_context);
    for (const NibbleText& n : kNibbleTexts) {
        const char* text = choiceText(*n.list, n.count, n.bilingual, m.*n.value, language);
        setControlText(n.control, text ? QString::fromUtf8(text) : QStringLiteral("*****"));
    }

    const bool knownProbe = m.probeIndex >= 0 && m.probeIndex < kProbeCount;
    const bool angled = knownProbe && state.catalogue.angles[static_cast<size_t>(m.probeIndex)] != 0;
    showControls({1007, 1008, 1138}, angled);

    const LocaleItems locale = m_context.locale();
    setControlText(kDateTime, QString::fromStdString(formatLocaleDate(locale, m.day, m.month, 2000 + m.year) + " " +
                                                     formatLocaleTime(locale, m.hour, m.minute, m.second)));
    setControlText(kT1Value, QString::fromStdString(totalizer(m.totalizer1)));
    setControlText(kT2Value, QString::fromStdString(totalizer(m.totalizer2)));

    if (state.file.fileMode) {
        showRecordedFlows();
        return;
    }
    std::copy(m_flowHistory.begin() + 1, m_flowHistory.end(), m_flowHistory.begin());
    m_flowHistory.back() = m.flow;  // clamped by the display
    const char* unit = choiceText(ListFlowUnit, m.flowUnit, language);
    TrendChartArgs chart;
    chart.values.assign(m_flowHistory.begin(), m_flowHistory.end());
    const float scale = flowScale(m_poller.qMax(), chart.values);
    chart.bottom = chart.bottomLabel = -scale;
    chart.top = chart.topLabel = scale;
    chart.unit = unit ? unit : "";
    chart.secondsPerColumn = kPollPeriodMs / 1000.0;
    m_chart->setChart(std::move(chart));
}

void MeasurementDialog::showRecordedFlows()
{
    // The records around the current one, on the live chart's geometry, the
    // current one in the middle; the scale is the largest flow shown.
    constexpr int kMarkColumn = kHistorySize / 2;
    const ProgramState& state = m_context.state;
    TrendChartArgs chart;
    chart.values = readRecordedFlows(state.file.currentFilePath, m_replay, m_cursor - kMarkColumn, kHistorySize);
    const float scale = flowScale(0, chart.values);
    chart.bottom = chart.bottomLabel = -scale;
    chart.top = chart.topLabel = scale;
    const char* unit = choiceText(ListFlowUnit, state.record.measurement.flowUnit, m_context.language());
    chart.unit = unit ? unit : "";
    chart.secondsPerColumn = kPollPeriodMs / 1000.0;  // the recording's pace
    chart.markColumn = kMarkColumn;
    m_chart->setChart(std::move(chart));
}

void MeasurementDialog::startRecording()
{
    if (m_recorder.state() != MeasurementRecorder::State::Idle || m_context.state.file.fileMode)
        return;
    if (!askSaveFile(m_context, this, filetypes::kMeasurement))
        return;
    m_recorder.start(m_context.state.file.currentFilePath);
    showControls({kSaveDisk}, false);
    showControls({kStopRecording}, true);
}

void MeasurementDialog::stopRecording()
{
    if (m_recorder.state() == MeasurementRecorder::State::Idle)
        return;
    m_recorder.stop();
    showControls({kStopRecording}, false);
}

void MeasurementDialog::recordStep()
{
    if (m_recorder.state() == MeasurementRecorder::State::Idle)
        return;
    const int language = m_context.language();
    if (m_recorder.record(m_poller.frame())) {
        setControlText(kStatusLine, QString::fromUtf8(filled(MeasRecordNumber.text(language), {m_recorder.count()})));
        return;
    }
    // What was written stays; polling goes on, and SAVEDISK comes back with the next poll.
    showControls({kStopRecording}, false);
    m_context.prompts.messageBox(this, FileMeasurement.text(language), lang::MeasCannotRecord.text(language) + m_recorder.path(),
                                 BoxIcon::Error, BoxButtons::Ok);
}

void MeasurementDialog::moveTo(int64_t record)
{
    // The navigation keys reach here on the instrument too, where there is nothing to navigate.
    if (!m_context.state.file.fileMode)
        return;
    m_cursor = std::clamp<int64_t>(record, 0, m_replay.recordCount - 1);
    showRecord();
    setNavigationButtons();
}

void MeasurementDialog::showRecord()
{
    ProgramState& state = m_context.state;
    const int language = m_context.language();
    m_replayFrame.assign(m_replay.recordLength, 0);
    if (!readMeasurementRecord(state.file.currentFilePath, m_replay, m_cursor, m_replayFrame)) {
        setControlText(kStatusLine, QString::fromStdString(measurementFileProblem(MeasurementFileStatus::CannotOpen,
                                                                                  state.file.currentFilePath, language)));
        return;
    }
    setControlText(kStatusLine, QString::fromUtf8(filled(MeasRecordCounter.text(language),
                                                         {m_replay.recordCount, m_cursor + 1})));
    decodeImage(kMeasurementTable,
                std::span<const uint8_t>(m_replayFrame).subspan(kRecordImageOffset, kMeasurementBlock.imageSize()),
                state.record.measurement);
    refresh();
}

void MeasurementDialog::setNavigationButtons()
{
    showControls({kPageDown, kPageUp, kHome, kEnd}, true);
    if (m_cursor == 0)
        showControls({kPageUp, kHome}, false);
    if (m_cursor == m_replay.recordCount - 1)
        showControls({kPageDown, kEnd}, false);
}

void MeasurementDialog::print()
{
    std::vector<QWidget*> buttons;
    for (int id : {kSaveDisk, kStopRecording, kPageDown, kPageUp, kPrint, kTableur, kHome, kEnd})
        buttons.push_back(control(id));
    ControlsOffPaper hidden(*this, buttons, control(kPrint));
    // The date of printing says when a replayed file was looked at; a live
    // measurement shows its own clock.
    printDialogImage(*this,
                     {PrintNameMeasurement.english, m_context.state.file.fileMode, QPageLayout::Portrait,
                      PrintNameMeasurement.text(m_context.language())},
                     m_context.printSurroundings());
}

void MeasurementDialog::convert()
{
    if (!m_context.state.file.fileMode)
        return;
    ConvertFileDialog dialog(m_context, this);
    dialog.run();
}

}  // namespace vantor
