#include "untTypes.h"

#include <iterator>

const char TrainingMagic[4] = {'M', 'I', 'L', ' '};

const TNamedColor Colors[ColorCount] = {
    {"Red", 0x0000FF},    {"Lime", 0x00FF00},   {"Yellow", 0x00FFFF}, {"Blue", 0xFF0000},
    {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},  {"Black", 0x000000},
    {"Maroon", 0x000080}, {"Green", 0x008000},  {"Olive", 0x008080},  {"Navy", 0x800000},
    {"Purple", 0x800080}, {"Teal", 0x808000},   {"DarkGray", 0x808080},
};

namespace {

template <size_t N>
std::string Lookup(const char* const (&table)[N], int index)
{
    return index >= 0 && static_cast<size_t>(index) < N ? table[index] : "?";
}

const char* const Genders[] = {"-", "Male", "Female"};
const char* const Boats[] = {"-", "1X", "2+", "2-", "2X", "4+", "4-", "4X", "8+"};
const char* const Ergometers[] = {"-", "Kestrel", "Concept II A-E", "Oartec Slider", "Kestrel3"};
const char* const Sprockets[] = {"-", "Small left", "Big right"};
const char* const SessionLimits[] = {"Strokes", "Energy", "Distance", "Time", "Intervals"};
const char* const IntervalKinds[] = {"Strokes", "Energy", "Distance", "Time"};
const char* const Displays[] = {"Normal", "Conconi"};
const char* const Statuses[] = {"-", "Connecting", "Rowing", "Paused", "Finished", "Disconnected"};
const char* const FileKinds[] = {"-", "Force Curves", "Desktop", "Intervals", "Stroke Data",
                                 "Stroke", "Training", "User", "Manual", "Row",
                                 "Full stroke data", "FIT activity", "TCX", "Rowing data CSV"};
const char* const FileFormats[] = {"-", "PEL", "INI", "SED", "SES", "STG", "STR", "TXT",
                                   "XLS", "RVI", "RVS", "RVR", "FITLOG", "FIT", "TCX", "CSV"};
const char* const Interfaces[] = {"Unknown", "Serial cable", "USB adapter", "Network link",
                                  "Ravo", "Bluetooth"};
const char* const Recorders[] = {"Unknown", "Erg Logger", "Desktop", "Team Coach",
                                 "Live Row", "Ravo Link", "Pelm Tools", "Marlo",
                                 "Converter", "Importer", "Web Import", "Sheet",
                                 "Race Timer", "Row Lab", "Scripted", "Other"};

static_assert(std::size(Recorders) == 16, "16 recording programs");
static_assert(std::size(FileFormats) == FileFormatCount, "file formats");
static_assert(std::size(FileKinds) == FileKindCount, "content kinds");

} // namespace

std::string GenderName(int index) { return Lookup(Genders, index); }
std::string BoatName(int index) { return Lookup(Boats, index); }
std::string ErgometerName(int index) { return Lookup(Ergometers, index); }
std::string SprocketName(int index) { return Lookup(Sprockets, index); }
std::string SessionLimitName(int index) { return Lookup(SessionLimits, index); }
std::string IntervalByName(int index) { return Lookup(IntervalKinds, index); }
std::string DisplayName(int index) { return Lookup(Displays, index); }
std::string StatusName(int index) { return Lookup(Statuses, index); }
std::string FileKindName(int index) { return Lookup(FileKinds, index); }
std::string FileFormatName(int index) { return Lookup(FileFormats, index); }
std::string InterfaceName(int index) { return Lookup(Interfaces, index); }
std::string RecorderName(int index) { return Lookup(Recorders, index); }
