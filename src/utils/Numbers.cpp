// Guarded arithmetic and the locale's number conversions.
#include "jsUtils.h"
#include "untDateTime.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

bool IsBlank(char c) { return c > 0 && c <= ' '; }

[[noreturn]] void ThrowNotFloat(const std::string& text)
{
    throw EConvertError("'" + text + "' is not a valid floating point value");
}

[[noreturn]] void ThrowNotInteger(const std::string& text)
{
    throw EConvertError("'" + text + "' is not a valid integer value");
}

} // namespace

float SafeDivide(float divisor, float dividend)
{
    double quotient;
    if (divisor == 0.0f)
        return 0.0f;
    if (divisor > 0.0f && divisor < 1e-9f)
        quotient = dividend / 1e-9;
    else if (divisor < 0.0f && divisor > -1e-9f)
        quotient = dividend / -1e-9;
    else
        quotient = static_cast<double>(dividend) / divisor;
    // An overflowing or invalid division answers 0 instead of raising.
    const float result = static_cast<float>(quotient);
    return std::isfinite(result) ? result : 0.0f;
}

bool InRangeOpen(double upper, double lower, double value)
{
    return lower < value && value < upper;
}

uint16_t RoundToWord(double x)
{
    if (x > 65535.0) return 65535;
    if (!(x >= 0.0)) return 0; // negative values and NaN
    return static_cast<uint16_t>(std::nearbyint(x));
}

int ClampInt(int value, int low, int high)
{
    if (value < low) return low;
    if (value > high) return high;
    return value;
}

double StrToFloat(const std::string& text)
{
    const char separator = FormatSettings().DecimalSeparator;
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;

    // Check the shape [sign] digits [sep digits] [e [sign] digits] and build
    // the same number in the "C" notation for from_chars.
    std::string plain;
    size_t i = begin;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') plain += '-';
        ++i;
    }
    size_t digits = 0;
    for (; i < end && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits) plain += text[i];
    if (i < end && text[i] == separator) {
        plain += '.';
        for (++i; i < end && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits) plain += text[i];
    }
    if (digits == 0) ThrowNotFloat(text);
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        size_t exponentDigits = 0;
        for (; i < end && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++exponentDigits) plain += text[i];
        if (exponentDigits == 0) ThrowNotFloat(text);
    }
    if (i != end) ThrowNotFloat(text);

    double value = 0.0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) ThrowNotFloat(text);
    return value;
}

double StrToFloatAnySep(const std::string& text)
{
    std::string localised = text;
    for (char& c : localised)
        if (c == ',' || c == '.') c = FormatSettings().DecimalSeparator;
    return StrToFloat(localised);
}

int StrToInt(const std::string& text)
{
    size_t begin = 0;
    while (begin < text.size() && IsBlank(text[begin])) ++begin;
    const char* first = text.data() + begin;
    const char* last = text.data() + text.size();
    if (first < last && *first == '+') ++first;
    int value = 0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || result.ptr != last) ThrowNotInteger(text);
    return value;
}

int DigitsToInt(const std::string& text)
{
    std::string kept;
    for (char c : text)
        if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) kept += c;
    return StrToInt(kept);
}

std::string FloatToStr(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    std::string result;
    for (const char* p = text; *p; ++p) {
        if (*p == '.') {
            result += FormatSettings().DecimalSeparator;
        } else if (*p == 'e') {
            // 1e+20 reads 1E20 and 1e-05 reads 1E-5, as the locale's conversion writes them.
            result += 'E';
            ++p;
            if (*p == '-') result += '-';
            ++p;
            while (*p == '0' && p[1]) ++p;
            result += p;
            break;
        } else {
            result += *p;
        }
    }
    return result;
}
