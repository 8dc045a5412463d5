// Session files: the rower's settings, a table of stroke records, 199 stroke
// and force-curve pairs, the intervals and the totals, all in fixed-size
// legacy records.
#include "LegacyRecords.h"

namespace {

const int64_t MinimumSessionSize = 20001;
const int StrokeCurvePairs = 199;

class TSessionReader {
public:
    TSessionReader(TBinaryFile& file, TTraining& training, const TProgress& progress)
        : File(file), Training(training), Progress(progress)
    {
    }

    // False when the file ends before its totals.
    bool Read()
    {
        if (!ReadUser() || !ReadStrokeTable() || !ReadStrokeCurvePairs()) return false;
        ComputeAverageStroke(Training);
        if (!ReadIntervals() || !ReadTotals()) return false;
        ComputeDistancePerStroke(Training.Strokes, StrokeCount);
        return true;
    }

private:
    bool Next(unsigned char* record, size_t size) { return ReadLegacyRecord(File, record, size); }

    void ReportPosition() const
    {
        ReportProgress(Progress, static_cast<double>(File.Position()) / static_cast<double>(File.Size()));
    }

    bool ReadUser()
    {
        unsigned char user[LegacyUserSize];
        if (!Next(user, sizeof user)) return false;
        ApplyLegacyUser(user, Training);
        return true;
    }

    // A count record, an unused record, then strokes 1..N; a record whose
    // number is not its position is skipped.
    bool ReadStrokeTable()
    {
        unsigned char stroke[LegacyStrokeSize];
        if (!Next(stroke, sizeof stroke)) return false;
        StrokeCount = WordAt(stroke, 0);
        SetStrokeCount(Training, StrokeCount);
        if (!Next(stroke, sizeof stroke)) return false;
        for (int i = 1; i <= StrokeCount; ++i) {
            ReportPosition();
            if (!Next(stroke, sizeof stroke)) return false;
            if (WordAt(stroke, 0) == i) Training.Strokes[i] = LegacyStroke(stroke);
        }
        return true;
    }

    // An unused curve record, then always 199 pairs; a pair is stored under its
    // stroke's own number when that lies within the strokes.
    bool ReadStrokeCurvePairs()
    {
        unsigned char curve[LegacyCurveSize];
        if (!Next(curve, sizeof curve)) return false;
        unsigned char stroke[LegacyStrokeSize];
        for (int i = 1; i <= StrokeCurvePairs; ++i) {
            ReportPosition();
            if (!Next(stroke, sizeof stroke) || !Next(curve, sizeof curve)) return false;
            const int k = WordAt(stroke, 0);
            if (i > StrokeCount || k < 1 || k > StrokeCount) continue;
            TStroke& target = Training.Strokes[k];
            target = LegacyStroke(stroke);
            Training.Curves[k] = LegacyCurve(curve);
            Training.Curves[k].Number = static_cast<uint16_t>(k);
            ComputePeakForce(target, Training.Curves[k], Training.Settings.Sprocket);
        }
        return true;
    }

    // A record whose number is the interval count M and that is the last
    // interval, an unused record, then intervals 1..M-1.
    bool ReadIntervals()
    {
        unsigned char interval[LegacyIntervalSize];
        if (!Next(interval, sizeof interval)) return false;
        const int count = WordAt(interval, 0);
        SetIntervalCount(Training, count);
        if (count > 0) Training.Intervals[count - 1] = LegacyInterval(interval);
        if (!Next(interval, sizeof interval)) return false;
        ReportPosition();
        for (int i = 0; i < count - 1; ++i) {
            if (!Next(interval, sizeof interval)) return false;
            Training.Intervals[i] = LegacyInterval(interval);
        }
        return true;
    }

    // Files without a total distance take their totals from the last stroke.
    bool ReadTotals()
    {
        ReportPosition();
        unsigned char totals[LegacyTotalsSize];
        if (!Next(totals, sizeof totals)) return false;
        ReportPosition();
        Training.Totals = LegacyTotals(totals);
        if (Training.Totals.TotalDistance == 0 && StrokeCount >= 1) {
            const TStroke& last = Training.Strokes[StrokeCount];
            Training.Totals.TotalDistance = last.Distance;
            Training.Totals.TotalTime = last.Time;
            Training.Totals.TotalEnergy = static_cast<float>(last.EnergySum / 1000.0);
            Training.Totals.AveragePower = last.AveragePower;
        }
        return true;
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
        return TSessionReader(file, training, progress).Read();
    } catch (const EInOutError& error) {
        ShowIOError(path, error.what(), error.Code);
        return false;
    }
}
