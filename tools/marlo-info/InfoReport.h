// What marlo-info prints of a training: a readable summary and a JSON document.
#pragma once

#include "untTypes.h"

#include <ostream>
#include <string>
#include <vector>

// A single as the shortest decimal that reads back to the same 32-bit value;
// NoValueText for one that is not finite.
std::string SingleText(float value);

// The report of one read as a JSON document and a line break, written record
// by record as it is made: the file's name, whether it was read, the
// messages shown, the whole training record and its shown values. Any text
// that is not valid UTF-8, a file name among them, is written with U+FFFD
// in place of what is not.
void WriteReportJson(std::ostream& out, const std::string& path, bool ok, const std::vector<std::string>& messages,
                     const TTraining& training);
std::string SummaryText(const std::string& path, const TTraining& training);
