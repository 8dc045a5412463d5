// Force-curve analysis beyond one stroke.
#include "untCurveAnalysis.h"

#include "jsUtils.h"
#include "untCharts.h"
#include "untFiles.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <thread>

namespace {

// Source numbers, as the force-curve window keeps them in the header.
const uint8_t AverageSource = 1;
const uint8_t IntervalSource = 2;

bool HasValidCurve(const TTraining& training, size_t index)
{
    return index >= 1 && index < training.Strokes.size() && index < training.Curves.size()
           && training.Curves[index].Valid != 0;
}

bool IsAllZero(const TForceCurve& curve)
{
    const TSamples samples = SamplesOf(curve);
    return std::all_of(samples.begin(), samples.end(), [](uint16_t sample) { return sample == 0; });
}

} // namespace

std::vector<size_t> AveragedStrokes(const TTraining& training, uint8_t source, int interval)
{
    std::vector<size_t> strokes;
    const size_t last = training.Strokes.empty() ? 0 : training.Strokes.size() - 1;
    if (source == AverageSource) {
        // The session's average leaves out stroke 1, the start, unless it is alone.
        for (size_t i = last == 1 ? 1 : 2; i <= last; ++i)
            if (HasValidCurve(training, i)) strokes.push_back(i);
    } else if (source == IntervalSource && interval >= 0 && static_cast<size_t>(interval) < training.Intervals.size()) {
        const uint16_t number = training.Intervals[static_cast<size_t>(interval)].Number;
        for (size_t i = 1; i <= last; ++i)
            if (training.Strokes[i].IntervalNumber == number && HasValidCurve(training, i)) strokes.push_back(i);
    }
    return strokes;
}

bool IntervalAverage(const TTraining& training, int interval, TStroke& stroke, TForceCurve& curve)
{
    stroke = TStroke{};
    curve = TForceCurve{};
    if (interval < 0 || static_cast<size_t>(interval) >= training.Intervals.size()) return false;
    const TInterval& record = training.Intervals[static_cast<size_t>(interval)];
    stroke = record.Stroke;
    curve = record.Curve;
    if (!IsAllZero(curve)) return true;
    // Files of many kinds hold no interval curves: the interval's own strokes make one.
    TStroke average;
    ComputeAverageOf(training, AveragedStrokes(training, IntervalSource, interval), average, curve);
    stroke.StrokeLength = average.StrokeLength;
    stroke.EnergyPerStroke = average.EnergyPerStroke;
    stroke.PeakForce = average.PeakForce;
    stroke.PeakForcePosition = average.PeakForcePosition;
    stroke.RelPeakForcePosition = average.RelPeakForcePosition;
    return true;
}

namespace {

// From this many values on, a rank is found from a sample first.
const size_t SampledSelection = 4096;
const size_t SampleSize = 1024;
// How many sample values either side of the rank's place the bounds keep:
// four standard deviations of where the rank falls in a sample of 1024 at
// the median, more than four towards the ends.
const double SampleMargin = 64;

// The value a sort would put at `rank`, and the one after it (the same value
// at the end); values is reordered. Among many values, bounds taken from a
// sorted sample nearly always hold both, and then only the values between
// them need ordering: one pass over all instead of several.
std::pair<float, float> RankAndNext(std::vector<float>& values, size_t rank)
{
    const size_t count = values.size();
    const size_t next = std::min(rank + 1, count - 1);
    if (count >= SampledSelection) {
        std::vector<float> sample;
        sample.reserve(SampleSize + 1);
        for (size_t i = 0; i < count; i += count / SampleSize) sample.push_back(values[i]);
        std::sort(sample.begin(), sample.end());
        const double place = static_cast<double>(rank) / count * sample.size();
        const auto at = [&sample](double position) {
            return sample[static_cast<size_t>(std::clamp(position, 0.0, static_cast<double>(sample.size() - 1)))];
        };
        const float low = at(place - SampleMargin), high = at(place + SampleMargin + 1);
        size_t below = 0;
        std::vector<float> between;
        between.reserve(count / 4);
        for (float value : values) {
            if (value < low)
                ++below;
            else if (value <= high)
                between.push_back(value);
        }
        if (below <= rank && next < below + between.size()) {
            if (low == high) return {low, low}; // all between the bounds are that value
            const auto at = between.begin() + static_cast<std::ptrdiff_t>(rank - below);
            std::nth_element(between.begin(), at, between.end());
            return {*at, next == rank ? *at : *std::min_element(at + 1, between.end())};
        }
    }
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(rank);
    std::nth_element(values.begin(), at, values.end());
    return {*at, next == rank ? *at : *std::min_element(at + 1, values.end())};
}

} // namespace

float Percentile(std::vector<float>& values, double p)
{
    // Values that are no number have no rank; ordering them would be undefined.
    values.erase(std::remove_if(values.begin(), values.end(), [](float value) { return std::isnan(value); }),
                 values.end());
    if (values.empty()) return 0;
    const double rank = std::clamp(p, 0.0, 100.0) / 100.0 * (values.size() - 1);
    const size_t below = static_cast<size_t>(std::floor(rank));
    const auto [low, high] = RankAndNext(values, below);
    return static_cast<float>(low + (rank - below) * (high - low));
}

namespace {

// From this many strokes on, a band's work is shared by two threads.
const size_t SharedWork = 4096;

// Runs work(from, to) over 0..count: in two halves at once when there is
// enough to share, else in one go.
void InTwoHalves(size_t count, bool share, const std::function<void(size_t, size_t)>& work)
{
    if (!share) {
        work(0, count);
        return;
    }
    std::thread second(work, count / 2, count);
    work(0, count / 2);
    second.join();
}

} // namespace

TCurveBand SpreadBand(const TTraining& training, const std::vector<size_t>& strokes)
{
    TCurveBand band;
    double length = 0;
    for (size_t i : strokes) length += training.Strokes[i].StrokeLength;
    if (strokes.empty()) return band;
    band.Count = strokes.size();
    const float averageLength = static_cast<float>(length / strokes.size());
    const size_t count = strokes.size();
    const bool share = count >= SharedWork;
    // Resampled a block of strokes at a time, then laid out position by
    // position, as the percentiles want them: each position's values for a
    // block are written in one run.
    std::vector<float> columns(count * CurveSamples);
    InTwoHalves(count, share, [&](size_t from, size_t to) {
        const size_t blockSize = 256;
        const auto block = std::make_unique<double[][CurveSamples]>(blockSize);
        for (size_t first = from; first < to; first += blockSize) {
            const size_t size = std::min(blockSize, to - first);
            for (size_t n = 0; n < size; ++n) {
                const size_t i = strokes[first + n];
                ResampleForAverage(training.Strokes[i], training.Curves[i], averageLength,
                                   training.Settings.Sprocket, block[n]);
            }
            for (size_t k = 0; k < CurveSamples; ++k)
                for (size_t n = 0; n < size; ++n)
                    columns[k * count + first + n] = static_cast<float>(block[n][k]);
        }
    });
    InTwoHalves(CurveSamples, share, [&](size_t from, size_t to) {
        std::vector<float> column(count);
        for (size_t k = from; k < to; ++k) {
            const auto start = columns.begin() + static_cast<std::ptrdiff_t>(k * count);
            column.assign(start, start + static_cast<std::ptrdiff_t>(count));
            band.Low[k] = Percentile(column, 10);
            band.High[k] = Percentile(column, 90);
        }
    });
    return band;
}

std::vector<size_t> TrailStrokes(const TTraining& training, int from, size_t count)
{
    std::vector<size_t> trail;
    const int last = static_cast<int>(training.Strokes.size()) - 1;
    for (int i = std::min(from, last + 1) - 1; i >= 1 && trail.size() < count; --i)
        if (HasValidCurve(training, static_cast<size_t>(i))) trail.push_back(static_cast<size_t>(i));
    return trail;
}

TCurveShape CurveShape(const TStroke& stroke, const TForceCurve& curve, double spacing)
{
    TCurveShape shape;
    const TSamples samples = SamplesOf(curve);
    const int count = DriveSampleCount(stroke, samples, spacing);
    if (count < 1) return shape;
    double sum = 0;
    uint16_t peak = 0;
    int first = 0, last = 0;
    for (int k = 0; k < count; ++k) {
        const uint16_t sample = samples[static_cast<size_t>(k)];
        sum += sample;
        if (sample > peak) peak = sample, first = last = k;
        else if (sample == peak && sample > 0) last = k;
    }
    if (peak == 0) return shape;
    shape.Fullness = static_cast<float>(sum / count / peak);
    // Sample k stands (k + 1) spacings from the catch; the drive ends where the stroke's length says.
    const double length = std::isfinite(stroke.StrokeLength) && stroke.StrokeLength > 0 ? stroke.StrokeLength
                                                                                         : count * spacing;
    shape.PeakShare = static_cast<float>((first + last + 2) / 2.0 * spacing / length);
    return shape;
}

std::array<std::string, 2> CurveShapeTexts(const TCurveShape& shape)
{
    if (shape.Fullness == 0) return {"", ""};
    static const TValueFormat Format("%1.2f");
    return {Trim(Format.Text(shape.Fullness)), Trim(Format.Text(shape.PeakShare))};
}
