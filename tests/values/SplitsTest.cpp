// Splits: where they end, what they add up to, their averages, and the sizes
// a user can pick or type.
#include "untSplits.h"

#include "DemoTraining.h"
#include "TestKit.h"
#include "untCharts.h"
#include "untTrainingGrids.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class SplitsTest : public ::testing::Test {
protected:
    void SetUp() override { InitSplitParameters(); }
    TFormatScope Dot{DotFormat()};
};

// Strokes 1..N at the given cumulative distances, 2.5 s apart, with power
// 100, 200, 300, ... and 10 J each.
TTraining TrainingAt(const std::vector<float>& distances)
{
    TTraining training{};
    training.Strokes.resize(distances.size() + 1);
    for (size_t k = 1; k <= distances.size(); ++k) {
        TStroke& stroke = training.Strokes[k];
        stroke.Number = static_cast<uint16_t>(k);
        stroke.Distance = distances[k - 1];
        stroke.Time = 2.5f * k;
        stroke.Power = 100.0f * k;
        stroke.EnergySum = 0.01f * k;
    }
    return training;
}

// The strokes each split holds, as "first-last".
std::vector<std::string> Spans(const std::vector<TSplit>& splits)
{
    std::vector<std::string> spans;
    for (const TSplit& split : splits)
        spans.push_back(std::to_string(split.FirstStroke) + "-" + std::to_string(split.LastStroke));
    return spans;
}

using TSpans = std::vector<std::string>;

} // namespace

TEST_F(SplitsTest, ASplitEndsWithTheStrokeThatReachesItsBoundary)
{
    // 500 m reached exactly by stroke 2, and 1000 m only just passed by stroke 4.
    const TTraining training = TrainingAt({250, 500, 750, 1000.5f, 1250});
    const auto splits = ComputeSplits(training, {TSplitKind::Distance, 500});
    EXPECT_EQ(Spans(splits), (TSpans{"1-2", "3-4", "5-5"}));
    EXPECT_FLOAT_EQ(SplitValue(splits[0], spDistance), 500);
    EXPECT_FLOAT_EQ(SplitValue(splits[1], spDistance), 500.5f) << "what the split really holds";
    EXPECT_FLOAT_EQ(SplitValue(splits[2], spDistance), 249.5f) << "the short last split";
    EXPECT_FLOAT_EQ(SplitValue(splits[2], spDistanceCumulative), 1250);
    EXPECT_FLOAT_EQ(SplitValue(splits[2], spStrokesCumulative), 5);
    EXPECT_FLOAT_EQ(SplitValue(splits[1], spStrokes), 2);
}

TEST_F(SplitsTest, AStrokeThatPassesSeveralBoundariesMakesNoEmptySplits)
{
    const auto splits = ComputeSplits(TrainingAt({100, 1600, 1700, 2100}), {TSplitKind::Distance, 500});
    // Stroke 2 passes 500, 1000 and 1500 m; the next boundary is 2000 m.
    EXPECT_EQ(Spans(splits), (TSpans{"1-2", "3-4"}));
}

TEST_F(SplitsTest, DistancesThatDoNotGrowEndInOneSplitWithoutEndlessLoops)
{
    for (const std::vector<float>& distances :
         {std::vector<float>{0, 0, 0, 0}, std::vector<float>{600, 300, 100, 0},
          std::vector<float>{std::nanf(""), std::nanf(""), 10},
          std::vector<float>{std::numeric_limits<float>::infinity(), 5, -std::numeric_limits<float>::infinity()},
          std::vector<float>{1e30f, 1e30f, 1e30f}}) {
        const auto splits = ComputeSplits(TrainingAt(distances), {TSplitKind::Distance, 100});
        ASSERT_FALSE(splits.empty());
        int strokes = 0;
        for (const TSplit& split : splits) {
            EXPECT_LE(split.FirstStroke, split.LastStroke) << "no empty split";
            strokes += split.LastStroke - split.FirstStroke + 1;
        }
        EXPECT_EQ(strokes, static_cast<int>(distances.size())) << "every stroke in one split";
    }
    // Falling after the first boundary: the rest waits for the next one.
    EXPECT_EQ(Spans(ComputeSplits(TrainingAt({600, 300, 100, 0}), {TSplitKind::Distance, 500})),
              (TSpans{"1-1", "2-4"}));
}

TEST_F(SplitsTest, NothingToSplitGivesNoSplits)
{
    EXPECT_TRUE(ComputeSplits(TrainingAt({}), {TSplitKind::Strokes, 10}).empty());
    TTraining noStrokesAtAll{};
    EXPECT_TRUE(ComputeSplits(noStrokesAtAll, {TSplitKind::Strokes, 10}).empty());
    const TTraining training = TrainingAt({10, 20});
    for (double size : {0.0, -5.0, std::nan(""), std::numeric_limits<double>::infinity()})
        EXPECT_TRUE(ComputeSplits(training, {TSplitKind::Distance, size}).empty()) << size;
}

TEST_F(SplitsTest, OneStrokeIsOneSplit)
{
    const auto splits = ComputeSplits(TrainingAt({8.5f}), {TSplitKind::Time, 60});
    ASSERT_EQ(Spans(splits), (TSpans{"1-1"}));
    EXPECT_FLOAT_EQ(SplitValue(splits[0], spTime) * 86400, 2.5f);
    EXPECT_FLOAT_EQ(SplitValue(splits[0], spPower), 100);
}

TEST_F(SplitsTest, SplitsByStrokesAndTimeCountWholeStrokes)
{
    const TTraining training = TrainingAt(std::vector<float>(25, 0));
    EXPECT_EQ(Spans(ComputeSplits(training, {TSplitKind::Strokes, 10})), (TSpans{"1-10", "11-20", "21-25"}));
    // Strokes every 2.5 s: 30 s are reached by stroke 12, 60 s by stroke 24.
    EXPECT_EQ(Spans(ComputeSplits(training, {TSplitKind::Time, 30})), (TSpans{"1-12", "13-24", "25-25"}));
}

TEST_F(SplitsTest, AveragesAreOverTheSplitsStrokesAndPaceOverItsDistanceAndTime)
{
    TTraining training = TrainingAt({50, 100, 300});
    training.Strokes[3].Time = 30; // a long last stroke
    training.Strokes[1].DriveTime = 0.8f;
    training.Strokes[1].DriveRecoverRatio = 2;
    training.Strokes[2].DriveTime = 1.0f;
    training.Strokes[2].DriveRecoverRatio = 1;
    const auto splits = ComputeSplits(training, {TSplitKind::Distance, 100});
    ASSERT_EQ(Spans(splits), (TSpans{"1-2", "3-3"}));
    EXPECT_FLOAT_EQ(SplitValue(splits[0], spPower), 150);
    EXPECT_FLOAT_EQ(SplitValue(splits[0], spRecoverTime), (1.6f + 1.0f) / 2);
    EXPECT_FLOAT_EQ(SplitValue(splits[0], spStrokeTime), (2.4f + 2.0f) / 2);
    // 100 m in 5 s: 25 s per 500 m and 20 m/s; then 200 m in 25 s: 62.5 s.
    EXPECT_NEAR(SplitValue(splits[0], spSplit500) * 86400, 25, 1e-3);
    EXPECT_FLOAT_EQ(SplitValue(splits[0], spSpeedMps), 20);
    EXPECT_NEAR(SplitValue(splits[1], spSplit500) * 86400, 62.5, 1e-3);
    EXPECT_EQ(SplitValueText(splits[1], spSplit500), "01:02.5");
    EXPECT_EQ(SplitValueText(splits[1], spTimeCumulative), "00:30.0");
    EXPECT_FLOAT_EQ(SplitValue(splits[1], spEnergySum), 0.01f);
    EXPECT_EQ(SplitValue(splits[0], SplitEntryCount), 0) << "outside the catalogue";
}

TEST_F(SplitsTest, SplitsOfTheDemoPieceAddUpToItsTotals)
{
    const TTraining training = MakeDemoTraining(400, 2000);
    for (const TSplitSetting setting : {TSplitSetting{TSplitKind::Distance, 500}, TSplitSetting{TSplitKind::Time, 60},
                                        TSplitSetting{TSplitKind::Strokes, 20}}) {
        double distance = 0, time = 0, strokes = 0;
        for (const TSplit& split : ComputeSplits(training, setting)) {
            distance += SplitValue(split, spDistance);
            time += SplitValue(split, spTime) * 86400.0;
            strokes += SplitValue(split, spStrokes);
        }
        EXPECT_NEAR(distance, +training.Totals.TotalDistance, 0.01);
        EXPECT_NEAR(time, +training.Totals.TotalTime, 0.01);
        EXPECT_EQ(strokes, static_cast<double>(training.Strokes.size() - 1));
    }
    EXPECT_EQ(ComputeSplits(training, {TSplitKind::Distance, 500}).size(), 4u);
}

TEST_F(SplitsTest, EveryCellOfTheGridIsItsValuesText)
{
    const auto splits = ComputeSplits(MakeDemoTraining(50), {TSplitKind::Strokes, 20});
    ASSERT_EQ(GridColumnCount(TGridKind::Splits), 21);
    EXPECT_EQ(GridColumnCaption(TTraining{}, TGridKind::Splits, 10), "500m time (m:s)");
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 21; ++column)
            EXPECT_EQ(SplitCellText(splits, row, column), SplitValueText(splits[row], column));
    EXPECT_EQ(SplitCellText(splits, 0, 0), "20");
    EXPECT_EQ(SplitCellText(splits, 3, 0), "") << "no such split";
    EXPECT_EQ(SplitCellText(splits, 0, 21), "") << "no such column";
}

TEST_F(SplitsTest, SizesAreShownWithTheirUnitAndReadBackAsTyped)
{
    EXPECT_EQ(SplitSizeText(TSplitKind::Strokes, 20), "20");
    EXPECT_EQ(SplitSizeText(TSplitKind::Distance, 500), "500 m");
    EXPECT_EQ(SplitSizeText(TSplitKind::Time, 30), "30 s");
    EXPECT_EQ(SplitSizeText(TSplitKind::Time, 120), "2 min");
    EXPECT_EQ(SplitSizeText(TSplitKind::Time, 90), "90 s");
    for (TSplitKind kind : {TSplitKind::Strokes, TSplitKind::Distance, TSplitKind::Time})
        for (double size : UsualSplitSizes(kind)) EXPECT_EQ(ParseSplitSize(kind, SplitSizeText(kind, size)), size);

    EXPECT_EQ(ParseSplitSize(TSplitKind::Distance, " 750 "), 750);
    EXPECT_EQ(ParseSplitSize(TSplitKind::Distance, "750m"), 750);
    EXPECT_EQ(ParseSplitSize(TSplitKind::Distance, "12,5 m"), 12.5);
    EXPECT_EQ(ParseSplitSize(TSplitKind::Time, "1:30"), 90);
    EXPECT_EQ(ParseSplitSize(TSplitKind::Time, "1:30 min"), 90);
    EXPECT_EQ(ParseSplitSize(TSplitKind::Time, "1.5 min"), 90);
    EXPECT_EQ(ParseSplitSize(TSplitKind::Time, "45"), 45);
    EXPECT_EQ(ParseSplitSize(TSplitKind::Strokes, "0"), 0) << "a size that splits nothing";
    for (const char* refused : {"", "m", "-5", "abc", "5 km", "1:75", "inf", "nan", "1e999", "10 strokes"})
        EXPECT_EQ(ParseSplitSize(TSplitKind::Distance, refused), std::nullopt) << refused;
    EXPECT_EQ(ParseSplitSize(TSplitKind::Strokes, "10 m"), std::nullopt);
}
