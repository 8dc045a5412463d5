#include "DemoTraining.h"
#include "InfoRun.h"
#include "StgBuilder.h"
#include "TestKit.h"
#include "untFiles.h"
#include "untSplits.h"
#include "untTrainingGrids.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
#include <algorithm>
#include <limits>

using nlohmann::json;

TEST(MarloInfo, SummaryOfTheBundledSample)
{
    TTempFolder temp;
    const TRun run = RunInfo(Quote(MARLO_SAMPLE_PATH), temp);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_NE(run.Out.find("Title           2000 m test\n"), std::string::npos);
    EXPECT_NE(run.Out.find("File type       Training (STG)\n"), std::string::npos);
    EXPECT_NE(run.Out.find("Total distance  2000\n"), std::string::npos);
}

TEST(MarloInfo, JsonHoldsTheWholeRecord)
{
    TTempFolder temp;
    TTraining training = MakeDemoTraining(5);
    training.Header.Note.Assign("caf\xe9");
    training.Strokes[2].Power = 0.1f;
    training.ExtraEntries = {{0, 0}, {4, 2}};
    const std::string path = temp.File("t.stg");
    WriteBytes(path, *TrainingFileBytes(training));

    const TRun run = RunInfo("--json " + Quote(path), temp);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const json report = json::parse(run.Out);
    EXPECT_EQ(report["file"], path);
    EXPECT_EQ(report["ok"], true);
    EXPECT_EQ(report["messages"], json::array());
    const json& t = report["training"];
    EXPECT_EQ(t["Magic"], "MIL ");
    EXPECT_EQ(t["Version"], "1.0.0.0");
    EXPECT_EQ(t["header"]["Note"], "caf\xc3\xa9");
    EXPECT_EQ(t["header"]["FileName"], path);
    EXPECT_EQ(t["header"]["TrainingID"], training.Header.TrainingID.ToString());
    EXPECT_EQ(t["header"].size(), 28u);
    EXPECT_EQ(t["settings"].size(), 26u);
    EXPECT_EQ(t["settings"]["LimitDistance"], 2000);
    ASSERT_EQ(t["strokes"].size(), 6u);
    EXPECT_EQ(t["strokes"][2].size(), 23u);
    EXPECT_EQ(t["strokes"][2]["Number"], 2);
    // Singles print with the fewest digits that read back to the same value.
    EXPECT_EQ(t["strokes"][2]["Power"].dump(), "0.1");
    EXPECT_EQ(t["strokes"][3]["Time"].get<float>(), +training.Strokes[3].Time);
    ASSERT_EQ(t["curves"][1]["Samples"].size(), 80u);
    EXPECT_EQ(t["curves"][1]["Samples"][20], +training.Curves[1].Samples[20]);
    EXPECT_EQ(t["intervals"][0]["Stroke"]["Number"], +training.Intervals[0].Stroke.Number);
    EXPECT_EQ(t["intervals"][0]["Curve"]["Valid"], 1);
    EXPECT_EQ(t["extra"], json::parse("[[0,0],[4,2]]"));
    EXPECT_EQ(t["totals"]["TotalTime"].get<float>(), +training.Totals.TotalTime);
}

TEST(MarloInfo, UnreadableFileReportsMessagesAndAnEmptyRecord)
{
    TTempFolder temp;
    const std::string path = temp.File("bad.stg");
    WriteBytes(path, "MIL \x01\x00\x00\x00\x03\x54\x00\x02\x00\x00\x00xx");
    const TRun summary = RunInfo(Quote(path), temp);
    EXPECT_EQ(summary.ExitCode, 1);
    EXPECT_EQ(summary.Out, "");
    EXPECT_EQ(summary.Err, "Error reading file \"" + path + "\"\n");

    const TRun run = RunInfo("--json " + Quote(path), temp);
    EXPECT_EQ(run.ExitCode, 1);
    const json report = json::parse(run.Out);
    EXPECT_EQ(report["ok"], false);
    EXPECT_EQ(report["messages"], json::array({"Error reading file \"" + path + "\""}));
    EXPECT_EQ(report["training"]["strokes"].size(), 1u);
    EXPECT_EQ(report["training"]["Magic"], std::string(4, '\0'));
    EXPECT_EQ(report["training"]["header"]["Title"], "");
}

// A file's name is bytes. In the JSON those that are not UTF-8 become U+FFFD,
// so that the document stays valid whether the file was read or not; the
// summary and standard error keep the name's own bytes.
TEST(MarloInfo, JsonOfAFileNameThatIsNotUtf8)
{
    TTempFolder temp;
    const std::string bytes = "\xe9\xff", replaced = "\xef\xbf\xbd\xef\xbf\xbd";
    const std::string path = temp.File(bytes + ".stg");
    WriteBytes(path, ReadBytes(MARLO_SAMPLE_PATH));
    const TRun read = RunInfo("--json " + Quote(path), temp);
    ASSERT_EQ(read.ExitCode, 0) << read.Err;
    const json report = json::parse(read.Out);
    EXPECT_EQ(report["file"], temp.File(replaced + ".stg"));
    EXPECT_EQ(report["ok"], true);
    EXPECT_EQ(report["training"]["strokes"].size(), 217u);
    EXPECT_EQ(RunInfo(Quote(path), temp).Out.rfind("File            " + path + "\n", 0), 0u);

    const std::string missing = temp.File(bytes + "gone.stg");
    const TRun notRead = RunInfo("--json " + Quote(missing), temp);
    EXPECT_EQ(notRead.ExitCode, 1);
    EXPECT_EQ(notRead.Err, "File \"" + missing + "\" not found\n");
    const json failed = json::parse(notRead.Out);
    EXPECT_EQ(failed["file"], temp.File(replaced + "gone.stg"));
    EXPECT_EQ(failed["messages"], json::array({"File \"" + temp.File(replaced + "gone.stg") + "\" not found"}));
}

TEST(MarloInfo, MessagesWithLineBreaksTakeOneLine)
{
    TTempFolder temp;
    const std::string pipe = temp.File("pipe.stg");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const TRun run = RunInfo(Quote(pipe), temp);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err.rfind("Error reading/writing file \"" + pipe + "\". Error message : Not a regular file (5)  The drive", 0), 0u);
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 2);
}

TEST(MarloInfo, UsageErrors)
{
    TTempFolder temp;
    EXPECT_EQ(RunInfo("", temp).ExitCode, 2);
    const TRun unknown = RunInfo("--frobnicate x.stg", temp);
    EXPECT_EQ(unknown.ExitCode, 2);
    EXPECT_NE(unknown.Err.find("Usage: marlo-info"), std::string::npos);
    EXPECT_EQ(RunInfo("a.stg b.stg", temp).ExitCode, 2);
    const TRun help = RunInfo("--help", temp);
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_EQ(help.Out.rfind("Usage: marlo-info", 0), 0u);
    const TRun version = RunInfo("--version x.stg", temp);
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Out.rfind("marlo-info (Marlo) " + FileVersion() + "\n", 0), 0u) << version.Out;
    EXPECT_EQ(RunInfo("-- --version", temp).ExitCode, 1) << "after --, the name of a file";
}

// "--" ends the options, so that a file whose name starts with "-" can be
// read; without it such a name is an unknown option.
TEST(MarloInfo, TwoDashesEndTheOptions)
{
    TTempFolder temp;
    WriteBytes(temp.File("-x.stg"), ReadBytes(MARLO_SAMPLE_PATH));
    const std::string info = "cd " + Quote(temp.Path()) + " && " + MARLO_INFO_PATH + " ";
    const TRun asOption = RunCommand(info + "-x.stg", temp);
    EXPECT_EQ(asOption.ExitCode, 2);
    EXPECT_EQ(asOption.Err.rfind("marlo-info: unknown option -x.stg\n", 0), 0u) << asOption.Err;

    const TRun summary = RunCommand(info + "-- -x.stg", temp);
    EXPECT_EQ(summary.ExitCode, 0) << summary.Err;
    EXPECT_EQ(summary.Out.rfind("File            -x.stg\nTitle           2000 m test\n", 0), 0u) << summary.Out;
    const TRun report = RunCommand(info + "--json -- -x.stg", temp);
    ASSERT_EQ(report.ExitCode, 0) << report.Err;
    EXPECT_EQ(json::parse(report.Out)["file"], "-x.stg");
    EXPECT_EQ(RunCommand(info + "--csv strokes -- -x.stg", temp).Out, RunCommand(info + "--csv strokes ./-x.stg", temp).Out);

    // After "--" an option's name is a file's.
    const TRun notAnOption = RunCommand(info + "-- --json", temp);
    EXPECT_EQ(notAnOption.ExitCode, 1);
    EXPECT_EQ(notAnOption.Err, "File \"--json\" not found\n");
    EXPECT_EQ(RunCommand(info + "-- -x.stg -x.stg", temp).ExitCode, 2);
    EXPECT_EQ(RunCommand(info + "--", temp).ExitCode, 2);
}

// The 31 bytes of a training that holds nothing but totals, NaN and infinite:
// every text a person reads shows "-" for them, the JSON's record null.
TEST(MarloInfo, TotalsThatAreNoNumbersShowADash)
{
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    const TTotals totals = {nan, inf, -inf, -nan};
    TStgBuilder file;
    file.Block(6, sizeof totals, 1).Record(totals);
    ASSERT_EQ(file.Bytes.size(), 31u);
    TTempFolder temp;
    const std::string path = temp.File("totals.stg");
    WriteBytes(path, file.Bytes);

    const TRun summary = RunInfo(Quote(path), temp);
    ASSERT_EQ(summary.ExitCode, 0) << summary.Err;
    for (const char* line : {"\nTotal distance  -\n", "\nTotal time      -\n", "\nTotal energy    -\n",
                             "\nAverage power   -\n", "\n  Distance      -\n", "\n  Time          -\n",
                             "\n  Energy        -\n", "\n  Power         -\n", "\n  500m time     -\n"})
        EXPECT_NE(summary.Out.find(line), std::string::npos) << line << summary.Out;
    for (const char* shown : {"nan", "inf", "m:s", "kJ"}) EXPECT_EQ(summary.Out.find(shown), std::string::npos) << shown;

    const TRun report = RunInfo("--json " + Quote(path), temp);
    ASSERT_EQ(report.ExitCode, 0) << report.Err;
    const json document = json::parse(report.Out);
    for (const char* total : {"TotalDistance", "TotalTime", "TotalEnergy", "AveragePower"})
        EXPECT_TRUE(document["training"]["totals"][total].is_null()) << total;
    EXPECT_EQ(document["values"]["totals"], json::parse(R"(["-", "-", "-", "-", "0", "-", "0.0 /min"])"));
}

TEST(MarloInfo, AnOutputThatCannotBeWrittenIsAFailure)
{
    TTempFolder temp;
    for (const char* mode : {"", "--json ", "--csv strokes "}) {
        const TRun run = RunInfo(std::string(mode) + Quote(MARLO_SAMPLE_PATH) + " >/dev/full", temp);
        EXPECT_EQ(run.ExitCode, 3) << mode;
        EXPECT_EQ(run.Err, "marlo-info: the output could not be written\n") << mode;
    }
    // Nothing to write for an unreadable file but its messages.
    EXPECT_EQ(RunInfo(Quote(temp.File("missing.stg")) + " >/dev/full", temp).ExitCode, 1);
}

TEST(BundledSample, IsTheDemoTrainingWrittenAgain)
{
    // The sample is made by make-sample; a change to the writer or the demo
    // shows here first. Regenerate with: make-sample samples/default.stg
    EXPECT_EQ(ReadBytes(MARLO_SAMPLE_PATH), *TrainingFileBytes(MakeDemoTraining(65535, 2000)));
}

namespace {

// Splits CSV text made of unquoted cells into rows of cells.
std::vector<std::vector<std::string>> PlainCsvRows(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        std::vector<std::string> cells;
        const std::string line = text.substr(start, end - start);
        for (size_t from = 0;;) {
            const size_t comma = line.find(',', from);
            cells.push_back(line.substr(from, comma - from));
            if (comma == std::string::npos) break;
            from = comma + 1;
        }
        rows.push_back(cells);
    }
    return rows;
}

std::string WriteDemo(const TTempFolder& temp, const TTraining& training)
{
    const std::string path = temp.File("demo.stg");
    WriteBytes(path, *TrainingFileBytes(training));
    return path;
}

} // namespace

TEST(MarloInfo, CsvOfTheStrokeDataGrid)
{
    TTempFolder temp;
    const TTraining training = MakeDemoTraining(5);
    const TRun run = RunInfo("--csv strokes " + Quote(WriteDemo(temp, training)), temp);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const auto rows = PlainCsvRows(run.Out);
    ASSERT_EQ(rows.size(), 6u);
    for (const auto& row : rows) EXPECT_EQ(row.size(), 27u);
    EXPECT_EQ(rows[0][0], "#");
    EXPECT_EQ(rows[0][1], "Stroke");
    EXPECT_EQ(rows[0][2], "Power (W)");
    EXPECT_EQ(rows[0][5], "") << "column id 4 has no entry";
    EXPECT_EQ(rows[0][26], "Interval power (W)");
    EXPECT_EQ(rows[3][0], "3");
    EXPECT_EQ(rows[3][5], "");
    EXPECT_EQ(rows[3][2], std::to_string(static_cast<int>(std::nearbyint(+training.Strokes[3].Power))));
}

TEST(MarloInfo, CsvOfTheForceCurveAndIntervalGrids)
{
    TTempFolder temp;
    TTraining training = MakeDemoTraining(150);
    training.Settings.Sprocket = 1;
    training.Settings.Ergometer = 1;
    const std::string path = WriteDemo(temp, training);

    const auto curves = PlainCsvRows(RunInfo("--csv curves " + Quote(path), temp).Out);
    ASSERT_EQ(curves.size(), 151u);
    ASSERT_EQ(curves[0].size(), 84u);
    EXPECT_EQ(curves[0][82], "Fullness");
    EXPECT_EQ(curves[0][1], "Used");
    EXPECT_EQ(curves[0][2], "2.2");
    EXPECT_EQ(curves[0][81], "176.0");
    EXPECT_EQ(curves[7][1], +training.Curves[7].Valid ? "+" : "");
    EXPECT_EQ(curves[7][40], std::to_string(+training.Curves[7].Samples[38]));

    const auto intervals = PlainCsvRows(RunInfo("--csv intervals " + Quote(path), temp).Out);
    ASSERT_EQ(intervals.size(), training.Intervals.size() + 1);
    EXPECT_EQ(intervals[0][1], "Interval number");
    EXPECT_EQ(intervals[0][2], "Power (W)");
    EXPECT_EQ(intervals[0].size(), 23u);
    EXPECT_EQ(intervals[1][8], std::to_string(+training.Intervals[0].Stroke.Number));
}

TEST(MarloInfo, CsvOfATrainingWithoutIntervalsIsItsHeader)
{
    TTempFolder temp;
    TTraining training = MakeDemoTraining(3);
    training.Intervals.clear();
    const TRun run = RunInfo("--csv intervals " + Quote(WriteDemo(temp, training)), temp);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(PlainCsvRows(run.Out).size(), 1u);
}

TEST(MarloInfo, CsvOfTheSplitsAsTheWindowSplits)
{
    TTempFolder temp;
    const TTraining training = MakeDemoTraining(400, 2000);
    const std::string path = Quote(WriteDemo(temp, training));
    const auto byDefault = PlainCsvRows(RunInfo("--csv splits " + path, temp).Out);
    EXPECT_EQ(PlainCsvRows(RunInfo("--csv splits --split distance:500 " + path, temp).Out), byDefault);
    const auto splits = ComputeSplits(training, {TSplitKind::Distance, 500});
    ASSERT_EQ(byDefault.size(), splits.size() + 1);
    ASSERT_EQ(byDefault[0].size(), 22u);
    EXPECT_EQ(byDefault[0][4], "Distance split (m)");
    for (size_t row = 0; row < splits.size(); ++row)
        for (int column = 0; column < 21; ++column)
            EXPECT_EQ(byDefault[row + 1][column + 1], SplitCellText(splits, static_cast<int>(row), column));

    EXPECT_EQ(PlainCsvRows(RunInfo("--csv splits --split strokes:100 " + path, temp).Out).size(),
              1 + (training.Strokes.size() - 1 + 99) / 100);
    const auto minutes = PlainCsvRows(RunInfo("--split time:60 --csv splits " + path, temp).Out);
    EXPECT_EQ(minutes.size(), ComputeSplits(training, {TSplitKind::Time, 60}).size() + 1);
    EXPECT_EQ(PlainCsvRows(RunInfo("--csv splits --split distance:0 " + path, temp).Out).size(), 1u)
        << "a size of 0 gives the header alone";
}

TEST(MarloInfo, CsvUsageAndReadErrors)
{
    TTempFolder temp;
    EXPECT_EQ(RunInfo("--csv laps x.stg", temp).ExitCode, 2);
    EXPECT_EQ(RunInfo("x.stg --csv", temp).ExitCode, 2);
    for (const char* split : {"--split", "--split distance", "--split laps:5", "--split time:-1", "--split strokes:x"})
        EXPECT_EQ(RunInfo(std::string("--csv splits x.stg ") + split, temp).ExitCode, 2) << split;
    EXPECT_EQ(RunInfo("--csv strokes --split strokes:10 x.stg", temp).ExitCode, 2) << "--split only with splits";
    EXPECT_EQ(RunInfo("--json --csv strokes x.stg", temp).ExitCode, 2);
    const TRun missing = RunInfo("--csv strokes " + Quote(temp.File("none.stg")), temp);
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_EQ(missing.Out, "");
}

TEST(MarloInfo, JsonHoldsTheShownValues)
{
    TTempFolder temp;
    const TTraining training = MakeDemoTraining(7);
    const TRun run = RunInfo("--json " + Quote(WriteDemo(temp, training)), temp);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const json values = json::parse(run.Out)["values"];
    ASSERT_EQ(values["totals"].size(), 7u);
    EXPECT_EQ(values["totals"][0].get<std::string>().substr(values["totals"][0].get<std::string>().size() - 2), " m");
    EXPECT_TRUE(values["dr_ratio"].is_string());
    ASSERT_EQ(values["strokes"].size(), 7u);
    for (const json& stroke : values["strokes"]) EXPECT_EQ(stroke.size(), 42u);
    EXPECT_EQ(values["strokes"][6][0], "   7");
    ASSERT_EQ(values["intervals"].size(), training.Intervals.size());
    for (const json& interval : values["intervals"]) EXPECT_EQ(interval.size(), 22u);
}

TEST(MarloInfo, SummaryShowsTotalsAveragesAndIntervals)
{
    TTempFolder temp;
    const TRun run = RunInfo(Quote(MARLO_SAMPLE_PATH), temp);
    ASSERT_EQ(run.ExitCode, 0);
    EXPECT_NE(run.Out.find("\nTotals\n  Distance      2000 m\n"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("\n  Strokes       216\nAverages\n"), std::string::npos);
    EXPECT_NE(run.Out.find("\n  DR ratio      "), std::string::npos);
    EXPECT_NE(run.Out.find("\nIntervals\n  #  "), std::string::npos);
    EXPECT_NE(run.Out.find("\n  Drive : Recover ratio  "), std::string::npos);
}
