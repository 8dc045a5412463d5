#include "InfoReport.h"

#include "JsonStream.h"
#include "ValueReport.h"
#include "untCharts.h"
#include "untFiles.h"

#include <charconv>
#include <cmath>
#include <sstream>

std::string SingleText(float value)
{
    if (!std::isfinite(value)) return NoValueText;
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value); // shortest that reads back
    return std::string(text, result.ptr);
}

namespace {

void SingleMember(TJsonStream& json, std::string_view name, float value)
{
    json.Key(name);
    json.Single(value);
}

// Members are written in the order of their names, as nlohmann::json sorts
// them. Packed fields are passed by value: a reference to one may be
// misaligned.

void WriteStroke(TJsonStream& json, const TStroke& s)
{
    json.BeginObject();
    SingleMember(json, "AveragePower", s.AveragePower);
    SingleMember(json, "Distance", s.Distance);
    SingleMember(json, "DistancePerStroke", s.DistancePerStroke);
    SingleMember(json, "DriveRecoverRatio", s.DriveRecoverRatio);
    SingleMember(json, "DriveTime", s.DriveTime);
    SingleMember(json, "EnergyPerStroke", s.EnergyPerStroke);
    SingleMember(json, "EnergySum", s.EnergySum);
    json.Member("IntervalCountdown", s.IntervalCountdown);
    json.Member("IntervalNumber", s.IntervalNumber);
    json.Member("IntervalPower", s.IntervalPower);
    SingleMember(json, "KValue", s.KValue);
    json.Member("Number", s.Number);
    SingleMember(json, "PeakForce", s.PeakForce);
    SingleMember(json, "PeakForcePosition", s.PeakForcePosition);
    SingleMember(json, "Power", s.Power);
    SingleMember(json, "Pulse", s.Pulse);
    SingleMember(json, "RelPeakForcePosition", s.RelPeakForcePosition);
    SingleMember(json, "Split500", s.Split500);
    SingleMember(json, "StrokeLength", s.StrokeLength);
    SingleMember(json, "StrokeRate", s.StrokeRate);
    SingleMember(json, "TargetPower", s.TargetPower);
    SingleMember(json, "Time", s.Time);
    SingleMember(json, "WorkPerPulse", s.WorkPerPulse);
    json.EndObject();
}

void WriteCurve(TJsonStream& json, const TForceCurve& curve)
{
    json.BeginObject();
    json.Member("Number", curve.Number);
    json.Key("Samples");
    json.BeginArray();
    for (const uint16_t sample : SamplesOf(curve)) json.Value(sample);
    json.EndArray();
    json.Member("Valid", curve.Valid);
    json.EndObject();
}

void WriteInterval(TJsonStream& json, const TInterval& interval)
{
    json.BeginObject();
    json.Member("AveragePower", interval.AveragePower);
    json.Member("AveragePulse", interval.AveragePulse);
    json.Member("AverageStrokeRate", interval.AverageStrokeRate);
    json.Key("Curve");
    WriteCurve(json, interval.Curve);
    json.Member("Number", interval.Number);
    json.Key("Stroke");
    WriteStroke(json, interval.Stroke);
    json.Member("TotalDistance", interval.TotalDistance);
    json.Member("TotalTime", interval.TotalTime);
    json.EndObject();
}

void WriteExtraEntry(TJsonStream& json, const TExtraEntry& entry)
{
    json.BeginArray();
    json.Value(entry.Number);
    json.Value(entry.Value);
    json.EndArray();
}

void WriteHeader(TJsonStream& json, const THeader& h)
{
    json.BeginObject();
    json.Member("Color", h.Color);
    json.Member("CurveIndex", h.CurveIndex);
    json.Member("CurveInterval", h.CurveInterval);
    json.Member("CurveSource", h.CurveSource);
    json.Member("DateTime", h.DateTime);
    json.Member("Description", h.Description.Utf8());
    json.Member("Event", h.Event.Utf8());
    json.Member("FileDateTime", h.FileDateTime);
    json.Member("FileFormat", h.FileFormat);
    json.Member("FileKind", h.FileKind);
    json.Member("FileName", h.FileName.Utf8());
    json.Member("FileSize", h.FileSize);
    json.Member("Interface", h.Interface);
    json.Member("Modified", h.Modified);
    json.Member("Name", h.Name.Utf8());
    json.Member("Note", h.Note.Utf8());
    json.Member("OrigFileDateTime", h.OrigFileDateTime);
    json.Member("OrigFileFormat", h.OrigFileFormat);
    json.Member("OrigFileKind", h.OrigFileKind);
    json.Member("OrigFileName", h.OrigFileName.Utf8());
    json.Member("OrigFileSize", h.OrigFileSize);
    json.Member("PenStyle", h.PenStyle);
    json.Member("PenWidth", h.PenWidth);
    json.Member("Recorder", h.Recorder);
    json.Member("Title", h.Title.Utf8());
    json.Member("TrainingID", h.TrainingID.ToString());
    json.Member("TrainingType", h.TrainingType.Utf8());
    json.Member("Visible", h.Visible);
    json.EndObject();
}

void WriteSettings(TJsonStream& json, const TUserSettings& s)
{
    json.BeginObject();
    json.Member("Boat", s.Boat);
    json.Member("Display", s.Display);
    json.Member("Ergometer", s.Ergometer);
    json.Member("Gender", s.Gender);
    json.Member("IntervalBy", s.IntervalBy);
    json.Member("LimitDistance", s.LimitDistance);
    json.Member("LimitEnergy", s.LimitEnergy);
    json.Member("LimitIntervals", s.LimitIntervals);
    json.Member("LimitStrokes", s.LimitStrokes);
    json.Member("LimitTime", s.LimitTime);
    json.Member("RestDistance", s.RestDistance);
    json.Member("RestEnergy", s.RestEnergy);
    json.Member("RestPeriod", s.RestPeriod);
    json.Member("RestStrokes", s.RestStrokes);
    json.Member("RestTime", s.RestTime);
    json.Member("RestValue", s.RestValue);
    json.Member("SessionLimit", s.SessionLimit);
    json.Member("Sprocket", s.Sprocket);
    json.Member("StartValue", s.StartValue);
    json.Member("StepValue", s.StepValue);
    json.Member("Weight", s.Weight);
    json.Member("WorkDistance", s.WorkDistance);
    json.Member("WorkEnergy", s.WorkEnergy);
    json.Member("WorkPeriod", s.WorkPeriod);
    json.Member("WorkStrokes", s.WorkStrokes);
    json.Member("WorkTime", s.WorkTime);
    json.EndObject();
}

void WriteTotals(TJsonStream& json, const TTotals& t)
{
    json.BeginObject();
    SingleMember(json, "AveragePower", t.AveragePower);
    SingleMember(json, "TotalDistance", t.TotalDistance);
    SingleMember(json, "TotalEnergy", t.TotalEnergy);
    SingleMember(json, "TotalTime", t.TotalTime);
    json.EndObject();
}

// The items one at a time, so that no array is ever held whole.
template <typename T, typename F>
void WriteArray(TJsonStream& json, const std::vector<T>& items, F write)
{
    json.BeginArray();
    for (const T& item : items) write(json, item);
    json.EndArray();
}

void WriteTraining(TJsonStream& json, const TTraining& training)
{
    json.BeginObject();
    json.Member("ClientID", training.ClientID);
    json.Member("Magic", AnsiToUtf8(std::string(training.Magic, 4)));
    json.Member("Status", training.Status);
    json.Member("Version", FormatVersion(training.Version));
    json.Key("curves");
    WriteArray(json, training.Curves, WriteCurve);
    json.Key("extra");
    WriteArray(json, training.ExtraEntries, WriteExtraEntry);
    json.Key("header");
    WriteHeader(json, training.Header);
    json.Key("intervals");
    WriteArray(json, training.Intervals, WriteInterval);
    json.Key("settings");
    WriteSettings(json, training.Settings);
    json.Key("strokes");
    WriteArray(json, training.Strokes, WriteStroke);
    json.Key("totals");
    WriteTotals(json, training.Totals);
    json.EndObject();
}

} // namespace

void WriteReportJson(std::ostream& out, const std::string& path, bool ok, const std::vector<std::string>& messages,
                     const TTraining& training)
{
    TJsonStream json(out);
    json.BeginObject();
    json.Member("file", path);
    json.Key("messages");
    WriteArray(json, messages, [](TJsonStream& j, const std::string& message) { j.Value(message); });
    json.Member("ok", ok);
    json.Key("training");
    WriteTraining(json, training);
    json.Key("values");
    WriteValuesJson(json, training);
    json.EndObject();
    json.Flush();
    out << '\n';
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
    if (header.OrigFileKind != fkNone)
        line("Original type", FileTypeText(header.OrigFileKind, header.OrigFileFormat));
    line("Strokes", std::to_string(strokes));
    line("Intervals", std::to_string(training.Intervals.size()));
    line("Total distance", SingleText(training.Totals.TotalDistance));
    line("Total time", SingleText(training.Totals.TotalTime));
    line("Total energy", SingleText(training.Totals.TotalEnergy));
    line("Average power", SingleText(training.Totals.AveragePower));
    return out.str();
}
