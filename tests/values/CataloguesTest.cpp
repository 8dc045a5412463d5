#include "untCharts.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

namespace {

class CataloguesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitStrokeParameters();
        InitIntervalParameters();
        InitTotalParameters();
        InitSplitParameters();
    }
};

TEST_F(CataloguesTest, StrokeColumnsSkipTargetAndTheSessionValues)
{
    ASSERT_EQ(StrokeParameters.size(), 42u);
    ASSERT_EQ(StrokeColumns.size(), 26u);
    for (int id = 0; id < 26; ++id) {
        if (id == 4) continue;
        EXPECT_EQ(StrokeColumns[static_cast<size_t>(id)], id);
        EXPECT_EQ(StrokeParameters[static_cast<size_t>(id)].Column, id);
    }
    EXPECT_EQ(StrokeColumns[4], 0) << "slot 4 stays, filled by no entry";
    EXPECT_EQ(StrokeParameters[4].Column, -1);
    for (size_t i = 26; i < 42; ++i) EXPECT_EQ(StrokeParameters[i].Column, -1) << i;
}

TEST_F(CataloguesTest, OtherColumnMaps)
{
    ASSERT_EQ(IntervalParameters.size(), 22u);
    ASSERT_EQ(SplitParameters.size(), 21u);
    ASSERT_EQ(TotalParameters.size(), 7u);
    for (int id = 0; id < 22; ++id) EXPECT_EQ(IntervalColumns.at(static_cast<size_t>(id)), id);
    for (int id = 0; id < 21; ++id) EXPECT_EQ(SplitColumns.at(static_cast<size_t>(id)), id);
    EXPECT_EQ(TotalColumns, (TColumnMap{0, 1, 2, 4, 3, 5, 6}));
    EXPECT_EQ(TotalParameters[3].Column, 4);
    EXPECT_EQ(TotalParameters[4].Column, 3);
}

TEST_F(CataloguesTest, TextsQuotedExactly)
{
    EXPECT_EQ(IntervalParameters[2].LongName, "Average strokerate");
    EXPECT_EQ(TotalParameters[6].LongName, "Average strokerate");
    EXPECT_EQ(TotalParameters[6].ShortName, "Avg. Stroke rate");
    EXPECT_EQ(StrokeUnit(36), "M/h");
    EXPECT_EQ(StrokeUnit(40), "M/h");
    EXPECT_EQ(StrokeParameters[16].LongName, "Peak force position relative to stroke length");
    EXPECT_EQ(SplitParameters[20].LongName, "Average drive : Recover ratio");
    EXPECT_EQ(StrokeFormat(9), "Tnn:ss.0");
    EXPECT_EQ(IntervalFormat(3), "Th:nn:ss.0");
    EXPECT_EQ(TotalFormat(1), "Th:nn:ss.0");
}

TEST_F(CataloguesTest, RangesAndStepsInSinglePrecision)
{
    const ParameterType& split500 = StrokeParameters[9];
    EXPECT_EQ(split500.ScaleMode, 3);
    EXPECT_TRUE(split500.Flag);
    EXPECT_EQ(split500.Minimum, static_cast<float>(120 / 86400.0));
    EXPECT_EQ(split500.Maximum, static_cast<float>(240 / 86400.0));
    EXPECT_EQ(split500.Step, (split500.Maximum - split500.Minimum) / 10.0f);
    EXPECT_EQ(IntervalParameters[3].Maximum, static_cast<float>(6000 / 86400.0));
    EXPECT_EQ(StrokeParameters[20].Step, 0.05f);
    EXPECT_EQ(StrokeParameters[1].Step, 10.0f);
    EXPECT_EQ(StrokeParameters[6].Step, 5.0f);
    EXPECT_FALSE(StrokeParameters[0].Flag);
    EXPECT_EQ(StrokeParameters[16].ScaleMode, 2);
}

// Everything but the grid column: the texts, the display range and its mode,
// the step and the flag.
void ExpectSameDescription(const ParameterType& a, const ParameterType& b, const std::string& what)
{
    EXPECT_EQ(a.ShortName, b.ShortName) << what;
    EXPECT_EQ(a.LongName, b.LongName) << what;
    EXPECT_EQ(a.Unit, b.Unit) << what;
    EXPECT_EQ(a.Format, b.Format) << what;
    EXPECT_EQ(a.ScaleMode, b.ScaleMode) << what;
    EXPECT_EQ(a.Minimum, b.Minimum) << what;
    EXPECT_EQ(a.Maximum, b.Maximum) << what;
    EXPECT_EQ(a.Step, b.Step) << what;
    EXPECT_EQ(a.Flag, b.Flag) << what;
}

TEST_F(CataloguesTest, IntervalAveragesAreDescribedAsTheirStrokeValues)
{
    const std::pair<int, int> shared[] = {
        {9, 9},   {10, 10}, {12, 13}, {13, 8},  {14, 14}, {15, 15},
        {16, 16}, {17, 17}, {18, 18}, {19, 19}, {20, 20}, {21, 22}};
    for (const auto& [interval, stroke] : shared) {
        const ParameterType& entry = IntervalParameters[static_cast<size_t>(interval)];
        ExpectSameDescription(entry, StrokeParameters[static_cast<size_t>(stroke)],
                              "interval " + std::to_string(interval) + ", stroke " + std::to_string(stroke));
        EXPECT_EQ(entry.Column, interval) << "an interval entry keeps its own column";
    }
    EXPECT_EQ(IntervalParameters[12].LongName, "Work per pulse");
    EXPECT_EQ(IntervalParameters[21].Format, "%1.2f");
    EXPECT_EQ(IntervalParameters[9].Minimum, static_cast<float>(120 / 86400.0));
}

TEST_F(CataloguesTest, IntervalStrokeLengthAndEnergySumDifferFromTheStrokeEntries)
{
    const ParameterType& length = IntervalParameters[8];
    EXPECT_EQ(length.ShortName, StrokeParameters[6].ShortName);
    EXPECT_EQ(length.Maximum, 125.0f);
    EXPECT_EQ(StrokeParameters[6].Maximum, 150.0f);
    EXPECT_EQ(length.Step, 2.5f);

    const ParameterType& energy = IntervalParameters[11];
    EXPECT_EQ(energy.LongName, StrokeParameters[11].LongName);
    EXPECT_TRUE(energy.Flag);
    EXPECT_FALSE(StrokeParameters[11].Flag);
}

TEST_F(CataloguesTest, EntryNamesPickTheirEntries)
{
    const std::pair<int, const char*> strokes[] = {
        {seNumber, "Stroke"},           {seTarget, "Target"},         {seSplit500, "Est. 500m time"},
        {seDriveRecoverRatio, "DR ratio"}, {seKValue, "K"},           {seIntervalPower, "Interval power"},
        {seTimeElapsed, "Time elapsed"}, {seSpeedMph, "Speed MpHr"}, {seAverageStrokeRate, "Avg. stroke rate"}};
    for (const auto& [entry, name] : strokes) EXPECT_EQ(StrokeShortName(entry), name) << entry;
    const std::pair<int, const char*> intervals[] = {
        {ieNumber, "Number"}, {ieSpeed, "Speed"}, {ieDistancePerStroke, "Distance / stroke"}, {ieKValue, "K"}};
    for (const auto& [entry, name] : intervals) EXPECT_EQ(IntervalShortName(entry), name) << entry;
    const std::pair<int, const char*> totals[] = {
        {teDistance, "Distance"}, {teAveragePower, "Avg. power"}, {teStrokes, "Strokes"},
        {teAverageStrokeRate, "Avg. Stroke rate"}};
    for (const auto& [entry, name] : totals)
        EXPECT_EQ(TotalParameters[static_cast<size_t>(entry)].ShortName, name) << entry;
}

TEST_F(CataloguesTest, InitRebuildsChangedEntries)
{
    StrokeParameters[1].Maximum = 999;
    StrokeColumns.clear();
    InitStrokeParameters();
    EXPECT_EQ(StrokeParameters[1].Maximum, 100.0f);
    EXPECT_EQ(StrokeColumns.size(), 26u);
}

TEST_F(CataloguesTest, StrokeInitKeepsDataRangeWithinFiveAndTheMostStrokes)
{
    const std::pair<int, int> ranges[] = {{3, 5}, {-1, 5}, {5, 5}, {65535, 65535}, {65536, 65535}, {INT_MAX, 65535}};
    for (const auto& [stored, kept] : ranges) {
        DataRange = stored;
        InitStrokeParameters();
        EXPECT_EQ(DataRange, kept) << stored;
    }
    DataRange = 65535;
}

TEST_F(CataloguesTest, Captions)
{
    EXPECT_EQ(IntervalCaption(0), "Interval number");
    EXPECT_EQ(StrokeCaption(23), "Interval number");
    EXPECT_EQ(IntervalCaption(1), "Power (W)");
    EXPECT_EQ(IntervalCaption(7), "Number of strokes");
    EXPECT_EQ(IntervalCaption(20), "Drive : Recover ratio");
    EXPECT_EQ(IntervalCaption(21), "K value");
    EXPECT_EQ(StrokeCaption(0), "Stroke");
    EXPECT_EQ(StrokeCaption(20), "DR ratio");
    EXPECT_EQ(StrokeCaption(5), "Time (m:s)");
    EXPECT_EQ(SplitCaption(0), "Strokes cum.");
    EXPECT_EQ(SplitCaption(13), "Energy sum cum. (kJ)");
}

TEST_F(CataloguesTest, IndexOutsideACatalogueGivesEmptyTexts)
{
    using TAccessor = std::string (*)(int);
    const std::pair<TAccessor, int> accessors[] = {
        {StrokeUnit, 42}, {StrokeShortName, 42}, {StrokeFormat, 42}, {StrokeCaption, 42},
        {IntervalUnit, 22}, {IntervalShortName, 22}, {IntervalLongName, 22}, {IntervalFormat, 22},
        {IntervalCaption, 22}, {TotalUnit, 7}, {TotalFormat, 7}, {SplitUnit, 21},
        {SplitShortName, 21}, {SplitCaption, 21}};
    for (const auto& [accessor, count] : accessors) {
        EXPECT_EQ(accessor(-1), "");
        EXPECT_EQ(accessor(count), "");
    }
    EXPECT_EQ(StrokeShortName(41), "Avg. stroke rate");
    EXPECT_EQ(IntervalLongName(21), "K value");
    EXPECT_EQ(TotalFormat(6), "%2.1f");
    EXPECT_EQ(SplitShortName(20), "DR ratio");
}

} // namespace
