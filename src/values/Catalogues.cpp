// The four value catalogues as data tables, how a catalogue and its column
// map are built from them, the accessors and the column captions.
#include "untCharts.h"
#include "jsUtils.h"

namespace {

struct TParameterRow {
    const char* ShortName;
    const char* LongName;
    const char* Unit;
    const char* Format;
    uint8_t Mode;
    double Minimum;
    double Maximum;
    bool Flag;
};

// A time bound of minutes and seconds, in days.
constexpr double MinSec(int minutes, int seconds)
{
    return (minutes * 60 + seconds) / 86400.0;
}

constexpr TParameterRow StrokeRows[StrokeParameterCount] = {
    {"Stroke", "Stroke number", "", "%4.0f", 0, 0, 100, false},
    {"Power", "Power per stroke", "W", "%4.0f", 3, 0, 100, true},
    {"Avg. power", "Average power per stroke", "W", "%4.0f", 3, 0, 50, true},
    {"Stroke rate", "Stroke rate", "/min", "%2.1f", 3, 0, 20, true},
    {"Target", "Target", "W", "%4.0f", 3, 0, 100, true},
    {"Time", "Time", "m:s", "Th:nn:ss", 0, MinSec(0, 0), MinSec(10, 0), false},
    {"Stroke length", "Stroke length", "cm", "%3.0f", 3, 100, 150, true},
    {"Distance", "Distance", "m", "%4.0f", 0, 0, 500, false},
    {"Distance / stroke", "Distance per stroke", "cm", "%4.0f", 3, 250, 500, true},
    {"Est. 500m time", "Estimated 500m time", "m:s", "Tnn:ss.0", 3, MinSec(2, 0), MinSec(4, 0), true},
    {"Energy / stroke", "Energy per stroke", "J", "%4.0f", 3, 250, 500, true},
    {"Energy sum", "Energy sum", "kJ", "%4.0f", 0, 0, 10, false},
    {"Pulse", "Pulse", "/min", "%3.0f", 3, 50, 100, true},
    {"Work / pulse", "Work per pulse", "J/beat", "%3.2f", 3, 0, 100, true},
    {"Peak force", "Peak force", "N", "%3.0f", 3, 250, 500, true},
    {"Peak force pos.", "Peak force position", "cm", "%3.0f", 3, 0, 50, true},
    {"Rel. peak force pos.", "Peak force position relative to stroke length", "%", "%3.1f", 2, 0, 100, true},
    {"Drive time", "Drive time", "s", "%2.2f", 3, 0, 0.5, true},
    {"Recover time", "Recover time", "s", "%2.2f", 3, 0, 0.5, true},
    {"Stroke time", "Stroke time", "s", "%2.2f", 3, 1, 2, true},
    {"DR ratio", "Drive : Recover ratio", "", "%1.2f", 3, 0.5, 1, true},
    {"Speed mps", "Boat speed in m per s", "m/s", "%1.2f", 3, 2, 4, true},
    {"K", "K value", "", "%1.2f", 3, 0.5, 1, true},
    {"Interval number", "Interval number", "", "%2.0f", 0, 0, 10, false},
    {"Interval countdown", "Interval countdown", "", "%3.0f", 0, 0, 10, true},
    {"Interval power", "Interval power", "W", "%4.0f", 3, 0, 50, true},
    {"Time elapsed", "Time elapsed", "m:s", "Th:nn:ss", 0, MinSec(0, 0), MinSec(10, 0), false},
    {"Time remaining", "Time remaining", "m:s", "Th:nn:ss", 0, MinSec(0, 0), MinSec(10, 0), false},
    {"Time projected", "Time projected", "m:s", "Th:nn:ss", 0, MinSec(0, 0), MinSec(10, 0), true},
    {"Distance elapsed", "Distance elapsed", "m", "%4.0f", 0, 0, 500, false},
    {"Distance remaining", "Distance remaining", "m", "%4.0f", 0, 0, 500, false},
    {"Distance projected", "Distance projected", "m", "%4.0f", 0, 0, 500, true},
    {"Strokes elapsed", "Strokes elapsed", "", "%4.0f", 0, 0, 100, false},
    {"Strokes remaining", "Strokes remaining", "", "%4.0f", 0, 0, 100, false},
    {"Strokes projected", "Strokes projected", "", "%4.0f", 0, 0, 100, true},
    {"Speed KmpHr", "Boat speed in Km per Hr", "km/h", "%3.1f", 3, 5, 10, true},
    {"Speed MpHr", "Boat speed in M per Hr", "M/h", "%3.1f", 3, 5, 10, true},
    {"Avg. 500m time", "Average 500m time", "m:s", "Tnn:ss.0", 3, MinSec(2, 0), MinSec(4, 0), true},
    {"Avg. speed mps", "Average boat speed in m per s", "m/s", "%1.2f", 3, 2, 4, true},
    {"Avg. speed KmpHr", "Average boat speed in Km per Hr", "km/h", "%3.1f", 3, 5, 10, true},
    {"Avg. speed MpHr", "Average boat speed in M per Hr", "M/h", "%3.1f", 3, 5, 10, true},
    {"Avg. stroke rate", "Average stroke rate", "/min", "%2.1f", 3, 0, 10, true},
};

// An interval's averages of stroke values are described as the stroke values
// are, except its stroke length (a narrower range) and energy sum (flagged).
constexpr TParameterRow IntervalRows[IntervalParameterCount] = {
    {"Number", "Interval number", "", "%3.0f", 0, 0, 10, false},
    {"Power", "Average power", "W", "%3.1f", 0, 0, 250, true},
    {"Stroke rate", "Average strokerate", "/min", "%2.1f", 0, 0, 50, true},
    {"Time", "Total time", "m:s", "Th:nn:ss.0", 0, MinSec(0, 0), MinSec(100, 0), true},
    {"Distance", "Total distance", "m", "%5.0f", 0, 0, 2000, true},
    {"Pulse", "Average pulse", "/min", "%3.0f", 0, 0, 100, true},
    {"Speed", "Average boat speed", "m/s", "%1.2f", 0, 0, 5, true},
    {"Strokes", "Number of strokes", "", "%3.0f", 0, 0, 100, true},
    {"Stroke length", "Stroke length", "cm", "%3.0f", 3, 100, 125, true},
    StrokeRows[seSplit500],
    StrokeRows[seEnergyPerStroke],
    {"Energy sum", "Energy sum", "kJ", "%4.0f", 0, 0, 10, true},
    StrokeRows[seWorkPerPulse],
    StrokeRows[seDistancePerStroke],
    StrokeRows[sePeakForce],
    StrokeRows[sePeakForcePosition],
    StrokeRows[seRelPeakForcePosition],
    StrokeRows[seDriveTime],
    StrokeRows[seRecoverTime],
    StrokeRows[seStrokeTime],
    StrokeRows[seDriveRecoverRatio],
    StrokeRows[seKValue],
};

const TParameterRow TotalRows[TotalParameterCount] = {
    {"Distance", "Total distance", "m", "%5.0f", 0, 0, 2000, true},
    {"Time", "Total time", "m:s", "Th:nn:ss.0", 0, MinSec(0, 0), MinSec(10, 0), true},
    {"Energy", "Total energy", "kJ", "%5.0f", 0, 0, 10, true},
    {"Avg. power", "Average power", "W", "%3.1f", 0, 0, 250, true},
    {"Strokes", "Number of strokes", "", "%4.0f", 0, 0, 100, true},
    {"Avg. 500m time", "Average 500m time", "m:s", "Tnn:ss.0", 3, MinSec(2, 0), MinSec(4, 0), true},
    {"Avg. Stroke rate", "Average strokerate", "/min", "%2.1f", 0, 0, 50, true},
};

const TParameterRow SplitRows[SplitParameterCount] = {
    {"Strokes cum.", "Strokes cumulative", "", "%4.0f", 0, 0, 100, true},
    {"Stroke split", "Strokes in split", "", "%4.0f", 0, 0, 100, true},
    {"Distance cum.", "Distance cumulative", "m", "%4.1f", 0, 0, 500, true},
    {"Distance split", "Distance in split", "m", "%4.1f", 0, 0, 500, true},
    {"Time cum.", "Time cumulative", "m:s", "Tnn:ss.0", 0, MinSec(0, 0), MinSec(10, 0), true},
    {"Time split", "Time in split", "m:s", "Tnn:ss.0", 0, MinSec(0, 0), MinSec(10, 0), true},
    {"Power", "Average power per stroke", "W", "%4.1f", 3, 0, 100, true},
    {"Stroke rate", "Average stroke rate", "/min", "%2.1f", 3, 0, 10, true},
    {"Stroke length", "Average stroke length", "cm", "%3.0f", 3, 100, 125, true},
    {"Distance / stroke", "Average distance per stroke", "cm", "%4.0f", 3, 250, 500, true},
    {"500m time", "500m time", "m:s", "Tnn:ss.0", 3, MinSec(2, 0), MinSec(4, 0), true},
    {"Speed mps", "Boat speed in m per s", "m/s", "%1.2f", 3, 2, 4, true},
    {"Energy / stroke", "Average energy per stroke", "J", "%4.0f", 3, 250, 500, true},
    {"Energy sum cum.", "Energy sum cumulative", "kJ", "%4.1f", 0, 0, 10, true},
    {"Energy sum split", "Energy sum in split", "kJ", "%4.1f", 0, 0, 10, true},
    {"Pulse", "Average pulse", "/min", "%3.0f", 3, 50, 100, true},
    {"Work / pulse", "Average work per pulse", "J/beat", "%3.2f", 3, 0, 100, true},
    {"Drive time", "Average drive time", "s", "%2.2f", 3, 0, 0.5, true},
    {"Recover time", "Average recover time", "s", "%2.2f", 3, 0, 0.5, true},
    {"Stroke time", "Average stroke time", "s", "%2.2f", 3, 1, 2, true},
    {"DR ratio", "Average drive : Recover ratio", "", "%1.2f", 3, 0.5, 1, true},
};

template <size_t N>
TParameters BuildParameters(const TParameterRow (&rows)[N])
{
    TParameters entries(N);
    for (size_t i = 0; i < N; ++i) {
        const TParameterRow& row = rows[i];
        SetParameter(entries[i], static_cast<int>(i), row.Mode, row.Flag, row.Format, row.LongName,
                     row.ShortName, row.Unit, 0.0f, static_cast<float>(row.Maximum),
                     static_cast<float>(row.Minimum));
    }
    return entries;
}

// Steps are a tenth of each display range, in single precision.
void SetDefaultSteps(TParameters& entries)
{
    for (ParameterType& entry : entries) {
        const float range = entry.Maximum - entry.Minimum;
        entry.Step = range / 10.0f;
    }
}

TColumnMap BuildColumnMap(const TParameters& entries)
{
    TColumnMap map;
    for (size_t i = 0; i < entries.size(); ++i) {
        const int column = entries[i].Column;
        if (column < 0) continue;
        if (map.size() < static_cast<size_t>(column) + 1) map.resize(static_cast<size_t>(column) + 1, 0);
        map[static_cast<size_t>(column)] = static_cast<int>(i);
    }
    return map;
}

TParameters StrokeCatalogue()
{
    TParameters entries = BuildParameters(StrokeRows);
    // "Target" and the session and running-average values have no grid column.
    entries[seTarget].Column = -1;
    for (int i = seTimeElapsed; i < StrokeParameterCount; ++i) entries[static_cast<size_t>(i)].Column = -1;
    SetDefaultSteps(entries);
    return entries;
}

TParameters IntervalCatalogue()
{
    TParameters entries = BuildParameters(IntervalRows);
    SetDefaultSteps(entries);
    return entries;
}

TParameters TotalCatalogue()
{
    TParameters entries = BuildParameters(TotalRows);
    std::swap(entries[teAveragePower].Column, entries[teStrokes].Column);
    SetDefaultSteps(entries);
    return entries;
}

TParameters SplitCatalogue()
{
    TParameters entries = BuildParameters(SplitRows);
    SetDefaultSteps(entries);
    return entries;
}

const ParameterType* EntryAt(const TParameters& entries, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= entries.size()) return nullptr;
    return &entries[static_cast<size_t>(index)];
}

std::string TextOf(const TParameters& entries, int index, std::string ParameterType::*field)
{
    const ParameterType* entry = EntryAt(entries, index);
    return entry ? entry->*field : "";
}

std::string CaptionOf(const TParameters& entries, int index, bool longNameWithoutUnit)
{
    const ParameterType* entry = EntryAt(entries, index);
    if (!entry) return "";
    if (!entry->Unit.empty()) return entry->ShortName + " (" + entry->Unit + ")";
    return longNameWithoutUnit ? entry->LongName : entry->ShortName;
}

} // namespace

const char* const ScaleModeNames[4] = {"Auto", "Double", "Manual", "Range"};

TParameters StrokeParameters = StrokeCatalogue();
TParameters IntervalParameters = IntervalCatalogue();
TParameters TotalParameters = TotalCatalogue();
TParameters SplitParameters = SplitCatalogue();
TColumnMap StrokeColumns = BuildColumnMap(StrokeParameters);
TColumnMap IntervalColumns = BuildColumnMap(IntervalParameters);
TColumnMap TotalColumns = BuildColumnMap(TotalParameters);
TColumnMap SplitColumns = BuildColumnMap(SplitParameters);

int DataRange = 65535;

void SetParameter(ParameterType& entry, int index, uint8_t scaleMode, bool flag,
                  const std::string& format, const std::string& longName,
                  const std::string& shortName, const std::string& unit, float step,
                  float maximum, float minimum)
{
    entry.Column = index;
    entry.ScaleMode = scaleMode;
    entry.Flag = flag;
    entry.Format = format;
    entry.LongName = longName;
    entry.ShortName = shortName;
    entry.Unit = unit;
    entry.Step = step;
    entry.Maximum = maximum;
    entry.Minimum = minimum;
}

void InitStrokeParameters()
{
    StrokeParameters = StrokeCatalogue();
    StrokeColumns = BuildColumnMap(StrokeParameters);
    DataRange = ClampInt(DataRange, 5, MaxDataRange);
}

void InitIntervalParameters()
{
    IntervalParameters = IntervalCatalogue();
    IntervalColumns = BuildColumnMap(IntervalParameters);
}

void InitTotalParameters()
{
    TotalParameters = TotalCatalogue();
    TotalColumns = BuildColumnMap(TotalParameters);
}

void InitSplitParameters()
{
    SplitParameters = SplitCatalogue();
    SplitColumns = BuildColumnMap(SplitParameters);
}

std::string StrokeUnit(int index) { return TextOf(StrokeParameters, index, &ParameterType::Unit); }
std::string StrokeShortName(int index) { return TextOf(StrokeParameters, index, &ParameterType::ShortName); }
std::string StrokeFormat(int index) { return TextOf(StrokeParameters, index, &ParameterType::Format); }
std::string IntervalUnit(int index) { return TextOf(IntervalParameters, index, &ParameterType::Unit); }
std::string IntervalShortName(int index) { return TextOf(IntervalParameters, index, &ParameterType::ShortName); }
std::string IntervalLongName(int index) { return TextOf(IntervalParameters, index, &ParameterType::LongName); }
std::string IntervalFormat(int index) { return TextOf(IntervalParameters, index, &ParameterType::Format); }
std::string TotalUnit(int index) { return TextOf(TotalParameters, index, &ParameterType::Unit); }
std::string TotalFormat(int index) { return TextOf(TotalParameters, index, &ParameterType::Format); }
std::string SplitUnit(int index) { return TextOf(SplitParameters, index, &ParameterType::Unit); }
std::string SplitShortName(int index) { return TextOf(SplitParameters, index, &ParameterType::ShortName); }

int EntryInColumn(const TParameters& entries, const TColumnMap& map, int column)
{
    if (column < 0 || static_cast<size_t>(column) >= map.size()) return -1;
    const int index = map[static_cast<size_t>(column)];
    if (index < 0 || static_cast<size_t>(index) >= entries.size()) return -1;
    return entries[static_cast<size_t>(index)].Column == column ? index : -1;
}

std::string StrokeCaption(int index) { return CaptionOf(StrokeParameters, index, false); }
std::string IntervalCaption(int index) { return CaptionOf(IntervalParameters, index, true); }
std::string SplitCaption(int index) { return CaptionOf(SplitParameters, index, false); }
