// What the benchmarks share: medians, the peak memory, the size of a record,
// the time of reading a file into it, writing a training file from a child
// process, so that making the training does not count towards the
// benchmark's own peak memory, and timing a program run as a child process.
#pragma once

#include "untFiles.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline long PeakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The bytes a record holds, with its tables at their capacity.
inline size_t RecordBytes(const TTraining& t)
{
    return sizeof(TTraining) + t.Strokes.capacity() * sizeof(TStroke) + t.Curves.capacity() * sizeof(TForceCurve)
           + t.Intervals.capacity() * sizeof(TInterval) + t.ExtraEntries.capacity() * sizeof(TExtraEntry);
}

// Saves the training that make builds as a training file, in a child process.
inline bool WriteTrainingInChild(const std::string& path, const std::function<TTraining()>& make)
{
    const pid_t child = fork();
    if (child == 0) _exit(SaveTrainingFile(path, make(), fkTraining) ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

using TBenchClock = std::chrono::steady_clock;

inline double SecondsSince(TBenchClock::time_point start)
{
    return std::chrono::duration<double>(TBenchClock::now() - start).count();
}

// Median time of reading the file into a fresh record; the record's size.
inline double ReadSeconds(const std::string& path, size_t& recordBytes, int repeats)
{
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        TTraining training;
        const auto start = TBenchClock::now();
        OpenTrainingFile(path, training, false);
        times.push_back(SecondsSince(start));
        recordBytes = RecordBytes(training);
    }
    return Median(times);
}

struct TChildRun {
    bool Ok = false; // exited with 0
    double Seconds = 0;
    double PeakMiB = 0;
};

// One run of a program (arguments[0]) as a child process, its standard
// output and error going to /dev/null: its wall time and peak memory.
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
    const auto start = TBenchClock::now();
    pid_t child = 0;
    const int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) return run;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return run;
    run.Seconds = SecondsSince(start);
    run.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.PeakMiB = usage.ru_maxrss / 1024.0;
    return run;
}

// The median time and the highest peak of a few runs; not Ok when one failed.
inline TChildRun RunChildRepeatedly(const std::vector<std::string>& arguments, int repeats)
{
    std::vector<double> times;
    TChildRun result;
    result.Ok = true;
    for (int i = 0; i < repeats; ++i) {
        const TChildRun run = RunChild(arguments);
        result.Ok = result.Ok && run.Ok;
        times.push_back(run.Seconds);
        result.PeakMiB = std::max(result.PeakMiB, run.PeakMiB);
    }
    result.Seconds = Median(times);
    return result;
}
