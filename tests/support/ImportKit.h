// What the tests of the readers of today's files share: a training exported
// by Marlo's own writers, an interval session to export, and a file of given
// bytes opened through the dispatcher as the desktop program opens it.
#pragma once

#include "DemoTraining.h"
#include "TestKit.h"
#include "untExport.h"
#include "untFiles.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

inline std::string Exported(const TTraining& training, TExportFormat format)
{
    std::ostringstream out;
    EXPECT_EQ(WriteExport(out, training, format), "");
    return out.str();
}

// An interval session of 60 strokes 2 s apart: interval 1 (strokes 1 to 20),
// 20 strokes of rest, then 90 s of rest and interval 2 (strokes 41 to 60).
inline TTraining IntervalsWithRest()
{
    TTraining training = MakeDemoTraining(60);
    training.Settings.SessionLimit = 4;
    for (size_t i = 1; i <= 60; ++i) {
        TStroke& s = training.Strokes[i];
        s.IntervalNumber = i <= 20 ? 1 : i <= 40 ? 0 : 2;
        s.Time = static_cast<float>(2 * i + (i > 40 ? 90 : 0));
    }
    return training;
}

struct TOpened {
    bool Ok = false;
    TTraining Training;
    std::vector<std::string> Messages;
};

// Opens a file named fileName that holds bytes, with the errors shown.
inline TOpened OpenBytes(const std::string& fileName, const std::string& bytes)
{
    TMessageRecorder recorder;
    TTempFolder folder;
    const std::string path = folder.File(fileName);
    WriteBytes(path, bytes);
    TOpened opened;
    opened.Ok = OpenTrainingFile(path, opened.Training, true);
    opened.Messages = recorder.Texts();
    return opened;
}

// Whether a failed open left the clean empty record and said so.
inline ::testing::AssertionResult RefusedCleanly(const TOpened& opened)
{
    if (opened.Ok) return ::testing::AssertionFailure() << "the file was read";
    if (opened.Training.Strokes.size() != 1 || !opened.Training.Intervals.empty())
        return ::testing::AssertionFailure() << "the record is not empty";
    if (opened.Messages.empty()) return ::testing::AssertionFailure() << "no message";
    return ::testing::AssertionSuccess();
}
