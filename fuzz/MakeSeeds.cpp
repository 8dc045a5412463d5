// Writes the starting corpus of every fuzz target into FOLDER/<target>/:
// small valid files of each kind made by the program's own writers and the
// tests' builders, and a few that take the readers' less common paths.
// make-seeds FOLDER
#include "DemoTraining.h"
#include "FitBuilder.h"
#include "LegacyBuilders.h"
#include "StgBuilder.h"
#include "untCharts.h"
#include "untExport.h"
#include "untFiles.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace {

using TSeeds = std::map<std::string, std::string>; // file name -> bytes

std::string Stg(const TTraining& training) { return *TrainingFileBytes(training); }

TSeeds TrainingSeeds()
{
    TStgBuilder unusual;
    unusual.Block(1, 100, 1).Record(THeader{}, 100);
    unusual.Block(2, 200, 0).Record(TUserSettings{}, 200);
    unusual.Block(3, 90, 3).Record(MakeStroke(3), 90).Record(MakeStroke(1), 90).Record(MakeStroke(7), 90);
    unusual.Block(4, 150, 2).Record(MakeCurve(5), 150).Record(MakeCurve(2), 150);
    unusual.Block(5, 300, 1).Record(TInterval{}, 300);
    unusual.Block(9, 10, 2).Raw("0123456789abcdefghij", 20);
    unusual.Block(7, 3, 2).Record(TExtraEntry{1, 5}).Record(TExtraEntry{2, 6});
    const std::string demo = Stg(MakeDemoTraining(12));
    return {{"demo.stg", demo},
            {"signature-only.stg", TStgBuilder().Bytes},
            {"unusual-sizes.stg", unusual.Bytes},
            {"cut-in-curves.stg", demo.substr(0, demo.size() * 3 / 4)}};
}

TSeeds SessionSeeds()
{
    TSessionImage session;
    session.StrokeCount = 3;
    session.Strokes = {LegacyStrokeBytes(1), LegacyStrokeBytes(2), LegacyStrokeBytes(9)};
    session.Pairs = {LegacyStrokeBytes(2) + LegacyCurveBytes(), LegacyStrokeBytes(1) + LegacyCurveBytes({200, 0})};
    session.IntervalCount = 2;
    session.Intervals = {LegacyIntervalBytes(1)};
    TSessionImage withoutTotals = session;
    withoutTotals.StrokeCount = 2;
    withoutTotals.Strokes.pop_back();
    return {{"three-strokes.ses", session.Bytes()}, {"totals-from-last-stroke.ses", withoutTotals.Bytes()}};
}

TSeeds StrokeSeeds() { return {{"demo.str", *StrokeFileBytes(MakeDemoTraining(3))}}; }

TSeeds UserSeeds()
{
    TLegacyUserImage user;
    user.Settings[0] = 4;
    user.Settings[9] = 3;
    return {{"user.ini", LegacyUserBytes(user)}};
}

TSeeds PelmSeeds()
{
    return {{"strokes.pel", PelmStrokeTable({PelmStrokeRow(1), PelmStrokeRow(2), PelmStrokeRow(4), PelmStrokeRow(3)})},
            {"curves.pel", PelmCurveTable({PelmCurveRow(1, {4, 5, 300, 620, 410, 90}), PelmCurveRow(2, {7, 80})})},
            {"intervals.pel", PelmIntervalTable({{150, 24, 60, 250, 140}, {90, 18, 30, 100, 120}})},
            {"user.pel", "User\r\nrower\r\nWeight\t80\r\n"}};
}

TSeeds DeviceUserSeeds()
{
    TDeviceHeaderImage header;
    header.Kind = 0;
    return {{"user.rvi", DeviceStartBytes(header, DeviceSettingsBytes(20))}};
}

TSeeds DeviceStrokeSeeds()
{
    TDeviceHeaderImage header;
    header.Kind = 1;
    header.Curves = header.Strokes = 1;
    return {{"stroke.rvr", DeviceStartBytes(header, DeviceSettingsBytes(18), 12) + DeviceStrokeBytes({})
                               + DeviceCurveBytes()}};
}

TSeeds DeviceSessionSeeds()
{
    TDeviceHeaderImage header;
    header.Curves = 2;
    header.Strokes = 3;
    header.Intervals = 2;
    std::string bytes = DeviceStartBytes(header, DeviceSettingsBytes(19));
    for (uint16_t n = 1; n <= 2; ++n) bytes += DeviceStrokeBytes({n, 9500u * n}) + DeviceCurveBytes();
    for (uint16_t n = 1; n <= 3; ++n) bytes += DeviceStrokeBytes({n, 9500u * n});
    bytes += DeviceIntervalBytes(600, 1500, 250) + DeviceTotalsBytes();
    return {{"session.rvs", bytes}};
}

std::string Exported(const TTraining& training, TExportFormat format)
{
    std::ostringstream out;
    WriteExport(out, training, format);
    return out.str();
}

// A short interval session of two laps.
TTraining IntervalTraining()
{
    TTraining training = MakeDemoTraining(12);
    training.Settings.SessionLimit = 4;
    for (size_t i = 7; i <= 12; ++i) training.Strokes[i].IntervalNumber = 2;
    return training;
}

// A format's seeds: the demo training and the interval session as Marlo
// exports them, and a file laid out as another writer does.
TSeeds ExportSeeds(TExportFormat format, const std::string& otherName, const std::string& other)
{
    const std::string extension = ExportExtension(format);
    return {{"demo" + extension, Exported(MakeDemoTraining(12), format)},
            {"intervals" + extension, Exported(IntervalTraining(), format)},
            {otherName + extension, other}};
}

// FIT activities as Marlo exports them, one of an interval session, and one
// of compressed timestamps and big-endian records as other writers lay them
// out.
TSeeds FitSeeds()
{
    TFitBuilder other;
    other.Define(0, Fit::RecordMessage, {{Fit::Timestamp, 4, Fit::Uint32}, {Fit::Record::Power, 2, Fit::Uint16}})
        .Message(0, FitBytes(1000, 4) + FitBytes(250, 2))
        .Define(1, Fit::RecordMessage, {{Fit::Record::Power, 2, Fit::Uint16}}, {}, true)
        .Compressed(1, 10, std::string{0x01, 0x04})
        .Describe(2, 60, Fit::Uint16, "HandleForceCurve", 10)
        .Define(3, Fit::RecordMessage, {{Fit::Timestamp, 4, Fit::Uint32}}, {{60, 8, 0}})
        .Message(3, FitBytes(1012, 4) + FitBytes(1000, 2) + FitBytes(4000, 2) + FitBytes(6000, 2) + FitBytes(900, 2));
    return ExportSeeds(TExportFormat::Fit, "other-layouts", other.Bytes());
}

// TCX files as Marlo exports them, and one of samples a second apart as a
// watch writes them: prefixed elements, no lap start, a rest lap.
TSeeds TcxSeeds()
{
    const std::string samples =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<tcx:TrainingCenterDatabase xmlns:tcx=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\">"
        "<tcx:Activities><tcx:Activity><tcx:Lap><tcx:Intensity>Active</tcx:Intensity><tcx:Track>"
        "<tcx:Trackpoint><tcx:Time>2026-06-14T07:30:00+02:00</tcx:Time><tcx:DistanceMeters>0</tcx:DistanceMeters>"
        "<tcx:HeartRateBpm><tcx:Value>120</tcx:Value></tcx:HeartRateBpm></tcx:Trackpoint>"
        "<tcx:Trackpoint><tcx:Time>2026-06-14T07:30:01.5+02:00</tcx:Time><tcx:Cadence>28</tcx:Cadence>"
        "<tcx:Extensions><TPX xmlns=\"http://www.garmin.com/xmlschemas/ActivityExtension/v2\"><Speed>4.2</Speed>"
        "<Watts>210</Watts></TPX></tcx:Extensions></tcx:Trackpoint></tcx:Track></tcx:Lap>"
        "<tcx:Lap><tcx:Intensity>Resting</tcx:Intensity></tcx:Lap>"
        "<tcx:Notes>Title\r\nNote</tcx:Notes></tcx:Activity></tcx:Activities></tcx:TrainingCenterDatabase>\n";
    return ExportSeeds(TExportFormat::Tcx, "samples", samples);
}

// Rowing-data CSV files as Marlo exports them, and one laid out otherwise:
// a byte-order mark, CR LF, columns in another order and of the other unit,
// quoted fields with a comma decimal, a force list of its own length.
TSeeds RowingCsvSeeds()
{
    const std::string other = "\xEF\xBB\xBF Power (watts),Handle_Force_(N), PeakDriveForce (N),TimeStamp (sec),"
                              " DriveLength (meters), lapIdx\r\n"
                              "\"210,5\",\"10,250,480,610,500,300,90\",620,1781415002.25,1.4,0\r\n"
                              "215,\"\",,1781415004.5,\"1,38\",1\r\n";
    return ExportSeeds(TExportFormat::RowingCsv, "other-layout", other);
}

// The settings file as the program writes it, and one written by hand in
// another locale.
TSeeds SettingsSeeds(const std::filesystem::path& folder)
{
    InitStrokeParameters();
    const std::string written = (folder / "written.ini").string();
    std::ofstream(written).put('\n');
    if (!SaveParameterSettings(written, StrokeDataSection, StrokeParameters, StoredStrokeParameterCount))
        throw std::runtime_error("cannot write " + written);
    return {{"by-hand.ini", "[Row]\r\nDataRange=3\r\n\r\n[StrokeData]\r\nParameter0=3 0,5 100 10\r\n"
                            "Parameter1= 2  -1,5E2 \r\nParameter2=1 7\r\nparameter3=0 1 2 3 4\r\n"}};
}

void WriteSeeds(const std::filesystem::path& folder, const TSeeds& seeds)
{
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : seeds) std::ofstream(folder / name, std::ios::binary) << bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make-seeds FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    WriteSeeds(folder / "stg", TrainingSeeds());
    WriteSeeds(folder / "ses", SessionSeeds());
    WriteSeeds(folder / "str", StrokeSeeds());
    WriteSeeds(folder / "ini", UserSeeds());
    WriteSeeds(folder / "pel", PelmSeeds());
    WriteSeeds(folder / "rvi", DeviceUserSeeds());
    WriteSeeds(folder / "rvr", DeviceStrokeSeeds());
    WriteSeeds(folder / "rvs", DeviceSessionSeeds());
    WriteSeeds(folder / "fit", FitSeeds());
    WriteSeeds(folder / "tcx", TcxSeeds());
    WriteSeeds(folder / "csv", RowingCsvSeeds());
    std::filesystem::create_directories(folder / "settings");
    WriteSeeds(folder / "settings", SettingsSeeds(folder / "settings"));
    return 0;
}
