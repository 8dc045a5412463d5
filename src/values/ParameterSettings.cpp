// The display ranges of catalogue entries kept in the settings file: one key
// "Parameter<index>" per entry with "ScaleMode Minimum Maximum Step".
#include "untCharts.h"
#include "jsUtils.h"
#include "untIniFile.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

// Cuts the piece before the first space off text; a piece that no space
// follows is not taken ("" and text unchanged).
std::string TakePiece(std::string& text)
{
    const size_t space = text.find(' ');
    if (space == std::string::npos) return "";
    const std::string piece = Trim(text.substr(0, space));
    text.erase(0, space + 1);
    return piece;
}

uint8_t ToScaleMode(const std::string& piece)
{
    const int mode = StrToInt(piece);
    if (mode < 0 || mode >= static_cast<int>(std::size(ScaleModeNames)))
        throw EConvertError("'" + piece + "' is not a valid display-range mode");
    return static_cast<uint8_t>(mode);
}

float ToSingle(const std::string& piece)
{
    const double value = StrToFloat(piece);
    if (std::fabs(value) > FLT_MAX)
        throw EConvertError("'" + piece + "' is not a valid floating point value");
    return static_cast<float>(value);
}

// Applies the pieces of one stored value in order, stopping at the first
// empty one. Throws EConvertError for a piece that does not convert.
void ApplyStoredValue(std::string value, ParameterType& entry)
{
    for (char& c : value)
        if (c == '.' || c == ',') c = FormatSettings().DecimalSeparator;
    const std::string mode = TakePiece(value);
    if (mode.empty()) return;
    entry.ScaleMode = ToScaleMode(mode);
    const std::string minimum = TakePiece(value);
    if (minimum.empty()) return;
    entry.Minimum = ToSingle(minimum);
    const std::string maximum = TakePiece(value);
    if (maximum.empty()) return;
    entry.Maximum = ToSingle(maximum);
    const std::string step = Trim(value);
    if (!step.empty()) entry.Step = ToSingle(step);
}

std::string StoredValue(const ParameterType& entry)
{
    return std::to_string(entry.ScaleMode) + " " + FloatToStr(entry.Minimum) + " "
           + FloatToStr(entry.Maximum) + " " + FloatToStr(entry.Step);
}

std::string KeyOf(int index) { return "Parameter" + std::to_string(index); }

int EntriesToStore(const TParameters& entries, int count)
{
    return std::clamp(count, 0, static_cast<int>(entries.size()));
}

} // namespace

std::string LoadParameterSettings(const std::string& fileName, const std::string& section,
                                  TParameters& entries, int count)
{
    const TIniFile ini(fileName);
    for (int i = 0; i < EntriesToStore(entries, count); ++i) {
        try {
            ApplyStoredValue(ini.ReadString(section, KeyOf(i), ""), entries[static_cast<size_t>(i)]);
        } catch (const EConvertError& error) {
            return error.what();
        }
    }
    return "";
}

std::string LoadParameterSettings(const std::string& section, TParameters& entries, int count)
{
    return LoadParameterSettings(SettingsFileName(false), section, entries, count);
}

bool SaveParameterSettings(const std::string& fileName, const std::string& section,
                           const TParameters& entries, int count)
{
    if (fileName.empty() || !IsFileWritable(fileName)) return false;
    TIniFile ini(fileName);
    for (int i = 0; i < EntriesToStore(entries, count); ++i)
        ini.WriteString(section, KeyOf(i), StoredValue(entries[static_cast<size_t>(i)]));
    return ini.UpdateFile();
}

bool SaveParameterSettings(const std::string& section, const TParameters& entries, int count)
{
    return SaveParameterSettings(SettingsFileName(true), section, entries, count);
}
