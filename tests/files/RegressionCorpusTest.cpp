// The regression corpus: every input that ever crashed, hung or misbehaved a
// reader or the settings loader, kept in tests/corpus/<target>/ and read
// again here as the fuzz targets read it.
#include "ReadChecks.h"
#include "StgBuilder.h"
#include "TestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>

namespace {

std::vector<std::filesystem::path> CasesIn(const std::string& target)
{
    std::vector<std::filesystem::path> cases;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(MARLO_CORPUS_DIR) + "/" + target))
        if (entry.is_regular_file()) cases.push_back(entry.path());
    std::sort(cases.begin(), cases.end());
    return cases;
}

class ReaderCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(ReaderCorpus, EveryCaseReadsSoundly)
{
    const auto cases = CasesIn(GetParam());
    ASSERT_FALSE(cases.empty());
    const TTempFolder temp;
    const std::string path = temp.File("case." + GetParam());
    for (const auto& file : cases) {
        SCOPED_TRACE(file.filename().string());
        WriteBytes(path, ReadBytes(file.string()));
        TReadResult result;
        ReadThroughDispatcher(path, result);
        EXPECT_EQ(FaultOfRead(path, result), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Readers, ReaderCorpus,
                         ::testing::Values("stg", "ses", "str", "ini", "pel", "rvi", "rvr", "rvs", "fit", "tcx", "csv"),
                         [](const auto& info) { return info.param; });

TEST(SettingsCorpus, EveryCaseLoadsSoundly)
{
    const auto cases = CasesIn("settings");
    ASSERT_FALSE(cases.empty());
    const TTempFolder temp;
    const std::string path = temp.File("settings.ini");
    InitStrokeParameters();
    const TParameters builtIn = StrokeParameters;
    for (const auto& file : cases) {
        SCOPED_TRACE(file.filename().string());
        WriteBytes(path, ReadBytes(file.string()));
        TParameters entries = builtIn;
        const std::string message = LoadParameterSettings(path, StrokeDataSection, entries, StoredStrokeParameterCount);
        EXPECT_EQ(FaultOfLoadedParameters(builtIn, entries, StoredStrokeParameterCount, message), "");
    }
}

// The rules themselves must catch what they are there to catch.
class ReadRules : public ::testing::Test {
protected:
    TReadResult SoundRead(const std::string& path)
    {
        TStgBuilder file;
        file.Block(3, 84, 2).Record(MakeStroke(1)).Record(MakeStroke(2));
        file.Block(4, 163, 2).Record(MakeCurve(7)).Record(MakeCurve(8));
        WriteBytes(path, file.Bytes);
        TReadResult result;
        ReadThroughDispatcher(path, result);
        return result;
    }
    TTempFolder Temp;
};

TEST_F(ReadRules, AcceptSoundReadsAndCleanFailures)
{
    const std::string path = Temp.File("a.stg");
    const TReadResult read = SoundRead(path);
    ASSERT_TRUE(read.Ok);
    EXPECT_EQ(FaultOfRead(path, read), ""); // the curves keep their stored numbers 7 and 8

    WriteBytes(path, "MIL ");
    TReadResult failed;
    ReadThroughDispatcher(path, failed);
    EXPECT_FALSE(failed.Ok);
    EXPECT_EQ(FaultOfRead(path, failed), "");
}

TEST_F(ReadRules, CatchBrokenReads)
{
    const std::string path = Temp.File("a.stg");
    TReadResult read = SoundRead(path);
    read.Training.Curves.pop_back();
    EXPECT_EQ(FaultOfRead(path, read), "strokes and curves out of step");

    read = SoundRead(path);
    read.Training.Strokes[2].Number = 1;
    EXPECT_EQ(FaultOfRead(path, read), "stroke 2 numbered 1");
    // A session file numbers its curves itself; a training file keeps the stored numbers.
    EXPECT_EQ(FaultOfRead(Temp.File("a.ses"), SoundRead(path)), "curve 1 numbered 7");

    read = SoundRead(path);
    read.Ok = false;
    EXPECT_EQ(FaultOfRead(path, read), "a failed read left a record that is not empty");

    read = SoundRead(path);
    read.Errors.push_back("Error reading file");
    EXPECT_EQ(FaultOfRead(path, read), "a successful read showed the error \"Error reading file\"");

    read = SoundRead(path);
    read.Progress.pop_back();
    EXPECT_EQ(FaultOfRead(path, read), "progress does not run from 0 to -1");
}

TEST(LoadRules, CatchRangesThatNoFileMayGive)
{
    InitStrokeParameters();
    const TParameters builtIn = StrokeParameters;
    TParameters loaded = builtIn;
    EXPECT_EQ(FaultOfLoadedParameters(builtIn, loaded, 41, ""), "");
    loaded[41].Maximum += 1;
    EXPECT_EQ(FaultOfLoadedParameters(builtIn, loaded, 41, ""), "entry 41 is not stored but changed");
    loaded = builtIn;
    loaded[3].ScaleMode = 4;
    EXPECT_EQ(FaultOfLoadedParameters(builtIn, loaded, 41, ""), "entry 3 has no valid display-range mode");
    loaded = builtIn;
    loaded[0].Step = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(FaultOfLoadedParameters(builtIn, loaded, 41, ""), "entry 0 has a bound that is not a number");
}

} // namespace
