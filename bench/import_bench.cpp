// Import benchmark: the largest training (65,535 strokes, a force curve each)
// saved as a training file and exported by Marlo as FIT, TCX and rowing-data
// CSV, then each opened whole through OpenTrainingFile, as the program opens
// a file. Prints, from one run, the median open of each beside the training
// file's, with the target of 16 ms per MB of file; then the CSV read beside
// pandas' read_csv of the same file, timed inside Python, where Debian's
// python3-pandas is installed (set MARLO_PYTHON to choose the interpreter).
#include "BenchKit.h"
#include "DemoTraining.h"
#include "untExport.h"
#include "untFiles.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const int Strokes = 65535;
const int Repeats = 7;
const double TargetMillisecondsPerMB = 16;

using TClock = std::chrono::steady_clock;

// The median of a few whole opens of path in milliseconds; nothing when the
// file does not open.
std::optional<double> OpenMilliseconds(const std::string& path)
{
    std::vector<double> times;
    for (int i = 0; i < Repeats; ++i) {
        TTraining training;
        const auto start = TClock::now();
        if (!OpenTrainingFile(path, training, false) || training.Strokes.size() != Strokes + 1u) return std::nullopt;
        times.push_back(std::chrono::duration<double, std::milli>(TClock::now() - start).count());
    }
    return Median(times);
}

double FileMB(const std::string& path)
{
    struct stat file {};
    stat(path.c_str(), &file);
    return static_cast<double>(file.st_size) / 1e6;
}

// pandas' read_csv of path, timed as the open is, by the first interpreter
// of MARLO_PYTHON, python3 and Debian's own that has pandas.
const char* const PandasScript = R"(import sys, time
try:
    import pandas
except ImportError:
    sys.exit(3)
times = []
for _ in range(int(sys.argv[2])):
    start = time.perf_counter()
    pandas.read_csv(sys.argv[1])
    times.append(time.perf_counter() - start)
print(sorted(times)[len(times) // 2] * 1000)
)";

std::optional<double> PandasMilliseconds(const std::string& folder, const std::string& csv)
{
    const std::string script = folder + "/read_csv.py";
    std::ofstream(script) << PandasScript;
    std::vector<std::string> pythons = {"python3", "/usr/bin/python3"};
    if (const char* chosen = std::getenv("MARLO_PYTHON")) pythons.insert(pythons.begin(), chosen);
    std::optional<double> milliseconds;
    for (const std::string& python : pythons) {
        const std::string command =
            python + " " + script + " " + csv + " " + std::to_string(Repeats) + " 2>/dev/null";
        FILE* output = popen(command.c_str(), "r");
        if (!output) continue;
        double value = 0;
        const bool read = std::fscanf(output, "%lf", &value) == 1;
        if (pclose(output) == 0 && read) {
            milliseconds = value;
            break;
        }
    }
    unlink(script.c_str());
    return milliseconds;
}

// Times and prints the open of path, beside the training file's open where
// that is given; the time.
std::optional<double> PrintOpen(const char* title, const std::string& path, std::optional<double> trainingFile)
{
    const double mb = FileMB(path);
    const std::optional<double> open = OpenMilliseconds(path);
    if (!open) {
        std::printf("  %-22s not read\n", title);
        return open;
    }
    const double target = TargetMillisecondsPerMB * mb;
    std::printf("  %-22s %7.1f MB %9.1f ms %7.2f ms/MB  target %7.1f ms  %-4s", title, mb, *open, *open / mb, target,
                *open <= target ? "ok" : "SLOW");
    if (trainingFile) std::printf("  %5.1fx the training file", *open / *trainingFile);
    std::printf("\n");
    return open;
}

} // namespace

int main()
{
    char folder[] = "/tmp/marlo-import-bench-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    const std::string base = std::string(folder) + "/large";
    const TTraining training = MakeDemoTraining(Strokes);
    bool written = SaveTrainingFile(base + ".stg", training, fkTraining);
    for (const TExportFormat format : {TExportFormat::Fit, TExportFormat::Tcx, TExportFormat::RowingCsv})
        written = written && ExportTrainingFile(base + ExportExtension(format), training, format);
    if (written) {
        std::printf("Whole open of 65535 strokes (OpenTrainingFile), median of %d\n", Repeats);
        const std::optional<double> stg = PrintOpen("training file (.stg)", base + ".stg", std::nullopt);
        PrintOpen("FIT activity", base + ".fit", stg);
        PrintOpen("TCX", base + ".tcx", stg);
        const std::optional<double> csv = PrintOpen("rowing data CSV", base + ".csv", stg);
        const std::optional<double> pandas = PandasMilliseconds(folder, base + ".csv");
        if (!pandas) {
            std::printf("pandas is not installed (Debian's python3-pandas): no comparison with read_csv\n");
        } else if (csv) {
            std::printf("The same CSV in pandas.read_csv, median of %d: %.1f ms; Marlo's open %.1f ms, %.2fx pandas'"
                        " (target < 1x) %s\n",
                        Repeats, *pandas, *csv, *csv / *pandas, *csv < *pandas ? "ok" : "SLOWER");
        }
    }
    for (const char* extension : {".stg", ".fit", ".tcx", ".csv"}) unlink((base + extension).c_str());
    rmdir(folder);
    return written ? 0 : 1;
}
