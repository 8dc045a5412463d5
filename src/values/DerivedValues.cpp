// The values of strokes, intervals and whole trainings that the catalogues
// describe. Each is computed in double from the stored fields and rounded to
// single precision once, as is every SafeDivide.
#include "untCharts.h"
#include "jsUtils.h"

#include <cmath>

namespace {

const double SecondsPerDay = 86400.0;
const double KmhPerMps = 3.6;
const double MphPerMps = 3600.0 / 1609.344;

float Days(double seconds) { return static_cast<float>(seconds / SecondsPerDay); }

// The part of the session completed at this stroke, by the session's limit;
// 0 when that limit is not set.
float SessionFraction(const TStroke& s, const TUserSettings& settings)
{
    switch (settings.SessionLimit) {
    case 0: return SafeDivide(static_cast<float>(settings.LimitStrokes), s.Number);
    case 1: return SafeDivide(static_cast<float>(settings.LimitEnergy), s.EnergySum);
    case 2: return SafeDivide(static_cast<float>(settings.LimitDistance), s.Distance);
    case 3: return SafeDivide(static_cast<float>(settings.LimitTime), s.Time);
    case 4: return SafeDivide(static_cast<float>(settings.LimitIntervals), s.IntervalNumber);
    default: return 0.0f;
    }
}

// How much the whole session is of what is done: 1 / fraction, or 0.
float ProjectionFactor(const TStroke& s, const TUserSettings& settings)
{
    return SafeDivide(SessionFraction(s, settings), 1.0f);
}

float RecoverTime(const TStroke& s)
{
    return static_cast<float>(static_cast<double>(s.DriveTime) * s.DriveRecoverRatio);
}

float StrokeTime(const TStroke& s)
{
    return static_cast<float>(static_cast<double>(s.DriveTime) * (s.DriveRecoverRatio + 1.0));
}

// m/s over the stroke: its distance (cm) over drive plus recover time.
float StrokeSpeed(const TStroke& s)
{
    return SafeDivide(StrokeTime(s), static_cast<float>(s.DistancePerStroke / 100.0));
}

// m/s from the start of the session to this stroke.
float RunningSpeed(const TStroke& s) { return SafeDivide(s.Time, s.Distance); }

float Scaled(float value, double factor) { return static_cast<float>(value * factor); }

// What the session will total, and what of it remains, from what is done.
double Projected(const TStroke& s, const TUserSettings& settings, double done)
{
    return ProjectionFactor(s, settings) * done;
}

double Remaining(const TStroke& s, const TUserSettings& settings, double done)
{
    return Projected(s, settings, done) - done;
}

} // namespace

float StrokeValue(const TStroke& s, int index, const TUserSettings& settings)
{
    switch (index) {
    case seNumber: return s.Number;
    case sePower: return s.Power;
    case seAveragePower: return s.AveragePower;
    case seStrokeRate: return s.StrokeRate;
    case seTarget: return s.TargetPower;
    case seTime: return Days(s.Time);
    case seStrokeLength: return s.StrokeLength;
    case seDistance: return s.Distance;
    case seDistancePerStroke: return s.DistancePerStroke;
    case seSplit500: return Days(s.Split500);
    case seEnergyPerStroke: return s.EnergyPerStroke;
    case seEnergySum: return s.EnergySum;
    case sePulse: return s.Pulse;
    case seWorkPerPulse: return s.WorkPerPulse;
    case sePeakForce: return s.PeakForce;
    case sePeakForcePosition: return s.PeakForcePosition;
    case seRelPeakForcePosition: return s.RelPeakForcePosition;
    case seDriveTime: return s.DriveTime;
    case seRecoverTime: return RecoverTime(s);
    case seStrokeTime: return StrokeTime(s);
    case seDriveRecoverRatio: return s.DriveRecoverRatio;
    case seSpeedMps: return StrokeSpeed(s);
    case seKValue: return s.KValue;
    case seIntervalNumber: return s.IntervalNumber;
    case seIntervalCountdown: return s.IntervalCountdown;
    case seIntervalPower: return s.IntervalPower;
    case seTimeElapsed: return Days(s.Time);
    case seTimeRemaining: return Days(Remaining(s, settings, s.Time));
    case seTimeProjected: return Days(Projected(s, settings, s.Time));
    case seDistanceElapsed: return s.Distance;
    case seDistanceRemaining: return static_cast<float>(Remaining(s, settings, s.Distance));
    case seDistanceProjected: return static_cast<float>(Projected(s, settings, s.Distance));
    case seStrokesElapsed: return s.Number;
    case seStrokesRemaining: return static_cast<float>(Remaining(s, settings, s.Number));
    case seStrokesProjected: return static_cast<float>(Projected(s, settings, s.Number));
    case seSpeedKmh: return Scaled(StrokeSpeed(s), KmhPerMps);
    case seSpeedMph: return Scaled(StrokeSpeed(s), MphPerMps);
    case seAverageSplit500: return Days(static_cast<double>(SafeDivide(s.Distance, 500.0f)) * s.Time);
    case seAverageSpeedMps: return RunningSpeed(s);
    case seAverageSpeedKmh: return Scaled(RunningSpeed(s), KmhPerMps);
    case seAverageSpeedMph: return Scaled(RunningSpeed(s), MphPerMps);
    case seAverageStrokeRate: return Scaled(SafeDivide(s.Time, s.Number), 60.0);
    default: return 0.0f;
    }
}

float IntervalValue(const TInterval& interval, int index)
{
    const TStroke& st = interval.Stroke;
    switch (index) {
    case ieNumber: return interval.Number;
    case ieAveragePower: return interval.AveragePower;
    case ieAverageStrokeRate: return interval.AverageStrokeRate;
    case ieTotalTime: return Days(interval.TotalTime);
    case ieTotalDistance: return interval.TotalDistance;
    case ieAveragePulse: return interval.AveragePulse;
    case ieSpeed: return SafeDivide(interval.TotalTime, interval.TotalDistance);
    case ieStrokes: return st.Number;
    case ieStrokeLength: return st.StrokeLength;
    case ieSplit500: return Days(st.Split500);
    case ieEnergyPerStroke: return st.EnergyPerStroke;
    case ieEnergySum: return st.EnergySum;
    case ieWorkPerPulse: return st.WorkPerPulse;
    case ieDistancePerStroke: return st.DistancePerStroke;
    case iePeakForce: return st.PeakForce;
    case iePeakForcePosition: return st.PeakForcePosition;
    case ieRelPeakForcePosition: return st.RelPeakForcePosition;
    case ieDriveTime: return st.DriveTime;
    case ieRecoverTime: return RecoverTime(st);
    case ieStrokeTime: return StrokeTime(st);
    case ieDriveRecoverRatio: return st.DriveRecoverRatio;
    case ieKValue: return st.KValue;
    default: return 0.0f;
    }
}

namespace {

// The number of strokes: the highest index of Strokes (element 0 is the average).
float StrokeCount(const TTraining& training)
{
    return training.Strokes.empty() ? 0.0f : static_cast<float>(training.Strokes.size() - 1);
}

// The value's text, one space and the unit, trimmed; a value that is not
// finite has no unit to show.
std::string TextWithUnit(const std::string& format, float value, const std::string& unit)
{
    if (!std::isfinite(value)) return NoValueText;
    return Trim(FormatParameterValue(format, value) + " " + unit);
}

} // namespace

float TotalValue(const TTraining& training, int index)
{
    const TTotals& t = training.Totals;
    switch (index) {
    case teDistance: return t.TotalDistance;
    case teTime: return Days(t.TotalTime);
    case teEnergy: return t.TotalEnergy;
    case teAveragePower: return t.AveragePower;
    case teStrokes: return StrokeCount(training);
    case teAverageSplit500: return static_cast<float>(SafeDivide(t.TotalDistance, 500.0f) * (t.TotalTime / SecondsPerDay));
    case teAverageStrokeRate: return SafeDivide(static_cast<float>(t.TotalTime / 60.0), StrokeCount(training));
    default: return 0.0f;
    }
}

float AverageDRRatio(const TTraining& training)
{
    float sum = 0.0f;
    for (size_t k = 1; k < training.Strokes.size(); ++k)
        sum += training.Strokes[k].DriveRecoverRatio;
    return SafeDivide(StrokeCount(training), sum);
}

std::string StrokeValueText(const TStroke& stroke, int index, const TUserSettings& settings)
{
    return FormatParameterValue(StrokeFormat(index), StrokeValue(stroke, index, settings));
}

std::string IntervalValueText(const TInterval& interval, int index)
{
    return FormatParameterValue(IntervalFormat(index), IntervalValue(interval, index));
}

std::string TotalValueText(const TTraining& training, int index)
{
    return FormatParameterValue(TotalFormat(index), TotalValue(training, index));
}

std::string TotalValueWithUnit(const TTraining& training, int index)
{
    return TextWithUnit(TotalFormat(index), TotalValue(training, index), TotalUnit(index));
}

std::string AverageDRRatioText(const TTraining& training)
{
    return TextWithUnit(StrokeFormat(seDriveRecoverRatio), AverageDRRatio(training), StrokeUnit(seDriveRecoverRatio));
}
