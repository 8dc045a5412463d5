// Pelm text tables: stroke, force-curve and interval tables, and bad text.
#include "LegacyBuilders.h"
#include "TestKit.h"
#include "untFiles.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

class PelmFiles : public ::testing::Test {
protected:
    bool Open(const std::string& text)
    {
        WriteBytes(Folder.File("row.pel"), text);
        return OpenTrainingFile(Folder.File("row.pel"), Training, true);
    }
    void ExpectFailure(const std::string& text)
    {
        const int beeps = Messages.MessageBeeps;
        EXPECT_FALSE(Open(text));
        EXPECT_EQ(+Messages.MessageBeeps, beeps + 1);
        EXPECT_TRUE(IsEmptyTraining(Training));
        EXPECT_EQ(Messages.Texts().back(), "Error reading file \"" + Folder.File("row.pel") + "\"");
    }

    TMessageRecorder Messages;
    TTempFolder Folder;
    TTraining Training;
};

std::vector<int> Samples(std::initializer_list<int> start) { return std::vector<int>(start); }

} // namespace

TEST_F(PelmFiles, StrokeTableFillsEveryColumnAndTheAverage)
{
    ASSERT_TRUE(Open(PelmStrokeTable({PelmStrokeRow(1, 100), PelmStrokeRow(2, 200), PelmStrokeRow(3, 300)})));
    ASSERT_EQ(Training.Strokes.size(), 4u);
    const TStroke& stroke = Training.Strokes[2];
    EXPECT_EQ(+stroke.Number, 2);
    EXPECT_EQ(+stroke.Power, 201);
    EXPECT_EQ(+stroke.Time, 205);
    EXPECT_EQ(+stroke.Distance, 207);
    EXPECT_EQ(+stroke.WorkPerPulse, 212);
    EXPECT_EQ(+stroke.IntervalNumber, 213);
    EXPECT_EQ(+stroke.IntervalPower, 215);
    EXPECT_EQ(+stroke.DistancePerStroke, 10000); // 207 m after 107 m
    EXPECT_EQ(+Training.Curves[2].Valid, 0);
    EXPECT_EQ(+Training.Header.OrigFileKind, fkStrokeData);
    EXPECT_EQ(+Training.Header.OrigFileFormat, ffPEL);
    EXPECT_EQ(Training.Header.Name.Text(), "row");
    EXPECT_EQ(Training.Header.Title.Text(), "row");
    EXPECT_EQ(+Training.Settings.Weight, 80); // fresh settings
}

TEST_F(PelmFiles, StrokeTableTakesItsTotalsFromItsLastStroke)
{
    ASSERT_TRUE(Open(PelmStrokeTable({PelmStrokeRow(2, 100), PelmStrokeRow(3, 300)})));
    EXPECT_EQ(+Training.Totals.TotalDistance, 307);
    EXPECT_EQ(+Training.Totals.TotalTime, 305);
    EXPECT_FLOAT_EQ(+Training.Totals.TotalEnergy, 0.31f);
    EXPECT_EQ(+Training.Totals.AveragePower, 302);
    // 2, 3, 1: the last row cuts the table to one stroke, whose values count.
    ASSERT_TRUE(Open(PelmStrokeTable({PelmStrokeRow(2, 100), PelmStrokeRow(3, 300), PelmStrokeRow(1, 500)})));
    EXPECT_EQ(+Training.Totals.TotalDistance, 507);

    // Without strokes, and for the other tables, the totals stay zero.
    ASSERT_TRUE(Open(PelmStrokeTable({PelmStrokeRow(0)})));
    EXPECT_EQ(+Training.Totals.TotalDistance, 0);
    ASSERT_TRUE(Open(PelmIntervalTable({{210, 28, 240, 1000, 150}})));
    EXPECT_EQ(+Training.Totals.TotalDistance, 0);
    EXPECT_EQ(+Training.Totals.TotalTime, 0);
}

TEST_F(PelmFiles, SmallerStrokeNumbersCutOffTheStrokesAbove)
{
    // 2, 4, 1, 3: stroke 2 is cut off by 1 and not written again; 4 by 3.
    ASSERT_TRUE(Open(PelmStrokeTable(
        {PelmStrokeRow(2, 100), PelmStrokeRow(4, 200), PelmStrokeRow(1, 300), PelmStrokeRow(3, 400)})));
    ASSERT_EQ(Training.Strokes.size(), 4u);
    EXPECT_EQ(+Training.Strokes[1].Power, 301);
    EXPECT_EQ(+Training.Strokes[2].Power, 0);
    EXPECT_EQ(+Training.Strokes[2].Number, 2);
    EXPECT_EQ(+Training.Strokes[3].Power, 401);

    ASSERT_TRUE(Open(PelmStrokeTable({PelmStrokeRow(3), PelmStrokeRow(0)})));
    EXPECT_EQ(Training.Strokes.size(), 1u);
}

TEST_F(PelmFiles, RowsEndedByCrLfReadAsWithLf)
{
    std::string text = PelmStrokeTable({PelmStrokeRow(1), PelmStrokeRow(2)});
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) text.insert(at, "\r");
    ASSERT_TRUE(Open(text));
    ASSERT_EQ(Training.Strokes.size(), 3u);
    EXPECT_EQ(+Training.Strokes[2].IntervalPower, 215);
}

TEST_F(PelmFiles, CurveTableClearsFoursAndEstimatesTheStroke)
{
    std::vector<int> rising(70);
    for (int k = 0; k < 70; ++k) rising[k] = k < 40 ? 10 * (k + 1) : 400 - 10 * (k - 39);
    ASSERT_TRUE(Open(PelmCurveTable({PelmCurveRow(1, Samples({4, 5})), PelmCurveRow(2, rising),
                                     PelmCurveRow(3, Samples({4}))})));
    ASSERT_EQ(Training.Curves.size(), 4u);
    EXPECT_EQ(+Training.Curves[1].Samples[0], 0);
    EXPECT_EQ(+Training.Curves[1].Samples[1], 5);
    EXPECT_EQ(+Training.Curves[1].Valid, 1);
    EXPECT_EQ(+Training.Curves[3].Valid, 0); // its only force was a 4
    EXPECT_EQ(+Training.Strokes[2].PeakForce, 400);
    EXPECT_FLOAT_EQ(+Training.Strokes[2].PeakForcePosition, 88); // sample 40, 2.2 cm apart
    EXPECT_FLOAT_EQ(+Training.Strokes[2].StrokeLength, 70 * 2.2f); // the last force before the zeros
    EXPECT_EQ(+Training.Curves[0].Samples[39], 400); // the average is stroke 2 alone
    EXPECT_EQ(+Training.Header.OrigFileKind, fkForceCurves);
}

TEST_F(PelmFiles, CurveSamplesAreCappedToWordsWhereverTheyFallInARow)
{
    // Each edge value at every position of a row, so that it falls in every
    // place of the blocks and groups the row is read in.
    for (const int value : {65534, 65535, 65536, 9999999, 4, 0, -1}) {
        const uint16_t expected = value > 65535 ? 65535 : value == 4 || value < 0 ? 0 : static_cast<uint16_t>(value);
        for (int at = 0; at < CurveSamples; at += 7) {
            std::vector<int> samples(CurveSamples, 123);
            samples[at] = value;
            ASSERT_TRUE(Open(PelmCurveTable({PelmCurveRow(1, samples)}))) << value << " at " << at;
            for (int k = 0; k < CurveSamples; ++k)
                ASSERT_EQ(+Training.Curves[1].Samples[k], k == at ? expected : 123) << value << " at " << at;
        }
    }
}

TEST_F(PelmFiles, IntervalTableAddsOneIntervalPerRow)
{
    ASSERT_TRUE(Open(PelmIntervalTable({{210, 28, 240, 1000, 150}, {190, 26, 60, 220, 0}})));
    ASSERT_EQ(Training.Intervals.size(), 2u);
    EXPECT_EQ(+Training.Intervals[0].AveragePower, 210);
    EXPECT_EQ(+Training.Intervals[0].AveragePulse, 150);
    EXPECT_EQ(+Training.Intervals[1].Number, 2);
    EXPECT_EQ(+Training.Intervals[1].TotalDistance, 220);
    EXPECT_EQ(+Training.Header.OrigFileKind, fkIntervals);
}

TEST_F(PelmFiles, BadNumbersFailTheWholeFileWithABeep)
{
    std::string fraction = PelmStrokeRow(2);
    fraction.replace(fraction.find("203"), 3, "12.5");
    ExpectFailure(PelmStrokeTable({PelmStrokeRow(1), fraction}));
    ExpectFailure(PelmStrokeTable({PelmStrokeRow(65536)}));
    ExpectFailure(PelmStrokeTable({PelmStrokeRow(-1)}));
    ExpectFailure(PelmCurveTable({PelmCurveRow(1, Samples({1})), "Number      2\t\tx\n"}));
    std::string overlong = PelmStrokeRow(2);
    overlong.replace(0, 6, " " + std::string(99, '0') + "2"); // too long to be kept whole
    ExpectFailure(PelmStrokeTable({overlong}));

    ASSERT_TRUE(Open(PelmStrokeTable({PelmStrokeRow(65535)})));
    EXPECT_EQ(Training.Strokes.size(), 65536u);
}

TEST_F(PelmFiles, UnknownKindsAreRefused)
{
    EXPECT_FALSE(Open("Name\nrower\nWeight\t80\n"));
    EXPECT_EQ(Messages.Texts().at(0), "Reading user settings file not supported (yet)");
    EXPECT_FALSE(Open("a\nb\nabc\n1\t2\n"));
    EXPECT_FALSE(Open(""));
    EXPECT_TRUE(IsEmptyTraining(Training));
}

// The title and the name before a table are a few hundred bytes: a file
// whose first two lines do not end within its first 4 KiB is no Pelm file.
TEST_F(PelmFiles, TheHeadEndsWithinTheFirstFourKilobytes)
{
    const std::string table = PelmStrokeTable({PelmStrokeRow(1)});
    const std::string longestTitle(4096 - std::string("\nrower\n").size(), 'T');
    ASSERT_TRUE(Open(longestTitle + table.substr(table.find('\n'))));
    EXPECT_EQ(Training.Strokes.size(), 2u);
    EXPECT_FALSE(Open(longestTitle + "T" + table.substr(table.find('\n'))));
    EXPECT_EQ(Messages.Texts().back(), "Error reading file \"" + Folder.File("row.pel") + "\"");
}

// A file of gigabytes without a line end is refused from its first bytes,
// as every other reader refuses it. The file is sparse: it is given its size,
// not written.
TEST_F(PelmFiles, AHugeFileWithoutLineEndsIsRefusedAtOnce)
{
    const std::string path = Folder.File("huge.pel");
    WriteBytes(path, "Stroke data");
    std::filesystem::resize_file(path, 6ull << 30);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(OpenTrainingFile(path, Training, true));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(Messages.Texts().back(), "Error reading file \"" + path + "\"");
    EXPECT_TRUE(IsEmptyTraining(Training));
}

TEST_F(PelmFiles, AlternatingLargeAndSmallNumbersStayFast)
{
    std::vector<std::string> rows;
    for (int i = 0; i < 4000; ++i) rows.push_back(PelmStrokeRow(i % 2 ? 1 : 65535 - i));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Open(PelmStrokeTable(rows)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(Training.Strokes.size(), 2u);
}
