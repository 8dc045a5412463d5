// Dates and times as the training files store them: a double counting days
// since 1899-12-30, the fraction being the time of day. Locale-dependent texts
// read one process-wide format-settings value.
#pragma once

#include <optional>
#include <string>
#include <string_view>

using TDateTime = double;

struct TFormatSettings {
    char DecimalSeparator = '.';
    char DateSeparator = '-';
    char TimeSeparator = ':';
    std::string ShortDateFormat = "yyyy/mm/dd";
    std::string LongTimeFormat = "hh:nn:ss";
};

// The process-wide settings; the desktop program fills them from the system
// locale at start-up, tests set them explicitly.
TFormatSettings& FormatSettings();

struct TDateTimeParts {
    int Year = 1899, Month = 12, Day = 30;
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
    int DayOfWeek = 7; // 1 = Sunday .. 7 = Saturday
};

TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                         int second = 0, int millisecond = 0);
// Splits dt into its parts; the time is rounded to whole milliseconds.
TDateTimeParts DecodeDateTime(TDateTime dt);
TDateTime DateTimeFromUnixTime(double secondsSinceEpoch, bool toLocalTime = true);
// Seconds since 1970-01-01 UTC of an XML date and time,
// "2026-06-14T05:30:02.5Z" or with an offset ("+02:00"), blanks around it
// allowed; one without a zone is taken as UTC. Nothing for any other text.
std::optional<double> UnixTimeOfXmlDateTime(std::string_view text);
TDateTime Now();

// Formats dt with the usual date-time format language: d dd ddd dddd ddddd dddddd,
// m mm mmm mmmm (minutes after h), yy yyyy, h hh, n nn, s ss, z zzz, t tt, c,
// am/pm a/p ampm, "/" and ":" for the separators, and quoted text copied as is.
// A date outside years 1..9999, and a dt that is not finite, give
// NoDateTimeText.
const char* const NoDateTimeText = "-";
std::string FormatDateTime(const std::string& format, TDateTime dt,
                           const TFormatSettings& settings = FormatSettings());

// A span of days for the usage statistics: "?" for none, the time of day as
// "hh:nn:ss", preceded by "%d days, " when it spans whole days (counted modulo
// 65536).
std::string DurationText(double days);
