// Running a program as a child process with its output thrown away: its exit
// status, its wall time and its peak memory, for the tests that bound
// marlo-info's memory and for the benchmarks.
#pragma once

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

struct TChildRun {
    int ExitCode = -1; // -1 when it did not start or did not exit by itself
    double Seconds = 0;
    long PeakKiB = 0;
};

// Runs arguments[0] with the arguments, its standard output and error going
// to /dev/null.
inline TChildRun RunChild(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    TChildRun run;
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) return run;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return run;
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.PeakKiB = usage.ru_maxrss;
    return run;
}
