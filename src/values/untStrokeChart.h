// The stroke-data chart's computations: one stroke value of a training as a
// line against the stroke number, the time or the distance, smoothed by a
// moving average, reduced to what a chart's width can show, the value axis's
// range by the entry's scale mode, the interval spans and the stroke under a
// cursor. Plain functions over TTraining; the window only draws their results.
#pragma once

#include "untTypes.h"

#include <string>
#include <vector>

struct ParameterType;

// What a line is drawn against.
enum TStrokeAxis { saStroke, saTime, saDistance };

// One stroke of a line: x on the chosen axis (seconds for the time), the
// (smoothed) value, the stroke's index in Strokes (1..N) and its interval
// number (0 for a rest stroke).
struct TStrokePoint {
    double X = 0;
    double Y = 0;
    int Stroke = 0;
    int Interval = 0;
};
using TStrokePoints = std::vector<TStrokePoint>;

// The moving averages a line may be smoothed with; 1 is the raw value.
const int SmoothingWindows[] = {1, 3, 5, 10, 30};

// The x of every stroke 1..N of the training on the axis. A damaged file may
// hold a time or distance that falls back or is not finite: such a stroke
// keeps the x of the stroke before it, so x never falls and a line never
// runs backwards.
std::vector<double> StrokeAxisValues(const TTraining& training, TStrokeAxis axis);

// The line of catalogue entry `entry` for strokes 1..N: values that are not
// finite are left out; with window > 1 each value is the mean of the window's
// strokes that end at it (fewer at the start). Empty without strokes or for
// an entry outside the catalogue.
TStrokePoints StrokeLine(const TTraining& training, int entry, TStrokeAxis axis, int window);

// The points of line that a chart `columns` pixels wide showing x from left
// to right needs: of the points in each pixel column, the first, the lowest,
// the highest and the last, in their order; and the nearest point on either
// side outside the range, so that the line reaches the edges. A line with no
// more points than four per column comes back whole. x must not fall.
TStrokePoints ReduceLine(const TStrokePoints& line, double left, double right, int columns);

// The index in line of the point nearest to x (the earlier of two equally
// near); -1 for an empty line. x must not fall.
int NearestPoint(const TStrokePoints& line, double x);

// A value axis: from Minimum to Maximum with a tick every Step; Reversed
// draws the smallest value at the top.
struct TValueRange {
    double Minimum = 0;
    double Maximum = 1;
    double Step = 0.2;
    bool Reversed = false;
};

// The scale modes of a catalogue entry, as ParameterType::ScaleMode holds them.
enum TScaleMode { smAuto, smDouble, smManual, smRange };

// The round range that holds low..high with about `ticks` ticks: steps of 1,
// 2 or 5 times a power of ten (for times in seconds also 10, 15 and 30 seconds
// and whole minutes). A single value gets a span around it.
TValueRange RoundRange(double low, double high, int ticks, bool time);

// Whether smaller values of the entry are the faster ones (the 500 m times).
bool SmallerIsFaster(int entry);
// Whether the entry's values are times (kept in days, charted in seconds).
bool IsTimeEntry(int entry);

// The value axis of an entry for values from low to high (in the chart's
// unit: seconds for times), by its scale mode:
// - Auto: fits the values with round ticks;
// - Double: the stored range, doubled in span about its middle until every
//   value fits, the ticks doubling with it (a range that grows in a few large
//   jumps, so that close sessions share it);
// - Manual: the stored minimum, maximum and step, whatever the values;
// - Range: the stored range, widened by whole steps until every value fits.
// A stored range that is empty or has no usable step falls back to Auto.
// Entries where smaller is faster run reversed.
TValueRange EntryRange(const ParameterType& entry, int index, double low, double high);

// The text of an axis tick for the entry: m:s for times (seconds), the
// value with as many decimals as the step needs otherwise.
std::string TickText(double value, double step, bool time);

// The x span of each work interval of the line: from its first stroke to its
// last, numbered as the strokes are. Rest strokes (interval 0) belong to none.
struct TIntervalSpan {
    double From = 0;
    double To = 0;
    int Number = 0;
};
std::vector<TIntervalSpan> IntervalSpans(const TStrokePoints& line);

// Low and high of the line's values; false for an empty line.
bool LineLimits(const TStrokePoints& line, double& low, double& high);
