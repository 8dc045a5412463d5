// Force-curve analysis beyond one stroke: the strokes an average is made of,
// an interval's average made from its strokes where the file holds none, the
// spread of the strokes around an average, the strokes of a trail, and two
// values of a curve's shape.
#pragma once

#include "untTypes.h"

#include <array>
#include <string>
#include <vector>

// The strokes whose curves make an average, by a header's CurveSource: the
// session's (strokes 2..N with a valid curve, or stroke 1 alone when it is the
// only one), or interval `interval`'s (0-based: the strokes whose interval
// number is its number, with a valid curve). None for another source.
std::vector<size_t> AveragedStrokes(const TTraining& training, uint8_t source, int interval);

// Interval `interval`'s average stroke and curve: the file's, or, where the
// file's curve is all 0, made from its strokes as the session's average is.
// False, with both zero, for an interval the training does not have.
bool IntervalAverage(const TTraining& training, int interval, TStroke& stroke, TForceCurve& curve);

// The p-th percentile (0..100) of values, between the two nearest ranks on a
// line (the 50th of 1, 2, 3, 4 is 2.5); values are reordered. 0 for none.
float Percentile(std::vector<float>& values, double p);

// How widely the strokes of an average spread: at each of the 80 positions,
// the 10th and the 90th percentile of their curves, each resampled by its
// length as the average takes it. Count 0 when no stroke has a valid curve.
struct TCurveBand {
    size_t Count = 0;
    std::array<float, CurveSamples> Low{}, High{};
};
TCurveBand SpreadBand(const TTraining& training, const std::vector<size_t>& strokes);

// The valid strokes before stroke `from`, the nearest first, at most count.
std::vector<size_t> TrailStrokes(const TTraining& training, int from, size_t count);

// Two values of a curve's shape over the drive (the samples within the
// stroke's length, or up to the last force where the length is unknown):
// Fullness, the average force over the peak force (a full, rounded drive
// scores higher than a peaky one; 1 for a flat curve, about 0.5 for a
// triangle), and PeakShare, where the peak stands as a share of the stroke's
// length (the middle of a flat top). Both 0 for a curve without force.
struct TCurveShape {
    float Fullness = 0;
    float PeakShare = 0;
};
TCurveShape CurveShape(const TStroke& stroke, const TForceCurve& curve, double spacing);

// The shape values' captions in the grids, and their texts ("0.62", with the
// locale's decimal separator), "" for a curve without force.
const std::array<const char*, 2> CurveShapeCaptions = {"Fullness", "Peak share"};
std::array<std::string, 2> CurveShapeTexts(const TCurveShape& shape);
