// Whole-process start-up of the reference host running one line of Python, against the
// interpreter alone and a bare Qt program with a script engine, each launched the same way.
#include "support/BatchTiming.h"
#include "support/BenchRun.h"
#include "support/RatioBoard.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr double startupGoal = 1.3;

std::string binaryFolder()
{
    char path[PATH_MAX];
    const ssize_t size = readlink("/proc/self/exe", path, sizeof path - 1);
    if (size <= 0)
        return ".";
    std::string folder(path, size_t(size));
    return folder.substr(0, folder.rfind('/'));
}

// Runs the program to its end with its output thrown away; seconds of wall time, or a negative
// value when it could not start or failed.
double launch(const std::vector<std::string>& command)
{
    std::vector<char*> argv;
    for (const std::string& part : command)
        argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

// One launch of command; stops the benchmark when the program fails.
auto launchOf(benchmark::State& state, std::vector<std::string> command)
{
    return [&state, command] {
        const double seconds = launch(command);
        if (seconds < 0)
            state.SkipWithError(("could not run " + command.front()).c_str());
        return seconds < 0 ? 0 : seconds;
    };
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string folder = binaryFolder();
    benchmark::RegisterBenchmark("bellwick -c pass", [folder](benchmark::State& state) {
        auto python = launchOf(state, {"/usr/bin/python3.11", "-S", "-c", "pass"});
        auto bareQt = launchOf(state, {folder + "/bare_qt_startup"});
        const PairedFigures figures = timePaired(state, launchOf(state, {folder + "/bellwick", "-c", "pass"}),
                                                 [&] { return python() + bareQt(); }, 1);
        RatioBoard::instance().compare(state, "bellwick -c pass", figures.best,
                                       "python3.11 -S -c pass + bare_qt_startup", figures.baselineBest, startupGoal);
    })->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);
    return runBenchmarksWithSummary(argc, argv);
}
