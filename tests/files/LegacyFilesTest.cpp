// Session, stroke and user files, their records, and the stroke-file writer.
#include "LegacyBuilders.h"
#include "LegacyRecords.h"
#include "StgBuilder.h"
#include "TestKit.h"
#include "untFiles.h"

#include <gtest/gtest.h>
#include <sys/time.h>

namespace {

class LegacyFiles : public ::testing::Test {
protected:
    bool Open(const std::string& name, const std::string& bytes)
    {
        WriteBytes(Folder.File(name), bytes);
        return OpenTrainingFile(Folder.File(name), Training, true);
    }
    void ExpectRejected(const std::string& name, const std::string& bytes)
    {
        Messages.Messages.clear();
        EXPECT_FALSE(Open(name, bytes)) << bytes.size() << " bytes";
        EXPECT_TRUE(IsEmptyTraining(Training));
        ASSERT_FALSE(Messages.Messages.empty());
        EXPECT_EQ(Messages.Messages.back().Text, "Error reading file \"" + Folder.File(name) + "\"");
    }

    TMessageRecorder Messages;
    TTempFolder Folder;
    TTraining Training;
};

// Strokes 1..count in the table, each with a curve in the pairs.
TSessionImage SessionOf(uint16_t count, uint16_t intervals)
{
    TSessionImage session;
    session.StrokeCount = count;
    session.IntervalCount = intervals;
    for (uint16_t i = 1; i <= count; ++i) {
        session.Strokes.push_back(LegacyStrokeBytes(i, static_cast<uint16_t>(100 * i)));
        session.Pairs.push_back(LegacyStrokeBytes(i, static_cast<uint16_t>(100 * i)) + LegacyCurveBytes());
    }
    for (uint16_t i = 1; i < intervals; ++i) session.Intervals.push_back(LegacyIntervalBytes(i, 20));
    session.Totals = LegacyTotalsBytes(2000, 480, 96000, 210);
    return session;
}

} // namespace

TEST(LegacyRecords, CurveBytesAreStepsOf385WithClippedZeros)
{
    const TForceCurve high = LegacyCurve(reinterpret_cast<const unsigned char*>(LegacyCurveBytes({200, 0}).data()));
    EXPECT_EQ(+high.Samples[0], 770);
    EXPECT_EQ(+high.Samples[1], 780); // a 0 after more than 750 N
    EXPECT_EQ(+high.Samples[2], 780); // ... and so does every 0 after it
    const TForceCurve low = LegacyCurve(reinterpret_cast<const unsigned char*>(LegacyCurveBytes({100, 0, 30}).data()));
    EXPECT_EQ(+low.Samples[0], 385);
    EXPECT_EQ(+low.Samples[1], 0);
    EXPECT_EQ(+low.Samples[2], 116); // 115.5 in double precision, rounded half to even
    EXPECT_EQ(+low.Valid, 1);
    EXPECT_EQ(LegacyCurve(reinterpret_cast<const unsigned char*>(LegacyCurveBytes({}).data())).Valid, 0);
}

TEST(LegacyRecords, UserRecordFillsNameAndSettingsInOrder)
{
    TLegacyUserImage image;
    image.Name = "Annabelle"; // one character beyond the record's 8
    image.Ergometer = 2;
    for (size_t i = 0; i < image.Settings.size(); ++i) image.Settings[i] = static_cast<uint16_t>(1000 + i);
    image.Settings[0] = 65535;
    TTraining training;
    training.Settings.Weight = 99; // replaced; the rest of the settings zeroed
    ApplyLegacyUser(reinterpret_cast<const unsigned char*>(LegacyUserBytes(image).data()), training);
    EXPECT_EQ(training.Header.Name.Text(), "Annabell");
    EXPECT_EQ(+training.Settings.Weight, 72);
    EXPECT_EQ(+training.Settings.Gender, 2);
    EXPECT_EQ(+training.Settings.Ergometer, 0); // above 1
    EXPECT_EQ(+training.Settings.Sprocket, 2);
    EXPECT_EQ(+training.Settings.SessionLimit, 65535); // unsigned
    EXPECT_EQ(+training.Settings.IntervalBy, 1009);
    EXPECT_EQ(+training.Settings.Display, 1020);
}

TEST(FileModificationTime, IsTheLocalTimeOfTheLastWrite)
{
    TTempFolder folder;
    WriteBytes(folder.File("a"), "x");
    const timeval times[2] = {{1700000000, 0}, {1700000000, 500000}};
    ASSERT_EQ(utimes(folder.File("a").c_str(), times), 0);
    EXPECT_DOUBLE_EQ(FileModificationTime(folder.File("a")), DateTimeFromUnixTime(1700000000.5));
    EXPECT_EQ(FileModificationTime(folder.File("missing")), 0);
}

TEST_F(LegacyFiles, StrokeFileRoundTripsThroughTheWriter)
{
    TTraining source{};
    source.Header.Name.Assign("Rower");
    NewSettings(source.Settings);
    source.Settings.Weight = 64;
    source.Settings.Sprocket = 0;
    source.Settings.WorkTime = 90;
    SetStrokeCount(source, 1);
    source.Strokes[1] = MakeStroke(1, 12.4f);
    source.Strokes[1].Power = 251.6f;
    source.Strokes[1].IntervalCountdown = 17;
    source.Curves[1] = MakeCurve(1, 760, 79, 79); // sample 79 is 760 N, sample 80 is 0
    const std::string path = Folder.File("sub/export.str");
    ASSERT_TRUE(SaveTrainingFile(path, source, fkStroke));
    EXPECT_EQ(ReadBytes(path).size(), 218u);

    ASSERT_TRUE(OpenTrainingFile(path, Training, true));
    const TStroke& stroke = Training.Strokes.at(1);
    EXPECT_EQ(+stroke.Power, 252);
    EXPECT_EQ(+stroke.Time, 12);
    EXPECT_EQ(+stroke.StrokeLength, 140);
    EXPECT_EQ(+stroke.IntervalCountdown, 17);
    const TSamples written = SamplesOf(source.Curves[1]);
    const TSamples read = SamplesOf(Training.Curves[1]);
    for (int k = 0; k < CurveSamples - 1; ++k) EXPECT_NEAR(read[k], written[k], 3.85 / 2 + 0.5) << k;
    EXPECT_EQ(read[79], 4); // one step: a 0 after 760 N would read back as 780 N
    EXPECT_EQ(Training.Header.Name.Text(), "Rower");
    EXPECT_EQ(+Training.Settings.Weight, 64);
    EXPECT_EQ(+Training.Settings.Sprocket, 0);
    EXPECT_EQ(+Training.Settings.WorkTime, 90);
    EXPECT_EQ(+stroke.PeakForce, 758); // 197 steps; recomputed after reading
    EXPECT_EQ(+Training.Curves[0].Valid, 1);
    EXPECT_EQ(+Training.Strokes[0].PeakForce, +stroke.PeakForce);
    EXPECT_EQ(+Training.Header.OrigFileKind, fkStroke);
    EXPECT_EQ(+Training.Header.OrigFileFormat, ffSTR);
    EXPECT_EQ(Training.Header.Title.Text(), "export");
    EXPECT_EQ(TrainingFileName(Training), path);
}

TEST_F(LegacyFiles, StrokeWriterNeedsAStrokeAndKeepsTheOldFileOtherwise)
{
    const std::string path = Folder.File("keep.str");
    WriteBytes(path, "old");
    TTraining empty{};
    SetStrokeCount(empty, 0);
    EXPECT_FALSE(SaveTrainingFile(path, empty, fkStroke));
    EXPECT_EQ(ReadBytes(path), "old");
}

TEST_F(LegacyFiles, StrokeAndUserFilesMustHaveTheirExactSize)
{
    const std::string stroke = LegacyStrokeBytes(1) + LegacyCurveBytes() + LegacyUserBytes({});
    for (size_t size : {size_t(0), size_t(217), size_t(32), size_t(112)})
        ExpectRejected("s.str", stroke.substr(0, size));
    ExpectRejected("s.str", stroke + "x");
    const std::string user = LegacyUserBytes({});
    ExpectRejected("u.ini", user + "x");
    ExpectRejected("u.ini", user.substr(0, 105));

    ASSERT_TRUE(Open("u.ini", user));
    EXPECT_EQ(Training.Strokes.size(), 1u);
    EXPECT_EQ(+Training.Header.OrigFileKind, fkUser);
    EXPECT_TRUE(IsUserTraining(Training));
    EXPECT_EQ(Training.Header.Name.Text(), "Ann");
}

TEST_F(LegacyFiles, SessionFileStoresStrokesCurvesIntervalsAndTotals)
{
    TSessionImage session = SessionOf(3, 3);
    session.Strokes[1] = LegacyStrokeBytes(7); // not its position: skipped
    session.Pairs[1] = LegacyStrokeBytes(3, 900) + LegacyCurveBytes({50}); // stored as stroke 3
    session.Pairs[2] = LegacyStrokeBytes(9) + LegacyCurveBytes({60});      // beyond the strokes
    session.Pairs.push_back(LegacyStrokeBytes(2) + LegacyCurveBytes({70})); // pair 4 > N strokes
    ASSERT_TRUE(Open("a.ses", session.Bytes()));

    ASSERT_EQ(Training.Strokes.size(), 4u);
    EXPECT_EQ(+Training.Strokes[1].Power, 101);
    EXPECT_EQ(+Training.Strokes[2].Power, 0);
    EXPECT_EQ(+Training.Curves[2].Valid, 0);
    EXPECT_EQ(+Training.Strokes[3].Power, 901);
    EXPECT_EQ(+Training.Curves[3].Samples[0], 192); // 192.5, rounded half to even
    EXPECT_EQ(+Training.Curves[3].Number, 3);
    EXPECT_EQ(+Training.Strokes[3].PeakForce, 192);
    EXPECT_EQ(+Training.Strokes[0].EnergyPerStroke, 909); // stroke 3 alone: 2 has no valid curve
    EXPECT_EQ(+Training.Strokes[2].DistancePerStroke, -10700); // 0 m after stroke 1's 107 m

    ASSERT_EQ(Training.Intervals.size(), 3u);
    EXPECT_EQ(+Training.Intervals[0].AveragePower, 21);
    EXPECT_EQ(+Training.Intervals[2].Number, 3);
    EXPECT_EQ(+Training.Intervals[2].AveragePower, 41);
    EXPECT_EQ(+Training.Totals.TotalDistance, 2000);
    EXPECT_EQ(+Training.Totals.TotalEnergy, 96);
    EXPECT_EQ(+Training.Header.OrigFileKind, fkTraining);
    EXPECT_EQ(+Training.Header.OrigFileSize, static_cast<int32_t>(session.Bytes().size()));
}

TEST_F(LegacyFiles, SessionWithoutTotalDistanceTakesTotalsFromItsLastStroke)
{
    TSessionImage session = SessionOf(2, 0);
    session.Totals = LegacyTotalsBytes(0, 99, 99, 99);
    ASSERT_TRUE(Open("a.ses", session.Bytes()));
    EXPECT_TRUE(Training.Intervals.empty());
    EXPECT_EQ(+Training.Totals.TotalDistance, 207);
    EXPECT_EQ(+Training.Totals.TotalTime, 205);
    EXPECT_FLOAT_EQ(+Training.Totals.TotalEnergy, 0.21f);
    EXPECT_EQ(+Training.Totals.AveragePower, 202);
}

TEST_F(LegacyFiles, SessionSizeLimitIsAbove20000Bytes)
{
    const std::string bytes = SessionOf(0, 0).Bytes();
    for (size_t size : {size_t(20000), size_t(20001)}) {
        WriteBytes(Folder.File("a.ses"), bytes.substr(0, size));
        int reports = 0;
        EXPECT_EQ(ReadSessionFile(Folder.File("a.ses"), Training, [&](double) { ++reports; }), size == 20001);
        EXPECT_EQ(reports > 0, size == 20001) << "the reader went on reading";
    }
}

// 190 strokes, so that the 199 pairs reach past the 20000 bytes every session
// file has; every curve sample is 77 N, every interval's numbers start at 21.
class CutSession : public LegacyFiles {
protected:
    CutSession() : Session(SessionOf(Strokes, 3))
    {
        for (uint16_t i = 1; i <= Strokes; ++i)
            Session.Pairs[i - 1] = LegacyStrokeBytes(i, static_cast<uint16_t>(100 * i)) + std::string(80, '\x14');
        Bytes = Session.Bytes();
    }
    static const uint16_t Strokes = 190;
    static const size_t PairsStart = 106 + 64 + Strokes * 32 + 80;
    static const size_t IntervalsStart = PairsStart + 199 * 112;
    static const size_t TotalsStart = IntervalsStart + 4 * 12;

    bool OpenCut(size_t end) { return Open("cut.ses", Bytes.substr(0, end)); }
    void ExpectTotalsOfTheLastStroke()
    {
        const TStroke& last = Training.Strokes[Strokes];
        EXPECT_NE(+last.Distance, 0);
        EXPECT_EQ(+Training.Totals.TotalDistance, +last.Distance);
        EXPECT_EQ(+Training.Totals.TotalTime, +last.Time);
        EXPECT_EQ(+Training.Totals.AveragePower, +last.AveragePower);
    }

    TSessionImage Session;
    std::string Bytes;
};

TEST_F(CutSession, EndingInsideACurveKeepsWhatWasRecorded)
{
    ASSERT_TRUE(OpenCut(PairsStart + 149 * 112 + 32 + 40)); // half of pair 150's curve
    ASSERT_EQ(Training.Strokes.size(), Strokes + 1u);
    EXPECT_EQ(+Training.Strokes[Strokes].Power, 100 * Strokes + 1); // the table is whole
    EXPECT_EQ(+Training.Curves[149].Samples[79], 77);
    EXPECT_EQ(+Training.Curves[150].Number, 150);
    EXPECT_EQ(+Training.Curves[150].Samples[39], 77);
    EXPECT_EQ(+Training.Curves[150].Samples[40], 0); // beyond the end: zero, not an earlier curve
    EXPECT_EQ(+Training.Curves[151].Valid, 0);
    EXPECT_TRUE(Training.Intervals.empty());
    ExpectTotalsOfTheLastStroke();
    EXPECT_TRUE(Messages.Messages.empty());
}

TEST_F(CutSession, IntervalsNeedTheirFirstTwoRecordsWhole)
{
    ASSERT_TRUE(OpenCut(IntervalsStart + 11)); // inside the count record
    EXPECT_TRUE(Training.Intervals.empty());

    ASSERT_TRUE(OpenCut(IntervalsStart + 12 + 11)); // inside the unused record
    ASSERT_EQ(Training.Intervals.size(), 3u);
    EXPECT_EQ(+Training.Intervals[2].AveragePower, 41); // the last one, from the count record
    EXPECT_EQ(+Training.Intervals[0].AveragePower, 0);  // not read

    ASSERT_TRUE(OpenCut(IntervalsStart + 36 + 6)); // inside the second of M - 1
    EXPECT_EQ(+Training.Intervals[0].AveragePower, 21);
    EXPECT_EQ(+Training.Intervals[1].Number, 2);
    EXPECT_EQ(+Training.Intervals[1].AverageStrokeRate, 22);
    EXPECT_EQ(+Training.Intervals[1].TotalTime, 0); // beyond the end
    ExpectTotalsOfTheLastStroke();
}

TEST_F(CutSession, TotalsCountOnlyWhenWhole)
{
    ASSERT_TRUE(OpenCut(TotalsStart + 25));
    ExpectTotalsOfTheLastStroke();
    ASSERT_TRUE(OpenCut(TotalsStart + 26));
    EXPECT_EQ(+Training.Totals.TotalDistance, 2000);
    EXPECT_EQ(+Training.Totals.TotalEnergy, 96);
}

TEST_F(LegacyFiles, HostileSessionCountsReadNothingPastTheFile)
{
    // 65,535 strokes claimed, none stored: the table runs into the pairs and
    // the rest of the file, then off its end, where everything reads as zero.
    TSessionImage session = SessionOf(0, 0);
    session.StrokeCount = 65535;
    int reports = 0;
    WriteBytes(Folder.File("h.ses"), session.Bytes());
    ASSERT_TRUE(ReadSessionFile(Folder.File("h.ses"), Training, [&](double) { ++reports; }));
    ASSERT_EQ(Training.Strokes.size(), 65536u);
    EXPECT_EQ(+Training.Strokes[65535].Power, 0);
    EXPECT_EQ(+Training.Strokes[1000].Distance, 0);
    EXPECT_TRUE(Training.Intervals.empty()); // the file ended in the stroke table
    EXPECT_GT(reports, 0);

    // 65,535 intervals claimed: the last from the count record, the others
    // from the totals and then from beyond the file's end.
    session.StrokeCount = 0;
    session.IntervalCount = 65535;
    ASSERT_TRUE(Open("h.ses", session.Bytes()));
    ASSERT_EQ(Training.Intervals.size(), 65535u);
    EXPECT_EQ(+Training.Intervals[65534].AveragePower, 41);
    EXPECT_EQ(+Training.Intervals[100].AveragePower, 0);
    EXPECT_EQ(Training.Strokes.size(), 1u);
}
