// What the force-curve window shows of a training, as plain data: the stroke
// and curve it shows, the chart points of that curve, the caption and the
// data-grid row, the one-stroke record that exports it, and the browse steps
// and browse-control state kept in the training's header. The window only
// turns these into series, cells and control states.
//
// Files can hold any CurveIndex, CurveInterval and CurveSource, and Curves may
// be shorter than Strokes: every index is checked before it is read.
#pragma once

#include "untCurveAnalysis.h"
#include "untTypes.h"

#include <functional>
#include <string>
#include <vector>

// The force-curve window's options that rescale curves.
struct TCurveScaling {
    bool FixedForce = false;
    bool FixedLength = false;
    int Length = 150; // cm, the length every curve is stretched to
    int Force = 550;  // N, the peak every curve is scaled to
    bool operator==(const TCurveScaling& other) const
    {
        return FixedForce == other.FixedForce && FixedLength == other.FixedLength && Length == other.Length
               && Force == other.Force;
    }
    bool operator!=(const TCurveScaling& other) const { return !(*this == other); }
};

// The values of a header's CurveSource.
const uint8_t SourceStroke = 0;
const uint8_t SourceAverage = 1;
const uint8_t SourceInterval = 2;

// The stroke and curve a training shows by its CurveSource: SourceStroke the
// stroke CurveIndex (1..N), SourceAverage the average (element 0),
// SourceInterval the average of interval CurveInterval (made from its strokes
// where the file holds no curve for it). False, with both
// zeroed, when that source does not exist (other source values, indexes
// beyond the arrays).
bool ShownStroke(const TTraining& training, TStroke& stroke, TForceCurve& curve);

struct TCurvePoint {
    float X = 0, Y = 0;
};
using TCurvePoints = std::vector<TCurvePoint>;

// The 80 chart points of the training's shown curve (x = j * spacing in single
// precision, y = resampled force, rescaled by the options); empty when the
// training is not Visible, has no strokes (N < 1), CurveIndex < 1, or its
// source does not exist.
TCurvePoints ShownCurvePoints(const TTraining& training, const TCurveScaling& scaling);
// The 80 chart points of any stroke's curve, rescaled by the options.
TCurvePoints StrokeCurvePoints(const TStroke& stroke, const TForceCurve& curve, const TUserSettings& settings,
                               const TCurveScaling& scaling);
// With the show-all flag (Spare2) set, a Visible training with N >= 1 and
// CurveIndex >= 1: the points of every stroke 1..N with a valid curve, in
// order (drawn in the inverse colour); else empty.
std::vector<TCurvePoints> AllCurvePoints(const TTraining& training, const TCurveScaling& scaling);
// The same points one curve at a time, without keeping them.
void ForEachOfAllCurves(const TTraining& training, const TCurveScaling& scaling,
                        const std::function<void(const TCurvePoints&)>& visit);
// While a drawing training shows single strokes: the points of the `count`
// valid strokes before the shown one, the nearest first.
std::vector<TCurvePoints> TrailCurvePoints(const TTraining& training, const TCurveScaling& scaling, size_t count);

// The strokes a drawing training's shown average is made of spread as `band`
// says (SpreadBand of its AveragedStrokes); ShownBand is empty (Count 0) for a
// training that shows a single stroke or does not draw. The band's edges as
// chart points, rescaled as the average they surround.
TCurveBand ShownBand(const TTraining& training);
struct TCurveBandPoints {
    TCurvePoints Low, High;
};
TCurveBandPoints ShownBandPoints(const TTraining& training, const TCurveBand& band, const TCurveScaling& scaling);

// A curve kept on the chart as a reference while the training moves on: what
// the training shows now, with its caption, and the settings its values and
// spacing need.
struct TPinnedCurve {
    std::string Caption;
    TStroke Stroke{};
    TForceCurve Curve{};
    TUserSettings Settings{};
};
// False when the training draws no curve.
bool PinShownCurve(const TTraining& training, TPinnedCurve& pinned);

// The force axis runs from 0 to ForceAxisTop in steps of ForceAxisStep as
// long as every drawn curve fits; a curve that goes higher (a strong rower
// can pull more than 780 N at the handle) extends it by whole steps.
const double ForceAxisTop = 780;
const double ForceAxisStep = 77;
// The top of the force axis that holds forces up to `highest`: ForceAxisTop,
// or as few whole steps above it as hold `highest`. Forces above 65,535 N, the
// largest a sample holds, are not held: only a rescaled curve reaches them,
// and an axis without bound would take a tick for every 77 N of them.
double ForceAxisMaximum(float highest);
// The larger of `highest` and the highest force among the points; forces
// that are not finite are passed over.
float HighestForce(const TCurvePoints& points, float highest = 0);

// The caption in the trainings list and the data grid's first column, with
// the training's title t and N strokes: source 0 "t" when CurveIndex = 1 and
// N = 1, else "t (CurveIndex/N)"; source 1 "t [A] (N)"; source 2
// "t [Int CurveInterval + 1]"; any other source "". UTF-8.
std::string TrainingCaption(const TTraining& training);

// The captions of the data grid's value columns: the stroke captions in
// column order ("" for a column id no entry has), then the shape values'.
std::vector<std::string> CurveGridCaptions();

// The texts of the data grid's value columns for the training's shown stroke,
// trimmed of blanks like every grid cell: the stroke values (a column id no
// catalogue entry has stays empty), then the shape of the shown curve. The stroke length, energy per
// stroke, peak force, peak force position and relative peak force position
// are the rescaled values; with an option on they are the only cells filled.
// A source that does not exist gives the texts of an all-zero stroke.
std::vector<std::string> CurveRowTexts(const TTraining& training, const TCurveScaling& scaling);
// The same texts for any stroke and curve.
std::vector<std::string> StrokeRowTexts(const TStroke& stroke, const TForceCurve& curve,
                                        const TUserSettings& settings, const TCurveScaling& scaling);

// The one-stroke training that exports the shown curve: the settings copied,
// stroke 1 the shown stroke (all zero when an option rescaled it) with Number
// 1 and the rescaled stroke length and energy, curve 1 the rescaled samples
// (Valid 0), element 0 zero, no title; made from an all-zero stroke when the
// source does not exist. The caller saves it with
// SaveTrainingFile(path, record, fkStroke).
TTraining ExportedStrokeTraining(const TTraining& training, const TCurveScaling& scaling);

// Browsing one training's strokes; true when CurveIndex changed. Previous and
// next pass over strokes whose curve is not valid (or not stored); first and
// last do not. GoToCurve ignores positions outside 1..N.
bool FirstCurve(TTraining& training);
bool PreviousCurve(TTraining& training);
bool NextCurve(TTraining& training);
bool LastCurve(TTraining& training);
bool GoToCurve(TTraining& training, int position);

// Withdraws the curve of stroke CurveIndex: Valid := 0, then the previous
// curve is shown when CurveIndex > 1, else the next; then the average stroke
// is computed again. Nothing happens when that stroke has no curve stored.
void DeleteShownCurve(TTraining& training);

// What the browse controls allow for the selected training.
struct TBrowseState {
    bool CurvesEnabled = false, CurvesChecked = false;
    bool AverageEnabled = false, AverageChecked = false;
    bool IntervalsEnabled = false, IntervalsChecked = false;
    int IntervalMaximum = 0, IntervalPosition = 0; // the interval scroll bar, 0-based
    bool Back = false, Forward = false, Delete = false;
    int ScrollMinimum = 0, ScrollPosition = 0, ScrollMaximum = 0;
    int CurveNumber = 0; // shown in the curve-number entry ("0" unless source 0)
};
// All false and zero when no training is selected (nullptr).
TBrowseState BrowseStateOf(const TTraining* selected);
