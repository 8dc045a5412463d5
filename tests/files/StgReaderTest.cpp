#include "StgBuilder.h"
#include "TestKit.h"
#include "untFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class StgReader : public ::testing::Test {
protected:
    // Reads bytes as the dispatcher does: through a zeroed record.
    bool Read(const std::string& bytes, const std::string& name = "t.stg")
    {
        Path = Temp.File(name);
        WriteBytes(Path, bytes);
        return OpenTrainingFile(Path, Training, false);
    }

    static TTraining SampleTraining(int strokes, int intervals)
    {
        TTraining training;
        NewHeader(training.Header);
        NewSettings(training.Settings);
        training.Header.Title.Assign("Sample");
        SetStrokeCount(training, strokes);
        for (int i = 1; i <= strokes; ++i) {
            training.Strokes[i] = MakeStroke(static_cast<uint16_t>(i), static_cast<float>(i) * 2.5f);
            training.Curves[i] = MakeCurve(static_cast<uint16_t>(i), 400 + i);
        }
        SetIntervalCount(training, intervals);
        for (int i = 0; i < intervals; ++i) training.Intervals[i].AveragePower = static_cast<uint16_t>(100 + i);
        training.ExtraEntries.assign(3, TExtraEntry{});
        training.ExtraEntries[2] = {7, 9};
        training.Totals = {2000.0f, 420.5f, 98.25f, 230.0f};
        return training;
    }

    TTempFolder Temp;
    std::string Path;
    TTraining Training;
    TMessageRecorder Recorder;
};

bool SameBytes(const void* a, const void* b, size_t size) { return std::memcmp(a, b, size) == 0; }

} // namespace

TEST_F(StgReader, WrittenTrainingReadsBackUnchanged)
{
    const TTraining original = SampleTraining(12, 3);
    ASSERT_TRUE(Read(*TrainingFileBytes(original)));
    EXPECT_EQ(std::string(Training.Magic, 4), "MIL ");
    EXPECT_EQ(Training.Version, CurrentVersion());
    EXPECT_EQ(Training.Header.Title.Text(), "Sample");
    EXPECT_EQ(Training.Header.FileName.Text(), Path);
    EXPECT_TRUE(SameBytes(&Training.Settings, &original.Settings, sizeof(TUserSettings)));
    ASSERT_EQ(Training.Strokes.size(), 13u);
    ASSERT_EQ(Training.Curves.size(), 13u);
    for (int i = 1; i <= 12; ++i) {
        EXPECT_TRUE(SameBytes(&Training.Strokes[i], &original.Strokes[i], sizeof(TStroke))) << i;
        EXPECT_TRUE(SameBytes(&Training.Curves[i], &original.Curves[i], sizeof(TForceCurve))) << i;
    }
    ASSERT_EQ(Training.Intervals.size(), 3u);
    EXPECT_EQ(+Training.Intervals[2].AveragePower, 102);
    ASSERT_EQ(Training.ExtraEntries.size(), 3u);
    EXPECT_EQ(+Training.ExtraEntries[2].Value, 9);
    EXPECT_EQ(+Training.Totals.TotalTime, 420.5f);
    // The average stroke is computed after loading.
    EXPECT_EQ(+Training.Strokes[0].EnergyPerStroke, 400.0f);
    EXPECT_GT(+Training.Curves[0].Samples[29], 0);
    EXPECT_TRUE(Recorder.Messages.empty());
}

TEST_F(StgReader, SignatureAndVersion)
{
    EXPECT_FALSE(Read(TStgBuilder(0).Bytes));
    EXPECT_FALSE(Read(TStgBuilder(1, "MIL!").Bytes));
    EXPECT_FALSE(Read(std::string("MIL")));
    EXPECT_FALSE(Read(std::string("MIL \x01\x00")));
    ASSERT_TRUE(Read(TStgBuilder(1).Bytes));
    EXPECT_TRUE(IsEmptyTraining(Training));
    EXPECT_EQ(Training.Version, 1u);
    EXPECT_EQ(Training.Strokes.size(), 1u);
}

TEST_F(StgReader, StrokesArePlacedByTheirOwnNumbers)
{
    TStgBuilder file;
    file.Block(3, 84, 3).Record(MakeStroke(3)).Record(MakeStroke(1)).Record(MakeStroke(7));
    ASSERT_TRUE(Read(file.Bytes));
    ASSERT_EQ(Training.Strokes.size(), 4u);
    EXPECT_EQ(+Training.Strokes[3].Power, +MakeStroke(3).Power);
    EXPECT_EQ(+Training.Strokes[1].Power, +MakeStroke(1).Power);
    EXPECT_EQ(+Training.Strokes[2].Number, 2);
    EXPECT_EQ(+Training.Strokes[2].Power, 0);
}

TEST_F(StgReader, CurvesArePlacedByPosition)
{
    TStgBuilder file;
    file.Block(4, 163, 2).Record(MakeCurve(9, 300)).Record(MakeCurve(5, 500));
    ASSERT_TRUE(Read(file.Bytes));
    ASSERT_EQ(Training.Curves.size(), 3u);
    EXPECT_EQ(+Training.Curves[1].Number, 9);
    EXPECT_EQ(+Training.Curves[2].Samples[29], 500);
}

TEST_F(StgReader, ShortAndLongRecordsFollowTheRecordSizeRule)
{
    THeader header{};
    header.Title.Assign("short header");
    header.Color = 0x123456; // beyond the first 100 bytes: dropped
    TStroke stroke = MakeStroke(1);
    TStgBuilder file;
    file.Block(1, 100, 0).Record(header, 100);
    file.Block(3, 90, 1).Record(stroke, 90); // six extra bytes ignored
    file.Block(4, 50, 1).Record(MakeCurve(1), 50);
    ASSERT_TRUE(Read(file.Bytes));
    EXPECT_EQ(Training.Header.FileName.Text(), Path);
    EXPECT_EQ(Training.Header.Title.Length, 0); // Title starts at byte 270
    EXPECT_EQ(+Training.Header.Color, 0u);
    EXPECT_TRUE(SameBytes(&Training.Strokes[1], &stroke, sizeof stroke));
    EXPECT_EQ(+Training.Curves[1].Samples[10], +MakeCurve(1).Samples[10]);
    EXPECT_EQ(+Training.Curves[1].Samples[30], 0); // past the 50 bytes read
}

TEST_F(StgReader, UnknownBlocksAreSkipped)
{
    TStgBuilder file;
    file.Block(9, 10, 2).Raw("0123456789abcdefghij", 20);
    file.Block(6, 16, 1).Record(TTotals{1, 2, 3, 4});
    file.Block(200, 0, 65535);
    ASSERT_TRUE(Read(file.Bytes));
    EXPECT_EQ(+Training.Totals.AveragePower, 4.0f);
}

TEST_F(StgReader, LaterBlocksResizeAndOverwrite)
{
    TStgBuilder file;
    file.Block(3, 84, 5);
    for (uint16_t i = 1; i <= 5; ++i) file.Record(MakeStroke(i));
    file.Block(4, 163, 2).Record(MakeCurve(1)).Record(MakeCurve(2));
    file.Block(6, 16, 1).Record(TTotals{1, 1, 1, 1});
    file.Block(6, 16, 1).Record(TTotals{2, 2, 2, 2});
    ASSERT_TRUE(Read(file.Bytes));
    EXPECT_EQ(Training.Strokes.size(), 3u);
    EXPECT_EQ(Training.Curves.size(), 3u);
    EXPECT_EQ(+Training.Totals.TotalDistance, 2.0f);
}

TEST_F(StgReader, EndOfFileInsideABlockAtARecordBoundaryKeepsWhatIsThere)
{
    TStgBuilder file;
    file.Block(3, 84, 10).Record(MakeStroke(1)).Record(MakeStroke(2));
    ASSERT_TRUE(Read(file.Bytes));
    EXPECT_EQ(Training.Strokes.size(), 11u);
    EXPECT_EQ(+Training.Strokes[2].Power, +MakeStroke(2).Power);
    EXPECT_EQ(+Training.Strokes[3].Power, 0);
    EXPECT_TRUE(Recorder.Beeps.empty());
}

TEST_F(StgReader, EndOfFileInsideARecordRejectsTheFile)
{
    TStgBuilder strokes;
    strokes.Block(3, 84, 2).Record(MakeStroke(1)).Record(MakeStroke(2), 40);
    EXPECT_FALSE(Read(strokes.Bytes));
    EXPECT_EQ(Recorder.Beeps, (std::vector<std::pair<int, int>>{{2500, 100}}));
    EXPECT_TRUE(IsEmptyTraining(Training));
    EXPECT_EQ(Training.Strokes.size(), 1u);

    TStgBuilder curves;
    curves.Block(4, 163, 2).Record(MakeCurve(1)).Record(MakeCurve(2), 100);
    EXPECT_FALSE(Read(curves.Bytes));
    EXPECT_EQ(Recorder.Beeps.size(), 1u); // only a short stroke beeps
}

TEST_F(StgReader, EveryTruncationOfAValidFileIsReadOrRejectedCleanly)
{
    const std::string bytes = *TrainingFileBytes(SampleTraining(3, 2));
    for (size_t length = 0; length < bytes.size(); ++length) {
        const bool ok = Read(bytes.substr(0, length));
        ASSERT_EQ(Training.Strokes.size(), Training.Curves.size()) << length;
        if (!ok) {
            EXPECT_TRUE(IsEmptyTraining(Training)) << length;
            EXPECT_EQ(Training.Header.FileName.Length, 0) << length;
        }
    }
    // Cut exactly after the stroke block's second record: accepted.
    const size_t afterHeaderAndSettings = 8 + 7 + sizeof(THeader) + 7 + sizeof(TUserSettings);
    EXPECT_TRUE(Read(bytes.substr(0, afterHeaderAndSettings + 7 + 2 * sizeof(TStroke))));
    EXPECT_EQ(Training.Strokes.size(), 4u);
    // Cut inside a block header: rejected.
    EXPECT_FALSE(Read(bytes.substr(0, afterHeaderAndSettings + 3)));
    // Cut inside the header record: rejected.
    EXPECT_FALSE(Read(bytes.substr(0, 8 + 7 + 1000)));
}

TEST_F(StgReader, TagZeroRejects)
{
    TStgBuilder file;
    file.Block(6, 16, 1).Record(TTotals{1, 2, 3, 4}).Block(0, 0, 0);
    EXPECT_FALSE(Read(file.Bytes));
    EXPECT_EQ(+Training.Totals.AveragePower, 0);
}

TEST_F(StgReader, ImplausibleCountsRejectTheFile)
{
    for (const uint8_t tag : {3, 4, 5, 7, 9}) {
        for (const int32_t count : {-1, -2, 65536, INT32_MAX, INT32_MIN}) {
            TStgBuilder file;
            file.Block(tag, 3, count).Raw("abcdef", 6);
            EXPECT_FALSE(Read(file.Bytes)) << int(tag) << " " << count;
            EXPECT_TRUE(IsEmptyTraining(Training));
        }
    }
    // The largest valid count loads as a truncated block.
    TStgBuilder largest;
    largest.Block(3, 84, 65535).Record(MakeStroke(1));
    ASSERT_TRUE(Read(largest.Bytes));
    EXPECT_EQ(Training.Strokes.size(), 65536u);
}

TEST_F(StgReader, RecordsWithoutBytesCannotBeRepeatedForever)
{
    // Seven bytes a block that would each fill 65,535 records: damaged.
    for (const uint8_t tag : {3, 4, 5, 7}) {
        TStgBuilder file;
        for (int i = 0; i < 1000; ++i) file.Block(tag, 0, 65535);
        EXPECT_FALSE(Read(file.Bytes)) << int(tag);
    }
    TStgBuilder empty;
    empty.Block(3, 0, 0).Block(5, 0, 0);
    EXPECT_TRUE(Read(empty.Bytes));
}

TEST_F(StgReader, ExtraEntriesKeepElementZeroUnused)
{
    TStgBuilder file;
    file.Block(7, 3, 2).Raw("\x01\x00\x05\x02\x00\x06", 6);
    ASSERT_TRUE(Read(file.Bytes));
    ASSERT_EQ(Training.ExtraEntries.size(), 3u);
    EXPECT_EQ(+Training.ExtraEntries[1].Value, 5);
    EXPECT_EQ(+Training.ExtraEntries[2].Number, 2);
}

TEST_F(StgReader, InputOutputFailuresAreReported)
{
    TTempFolder temp;
    const std::string folderNamedLikeAFile = temp.File("dir.stg");
    ForceFolder(folderNamedLikeAFile + "/");
    EXPECT_FALSE(ReadTrainingFile(folderNamedLikeAFile, Training));
    ASSERT_EQ(Recorder.Messages.size(), 1u);
    EXPECT_EQ(Recorder.Messages[0].Text.rfind("Error reading/writing file \"" + folderNamedLikeAFile + "\".\rError message : ", 0), 0u);
    EXPECT_NE(Recorder.Messages[0].Text.find("(5)"), std::string::npos);

    EXPECT_FALSE(ReadTrainingFile(temp.File("missing.stg"), Training));
    EXPECT_NE(Recorder.Messages.back().Text.find("(2) \rThe system cannot find the file specified."), std::string::npos);
}

TEST_F(StgReader, TooManyStrokesCannotBeWritten)
{
    TTraining training;
    SetStrokeCount(training, 65536);
    EXPECT_FALSE(TrainingFileBytes(training).has_value());
    SetStrokeCount(training, 65535);
    EXPECT_TRUE(TrainingFileBytes(training).has_value());
}
