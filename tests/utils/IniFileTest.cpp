#include "untIniFile.h"
#include "jsUtils.h"
#include "TestKit.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <limits>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    TTempFolder Folder;
    std::string Name = Folder.File("marlo.ini");
};

TEST_F(IniFileTest, SectionsAndKeysKeepFileOrderAndCompareWithoutCase)
{
    WriteBytes(Name, "[Recent]\n2=b.stg\n1=a.stg\n10=c.stg\n\n[Options]\nLastDir=/home\n");
    const TIniFile ini(Name);
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Recent", "Options"}));
    EXPECT_EQ(ini.ReadSection("recent"), (std::vector<std::string>{"2", "1", "10"}));
    EXPECT_EQ(ini.ReadString("OPTIONS", "lastdir", "?"), "/home");
    EXPECT_TRUE(ini.SectionExists("options"));
    EXPECT_FALSE(ini.ValueExists("Options", "Missing"));
}

TEST_F(IniFileTest, ValueIsEverythingAfterTheFirstEqualsSign)
{
    WriteBytes(Name, "[Recent]\r\n5=C:\\a=b.stg\r\n6 = spaced value \r\n");
    const TIniFile ini(Name);
    const auto values = ini.ReadSectionValues("Recent");
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0], (std::pair<std::string, std::string>{"5", "C:\\a=b.stg"}));
    EXPECT_EQ(values[1].second, "spaced value");
}

TEST_F(IniFileTest, MissingFileOrNameGivesDefaultsAndSkipsWrites)
{
    TIniFile none("");
    EXPECT_EQ(none.ReadInteger("Row", "DataRange", 65535), 65535);
    none.WriteInteger("Row", "DataRange", 5);
    EXPECT_FALSE(none.UpdateFile());

    const TIniFile missing(Folder.File("absent.ini"));
    EXPECT_EQ(missing.ReadString("Options", "LastDir", "dflt"), "dflt");
    EXPECT_TRUE(missing.ReadSections().empty());
}

TEST_F(IniFileTest, IntegersAndBooleans)
{
    WriteBytes(Name, "[View]\nHints=0\nMenu=7\nToolbar=yes\n[Options]\nDialog=-16777201\nBad=12x\n");
    const TIniFile ini(Name);
    EXPECT_FALSE(ini.ReadBool("View", "Hints", true));
    EXPECT_TRUE(ini.ReadBool("View", "Menu", false));
    EXPECT_TRUE(ini.ReadBool("View", "Toolbar", true));   // not a number: default
    EXPECT_FALSE(ini.ReadBool("View", "Toolbar", false));
    EXPECT_EQ(ini.ReadInteger("Options", "Dialog", 0), -16777201);
    EXPECT_EQ(ini.ReadInteger("Options", "Bad", 3), 3);

    TIniFile writer(Name);
    writer.WriteBool("View", "Fullscreen", true);
    writer.WriteBool("View", "Hints", false);
    ASSERT_TRUE(writer.UpdateFile());
    const TIniFile reread(Name);
    EXPECT_EQ(reread.ReadString("View", "Fullscreen", ""), "1");
    EXPECT_EQ(reread.ReadString("View", "Hints", ""), "0");
}

TEST_F(IniFileTest, FloatWrittenUnderCommaReadsBackUnderDot)
{
    const double runningTime = 3.1754629629;
    {
        TFormatScope comma(CommaFormat());
        TIniFile ini(Name);
        ini.WriteFloat("Statistics", "RunningTime", runningTime);
        ASSERT_TRUE(ini.UpdateFile());
        EXPECT_EQ(TIniFile(Name).ReadString("Statistics", "RunningTime", ""), "3,1754629629");
    }
    TFormatScope dot(DotFormat());
    const TIniFile ini(Name);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Statistics", "RunningTime", 0), runningTime);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Statistics", "Missing", 1.5), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Statistics", "RunningTime", 0), StrToFloatAnySep("3,1754629629"));
}

TEST_F(IniFileTest, NonNumericFloatKeepsTheDefault)
{
    WriteBytes(Name, "[Statistics]\nRowingTime=soon\n");
    EXPECT_DOUBLE_EQ(TIniFile(Name).ReadFloat("Statistics", "RowingTime", 2.0), 2.0);
}

// What a damaged file may hold where a number belongs: the default for
// anything that is no number of the range asked for, its bounds included.
TEST_F(IniFileTest, NumbersOutsideTheirRangeReadAsTheDefault)
{
    TFormatScope dot(DotFormat());
    WriteBytes(Name, "[N]\nnan=NaN\ninf=inf\nminus=-1\nhuge=1e308\nlow=0\nhigh=10\nhalf=2.5\nbig=2147483648\n");
    const TIniFile ini(Name);
    for (const char* key : {"nan", "inf", "minus", "huge", "big"}) {
        EXPECT_EQ(ini.ReadInteger("N", key, 7, 0, 10), 7) << key;
        EXPECT_EQ(ini.ReadFloat("N", key, 7, 0, 10), 7) << key;
    }
    EXPECT_EQ(ini.ReadInteger("N", "low", 7, 0, 10), 0);
    EXPECT_EQ(ini.ReadInteger("N", "high", 7, 0, 10), 10);
    EXPECT_EQ(ini.ReadInteger("N", "high", 7, 0, 9), 7);
    EXPECT_EQ(ini.ReadInteger("N", "minus", 7, -1, 0), -1);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "half", 7, 0, 10), 2.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "half", 7, 0, 2.4), 7);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "huge", 7, 0, std::numeric_limits<double>::max()), 1e308);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "missing", 7, 0, 1), 7);
}

TEST_F(IniFileTest, UpdateKeepsOtherSectionsAndOrderAndLeavesNoTemporaryFile)
{
    WriteBytes(Name, "[Recent]\n1=a.stg\n[Training]\nLeft=10\n");
    TIniFile ini(Name);
    ini.WriteString("Recent", "2", "b.stg");
    ini.WriteInteger("Position", "Left", -1);
    ini.EraseSection("Training");
    ASSERT_TRUE(ini.UpdateFile());

    const TIniFile reread(Name);
    EXPECT_EQ(reread.ReadSections(), (std::vector<std::string>{"Recent", "Position"}));
    EXPECT_EQ(reread.ReadSection("Recent"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(ReadBytes(Name).find(" = "), std::string::npos) << "written as key=value";
}

TEST_F(IniFileTest, ReadOnlyFileIsSkippedSilently)
{
    const std::string original = "[Statistics]\nTimesStarted=4\n";
    WriteBytes(Name, original);
    chmod(Name.c_str(), 0444);
    TIniFile ini(Name);
    ini.WriteInteger("Statistics", "TimesStarted", 5);
    EXPECT_FALSE(ini.UpdateFile());
    EXPECT_EQ(ReadBytes(Name), original);
    EXPECT_FALSE(TidyIniFile(Name));
}

TEST(TidyIniText, OneEmptyLineBeforeEachHeaderAndNoOthers)
{
    EXPECT_EQ(TidyIniText("[A]\na=1\n\n\n[B]\n\nb=2\n[C]\n\n"), "[A]\na=1\n\n[B]\nb=2\n\n[C]\n");
    // Empty lines at the top go too, so a header on the second line gets one.
    EXPECT_EQ(TidyIniText("\n\n[A]\na=1\n"), "[A]\na=1\n");
    EXPECT_EQ(TidyIniText("\nx=1\n[A]\n"), "x=1\n\n[A]\n");
    EXPECT_EQ(TidyIniText("[A]\r\n\r\n;note\r\n[B]\r\n"), "[A]\n;note\n\n[B]\n");
    EXPECT_EQ(TidyIniText(""), "");
    EXPECT_EQ(TidyIniText("\n\n"), "");
    // Blanks make a line non-empty; it stays.
    EXPECT_EQ(TidyIniText("[A]\n \n[B]"), "[A]\n \n\n[B]\n");
}

TEST_F(IniFileTest, TidyingTheFileIsIdempotent)
{
    WriteBytes(Name, "[A]\na=1\n\n\n\n[B]\n[C]\nc=3\n");
    ASSERT_TRUE(TidyIniFile(Name));
    const std::string once = ReadBytes(Name);
    EXPECT_EQ(once, "[A]\na=1\n\n[B]\n\n[C]\nc=3\n");
    ASSERT_TRUE(TidyIniFile(Name));
    EXPECT_EQ(ReadBytes(Name), once);
    EXPECT_FALSE(TidyIniFile(Folder.File("absent.ini")));
}

TEST(DurationText, DaysAndTimeOfDay)
{
    TFormatScope dot(DotFormat());
    EXPECT_EQ(DurationText(0), "?");
    EXPECT_EQ(DurationText(-1.5), "?");
    EXPECT_EQ(DurationText(3 + (4 * 3600 + 5 * 60 + 6) / 86400.0), "3 days, 04:05:06");
    EXPECT_EQ(DurationText((2 * 3600 + 3) / 86400.0), "02:00:03");
    EXPECT_EQ(DurationText(1.0), "1 days, 00:00:00");
    // Whole days count modulo 65536.
    EXPECT_EQ(DurationText(65537.5), "1 days, 12:00:00");
    EXPECT_EQ(DurationText(65536.25), "06:00:00");
    // A time of day that rounds up to midnight carries into the days.
    EXPECT_EQ(DurationText(2.0 - 0.1 / 86400000.0), "2 days, 00:00:00");
}

TEST(DurationText, EveryDoubleGivesAText)
{
    TFormatScope dot(DotFormat());
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(DurationText(std::nan("")), "?");
    EXPECT_EQ(DurationText(inf), "?");
    EXPECT_EQ(DurationText(-inf), "?");
    // The time of day of a huge span is worked out without its days, whose
    // milliseconds would overflow; such spans are whole multiples of 65536 days.
    EXPECT_EQ(DurationText(3 * 65536.0 + 5.5), "5 days, 12:00:00");
    EXPECT_EQ(DurationText(1e308), "00:00:00");
    EXPECT_EQ(DurationText(std::numeric_limits<double>::max()), "00:00:00");
    EXPECT_EQ(DurationText(std::numeric_limits<double>::denorm_min()), "00:00:00");
}

} // namespace
