// The rowing-data CSV reader: Marlo's own export read back, the same rows
// however a file lays them out, force lists of any length, and every kind of
// damage refused.
#include "untFiles.h"

#include "DemoTraining.h"
#include "ImportKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

namespace {

TOpened ReadCsv(const std::string& text) { return OpenBytes("piece.csv", text); }

using TRow = std::map<std::string, std::string>;

// A file of the rows given under the columns given, in their order; a value
// a row lacks is left empty.
std::string CsvText(const std::vector<std::string>& columns, const std::vector<TRow>& rows,
                    const std::string& lineEnd = "\n")
{
    std::string text;
    for (size_t c = 0; c < columns.size(); ++c) text += (c ? "," : "") + columns[c];
    for (const TRow& row : rows) {
        text += lineEnd;
        for (size_t c = 0; c < columns.size(); ++c) {
            const auto value = row.find(columns[c]);
            text += (c ? "," : "") + (value == row.end() ? "" : value->second);
        }
    }
    return text + lineEnd;
}

const std::vector<std::string> Columns = {"TimeStamp (sec)",      " Horizontal (meters)", " Cadence (stokes/min)",
                                          " HRCur (bpm)",         " Power (watts)",       " DriveLength (meters)",
                                          " PeakDriveForce (N)",  " lapIdx",              " ElapsedTime (sec)",
                                          " Stroke Number",       "Handle_Force_(N)"};

// Three strokes, the first starting 05:30:00 UTC, two laps.
const std::vector<TRow> Rows = {
    {{"TimeStamp (sec)", "1781415002.5"}, {" Horizontal (meters)", "10.5"}, {" Cadence (stokes/min)", "30.5"},
     {" HRCur (bpm)", "150"}, {" Power (watts)", "250.5"}, {" DriveLength (meters)", "1.2"},
     {" PeakDriveForce (N)", "650"}, {" lapIdx", "0"}, {" ElapsedTime (sec)", "2.5"}, {" Stroke Number", "1"},
     {"Handle_Force_(N)", "\"100,400,700,400,100\""}},
    {{"TimeStamp (sec)", "1781415004.5"}, {" Horizontal (meters)", "20.25"}, {" HRCur (bpm)", "152"},
     {" Power (watts)", "260"}, {" PeakDriveForce (N)", "640"}, {" lapIdx", "0"}, {" ElapsedTime (sec)", "4.5"},
     {"Handle_Force_(N)", "\"\""}},
    {{"TimeStamp (sec)", "1781415006.5"}, {" Horizontal (meters)", "30"}, {" HRCur (bpm)", "155"},
     {" Power (watts)", "270"}, {" DriveLength (meters)", "1.3"}, {" lapIdx", "1"}, {" ElapsedTime (sec)", "6.5"},
     {"Handle_Force_(N)", "\"200,600,800,300\""}},
};

void ExpectSameRows(const TTraining& a, const TTraining& b)
{
    ASSERT_EQ(a.Strokes.size(), b.Strokes.size());
    for (size_t i = 1; i < a.Strokes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(+a.Strokes[i].Time, +b.Strokes[i].Time);
        EXPECT_EQ(+a.Strokes[i].Distance, +b.Strokes[i].Distance);
        EXPECT_EQ(+a.Strokes[i].Power, +b.Strokes[i].Power);
        EXPECT_EQ(+a.Strokes[i].StrokeLength, +b.Strokes[i].StrokeLength);
        EXPECT_EQ(+a.Strokes[i].IntervalNumber, +b.Strokes[i].IntervalNumber);
        EXPECT_EQ(std::memcmp(a.Curves[i].Samples, b.Curves[i].Samples, sizeof a.Curves[i].Samples), 0);
    }
}

} // namespace

TEST(RowingCsvReader, MarlosOwnExportReadsBackToTheSameStrokesCurvesAndLaps)
{
    const TZoneScope zone(CentralEurope); // the file holds UTC, the record local time
    TTraining original = MakeDemoTraining(300);
    original.Settings.SessionLimit = 4; // a lap per 500 m, all of them work
    const TOpened read = ReadCsv(Exported(original, TExportFormat::RowingCsv));
    ASSERT_TRUE(read.Ok) << testing::PrintToString(read.Messages);
    const TTraining& t = read.Training;
    ASSERT_EQ(t.Strokes.size(), original.Strokes.size());
    EXPECT_EQ(FileTypeText(t.Header.FileKind, t.Header.FileFormat), "Rowing data CSV");
    EXPECT_NEAR(t.Header.DateTime, original.Header.DateTime, 0.001 / 86400);
    const double spacing = CurveSpacing(original.Settings);
    for (size_t i = 1; i < t.Strokes.size(); ++i) {
        SCOPED_TRACE(i);
        const TStroke& a = original.Strokes[i];
        const TStroke& b = t.Strokes[i];
        EXPECT_NEAR(b.Time, a.Time, 0.001);
        EXPECT_NEAR(b.Distance, a.Distance, 0.006) << "in cm, and a float's rounding";
        EXPECT_NEAR(b.StrokeRate, a.StrokeRate, 0.005);
        EXPECT_EQ(+b.Pulse, std::nearbyint(a.Pulse));
        EXPECT_NEAR(b.Split500, a.Split500, 0.005);
        EXPECT_NEAR(b.Power, a.Power, 0.05);
        EXPECT_NEAR(b.StrokeLength, a.StrokeLength, 0.05);
        EXPECT_NEAR(b.DistancePerStroke, a.DistancePerStroke, 0.05);
        EXPECT_NEAR(b.DriveTime, a.DriveTime, 0.0005);
        EXPECT_NEAR(b.DriveRecoverRatio, a.DriveRecoverRatio, 0.005);
        EXPECT_NEAR(b.EnergyPerStroke, a.EnergyPerStroke, 0.05);
        ASSERT_EQ(+t.Curves[i].Valid, +original.Curves[i].Valid);
        if (!t.Curves[i].Valid) continue;
        EXPECT_EQ(+b.PeakForce, +a.PeakForce);
        // The list holds the drive; beyond it the curve is 0.
        const int drive = static_cast<int>(a.StrokeLength / spacing);
        for (int k = 0; k < CurveSamples; ++k)
            ASSERT_EQ(+t.Curves[i].Samples[k], k < drive ? +original.Curves[i].Samples[k] : 0) << k;
    }
    ASSERT_EQ(t.Intervals.size(), original.Intervals.size());
    for (size_t n = 0; n < t.Intervals.size(); ++n)
        EXPECT_EQ(+t.Intervals[n].Stroke.Number, +original.Intervals[n].Stroke.Number) << n;
}

TEST(RowingCsvReader, TheSameRowsReadAlikeHoweverTheFileLaysThemOut)
{
    const TOpened base = ReadCsv(CsvText(Columns, Rows));
    ASSERT_TRUE(base.Ok) << testing::PrintToString(base.Messages);
    const TTraining& t = base.Training;
    ASSERT_EQ(t.Strokes.size(), 4u);
    EXPECT_EQ(+t.Strokes[1].Time, 2.5f);
    EXPECT_EQ(+t.Strokes[3].Time, 6.5f);
    EXPECT_NEAR(t.Header.DateTime, DateTimeFromUnixTime(1781415000, true), 0.001 / 86400);
    EXPECT_EQ(+t.Strokes[1].StrokeRate, 30.5f);
    EXPECT_EQ(+t.Strokes[2].StrokeRate, 0) << "a value the row lacks";
    EXPECT_EQ(+t.Strokes[2].StrokeLength, 0);
    EXPECT_EQ(+t.Strokes[2].PeakForce, 640) << "no curve: the file's peak force";
    EXPECT_FALSE(t.Curves[2].Valid);
    EXPECT_TRUE(t.Curves[3].Valid);
    ASSERT_EQ(t.Intervals.size(), 2u);
    EXPECT_EQ(+t.Strokes[3].IntervalNumber, 2);

    std::vector<std::string> reordered = Columns;
    std::reverse(reordered.begin(), reordered.end());
    std::vector<TRow> quoted = Rows;
    quoted[0][" Horizontal (meters)"] = "\"10,5\"";
    quoted[1][" Power (watts)"] = "\"260\"";
    std::string spaced = "\n" + CsvText(Columns, Rows, "\n\n");
    spaced.resize(spaced.size() - 2);
    const std::pair<const char*, std::string> layouts[] = {
        {"columns in another order", CsvText(reordered, Rows)},
        {"CR LF line ends", CsvText(Columns, Rows, "\r\n")},
        {"a byte-order mark", "\xEF\xBB\xBF" + CsvText(Columns, Rows)},
        {"quoted fields, a comma decimal", CsvText(Columns, quoted)},
        {"blank lines and no line end at the end", spaced},
    };
    for (const auto& [layout, text] : layouts) {
        SCOPED_TRACE(layout);
        const TOpened read = ReadCsv(text);
        ASSERT_TRUE(read.Ok);
        ExpectSameRows(read.Training, t);
    }

    std::vector<std::string> withoutPulse = Columns;
    withoutPulse.erase(std::find(withoutPulse.begin(), withoutPulse.end(), " HRCur (bpm)"));
    const TOpened noPulse = ReadCsv(CsvText(withoutPulse, Rows));
    ASSERT_TRUE(noPulse.Ok);
    ExpectSameRows(noPulse.Training, t);
    EXPECT_EQ(+noPulse.Training.Strokes[1].Pulse, 0) << "a missing column counts as absent";
}

TEST(RowingCsvReader, ForceListsOfAnyLengthSpreadOverTheDrive)
{
    TUserSettings settings{};
    NewSettings(settings);
    const double spacing = CurveSpacing(settings);
    // A triangle rising to 800 N at 60 cm and falling to 0 at the drive's end, 120 cm.
    const auto triangle = [](double cm) { return cm <= 60 ? 800 * cm / 60 : 800 * (120 - cm) / 60; };
    for (const int count : {16, 80, 300}) {
        SCOPED_TRACE(count);
        std::string list;
        for (int i = 1; i <= count; ++i) list += (i > 1 ? "," : "") + std::to_string(triangle(120.0 * i / count));
        const TOpened read = ReadCsv("TimeStamp (sec),DriveLength (meters),Handle_Force_(N)\n0,1.2,\"" + list + "\"\n");
        ASSERT_TRUE(read.Ok);
        const TForceCurve& curve = read.Training.Curves[1];
        ASSERT_TRUE(curve.Valid);
        int peak = 0;
        for (int k = 0; k < CurveSamples; ++k)
            if (curve.Samples[k] > curve.Samples[peak]) peak = k;
        EXPECT_NEAR((peak + 1) * spacing, 60, 2 * std::max(spacing, 120.0 / count)) << "the peak where it was";
        EXPECT_NEAR(curve.Samples[peak], 800, 800 * 0.1);
        EXPECT_LE(+curve.Samples[static_cast<int>(130 / spacing)], 20) << "nothing after the drive";
    }
    const TOpened unknownDrive = ReadCsv("TimeStamp (sec),Handle_Force_(N)\n0,\"100,400,700\"\n");
    ASSERT_TRUE(unknownDrive.Ok);
    EXPECT_FALSE(unknownDrive.Training.Curves[1].Valid) << "a list without a drive length has nowhere to go";
}

TEST(RowingCsvReader, DamageOfEveryKindIsRefusedWithAnEmptyRecord)
{
    const std::string good = CsvText(Columns, Rows);
    ASSERT_TRUE(ReadCsv(good).Ok);
    const auto withPower = [](const std::string& power) {
        std::vector<TRow> rows = Rows;
        rows[2][" Power (watts)"] = power;
        return CsvText(Columns, rows);
    };
    std::vector<TRow> wide = Rows;
    wide[1]["Handle_Force_(N)"] = "1,2";
    std::vector<TRow> untimed = Rows;
    untimed[1]["TimeStamp (sec)"] = "";
    const std::pair<const char*, std::string> damaged[] = {
        {"an empty file", ""},
        {"no time column", "Horizontal (meters),Power (watts)\n10,200\n"},
        {"a quoted field the file does not close", good.substr(0, good.rfind("800"))},
        {"a record longer than any training needs", "TimeStamp (sec)\n\"" + std::string(2 << 20, '1') + "\"\n"},
        {"a row of more fields than columns", CsvText(Columns, wide)},
        {"a row without its time", CsvText(Columns, untimed)},
        {"a time stamp that is no date", "TimeStamp (sec)\n1e20\n"},
        {"a start that is no date", "TimeStamp (sec),ElapsedTime (sec)\n0,-1e20\n"},
        {"letters after a number", withPower("12a")},
        {"two decimal points", withPower("1.2.3")},
        {"not a number", withPower("nan")},
        {"beyond any float", withPower("1e999")},
        {"a force that is no number", CsvText(Columns, {Rows[0], {{"TimeStamp (sec)", "1"}, {"Handle_Force_(N)", "\"1,x\""}}})},
    };
    for (const auto& [fault, text] : damaged) EXPECT_TRUE(RefusedCleanly(ReadCsv(text))) << fault;
}

TEST(RowingCsvReader, AFileOfMoreThan65535RowsIsCutWithAMessage)
{
    std::string text = "TimeStamp (sec), lapIdx\n";
    for (int i = 0; i < 65540; ++i) text += std::to_string(i) + "," + std::to_string(i % 2) + "\n";
    const TOpened read = ReadCsv(text);
    ASSERT_TRUE(read.Ok);
    EXPECT_EQ(read.Training.Strokes.size(), 65536u);
    EXPECT_EQ(+read.Training.Strokes.back().Time, 65534);
    EXPECT_EQ(read.Training.Intervals.size(), 65535u) << "a lap per row taken, none beyond";
    EXPECT_EQ(read.Messages, std::vector<std::string>{"The file holds more than 65535 strokes; the first 65535 are shown."});
}
