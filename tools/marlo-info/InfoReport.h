// What marlo-info prints of a training: a readable summary and a JSON document.
#pragma once

#include "untTypes.h"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// A single as the shortest decimal that reads back to the same 32-bit value;
// null for infinities and NaN, which JSON cannot hold.
nlohmann::json SingleJson(float value);
// The same shortest decimal as text ("inf", "nan" for those).
std::string SingleText(float value);

nlohmann::json TrainingJson(const TTraining& training);
nlohmann::json ReportJson(const std::string& path, bool ok, const std::vector<std::string>& messages,
                          const TTraining& training);
std::string SummaryText(const std::string& path, const TTraining& training);
