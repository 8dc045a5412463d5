// The TCX reader: Marlo's own export read back, files as other writers lay
// them out (samples a second apart, other namespace prefixes, no lap start),
// and every kind of damage refused.
#include "untFiles.h"

#include "DemoTraining.h"
#include "ImportKit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TOpened ReadTcx(const std::string& text) { return OpenBytes("activity.tcx", text); }

// A TCX document around the laps given, its elements in the default
// namespace and the extension's under "ns3".
std::string TcxDocument(const std::string& laps)
{
    return "<?xml version=\"1.0\"?>\n<TrainingCenterDatabase"
           " xmlns=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\""
           " xmlns:ns3=\"http://www.garmin.com/xmlschemas/ActivityExtension/v2\">"
           "<Activities><Activity Sport=\"Other\"><Id>2026-06-14T05:30:00Z</Id>"
           + laps + "</Activity></Activities></TrainingCenterDatabase>";
}

// A trackpoint at 05:30:ss UTC with the distance and watts given.
std::string Trackpoint(int second, double metres, int watts)
{
    return "<Trackpoint><Time>2026-06-14T05:30:" + std::string(second < 10 ? "0" : "") + std::to_string(second)
           + "Z</Time><DistanceMeters>" + std::to_string(metres) + "</DistanceMeters><Extensions><ns3:TPX>"
           + "<ns3:Watts>" + std::to_string(watts) + "</ns3:Watts></ns3:TPX></Extensions></Trackpoint>";
}

} // namespace

TEST(TcxReader, MarlosOwnExportReadsBackToTheSameStrokesAndLaps)
{
    const TZoneScope zone(CentralEurope); // the file holds UTC, the record local time
    TTraining original = IntervalsWithRest();
    AssignText(original.Header.Title, "2000 m \xC3\xA9preuve");
    AssignText(original.Header.Note, "Calm water");
    const TOpened read = ReadTcx(Exported(original, TExportFormat::Tcx));
    ASSERT_TRUE(read.Ok) << testing::PrintToString(read.Messages);
    const TTraining& t = read.Training;
    ASSERT_EQ(t.Strokes.size(), original.Strokes.size());
    EXPECT_EQ(FileTypeText(t.Header.FileKind, t.Header.FileFormat), "TCX");
    EXPECT_EQ(t.Header.Title.Utf8(), "2000 m \xC3\xA9preuve") << "the first line of the notes";
    EXPECT_EQ(t.Header.Note.Utf8(), "Calm water");
    EXPECT_NEAR(t.Header.DateTime, original.Header.DateTime, 0.001 / 86400) << "in local time again";
    for (size_t i = 1; i < t.Strokes.size(); ++i) {
        SCOPED_TRACE(i);
        const TStroke& a = original.Strokes[i];
        const TStroke& b = t.Strokes[i];
        EXPECT_NEAR(b.Time, a.Time, 0.0005);
        EXPECT_NEAR(b.Distance, a.Distance, 0.005);
        EXPECT_EQ(+b.Power, std::nearbyint(a.Power));
        EXPECT_EQ(+b.StrokeRate, std::nearbyint(a.StrokeRate)) << "cadence is whole strokes a minute";
        EXPECT_EQ(+b.Pulse, std::nearbyint(a.Pulse));
        EXPECT_NEAR(b.Split500, a.Split500, 0.02) << "speed in mm/s";
        EXPECT_EQ(+b.DriveTime, 0) << "not in the format";
        EXPECT_FALSE(t.Curves[i].Valid);
    }
    ASSERT_EQ(t.Intervals.size(), 2u) << "the work laps; the rest laps are none";
    EXPECT_EQ(+t.Intervals[0].Stroke.Number, 20);
    EXPECT_EQ(+t.Intervals[1].Stroke.Number, 20);
    EXPECT_EQ(+t.Strokes[30].IntervalNumber, 0);
    EXPECT_EQ(+t.Strokes[41].IntervalNumber, 2);
}

TEST(TcxReader, TrackpointsASecondApartOpenAsARowEach)
{
    // A watch's file: no lap start, the strokes timed from the first
    // trackpoint, no heart rate, the extension under its own default
    // namespace, a lap of two tracks.
    std::string points;
    for (int second = 10; second < 40; ++second) points += Trackpoint(second, 4.5 * (second - 10), 200 + second);
    const std::string own = "<Trackpoint><Time>2026-06-14T05:30:40Z</Time><DistanceMeters>135</DistanceMeters><Cadence>24</Cadence><Extensions>"
                            "<TPX xmlns=\"http://www.garmin.com/xmlschemas/ActivityExtension/v2\">"
                            "<Speed>4.0</Speed></TPX></Extensions></Trackpoint>";
    const TOpened read = ReadTcx(TcxDocument("<Lap><Track>" + points + "</Track><Track>" + own + "</Track></Lap>"));
    ASSERT_TRUE(read.Ok);
    const TTraining& t = read.Training;
    ASSERT_EQ(t.Strokes.size(), 32u);
    EXPECT_EQ(+t.Strokes[1].Time, 0);
    EXPECT_EQ(+t.Strokes[30].Time, 29);
    EXPECT_FLOAT_EQ(+t.Strokes[30].Distance, 130.5f);
    EXPECT_EQ(+t.Strokes[30].Power, 239);
    EXPECT_EQ(+t.Strokes[30].Pulse, 0);
    EXPECT_EQ(+t.Strokes[31].StrokeRate, 24);
    EXPECT_EQ(+t.Strokes[31].Split500, 125);
    EXPECT_NEAR(t.Header.DateTime, DateTimeFromUnixTime(1781415010, true), 0.001 / 86400);
    EXPECT_TRUE(t.Intervals.empty());
}

TEST(TcxReader, DamageOfEveryKindIsRefusedWithAnEmptyRecord)
{
    const std::string good = TcxDocument("<Lap StartTime=\"2026-06-14T05:30:00Z\"><Track>" + Trackpoint(1, 5, 200)
                                         + "</Track></Lap>");
    ASSERT_TRUE(ReadTcx(good).Ok);
    const auto replaced = [&good](const std::string& what, const std::string& by) {
        std::string text = good;
        return text.replace(text.find(what), what.size(), by);
    };
    const std::pair<const char*, std::string> damaged[] = {
        {"an empty file", ""},
        {"no XML", "TrainingCenterDatabase"},
        {"XML cut short", good.substr(0, good.size() / 2)},
        {"XML that is not TCX", "<gpx><trk/></gpx>"},
        {"no activity", "<TrainingCenterDatabase><Courses/></TrainingCenterDatabase>"},
        {"a trackpoint without its time", replaced("<Time>2026-06-14T05:30:01Z</Time>", "")},
        {"a time that is no date", replaced("05:30:01Z", "yesterday")},
        {"a lap start that is no date", replaced("StartTime=\"2026", "StartTime=\"x2026")},
        {"a distance that is no number", replaced(">5.000000<", ">5 m<")},
        {"watts beyond any float", replaced(">200<", ">1e99<")},
    };
    for (const auto& [fault, text] : damaged) EXPECT_TRUE(RefusedCleanly(ReadTcx(text))) << fault;
}

TEST(TcxReader, AFileOfMoreThan65535TrackpointsIsCutWithAMessage)
{
    std::string points;
    for (int i = 0; i < 65540; ++i) points += "<Trackpoint><Time>2026-06-14T05:30:00Z</Time></Trackpoint>";
    const TOpened read = ReadTcx(TcxDocument("<Lap><Track>" + points + "</Track></Lap>"));
    ASSERT_TRUE(read.Ok);
    EXPECT_EQ(read.Training.Strokes.size(), 65536u);
    EXPECT_EQ(read.Messages, std::vector<std::string>{"The file holds more than 65535 strokes; the first 65535 are shown."});
}
