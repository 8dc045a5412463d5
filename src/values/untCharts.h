// The value catalogues: what every number shown about a training is called,
// its unit, its format, its grid column and its display range; the shared
// formatter; and the computation of every stroke, interval and total value.
#pragma once

#include "untTypes.h"

#include <cstdint>
#include <string>
#include <vector>

// One catalogue entry. Entries whose Format begins with "T" are times, whose
// values and bounds are fractions of a day.
struct ParameterType {
    int32_t Column = -1;   // grid column id; -1 = no column
    uint8_t ScaleMode = 0; // display-range mode, see ScaleModeNames
    float Minimum = 0.0f;
    float Maximum = 0.0f;
    float Step = 0.0f;
    bool Flag = false;
    std::string Unit;
    std::string ShortName;
    std::string LongName;
    std::string Format;
};

using TParameters = std::vector<ParameterType>;
// Indexed by column id, holding the catalogue index shown in that column.
using TColumnMap = std::vector<int>;

const int StrokeParameterCount = 42;
const int IntervalParameterCount = 22;
const int TotalParameterCount = 7;
const int SplitParameterCount = 21;
// The entries of each catalogue, in catalogue order: an entry's id is its
// index, and the value functions below take it.
enum TStrokeEntry {
    seNumber, sePower, seAveragePower, seStrokeRate, seTarget, seTime, seStrokeLength, seDistance,
    seDistancePerStroke, seSplit500, seEnergyPerStroke, seEnergySum, sePulse, seWorkPerPulse,
    sePeakForce, sePeakForcePosition, seRelPeakForcePosition, seDriveTime, seRecoverTime,
    seStrokeTime, seDriveRecoverRatio, seSpeedMps, seKValue, seIntervalNumber, seIntervalCountdown,
    seIntervalPower,
    // The session values and running averages from here on have no grid column.
    seTimeElapsed, seTimeRemaining, seTimeProjected, seDistanceElapsed, seDistanceRemaining,
    seDistanceProjected, seStrokesElapsed, seStrokesRemaining, seStrokesProjected, seSpeedKmh,
    seSpeedMph, seAverageSplit500, seAverageSpeedMps, seAverageSpeedKmh, seAverageSpeedMph,
    seAverageStrokeRate
};
static_assert(seAverageStrokeRate + 1 == StrokeParameterCount, "one name for every stroke entry");

enum TIntervalEntry {
    ieNumber, ieAveragePower, ieAverageStrokeRate, ieTotalTime, ieTotalDistance, ieAveragePulse,
    ieSpeed, ieStrokes, ieStrokeLength, ieSplit500, ieEnergyPerStroke, ieEnergySum, ieWorkPerPulse,
    ieDistancePerStroke, iePeakForce, iePeakForcePosition, ieRelPeakForcePosition, ieDriveTime,
    ieRecoverTime, ieStrokeTime, ieDriveRecoverRatio, ieKValue
};
static_assert(ieKValue + 1 == IntervalParameterCount, "one name for every interval entry");

enum TTotalEntry {
    teDistance, teTime, teEnergy, teAveragePower, teStrokes, teAverageSplit500, teAverageStrokeRate
};
static_assert(teAverageStrokeRate + 1 == TotalParameterCount, "one name for every total entry");

// Only the stroke entries 0..40 keep their display ranges in the settings file.
const int StoredStrokeParameterCount = 41;
const char* const StrokeDataSection = "StrokeData";

extern const char* const ScaleModeNames[4]; // "Auto", "Double", "Manual", "Range"

// Process-wide catalogues and their column maps. They are built when the
// program starts; the Init... operations build them afresh.
extern TParameters StrokeParameters;
extern TParameters IntervalParameters;
extern TParameters TotalParameters;
extern TParameters SplitParameters;
extern TColumnMap StrokeColumns;
extern TColumnMap IntervalColumns;
extern TColumnMap TotalColumns;
extern TColumnMap SplitColumns;

// The catalogue index a grid shows in value column `column`, or -1 when no
// entry has that column id: a map's unassigned slots hold 0 but show nothing.
int EntryInColumn(const TParameters& entries, const TColumnMap& map, int column);

// The "Row"/"DataRange" setting, a number of strokes (default 65535);
// InitStrokeParameters raises a value below 5 to 5 and lowers one above
// MaxDataRange, more strokes than a training holds, to it.
const int MaxDataRange = 65535;
extern int DataRange;

void SetParameter(ParameterType& entry, int index, uint8_t scaleMode, bool flag,
                  const std::string& format, const std::string& longName,
                  const std::string& shortName, const std::string& unit, float step,
                  float maximum, float minimum);
void InitStrokeParameters();
void InitIntervalParameters();
void InitTotalParameters();
void InitSplitParameters();

// Texts of an entry; "" for an index outside the catalogue.
std::string StrokeUnit(int index);
std::string StrokeShortName(int index);
std::string StrokeFormat(int index);
std::string IntervalUnit(int index);
std::string IntervalShortName(int index);
std::string IntervalLongName(int index);
std::string IntervalFormat(int index);
std::string TotalUnit(int index);
std::string TotalFormat(int index);
std::string SplitUnit(int index);
std::string SplitShortName(int index);

// Grid column captions: "Short name (unit)", or without a unit the short name
// (the long name for intervals).
std::string StrokeCaption(int index);
std::string IntervalCaption(int index);
std::string SplitCaption(int index);

// The text of a value: a time in days for a format beginning with "T" (the
// rest being a date-time format whose ".0", ".00" or ".000" shows truncated
// fractions of a second), otherwise printf-style formatting of the value.
// Both use the locale's decimal separator. A value that is not finite (a file
// may hold NaN or infinity in any float) gives NoValueText. A format with a
// conversion other than one floating-point one gives "".
const char* const NoValueText = "-";
std::string FormatParameterValue(const std::string& format, float value);

// A format read once, to show many values: Text(value) is
// FormatParameterValue(format, value).
class TValueFormat {
public:
    explicit TValueFormat(const std::string& format);
    std::string Text(float value) const;

    // One floating-point conversion: "%", flags, width, precision and type,
    // with the meanings printf gives them.
    struct TConversion {
        bool LeftAligned = false; // "-"
        char PositiveSign = 0;    // '+' for "+", ' ' for " "; 0 for none
        bool Alternate = false;   // "#": always a decimal point; "g" keeps its zeros
        bool ZeroPadded = false;  // "0"
        int Width = 0;
        int Precision = -1; // -1 when none is given
        char Type = 'f';    // one of "fFeEgGaA"
    };

private:
    enum class TKind { Refused, Literal, Printf, Time };
    TKind Kind = TKind::Refused;
    std::string Before; // the text before the conversion; the date-time format of a time
    TConversion Conversion;
    std::string After;
};

// The value of an entry for one stroke, interval or training; 0 for an index
// outside the catalogue. Times are in days.
float StrokeValue(const TStroke& stroke, int index, const TUserSettings& settings);
float IntervalValue(const TInterval& interval, int index);
float TotalValue(const TTraining& training, int index);
// The mean drive : recover ratio of strokes 1..N.
float AverageDRRatio(const TTraining& training);

// The same values formatted with their entry's Format.
std::string StrokeValueText(const TStroke& stroke, int index, const TUserSettings& settings);
std::string IntervalValueText(const TInterval& interval, int index);
std::string TotalValueText(const TTraining& training, int index);
// The text, one space and the unit, trimmed ("2000 m"); NoValueText alone for
// a value that is not finite.
std::string TotalValueWithUnit(const TTraining& training, int index);
// AverageDRRatio as the training window shows it, the same way.
std::string AverageDRRatioText(const TTraining& training);

// Reads ScaleMode, Minimum, Maximum and Step of the first count entries from
// keys "Parameter0".. of section in the settings file (fileName, or the file
// found for reading). A piece that does not convert stops loading at that
// entry; the result is then the conversion error's text, else "".
std::string LoadParameterSettings(const std::string& fileName, const std::string& section,
                                  TParameters& entries, int count);
std::string LoadParameterSettings(const std::string& section, TParameters& entries, int count);
// Writes them; skipped (false) when the file cannot be written.
bool SaveParameterSettings(const std::string& fileName, const std::string& section,
                           const TParameters& entries, int count);
bool SaveParameterSettings(const std::string& section, const TParameters& entries, int count);
