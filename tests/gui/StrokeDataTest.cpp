// The stroke-data window: opened from the Analyse menu once, closing with the
// last training; the cursor at the first and last stroke and the grid at it;
// a click reaching the force-curve window; one stroke and no strokes; a
// damaged time; the scale modes kept in "StrokeData"; the 500 m time running
// downward; zoom; its own layout section; the chart picture commands.
#include "GuiKit.h"

#include "DemoTraining.h"
#include "jsUtils.h"
#include "untCharts.h"
#include "untFiles.h"
#include "untForceCurveData.h"
#include "untIniFile.h"
#include "untStrokeChart.h"
#include "untStrokeData.h"
#include "untTraining.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCategoryAxis>
#include <QAbstractSeries>
#include <QChart>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QImage>
#include <QLineSeries>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QPointer>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <limits>

namespace {

TTraining Demo(int strokes, const char* title)
{
    TTraining training = MakeDemoTraining(strokes);
    training.Header.Title.Assign(title);
    training.Header.Visible = 1;
    return training;
}

QStringList RowCells(const QTableView* grid, int row)
{
    QStringList cells;
    for (int column = 0; column < grid->model()->columnCount(); ++column)
        cells << grid->model()->index(row, column).data().toString();
    return cells;
}

QStringList StrokeCells(const TTraining& training, int stroke)
{
    QStringList cells;
    for (const std::string& text : StrokeRowTexts(training.Strokes[stroke], training.Curves[stroke],
                                                  training.Settings, TCurveScaling{}))
        cells << QString::fromStdString(text);
    return cells;
}

void Choose(QComboBox* box, const QString& text)
{
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

} // namespace

class StrokeDataTest : public TShellTest {
protected:
    void SetUp() override
    {
        TShellTest::SetUp();
        InitStrokeParameters();
    }
    void TearDown() override
    {
        delete Standalone.data();
        Main.reset();
        TShellTest::TearDown();
    }
    TfrmStrokeData* OpenFake()
    {
        Standalone = new TfrmStrokeData(nullptr, Fake);
        Standalone->resize(1000, 700);
        Standalone->show();
        Standalone->ReloadTrainings(true);
        Settle(20);
        return Standalone;
    }
    void OpenMain(int strokes = 60, const std::function<void(TTraining&)>& change = nullptr)
    {
        Main = NewMain();
        Main->resize(1200, 800);
        Main->show();
        Settle(20);
        TTraining training = MakeDemoTraining(strokes);
        if (change) change(training);
        Main->OpenFile(WriteTraining("piece.stg", training));
        Settle();
    }
    static void Key(TfrmStrokeData* window, Qt::Key key)
    {
        QTest::keyClick(window->Chart(), key);
    }

    std::unique_ptr<TfrmMain> Main;
    TFakeTrainings Fake;
    QPointer<TfrmStrokeData> Standalone;
};

TEST_F(StrokeDataTest, OneWindowFromTheAnalyseMenuThatClosesWithTheLastTraining)
{
    Main = NewMain();
    QAction* command = Main->findChild<QAction*>("AnalyseStrokeData");
    ASSERT_NE(command, nullptr);
    Main->UpdateActions();
    EXPECT_TRUE(command->isVisible());
    EXPECT_FALSE(command->isEnabled()) << "no training open";
    Main.reset();

    OpenMain();
    command = Main->findChild<QAction*>("AnalyseStrokeData");
    Main->UpdateActions();
    EXPECT_TRUE(command->isEnabled());
    command->trigger();
    QPointer<TfrmStrokeData> window = Main->StrokeData();
    ASSERT_FALSE(window.isNull());
    command->trigger();
    EXPECT_EQ(Main->StrokeData(), window.data()) << "at most one";
    EXPECT_EQ(Main->findChildren<TfrmStrokeData*>().size(), 1);
    EXPECT_FALSE(window->ShownPoints(0).isEmpty());

    Main->findChild<TfrmTraining*>()->close();
    EXPECT_EQ(Main->StrokeData(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST_F(StrokeDataTest, CursorAtTheFirstAndLastStrokeFillsTheGridOfEachCheckedTraining)
{
    Fake.Records = {Demo(30, "Alpha"), Demo(50, "Beta")};
    TfrmStrokeData* window = OpenFake();
    QTableView* grid = window->DataGrid();
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(RowCells(grid, 0).join(""), "") << "no cursor yet";

    Key(window, Qt::Key_Home);
    EXPECT_EQ(window->CursorStroke(), 1);
    EXPECT_EQ(RowCells(grid, 0), StrokeCells(Fake.Records[0], 1));
    EXPECT_EQ(RowCells(grid, 1), StrokeCells(Fake.Records[1], 1));
    Key(window, Qt::Key_Left);
    EXPECT_EQ(window->CursorStroke(), 1) << "nothing before the first stroke";

    Key(window, Qt::Key_End);
    EXPECT_EQ(window->CursorStroke(), 30) << "the selected training's last stroke";
    EXPECT_EQ(RowCells(grid, 0), StrokeCells(Fake.Records[0], 30));
    EXPECT_EQ(RowCells(grid, 1), StrokeCells(Fake.Records[1], 30)) << "the other training at the same place";
    Key(window, Qt::Key_Right);
    EXPECT_EQ(window->CursorStroke(), 30);
    Key(window, Qt::Key_Left);
    EXPECT_EQ(window->CursorStroke(), 29);

    // Unchecking a training takes its row away; the cursor stays.
    Fake.Records[1].Header.Visible = 0;
    window->clbTrainingsClick();
    EXPECT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(RowCells(grid, 0), StrokeCells(Fake.Records[0], 29));
}

TEST_F(StrokeDataTest, TheKeysStartAtTheStrokeTheForceCurveWindowShows)
{
    Fake.Records = {Demo(60, "Alpha")};
    Fake.Records[0].Header.CurveIndex = 25;
    TfrmStrokeData* window = OpenFake();
    EXPECT_EQ(QApplication::focusWidget(), window->Chart()) << "the keys reach the chart at once";
    Key(window, Qt::Key_Left);
    EXPECT_EQ(window->CursorStroke(), 25);
    Key(window, Qt::Key_Right);
    EXPECT_EQ(window->CursorStroke(), 26);

    // A stroke the line does not hold: the first step comes in from the edge.
    window->SetCursorX(std::numeric_limits<double>::quiet_NaN());
    Fake.Records[0].Header.CurveIndex = 500;
    Key(window, Qt::Key_Left);
    EXPECT_EQ(window->CursorStroke(), 60);
}

TEST_F(StrokeDataTest, AClickOnTheChartShowsThatStrokeInTheForceCurveWindow)
{
    OpenMain(80);
    Main->ShowForceCurves();
    Main->ShowStrokeData();
    TfrmStrokeData* window = Main->StrokeData();
    ASSERT_NE(window, nullptr);
    Settle(20);

    // Stroke 40 of the line, as the chart shows it, clicked.
    const TStrokePoints& line = window->FullLine(0);
    ASSERT_GE(line.size(), 40u);
    QAbstractSeries* first = nullptr;
    for (QAbstractSeries* series : window->Chart()->chart()->series())
        if (series->objectName() == "Series0") first = series;
    ASSERT_NE(first, nullptr);
    const QPointF at = window->Chart()->chart()->mapToPosition(QPointF(line[39].X, line[39].Y), first);
    QTest::mouseMove(window->Chart()->viewport(), window->Chart()->mapFromScene(at));
    QTest::mouseClick(window->Chart()->viewport(), Qt::LeftButton, {}, window->Chart()->mapFromScene(at));
    EXPECT_EQ(window->CursorStroke(), 40);
    EXPECT_EQ(+Main->TrainingRecord(0)->Header.CurveIndex, 40);
    EXPECT_TRUE(Main->ForceCurves()->Trainings()->item(0)->text().contains("(40/80)"))
        << Main->ForceCurves()->Trainings()->item(0)->text().toStdString();

    // Enter does the same from the keys.
    Key(window, Qt::Key_Right);
    Key(window, Qt::Key_Return);
    EXPECT_EQ(+Main->TrainingRecord(0)->Header.CurveIndex, 41);
    EXPECT_TRUE(Main->ForceCurves()->Trainings()->item(0)->text().contains("(41/80)"));
}

TEST_F(StrokeDataTest, OneStrokeAndNoStrokesDrawWithoutFault)
{
    TTraining none = Demo(5, "None");
    SetStrokeCount(none, 0);
    Fake.Records = {Demo(1, "One"), none};
    TfrmStrokeData* window = OpenFake();
    EXPECT_EQ(window->ShownPoints(0).size(), 1);
    EXPECT_TRUE(window->ShownPoints(1).isEmpty());
    for (Qt::Key key : {Qt::Key_Home, Qt::Key_End, Qt::Key_Right, Qt::Key_Left, Qt::Key_Return, Qt::Key_Escape})
        Key(window, key);
    EXPECT_EQ(window->CursorStroke(), 1);
    EXPECT_EQ(RowCells(window->DataGrid(), 0), StrokeCells(Fake.Records[0], 1));
    EXPECT_EQ(RowCells(window->DataGrid(), 1).join(""), "") << "no stroke: an empty row";
    EXPECT_EQ(+Fake.Records[0].Header.CurveIndex, 1);

    // Only the training without strokes checked: no line, no cursor.
    Fake.Records[0].Header.Visible = 0;
    window->clbTrainingsClick();
    Key(window, Qt::Key_End);
    EXPECT_EQ(window->CursorStroke(), 0);
    for (const char* name : {"cmbAxis", "cmbSmoothing"}) {
        auto* box = Control<QComboBox>(window, name);
        Choose(box, box->itemText(box->count() - 1));
    }
    EXPECT_TRUE(window->ShownPoints(0).isEmpty());
}

TEST_F(StrokeDataTest, AFallingTimeKeepsTheTimeAxisMovingForward)
{
    TTraining damaged = Demo(40, "Damaged");
    damaged.Strokes[20].Time = 0;
    damaged.Strokes[21].Distance = -1e30f;
    Fake.Records = {damaged};
    TfrmStrokeData* window = OpenFake();
    for (const char* against : {"Time", "Distance"}) {
        Choose(Control<QComboBox>(window, "cmbAxis"), QString::fromLatin1(against));
        const QList<QPointF> points = window->ShownPoints(0);
        ASSERT_EQ(points.size(), 40) << against;
        for (int i = 1; i < points.size(); ++i) EXPECT_GE(points[i].x(), points[i - 1].x()) << against << i;
        Key(window, Qt::Key_End);
        EXPECT_EQ(window->CursorStroke(), 40) << against;
        if (QString::fromLatin1(against) == "Time") {
            EXPECT_TRUE(window->Chart()->chart()->axes(Qt::Horizontal).first()->titleText().contains("m:s"));
        }
    }
}

TEST_F(StrokeDataTest, ScaleModeAndRangeAreKeptInStrokeDataAndDrawn)
{
    Fake.Records = {Demo(30, "Alpha")};
    TfrmStrokeData* window = OpenFake();
    Choose(window->ValueBox(), "Power per stroke");
    Script.OnDialog = [](QDialog& dialog) {
        auto* scale = qobject_cast<TfrmScaleRange*>(&dialog);
        ASSERT_NE(scale, nullptr);
        scale->cmbMode->setCurrentIndex(smManual);
        scale->edtMinimum->setValue(100);
        scale->edtMaximum->setValue(700);
        scale->edtStep->setValue(50);
    };
    Control<QPushButton>(window, "btnScale")->click();
    EXPECT_EQ(StrokeParameters[sePower].ScaleMode, smManual);
    EXPECT_EQ(window->ValueAxis()->min(), 100);
    EXPECT_EQ(window->ValueAxis()->max(), 700);
    EXPECT_EQ(window->ValueAxis()->categoriesLabels().first(), "100");
    EXPECT_EQ(window->ValueAxis()->categoriesLabels().size(), 13);

    // Written with the catalogue's own settings code, and read back the same.
    EXPECT_TRUE(ReadSettings().contains("[StrokeData]")) << ReadSettings().toStdString();
    EXPECT_TRUE(ReadSettings().contains("Parameter1=2 100 700 50"));
    InitStrokeParameters();
    EXPECT_EQ(StrokeParameters[sePower].ScaleMode, smRange);
    LoadParameterSettings(SettingsPath().toStdString(), StrokeDataSection, StrokeParameters,
                          StoredStrokeParameterCount);
    EXPECT_EQ(StrokeParameters[sePower].ScaleMode, smManual);
    EXPECT_EQ(StrokeParameters[sePower].Maximum, 700);
}

TEST_F(StrokeDataTest, The500mTimeRunsDownwardWithMinuteSecondLabels)
{
    Fake.Records = {Demo(60, "Alpha")};
    TfrmStrokeData* window = OpenFake();
    Choose(window->ValueBox(), "Estimated 500m time");
    EXPECT_TRUE(window->ValueAxis()->isReverse()) << "fast at the top";
    for (const QString& label : window->ValueAxis()->categoriesLabels())
        EXPECT_TRUE(label.contains(':')) << label.toStdString();
    Choose(window->ValueBox(), "Power per stroke");
    EXPECT_FALSE(window->ValueAxis()->isReverse());

    // A second value against the right axis.
    Choose(Control<QComboBox>(window, "cmbValue2"), "Stroke rate");
    EXPECT_TRUE(window->RightAxis()->isVisible());
    EXPECT_FALSE(window->RightAxis()->categoriesLabels().isEmpty());
}

TEST_F(StrokeDataTest, TheSecondValuesLineIsToldApartFromTheFirstInEveryStyle)
{
    Fake.Records = {Demo(60, "Alpha")};
    TfrmStrokeData* window = OpenFake();
    Choose(Control<QComboBox>(window, "cmbValue2"), "Stroke rate");
    const auto pen = [window](const QString& name) {
        for (QAbstractSeries* series : window->Chart()->chart()->series())
            if (series->objectName() == name) return qobject_cast<QLineSeries*>(series)->pen();
        ADD_FAILURE() << name.toStdString();
        return QPen();
    };
    for (uint8_t style = 0; style <= 4; ++style) {
        Fake.Records[0].Header.PenStyle = style;
        window->ReloadTrainings(false);
        const QPen first = pen(QStringLiteral("Series0")), second = pen(QStringLiteral("Second0"));
        EXPECT_NE(first.style(), second.style()) << int(style);
        EXPECT_EQ(first.color(), second.color());
        EXPECT_EQ(first.width(), second.width());
    }
}

TEST_F(StrokeDataTest, ZoomKeepsPeaksCursorAndGridAndEscapeShowsAll)
{
    TTraining training = Demo(20000, "Long");
    training.Strokes[12345].Power = 5000;
    Fake.Records = {training};
    TfrmStrokeData* window = OpenFake();
    const auto highest = [&] {
        const QList<QPointF> points = window->ShownPoints(0);
        return std::max_element(points.begin(), points.end(),
                                [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); })->y();
    };
    EXPECT_LT(window->ShownPoints(0).size(), 4 * 1000 + 3) << "reduced to the chart's width";
    EXPECT_EQ(highest(), 5000) << "the spike survives the reduction";

    window->ZoomTo(12000, 12600);
    EXPECT_TRUE(window->Chart()->chart()->isZoomed());
    EXPECT_EQ(highest(), 5000);
    EXPECT_GE(window->ShownPoints(0).first().x(), 11990);
    window->SetCursorX(12345);
    EXPECT_EQ(window->CursorStroke(), 12345);
    EXPECT_EQ(RowCells(window->DataGrid(), 0), StrokeCells(Fake.Records[0], 12345));
    Key(window, Qt::Key_Right);
    EXPECT_EQ(window->CursorStroke(), 12346);

    Key(window, Qt::Key_Escape);
    EXPECT_FALSE(window->Chart()->chart()->isZoomed());
    EXPECT_LE(window->Chart()->chart()->axes(Qt::Horizontal).first()->property("min").toDouble(), 1);
}

TEST_F(StrokeDataTest, LayoutHasASectionOfItsOwnAndReopensAsLeft)
{
    OpenMain();
    Main->ShowStrokeData();
    TfrmStrokeData* window = Main->StrokeData();
    Choose(window->ValueBox(), "Stroke rate");
    Choose(Control<QComboBox>(window, "cmbAxis"), "Distance");
    Choose(Control<QComboBox>(window, "cmbSmoothing"), "Average of 5");
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QString settings = ReadSettings();
    EXPECT_TRUE(settings.contains("[StrokeDataChart]")) << settings.toStdString();
    const TIniFile ini(SettingsPath().toStdString());
    EXPECT_EQ(ini.ReadInteger("StrokeDataChart", "Value", -1), seStrokeRate);
    EXPECT_EQ(ini.ReadString("StrokeData", "Value", "none"), "none") << "the catalogue's section is left alone";

    Main->ShowStrokeData();
    window = Main->StrokeData();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->ValueBox()->currentText(), "Stroke rate");
    EXPECT_EQ(Control<QComboBox>(window, "cmbAxis")->currentText(), "Distance");
    EXPECT_EQ(Control<QComboBox>(window, "cmbSmoothing")->currentText(), "Average of 5");
}

TEST_F(StrokeDataTest, ChartPictureCommandsServeEitherChartWindow)
{
    OpenMain();
    QAction* copy = Main->findChild<QAction*>("EditCopyChart");
    QAction* save = Main->findChild<QAction*>("FileSaveChart");
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(copy->shortcut(), QKeySequence("Ctrl+Shift+C"));
    Main->UpdateActions();
    EXPECT_FALSE(copy->isEnabled()) << "the training window is no chart window";

    for (int kind = 0; kind < 2; ++kind) {
        if (kind == 0)
            Main->ShowStrokeData();
        else
            Main->ShowForceCurves();
        Settle(20);
        Main->UpdateActions();
        ASSERT_TRUE(copy->isEnabled()) << kind;
        QGuiApplication::clipboard()->clear();
        copy->trigger();
        EXPECT_FALSE(QGuiApplication::clipboard()->image().isNull()) << kind;
        const QString path = QString::fromStdString(Root.Path()) + QStringLiteral("chart%1.png").arg(kind);
        Script.FileToSave = path;
        save->trigger();
        QImage picture(path);
        EXPECT_FALSE(picture.isNull()) << kind;
        EXPECT_GT(picture.width(), 300) << kind;
    }
}

TEST_F(StrokeDataTest, EachAltKeyOfTheWindowIsItsOwnAndLeavesTheMenusTheirs)
{
    OpenMain();
    Main->ShowStrokeData();
    TfrmStrokeData* window = Main->StrokeData();
    ASSERT_NE(window, nullptr);
    Settle();
    const QMap<QString, QStringList> menus = AltKeys(Main->menuBar());
    ASSERT_TRUE(menus.contains("Alt+V")) << "the View menu's key";
    const QMap<QString, QStringList> keys = AltKeys(window);
    EXPECT_GE(keys.size(), 5) << "the four choices and Scale";
    for (auto key = keys.begin(); key != keys.end(); ++key) {
        EXPECT_EQ(key.value().size(), 1) << key.value().join(", ").toStdString();
        EXPECT_FALSE(menus.contains(key.key())) << key.value().join(", ").toStdString();
    }
}

TEST_F(StrokeDataTest, ControlsAreNamedAndTheCursorsStrokeIsToldToScreenReaders)
{
    Fake.Records = {Demo(10, "Alpha")};
    TfrmStrokeData* window = OpenFake();
    for (const char* name : {"cmbValue", "cmbValue2", "cmbAxis", "cmbSmoothing", "btnScale"}) {
        QWidget* control = Control<QWidget>(window, name);
        EXPECT_FALSE(control->accessibleName().isEmpty()) << name;
    }
    EXPECT_EQ(window->Chart()->focusPolicy(), Qt::StrongFocus);
    EXPECT_FALSE(window->Chart()->accessibleName().isEmpty());

    // The stroke at the cursor and its drawn values are read from the chart.
    QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(window->Chart());
    ASSERT_NE(chart, nullptr);
    Choose(window->ValueBox(), "Power per stroke");
    Choose(Control<QComboBox>(window, "cmbValue2"), "Estimated 500m time");
    Choose(Control<QComboBox>(window, "cmbSmoothing"), "Raw");
    Key(window, Qt::Key_End);
    const TStroke& last = Fake.Records[0].Strokes[10];
    const QString told = chart->text(QAccessible::Description);
    EXPECT_TRUE(told.startsWith("Stroke 10; Power per stroke (W) ")) << told.toStdString();
    EXPECT_TRUE(told.contains(QString::fromStdString(TickText(last.Power, 0.1, false)))) << told.toStdString();
    EXPECT_TRUE(told.contains(QRegularExpression("Estimated 500m time \\(m:s\\) \\d+:\\d\\d\\.\\d$"))) << told.toStdString();
    Key(window, Qt::Key_Left);
    EXPECT_TRUE(chart->text(QAccessible::Description).startsWith("Stroke 9;"));
}
