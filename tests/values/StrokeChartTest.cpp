#include "untStrokeChart.h"
#include "TestKit.h"
#include "untCharts.h"
#include "untFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace {

// Strokes of 2.5 s and 10 m each, power from the generator.
template <typename Power>
TTraining Piece(int strokes, Power power)
{
    TTraining training{};
    SetStrokeCount(training, strokes);
    for (int i = 1; i <= strokes; ++i) {
        training.Strokes[i].Number = static_cast<uint16_t>(i);
        training.Strokes[i].Time = static_cast<float>(i * 2.5); // seconds, as the record holds them
        training.Strokes[i].Distance = static_cast<float>(i * 10);
        training.Strokes[i].Power = static_cast<float>(power(i));
    }
    return training;
}

class StrokeChartTest : public ::testing::Test {
protected:
    void SetUp() override { InitStrokeParameters(); }
};

// The points of line whose x lies in left..right.
TStrokePoints Inside(const TStrokePoints& line, double left, double right)
{
    TStrokePoints inside;
    for (const TStrokePoint& point : line)
        if (point.X >= left && point.X <= right) inside.push_back(point);
    return inside;
}

// For each pixel column the reduced line must hold the full line's lowest and
// highest value and its first and last stroke, and nothing the line does not hold.
void ExpectSameColumns(const TStrokePoints& full, const TStrokePoints& reduced, double left, double right, int columns)
{
    const double width = (right - left) / columns;
    const auto column = [&](double x) { return std::min(static_cast<int>((x - left) / width), columns - 1); };
    struct TColumn {
        double Low = std::numeric_limits<double>::infinity(), High = -std::numeric_limits<double>::infinity();
        int First = -1, Last = -1;
    };
    std::vector<TColumn> want(columns), got(columns);
    const auto add = [&](std::vector<TColumn>& into, const TStrokePoint& point) {
        TColumn& c = into[column(point.X)];
        c.Low = std::min(c.Low, point.Y);
        c.High = std::max(c.High, point.Y);
        if (c.First < 0) c.First = point.Stroke;
        c.Last = point.Stroke;
    };
    for (const TStrokePoint& point : Inside(full, left, right)) add(want, point);
    for (const TStrokePoint& point : Inside(reduced, left, right)) add(got, point);
    for (int c = 0; c < columns; ++c) {
        EXPECT_EQ(got[c].Low, want[c].Low) << "column " << c;
        EXPECT_EQ(got[c].High, want[c].High) << "column " << c;
        EXPECT_EQ(got[c].First, want[c].First) << "column " << c;
        EXPECT_EQ(got[c].Last, want[c].Last) << "column " << c;
    }
    for (size_t i = 1; i < reduced.size(); ++i) EXPECT_LT(reduced[i - 1].Stroke, reduced[i].Stroke) << "in order";
}

TEST_F(StrokeChartTest, ReductionKeepsEveryColumnsPeaksAtEveryZoom)
{
    std::mt19937 random(29);
    std::uniform_real_distribution<double> noise(100, 400);
    TTraining training = Piece(65535, [&](int) { return noise(random); });
    training.Strokes[31000].Power = 2000; // one spike among many in its column
    training.Strokes[31001].Power = 1;
    const TStrokePoints full = StrokeLine(training, sePower, saStroke, 1);
    ASSERT_EQ(full.size(), 65535u);

    const struct { double Left, Right; int Columns; } views[] = {
        {1, 65535, 1500}, {30000, 32000, 1500}, {30990, 31010, 1500}, {1, 65535, 7}, {-500, 70000, 333}};
    for (const auto& view : views) {
        SCOPED_TRACE(view.Left);
        const TStrokePoints reduced = ReduceLine(full, view.Left, view.Right, view.Columns);
        EXPECT_LE(reduced.size(), static_cast<size_t>(view.Columns) * 4 + 2);
        ExpectSameColumns(full, reduced, view.Left, view.Right, view.Columns);
        if (view.Left <= 31000 && view.Right >= 31001) {
            const auto peak = std::max_element(reduced.begin(), reduced.end(),
                                               [](const TStrokePoint& a, const TStrokePoint& b) { return a.Y < b.Y; });
            EXPECT_EQ(peak->Stroke, 31000);
        }
    }
}

TEST_F(StrokeChartTest, ReductionReachesBeyondTheEdgesAndLeavesShortLinesWhole)
{
    const TStrokePoints full = StrokeLine(Piece(5000, [](int i) { return i % 7; }), sePower, saStroke, 1);
    const TStrokePoints reduced = ReduceLine(full, 1000.5, 2000.5, 100);
    ASSERT_FALSE(reduced.empty());
    EXPECT_EQ(reduced.front().Stroke, 1000) << "the point before the left edge";
    EXPECT_EQ(reduced.back().Stroke, 2001) << "the point after the right edge";

    const TStrokePoints few = StrokeLine(Piece(40, [](int i) { return i; }), sePower, saStroke, 1);
    EXPECT_EQ(ReduceLine(few, 1, 40, 10).size(), few.size());
    EXPECT_EQ(ReduceLine(full, 1, 5000, 0).size(), full.size()) << "no width: the whole line";
    EXPECT_EQ(ReduceLine(full, 10, 10, 100).size(), full.size()) << "no span: the whole line";
}

TEST_F(StrokeChartTest, AFallingTimeOrDistanceNeverRunsTheLineBackwards)
{
    TTraining training = Piece(6, [](int i) { return 100 + i; });
    training.Strokes[3].Time = 0;                          // the clock restarted
    training.Strokes[4].Distance = -5;                     // a damaged field
    training.Strokes[5].Time = std::numeric_limits<float>::quiet_NaN();
    training.Strokes[2].Distance = std::numeric_limits<float>::infinity();

    for (TStrokeAxis axis : {saTime, saDistance}) {
        const TStrokePoints line = StrokeLine(training, sePower, axis, 1);
        ASSERT_EQ(line.size(), 6u);
        for (size_t i = 1; i < line.size(); ++i) EXPECT_GE(line[i].X, line[i - 1].X) << axis << " at " << i;
        for (const TStrokePoint& point : line) EXPECT_TRUE(std::isfinite(point.X));
        // The cursor still finds every stroke that has an x of its own.
        EXPECT_EQ(line[NearestPoint(line, line.back().X)].Stroke, 6);
    }
    const TStrokePoints time = StrokeLine(training, sePower, saTime, 1);
    EXPECT_DOUBLE_EQ(time[2].X, time[1].X) << "stroke 3 stays at stroke 2's time";
    EXPECT_NEAR(time[5].X, 15.0, 1e-3) << "the time carries on where it is sound again";
    const TStrokePoints distance = StrokeLine(training, sePower, saDistance, 1);
    EXPECT_EQ(distance[1].X, 10) << "an infinite distance keeps the one before";
}

TEST_F(StrokeChartTest, NoStrokesOneStrokeAndValuesThatAreNotNumbers)
{
    TTraining empty{};
    EXPECT_TRUE(StrokeLine(empty, sePower, saStroke, 5).empty());
    SetStrokeCount(empty, 0);
    EXPECT_TRUE(StrokeLine(empty, sePower, saTime, 1).empty());
    EXPECT_EQ(NearestPoint({}, 3), -1);
    EXPECT_TRUE(IntervalSpans({}).empty());
    double low = 0, high = 0;
    EXPECT_FALSE(LineLimits({}, low, high));

    const TTraining one = Piece(1, [](int) { return 250; });
    const TStrokePoints line = StrokeLine(one, sePower, saDistance, 30);
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0].Y, 250);
    EXPECT_EQ(NearestPoint(line, -1e9), 0);
    EXPECT_EQ(NearestPoint(line, 1e9), 0);
    ASSERT_TRUE(LineLimits(line, low, high));
    const TValueRange range = RoundRange(low, high, 8, false);
    EXPECT_LT(range.Minimum, 250);
    EXPECT_GT(range.Maximum, 250) << "a single value gets a span around it";

    TTraining damaged = Piece(4, [](int i) { return i; });
    damaged.Strokes[2].Power = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(StrokeLine(damaged, sePower, saStroke, 1).size(), 3u) << "a value that is not a number is left out";
    EXPECT_TRUE(StrokeLine(damaged, -1, saStroke, 1).empty());
    EXPECT_TRUE(StrokeLine(damaged, StrokeParameterCount, saStroke, 1).empty());
}

TEST_F(StrokeChartTest, MovingAverageOverTheStrokesEndingAtEachPoint)
{
    const TTraining training = Piece(40000, [](int i) { return i % 2 ? 100 : 200; });
    const TStrokePoints raw = StrokeLine(training, sePower, saStroke, 1);
    const TStrokePoints three = StrokeLine(training, sePower, saStroke, 3);
    EXPECT_EQ(raw[1].Y, 200);
    EXPECT_EQ(three[0].Y, 100) << "the first point has only itself";
    EXPECT_EQ(three[1].Y, 150);
    EXPECT_NEAR(three[2].Y, 400.0 / 3, 1e-9);
    const TStrokePoints ten = StrokeLine(training, sePower, saStroke, 10);
    for (size_t i : {9u, 20000u, 39999u}) EXPECT_NEAR(ten[i].Y, 150, 1e-9) << i << ": no drift over a long line";
}

TEST_F(StrokeChartTest, NearestStrokeAtTheEndsAndBetween)
{
    const TStrokePoints line = StrokeLine(Piece(10, [](int i) { return i; }), sePower, saTime, 1);
    EXPECT_EQ(line[NearestPoint(line, 0)].Stroke, 1) << "before the first stroke";
    EXPECT_EQ(line[NearestPoint(line, 2.5)].Stroke, 1);
    EXPECT_EQ(line[NearestPoint(line, 25)].Stroke, 10);
    EXPECT_EQ(line[NearestPoint(line, 999)].Stroke, 10) << "beyond the last stroke";
    EXPECT_EQ(line[NearestPoint(line, 3.74)].Stroke, 1);
    EXPECT_EQ(line[NearestPoint(line, 3.76)].Stroke, 2);
}

TEST_F(StrokeChartTest, ScaleModes)
{
    ParameterType entry = StrokeParameters[sePower];
    entry.Minimum = 100;
    entry.Maximum = 300;
    entry.Step = 50;

    entry.ScaleMode = smManual;
    TValueRange range = EntryRange(entry, sePower, 20, 900);
    EXPECT_EQ(range.Minimum, 100);
    EXPECT_EQ(range.Maximum, 300);
    EXPECT_EQ(range.Step, 50) << "manual keeps the stored range whatever the values";

    entry.ScaleMode = smRange;
    range = EntryRange(entry, sePower, 140, 260);
    EXPECT_EQ(range.Minimum, 100);
    EXPECT_EQ(range.Maximum, 300) << "values inside: the stored range";
    range = EntryRange(entry, sePower, 60, 320);
    EXPECT_EQ(range.Minimum, 50);
    EXPECT_EQ(range.Maximum, 350) << "widened by whole steps";

    entry.ScaleMode = smDouble;
    range = EntryRange(entry, sePower, 150, 250);
    EXPECT_EQ(range.Minimum, 100);
    EXPECT_EQ(range.Maximum, 300) << "values inside: the stored range";

    entry.ScaleMode = smAuto;
    range = EntryRange(entry, sePower, 123, 377);
    EXPECT_LE(range.Minimum, 123);
    EXPECT_GE(range.Maximum, 377);
    EXPECT_EQ(std::fmod(range.Minimum, range.Step), 0) << "round ticks";
    EXPECT_LE((range.Maximum - range.Minimum) / range.Step, 16);

    entry.ScaleMode = smManual;
    entry.Maximum = entry.Minimum; // an empty stored range falls back to fitting the values
    range = EntryRange(entry, sePower, 123, 377);
    EXPECT_LE(range.Minimum, 123);
    EXPECT_GE(range.Maximum, 377);
    entry.Maximum = 300;
    entry.Step = 0; // no usable step: round ticks in the stored range
    range = EntryRange(entry, sePower, 0, 1);
    EXPECT_GT(range.Step, 0);
    entry.ScaleMode = 200; // a mode from a damaged settings file fits the values
    range = EntryRange(entry, sePower, 5, 6);
    EXPECT_LE(range.Minimum, 5);
    EXPECT_GE(range.Maximum, 6);
}

TEST_F(StrokeChartTest, DoubleReallyDoublesUntilTheValuesFit)
{
    ParameterType entry = StrokeParameters[sePower];
    entry.ScaleMode = smDouble;
    entry.Minimum = 100;
    entry.Maximum = 300;
    entry.Step = 50;
    const TValueRange range = EntryRange(entry, sePower, 150, 420);
    // 100..300 about its middle 200: 0..400 leaves 420 out, -200..600 takes it in.
    EXPECT_EQ(range.Minimum, -200);
    EXPECT_EQ(range.Maximum, 600);
    EXPECT_EQ(range.Step, 200);
}

TEST_F(StrokeChartTest, The500mTimeRunsDownwardInSecondsWithMinuteTicks)
{
    const ParameterType& split = StrokeParameters[seSplit500];
    EXPECT_TRUE(SmallerIsFaster(seSplit500));
    EXPECT_TRUE(SmallerIsFaster(seAverageSplit500));
    EXPECT_FALSE(SmallerIsFaster(sePower));
    EXPECT_TRUE(EntryRange(split, seSplit500, 100, 130).Reversed);
    EXPECT_FALSE(EntryRange(StrokeParameters[sePower], sePower, 100, 130).Reversed);

    TTraining training = Piece(3, [](int) { return 200; });
    training.Strokes[2].Split500 = 115.0f; // seconds in the record
    const TStrokePoints line = StrokeLine(training, seSplit500, saStroke, 1);
    EXPECT_NEAR(line[1].Y, 115, 1e-3) << "times are charted in seconds";

    EXPECT_EQ(TickText(115, 5, true), "1:55");
    EXPECT_EQ(TickText(3600 + 61, 60, true), "61:01");
    EXPECT_EQ(TickText(90.5, 0.5, true), "1:30.5");
    EXPECT_EQ(TickText(0.30000001, 0.1, false), "0.3");
    EXPECT_EQ(TickText(250, 50, false), "250");
    EXPECT_EQ(TickText(-1e-13, 0.5, false), "0.0");
    EXPECT_EQ(TickText(std::numeric_limits<double>::quiet_NaN(), 1, false), NoValueText);
    const TValueRange minutes = RoundRange(0, 1800, 8, true);
    EXPECT_EQ(std::fmod(minutes.Step, 60), 0) << "a long time gets whole-minute ticks";
}

TEST_F(StrokeChartTest, IntervalSpansSkipRestStrokes)
{
    TTraining training = Piece(9, [](int) { return 200; });
    const int intervals[] = {0, 1, 1, 1, 0, 0, 2, 2, 0, 3}; // by stroke, [0] unused
    for (int i = 1; i <= 9; ++i) training.Strokes[i].IntervalNumber = static_cast<uint16_t>(intervals[i]);
    const std::vector<TIntervalSpan> spans = IntervalSpans(StrokeLine(training, sePower, saStroke, 1));
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0].Number, 1);
    EXPECT_EQ(spans[0].From, 1);
    EXPECT_EQ(spans[0].To, 3);
    EXPECT_EQ(spans[1].Number, 2);
    EXPECT_EQ(spans[1].From, 6);
    EXPECT_EQ(spans[1].To, 7);
    EXPECT_EQ(spans[2].Number, 3);
    EXPECT_EQ(spans[2].From, 9);
    EXPECT_EQ(spans[2].To, 9);
}

} // namespace
