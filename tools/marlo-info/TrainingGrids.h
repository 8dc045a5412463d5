// The data grids of the training window as text: a header row, then one row
// per stroke or interval, each cell as the grid shows it with its blanks
// trimmed. marlo-info prints them as CSV and in its summary.
#pragma once

#include "untTypes.h"

#include <string>
#include <vector>

using TTextGrid = std::vector<std::vector<std::string>>;

// "#" and the 26 stroke columns (the unassigned column id 4 stays empty).
TTextGrid StrokeDataGrid(const TTraining& training);
// "#", "Used" and the 80 samples, headed by their positions in cm.
TTextGrid ForceCurveGrid(const TTraining& training);
// "#" and the 22 interval columns.
TTextGrid IntervalsGrid(const TTraining& training);

// Comma-separated rows ending in CRLF; a cell holding a comma, a quote or a
// line break is quoted, its quotes doubled.
std::string CsvText(const TTextGrid& grid);
