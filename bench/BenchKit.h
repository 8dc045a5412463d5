// What the benchmarks share: medians, the peak memory, the size of a record,
// the time of reading a file into it, writing a training file from a child
// process, so that making the training does not count towards the
// benchmark's own peak memory, and timing runs of a program as a child
// process.
#pragma once

#include "ChildRun.h"
#include "untFiles.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// The milliseconds that step takes.
template <typename TStep>
double MillisecondsOf(TStep&& step)
{
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

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

// Median time of reading the file into a fresh record; the record's size.
inline double ReadSeconds(const std::string& path, size_t& recordBytes, int repeats)
{
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        TTraining training;
        const auto start = std::chrono::steady_clock::now();
        OpenTrainingFile(path, training, false);
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        recordBytes = RecordBytes(training);
    }
    return Median(times);
}

// The median time and the highest peak of a few runs of a program as a
// child process; the exit status of the first that failed, if one did.
inline TChildRun RunChildRepeatedly(const std::vector<std::string>& arguments, int repeats)
{
    std::vector<double> times;
    TChildRun result;
    result.ExitCode = 0;
    for (int i = 0; i < repeats; ++i) {
        const TChildRun run = RunChild(arguments);
        if (result.ExitCode == 0) result.ExitCode = run.ExitCode;
        times.push_back(run.Seconds);
        result.PeakKiB = std::max(result.PeakKiB, run.PeakKiB);
    }
    result.Seconds = Median(times);
    return result;
}
