// Force-curve analysis beyond one stroke.
#include "untCurveAnalysis.h"

#include "jsUtils.h"
#include "untCharts.h"
#include "untFiles.h"

#include <algorithm>
#include <cmath>

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

float Percentile(std::vector<float>& values, double p)
{
    if (values.empty()) return 0;
    const double rank = std::clamp(p, 0.0, 100.0) / 100.0 * (values.size() - 1);
    const size_t below = static_cast<size_t>(std::floor(rank));
    std::nth_element(values.begin(), values.begin() + below, values.end());
    const float low = values[below];
    if (below + 1 >= values.size()) return low;
    // The next rank is the smallest of those above.
    const float high = *std::min_element(values.begin() + below + 1, values.end());
    return static_cast<float>(low + (rank - below) * (high - low));
}

TCurveBand SpreadBand(const TTraining& training, const std::vector<size_t>& strokes)
{
    TCurveBand band;
    double length = 0;
    for (size_t i : strokes) length += training.Strokes[i].StrokeLength;
    if (strokes.empty()) return band;
    band.Count = strokes.size();
    const float averageLength = static_cast<float>(length / strokes.size());
    // Position by position, as the percentiles want them.
    std::vector<std::vector<float>> columns(CurveSamples);
    for (std::vector<float>& column : columns) column.reserve(strokes.size());
    for (size_t i : strokes) {
        double v[CurveSamples];
        ResampleForAverage(training.Strokes[i], training.Curves[i], averageLength, training.Settings.Sprocket, v);
        for (int k = 0; k < CurveSamples; ++k) columns[static_cast<size_t>(k)].push_back(static_cast<float>(v[k]));
    }
    for (size_t k = 0; k < CurveSamples; ++k) {
        band.Low[k] = Percentile(columns[k], 10);
        band.High[k] = Percentile(columns[k], 90);
    }
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
