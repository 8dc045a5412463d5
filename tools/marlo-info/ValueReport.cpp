#include "ValueReport.h"

#include "JsonStream.h"
#include "untCharts.h"
#include "untTrainingGrids.h"

#include <algorithm>
#include <ostream>
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

// The formats format(0) .. format(count - 1), each read once.
std::vector<TValueFormat> FormatsOf(int count, std::string (*format)(int))
{
    std::vector<TValueFormat> formats;
    for (int i = 0; i < count; ++i) formats.emplace_back(format(i));
    return formats;
}

std::string PadRight(const std::string& text, size_t width)
{
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::string PadLeft(const std::string& text, size_t width)
{
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

// A cell of the grid with its header row ("#" and the captions) on top and
// the row numbers in front, as the summary's table shows it.
std::string TableCell(const TTraining& training, TGridKind kind, int row, int column)
{
    if (row == 0) return column == 0 ? "#" : GridColumnCaption(training, kind, column - 1);
    return column == 0 ? GridRowLabel(row - 1) : GridCellText(training, kind, row - 1, column - 1);
}

// The grid turned on its side: one line per column, captions first, then one
// right-aligned column per row, so that the wide interval rows stay readable.
// Each cell is made twice, once for the widths and once for the lines, so
// that no table of texts is kept: a file may claim 65,535 intervals.
void WriteSidewaysTable(std::ostream& out, const TTraining& training, TGridKind kind)
{
    const int rows = GridRowCount(training, kind) + 1;
    const int columns = GridColumnCount(kind) + 1;
    std::vector<size_t> widths(static_cast<size_t>(rows), 0);
    for (int r = 0; r < rows; ++r) {
        size_t& width = widths[static_cast<size_t>(r)];
        for (int c = 0; c < columns; ++c) width = std::max(width, TableCell(training, kind, r, c).size());
    }
    for (int c = 0; c < columns; ++c) {
        out << "  " << PadRight(TableCell(training, kind, 0, c), widths[0]);
        for (int r = 1; r < rows; ++r)
            out << "  " << PadLeft(TableCell(training, kind, r, c), widths[static_cast<size_t>(r)]);
        out << "\n";
    }
}

} // namespace

void WriteValuesJson(TJsonStream& json, const TTraining& training)
{
    json.BeginObject();
    json.Member("dr_ratio", AverageDRRatioText(training));
    // IntervalValueText and StrokeValueText with each format read once for
    // all the rows: a file may hold 65,535 of each.
    json.Key("intervals");
    json.BeginArray();
    const std::vector<TValueFormat> intervalFormats = FormatsOf(IntervalParameterCount, IntervalFormat);
    for (const TInterval& interval : training.Intervals)
        WriteTexts(json, IntervalParameterCount, [&](int i) {
            return intervalFormats[static_cast<size_t>(i)].Text(IntervalValue(interval, i));
        });
    json.EndArray();
    json.Key("strokes");
    json.BeginArray();
    const std::vector<TValueFormat> strokeFormats = FormatsOf(StrokeParameterCount, StrokeFormat);
    for (size_t r = 1; r < training.Strokes.size(); ++r)
        WriteTexts(json, StrokeParameterCount, [&](int i) {
            return strokeFormats[static_cast<size_t>(i)].Text(StrokeValue(training.Strokes[r], i, training.Settings));
        });
    json.EndArray();
    json.Key("totals");
    WriteTexts(json, TotalParameterCount, [&](int i) { return TotalValueWithUnit(training, i); });
    json.EndObject();
}

void WriteValuesSummary(std::ostream& out, const TTraining& training)
{
    const auto line = [&out](const char* caption, const std::string& value) {
        out << "  " << PadRight(caption, 14) << value << "\n";
    };
    out << "\nTotals\n";
    line("Distance", TotalValueWithUnit(training, teDistance));
    line("Time", TotalValueWithUnit(training, teTime));
    line("Energy", TotalValueWithUnit(training, teEnergy));
    line("Strokes", TotalValueWithUnit(training, teStrokes));
    out << "Averages\n";
    line("Power", TotalValueWithUnit(training, teAveragePower));
    line("500m time", TotalValueWithUnit(training, teAverageSplit500));
    line("Stroke rate", TotalValueWithUnit(training, teAverageStrokeRate));
    line("DR ratio", AverageDRRatioText(training));
    if (!training.Intervals.empty()) {
        out << "\nIntervals\n";
        WriteSidewaysTable(out, training, TGridKind::Intervals);
    }
}
