// The training window's grids cell by cell, from the value catalogues.
#include "untTrainingGrids.h"

#include "jsUtils.h"
#include "untCharts.h"
#include "untCurveAnalysis.h"
#include "untFiles.h"

namespace {

// "Used", the samples and the shape values.
const int CurveColumnCount = 1 + CurveSamples + static_cast<int>(CurveShapeCaptions.size());
const std::string RowLabelFormat = "%4.0f";
const std::string CurvePositionFormat = "%3.1f";

bool InRange(int value, int count) { return value >= 0 && value < count; }

int CountOf(size_t size) { return static_cast<int>(size); }

} // namespace

int GridColumnCount(TGridKind kind)
{
    switch (kind) {
    case TGridKind::Strokes: return CountOf(StrokeColumns.size());
    case TGridKind::Curves: return CurveColumnCount;
    case TGridKind::Intervals: return CountOf(IntervalColumns.size());
    case TGridKind::Splits: return CountOf(SplitColumns.size());
    }
    return 0;
}

std::string GridColumnCaption(const TTraining& training, TGridKind kind, int column)
{
    int entry = -1;
    switch (kind) {
    case TGridKind::Strokes:
        entry = EntryInColumn(StrokeParameters, StrokeColumns, column);
        return entry < 0 ? "" : StrokeCaption(entry);
    case TGridKind::Curves:
        if (!InRange(column, CurveColumnCount)) return "";
        if (column == 0) return "Used";
        if (column > CurveSamples) return CurveShapeCaptions[static_cast<size_t>(column - CurveSamples - 1)];
        return Trim(FormatParameterValue(CurvePositionFormat,
                                         static_cast<float>(column * CurveSpacing(training.Settings))));
    case TGridKind::Intervals:
        entry = EntryInColumn(IntervalParameters, IntervalColumns, column);
        return entry < 0 ? "" : IntervalCaption(entry);
    case TGridKind::Splits:
        entry = EntryInColumn(SplitParameters, SplitColumns, column);
        return entry < 0 ? "" : SplitCaption(entry);
    }
    return "";
}

int GridRowCount(const TTraining& training, TGridKind kind)
{
    switch (kind) {
    case TGridKind::Strokes:
    case TGridKind::Curves: return training.Strokes.empty() ? 0 : CountOf(training.Strokes.size() - 1);
    case TGridKind::Intervals: return CountOf(training.Intervals.size());
    case TGridKind::Splits: return 0;
    }
    return 0;
}

std::string GridRowLabel(int row)
{
    return Trim(FormatParameterValue(RowLabelFormat, static_cast<float>(row + 1)));
}

std::string GridCellText(const TTraining& training, TGridKind kind, int row, int column)
{
    if (!InRange(row, GridRowCount(training, kind))) return "";
    const size_t at = static_cast<size_t>(row);
    int entry = -1;
    switch (kind) {
    case TGridKind::Strokes:
        entry = EntryInColumn(StrokeParameters, StrokeColumns, column);
        return entry < 0 ? "" : Trim(StrokeValueText(training.Strokes[at + 1], entry, training.Settings));
    case TGridKind::Curves: {
        // Curves is kept as long as Strokes, but a record may break that.
        if (!InRange(column, CurveColumnCount) || at + 1 >= training.Curves.size()) return "";
        const TForceCurve& curve = training.Curves[at + 1];
        if (column == 0) return curve.Valid ? "+" : "";
        if (column > CurveSamples) {
            const TCurveShape shape = CurveShape(training.Strokes[at + 1], curve, CurveSpacing(training.Settings));
            return CurveShapeTexts(shape)[static_cast<size_t>(column - CurveSamples - 1)];
        }
        // A sample is a whole number: "%3.0f" trimmed is its decimal digits.
        return std::to_string(curve.Samples[column - 1]);
    }
    case TGridKind::Intervals:
        entry = EntryInColumn(IntervalParameters, IntervalColumns, column);
        return entry < 0 ? "" : Trim(IntervalValueText(training.Intervals[at], entry));
    case TGridKind::Splits: return "";
    }
    return "";
}

std::string SplitCellText(const std::vector<TSplit>& splits, int row, int column)
{
    if (!InRange(row, CountOf(splits.size()))) return "";
    const int entry = EntryInColumn(SplitParameters, SplitColumns, column);
    return entry < 0 ? "" : SplitValueText(splits[static_cast<size_t>(row)], entry);
}
