// The data grids of the training window as CSV, written row by row from the
// core's cell functions, so that even a long training is never held as a
// whole grid of texts.
#pragma once

#include "untTrainingGrids.h"

#include <ostream>
#include <string>

// A CSV cell: a text holding a comma, a quote or a line break is quoted, its
// quotes doubled; any other text stays as it is.
std::string CsvCell(const std::string& text);
// The grid as comma-separated rows ending in CRLF: the header row ("#" and
// the column captions), then one row per data row (its row number and cells).
void WriteCsv(std::ostream& out, const TTraining& training, TGridKind kind);
// The splits grid of the training split as `setting` says, in the same form.
void WriteSplitsCsv(std::ostream& out, const TTraining& training, const TSplitSetting& setting);
