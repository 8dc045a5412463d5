#include "untCommandLine.h"

#include "jsUtils.h"

const char* const MarloUsage =
    "Usage: marlo [OPTION]... [--] [FILE]...\n"
    "Shows training sessions recorded on rowing ergometers; File | Open opens them.\n"
    "While Marlo runs, a later start hands its FILEs to the running copy, which\n"
    "comes to the front without opening them, and ends.\n"
    "  -h, --help   prints this help and ends\n"
    "  --version    prints the version and ends\n"
    "  -XD          as the only argument, in any case (or as /XD): writes readme.txt\n"
    "               with the product and version beside the program, or gives an\n"
    "               existing one the time of now, and ends\n"
    "  --           ends the options: a FILE after it may start with \"-\"\n"
    "Qt's own options, such as -platform NAME and -style NAME, are taken as well.\n"
    "Exit status: 0 when the program ended or handed its FILEs over, 2 for a usage\n"
    "error.\n";

namespace {

bool IsOption(const std::string& argument) { return argument.size() > 1 && argument[0] == '-'; }

} // namespace

TStartOptions ReadStartOptions(const std::vector<std::string>& parameters)
{
    bool help = false, version = false;
    for (const std::string& argument : parameters) {
        if (argument == "--") break;
        if (!IsOption(argument)) continue;
        if (argument == "--help" || argument == "-h") help = true;
        else if (argument == "--version") version = true;
        else if (UpperCase(argument) != "-XD") return {TStartAction::UsageError, "unknown option " + argument};
    }
    if (help) return {TStartAction::ShowHelp, ""};
    if (version) return {TStartAction::ShowVersion, ""};
    return {};
}
