#include "ValueReport.h"

#include "JsonStream.h"
#include "untCharts.h"
#include "untTrainingGrids.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace {

// An array of the texts text(0) .. text(count - 1).
template <typename TText>
void WriteTexts(TJsonStream& json, int count, TText text)
{
    json.BeginArray();
    for (int i = 0; i < count; ++i) json.Value(text(i));
    json.EndArray();
}

std::string PadRight(const std::string& text, size_t width)
{
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::string PadLeft(const std::string& text, size_t width)
{
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

using TTextGrid = std::vector<std::vector<std::string>>;

// A small grid's texts: the header row ("#" and the captions), then one row
// per data row (its row number and cells).
TTextGrid GridTexts(const TTraining& training, TGridKind kind)
{
    const int columns = GridColumnCount(kind);
    const int rows = GridRowCount(training, kind);
    TTextGrid grid(static_cast<size_t>(rows) + 1);
    grid[0].push_back("#");
    for (int c = 0; c < columns; ++c) grid[0].push_back(GridColumnCaption(training, kind, c));
    for (int r = 0; r < rows; ++r) {
        std::vector<std::string>& row = grid[static_cast<size_t>(r) + 1];
        row.push_back(GridRowLabel(r));
        for (int c = 0; c < columns; ++c) row.push_back(GridCellText(training, kind, r, c));
    }
    return grid;
}

// The grid turned on its side: one line per column, captions first, then one
// right-aligned column per row, so that the wide interval rows stay readable.
std::string SidewaysTable(const TTextGrid& grid)
{
    const size_t columns = grid.front().size();
    std::vector<size_t> widths(grid.size(), 0);
    for (size_t r = 0; r < grid.size(); ++r)
        for (const std::string& cell : grid[r]) widths[r] = std::max(widths[r], cell.size());
    std::ostringstream out;
    for (size_t c = 0; c < columns; ++c) {
        std::string line = "  " + PadRight(grid[0][c], widths[0]);
        for (size_t r = 1; r < grid.size(); ++r) line += "  " + PadLeft(grid[r][c], widths[r]);
        out << line << "\n";
    }
    return out.str();
}

} // namespace

void WriteValuesJson(TJsonStream& json, const TTraining& training)
{
    json.BeginObject();
    json.Member("dr_ratio", AverageDRRatioText(training));
    json.Key("intervals");
    json.BeginArray();
    for (const TInterval& interval : training.Intervals)
        WriteTexts(json, IntervalParameterCount, [&](int i) { return IntervalValueText(interval, i); });
    json.EndArray();
    json.Key("strokes");
    json.BeginArray();
    for (size_t r = 1; r < training.Strokes.size(); ++r)
        WriteTexts(json, StrokeParameterCount,
                   [&](int i) { return StrokeValueText(training.Strokes[r], i, training.Settings); });
    json.EndArray();
    json.Key("totals");
    WriteTexts(json, TotalParameterCount, [&](int i) { return TotalValueWithUnit(training, i); });
    json.EndObject();
}

std::string ValuesSummaryText(const TTraining& training)
{
    std::ostringstream out;
    const auto line = [&out](const char* caption, const std::string& value) {
        out << "  " << PadRight(caption, 14) << value << "\n";
    };
    out << "\nTotals\n";
    line("Distance", TotalValueWithUnit(training, 0));
    line("Time", TotalValueWithUnit(training, 1));
    line("Energy", TotalValueWithUnit(training, 2));
    line("Strokes", TotalValueWithUnit(training, 4));
    out << "Averages\n";
    line("Power", TotalValueWithUnit(training, 3));
    line("500m time", TotalValueWithUnit(training, 5));
    line("Stroke rate", TotalValueWithUnit(training, 6));
    line("DR ratio", AverageDRRatioText(training));
    if (!training.Intervals.empty())
        out << "\nIntervals\n" << SidewaysTable(GridTexts(training, TGridKind::Intervals));
    return out.str();
}
