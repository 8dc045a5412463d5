// The data grids of a training window as text, one cell at a time: the
// desktop program's grid models and marlo-info ask for exactly the cells they
// show, so a training of 65,535 strokes never has all its cells built at once,
// and both show the same text. Every cell is trimmed of blanks and uses the
// locale's decimal separator.
#pragma once

#include "untSplits.h"
#include "untTypes.h"

#include <string>
#include <vector>

// The data grids of a training window: strokes, force curves, intervals, splits.
enum class TGridKind { Strokes, Curves, Intervals, Splits };

// Value columns of a grid, not counting the row-number column "#":
// Strokes = StrokeColumns.size() (26), Curves = 83 ("Used", 80 samples and
// the curve's two shape values),
// Intervals = IntervalColumns.size() (22), Splits = SplitColumns.size() (21).
int GridColumnCount(TGridKind kind);
// Caption of value column `column` (0-based). Strokes, intervals and splits:
// the caption of the catalogue entry the column map holds for that column, ""
// for a column id no entry has. Curves: "Used", then the sample positions in
// cm ("%3.1f" of k * CurveSpacing), then the shape values' captions. "" outside
// the grid.
std::string GridColumnCaption(const TTraining& training, TGridKind kind, int column);
// Data rows: strokes and curves one per stroke (Strokes[0], the average
// stroke, is not shown), intervals one per interval. Splits depend on how the
// training is split, so their rows come from SplitCellText, and the training
// alone has none.
int GridRowCount(const TTraining& training, TGridKind kind);
// The row-number column's text of data row `row` (0-based): "%4.0f" of row + 1.
std::string GridRowLabel(int row);
// The text of one cell. Strokes and intervals: the value of the column's
// catalogue entry, "" for a column id no entry has. Curves: column 0 "+" for
// a valid curve, columns 1..80 the samples ("%3.0f"), then the curve's shape. "" for a row or column
// outside the grid and for a stroke that has no curve stored.
std::string GridCellText(const TTraining& training, TGridKind kind, int row, int column);
// The text of one cell of the splits grid: the value of the column's split
// entry for split `row`; "" outside the grid.
std::string SplitCellText(const std::vector<TSplit>& splits, int row, int column);
