#include "DemoTraining.h"

#include "untFiles.h"

#include <algorithm>
#include <cmath>

namespace {

const double Pi = 3.14159265358979323846;
const double IntervalDistance = 500.0;

// Strokes whose curve the recorder marked as not valid, so that browsing the
// sample shows curves being passed over and the average leaving them out.
bool CurveWithdrawn(int stroke) { return stroke == 5 || stroke == 6 || stroke == 97 || stroke == 160; }

// A small deterministic generator of noise in [-1, 1).
class TNoise {
public:
    double Next()
    {
        State = State * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(State >> 11) / static_cast<double>(1ULL << 52) - 1.0;
    }

private:
    uint64_t State = 0x2000;
};

// One drive: force rises to its peak a little before the middle of the drive
// and falls back to zero at the catch of the recovery.
TForceCurve DriveCurve(uint16_t number, double peak, double driveLength, double spacing, TNoise& noise)
{
    TForceCurve curve{};
    curve.Number = number;
    curve.Valid = 1;
    const double samples = driveLength / spacing;
    for (int k = 1; k <= CurveSamples; ++k) {
        const double x = (k - 0.5) / samples;
        if (x >= 1.0) break;
        const double shape = std::pow(std::sin(Pi * std::pow(x, 0.85)), 1.6);
        curve.Samples[k - 1] = RoundToWord(peak * shape + 6.0 * noise.Next());
    }
    return curve;
}

void SetHeader(TTraining& training)
{
    THeader& h = training.Header;
    h = THeader{};
    h.FileFormat = ffSTG;
    h.FileKind = fkTraining;
    h.Title.Assign("2000 m test");
    h.Name.Assign("Demo Rower");
    h.Description.Assign("A steady 2000 m piece at about 31 strokes a minute");
    h.DateTime = EncodeDateTime(2026, 6, 14, 7, 30);
    h.TrainingType.Assign("Test");
    h.Event.Assign("Summer 2k");
    h.Note.Assign("Calm water, cool morning");
    h.Visible = 1;
    h.CurveIndex = 1; // a training file keeps its shown curve: it opens at the first
    h.Color = Colors[0].Color;
    h.PenWidth = 2;
    h.Recorder = RecorderThisProgram;
    h.TrainingID = TGuid{0x6D61726C, 0x6F20, 0x4001, {0x80, 0x00, 0x73, 0x61, 0x6D, 0x70, 0x6C, 0x65}};
}

void SetSettings(TUserSettings& settings)
{
    NewSettings(settings);
    settings.Weight = 78;
    settings.Gender = 1;
    settings.Boat = 1;
    settings.Ergometer = 1;
    settings.SessionLimit = 2;
    settings.LimitDistance = 2000;
    settings.IntervalBy = 2;
    settings.WorkDistance = 500;
    settings.WorkPeriod = 500;
}

void AddStrokes(TTraining& training, int strokes, double finish)
{
    TNoise noise;
    const double spacing = CurveSpacing(training.Settings);
    SetStrokeCount(training, strokes);
    double time = 0, distance = 0, energy = 0, powerSum = 0;
    for (int i = 1; i <= strokes; ++i) {
        // A fast start, a steady middle and a sprint over the last strokes.
        const double phase = static_cast<double>(i) / strokes;
        const double effort = 1.0 + 0.12 * std::exp(-i / 6.0) + 0.07 * std::max(0.0, phase - 0.88) / 0.12;
        const double rate = 30.5 * effort + 0.6 * noise.Next();
        const double power = 295.0 * effort * effort + 12.0 * noise.Next();
        const double duration = 60.0 / rate;
        const double speed = std::cbrt(power / 2.8); // m/s for the ergometer's drag
        const double strokeLength = 142.0 + 4.0 * noise.Next();
        const double driveTime = duration / (1.0 + 1.9 + 0.1 * noise.Next());
        const double startDistance = distance;
        time += duration;
        distance += speed * duration;
        const bool finished = finish > 0 && distance >= finish;
        if (finished) distance = finish;
        energy += power * duration;
        powerSum += power;
        const double pulse = std::min(186.0, 118.0 + 70.0 * (1.0 - std::exp(-time / 90.0))) + noise.Next();

        TStroke& s = training.Strokes[i];
        s.Power = static_cast<float>(power);
        s.AveragePower = static_cast<float>(powerSum / i);
        s.StrokeRate = static_cast<float>(rate);
        s.TargetPower = 300.0f;
        s.Time = static_cast<float>(time);
        s.StrokeLength = static_cast<float>(strokeLength);
        s.Distance = static_cast<float>(distance);
        s.Split500 = static_cast<float>(500.0 / speed);
        s.EnergyPerStroke = static_cast<float>(power * duration);
        s.EnergySum = static_cast<float>(energy);
        s.Pulse = static_cast<float>(pulse);
        s.WorkPerPulse = static_cast<float>(power * 60.0 / pulse);
        s.DriveRecoverRatio = static_cast<float>((duration - driveTime) / driveTime);
        s.DriveTime = static_cast<float>(driveTime);
        s.IntervalNumber = static_cast<uint16_t>(startDistance / IntervalDistance) + 1;
        s.IntervalCountdown = RoundToWord(IntervalDistance * s.IntervalNumber - distance);
        s.IntervalPower = 300;

        const double peak = 520.0 + 0.9 * (power - 250.0) + 15.0 * noise.Next();
        training.Curves[i] = DriveCurve(static_cast<uint16_t>(i), peak, strokeLength, spacing, noise);
        if (CurveWithdrawn(i)) training.Curves[i].Valid = 0;
        ComputePeakForce(s, training.Curves[i], training.Settings.Sprocket);
        if (finished) {
            SetStrokeCount(training, i);
            break;
        }
    }
    ComputeDistancePerStroke(training.Strokes, static_cast<int>(training.Strokes.size()) - 1);
}

// One interval per 500 m: averages of its strokes, its average stroke, and the
// average curve of its strokes with a valid curve.
void AddIntervals(TTraining& training)
{
    const std::vector<TStroke>& strokes = training.Strokes;
    const int last = static_cast<int>(strokes.size()) - 1;
    int first = 1;
    double startTime = 0, startDistance = 0;
    while (first <= last) {
        const int number = static_cast<int>(training.Intervals.size()) + 1;
        int end = first;
        while (end < last && strokes[end + 1].IntervalNumber == number) ++end;
        const int count = end - first + 1;
        double power = 0, rate = 0, pulse = 0;
        double curve[CurveSamples] = {};
        int curves = 0;
        TStroke average{};
        for (int i = first; i <= end; ++i) {
            power += strokes[i].Power;
            rate += strokes[i].StrokeRate;
            pulse += strokes[i].Pulse;
            if (!training.Curves[i].Valid) continue;
            ++curves;
            const TSamples samples = SamplesOf(training.Curves[i]);
            for (int k = 0; k < CurveSamples; ++k) curve[k] += samples[k];
        }
        SetIntervalCount(training, number);
        TInterval& interval = training.Intervals.back();
        interval.AveragePower = RoundToWord(power / count);
        interval.AverageStrokeRate = RoundToWord(rate / count);
        interval.TotalTime = RoundToWord(strokes[end].Time - startTime);
        interval.TotalDistance = RoundToWord(strokes[end].Distance - startDistance);
        interval.AveragePulse = RoundToWord(pulse / count);
        interval.Curve.Valid = 1;
        for (int k = 0; k < CurveSamples; ++k)
            interval.Curve.Samples[k] = curves > 0 ? RoundToWord(curve[k] / curves) : 0;
        average.Number = static_cast<uint16_t>(count);
        average.Power = static_cast<float>(power / count);
        average.StrokeRate = static_cast<float>(rate / count);
        average.Pulse = static_cast<float>(pulse / count);
        interval.Stroke = average;
        startTime = strokes[end].Time;
        startDistance = strokes[end].Distance;
        first = end + 1;
    }
}

} // namespace

TTraining MakeDemoTraining(int strokes, double distance)
{
    TTraining training;
    std::memcpy(training.Magic, TrainingMagic, 4);
    training.Version = PackVersion("1.0.0.0");
    SetHeader(training);
    SetSettings(training.Settings);
    AddStrokes(training, strokes, distance);
    AddIntervals(training);
    const TStroke& last = training.Strokes.back();
    training.Totals.TotalDistance = last.Distance;
    training.Totals.TotalTime = last.Time;
    training.Totals.TotalEnergy = last.EnergySum / 1000.0f;
    training.Totals.AveragePower = last.AveragePower;
    ComputeAverageStroke(training);
    return training;
}
