#include "untForceCurveData.h"
#include "TestKit.h"
#include "untCharts.h"
#include "untFiles.h"
#include "untTrainingGrids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

// A curve that a stroke file holds exactly (multiples of its 3.85 N step) and
// that resampling by 1 leaves unchanged (no two equal positive neighbours): a
// tent from 38 N up to 308 N at sample 36 and down to 38 N at sample 71.
TForceCurve TentCurve(int halve = 1)
{
    TForceCurve curve{};
    curve.Valid = 1;
    for (int k = 0; k < CurveSamples; ++k)
        curve.Samples[k] = RoundToWord((k <= 70 ? 10 + 2 * std::min(k, 70 - k) : 0) / halve * 3.85);
    return curve;
}

// A visible training at curve 1 of tent-curve strokes of 142 cm and 400 J,
// power 300 + i, samples 2.2 cm apart, its average computed.
TTraining CurveTraining(int strokes)
{
    TTraining training{};
    training.Header.Title.Assign("Piece");
    training.Header.Visible = 1;
    training.Header.CurveIndex = 1;
    training.Settings.Sprocket = 1;
    SetStrokeCount(training, strokes);
    for (size_t i = 1; i <= static_cast<size_t>(strokes); ++i) {
        training.Strokes[i].Power = 300.0f + i;
        training.Strokes[i].StrokeLength = 142.0f;
        training.Strokes[i].EnergyPerStroke = 400.0f;
        training.Curves[i] = TentCurve();
        ComputePeakForce(training.Strokes[i], training.Curves[i], training.Settings.Sprocket);
    }
    ComputeAverageStroke(training);
    return training;
}

std::vector<float> Forces(const TCurvePoints& points)
{
    std::vector<float> forces;
    for (const TCurvePoint& point : points) forces.push_back(point.Y);
    return forces;
}

std::vector<float> Forces(const TForceCurve& curve)
{
    const TSamples samples = SamplesOf(curve);
    return {samples.begin(), samples.end()};
}

TCurveScaling Scaling(bool fixedForce, bool fixedLength, int force = 550, int length = 150)
{
    TCurveScaling scaling;
    scaling.FixedForce = fixedForce;
    scaling.FixedLength = fixedLength;
    scaling.Force = force;
    scaling.Length = length;
    return scaling;
}

class ForceCurveDataTest : public ::testing::Test {
protected:
    void SetUp() override { InitStrokeParameters(); }
    // The row text of a stroke-catalogue entry.
    static std::string Cell(const std::vector<std::string>& texts, int entry)
    {
        return texts.at(static_cast<size_t>(StrokeParameters[static_cast<size_t>(entry)].Column));
    }
    TFormatScope Dot{DotFormat()};
    const TCurveScaling Off{};
};

} // namespace

TEST_F(ForceCurveDataTest, ASourceThatDoesNotExistGivesNothing)
{
    TTraining training = CurveTraining(3);
    SetIntervalCount(training, 2);
    TStroke stroke;
    TForceCurve curve;
    const auto refused = [&](const char* what) {
        stroke.Power = 1;
        curve.Samples[0] = 1;
        EXPECT_FALSE(ShownStroke(training, stroke, curve)) << what;
        EXPECT_TRUE(stroke.Power == 0 && curve.Samples[0] == 0) << what;
        EXPECT_TRUE(ShownCurvePoints(training, Off).empty()) << what;
    };
    training.Header.CurveIndex = 4;
    refused("stroke beyond N");
    training.Header.CurveIndex = 3;
    training.Curves.resize(3);
    refused("stroke without a stored curve");
    training.Header.CurveSource = 2;
    training.Header.CurveInterval = 2;
    refused("interval beyond the intervals");
    training.Header.CurveInterval = -1;
    refused("negative interval");
    training.Header.CurveSource = 3;
    refused("unknown source");
}

TEST_F(ForceCurveDataTest, PointsRunFromOneSpacingToEightyTimesIt)
{
    TTraining training = CurveTraining(2);
    const TCurvePoints points = ShownCurvePoints(training, Off);
    ASSERT_EQ(points.size(), 80u);
    EXPECT_FLOAT_EQ(points.front().X, 2.2f);
    EXPECT_EQ(points.back().X, 176.0f);
    EXPECT_EQ(Forces(points), Forces(training.Curves[1]));

    training.Settings.Ergometer = 2; // 4.5 cm between samples
    const TCurvePoints wide = ShownCurvePoints(training, Off);
    EXPECT_EQ(wide.back().X, 360.0f);
    EXPECT_EQ(std::count_if(wide.begin(), wide.end(), [](const TCurvePoint& p) { return p.X <= 176.0f; }), 39);
}

TEST_F(ForceCurveDataTest, TheAverageSourceDrawsElementZero)
{
    TTraining one = CurveTraining(1);
    one.Curves[1].Samples[0] = 77;
    ComputeAverageStroke(one);
    one.Header.CurveSource = 1;
    EXPECT_EQ(Forces(ShownCurvePoints(one, Off)), Forces(one.Curves[1])) << "one stroke is its own average";

    TTraining many = CurveTraining(3);
    many.Curves[0].Samples[10] = 999;
    many.Header.CurveSource = 1;
    many.Header.CurveIndex = 9;
    EXPECT_EQ(ShownCurvePoints(many, Off).at(10).Y, 999.0f) << "the average needs no stroke 9";
}

TEST_F(ForceCurveDataTest, NothingIsDrawnWithoutVisibleStrokesAndACurveIndex)
{
    TTraining training = CurveTraining(3);
    training.Spare2 = 1; // show all
    EXPECT_EQ(AllCurvePoints(training, Off).size(), 3u);
    training.Header.Visible = 0;
    EXPECT_TRUE(ShownCurvePoints(training, Off).empty());
    EXPECT_TRUE(AllCurvePoints(training, Off).empty());
    training.Header.Visible = 1;
    training.Header.CurveIndex = 0;
    training.Header.CurveSource = 1; // the average exists, but the index still rules
    EXPECT_TRUE(ShownCurvePoints(training, Off).empty());
    EXPECT_TRUE(AllCurvePoints(training, Off).empty());

    TTraining empty = CurveTraining(0);
    empty.Header.CurveSource = 1;
    EXPECT_TRUE(ShownCurvePoints(empty, Off).empty()) << "N = 0";
    empty.Strokes.clear();
    empty.Curves.clear();
    EXPECT_TRUE(ShownCurvePoints(empty, Off).empty());
}

TEST_F(ForceCurveDataTest, FixedForceAndFixedLengthRescaleThePoints)
{
    TTraining training = CurveTraining(1);
    const TSamples samples = SamplesOf(training.Curves[1]);
    const TCurvePoints strong = ShownCurvePoints(training, Scaling(true, false));
    EXPECT_NEAR(strong.at(35).Y, 550.0f, 1e-3f) << "the peak becomes the chosen force";
    EXPECT_NEAR(strong.at(0).Y, 38.0f * 550 / 308, 1e-3f);

    training.Strokes[1].StrokeLength = 75.0f; // stretched to 150 cm: position i takes i / 2
    const TCurvePoints longer = ShownCurvePoints(training, Scaling(false, true));
    for (size_t m = 0; m < 40; ++m) EXPECT_EQ(longer.at(2 * m).Y, samples[m]) << m;
    EXPECT_FLOAT_EQ(longer[1].Y, (samples[0] + samples[1]) / 2.0f);

    training.Strokes[1].StrokeLength = 0.0f; // factor 0: every point takes sample 1
    for (const TCurvePoint& point : ShownCurvePoints(training, Scaling(false, true))) EXPECT_EQ(point.Y, samples[0]);
    training.Strokes[1].PeakForce = 0.0f;
    for (const TCurvePoint& point : ShownCurvePoints(training, Scaling(true, false))) EXPECT_EQ(point.Y, 0.0f);
}

// 0..780 N as long as the curves fit; above, whole steps of 77 N up to the
// step that holds the largest sample. Forces that are no numbers are not held.
TEST(ForceAxis, ExtendsByWholeStepsToHoldTheHighestForce)
{
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<float, double> tops[] = {{0, 780},    {780, 780},   {780.5f, 857},    {857, 857},
                                             {1466, 1473}, {65535, 65537}, {1e30f, 65537}, {inf, 65537},
                                             {nan, 780},   {-inf, 780}};
    for (const auto& [highest, top] : tops) EXPECT_EQ(ForceAxisMaximum(highest), top) << highest;
    EXPECT_EQ(HighestForce({{1, 5}, {2, nan}, {3, 900}, {4, inf}, {5, 12}}), 900);
    EXPECT_EQ(HighestForce({{1, 5}}, 12), 12);
    EXPECT_EQ(HighestForce({}), 0);
}

TEST_F(ForceCurveDataTest, CaptionsOfEachSource)
{
    TTraining training = CurveTraining(1);
    EXPECT_EQ(TrainingCaption(training), "Piece") << "one stroke at curve 1";
    EXPECT_EQ(TrainingCaption(CurveTraining(3)), "Piece (1/3)");
    TTraining none = CurveTraining(0);
    none.Header.CurveIndex = 0;
    EXPECT_EQ(TrainingCaption(none), "Piece (0/0)");

    TTraining many = CurveTraining(120);
    many.Header.Title.Assign("caf\xe9");
    many.Header.CurveIndex = 120;
    EXPECT_EQ(TrainingCaption(many), "caf\xc3\xa9 (120/120)");
    many.Header.CurveSource = 1;
    EXPECT_EQ(TrainingCaption(many), "caf\xc3\xa9 [A] (120)");
    many.Header.CurveSource = 2;
    many.Header.CurveInterval = 2;
    EXPECT_EQ(TrainingCaption(many), "caf\xc3\xa9 [Int 3]");
    many.Header.CurveSource = 3;
    EXPECT_EQ(TrainingCaption(many), "");
}

TEST_F(ForceCurveDataTest, RowTextsOfTheShownStroke)
{
    TTraining training = CurveTraining(2);
    training.Header.CurveIndex = 2;
    std::vector<std::string> texts = CurveRowTexts(training, Off);
    ASSERT_EQ(texts.size(), StrokeColumns.size() + 2) << "the stroke values and the curve's shape";
    EXPECT_EQ(texts[1], "302");
    EXPECT_EQ(texts[4], "") << "column id 4 has no entry";
    EXPECT_EQ(Cell(texts, 15), "79");
    EXPECT_EQ(Cell(texts, 16), "55.8");

    training.Header.CurveIndex = 3; // beyond N: the texts of an all-zero stroke
    texts = CurveRowTexts(training, Off);
    EXPECT_EQ(texts[1], "0");
    EXPECT_EQ(Cell(texts, 16), "0.0");
}

TEST_F(ForceCurveDataTest, GridCaptionsMatchTheTrainingWindowsStrokeGrid)
{
    const std::vector<std::string> captions = CurveGridCaptions();
    ASSERT_EQ(captions.size(), StrokeColumns.size() + 2);
    EXPECT_EQ(captions.back(), "Peak share");
    EXPECT_EQ(captions[0], "Stroke");
    EXPECT_EQ(captions[4], "") << "the unassigned column id 4 is headed by nothing, like its cells";
    const TTraining training;
    for (size_t c = 0; c < StrokeColumns.size(); ++c)
        EXPECT_EQ(captions[c], GridColumnCaption(training, TGridKind::Strokes, static_cast<int>(c))) << c;
}

TEST_F(ForceCurveDataTest, RowTextsWithAnOptionOnAreOnlyTheFiveRescaledValues)
{
    TTraining training = CurveTraining(1);
    // The stroke values' cells; the curve's shape, which no option changes, follows them.
    const auto filled = [](const std::vector<std::string>& texts) {
        return std::count_if(texts.begin(), texts.begin() + static_cast<long>(StrokeColumns.size()),
                             [](const std::string& t) { return !t.empty(); });
    };
    std::vector<std::string> texts = CurveRowTexts(training, Scaling(true, false));
    EXPECT_EQ(filled(texts), 5);
    EXPECT_EQ(Cell(texts, 6), "142");
    EXPECT_EQ(Cell(texts, 10), "714") << "400 J x 550 / 308";
    EXPECT_EQ(Cell(texts, 14), "550");

    training.Strokes[1].StrokeLength = 75.0f;
    texts = CurveRowTexts(training, Scaling(false, true));
    EXPECT_EQ(filled(texts), 5);
    EXPECT_EQ(Cell(texts, 6), "150");
    EXPECT_EQ(Cell(texts, 10), "800");
    EXPECT_EQ(Cell(texts, 14), "308");
    EXPECT_EQ(Cell(texts, 15), "158") << "79.2 cm x 2";
    EXPECT_EQ(Cell(texts, 16), "105.6") << "the new position over the chosen length";

    training.Strokes[1].StrokeLength = 0.0f; // no division by zero: the factor is 0
    texts = CurveRowTexts(training, Scaling(false, true, 550, 0));
    EXPECT_EQ(Cell(texts, 10), "0");
    EXPECT_EQ(Cell(texts, 16), "0.0");
}

TEST_F(ForceCurveDataTest, AnIntervalSourceIsUsedByPointsRowAndExport)
{
    TTraining training = CurveTraining(3);
    SetIntervalCount(training, 2);
    TInterval& interval = training.Intervals[1];
    interval.Curve = TentCurve(2);
    interval.Stroke.StrokeLength = 101.0f;
    training.Header.CurveSource = 2;
    training.Header.CurveInterval = 1;
    EXPECT_EQ(Forces(ShownCurvePoints(training, Off)), Forces(interval.Curve));
    EXPECT_EQ(Cell(CurveRowTexts(training, Off), 6), "101");
    const TTraining record = ExportedStrokeTraining(training, Off);
    EXPECT_EQ(+record.Strokes[1].StrokeLength, 101.0f);
    EXPECT_EQ(Forces(record.Curves[1]), Forces(interval.Curve));
    EXPECT_EQ(TrainingCaption(training), "Piece [Int 2]");
}

TEST_F(ForceCurveDataTest, ExportIsAOneStrokeRecordOfTheShownCurve)
{
    TTraining training = CurveTraining(3);
    training.Header.CurveIndex = 2;
    training.Settings.Weight = 81;
    const TTraining record = ExportedStrokeTraining(training, Off);
    ASSERT_EQ(record.Strokes.size(), 2u);
    ASSERT_EQ(record.Curves.size(), 2u);
    EXPECT_EQ(+record.Settings.Weight, 81);
    EXPECT_EQ(+record.Strokes[1].Power, 302.0f);
    EXPECT_EQ(+record.Curves[1].Valid, 0);
    EXPECT_EQ(+record.Curves[0].Samples[35], 0) << "no average";
    EXPECT_EQ(record.Header.Title.Text(), "");

    training.Strokes[0].StrokeLength = 133.0f;
    training.Strokes[0].EnergyPerStroke = 321.0f;
    training.Header.CurveSource = 1;
    const TTraining average = ExportedStrokeTraining(training, Off);
    EXPECT_EQ(+average.Strokes[1].StrokeLength, 133.0f);
    EXPECT_EQ(+average.Strokes[1].EnergyPerStroke, 321.0f);
}

TEST_F(ForceCurveDataTest, ExportRescalesAndClearsTheOtherStrokeValues)
{
    TTraining training = CurveTraining(1);
    TTraining record = ExportedStrokeTraining(training, Scaling(true, false));
    EXPECT_EQ(+record.Curves[1].Samples[35], 550);
    EXPECT_EQ(+record.Strokes[1].Power, 0.0f);
    EXPECT_EQ(+record.Strokes[1].Number, 1);
    EXPECT_EQ(+record.Strokes[1].StrokeLength, 142.0f);
    EXPECT_NEAR(+record.Strokes[1].EnergyPerStroke, 400.0 * 550 / 308, 1e-3);

    training.Strokes[1].StrokeLength = 75.0f;
    record = ExportedStrokeTraining(training, Scaling(false, true));
    EXPECT_EQ(+record.Strokes[1].StrokeLength, 150.0f);
    EXPECT_FLOAT_EQ(+record.Strokes[1].EnergyPerStroke, 800.0f);
    EXPECT_EQ(+record.Strokes[1].PeakForce, 0.0f);
    EXPECT_EQ(+record.Curves[1].Samples[70], training.Curves[1].Samples[35]);
}

TEST_F(ForceCurveDataTest, TheSavedExportReadsBackAsTheSameStroke)
{
    TTraining training = CurveTraining(4);
    training.Header.CurveIndex = 3;
    training.Strokes[3].StrokeLength = 137.0f;
    TTempFolder temp;
    const std::string path = temp.File("out/curve.str");
    ASSERT_TRUE(SaveTrainingFile(path, ExportedStrokeTraining(training, Off), fkStroke));
    TTraining read, opened;
    ASSERT_TRUE(ReadStrokeFile(path, read));
    ASSERT_TRUE(OpenTrainingFile(path, opened, false));
    for (const TTraining* back : {&read, &opened}) {
        ASSERT_EQ(back->Strokes.size(), 2u);
        EXPECT_EQ(Forces(back->Curves[1]), Forces(training.Curves[3]));
        EXPECT_EQ(+back->Strokes[1].StrokeLength, 137.0f);
    }
}

TEST_F(ForceCurveDataTest, StepsPassOverCurvesThatAreNotValidButNotAtTheEnds)
{
    TTraining training = CurveTraining(10);
    training.Curves[5].Valid = 0;
    training.Curves[6].Valid = 0;
    std::vector<int> forth{1}, back{10};
    while (NextCurve(training)) forth.push_back(+training.Header.CurveIndex);
    while (PreviousCurve(training)) back.push_back(+training.Header.CurveIndex);
    EXPECT_EQ(forth, (std::vector<int>{1, 2, 3, 4, 7, 8, 9, 10}));
    EXPECT_EQ(back, (std::vector<int>{10, 9, 8, 7, 4, 3, 2, 1}));

    training.Curves[1].Valid = 0;
    training.Curves[10].Valid = 0;
    training.Header.CurveIndex = 9;
    EXPECT_TRUE(NextCurve(training));
    EXPECT_EQ(+training.Header.CurveIndex, 10);
    training.Header.CurveIndex = 4;
    EXPECT_TRUE(FirstCurve(training));
    EXPECT_EQ(+training.Header.CurveIndex, 1);
    EXPECT_TRUE(LastCurve(training));
    EXPECT_EQ(+training.Header.CurveIndex, 10);
    EXPECT_FALSE(LastCurve(training));

    EXPECT_FALSE(GoToCurve(training, 0));
    EXPECT_FALSE(GoToCurve(training, 11));
    EXPECT_TRUE(GoToCurve(training, 5)) << "to a curve that is not valid";
    EXPECT_EQ(+training.Header.CurveIndex, 5);
}

TEST_F(ForceCurveDataTest, StepsStayInsideTheArrays)
{
    TTraining empty = CurveTraining(0);
    empty.Header.CurveIndex = 0;
    for (auto step : {FirstCurve, PreviousCurve, NextCurve, LastCurve}) EXPECT_FALSE(step(empty));
    EXPECT_FALSE(GoToCurve(empty, 1));
    EXPECT_EQ(+empty.Header.CurveIndex, 0);

    TTraining training = CurveTraining(10);
    training.Curves.resize(8); // strokes 8..10 have no curve stored
    training.Header.CurveIndex = 7;
    EXPECT_TRUE(NextCurve(training));
    EXPECT_EQ(+training.Header.CurveIndex, 10);
    training.Header.CurveIndex = 2000000000; // a stored index far beyond the strokes
    EXPECT_TRUE(PreviousCurve(training));
    EXPECT_EQ(+training.Header.CurveIndex, 7);
    training.Header.CurveIndex = -2000000000;
    EXPECT_TRUE(NextCurve(training));
    EXPECT_EQ(+training.Header.CurveIndex, 1);
}

TEST_F(ForceCurveDataTest, DeletingACurveRecomputesTheAverageWithoutIt)
{
    TTraining training = CurveTraining(4);
    training.Strokes[2].StrokeLength = 140.0f;
    training.Strokes[3].StrokeLength = 170.0f;
    training.Strokes[4].StrokeLength = 150.0f;
    training.Header.CurveIndex = 3;
    DeleteShownCurve(training);
    EXPECT_EQ(+training.Curves[3].Valid, 0);
    EXPECT_EQ(+training.Header.CurveIndex, 2);
    EXPECT_FLOAT_EQ(+training.Strokes[0].StrokeLength, 145.0f);

    training.Header.CurveIndex = 1;
    DeleteShownCurve(training);
    EXPECT_EQ(+training.Header.CurveIndex, 2) << "the next valid curve after the first";
    training.Header.CurveIndex = 5;
    DeleteShownCurve(training); // nothing to withdraw
    EXPECT_EQ(+training.Header.CurveIndex, 5);
}

TEST_F(ForceCurveDataTest, BrowseStateOfStrokesAverageAndNoSelection)
{
    TTraining training = CurveTraining(120);
    training.Header.CurveIndex = 120;
    TBrowseState state = BrowseStateOf(&training);
    EXPECT_TRUE(state.CurvesEnabled && state.CurvesChecked && state.AverageEnabled && state.Back && state.Delete);
    EXPECT_FALSE(state.Forward || state.AverageChecked || state.IntervalsEnabled);
    EXPECT_EQ(state.ScrollMinimum, 1);
    EXPECT_EQ(state.ScrollPosition, 120);
    EXPECT_EQ(state.ScrollMaximum, 120);
    EXPECT_EQ(state.CurveNumber, 120);

    SetIntervalCount(training, 1);
    EXPECT_FALSE(BrowseStateOf(&training).IntervalsEnabled) << "the last index of one interval is 0";
    SetIntervalCount(training, 2);
    EXPECT_TRUE(BrowseStateOf(&training).IntervalsEnabled);

    training.Header.CurveSource = 1;
    state = BrowseStateOf(&training);
    EXPECT_TRUE(state.AverageChecked);
    EXPECT_FALSE(state.CurvesChecked || state.Back || state.Forward || state.Delete);
    EXPECT_EQ(state.ScrollMinimum + state.ScrollPosition + state.ScrollMaximum + state.CurveNumber, 0);

    TTraining one = CurveTraining(1);
    state = BrowseStateOf(&one);
    EXPECT_FALSE(state.AverageEnabled || state.Delete || state.Back || state.Forward) << "one stroke at curve 1";

    state = BrowseStateOf(nullptr);
    EXPECT_FALSE(state.CurvesEnabled || state.CurvesChecked || state.AverageEnabled || state.AverageChecked
                 || state.IntervalsEnabled || state.Back || state.Forward || state.Delete);
    EXPECT_EQ(state.ScrollMaximum + state.CurveNumber, 0);
}
