// Runs a command and prints its processor time (user + system, to the
// microsecond) over its wall time, as a share of one core. GNU time rounds to
// the hundredth of a second, too coarse for a poller that uses a few
// milliseconds a minute.
// usage: cpu_time NAME [--stop-after SECONDS] COMMAND...
//   --stop-after sends SIGINT after the given time (mbpoll polls until stopped).
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: cpu_time NAME [--stop-after SECONDS] COMMAND...\n");
        return 2;
    }
    const char* name = argv[1];
    int first = 2;
    double stopAfter = 0;
    if (std::strcmp(argv[2], "--stop-after") == 0 && argc > 4) {
        stopAfter = std::atof(argv[3]);
        first = 4;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[first], argv + first);
        std::perror(argv[first]);
        _exit(127);
    }
    if (child < 0)
        return 1;
    int status = 0;
    rusage usage{};
    if (stopAfter > 0) {
        // Wait without reaping (WNOWAIT), so that wait4 below still finds the
        // child and reports its time, whether it ended by itself or was stopped.
        for (;;) {
            siginfo_t info{};
            if (waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid != 0)
                break;
            if (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() >= stopAfter) {
                kill(child, SIGINT);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    wait4(child, &status, 0, &usage);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    // On standard error: the command's own output usually goes to /dev/null.
    // The wake-ups tell a poller's way of waiting: one a reply byte when the
    // machine answers at once, fewer when bytes pile up while it is slow.
    std::fprintf(stderr, "%s: %.3f s of processor time over %.1f s: %.3f%% of one core, %ld wake-ups\n", name, cpu,
                 wall, 100.0 * cpu / wall, usage.ru_nvcsw);
    return 0;
}
