// The main window: its menu bar and tool bars, opening files and the limit of
// one training, recent files, window numbers, the lookups over the training
// windows, and the exit question.
#include "GuiKit.h"

#include "jsUtils.h"
#include "untFileNames.h"
#include "untForceCurves.h"
#include "untMenuBar.h"
#include "untTraining.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QDropEvent>
#include <QFile>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QToolBar>
#include <QUrl>

#include <cstdio>

namespace {

QMenu* MenuOf(TfrmMain& main, const char* command)
{
    return main.findChild<QAction*>(command)->menu();
}

QAction* Command(TfrmMain& main, const char* name) { return main.findChild<QAction*>(name); }

void Drop(TfrmMain& main, const QMimeData& data)
{
    // As in a real drag, the window that accepts the entering drag gets the drop.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&main, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&main, &drop);
}

void Drop(TfrmMain& main, const QStringList& files)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files) urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    Drop(main, data);
}

void CloseAllChildren(TfrmMain& main)
{
    for (QMdiSubWindow* child : main.Children()) child->close();
    Settle();
}

} // namespace

using MainWindowTest = TShellTest;

TEST_F(MainWindowTest, MenuBarHoldsOnlyTheCommandsThisProgramOffers)
{
    auto main = NewMain();
    QStringList menus;
    for (const QAction* top : main->menuBar()->actions())
        if (top->isVisible()) menus << top->text();
    EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&View", "&Analyse", "&Help"}));
    EXPECT_EQ(VisibleEntries(MenuOf(*main, "File_Menu")),
              QStringList({"&Open ...", "&Close", "&Export ...", "Save &Chart ...", "-", "&Exit"}));
    EXPECT_EQ(VisibleEntries(MenuOf(*main, "Edit_Menu")), QStringList({"&Copy Chart"}));
    EXPECT_EQ(VisibleEntries(MenuOf(*main, "View_Menu")),
              QStringList({"&Full screen", "&Hints", "-", "&Menu", "&Tool bar", "&Status bar"}));
    EXPECT_EQ(VisibleEntries(MenuOf(*main, "Analyse_Menu")), QStringList({"&Stroke Data ...", "&Force Curves ..."}));
    EXPECT_EQ(VisibleEntries(MenuOf(*main, "Help_Menu")), QStringList({"&Website", "-", "W&elcome ...", "&About ..."}));

    for (const char* hidden : {"FileSave", "FileSaveAs", "FileBrowse", "ViewTraining",
                               "Layout_Menu", "HelpUpdate"})
        EXPECT_FALSE(Command(*main, hidden)->isVisible()) << hidden;
    EXPECT_EQ(TagOf(Command(*main, "Window_Menu")), -1);
    EXPECT_EQ(Command(*main, "FileOpen")->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(Command(*main, "HelpAbout")->shortcut(), QKeySequence("F1"));
    EXPECT_EQ(Command(*main, "FileSaveAs")->shortcut(), QKeySequence("Ctrl+Alt+S"));
}

TEST_F(MainWindowTest, HelpDocumentsBesideTheProgramComeFirstInTheHelpMenu)
{
    for (const char* letter : {"m", "f"})
        WriteBytes(HelpDocumentName(letter), "%PDF-1.4\n");
    auto main = NewMain();
    EXPECT_EQ(VisibleEntries(MenuOf(*main, "Help_Menu")),
              QStringList({"&Flyer", "&Manual", "-", "&Website", "-", "W&elcome ...", "&About ..."}));
}

TEST_F(MainWindowTest, MenuToggleNeverBringsBackMenusTaggedHidden)
{
    auto main = NewMain();
    Command(*main, "ViewMenu")->trigger();
    EXPECT_TRUE(main->menuBar()->isHidden());
    Command(*main, "ViewMenu")->trigger();
    EXPECT_FALSE(main->menuBar()->isHidden());
    EXPECT_TRUE(Command(*main, "Edit_Menu")->isVisible()) << "it offers Copy Chart";
    EXPECT_FALSE(Command(*main, "Window_Menu")->isVisible());
    EXPECT_TRUE(Command(*main, "Analyse_Menu")->isVisible());
}

TEST_F(MainWindowTest, ToolBarsMirrorTheMenusCommandsWithImages)
{
    const QString file = WriteTraining("one.stg");
    auto main = NewMain();
    QStringList captions;
    for (const QToolBar* bar : main->ToolBarOfMenu()->ToolBars()) captions << bar->windowTitle();
    EXPECT_EQ(captions, QStringList({"File", "Analyse", "Help"}));

    const QList<QAction*> fileBar = main->ToolBarOfMenu()->ToolBar("File")->actions();
    ASSERT_EQ(fileBar.size(), 4);
    EXPECT_EQ(fileBar[0], Command(*main, "FileOpen"));
    EXPECT_EQ(fileBar[1], Command(*main, "FileClose"));
    EXPECT_TRUE(fileBar[2]->isSeparator());
    EXPECT_EQ(fileBar[3], Command(*main, "FileExit"));

    EXPECT_TRUE(fileBar[0]->isEnabled());
    EXPECT_FALSE(Command(*main, "AnalyseForceCurves")->isEnabled());
    main->OpenFile(file);
    EXPECT_FALSE(fileBar[0]->isEnabled());
    EXPECT_TRUE(Command(*main, "AnalyseForceCurves")->isEnabled());
}

TEST_F(MainWindowTest, OpenCommandWithATrainingOpenShowsTheLimitAndNoDialog)
{
    auto main = NewMain();
    main->OpenFile(WriteTraining("first.stg"));
    ASSERT_EQ(main->OpenTrainingCount(), 1);
    main->FileOpenExecute();
    EXPECT_TRUE(Script.OpenRequests.empty());
    EXPECT_EQ(Script.Messages,
              QStringList({"Only 1 file(s) / training session(s) can be opened at the same time."}));
}

TEST_F(MainWindowTest, OpenDialogStartsInTheLastFolderWithCompatibleFilesChosen)
{
    auto main = NewMain();
    const QString first = WriteTraining("a.stg"), second = WriteTraining("b.stg");
    Script.FilesToChoose = {first, second};
    main->FileOpenExecute();
    ASSERT_EQ(Script.OpenRequests.size(), 1u);
    const TOpenFilesRequest& request = Script.OpenRequests.front();
    EXPECT_EQ(request.Caption, "Open file");
    EXPECT_EQ(request.Folder, DataFolder());
    EXPECT_TRUE(request.SelectedFilter.startsWith("Marlo compatible files (")) << request.SelectedFilter.toStdString();
    EXPECT_TRUE(request.SelectedFilter.contains("*.stg"));
    EXPECT_EQ(request.Filters.last(), "All files (*.*)");
    EXPECT_EQ(main->OpenTrainingCount(), 1);
    EXPECT_EQ(Script.Messages.size(), 1);
    EXPECT_EQ(main->LastDir(), QString::fromStdString(Root.Path()) + "data/");
}

TEST_F(MainWindowTest, DroppingTwoFilesOpensTheFirstAndRefusesTheSecond)
{
    auto main = NewMain();
    Drop(*main, {WriteTraining("a.stg"), WriteTraining("b.stg")});
    EXPECT_EQ(main->OpenTrainingCount(), 1);
    EXPECT_EQ(main->RecentFiles(), QStringList({QString::fromStdString(Root.Path()) + "data/a.stg"}));
    EXPECT_EQ(Script.Messages,
              QStringList({"Only 1 file(s) / training session(s) can be opened at the same time."}));
}

TEST_F(MainWindowTest, AFileNameThatIsNotUtf8OpensByDropAndByTheOpenDialog)
{
    auto main = NewMain();
    const std::string folder = Root.Path() + "data/";
    const std::string name = folder + "\xe9\xff.stg"; // Latin-1, as an older system wrote it
    ASSERT_EQ(std::rename(WriteTraining("plain.stg").toStdString().c_str(), name.c_str()), 0);
    const QString shown = QString::fromStdString(folder) + QString(2, QChar::ReplacementCharacter) + ".stg";

    // A file manager's drag holds the name's bytes percent-encoded.
    QMimeData data;
    data.setData("text/uri-list", "file://" + QByteArray::fromStdString(name).toPercentEncoding("/") + "\r\n");
    Drop(*main, data);
    ASSERT_EQ(main->OpenTrainingCount(), 1);
    EXPECT_TRUE(Script.Messages.isEmpty());
    ASSERT_EQ(main->RecentFiles().size(), 1);
    EXPECT_EQ(FileNameBytes(main->RecentFiles().front()), name);
    EXPECT_EQ(Command(*main, "RecentFile1")->statusTip(), "Open file \"" + shown + "\"");
    CloseAllChildren(*main);

    // The open dialog's answer, as a desktop's own dialog gives it.
    Script.FilesToChoose = {FileNameFromBytes(name)};
    main->FileOpenExecute();
    EXPECT_EQ(main->OpenTrainingCount(), 1);
    EXPECT_EQ(main->LastDir(), QString::fromStdString(folder));
    CloseAllChildren(*main);

    // The recent list keeps the bytes through the settings file.
    main.reset();
    main = NewMain();
    ASSERT_EQ(main->RecentFiles().size(), 1);
    Command(*main, "RecentFile1")->trigger();
    EXPECT_EQ(main->OpenTrainingCount(), 1);

    // Gone, it is named readably.
    CloseAllChildren(*main);
    std::remove(name.c_str());
    main->OpenFile(FileNameFromBytes(name));
    ASSERT_EQ(Script.Messages.size(), 1);
    EXPECT_EQ(Script.Messages[0], "File \"" + shown + "\" not found.");
}

TEST_F(MainWindowTest, FilesThatCannotBeOpenedLeaveNoWindow)
{
    auto main = NewMain();
    const QString missing = QString::fromStdString(Root.Path()) + "data/missing.stg";
    main->OpenFile(missing);
    const QString text = WriteTraining("notes.xyz");
    main->OpenFile(text);
    const QString damaged = WriteTraining("damaged.stg");
    QFile::resize(damaged, 6);
    main->OpenFile(damaged);

    EXPECT_EQ(main->OpenTrainingCount(), 0);
    ASSERT_EQ(Script.Messages.size(), 3);
    EXPECT_EQ(Script.Messages[0], "File \"" + missing + "\" not found.");
    EXPECT_EQ(Script.Messages[1], "Extension \".xyz\" not supported.");
    EXPECT_TRUE(Script.Messages[2].contains("damaged.stg")) << Script.Messages[2].toStdString();
    EXPECT_TRUE(main->RecentFiles().isEmpty());
    EXPECT_EQ(main->Progress(), -1);
    EXPECT_EQ(main->Statistics().FilesOpened, 0);
}

TEST_F(MainWindowTest, RecentListKeepsNineNewestFirstWithoutCaseDuplicates)
{
    auto main = NewMain();
    QStringList opened;
    for (int i = 0; i < 10; ++i) {
        opened.prepend(WriteTraining(QStringLiteral("file%1.stg").arg(i)));
        main->OpenFile(opened.first());
        CloseAllChildren(*main);
    }
    EXPECT_EQ(main->RecentFiles(), opened.mid(0, 9));
    EXPECT_EQ(main->Statistics().FilesOpened, 10);

    main->AddRecentFile(opened[4].toUpper());
    EXPECT_EQ(main->RecentFiles().size(), 9);
    EXPECT_EQ(main->RecentFiles().first(), opened[4].toUpper());
    EXPECT_EQ(main->RecentFiles().count(opened[4]), 0);

    const QStringList entries = VisibleEntries(MenuOf(*main, "File_Menu"));
    EXPECT_EQ(entries.size(), 4 + 1 + 9 + 1 + 1);
    EXPECT_TRUE(entries[5].startsWith("&1 "));
    EXPECT_TRUE(entries[13].startsWith("&9 "));
    EXPECT_EQ(entries[14], "-");
    const QFontMetrics metrics(MenuOf(*main, "File_Menu")->font());
    EXPECT_LE(metrics.horizontalAdvance(entries[7].mid(3)), 200);
    EXPECT_EQ(Command(*main, "RecentFile1")->statusTip(), "Open file \"" + opened[4].toUpper() + "\"");
}

TEST_F(MainWindowTest, ARecentFileDeletedMeanwhileLeavesTheListAndTheMenu)
{
    auto main = NewMain();
    const QString file = WriteTraining("gone.stg");
    main->OpenFile(file);
    CloseAllChildren(*main);
    QFile::remove(file);
    Command(*main, "RecentFile1")->trigger();
    EXPECT_EQ(Script.Messages, QStringList({"File \"" + file + "\" not found."}));
    EXPECT_TRUE(main->RecentFiles().isEmpty());
    EXPECT_EQ(Command(*main, "RecentFile1"), nullptr);
    EXPECT_EQ(VisibleEntries(MenuOf(*main, "File_Menu")),
              QStringList({"&Open ...", "&Close", "&Export ...", "Save &Chart ...", "-", "&Exit"}));
}

TEST_F(MainWindowTest, TrainingWindowsAreNumberedFrom101WithoutReuse)
{
    auto main = NewMain();
    const QString file = WriteTraining("a.stg");
    main->OpenFile(file);
    ASSERT_NE(main->TrainingRecord(0), nullptr);
    EXPECT_EQ(main->TrainingRecord(0)->ClientID, 101);
    CloseAllChildren(*main);
    EXPECT_EQ(main->OpenTrainingCount(), 0);
    main->OpenFile(file);
    EXPECT_EQ(main->TrainingRecord(0)->ClientID, 102);
}

TEST_F(MainWindowTest, LookupsReachTheOpenTrainingAndSkipClosingWindows)
{
    auto main = NewMain();
    // A file of another kind than a training shows its strokes from the first.
    main->OpenFile(WriteTraining("a.stg", 30, fkNone));
    TTraining copy;
    main->CopyTraining(0, copy);
    EXPECT_EQ(copy.Strokes.size(), main->TrainingRecord(0)->Strokes.size());
    EXPECT_EQ(copy.ClientID, 101);
    EXPECT_TRUE(main->TrainingRecord(0)->Header.Visible);
    EXPECT_EQ(+main->TrainingRecord(0)->Header.CurveIndex, 1);
    main->CopyTraining(1, copy);
    EXPECT_TRUE(copy.Strokes.empty());
    EXPECT_EQ(copy.ClientID, 0);
    EXPECT_EQ(main->TrainingWindowIndex(1), -1);
    EXPECT_GE(main->TrainingWindowIndex(0), 0);

    main->ShowForceCurves();
    ASSERT_NE(main->ForceCurves(), nullptr);
    EXPECT_EQ(main->ForceCurves()->Trainings()->count(), 1);
    EXPECT_EQ(main->ForceCurves()->PlayInterval(), 500);
    // Asked again while the training window is in front, it comes forward.
    QMdiSubWindow* training = main->Client()->subWindowList().front();
    main->Client()->setActiveSubWindow(training);
    main->ShowForceCurves();
    EXPECT_EQ(main->Client()->activeSubWindow(), main->ForceCurves());

    main->CloseTrainingsByNumber(101);
    EXPECT_EQ(main->OpenTrainingCount(), 0);
    // With its last training gone the force-curve window closes, and the main
    // window forgets it at once.
    EXPECT_EQ(main->ForceCurves(), nullptr);
    EXPECT_EQ(main->TrainingRecord(0), nullptr);
}

TEST_F(MainWindowTest, HandedOverFileNamesAreNotOpened)
{
    auto main = NewMain();
    main->ActivateFromInstance(WriteTraining("a.stg") + "\r\n");
    EXPECT_EQ(main->OpenTrainingCount(), 0);
    EXPECT_TRUE(Script.Messages.isEmpty());
}

TEST_F(MainWindowTest, CancelInTheExitQuestionKeepsEverythingOpen)
{
    auto main = NewMain();
    main->show();
    Settle(50);
    main->OpenFile(WriteTraining("a.stg"));
    Script.Messages.clear();
    Script.AnswerNext(QMessageBox::Cancel);
    EXPECT_FALSE(main->close());
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->OpenTrainingCount(), 1);
    EXPECT_EQ(Script.Messages, QStringList({"This will exit Marlo rowing training viewer. Are you sure? "}));
    EXPECT_TRUE(main->close());
}

TEST_F(MainWindowTest, WindowTitlesGetNoSuffixTheProgramDidNotWrite)
{
    auto main = NewMain();
    // Qt adds the display name to every title once it is set.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    EXPECT_EQ(main->windowTitle(), QString::fromStdString(FileDescription()));
}
