#include "TestKit.h"
#include "untDateTime.h"

#include <cmath>
#include <limits>
#include <gtest/gtest.h>

TEST(DateTime, EncodesDaysSince18991230)
{
    EXPECT_EQ(EncodeDateTime(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDateTime(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDateTime(2000, 1, 1), 36526.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(2000, 1, 1, 18), 36526.75);
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 29, 6), -1.25);
}

TEST(DateTime, DecodesWithMillisecondRounding)
{
    const TDateTimeParts parts = DecodeDateTime(EncodeDateTime(2024, 2, 29, 23, 59, 59, 999));
    EXPECT_EQ(parts.Year, 2024);
    EXPECT_EQ(parts.Month, 2);
    EXPECT_EQ(parts.Day, 29);
    EXPECT_EQ(parts.Hour, 23);
    EXPECT_EQ(parts.Minute, 59);
    EXPECT_EQ(parts.Second, 59);
    EXPECT_EQ(parts.Millisecond, 999);
    EXPECT_EQ(parts.DayOfWeek, 5); // Thursday
    // Half a millisecond before midnight rounds into the next day.
    const TDateTimeParts next = DecodeDateTime(EncodeDateTime(2024, 2, 29) + (86400000 - 0.4) / 86400000.0);
    EXPECT_EQ(next.Month, 3);
    EXPECT_EQ(next.Day, 1);
    EXPECT_EQ(next.Hour, 0);
    const TDateTimeParts before = DecodeDateTime(-1.25);
    EXPECT_EQ(before.Day, 29);
    EXPECT_EQ(before.Hour, 6);
}

TEST(FormatDateTime, TokensSeparatorsAndQuotes)
{
    TFormatScope scope(CommaFormat());
    const TDateTime dt = EncodeDateTime(2026, 3, 7, 14, 5, 9, 42);
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy", dt), "07.03.2026");
    EXPECT_EQ(FormatDateTime("d/m/yy", dt), "7.3.26");
    EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", dt), "14:05:09.042");
    EXPECT_EQ(FormatDateTime("h:mm", dt), "14:05"); // m after h is the minute
    EXPECT_EQ(FormatDateTime("ddd dddd mmm mmmm", dt), "Sat Saturday Mar March");
    EXPECT_EQ(FormatDateTime("hh:nn am/pm", dt), "02:05 pm");
    EXPECT_EQ(FormatDateTime("h A/P", EncodeDateTime(2026, 1, 1, 0, 30)), "12 A");
    EXPECT_EQ(FormatDateTime("\"at\" hh 'h'", dt), "at 14 h");
    EXPECT_EQ(FormatDateTime("c", dt), "07.03.2026 14:05:09");
    EXPECT_EQ(FormatDateTime("c", EncodeDateTime(2026, 3, 7)), "07.03.2026");
    EXPECT_EQ(FormatDateTime("ddddd tt", dt), "07.03.2026 14:05:09");
}

TEST(FormatDateTime, DatesOutsideTheCalendarShowAsADash)
{
    TFormatScope dot(DotFormat());
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", EncodeDateTime(1, 1, 1)), "0001-01-01 00:00");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", EncodeDateTime(9999, 12, 31, 23, 59)), "9999-12-31 23:59");
    EXPECT_EQ(FormatDateTime("yyyy", EncodeDateTime(1, 1, 1) - 1), "-");
    EXPECT_EQ(FormatDateTime("yyyy", EncodeDateTime(10000, 1, 1)), "-");
    for (const double dt : {-700000.0, 1e300, 1e308, -1e308, std::numeric_limits<double>::max(),
                            std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                            std::nan("")})
        EXPECT_EQ(FormatDateTime("c", dt), "-") << dt;
}


TEST(UnixTimeOfXmlDateTime, ZonesFractionsAndTextsThatAreNoDate)
{
    // 2026-06-14 05:30:02 UTC.
    const double utc = 1781415002;
    EXPECT_EQ(UnixTimeOfXmlDateTime("2026-06-14T05:30:02Z"), utc);
    EXPECT_EQ(UnixTimeOfXmlDateTime(" 2026-06-14T05:30:02.250Z\n"), utc + 0.25);
    EXPECT_EQ(UnixTimeOfXmlDateTime("2026-06-14T05:30:02"), utc) << "no zone: UTC";
    EXPECT_EQ(UnixTimeOfXmlDateTime("2026-06-14T07:30:02+02:00"), utc);
    EXPECT_EQ(UnixTimeOfXmlDateTime("2026-06-13T23:00:02-06:30"), utc);
    EXPECT_EQ(UnixTimeOfXmlDateTime("1969-12-31T23:59:59Z"), -1.0);
    for (const char* text : {"", "2026-06-14", "2026-06-14 05:30:02Z", "2026-13-14T05:30:02Z", "2026-06-14T24:00:00Z",
                             "2026-06-14T05:30:02.Z", "2026-06-14T05:30:02+2:00", "2026-06-14T05:30:02Zulu",
                             "26-06-14T05:30:02Z", "2026-06-14T05:60:02Z"})
        EXPECT_FALSE(UnixTimeOfXmlDateTime(text)) << text;
}
