// The rowing-data CSV writer: one row per stroke under the column names of
// the open rowing tools' convention, spelt exactly as they are (with the
// leading spaces and the convention's own "stokes"), numbers with a dot, and
// the force curve over the drive as one quoted, comma-separated column.
#include "untExport.h"

#include "ExportKit.h"
#include "jsUtils.h"

#include <cmath>

namespace {

const double NewtonsPerPoundForce = 4.4482216152605;

const char* const Columns[] = {
    "TimeStamp (sec)",          " Horizontal (meters)",      " Cadence (stokes/min)",    " HRCur (bpm)",
    " Stroke500mPace (sec/500m)", " Power (watts)",          " DriveLength (meters)",    " StrokeDistance (meters)",
    " DriveTime (ms)",          " DragFactor",               " StrokeRecoveryTime (ms)", " AverageDriveForce (lbs)",
    " PeakDriveForce (lbs)",    " lapIdx",                   " ElapsedTime (sec)",       " WorkPerStroke (joules)",
    " Stroke Number",           "Handle_Force_(N)",
};

std::string Number(double value, int decimals) { return FixedText(Positive(value), decimals); }

// The samples of a curve's drive, which is what the convention's list spans;
// "" for a curve that is not valid.
std::string CurveText(const TTraining& training, size_t index)
{
    const int count = DriveSamples(training, index);
    if (count == 0) return "\"\"";
    std::string text = "\"";
    for (int k = 0; k < count; ++k) {
        if (k > 0) text += ',';
        text += std::to_string(training.Curves[index].Samples[k]);
    }
    return text + "\"";
}

} // namespace

void WriteRowingCsv(std::ostream& out, const TTraining& training)
{
    for (size_t c = 0; c < std::size(Columns); ++c) out << (c ? "," : "") << Columns[c];
    out << "\n";
    const double start = *TrainingStartUtc(training);
    const std::vector<double> seconds = StrokeSeconds(training);
    const std::vector<double> distances = StrokeDistances(training);
    const std::vector<TExportLap> laps = ExportLaps(training);
    size_t lapIndex = 0;
    for (const TExportLap& lap : laps) {
        if (!lap.HasStrokes()) continue;
        for (size_t i = lap.First; i <= lap.Last; ++i) {
            const TStroke& s = training.Strokes[i];
            const double split = Positive(s.Split500);
            out << FixedText(start + seconds[i], 3) << ',' << FixedText(distances[i], 2) << ','
                << Number(s.StrokeRate, 2) << ',' << Number(s.Pulse, 0) << ',' << Number(split, 2) << ','
                << Number(s.Power, 1) << ',' << Number(s.StrokeLength / 100.0, 3) << ','
                << Number(s.DistancePerStroke / 100.0, 3) << ',' << Number(s.DriveTime * 1000.0, 0) << ','
                << "0," // the drag factor is not recorded
                << Number(RecoverSeconds(s) * 1000.0, 0) << ','
                << Number(AverageDriveForce(training, i) / NewtonsPerPoundForce, 2) << ','
                << Number(s.PeakForce / NewtonsPerPoundForce, 2) << ',' << std::to_string(lapIndex) << ','
                << FixedText(seconds[i], 3) << ',' << Number(s.EnergyPerStroke, 1) << ',' << std::to_string(i) << ','
                << CurveText(training, i) << "\n";
        }
        ++lapIndex;
    }
}
