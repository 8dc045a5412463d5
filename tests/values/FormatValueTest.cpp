#include "untCharts.h"
#include "TestKit.h"

#include <gtest/gtest.h>

#include <cmath>
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

TEST(FormatParameterValue, NonFiniteValues)
{
    TFormatScope dot(DotFormat());
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(FormatParameterValue("Th:nn:ss", inf), "");
    EXPECT_EQ(FormatParameterValue("Tnn:ss.0", nan), "");
    EXPECT_EQ(FormatParameterValue("%4.0f", inf), " inf");
    EXPECT_NO_THROW(FormatParameterValue("Th:nn:ss", std::numeric_limits<float>::max()));
}

} // namespace
