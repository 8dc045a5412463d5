#include "TrainingGrids.h"

#include "untCharts.h"
#include "untFiles.h"

namespace {

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The row label: "%4.0f" of the row number.
std::string RowLabel(size_t row)
{
    return Trimmed(FormatParameterValue("%4.0f", static_cast<float>(row)));
}

// A column id is shown only when an entry has it; the map's unassigned slots
// hold 0 but show nothing.
bool IsAssigned(const TParameters& entries, const TColumnMap& map, size_t column)
{
    return entries[static_cast<size_t>(map[column])].Column == static_cast<int>(column);
}

template <typename TCaption>
std::vector<std::string> HeaderRow(const TParameters& entries, const TColumnMap& map, TCaption caption)
{
    std::vector<std::string> header{"#"};
    for (size_t c = 0; c < map.size(); ++c)
        header.push_back(IsAssigned(entries, map, c) ? caption(map[c]) : "");
    return header;
}

template <typename TCell>
std::vector<std::string> ValueRow(size_t number, const TParameters& entries, const TColumnMap& map, TCell cell)
{
    std::vector<std::string> row{RowLabel(number)};
    for (size_t c = 0; c < map.size(); ++c)
        row.push_back(IsAssigned(entries, map, c) ? Trimmed(cell(map[c])) : "");
    return row;
}

std::string CsvCell(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace

TTextGrid StrokeDataGrid(const TTraining& training)
{
    TTextGrid grid{HeaderRow(StrokeParameters, StrokeColumns, StrokeCaption)};
    for (size_t r = 1; r < training.Strokes.size(); ++r) {
        const TStroke& stroke = training.Strokes[r];
        grid.push_back(ValueRow(r, StrokeParameters, StrokeColumns, [&](int entry) {
            return StrokeValueText(stroke, entry, training.Settings);
        }));
    }
    return grid;
}

TTextGrid ForceCurveGrid(const TTraining& training)
{
    std::vector<std::string> header{"#", "Used"};
    const double spacing = CurveSpacing(training.Settings);
    for (int k = 1; k <= CurveSamples; ++k)
        header.push_back(Trimmed(FormatParameterValue("%3.1f", static_cast<float>(k * spacing))));
    TTextGrid grid{header};
    for (size_t r = 1; r < training.Curves.size(); ++r) {
        const TForceCurve& curve = training.Curves[r];
        std::vector<std::string> row{RowLabel(r), curve.Valid ? "+" : ""};
        for (uint16_t sample : SamplesOf(curve))
            row.push_back(Trimmed(FormatParameterValue("%3.0f", sample)));
        grid.push_back(row);
    }
    return grid;
}

TTextGrid IntervalsGrid(const TTraining& training)
{
    TTextGrid grid{HeaderRow(IntervalParameters, IntervalColumns, IntervalCaption)};
    for (size_t k = 0; k < training.Intervals.size(); ++k) {
        const TInterval& interval = training.Intervals[k];
        grid.push_back(ValueRow(k + 1, IntervalParameters, IntervalColumns, [&](int entry) {
            return IntervalValueText(interval, entry);
        }));
    }
    return grid;
}

std::string CsvText(const TTextGrid& grid)
{
    std::string text;
    for (const std::vector<std::string>& row : grid) {
        for (size_t c = 0; c < row.size(); ++c) text += (c > 0 ? "," : "") + CsvCell(row[c]);
        text += "\r\n";
    }
    return text;
}
