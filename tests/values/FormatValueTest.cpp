#include "untCharts.h"
#include "TestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>
#include <limits>

namespace {

float Seconds(double s) { return static_cast<float>(s / 86400.0); }

// The same checks under a "." and a "," decimal separator; expectations are
// written with "." and the separator swapped in.
class FormatUnderLocale : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override { Scope = std::make_unique<TFormatScope>(GetParam() == '.' ? DotFormat() : CommaFormat()); }
    std::string Local(std::string text) const
    {
        for (char& c : text)
            if (c == '.') c = GetParam();
        return text;
    }
    std::unique_ptr<TFormatScope> Scope;
};

TEST_P(FormatUnderLocale, TimeExamples)
{
    EXPECT_EQ(FormatParameterValue("Tnn:ss.0", Seconds(95.37)), Local("01:35.3"));
    EXPECT_EQ(FormatParameterValue("Th:nn:ss", Seconds(3725)), "1:02:05");
    EXPECT_EQ(FormatParameterValue("Th:nn:ss", Seconds(725)), "12:05");
    EXPECT_EQ(FormatParameterValue("Th:nn:ss.0", Seconds(725.4)), Local("12:05.4"));
    EXPECT_EQ(FormatParameterValue("Tnn:ss.0", 0.0f), Local("00:00.0"));
    EXPECT_EQ(FormatParameterValue("Tnn:ss.0", Seconds(3600)), Local("00:00.0"));
}

TEST_P(FormatUnderLocale, FractionsOfASecondAreCutNotRounded)
{
    EXPECT_EQ(FormatParameterValue("Tnn:ss.0", Seconds(60.3757)), Local("01:00.3"));
    EXPECT_EQ(FormatParameterValue("Tnn:ss.00", Seconds(60.3757)), Local("01:00.37"));
    // Thousandths come from the time rounded to whole milliseconds.
    EXPECT_EQ(FormatParameterValue("Tnn:ss.000", Seconds(60.3757)), Local("01:00.376"));
    EXPECT_EQ(FormatParameterValue("Tnn:ss.0", Seconds(59.99)), Local("00:59.9"));
    // Every occurrence of the placeholder found first is replaced.
    EXPECT_EQ(FormatParameterValue("Tss.0 ss.0", Seconds(1.25)), Local("01.2 01.2"));
}

TEST_P(FormatUnderLocale, PrintfExamples)
{
    EXPECT_EQ(FormatParameterValue("%4.0f", 212.6f), " 213");
    EXPECT_EQ(FormatParameterValue("%3.1f", 15.0f), Local("15.0"));
    EXPECT_EQ(FormatParameterValue("%1.2f", 4.1666665f), Local("4.17"));
    EXPECT_EQ(FormatParameterValue("%2.1f", 30.0f), Local("30.0"));
    EXPECT_EQ(FormatParameterValue("%1.2f %%", 0.5f), Local("0.50 %"));
}

INSTANTIATE_TEST_SUITE_P(Separators, FormatUnderLocale, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? "Dot" : "Comma"; });

TEST(FormatParameterValue, HoursAreDroppedOnlyWhenZero)
{
    TFormatScope dot(DotFormat());
    EXPECT_EQ(FormatParameterValue("Thh:nn:ss", Seconds(65)), "01:05");
    EXPECT_EQ(FormatParameterValue("Thh:nn:ss", Seconds(3725)), "01:02:05");
    EXPECT_EQ(FormatParameterValue("Th:nn:ss", Seconds(0)), "00:00");
    // Whole days are not shown.
    EXPECT_EQ(FormatParameterValue("Th:nn:ss", Seconds(86400 + 65)), "01:05");
    EXPECT_EQ(FormatParameterValue("Th:nn:ss", Seconds(86400 + 7265)), "2:01:05");
}

TEST(FormatParameterValue, NegativeTimeShowsItsSizeAfterAMinus)
{
    TFormatScope dot(DotFormat());
    EXPECT_EQ(FormatParameterValue("Th:nn:ss", Seconds(-90)), "-01:30");
    EXPECT_EQ(FormatParameterValue("Th:nn:ss", Seconds(-3725)), "-1:02:05");
    EXPECT_EQ(FormatParameterValue("Tnn:ss.0", Seconds(-95.37)), "-01:35.3");
    // Less than half a millisecond is no time at all: no sign.
    EXPECT_EQ(FormatParameterValue("Th:nn:ss", Seconds(-0.0001)), "00:00");
}

TEST(FormatParameterValue, PrintfRoundsBinaryTiesToEven)
{
    TFormatScope dot(DotFormat());
    EXPECT_EQ(FormatParameterValue("%1.0f", 2.5f), "2");
    EXPECT_EQ(FormatParameterValue("%1.0f", 3.5f), "4");
    EXPECT_EQ(FormatParameterValue("%1.2f", 0.125f), "0.12");
    EXPECT_EQ(FormatParameterValue("%1.2f", 0.375f), "0.38");
    EXPECT_EQ(FormatParameterValue("%4.0f", -0.4f), "  -0");
}

TEST(FormatParameterValue, UnsafeOrOddFormatsGiveNoCrash)
{
    TFormatScope dot(DotFormat());
    EXPECT_EQ(FormatParameterValue("%d", 1.0f), "");
    EXPECT_EQ(FormatParameterValue("%s", 1.0f), "");
    EXPECT_EQ(FormatParameterValue("%n", 1.0f), "");
    EXPECT_EQ(FormatParameterValue("%*f", 1.0f), "");
    EXPECT_EQ(FormatParameterValue("%f %f", 1.0f), "");
    EXPECT_EQ(FormatParameterValue("%", 1.0f), "");
    EXPECT_EQ(FormatParameterValue("", 1.0f), "");
    EXPECT_EQ(FormatParameterValue("no value", 1.0f), "no value");
    EXPECT_EQ(FormatParameterValue("%e", 1.0f), "1.000000e+00");
}

// A value that is not finite has no digits to show, in any format that shows
// a value; a format that shows none is not changed by it.
TEST(FormatParameterValue, NonFiniteValuesShowAsADash)
{
    TFormatScope dot(DotFormat());
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const float value : {inf, -inf, nan, -nan}) {
        for (const char* format : {"Th:nn:ss", "Tnn:ss.0", "%4.0f", "%1.2f", "%+08.3e", "%-6g", "%#a", "<%f>"})
            EXPECT_EQ(FormatParameterValue(format, value), "-") << format << " of " << value;
        EXPECT_EQ(FormatParameterValue("no value", value), "no value");
        EXPECT_EQ(FormatParameterValue("%d", value), "");
    }
    EXPECT_EQ(FormatParameterValue("Th:nn:ss", std::numeric_limits<float>::max()), "00:00");
}

// printf itself is the reference: every flag, width and precision of every
// floating-point type, over values at the edges of rounding and of range.
TEST(FormatParameterValue, AgreesWithPrintf)
{
    TFormatScope dot(DotFormat());
    std::vector<float> values = {0.0f, -0.0f, 0.5f, 1.5f, 2.5f, -2.5f, 0.125f, 0.375f, 9.995f, 99.95f, 0.05f,
                                 1e-5f, 123456.78f, 3e9f, 1e20f, -7.25e-3f, std::numeric_limits<float>::max(),
                                 std::numeric_limits<float>::min(), std::numeric_limits<float>::denorm_min()};
    std::mt19937 random(7);
    for (int i = 0; i < 40; ++i) {
        const int exponent = std::uniform_int_distribution<int>(-12, 12)(random);
        values.push_back(std::uniform_real_distribution<float>(-1, 1)(random) * std::pow(10.0f, float(exponent)));
    }
    int formats = 0;
    for (const char type : std::string("fFeEgGaA"))
        for (int flags = 0; flags < 32; ++flags)
            for (const char* width : {"", "1", "12"})
                for (const char* precision : {"", ".", ".0", ".1", ".3", ".12"}) {
                    std::string format = "<%";
                    for (int f = 0; f < 5; ++f)
                        if (flags & (1 << f)) format += "-+ #0"[f];
                    format = format + width + precision + type + ">";
                    ++formats;
                    for (const float value : values) {
                        char expected[512];
                        std::snprintf(expected, sizeof expected, format.c_str(), static_cast<double>(value));
                        ASSERT_EQ(FormatParameterValue(format, value), expected) << format << " of " << value;
                    }
                }
    EXPECT_EQ(formats, 8 * 32 * 3 * 6);
}

// The fixed style at every precision a value may be asked for, over singles of
// every size: whole numbers, ties between two last digits, values whose
// scaled size is near the largest the digits are worked out exactly for,
// and random bit patterns.
TEST(FormatParameterValue, FixedStyleAgreesWithPrintfAtEveryPrecision)
{
    TFormatScope dot(DotFormat());
    std::vector<float> values = {0.5f, 1.5f, 0.25f, 0.75f, 0.125f, 0.0625f, 1.0f / 1024, 1023.5f, 16777215.0f,
                                 16777216.0f, 9.5e17f, 1e18f, 1.01e18f, 9.2e18f, 1.8e19f, 4e-45f, 9.999999e-3f};
    for (int precision = 0; precision <= 20; ++precision) {
        const float limit = static_cast<float>(1e18 / std::pow(10.0, precision));
        values.push_back(limit);
        values.push_back(std::nextafter(limit, 0.0f));
        values.push_back(std::nextafter(limit, 1e30f));
    }
    std::mt19937 random(11);
    for (int i = 0; i < 3000; ++i) {
        const uint32_t bits = static_cast<uint32_t>(random());
        float value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) values.push_back(value);
    }
    const size_t positives = values.size();
    for (size_t i = 0; i < positives; ++i) values.push_back(-values[i]);
    for (int precision = 0; precision <= 20; ++precision) {
        const std::string format = "%." + std::to_string(precision) + "f";
        for (const float value : values) {
            char expected[512];
            std::snprintf(expected, sizeof expected, format.c_str(), static_cast<double>(value));
            ASSERT_EQ(FormatParameterValue(format, value), expected) << format << " of " << value;
        }
    }
}

TEST(FormatParameterValue, RefusesWidthsAndPrecisionsNoValueNeeds)
{
    TFormatScope dot(DotFormat());
    EXPECT_EQ(FormatParameterValue("%4096.1f", 1.0f).size(), 4096u);
    EXPECT_EQ(FormatParameterValue("%4097.1f", 1.0f), "");
    EXPECT_EQ(FormatParameterValue("%.99999999999f", 1.0f), "");
    EXPECT_EQ(FormatParameterValue(std::string("%\0f", 3), 1.0f), "");
}

} // namespace
