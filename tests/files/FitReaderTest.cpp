// The FIT reader: Marlo's own export read back, the parts of an activity a
// file may lack or hold twice, records as other writers lay them out, the
// imported force curves, and every kind of damage refused.
#include "untFiles.h"

#include "DemoTraining.h"
#include "FitBuilder.h"
#include "ImportKit.h"
#include "untImport.h"

#include <gtest/gtest.h>

#include <cstring>

#include <cmath>

namespace {

using namespace Fit;

TOpened ReadFitBytes(const std::string& bytes) { return OpenBytes("activity.fit", bytes); }

// A file of records with a timestamp, a distance and a power each, a record
// every 2 s from FIT time 1,000,000,000, and the laps and sessions asked for.
class TActivityBuilder : public TFitBuilder {
public:
    TActivityBuilder()
    {
        Define(0, FileIdMessage, {{FileId::Type, 1, Fit::Enum}}).Message(0, std::string(1, char(FileTypeActivity)));
        Define(1, RecordMessage, {{Timestamp, 4, Fit::Uint32}, {Record::Distance, 4, Fit::Uint32},
                                  {Record::Power, 2, Fit::Uint16}});
        Define(2, LapMessage, {{Timestamp, 4, Fit::Uint32}, {Lap::StartTime, 4, Fit::Uint32},
                               {Lap::Intensity, 1, Fit::Enum}});
        Define(3, SessionMessage, {{Session::StartTime, 4, Fit::Uint32}, {Session::TotalDistance, 4, Fit::Uint32}});
    }
    TActivityBuilder& Strokes(int count)
    {
        for (int i = 0; i < count; ++i, ++Stroke)
            Message(1, FitBytes(Start + 2 * Stroke, 4) + FitBytes(1000 * Stroke, 4) + FitBytes(200 + Stroke, 2));
        return *this;
    }
    TActivityBuilder& Lap(uint32_t from, uint32_t to, bool rest = false)
    {
        Message(2, FitBytes(Start + to, 4) + FitBytes(Start + from, 4) + std::string(1, char(rest)));
        return *this;
    }
    TActivityBuilder& Session(uint32_t from, double metres)
    {
        Message(3, FitBytes(Start + from, 4) + FitBytes(static_cast<uint32_t>(metres * 100), 4));
        return *this;
    }
    const uint32_t Start = 1000000000;
    uint32_t Stroke = 1;
};

} // namespace

TEST(FitReader, MarlosOwnExportReadsBackToTheSameTraining)
{
    TTraining original = MakeDemoTraining(300);
    original.Curves[7].Valid = 0;
    AssignText(original.Header.Title, "2000 m \xC3\xA9preuve");
    original.Settings.SessionLimit = 2;
    const TOpened read = ReadFitBytes(Exported(original, TExportFormat::Fit));
    ASSERT_TRUE(read.Ok) << testing::PrintToString(read.Messages);
    const TTraining& t = read.Training;
    ASSERT_EQ(t.Strokes.size(), original.Strokes.size());
    EXPECT_EQ(t.Header.Title.Utf8(), "2000 m \xC3\xA9preuve");
    EXPECT_EQ(FileTypeText(t.Header.FileKind, t.Header.FileFormat), "FIT activity");
    EXPECT_NEAR(t.Header.DateTime, original.Header.DateTime, 1.0 / 86400);
    for (size_t i = 1; i < t.Strokes.size(); i += 37) {
        SCOPED_TRACE(i);
        const TStroke& a = original.Strokes[i];
        const TStroke& b = t.Strokes[i];
        EXPECT_NEAR(+b.Time, +a.Time, 0.5) << "whole seconds";
        EXPECT_NEAR(+b.Distance, +a.Distance, 0.005);
        EXPECT_EQ(+b.Power, std::nearbyint(+a.Power));
        EXPECT_EQ(+b.StrokeRate, std::nearbyint(+a.StrokeRate * 100) / 100) << "the rate in hundredths";
        EXPECT_EQ(+b.Pulse, std::nearbyint(+a.Pulse));
        EXPECT_NEAR(+b.Split500, +a.Split500, 0.05);
        EXPECT_NEAR(+b.DriveTime, +a.DriveTime, 0.0005);
        EXPECT_NEAR(+b.StrokeLength, +a.StrokeLength, 0.05);
        EXPECT_NEAR(+b.DistancePerStroke, +a.DistancePerStroke, 0.5);
        EXPECT_EQ(+t.Curves[i].Valid, +original.Curves[i].Valid);
        for (int k = 0; k < CurveSamples; ++k) ASSERT_EQ(+t.Curves[i].Samples[k], +original.Curves[i].Samples[k]) << k;
    }
    EXPECT_FALSE(+t.Curves[7].Valid);
    EXPECT_TRUE(t.Intervals.empty()) << "one lap: no interval session";
    EXPECT_NEAR(+t.Totals.TotalDistance, +original.Strokes.back().Distance, 0.01);
}

TEST(FitReader, AnIntervalSessionsWorkLapsBecomeIntervalsAndItsRestIsNone)
{
    const TOpened read = ReadFitBytes(Exported(IntervalsWithRest(), TExportFormat::Fit));
    ASSERT_TRUE(read.Ok);
    const TTraining& t = read.Training;
    EXPECT_EQ(+t.Settings.SessionLimit, 4);
    ASSERT_EQ(t.Intervals.size(), 2u);
    EXPECT_EQ(+t.Intervals[0].Stroke.Number, 20);
    EXPECT_EQ(+t.Intervals[1].Stroke.Number, 20);
    EXPECT_EQ(+t.Strokes[5].IntervalNumber, 1);
    EXPECT_EQ(+t.Strokes[30].IntervalNumber, 0) << "rest strokes";
    EXPECT_EQ(+t.Strokes[41].IntervalNumber, 2);
}

TEST(FitReader, AFileMayLackLapsAndSessionsOrHoldTwoSessions)
{
    // Records alone: one piece from the first record, totals from the last.
    TActivityBuilder records;
    const TOpened alone = ReadFitBytes(records.Strokes(5).Bytes());
    ASSERT_TRUE(alone.Ok);
    ASSERT_EQ(alone.Training.Strokes.size(), 6u);
    EXPECT_EQ(+alone.Training.Strokes[1].Time, 0) << "the first record starts the piece";
    EXPECT_EQ(+alone.Training.Strokes[5].Time, 8);
    EXPECT_EQ(+alone.Training.Strokes[5].Power, 205);
    EXPECT_EQ(+alone.Training.Strokes[5].AveragePower, 203);
    EXPECT_EQ(+alone.Training.Totals.TotalDistance, 50);
    EXPECT_TRUE(alone.Training.Intervals.empty());

    // Laps, no session: the laps still make intervals.
    TActivityBuilder laps;
    laps.Strokes(4).Lap(0, 8).Strokes(4).Lap(8, 16);
    const TOpened lapped = ReadFitBytes(laps.Bytes());
    ASSERT_TRUE(lapped.Ok);
    ASSERT_EQ(lapped.Training.Intervals.size(), 2u);
    EXPECT_EQ(+lapped.Training.Strokes[5].IntervalNumber, 2);

    // Two sessions: the first one's start, both their distances.
    TActivityBuilder sessions;
    sessions.Strokes(3).Session(0, 30).Strokes(3).Session(6, 30.5);
    const TOpened both = ReadFitBytes(sessions.Bytes());
    ASSERT_TRUE(both.Ok);
    EXPECT_EQ(+both.Training.Strokes[1].Time, 2) << "timed from the session's start";
    EXPECT_FLOAT_EQ(+both.Training.Totals.TotalDistance, 60.5f);
}

TEST(FitReader, CompressedTimestampsAndBigEndianRecordsReadAsTheOthers)
{
    TActivityBuilder file;
    file.Strokes(1); // FIT time 1,000,000,002, whose low five bits are 2
    file.Define(2, RecordMessage, {{Record::Power, 2, Fit::Uint16}}, {}, true);
    file.Compressed(2, 30, std::string{0x01, 0x2C}); // 300 W at +28 s
    file.Compressed(2, 3, std::string{0x01, 0x2D});  // the offset wraps: +33 s
    const TOpened read = ReadFitBytes(file.Bytes());
    ASSERT_TRUE(read.Ok);
    ASSERT_EQ(read.Training.Strokes.size(), 4u);
    EXPECT_EQ(+read.Training.Strokes[2].Time, 28);
    EXPECT_EQ(+read.Training.Strokes[2].Power, 300);
    EXPECT_EQ(+read.Training.Strokes[3].Time, 33);
    EXPECT_EQ(+read.Training.Strokes[3].Power, 301);
}

TEST(FitReader, DamageOfEveryKindIsRefusedWithAnEmptyRecord)
{
    TActivityBuilder good;
    good.Strokes(3);
    const std::string bytes = good.Bytes();
    ASSERT_TRUE(ReadFitBytes(bytes).Ok);

    std::string badCrc = bytes;
    badCrc[20] ^= 1;
    std::string badHeaderCrc = bytes;
    badHeaderCrc[12] ^= 1;
    TFitBuilder undefined;
    undefined.Message(5, "abcd");
    TFitBuilder oddField;
    oddField.Define(0, RecordMessage, {{Record::Power, 3, Fit::Uint16}}).Message(0, "abc");
    TFitBuilder undescribed;
    undescribed.Define(0, RecordMessage, {{Timestamp, 4, Fit::Uint32}}, {{7, 2, 0}});
    TFitBuilder unknownType;
    unknownType.Define(0, RecordMessage, {{Record::Power, 1, 0x1E}});
    TFitBuilder course;
    course.Define(0, FileIdMessage, {{FileId::Type, 1, Fit::Enum}}).Message(0, std::string(1, '\x06'));
    TFitBuilder signedDescription; // a developer data index of -124
    signedDescription.Define(0, FieldDescriptionMessage, {{0, 1, Fit::Sint8}, {1, 1, Fit::Uint8}, {2, 1, Fit::Uint8}})
        .Message(0, "\x84\x01\x02");
    TFitBuilder beyondData;
    beyondData.Define(0, RecordMessage, {{Timestamp, 4, Fit::Uint32}}).Message(0, "ab");
    const std::pair<const char*, std::string> damaged[] = {
        {"a wrong file CRC", badCrc},
        {"a wrong header CRC", badHeaderCrc},
        {"a message without its definition", undefined.Bytes()},
        {"a field that does not fit its type", oddField.Bytes()},
        {"a developer field without its description", undescribed.Bytes()},
        {"a field description with a negative number", signedDescription.Bytes()},
        {"an unknown base type", unknownType.Bytes()},
        {"a course, no activity", course.Bytes()},
        {"a message longer than the data", beyondData.Bytes()},
        {"data beyond the file", bytes.substr(0, bytes.size() - 3)},
        {"no header", "FIT"},
        {"not FIT", std::string(40, 'x')},
    };
    for (const auto& [fault, file] : damaged) {
        const TOpened read = ReadFitBytes(file);
        EXPECT_FALSE(read.Ok) << fault;
        EXPECT_EQ(read.Training.Strokes.size(), 1u) << fault;
        EXPECT_FALSE(read.Messages.empty()) << fault;
    }
}

// A field may be declared of any base type: a signed time before 1989, a
// float beyond any float the record holds, a start no clock can show.
TEST(FitReader, FieldsOfUnexpectedTypesGiveNoTimeOrNoValueRatherThanGarbage)
{
    const auto float64 = [](double value) {
        std::string bytes(8, '\0');
        std::memcpy(bytes.data(), &value, 8);
        return bytes;
    };
    const uint8_t Float64 = 0x89;
    TFitBuilder file;
    file.Define(0, FileIdMessage, {{FileId::Type, 1, Fit::Enum}}).Message(0, std::string(1, char(FileTypeActivity)));
    file.Define(1, RecordMessage, {{Timestamp, 4, Fit::Sint32}, {Record::Power, 8, Float64},
                                   {Record::Distance, 8, Float64}});
    file.Message(1, FitBytes(static_cast<uint32_t>(-24), 4) + float64(200) + float64(10));
    file.Message(1, FitBytes(1000000000, 4) + float64(1e300) + float64(3e38));
    file.Message(1, FitBytes(1000000002, 4) + float64(210) + float64(20));
    file.Define(2, SessionMessage, {{Session::StartTime, 8, Float64}, {Session::TotalDistance, 8, Float64}});
    file.Message(2, float64(-1e30) + float64(1e300));
    const TOpened read = ReadFitBytes(file.Bytes());
    ASSERT_TRUE(read.Ok);
    const TTraining& t = read.Training;
    ASSERT_EQ(t.Strokes.size(), 3u) << "a record at no time is no stroke";
    EXPECT_EQ(+t.Strokes[1].Power, 0) << "beyond a float: no value";
    EXPECT_FLOAT_EQ(+t.Strokes[1].Distance, 3e36f) << "in m/100";
    EXPECT_EQ(+t.Strokes[2].Power, 210);
    EXPECT_EQ(+t.Strokes[2].Time, 2) << "timed from the first stroke, the session's start being none";
    EXPECT_FLOAT_EQ(+t.Totals.TotalDistance, 0.2f) << "the session's beyond a float: the last stroke's";
}

TEST(FitReader, AFileOfMoreThan65535StrokesIsCutWithAMessage)
{
    TFitBuilder file;
    file.Define(0, RecordMessage, {{Timestamp, 4, Fit::Uint32}}).Message(0, FitBytes(1000, 4));
    file.Define(1, RecordMessage, {{Record::Power, 2, Fit::Uint16}});
    for (uint32_t i = 1; i < 65540; ++i) file.Compressed(1, static_cast<uint8_t>((1000 + i) & 0x1F), FitBytes(i, 2));
    const TOpened read = ReadFitBytes(file.Bytes());
    ASSERT_TRUE(read.Ok);
    EXPECT_EQ(read.Training.Strokes.size(), 65536u);
    EXPECT_EQ(+read.Training.Strokes.back().Power, 65534);
    ASSERT_EQ(read.Messages.size(), 1u);
    EXPECT_EQ(read.Messages[0], "The file holds more than 65535 strokes; the first 65535 are shown.");
}

TEST(ImportedCurve, SourceCurvesOfAnyLengthLandOnTheRecordsSpacing)
{
    TUserSettings settings{};
    NewSettings(settings);
    const double spacing = CurveSpacing(settings);
    // A triangle rising to 800 N at 60 cm and falling to 0 at 120 cm.
    const auto triangle = [](double cm) { return cm <= 60 ? 800 * cm / 60 : std::max(0.0, 800 * (120 - cm) / 60); };
    for (const int count : {16, 80, 300}) {
        SCOPED_TRACE(count);
        TSourceCurve source;
        source.Step = 120.0 / count;
        for (int i = 1; i <= count; ++i) source.Forces.push_back(triangle(i * source.Step));
        const TForceCurve curve = ImportedCurve(source, 120, settings);
        ASSERT_TRUE(+curve.Valid);
        int peak = 0;
        for (int k = 0; k < CurveSamples; ++k)
            if (curve.Samples[k] > curve.Samples[peak]) peak = k;
        EXPECT_NEAR((peak + 1) * spacing, 60, 2 * std::max(spacing, source.Step)) << "the peak where it was";
        EXPECT_NEAR(+curve.Samples[peak], 800, 800 * 0.1);
        const int beyond = static_cast<int>(130 / spacing);
        if (beyond < CurveSamples) {
            EXPECT_LE(+curve.Samples[beyond], 20) << "nothing after the drive";
        }
    }

    // Without a step of its own, a curve spans the stroke's drive.
    TSourceCurve spread;
    spread.Forces = {100, 400, 700, 400, 100};
    const TForceCurve drive = ImportedCurve(spread, 100, settings);
    EXPECT_TRUE(+drive.Valid);

    // Nothing to resample gives a curve that is not valid.
    for (const TSourceCurve& empty : {TSourceCurve{}, TSourceCurve{{0, 0, 0}, 2.0}, TSourceCurve{{500}, 2.0},
                                      TSourceCurve{{std::nan(""), -5, 3}, 0}})
        EXPECT_FALSE(ImportedCurve(empty, 0, settings).Valid);
}
