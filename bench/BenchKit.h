// What the benchmarks share: medians, the peak memory, the size of a record,
// and writing a training file from a child process, so that making the
// training does not count towards the benchmark's own peak memory.
#pragma once

#include "untFiles.h"

#include <algorithm>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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
