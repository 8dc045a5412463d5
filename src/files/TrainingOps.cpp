// Creating, resetting and resizing a training, and the computations that keep
// its average stroke, average curve and peak-force values consistent.
#include "untFiles.h"
#include "untMessages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

uint16_t ColorCounter = 0;

void SetMagic(TTraining& training) { std::memcpy(training.Magic, TrainingMagic, 4); }

} // namespace

void ReportProgress(const TProgress& progress, double fraction)
{
    if (progress) progress(fraction);
}

void NewTraining(TTraining& training)
{
    SetStrokeCount(training, 0);
    SetIntervalCount(training, 0);
    training.ExtraEntries.clear();
    training.Totals = TTotals{};
    SetMagic(training);
    training.Version = CurrentVersion();
    THeader& header = training.Header;
    header.Modified = 1;
    header.Visible = 1;
    header.DateTime = Now();
    header.CurveIndex = 0;
    header.FileName.Assign("?");
    header.FileDateTime = 0;
    header.FileSize = 0;
    header.FileFormat = ffNone;
    header.FileKind = fkUser;
    header.Interface = 0;
    header.Spare2 = 0;
    header.TrainingID = NewGuid();
    training.Spare1 = 0;
}

void NewHeader(THeader& header)
{
    header = THeader{};
    header.Title.Assign("Anyone");
    header.Name.Assign("Anyone");
    header.DateTime = Now();
    header.Color = NextColor();
    header.PenWidth = 2;
    header.Visible = 1;
    header.Recorder = RecorderThisProgram;
    header.TrainingID = NewGuid();
}

void NewSettings(TUserSettings& settings)
{
    settings = TUserSettings{};
    settings.Weight = 80;
    settings.Sprocket = 1;
    settings.SessionLimit = 2;
    settings.StartValue = 150;
    settings.RestValue = 10;
    settings.IntervalBy = 3;
    settings.WorkTime = 60;
    settings.RestTime = 30;
}

TColor NextColor() { return Colors[ColorCounter++ % ColorCount].Color; }

void ResetColorCounter() { ColorCounter = 0; }

bool IsEmptyTraining(const TTraining& training)
{
    const TTotals& totals = training.Totals;
    return training.Strokes.size() <= 1 && training.Curves.size() <= 1
           && training.Intervals.empty() && training.ExtraEntries.size() <= 1
           && totals.TotalDistance == 0 && totals.TotalTime == 0 && totals.TotalEnergy == 0
           && totals.AveragePower == 0;
}

bool IsUserTraining(const TTraining& training)
{
    return training.Header.FileKind == fkUser || training.Header.FileKind == fkManual
           || training.Header.OrigFileKind == fkUser;
}

TResetAnswer ConfirmReset(TTraining& training, int reason)
{
    if (IsEmptyTraining(training)) return {true, false};
    static const char* const Reasons[] = {
        "Changing this value will reset the training session.\r",
        "Connecting again will reset the current training session.\r",
        "Resetting the current training session will erase all recorded data.\r"};
    const std::string line = reason >= 0 && reason <= 2 ? Reasons[reason] : "";
    if (!AskYesNo(line + "Do you wish to continue?")) return {false, false};
    NewTraining(training);
    return {true, true};
}

void SetStrokeCount(TTraining& training, int n)
{
    std::vector<TStroke>& strokes = training.Strokes;
    std::vector<TForceCurve>& curves = training.Curves;
    if (n == -1) {
        size_t a = strokes.empty() ? 0 : strokes.size() - 1;
        while (a >= 1 && strokes[a].Time == 0) --a;
        strokes.resize(a + 1);
        curves.resize(a + 1);
    } else if (n == 0) {
        strokes.assign(1, TStroke{});
        curves.assign(1, TForceCurve{});
    } else if (n > 0) {
        const size_t oldStrokes = strokes.size(), oldCurves = curves.size();
        const size_t length = static_cast<size_t>(n) + 1;
        strokes.resize(length); // new elements are zeroed
        curves.resize(length);
        for (size_t i = oldStrokes; i < length; ++i) strokes[i].Number = static_cast<uint16_t>(i);
        for (size_t i = oldCurves; i < length; ++i) curves[i].Number = static_cast<uint16_t>(i);
    }
}

void SetIntervalCount(TTraining& training, int n)
{
    std::vector<TInterval>& intervals = training.Intervals;
    if (n == 0) {
        intervals.clear();
        return;
    }
    const size_t oldLength = intervals.size();
    if (n < 0 || oldLength >= static_cast<size_t>(n)) return;
    intervals.resize(static_cast<size_t>(n)); // new elements are zeroed
    for (size_t i = oldLength; i < intervals.size(); ++i) intervals[i].Number = static_cast<uint16_t>(i + 1);
}

double SprocketSpacing(int sprocket) { return sprocket != 0 ? 2.2 : 2.0; }

double CurveSpacing(const TUserSettings& settings)
{
    if (settings.Ergometer == 2) return 4.5;
    return SprocketSpacing(settings.Sprocket);
}

namespace {

// The lowest and the highest sample of a curve, worked out without a test per
// sample, so that the compiler may take several samples at a time.
uint16_t LowestSample(const TSamples& samples)
{
    uint16_t lowest = samples[0];
    for (const uint16_t sample : samples) lowest = std::min(lowest, sample);
    return lowest;
}

uint16_t HighestSample(const TSamples& samples)
{
    uint16_t highest = samples[0];
    for (const uint16_t sample : samples) highest = std::max(highest, sample);
    return highest;
}

// The number k (1 to 80) of the first and of the last sample of value, which
// the curve holds.
int FirstSampleNumber(const TSamples& samples, uint16_t value)
{
    return static_cast<int>(std::find(samples.begin(), samples.end(), value) - samples.begin()) + 1;
}

int LastSampleNumber(const TSamples& samples, uint16_t value)
{
    return CurveSamples - static_cast<int>(std::find(samples.rbegin(), samples.rend(), value) - samples.rbegin());
}

} // namespace

double EstimateStrokeLength(const TForceCurve& curve, int sprocket)
{
    // The stroke ends at the first of the curve's lowest samples, unless even
    // those are above 780 N.
    const double spacing = SprocketSpacing(sprocket);
    const TSamples samples = SamplesOf(curve);
    const uint16_t lowest = LowestSample(samples);
    const double position = lowest <= 780 ? FirstSampleNumber(samples, lowest) * spacing : 0.0;
    return position - spacing;
}

void ComputePeakForce(TStroke& stroke, const TForceCurve& curve, int sprocket)
{
    // The peak lies midway between the first and the last of the highest
    // samples; a curve without force has it at 0.
    const TSamples samples = SamplesOf(curve);
    const uint16_t max = HighestSample(samples);
    const int first = max > 0 ? FirstSampleNumber(samples, max) : 0;
    const int last = max > 0 ? LastSampleNumber(samples, max) : 0;
    stroke.PeakForce = static_cast<float>(max);
    stroke.PeakForcePosition = static_cast<float>(SprocketSpacing(sprocket) * (first + last) / 2);
    stroke.RelPeakForcePosition = SafeDivide(stroke.StrokeLength,
                                             static_cast<float>(stroke.PeakForcePosition * 100.0));
}

int DriveSampleCount(const TStroke& stroke, const TSamples& samples, double spacing)
{
    const double length = stroke.StrokeLength;
    if (std::isfinite(length) && length > 0 && spacing > 0)
        return static_cast<int>(std::clamp(length / spacing, 1.0, double(CurveSamples)));
    int count = 0;
    for (int k = 0; k < CurveSamples; ++k)
        if (samples[static_cast<size_t>(k)] > 0) count = k + 1;
    return count;
}

namespace {

// The value at position p of a curve of n samples s, for a position outside
// [0, n - 1): beyond the last sample, before the first, or at a whole
// position outside the curve.
double SampleOutside(const double* s, int n, double p, double factor)
{
    const double whole = std::trunc(p);
    const double fraction = p - whole;
    if (fraction == 0) return whole >= 0 && whole <= n - 1 ? s[static_cast<int>(whole)] : 0;
    if (whole < 0) return s[0] * factor;
    if (whole >= n - 1) return s[n - 1];
    return s[0] + fraction * (s[1] - s[0]); // -1 < p < 0
}

// How many of the positions i * factor, from i = 0 on, lie between two of n
// samples (0 <= p < n - 1). With a factor of 0 or more the positions grow
// with i (rounding keeps their order), so these are the first ones: their
// count is estimated, then checked exactly. Any other factor leaves them all
// to the general way.
int PositionsBetweenSamples(int n, double factor)
{
    if (!(factor >= 0)) return 0;
    const double estimate = factor > 0 ? (n - 1) / factor : CurveSamples;
    int count = static_cast<int>(std::min<double>(CurveSamples, estimate));
    while (count > 0 && !((count - 1) * factor < n - 1)) --count;
    while (count < CurveSamples && count * factor < n - 1) ++count;
    return count;
}

// The 80 resampled values of a curve of n samples s before smoothing, in
// double precision.
void ResampledValues(const double* s, int n, double factor, double (&v)[CurveSamples])
{
    // The value at a position between two samples lies on the line between
    // them; a whole position gives its sample exactly. This runs for every
    // stroke after loading, so the usual positions get a loop of their own
    // without the tests of the rare ones outside the curve; i is counted in
    // a double there rather than converted each time.
    const int between = PositionsBetweenSamples(n, factor);
    double index = 0;
    for (int i = 0; i < between; ++i, index += 1) {
        const double p = index * factor;
        const int j = static_cast<int>(p);
        v[i] = s[j] + (p - j) * (s[j + 1] - s[j]);
    }
    for (int i = between; i < CurveSamples; ++i) {
        const double p = i * factor;
        if (p >= 0 && p < n - 1) {
            const int j = static_cast<int>(p);
            v[i] = s[j] + (p - j) * (s[j + 1] - s[j]);
        } else {
            v[i] = std::fabs(SampleOutside(s, n, p, factor));
        }
    }
}

// The resampled values of a curve, smoothed: from left to right, each flat
// step of two equal positive values moves its left one halfway towards its
// (already smoothed) left neighbour.
void SmoothResampledValues(const double* s, int n, double factor, double (&v)[CurveSamples])
{
    ResampledValues(s, n, factor, v);
    for (int k = 1; k <= CurveSamples - 2; ++k)
        if (v[k] == v[k + 1] && v[k] > 0) v[k] = (v[k] + v[k - 1]) / 2;
}

void SmoothResampledValues(const TSamples& source, double factor, double (&v)[CurveSamples])
{
    double s[CurveSamples];
    for (int k = 0; k < CurveSamples; ++k) s[k] = source[k];
    SmoothResampledValues(s, CurveSamples, factor, v);
}

} // namespace

TResampled ResampleCurve(const double* source, int count, double factor)
{
    TResampled target{};
    if (count < 1) return target;
    double v[CurveSamples];
    SmoothResampledValues(source, count, factor, v);
    for (int k = 0; k < CurveSamples; ++k) target[k] = static_cast<float>(v[k]);
    return target;
}

TResampled ResampleCurve(const TSamples& source, double factor)
{
    double s[CurveSamples];
    for (int k = 0; k < CurveSamples; ++k) s[k] = source[k];
    return ResampleCurve(s, CurveSamples, factor);
}

namespace {

// The average stroke length and energy and the average curve of the strokes
// `each` visits that have a valid curve: each curve resampled by the average
// length over its own, summed sample by sample, divided by their count and
// rounded to 0..65535.
template <typename TEach>
void AverageOfCurves(const TTraining& training, TEach each, TStroke& average, TForceCurve& averageCurve)
{
    const int sprocket = training.Settings.Sprocket;
    int count = 0;
    double energy = 0, length = 0;
    each([&](size_t i) {
        ++count;
        energy += training.Strokes[i].EnergyPerStroke;
        length += training.Strokes[i].StrokeLength;
    });
    average.EnergyPerStroke = SafeDivide(static_cast<float>(count), static_cast<float>(energy));
    average.StrokeLength = SafeDivide(static_cast<float>(count), static_cast<float>(length));
    const float averageLength = average.StrokeLength;

    TResampled sum{};
    each([&](size_t i) {
        // The values ResampleCurve gives, added to the sums straight away.
        double v[CurveSamples];
        ResampleForAverage(training.Strokes[i], training.Curves[i], averageLength, sprocket, v);
        for (int k = 0; k < CurveSamples; ++k) sum[k] += static_cast<float>(v[k]);
    });
    for (int k = 0; k < CurveSamples; ++k)
        averageCurve.Samples[k] = RoundToWord(SafeDivide(static_cast<float>(count), sum[k]));
}

} // namespace

void ResampleForAverage(const TStroke& stroke, const TForceCurve& curve, float averageLength, int sprocket,
                        double (&values)[CurveSamples])
{
    double strokeLength = stroke.StrokeLength;
    if (strokeLength < 0) strokeLength = EstimateStrokeLength(curve, sprocket);
    if (!(strokeLength > 0)) strokeLength = 1.0;
    const float factor = SafeDivide(averageLength, static_cast<float>(strokeLength));
    SmoothResampledValues(SamplesOf(curve), factor, values);
}

void ComputeAverageStroke(TTraining& training)
{
    std::vector<TStroke>& strokes = training.Strokes;
    std::vector<TForceCurve>& curves = training.Curves;
    if (strokes.empty() || curves.size() != strokes.size()) return;
    TStroke& average = strokes[0];
    TForceCurve& averageCurve = curves[0];
    average = TStroke{};
    averageCurve = TForceCurve{};
    const size_t last = strokes.size() - 1;
    if (last == 1) {
        average = strokes[1];
        averageCurve = curves[1];
    } else if (last >= 2) {
        // Stroke 1, the start, is left out.
        AverageOfCurves(
            training,
            [&curves, last](auto visit) {
                for (size_t i = 2; i <= last; ++i)
                    if (curves[i].Valid) visit(i);
            },
            average, averageCurve);
    }
    ComputePeakForce(average, averageCurve, training.Settings.Sprocket);
}

void ComputeAverageOf(const TTraining& training, const std::vector<size_t>& strokes, TStroke& average,
                      TForceCurve& averageCurve)
{
    average = TStroke{};
    averageCurve = TForceCurve{};
    const auto valid = [&training](size_t i) {
        return i < training.Strokes.size() && i < training.Curves.size() && training.Curves[i].Valid;
    };
    AverageOfCurves(
        training,
        [&strokes, &valid](auto visit) {
            for (size_t i : strokes)
                if (valid(i)) visit(i);
        },
        average, averageCurve);
    ComputePeakForce(average, averageCurve, training.Settings.Sprocket);
}

void ComputeDistancePerStroke(std::vector<TStroke>& strokes, int high)
{
    double previous = 0;
    for (int i = 0; i <= high && static_cast<size_t>(i) < strokes.size(); ++i) {
        strokes[i].DistancePerStroke = static_cast<float>((strokes[i].Distance - previous) * 100);
        previous = strokes[i].Distance;
    }
}

std::string DescribeTraining(const THeader& header, int fields, bool multiline)
{
    const std::string separator = multiline ? "\n" : "; ";
    const auto dateTimePart = [&](const std::string& format) { return FormatDateTime(format, header.DateTime); };
    std::string text;
    if (fields & 1) text += dateTimePart(FormatSettings().ShortDateFormat) + separator;
    if (fields & 2) text += dateTimePart(FormatSettings().LongTimeFormat) + separator;
    if (fields & 4) text += header.Title.Utf8() + separator;
    if (fields & 8) text += header.Name.Utf8() + separator;
    if (fields & 16) text += header.Description.Utf8() + separator;
    if (fields & 32) text += header.TrainingType.Utf8() + separator;
    if (fields & 64) text += header.Event.Utf8() + separator;
    if (fields & 128) text += header.Note.Utf8() + separator;
    if (!text.empty()) text.resize(text.size() - separator.size());
    return text;
}

std::string FileNameOrDash(const std::string& path)
{
    return path.empty() ? "-" : ExtractFileName(path);
}

std::string DateTimeText(TDateTime dt)
{
    if (!(dt > 1 && dt < 73000)) return "-";
    return FormatDateTime("c", dt);
}

std::string SizeText(const std::string& path, int64_t size)
{
    const int64_t onDisk = path.empty() ? -1 : FileSizeOf(path);
    const int64_t shown = onDisk >= 1 ? onDisk : size;
    return shown >= 1 ? std::to_string(shown) + " bytes" : "-";
}

std::string FileTypeText(int kind, int format)
{
    if (kind == fkNone) return "-";
    const std::string kindName = FileKindName(kind), formatName = FileFormatName(format);
    // A kind named after its format ("TCX", "FIT activity") needs it said once.
    if (kindName.find(formatName) != std::string::npos) return kindName;
    return kindName + " (" + formatName + ")";
}
