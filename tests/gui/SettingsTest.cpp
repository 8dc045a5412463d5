// The settings file across restarts: where it lives and moves, the View and
// tool-bar choices, the statistics under different decimal separators, the
// recent list and the window position; and the readme stamp.
#include "GuiKit.h"

#include "jsUtils.h"
#include "untDataFiles.h"
#include "untMenuBar.h"
#include "untStatusBar.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QToolBar>

using SettingsTest = TShellTest;

TEST_F(SettingsTest, FirstStartMovesTheSettingsAndTheSampleIntoTheDataFolder)
{
    const std::string besideProgram = (ProgramFolder() + "marlo.ini").toStdString();
    WriteBytes(besideProgram, "[Options]\nLastDir=/somewhere/\n");
    WriteBytes((ProgramFolder() + "default.stg").toStdString(), "sample bytes");
    MoveSettingsFile();
    EXPECT_FALSE(FileExists(besideProgram));
    EXPECT_TRUE(ReadSettings().contains("LastDir=/somewhere/"));

    auto main = NewMain();
    EXPECT_EQ(main->LastDir(), "/somewhere/");
    main->show();
    Settle(50);
    EXPECT_FALSE(QFile::exists(ProgramFolder() + "default.stg"));
    EXPECT_EQ(ReadBytes((DataFolder() + "default.stg").toStdString()), "sample bytes");
    EXPECT_TRUE(Script.Dialogs.contains("frmSplash"));
    EXPECT_TRUE(Script.Dialogs.contains("frmWelcome"));
}

TEST_F(SettingsTest, WithNoSettingsFileTheWindowStartsMaximisedAndCreatesOne)
{
    auto main = NewMain();
    EXPECT_TRUE(main->isMaximized());
    EXPECT_EQ(main->Statistics().TimesStarted, 1);
    main.reset();
    EXPECT_TRUE(ReadSettings().contains("TimesStarted=1"));
    EXPECT_TRUE(ReadSettings().contains("Left=-1"));
}

TEST_F(SettingsTest, ViewAndToolBarChoicesSurviveARestart)
{
    auto main = NewMain();
    main->findChild<QAction*>("ViewMenu")->trigger();
    main->findChild<QAction*>("ViewStatusbar")->trigger();
    main->ToolBarOfMenu()->SetBarShown(main->ToolBarOfMenu()->ToolBar("Help"), false);
    main.reset();
    EXPECT_TRUE(ReadSettings().contains("Menu=0"));
    EXPECT_TRUE(ReadSettings().contains(QRegularExpression("\nHelp=-?\\d+ -?\\d+ 0\n")));

    main = NewMain();
    ASSERT_NE(main->ToolBarOfMenu()->ToolBar("Help"), nullptr);
    EXPECT_FALSE(main->findChild<QAction*>("ViewMenu")->isChecked());
    EXPECT_TRUE(main->menuBar()->isHidden());
    EXPECT_TRUE(main->Status()->isHidden());
    EXPECT_TRUE(main->findChild<QAction*>("ViewToolbar")->isChecked());
    EXPECT_FALSE(main->ToolBarOfMenu()->IsBarShown(main->ToolBarOfMenu()->ToolBar("Help")));
    EXPECT_TRUE(main->ToolBarOfMenu()->IsBarShown(main->ToolBarOfMenu()->ToolBar("File")));
    EXPECT_FALSE(main->findChild<QAction*>("Window_Menu")->isVisible());
}

TEST_F(SettingsTest, ToolBarRowsAndOrderSurviveARestart)
{
    auto main = NewMain();
    main->show();
    TMenuBar* bars = main->ToolBarOfMenu();
    QToolBar* file = bars->ToolBar("File");
    main->insertToolBar(file, bars->ToolBar("Help")); // Help before File
    main->addToolBarBreak();
    main->addToolBar(bars->ToolBar("Analyse")); // Analyse on a row of its own
    Settle(20);
    main.reset();

    main = NewMain();
    main->show();
    Settle(20);
    bars = main->ToolBarOfMenu();
    QToolBar *help = bars->ToolBar("Help"), *analyse = bars->ToolBar("Analyse");
    file = bars->ToolBar("File");
    EXPECT_EQ(help->y(), file->y());
    EXPECT_LT(help->x(), file->x());
    EXPECT_GT(analyse->y(), file->y());
    EXPECT_EQ(analyse->x(), help->x());
    for (const QToolBar* bar : {file, help, analyse}) EXPECT_TRUE(bar->isVisible()) << bar->windowTitle().toStdString();
}

TEST_F(SettingsTest, AToolBarPlaceThatIsNoThreeNumbersIsIgnored)
{
    WriteSettings("[Toolbars]\nFile=1 2\nHelp=x 0 0\nAnalyse=0 0 0\n");
    auto main = NewMain();
    TMenuBar* bars = main->ToolBarOfMenu();
    EXPECT_TRUE(bars->IsBarShown(bars->ToolBar("File")));
    EXPECT_TRUE(bars->IsBarShown(bars->ToolBar("Help")));
    EXPECT_FALSE(bars->IsBarShown(bars->ToolBar("Analyse")));
}

TEST_F(SettingsTest, RunningTimeWrittenWithCommaReadsBackUnderDot)
{
    {
        TFormatScope comma(CommaFormat());
        WriteSettings("[Statistics]\nRunningTime=0.25\nRowingTime=1,5\n");
        auto main = NewMain();
        EXPECT_DOUBLE_EQ(main->Statistics().RunningTime, 0.25);
        EXPECT_DOUBLE_EQ(main->Statistics().RowingTime, 1.5);
    }
    EXPECT_TRUE(ReadSettings().contains("RowingTime=1,5"));
    auto main = NewMain();
    EXPECT_NEAR(main->Statistics().RunningTime, 0.25, 1.0 / 86400);
    EXPECT_GT(main->Statistics().RunningTime, 0.25);
    EXPECT_DOUBLE_EQ(main->Statistics().RowingTime, 1.5);
    EXPECT_EQ(main->Statistics().TimesStarted, 2);
}

TEST_F(SettingsTest, AStatisticThatIsNoNumberKeepsItsDefault)
{
    WriteSettings("[Statistics]\nRunningTime=soon\nFilesOpened=4\n");
    auto main = NewMain();
    EXPECT_EQ(main->Statistics().RunningTime, 0);
    EXPECT_EQ(main->Statistics().FilesOpened, 4);
}

namespace {

// A settings file with every number it can hold set to value (four for each
// stroke value's display range, three for each tool bar's place).
std::string EveryNumberAt(const std::string& value)
{
    const std::string v = "=" + value + "\n";
    const std::string bounds = "Left" + v + "Top" + v + "Width" + v + "Height" + v;
    std::string text = "[Options]\nDialog" + v + "MultipleCopies" + v + "[Row]\nDataRange" + v;
    text += "[Statistics]\nRunningTime" + v + "TimesStarted" + v + "RowingTime" + v + "RowingSessions" + v +
            "FilesOpened" + v + "FilesSaved" + v;
    text += "[Position]\n" + bounds + "[General]\nWelcome" + v;
    text += "[View]\nFullscreen" + v + "Hints" + v + "Menu" + v + "Toolbar" + v + "Statusbar" + v;
    const std::string three = "=" + value + " " + value + " " + value + "\n";
    text += "[Toolbars]\nFile" + three + "Analyse" + three + "Help" + three;
    text += "[StrokeData]\n";
    for (int i = 0; i < 41; ++i) text += "Parameter" + std::to_string(i) + "=" + value + " " + three.substr(1);
    text += "[Training]\n" + bounds + "IntColumns" + three;
    text += "[ForceCurves]\n" + bounds + "Columns" + three + "Data" + v + "DataHeight" + v + "Trainings" + v +
            "TrainingsWidth" + v + "Square" + v;
    return text;
}

} // namespace

// A damaged settings file: every number in it NaN, infinite, -1 or too large
// for any use. The program starts, opens a training and its force curves,
// shows the about box's statistics and saves, without a crash; a statistic
// it cannot use counts as 0.
TEST_F(SettingsTest, NoNumberInTheSettingsFileCrashesTheProgram)
{
    const QString training = WriteTraining("t.stg");
    for (const char* value : {"NaN", "inf", "-1", "1e308"}) {
        SCOPED_TRACE(value);
        WriteSettings(EveryNumberAt(value));
        auto main = NewMain();
        main->show();
        Settle(20);
        main->OpenFile(training);
        ASSERT_EQ(main->OpenTrainingCount(), 1);
        main->findChild<QAction*>("AnalyseForceCurves")->trigger();
        main->findChild<QAction*>("HelpAbout")->trigger();
        EXPECT_TRUE(Script.Dialogs.contains("frmAbout"));
        const TStatistics& counters = main->Statistics();
        EXPECT_EQ(counters.RunningTime, 0);
        EXPECT_EQ(counters.RowingTime, 0);
        EXPECT_EQ(counters.TimesStarted, 1);
        EXPECT_EQ(counters.FilesOpened, 1);
        EXPECT_EQ(counters.RowingSessions, 0);
        EXPECT_EQ(counters.FilesSaved, 0);
        const auto rows = main->StatisticsRows();
        ASSERT_EQ(rows.size(), 6);
        EXPECT_TRUE(rows[0].second.startsWith("00:00:")) << rows[0].second.toStdString();
        EXPECT_EQ(rows[2].second, "?");
        main.reset();
        EXPECT_TRUE(ReadSettings().contains("\nRowingTime=0\n")) << ReadSettings().toStdString();
        Script.Dialogs.clear();
    }
}

// The statistics of a damaged settings file: the usage cannot be longer than
// a century, nor counted below 0, nor above the largest count.
TEST_F(SettingsTest, StatisticsOutsideTheirRangeCountAsZero)
{
    WriteSettings("[Statistics]\nRunningTime=36525\nRowingTime=36525.01\nTimesStarted=2147483647\n"
                  "FilesOpened=-5\nRowingSessions=2147483648\nFilesSaved=7\n");
    auto main = NewMain();
    EXPECT_EQ(main->Statistics().RunningTime, 36525);
    EXPECT_EQ(main->Statistics().RowingTime, 0);
    EXPECT_EQ(main->Statistics().TimesStarted, 2147483647);
    EXPECT_EQ(main->Statistics().FilesOpened, 0);
    EXPECT_EQ(main->Statistics().RowingSessions, 0);
    EXPECT_EQ(main->Statistics().FilesSaved, 7);
    main->OpenFile(WriteTraining("t.stg"));
    EXPECT_EQ(main->Statistics().FilesOpened, 1);
    main.reset();
    EXPECT_TRUE(ReadSettings().contains("\nTimesStarted=2147483647\n"));
}

TEST_F(SettingsTest, RecentEntriesKeepEverythingAfterTheFirstEqualsSign)
{
    WriteSettings("[Recent]\n5=C:\\a=b.stg\n1=/data/x.stg\n");
    auto main = NewMain();
    EXPECT_EQ(main->RecentFiles(), QStringList({"C:\\a=b.stg", "/data/x.stg"}));
}

TEST_F(SettingsTest, RemovedRecentEntriesStayRemovedAfterARestart)
{
    WriteSettings("[Recent]\n1=/data/a.stg\n2=/data/b.stg\n3=/data/c.stg\n");
    auto main = NewMain();
    main->RemoveRecentFile("/DATA/B.STG");
    main.reset();
    main = NewMain();
    EXPECT_EQ(main->RecentFiles(), QStringList({"/data/a.stg", "/data/c.stg"}));
}

TEST_F(SettingsTest, AMinimisedWindowStartsMinimisedAgain)
{
    auto main = NewMain();
    main->setWindowState(Qt::WindowMinimized);
    main.reset();
    EXPECT_TRUE(ReadSettings().contains("[Position]\nLeft=0\nTop=0\nWidth=0\nHeight=0\n"));
    main = NewMain();
    EXPECT_TRUE(main->isMinimized());
}

TEST_F(SettingsTest, SavedFileHasOneEmptyLineBeforeEachSectionAndNoOthers)
{
    WriteSettings("\n\n[Options]\nMultipleCopies=0\n\n\n\n[Custom]\nKey=1\n");
    NewMain().reset();
    const QString text = ReadSettings();
    EXPECT_FALSE(text.contains("\n\n\n"));
    EXPECT_FALSE(text.startsWith("\n"));
    const QStringList lines = text.split('\n');
    for (int i = 1; i < lines.size(); ++i) {
        if (lines[i].startsWith('[')) {
            EXPECT_EQ(lines[i - 1], "") << i;
        }
        if (lines[i].isEmpty() && i + 1 < lines.size() && !lines[i + 1].isEmpty()) {
            EXPECT_TRUE(lines[i + 1].startsWith('['));
        }
    }
    EXPECT_TRUE(text.contains("[Custom]\nKey=1\n"));
}

TEST_F(SettingsTest, ReadOnlyFoldersKeepNoCountersAndWarnAtFirstShow)
{
    auto main = NewMain();
    main.reset();
    QFile::remove(SettingsPath());
    QFile(DataFolder()).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile(ProgramFolder()).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    main = NewMain();
    main->show();
    Settle(50);
    main.reset();
    main = NewMain();
    EXPECT_EQ(main->Statistics().TimesStarted, 1);
    ASSERT_FALSE(Script.Messages.isEmpty());
    EXPECT_TRUE(Script.Messages.first().startsWith("There was an error saving program settings to file\n"));
    QFile(DataFolder()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile(ProgramFolder()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(ReadmeStamp, XDAloneWritesTheReadmeAndAnyOtherParameterIgnoresIt)
{
    TTempFolder folder;
    SetProgramFileName(folder.File("marlo"));
    const std::string readme = folder.File("readme.txt");
    const char* withOther[] = {"marlo", "/xd", "file.stg"};
    EXPECT_FALSE(StampReadme(3, withOther));
    EXPECT_FALSE(FileExists(readme));
    const char* alone[] = {"marlo", "/xd"};
    EXPECT_TRUE(StampReadme(2, alone));
    EXPECT_EQ(ReadBytes(readme), ProductAndVersion() + "\r\n");

    WriteBytes(readme, "kept");
    QFile(QString::fromStdString(readme)).setFileTime(QDateTime(QDate(2001, 1, 1), QTime(0, 0)),
                                                      QFileDevice::FileModificationTime);
    EXPECT_TRUE(StampReadme(2, alone));
    EXPECT_EQ(ReadBytes(readme), "kept");
    EXPECT_GT(QFileInfo(QString::fromStdString(readme)).lastModified().date().year(), 2001);
    SetProgramFileName("");
}

TEST(ReadmeStamp, TheProgramEndsWithoutAWindowAfterStamping)
{
    TTempFolder folder;
    const QString program = QString::fromStdString(folder.File("marlo"));
    ASSERT_TRUE(QFile::copy(MARLO_PROGRAM_PATH, program));
    QProcess marlo;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", QString::fromStdString(folder.Path()));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    // A user of its own, so that a copy the developer is running never gets the switch handed over.
    environment.insert("USER", QStringLiteral("marlostamp%1").arg(QCoreApplication::applicationPid()));
    marlo.setProcessEnvironment(environment);
    marlo.start(program, {"/xd"});
    ASSERT_TRUE(marlo.waitForFinished(10000));
    EXPECT_EQ(marlo.exitCode(), 0);
    EXPECT_EQ(ReadBytes(folder.File("readme.txt")), ProductAndVersion() + "\r\n");
}
