// What every read must leave behind, whatever bytes the file held: shared by
// the fuzz targets and the replay of the regression corpus, so that both
// judge a read by the same rules. Standard library only (no test framework).
#pragma once

#include "untCharts.h"
#include "untTypes.h"

#include <string>
#include <vector>

// One read through the dispatcher as the desktop program does it (errors
// shown), and what the user saw of it.
struct TReadResult {
    bool Ok = false;
    TTraining Training;
    std::vector<std::string> Errors; // texts of the error boxes, in order
    std::vector<double> Progress;    // fractions reported, in order
};

// Opens path with OpenTrainingFile while a recording sink is installed.
void ReadThroughDispatcher(const std::string& path, TReadResult& result);

// What is wrong with a read of path, or "" when it is sound: a failure must
// leave the clean empty record and end with the dispatcher's message; a
// success keeps strokes and curves in step, numbered as its reader numbers
// them, within the sizes a valid file can give.
std::string FaultOfRead(const std::string& path, const TReadResult& result);

// What is wrong with a catalogue after LoadParameterSettings loaded the
// first count entries of builtIn into loaded and answered message, or "".
std::string FaultOfLoadedParameters(const TParameters& builtIn, const TParameters& loaded, int count,
                                    const std::string& message);

