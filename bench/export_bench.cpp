// Export benchmark: the largest training a file can hold (65,535 strokes)
// exported as FIT, TCX and rowing-data CSV by `marlo-info --export` as a
// child process, into a file beside the training. Prints, from one run, the
// median time of reading the file into the record alone, of `marlo-info
// --json` on it (its output thrown away) and of each export, with each
// child's peak memory against the record's size.
#include "BenchKit.h"
#include "DemoTraining.h"
#include "untFiles.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const int Strokes = 65535;
const int ReadRepeats = 9;
const int RunRepeats = 3;
const double MiB = 1024.0 * 1024.0;

long long FileSize(const std::string& path)
{
    struct stat file {};
    return stat(path.c_str(), &file) == 0 ? static_cast<long long>(file.st_size) : -1;
}

void PrintRun(const std::string& name, const TChildRun& run, const std::string& comparison, const std::string& after)
{
    std::printf("  %-24s %8.2f ms  %-16s peak %6.1f MiB%s%s\n", name.c_str(), run.Seconds * 1e3, comparison.c_str(),
                run.PeakKiB / 1024.0, after.c_str(), run.ExitCode == 0 ? "" : "  FAILED");
}

std::string Ratio(double ratio, const char* unit)
{
    char text[32];
    std::snprintf(text, sizeof text, "%5.2fx %s", ratio, unit);
    return text;
}

bool PrintFigures(const std::string& training, const std::string& folder)
{
    size_t recordBytes = 0;
    const double read = ReadSeconds(training, recordBytes, ReadRepeats);
    const double record = recordBytes / MiB;
    std::printf("Training file of %d strokes, %lld bytes, record of %.1f MiB\n", Strokes, FileSize(training), record);
    std::printf("  %-24s %8.2f ms\n", "read into the record", read * 1e3);
    const TChildRun json = RunChildRepeatedly({MARLO_INFO_PATH, "--json", training}, RunRepeats);
    PrintRun("marlo-info --json", json, Ratio(json.Seconds / read, "the read"), "");
    bool ok = json.ExitCode == 0;
    for (const char* format : {"fit", "tcx", "csv"}) {
        const std::string output = folder + "/large." + format;
        const TChildRun run =
            RunChildRepeatedly({MARLO_INFO_PATH, "--export", format, "--output", output, training}, RunRepeats);
        char written[48];
        std::snprintf(written, sizeof written, "  %.1f MiB written", FileSize(output) / MiB);
        PrintRun(std::string("marlo-info --export ") + format, run, Ratio(run.Seconds / json.Seconds, "--json"), written);
        unlink(output.c_str());
        ok = ok && run.ExitCode == 0;
    }
    std::printf("  targets: each export <= 1x --json; peak memory <= record x 2 + 16 MiB = %.1f MiB\n", 2 * record + 16);
    return ok;
}

} // namespace

int main()
{
    char folder[] = "/tmp/marlo-export-bench-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    const std::string training = std::string(folder) + "/large.stg";
    const bool written = WriteTrainingInChild(training, [] { return MakeDemoTraining(Strokes); });
    const bool ok = written && PrintFigures(training, folder);
    unlink(training.c_str());
    rmdir(folder);
    return ok ? 0 : 1;
}
