// Exports trainings with marlo-info and reads them back with readers that are
// not Marlo's own: the official FIT SDK for JavaScript (tests/fit), xmllint
// against a schema of TCX v2's element order and Python's XML parser
// (tests/tcx), and Python's csv module (tests/csv). scripts/install-deps.sh
// installs them; a reader that is missing fails its test.
//
// The test writes the training's facts as JSON, and each reader's script
// compares what it read with them and prints every difference. The facts, in
// SI units, null where the record holds no measurement:
//   strokes: number, seconds (from the start), time (seconds since 1970),
//            distance, power, rate, pulse, speed, split, strokeLength (m),
//            strokeDistance (m), driveTime (s), recoverTime (s), peakForce (N),
//            work (J), curve (80 newtons; null when not valid), driveCurve
//            (the curve's samples within the drive), and, where a
//            format's field cannot hold a value, "clamped": the field's name
//            and the value it must hold instead;
//   laps:    rest, strokes (how many);
//   title, and notes where a test expects the TCX activity's notes.
#include "DemoTraining.h"
#include "InfoRun.h"
#include "TestKit.h"
#include "ExportKit.h"
#include "untFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <cmath>
#include <ctime>
#include <limits>

using nlohmann::json;

namespace {

const std::string TestsDir = std::string(MARLO_SOURCE_DIR) + "/tests/";
const std::string FitReader = "node " + Quote(TestsDir + "fit/check-fit.mjs");
const std::string TcxReader = "python3 " + Quote(TestsDir + "tcx/check-tcx.py");
const std::string CsvReader = "python3 " + Quote(TestsDir + "csv/check-csv.py");
const std::string TcxValidator = "xmllint --noout --schema " + Quote(TestsDir + "tcx/TrainingCenterDatabase.xsd");

// The exports run in central European time, given as a rule so that no
// time-zone database is needed: the demo's 2026-06-14 07:30, in summer
// time, is 05:30 UTC.
const std::string Zone = std::string("TZ=") + CentralEurope;

const double DemoStart = UtcSeconds(2026, 6, 14, 5, 30);

json Measured(double value) { return std::isfinite(value) && value > 0 ? json(value) : json(); }

json CurveFacts(const TTraining& training, size_t index)
{
    if (index >= training.Curves.size() || !training.Curves[index].Valid) return nullptr;
    json samples = json::array();
    for (int k = 0; k < CurveSamples; ++k) samples.push_back(+training.Curves[index].Samples[k]);
    return samples;
}

// The samples a force list of the drive holds, as the CSV writes it.
json DriveCurveFacts(const TTraining& training, size_t index)
{
    json samples = CurveFacts(training, index);
    if (samples.is_null()) return samples;
    samples.erase(samples.begin() + DriveSamples(training, index), samples.end());
    return samples;
}

json StrokeFacts(const TTraining& training, size_t index)
{
    const TStroke& s = training.Strokes[index];
    return {{"number", index},
            {"seconds", +s.Time}, // a packed field goes in by value
            {"time", DemoStart + s.Time},
            {"distance", +s.Distance},
            {"power", Measured(s.Power)},
            {"rate", Measured(s.StrokeRate)},
            {"pulse", Measured(s.Pulse)},
            {"split", Measured(s.Split500)},
            {"speed", s.Split500 > 0 ? json(500.0 / s.Split500) : json()},
            {"strokeLength", Measured(s.StrokeLength / 100.0)},
            {"strokeDistance", Measured(s.DistancePerStroke / 100.0)},
            {"driveTime", Measured(s.DriveTime)},
            {"recoverTime", Measured(s.DriveTime * s.DriveRecoverRatio)},
            {"peakForce", Measured(s.PeakForce)},
            {"work", Measured(s.EnergyPerStroke)},
            {"curve", CurveFacts(training, index)},
            {"driveCurve", DriveCurveFacts(training, index)}};
}

json Lap(bool rest, size_t strokes) { return {{"rest", rest}, {"strokes", strokes}}; }

// Every stroke of the training, which is laid out in the given laps (one
// lap of all its strokes when none are given).
json TrainingFacts(const TTraining& training, json laps = nullptr)
{
    json strokes = json::array();
    for (size_t i = 1; i < training.Strokes.size(); ++i) strokes.push_back(StrokeFacts(training, i));
    if (laps.is_null()) laps = json::array({Lap(false, strokes.size())});
    return {{"title", training.Header.Title.Utf8()}, {"laps", laps}, {"strokes", strokes}};
}

// A training saved as a training file, for marlo-info to read.
struct TSavedTraining {
    explicit TSavedTraining(const TTraining& training) : Training(training), Path(Temp.File("training.stg"))
    {
        WriteBytes(Path, *TrainingFileBytes(training));
    }
    TTempFolder Temp;
    TTraining Training;
    std::string Path;
};

// The bundled sample as marlo-info reads it.
TTraining BundledSample()
{
    TTraining training;
    EXPECT_TRUE(OpenTrainingFile(MARLO_SAMPLE_PATH, training, false));
    return training;
}

// Exports the file with marlo-info; the path of the export, "" when it failed.
std::string Export(const TTempFolder& temp, const std::string& training, const std::string& format)
{
    const std::string path = temp.File("export." + format);
    const TRun run = RunCommand(Zone + " " + MARLO_INFO_PATH + " --export " + format + " --output " + Quote(path)
                                    + " " + Quote(training),
                                temp);
    EXPECT_EQ(run.ExitCode, 0) << "marlo-info --export " << format << ": " << run.Err;
    return run.ExitCode == 0 ? path : "";
}

// Runs a reader's script on the file against the facts.
TRun ReadBack(const std::string& reader, const std::string& file, const json& facts, const TTempFolder& temp)
{
    const std::string factsPath = temp.File("facts.json");
    WriteBytes(factsPath, facts.dump(1));
    return RunCommand(reader + " " + Quote(file) + " " + Quote(factsPath), temp);
}

// Exports the training in the format and has the reader read it back; for
// TCX, xmllint first validates the export against the schema. The export's
// bytes ("" when it failed).
std::string ExpectReadBack(const std::string& training, const std::string& format, const json& facts)
{
    TTempFolder temp;
    const std::string path = Export(temp, training, format);
    if (path.empty()) return "";
    if (format == "tcx") {
        const TRun valid = RunCommand(TcxValidator + " " + Quote(path), temp);
        EXPECT_EQ(valid.ExitCode, 0) << valid.Err << "(scripts/install-deps.sh installs xmllint)";
    }
    const std::string reader = format == "fit" ? FitReader : format == "tcx" ? TcxReader : CsvReader;
    const TRun read = ReadBack(reader, path, facts, temp);
    EXPECT_EQ(read.ExitCode, 0) << format << " read back by another reader:\n"
                                << read.Out << read.Err << "(scripts/install-deps.sh installs the readers)";
    return ReadBytes(path);
}

void ExpectReadBackInEveryFormat(const std::string& training, const json& facts)
{
    for (const char* format : {"fit", "tcx", "csv"}) ExpectReadBack(training, format, facts);
}

// An interval session of 30 strokes: interval 1 (strokes 1 to 10), four rest
// strokes (numbered 0), a pause of 20 s, and interval 2 (strokes 15 to 30).
TTraining IntervalSessionWithRest()
{
    TTraining training = MakeDemoTraining(30);
    training.Settings.SessionLimit = 4;
    for (size_t i = 1; i < training.Strokes.size(); ++i) {
        TStroke& s = training.Strokes[i];
        s.IntervalNumber = i <= 10 ? 1 : i <= 14 ? 0 : 2;
        if (i >= 15) s.Time += 20;
    }
    return training;
}
const json IntervalLaps = {Lap(false, 10), Lap(true, 4), Lap(true, 0), Lap(false, 16)};

TTraining WithoutPulse()
{
    TTraining training = MakeDemoTraining(12);
    for (TStroke& s : training.Strokes) s.Pulse = 0;
    return training;
}

// Strokes whose values lie beyond what some format's fields can hold.
TTraining OutOfRange()
{
    TTraining training = MakeDemoTraining(8);
    training.Strokes[2].Power = 1e9f;
    training.Curves[2].Samples[10] = 65535;
    training.Strokes[3].Power = -40;
    training.Strokes[4].StrokeRate = 1e6f;
    training.Strokes[5].Pulse = 300;
    training.Strokes[6].Pulse = 0;
    training.Strokes[7].Distance = 5e7f;
    training.Strokes[8].Pulse = std::numeric_limits<float>::quiet_NaN();
    return training;
}

} // namespace

TEST(ExportReadBack, BundledSampleStrokeByStroke)
{
    const TTraining sample = BundledSample();
    ASSERT_EQ(sample.Strokes.size(), 217u);
    ASSERT_FALSE(sample.Curves[5].Valid);
    ASSERT_FALSE(sample.Curves[6].Valid);
    json facts = TrainingFacts(sample);
    facts["notes"] = "2000 m test\nCalm water, cool morning";
    ExpectReadBackInEveryFormat(MARLO_SAMPLE_PATH, facts);
}

// Laps of work and rest in FIT and TCX, where a rest lap without strokes has
// no track; the CSV numbers the laps that hold strokes.
TEST(ExportReadBack, IntervalSessionWithRest)
{
    const TSavedTraining saved(IntervalSessionWithRest());
    ExpectReadBackInEveryFormat(saved.Path, TrainingFacts(saved.Training, IntervalLaps));
}

// No heart rate in FIT and TCX at all, not even 0; the CSV's column holds 0.
TEST(ExportReadBack, NoHeartRateAnywhereWithoutAPulse)
{
    const TSavedTraining saved(WithoutPulse());
    ExpectReadBackInEveryFormat(saved.Path, TrainingFacts(saved.Training));
}

TEST(ExportReadBack, OneStroke)
{
    const TSavedTraining saved(MakeDemoTraining(1));
    ExpectReadBackInEveryFormat(saved.Path, TrainingFacts(saved.Training));
}

// Each field holds the nearest value it can, one below its "no value" mark
// at the top, 0 at the bottom; wrapped around, 1e9 W would read as 51712 W.
TEST(ExportReadBackAsFit, ValuesBeyondAFieldsRangeAreClampedNotWrapped)
{
    const TSavedTraining saved(OutOfRange());
    json facts = TrainingFacts(saved.Training);
    json& strokes = facts["strokes"];
    json curve = strokes[1]["curve"];
    curve[10] = 6553.4; // 65535 N in tenths of a newton
    strokes[1]["clamped"] = {{"power", 65534}, {"HandleForceCurve", curve}};
    strokes[2]["clamped"] = {{"power", 0}};
    strokes[3]["clamped"] = {{"cadence", 254}, {"StrokeRate", 655.34}};
    strokes[4]["clamped"] = {{"heartRate", 254}};
    strokes[6]["clamped"] = {{"distance", 42949672.94}};
    ExpectReadBack(saved.Path, "fit", facts);
}

// A pulse below half a beat a minute is still a pulse: it is written as the
// lowest heart rate, 1, as TCX writes it, not rounded to a heart rate of 0.
TEST(ExportReadBackAsFit, PulseBelowHalfABeatIsNoHeartRateOfZero)
{
    TTraining training = MakeDemoTraining(3);
    training.Strokes[2].Pulse = 0.3f;
    const TSavedTraining saved(training);
    json facts = TrainingFacts(saved.Training);
    facts["strokes"][1]["clamped"] = {{"heartRate", 1}};
    ExpectReadBack(saved.Path, "fit", facts);
}

// A FIT string holds 254 bytes of UTF-8 and its end: a longer title is cut
// before the character that would not fit whole.
TEST(ExportReadBackAsFit, LongNonAsciiTitleIsCutAtAWholeCharacter)
{
    TTraining training = MakeDemoTraining(3);
    std::string title = "a";
    for (int i = 0; i < 254; ++i) title += "\xc3\xa9";
    AssignText(training.Header.Title, title);
    ASSERT_EQ(training.Header.Title.Utf8(), title);
    const TSavedTraining saved(training);
    json facts = TrainingFacts(saved.Training);
    const std::string cut = title.substr(0, 1 + 126 * 2);
    facts["title"] = cut;
    const std::string bytes = ExpectReadBack(saved.Path, "fit", facts);
    // The SDK drops bytes that are not UTF-8, so the cut is checked in the bytes too.
    EXPECT_NE(bytes.find(cut + '\0'), std::string::npos);
}

// The schema's types bound heart rates to 1..255, cadences to 0..254 and
// watts to 0..65535; the export stays within them.
TEST(ExportReadBackAsTcx, ValuesBeyondTheSchemasRangesAreClamped)
{
    const TSavedTraining saved(OutOfRange());
    json facts = TrainingFacts(saved.Training);
    json& strokes = facts["strokes"];
    strokes[1]["clamped"] = {{"Watts", 65535}};
    strokes[3]["clamped"] = {{"Cadence", 254}};
    strokes[4]["clamped"] = {{"HeartRateBpm", 255}};
    ExpectReadBack(saved.Path, "tcx", facts);
}

// Titles are kept in the Windows code page: what is not ASCII becomes UTF-8
// in the notes, and control characters, which XML cannot hold, are left out.
TEST(ExportReadBackAsTcx, NonAsciiTitleAndControlCharactersInTheNotes)
{
    const std::string nonAscii = "\xc3\x86r\xc3\xb8 \xe2\x80\x93 2 \xc3\x97 500 m \xe2\x82\xac"; // "Ærø – 2 × 500 m €"
    const struct {
        std::string Title, Notes;
    } cases[] = {{nonAscii, nonAscii}, {"Row\x01\x02 one\x1f & <two>", "Row one & <two>"}};
    for (const auto& c : cases) {
        TTraining training = MakeDemoTraining(3);
        AssignText(training.Header.Title, c.Title);
        training.Header.Note.Assign("");
        const TSavedTraining saved(training);
        json facts = TrainingFacts(saved.Training);
        facts["notes"] = c.Notes;
        ExpectReadBack(saved.Path, "tcx", facts);
    }
}
