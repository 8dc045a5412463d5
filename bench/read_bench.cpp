// Reading benchmark: the whole open of the largest file of each kind that can
// be large, 65,535 strokes (or intervals) wherever the format holds that many.
// The open is what the program does for a file: OpenTrainingFile, with the
// read, the decode and the after-load computations such as the average
// stroke. Prints the median of several opens beside a figure of an earlier
// run and the target: 16 ms, a frame, or 1.5 times the earlier figure,
// whichever is larger. Then the average stroke on its own and the peak memory
// of one training-file read.
//
//   read_bench [--before FILE] [--save FILE]
//
// --save writes this run's figures to FILE; --before reads the figures of an
// earlier run (of another build, say) from FILE for the comparison.
#include "BenchKit.h"
#include "DemoTraining.h"
#include "LegacyBuilders.h"
#include "untFiles.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const int Strokes = 65535; // the most a stroke number holds
const int Repeats = 15;
const double FrameMilliseconds = 16;
const double AllowedSlowdown = 1.5;

using TClock = std::chrono::steady_clock;

// Median wall time of fn in milliseconds.
double MedianMilliseconds(const std::function<void()>& fn, int repeats = Repeats)
{
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        const auto start = TClock::now();
        fn();
        times.push_back(std::chrono::duration<double, std::milli>(TClock::now() - start).count());
    }
    return Median(times);
}

// A force curve that rises to a peak and falls back, a little different for
// every stroke.
std::vector<int> CurveOfStroke(int n)
{
    const int peak = 500 + n % 200, top = 25 + n % 10, end = 65 + n % 10;
    std::vector<int> samples(CurveSamples, 0);
    for (int k = 1; k <= CurveSamples; ++k)
        samples[k - 1] = k <= top ? peak * k / top : k <= end ? peak * (end - k) / (end - top) : 0;
    return samples;
}

std::vector<uint8_t> CurveBytesOfStroke(int n, double newtonsPerByte)
{
    const std::vector<int> samples = CurveOfStroke(n);
    std::vector<uint8_t> bytes(samples.size());
    for (size_t k = 0; k < samples.size(); ++k) bytes[k] = static_cast<uint8_t>(samples[k] / newtonsPerByte);
    return bytes;
}

// A session file holds a full stroke table but only 199 stroke and curve pairs.
std::string SessionFile()
{
    TSessionImage session;
    session.StrokeCount = static_cast<uint16_t>(Strokes);
    for (int n = 1; n <= Strokes; ++n) session.Strokes.push_back(LegacyStrokeBytes(static_cast<uint16_t>(n)));
    for (int n = 1; n <= 199; ++n)
        session.Pairs.push_back(LegacyStrokeBytes(static_cast<uint16_t>(n))
                                + LegacyCurveBytes(CurveBytesOfStroke(n, 10)));
    return session.Bytes();
}

std::string PelmStrokeFile()
{
    std::vector<std::string> rows;
    for (int n = 1; n <= Strokes; ++n) rows.push_back(PelmStrokeRow(n, 100 + n % 300));
    return PelmStrokeTable(rows);
}

std::string PelmCurveFile()
{
    std::vector<std::string> rows;
    for (int n = 1; n <= Strokes; ++n) rows.push_back(PelmCurveRow(n, CurveOfStroke(n)));
    return PelmCurveTable(rows);
}

// An interval table has no stroke numbers; intervals are 16-bit counted too.
std::string PelmIntervalFile()
{
    std::vector<std::array<long, 5>> rows;
    for (long n = 1; n <= Strokes; ++n) rows.push_back({150 + n % 100, 20 + n % 10, 60 + n % 600, 250, 140});
    return PelmIntervalTable(rows);
}

std::string DeviceSessionFile()
{
    const auto count = static_cast<uint16_t>(Strokes);
    std::string bytes = DeviceStartBytes({2, count, count, 1}, DeviceSettingsBytes(20));
    for (int n = 1; n <= Strokes; ++n) {
        const auto i = static_cast<uint16_t>(n);
        bytes += DeviceStrokeBytes({i, 9500u * i}) + DeviceCurveBytes(CurveBytesOfStroke(i, 5.75));
    }
    for (int n = 1; n <= Strokes; ++n) bytes += DeviceStrokeBytes({static_cast<uint16_t>(n), 9500u * n});
    return bytes + DeviceTotalsBytes();
}

// The figures of a run, by the name of the file kind.
using TFigures = std::map<std::string, double>;

TFigures LoadFigures(const std::string& path)
{
    TFigures figures;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const size_t tab = line.rfind('\t');
        if (tab != std::string::npos) figures[line.substr(0, tab)] = std::stod(line.substr(tab + 1));
    }
    return figures;
}

void SaveFigures(const std::string& path, const TFigures& figures)
{
    std::ofstream out(path);
    for (const auto& [name, milliseconds] : figures) out << name << '\t' << milliseconds << '\n';
}

class TOpenBench {
public:
    TOpenBench(std::string folder, TFigures before) : Folder(std::move(folder)), Before(std::move(before))
    {
        std::printf("Whole open (OpenTrainingFile), median of %d    before ms       now ms    target ms\n",
                    Repeats);
    }

    // Times the open of bytes saved under name; a file that cannot be written
    // or read is reported and left out.
    void Open(const std::string& title, const std::string& name, const std::string& bytes)
    {
        const std::string path = Folder + "/" + name;
        if (!WriteFileAtomically(path, bytes)) {
            std::printf("  %-36s not written\n", title.c_str());
            return;
        }
        OpenAndTime(title, path, bytes.size());
        unlink(path.c_str());
    }
    void OpenAndTime(const std::string& title, const std::string& path, size_t size)
    {
        TTraining training;
        if (!OpenTrainingFile(path, training, false)) {
            std::printf("  %-36s not read\n", title.c_str());
            return;
        }
        const double now = MedianMilliseconds([&] { OpenTrainingFile(path, training, false); });
        Figures[title] = now;
        const auto earlier = Before.find(title);
        const bool known = earlier != Before.end();
        const double target = std::max(FrameMilliseconds, known ? AllowedSlowdown * earlier->second : 0.0);
        char before[32] = "-";
        if (known) std::snprintf(before, sizeof before, "%.2f", earlier->second);
        std::printf("  %-36s %12s %12.2f %12.2f  %s\n", title.c_str(), before, now, target,
                    now <= target ? "ok" : "SLOWER");
        std::printf("    %zu strokes, %zu intervals, %.1f MB\n", training.Strokes.size() - 1, training.Intervals.size(),
                    static_cast<double>(size) / 1e6);
    }
    const TFigures& Results() const { return Figures; }

private:
    std::string Folder;
    TFigures Before;
    TFigures Figures;
};

} // namespace

int main(int argc, char** argv)
{
    std::string beforePath, savePath;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--before") == 0) beforePath = argv[i + 1];
        else if (std::strcmp(argv[i], "--save") == 0) savePath = argv[i + 1];
    }
    if (argc % 2 == 0) {
        std::fprintf(stderr, "usage: %s [--before FILE] [--save FILE]\n", argv[0]);
        return 2;
    }

    char folder[] = "/tmp/marlo-bench-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    const std::string path = std::string(folder) + "/large.stg";
    if (!WriteTrainingInChild(path, [] { return MakeDemoTraining(Strokes); })) return 1;

    // Peak memory first, before anything else has grown the process.
    const long baseline = PeakResidentKiB();
    TTraining training;
    if (!OpenTrainingFile(path, training, false)) return 1;
    const long peak = PeakResidentKiB() - baseline;
    const size_t recordBytes = RecordBytes(training);
    const double average = MedianMilliseconds([&] { ComputeAverageStroke(training); });
    const double samples = static_cast<double>(Strokes) * CurveSamples;

    TOpenBench bench(folder, beforePath.empty() ? TFigures{} : LoadFigures(beforePath));
    bench.OpenAndTime("Training file", path, static_cast<size_t>(FileSizeOf(path)));
    unlink(path.c_str());
    bench.Open("Session file", "large.ses", SessionFile());
    bench.Open("Pelm stroke table", "large.pel", PelmStrokeFile());
    bench.Open("Pelm force-curve table", "large.pel", PelmCurveFile());
    bench.Open("Pelm interval table", "large.pel", PelmIntervalFile());
    bench.Open("Device session file", "large.rvs", DeviceSessionFile());
    rmdir(folder);

    std::printf("Average stroke and curve of %d strokes  %8.2f ms   %5.2f ns per force-curve sample\n", Strokes,
                average, average * 1e6 / samples);
    std::printf("Peak memory of one training-file read    %8.1f MiB  %5.2fx the record's %.1f MiB (target < 3x)\n",
                peak / 1024.0, peak * 1024.0 / static_cast<double>(recordBytes), recordBytes / 1048576.0);
    if (!savePath.empty()) SaveFigures(savePath, bench.Results());
    return 0;
}
