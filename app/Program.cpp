#include "Program.h"

#include "Settings.h"

#include <QCoreApplication>

#include <chrono>

namespace vantor {

Program::Program(Prompts& prompts_, SettingsStore& store_, std::string applicationName_)
    : prompts(prompts_), store(store_), applicationName(std::move(applicationName_))
{
    // While a transaction waits, windows repaint and timers fire; user input waits
    // until the transaction is over, so no click can pull the state from under it.
    // Every 40 ms is smooth to the eye and pumps a quarter as often as every 10 ms.
    serial.setIdleHook(
        [](SerialPort&) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            return 0;
        },
        40);
    // Every frame goes to the frame log, timed from the start as vantorctl --trace times it.
    const auto start = std::chrono::steady_clock::now();
    master.setTracer([this, start](const TraceEvent& event) {
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        const auto wall = std::chrono::system_clock::now().time_since_epoch();
        frameLog.add({std::chrono::duration_cast<std::chrono::milliseconds>(wall).count(), ms, event.direction,
                      std::vector<uint8_t>(event.bytes.begin(), event.bytes.end()), event.verdict});
    });
}

DialogContext Program::context()
{
    DialogContext c{state, link, prompts};
    c.now = now;
    c.locale = locale;
    c.startProgram = startProgram;
    c.showStatus = [this](const StatusLine& line) { showStatus(line); };
    return c;
}

std::string Program::settingsKey() const { return vantor::settingsKey(applicationName); }

}  // namespace vantor
