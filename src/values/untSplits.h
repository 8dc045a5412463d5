// Splits: a training cut into pieces of so many strokes, metres or seconds,
// with the values of the split catalogue for each piece. The training
// window's splits grid and marlo-info's splits CSV show them.
#pragma once

#include "untTypes.h"

#include <optional>
#include <string>
#include <vector>

enum class TSplitKind { Strokes, Distance, Time };

// How a training is split: by stroke count, metres or seconds.
struct TSplitSetting {
    TSplitKind Kind = TSplitKind::Distance;
    double Size = 500;
    bool operator==(const TSplitSetting& other) const { return Kind == other.Kind && Size == other.Size; }
};

// The entries of the split catalogue, in catalogue order.
enum TSplitEntry {
    spStrokesCumulative, spStrokes, spDistanceCumulative, spDistance, spTimeCumulative, spTime,
    spPower, spStrokeRate, spStrokeLength, spDistancePerStroke, spSplit500, spSpeedMps,
    spEnergyPerStroke, spEnergySumCumulative, spEnergySum, spPulse, spWorkPerPulse, spDriveTime,
    spRecoverTime, spStrokeTime, spDriveRecoverRatio, SplitEntryCount
};

// Strokes First..Last of the training (indexes into Strokes, 1..N) and the
// value of every split entry; times in days, as the catalogue's formats want.
struct TSplit {
    int FirstStroke = 0;
    int LastStroke = 0;
    float Values[SplitEntryCount] = {};
};

// The training's strokes in splits of whole strokes. A split ends with the
// first stroke whose count, distance or time since the start reaches the
// split's boundary (k x size); the next boundary is the first multiple of the
// size beyond that stroke, so a stroke that passes several boundaries makes
// no empty splits. The last split holds the rest, however short. No splits
// without strokes or for a size that is not a positive number.
std::vector<TSplit> ComputeSplits(const TTraining& training, const TSplitSetting& setting);

// The value of split entry `index`; 0 outside the catalogue.
float SplitValue(const TSplit& split, int index);
// That value formatted with its entry's Format, trimmed.
std::string SplitValueText(const TSplit& split, int index);

// The sizes offered for a kind: strokes 10, 20, 50, 100; metres 100, 250,
// 500, 1000, 2000; seconds 30, 60, 120, 300, 600.
std::vector<double> UsualSplitSizes(TSplitKind kind);
// A size as the splits page shows it: "20", "500 m", "30 s", "2 min".
std::string SplitSizeText(TSplitKind kind, double size);
// A typed size: a number, with "." or "," as its decimal mark, and an
// optional unit ("m"; "s" or "min"), or for times minutes and seconds as
// "m:ss". Nothing for a text that is none of these or for a size that is
// negative or not finite; 0 is a size, which makes no splits.
std::optional<double> ParseSplitSize(TSplitKind kind, const std::string& text);

// "strokes", "distance", "time", and back (nothing for another name).
std::string SplitKindName(TSplitKind kind);
std::optional<TSplitKind> SplitKindNamed(const std::string& name);
