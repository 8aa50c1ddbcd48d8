// vantorctl poll: the live measurement as the measurement dialog polls it,
// one line per poll, optionally recorded to the same measurement file.
#include "CtlTool.h"
#include "JsonLine.h"
#include "LinkStatus.h"
#include "LanguageTables.h"
#include "MeasurementFile.h"
#include "MeasurementPoller.h"
#include "NumberText.h"
#include "SettingsFiles.h"
#include "Windows1252.h"

#include <csignal>
#ifndef _WIN32
#include <poll.h>
#else
#include <thread>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace vantor::ctl {

namespace {

std::atomic<bool> g_stopped{false};

void stop(int) { g_stopped = true; }

bool parseCount(const std::string& text, long low, long high, long& value)
{
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0' && value >= low && value <= high;
}

// Sleeps until the deadline or a signal, without spinning.
void waitUntil(std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || g_stopped)
            return;
#ifdef _WIN32
        // An interrupt arrives on a thread of its own: look at it ten times a second.
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<long long>(left.count() + 1, 100)));
#else
        // poll() with no descriptor: a sleep that a signal cuts short.
        ::poll(nullptr, 0, static_cast<int>(std::min<long long>(left.count() + 1, INT_MAX)));
#endif
    }
}

std::string number(const char* format, float value, ProgramState& state)
{
    return formatBoundNumber(format, value, state.decimalsCount);
}

std::string choice(const ChoiceList& list, int count, bool bilingual, int32_t index, int language)
{
    const char* text = choiceText(list, count, bilingual, index, language);
    return text ? text : "*****";
}

void printMeasurement(ProgramState& state)
{
    const MeasurementValues& m = state.record.measurement;
    const int language = state.settings.language;
    std::printf("%04d-%02d-%02d %02d:%02d:%02d  flow %s %s  speed %s m/s  velocity %s m/s  T1 %09ld  T2 %09ld  %s\n",
                2000 + m.year, m.month, m.day, m.hour, m.minute, m.second, number("", m.flow, state).c_str(),
                choice(lang::ListFlowUnit, 12, true, m.flowUnit, language).c_str(), number("", m.speed, state).c_str(),
                number("%.0f", std::max(0.0f, m.velocity), state).c_str(), static_cast<long>(m.totalizer1),
                static_cast<long>(m.totalizer2), choice(lang::ListFaultState, 2, true, m.faultState, language).c_str());
    std::fflush(stdout);
}

std::string twoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

// Every field of the record with its unit, as one JSON object.
void printMeasurementJson(const ProgramState& state)
{
    const MeasurementValues& m = state.record.measurement;
    const int language = state.settings.language;
    const std::string instrumentTime = std::to_string(2000 + m.year) + "-" + twoDigits(m.month) + "-" + twoDigits(m.day) +
                                       "T" + twoDigits(m.hour) + ":" + twoDigits(m.minute) + ":" + twoDigits(m.second);
    const bool probeKnown = m.probeIndex >= 0 && m.probeIndex < kProbeCount;
    JsonLine()
        .text("time", isoNow())
        .boolean("ok", true)
        .text("instrument_time", instrumentTime)
        .number("flow", m.flow)
        .text("flow_unit", choice(lang::ListFlowUnit, 12, true, m.flowUnit, language))
        .number("flow_speed", m.speed)
        .text("flow_speed_unit", "m/s")
        .number("sound_velocity", m.velocity)
        .text("sound_velocity_unit", "m/s")
        .integer("totalizer1", m.totalizer1)
        .text("totalizer1_unit", choice(lang::ListTotalizerUnit, 10, true, m.totalizer1Unit, language))
        .text("totalizer1_sign", choice(lang::ListTotalizerSign, 3, false, m.totalizer1Sign, language))
        .integer("totalizer2", m.totalizer2)
        .text("totalizer2_unit", choice(lang::ListTotalizerUnit, 10, true, m.totalizer2Unit, language))
        .text("totalizer2_sign", choice(lang::ListTotalizerSign, 3, false, m.totalizer2Sign, language))
        .number("kh", m.kh)
        .text("kh_mode", choice(lang::ListAutoManual, 2, true, m.khMode, language))
        .number("transit_time", m.time)
        .text("transit_time_unit", "\xC2\xB5s")
        .number("delta_t", m.deltaT)
        .text("delta_t_unit", "ns")
        .number("gain", m.gain)
        .text("gain_unit", "dB")
        .number("signal_quality", m.signalQuality)
        .text("signal_quality_unit", "%")
        .integer("probe_index", m.probeIndex)
        .text("probe", probeKnown ? state.catalogue.names[static_cast<size_t>(m.probeIndex)] : "")
        .number("probe_distance", m.probeDistance)
        .text("probe_distance_unit", "mm")
        .boolean("fault", m.faultState != 0)
        .text("fault_state", choice(lang::ListFaultState, 2, true, m.faultState, language))
        .text("software", fromWindows1252(m.softwareVersion.data()))
        .text("hardware", choice(lang::ListHardware, 2, false, m.hardware, language))
        .text("model", choice(lang::ListModel, 4, false, m.model, language))
        .print();
}

}  // namespace

int pollCommand(Tool& tool, const Args& given)
{
    long intervalMs = 1000, count = -1;
    std::string recordPath;
    bool json = false;
    for (size_t i = 0; i < given.size(); ++i) {
        const bool hasValue = i + 1 < given.size();
        if (given[i] == "--json")
            json = true;
        else if (given[i] == "--interval" && hasValue && parseCount(given[i + 1], 10, 3600000, intervalMs))
            ++i;
        else if (given[i] == "--count" && hasValue && parseCount(given[i + 1], 1, LONG_MAX, count))
            ++i;
        else if (given[i] == "--record" && hasValue)
            recordPath = given[++i];
        else
            return fail("poll takes --interval MS (10 or more), --count N, --record FILE.mes and --json");
    }
    if (!recordPath.empty() && fileTypeOf(recordPath) != &filetypes::kMeasurement)
        return fail(recordPath + ": a recording is a .mes file");

#ifdef _WIN32
    std::signal(SIGINT, stop);
    std::signal(SIGTERM, stop);
#else
    struct sigaction action {};
    action.sa_handler = stop;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif

    MeasurementPoller poller(tool.link, tool.state);
    // The poll has the line to itself: the port stays open between polls.
    tool.master.holdPortOpen(true);
    MeasurementRecorder recorder;
    if (!recordPath.empty())
        recorder.start(recordPath);
    bool recordingFailed = false;
    long polls = 0, failed = 0;
    const auto period = std::chrono::milliseconds(intervalMs);
    auto next = std::chrono::steady_clock::now();
    for (long done = 0; (count < 0 || done < count) && !g_stopped; ++done) {
        if (done > 0)
            waitUntil(next);
        if (g_stopped)
            break;
        next += period;
        ++polls;
        if (!poller.poll()) {
            // As the dialog does: say so, and try again at the next tick.
            const int language = tool.state.settings.language;
            const std::string reason =
                failureReason(poller.failure(), poller.exceptionCode(), tool.master.devicePath(), language);
            if (json) {
                JsonLine().text("time", isoNow()).boolean("ok", false).text("reason", reason).print();
            } else {
                std::printf("%s (%s)\n", lang::MeasCommFailure.text(language), reason.c_str());
                std::fflush(stdout);
            }
            ++failed;
            continue;
        }
        if (json)
            printMeasurementJson(tool.state);
        else
            printMeasurement(tool.state);
        if (!recorder.record(poller.frame())) {
            std::fprintf(stderr, "vantorctl: recording stopped: cannot write %s\n", recordPath.c_str());
            recordingFailed = true;
        }
    }
    tool.master.holdPortOpen(false);
    // A script polling a fleet must tell a unit that did not answer from one that did.
    if (failed > 0)
        std::fprintf(stderr, "%ld polls, %ld failed\n", polls, failed);
    return recordingFailed || failed > 0 ? 1 : 0;
}

}  // namespace vantor::ctl
