// Session files: the rower's settings, a table of stroke records, 199 stroke
// and force-curve pairs, the intervals and the totals, all in fixed-size
// legacy records.
#include "LegacyRecords.h"

#include <cstring>

namespace {

const int64_t MinimumSessionSize = 20001;
const int StrokeCurvePairs = 199;

// Reads whatever a session file holds. A recording cut short still shows
// what was recorded: a record the file ends inside is read as far as it goes,
// the bytes beyond the end reading as zero, and the tables keep the size their
// counts gave them.
class TSessionReader {
public:
    TSessionReader(TBinaryFile& file, TTraining& training, const TProgress& progress)
        : File(file), Training(training), Progress(progress)
    {
    }

    void Read()
    {
        ReadUser();
        ReadStrokeTable();
        ReadStrokeCurvePairs();
        ComputeAverageStroke(Training);
        ReadIntervals();
        ReadTotals();
        ComputeDistancePerStroke(Training.Strokes, StrokeCount);
    }

private:
    // Fills the record from the file, zeros where the file has ended; true
    // when the whole record was in the file.
    bool Next(unsigned char* record, size_t size)
    {
        std::memset(record, 0, size);
        if (File.Position() >= File.Size()) return false;
        return ReadLegacyRecord(File, record, size);
    }

    void ReportPosition() const
    {
        ReportProgress(Progress, static_cast<double>(File.Position()) / static_cast<double>(File.Size()));
    }

    void ReadUser()
    {
        unsigned char user[LegacyUserSize];
        Next(user, sizeof user);
        ApplyLegacyUser(user, Training);
    }

    // A count record, an unused record, then strokes 1..N; a record whose
    // number is not its position, or that the file ends inside, is skipped.
    void ReadStrokeTable()
    {
        unsigned char stroke[LegacyStrokeSize];
        Next(stroke, sizeof stroke);
        StrokeCount = WordAt(stroke, 0);
        SetStrokeCount(Training, StrokeCount);
        Next(stroke, sizeof stroke);
        for (int i = 1; i <= StrokeCount; ++i) {
            ReportPosition();
            if (Next(stroke, sizeof stroke) && WordAt(stroke, 0) == i) Training.Strokes[i] = LegacyStroke(stroke);
        }
    }

    // An unused curve record, then always 199 pairs; a pair is stored under its
    // stroke's own number when that lies within the strokes.
    void ReadStrokeCurvePairs()
    {
        unsigned char curve[LegacyCurveSize];
        Next(curve, sizeof curve);
        unsigned char stroke[LegacyStrokeSize];
        for (int i = 1; i <= StrokeCurvePairs; ++i) {
            ReportPosition();
            Next(stroke, sizeof stroke);
            Next(curve, sizeof curve);
            const int k = WordAt(stroke, 0);
            if (i > StrokeCount || k < 1 || k > StrokeCount) continue;
            TStroke& target = Training.Strokes[k];
            target = LegacyStroke(stroke);
            Training.Curves[k] = LegacyCurve(curve);
            Training.Curves[k].Number = static_cast<uint16_t>(k);
            ComputePeakForce(target, Training.Curves[k], Training.Settings.Sprocket);
        }
    }

    // A record whose number is the interval count M and that is the last
    // interval, an unused record, then intervals 1..M-1; all of it only as far
    // as those first two records are whole.
    void ReadIntervals()
    {
        unsigned char interval[LegacyIntervalSize];
        if (!Next(interval, sizeof interval)) return;
        const int count = WordAt(interval, 0);
        SetIntervalCount(Training, count);
        if (count > 0) Training.Intervals[count - 1] = LegacyInterval(interval);
        if (!Next(interval, sizeof interval)) return;
        ReportPosition();
        for (int i = 0; i < count - 1; ++i) {
            Next(interval, sizeof interval);
            Training.Intervals[i] = LegacyInterval(interval);
        }
    }

    // Totals only from a whole record; without a total distance they come
    // from the last stroke.
    void ReadTotals()
    {
        ReportPosition();
        unsigned char totals[LegacyTotalsSize];
        const bool whole = Next(totals, sizeof totals);
        ReportPosition();
        if (whole) Training.Totals = LegacyTotals(totals);
        TotalsFromLastStroke(Training);
    }

    TBinaryFile& File;
    TTraining& Training;
    const TProgress& Progress;
    int StrokeCount = 0;
};

} // namespace

bool ReadSessionFile(const std::string& path, TTraining& training, const TProgress& progress)
{
    try {
        TBinaryFile file(path);
        ApplyLegacyHeader(training, path, ffSES, fkTraining);
        if (file.Size() < MinimumSessionSize) return false;
        TSessionReader(file, training, progress).Read();
        return true;
    } catch (const EInOutError& error) {
        ShowIOError(path, error.what(), error.Code);
        return false;
    }
}
