#include "TestKit.h"
#include "jsUtils.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>

TEST(SafeDivide, GuardsZeroTinyAndOverflowingDivisors)
{
    EXPECT_EQ(SafeDivide(0.0f, 5.0f), 0.0f);
    EXPECT_FLOAT_EQ(SafeDivide(1e-12f, 1.0f), 1e9f);
    EXPECT_FLOAT_EQ(SafeDivide(-1e-12f, 1.0f), -1e9f);
    EXPECT_EQ(SafeDivide(4.0f, 2.0f), 0.5f);
    // 1e-9 itself is an ordinary divisor.
    EXPECT_FLOAT_EQ(SafeDivide(1e-9f, 1.0f), 1.0f / 1e-9f);
    EXPECT_EQ(SafeDivide(1e-30f, FLT_MAX), 0.0f);
    EXPECT_EQ(SafeDivide(0.5f, FLT_MAX), 0.0f);
    EXPECT_EQ(SafeDivide(NAN, 1.0f), 0.0f);
    EXPECT_EQ(SafeDivide(1.0f, INFINITY), 0.0f);
}

TEST(SafeDivide, RoundsTheQuotientToSinglePrecision)
{
    EXPECT_EQ(SafeDivide(3.0f, 1.0f), static_cast<float>(1.0 / 3.0));
    EXPECT_EQ(SafeDivide(7.0f, 10.0f), 10.0f / 7.0f);
}

TEST(RoundToWord, RoundsTiesToEvenAndClamps)
{
    EXPECT_EQ(RoundToWord(2.5), 2);
    EXPECT_EQ(RoundToWord(3.5), 4);
    EXPECT_EQ(RoundToWord(2.4999), 2);
    EXPECT_EQ(RoundToWord(70000), 65535);
    EXPECT_EQ(RoundToWord(65535.4), 65535);
    EXPECT_EQ(RoundToWord(65534.5), 65534);
    EXPECT_EQ(RoundToWord(-3), 0);
    EXPECT_EQ(RoundToWord(-0.4), 0);
    EXPECT_EQ(RoundToWord(NAN), 0);
    EXPECT_EQ(RoundToWord(30 * 3.85), 116); // the double product is 115.5000...01
}

TEST(Ranges, OpenRangeAndClamp)
{
    EXPECT_TRUE(InRangeOpen(10, 0, 5));
    EXPECT_FALSE(InRangeOpen(10, 0, 0));
    EXPECT_FALSE(InRangeOpen(10, 0, 10));
    EXPECT_EQ(ClampInt(-5, 0, 9), 0);
    EXPECT_EQ(ClampInt(12, 0, 9), 9);
    EXPECT_EQ(ClampInt(4, 0, 9), 4);
}

TEST(StrToFloatAnySep, AcceptsEitherSeparatorUnderEitherLocale)
{
    for (const TFormatSettings& settings : {DotFormat(), CommaFormat()}) {
        TFormatScope scope(settings);
        EXPECT_EQ(StrToFloatAnySep("12,5"), 12.5);
        EXPECT_EQ(StrToFloatAnySep("12.5"), 12.5);
        EXPECT_EQ(StrToFloatAnySep(" -0.25 "), -0.25);
        EXPECT_EQ(StrToFloatAnySep("1e3"), 1000.0);
        EXPECT_THROW(StrToFloatAnySep("1.234,5"), EConvertError);
        EXPECT_THROW(StrToFloatAnySep(""), EConvertError);
        EXPECT_THROW(StrToFloatAnySep("abc"), EConvertError);
        EXPECT_THROW(StrToFloatAnySep("1e"), EConvertError);
    }
}

TEST(StrToFloat, UsesOnlyTheLocalesSeparator)
{
    TFormatScope scope(CommaFormat());
    EXPECT_EQ(StrToFloat("3,75"), 3.75);
    EXPECT_THROW(StrToFloat("3.75"), EConvertError);
    EXPECT_THROW(StrToFloat("1e999"), EConvertError);
}

TEST(FloatToStr, WritesTheLocalesSeparatorAndShortExponents)
{
    TFormatScope scope(CommaFormat());
    EXPECT_EQ(FloatToStr(12.5), "12,5");
    EXPECT_EQ(FloatToStr(3), "3");
    EXPECT_EQ(FloatToStr(1e20), "1E20");
    EXPECT_EQ(FloatToStr(1e-5), "1E-5");
    EXPECT_EQ(StrToFloat(FloatToStr(0.1)), 0.1);
}

TEST(Integers, StrToIntAndDigitsToInt)
{
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt(" -7"), -7);
    EXPECT_THROW(StrToInt("12.5"), EConvertError);
    EXPECT_THROW(StrToInt("99999999999"), EConvertError);
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_EQ(DigitsToInt("v1.1.3.0"), 1130);
    EXPECT_EQ(DigitsToInt("a-1b2"), -12);
    EXPECT_THROW(DigitsToInt("none"), EConvertError);
}

TEST(Versions, PackAndFormat)
{
    const uint32_t v = PackVersion("1.1.3.0");
    EXPECT_EQ(v, 0x01010300u);
    EXPECT_EQ(FormatVersion(v), "1.1.3.0");
    EXPECT_EQ(PackVersion("1.1.3"), 0u);
    EXPECT_EQ(PackVersion("1.1.13.25") & 0xFFFF, 0x0D19u);
    EXPECT_EQ(PackVersion("1..3.0"), 0u);
    EXPECT_EQ(PackVersion("1.x.3.0"), 0u);
    EXPECT_EQ(PackVersion("1.2.3.4.5"), 0u); // the fourth part "4.5" is not an integer
    EXPECT_EQ(FormatVersion(0xFF000102), "255.0.1.2");
}

TEST(Versions, TheProgramsOwnTable)
{
    EXPECT_EQ(ProductName(), "Marlo");
    EXPECT_FALSE(CompanyName().empty());
    EXPECT_EQ(GetVersionString("NoSuchKey"), "");
    EXPECT_EQ(ProductAndVersion(), "Marlo " + FileVersion());
    EXPECT_EQ(CurrentVersion(), PackVersion(FileVersion()));
    EXPECT_NE(CurrentVersion(), 0u);
    std::string digits;
    for (char c : FileVersion())
        if (c != '.') digits += c;
    EXPECT_EQ(VersionDigits(), digits);
}
