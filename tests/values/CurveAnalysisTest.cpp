// Curve analysis beyond one stroke: percentiles, the spread band of an
// average, an interval's average from its strokes, the trail, and the shape
// of a curve.
#include "untCurveAnalysis.h"

#include "DemoTraining.h"
#include "TestKit.h"
#include "untFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace {

// A curve of the given forces from sample 1 on, the rest 0.
TForceCurve CurveOf(const std::vector<uint16_t>& forces)
{
    TForceCurve curve{};
    curve.Valid = 1;
    for (size_t k = 0; k < forces.size(); ++k) curve.Samples[k] = forces[k];
    return curve;
}

// N strokes of length 100 cm whose curves are flat at 100, 200, ... N * 100 N
// over their first 20 samples.
TTraining FlatStrokes(int count)
{
    TTraining training = MakeDemoTraining(count);
    for (int i = 1; i <= count; ++i) {
        training.Strokes[i].StrokeLength = 100;
        training.Curves[i] = CurveOf(std::vector<uint16_t>(20, static_cast<uint16_t>(100 * i)));
    }
    return training;
}

} // namespace

TEST(Percentile, TakesTheLineBetweenTheNearestRanks)
{
    std::vector<float> none;
    EXPECT_EQ(Percentile(none, 50), 0);
    std::vector<float> one{7};
    EXPECT_EQ(Percentile(one, 10), 7);
    EXPECT_EQ(Percentile(one, 90), 7);
    std::vector<float> two{30, 10};
    EXPECT_FLOAT_EQ(Percentile(two, 10), 12);
    EXPECT_FLOAT_EQ(Percentile(two, 90), 28);
    std::vector<float> ten{9, 1, 8, 2, 7, 3, 6, 4, 5, 10};
    EXPECT_FLOAT_EQ(Percentile(ten, 10), 1.9f);
    EXPECT_FLOAT_EQ(Percentile(ten, 90), 9.1f);
    EXPECT_FLOAT_EQ(Percentile(ten, 50), 5.5f);
    EXPECT_FLOAT_EQ(Percentile(ten, 100), 10);
}

// Among thousands of values the rank's span is found from a sample; whatever
// the values, the result is the one a full sort gives.
TEST(Percentile, OfManyValuesIsWhatASortGivesWhateverTheirSpread)
{
    const auto sorted = [](std::vector<float> values, double p) {
        std::sort(values.begin(), values.end());
        const double rank = p / 100 * (values.size() - 1);
        const size_t below = static_cast<size_t>(std::floor(rank));
        const float high = values[std::min(below + 1, values.size() - 1)];
        return static_cast<float>(values[below] + (rank - below) * (high - values[below]));
    };
    std::mt19937 random(7);
    std::uniform_real_distribution<float> uniform(0, 1000);
    std::vector<std::vector<float>> cases;
    for (size_t count : {4096u, 5000u, 65535u}) {
        std::vector<float> values(count);
        for (float& value : values) value = uniform(random);
        cases.push_back(values);
    }
    // Few distinct values, so that the sample's bounds are equal or one apart.
    std::vector<float> ties(20000);
    for (size_t i = 0; i < ties.size(); ++i) ties[i] = static_cast<float>(i % 3 == 0 ? 0 : 500);
    cases.push_back(ties);
    // Sorted ascending: the sample's stride meets the values in order.
    std::vector<float> rising(10000);
    for (size_t i = 0; i < rising.size(); ++i) rising[i] = static_cast<float>(i);
    cases.push_back(rising);
    // A sample that misses a cluster at the edge: every 64th value is far out.
    std::vector<float> outliers(8192, 100);
    for (size_t i = 0; i < outliers.size(); i += 64) outliers[i] = 1e6f;
    cases.push_back(outliers);

    for (size_t c = 0; c < cases.size(); ++c)
        for (double p : {0.0, 10.0, 50.0, 90.0, 100.0}) {
            std::vector<float> values = cases[c];
            EXPECT_EQ(Percentile(values, p), sorted(cases[c], p)) << "case " << c << " at " << p;
        }

    // Values that are no number are left out rather than ordered.
    std::vector<float> withNan = cases[0];
    for (size_t i = 0; i < withNan.size(); i += 5) withNan[i] = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> numbers;
    for (float value : withNan)
        if (!std::isnan(value)) numbers.push_back(value);
    EXPECT_EQ(Percentile(withNan, 90), sorted(numbers, 90));
    std::vector<float> allNan(3, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(Percentile(allNan, 50), 0);
}

TEST(SpreadBand, SpansTheTenthToTheNinetiethPercentileOfTheAveragedStrokes)
{
    TTraining training = FlatStrokes(11);
    // The session's average leaves out stroke 1: strokes 2..11, 200..1100 N.
    const std::vector<size_t> strokes = AveragedStrokes(training, 1, 0);
    ASSERT_EQ(strokes.size(), 10u);
    const TCurveBand band = SpreadBand(training, strokes);
    EXPECT_EQ(band.Count, 10u);
    EXPECT_FLOAT_EQ(band.Low[5], 290);
    EXPECT_FLOAT_EQ(band.High[5], 1010);
    EXPECT_EQ(band.Low[60], 0) << "beyond the drive";

    // Strokes of other lengths are stretched to the average length first: a
    // short one reaches as far as the others.
    training.Strokes[6].StrokeLength = 50;
    const TCurveBand stretched = SpreadBand(training, strokes);
    EXPECT_GT(stretched.High[19], 0);

    // Withdrawing every curve leaves nothing to spread.
    for (TForceCurve& curve : training.Curves) curve.Valid = 0;
    EXPECT_TRUE(AveragedStrokes(training, 1, 0).empty());
    EXPECT_EQ(SpreadBand(training, {}).Count, 0u);
}

// A band of thousands of strokes is worked out in parts; it is the band that
// each position's values, sorted, give.
TEST(SpreadBand, OfThousandsOfStrokesIsThePercentilesOfEachPosition)
{
    const int count = 5001;
    TTraining training = MakeDemoTraining(count);
    std::mt19937 random(11);
    std::uniform_int_distribution<int> force(0, 900), strokeLength(90, 160);
    for (int i = 1; i <= count; ++i) {
        training.Strokes[i].StrokeLength = static_cast<float>(strokeLength(random));
        std::vector<uint16_t> forces(60);
        for (uint16_t& f : forces) f = static_cast<uint16_t>(force(random));
        training.Curves[i] = CurveOf(forces);
    }
    const std::vector<size_t> strokes = AveragedStrokes(training, 1, 0);
    const TCurveBand band = SpreadBand(training, strokes);
    ASSERT_EQ(band.Count, strokes.size());

    double length = 0;
    for (size_t i : strokes) length += training.Strokes[i].StrokeLength;
    const float averageLength = static_cast<float>(length / strokes.size());
    std::vector<std::vector<float>> columns(CurveSamples);
    for (size_t i : strokes) {
        double values[CurveSamples];
        ResampleForAverage(training.Strokes[i], training.Curves[i], averageLength, training.Settings.Sprocket, values);
        for (size_t k = 0; k < CurveSamples; ++k) columns[k].push_back(static_cast<float>(values[k]));
    }
    const auto percentile = [](std::vector<float> values, double p) {
        std::sort(values.begin(), values.end());
        const double rank = p / 100 * (values.size() - 1);
        const size_t below = static_cast<size_t>(rank);
        return static_cast<float>(values[below] + (rank - below) * (values[below + 1] - values[below]));
    };
    for (size_t k = 0; k < CurveSamples; ++k) {
        EXPECT_EQ(band.Low[k], percentile(columns[k], 10)) << k;
        EXPECT_EQ(band.High[k], percentile(columns[k], 90)) << k;
    }
}

TEST(IntervalAverage, IsMadeFromTheIntervalsStrokesWhereTheFileHoldsNone)
{
    TTraining training = FlatStrokes(6);
    SetIntervalCount(training, 2);
    training.Intervals[0] = TInterval{};
    training.Intervals[1] = TInterval{};
    training.Intervals[0].Number = 1;
    training.Intervals[1].Number = 2;
    for (int i = 1; i <= 6; ++i) training.Strokes[i].IntervalNumber = i <= 3 ? 1 : 2;

    EXPECT_EQ(AveragedStrokes(training, 2, 1), (std::vector<size_t>{4, 5, 6}));
    TStroke stroke;
    TForceCurve curve;
    ASSERT_TRUE(IntervalAverage(training, 1, stroke, curve));
    EXPECT_EQ(+curve.Samples[3], 500) << "400, 500 and 600 N averaged";
    EXPECT_EQ(+stroke.PeakForce, 500);
    EXPECT_EQ(SpreadBand(training, AveragedStrokes(training, 2, 1)).Count, 3u);

    // A file's own interval curve is kept.
    training.Intervals[1].Curve = CurveOf({9, 9});
    ASSERT_TRUE(IntervalAverage(training, 1, stroke, curve));
    EXPECT_EQ(+curve.Samples[0], 9);

    // An interval the training does not have, and no intervals at all.
    EXPECT_FALSE(IntervalAverage(training, 2, stroke, curve));
    training.Intervals.clear();
    EXPECT_FALSE(IntervalAverage(training, 0, stroke, curve));
    EXPECT_TRUE(AveragedStrokes(training, 2, 0).empty());
}

TEST(TrailStrokes, AreTheValidStrokesBeforeTheShownOne)
{
    TTraining training = FlatStrokes(6);
    training.Curves[4].Valid = 0;
    EXPECT_TRUE(TrailStrokes(training, 1, 2).empty()) << "stroke 1 has none before it";
    EXPECT_EQ(TrailStrokes(training, 2, 2), (std::vector<size_t>{1}));
    EXPECT_EQ(TrailStrokes(training, 6, 2), (std::vector<size_t>{5, 3})) << "passing over stroke 4";
    EXPECT_EQ(TrailStrokes(training, 99, 2), (std::vector<size_t>{6, 5})) << "an index beyond the strokes";
}

TEST(CurveShape, FullnessAndPeakShareOfFlatTriangularAndOneSampleCurves)
{
    TStroke stroke{};
    stroke.StrokeLength = 40; // 20 samples at 2 cm
    const TCurveShape flat = CurveShape(stroke, CurveOf(std::vector<uint16_t>(20, 500)), 2.0);
    EXPECT_FLOAT_EQ(flat.Fullness, 1);
    EXPECT_FLOAT_EQ(flat.PeakShare, 0.525f) << "the middle of the flat top";

    std::vector<uint16_t> triangle;
    for (int k = 1; k <= 10; ++k) triangle.push_back(static_cast<uint16_t>(100 * k));
    for (int k = 9; k >= 0; --k) triangle.push_back(static_cast<uint16_t>(100 * k));
    const TCurveShape peaky = CurveShape(stroke, CurveOf(triangle), 2.0);
    EXPECT_NEAR(peaky.Fullness, 0.5, 0.01);
    EXPECT_FLOAT_EQ(peaky.PeakShare, 0.5f);

    // Without a length, the drive ends with the last force.
    stroke.StrokeLength = 0;
    const TCurveShape single = CurveShape(stroke, CurveOf({300}), 2.0);
    EXPECT_FLOAT_EQ(single.Fullness, 1);
    EXPECT_FLOAT_EQ(single.PeakShare, 1);
    EXPECT_EQ(CurveShape(stroke, TForceCurve{}, 2.0).Fullness, 0) << "no force, no shape";
    EXPECT_EQ(CurveShapeTexts(TCurveShape{}), (std::array<std::string, 2>{"", ""}));
}
