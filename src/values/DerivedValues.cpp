// The values of strokes, intervals and whole trainings that the catalogues
// describe. Each is computed in double from the stored fields and rounded to
// single precision once, as is every SafeDivide.
#include "untCharts.h"
#include "jsUtils.h"

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
    case 0: return s.Number;
    case 1: return s.Power;
    case 2: return s.AveragePower;
    case 3: return s.StrokeRate;
    case 4: return s.TargetPower;
    case 5: return Days(s.Time);
    case 6: return s.StrokeLength;
    case 7: return s.Distance;
    case 8: return s.DistancePerStroke;
    case 9: return Days(s.Split500);
    case 10: return s.EnergyPerStroke;
    case 11: return s.EnergySum;
    case 12: return s.Pulse;
    case 13: return s.WorkPerPulse;
    case 14: return s.PeakForce;
    case 15: return s.PeakForcePosition;
    case 16: return s.RelPeakForcePosition;
    case 17: return s.DriveTime;
    case 18: return RecoverTime(s);
    case 19: return StrokeTime(s);
    case 20: return s.DriveRecoverRatio;
    case 21: return StrokeSpeed(s);
    case 22: return s.KValue;
    case 23: return s.IntervalNumber;
    case 24: return s.IntervalCountdown;
    case 25: return s.IntervalPower;
    case 26: return Days(s.Time);
    case 27: return Days(Remaining(s, settings, s.Time));
    case 28: return Days(Projected(s, settings, s.Time));
    case 29: return s.Distance;
    case 30: return static_cast<float>(Remaining(s, settings, s.Distance));
    case 31: return static_cast<float>(Projected(s, settings, s.Distance));
    case 32: return s.Number;
    case 33: return static_cast<float>(Remaining(s, settings, s.Number));
    case 34: return static_cast<float>(Projected(s, settings, s.Number));
    case 35: return Scaled(StrokeSpeed(s), KmhPerMps);
    case 36: return Scaled(StrokeSpeed(s), MphPerMps);
    case 37: return Days(static_cast<double>(SafeDivide(s.Distance, 500.0f)) * s.Time);
    case 38: return RunningSpeed(s);
    case 39: return Scaled(RunningSpeed(s), KmhPerMps);
    case 40: return Scaled(RunningSpeed(s), MphPerMps);
    case 41: return Scaled(SafeDivide(s.Time, s.Number), 60.0);
    default: return 0.0f;
    }
}

float IntervalValue(const TInterval& interval, int index)
{
    const TStroke& st = interval.Stroke;
    switch (index) {
    case 0: return interval.Number;
    case 1: return interval.AveragePower;
    case 2: return interval.AverageStrokeRate;
    case 3: return Days(interval.TotalTime);
    case 4: return interval.TotalDistance;
    case 5: return interval.AveragePulse;
    case 6: return SafeDivide(interval.TotalTime, interval.TotalDistance);
    case 7: return st.Number;
    case 8: return st.StrokeLength;
    case 9: return Days(st.Split500);
    case 10: return st.EnergyPerStroke;
    case 11: return st.EnergySum;
    case 12: return st.WorkPerPulse;
    case 13: return st.DistancePerStroke;
    case 14: return st.PeakForce;
    case 15: return st.PeakForcePosition;
    case 16: return st.RelPeakForcePosition;
    case 17: return st.DriveTime;
    case 18: return RecoverTime(st);
    case 19: return StrokeTime(st);
    case 20: return st.DriveRecoverRatio;
    case 21: return st.KValue;
    default: return 0.0f;
    }
}

namespace {

// The number of strokes: the highest index of Strokes (element 0 is the average).
float StrokeCount(const TTraining& training)
{
    return training.Strokes.empty() ? 0.0f : static_cast<float>(training.Strokes.size() - 1);
}

} // namespace

float TotalValue(const TTraining& training, int index)
{
    const TTotals& t = training.Totals;
    switch (index) {
    case 0: return t.TotalDistance;
    case 1: return Days(t.TotalTime);
    case 2: return t.TotalEnergy;
    case 3: return t.AveragePower;
    case 4: return StrokeCount(training);
    case 5: return static_cast<float>(SafeDivide(t.TotalDistance, 500.0f) * (t.TotalTime / SecondsPerDay));
    case 6: return SafeDivide(static_cast<float>(t.TotalTime / 60.0), StrokeCount(training));
    default: return 0.0f;
    }
}

float AverageDRRatio(const TTraining& training)
{
    float sum = 0.0f;
    for (size_t k = 1; k < training.Strokes.size(); ++k)
        sum += StrokeValue(training.Strokes[k], 20, training.Settings);
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
    return Trim(TotalValueText(training, index) + " " + TotalUnit(index));
}

std::string AverageDRRatioText(const TTraining& training)
{
    return Trim(FormatParameterValue(StrokeFormat(20), AverageDRRatio(training)) + " " + StrokeUnit(20));
}
