// Reading benchmark: a training file of 65,535 strokes, the most a file holds,
// and large files of the older kinds that can be large (Pelm stroke and
// force-curve tables, device session files). Prints, from one run, the time
// to decode each file into the record as a ratio to reading its bytes into
// memory in one call, the after-load computations per force-curve sample, and
// the peak memory of one training-file read.
#include "BenchKit.h"
#include "DemoTraining.h"
#include "LegacyBuilders.h"
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

const int OlderKindStrokes = 10000;
// Their reads take a fraction of a millisecond, where a busy moment of the
// machine tells; the median of many steadies the figures.
const int OlderKindRepeats = 101;

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

std::string PelmStrokeFile()
{
    std::vector<std::string> rows;
    for (int n = 1; n <= OlderKindStrokes; ++n) rows.push_back(PelmStrokeRow(n, 100 + n % 300));
    return PelmStrokeTable(rows);
}

std::string PelmCurveFile()
{
    std::vector<std::string> rows;
    for (int n = 1; n <= OlderKindStrokes; ++n) rows.push_back(PelmCurveRow(n, CurveOfStroke(n)));
    return PelmCurveTable(rows);
}

std::string DeviceSessionFile()
{
    const auto count = static_cast<uint16_t>(OlderKindStrokes);
    std::string bytes = DeviceStartBytes({2, count, count, 1}, DeviceSettingsBytes(20));
    for (uint16_t i = 1; i <= count; ++i) {
        const std::vector<int> samples = CurveOfStroke(i);
        std::vector<uint8_t> curve(samples.size());
        for (size_t k = 0; k < samples.size(); ++k) curve[k] = static_cast<uint8_t>(samples[k] / 5.75);
        bytes += DeviceStrokeBytes({i, 9500u * i}) + DeviceCurveBytes(curve);
    }
    for (uint16_t i = 1; i <= count; ++i) bytes += DeviceStrokeBytes({i, 9500u * i});
    return bytes + DeviceTotalsBytes();
}

using TDecoder = bool (*)(const std::string& path, TTraining& training);

bool DecodePelm(const std::string& path, TTraining& training) { return DecodePelmFile(path, training); }

// Decodes the file at path into a fresh record and times it against the raw
// read, then the after-load computations on the result.
void BenchmarkOlderKind(const char* title, const std::string& path, const std::string& bytes, TDecoder decode,
                        double target)
{
    if (!WriteFileAtomically(path, bytes)) return;
    TTraining training;
    SetStrokeCount(training, 0);
    if (!decode(path, training)) {
        std::printf("%s: not read\n", title);
        return;
    }
    const double raw = MedianSeconds([&] { ReadWholeFile(path); }, OlderKindRepeats);
    const double decoding = MedianSeconds(
        [&] {
            TTraining fresh;
            SetStrokeCount(fresh, 0);
            decode(path, fresh);
        },
        OlderKindRepeats);
    const double afterLoad = MedianSeconds([&] {
        ComputeAverageStroke(training);
        for (size_t i = 1; i < training.Strokes.size(); ++i)
            ComputePeakForce(training.Strokes[i], training.Curves[i], training.Settings.Sprocket);
    });
    const double samples = static_cast<double>(training.Strokes.size() - 1) * CurveSamples;
    std::printf("%s, %zu strokes, %zu bytes\n", title, training.Strokes.size() - 1, bytes.size());
    std::printf("  raw read in one call      %8.2f ms\n", raw * 1e3);
    std::printf("  decode into the record    %8.2f ms   %5.2fx the raw read (target <= %gx)\n", decoding * 1e3,
                decoding / raw, target);
    std::printf("  after-load computations   %8.2f ms   %5.2f ns per force-curve sample\n", afterLoad * 1e3,
                afterLoad * 1e9 / samples);
}

void BenchmarkOlderKinds(const std::string& folder)
{
    const std::string pelm = folder + "/large.pel";
    BenchmarkOlderKind("Pelm stroke table", pelm, PelmStrokeFile(), DecodePelm, 10);
    BenchmarkOlderKind("Pelm force-curve table", pelm, PelmCurveFile(), DecodePelm, 10);
    unlink(pelm.c_str());
    const std::string rvs = folder + "/large.rvs";
    BenchmarkOlderKind("Device session file", rvs, DeviceSessionFile(), DecodeRavoSessionFile, 3);
    unlink(rvs.c_str());
}

} // namespace

int main()
{
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
    BenchmarkOlderKinds(folder);
    rmdir(folder);
    return 0;
}
