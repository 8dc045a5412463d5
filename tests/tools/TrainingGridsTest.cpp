#include "TrainingGrids.h"
#include "TestKit.h"
#include "untCharts.h"

#include <gtest/gtest.h>

TEST(CsvText, QuotesCellsThatNeedIt)
{
    const TTextGrid grid{{"#", "Speed (m/s)", "say \"hi\""}, {"1", "4,17", "two\nlines"}};
    EXPECT_EQ(CsvText(grid), "#,Speed (m/s),\"say \"\"hi\"\"\"\r\n1,\"4,17\",\"two\nlines\"\r\n");
    EXPECT_EQ(CsvText({}), "");
}

TEST(TrainingGrids, CellsAreTrimmedAndUseTheLocaleSeparator)
{
    TFormatScope comma(CommaFormat());
    TTraining training{};
    training.Intervals.resize(1);
    training.Intervals[0].Number = 1;
    training.Intervals[0].TotalTime = 120;
    training.Intervals[0].TotalDistance = 500;
    const TTextGrid grid = IntervalsGrid(training);
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(grid[1][0], "1");
    EXPECT_EQ(grid[1][1], "1");
    EXPECT_EQ(grid[1][7], "4,17");
    EXPECT_EQ(grid[1][4], "02:00,0");
}

TEST(TrainingGrids, EmptyTrainingHasOnlyHeaders)
{
    const TTraining training{};
    EXPECT_EQ(StrokeDataGrid(training).size(), 1u);
    EXPECT_EQ(ForceCurveGrid(training).size(), 1u);
    EXPECT_EQ(ForceCurveGrid(training)[0][2], "2.0");
    EXPECT_EQ(IntervalsGrid(training).size(), 1u);
}
