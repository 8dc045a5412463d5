// marlo-info: opens a training file exactly as the desktop program does and
// prints it as a summary, as JSON or one of its data grids as CSV. Messages
// the desktop program would show go to standard error.
#include "InfoReport.h"
#include "TrainingGrids.h"
#include "ValueReport.h"

#include "untFiles.h"
#include "untMessages.h"

#include <exception>
#include <iostream>
#include <optional>

namespace {

const char* const Usage =
    "Usage: marlo-info [--json | --csv strokes|curves|intervals] [--] FILE\n"
    "Prints a training file readable by Marlo.\n"
    "  (no option)  a readable summary\n"
    "  --json       the whole training record and its shown values as one JSON document\n"
    "  --csv GRID   the stroke-data, force-curve or intervals grid as CSV\n"
    "  --           ends the options: a FILE after it may start with \"-\"\n"
    "Exit status: 0 when the file was read, 1 when it was not, 2 for a usage error,\n"
    "3 for any other failure.\n";

// The exit statuses the usage text lists.
const int SuccessExit = 0; // the file was read, or the usage text asked for
const int NotReadExit = 1;
const int UsageExit = 2;
const int FailureExit = 3;

// Writes every message to standard error, one per line, and keeps them for
// the JSON report; questions get the answer that changes nothing. Installed
// for its lifetime.
class TErrorStreamSink : public IMessageSink {
public:
    TErrorStreamSink() { SetMessageSink(this); }
    ~TErrorStreamSink() override { SetMessageSink(nullptr); }
    TErrorStreamSink(const TErrorStreamSink&) = delete;
    TErrorStreamSink& operator=(const TErrorStreamSink&) = delete;

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
    return UsageExit;
}

std::optional<TGridKind> GridNamed(const std::string& name)
{
    if (name == "strokes") return TGridKind::Strokes;
    if (name == "curves") return TGridKind::Curves;
    if (name == "intervals") return TGridKind::Intervals;
    return std::nullopt;
}

// Reads the file and prints it as the options ask.
int PrintFile(const std::string& path, bool json, std::optional<TGridKind> csvGrid)
{
    TErrorStreamSink sink;
    TTraining training;
    const bool ok = OpenTrainingFile(path, training, true);
    if (json) {
        WriteReportJson(std::cout, path, ok, sink.Messages, training);
    } else if (ok && csvGrid) {
        WriteCsv(std::cout, training, *csvGrid);
    } else if (ok) {
        std::cout << SummaryText(path, training);
        WriteValuesSummary(std::cout, training);
    }
    // A full disk or a closed output must not pass for a finished report.
    if (!std::cout.flush()) {
        std::cerr << "marlo-info: the output could not be written\n";
        return FailureExit;
    }
    return ok ? SuccessExit : NotReadExit;
}

// Takes the options and the file's name from the command line; the exit status.
int Run(int argc, char** argv)
{
    SetCommandLine(argc, argv);
    bool json = false;
    std::optional<TGridKind> csvGrid;
    std::string path;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool option = options && argument.size() > 1 && argument[0] == '-';
        if (option && (argument == "--help" || argument == "-h")) {
            std::cout << Usage;
            return SuccessExit;
        }
        if (!option) {
            if (!path.empty()) return UsageError("more than one file given");
            path = argument;
        } else if (argument == "--") {
            options = false;
        } else if (argument == "--json") {
            json = true;
        } else if (argument == "--csv") {
            if (i + 1 >= argc || !(csvGrid = GridNamed(argv[++i])))
                return UsageError("--csv needs strokes, curves or intervals");
        } else {
            return UsageError("unknown option " + argument);
        }
    }
    if (path.empty()) return UsageError("no file given");
    if (json && csvGrid) return UsageError("--json and --csv exclude each other");
    return PrintFile(path, json, csvGrid);
}

} // namespace

// Whatever goes wrong ends in a message and an exit status, never in an
// abort.
int main(int argc, char** argv)
{
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "marlo-info: " << e.what() << "\n";
    } catch (...) {
        std::cout.flush();
        std::cerr << "marlo-info: unexpected failure\n";
    }
    return FailureExit;
}
