#include "untCharts.h"
#include "untIniFile.h"
#include "TestKit.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class ParameterSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { InitStrokeParameters(); }
    void Store(const std::string& text) { WriteBytes(Name, "[StrokeData]\n" + text); }
    std::string Load() { return LoadParameterSettings(Name, StrokeDataSection, StrokeParameters, StoredStrokeParameterCount); }

    TTempFolder Folder;
    std::string Name = Folder.File("marlo.ini");
};

TEST_F(ParameterSettingsTest, WritesFifteenDigitsInTheLocaleFormat)
{
    {
        TFormatScope dot(DotFormat());
        ASSERT_TRUE(SaveParameterSettings(Name, StrokeDataSection, StrokeParameters, StoredStrokeParameterCount));
        const TIniFile ini(Name);
        EXPECT_EQ(ini.ReadString("StrokeData", "Parameter1", ""), "3 0 100 10");
        EXPECT_EQ(ini.ReadString("StrokeData", "Parameter20", ""), "3 0.5 1 0.0500000007450581");
        EXPECT_EQ(ini.ReadSection("StrokeData").size(), 41u) << "entry 41 is never stored";
        EXPECT_EQ(ini.ReadSection("StrokeData").back(), "Parameter40");
    }
    TFormatScope comma(CommaFormat());
    ASSERT_TRUE(SaveParameterSettings(Name, StrokeDataSection, StrokeParameters, StoredStrokeParameterCount));
    EXPECT_EQ(TIniFile(Name).ReadString("StrokeData", "Parameter20", ""), "3 0,5 1 0,0500000007450581");
}

TEST_F(ParameterSettingsTest, SavedUnderCommaLoadsTheSameUnderDot)
{
    StrokeParameters[9].ScaleMode = 1;
    StrokeParameters[9].Minimum = 0.00123f;
    StrokeParameters[17].Step = 0.025f;
    const TParameters saved = StrokeParameters;
    {
        TFormatScope comma(CommaFormat());
        ASSERT_TRUE(SaveParameterSettings(Name, StrokeDataSection, StrokeParameters, StoredStrokeParameterCount));
    }
    InitStrokeParameters();
    TFormatScope dot(DotFormat());
    EXPECT_EQ(Load(), "");
    for (size_t i = 0; i < saved.size(); ++i) {
        EXPECT_EQ(StrokeParameters[i].ScaleMode, saved[i].ScaleMode) << i;
        EXPECT_EQ(StrokeParameters[i].Minimum, saved[i].Minimum) << i;
        EXPECT_EQ(StrokeParameters[i].Maximum, saved[i].Maximum) << i;
        EXPECT_EQ(StrokeParameters[i].Step, saved[i].Step) << i;
    }
}

TEST_F(ParameterSettingsTest, EitherSeparatorReadsUnderEitherLocale)
{
    Store("Parameter3=2 0,5 1,5 0,1\nParameter4=2 0.5 1.5 0.1\n");
    for (const TFormatSettings& format : {DotFormat(), CommaFormat()}) {
        TFormatScope scope(format);
        InitStrokeParameters();
        EXPECT_EQ(Load(), "");
        for (size_t i : {3u, 4u}) {
            EXPECT_EQ(StrokeParameters[i].ScaleMode, 2);
            EXPECT_EQ(StrokeParameters[i].Minimum, 0.5f);
            EXPECT_EQ(StrokeParameters[i].Maximum, 1.5f);
            EXPECT_EQ(StrokeParameters[i].Step, 0.1f);
        }
    }
}

TEST_F(ParameterSettingsTest, OnlyPiecesFollowedByASpaceAreTaken)
{
    TFormatScope dot(DotFormat());
    Store("Parameter1=0 7 0.01\nParameter2=1\nParameter3=\nParameter6=2 90 \n");
    EXPECT_EQ(Load(), "");
    EXPECT_EQ(StrokeParameters[1].ScaleMode, 0);
    EXPECT_EQ(StrokeParameters[1].Minimum, 7.0f);
    EXPECT_EQ(StrokeParameters[1].Maximum, 100.0f) << "no space after the third piece";
    EXPECT_EQ(StrokeParameters[2].ScaleMode, 3) << "a single piece changes nothing";
    EXPECT_EQ(StrokeParameters[3].Maximum, 20.0f);
    // The trailing blank is trimmed with the value, so only the mode is taken.
    EXPECT_EQ(StrokeParameters[6].ScaleMode, 2);
    EXPECT_EQ(StrokeParameters[6].Minimum, 100.0f);
    EXPECT_EQ(StrokeParameters[0].Maximum, 100.0f) << "missing key";
}

TEST_F(ParameterSettingsTest, ABadPieceStopsLoadingAndIsReported)
{
    TFormatScope dot(DotFormat());
    Store("Parameter0=1 0 200 20\nParameter1=2 x 5 1\nParameter2=1 0 80 8\n");
    EXPECT_NE(Load(), "");
    EXPECT_EQ(StrokeParameters[0].Maximum, 200.0f) << "loaded before the bad entry";
    EXPECT_EQ(StrokeParameters[1].ScaleMode, 2) << "pieces before the bad one are taken";
    EXPECT_EQ(StrokeParameters[1].Minimum, 0.0f);
    EXPECT_EQ(StrokeParameters[2].Maximum, 50.0f) << "not loaded after the error";
}

TEST_F(ParameterSettingsTest, ModesAndNumbersOutOfRangeAreConversionErrors)
{
    TFormatScope dot(DotFormat());
    for (const char* stored : {"Parameter0=300 0 1 1\n", "Parameter0=-1 0 1 1\n", "Parameter0=1 1e39 1 1\n",
                               "Parameter0=1.5 0 1 1\n"}) {
        InitStrokeParameters();
        Store(stored);
        EXPECT_NE(Load(), "") << stored;
        EXPECT_EQ(StrokeParameters[0].Minimum, 0.0f) << stored;
        EXPECT_EQ(StrokeParameters[0].Maximum, 100.0f) << stored;
    }
}

TEST_F(ParameterSettingsTest, SaveKeepsOtherSettingsAndSkipsReadOnlyFiles)
{
    TFormatScope dot(DotFormat());
    WriteBytes(Name, "[Recent]\n1=/data/a=b.stg\n[StrokeData]\nParameter0=0 1 2 3\n");
    ASSERT_TRUE(SaveParameterSettings(Name, StrokeDataSection, StrokeParameters, 2));
    const TIniFile ini(Name);
    EXPECT_EQ(ini.ReadString("Recent", "1", ""), "/data/a=b.stg");
    EXPECT_EQ(ini.ReadString("StrokeData", "Parameter0", ""), "0 0 100 10");
    EXPECT_FALSE(ini.ValueExists("StrokeData", "Parameter2"));

    const std::string before = ReadBytes(Name);
    chmod(Name.c_str(), 0444);
    StrokeParameters[0].ScaleMode = 2;
    EXPECT_FALSE(SaveParameterSettings(Name, StrokeDataSection, StrokeParameters, 2));
    EXPECT_EQ(ReadBytes(Name), before);
    EXPECT_FALSE(SaveParameterSettings("", StrokeDataSection, StrokeParameters, 2));
}

TEST_F(ParameterSettingsTest, CountBeyondTheCatalogueIsClamped)
{
    TFormatScope dot(DotFormat());
    TParameters two(StrokeParameters.begin(), StrokeParameters.begin() + 2);
    ASSERT_TRUE(SaveParameterSettings(Name, "Other", two, 50));
    EXPECT_EQ(TIniFile(Name).ReadSection("Other").size(), 2u);
    EXPECT_EQ(LoadParameterSettings(Name, "Other", two, 50), "");
}

} // namespace
