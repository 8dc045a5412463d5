// The desktop program's own options, read before any window exists. Qt's
// options (-platform, -style, ...) are Qt's to take out of the command line;
// what is left is read here.
#pragma once

#include <string>
#include <vector>

enum class TStartAction { Run, ShowHelp, ShowVersion, UsageError };

struct TStartOptions {
    TStartAction Action = TStartAction::Run;
    std::string Problem; // what is wrong, with UsageError
};

// parameters are the command line without the program's name. Options end
// at "--"; an argument that starts with "-" (and is more than "-") is an
// option. An unknown option is an error wherever it stands; otherwise --help
// goes before --version. -XD, in any case, is known here and acted on later
// (StampReadme), when it is the only parameter.
TStartOptions ReadStartOptions(const std::vector<std::string>& parameters);

// What marlo --help prints.
extern const char* const MarloUsage;
