// The measurement dialog polling an instrument once a second: the processor
// time of the whole program (user + system) over the wall time.
// usage: dialog_poll_bench DEVICE [SECONDS]  (the instrument at 9600 baud, address 1)
#include "MeasurementDialog.h"
#include "Program.h"
#include "ScriptedPrompts.h"
#include "SettingsStore.h"

#include <QApplication>
#include <QTimer>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace vantor;

namespace {

rusage processUsage()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage;
}

double cpuSeconds(const rusage& usage)
{
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: dialog_poll_bench DEVICE [SECONDS]\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 60;
    const std::filesystem::path store = std::filesystem::temp_directory_path() / "vantor-dialog-bench";
    ScriptedPrompts prompts;
    SettingsStore settings(store.string());
    Program program(prompts, settings);
    program.serial.setDevicePath(0, argv[1]);

    MeasurementDialog dialog(program.context(), nullptr);
    dialog.opening();
    dialog.show();
    const rusage start = processUsage();
    const auto wallStart = std::chrono::steady_clock::now();
    QTimer::singleShot(seconds * 1000, &application, &QApplication::quit);
    application.exec();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const rusage end = processUsage();
    const double cpu = cpuSeconds(end) - cpuSeconds(start);
    std::printf("measurement dialog: %.3f s of processor time over %.1f s: %.3f%% of one core, %ld wake-ups (%s; from the "
                "first tick)\n",
                cpu, wall, 100.0 * cpu / wall, end.ru_nvcsw - start.ru_nvcsw,
                dialog.controlText(1006).isEmpty() ? "polling" : "status: failing");
    std::filesystem::remove_all(store);
    return 0;
}
