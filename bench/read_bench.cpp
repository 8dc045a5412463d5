// Reading benchmark: a training file of 65,535 strokes, the most a file holds.
// Prints, from one run, the time to decode the file into the record as a
// ratio to reading its bytes into memory in one call, the after-load
// computations per force-curve sample, and the peak memory of one read.
#include "DemoTraining.h"
#include "untFiles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const int Strokes = 65535;
const int Repeats = 15;

using TClock = std::chrono::steady_clock;

// Median wall time of fn in seconds.
double MedianSeconds(const std::function<void()>& fn, int repeats = Repeats)
{
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        const auto start = TClock::now();
        fn();
        times.push_back(std::chrono::duration<double>(TClock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::string ReadWholeFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY);
    struct stat info {};
    fstat(fd, &info);
    std::string bytes(static_cast<size_t>(info.st_size), '\0');
    const ssize_t n = read(fd, bytes.data(), bytes.size());
    close(fd);
    bytes.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return bytes;
}

long PeakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

size_t RecordBytes(const TTraining& t)
{
    return sizeof(TTraining) + t.Strokes.capacity() * sizeof(TStroke) + t.Curves.capacity() * sizeof(TForceCurve)
           + t.Intervals.capacity() * sizeof(TInterval) + t.ExtraEntries.capacity() * sizeof(TExtraEntry);
}

// Writes the test file in a child process, so that making it does not count
// towards this process's peak memory.
bool WriteTestFile(const std::string& path)
{
    const pid_t child = fork();
    if (child == 0) _exit(SaveTrainingFile(path, MakeDemoTraining(Strokes), fkTraining) ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

int main()
{
    char folder[] = "/tmp/marlo-bench-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    const std::string path = std::string(folder) + "/large.stg";
    if (!WriteTestFile(path)) return 1;

    // Peak memory first, before anything else has grown the process.
    const long baseline = PeakResidentKiB();
    TTraining training;
    if (!OpenTrainingFile(path, training, false)) return 1;
    const long peak = PeakResidentKiB() - baseline;
    const size_t recordBytes = RecordBytes(training);

    const std::string bytes = ReadWholeFile(path);
    const double raw = MedianSeconds([&] { ReadWholeFile(path); });
    const double decode = MedianSeconds([&] {
        TTraining fresh;
        DecodeTrainingFile(path, fresh);
    });
    const double average = MedianSeconds([&] { ComputeAverageStroke(training); });
    const double peaks = MedianSeconds([&] {
        for (size_t i = 1; i < training.Strokes.size(); ++i)
            ComputePeakForce(training.Strokes[i], training.Curves[i], training.Settings.Sprocket);
    });
    const double samples = static_cast<double>(Strokes) * CurveSamples;

    std::printf("Training file of %d strokes, %zu bytes\n", Strokes, bytes.size());
    std::printf("  raw read in one call      %8.2f ms\n", raw * 1e3);
    std::printf("  decode into the record    %8.2f ms   %5.2fx the raw read (target <= 3x)\n", decode * 1e3,
                decode / raw);
    std::printf("  average stroke and curve  %8.2f ms   %5.2f ns per force-curve sample (target <= 3)\n",
                average * 1e3, average * 1e9 / samples);
    std::printf("  peak force of every curve %8.2f ms   %5.2f ns per force-curve sample\n", peaks * 1e3,
                peaks * 1e9 / samples);
    std::printf("  peak memory of one read   %8.1f MiB  %5.2fx the record's %.1f MiB (target < 3x)\n",
                peak / 1024.0, peak * 1024.0 / static_cast<double>(recordBytes), recordBytes / 1048576.0);

    unlink(path.c_str());
    rmdir(folder);
    return 0;
}
