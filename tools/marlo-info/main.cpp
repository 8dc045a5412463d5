// marlo-info: opens a training file exactly as the desktop program does and
// prints it as a summary, as JSON or one of its data grids as CSV, or exports
// it as FIT, TCX or rowing-data CSV. Messages the desktop program would show
// go to standard error.
#include "InfoReport.h"
#include "TrainingGrids.h"
#include "ValueReport.h"

#include "untExport.h"
#include "untFiles.h"
#include "untMessages.h"

#include <exception>
#include <iostream>
#include <optional>

namespace {

const char* const Usage =
    "Usage: marlo-info [--json | --csv strokes|curves|intervals | --csv splits [--split KIND:SIZE]] [--] FILE\n"
    "       marlo-info --export fit|tcx|csv --output OUT [--] FILE\n"
    "       marlo-info --help | --version\n"
    "Prints a training file readable by Marlo, or exports it.\n"
    "  (no option)  a readable summary\n"
    "  --json       the whole training record and its shown values as one JSON document\n"
    "  --csv GRID   the stroke-data, force-curve, intervals or splits grid as CSV\n"
    "  --split KIND:SIZE\n"
    "               how the splits grid splits the training: strokes:N, distance:METRES\n"
    "               or time:SECONDS (default distance:500)\n"
    "  --export FORMAT\n"
    "               the training as a FIT activity, TCX or rowing-data CSV\n"
    "  --output OUT where the export goes (\"-\" for standard output); an existing\n"
    "               file is replaced only by a complete export\n"
    "  --           ends the options: a FILE after it may start with \"-\"\n"
    "  -h, --help   prints this help\n"
    "  --version    prints the version\n"
    "Exit status: 0 when the file was read, 1 when it was not, 2 for a usage error,\n"
    "3 for any other failure.\n";

// The exit statuses the usage text lists.
const int SuccessExit = 0; // the file was read, or the usage text or version asked for
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
    if (name == "splits") return TGridKind::Splits;
    return std::nullopt;
}

// "distance:500", "strokes:20", "time:90".
std::optional<TSplitSetting> SplitNamed(const std::string& text)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return std::nullopt;
    const auto kind = SplitKindNamed(text.substr(0, colon));
    if (!kind) return std::nullopt;
    const auto size = ParseSplitSize(*kind, text.substr(colon + 1));
    if (!size) return std::nullopt;
    return TSplitSetting{*kind, *size};
}

// What the command line asks for.
struct TOptions {
    bool Json = false;
    std::optional<TGridKind> CsvGrid;
    std::optional<TSplitSetting> Split;
    std::optional<TExportFormat> Export;
    std::optional<std::string> Output;
    std::string Path;
};

// Exports the training as the options ask; the exit status.
int ExportFile(const TTraining& training, const TOptions& options)
{
    if (*options.Output != "-")
        return ExportTrainingFile(*options.Output, training, *options.Export) ? SuccessExit : FailureExit;
    const std::string failure = WriteExport(std::cout, training, *options.Export);
    if (failure.empty()) return SuccessExit;
    ShowErrorMessage(failure);
    return FailureExit;
}

// Reads the file and prints it as the options ask.
int PrintFile(const TOptions& options)
{
    TErrorStreamSink sink;
    TTraining training;
    const std::string& path = options.Path;
    const bool ok = OpenTrainingFile(path, training, true);
    if (ok && options.Export) {
        const int status = ExportFile(training, options);
        if (status == SuccessExit && !std::cout.flush()) return FailureExit;
        return status;
    }
    if (options.Json) {
        WriteReportJson(std::cout, path, ok, sink.Messages, training);
    } else if (ok && options.CsvGrid == TGridKind::Splits) {
        WriteSplitsCsv(std::cout, training, options.Split.value_or(TSplitSetting()));
    } else if (ok && options.CsvGrid) {
        WriteCsv(std::cout, training, *options.CsvGrid);
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
    TOptions options;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool option = !optionsEnded && argument.size() > 1 && argument[0] == '-';
        if (option && (argument == "--help" || argument == "-h")) {
            std::cout << Usage;
            return SuccessExit;
        }
        if (option && argument == "--version") {
            std::cout << VersionText("marlo-info");
            return SuccessExit;
        }
        if (!option) {
            if (!options.Path.empty()) return UsageError("more than one file given");
            options.Path = argument;
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--json") {
            options.Json = true;
        } else if (argument == "--csv") {
            if (i + 1 >= argc || !(options.CsvGrid = GridNamed(argv[++i])))
                return UsageError("--csv needs strokes, curves, intervals or splits");
        } else if (argument == "--export") {
            if (i + 1 >= argc || !(options.Export = ExportFormatNamed(argv[++i])))
                return UsageError("--export needs fit, tcx or csv");
        } else if (argument == "--output") {
            if (i + 1 >= argc) return UsageError("--output needs a file name, or - for standard output");
            options.Output = argv[++i];
        } else if (argument == "--split") {
            if (i + 1 >= argc || !(options.Split = SplitNamed(argv[++i])))
                return UsageError("--split needs strokes:N, distance:METRES or time:SECONDS");
        } else {
            return UsageError("unknown option " + argument);
        }
    }
    if (options.Path.empty()) return UsageError("no file given");
    if (options.Json && options.CsvGrid) return UsageError("--json and --csv exclude each other");
    if (options.Split && options.CsvGrid != TGridKind::Splits) return UsageError("--split goes with --csv splits");
    if (options.Export && (options.Json || options.CsvGrid)) return UsageError("--export excludes --json and --csv");
    if (options.Export.has_value() != options.Output.has_value()) return UsageError("--export and --output go together");
    return PrintFile(options);
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
