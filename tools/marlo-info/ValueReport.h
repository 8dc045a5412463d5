// What marlo-info shows of a training's values: the texts of the value
// catalogues, as JSON and in the summary.
#pragma once

#include "untTypes.h"

#include <nlohmann/json.hpp>
#include <string>

// "totals" (the seven totals with units), "dr_ratio", "strokes" (42 texts for
// each of strokes 1..N) and "intervals" (22 texts for each interval).
nlohmann::json ValuesJson(const TTraining& training);
// The totals and averages with units as the training window shows them, then
// the intervals table (when there are intervals).
std::string ValuesSummaryText(const TTraining& training);
