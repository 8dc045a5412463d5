// The force-curve window: its grid rows and series for checked trainings,
// the browse controls at the edges of a training, playing over withdrawn
// curves, Shift applying a step to every training, the splitter limits, its
// closing with the last training, its stored layout, the stroke-file export,
// the chart options from its list, what a screen reader reads of it, and
// what a browse step repaints, down to the signals of the data grid's model;
// then the curve number, withdrawing, the averages' spread band, the trail,
// "All" as one picture and the pinned reference curve.
#include "GuiKit.h"

#include "jsUtils.h"

#include "DemoTraining.h"
#include "untChartOptions.h"
#include "untCharts.h"
#include "untCurveUnderlay.h"
#include "untFiles.h"
#include "untForceCurves.h"
#include "untFormUtils.h"
#include "untLineSample.h"
#include "untOpenTrainings.h"
#include "untTraining.h"

#include <QAction>
#include <QAccessible>
#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QDialog>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QImage>
#include <QPixmap>
#include <QSignalSpy>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineSeries>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QValueAxis>

#include <cmath>
#include <functional>
#include <limits>

namespace {

TTraining Demo(int strokes, const std::string& title, int curve = 1)
{
    TTraining training = MakeDemoTraining(strokes);
    training.Header.Title.Assign(title);
    training.Header.CurveIndex = curve;
    return training;
}

// Answers the chart-options dialog with Cancel.
class TCancelOptions : public IModalAnswerer {
public:
    TCancelOptions() : Previous(SetModalAnswerer(this)) {}
    ~TCancelOptions() override { SetModalAnswerer(Previous); }
    int Answer(QDialog& dialog) override
    {
        if (qobject_cast<TfrmChartOptions*>(&dialog)) ++Shown;
        return QDialog::Rejected;
    }
    QStringList OpenFiles(const TOpenFilesRequest&) override { return {}; }
    int Shown = 0;

private:
    IModalAnswerer* Previous;
};

QString AccessibleName(QObject* object)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

QString RowCaption(const QTableView* grid, int row)
{
    return grid->model()->headerData(row, Qt::Vertical).toString();
}

QStringList RowCells(const QTableView* grid, int row)
{
    QStringList cells;
    for (int column = 0; column < grid->model()->columnCount(); ++column)
        cells << grid->model()->index(row, column).data().toString();
    return cells;
}

// The texts a chart shows: its axes' labels and titles.
QStringList ShownTexts(QChart* chart)
{
    QStringList texts;
    for (QGraphicsItem* item : chart->scene()->items())
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible()) texts << text->toPlainText();
    return texts;
}

QStringList Texts(const std::vector<std::string>& texts)
{
    QStringList list;
    for (const std::string& text : texts) list << QString::fromStdString(text);
    return list;
}

// A drag of a splitter handle by the mouse, by offset pixels.
void DragHandle(QSplitterHandle* handle, QPoint offset)
{
    const QPoint from = handle->rect().center();
    const auto send = [handle](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, handle->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(handle, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, from + offset / 2, Qt::LeftButton);
    send(QEvent::MouseMove, from + offset, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, from + offset, Qt::NoButton);
}

} // namespace

class ForceCurvesTest : public TShellTest {
protected:
    void TearDown() override
    {
        delete Standalone.data();
        Main.reset();
        TShellTest::TearDown();
    }

    // Opens a demo training in the real main window, then its force-curve window.
    TfrmForceCurves* Open(const std::function<void(TTraining&)>& change = nullptr, int strokes = 12,
                          bool shown = false)
    {
        if (!Main) Main = NewMain();
        if (shown) {
            Main->resize(1000, 700);
            Main->show();
            Settle(20);
        }
        TTraining training = MakeDemoTraining(strokes);
        if (change) change(training);
        Main->OpenFile(WriteTraining("piece.stg", training));
        Main->ShowForceCurves();
        Settle();
        return Main->ForceCurves();
    }
    // The window over the fake trainings, as the main window sets one up.
    TfrmForceCurves* OpenFake()
    {
        Standalone = new TfrmForceCurves(nullptr, Fake);
        // As the main window does: the force-curve window redraws.
        Fake.OnRefresh = [this] {
            if (Standalone) Standalone->clbTrainingsClick();
        };
        Standalone->ReloadTrainings(true);
        Standalone->SetPlayInterval(500);
        return Standalone;
    }
    TTraining& Record(int i = 0) const
    {
        return Main ? *Main->TrainingRecord(i) : *Fake.TrainingRecord(i);
    }
    static void Click(QWidget* window, const char* name) { Control<QToolButton>(window, name)->click(); }
    static QString Caption(TfrmForceCurves* window, int i = 0) { return window->Trainings()->item(i)->text(); }

    std::unique_ptr<TfrmMain> Main;
    TFakeTrainings Fake;
    QPointer<TfrmForceCurves> Standalone;
};

TEST_F(ForceCurvesTest, GridAndChartHoldOneRowAndSeriesPerCheckedTraining)
{
    Fake.Records = {Demo(10, "Alpha"), Demo(12, "Beta", 3)};
    TfrmForceCurves* window = OpenFake();
    const QTableView* grid = window->DataGrid();
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(RowCaption(grid, 0), "Alpha (1/10)");
    EXPECT_EQ(RowCaption(grid, 1), "Beta (3/12)");
    EXPECT_EQ(RowCells(grid, 1), Texts(CurveRowTexts(Record(1), TCurveScaling{})));
    EXPECT_NE(RowCells(grid, 0), RowCells(grid, 1));
    EXPECT_EQ(grid->model()->columnCount(), static_cast<int>(StrokeColumns.size()) + 2);
    QChart* chart = window->Chart()->chart();
    ASSERT_EQ(chart->series().size(), 2);

    // Unchecking a training in the list hides it everywhere.
    window->Trainings()->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(Record(0).Header.Visible);
    ASSERT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(RowCaption(grid, 0), "Beta (3/12)");
    EXPECT_FALSE(chart->series()[0]->isVisible());
    EXPECT_TRUE(chart->series()[1]->isVisible());

    // With none checked one empty row is left.
    window->Trainings()->item(1)->setCheckState(Qt::Unchecked);
    ASSERT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(RowCaption(grid, 0), "");
    EXPECT_EQ(RowCells(grid, 0).join(""), "");
    EXPECT_FALSE(chart->series()[1]->isVisible());
}

TEST_F(ForceCurvesTest, ChartDrawsEightyPointsFromTheSampleSpacingToTheAxisEnd)
{
    TfrmForceCurves* window = Open();
    ASSERT_NE(window, nullptr);
    QChart* chart = window->Chart()->chart();
    ASSERT_EQ(chart->series().size(), 1);
    auto* series = qobject_cast<QLineSeries*>(chart->series()[0]);
    ASSERT_NE(series, nullptr);
    ASSERT_EQ(series->count(), 80);
    EXPECT_NEAR(series->at(0).x(), 2.2, 1e-5);
    EXPECT_NEAR(series->at(79).x(), 176.0, 1e-4);
    const TCurvePoints points = ShownCurvePoints(Record(), TCurveScaling{});
    EXPECT_FLOAT_EQ(static_cast<float>(series->at(40).y()), points[40].Y);
    EXPECT_EQ(series->pen().color(), QtColor(+Record().Header.Color));
    EXPECT_EQ(series->pen().width(), +Record().Header.PenWidth);

    const auto* x = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).value(0));
    const auto* y = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    ASSERT_TRUE(x && y);
    EXPECT_EQ(x->titleText(), "Strokelength (cm)");
    EXPECT_EQ(y->titleText(), "Force (N)");
    EXPECT_DOUBLE_EQ(x->max(), 176);
    EXPECT_DOUBLE_EQ(y->max(), 780);

    // A zoom into part of the chart; a right click shows all of it again.
    const QRectF plot = chart->plotArea();
    chart->zoomIn(QRectF(plot.topLeft(), plot.size() / 4));
    EXPECT_LT(x->max(), 100);
    QTest::mouseClick(window->Chart()->viewport(), Qt::RightButton);
    EXPECT_DOUBLE_EQ(x->min(), 0);
    EXPECT_DOUBLE_EQ(x->max(), 176);
    EXPECT_DOUBLE_EQ(y->max(), 780);

    // A step replaces the points of the same series; the axes stay.
    Click(window, "btbNext");
    ASSERT_EQ(chart->series().size(), 1);
    EXPECT_EQ(chart->series()[0], series);
    EXPECT_FLOAT_EQ(static_cast<float>(series->at(40).y()), ShownCurvePoints(Record(), TCurveScaling{})[40].Y);
    EXPECT_DOUBLE_EQ(x->max(), 176);
}

// A strong rower's curve of 1,466 N: the force axis extends by whole steps
// of 77 N to hold it while it is drawn, and comes back to 780 N when every
// drawn curve fits again. The show-all curves are drawn curves too. Where the
// labels of all those steps do not fit, every second one is labelled: none
// is cut to "...".
TEST_F(ForceCurvesTest, TheForceAxisExtendsByWholeStepsToHoldAStrongCurve)
{
    Fake.Records = {Demo(10, "Strong"), Demo(10, "Usual")};
    for (int k = 25; k < 35; ++k) Fake.Records[0].Curves[2].Samples[k] = 1466;
    TfrmForceCurves* window = OpenFake();
    window->resize(700, 600);
    window->show();
    Settle(20);
    QChart* chart = window->Chart()->chart();
    const auto* y = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    ASSERT_NE(y, nullptr);
    EXPECT_DOUBLE_EQ(y->max(), 780);

    // A zoom is undone by the new axis: undoing it later must not bring
    // the old end back.
    chart->zoomIn(QRectF(chart->plotArea().topLeft(), chart->plotArea().size() / 4));
    Click(window, "btbNext");
    ASSERT_EQ(+Record(0).Header.CurveIndex, 2);
    EXPECT_DOUBLE_EQ(y->min(), 0);
    EXPECT_DOUBLE_EQ(y->max(), 780 + 9 * 77);
    QTest::mouseClick(window->Chart()->viewport(), Qt::RightButton);
    EXPECT_DOUBLE_EQ(y->max(), 1473);
    EXPECT_DOUBLE_EQ(y->tickAnchor(), 0);
    EXPECT_DOUBLE_EQ(std::fmod(y->tickInterval(), 77), 0);
    const TCurvePoints shown = ShownCurvePoints(Record(0), TCurveScaling{});
    EXPECT_FLOAT_EQ(HighestForce(shown), 1466);
    Settle(20);
    const QStringList labels = ShownTexts(chart);
    EXPECT_TRUE(labels.contains("1386")) << labels.join("|").toStdString();
    EXPECT_FALSE(labels.contains("...")) << labels.join("|").toStdString();

    Click(window, "btbNext");
    EXPECT_DOUBLE_EQ(y->max(), 780);
    Click(window, "btbPrevious");
    EXPECT_DOUBLE_EQ(y->max(), 1473);
    window->Trainings()->item(0)->setCheckState(Qt::Unchecked); // no longer drawn
    EXPECT_DOUBLE_EQ(y->max(), 780);

    window->Trainings()->item(0)->setCheckState(Qt::Checked);
    Click(window, "btbFirst");
    EXPECT_DOUBLE_EQ(y->max(), 780);
    Record(0).Spare2 = 1; // every curve drawn besides the shown one
    window->DrawForceCurves();
    EXPECT_DOUBLE_EQ(y->max(), 1473);
}

TEST_F(ForceCurvesTest, TheGridShowsADashForAValueThatIsNoNumber)
{
    Fake.Records = {Demo(10, "Odd")};
    Fake.Records[0].Strokes[1].PeakForce = -std::numeric_limits<float>::quiet_NaN();
    Fake.Records[0].Strokes[1].Power = std::numeric_limits<float>::infinity();
    TfrmForceCurves* window = OpenFake();
    const QStringList cells = RowCells(window->DataGrid(), 0);
    EXPECT_EQ(cells.value(sePeakForce), "-");
    EXPECT_EQ(cells.value(sePower), "-");
    EXPECT_EQ(cells.filter("nan").size() + cells.filter("inf").size(), 0) << cells.join(" ").toStdString();
}

// Counts the paint events a widget gets.
class TPaintCounter : public QObject {
public:
    explicit TPaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) ++Paints;
        return false;
    }
    int Paints = 0;
};

TEST_F(ForceCurvesTest, ABrowseStepRepaintsWhatItChangesAndNoMore)
{
    TfrmForceCurves* window = Open([](TTraining& training) { training.Header.CurveIndex = 7; }, 3000, true);
    ASSERT_NE(window, nullptr);
    Settle(20);
    const QTableView* grid = window->DataGrid();
    QSignalSpy relaid(grid->model(), &QAbstractItemModel::headerDataChanged);
    QSignalSpy retexted(qobject_cast<TChartDataModel*>(grid->model()), &TChartDataModel::RowCaptionsRetexted);
    auto* scroll = Control<QScrollBar>(window, "sbrCurves");
    TPaintCounter scrollPaints(scroll);

    // 7 to 8: the curve number keeps its digit count, the row header its width.
    Click(window, "btbNext");
    Settle();
    EXPECT_EQ(RowCaption(grid, 0), "2000 m test (8/3000)");
    EXPECT_EQ(relaid.count(), 0);
    ASSERT_EQ(retexted.count(), 1);
    EXPECT_EQ(retexted[0][0].toInt(), 0);
    // On 3000 curves the handle moves by less than a pixel.
    EXPECT_EQ(scrollPaints.Paints, 0);

    // 8 to 9 to 10: a digit more may widen the row header.
    Click(window, "btbNext");
    Click(window, "btbNext");
    Settle();
    EXPECT_EQ(RowCaption(grid, 0), "2000 m test (10/3000)");
    EXPECT_EQ(relaid.count(), 1);
    EXPECT_GE(grid->verticalHeader()->width(), 120);

    // The last curve closes the way forward, and the scroll bar shows it.
    Click(window, "btbLast");
    Settle();
    EXPECT_EQ(scroll->value(), 3000);
    EXPECT_GT(scrollPaints.Paints, 0);
}

TEST(ChartDataModelTest, OnlyACurveNumberChangedInPlaceSparesTheRowHeaderItsRelayout)
{
    TChartDataModel model;
    model.SetColumnCaptions({"Stroke", "Power (W)"});
    const TPenSample pen{Qt::red, Qt::SolidLine, 2};
    model.SetRowHeaders({{"Alpha (1/10)", pen, {}}, {"Beta (9/12)", pen, {}}});
    model.SetCells(0, {"1", "300"});
    QSignalSpy relaid(&model, &QAbstractItemModel::headerDataChanged);
    QSignalSpy retexted(&model, &TChartDataModel::RowCaptionsRetexted);
    QSignalSpy cells(&model, &QAbstractItemModel::dataChanged);
    const auto counts = [&] { return std::vector<qsizetype>{relaid.count(), retexted.count(), cells.count()}; };

    model.SetRowHeaders({{"Alpha (2/10)", pen, {}}, {"Beta (9/12)", pen, {}}});
    EXPECT_EQ(counts(), (std::vector<qsizetype>{0, 1, 0}));
    EXPECT_EQ(retexted.last()[0].toInt(), 0);
    EXPECT_EQ(retexted.last()[1].toInt(), 0);
    EXPECT_EQ(model.index(0, 1).data().toString(), "300"); // the row keeps its cells

    // The same captions again: nothing to tell.
    model.SetRowHeaders({{"Alpha (2/10)", pen, {}}, {"Beta (9/12)", pen, {}}});
    EXPECT_EQ(counts(), (std::vector<qsizetype>{0, 1, 0}));

    // Another number of digits, other letters of the same count, another pen:
    // the header may need another width.
    model.SetRowHeaders({{"Alpha (2/10)", pen, {}}, {"Beta (10/12)", pen, {}}});
    EXPECT_EQ(counts(), (std::vector<qsizetype>{1, 1, 0}));
    model.SetRowHeaders({{"Gamma (2/10)", pen, {}}, {"Beta (10/12)", pen, {}}});
    EXPECT_EQ(counts(), (std::vector<qsizetype>{2, 1, 0}));
    model.SetRowHeaders({{"Gamma (2/10)", pen, {}}, {"Beta (10/12)", {Qt::blue, Qt::SolidLine, 2}, {}}});
    EXPECT_EQ(counts(), (std::vector<qsizetype>{3, 1, 0}));
    EXPECT_EQ(relaid.last()[1].toInt(), 1);

    // The last training unchecked: the first row turns empty, cells and all.
    model.SetRowHeaders({});
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.headerData(0, Qt::Vertical).toString(), "");
    EXPECT_EQ(model.index(0, 1).data().toString(), "");
    EXPECT_EQ(relaid.count(), 4);
    EXPECT_EQ(cells.count(), 1);
    model.SetRowHeaders({});
    EXPECT_EQ(relaid.count(), 4);
}

TEST_F(ForceCurvesTest, TheChartKeepsItsPlainPartsInPixmapsAndItsCurvesLive)
{
    TfrmForceCurves* window = Open(nullptr, 12, true);
    ASSERT_NE(window, nullptr);
    window->Chart()->grab();
    int plain = 0, live = 0;
    for (QGraphicsItem* item : window->Chart()->scene()->items()) {
        if (item->type() == QGraphicsLineItem::Type)
            plain += item->cacheMode() == QGraphicsItem::DeviceCoordinateCache ? 1 : -1000;
        if (item->type() >= QGraphicsItem::UserType && item->cacheMode() == QGraphicsItem::NoCache) ++live;
    }
    EXPECT_GT(plain, 20); // grid lines and ticks, every one cached
    EXPECT_GT(live, 0);

    // A new curve is drawn over them: the picture changes with the step.
    const QImage before = window->Chart()->grab().toImage();
    Click(window, "btbNext");
    EXPECT_NE(window->Chart()->grab().toImage(), before);
    // Changed axes are drawn anew, not from their old pixmaps: a zoom and
    // back gives the same picture again.
    const QImage stepped = window->Chart()->grab().toImage();
    QChart* chart = window->Chart()->chart();
    chart->zoomIn(QRectF(chart->plotArea().topLeft(), chart->plotArea().size() / 3));
    Settle();
    EXPECT_NE(window->Chart()->grab().toImage(), stepped);
    chart->zoomReset();
    Settle();
    EXPECT_EQ(window->Chart()->grab().toImage(), stepped);
}

// Only what a step changes is painted again; a curve drawn anti-aliased,
// thin or wide, must leave nothing of itself behind when the next replaces it.
TEST_F(ForceCurvesTest, BrowsingLeavesNoTraceOfEarlierCurves)
{
    for (const int width : {1, 2, 9}) {
        Main.reset();
        TfrmForceCurves* window = Open([width](TTraining& t) { t.Header.PenWidth = width; }, 60, true);
        ASSERT_NE(window, nullptr);
        QWidget* viewport = window->Chart()->viewport();
        const QImage first = OnScreen(viewport);
        ASSERT_FALSE(first.isNull());
        for (int i = 0; i < 40; ++i) {
            Click(window, i % 5 == 4 ? "btbPrevious" : "btbNext");
            Settle();
        }
        const QImage browsed = OnScreen(viewport);
        EXPECT_NE(browsed, first) << width;
        viewport->update();
        Settle();
        EXPECT_EQ(browsed, OnScreen(viewport)) << width;
    }
}

TEST_F(ForceCurvesTest, AtTheLastCurveOnlyTheWayBackIsOpen)
{
    TfrmForceCurves* window = Open([](TTraining& training) { training.Header.CurveIndex = 120; }, 120);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Caption(window), "2000 m test (120/120)");
    EXPECT_FALSE(Control<QToolButton>(window, "btbNext")->isEnabled());
    EXPECT_FALSE(Control<QToolButton>(window, "btbLast")->isEnabled());
    for (const char* open : {"btbFirst", "btbPrevious", "btbPlay"})
        EXPECT_TRUE(Control<QToolButton>(window, open)->isEnabled()) << open;
    auto* scroll = Control<QScrollBar>(window, "sbrCurves");
    EXPECT_TRUE(scroll->isEnabled());
    EXPECT_EQ(scroll->minimum(), 1);
    EXPECT_EQ(scroll->maximum(), 120);
    EXPECT_EQ(scroll->value(), 120);

    // Play started here stops at its first tick.
    Click(window, "btbPlay");
    EXPECT_TRUE(window->IsPlaying());
    window->tmrPlayTimer();
    EXPECT_FALSE(window->IsPlaying());
    EXPECT_EQ(+Record().Header.CurveIndex, 120);
    EXPECT_EQ(AccessibleName(Control<QToolButton>(window, "btbPlay")), "Play");

    Click(window, "btbFirst");
    EXPECT_EQ(Caption(window), "2000 m test (1/120)");
    EXPECT_FALSE(Control<QToolButton>(window, "btbPrevious")->isEnabled());
    EXPECT_TRUE(Control<QToolButton>(window, "btbLast")->isEnabled());
}

TEST_F(ForceCurvesTest, PlayPassesOverWithdrawnCurvesAndStopsAtTheLastStroke)
{
    TfrmForceCurves* window = Open(); // curves 5 and 6 are not valid
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(Record().Curves[5].Valid);
    EXPECT_EQ(window->PlayInterval(), 500);
    Click(window, "btbPlay");
    EXPECT_TRUE(window->IsPlaying());
    EXPECT_EQ(AccessibleName(Control<QToolButton>(window, "btbPlay")), "Stop");
    std::vector<int> shown;
    for (int tick = 0; tick < 20 && window->IsPlaying(); ++tick) {
        window->tmrPlayTimer();
        shown.push_back(+Record().Header.CurveIndex);
    }
    EXPECT_EQ(shown, (std::vector<int>{2, 3, 4, 7, 8, 9, 10, 11, 12, 12}));
    EXPECT_FALSE(window->IsPlaying());
    EXPECT_EQ(AccessibleName(Control<QToolButton>(window, "btbPlay")), "Play");

    // A browse command stops playing before it steps.
    Click(window, "btbFirst");
    Click(window, "btbPlay");
    window->tmrPlayTimer();
    Click(window, "btbNext");
    EXPECT_FALSE(window->IsPlaying());
    EXPECT_EQ(+Record().Header.CurveIndex, 3);
}

TEST_F(ForceCurvesTest, ShiftAppliesAStepToEveryTrainingOnItsOwnStrokes)
{
    Fake.Records = {Demo(10, "Alpha", 3), Demo(10, "Beta", 10)};
    TfrmForceCurves* window = OpenFake();
    bool shift = true;
    window->ShiftDown = [&shift] { return shift; };
    Click(window, "btbNext");
    EXPECT_EQ(+Record(0).Header.CurveIndex, 4);
    EXPECT_EQ(+Record(1).Header.CurveIndex, 10);
    EXPECT_EQ(Caption(window, 1), "Beta (10/10)");

    // Without Shift only the selected training moves.
    shift = false;
    window->Trainings()->setCurrentRow(1);
    Click(window, "btbFirst");
    EXPECT_EQ(+Record(0).Header.CurveIndex, 4);
    EXPECT_EQ(+Record(1).Header.CurveIndex, 1);

    shift = true;
    window->sbrCurvesScroll(9);
    EXPECT_EQ(+Record(0).Header.CurveIndex, 9);
    EXPECT_EQ(+Record(1).Header.CurveIndex, 9);
}

TEST_F(ForceCurvesTest, ScrollBarFollowsTheDragToTheLastStroke)
{
    TfrmForceCurves* window = Open();
    ASSERT_NE(window, nullptr);
    auto* scroll = Control<QScrollBar>(window, "sbrCurves");
    scroll->setSliderDown(true);
    scroll->setSliderPosition(6);
    EXPECT_EQ(+Record().Header.CurveIndex, 6); // a position shows its stroke, valid or not
    EXPECT_EQ(Caption(window), "2000 m test (6/12)");
    scroll->setSliderPosition(scroll->maximum());
    EXPECT_EQ(+Record().Header.CurveIndex, 12);
    scroll->setSliderDown(false);
    scroll->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(+Record().Header.CurveIndex, 11);
    EXPECT_EQ(scroll->value(), 11);
}

TEST_F(ForceCurvesTest, ScrollBarTakesTheRangeOfTheSelectedTraining)
{
    TTraining empty{};
    NewTraining(empty);
    empty.Header.Title.Assign("Empty");
    empty.Header.Visible = 1;
    empty.Header.CurveIndex = 0;
    SetStrokeCount(empty, 0);
    Fake.Records = {Demo(216, "Long", 200), Demo(10, "Short", 3), empty};
    TfrmForceCurves* window = OpenFake();
    auto* scroll = Control<QScrollBar>(window, "sbrCurves");
    EXPECT_EQ(scroll->maximum(), 216);
    EXPECT_EQ(scroll->value(), 200);
    window->Trainings()->setCurrentRow(1);
    EXPECT_EQ(scroll->minimum(), 1);
    EXPECT_EQ(scroll->maximum(), 10);
    EXPECT_EQ(scroll->value(), 3);
    EXPECT_EQ(+Record(0).Header.CurveIndex, 200); // selecting is not browsing
    // A training without strokes: both numbers 0, nothing to browse.
    window->Trainings()->setCurrentRow(2);
    EXPECT_EQ(Caption(window, 2), "Empty (0/0)");
    EXPECT_EQ(scroll->minimum(), 0);
    EXPECT_EQ(scroll->maximum(), 0);
    EXPECT_FALSE(scroll->isEnabled());
    EXPECT_FALSE(Control<QToolButton>(window, "btbNext")->isEnabled());
    Click(window, "btbLast");
    EXPECT_EQ(+Record(2).Header.CurveIndex, 0);
    window->Trainings()->setCurrentRow(0);
    EXPECT_EQ(scroll->maximum(), 216);
    EXPECT_EQ(scroll->value(), 200);
}

TEST_F(ForceCurvesTest, AnAverageCurveIsListedWithItsMarkAndCannotBeBrowsed)
{
    Fake.Records = {Demo(10, "Alpha", 4)};
    Fake.Records[0].Header.CurveSource = 1;
    TfrmForceCurves* window = OpenFake();
    EXPECT_EQ(Caption(window), "Alpha [A] (10)");
    for (const char* button : {"btbFirst", "btbPrevious", "btbNext", "btbLast", "btbPlay"})
        EXPECT_FALSE(Control<QToolButton>(window, button)->isEnabled()) << button;
    EXPECT_FALSE(Control<QScrollBar>(window, "sbrCurves")->isEnabled());
    auto* series = qobject_cast<QLineSeries*>(window->Chart()->chart()->series().value(0));
    ASSERT_NE(series, nullptr);
    ASSERT_EQ(series->count(), 80);
    EXPECT_FLOAT_EQ(static_cast<float>(series->at(20).y()), ShownCurvePoints(Record(), TCurveScaling{})[20].Y);
}

TEST_F(ForceCurvesTest, SplittersStopAtTheirLimits)
{
    TfrmForceCurves* window = Open(nullptr, 12, true);
    ASSERT_NE(window, nullptr);
    Settle(20);
    QWidget* client = window->widget();
    auto* data = Control<QSplitter>(window, "splData");
    auto* trainings = Control<QSplitter>(window, "splTrainings");
    QWidget* dataPanel = Control<QWidget>(window, "pnlData");
    QWidget* trainingsPanel = Control<QWidget>(window, "pnlTrainings");
    ASSERT_GT(client->height(), 400);

    DragHandle(data->handle(1), QPoint(0, 1000)); // the data area would vanish
    EXPECT_EQ(dataPanel->height(), 100);
    DragHandle(data->handle(1), QPoint(0, -2000)); // the chart would vanish
    EXPECT_EQ(dataPanel->height(), client->height() - 225);
    DragHandle(trainings->handle(1), QPoint(2000, 0));
    EXPECT_EQ(trainingsPanel->width(), 230); // this window's own minimum is above 160
    DragHandle(trainings->handle(1), QPoint(-2000, 0));
    EXPECT_EQ(trainingsPanel->width(), client->width() - 225);

    int size = 99;
    EXPECT_FALSE(window->splDataCanResize(size));
    EXPECT_EQ(size, 100);
    size = client->height() - 224;
    EXPECT_FALSE(window->splDataCanResize(size));
    EXPECT_EQ(size, client->height() - 225);
    size = 150;
    EXPECT_TRUE(window->splDataCanResize(size));
    size = 200;
    EXPECT_TRUE(window->splTrainingsCanResize(size) == false && size == 230);
}

TEST_F(ForceCurvesTest, ClosingTheLastTrainingWindowClosesTheForceCurveWindow)
{
    QPointer<TfrmForceCurves> window = Open();
    ASSERT_FALSE(window.isNull());
    QPointer<TfrmTraining> training = Main->findChild<TfrmTraining*>();
    ASSERT_FALSE(training.isNull());
    training->close();
    EXPECT_EQ(Main->ForceCurves(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    // The next command makes a new one.
    Main->OpenFile(QString::fromStdString(Root.Path()) + "data/piece.stg");
    Main->ShowForceCurves();
    ASSERT_NE(Main->ForceCurves(), nullptr);
    EXPECT_EQ(Main->ForceCurves()->Trainings()->count(), 1);
}

TEST_F(ForceCurvesTest, LayoutIsRestoredOnReopeningButFixedValuesStartOff)
{
    WriteSettings("[ForceCurves]\nColumns=77 66\nData=1\nDataHeight=150\nTrainings=1\nTrainingsWidth=260\n"
                  "Square=0\n");
    TfrmForceCurves* window = Open(nullptr, 12, true);
    ASSERT_NE(window, nullptr);
    Settle(20);
    EXPECT_TRUE(window->isMaximized());
    EXPECT_FALSE(window->IsSquare());
    EXPECT_FALSE(Control<QCheckBox>(window, "cbxSquare")->isChecked());
    EXPECT_EQ(window->DataGrid()->columnWidth(0), 77);
    EXPECT_EQ(window->DataGrid()->columnWidth(1), 66);
    EXPECT_EQ(Control<QWidget>(window, "pnlData")->height(), 150);
    EXPECT_EQ(Control<QWidget>(window, "pnlTrainings")->width(), 260);
    // Not square: the chart fills its panel.
    EXPECT_EQ(window->Chart()->size(), Control<QWidget>(window, "pnlChart")->size());

    Control<QCheckBox>(window, "cbxSquare")->click();
    EXPECT_TRUE(window->IsSquare());
    EXPECT_EQ(window->Chart()->width(), window->Chart()->height());
    Control<QCheckBox>(window, "cbxForce")->click();
    Control<QSpinBox>(window, "udnForce")->setValue(600);
    EXPECT_TRUE(window->Scaling().FixedForce);
    window->close();
    const QString settings = ReadSettings();
    for (const char* line : {"Left=-1", "Top=-1", "Width=-1", "Height=-1", "Columns=77 66 ", "Data=1",
                             "DataHeight=150", "Trainings=1", "TrainingsWidth=260", "Square=1"})
        EXPECT_TRUE(settings.contains(QString::fromLatin1(line))) << line << "\n" << settings.toStdString();

    Main->ShowForceCurves();
    window = Main->ForceCurves();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->IsSquare());
    EXPECT_FALSE(Control<QCheckBox>(window, "cbxForce")->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(window, "cbxLength")->isChecked());
    EXPECT_EQ(Control<QSpinBox>(window, "udnForce")->value(), 550);
    EXPECT_EQ(Control<QSpinBox>(window, "udnLength")->value(), 150);
}

TEST_F(ForceCurvesTest, ExportedStrokeFileHoldsTheShownCurve)
{
    TfrmForceCurves* window = Open([](TTraining& training) { training.Header.CurveIndex = 3; }, 12, true);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(Main->Client()->activeSubWindow(), window);
    Script.Messages.clear();
    const QString path = QString::fromStdString(Root.Path()) + "export/curve.str";
    Script.FileToSave = path;
    auto* saveAs = Main->findChild<QAction*>("FileSaveAs");
    ASSERT_NE(saveAs, nullptr);
    EXPECT_TRUE(saveAs->isVisible() && saveAs->isEnabled()) << "offered while the force-curve window is active";
    saveAs->trigger();
    ASSERT_EQ(Script.SaveRequests.size(), 1u);
    const TSaveFileRequest& request = Script.SaveRequests[0];
    EXPECT_EQ(request.Caption, "Export stroke file");
    EXPECT_EQ(request.Filters, QStringList({"Stroke files (*.str)", "All files (*.*)"}));
    EXPECT_EQ(request.DefaultSuffix, "str");
    EXPECT_EQ(request.FileName, "piece");
    EXPECT_EQ(request.Folder, Main->LastDir());
    EXPECT_TRUE(Script.Messages.isEmpty()) << Script.Messages.join("|").toStdString();

    TTraining exported;
    ASSERT_TRUE(OpenTrainingFile(path.toStdString(), exported, false));
    ASSERT_GE(exported.Curves.size(), 2u);
    // The file holds the 80 samples the chart shows, in the stroke file's
    // steps of 3.85 N, and the stroke's length in whole centimetres.
    EXPECT_EQ(ReadBytes(path.toStdString()), *StrokeFileBytes(ExportedStrokeTraining(Record(), TCurveScaling{})));
    const TCurvePoints shown = ShownCurvePoints(Record(), TCurveScaling{});
    ASSERT_EQ(shown.size(), 80u);
    for (int k = 0; k < 80; ++k)
        EXPECT_NEAR(exported.Curves[1].Samples[k], shown[static_cast<size_t>(k)].Y, 3.85 / 2 + 0.5) << k;
    EXPECT_NEAR(exported.Strokes[1].StrokeLength, Record().Strokes[3].StrokeLength, 0.5);

    // A file that cannot be written is reported.
    Script.FileToSave = QString::fromStdString(Root.Path()) + "data/piece.stg/curve.str";
    Main->FileSaveAsExecute();
    ASSERT_EQ(Script.Messages.size(), 1);
    EXPECT_TRUE(Script.Messages[0].startsWith("Error writing file")) << Script.Messages[0].toStdString();

    // Without a checked training there is nothing to export.
    Script.Messages.clear();
    window->Trainings()->item(0)->setCheckState(Qt::Unchecked);
    Main->FileSaveAsExecute();
    EXPECT_EQ(Script.Messages, QStringList({"Please select an active curve to export"}));
    EXPECT_EQ(Script.SaveRequests.size(), 2u);
}

TEST_F(ForceCurvesTest, CancelledChartOptionsStillMarkTheTrainingModified)
{
    TfrmChartOptions options;
    TfrmForceCurves* window = Open();
    ASSERT_NE(window, nullptr);
    const TColor colour = Record().Header.Color;
    EXPECT_FALSE(Record().Header.Modified);
    TCancelOptions cancel;
    auto* command = window->findChild<QAction*>("ChartOptions");
    ASSERT_NE(command, nullptr);
    command->trigger();
    EXPECT_EQ(cancel.Shown, 1);
    EXPECT_TRUE(Record().Header.Modified);
    EXPECT_EQ(+Record().Header.Color, colour);
    auto* training = Main->findChild<TfrmTraining*>();
    ASSERT_NE(training, nullptr);
    EXPECT_TRUE(training->findChild<QGroupBox*>("gbxTraining")->title().endsWith(" (*)"));

    // "Active" unchecks the training, as its check box does.
    window->findChild<QAction*>("TrainingActive")->trigger();
    EXPECT_FALSE(Record().Header.Visible);
    EXPECT_EQ(window->Trainings()->item(0)->checkState(), Qt::Unchecked);
}

TEST_F(ForceCurvesTest, AScreenReaderReadsTheCaptionsAndTheButtonNames)
{
    TfrmForceCurves* window = Open();
    ASSERT_NE(window, nullptr);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(window->Trainings());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->childCount(), 1);
    EXPECT_EQ(list->child(0)->text(QAccessible::Name), "2000 m test (1/12)");
    EXPECT_TRUE(list->child(0)->state().checked);
    Click(window, "btbNext");
    EXPECT_EQ(list->child(0)->text(QAccessible::Name), "2000 m test (2/12)");

    const std::pair<const char*, const char*> buttons[] = {
        {"btbFirst", "First"}, {"btbPrevious", "Previous"}, {"btbNext", "Next"}, {"btbLast", "Last"}, {"btbPlay", "Play"}};
    for (const auto& [name, spoken] : buttons) EXPECT_EQ(AccessibleName(Control<QToolButton>(window, name)), spoken);
    EXPECT_EQ(AccessibleName(Control<QScrollBar>(window, "sbrCurves")), "Browse");
    EXPECT_EQ(Control<QToolButton>(window, "btbNext")->toolTip(), "Show next curve of current training");
    EXPECT_EQ(window->windowTitle(), "Force Curves");
    EXPECT_EQ(RowCaption(window->DataGrid(), 0), "2000 m test (2/12)");
}

// --- Beyond one stroke: the curve number, withdrawing, averages with their
// spread, the trail, "All" and the pinned reference ---

namespace {

int CoveredCount(const TLineMask& mask)
{
    int count = 0;
    for (int y = 0; y < mask.Height; ++y)
        for (int x = 0; x < mask.Width; ++x) count += mask.Covered(x, y) ? 1 : 0;
    return count;
}

QPolygonF PolygonOf(const TCurvePoints& points)
{
    QPolygonF polygon;
    for (const TCurvePoint& point : points) polygon << QPointF(point.X, point.Y);
    return polygon;
}

// A training of 12 strokes in three intervals of four.
TTraining ThreeIntervals(const std::string& title)
{
    TTraining training = Demo(12, title, 3);
    SetIntervalCount(training, 3);
    for (size_t k = 0; k < 3; ++k) {
        training.Intervals[k] = TInterval{};
        training.Intervals[k].Number = static_cast<uint16_t>(k + 1);
    }
    for (size_t i = 1; i <= 12; ++i) training.Strokes[i].IntervalNumber = static_cast<uint16_t>((i - 1) / 4 + 1);
    return training;
}

} // namespace

TEST(LineMask, CoversALinesPixelsWithinTheMaskAndNothingElse)
{
    TLineMask row(10, 5);
    row.Line({0, 2}, {9, 2});
    EXPECT_EQ(CoveredCount(row), 10);
    for (int x = 0; x < 10; ++x) EXPECT_TRUE(row.Covered(x, 2)) << x;

    // A diagonal from far outside enters and leaves the mask.
    TLineMask diagonal(10, 10);
    diagonal.Line({-5, -5}, {15, 15});
    EXPECT_EQ(CoveredCount(diagonal), 10);
    for (int k = 0; k < 10; ++k) EXPECT_TRUE(diagonal.Covered(k, k)) << k;

    // A line of huge extent is cut to the mask before it is walked.
    TLineMask huge(10, 10);
    huge.Line({-1e12, 5}, {1e12, 5});
    EXPECT_EQ(CoveredCount(huge), 10);

    // Beside the mask, not a number, or no mask at all: nothing.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    TLineMask outside(10, 10);
    outside.Line({-5, 3}, {-1, 8});
    outside.Line({20, 0}, {30, 9});
    outside.Line({nan, 1}, {5, 5});
    outside.Line({1, 1}, {std::numeric_limits<double>::infinity(), 5});
    EXPECT_EQ(CoveredCount(outside), 0);
    TLineMask none(0, -3);
    none.Line({0, 0}, {5, 5});
    EXPECT_EQ(none.Width, 0);
}

TEST_F(ForceCurvesTest, TheCurveNumberTakesAnyStrokeOfTheTrainingUpToFiveDigits)
{
    Fake.Records = {Demo(10050, "Long", 3)};
    TfrmForceCurves* window = OpenFake();
    auto* entry = Control<QLineEdit>(window, "metCurve");
    EXPECT_EQ(entry->text(), "3");
    const auto type = [entry](const QString& text) {
        entry->selectAll();
        QTest::keyClicks(entry, text);
        QTest::keyClick(entry, Qt::Key_Return);
    };
    type("10040");
    EXPECT_EQ(+Record().Header.CurveIndex, 10040);
    EXPECT_EQ(Caption(window), "Long (10040/10050)");
    EXPECT_EQ(Control<QScrollBar>(window, "sbrCurves")->value(), 10040);
    // Stroke 0 and strokes beyond the last are no strokes: the curve stays.
    for (const char* beyond : {"0", "10051", "65535"}) {
        type(beyond);
        EXPECT_EQ(+Record().Header.CurveIndex, 10040) << beyond;
        EXPECT_EQ(entry->text(), "10040") << beyond;
    }
    type("10050");
    EXPECT_EQ(+Record().Header.CurveIndex, 10050);
    // Six digits cannot be typed.
    type("123456");
    EXPECT_EQ(entry->text().size(), 5);
}

TEST_F(ForceCurvesTest, WithdrawingCurvesMovesOnAndTheLastLeavesNothingToDraw)
{
    TfrmForceCurves* window = Open([](TTraining& training) { training.Header.CurveIndex = 7; });
    ASSERT_NE(window, nullptr);
    auto* withdraw = Control<QToolButton>(window, "btbDelete");
    EXPECT_EQ(AccessibleName(withdraw), "Delete");
    ASSERT_TRUE(withdraw->isEnabled());
    withdraw->click();
    EXPECT_FALSE(Record().Curves[7].Valid);
    EXPECT_EQ(+Record().Header.CurveIndex, 4) << "back to the valid curve before, over 5 and 6";
    auto* training = Main->findChild<TfrmTraining*>();
    ASSERT_NE(training, nullptr);
    EXPECT_TRUE(training->findChild<QGroupBox*>("gbxTraining")->title().endsWith(" (*)"));

    // With the trail, All and the band on, every curve goes; nothing is left to draw.
    Control<QCheckBox>(window, "cbxTrail")->click();
    Control<QCheckBox>(window, "cbxShowAll")->click();
    for (int k = 0; k < 20 && withdraw->isEnabled(); ++k) withdraw->click();
    for (const TForceCurve& curve : Record().Curves) EXPECT_FALSE(curve.Valid);
    EXPECT_TRUE(window->Underlay()->Curves().empty());
    Control<QRadioButton>(window, "rbtBrowseAverage")->click();
    EXPECT_TRUE(window->Underlay()->Bands().empty());
    EXPECT_EQ(ShownBand(Record()).Count, 0u);
}

TEST_F(ForceCurvesTest, TheTrailShowsTheTwoValidStrokesBeforeTheShownOneInLighterTints)
{
    Fake.Records = {Demo(12, "Alpha", 1)};
    TfrmForceCurves* window = OpenFake();
    Control<QCheckBox>(window, "cbxTrail")->click();
    EXPECT_TRUE(window->Underlay()->Curves().empty()) << "nothing before stroke 1";
    Click(window, "btbNext");
    ASSERT_EQ(window->Underlay()->Curves().size(), 1u);

    // Stroke 7: strokes 5 and 6 were withdrawn, so the trail is 4, then 3.
    window->sbrCurvesScroll(7);
    const auto& trail = window->Underlay()->Curves();
    ASSERT_EQ(trail.size(), 2u);
    const TTraining& record = Record();
    const auto points = [&record](size_t k) {
        return PolygonOf(StrokeCurvePoints(record.Strokes[k], record.Curves[k], record.Settings, TCurveScaling{}));
    };
    EXPECT_EQ(trail[0].Points, points(3)) << "the farthest drawn first";
    EXPECT_EQ(trail[1].Points, points(4));
    EXPECT_GT(trail[0].Pen.color().lightness(), trail[1].Pen.color().lightness());

    // An average has no trail; nor has a training without it.
    Control<QRadioButton>(window, "rbtBrowseAverage")->click();
    EXPECT_TRUE(window->Underlay()->Curves().empty());
    Control<QRadioButton>(window, "rbtBrowseCurves")->click();
    EXPECT_EQ(window->Underlay()->Curves().size(), 2u);
    Control<QCheckBox>(window, "cbxTrail")->click();
    EXPECT_TRUE(window->Underlay()->Curves().empty());
}

TEST_F(ForceCurvesTest, TheSpreadBandSurroundsTheShownAverageOfTheSessionOrAnInterval)
{
    Fake.Records = {ThreeIntervals("Alpha"), Demo(12, "Beta")};
    TfrmForceCurves* window = OpenFake();
    auto* spread = Control<QCheckBox>(window, "cbxSpread");
    auto* intervals = Control<QScrollBar>(window, "sbrIntervals");
    EXPECT_TRUE(spread->isChecked());
    EXPECT_TRUE(window->Underlay()->Bands().empty()) << "a single stroke has no band";
    EXPECT_TRUE(Control<QRadioButton>(window, "rbtBrowseIntervals")->isEnabled());
    EXPECT_FALSE(intervals->isEnabled()) << "until an interval is shown";

    const auto expectedOutline = [this] {
        const TCurveBandPoints band = ShownBandPoints(Record(), ShownBand(Record()), TCurveScaling{});
        QPolygonF outline = PolygonOf(band.High);
        for (auto point = band.Low.rbegin(); point != band.Low.rend(); ++point) outline << QPointF(point->X, point->Y);
        return outline;
    };
    Control<QRadioButton>(window, "rbtBrowseAverage")->click();
    ASSERT_EQ(window->Underlay()->Bands().size(), 1u);
    EXPECT_EQ(window->Underlay()->Bands()[0].Outline, expectedOutline());
    EXPECT_EQ(window->Underlay()->Bands()[0].Outline.size(), 160);

    Control<QRadioButton>(window, "rbtBrowseIntervals")->click();
    ASSERT_TRUE(intervals->isEnabled());
    EXPECT_EQ(intervals->minimum(), 0);
    EXPECT_EQ(intervals->maximum(), 2);
    intervals->setValue(2);
    EXPECT_EQ(+Record().Header.CurveInterval, 2);
    EXPECT_EQ(Caption(window), "Alpha [Int 3]");
    ASSERT_EQ(window->Underlay()->Bands().size(), 1u);
    EXPECT_EQ(window->Underlay()->Bands()[0].Outline, expectedOutline());
    EXPECT_EQ(ShownBand(Record()).Count, 4u) << "strokes 9 to 12";

    spread->click();
    EXPECT_TRUE(window->Underlay()->Bands().empty());

    // A training without intervals offers none, and keeps its own interval.
    window->Trainings()->setCurrentRow(1);
    EXPECT_FALSE(Control<QRadioButton>(window, "rbtBrowseIntervals")->isEnabled());
    EXPECT_EQ(intervals->maximum(), 0);
    EXPECT_FALSE(intervals->isEnabled());
    // Told by its header to show an interval it does not have, it shows nothing.
    Record(1).Intervals.clear();
    Record(1).Header.CurveSource = SourceInterval;
    window->clbTrainingsClick();
    EXPECT_TRUE(ShownCurvePoints(Record(1), TCurveScaling{}).empty());
    EXPECT_TRUE(window->Underlay()->Bands().empty());
    EXPECT_EQ(window->DataGrid()->model()->rowCount(), 2);
}

TEST_F(ForceCurvesTest, APinnedCurveStaysThroughBrowsingAndGoesWithItsTraining)
{
    Fake.Records = {Demo(12, "Alpha", 3), Demo(12, "Beta", 2)};
    TfrmForceCurves* window = OpenFake();
    const QTableView* grid = window->DataGrid();
    auto* pin = Control<QPushButton>(window, "btnPin");
    EXPECT_EQ(AccessibleName(pin), "Pin");
    ASSERT_TRUE(pin->isEnabled());
    const TTraining& alpha = Record(0);
    const QPolygonF pinned =
        PolygonOf(StrokeCurvePoints(alpha.Strokes[3], alpha.Curves[3], alpha.Settings, TCurveScaling{}));
    const QStringList pinnedCells = Texts(StrokeRowTexts(alpha.Strokes[3], alpha.Curves[3], alpha.Settings, {}));
    pin->click();
    EXPECT_TRUE(pin->isChecked());

    Click(window, "btbNext");
    Control<QRadioButton>(window, "rbtBrowseAverage")->click();
    ASSERT_EQ(window->Underlay()->Curves().size(), 1u);
    EXPECT_EQ(window->Underlay()->Curves()[0].Points, pinned);
    EXPECT_EQ(window->Underlay()->Curves()[0].Pen.style(), Qt::DashLine);
    ASSERT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(RowCaption(grid, 2), "Alpha (3/12), pinned");
    EXPECT_EQ(RowCells(grid, 2), pinnedCells);

    // Pressed again it lets go; pressed once more it pins what is shown now.
    pin->click();
    EXPECT_FALSE(window->HasPin());
    EXPECT_EQ(grid->model()->rowCount(), 2);
    pin->click();
    EXPECT_EQ(RowCaption(grid, 2), "Alpha [A] (12), pinned");

    // Closing another training keeps it; closing its own drops it.
    Fake.Records.pop_back();
    window->TrainingsClosed();
    EXPECT_TRUE(window->HasPin());
    window->Trainings()->setCurrentRow(0);
    Fake.Records.clear();
    window->TrainingsClosed();
    EXPECT_FALSE(window->HasPin());
    EXPECT_FALSE(pin->isChecked());
}

TEST_F(ForceCurvesTest, CtrlClickOnTheSelectedTrainingKeepsItSelected)
{
    Fake.Records = {Demo(12, "Alpha"), Demo(12, "Beta")};
    TfrmForceCurves* window = OpenFake();
    window->resize(900, 600);
    window->show();
    Settle(20);
    QListWidget* list = window->Trainings();
    const QPoint onText = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, onText);
    EXPECT_TRUE(list->item(0)->isSelected());
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(Control<QToolButton>(window, "btbNext")->isEnabled());
    QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_TRUE(list->item(0)->isSelected());
    // Another item is still taken by a click.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_TRUE(list->item(1)->isSelected());
}

TEST_F(ForceCurvesTest, AllCurvesAreOnePictureMadeAgainOnlyWhenTheyChange)
{
    TfrmForceCurves* window = Open(nullptr, 120, true);
    ASSERT_NE(window, nullptr);
    auto* all = Control<QCheckBox>(window, "cbxShowAll");
    ASSERT_TRUE(all->isEnabled());
    all->click();
    EXPECT_TRUE(Record().Spare2);
    window->Chart()->grab();
    const int made = window->Underlay()->PicturesMade();
    EXPECT_GE(made, 1);
    Click(window, "btbNext");
    window->Chart()->grab();
    EXPECT_EQ(window->Underlay()->PicturesMade(), made) << "a step leaves the picture";
    Click(window, "btbDelete");
    window->Chart()->grab();
    EXPECT_EQ(window->Underlay()->PicturesMade(), made + 1) << "a withdrawn curve leaves it";
    all->click();
    EXPECT_FALSE(Record().Spare2);
}

TEST_F(ForceCurvesTest, SpreadAndTrailAreKeptBetweenSessions)
{
    TfrmForceCurves* window = Open();
    ASSERT_NE(window, nullptr);
    Control<QCheckBox>(window, "cbxSpread")->click();
    Control<QCheckBox>(window, "cbxTrail")->click();
    window->close();
    const QString settings = ReadSettings();
    EXPECT_TRUE(settings.contains("Spread=0")) << settings.toStdString();
    EXPECT_TRUE(settings.contains("Trail=1")) << settings.toStdString();
    Main->ShowForceCurves();
    window = Main->ForceCurves();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(Control<QCheckBox>(window, "cbxSpread")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(window, "cbxTrail")->isChecked());
}
