// The Training Center XML (v2) writer: one activity, one lap per lap of the
// export, one trackpoint per stroke with its time, distance, heart rate,
// stroke rate as cadence, and speed and power in the activity extension.
// Elements stand in the order the published schema gives them.
#include "untExport.h"

#include "ExportKit.h"
#include "jsUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

const char* const Head =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<TrainingCenterDatabase xmlns=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\""
    " xmlns:ax=\"http://www.garmin.com/xmlschemas/ActivityExtension/v2\""
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    " xsi:schemaLocation=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2"
    " http://www.garmin.com/xmlschemas/TrainingCenterDatabasev2.xsd\">\n"
    " <Activities>\n";

// Text as XML character data: the markup characters escaped, and the control
// characters XML 1.0 cannot hold left out.
std::string XmlText(const std::string& utf8)
{
    std::string text;
    for (const char c : utf8) {
        switch (c) {
        case '&': text += "&amp;"; break;
        case '<': text += "&lt;"; break;
        case '>': text += "&gt;"; break;
        case '"': text += "&quot;"; break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') text += c;
        }
    }
    return text;
}

// An xsd:dateTime in UTC with milliseconds: "2026-06-14T05:30:02.500Z".
std::string UtcText(double unixSeconds)
{
    const long long milliseconds = std::llround(unixSeconds * 1000.0);
    const long long millisecond = ((milliseconds % 1000) + 1000) % 1000;
    const std::time_t seconds = static_cast<std::time_t>((milliseconds - millisecond) / 1000);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03lldZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, millisecond);
    return text;
}

// A whole number within the range the schema's type takes (heart rates
// 1..255, cadences 0..254, watts 0..65535).
std::string Whole(double value, long low, long high)
{
    return std::to_string(std::lround(std::clamp(std::isfinite(value) ? value : low, double(low), double(high))));
}

class TTcxWriter {
public:
    TTcxWriter(std::ostream& out, const TTraining& training)
        : Out(out), Training(training), Start(*TrainingStartUtc(training)), Seconds(StrokeSeconds(training)),
          Distances(StrokeDistances(training)), HeartRate(HasHeartRate(training))
    {
    }

    void Write()
    {
        Out << Head << "  <Activity Sport=\"Other\">\n   <Id>" << UtcText(Start) << "</Id>\n";
        for (const TExportLap& lap : ExportLaps(Training)) WriteLap(lap);
        const std::string notes = Notes();
        if (!notes.empty()) Out << "   <Notes>" << XmlText(notes) << "</Notes>\n";
        Out << "  </Activity>\n </Activities>\n</TrainingCenterDatabase>\n";
    }

private:
    // The title, and the note below it.
    std::string Notes() const
    {
        const std::string title = Training.Header.Title.Utf8();
        const std::string note = Training.Header.Note.Utf8();
        return note.empty() ? title : title.empty() ? note : title + "\n" + note;
    }

    void WriteLap(const TExportLap& lap)
    {
        const TLapSummary s = SummariseLap(Training, lap, Distances);
        Out << "   <Lap StartTime=\"" << UtcText(Start + lap.StartSeconds) << "\">\n"
            << "    <TotalTimeSeconds>" << FixedText(s.Seconds, 3) << "</TotalTimeSeconds>\n"
            << "    <DistanceMeters>" << FixedText(s.Distance, 1) << "</DistanceMeters>\n"
            << "    <MaximumSpeed>" << FixedText(s.MaxSpeed, 3) << "</MaximumSpeed>\n"
            // The energy a rower burns is not recorded; 0 lets a site work it out.
            << "    <Calories>0</Calories>\n";
        if (s.AveragePulse > 0) {
            Out << "    <AverageHeartRateBpm><Value>" << Whole(s.AveragePulse, 1, 255) << "</Value></AverageHeartRateBpm>\n"
                << "    <MaximumHeartRateBpm><Value>" << Whole(s.MaxPulse, 1, 255) << "</Value></MaximumHeartRateBpm>\n";
        }
        Out << "    <Intensity>" << (lap.Rest ? "Resting" : "Active") << "</Intensity>\n";
        if (lap.HasStrokes()) Out << "    <Cadence>" << Whole(s.AverageRate, 0, 254) << "</Cadence>\n";
        Out << "    <TriggerMethod>Manual</TriggerMethod>\n";
        if (lap.HasStrokes()) {
            Out << "    <Track>\n";
            for (size_t i = lap.First; i <= lap.Last; ++i) WriteTrackpoint(i);
            Out << "    </Track>\n";
        }
        Out << "    <Extensions><ax:LX><ax:AvgSpeed>" << FixedText(s.AverageSpeed(), 3) << "</ax:AvgSpeed>"
            << "<ax:AvgWatts>" << Whole(s.AveragePower, 0, 65535) << "</ax:AvgWatts>"
            << "<ax:MaxWatts>" << Whole(s.MaxPower, 0, 65535) << "</ax:MaxWatts></ax:LX></Extensions>\n"
            << "   </Lap>\n";
    }

    void WriteTrackpoint(size_t index)
    {
        const TStroke& s = Training.Strokes[index];
        Out << "     <Trackpoint><Time>" << UtcText(Start + Seconds[index]) << "</Time>"
            << "<DistanceMeters>" << FixedText(Distances[index], 2) << "</DistanceMeters>";
        if (HeartRate && Positive(s.Pulse) > 0)
            Out << "<HeartRateBpm><Value>" << Whole(s.Pulse, 1, 255) << "</Value></HeartRateBpm>";
        Out << "<Cadence>" << Whole(Positive(s.StrokeRate), 0, 254) << "</Cadence>"
            << "<Extensions><ax:TPX><ax:Speed>" << FixedText(StrokeSpeed(s), 3) << "</ax:Speed>"
            << "<ax:Watts>" << Whole(Positive(s.Power), 0, 65535) << "</ax:Watts></ax:TPX></Extensions>"
            << "</Trackpoint>\n";
    }

    std::ostream& Out;
    const TTraining& Training;
    const double Start;
    const std::vector<double> Seconds;
    const std::vector<double> Distances;
    const bool HeartRate;
};

} // namespace

void WriteTcx(std::ostream& out, const TTraining& training) { TTcxWriter(out, training).Write(); }
