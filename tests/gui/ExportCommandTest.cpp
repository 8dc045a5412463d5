// File | Export: which training it exports, the save dialog it asks, and
// what it tells the user when there is nothing to export or the file cannot
// be written.
#include "GuiKit.h"

#include "DemoTraining.h"
#include "untExport.h"
#include "untFiles.h"

#include <QAction>
#include <QDir>
#include <QMdiArea>

class ExportCommandTest : public TShellTest {
protected:
    void SetUp() override
    {
        TShellTest::SetUp();
        Main = NewMain();
        Export = Main->findChild<QAction*>("FileExport");
        ASSERT_NE(Export, nullptr);
    }
    void TearDown() override
    {
        Main.reset();
        TShellTest::TearDown();
    }
    QString Target(const QString& name) const { return QString::fromStdString(Root.Path()) + name; }

    std::unique_ptr<TfrmMain> Main;
    QAction* Export = nullptr;
};

TEST_F(ExportCommandTest, ExportsTheOpenTrainingInTheKindItsNameEndsWith)
{
    Main->UpdateActions();
    EXPECT_FALSE(Export->isEnabled()) << "no training, nothing to export";
    Main->OpenFile(WriteTraining("piece.stg", 40));
    Main->UpdateActions();
    ASSERT_TRUE(Export->isEnabled());

    Script.FileToSave = Target("piece.tcx");
    Export->trigger();
    ASSERT_EQ(Script.SaveRequests.size(), 1u);
    EXPECT_EQ(Script.SaveRequests[0].Filters,
              (QStringList{"FIT activity (*.fit)", "TCX (*.tcx)", "Rowing data CSV (*.csv)"}));
    EXPECT_EQ(Script.SaveRequests[0].FileName, "piece");
    EXPECT_TRUE(Script.Messages.isEmpty()) << Script.Messages.join("|").toStdString();
    EXPECT_EQ(ReadBytes(Target("piece.tcx").toStdString()).rfind("<?xml", 0), 0u);

    // The force-curve window exports the training selected in its list.
    Main->ShowForceCurves();
    Script.FileToSave = Target("curves.FIT");
    Export->trigger();
    EXPECT_EQ(ReadBytes(Target("curves.FIT").toStdString()).substr(8, 4), ".FIT");

    Script.FileToSave = Target("piece.txt");
    Export->trigger();
    ASSERT_EQ(Script.Messages.size(), 1);
    EXPECT_TRUE(Script.Messages[0].startsWith("Choose a file name ending in .fit, .tcx or .csv"));
    EXPECT_FALSE(QFile::exists(Target("piece.txt")));
}

TEST_F(ExportCommandTest, ATrainingWithoutStrokesIsToldBeforeAFileIsAsked)
{
    Main->OpenFile(WriteTraining("empty.stg", 0));
    Main->UpdateActions();
    ASSERT_TRUE(Export->isEnabled());
    Export->trigger();
    EXPECT_TRUE(Script.SaveRequests.empty());
    EXPECT_EQ(Script.Messages, QStringList{"The training holds no strokes, so there is nothing to export."});
}

TEST_F(ExportCommandTest, AFileThatCannotBeWrittenIsReportedAndLeftAsItWas)
{
    Main->OpenFile(WriteTraining("piece.stg", 40));
    // A folder in place of the file: nothing can replace it.
    QDir().mkpath(Target("taken.csv"));
    Script.FileToSave = Target("taken.csv");
    Export->trigger();
    ASSERT_EQ(Script.Messages.size(), 1);
    EXPECT_TRUE(Script.Messages[0].contains("could not be written")) << Script.Messages[0].toStdString();
    EXPECT_TRUE(QFileInfo(Target("taken.csv")).isDir());
    EXPECT_EQ(QDir(QString::fromStdString(Root.Path())).entryList({"taken.csv.*"}, QDir::Files).size(), 0)
        << "no temporary file left behind";
}
