// Splits of a training and their values.
#include "untSplits.h"

#include "jsUtils.h"
#include "untCharts.h"

#include <charconv>
#include <cmath>

namespace {

const double SecondsPerDay = 86400.0;
const double SecondsPerMinute = 60.0;

float Days(double seconds) { return static_cast<float>(seconds / SecondsPerDay); }

// How far the session has come at stroke `index`, in the kind's unit.
double Progress(const TTraining& training, TSplitKind kind, size_t index)
{
    switch (kind) {
    case TSplitKind::Strokes: return static_cast<double>(index);
    case TSplitKind::Distance: return training.Strokes[index].Distance;
    case TSplitKind::Time: return training.Strokes[index].Time;
    }
    return 0;
}

// The sums of the values a split averages over its strokes.
struct TStrokeSums {
    double Power = 0, StrokeRate = 0, StrokeLength = 0, DistancePerStroke = 0, EnergyPerStroke = 0, Pulse = 0,
           WorkPerPulse = 0, DriveTime = 0, RecoverTime = 0, StrokeTime = 0, DriveRecoverRatio = 0;

    void Add(const TStroke& s)
    {
        Power += s.Power;
        StrokeRate += s.StrokeRate;
        StrokeLength += s.StrokeLength;
        DistancePerStroke += s.DistancePerStroke;
        EnergyPerStroke += s.EnergyPerStroke;
        Pulse += s.Pulse;
        WorkPerPulse += s.WorkPerPulse;
        DriveTime += s.DriveTime;
        // Recover and stroke time as the stroke catalogue has them; they do
        // not depend on the settings.
        static const TUserSettings AnySettings{};
        RecoverTime += StrokeValue(s, seRecoverTime, AnySettings);
        StrokeTime += StrokeValue(s, seStrokeTime, AnySettings);
        DriveRecoverRatio += s.DriveRecoverRatio;
    }
};

// The values of the split of strokes first..last; `before` is the last
// stroke of the split before it, or null for the first split.
TSplit MakeSplit(const TTraining& training, size_t first, size_t last, const TStroke* before)
{
    TSplit split;
    split.FirstStroke = static_cast<int>(first);
    split.LastStroke = static_cast<int>(last);
    float* v = split.Values;
    const TStroke& end = training.Strokes[last];
    const double count = static_cast<double>(last - first + 1);
    const double distance = static_cast<double>(end.Distance) - (before ? before->Distance : 0.0f);
    const double seconds = static_cast<double>(end.Time) - (before ? before->Time : 0.0f);

    v[spStrokesCumulative] = static_cast<float>(last);
    v[spStrokes] = static_cast<float>(count);
    v[spDistanceCumulative] = end.Distance;
    v[spDistance] = static_cast<float>(distance);
    v[spTimeCumulative] = Days(end.Time);
    v[spTime] = Days(seconds);
    v[spEnergySumCumulative] = end.EnergySum;
    v[spEnergySum] = static_cast<float>(static_cast<double>(end.EnergySum) - (before ? before->EnergySum : 0.0f));
    // Pace and speed over the split as a whole, not the mean of its strokes'.
    v[spSplit500] = Days(SafeDivide(static_cast<float>(distance), 500.0f) * seconds);
    v[spSpeedMps] = SafeDivide(static_cast<float>(seconds), static_cast<float>(distance));

    TStrokeSums sums;
    for (size_t i = first; i <= last; ++i) sums.Add(training.Strokes[i]);
    const auto mean = [count](double sum) { return static_cast<float>(sum / count); };
    v[spPower] = mean(sums.Power);
    v[spStrokeRate] = mean(sums.StrokeRate);
    v[spStrokeLength] = mean(sums.StrokeLength);
    v[spDistancePerStroke] = mean(sums.DistancePerStroke);
    v[spEnergyPerStroke] = mean(sums.EnergyPerStroke);
    v[spPulse] = mean(sums.Pulse);
    v[spWorkPerPulse] = mean(sums.WorkPerPulse);
    v[spDriveTime] = mean(sums.DriveTime);
    v[spRecoverTime] = mean(sums.RecoverTime);
    v[spStrokeTime] = mean(sums.StrokeTime);
    v[spDriveRecoverRatio] = mean(sums.DriveRecoverRatio);
    return split;
}

bool IsUsableSize(double size) { return std::isfinite(size) && size > 0; }

// "12,5" and "12.5" alike; nothing unless the whole text is the number.
std::optional<double> NumberIn(std::string text)
{
    text = Trim(text);
    if (text.empty()) return std::nullopt;
    for (char& c : text)
        if (c == ',') c = '.';
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

// The text without a trailing unit, when it ends with that unit.
bool CutUnit(std::string& text, const std::string& unit)
{
    const std::string trimmed = Trim(text);
    if (trimmed.size() <= unit.size() || trimmed.compare(trimmed.size() - unit.size(), unit.size(), unit) != 0)
        return false;
    text = trimmed.substr(0, trimmed.size() - unit.size());
    return true;
}

// "m:ss", with or without "min" after it.
std::optional<double> MinutesAndSeconds(const std::string& text)
{
    const size_t colon = text.find(':');
    const auto minutes = NumberIn(text.substr(0, colon));
    const auto seconds = NumberIn(text.substr(colon + 1));
    if (!minutes || !seconds || *seconds >= SecondsPerMinute) return std::nullopt;
    return *minutes * SecondsPerMinute + *seconds;
}

std::optional<double> SecondsIn(std::string text)
{
    const bool minutes = CutUnit(text, "min");
    if (text.find(':') != std::string::npos) return MinutesAndSeconds(text);
    if (minutes) {
        const auto count = NumberIn(text);
        return count ? std::optional<double>(*count * SecondsPerMinute) : std::nullopt;
    }
    CutUnit(text, "s");
    return NumberIn(text);
}

} // namespace

std::vector<TSplit> ComputeSplits(const TTraining& training, const TSplitSetting& setting)
{
    std::vector<TSplit> splits;
    if (training.Strokes.size() < 2 || !IsUsableSize(setting.Size)) return splits;
    const size_t last = training.Strokes.size() - 1;
    double boundary = setting.Size;
    size_t first = 1;
    const TStroke* before = nullptr;
    for (size_t i = 1; i <= last; ++i) {
        const double progress = Progress(training, setting.Kind, i);
        if (i < last && !(progress >= boundary)) continue;
        splits.push_back(MakeSplit(training, first, i, before));
        before = &training.Strokes[i];
        first = i + 1;
        if (progress >= boundary) boundary = (std::floor(progress / setting.Size) + 1) * setting.Size;
    }
    return splits;
}

float SplitValue(const TSplit& split, int index)
{
    return index >= 0 && index < SplitEntryCount ? split.Values[index] : 0.0f;
}

std::string SplitValueText(const TSplit& split, int index)
{
    if (index < 0 || index >= static_cast<int>(SplitParameters.size())) return "";
    return Trim(FormatParameterValue(SplitParameters[static_cast<size_t>(index)].Format, SplitValue(split, index)));
}

std::vector<double> UsualSplitSizes(TSplitKind kind)
{
    switch (kind) {
    case TSplitKind::Strokes: return {10, 20, 50, 100};
    case TSplitKind::Distance: return {100, 250, 500, 1000, 2000};
    case TSplitKind::Time: return {30, 60, 120, 300, 600};
    }
    return {};
}

std::string SplitSizeText(TSplitKind kind, double size)
{
    switch (kind) {
    case TSplitKind::Strokes: return FloatToStr(size);
    case TSplitKind::Distance: return FloatToStr(size) + " m";
    case TSplitKind::Time:
        if (size >= SecondsPerMinute && std::fmod(size, SecondsPerMinute) == 0)
            return FloatToStr(size / SecondsPerMinute) + " min";
        return FloatToStr(size) + " s";
    }
    return "";
}

std::optional<double> ParseSplitSize(TSplitKind kind, const std::string& text)
{
    std::string number = text;
    std::optional<double> size;
    switch (kind) {
    case TSplitKind::Strokes: size = NumberIn(number); break;
    case TSplitKind::Distance:
        CutUnit(number, "m");
        size = NumberIn(number);
        break;
    case TSplitKind::Time: size = SecondsIn(number); break;
    }
    if (!size || !std::isfinite(*size) || *size < 0) return std::nullopt;
    return size;
}

std::string SplitKindName(TSplitKind kind)
{
    switch (kind) {
    case TSplitKind::Strokes: return "strokes";
    case TSplitKind::Distance: return "distance";
    case TSplitKind::Time: return "time";
    }
    return "";
}

std::optional<TSplitKind> SplitKindNamed(const std::string& name)
{
    for (TSplitKind kind : {TSplitKind::Strokes, TSplitKind::Distance, TSplitKind::Time})
        if (SplitKindName(kind) == name) return kind;
    return std::nullopt;
}
