// The rowing-data CSV reader: a stroke per row under the open rowing tools'
// column names, found by name in any order. TimeStamp (sec) is Unix time and
// the one column a file must have; the piece starts at the first row's time
// stamp less its ElapsedTime (sec). A column the file lacks leaves its value
// 0. A quoted handle-force list becomes the stroke's curve, spread over the
// stroke's drive; a change of lapIdx starts a lap. The file is read a record
// at a time, so that memory stays bounded by the record and the largest row.
// A quoted field the file does not close, a record longer than any training
// needs, or a value that is no number makes the file unreadable.
#include "untFiles.h"

#include "jsUtils.h"
#include "untBinaryFile.h"
#include "untImport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {

class ECsvError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A row whose force list holds tens of thousands of samples takes well under
// this; a longer record is no training's.
const size_t MaxRecordBytes = 1 << 20;
// The largest time stamp that is a date (the end of year 9999).
const double LastUnixSecond = 253402300799.0;
const double NewtonsPerPoundForce = 4.4482216152605;
// The drive length is written in metres to 3 decimals: 0.1 cm.
const double DriveLengthResolution = 0.1;

// The records of a CSV file, one at a time: fields split at the commas
// outside quotes, quotes taken away ("" in a quoted part stands for one), a
// record ending at a line feed outside quotes. A CR before the line feed
// goes with the blanks trimmed off every field. The file is read a block at
// a time, and the characters between those that mean something are taken
// in runs.
class TCsvRecords {
public:
    explicit TCsvRecords(TBinaryFile& file) : File(file), Block(64 * 1024) { SkipByteOrderMark(); }

    // Reads the next record; false at the end of the file.
    bool Next()
    {
        Text.clear();
        Ends.clear();
        if (!More()) return false;
        bool quoted = false;
        while (More()) {
            const char* const stop = quoted ? NextQuote() : NextSeparator();
            Take(At, stop);
            At = stop;
            if (At == End) continue;
            const char c = *At++;
            if (c == '"') {
                // A quote in a quoted part closes it, unless another follows.
                if (quoted && More() && *At == '"') {
                    Take(At, At + 1);
                    ++At;
                } else {
                    quoted = !quoted;
                }
            } else if (c == ',') {
                Ends.push_back(Text.size());
            } else {
                break; // the line feed
            }
        }
        if (quoted) throw ECsvError("a quoted field that the file does not close");
        Ends.push_back(Text.size());
        return true;
    }

    bool Blank() const { return Ends.size() == 1 && Field(0).empty(); }
    size_t Count() const { return Ends.size(); }
    // Field i without the blanks around it; "" beyond the record's fields.
    std::string_view Field(size_t i) const
    {
        if (i >= Ends.size()) return {};
        const size_t begin = i == 0 ? 0 : Ends[i - 1];
        return TrimmedView(std::string_view(Text).substr(begin, Ends[i] - begin));
    }
    // Field i as a number, nothing when it is empty. A comma in it can only
    // have come from a quoted field, and stands for the decimal point.
    std::optional<double> Number(size_t i)
    {
        const std::string_view field = Field(i);
        if (field.empty()) return std::nullopt;
        char* const first = Text.data() + (field.data() - Text.data());
        std::replace(first, first + field.size(), ',', '.');
        const std::optional<double> value = ImportedNumber(field);
        if (!value) throw ECsvError("a value that is no number");
        return value;
    }

private:
    // Whether a character is left, reading the next block where needed.
    bool More()
    {
        if (At == End) {
            At = Block.data();
            End = At + File.Read(Block.data(), Block.size());
        }
        return At != End;
    }
    const char* NextQuote() const
    {
        const void* quote = std::memchr(At, '"', static_cast<size_t>(End - At));
        return quote ? static_cast<const char*>(quote) : End;
    }
    const char* NextSeparator() const
    {
        return std::find_if(At, End, [](char c) { return c == ',' || c == '\n' || c == '"'; });
    }
    void Take(const char* first, const char* last)
    {
        Text.append(first, last);
        if (Text.size() > MaxRecordBytes) throw ECsvError("a record longer than any training needs");
    }
    void SkipByteOrderMark()
    {
        if (More() && End - At >= 3 && std::memcmp(At, "\xEF\xBB\xBF", 3) == 0) At += 3;
    }

    TBinaryFile& File;
    std::vector<char> Block;
    const char* At = nullptr;
    const char* End = nullptr;
    std::string Text;         // the fields' characters, one after the other
    std::vector<size_t> Ends; // where each field ends in Text
};

// The columns the reader takes; the others are passed over.
enum TColumn {
    cTimeStamp, cDistance, cRate, cPulse, cPace, cPower, cDriveLength, cStrokeDistance, cDriveTime,
    cRecoveryTime, cPeakForcePounds, cPeakForceNewtons, cLap, cElapsed, cWork, cForces, ColumnCount
};

// The names as the convention spells them, without the blanks around them.
const std::pair<const char*, TColumn> ColumnNames[] = {
    {"TimeStamp (sec)", cTimeStamp},
    {"Horizontal (meters)", cDistance},
    {"Cadence (stokes/min)", cRate},
    {"HRCur (bpm)", cPulse},
    {"Stroke500mPace (sec/500m)", cPace},
    {"Power (watts)", cPower},
    {"DriveLength (meters)", cDriveLength},
    {"StrokeDistance (meters)", cStrokeDistance},
    {"DriveTime (ms)", cDriveTime},
    {"StrokeRecoveryTime (ms)", cRecoveryTime},
    {"PeakDriveForce (lbs)", cPeakForcePounds},
    {"PeakDriveForce (N)", cPeakForceNewtons},
    {"lapIdx", cLap},
    {"ElapsedTime (sec)", cElapsed},
    {"WorkPerStroke (joules)", cWork},
    {"Handle_Force_(N)", cForces},
};

const size_t Absent = static_cast<size_t>(-1);

class TRowingCsvReader {
public:
    TRowingCsvReader(TBinaryFile& file, TTraining& training, const TProgress& progress)
        : File(file), Records(file), Training(training), Progress(progress), Strokes(training),
          Spacing(CurveSpacing(training.Settings))
    {
    }

    void Read()
    {
        if (!NextRecord()) throw ECsvError("no column names");
        FindColumns();
        while (NextRecord()) {
            ReadRow();
            if (++Rows % 4096 == 0) ReportProgress(Progress, static_cast<double>(File.Position()) / File.Size());
        }
        if (Start) Training.Header.DateTime = DateTimeFromUnixTime(*Start, true);
        FinishImport(Training, Laps);
    }

private:
    // The next record that is not blank.
    bool NextRecord()
    {
        while (Records.Next())
            if (!Records.Blank()) return true;
        return false;
    }

    void FindColumns()
    {
        Columns.fill(Absent);
        for (size_t i = 0; i < Records.Count(); ++i)
            for (const auto& [name, column] : ColumnNames)
                if (Records.Field(i) == name && Columns[column] == Absent) Columns[column] = i;
        if (Columns[cTimeStamp] == Absent) throw ECsvError("no time column");
        Width = Records.Count();
    }

    // The value of a column in this row; 0 where the file has none.
    double Value(TColumn column)
    {
        return Columns[column] == Absent ? 0 : Records.Number(Columns[column]).value_or(0);
    }

    void ReadRow()
    {
        if (Records.Count() > Width) throw ECsvError("a row of more fields than columns");
        const std::optional<double> stamp = Records.Number(Columns[cTimeStamp]);
        if (!stamp || !(std::fabs(*stamp) <= LastUnixSecond)) throw ECsvError("a row without its time");
        if (!Start) TakeStart(*stamp - Value(cElapsed));
        TStroke s{};
        s.Time = static_cast<float>(*stamp - *Start);
        s.Distance = static_cast<float>(Value(cDistance));
        s.StrokeRate = static_cast<float>(Value(cRate));
        s.Pulse = static_cast<float>(Value(cPulse));
        s.Split500 = static_cast<float>(Value(cPace));
        s.Power = static_cast<float>(Value(cPower));
        s.StrokeLength = static_cast<float>(Value(cDriveLength) * 100);
        s.DistancePerStroke = static_cast<float>(Value(cStrokeDistance) * 100);
        const double drive = Value(cDriveTime) / 1000;
        s.DriveTime = static_cast<float>(drive);
        s.DriveRecoverRatio = drive > 0 ? static_cast<float>(Value(cRecoveryTime) / 1000 / drive) : 0;
        s.PeakForce = static_cast<float>(Columns[cPeakForceNewtons] != Absent ? Value(cPeakForceNewtons)
                                                                               : Value(cPeakForcePounds) * NewtonsPerPoundForce);
        s.EnergyPerStroke = static_cast<float>(Value(cWork));
        const double lap = Value(cLap);
        ReadForces(s.StrokeLength);
        const size_t before = Strokes.Count();
        Strokes.Add(s, Curve);
        if (Strokes.Count() > before) TakeIntoLap(lap);
    }

    // The start of the piece, from the first row's time stamp and the time
    // since the start it gives (none: the first row starts the piece).
    void TakeStart(double start)
    {
        if (!(std::fabs(start) <= LastUnixSecond)) throw ECsvError("a start that is no date");
        Start = start;
    }

    // The handle-force list of this row into Curve.
    void ReadForces(double driveCm)
    {
        Curve.Forces.clear();
        if (Columns[cForces] == Absent) return;
        std::string_view list = Records.Field(Columns[cForces]);
        while (!list.empty()) {
            const size_t comma = list.find(',');
            const std::optional<double> force = ImportedNumber(list.substr(0, comma));
            if (!force) throw ECsvError("a force that is no number");
            Curve.Forces.push_back(*force);
            list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        }
        Curve.Step = ForceStep(Curve.Forces.size(), driveCm);
    }

    // The list spans the drive. One that holds the drive at the record's own
    // spacing, as Marlo writes it (its last sample less than a spacing from
    // the drive's end, give or take the millimetre the drive length is
    // written in), keeps that spacing, so that its samples are not moved by
    // a fraction of one; any other is spread over the drive.
    double ForceStep(size_t count, double driveCm) const
    {
        return std::fabs(count * Spacing - driveCm) < Spacing + DriveLengthResolution ? Spacing : 0;
    }

    // A row whose lapIdx differs from the row before starts a lap.
    void TakeIntoLap(double lap)
    {
        if (Laps.empty() || lap != LapIndex) Laps.push_back({Strokes.Count(), Strokes.Count(), false});
        Laps.back().Last = Strokes.Count();
        LapIndex = lap;
    }

    TBinaryFile& File;
    TCsvRecords Records;
    TTraining& Training;
    const TProgress& Progress;
    TImportedStrokes Strokes;
    const double Spacing;
    std::array<size_t, ColumnCount> Columns{};
    size_t Width = 0;
    std::optional<double> Start;
    TSourceCurve Curve;
    std::vector<TImportedLap> Laps;
    double LapIndex = 0;
    size_t Rows = 0;
};

} // namespace

bool ReadRowingCsvFile(const std::string& path, TTraining& training, const TProgress& progress)
{
    return ImportFile(path, [&] {
        TBinaryFile file(path);
        BeginImport(training, path, fkRowingCsv, ffCSV);
        TRowingCsvReader(file, training, progress).Read();
    });
}
