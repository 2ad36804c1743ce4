// Time from a program's start to its window on screen: the program's main window against a bare
// window holding a web engine view (bare_web_view_window), and an empty window as the floor,
// each started as a fresh process, in interleaved rounds of one run. The first round is
// reported apart: it pays for the first touch of every library page. Without a display it runs
// itself under xvfb-run, as a desktop would show the windows.
//
//   window_start_bench              runs the rounds and prints the table
//   window_start_bench main|empty   one child: shows its window, prints the monotonic clock in
//                                   nanoseconds once the window is exposed, and ends
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/window_services.h"
#include "bench/app/window_exposure.h"

extern char** environ;

namespace {

constexpr int kRounds = 6;
constexpr double kTargetRatio = 0.5;

using tolvane::bench::MonotonicNanoseconds;

[[noreturn]] void RunChild(const std::string& kind, int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    if (kind == "main") {
        tolvane::MainWindow window(tolvane::QtWindowServices("Tolvane"));
        tolvane::bench::ShowAndReportExposure(window);
    }
    QWidget window;
    window.resize(tolvane::MainWindow::kClientSize);
    tolvane::bench::ShowAndReportExposure(window);
}

// Starts `program` (with `kind` as its argument, if any) and returns the milliseconds from the
// start to its window on screen, or a negative number when the child failed.
double TimeChild(const std::string& program, const char* kind) {
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
    // The web engine's start-up chatter is not part of the table.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* child_argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(kind), nullptr};
    const long long start = MonotonicNanoseconds();
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, program.c_str(), &actions, nullptr, child_argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);
    std::string output;
    char block[64];
    for (ssize_t got; (got = read(pipe_ends[0], block, sizeof block)) > 0;) {
        output.append(block, static_cast<std::size_t>(got));
    }
    close(pipe_ends[0]);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0 || output.empty()) {
        return -1;
    }
    return static_cast<double>(std::atoll(output.c_str()) - start) / 1e6;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The median of the runs after the first.
double WarmMedian(const std::vector<double>& runs) {
    return Median(std::vector<double>(runs.begin() + 1, runs.end()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2) {
        RunChild(argv[1], argc, argv);
    }
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
        std::getenv("QT_QPA_PLATFORM") == nullptr) {
        execlp("xvfb-run", "xvfb-run", "-a", argv[0], static_cast<char*>(nullptr));
        setenv("QT_QPA_PLATFORM", "offscreen", 1);  // no xvfb-run: windows nobody sees
    }
    // As root the engine needs its sandbox off.
    if (geteuid() == 0) {
        setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    }
    const std::string self = argv[0];
    const std::string bare = self.substr(0, self.find_last_of('/') + 1) + "bare_web_view_window";
    std::vector<double> main_times;
    std::vector<double> bare_times;
    std::vector<double> empty_times;
    for (int round = 0; round < kRounds; ++round) {
        main_times.push_back(TimeChild(self, "main"));
        bare_times.push_back(TimeChild(bare, nullptr));
        empty_times.push_back(TimeChild(self, "empty"));
        if (main_times.back() < 0 || bare_times.back() < 0 || empty_times.back() < 0) {
            std::fprintf(stderr, "window_start_bench: a child failed\n");
            return 1;
        }
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("From start to the window on screen, ms (%s, %d rounds, interleaved)\n",
                platform != nullptr ? platform : "X display", kRounds);
    std::printf("%-40s %10s %12s\n", "window", "first run", "warm median");
    std::printf("%-40s %10.1f %12.1f\n", "Tolvane main window", main_times.front(),
                WarmMedian(main_times));
    std::printf("%-40s %10.1f %12.1f\n", "bare web engine view window", bare_times.front(),
                WarmMedian(bare_times));
    std::printf("%-40s %10.1f %12.1f\n", "empty window (floor)", empty_times.front(),
                WarmMedian(empty_times));
    const double ratio = WarmMedian(main_times) / WarmMedian(bare_times);
    std::printf("main window / bare view: %.2fx (first run %.2fx); target at most %.1fx: %s\n",
                ratio, main_times.front() / bare_times.front(), kTargetRatio,
                ratio <= kTargetRatio ? "met" : "MISSED");
    return 0;
}
