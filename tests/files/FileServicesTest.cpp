#include "StgBuilder.h"
#include "TestKit.h"
#include "untFiles.h"

#include <gtest/gtest.h>

TEST(FormatOfExtension, LooksUpTheFileFormatTable)
{
    EXPECT_EQ(FormatOfExtension("a.stg"), 5);
    EXPECT_EQ(FormatOfExtension("C:\\x\\A.FitLog"), 12);
    EXPECT_EQ(FormatOfExtension("/x/a.rvr"), 11);
    EXPECT_EQ(FormatOfExtension("a.xyz"), 0);
    EXPECT_EQ(FormatOfExtension("noextension"), 0);
    EXPECT_EQ(FormatOfExtension("dotted.folder/noextension"), 0);
    EXPECT_EQ(FormatOfExtension("a.fitlogx"), 12); // only six characters are compared
}

TEST(ShowIOError, ExplainsKnownCodes)
{
    TMessageRecorder recorder;
    ShowIOError("/x/a.stg", "Permission denied", 5);
    ShowIOError("/x/a.stg", "Odd", 99);
    ASSERT_EQ(recorder.Messages.size(), 2u);
    EXPECT_EQ(recorder.Messages[0].Kind, TMessageKind::Error);
    EXPECT_EQ(recorder.Messages[0].Text,
              "Error reading/writing file \"/x/a.stg\".\rError message : Permission denied (5) "
              "\rThe drive/folder might be not accessible\ror the drive/folder/file is write-protected.");
    EXPECT_EQ(recorder.Messages[1].Text, "Error reading/writing file \"/x/a.stg\".\rError message : Odd (99) ");
    EXPECT_EQ(IOErrorExplanation(19), "\rThe media is write-protected.");
}

TEST(BuildFileFilter, EntriesCompatibleAndAll)
{
    TFileFilter filter = BuildFileFilter(0x0020, false, true, true);
    EXPECT_EQ(filter.Filter, "Training files (*.stg)|*.stg|All files (*.*)|*.*");
    EXPECT_EQ(filter.Count, 1);
    EXPECT_EQ(BuildFileFilter(0x0020, false, false, true).Filter, "Training files (*.stg)|*.stg");
    filter = BuildFileFilter(0x0030, true, false, true);
    EXPECT_EQ(filter.Filter,
              "Session files (*.ses)|*.ses|Training files (*.stg)|*.stg|"
              "Marlo compatible files (*.ses, *.stg)|*.ses;*.stg");
    EXPECT_EQ(filter.Count, 3);
    EXPECT_EQ(BuildFileFilter(0x0020, false, true, false).Filter, "Training files (*.stg)|All files (*.*)");
    EXPECT_EQ(BuildFileFilter(0x0008, false, false, true).Filter, ""); // SED adds nothing
}

TEST(BuildFileFilter, TheOpenDialogsFilter)
{
    const TFileFilter filter = BuildFileFilter(OpenDialogFormats, true, true, true);
    EXPECT_EQ(filter.Count, 12);
    EXPECT_EQ(filter.Filter.rfind("Pelm files (*.pel)|*.pel|Session files", 0), 0u);
    EXPECT_NE(filter.Filter.find("|FIT activity files (*.fit)|*.fit|TCX files (*.tcx)|*.tcx|"
                                 "Rowing data CSV files (*.csv)|*.csv|"),
              std::string::npos);
    EXPECT_NE(filter.Filter.find("|Marlo compatible files (*.pel, *.ses, *.stg, *.str, *.ini, *.rvs, *.rvr, *.rvi,"
                                 " *.fit, *.tcx, *.csv)|*.pel;*.ses;*.stg;*.str;*.ini;*.rvs;*.rvr;*.rvi;*.fit;*.tcx;"
                                 "*.csv|All files (*.*)|*.*"),
              std::string::npos);
}

TEST(TrainingFileName, NewLoadedAndImported)
{
    TTraining training;
    training.Header.FileName.Assign("?");
    EXPECT_EQ(TrainingFileName(training), "");
    training.Header.FileName.Assign("/data/a.stg");
    EXPECT_EQ(TrainingFileName(training), "/data/a.stg");
    training.Header.FileName.Assign("");
    training.Header.OrigFileName.Assign("C:\\old\\\xc5se.ses");
    EXPECT_EQ(TrainingFileName(training), "C:\\old\\\xc3\x85se.ses");
}

TEST(ShortenPath, DropsLeadingFoldersUntilItFits)
{
    std::vector<std::string> steps;
    const auto recordingWidth = [&](const std::string& text) {
        steps.push_back(text);
        return 1000; // never fits
    };
    EXPECT_EQ(ShortenPath("C:\\a\\b\\c\\file.stg", recordingWidth, 10), "file.stg");
    EXPECT_EQ(steps, (std::vector<std::string>{"C:\\a\\b\\c\\file.stg", "C:\\...\\b\\c\\file.stg",
                                               "C:\\...\\c\\file.stg", "C:\\...\\file.stg",
                                               "...\\file.stg"}));
    const auto length = [](const std::string& text) { return static_cast<int>(text.size()); };
    EXPECT_EQ(ShortenPath("/home/ann/rowing/2026/file.stg", length, 22), "/.../2026/file.stg");
    EXPECT_EQ(ShortenPath("/home/ann/file.stg", length, 100), "/home/ann/file.stg");
    EXPECT_EQ(ShortenPath("file.stg", length, 1), "file.stg");
}

TEST(DropFirstFolder, Steps)
{
    EXPECT_EQ(DropFirstFolder("\\"), "");
    EXPECT_EQ(DropFirstFolder("\\a\\b\\"), "\\...\\b\\");
    EXPECT_EQ(DropFirstFolder("\\...\\b\\"), "\\...\\");
    EXPECT_EQ(DropFirstFolder("...\\"), "");
    EXPECT_EQ(DropFirstFolder("a/b/"), ".../b/");
    EXPECT_EQ(DropFirstFolder("abc"), "");
}

TEST(SaveTrainingFile, MakesTheFolderAndReplacesOnlyByACompleteWrite)
{
    TTempFolder temp;
    TMessageRecorder recorder;
    TTraining training;
    NewTraining(training);
    SetStrokeCount(training, 2);
    training.Strokes[2] = MakeStroke(2, 3.0f);
    const std::string path = temp.File("new/deeper/t.stg");
    ASSERT_TRUE(SaveTrainingFile(path, training, fkTraining));
    TTraining back;
    ASSERT_TRUE(OpenTrainingFile(path, back, true));
    EXPECT_EQ(+back.Strokes[2].Time, 3.0f);

    SetStrokeCount(training, 65536); // more than a file holds: nothing is written
    EXPECT_FALSE(SaveTrainingFile(path, training, fkTraining));
    ASSERT_TRUE(OpenTrainingFile(path, back, true));
    EXPECT_EQ(back.Strokes.size(), 3u);

    EXPECT_FALSE(SaveTrainingFile(temp.File("t.xyz"), back, fkTraining)); // no writer
    EXPECT_FALSE(FileExists(temp.File("t.xyz")));
    WriteBytes(temp.File("blocker"), "");
    EXPECT_FALSE(SaveTrainingFile(temp.File("blocker/t.stg"), back, fkTraining));
}
