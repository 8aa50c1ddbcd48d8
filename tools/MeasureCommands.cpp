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

std::string choice(const ChoiceList& list, int32_t index, int language)
{
    const char* text = choiceText(list, index, language);
    return text ? text : "*****";
}

// The line of a poll, its names as the measurement dialog's in the run's language.
void printMeasurement(Tool& tool)
{
    ProgramState& state = tool.state;
    const MeasurementValues& m = state.record.measurement;
    const int language = tool.language();
    say(formatted("%04d-%02d-%02d %02d:%02d:%02d  %s %s %s  %s %s m/s  %s %s m/s  T1 %09ld  T2 %09ld  %s",
                  2000 + m.year, m.month, m.day, m.hour, m.minute, m.second, tool.text(lang::MeasFlow),
                  number("", m.flow, state).c_str(), choice(lang::ListFlowUnit, m.flowUnit, language).c_str(),
                  tool.text(lang::MeasSpeed), number("", m.speed, state).c_str(), tool.text(lang::MeasVelocity),
                  number("%.0f", std::max(0.0f, m.velocity), state).c_str(), static_cast<long>(m.totalizer1),
                  static_cast<long>(m.totalizer2), choice(lang::ListFaultState, m.faultState, language).c_str()));
}

std::string twoDigits(int value) { return formatted("%02d", value); }

// Every field of the record with its unit, as one JSON object; a text that
// follows the language has its list index beside it, which does not.
void printMeasurementJson(const Tool& tool)
{
    const ProgramState& state = tool.state;
    const MeasurementValues& m = state.record.measurement;
    const int language = tool.language();
    const std::string instrumentTime = std::to_string(2000 + m.year) + "-" + twoDigits(m.month) + "-" + twoDigits(m.day) +
                                       "T" + twoDigits(m.hour) + ":" + twoDigits(m.minute) + ":" + twoDigits(m.second);
    const bool probeKnown = m.probeIndex >= 0 && m.probeIndex < kProbeCount;
    JsonLine()
        .text("time", isoNow())
        .boolean("ok", true)
        .text("instrument_time", instrumentTime)
        .number("flow", m.flow)
        .text("flow_unit", choice(lang::ListFlowUnit, m.flowUnit, language))
        .integer("flow_unit_index", m.flowUnit)
        .number("flow_speed", m.speed)
        .text("flow_speed_unit", "m/s")
        .number("sound_velocity", m.velocity)
        .text("sound_velocity_unit", "m/s")
        .integer("totalizer1", m.totalizer1)
        .text("totalizer1_unit", choice(lang::ListTotalizerUnit, m.totalizer1Unit, language))
        .integer("totalizer1_unit_index", m.totalizer1Unit)
        .text("totalizer1_sign", choice(lang::ListTotalizerSign, m.totalizer1Sign, language))
        .integer("totalizer2", m.totalizer2)
        .text("totalizer2_unit", choice(lang::ListTotalizerUnit, m.totalizer2Unit, language))
        .integer("totalizer2_unit_index", m.totalizer2Unit)
        .text("totalizer2_sign", choice(lang::ListTotalizerSign, m.totalizer2Sign, language))
        .number("kh", m.kh)
        .text("kh_mode", choice(lang::ListAutoManual, m.khMode, language))
        .integer("kh_mode_index", m.khMode)
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
        .text("fault_state", choice(lang::ListFaultState, m.faultState, language))
        .integer("fault_state_index", m.faultState)
        .text("software", fromWindows1252(m.softwareVersion.data()))
        .text("hardware", choice(lang::ListHardware, m.hardware, language))
        .integer("hardware_index", m.hardware)
        .text("model", choice(lang::ListModel, m.model, language))
        .integer("model_index", m.model)
        .print();
}

}  // namespace

int pollCommand(Tool& tool, const PollOptions& options)
{
    const std::string& recordPath = options.record;
    if (!recordPath.empty() && fileTypeOf(recordPath) != &filetypes::kMeasurement)
        return tool.fail(formatted(tool.text(lang::CtlRecordingIsMes), recordPath.c_str()), "usage");

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
    const long count = options.count;
    const auto period = std::chrono::milliseconds(options.intervalMs);
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
            const std::string reason =
                failureReason(poller.failure(), poller.exceptionCode(), tool.master.devicePath(), tool.language());
            if (tool.json)
                JsonLine()
                    .text("time", isoNow())
                    .boolean("ok", false)
                    .text("reason", reason)
                    .text("reason_code", linkFailureCode(poller.failure()))
                    .print();
            else
                say(std::string(tool.text(lang::MeasCommFailure)) + " (" + reason + ")");
            ++failed;
            continue;
        }
        if (tool.json)
            printMeasurementJson(tool);
        else
            printMeasurement(tool);
        if (!recorder.record(poller.frame())) {
            writeErr("vantorctl: " + formatted(tool.text(lang::CtlRecordingStopped), recordPath.c_str()) + "\n");
            recordingFailed = true;
        }
    }
    tool.master.holdPortOpen(false);
    // A script polling a fleet must tell a unit that did not answer from one that did.
    if (failed > 0)
        writeErr(formatted(tool.text(lang::CtlPollsFailed), polls, failed) + "\n");
    return recordingFailed || failed > 0 ? 1 : 0;
}

}  // namespace vantor::ctl
