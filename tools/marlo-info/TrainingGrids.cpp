#include "TrainingGrids.h"

namespace {

// The header row, then `rows` rows of the row number and cell(row, column).
template <typename Cell>
void WriteGrid(std::ostream& out, const TTraining& training, TGridKind kind, int rows, Cell cell)
{
    const int columns = GridColumnCount(kind);
    out << CsvCell("#");
    for (int c = 0; c < columns; ++c) out << ',' << CsvCell(GridColumnCaption(training, kind, c));
    out << "\r\n";
    for (int r = 0; r < rows; ++r) {
        out << CsvCell(GridRowLabel(r));
        for (int c = 0; c < columns; ++c) out << ',' << CsvCell(cell(r, c));
        out << "\r\n";
    }
}

} // namespace

std::string CsvCell(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

void WriteCsv(std::ostream& out, const TTraining& training, TGridKind kind)
{
    WriteGrid(out, training, kind, GridRowCount(training, kind),
              [&](int row, int column) { return GridCellText(training, kind, row, column); });
}

void WriteSplitsCsv(std::ostream& out, const TTraining& training, const TSplitSetting& setting)
{
    const std::vector<TSplit> splits = ComputeSplits(training, setting);
    WriteGrid(out, training, TGridKind::Splits, static_cast<int>(splits.size()),
              [&](int row, int column) { return SplitCellText(splits, row, column); });
}
