#include "StgBuilder.h"
#include "TestKit.h"
#include "untFiles.h"

#include <cmath>
#include <random>
#include <gtest/gtest.h>

namespace {

TTraining TrainingWithStrokes(int n)
{
    TTraining training;
    SetStrokeCount(training, n);
    for (int i = 1; i <= n; ++i) {
        training.Strokes[i] = MakeStroke(static_cast<uint16_t>(i));
        training.Curves[i] = MakeCurve(static_cast<uint16_t>(i));
    }
    return training;
}

void SetSamples(TForceCurve& curve, std::initializer_list<int> values, int rest = 0)
{
    int k = 0;
    for (int v : values) curve.Samples[k++] = static_cast<uint16_t>(v);
    for (; k < CurveSamples; ++k) curve.Samples[k] = static_cast<uint16_t>(rest);
}

} // namespace

TEST(NewTraining, ResetsToAnEmptyUserTraining)
{
    TTraining training = TrainingWithStrokes(5);
    training.Intervals.resize(2);
    training.ExtraEntries.resize(3);
    training.Totals.TotalTime = 12;
    training.Header.Title.Assign("kept");
    NewTraining(training);
    EXPECT_TRUE(IsEmptyTraining(training));
    EXPECT_EQ(training.Strokes.size(), 1u);
    EXPECT_EQ(training.Curves.size(), 1u);
    EXPECT_TRUE(training.ExtraEntries.empty());
    EXPECT_EQ(std::string(training.Magic, 4), "MIL ");
    EXPECT_EQ(training.Version, CurrentVersion());
    EXPECT_EQ(training.Header.FileName.Text(), "?");
    EXPECT_EQ(+training.Header.FileKind, fkUser);
    EXPECT_EQ(+training.Header.Modified, 1);
    EXPECT_FALSE(training.Header.TrainingID.IsNull());
    EXPECT_EQ(training.Header.Title.Text(), "kept");
    EXPECT_TRUE(IsUserTraining(training));
    EXPECT_EQ(TrainingFileName(training), "");
}

TEST(NewHeader, DefaultsAndColourCycle)
{
    ResetColorCounter();
    THeader header;
    std::memset(static_cast<void*>(&header), 0x55, sizeof header);
    NewHeader(header);
    EXPECT_EQ(header.Title.Text(), "Anyone");
    EXPECT_EQ(header.Name.Text(), "Anyone");
    EXPECT_EQ(+header.Color, 0x0000FFu);
    EXPECT_EQ(+header.PenWidth, 2);
    EXPECT_EQ(+header.Visible, 1);
    EXPECT_EQ(+header.Recorder, 7);
    EXPECT_EQ(+header.Spare3[0], 0);
    EXPECT_EQ(header.Description.Length, 0);
    EXPECT_GT(+header.DateTime, 40000);
    for (int i = 1; i < ColorCount; ++i) NextColor();
    EXPECT_EQ(NextColor(), +Colors[0].Color); // the 16th colour is Red again
}

TEST(NewSettings, Defaults)
{
    TUserSettings settings;
    NewSettings(settings);
    EXPECT_EQ(+settings.Weight, 80);
    EXPECT_EQ(+settings.Sprocket, 1);
    EXPECT_EQ(+settings.SessionLimit, 2);
    EXPECT_EQ(+settings.StartValue, 150);
    EXPECT_EQ(+settings.RestValue, 10);
    EXPECT_EQ(+settings.IntervalBy, 3);
    EXPECT_EQ(+settings.WorkTime, 60);
    EXPECT_EQ(+settings.RestTime, 30);
    EXPECT_EQ(+settings.Gender + +settings.LimitTime + +settings.Display, 0);
}

TEST(IsEmptyTraining, AnyDataOrTotalMakesItNonEmpty)
{
    TTraining training;
    SetStrokeCount(training, 0);
    EXPECT_TRUE(IsEmptyTraining(training));
    training.Totals.AveragePower = 1;
    EXPECT_FALSE(IsEmptyTraining(training));
    training.Totals.AveragePower = 0;
    training.ExtraEntries.resize(2);
    EXPECT_FALSE(IsEmptyTraining(training));
    training.ExtraEntries.resize(1);
    SetIntervalCount(training, 1);
    EXPECT_FALSE(IsEmptyTraining(training));
}

TEST(ConfirmReset, AsksOnlyForANonEmptyTraining)
{
    TMessageRecorder recorder;
    TTraining empty;
    SetStrokeCount(empty, 0);
    const TResetAnswer silent = ConfirmReset(empty, 0);
    EXPECT_TRUE(silent.Proceed);
    EXPECT_FALSE(silent.WasReset);
    EXPECT_TRUE(recorder.Messages.empty());

    TTraining training = TrainingWithStrokes(3);
    recorder.Answer(TMessageAnswer::No);
    const TResetAnswer declined = ConfirmReset(training, 1);
    EXPECT_FALSE(declined.Proceed);
    EXPECT_EQ(training.Strokes.size(), 4u);
    ASSERT_EQ(recorder.Messages.size(), 1u);
    EXPECT_EQ(recorder.Messages[0].Text,
              "Connecting again will reset the current training session.\rDo you wish to continue?");

    recorder.Answer(TMessageAnswer::Yes);
    const TResetAnswer accepted = ConfirmReset(training, 7);
    EXPECT_TRUE(accepted.Proceed);
    EXPECT_TRUE(accepted.WasReset);
    EXPECT_EQ(recorder.Messages.back().Text, "Do you wish to continue?");
    EXPECT_TRUE(IsEmptyTraining(training));
}

TEST(SetStrokeCount, GrowsKeepsTrimsAndResets)
{
    TTraining training = TrainingWithStrokes(3);
    SetStrokeCount(training, 5);
    ASSERT_EQ(training.Strokes.size(), 6u);
    EXPECT_EQ(+training.Strokes[3].Power, +MakeStroke(3).Power);
    EXPECT_EQ(+training.Strokes[5].Number, 5);
    EXPECT_EQ(+training.Curves[5].Number, 5);
    EXPECT_EQ(+training.Curves[5].Valid, 0);
    EXPECT_EQ(+training.Strokes[4].Time, 0);

    // Trimming drops the trailing strokes without a time, never element 0.
    SetStrokeCount(training, -1);
    EXPECT_EQ(training.Strokes.size(), 4u);
    EXPECT_EQ(training.Curves.size(), 4u);
    for (int i = 1; i <= 3; ++i) training.Strokes[i].Time = 0;
    SetStrokeCount(training, -1);
    EXPECT_EQ(training.Strokes.size(), 1u);

    SetStrokeCount(training, 2);
    SetStrokeCount(training, 1);
    EXPECT_EQ(training.Strokes.size(), 2u);
    training.Strokes[0].Power = 9;
    SetStrokeCount(training, 0);
    ASSERT_EQ(training.Strokes.size(), 1u);
    EXPECT_EQ(+training.Strokes[0].Power, 0);
}

TEST(SetIntervalCount, GrowsButNeverShrinksExceptToZero)
{
    TTraining training;
    SetIntervalCount(training, 3);
    ASSERT_EQ(training.Intervals.size(), 3u);
    EXPECT_EQ(+training.Intervals[2].Number, 3);
    training.Intervals[0].AveragePower = 200;
    SetIntervalCount(training, 2);
    EXPECT_EQ(training.Intervals.size(), 3u);
    SetIntervalCount(training, 4);
    EXPECT_EQ(+training.Intervals[0].AveragePower, 200);
    EXPECT_EQ(+training.Intervals[3].Number, 4);
    SetIntervalCount(training, 0);
    EXPECT_TRUE(training.Intervals.empty());
}

TEST(CurveSpacing, ByErgometerAndSprocket)
{
    TUserSettings settings{};
    EXPECT_EQ(CurveSpacing(settings), 2.0);
    settings.Sprocket = 2;
    EXPECT_EQ(CurveSpacing(settings), 2.2);
    settings.Ergometer = 2;
    EXPECT_EQ(CurveSpacing(settings), 4.5);
}

TEST(EstimateStrokeLength, LastLowestSampleNotAbove780)
{
    TForceCurve curve{};
    EXPECT_EQ(EstimateStrokeLength(curve, 0), 0.0); // all zero: k = 1 wins
    SetSamples(curve, {}, 900);
    EXPECT_EQ(EstimateStrokeLength(curve, 1), -2.2);
    SetSamples(curve, {100, 300, 500, 300, 40, 40, 60}, 900);
    // Lowest value 40 first appears at k = 5.
    EXPECT_DOUBLE_EQ(EstimateStrokeLength(curve, 0), 5 * 2.0 - 2.0);
    EXPECT_DOUBLE_EQ(EstimateStrokeLength(curve, 2), 5 * 2.2 - 2.2);
}

TEST(ComputePeakForce, PlateauCentreAndRelativePosition)
{
    TForceCurve curve{};
    TStroke stroke{};
    stroke.StrokeLength = 150;
    ComputePeakForce(stroke, curve, 1);
    EXPECT_EQ(+stroke.PeakForce, 0);
    EXPECT_EQ(+stroke.PeakForcePosition, 0);
    EXPECT_EQ(+stroke.RelPeakForcePosition, 0);

    SetSamples(curve, {100, 600, 600, 200, 600});
    ComputePeakForce(stroke, curve, 0);
    EXPECT_EQ(+stroke.PeakForce, 600);
    EXPECT_EQ(+stroke.PeakForcePosition, static_cast<float>(2.0 * (2 + 5) / 2));
    EXPECT_EQ(+stroke.RelPeakForcePosition, SafeDivide(150, 7.0f * 100));
    ComputePeakForce(stroke, curve, 1);
    EXPECT_EQ(+stroke.PeakForcePosition, static_cast<float>(2.2 * 7 / 2));
}

// The stroke length and the peak, worked out sample by sample as their
// definitions read, agree with the computations on curves of every shape:
// plateaus, ties at both ends, a single sample, all equal, all above 780 N.
TEST(EstimateStrokeLengthAndPeakForce, AgreeWithTheirDefinitionsSampleBySample)
{
    std::mt19937 random(16);
    const auto curveOf = [&random](int shape) {
        TForceCurve curve{};
        std::uniform_int_distribution<int> few(0, 3), force(0, 900), any(0, 65535);
        for (int k = 0; k < CurveSamples; ++k)
            curve.Samples[k] = static_cast<uint16_t>(shape == 0 ? few(random) : shape == 1 ? force(random)
                                                     : shape == 2 ? 781 + few(random) : any(random));
        return curve;
    };
    for (int n = 0; n < 4000; ++n) {
        const TForceCurve curve = curveOf(n % 4);
        const int sprocket = n % 3;
        const double spacing = sprocket != 0 ? 2.2 : 2.0;
        double best = 780.0, position = 0.0;
        for (int k = CurveSamples; k >= 1; --k)
            if (curve.Samples[k - 1] <= best) {
                best = curve.Samples[k - 1];
                position = k * spacing;
            }
        ASSERT_EQ(EstimateStrokeLength(curve, sprocket), position - spacing) << n;

        int max = 0, first = 0, last = 0;
        for (int k = 1; k <= CurveSamples; ++k) {
            const int v = curve.Samples[k - 1];
            if (v > max) {
                max = v;
                first = last = k;
            } else if (v == max && first > 0) {
                last = k;
            }
        }
        TStroke stroke{};
        stroke.StrokeLength = 140;
        ComputePeakForce(stroke, curve, sprocket);
        ASSERT_EQ(+stroke.PeakForce, static_cast<float>(max)) << n;
        ASSERT_EQ(+stroke.PeakForcePosition, static_cast<float>(spacing * (first + last) / 2)) << n;
    }
}

TEST(ResampleCurve, FactorOneKeepsSamplesExceptFlatSteps)
{
    // The test curve rises and falls strictly, so nothing is smoothed.
    const TSamples samples = SamplesOf(MakeCurve(1, 600, 30, 70));
    const TResampled same = ResampleCurve(samples, 1.0);
    for (int i = 0; i < CurveSamples; ++i) EXPECT_EQ(same[i], samples[i]) << i;

    TForceCurve flat{};
    SetSamples(flat, {10, 50, 50, 20});
    const TResampled smoothed = ResampleCurve(SamplesOf(flat), 1.0);
    EXPECT_EQ(smoothed[1], 30.0f); // (50 + 10) / 2, the left one of the equal pair
    EXPECT_EQ(smoothed[2], 50.0f);
}

TEST(ResampleCurve, InterpolatesAndHandlesTheEnds)
{
    TForceCurve curve{};
    SetSamples(curve, {0, 100, 200, 300}, 0);
    curve.Samples[79] = 7;
    const TResampled half = ResampleCurve(SamplesOf(curve), 0.5);
    EXPECT_EQ(half[1], 50.0f);
    EXPECT_EQ(half[3], 150.0f);
    const TResampled stretched = ResampleCurve(SamplesOf(curve), 1.5);
    EXPECT_EQ(stretched[1], 150.0f);
    EXPECT_EQ(stretched[53], 7.0f); // 79.5 is past the last sample
    EXPECT_EQ(stretched[54], 0.0f); // 81 exactly is outside the curve
    const TResampled negative = ResampleCurve(SamplesOf(curve), -2.0);
    EXPECT_EQ(negative[0], 0.0f);
    EXPECT_EQ(negative[1], 0.0f);
    EXPECT_EQ(ResampleCurve(SamplesOf(curve), 100.5)[1], 7.0f);
    EXPECT_EQ(ResampleCurve(SamplesOf(curve), 3e38)[1], 0.0f); // a whole position far outside
}

TEST(ComputeAverageStroke, OneStrokeIsItsOwnAverage)
{
    TTraining training = TrainingWithStrokes(1);
    ComputePeakForce(training.Strokes[1], training.Curves[1], training.Settings.Sprocket);
    ComputeAverageStroke(training);
    EXPECT_EQ(std::memcmp(&training.Strokes[0], &training.Strokes[1], sizeof(TStroke)), 0);
    EXPECT_EQ(std::memcmp(&training.Curves[0], &training.Curves[1], sizeof(TForceCurve)), 0);
}

TEST(ComputeAverageStroke, SkipsTheFirstStrokeAndInvalidCurves)
{
    TTraining training = TrainingWithStrokes(4);
    training.Strokes[1].EnergyPerStroke = 10000; // never counted
    training.Curves[1] = MakeCurve(1, 5000);
    training.Curves[3].Valid = 0;
    training.Strokes[3].EnergyPerStroke = 9999;
    training.Strokes[2].EnergyPerStroke = 300;
    training.Strokes[4].EnergyPerStroke = 500;
    ComputeAverageStroke(training);
    EXPECT_EQ(+training.Strokes[0].EnergyPerStroke, 400.0f);
    EXPECT_EQ(+training.Strokes[0].StrokeLength, 140.0f);
    EXPECT_EQ(+training.Curves[0].Number, 0);
    EXPECT_EQ(+training.Curves[0].Valid, 0);
    // Equal lengths resample by factor 1: the average is the common curve.
    const TSamples expected = SamplesOf(MakeCurve(2));
    for (int k = 0; k < CurveSamples; ++k) EXPECT_EQ(+training.Curves[0].Samples[k], expected[k]) << k;
    EXPECT_EQ(+training.Strokes[0].PeakForce, 600);
}

TEST(ComputeAverageStroke, NoContributingStrokeGivesZeros)
{
    TTraining training = TrainingWithStrokes(3);
    for (int i = 2; i <= 3; ++i) training.Curves[i].Valid = 0;
    ComputeAverageStroke(training);
    EXPECT_EQ(+training.Strokes[0].EnergyPerStroke, 0);
    EXPECT_EQ(+training.Strokes[0].StrokeLength, 0);
    for (int k = 0; k < CurveSamples; ++k) EXPECT_EQ(+training.Curves[0].Samples[k], 0);
}

TEST(ComputeAverageStroke, StretchesCurvesToTheAverageLength)
{
    TTraining training = TrainingWithStrokes(3);
    training.Strokes[2].StrokeLength = 100;
    training.Strokes[3].StrokeLength = 300; // average 200: factors 0.5 and 1.5
    ComputeAverageStroke(training);
    const TResampled a = ResampleCurve(SamplesOf(training.Curves[2]), 0.5);
    const TResampled b = ResampleCurve(SamplesOf(training.Curves[3]), 1.5);
    for (int k = 0; k < CurveSamples; ++k)
        EXPECT_EQ(+training.Curves[0].Samples[k], RoundToWord(SafeDivide(2, a[k] + b[k]))) << k;
}

TEST(ComputeAverageStroke, UnknownLengthsAreEstimatedFromTheCurve)
{
    TTraining training = TrainingWithStrokes(3);
    training.Strokes[2].StrokeLength = -1;
    training.Strokes[3].StrokeLength = -1;
    training.Settings.Sprocket = 0;
    ComputeAverageStroke(training);
    // The average of -1 and -1 is -1; each estimate from the curve is 70 * 2 - 2.
    const float factor = SafeDivide(-1.0f, 138.0f);
    const TResampled r = ResampleCurve(SamplesOf(training.Curves[2]), factor);
    EXPECT_EQ(+training.Curves[0].Samples[1], RoundToWord(SafeDivide(2, r[1] + r[1])));
}

TEST(ComputeDistancePerStroke, MeasuresFromThePreviousStroke)
{
    std::vector<TStroke> strokes(4, TStroke{});
    strokes[1].Distance = 10;
    strokes[2].Distance = 18.5f;
    strokes[3].Distance = 27;
    ComputeDistancePerStroke(strokes, 3);
    EXPECT_EQ(+strokes[0].DistancePerStroke, 0);
    EXPECT_EQ(+strokes[1].DistancePerStroke, 1000);
    EXPECT_EQ(+strokes[2].DistancePerStroke, 850);
    EXPECT_EQ(+strokes[3].DistancePerStroke, 850);
    ComputeDistancePerStroke(strokes, 99); // a high beyond the strokes stops at the last
}

TEST(DescribeTraining, JoinsChosenFieldsInOrder)
{
    TFormatScope scope(DotFormat());
    THeader header{};
    header.DateTime = EncodeDateTime(2026, 5, 4, 7, 30);
    header.Title.Assign("2k test");
    header.Name.Assign("Ann");
    header.Note.Assign("windy");
    EXPECT_EQ(DescribeTraining(header, 0, false), "");
    EXPECT_EQ(DescribeTraining(header, 1 | 2 | 4, false), "04/05/2026; 07:30:00; 2k test");
    EXPECT_EQ(DescribeTraining(header, 8 | 128, true), "Ann\nwindy");
    EXPECT_EQ(DescribeTraining(header, 16, false), "");
}

TEST(DisplayHelpers, DashesForMissingValues)
{
    TFormatScope scope(DotFormat());
    TMessageRecorder recorder;
    EXPECT_EQ(FileNameOrDash(""), "-");
    EXPECT_EQ(FileNameOrDash("C:\\data\\a.stg"), "a.stg");
    EXPECT_EQ(FileNameOrDash("/data/b.stg"), "b.stg");
    EXPECT_EQ(DateTimeText(1), "-");
    EXPECT_EQ(DateTimeText(73000), "-");
    EXPECT_EQ(DateTimeText(EncodeDateTime(2026, 5, 4, 7, 30)), "04/05/2026 07:30:00");
    EXPECT_EQ(FileTypeText(0, 5), "-");
    EXPECT_EQ(FileTypeText(6, 5), "Training (STG)");

    TTempFolder temp;
    WriteBytes(temp.File("x.stg"), "12345");
    EXPECT_EQ(SizeText(temp.File("x.stg"), 99), "5 bytes");
    EXPECT_EQ(SizeText(temp.File("gone.stg"), 99), "99 bytes");
    EXPECT_EQ(SizeText("", 0), "-");
    EXPECT_EQ(recorder.MessageBeeps, 0);
}

namespace {

// The resampling written out step by step, as plainly as possible; the
// library's faster version must agree with it bit for bit.
TResampled PlainResample(const TSamples& src, double factor)
{
    double tmp[CurveSamples];
    for (int i = 0; i < CurveSamples; ++i) {
        const double p = i * factor;
        const double j = std::trunc(p);
        const double f = p - j;
        double v;
        if (f == 0) v = j >= 0 && j <= 79 ? src[static_cast<int>(j)] : 0;
        else if (j < 0) v = src[0] * factor;
        else if (j >= 79) v = src[79];
        else v = src[static_cast<int>(j)] + f * (src[static_cast<int>(j) + 1] - src[static_cast<int>(j)]);
        tmp[i] = std::fabs(v);
    }
    for (int i = 1; i <= 78; ++i)
        if (tmp[i] == tmp[i + 1] && tmp[i] > 0) tmp[i] = (tmp[i] + tmp[i - 1]) / 2;
    TResampled dst;
    for (int i = 0; i < CurveSamples; ++i) dst[i] = static_cast<float>(tmp[i]);
    return dst;
}

} // namespace

TEST(ResampleCurve, AgreesBitForBitWithThePlainSteps)
{
    uint64_t state = 12345;
    const auto random = [&state] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return state >> 33;
    };
    // A negative 0 comes from a tiny stroke length over a negative average length.
    std::vector<double> factors = {0, -0.0, 1, 0.5, 2, 79, 80, -1, -0.5, -0.0125, 1e-9, 1e9, 3e38, 0.9999999, 1.0000001,
                                   // the last position just inside the curve, and just outside it
                                   79.0 / 78, std::nextafter(79.0 / 78, 0.0), std::nextafter(79.0 / 78, 2.0),
                                   1e-320};
    for (int n = 0; n < 300; ++n) factors.push_back(static_cast<float>((random() % 40000) / 10000.0 - 0.5));
    for (const double factor : factors) {
        TSamples samples;
        for (int k = 0; k < CurveSamples; ++k)
            samples[k] = static_cast<uint16_t>(random() % 4 == 0 ? 300 : random() % 900); // some flat steps
        const TResampled fast = ResampleCurve(samples, factor);
        const TResampled plain = PlainResample(samples, factor);
        EXPECT_EQ(std::memcmp(fast.data(), plain.data(), sizeof fast), 0) << factor;
    }
}

namespace {

// The average stroke and curve written out step by step, on the plain
// resampling above.
void PlainAverageStroke(TTraining& training)
{
    const int sprocket = training.Settings.Sprocket;
    const size_t last = training.Strokes.size() - 1;
    training.Strokes[0] = TStroke{};
    training.Curves[0] = TForceCurve{};
    int count = 0;
    double energy = 0, length = 0;
    for (size_t i = 2; i <= last; ++i) {
        if (training.Curves[i].Valid == 0) continue;
        ++count;
        energy += training.Strokes[i].EnergyPerStroke;
        length += training.Strokes[i].StrokeLength;
    }
    training.Strokes[0].EnergyPerStroke = SafeDivide(static_cast<float>(count), static_cast<float>(energy));
    training.Strokes[0].StrokeLength = SafeDivide(static_cast<float>(count), static_cast<float>(length));
    float sum[CurveSamples] = {};
    for (size_t i = 2; i <= last; ++i) {
        if (training.Curves[i].Valid == 0) continue;
        double l = training.Strokes[i].StrokeLength;
        if (l < 0) l = EstimateStrokeLength(training.Curves[i], sprocket);
        if (!(l > 0)) l = 1.0;
        const TResampled resampled = PlainResample(SamplesOf(training.Curves[i]),
                                                   SafeDivide(training.Strokes[0].StrokeLength, static_cast<float>(l)));
        for (int k = 0; k < CurveSamples; ++k) sum[k] = sum[k] + resampled[k];
    }
    for (int k = 0; k < CurveSamples; ++k)
        training.Curves[0].Samples[k] = RoundToWord(SafeDivide(static_cast<float>(count), sum[k]));
    ComputePeakForce(training.Strokes[0], training.Curves[0], sprocket);
}

} // namespace

TEST(ComputeAverageStroke, AgreesBitForBitWithThePlainStepsOnTheLargestTraining)
{
    uint64_t state = 54321;
    const auto random = [&state] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>(state >> 33);
    };
    TTraining training = TrainingWithStrokes(65535);
    for (size_t i = 1; i < training.Strokes.size(); ++i) {
        TForceCurve& curve = training.Curves[i];
        // Forces near the largest a curve holds, so that the sums of 65,535
        // of them as singles lose enough digits to change the rounded average
        // when they are added in another order or precision.
        const int start = random() % 10, end = 50 + random() % 30;
        for (int k = 0; k < CurveSamples; ++k)
            curve.Samples[k] = static_cast<uint16_t>(k >= start && k < end ? 50000 + random() % 15000 : 0);
        if (random() % 8 == 0) curve.Samples[start + 1] = curve.Samples[start]; // a flat step
        curve.Valid = random() % 50 != 0;
        // Mostly plausible lengths, some unknown (estimated) or unusable ones.
        const int kind = random() % 40;
        training.Strokes[i].StrokeLength = kind == 0 ? -1.0f : kind == 1 ? 0.0f : 120 + random() % 6000 / 100.0f;
        training.Strokes[i].EnergyPerStroke = 300 + random() % 5000 / 10.0f;
    }
    TTraining plain = training;
    ComputeAverageStroke(training);
    PlainAverageStroke(plain);
    EXPECT_EQ(std::memcmp(&training.Strokes[0], &plain.Strokes[0], sizeof(TStroke)), 0);
    EXPECT_EQ(std::memcmp(&training.Curves[0], &plain.Curves[0], sizeof(TForceCurve)), 0);
    EXPECT_GT(+training.Curves[0].Samples[20], 0);
}
