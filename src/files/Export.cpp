// What the three export formats share: the laps, the times of the strokes,
// the start in UTC, the refusals, and the writing of a file that replaces the
// target only when complete.
#include "untExport.h"

#include "ExportKit.h"
#include "jsUtils.h"
#include "untFiles.h"
#include "untMessages.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>

namespace {

// The FIT epoch, 1989-12-31 00:00:00 UTC, in Unix seconds, and the last
// second its 32-bit timestamps reach.
const double FitEpoch = 631065600.0;
const double FitLastSecond = FitEpoch + 4294967294.0;

bool IsIntervalSession(const TTraining& training)
{
    return training.Settings.SessionLimit == 4 && !training.Intervals.empty();
}

// How long the stroke took, drive and recovery; 0 when unknown.
double StrokeDuration(const TStroke& stroke)
{
    const double length = static_cast<double>(stroke.DriveTime) * (stroke.DriveRecoverRatio + 1.0);
    return std::isfinite(length) && length > 0 ? length : 0;
}

} // namespace

std::string ExportFormatName(TExportFormat format)
{
    switch (format) {
    case TExportFormat::Fit: return "fit";
    case TExportFormat::Tcx: return "tcx";
    case TExportFormat::RowingCsv: return "csv";
    }
    return "";
}

std::optional<TExportFormat> ExportFormatNamed(const std::string& name)
{
    for (TExportFormat format : {TExportFormat::Fit, TExportFormat::Tcx, TExportFormat::RowingCsv})
        if (ExportFormatName(format) == name) return format;
    return std::nullopt;
}

std::string ExportExtension(TExportFormat format) { return "." + ExportFormatName(format); }

std::string ExportFilter(TExportFormat format)
{
    switch (format) {
    case TExportFormat::Fit: return "FIT activity (*.fit)";
    case TExportFormat::Tcx: return "TCX (*.tcx)";
    case TExportFormat::RowingCsv: return "Rowing data CSV (*.csv)";
    }
    return "";
}

std::vector<double> StrokeSeconds(const TTraining& training)
{
    std::vector<double> seconds(std::max<size_t>(training.Strokes.size(), 1), 0.0);
    for (size_t i = 1; i < seconds.size(); ++i) {
        const double time = training.Strokes[i].Time;
        seconds[i] = std::isfinite(time) ? std::clamp(time, seconds[i - 1], MaxStrokeSeconds) : seconds[i - 1];
    }
    return seconds;
}

std::vector<TExportLap> ExportLaps(const TTraining& training)
{
    std::vector<TExportLap> laps;
    const size_t last = training.Strokes.empty() ? 0 : training.Strokes.size() - 1;
    if (last == 0) return laps;
    const std::vector<double> ends = StrokeSeconds(training);
    if (!IsIntervalSession(training)) {
        laps.push_back({1, last, false, 0, ends[last]});
        return laps;
    }
    double lapEnd = 0;
    for (size_t first = 1; first <= last;) {
        const uint16_t number = training.Strokes[first].IntervalNumber;
        size_t end = first;
        while (end < last && training.Strokes[end + 1].IntervalNumber == number) ++end;
        // The run began when its first stroke did; a pause before it is rest.
        const double start = std::max(lapEnd, ends[first] - StrokeDuration(training.Strokes[first]));
        if (start - lapEnd >= RestPause) laps.push_back({1, 0, true, lapEnd, start});
        laps.push_back({first, end, number == 0, laps.empty() ? 0 : laps.back().EndSeconds, ends[end]});
        lapEnd = ends[end];
        first = end + 1;
    }
    return laps;
}

std::optional<double> TrainingStartUtc(const TTraining& training)
{
    const TDateTimeParts parts = DecodeDateTime(training.Header.DateTime);
    if (parts.Year < 1 || parts.Year > 9999) return std::nullopt;
    std::tm local{};
    local.tm_year = parts.Year - 1900;
    local.tm_mon = parts.Month - 1;
    local.tm_mday = parts.Day;
    local.tm_hour = parts.Hour;
    local.tm_min = parts.Minute;
    local.tm_sec = parts.Second;
    local.tm_isdst = -1; // whether summer time applies is the calendar's to say
    const std::time_t seconds = std::mktime(&local);
    if (seconds == static_cast<std::time_t>(-1) && parts.Year != 1969) return std::nullopt;
    return static_cast<double>(seconds) + parts.Millisecond / 1000.0;
}

std::string ExportRefusal(const TTraining& training, TExportFormat format)
{
    if (training.Strokes.size() < 2) return "The training holds no strokes, so there is nothing to export.";
    const std::optional<double> start = TrainingStartUtc(training);
    if (!start) return "The training has no valid date and time of recording, which an export needs.";
    if (format != TExportFormat::Fit) return "";
    if (*start < FitEpoch)
        return "A FIT file cannot hold a training recorded before 31 December 1989; "
               "export it as TCX or rowing data CSV instead.";
    if (*start + StrokeSeconds(training).back() > FitLastSecond)
        return "A FIT file cannot hold a training recorded after 7 February 2126.";
    return "";
}

std::string WriteExport(std::ostream& out, const TTraining& training, TExportFormat format)
{
    const std::string refusal = ExportRefusal(training, format);
    if (!refusal.empty()) return refusal;
    switch (format) {
    case TExportFormat::Fit: WriteFitActivity(out, training); break;
    case TExportFormat::Tcx: WriteTcx(out, training); break;
    case TExportFormat::RowingCsv: WriteRowingCsv(out, training); break;
    }
    return out.good() ? "" : "The export could not be written.";
}

bool ExportTrainingFile(const std::string& path, const TTraining& training, TExportFormat format)
{
    const std::string refusal = ExportRefusal(training, format);
    if (!refusal.empty()) {
        ShowErrorMessage(refusal);
        return false;
    }
    TReplacingFile file(path);
    const bool written = file.IsOpen() && WriteExport(file.Stream(), training, format).empty() && file.Commit();
    if (!written) ShowErrorMessage("The file \"" + path + "\" could not be written; an existing file was left as it was.");
    return written;
}

// --- What the writers share ---

double Positive(double value) { return std::isfinite(value) && value > 0 ? value : 0; }

std::vector<double> StrokeDistances(const TTraining& training)
{
    std::vector<double> distances(std::max<size_t>(training.Strokes.size(), 1), 0.0);
    for (size_t i = 1; i < distances.size(); ++i) {
        const double distance = training.Strokes[i].Distance;
        distances[i] = std::isfinite(distance) ? std::max(distance, 0.0) : distances[i - 1];
    }
    return distances;
}

TLapSummary SummariseLap(const TTraining& training, const TExportLap& lap, const std::vector<double>& distances)
{
    TLapSummary summary;
    summary.Seconds = lap.EndSeconds - lap.StartSeconds;
    if (!lap.HasStrokes()) return summary;
    summary.Strokes = lap.Last - lap.First + 1;
    summary.Distance = std::max(0.0, distances[lap.Last] - distances[lap.First - 1]);
    double power = 0, rate = 0, pulse = 0;
    size_t pulses = 0;
    for (size_t i = lap.First; i <= lap.Last; ++i) {
        const TStroke& stroke = training.Strokes[i];
        power += Positive(stroke.Power);
        rate += Positive(stroke.StrokeRate);
        summary.MaxPower = std::max(summary.MaxPower, Positive(stroke.Power));
        summary.MaxRate = std::max(summary.MaxRate, Positive(stroke.StrokeRate));
        summary.MaxSpeed = std::max(summary.MaxSpeed, StrokeSpeed(stroke));
        if (Positive(stroke.Pulse) > 0) {
            pulse += stroke.Pulse;
            ++pulses;
            summary.MaxPulse = std::max(summary.MaxPulse, static_cast<double>(stroke.Pulse));
        }
    }
    summary.AveragePower = power / summary.Strokes;
    summary.AverageRate = rate / summary.Strokes;
    summary.AveragePulse = pulses > 0 ? pulse / pulses : 0;
    return summary;
}

TLapSummary SummariseSession(const std::vector<TLapSummary>& laps)
{
    TLapSummary session;
    double power = 0, rate = 0, pulse = 0;
    size_t pulsed = 0;
    for (const TLapSummary& lap : laps) {
        session.Seconds += lap.Seconds;
        session.Distance += lap.Distance;
        session.Strokes += lap.Strokes;
        power += lap.AveragePower * lap.Strokes;
        rate += lap.AverageRate * lap.Strokes;
        if (lap.AveragePulse > 0) {
            pulse += lap.AveragePulse * lap.Strokes;
            pulsed += lap.Strokes;
        }
        session.MaxPower = std::max(session.MaxPower, lap.MaxPower);
        session.MaxRate = std::max(session.MaxRate, lap.MaxRate);
        session.MaxPulse = std::max(session.MaxPulse, lap.MaxPulse);
        session.MaxSpeed = std::max(session.MaxSpeed, lap.MaxSpeed);
    }
    if (session.Strokes > 0) {
        session.AveragePower = power / session.Strokes;
        session.AverageRate = rate / session.Strokes;
    }
    session.AveragePulse = pulsed > 0 ? pulse / pulsed : 0;
    return session;
}

bool HasHeartRate(const TTraining& training)
{
    for (size_t i = 1; i < training.Strokes.size(); ++i)
        if (Positive(training.Strokes[i].Pulse) > 0) return true;
    return false;
}

double StrokeSpeed(const TStroke& stroke)
{
    const double split = Positive(stroke.Split500);
    return split > 0 ? Positive(500.0 / split) : 0;
}

double RecoverSeconds(const TStroke& stroke)
{
    return Positive(static_cast<double>(stroke.DriveTime) * stroke.DriveRecoverRatio);
}

int DriveSamples(const TTraining& training, size_t index)
{
    if (index >= training.Curves.size() || !training.Curves[index].Valid) return 0;
    // Copied out of the packed record, where they may lie misaligned.
    return DriveSampleCount(training.Strokes[index], SamplesOf(training.Curves[index]), CurveSpacing(training.Settings));
}

double AverageDriveForce(const TTraining& training, size_t index)
{
    const int count = DriveSamples(training, index);
    if (count < 1) return 0;
    const TSamples samples = SamplesOf(training.Curves[index]);
    double sum = 0;
    for (int k = 0; k < count; ++k) sum += samples[static_cast<size_t>(k)];
    return sum / count;
}

std::string FixedText(double value, int decimals)
{
    // Wide enough for any double in fixed notation; a dot whatever the locale.
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}
