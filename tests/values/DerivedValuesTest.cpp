#include "untCharts.h"
#include "TestKit.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

float Seconds(double s) { return static_cast<float>(s / 86400.0); }

TUserSettings Limit(int32_t sessionLimit, int32_t limit)
{
    TUserSettings settings{};
    settings.SessionLimit = sessionLimit;
    switch (sessionLimit) {
    case 0: settings.LimitStrokes = limit; break;
    case 1: settings.LimitEnergy = limit; break;
    case 2: settings.LimitDistance = limit; break;
    case 3: settings.LimitTime = limit; break;
    case 4: settings.LimitIntervals = limit; break;
    }
    return settings;
}

class UnderLocale : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override
    {
        Scope = std::make_unique<TFormatScope>(GetParam() == '.' ? DotFormat() : CommaFormat());
        InitStrokeParameters();
        InitIntervalParameters();
        InitTotalParameters();
    }
    std::string Local(std::string text) const
    {
        for (char& c : text)
            if (c == '.') c = GetParam();
        return text;
    }
    std::unique_ptr<TFormatScope> Scope;
};

TEST_P(UnderLocale, NoLimitSetGivesNegativeRemainingTime)
{
    TStroke stroke{};
    stroke.Number = 20;
    stroke.Time = 90;
    const TUserSettings settings = Limit(3, 0);
    EXPECT_EQ(StrokeValue(stroke, 27, settings), Seconds(-90));
    EXPECT_EQ(StrokeValue(stroke, 28, settings), 0.0f);
    EXPECT_EQ(StrokeValueText(stroke, 27, settings), "-01:30");
    EXPECT_EQ(StrokeValueText(stroke, 28, settings), "00:00");
    EXPECT_EQ(StrokeValueText(stroke, 33, settings), " -20");
}

TEST_P(UnderLocale, DistanceSessionProgress)
{
    TStroke stroke{};
    stroke.Distance = 500;
    stroke.Time = 100;
    const TUserSettings settings = Limit(2, 2000);
    EXPECT_EQ(StrokeValue(stroke, 30, settings), 1500.0f);
    EXPECT_EQ(StrokeValue(stroke, 31, settings), 2000.0f);
    EXPECT_EQ(StrokeValue(stroke, 28, settings), Seconds(400));
    EXPECT_EQ(StrokeValueText(stroke, 28, settings), "06:40");
    EXPECT_EQ(StrokeValueText(stroke, 30, settings), "1500");
    EXPECT_EQ(StrokeValueText(stroke, 26, settings), "01:40");
}

TEST_P(UnderLocale, DriveRecoverAndSpeed)
{
    TStroke stroke{};
    stroke.DriveTime = 0.8f;
    stroke.DriveRecoverRatio = 2;
    stroke.DistancePerStroke = 1000;
    const TUserSettings settings{};
    EXPECT_FLOAT_EQ(StrokeValue(stroke, 18, settings), 1.6f);
    EXPECT_FLOAT_EQ(StrokeValue(stroke, 19, settings), 2.4f);
    EXPECT_EQ(StrokeValue(stroke, 21, settings), 4.1666665f);
    EXPECT_EQ(StrokeValueText(stroke, 18, settings), Local("1.60"));
    EXPECT_EQ(StrokeValueText(stroke, 19, settings), Local("2.40"));
    EXPECT_EQ(StrokeValueText(stroke, 21, settings), Local("4.17"));
    EXPECT_EQ(StrokeValueText(stroke, 35, settings), Local("15.0"));
    EXPECT_EQ(StrokeValueText(stroke, 36, settings), Local("9.3"));
}

TEST_P(UnderLocale, TrainingTotalsAndAverages)
{
    TTraining training{};
    training.Strokes.resize(241);
    training.Totals.TotalDistance = 2000;
    training.Totals.TotalTime = 480;
    training.Totals.TotalEnergy = 95.4f;
    training.Totals.AveragePower = 212.25f;
    EXPECT_EQ(TotalValue(training, 5), Seconds(120));
    EXPECT_EQ(TotalValue(training, 6), 30.0f);
    EXPECT_EQ(TotalValueText(training, 5), Local("02:00.0"));
    const std::vector<std::string> withUnits = {"2000 m", Local("08:00.0 m:s"), "95 kJ",
                                                Local("212.2 W"), "240", Local("02:00.0 m:s"),
                                                Local("30.0 /min")};
    for (int i = 0; i < TotalParameterCount; ++i) EXPECT_EQ(TotalValueWithUnit(training, i), withUnits[static_cast<size_t>(i)]) << i;
}

INSTANTIATE_TEST_SUITE_P(Separators, UnderLocale, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? "Dot" : "Comma"; });

class DerivedValuesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitStrokeParameters();
        InitIntervalParameters();
        InitTotalParameters();
    }
    TFormatScope Dot{DotFormat()};
};

TEST_F(DerivedValuesTest, SessionFractionForEveryLimitKind)
{
    TStroke stroke{};
    stroke.Number = 50;
    stroke.EnergySum = 10;
    stroke.Distance = 400;
    stroke.Time = 120;
    stroke.IntervalNumber = 2;
    // Each limit is four times what this stroke has done.
    const int32_t limits[] = {200, 40, 1600, 480, 8};
    for (int32_t kind = 0; kind <= 4; ++kind) {
        const TUserSettings settings = Limit(kind, limits[kind]);
        EXPECT_EQ(StrokeValue(stroke, 34, settings), 200.0f) << kind;
        EXPECT_EQ(StrokeValue(stroke, 33, settings), 150.0f) << kind;
        EXPECT_EQ(StrokeValue(stroke, 28, settings), Seconds(480)) << kind;
    }
    EXPECT_EQ(StrokeValue(stroke, 34, Limit(5, 0)), 0.0f);
    EXPECT_EQ(StrokeValue(stroke, 31, Limit(-1, 0)), 0.0f);
}

TEST_F(DerivedValuesTest, NothingDoneYetGivesNoProjection)
{
    TStroke stroke{}; // distance 0 at the first stroke of a distance session
    stroke.Time = 3;
    EXPECT_EQ(StrokeValue(stroke, 31, Limit(2, 2000)), 0.0f);
    EXPECT_EQ(StrokeValue(stroke, 28, Limit(2, 2000)), 0.0f);
}

TEST_F(DerivedValuesTest, RunningAveragesWithoutDistanceAreZero)
{
    TStroke stroke{};
    stroke.Time = 37;
    const TUserSettings settings{};
    EXPECT_EQ(StrokeValue(stroke, 37, settings), 0.0f);
    EXPECT_EQ(StrokeValue(stroke, 38, settings), 0.0f);
    EXPECT_EQ(StrokeValue(stroke, 41, settings), 0.0f);

    stroke.Number = 20;
    stroke.Time = 60;
    stroke.Distance = 250;
    EXPECT_EQ(StrokeValue(stroke, 37, settings), Seconds(120));
    EXPECT_EQ(StrokeValue(stroke, 38, settings), static_cast<float>(250 / 60.0));
    EXPECT_EQ(StrokeValue(stroke, 39, settings), static_cast<float>(static_cast<float>(250 / 60.0) * 3.6));
    EXPECT_EQ(StrokeValue(stroke, 41, settings), 20.0f);
    EXPECT_EQ(StrokeValueText(stroke, 37, settings), "02:00.0");
}

TEST_F(DerivedValuesTest, TimesAreInDaysAndUnknownEntriesZero)
{
    TStroke stroke{};
    stroke.Split500 = 105.5f;
    const TUserSettings settings{};
    EXPECT_EQ(StrokeValue(stroke, 9, settings), Seconds(105.5));
    EXPECT_EQ(StrokeValueText(stroke, 9, settings), "01:45.5");
    EXPECT_EQ(StrokeValue(stroke, 42, settings), 0.0f);
    EXPECT_EQ(StrokeValue(stroke, -1, settings), 0.0f);
    EXPECT_EQ(StrokeValueText(stroke, 42, settings), "");
}

TEST_F(DerivedValuesTest, IntervalValues)
{
    TInterval interval{};
    interval.Number = 3;
    interval.TotalTime = 400;
    interval.TotalDistance = 1500;
    interval.AveragePower = 231;
    interval.Stroke.Number = 123; // the interval's stroke count
    interval.Stroke.DriveTime = 0.5f;
    interval.Stroke.DriveRecoverRatio = 1.5f;
    interval.Stroke.Split500 = 133.3f;
    EXPECT_EQ(IntervalValue(interval, 7), 123.0f);
    EXPECT_EQ(IntervalValue(interval, 6), 3.75f);
    EXPECT_EQ(IntervalValue(interval, 18), 0.75f);
    EXPECT_EQ(IntervalValue(interval, 19), 1.25f);
    EXPECT_EQ(IntervalValueText(interval, 0), "  3");
    EXPECT_EQ(IntervalValueText(interval, 1), "231.0");
    EXPECT_EQ(IntervalValueText(interval, 3), "06:40.0");
    EXPECT_EQ(IntervalValueText(interval, 9), "02:13.3");
    EXPECT_EQ(IntervalValue(interval, 22), 0.0f);
    EXPECT_EQ(IntervalValueText(interval, 22), "");
    interval.TotalTime = 0;
    EXPECT_EQ(IntervalValue(interval, 6), 0.0f);
}

TEST_F(DerivedValuesTest, TotalsOfAnEmptyTraining)
{
    TTraining none{}; // not even the average stroke
    for (int i = 0; i < TotalParameterCount; ++i) EXPECT_EQ(TotalValue(none, i), 0.0f) << i;
    EXPECT_EQ(TotalValueWithUnit(none, 4), "0");
    EXPECT_EQ(TotalValue(none, 7), 0.0f);
    EXPECT_EQ(TotalValueWithUnit(none, 7), "");
    EXPECT_EQ(AverageDRRatio(none), 0.0f);
    EXPECT_EQ(AverageDRRatioText(none), "0.00");
}

// A file may hold NaN or infinity in any float; a value made of one shows as
// "-" without its unit, in every format the catalogues use.
TEST_F(DerivedValuesTest, ValuesThatAreNoNumbersShowADashWithoutTheirUnit)
{
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    TTraining training{};
    training.Strokes.resize(4);
    training.Totals = {nan, inf, -inf, nan};
    // The stroke rate divides the strokes by the time: 3 in no time is 0.
    const std::vector<std::string> shown = {"-", "-", "-", "-", "3", "-", "0.0 /min"};
    for (int i = 0; i < TotalParameterCount; ++i)
        EXPECT_EQ(TotalValueWithUnit(training, i), shown[static_cast<size_t>(i)]) << i;
    TStroke stroke{};
    stroke.Power = -inf;
    stroke.Time = nan;
    stroke.DriveRecoverRatio = inf;
    for (const int entry : {sePower, seTime, seDriveRecoverRatio, seTimeElapsed})
        EXPECT_EQ(StrokeValueText(stroke, entry, training.Settings), "-") << entry;
    TInterval interval{};
    interval.Stroke.PeakForce = nan;
    EXPECT_EQ(IntervalValueText(interval, iePeakForce), "-");
}

TEST_F(DerivedValuesTest, AverageDRRatioLeavesOutTheAverageStroke)
{
    TTraining training{};
    training.Strokes.resize(4);
    training.Strokes[0].DriveRecoverRatio = 100; // element 0 is not a stroke
    training.Strokes[1].DriveRecoverRatio = 1.5f;
    training.Strokes[2].DriveRecoverRatio = 2.0f;
    training.Strokes[3].DriveRecoverRatio = 2.1f;
    const float sum = 1.5f + 2.0f + 2.1f;
    EXPECT_EQ(AverageDRRatio(training), static_cast<float>(sum / 3.0));
    EXPECT_EQ(AverageDRRatioText(training), "1.87");
}

} // namespace
