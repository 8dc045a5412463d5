// The exports: laps, stroke times and the start in UTC, what the formats
// refuse, the FIT file's frame and CRCs, texts that stay whole and valid, and
// a failed write that leaves the old file as it was.
#include "untExport.h"

#include "DemoTraining.h"
#include "ImportKit.h"
#include "TestKit.h"
#include "jsUtils.h"
#include "untFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <limits>
#include <optional>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Strokes ending at the given seconds, each lasting 2 s (0.8 s drive).
TTraining StrokesAt(const std::vector<float>& times, const std::vector<uint16_t>& intervals = {})
{
    TTraining training = MakeDemoTraining(static_cast<int>(times.size()));
    for (size_t i = 0; i < times.size(); ++i) {
        TStroke& stroke = training.Strokes[i + 1];
        stroke.Time = times[i];
        stroke.DriveTime = 0.8f;
        stroke.DriveRecoverRatio = 1.5f;
        stroke.IntervalNumber = intervals.empty() ? 1 : intervals[i];
    }
    training.Settings.SessionLimit = intervals.empty() ? 2 : 4;
    if (training.Intervals.empty()) training.Intervals.resize(1);
    return training;
}

std::string Spans(const std::vector<TExportLap>& laps)
{
    std::string text;
    for (const TExportLap& lap : laps) {
        char piece[80];
        std::snprintf(piece, sizeof piece, "%s%s %g-%g", text.empty() ? "" : ", ", lap.Rest ? "rest" : "work",
                      lap.StartSeconds, lap.EndSeconds);
        text += piece;
        if (lap.HasStrokes()) text += " #" + std::to_string(lap.First) + "-" + std::to_string(lap.Last);
    }
    return text;
}

// The FIT CRC, worked out bit by bit as the format defines it (the writer
// takes it from a table).
uint16_t BitwiseFitCrc(const std::string& bytes)
{
    uint16_t crc = 0;
    for (const unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
    }
    return crc;
}

uint32_t LittleEndian(const std::string& bytes, size_t at, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

int FilesIn(const std::string& folder)
{
    int count = 0;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) count += entry->d_name[0] != '.';
        closedir(dir);
    }
    return count;
}

} // namespace

TEST(ExportLaps, AnIntervalSessionHasAWorkLapPerIntervalAndARestLapPerPause)
{
    // Interval 1 ends at 10 s; interval 2 begins at 70 s, after a pause of a
    // minute; interval 3 follows at once; strokes of interval 0 are rest.
    const TTraining training = StrokesAt({2, 4, 6, 8, 10, 72, 74, 76, 78, 80, 82, 84, 86, 88},
                                         {1, 1, 1, 1, 1, 2, 2, 2, 3, 3, 3, 0, 0, 0});
    EXPECT_EQ(Spans(ExportLaps(training)),
              "work 0-10 #1-5, rest 10-70, work 70-76 #6-8, work 76-82 #9-11, rest 82-88 #12-14");

    // A pause just short of the rest pause stays within the interval's lap.
    const TTraining shortPause = StrokesAt({2, 4, 15.9f, 18}, {1, 1, 2, 2});
    EXPECT_EQ(Spans(ExportLaps(shortPause)), "work 0-4 #1-2, work 4-18 #3-4");

    // Another session is one lap, whatever its interval numbers say.
    TTraining distance = StrokesAt({2, 4, 70, 72});
    EXPECT_EQ(Spans(ExportLaps(distance)), "work 0-72 #1-4");
    EXPECT_EQ(Spans(ExportLaps(StrokesAt({2.5f}))), "work 0-2.5 #1-1") << "one stroke";
    distance.Strokes.resize(1);
    EXPECT_TRUE(ExportLaps(distance).empty());
}

TEST(ExportLaps, StrokeTimesNeverRunBackwardsWrapOrLeaveTheirRange)
{
    const TTraining training = StrokesAt({2, std::nanf(""), 1, -5, 1e12f, 7, std::numeric_limits<float>::infinity()});
    EXPECT_EQ(StrokeSeconds(training),
              (std::vector<double>{0, 2, 2, 2, 2, MaxStrokeSeconds, MaxStrokeSeconds, MaxStrokeSeconds}));
}

TEST(ExportStart, TheRecordingTimeIsLocalTimeOnThisMachine)
{
    TTraining training = StrokesAt({30, 60, 90, 120});
    const TZoneScope zone(CentralEurope);
    // An hour ahead of UTC in winter, two in summer.
    training.Header.DateTime = EncodeDateTime(2026, 1, 10, 9, 15, 30, 250);
    EXPECT_EQ(TrainingStartUtc(training), UtcSeconds(2026, 1, 10, 8, 15, 30) + 0.25);
    training.Header.DateTime = EncodeDateTime(2026, 7, 10, 9, 15, 30);
    EXPECT_EQ(TrainingStartUtc(training), UtcSeconds(2026, 7, 10, 7, 15, 30));

    // Rowed across the change to summer time at 02:00: the strokes' times
    // run on without the hour the clocks skip.
    training.Header.DateTime = EncodeDateTime(2026, 3, 29, 1, 59, 0);
    const std::string tcx = Exported(training, TExportFormat::Tcx);
    for (const char* time : {"<Time>2026-03-29T00:59:30.000Z</Time>", "<Time>2026-03-29T01:00:00.000Z</Time>",
                             "<Time>2026-03-29T01:01:00.000Z</Time>"})
        EXPECT_NE(tcx.find(time), std::string::npos) << time;
    const std::string csv = Exported(training, TExportFormat::RowingCsv);
    EXPECT_NE(csv.find("\n" + std::to_string(static_cast<long long>(UtcSeconds(2026, 3, 29, 1, 0, 0))) + ".000,"),
              std::string::npos);

    training.Header.DateTime = std::nan("");
    EXPECT_EQ(TrainingStartUtc(training), std::nullopt);
}

TEST(ExportRefusal, EachFormatSaysWhatItCannotHold)
{
    const TZoneScope zone("UTC0");
    TTraining training = StrokesAt({2, 4});
    training.Header.DateTime = EncodeDateTime(1989, 12, 31);
    for (TExportFormat format : {TExportFormat::Fit, TExportFormat::Tcx, TExportFormat::RowingCsv})
        EXPECT_EQ(ExportRefusal(training, format), "") << ExportFormatName(format);

    training.Header.DateTime = EncodeDateTime(1989, 12, 30, 23, 59, 59);
    EXPECT_EQ(ExportRefusal(training, TExportFormat::Fit).rfind("A FIT file cannot hold a training recorded before", 0),
              0u);
    EXPECT_EQ(ExportRefusal(training, TExportFormat::Tcx), "") << "only FIT has an epoch";
    std::ostringstream out;
    EXPECT_NE(WriteExport(out, training, TExportFormat::Fit), "");
    EXPECT_TRUE(out.str().empty()) << "nothing is written, nothing wrapped";

    training.Header.DateTime = EncodeDateTime(2126, 2, 8);
    EXPECT_NE(ExportRefusal(training, TExportFormat::Fit), "");

    training.Header.DateTime = EncodeDateTime(2020, 1, 1);
    training.Strokes.resize(1);
    EXPECT_EQ(ExportRefusal(training, TExportFormat::RowingCsv),
              "The training holds no strokes, so there is nothing to export.");
}

TEST(FitExport, TheHeaderAndBothCrcsAreRight)
{
    const std::string fit = Exported(MakeDemoTraining(300), TExportFormat::Fit);
    ASSERT_GT(fit.size(), 16u);
    EXPECT_EQ(static_cast<unsigned char>(fit[0]), 14);
    EXPECT_EQ(static_cast<unsigned char>(fit[1]), 0x20) << "protocol 2.0, for the developer fields";
    EXPECT_EQ(fit.substr(8, 4), ".FIT");
    EXPECT_EQ(LittleEndian(fit, 4, 4), fit.size() - 16) << "the data between header and CRC";
    EXPECT_EQ(LittleEndian(fit, 12, 2), BitwiseFitCrc(fit.substr(0, 12)));
    EXPECT_EQ(LittleEndian(fit, fit.size() - 2, 2), BitwiseFitCrc(fit.substr(0, fit.size() - 2)));
}

TEST(FitExport, TextsAreCutAtAWholeCharacter)
{
    TTraining training = MakeDemoTraining(3);
    // 200 e-acutes: 200 bytes in the record, 400 in UTF-8.
    std::string title;
    for (int i = 0; i < 200; ++i) title += "\xC3\xA9";
    AssignText(training.Header.Title, title);
    const std::string fit = Exported(training, TExportFormat::Fit);
    const size_t first = fit.find("\xC3\xA9");
    ASSERT_NE(first, std::string::npos);
    const size_t end = fit.find('\0', first);
    EXPECT_EQ(end - first, 254u) << "127 whole characters in the field's 254 bytes";
}

TEST(TcxExport, TextsAreEscapedAndWhatXmlCannotHoldIsLeftOut)
{
    TTraining training = MakeDemoTraining(3);
    AssignText(training.Header.Title, "Tom & Jerry's <2k> \"test\"\x01\x1F");
    AssignText(training.Header.Note, "Z\xC3\xBCrich");
    const std::string tcx = Exported(training, TExportFormat::Tcx);
    EXPECT_NE(tcx.find("<Notes>Tom &amp; Jerry's &lt;2k&gt; &quot;test&quot;\nZ\xC3\xBCrich</Notes>"),
              std::string::npos);
    EXPECT_EQ(tcx.find('\x01'), std::string::npos);
}

TEST(CsvExport, ColumnsAreTheConventionsAndARowPerStroke)
{
    TTraining training = MakeDemoTraining(12);
    training.Curves[4].Valid = 0;
    const std::string csv = Exported(training, TExportFormat::RowingCsv);
    std::istringstream lines(csv);
    std::string header, line;
    std::getline(lines, header);
    EXPECT_EQ(header,
              "TimeStamp (sec), Horizontal (meters), Cadence (stokes/min), HRCur (bpm), Stroke500mPace (sec/500m),"
              " Power (watts), DriveLength (meters), StrokeDistance (meters), DriveTime (ms), DragFactor,"
              " StrokeRecoveryTime (ms), AverageDriveForce (lbs), PeakDriveForce (lbs), lapIdx, ElapsedTime (sec),"
              " WorkPerStroke (joules), Stroke Number,Handle_Force_(N)");
    std::vector<std::string> rows;
    while (std::getline(lines, line)) rows.push_back(line);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[3].substr(rows[3].size() - 5), ",4,\"\"") << "stroke 4's curve is not valid";
    // The list spans the drive: the samples within the stroke's length.
    const int drive = static_cast<int>(training.Strokes[1].StrokeLength / CurveSpacing(training.Settings));
    ASSERT_LT(drive, CurveSamples);
    EXPECT_EQ(std::count(rows[0].begin(), rows[0].end(), ','), 17 + drive - 1);
    EXPECT_EQ(rows[0].substr(rows[0].rfind(',') + 1),
              std::to_string(training.Curves[1].Samples[drive - 1]) + "\"") << "the last sample of the drive";
}

TEST(ExportFile, AFailedWriteLeavesTheOldFileAsItWas)
{
    TMessageRecorder messages;
    TTempFolder folder;
    const std::string target = folder.File("piece.fit");
    WriteBytes(target, "the old file");
    const TTraining training = MakeDemoTraining(400);

    // A disk that fills up: the file may grow to 4 KiB only.
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(ExportTrainingFile(target, training, TExportFormat::Fit) ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << "the export reports its failure";
    EXPECT_EQ(ReadBytes(target), "the old file");
    EXPECT_EQ(FilesIn(folder.Path()), 1) << "no temporary file is left";

    // A folder that takes no new file (only where permissions bind).
    if (geteuid() != 0) {
        chmod(folder.Path().c_str(), 0555);
        EXPECT_FALSE(ExportTrainingFile(target, training, TExportFormat::Tcx));
        chmod(folder.Path().c_str(), 0755);
        EXPECT_EQ(ReadBytes(target), "the old file");
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_NE(messages.Texts()[0].find("could not be written"), std::string::npos);
    }

    // A complete export replaces it.
    EXPECT_TRUE(ExportTrainingFile(target, training, TExportFormat::Fit));
    EXPECT_EQ(ReadBytes(target).substr(8, 4), ".FIT");
    EXPECT_EQ(FilesIn(folder.Path()), 1);
}
