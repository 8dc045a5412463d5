// marlo-info benchmark: the JSON of the largest training a file can hold
// (65,535 strokes). Prints, from one run, the median time of reading the file
// into the record alone, the wall time of `marlo-info --json` on it as a
// child process (its output thrown away), their ratio, and the child's peak
// memory against the record's size; then the same run on a 76-byte device
// user file whose header claims 65,535 curves, strokes and intervals.
#include "BenchKit.h"
#include "DemoTraining.h"
#include "LegacyBuilders.h"
#include "untFiles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

const int Strokes = 65535;
const int ReadRepeats = 9;
const int InfoRepeats = 3;
const double MiB = 1024.0 * 1024.0;

using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point start) { return std::chrono::duration<double>(TClock::now() - start).count(); }

struct TInfoRun {
    bool Ok = false; // exited with 0
    double Seconds = 0;
    double PeakMiB = 0;
};

// One run of `marlo-info [option] path`, its output and messages going to
// /dev/null; no option for the summary.
TInfoRun RunInfo(const char* option, const std::string& path)
{
    std::vector<char*> argv = {const_cast<char*>(MARLO_INFO_PATH)};
    if (option) argv.push_back(const_cast<char*>(option));
    argv.push_back(const_cast<char*>(path.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    TInfoRun run;
    const auto start = TClock::now();
    pid_t child = 0;
    const int failed = posix_spawn(&child, MARLO_INFO_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) return run;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return run;
    run.Seconds = Seconds(start);
    run.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.PeakMiB = usage.ru_maxrss / 1024.0;
    return run;
}

// The median time and the highest peak of a few runs; not Ok when one failed.
TInfoRun RunInfoRepeatedly(const char* option, const std::string& path)
{
    std::vector<double> times;
    TInfoRun result;
    result.Ok = true;
    for (int i = 0; i < InfoRepeats; ++i) {
        const TInfoRun run = RunInfo(option, path);
        result.Ok = result.Ok && run.Ok;
        times.push_back(run.Seconds);
        result.PeakMiB = std::max(result.PeakMiB, run.PeakMiB);
    }
    result.Seconds = Median(times);
    return result;
}

// Median time of reading the file into a fresh record; the record's size.
double ReadSeconds(const std::string& path, size_t& recordBytes)
{
    std::vector<double> times;
    for (int i = 0; i < ReadRepeats; ++i) {
        TTraining training;
        const auto start = TClock::now();
        OpenTrainingFile(path, training, false);
        times.push_back(Seconds(start));
        recordBytes = RecordBytes(training);
    }
    return Median(times);
}

// The time ratio has a target only for a real training: the hostile file's
// zeroed records take next to no time to read.
void PrintFigures(const char* title, const std::string& path, bool ratioTarget)
{
    struct stat file {};
    stat(path.c_str(), &file);
    size_t recordBytes = 0;
    const double read = ReadSeconds(path, recordBytes);
    const TInfoRun json = RunInfoRepeatedly("--json", path);
    const TInfoRun summary = RunInfoRepeatedly(nullptr, path);
    const double record = recordBytes / MiB, target = 2 * record + 16;
    std::printf("%s, %lld bytes, record of %.1f MiB\n", title, static_cast<long long>(file.st_size), record);
    if (!json.Ok || !summary.Ok) {
        std::printf("  marlo-info failed\n");
        return;
    }
    std::printf("  read into the record      %8.2f ms\n", read * 1e3);
    std::printf("  marlo-info --json         %8.2f ms   %6.1fx the read%s\n", json.Seconds * 1e3,
                json.Seconds / read, ratioTarget ? " (target <= 10x)" : "");
    // A process of its own pays for starting and for a record in fresh
    // memory; the summary, which prints little, shows what that costs.
    std::printf("  marlo-info summary        %8.2f ms   %6.1fx the read\n", summary.Seconds * 1e3,
                summary.Seconds / read);
    std::printf("  peak memory of marlo-info %8.1f MiB  target <= record x 2 + 16 MiB = %.1f MiB\n", json.PeakMiB,
                target);
}

// A device user file of nothing but its header and settings, claiming the
// most curves, strokes and intervals its counts can hold.
std::string HostileUserFile()
{
    return DeviceStartBytes({0, 65535, 65535, 65535}, DeviceSettingsBytes(0));
}

} // namespace

int main()
{
    char folder[] = "/tmp/marlo-info-bench-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    const std::string training = std::string(folder) + "/large.stg";
    const std::string hostile = std::string(folder) + "/hostile.rvi";
    const bool written = WriteTrainingInChild(training, [] { return MakeDemoTraining(Strokes); }) && WriteFileAtomically(hostile, HostileUserFile());
    if (written) {
        PrintFigures("Training file of 65535 strokes", training, true);
        PrintFigures("Device user file claiming 65535 strokes", hostile, false);
    }
    unlink(training.c_str());
    unlink(hostile.c_str());
    rmdir(folder);
    return written ? 0 : 1;
}
