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

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const int Strokes = 65535;
const int ReadRepeats = 9;
const int InfoRepeats = 3;
const double MiB = 1024.0 * 1024.0;

// `marlo-info [option] path`, a few times; no option for the summary.
TChildRun RunInfoRepeatedly(const char* option, const std::string& path)
{
    std::vector<std::string> arguments = {MARLO_INFO_PATH};
    if (option) arguments.push_back(option);
    arguments.push_back(path);
    return RunChildRepeatedly(arguments, InfoRepeats);
}

// The time ratio has a target only for a real training: the hostile file's
// zeroed records take next to no time to read.
void PrintFigures(const char* title, const std::string& path, bool ratioTarget)
{
    struct stat file {};
    stat(path.c_str(), &file);
    size_t recordBytes = 0;
    const double read = ReadSeconds(path, recordBytes, ReadRepeats);
    const TChildRun json = RunInfoRepeatedly("--json", path);
    const TChildRun summary = RunInfoRepeatedly(nullptr, path);
    const double record = recordBytes / MiB, target = 2 * record + 16;
    std::printf("%s, %lld bytes, record of %.1f MiB\n", title, static_cast<long long>(file.st_size), record);
    if (json.ExitCode != 0 || summary.ExitCode != 0) {
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
    std::printf("  peak memory of marlo-info %8.1f MiB  target <= record x 2 + 16 MiB = %.1f MiB\n", json.PeakKiB / 1024.0,
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
