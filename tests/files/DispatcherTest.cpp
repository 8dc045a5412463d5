#include "StgBuilder.h"
#include "TestKit.h"
#include "untFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class Dispatcher : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes)
    {
        WriteBytes(Temp.File(name), bytes);
        return Temp.File(name);
    }
    bool Open(const std::string& path, bool showErrors = true)
    {
        return OpenTrainingFile(path, Training, showErrors, [this](double f) { Progress.push_back(f); });
    }
    static std::string OneStrokeFile(uint16_t countdown)
    {
        TStroke stroke = MakeStroke(1);
        stroke.IntervalCountdown = countdown;
        TStgBuilder file;
        file.Block(3, 84, 1).Record(stroke);
        return file.Bytes;
    }

    TTempFolder Temp;
    TTraining Training;
    TMessageRecorder Recorder;
    std::vector<double> Progress;
};

} // namespace

TEST_F(Dispatcher, ReadsByExtensionWithoutRegardToCase)
{
    EXPECT_TRUE(Open(Write("a.StG", TStgBuilder().Bytes)));
    EXPECT_EQ(Progress, (std::vector<double>{0.0, 1.0, -1.0}));
    EXPECT_TRUE(Recorder.Messages.empty());
}

TEST_F(Dispatcher, MissingFile)
{
    Training.Strokes.resize(9);
    EXPECT_FALSE(Open(Temp.File("none.stg")));
    EXPECT_EQ(Recorder.Texts(), (std::vector<std::string>{"File \"" + Temp.File("none.stg") + "\" not found"}));
    EXPECT_EQ(Progress, (std::vector<double>{0.0}));
    EXPECT_EQ(Training.Strokes.size(), 1u);
    EXPECT_TRUE(Training.Intervals.empty());
    EXPECT_FALSE(Open(Temp.Path()));  // a folder is not a file
}

TEST_F(Dispatcher, UnknownExtensionFailsWithTheReadingError)
{
    const std::string path = Write("notes.txt", TStgBuilder().Bytes);
    EXPECT_FALSE(Open(path));
    EXPECT_EQ(Recorder.Texts(), (std::vector<std::string>{"Error reading file \"" + path + "\""}));
    EXPECT_TRUE(IsEmptyTraining(Training));
    EXPECT_EQ(Progress, (std::vector<double>{0.0, 1.0, -1.0}));
}

TEST_F(Dispatcher, FailureLeavesAZeroedRecordAndShowsErrorsOnlyWhenAsked)
{
    Training.Header.Title.Assign("old");
    Training.Totals.TotalTime = 5;
    const std::string path = Write("bad.stg", "MIL \0\0\0\0");
    EXPECT_FALSE(Open(path, false));
    EXPECT_TRUE(Recorder.Messages.empty());
    EXPECT_TRUE(IsEmptyTraining(Training));
    EXPECT_EQ(Training.Header.Title.Length, 0);
    EXPECT_EQ(Training.Strokes.size(), 1u);
}

TEST_F(Dispatcher, AnInputOutputErrorShowsTwoMessagesAndNeverWaitsOnAPipe)
{
    const std::string pipe = Temp.File("pipe.stg");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(Open(pipe));
    ASSERT_EQ(Recorder.Messages.size(), 2u);
    EXPECT_EQ(Recorder.Messages[0].Text.find("Error reading/writing file \"" + pipe + "\".\rError message : "), 0u);
    EXPECT_EQ(Recorder.Messages[1].Text, "Error reading file \"" + pipe + "\"");
    EXPECT_TRUE(IsEmptyTraining(Training));
}

TEST_F(Dispatcher, RepairsIntervalCountdownsAboveTheLimit)
{
    ASSERT_TRUE(Open(Write("a.stg", OneStrokeFile(64001))));
    EXPECT_EQ(+Training.Strokes[1].IntervalCountdown, 0);
    ASSERT_TRUE(Open(Write("b.stg", OneStrokeFile(64000))));
    EXPECT_EQ(+Training.Strokes[1].IntervalCountdown, 64000);
}

TEST_F(Dispatcher, NoProgressCallbackIsFine)
{
    EXPECT_TRUE(OpenTrainingFile(Write("a.stg", TStgBuilder().Bytes), Training, true));
}
