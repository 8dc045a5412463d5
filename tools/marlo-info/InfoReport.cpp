#include "InfoReport.h"

#include "untFiles.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

using nlohmann::json;

std::string SingleText(float value)
{
    if (std::isnan(value)) return "nan";
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value); // shortest that reads back
    return std::string(text, result.ptr);
}

json SingleJson(float value)
{
    if (!std::isfinite(value)) return nullptr;
    return std::strtod(SingleText(value).c_str(), nullptr);
}

namespace {

// Packed fields are copied into a json by value: a reference to one may be misaligned.
template <typename T>
json Field(T value)
{
    return json(value);
}

json DoubleJson(double value) { return std::isfinite(value) ? json(value) : json(nullptr); }

json StrokeJson(const TStroke& s)
{
    return {
        {"Number", Field(s.Number)},
        {"Power", SingleJson(s.Power)},
        {"AveragePower", SingleJson(s.AveragePower)},
        {"StrokeRate", SingleJson(s.StrokeRate)},
        {"TargetPower", SingleJson(s.TargetPower)},
        {"Time", SingleJson(s.Time)},
        {"StrokeLength", SingleJson(s.StrokeLength)},
        {"Distance", SingleJson(s.Distance)},
        {"Split500", SingleJson(s.Split500)},
        {"EnergyPerStroke", SingleJson(s.EnergyPerStroke)},
        {"EnergySum", SingleJson(s.EnergySum)},
        {"Pulse", SingleJson(s.Pulse)},
        {"WorkPerPulse", SingleJson(s.WorkPerPulse)},
        {"PeakForce", SingleJson(s.PeakForce)},
        {"PeakForcePosition", SingleJson(s.PeakForcePosition)},
        {"RelPeakForcePosition", SingleJson(s.RelPeakForcePosition)},
        {"DriveRecoverRatio", SingleJson(s.DriveRecoverRatio)},
        {"KValue", SingleJson(s.KValue)},
        {"IntervalNumber", Field(s.IntervalNumber)},
        {"IntervalCountdown", Field(s.IntervalCountdown)},
        {"IntervalPower", Field(s.IntervalPower)},
        {"DriveTime", SingleJson(s.DriveTime)},
        {"DistancePerStroke", SingleJson(s.DistancePerStroke)},
    };
}

json CurveJson(const TForceCurve& curve)
{
    const TSamples samples = SamplesOf(curve);
    return {{"Number", Field(curve.Number)}, {"Valid", Field(curve.Valid)}, {"Samples", samples}};
}

json IntervalJson(const TInterval& interval)
{
    return {
        {"Number", Field(interval.Number)},
        {"AveragePower", Field(interval.AveragePower)},
        {"AverageStrokeRate", Field(interval.AverageStrokeRate)},
        {"TotalTime", Field(interval.TotalTime)},
        {"TotalDistance", Field(interval.TotalDistance)},
        {"AveragePulse", Field(interval.AveragePulse)},
        {"Curve", CurveJson(interval.Curve)},
        {"Stroke", StrokeJson(interval.Stroke)},
    };
}

json HeaderJson(const THeader& h)
{
    return {
        {"FileName", h.FileName.Utf8()},
        {"FileDateTime", DoubleJson(h.FileDateTime)},
        {"FileSize", Field(h.FileSize)},
        {"FileFormat", Field(h.FileFormat)},
        {"FileKind", Field(h.FileKind)},
        {"Title", h.Title.Utf8()},
        {"Name", h.Name.Utf8()},
        {"Description", h.Description.Utf8()},
        {"DateTime", DoubleJson(h.DateTime)},
        {"TrainingType", h.TrainingType.Utf8()},
        {"Event", h.Event.Utf8()},
        {"Note", h.Note.Utf8()},
        {"OrigFileName", h.OrigFileName.Utf8()},
        {"OrigFileDateTime", DoubleJson(h.OrigFileDateTime)},
        {"OrigFileSize", Field(h.OrigFileSize)},
        {"OrigFileFormat", Field(h.OrigFileFormat)},
        {"OrigFileKind", Field(h.OrigFileKind)},
        {"Visible", Field(h.Visible)},
        {"CurveIndex", Field(h.CurveIndex)},
        {"Color", Field(h.Color)},
        {"PenStyle", Field(h.PenStyle)},
        {"PenWidth", Field(h.PenWidth)},
        {"Modified", Field(h.Modified)},
        {"CurveSource", Field(h.CurveSource)},
        {"CurveInterval", Field(h.CurveInterval)},
        {"Recorder", Field(h.Recorder)},
        {"Interface", Field(h.Interface)},
        {"TrainingID", h.TrainingID.ToString()},
    };
}

json SettingsJson(const TUserSettings& s)
{
    return {
        {"Weight", Field(s.Weight)},           {"Gender", Field(s.Gender)},
        {"Boat", Field(s.Boat)},               {"Ergometer", Field(s.Ergometer)},
        {"Sprocket", Field(s.Sprocket)},       {"SessionLimit", Field(s.SessionLimit)},
        {"LimitIntervals", Field(s.LimitIntervals)}, {"LimitTime", Field(s.LimitTime)},
        {"LimitStrokes", Field(s.LimitStrokes)}, {"LimitDistance", Field(s.LimitDistance)},
        {"LimitEnergy", Field(s.LimitEnergy)}, {"StartValue", Field(s.StartValue)},
        {"StepValue", Field(s.StepValue)},     {"RestValue", Field(s.RestValue)},
        {"IntervalBy", Field(s.IntervalBy)},   {"WorkPeriod", Field(s.WorkPeriod)},
        {"WorkTime", Field(s.WorkTime)},       {"WorkStrokes", Field(s.WorkStrokes)},
        {"WorkDistance", Field(s.WorkDistance)}, {"WorkEnergy", Field(s.WorkEnergy)},
        {"RestPeriod", Field(s.RestPeriod)},   {"RestTime", Field(s.RestTime)},
        {"RestStrokes", Field(s.RestStrokes)}, {"RestDistance", Field(s.RestDistance)},
        {"RestEnergy", Field(s.RestEnergy)},   {"Display", Field(s.Display)},
    };
}

json TotalsJson(const TTotals& t)
{
    return {{"TotalDistance", SingleJson(t.TotalDistance)},
            {"TotalTime", SingleJson(t.TotalTime)},
            {"TotalEnergy", SingleJson(t.TotalEnergy)},
            {"AveragePower", SingleJson(t.AveragePower)}};
}

template <typename T, typename F>
json ArrayJson(const std::vector<T>& items, F toJson)
{
    json array = json::array();
    for (const T& item : items) array.push_back(toJson(item));
    return array;
}

} // namespace

json TrainingJson(const TTraining& training)
{
    return {
        {"Magic", AnsiToUtf8(std::string(training.Magic, 4))},
        {"Version", FormatVersion(training.Version)},
        {"ClientID", training.ClientID},
        {"Status", training.Status},
        {"header", HeaderJson(training.Header)},
        {"settings", SettingsJson(training.Settings)},
        {"strokes", ArrayJson(training.Strokes, StrokeJson)},
        {"curves", ArrayJson(training.Curves, CurveJson)},
        {"intervals", ArrayJson(training.Intervals, IntervalJson)},
        {"extra", ArrayJson(training.ExtraEntries,
                            [](const TExtraEntry& e) { return json::array({Field(e.Number), Field(e.Value)}); })},
        {"totals", TotalsJson(training.Totals)},
    };
}

json ReportJson(const std::string& path, bool ok, const std::vector<std::string>& messages,
                const TTraining& training)
{
    return {{"file", path}, {"ok", ok}, {"messages", messages}, {"training", TrainingJson(training)}};
}

std::string SummaryText(const std::string& path, const TTraining& training)
{
    const THeader& header = training.Header;
    const size_t strokes = training.Strokes.empty() ? 0 : training.Strokes.size() - 1;
    std::ostringstream out;
    const auto line = [&out](const char* caption, const std::string& value) {
        out << caption << std::string(16 - std::string(caption).size(), ' ') << value << "\n";
    };
    line("File", path);
    line("Title", header.Title.Utf8());
    line("Name", header.Name.Utf8());
    line("Date/time", DateTimeText(header.DateTime));
    line("File type", FileTypeText(header.FileKind, header.FileFormat));
    if (header.OrigFileKind != 0)
        line("Original type", FileTypeText(header.OrigFileKind, header.OrigFileFormat));
    line("Strokes", std::to_string(strokes));
    line("Intervals", std::to_string(training.Intervals.size()));
    line("Total distance", SingleText(training.Totals.TotalDistance));
    line("Total time", SingleText(training.Totals.TotalTime));
    line("Total energy", SingleText(training.Totals.TotalEnergy));
    line("Average power", SingleText(training.Totals.AveragePower));
    return out.str();
}
