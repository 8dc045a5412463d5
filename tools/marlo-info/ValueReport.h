// What marlo-info shows of a training's values: the texts of the value
// catalogues, as JSON and in the summary.
#pragma once

#include "untTypes.h"

#include <iosfwd>
#include <string>

class TJsonStream;

// An object of "dr_ratio", "intervals" (22 texts for each interval),
// "strokes" (42 texts for each of strokes 1..N) and "totals" (the seven
// totals with units), one row of texts at a time.
void WriteValuesJson(TJsonStream& json, const TTraining& training);
// The totals and averages with units as the training window shows them, then
// the intervals table (when there are intervals), written as it is made.
void WriteValuesSummary(std::ostream& out, const TTraining& training);
