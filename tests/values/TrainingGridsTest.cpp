#include "untTrainingGrids.h"
#include "TestKit.h"
#include "untCharts.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

const TGridKind AllKinds[] = {TGridKind::Strokes, TGridKind::Curves, TGridKind::Intervals, TGridKind::Splits};

class TrainingGridsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitStrokeParameters();
        InitIntervalParameters();
        InitTotalParameters();
        InitSplitParameters();
    }
    TFormatScope Dot{DotFormat()};
};

// The average stroke and curve at [0], then `strokes` strokes and curves
// numbered from 1.
TTraining TrainingWith(size_t strokes)
{
    TTraining training{};
    training.Strokes.resize(strokes + 1);
    training.Curves.resize(strokes + 1);
    for (size_t k = 0; k <= strokes; ++k) {
        training.Strokes[k].Number = static_cast<uint16_t>(k);
        training.Curves[k].Number = static_cast<uint16_t>(k);
    }
    return training;
}

TTraining TrainingWithOneInterval()
{
    TTraining training{};
    training.Intervals.resize(1);
    training.Intervals[0].Number = 1;
    training.Intervals[0].TotalTime = 120;
    training.Intervals[0].TotalDistance = 500;
    return training;
}

std::string OneDecimal(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

} // namespace

TEST_F(TrainingGridsTest, ColumnCountsOfEachGrid)
{
    EXPECT_EQ(GridColumnCount(TGridKind::Strokes), 26);
    EXPECT_EQ(GridColumnCount(TGridKind::Curves), 83);
    EXPECT_EQ(GridColumnCount(TGridKind::Intervals), 22);
    EXPECT_EQ(GridColumnCount(TGridKind::Splits), 21);
}

TEST_F(TrainingGridsTest, CataloguedCaptionsAndTheUnassignedColumn)
{
    const TTraining training{};
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Strokes, 0), "Stroke");
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Strokes, 1), "Power (W)");
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Strokes, 3), "Stroke rate (/min)");
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Strokes, 4), "") << "column id 4 has no entry";
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Strokes, 5), "Time (m:s)");
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Strokes, 25), "Interval power (W)");
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Intervals, 0), "Interval number") << "long name, no unit";
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Intervals, 1), "Power (W)");
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Intervals, 21), "K value");
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Splits, 0), "Strokes cum.") << "short name, no unit";
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Splits, 2), "Distance cum. (m)");
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Splits, 20), "DR ratio");
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Curves, 0), "Used");
}

TEST_F(TrainingGridsTest, CaptionsOutsideTheGridAreEmpty)
{
    const TTraining training{};
    for (TGridKind kind : AllKinds) {
        EXPECT_EQ(GridColumnCaption(training, kind, -1), "");
        EXPECT_EQ(GridColumnCaption(training, kind, GridColumnCount(kind)), "");
        EXPECT_EQ(GridColumnCaption(training, kind, 100000), "");
    }
}

TEST_F(TrainingGridsTest, CurveCaptionsArePositionsBySprocketSpacing)
{
    TTraining training{};
    training.Settings.Sprocket = 1;
    training.Settings.Ergometer = 1;
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Curves, 1), "2.2");
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Curves, 2), "4.4");
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Curves, 5), "11.0");
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Curves, 80), "176.0");
    for (int k = 1; k <= 80; ++k) EXPECT_EQ(GridColumnCaption(training, TGridKind::Curves, k), OneDecimal(k * 2.2)) << k;

    training.Settings.Sprocket = 0;
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Curves, 1), "2.0");
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Curves, 80), "160.0");

    training.Settings.Ergometer = 2;
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Curves, 1), "4.5");
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Curves, 80), "360.0");

    TFormatScope comma(CommaFormat());
    training.Settings.Ergometer = 1;
    training.Settings.Sprocket = 1;
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Curves, 1), "2,2");
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Curves, 80), "176,0");
}

TEST_F(TrainingGridsTest, RowCountsLeaveOutTheAverageStroke)
{
    TTraining training = TrainingWith(3);
    training.Intervals.resize(2);
    EXPECT_EQ(GridRowCount(training, TGridKind::Strokes), 3);
    EXPECT_EQ(GridRowCount(training, TGridKind::Curves), 3);
    EXPECT_EQ(GridRowCount(training, TGridKind::Intervals), 2);
    EXPECT_EQ(GridRowCount(training, TGridKind::Splits), 0) << "splits are never computed";

    training.Curves.resize(1);
    EXPECT_EQ(GridRowCount(training, TGridKind::Curves), 3) << "a curve row per stroke";
    EXPECT_EQ(GridRowCount(TrainingWith(0), TGridKind::Strokes), 0) << "only the average stroke";
}

TEST_F(TrainingGridsTest, EmptyTrainingHasNoRowsAndNoCells)
{
    const TTraining training{};
    for (TGridKind kind : AllKinds) {
        EXPECT_EQ(GridRowCount(training, kind), 0);
        for (int column = 0; column < GridColumnCount(kind); ++column)
            EXPECT_EQ(GridCellText(training, kind, 0, column), "") << column;
    }
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Curves, 1), "2.0") << "captions need no rows";
}

TEST_F(TrainingGridsTest, RowLabelsCountFromOne)
{
    EXPECT_EQ(GridRowLabel(0), "1");
    EXPECT_EQ(GridRowLabel(9), "10");
    EXPECT_EQ(GridRowLabel(9999), "10000") << "wider than its format";
    EXPECT_EQ(GridRowLabel(65534), "65535");
    TFormatScope comma(CommaFormat());
    EXPECT_EQ(GridRowLabel(0), "1");
}

TEST_F(TrainingGridsTest, StrokeCellsAreTrimmedValuesOfTheShownStroke)
{
    TTraining training = TrainingWith(2);
    training.Strokes[0].Power = 999; // the average stroke is not a row
    training.Strokes[1].Power = 347;
    training.Strokes[1].StrokeRate = 33.4f;
    training.Strokes[1].TargetPower = 250;
    training.Strokes[2].Power = 1200;
    EXPECT_EQ(GridCellText(training, TGridKind::Strokes, 0, 0), "1");
    EXPECT_EQ(GridCellText(training, TGridKind::Strokes, 0, 1), "347");
    EXPECT_EQ(GridCellText(training, TGridKind::Strokes, 0, 3), "33.4");
    EXPECT_EQ(GridCellText(training, TGridKind::Strokes, 0, 4), "") << "the unassigned column shows nothing";
    EXPECT_EQ(GridCellText(training, TGridKind::Strokes, 1, 0), "2");
    EXPECT_EQ(GridCellText(training, TGridKind::Strokes, 1, 1), "1200");
    EXPECT_EQ(GridCellText(training, TGridKind::Strokes, 1, 4), "");
    for (int column = 0; column < GridColumnCount(TGridKind::Strokes); ++column) {
        const std::string text = GridCellText(training, TGridKind::Strokes, 1, column);
        if (column == 4) continue;
        ASSERT_FALSE(text.empty()) << column;
        EXPECT_NE(text.front(), ' ') << column;
        EXPECT_NE(text.back(), ' ') << column;
    }

    TFormatScope comma(CommaFormat());
    EXPECT_EQ(GridCellText(training, TGridKind::Strokes, 0, 3), "33,4");
}

TEST_F(TrainingGridsTest, CurveCellsShowUseAndSamples)
{
    TTraining training = TrainingWith(2);
    training.Curves[0].Valid = 1; // the average curve is not a row
    training.Curves[1].Valid = 0;
    training.Curves[2].Valid = 1;
    training.Curves[1].Samples[0] = 0;
    training.Curves[1].Samples[38] = 123;
    training.Curves[1].Samples[79] = 65535;
    training.Curves[2].Samples[0] = 7;
    EXPECT_EQ(GridCellText(training, TGridKind::Curves, 0, 0), "");
    EXPECT_EQ(GridCellText(training, TGridKind::Curves, 1, 0), "+");
    EXPECT_EQ(GridCellText(training, TGridKind::Curves, 0, 1), "0");
    EXPECT_EQ(GridCellText(training, TGridKind::Curves, 0, 39), "123");
    EXPECT_EQ(GridCellText(training, TGridKind::Curves, 0, 80), "65535");
    EXPECT_EQ(GridCellText(training, TGridKind::Curves, 1, 1), "7");
    EXPECT_EQ(GridCellText(training, TGridKind::Curves, 1, 83), "") << "beyond the shape values";
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Curves, 81), "Fullness");
    EXPECT_EQ(GridColumnCaption(training, TGridKind::Curves, 82), "Peak share");
    // Stroke 2's one force of 7 N is a flat drive of one sample.
    EXPECT_EQ(GridCellText(training, TGridKind::Curves, 1, 81), "1.00");
}

TEST_F(TrainingGridsTest, StrokesWithoutAStoredCurveShowNothing)
{
    TTraining training = TrainingWith(3);
    for (TForceCurve& curve : training.Curves) {
        curve.Valid = 1;
        curve.Samples[0] = 42;
    }
    training.Curves.resize(2); // the average curve and the first stroke's
    EXPECT_EQ(GridCellText(training, TGridKind::Curves, 0, 0), "+");
    EXPECT_EQ(GridCellText(training, TGridKind::Curves, 0, 1), "42");
    for (int row = 1; row < 3; ++row)
        for (int column = 0; column < GridColumnCount(TGridKind::Curves); ++column)
            EXPECT_EQ(GridCellText(training, TGridKind::Curves, row, column), "") << row << "/" << column;

    training.Curves.clear();
    EXPECT_EQ(GridCellText(training, TGridKind::Curves, 0, 0), "");
    EXPECT_EQ(GridCellText(training, TGridKind::Curves, 0, 1), "");
}

TEST_F(TrainingGridsTest, IntervalCellsUseTheLocaleSeparator)
{
    const TTraining training = TrainingWithOneInterval();
    EXPECT_EQ(GridCellText(training, TGridKind::Intervals, 0, 0), "1");
    EXPECT_EQ(GridCellText(training, TGridKind::Intervals, 0, 4), "500");
    EXPECT_EQ(GridCellText(training, TGridKind::Intervals, 0, 6), "4.17");
    TFormatScope comma(CommaFormat());
    EXPECT_EQ(GridCellText(training, TGridKind::Intervals, 0, 6), "4,17");
    EXPECT_EQ(GridCellText(training, TGridKind::Intervals, 0, 3), "02:00,0");
}

TEST_F(TrainingGridsTest, CellsOutsideTheGridAreEmpty)
{
    TTraining training = TrainingWith(2);
    training.Intervals = TrainingWithOneInterval().Intervals;
    for (TGridKind kind : AllKinds) {
        const int rows = GridRowCount(training, kind);
        const int columns = GridColumnCount(kind);
        EXPECT_EQ(GridCellText(training, kind, -1, 0), "");
        EXPECT_EQ(GridCellText(training, kind, rows, 0), "");
        EXPECT_EQ(GridCellText(training, kind, 0, -1), "");
        EXPECT_EQ(GridCellText(training, kind, 0, columns), "");
        EXPECT_EQ(GridCellText(training, kind, 100000, 100000), "");
    }
    EXPECT_EQ(GridCellText(training, TGridKind::Strokes, 1, 0), "2") << "the last row is inside";
    EXPECT_EQ(GridCellText(training, TGridKind::Intervals, 0, 21), "0.00") << "the last column is inside";
}
