// FormatParameterValue: the text of every value the program shows.
#include "untCharts.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>

namespace {

const double MSecsPerDay = 86400000.0;

// Widths and precisions above this are refused: no value needs them, and a
// format must not make the program build texts of any length.
const int MostDigits = 4096;

using TConversion = TValueFormat::TConversion;

// A format split around its floating-point conversion; "%%" reads as "%".
struct TPrintfFormat {
    std::string Before;
    bool HasConversion = false;
    TConversion Conversion;
    std::string After;
};

// Whether `c` is one of the characters of `set` (not its terminating NUL).
bool IsOneOf(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

// The digits at `at` as a number, moving `at` past them; false when there
// are more than MostDigits.
bool ReadCount(const std::string& format, size_t& at, int& count)
{
    count = 0;
    for (; at < format.size() && std::isdigit(static_cast<unsigned char>(format[at])); ++at) {
        count = count * 10 + (format[at] - '0');
        if (count > MostDigits) return false;
    }
    return true;
}

// The conversion that starts with the "%" at `at`, when it is flags, width,
// precision and a floating-point type; `at` ends on its type.
bool ReadConversion(const std::string& format, size_t& at, TConversion& conversion)
{
    for (++at; at < format.size() && IsOneOf(format[at], "-+ #0"); ++at) {
        switch (format[at]) {
        case '-': conversion.LeftAligned = true; break;
        case '+': conversion.PositiveSign = '+'; break;
        case ' ':
            if (!conversion.PositiveSign) conversion.PositiveSign = ' '; // "+" wins
            break;
        case '#': conversion.Alternate = true; break;
        default: conversion.ZeroPadded = true;
        }
    }
    if (!ReadCount(format, at, conversion.Width)) return false;
    if (at < format.size() && format[at] == '.' && !ReadCount(format, ++at, conversion.Precision)) return false;
    if (at >= format.size() || !IsOneOf(format[at], "fFeEgGaA")) return false;
    conversion.Type = format[at];
    return true;
}

// Only a format with at most one conversion, a floating-point one, can show
// a value.
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
            if (pieces.HasConversion || !ReadConversion(format, i, pieces.Conversion)) return false;
            pieces.HasConversion = true;
            literal = &pieces.After;
        }
    }
    return true;
}

std::chars_format StyleOf(char type)
{
    switch (type) {
    case 'e': case 'E': return std::chars_format::scientific;
    case 'g': case 'G': return std::chars_format::general;
    case 'a': case 'A': return std::chars_format::hex;
    default: return std::chars_format::fixed;
    }
}

// The value in the style, with `precision` digits (the shortest exact ones
// for -1), sign and all, as to_chars writes it.
std::string Digits(double value, std::chars_format style, int precision)
{
    // Room for the 309 integer digits of the largest double, its sign, point
    // and exponent, and the most digits a precision may ask for.
    char text[320 + MostDigits];
    char* const last = text + sizeof text;
    const auto result = precision < 0 ? std::to_chars(text, last, value, style)
                                      : std::to_chars(text, last, value, style, precision);
    return result.ec == std::errc() ? std::string(text, result.ptr) : std::string();
}

// How many decimal digits the number has.
int DecimalLength(uint64_t number)
{
    int length = 1;
    for (; number >= 10; number /= 10) ++length;
    return length;
}

// 10 to the powers 0 .. 17, each exact in a long double.
const long double PowersOfTen[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,
                                   1e9L,  1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L};

// The fixed style's digits, worked out exactly where that is quick: a
// single's 24 significant bits times 10^precision (whose factor 5^precision
// takes at most 40 bits up to a precision of 17) fit the 64 bits of a long
// double, so the scaled value is exact, and rounding it to a whole number
// rounds the exact binary value, ties to even, as printf does.
std::string FixedDigits(float value, int precision)
{
    static_assert(std::numeric_limits<long double>::digits >= 64, "the scaled value must be exact");
    const int mostPrecise = static_cast<int>(std::size(PowersOfTen)) - 1;
    if (precision > mostPrecise) return Digits(value, std::chars_format::fixed, precision);
    const long double scaled = std::fabs(static_cast<long double>(value)) * PowersOfTen[precision];
    if (!(scaled < 1e18L)) return Digits(value, std::chars_format::fixed, precision);
    uint64_t whole = static_cast<uint64_t>(scaled);
    const long double fraction = scaled - static_cast<long double>(whole);
    if (fraction > 0.5L || (fraction == 0.5L && whole % 2 == 1)) ++whole;
    // The digits of `whole`, with zeros in front up to one more than the
    // precision, the point going before the last `precision` of them.
    char digits[24];
    const int zeros = std::max(precision + 1 - DecimalLength(whole), 0);
    char* const end = std::to_chars(std::fill_n(digits, zeros, '0'), digits + sizeof digits, whole).ptr;
    const int integerDigits = static_cast<int>(end - digits) - precision;
    char text[sizeof digits + 2];
    char* at = text;
    if (std::signbit(value)) *at++ = '-';
    at = std::copy_n(digits, integerDigits, at);
    if (precision > 0) *at++ = '.';
    at = std::copy(digits + integerDigits, end, at);
    return std::string(text, at);
}

// "%#g" keeps the zeros "%g" drops: with P significant digits it is the
// fixed style when the exponent X of the scientific one has P > X >= -4.
std::string AlternateGeneralDigits(double value, int precision)
{
    const int significant = precision == 0 ? 1 : precision;
    const std::string scientific = Digits(value, std::chars_format::scientific, significant - 1);
    const size_t e = scientific.find('e');
    const int exponent = e == std::string::npos ? 0 : std::atoi(scientific.c_str() + e + 1);
    if (significant > exponent && exponent >= -4)
        return Digits(value, std::chars_format::fixed, significant - 1 - exponent);
    return scientific;
}

// printf's text of one finite value under one conversion, made with
// to_chars: the same digits (both round the exact binary value, ties to
// even), without the C library's locale and its multi-precision arithmetic.
std::string ConversionText(const TConversion& conversion, float value)
{
    const std::chars_format style = StyleOf(conversion.Type);
    const bool hex = style == std::chars_format::hex;
    const int precision = conversion.Precision >= 0 || hex ? conversion.Precision : 6;
    std::string text;
    if (style == std::chars_format::fixed) text = FixedDigits(value, precision);
    else if (conversion.Alternate && style == std::chars_format::general) text = AlternateGeneralDigits(value, precision);
    else text = Digits(value, style, precision);
    size_t digitsAt = 0; // where zeros of the padding would go
    if (text[0] == '-') digitsAt = 1;
    else if (conversion.PositiveSign) text.insert(digitsAt++, 1, conversion.PositiveSign);
    if (hex) {
        text.insert(digitsAt, "0x");
        digitsAt += 2;
    }
    if (conversion.Alternate && text.find('.') == std::string::npos)
        text.insert(std::min(text.find_first_of(hex ? "p" : "e"), text.size()), 1, '.');
    if (conversion.Type >= 'A' && conversion.Type <= 'Z')
        for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const size_t width = static_cast<size_t>(conversion.Width);
    if (text.size() < width) {
        if (conversion.LeftAligned) text.append(width - text.size(), ' ');
        else if (conversion.ZeroPadded) text.insert(digitsAt, width - text.size(), '0');
        else text.insert(0, width - text.size(), ' ');
    }
    std::replace(text.begin(), text.end(), '.', FormatSettings().DecimalSeparator);
    return text;
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
    const char fraction[] = {FormatSettings().DecimalSeparator, static_cast<char>('0' + milliseconds / 100),
                             static_cast<char>('0' + milliseconds / 10 % 10), static_cast<char>('0' + milliseconds % 10)};
    for (const char* placeholder : {".000", ".00", ".0"}) {
        const std::string text = placeholder;
        if (format.find(text) == std::string::npos) continue;
        ReplaceAll(format, text, "\"" + std::string(fraction, text.size()) + "\"");
        return;
    }
}

// A finite time in days under a date-time format; whole days are not shown,
// and a negative time shows its size after a "-".
std::string FormatTimeValue(std::string format, float value)
{
    const double milliseconds = std::nearbyint(std::fabs(static_cast<double>(value)) * MSecsPerDay);
    const double ofDay = std::fmod(milliseconds, MSecsPerDay);
    DropZeroHours(format, static_cast<int>(ofDay / 3600000.0));
    ReplaceFractionPlaceholder(format, static_cast<int>(std::fmod(ofDay, 1000.0)));
    const std::string text = FormatDateTime(format, ofDay / MSecsPerDay);
    return value < 0 && milliseconds > 0 ? "-" + text : text;
}

} // namespace

TValueFormat::TValueFormat(const std::string& format)
{
    if (!format.empty() && format[0] == 'T') {
        Kind = TKind::Time;
        Before = format.substr(1);
        return;
    }
    TPrintfFormat pieces;
    if (!SplitPrintfFormat(format, pieces)) return;
    Kind = pieces.HasConversion ? TKind::Printf : TKind::Literal;
    Before = std::move(pieces.Before);
    Conversion = pieces.Conversion;
    After = std::move(pieces.After);
}

std::string TValueFormat::Text(float value) const
{
    switch (Kind) {
    case TKind::Refused: return "";
    case TKind::Literal: return Before;
    case TKind::Time: return std::isfinite(value) ? FormatTimeValue(Before, value) : NoValueText;
    case TKind::Printf:
        if (!std::isfinite(value)) return NoValueText;
        break;
    }
    std::string text = ConversionText(Conversion, value);
    return Before.empty() && After.empty() ? text : Before + text + After;
}

std::string FormatParameterValue(const std::string& format, float value) { return TValueFormat(format).Text(value); }
