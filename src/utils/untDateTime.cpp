#include "untDateTime.h"

#include "jsUtils.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <ctime>

namespace {

const long long MSecsPerDay = 86400000LL;
const char* const ShortDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const LongDayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                    "Thursday", "Friday", "Saturday"};
const char* const ShortMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const LongMonthNames[] = {"January", "February", "March", "April",
                                      "May", "June", "July", "August",
                                      "September", "October", "November", "December"};

// Days since 1970-01-01 of a civil date (proleptic Gregorian calendar).
long long DaysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (month <= 2));
}

// Day 0 of the date/time scale, 1899-12-30, counted from 1970-01-01.
const long long DayZeroInUnixDays = -25569;

// The value with zeros in front up to `width` digits.
std::string Padded(int value, int width)
{
    std::string text = std::to_string(value);
    const size_t digitsAt = value < 0 ? 1 : 0;
    const size_t digits = text.size() - digitsAt;
    if (digits < static_cast<size_t>(width)) text.insert(digitsAt, static_cast<size_t>(width) - digits, '0');
    return text;
}

// The letters of a format are ASCII; the locale's case mapping would only
// slow each look at one down.
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(const std::string& text, size_t at, const char* word)
{
    for (size_t i = 0; word[i]; ++i) {
        if (at + i >= text.size() || LowerAscii(text[at + i]) != LowerAscii(word[i]))
            return false;
    }
    return true;
}

class TDateTimeFormatter {
public:
    TDateTimeFormatter(const TFormatSettings& settings, const TDateTimeParts& parts)
        : Settings(settings), Parts(parts)
    {
    }

    std::string Format(const std::string& format, int depth = 0)
    {
        std::string out;
        const bool twelveHour = UsesTwelveHourClock(format);
        bool lastWasHour = false;
        size_t i = 0;
        while (i < format.size()) {
            const char c = format[i];
            const char lower = LowerAscii(c);
            const size_t run = RunLength(format, i);
            bool isHour = false;
            if (c == '\'' || c == '"') {
                const size_t end = format.find(c, i + 1);
                const size_t stop = end == std::string::npos ? format.size() : end;
                out += format.substr(i + 1, stop - i - 1);
                i = stop == format.size() ? stop : stop + 1;
                continue;
            }
            if (lower == 'c' && depth == 0) {
                out += Format(Settings.ShortDateFormat, depth + 1);
                if (TimeOfDayMilliseconds() != 0)
                    out += " " + Format(Settings.LongTimeFormat, depth + 1);
                i += 1;
            } else if (lower == 'd') {
                const size_t n = std::min<size_t>(run, 6);
                if (n <= 2) out += Padded(Parts.Day, static_cast<int>(n));
                else if (n == 3) out += ShortDayNames[Parts.DayOfWeek - 1];
                else if (n == 4) out += LongDayNames[Parts.DayOfWeek - 1];
                else if (depth == 0) out += Format(n == 5 ? Settings.ShortDateFormat : "dddd, mmmm d, yyyy", depth + 1);
                i += n;
            } else if (lower == 'm') {
                const size_t n = std::min<size_t>(run, 4);
                if (lastWasHour && n <= 2) out += Padded(Parts.Minute, static_cast<int>(n));
                else if (n <= 2) out += Padded(Parts.Month, static_cast<int>(n));
                else if (n == 3) out += ShortMonthNames[Parts.Month - 1];
                else out += LongMonthNames[Parts.Month - 1];
                i += n;
            } else if (lower == 'y') {
                const size_t n = std::min<size_t>(run, 4);
                out += n <= 2 ? Padded(Parts.Year % 100, 2) : Padded(Parts.Year, 4);
                i += n;
            } else if (lower == 'h') {
                const size_t n = std::min<size_t>(run, 2);
                int hour = Parts.Hour;
                if (twelveHour) {
                    hour %= 12;
                    if (hour == 0) hour = 12;
                }
                out += Padded(hour, static_cast<int>(n));
                isHour = true;
                i += n;
            } else if (lower == 'n') {
                const size_t n = std::min<size_t>(run, 2);
                out += Padded(Parts.Minute, static_cast<int>(n));
                i += n;
            } else if (lower == 's') {
                const size_t n = std::min<size_t>(run, 2);
                out += Padded(Parts.Second, static_cast<int>(n));
                i += n;
            } else if (lower == 'z') {
                const size_t n = run >= 3 ? 3 : 1;
                out += Padded(Parts.Millisecond, static_cast<int>(n));
                i += n;
            } else if (lower == 't' && depth == 0) {
                const size_t n = std::min<size_t>(run, 2);
                out += Format(n == 1 ? "hh:nn" : Settings.LongTimeFormat, depth + 1);
                i += n;
            } else if (lower == 'a' && StartsWithNoCase(format, i, "am/pm")) {
                out += CaseLike(format[i], Parts.Hour < 12 ? "am" : "pm");
                i += 5;
            } else if (lower == 'a' && StartsWithNoCase(format, i, "a/p")) {
                out += CaseLike(format[i], Parts.Hour < 12 ? "a" : "p");
                i += 3;
            } else if (lower == 'a' && StartsWithNoCase(format, i, "ampm")) {
                out += Parts.Hour < 12 ? "AM" : "PM";
                i += 4;
            } else if (c == '/') {
                out += Settings.DateSeparator;
                i += 1;
            } else if (c == ':') {
                out += Settings.TimeSeparator;
                i += 1;
            } else {
                out += c;
                i += 1;
            }
            // A separator between the hour and a following "m" keeps the minute meaning.
            if (isHour) lastWasHour = true;
            else if (std::isalpha(static_cast<unsigned char>(c))) lastWasHour = false;
        }
        return out;
    }

private:
    static size_t RunLength(const std::string& text, size_t at)
    {
        const char lower = LowerAscii(text[at]);
        size_t n = 1;
        while (at + n < text.size() && LowerAscii(text[at + n]) == lower)
            ++n;
        return n;
    }

    static bool UsesTwelveHourClock(const std::string& format)
    {
        for (size_t i = 0; i < format.size(); ++i) {
            if (LowerAscii(format[i]) != 'a') continue;
            if (StartsWithNoCase(format, i, "am/pm") || StartsWithNoCase(format, i, "a/p")
                || StartsWithNoCase(format, i, "ampm"))
                return true;
        }
        return false;
    }

    static std::string CaseLike(char model, std::string word)
    {
        if (std::isupper(static_cast<unsigned char>(model)))
            for (char& ch : word) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        return word;
    }

    long long TimeOfDayMilliseconds() const
    {
        return ((Parts.Hour * 60LL + Parts.Minute) * 60 + Parts.Second) * 1000 + Parts.Millisecond;
    }

    const TFormatSettings& Settings;
    TDateTimeParts Parts;
};

// The text of an XML date and time, read from the front.
class TXmlDateTimeText {
public:
    explicit TXmlDateTimeText(std::string_view text) : Text(text) {}

    // A number of exactly `digits` decimal digits.
    bool Digits(int digits, int& value)
    {
        value = 0;
        for (int i = 0; i < digits; ++i, ++At) {
            if (At >= Text.size() || !std::isdigit(static_cast<unsigned char>(Text[At]))) return false;
            value = value * 10 + (Text[At] - '0');
        }
        return true;
    }
    bool Take(char c)
    {
        if (At >= Text.size() || Text[At] != c) return false;
        ++At;
        return true;
    }
    // The decimal fraction after a second, 0 when there is none.
    bool Fraction(double& fraction)
    {
        fraction = 0;
        if (!Take('.')) return true;
        const size_t first = At;
        for (double scale = 0.1; At < Text.size() && std::isdigit(static_cast<unsigned char>(Text[At])); ++At) {
            fraction += (Text[At] - '0') * scale;
            scale /= 10;
        }
        return At > first;
    }
    // The zone's offset from UTC in seconds: "Z", "+hh:mm", "-hh:mm" or none.
    bool Zone(int& seconds)
    {
        seconds = 0;
        if (Take('Z')) return true;
        const int sign = Take('+') ? 1 : Take('-') ? -1 : 0;
        if (sign == 0) return true;
        int hours = 0, minutes = 0;
        if (!Digits(2, hours) || !Take(':') || !Digits(2, minutes) || hours > 14 || minutes > 59) return false;
        seconds = sign * (hours * 60 + minutes) * 60;
        return true;
    }
    bool AtEnd() const { return At == Text.size(); }

private:
    std::string_view Text;
    size_t At = 0;
};

} // namespace

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings;
    return settings;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond)
{
    const long long days = DaysFromCivil(year, static_cast<unsigned>(month),
                                         static_cast<unsigned>(day)) - DayZeroInUnixDays;
    const double time = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond)
                        / static_cast<double>(MSecsPerDay);
    // Before day 0 the fraction still counts forward from midnight.
    return days >= 0 ? days + time : days - time;
}

TDateTimeParts DecodeDateTime(TDateTime dt)
{
    TDateTimeParts parts;
    if (!std::isfinite(dt) || std::fabs(dt) > 3e6) {
        parts.Year = 0;
        return parts;
    }
    long long days = static_cast<long long>(std::trunc(dt));
    long long ms = std::llround(std::fabs(dt - std::trunc(dt)) * MSecsPerDay);
    if (ms >= MSecsPerDay) {
        ms -= MSecsPerDay;
        days += dt < 0 ? -1 : 1;
    }
    CivilFromDays(days + DayZeroInUnixDays, parts.Year, parts.Month, parts.Day);
    // 1970-01-01 was a Thursday (5 in the 1 = Sunday scale).
    const long long unixDays = days + DayZeroInUnixDays;
    parts.DayOfWeek = static_cast<int>(((unixDays % 7 + 7 + 4) % 7) + 1);
    parts.Hour = static_cast<int>(ms / 3600000);
    parts.Minute = static_cast<int>(ms / 60000 % 60);
    parts.Second = static_cast<int>(ms / 1000 % 60);
    parts.Millisecond = static_cast<int>(ms % 1000);
    return parts;
}

TDateTime DateTimeFromUnixTime(double secondsSinceEpoch, bool toLocalTime)
{
    double seconds = secondsSinceEpoch;
    // Far beyond any calendar a time_t cannot hold it, nor has it a local time.
    if (toLocalTime && std::fabs(secondsSinceEpoch) < 1e17) {
        const std::time_t whole = static_cast<std::time_t>(std::floor(secondsSinceEpoch));
        std::tm local{};
        if (localtime_r(&whole, &local))
            seconds += static_cast<double>(local.tm_gmtoff);
    }
    return seconds / 86400.0 - DayZeroInUnixDays;
}

std::optional<double> UnixTimeOfXmlDateTime(std::string_view text)
{
    TXmlDateTimeText t(TrimmedView(text));
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, zone = 0;
    double fraction = 0;
    const bool read = t.Digits(4, year) && t.Take('-') && t.Digits(2, month) && t.Take('-') && t.Digits(2, day)
                      && t.Take('T') && t.Digits(2, hour) && t.Take(':') && t.Digits(2, minute) && t.Take(':')
                      && t.Digits(2, second) && t.Fraction(fraction) && t.Zone(zone) && t.AtEnd();
    if (!read || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    const long long days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    return static_cast<double>(days) * 86400.0 + hour * 3600 + minute * 60 + second + fraction - zone;
}

TDateTime Now()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return DateTimeFromUnixTime(std::chrono::duration<double>(now).count());
}

std::string FormatDateTime(const std::string& format, TDateTime dt,
                           const TFormatSettings& settings)
{
    const TDateTimeParts parts = DecodeDateTime(dt);
    if (parts.Year < 1 || parts.Year > 9999) return NoDateTimeText;
    TDateTimeFormatter formatter(settings, parts);
    return formatter.Format(format.empty() ? "c" : format);
}

std::string DurationText(double days)
{
    if (!(days > 0) || !std::isfinite(days)) return "?";
    // The time of day is rounded to whole milliseconds on its own, so that no
    // number of days is too large for it; rounding up to midnight carries
    // into the day count.
    double wholeDays = std::floor(days);
    double milliseconds = std::nearbyint((days - wholeDays) * MSecsPerDay);
    if (milliseconds >= MSecsPerDay) {
        milliseconds -= MSecsPerDay;
        wholeDays += 1;
    }
    const auto dayCount = static_cast<unsigned>(std::fmod(wholeDays, 65536.0));
    const std::string time = FormatDateTime("hh:nn:ss", milliseconds / MSecsPerDay);
    return dayCount > 0 ? std::to_string(dayCount) + " days, " + time : time;
}
