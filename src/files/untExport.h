// Exporting a training to the files today's training tools take: a FIT
// activity (with every stroke's force curve), Training Center XML (TCX) and
// the rowing-data CSV of the open rowing tools. The writers stream what they
// write, so that memory stays bounded by the record, and an export to a file
// replaces that file only when it is complete.
#pragma once

#include "untTypes.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

enum class TExportFormat { Fit, Tcx, RowingCsv };

// "fit", "tcx", "csv", and back (nothing for another name).
std::string ExportFormatName(TExportFormat format);
std::optional<TExportFormat> ExportFormatNamed(const std::string& name);
// ".fit", ".tcx", ".csv".
std::string ExportExtension(TExportFormat format);
// The save dialog's filter: "FIT activity (*.fit)", "TCX (*.tcx)", "Rowing data CSV (*.csv)".
std::string ExportFilter(TExportFormat format);

// One lap of an export: strokes First..Last (indexes into Strokes; none when
// Last < First) and its span in seconds from the start. A session that is not
// an interval session is one lap. In an interval session every run of strokes
// with one interval number is a lap, a rest lap where that number is 0; a
// pause of RestPause seconds or more between two runs is a rest lap of its own,
// without strokes.
struct TExportLap {
    size_t First = 1;
    size_t Last = 0;
    bool Rest = false;
    double StartSeconds = 0;
    double EndSeconds = 0;
    bool HasStrokes() const { return Last >= First; }
};
const double RestPause = 10.0;
std::vector<TExportLap> ExportLaps(const TTraining& training);

// The seconds from the start to the end of every stroke, indexed as Strokes
// ([0] is 0): each kept within 0..MaxStrokeSeconds and never before the
// stroke before it (a time that is no number counts as that stroke's), so
// that a damaged time neither wraps a timestamp nor runs the strokes
// backwards.
const double MaxStrokeSeconds = 100.0 * 86400;
std::vector<double> StrokeSeconds(const TTraining& training);

// The training's start as seconds since 1970-01-01 UTC: the recording's date
// and time, taken as local time on this machine. Nothing when it is no date.
std::optional<double> TrainingStartUtc(const TTraining& training);

// Why the training cannot be exported in the format ("" when it can): no
// strokes, no valid start, or a start a FIT file cannot hold.
std::string ExportRefusal(const TTraining& training, TExportFormat format);

// Write the training to out, which must be good afterwards; each assumes
// ExportRefusal found nothing.
void WriteFitActivity(std::ostream& out, const TTraining& training);
void WriteTcx(std::ostream& out, const TTraining& training);
void WriteRowingCsv(std::ostream& out, const TTraining& training);

// Writes the training to out in the format; the refusal or failure text, ""
// on success.
std::string WriteExport(std::ostream& out, const TTraining& training, TExportFormat format);
// Exports to path through a temporary file beside it that replaces path only
// when complete: a failure leaves an existing file as it was. Shows the
// program's error message and answers false when it fails or is refused.
bool ExportTrainingFile(const std::string& path, const TTraining& training, TExportFormat format);
