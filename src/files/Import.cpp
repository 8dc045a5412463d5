// What the readers of today's training files share.
#include "untImport.h"

#include "LegacyRecords.h"
#include "untBinaryFile.h"
#include "jsUtils.h"
#include "untFiles.h"
#include "untMessages.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>

namespace {

double Finite(double value) { return std::isfinite(value) ? value : 0; }

// The strokes' running average power and energy sum (in joules, as the other
// readers keep it), and the work per heartbeat where the file gives none.
void AddRunningValues(std::vector<TStroke>& strokes)
{
    double power = 0, energy = 0;
    for (size_t i = 1; i < strokes.size(); ++i) {
        TStroke& stroke = strokes[i];
        stroke.Number = static_cast<uint16_t>(i);
        power += Finite(stroke.Power);
        energy += Finite(stroke.EnergyPerStroke);
        stroke.AveragePower = static_cast<float>(power / i);
        stroke.EnergySum = static_cast<float>(energy);
        // The work of a heartbeat: power (J/s) over the beats a second.
        if (stroke.WorkPerPulse == 0 && Finite(stroke.Pulse) > 0)
            stroke.WorkPerPulse = static_cast<float>(Finite(stroke.Power) * 60 / stroke.Pulse);
    }
}

// A file that gives no distance per stroke has it from the distances.
void AddDistancesPerStroke(TTraining& training)
{
    for (size_t i = 1; i < training.Strokes.size(); ++i)
        if (training.Strokes[i].DistancePerStroke != 0) return;
    ComputeDistancePerStroke(training.Strokes, static_cast<int>(training.Strokes.size()) - 1);
}

// Work laps become intervals numbered from 1; the strokes of a rest lap have
// interval number 0.
void AddIntervals(TTraining& training, const std::vector<TImportedLap>& laps)
{
    if (laps.size() < 2) return;
    training.Settings.SessionLimit = 4;
    for (const TImportedLap& lap : laps) {
        if (lap.Rest || lap.Last < lap.First || lap.Last >= training.Strokes.size()) continue;
        const int number = static_cast<int>(training.Intervals.size()) + 1;
        SetIntervalCount(training, number);
        TInterval& interval = training.Intervals.back();
        interval.Number = static_cast<uint16_t>(std::min(number, 65535));
        const size_t count = lap.Last - lap.First + 1;
        double power = 0, rate = 0, pulse = 0;
        for (size_t i = lap.First; i <= lap.Last; ++i) {
            TStroke& stroke = training.Strokes[i];
            stroke.IntervalNumber = interval.Number;
            power += Finite(stroke.Power);
            rate += Finite(stroke.StrokeRate);
            pulse += Finite(stroke.Pulse);
        }
        const TStroke& before = training.Strokes[lap.First - 1];
        const TStroke& end = training.Strokes[lap.Last];
        interval.AveragePower = RoundToWord(power / count);
        interval.AverageStrokeRate = RoundToWord(rate / count);
        interval.AveragePulse = RoundToWord(pulse / count);
        interval.TotalTime = RoundToWord(Finite(end.Time) - (lap.First > 1 ? Finite(before.Time) : 0));
        interval.TotalDistance = RoundToWord(Finite(end.Distance) - (lap.First > 1 ? Finite(before.Distance) : 0));
        interval.Stroke.Number = static_cast<uint16_t>(std::min<size_t>(count, 65535));
        interval.Stroke.Power = static_cast<float>(power / count);
        interval.Stroke.StrokeRate = static_cast<float>(rate / count);
        interval.Stroke.Pulse = static_cast<float>(pulse / count);
    }
    training.Settings.LimitIntervals = static_cast<int32_t>(training.Intervals.size());
}

} // namespace

bool ImportFile(const std::string& path, const std::function<void()>& read)
{
    try {
        read();
        return true;
    } catch (const EInOutError& error) {
        ShowIOError(path, error.what(), error.Code);
        return false;
    } catch (const std::exception&) {
        MessageBeep();
        return false;
    }
}

void BeginImport(TTraining& training, const std::string& path, uint8_t kind, uint8_t format)
{
    training = TTraining{};
    NewTraining(training);
    NewSettings(training.Settings);
    ApplyLegacyHeader(training, path, format, kind);
    training.Header.FileName.Assign(Utf8ToAnsi(path));
    training.Header.FileDateTime = training.Header.OrigFileDateTime;
    training.Header.FileSize = training.Header.OrigFileSize;
    training.Header.FileKind = kind;
    training.Header.FileFormat = format;
}

void TImportedStrokes::Add(const TStroke& stroke, const TSourceCurve& curve)
{
    if (Count() >= MaxImportedStrokes) {
        if (!Cut) ShowWarningMessage("The file holds more than 65535 strokes; the first 65535 are shown.");
        Cut = true;
        return;
    }
    Training.Strokes.push_back(stroke);
    Training.Curves.push_back(ImportedCurve(curve, stroke.StrokeLength, Training.Settings));
    Training.Curves.back().Number = static_cast<uint16_t>(Count());
}

std::optional<double> ImportedNumber(std::string_view text)
{
    text = TrimmedView(text);
    // from_chars reads a minus sign but no plus.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    const char* end = text.data() + text.size();
    // Whole numbers, the most common (forces, heart rates), take the quicker way.
    long long whole = 0;
    const auto [wholeStop, wholeError] = std::from_chars(text.data(), end, whole);
    if (wholeError == std::errc() && wholeStop == end) return static_cast<double>(whole);
    double value = 0;
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || !(std::fabs(value) <= FLT_MAX)) return std::nullopt;
    return value;
}

TForceCurve ImportedCurve(const TSourceCurve& source, double driveLengthCm, const TUserSettings& settings)
{
    TForceCurve curve{};
    const int count = static_cast<int>(std::min<size_t>(source.Forces.size(), 10000));
    double step = source.Step;
    // Without a step of its own, the curve's last sample ends the drive.
    if (!(step > 0) && count > 0) step = Finite(driveLengthCm) / count;
    const double spacing = CurveSpacing(settings);
    if (count < 2 || !(step > 0) || !std::isfinite(step) || !(spacing > 0)) return curve;
    std::vector<double> forces(source.Forces.begin(), source.Forces.begin() + count);
    for (double& force : forces) force = std::max(0.0, Finite(force));
    // Samples that already lie at the record's spacing are taken as they are.
    TResampled samples{};
    const double factor = spacing / step;
    if (std::fabs(factor - 1) < 1e-6 && count <= CurveSamples)
        std::copy(forces.begin(), forces.end(), samples.begin());
    else
        samples = ResampleCurve(forces.data(), count, factor);
    bool any = false;
    for (int k = 0; k < CurveSamples; ++k) {
        curve.Samples[k] = RoundToWord(samples[k]);
        any = any || curve.Samples[k] > 0;
    }
    curve.Valid = any ? 1 : 0;
    return curve;
}

void FinishImport(TTraining& training, const std::vector<TImportedLap>& laps)
{
    AddRunningValues(training.Strokes);
    AddDistancesPerStroke(training);
    AddIntervals(training, laps);
    const int sprocket = training.Settings.Sprocket;
    for (size_t i = 1; i < training.Strokes.size(); ++i)
        if (training.Curves[i].Valid) ComputePeakForce(training.Strokes[i], training.Curves[i], sprocket);
    ComputeAverageStroke(training);
    TotalsFromLastStroke(training);
}
