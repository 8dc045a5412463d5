// FormatParameterValue: the text of every value the program shows.
#include "untCharts.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

const double MSecsPerDay = 86400000.0;

// A format split around its floating-point conversion; "%%" reads as "%".
struct TPrintfFormat {
    std::string Before;
    std::string Conversion; // empty when the format has none
    std::string After;
};

// The end of the conversion that starts with the "%" at `at`, when it is
// flags, width, precision and a floating-point type; 0 otherwise.
size_t FloatConversionEnd(const std::string& format, size_t at)
{
    size_t i = at + 1;
    while (i < format.size() && std::strchr("-+ #0", format[i]) != nullptr) ++i;
    while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) ++i;
    if (i < format.size() && format[i] == '.') {
        ++i;
        while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) ++i;
    }
    if (i < format.size() && std::strchr("fFeEgGaA", format[i]) != nullptr) return i + 1;
    return 0;
}

// Only a format with at most one conversion, a floating-point one, may be
// handed to snprintf with one double.
bool SplitPrintfFormat(const std::string& format, TPrintfFormat& pieces)
{
    std::string* literal = &pieces.Before;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            *literal += format[i];
        } else if (i + 1 < format.size() && format[i + 1] == '%') {
            *literal += '%';
            ++i;
        } else {
            const size_t end = FloatConversionEnd(format, i);
            if (end == 0 || !pieces.Conversion.empty()) return false;
            pieces.Conversion = format.substr(i, end - i);
            literal = &pieces.After;
            i = end - 1;
        }
    }
    return true;
}

// snprintf of one floating-point conversion, with the program's decimal
// separator in place of the C library's decimal point.
std::string FormatNumber(const std::string& conversion, double value)
{
    const int length = std::snprintf(nullptr, 0, conversion.c_str(), value);
    if (length < 0) return "";
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), conversion.c_str(), value);
    text.resize(static_cast<size_t>(length));
    const std::string point = std::localeconv()->decimal_point;
    const size_t at = point.empty() ? std::string::npos : text.find(point);
    if (at != std::string::npos) text.replace(at, point.size(), 1, FormatSettings().DecimalSeparator);
    return text;
}

std::string FormatPrintfValue(const std::string& format, float value)
{
    TPrintfFormat pieces;
    if (!SplitPrintfFormat(format, pieces)) return "";
    if (pieces.Conversion.empty()) return pieces.Before;
    return pieces.Before + FormatNumber(pieces.Conversion, value) + pieces.After;
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// A format without hours shows none, so zero hours need not show either.
void DropZeroHours(std::string& format, int hours)
{
    if (hours != 0) return;
    if (StartsWith(format, "hh:")) format.erase(0, 3);
    if (StartsWith(format, "h:")) format.erase(0, 2);
}

void ReplaceAll(std::string& text, const std::string& what, const std::string& with)
{
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

// ".0", ".00" and ".000" stand for the tenths, hundredths and thousandths of
// the second, cut (not rounded) from the milliseconds.
void ReplaceFractionPlaceholder(std::string& format, int milliseconds)
{
    std::string fraction = FormatNumber("%0.3f", milliseconds / 1000.0);
    if (!fraction.empty() && fraction[0] == '0') fraction.erase(0, 1);
    for (const char* placeholder : {".000", ".00", ".0"}) {
        const std::string text = placeholder;
        if (format.find(text) == std::string::npos) continue;
        ReplaceAll(format, text, "\"" + fraction.substr(0, text.size()) + "\"");
        return;
    }
}

// A time in days under a date-time format; whole days are not shown, and a
// negative time shows its size after a "-".
std::string FormatTimeValue(std::string format, float value)
{
    if (!std::isfinite(value)) return "";
    const double milliseconds = std::nearbyint(std::fabs(static_cast<double>(value)) * MSecsPerDay);
    const double ofDay = std::fmod(milliseconds, MSecsPerDay);
    DropZeroHours(format, static_cast<int>(ofDay / 3600000.0));
    ReplaceFractionPlaceholder(format, static_cast<int>(std::fmod(ofDay, 1000.0)));
    const std::string text = FormatDateTime(format, ofDay / MSecsPerDay);
    return value < 0 && milliseconds > 0 ? "-" + text : text;
}

} // namespace

std::string FormatParameterValue(const std::string& format, float value)
{
    if (!format.empty() && format[0] == 'T') return FormatTimeValue(format.substr(1), value);
    return FormatPrintfValue(format, value);
}
