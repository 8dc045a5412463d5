// What the readers of today's training files (FIT, TCX, rowing-data CSV)
// share: a training begun for a file, the strokes and laps a reader gathers,
// the force curves resampled to the record's 80 samples, and the record
// completed as every other reader leaves it.
#pragma once

#include "untTypes.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A file that holds more strokes is cut after this many, with a message.
const size_t MaxImportedStrokes = 65535;

// A force curve as a file gives it: forces in newtons at equal steps along
// the handle's travel, the first a step after the catch; Step is in cm, 0
// when the file does not say (the curve then spans the stroke's drive).
struct TSourceCurve {
    std::vector<double> Forces;
    double Step = 0;
};

// One lap of a file: its strokes First..Last (Last < First: none) and
// whether it is rest.
struct TImportedLap {
    size_t First = 1;
    size_t Last = 0;
    bool Rest = false;
};

// Runs read, which fills a training from the file at path, and answers
// whether it finished: an input/output error shows the program's message,
// anything else the file holds that cannot be trusted (numbers that are no
// numbers among it) gives a beep.
bool ImportFile(const std::string& path, const std::function<void()>& read);
// An empty training for the file at path: its name, size, time, kind and
// format, and the usual settings.
void BeginImport(TTraining& training, const std::string& path, uint8_t kind, uint8_t format);
// Gathers a file's strokes into a training: each with its curve resampled,
// at most MaxImportedStrokes of them; the strokes beyond are left out, with
// one message.
class TImportedStrokes {
public:
    explicit TImportedStrokes(TTraining& training) : Training(training) {}
    void Add(const TStroke& stroke, const TSourceCurve& curve);
    size_t Count() const { return Training.Strokes.size() - 1; }

private:
    TTraining& Training;
    bool Cut = false;
};
// A number as today's text files write it, whatever the locale: a dot for the
// decimal point, an optional sign and exponent, blanks around it. Nothing for
// any other text, nor for a number that no stroke value holds (not finite as
// a float).
std::optional<double> ImportedNumber(std::string_view text);
// The record's curve for a source curve: resampled to the training's sample
// spacing, not valid when there is nothing to resample.
TForceCurve ImportedCurve(const TSourceCurve& source, double driveLengthCm, const TUserSettings& settings);
// Completes the training: the strokes numbered, running averages and energy
// sums, distance per stroke and drive time where the file gave none, the
// laps as intervals (more than one lap makes an interval session; rest laps
// are no intervals and their strokes have interval number 0), the totals
// where the file gave none, the peak forces and the average stroke.
void FinishImport(TTraining& training, const std::vector<TImportedLap>& laps);
