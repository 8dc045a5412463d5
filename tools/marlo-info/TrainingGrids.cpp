#include "TrainingGrids.h"

std::string CsvCell(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

void WriteCsv(std::ostream& out, const TTraining& training, TGridKind kind)
{
    const int columns = GridColumnCount(kind);
    out << CsvCell("#");
    for (int c = 0; c < columns; ++c) out << ',' << CsvCell(GridColumnCaption(training, kind, c));
    out << "\r\n";
    const int rows = GridRowCount(training, kind);
    for (int r = 0; r < rows; ++r) {
        out << CsvCell(GridRowLabel(r));
        for (int c = 0; c < columns; ++c) out << ',' << CsvCell(GridCellText(training, kind, r, c));
        out << "\r\n";
    }
}
