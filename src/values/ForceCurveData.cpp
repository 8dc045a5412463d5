// The force-curve window's computations over one training: the shown curve,
// its chart points and grid row, its export, and the browse steps.
#include "untForceCurveData.h"

#include "jsUtils.h"
#include "untCharts.h"
#include "untCurveAnalysis.h"
#include "untFiles.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

const int TitleField = 4; // DescribeTraining's bit for the title

// N, the number of strokes: the last index of Strokes (element 0 is the
// average), 0 for a record without even the average.
int StrokeCount(const TTraining& training)
{
    return training.Strokes.empty() ? 0 : static_cast<int>(training.Strokes.size()) - 1;
}

// True when stroke `index` (1..N) has a curve stored that is valid; strokes
// beyond the arrays count as not valid, so that stepping passes over them.
bool HasValidCurve(const TTraining& training, int index)
{
    return index >= 1 && index <= StrokeCount(training)
           && static_cast<size_t>(index) < training.Curves.size()
           && training.Curves[static_cast<size_t>(index)].Valid != 0;
}

// Values at the 80 positions of a curve resampled by `factor`, as chart
// points j * spacing (j = 1..80), scaled by `force` when it is given.
TCurvePoints PointsOf(const double (&values)[CurveSamples], double spacing, double factor, const float* force)
{
    const TResampled resampled = ResampleCurve(values, CurveSamples, factor);
    TCurvePoints points(CurveSamples);
    for (int j = 1; j <= CurveSamples; ++j) {
        TCurvePoint& point = points[static_cast<size_t>(j - 1)];
        point.X = static_cast<float>(j * spacing);
        point.Y = force ? *force * resampled[static_cast<size_t>(j - 1)] : resampled[static_cast<size_t>(j - 1)];
    }
    return points;
}

// The points of one stroke's values with the options: fixed length stretches
// the curve so that the stroke's own length ends at the chosen length, fixed
// force scales it so that its peak is the chosen force.
TCurvePoints ScaledPoints(const TStroke& stroke, const double (&values)[CurveSamples], double spacing,
                          const TCurveScaling& scaling)
{
    const double factor = scaling.FixedLength
                              ? SafeDivide(static_cast<float>(scaling.Length), stroke.StrokeLength)
                              : 1.0;
    const float force = SafeDivide(stroke.PeakForce, static_cast<float>(scaling.Force));
    return PointsOf(values, spacing, factor, scaling.FixedForce ? &force : nullptr);
}

TCurvePoints ScaledPoints(const TStroke& stroke, const TForceCurve& curve, double spacing,
                          const TCurveScaling& scaling)
{
    double values[CurveSamples];
    const TSamples samples = SamplesOf(curve);
    std::copy(samples.begin(), samples.end(), values);
    return ScaledPoints(stroke, values, spacing, scaling);
}

// Whether the training draws anything: visible, with strokes and a curve index.
bool Draws(const TTraining& training)
{
    return training.Header.Visible != 0 && StrokeCount(training) >= 1 && training.Header.CurveIndex >= 1;
}

} // namespace

bool ShownStroke(const TTraining& training, TStroke& stroke, TForceCurve& curve)
{
    stroke = TStroke{};
    curve = TForceCurve{};
    const THeader& header = training.Header;
    switch (header.CurveSource) {
    case SourceStroke: {
        const int index = header.CurveIndex;
        if (index < 1 || index > StrokeCount(training) || static_cast<size_t>(index) >= training.Curves.size())
            return false;
        stroke = training.Strokes[static_cast<size_t>(index)];
        curve = training.Curves[static_cast<size_t>(index)];
        return true;
    }
    case SourceAverage:
        if (training.Strokes.empty() || training.Curves.empty()) return false;
        stroke = training.Strokes[0];
        curve = training.Curves[0];
        return true;
    case SourceInterval: return IntervalAverage(training, header.CurveInterval, stroke, curve);
    default: return false;
    }
}

TCurvePoints ShownCurvePoints(const TTraining& training, const TCurveScaling& scaling)
{
    if (!Draws(training)) return {};
    TStroke stroke;
    TForceCurve curve;
    if (!ShownStroke(training, stroke, curve)) return {};
    return ScaledPoints(stroke, curve, CurveSpacing(training.Settings), scaling);
}

TCurvePoints StrokeCurvePoints(const TStroke& stroke, const TForceCurve& curve, const TUserSettings& settings,
                               const TCurveScaling& scaling)
{
    return ScaledPoints(stroke, curve, CurveSpacing(settings), scaling);
}

std::vector<TCurvePoints> AllCurvePoints(const TTraining& training, const TCurveScaling& scaling)
{
    std::vector<TCurvePoints> all;
    ForEachOfAllCurves(training, scaling, [&all](const TCurvePoints& points) { all.push_back(points); });
    return all;
}

void ForEachOfAllCurves(const TTraining& training, const TCurveScaling& scaling,
                        const std::function<void(const TCurvePoints&)>& visit)
{
    if (training.Spare2 == 0 || !Draws(training)) return;
    const double spacing = CurveSpacing(training.Settings);
    const int last = StrokeCount(training);
    for (int k = 1; k <= last; ++k)
        if (HasValidCurve(training, k))
            visit(ScaledPoints(training.Strokes[static_cast<size_t>(k)], training.Curves[static_cast<size_t>(k)],
                               spacing, scaling));
}

std::vector<TCurvePoints> TrailCurvePoints(const TTraining& training, const TCurveScaling& scaling, size_t count)
{
    std::vector<TCurvePoints> trail;
    if (!Draws(training) || training.Header.CurveSource != SourceStroke) return trail;
    const double spacing = CurveSpacing(training.Settings);
    for (size_t k : TrailStrokes(training, training.Header.CurveIndex, count))
        trail.push_back(ScaledPoints(training.Strokes[k], training.Curves[k], spacing, scaling));
    return trail;
}

TCurveBand ShownBand(const TTraining& training)
{
    const THeader& header = training.Header;
    if (!Draws(training) || header.CurveSource == SourceStroke) return {};
    return SpreadBand(training, AveragedStrokes(training, header.CurveSource, header.CurveInterval));
}

TCurveBandPoints ShownBandPoints(const TTraining& training, const TCurveBand& band, const TCurveScaling& scaling)
{
    TStroke stroke;
    TForceCurve curve;
    if (band.Count == 0 || !ShownStroke(training, stroke, curve)) return {};
    // The edges are scaled with the average's own length and peak, so that
    // the band stays around the curve it belongs to.
    double low[CurveSamples], high[CurveSamples];
    std::copy(band.Low.begin(), band.Low.end(), low);
    std::copy(band.High.begin(), band.High.end(), high);
    const double spacing = CurveSpacing(training.Settings);
    return {ScaledPoints(stroke, low, spacing, scaling), ScaledPoints(stroke, high, spacing, scaling)};
}

bool PinShownCurve(const TTraining& training, TPinnedCurve& pinned)
{
    pinned = TPinnedCurve{};
    if (!Draws(training) || !ShownStroke(training, pinned.Stroke, pinned.Curve)) return false;
    pinned.Caption = TrainingCaption(training);
    pinned.Settings = training.Settings;
    return true;
}

double ForceAxisMaximum(float highest)
{
    const float mostHeld = 65535;
    if (!(highest > ForceAxisTop)) return ForceAxisTop;
    const double steps = std::ceil((std::min(highest, mostHeld) - ForceAxisTop) / ForceAxisStep);
    return ForceAxisTop + steps * ForceAxisStep;
}

float HighestForce(const TCurvePoints& points, float highest)
{
    for (const TCurvePoint& point : points)
        if (std::isfinite(point.Y)) highest = std::max(highest, point.Y);
    return highest;
}

std::string TrainingCaption(const TTraining& training)
{
    const THeader& header = training.Header;
    const std::string title = DescribeTraining(header, TitleField, false);
    const int n = StrokeCount(training);
    switch (header.CurveSource) {
    case SourceStroke:
        if (header.CurveIndex == 1 && n == 1) return title;
        return title + " (" + std::to_string(header.CurveIndex) + "/" + std::to_string(n) + ")";
    case SourceAverage: return title + " [A] (" + std::to_string(n) + ")";
    case SourceInterval: return title + " [Int " + std::to_string(static_cast<int64_t>(header.CurveInterval) + 1) + "]";
    default: return "";
    }
}

std::vector<std::string> CurveGridCaptions()
{
    std::vector<std::string> captions(StrokeColumns.size());
    for (size_t c = 0; c < captions.size(); ++c) {
        const int entry = EntryInColumn(StrokeParameters, StrokeColumns, static_cast<int>(c));
        if (entry >= 0) captions[c] = StrokeCaption(entry);
    }
    captions.insert(captions.end(), CurveShapeCaptions.begin(), CurveShapeCaptions.end());
    return captions;
}

std::vector<std::string> CurveRowTexts(const TTraining& training, const TCurveScaling& scaling)
{
    TStroke stroke;
    TForceCurve curve;
    ShownStroke(training, stroke, curve); // an all-zero stroke when there is none
    return StrokeRowTexts(stroke, curve, training.Settings, scaling);
}

std::vector<std::string> StrokeRowTexts(const TStroke& stroke, const TForceCurve& curve,
                                        const TUserSettings& settings, const TCurveScaling& scaling)
{
    const size_t columns = StrokeColumns.size();
    std::vector<std::string> texts(columns);
    const bool rescaled = scaling.FixedForce || scaling.FixedLength;
    if (!rescaled) {
        for (size_t c = 0; c < columns; ++c) {
            const int entry = EntryInColumn(StrokeParameters, StrokeColumns, static_cast<int>(c));
            if (entry >= 0) texts[c] = Trim(StrokeValueText(stroke, entry, settings));
        }
    }

    double length = stroke.StrokeLength;
    double energy = stroke.EnergyPerStroke;
    double peak = stroke.PeakForce;
    double position = stroke.PeakForcePosition;
    double relative = stroke.RelPeakForcePosition;
    if (scaling.FixedForce) {
        const double f = SafeDivide(stroke.PeakForce, static_cast<float>(scaling.Force));
        energy *= f;
        peak = scaling.Force;
    }
    if (scaling.FixedLength) {
        const double g = SafeDivide(stroke.StrokeLength, static_cast<float>(scaling.Length));
        length = scaling.Length;
        energy *= g;
        position *= g;
        relative = SafeDivide(static_cast<float>(scaling.Length), static_cast<float>(position * 100));
    }
    // The stroke-catalogue entries the scaling options change.
    const std::pair<int, double> values[] = {{seStrokeLength, length},
                                             {seEnergyPerStroke, energy},
                                             {sePeakForce, peak},
                                             {sePeakForcePosition, position},
                                             {seRelPeakForcePosition, relative}};
    for (const auto& [entry, value] : values) {
        if (static_cast<size_t>(entry) >= StrokeParameters.size()) continue;
        const ParameterType& parameter = StrokeParameters[static_cast<size_t>(entry)];
        if (parameter.Column < 0 || static_cast<size_t>(parameter.Column) >= columns) continue;
        texts[static_cast<size_t>(parameter.Column)] =
            Trim(FormatParameterValue(parameter.Format, static_cast<float>(value)));
    }
    // The curve's shape does not change with the options' scaling.
    for (const std::string& text : CurveShapeTexts(CurveShape(stroke, curve, CurveSpacing(settings))))
        texts.push_back(text);
    return texts;
}

TTraining ExportedStrokeTraining(const TTraining& training, const TCurveScaling& scaling)
{
    TTraining record{};
    record.Settings = training.Settings;
    SetStrokeCount(record, 1);
    TStroke stroke;
    TForceCurve curve;
    ShownStroke(training, stroke, curve);
    record.Strokes[1] = stroke;

    const float peak = stroke.PeakForce;
    float length = stroke.StrokeLength;
    float energy = stroke.EnergyPerStroke;
    TResampled values;
    if (scaling.FixedLength) {
        const float factor = SafeDivide(static_cast<float>(scaling.Length), length);
        values = ResampleCurve(SamplesOf(curve), factor);
        length = static_cast<float>(scaling.Length);
        energy = SafeDivide(factor, energy);
        record.Strokes[1] = TStroke{};
    } else {
        values = ResampleCurve(SamplesOf(curve), 1);
    }
    if (scaling.FixedForce) {
        const float f = SafeDivide(peak, static_cast<float>(scaling.Force));
        for (float& value : values) value *= f;
        energy *= f;
        record.Strokes[1] = TStroke{};
    }
    for (int k = 0; k < CurveSamples; ++k)
        record.Curves[1].Samples[k] = RoundToWord(values[static_cast<size_t>(k)]);
    record.Strokes[1].Number = 1;
    record.Strokes[1].StrokeLength = length;
    record.Strokes[1].EnergyPerStroke = energy;
    return record;
}

bool FirstCurve(TTraining& training)
{
    if (training.Header.CurveIndex <= 1) return false;
    training.Header.CurveIndex = 1;
    return true;
}

// Stepping back or forth goes to the nearest stroke with a valid curve, and
// to stroke 1 or N when there is none on the way. A stored index beyond the
// strokes counts its missing strokes as not valid; the search starts at the
// strokes themselves, so such an index costs no long walk.
bool PreviousCurve(TTraining& training)
{
    const int c = training.Header.CurveIndex;
    if (c <= 1) return false;
    int k = std::min(c - 1, StrokeCount(training));
    while (k > 1 && !HasValidCurve(training, k)) --k;
    training.Header.CurveIndex = std::max(k, 1);
    return true;
}

bool NextCurve(TTraining& training)
{
    const int c = training.Header.CurveIndex;
    const int n = StrokeCount(training);
    if (c >= n) return false;
    int k = std::max(c + 1, 1);
    while (k < n && !HasValidCurve(training, k)) ++k;
    training.Header.CurveIndex = k;
    return true;
}

bool LastCurve(TTraining& training)
{
    const int n = StrokeCount(training);
    if (training.Header.CurveIndex >= n) return false;
    training.Header.CurveIndex = n;
    return true;
}

bool GoToCurve(TTraining& training, int position)
{
    if (position < 1 || position > StrokeCount(training) || position == training.Header.CurveIndex) return false;
    training.Header.CurveIndex = position;
    return true;
}

void DeleteShownCurve(TTraining& training)
{
    const int c = training.Header.CurveIndex;
    if (c < 1 || c > StrokeCount(training) || static_cast<size_t>(c) >= training.Curves.size()) return;
    training.Curves[static_cast<size_t>(c)].Valid = 0;
    if (c > 1)
        PreviousCurve(training);
    else
        NextCurve(training);
    ComputeAverageStroke(training);
}

TBrowseState BrowseStateOf(const TTraining* selected)
{
    TBrowseState state;
    if (!selected) return state;
    const THeader& header = selected->Header;
    const bool visible = header.Visible != 0;
    const int c = header.CurveIndex;
    const int n = StrokeCount(*selected);
    state.CurvesEnabled = visible;
    state.AverageEnabled = visible && !(c <= 1 && n == c);
    state.IntervalsEnabled = visible && selected->Intervals.size() >= 2; // last index above 0
    if (state.IntervalsEnabled) {
        state.IntervalMaximum = static_cast<int>(selected->Intervals.size()) - 1;
        state.IntervalPosition = std::clamp(+header.CurveInterval, 0, state.IntervalMaximum);
    }
    if (header.CurveSource == SourceStroke) {
        state.CurvesChecked = true;
        state.Back = visible && c > 1;
        state.Forward = visible && c > 0 && n > c;
        state.Delete = visible && c > 0 && n > 1;
        state.ScrollMinimum = c > 0 ? 1 : 0;
        state.ScrollPosition = c;
        state.ScrollMaximum = n;
        state.CurveNumber = c;
    } else if (header.CurveSource == SourceAverage) {
        state.AverageChecked = true;
    } else if (header.CurveSource == SourceInterval) {
        state.IntervalsChecked = true;
    }
    return state;
}
