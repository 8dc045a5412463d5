// marlo-info: opens a training file exactly as the desktop program does and
// prints it as a summary, as JSON or one of its data grids as CSV. Messages
// the desktop program would show go to standard error.
#include "InfoReport.h"
#include "TrainingGrids.h"
#include "ValueReport.h"

#include "untFiles.h"
#include "untMessages.h"

#include <iostream>
#include <optional>

namespace {

const char* const Usage =
    "Usage: marlo-info [--json | --csv strokes|curves|intervals] FILE\n"
    "Prints a training file readable by Marlo.\n"
    "  (no option)  a readable summary\n"
    "  --json       the whole training record and its shown values as one JSON document\n"
    "  --csv GRID   the stroke-data, force-curve or intervals grid as CSV\n"
    "Exit status: 0 when the file was read, 1 when it was not, 2 for a usage error.\n";

// Writes every message to standard error, one per line, and keeps them for
// the JSON report; questions get the answer that changes nothing.
class TErrorStreamSink : public IMessageSink {
public:
    TMessageAnswer Show(TMessageKind, const std::string& text, TMessageButtons buttons) override
    {
        std::string line = text;
        for (char& c : line)
            if (c == '\r') c = ' ';
        std::cerr << line << "\n";
        Messages.push_back(text);
        return buttons == TMessageButtons::YesNo ? TMessageAnswer::No : TMessageAnswer::Cancel;
    }
    void Beep(int, int) override {}
    void MessageBeep() override {}

    std::vector<std::string> Messages;
};

int UsageError(const std::string& problem)
{
    std::cerr << "marlo-info: " << problem << "\n" << Usage;
    return 2;
}

std::optional<TGridKind> GridNamed(const std::string& name)
{
    if (name == "strokes") return TGridKind::Strokes;
    if (name == "curves") return TGridKind::Curves;
    if (name == "intervals") return TGridKind::Intervals;
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    SetCommandLine(argc, argv);
    bool json = false;
    std::optional<TGridKind> csvGrid;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << Usage;
            return 0;
        }
        if (argument == "--json") {
            json = true;
        } else if (argument == "--csv") {
            if (i + 1 >= argc || !(csvGrid = GridNamed(argv[++i])))
                return UsageError("--csv needs strokes, curves or intervals");
        } else if (argument.size() > 1 && argument[0] == '-') return UsageError("unknown option " + argument);
        else if (path.empty()) path = argument;
        else return UsageError("more than one file given");
    }
    if (path.empty()) return UsageError("no file given");
    if (json && csvGrid) return UsageError("--json and --csv exclude each other");

    TErrorStreamSink sink;
    SetMessageSink(&sink);
    TTraining training;
    const bool ok = OpenTrainingFile(path, training, true);
    if (json) {
        nlohmann::json report = ReportJson(path, ok, sink.Messages, training);
        report["values"] = ValuesJson(training);
        std::cout << report.dump(1) << "\n";
    } else if (ok && csvGrid) {
        WriteCsv(std::cout, training, *csvGrid);
    } else if (ok) {
        std::cout << SummaryText(path, training) << ValuesSummaryText(training);
    }
    SetMessageSink(nullptr);
    return ok ? 0 : 1;
}
