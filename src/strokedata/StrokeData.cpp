#include "untStrokeData.h"

#include "untCharts.h"
#include "untFiles.h"
#include "untForceCurveData.h"
#include "untFormUtils.h"
#include "untIniFile.h"
#include "untModal.h"
#include "untOpenTrainings.h"
#include "jsUtils.h"

#include <QAccessible>
#include <QCategoryAxis>
#include <QChart>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFormLayout>
#include <QFrame>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTableView>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

const char* const AxisNames[] = {"Stroke number", "Time", "Distance"};
const char* const AxisTitles[] = {"Stroke", "Time (m:s)", "Distance (m)"};
const QColor BandColours[] = {QColor(255, 244, 214), QColor(222, 236, 255)};
const QColor RestColour(150, 150, 150, 90);
const int MaxTicks = 40;
const int TitleField = 4; // DescribeTraining's bit for the title

QString EntryTitle(int entry)
{
    const std::string unit = StrokeUnit(entry);
    const QString name = Text(StrokeParameters[entry].LongName);
    return unit.empty() ? name : QStringLiteral("%1 (%2)").arg(name, Text(unit));
}

// The second value's line: the training's colour and width, dashed, or
// dotted when the training's own line is dashed, so that the two lines of
// one training are told apart whatever its style.
QPen SecondValuePen(const THeader& header)
{
    QPen pen = CurvePen(header);
    if (pen.style() != Qt::NoPen) pen.setStyle(pen.style() == Qt::DashLine ? Qt::DotLine : Qt::DashLine);
    return pen;
}

} // namespace

// The interval bands beneath the lines, or the cursor above them: both span
// the plot area's height at chart x values, mapped by the x axis's range.
class TStrokeOverlay : public QGraphicsItem {
public:
    struct TBand {
        double From, To;
        int Number; // 0 for rest
    };

    TStrokeOverlay(QChart* chart, QValueAxis* axis) : QGraphicsItem(chart), Chart(chart), Axis(axis) {}

    std::vector<TBand> Bands;
    bool IsCursor = false;
    bool CursorShown = false;
    double Cursor = 0;

    double ToPixel(double x) const
    {
        const QRectF plot = Chart->plotArea();
        const double span = Axis->max() - Axis->min();
        return span > 0 ? plot.left() + (x - Axis->min()) / span * plot.width() : plot.left();
    }

    // The plot area moved or what is drawn changed. The bounds change only
    // after the scene was told, so that its index never holds stale ones. The
    // cursor's bounds are a narrow strip around it, so that moving it
    // repaints only the strips it leaves and enters.
    void Changed()
    {
        const QRectF plot = Chart->plotArea();
        QRectF bounds = plot.adjusted(-2, -2, 2, 2);
        if (IsCursor) bounds = CursorShown ? QRectF(ToPixel(Cursor) - 2, plot.top() - 1, 4, plot.height() + 2) : QRectF();
        if (bounds != Bounds) {
            prepareGeometryChange();
            Bounds = bounds;
        }
        update();
    }

    QRectF boundingRect() const override { return Bounds; }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        const QRectF plot = Chart->plotArea();
        painter->save();
        painter->setClipRect(plot);
        // Whole pixels without antialiasing; a band that adds no pixel
        // column to those drawn before it is passed over, so that a long
        // session zoomed out costs no more than the chart's width.
        painter->setRenderHint(QPainter::Antialiasing, false);
        const QFontMetrics metrics = painter->fontMetrics();
        const int minimumForText = metrics.horizontalAdvance(QStringLiteral("0")) + 4;
        int drawnTo[2] = {std::numeric_limits<int>::min(), std::numeric_limits<int>::min()}; // work, rest
        for (const TBand& band : Bands) {
            const double leftX = ToPixel(band.From), rightX = ToPixel(band.To);
            if (rightX < plot.left() || leftX > plot.right()) continue;
            int& drawn = drawnTo[band.Number == 0 ? 1 : 0];
            const int left = std::max(static_cast<int>(std::floor(leftX)), drawn);
            const int right = std::max(static_cast<int>(std::ceil(rightX)), left + 1);
            if (right <= drawn) continue;
            drawn = right;
            const QRect area(left, static_cast<int>(plot.top()), right - left, static_cast<int>(plot.height()));
            if (band.Number == 0) {
                painter->fillRect(area, QBrush(RestColour, Qt::BDiagPattern));
                continue;
            }
            painter->fillRect(area, BandColours[band.Number % 2]);
            // A number only where it fits: zoomed out, a long session has
            // more intervals than the chart has room for numbers.
            if (area.width() < minimumForText) continue;
            const QString number = QString::number(band.Number);
            if (area.width() < metrics.horizontalAdvance(number) + 4) continue;
            painter->setPen(QColor(90, 90, 90));
            painter->drawText(area.adjusted(2, 2, -2, 0), Qt::AlignHCenter | Qt::AlignTop, number);
        }
        if (CursorShown) {
            const double x = ToPixel(Cursor);
            painter->setPen(QPen(QColor(200, 0, 0), 0));
            painter->drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        }
        painter->restore();
    }

private:
    QChart* Chart;
    QValueAxis* Axis;
    QRectF Bounds;
};

// --- The scale dialog ---

TfrmScaleRange::TfrmScaleRange(QWidget* parent) : TFormDialog(parent)
{
    setObjectName("frmScaleRange");
    setWindowTitle(QStringLiteral("Axis scale"));
    auto* form = new QFormLayout(Content());
    cmbMode = new QComboBox(Content());
    cmbMode->setObjectName("cmbMode");
    for (const char* name : ScaleModeNames) cmbMode->addItem(QString::fromLatin1(name));
    SetControlHint(cmbMode,
            QStringLiteral("Scale mode|Auto: fits the values with round ticks. Double: the stored range, doubled in span "
                           "about its middle until every value fits. Manual: exactly the stored minimum, maximum "
                           "and step. Range: the stored range, widened by whole steps until every value fits."));
    const auto number = [this](const char* name, const QString& hint) {
        auto* box = new QDoubleSpinBox(Content());
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(-1e7, 1e7);
        box->setDecimals(3);
        SetControlHint(box, hint);
        return box;
    };
    edtMinimum = number("edtMinimum", QStringLiteral("Minimum|The stored lower end of the axis"));
    edtMaximum = number("edtMaximum", QStringLiteral("Maximum|The stored upper end of the axis"));
    edtStep = number("edtStep", QStringLiteral("Step|The stored distance between two ticks"));
    edtStep->setMinimum(0);
    form->addRow(QStringLiteral("&Mode:"), cmbMode);
    form->addRow(QStringLiteral("M&inimum:"), edtMinimum);
    form->addRow(QStringLiteral("Ma&ximum:"), edtMaximum);
    form->addRow(QStringLiteral("&Step:"), edtStep);
}

void TfrmScaleRange::SetEntry(const ParameterType& entry, int index)
{
    Scale = IsTimeEntry(index) ? 86400.0 : 1.0;
    const QString unit = Scale > 1 ? QStringLiteral(" s") : QString();
    for (QDoubleSpinBox* box : {edtMinimum, edtMaximum, edtStep}) box->setSuffix(unit);
    cmbMode->setCurrentIndex(std::min<int>(entry.ScaleMode, 3));
    edtMinimum->setValue(entry.Minimum * Scale);
    edtMaximum->setValue(entry.Maximum * Scale);
    edtStep->setValue(entry.Step * Scale);
    setWindowTitle(QStringLiteral("Axis scale of %1").arg(Text(entry.LongName)));
}

void TfrmScaleRange::GetEntry(ParameterType& entry) const
{
    entry.ScaleMode = static_cast<uint8_t>(std::max(cmbMode->currentIndex(), 0));
    entry.Minimum = static_cast<float>(edtMinimum->value() / Scale);
    entry.Maximum = static_cast<float>(edtMaximum->value() / Scale);
    entry.Step = static_cast<float>(edtStep->value() / Scale);
}

// --- The window ---

TfrmStrokeData::TfrmStrokeData(TMDIMain* owner, IOpenTrainings& trainings) : TfrmChart(owner, trainings)
{
    setObjectName("frmStrokeData");
    setWindowTitle(QStringLiteral("Stroke Data"));
    // Not "StrokeData": that section holds the value catalogue's ranges.
    FSection = "StrokeDataChart";
    FTrainingsMinimum = 230;
    FTrainingsWidth = 230;
    pnlTrainings->setMinimumWidth(230);
    FChart->setAccessibleName(QStringLiteral("Stroke data chart"));
    FChart->setToolTip(QStringLiteral("Stroke data chart: Left and Right move the cursor, Enter shows the stroke's "
                                      "force curve, drag to zoom, right click or Escape for the whole session"));
    FChart->setFocusPolicy(Qt::StrongFocus);
    FChart->setMouseTracking(true);
    FChart->viewport()->setMouseTracking(true);

    // Axes whose ticks are placed and labelled here (m:s for times). The
    // base's axes are taken off the chart, which gives them up: they go.
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(AxisX), static_cast<QAbstractAxis*>(AxisY)}) {
        ChartData->removeAxis(axis);
        delete axis;
    }
    // The chart's items change with every zoom and tick; a scene this small
    // is searched faster than its index is kept up to date.
    if (FChart->scene()) FChart->scene()->setItemIndexMethod(QGraphicsScene::NoIndex);
    AxisTime = new QCategoryAxis(ChartData);
    AxisValue = new QCategoryAxis(ChartData);
    AxisY2 = new QCategoryAxis(ChartData);
    AxisTime->setObjectName("AxisX");
    AxisValue->setObjectName("AxisY");
    AxisY2->setObjectName("AxisY2");
    ChartData->addAxis(AxisTime, Qt::AlignBottom);
    ChartData->addAxis(AxisValue, Qt::AlignLeft);
    ChartData->addAxis(AxisY2, Qt::AlignRight);
    for (QCategoryAxis* axis : {AxisTime, AxisValue, AxisY2}) {
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        QPen pen = axis->gridLinePen();
        pen.setWidth(0);
        axis->setGridLinePen(pen);
    }
    AxisY2->setGridLineVisible(false);
    AxisY2->setVisible(false);
    AxisX = AxisTime;
    AxisY = AxisValue;
    connect(AxisTime, &QValueAxis::rangeChanged, this, [this] { RefreshView(); });
    connect(AxisValue, &QValueAxis::rangeChanged, this, [this] { RefreshView(); });
    connect(ChartData, &QChart::plotAreaChanged, this, [this] { RefreshView(); });

    Overlay = new TStrokeOverlay(ChartData, AxisTime);
    Overlay->setZValue(3.5); // beneath the lines, above the grid
    auto* cursor = new TStrokeOverlay(ChartData, AxisTime);
    cursor->setZValue(20);
    cursor->IsCursor = true;
    cursor->setData(0, QStringLiteral("cursor"));
    Overlay->setData(1, QVariant::fromValue<void*>(cursor));

    QStringList captions;
    for (const std::string& caption : CurveGridCaptions()) captions << Text(caption);
    DataRows->SetColumnCaptions(captions);
    sgdData->horizontalHeader()->resizeSections(QHeaderView::ResizeToContents);

    CreateChoicePanel();
    FChart->installEventFilter(this);
    FChart->viewport()->installEventFilter(this);
    resize(QSize(800, 560));
    // The window opens with the chart focused, so that the keys move the
    // cursor at once.
    FChart->setFocus(Qt::OtherFocusReason);
}

TfrmStrokeData::~TfrmStrokeData() = default;

void TfrmStrokeData::CreateChoicePanel()
{
    auto* form = new QFormLayout(pnlTraining2);
    form->setContentsMargins(2, 6, 2, 2);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const auto combo = [this](const char* name, const QString& hint) {
        auto* box = new QComboBox(pnlTraining2);
        box->setObjectName(QString::fromLatin1(name));
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(8);
        SetControlHint(box, hint);
        return box;
    };
    cmbValue = combo("cmbValue", QStringLiteral("Value|The stroke value drawn against the left axis"));
    cmbValue2 = combo("cmbValue2", QStringLiteral("Second value|A second stroke value, drawn against the right axis"));
    cmbValue2->addItem(QStringLiteral("(none)"), -1);
    for (int i = 0; i < static_cast<int>(StrokeParameters.size()); ++i) {
        if (i == seNumber) continue;
        cmbValue->addItem(Text(StrokeParameters[i].LongName), i);
        cmbValue2->addItem(Text(StrokeParameters[i].LongName), i);
    }
    cmbValue->setCurrentIndex(std::max(cmbValue->findData(sePower), 0));
    cmbAxis = combo("cmbAxis", QStringLiteral("Against|What the values are drawn against"));
    for (const char* name : AxisNames) cmbAxis->addItem(QString::fromLatin1(name));
    cmbSmoothing = combo("cmbSmoothing", QStringLiteral("Smoothing|Raw values or a moving average over strokes"));
    for (int window : SmoothingWindows)
        cmbSmoothing->addItem(window == 1 ? QStringLiteral("Raw") : QStringLiteral("Average of %1").arg(window), window);
    btnScale = new QPushButton(QStringLiteral("&Scale ..."), pnlTraining2);
    btnScale->setObjectName("btnScale");
    SetControlHint(btnScale, QStringLiteral("Scale|Sets how the left axis of the value is scaled: Auto fits the values, "
                                     "Double doubles the stored range until they fit, Manual keeps the stored "
                                     "range, Range widens it by whole steps"));
    form->addRow(QStringLiteral("Va&lue:"), cmbValue);
    form->addRow(QStringLiteral("Se&cond:"), cmbValue2);
    form->addRow(QStringLiteral("A&gainst:"), cmbAxis);
    form->addRow(QStringLiteral("S&mooth:"), cmbSmoothing);
    form->addRow(QString(), btnScale);
    pnlTraining2->setFixedHeight(form->sizeHint().height());
    pnlTraining2->show();
    for (QComboBox* box : {cmbValue, cmbValue2, cmbAxis, cmbSmoothing})
        connect(box, qOverload<int>(&QComboBox::activated), this, [this] { DrawStrokeData(); });
    connect(btnScale, &QPushButton::clicked, this, &TfrmStrokeData::btnScaleClick);
}

QString TfrmStrokeData::TrainingCaption(int index) const
{
    const TTraining* training = OpenTrainings.TrainingRecord(index);
    if (!training) return QString();
    const int strokes = std::max(static_cast<int>(training->Strokes.size()) - 1, 0);
    return QStringLiteral("%1 (%2)").arg(Text(DescribeTraining(training->Header, TitleField, false))).arg(strokes);
}

int TfrmStrokeData::EntryOf(const QComboBox* box) const { return box->currentData().toInt(); }

QCategoryAxis* TfrmStrokeData::ValueAxis() const { return AxisValue; }

void TfrmStrokeData::pnlChartResize()
{
    TfrmChart::pnlChartResize();
    RefreshView();
}

// --- The list and the refresh ---

void TfrmStrokeData::ReloadTrainings(bool justOpened)
{
    ReloadKeepingSelection(justOpened);
}

void TfrmStrokeData::clbTrainingsClick()
{
    TfrmChart::clbTrainingsClick();
    if (OpenTrainings.OpenTrainingCount() != clbTrainings->count()) return;
    DrawStrokeData();
}

void TfrmStrokeData::clbTrainingsClickCheck()
{
    TfrmChart::clbTrainingsClickCheck();
    DrawStrokeData();
}

void TfrmStrokeData::clbTrainingsDblClick()
{
    TfrmChart::clbTrainingsDblClick();
    DrawStrokeData();
}

int TfrmStrokeData::ReferenceIndex() const
{
    const int selected = SelectedIndex();
    if (selected >= 0 && selected < static_cast<int>(Lines.size()) && !Lines[selected].empty()) return selected;
    for (size_t i = 0; i < Lines.size(); ++i)
        if (!Lines[i].empty()) return static_cast<int>(i);
    return -1;
}

const TStrokePoints& TfrmStrokeData::FullLine(int index) const
{
    static const TStrokePoints none;
    return index >= 0 && index < static_cast<int>(Lines.size()) ? Lines[index] : none;
}

void TfrmStrokeData::DrawStrokeData()
{
    const int count = OpenTrainings.OpenTrainingCount();
    const int entry = EntryOf(cmbValue), entry2 = EntryOf(cmbValue2);
    const auto axis = static_cast<TStrokeAxis>(std::clamp(cmbAxis->currentIndex(), 0, 2));
    const int window = std::max(cmbSmoothing->currentData().toInt(), 1);
    Lines.assign(static_cast<size_t>(std::max(count, 0)), {});
    Lines2.assign(Lines.size(), {});
    double low = 0, high = 0, low2 = 0, high2 = 0;
    bool any = false, any2 = false;
    FullLeft = 0;
    FullRight = 0;
    bool anyX = false;
    for (int i = 0; i < count; ++i) {
        const TTraining* training = OpenTrainings.TrainingRecord(i);
        if (!training || !training->Header.Visible) continue;
        Lines[i] = StrokeLine(*training, entry, axis, window);
        if (entry2 >= 0) Lines2[i] = StrokeLine(*training, entry2, axis, window);
        for (const TStrokePoints* line : {&Lines[i], &Lines2[i]}) {
            if (line->empty()) continue;
            FullLeft = anyX ? std::min(FullLeft, line->front().X) : line->front().X;
            FullRight = anyX ? std::max(FullRight, line->back().X) : line->back().X;
            anyX = true;
        }
        double l = 0, h = 0;
        if (LineLimits(Lines[i], l, h)) {
            low = any ? std::min(low, l) : l;
            high = any ? std::max(high, h) : h;
            any = true;
        }
        if (LineLimits(Lines2[i], l, h)) {
            low2 = any2 ? std::min(low2, l) : l;
            high2 = any2 ? std::max(high2, h) : h;
            any2 = true;
        }
    }
    if (!(FullRight > FullLeft)) {
        FullLeft -= 1;
        FullRight += 1;
    }
    const double nan = std::nan("");
    Range1 = EntryRange(StrokeParameters[std::max(entry, 0)], entry, any ? low : nan, any ? high : nan);
    Range2 = entry2 >= 0 ? EntryRange(StrokeParameters[entry2], entry2, any2 ? low2 : nan, any2 ? high2 : nan)
                         : TValueRange{};

    AxisTime->setTitleText(QString::fromLatin1(AxisTitles[axis]));
    AxisValue->setTitleText(entry >= 0 ? EntryTitle(entry) : QString());
    AxisValue->setReverse(Range1.Reversed);
    AxisY2->setVisible(entry2 >= 0);
    AxisY2->setTitleText(entry2 >= 0 ? EntryTitle(entry2) : QString());
    AxisY2->setReverse(Range2.Reversed);

    // The lines of the second value, against the right axis.
    while (Series2.size() < Lines.size()) {
        auto* series = new QLineSeries(ChartData);
        series->setObjectName(QStringLiteral("Second%1").arg(Series2.size()));
        ChartData->addSeries(series);
        series->attachAxis(AxisTime);
        series->attachAxis(AxisY2);
        Series2.push_back(series);
    }
    while (Series2.size() > Lines.size()) {
        ChartData->removeSeries(Series2.back());
        delete Series2.back();
        Series2.pop_back();
    }
    for (int i = 0; i < count; ++i) {
        const TTraining* training = OpenTrainings.TrainingRecord(i);
        if (!training) continue;
        ShowTrainingSeries(i, {}, training->Header); // made with the pen; filled by RefreshView
        Series2[i]->setPen(SecondValuePen(training->Header));
    }
    TrimTrainingSeries(count);

    // The interval bands and rest strokes of the reference training.
    Overlay->Bands.clear();
    const int reference = ReferenceIndex();
    if (reference >= 0) {
        const TStrokePoints& line = Lines[reference];
        const std::vector<TIntervalSpan> spans = IntervalSpans(line);
        if (!spans.empty()) {
            for (const TIntervalSpan& span : spans) Overlay->Bands.push_back({span.From, span.To, span.Number});
            // Runs of rest strokes, hatched.
            for (size_t i = 0; i < line.size();) {
                if (line[i].Interval != 0) {
                    ++i;
                    continue;
                }
                const size_t first = i;
                while (i < line.size() && line[i].Interval == 0) ++i;
                Overlay->Bands.push_back({line[first].X, line[i - 1].X, 0});
            }
        }
    }

    // The same axes as last time keep a zoom (a stroke picked from a zoomed
    // chart redraws the window); anything else shows the whole session.
    const TDrawnKey key{axis, entry, entry2, FullLeft, FullRight, Range1.Minimum, Range1.Maximum,
                        Range2.Minimum, Range2.Maximum};
    if (!(key == Drawn) || !ChartData->isZoomed()) {
        const QSignalBlocker quietX(AxisTime), quietY(AxisValue);
        ChartData->zoomReset();
        AxisTime->setRange(FullLeft, FullRight);
        AxisValue->setRange(Range1.Minimum, Range1.Maximum);
        AxisY2->setRange(Range2.Minimum, Range2.Maximum);
        Drawn = key;
    }
    if (HasCursor) SetCursorX(FCursorX);
    RefreshView();
    FillGrid();
}

bool TfrmStrokeData::SetTicks(QCategoryAxis& axis, double minimum, double maximum, double step, bool time)
{
    const QStringList before = axis.categoriesLabels();
    const auto changed = [&] { return axis.categoriesLabels() != before; };
    for (const QString& label : before) axis.remove(label);
    if (!(maximum > minimum) || !(step > 0)) return changed();
    // No more ticks than their labels have room for along the axis; the
    // chart would cut labels that do not fit to "...".
    const QRectF plot = ChartData->plotArea();
    const QFontMetrics metrics(axis.labelsFont());
    const bool horizontal = &axis == AxisTime;
    const double room = horizontal ? metrics.horizontalAdvance(QStringLiteral("00:00.0")) + 12 : 2.2 * metrics.height();
    const int fitting = std::clamp(static_cast<int>((horizontal ? plot.width() : plot.height()) / room), 2, MaxTicks);
    while ((maximum - minimum) / step > fitting) {
        const double wider = RoundRange(minimum, maximum, fitting, time).Step;
        step = wider > step ? wider : step * 2;
    }
    axis.setStartValue(minimum - step);
    const double first = std::ceil(minimum / step - 1e-9) * step;
    for (double tick = first; tick <= maximum + step * 1e-9; tick += step)
        axis.append(Text(TickText(tick, step, time)), tick);
    return changed();
}

void TfrmStrokeData::RefreshView()
{
    if (Refreshing || !cmbAxis || !Overlay) return;
    Refreshing = true;
    const QSignalBlocker quietX(AxisTime), quietY(AxisValue);
    const double left = AxisTime->min(), right = AxisTime->max();
    const int columns = std::max(static_cast<int>(ChartData->plotArea().width()), 100);
    const auto points = [&](const TStrokePoints& line) {
        const TStrokePoints reduced = ReduceLine(line, left, right, columns);
        QList<QPointF> chart;
        chart.reserve(static_cast<qsizetype>(reduced.size()));
        for (const TStrokePoint& point : reduced) chart.append(QPointF(point.X, point.Y));
        return chart;
    };
    const int count = std::min<int>(static_cast<int>(Lines.size()), OpenTrainings.OpenTrainingCount());
    for (int i = 0; i < count; ++i) {
        const TTraining* training = OpenTrainings.TrainingRecord(i);
        if (!training) continue;
        ShowTrainingSeries(i, points(Lines[i]), training->Header);
        if (i < static_cast<int>(Series2.size())) {
            const QList<QPointF> second = points(Lines2[i]);
            Series2[i]->replace(second);
            Series2[i]->setVisible(!second.isEmpty());
        }
    }
    const bool zoomed = ChartData->isZoomed();
    const auto axis = static_cast<TStrokeAxis>(std::clamp(cmbAxis->currentIndex(), 0, 2));
    SetTicks(*AxisTime, left, right, RoundRange(left, right, 8, axis == saTime).Step, axis == saTime);
    const int entry = EntryOf(cmbValue), entry2 = EntryOf(cmbValue2);
    const double low = AxisValue->min(), high = AxisValue->max();
    SetTicks(*AxisValue, low, high, zoomed ? RoundRange(low, high, 8, IsTimeEntry(entry)).Step : Range1.Step,
             IsTimeEntry(entry));
    if (entry2 >= 0)
        SetTicks(*AxisY2, AxisY2->min(), AxisY2->max(),
                 zoomed ? RoundRange(AxisY2->min(), AxisY2->max(), 8, IsTimeEntry(entry2)).Step : Range2.Step,
                 IsTimeEntry(entry2));
    // The chart measures an axis when its title or font changes, not when
    // its labels do: when the widest label of a value axis changed, the axes
    // are measured again once the current work is done.
    const auto widest = [](QCategoryAxis& valueAxis) {
        const QFontMetrics metrics(valueAxis.labelsFont());
        int width = 0;
        for (const QString& label : valueAxis.categoriesLabels()) width = std::max(width, metrics.horizontalAdvance(label));
        return width;
    };
    const QPair<int, int> widths(widest(*AxisValue), widest(*AxisY2));
    if (widths != LabelWidths) {
        LabelWidths = widths;
        // A title set anew is what makes the chart measure the axis again.
        QMetaObject::invokeMethod(
            this,
            [this] {
                for (QCategoryAxis* valueAxis : {AxisValue, AxisY2}) {
                    const QString title = valueAxis->titleText();
                    valueAxis->setTitleText(title + QLatin1Char(' '));
                    valueAxis->setTitleText(title);
                }
            },
            Qt::QueuedConnection);
    }
    Overlay->Changed();
    if (auto* cursor = static_cast<TStrokeOverlay*>(Overlay->data(1).value<void*>())) cursor->Changed();
    Refreshing = false;
}

// --- The cursor ---

int TfrmStrokeData::CursorStroke() const
{
    const TStrokePoints& line = FullLine(ReferenceIndex());
    if (!HasCursor || line.empty()) return 0;
    return line[NearestPoint(line, FCursorX)].Stroke;
}

void TfrmStrokeData::SetCursorX(double x)
{
    const TStrokePoints& line = FullLine(ReferenceIndex());
    auto* cursor = static_cast<TStrokeOverlay*>(Overlay->data(1).value<void*>());
    if (line.empty() || !std::isfinite(x)) {
        HasCursor = false;
        cursor->CursorShown = false;
        cursor->Changed();
        FillGrid();
        DescribeCursor();
        return;
    }
    FCursorX = line[NearestPoint(line, x)].X;
    HasCursor = true;
    cursor->CursorShown = true;
    cursor->Cursor = FCursorX;
    cursor->update(); // the strip it leaves
    cursor->Changed();
    FillGrid();
    DescribeCursor();
}

void TfrmStrokeData::DescribeCursor()
{
    QString text;
    const int reference = ReferenceIndex();
    const TStrokePoints& line = FullLine(reference);
    if (HasCursor && !line.empty()) {
        const int stroke = line[NearestPoint(line, FCursorX)].Stroke;
        text = QStringLiteral("Stroke %1").arg(stroke);
        // A line leaves out the strokes whose value is no number, so the
        // stroke is looked up by its number.
        const auto add = [&](const TStrokePoints& values, int entry) {
            const auto found = std::lower_bound(values.begin(), values.end(), stroke,
                                                [](const TStrokePoint& point, int s) { return point.Stroke < s; });
            if (entry < 0 || found == values.end() || found->Stroke != stroke) return;
            text += QStringLiteral("; %1 %2").arg(EntryTitle(entry), Text(TickText(found->Y, 0.1, IsTimeEntry(entry))));
        };
        add(line, EntryOf(cmbValue));
        if (reference < static_cast<int>(Lines2.size())) add(Lines2[reference], EntryOf(cmbValue2));
    }
    if (FChart->accessibleDescription() == text) return;
    FChart->setAccessibleDescription(text);
    QAccessibleEvent changed(FChart, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

void TfrmStrokeData::StepCursor(int strokes)
{
    const TStrokePoints& line = FullLine(ReferenceIndex());
    if (line.empty()) return;
    // Without a cursor, the first step puts it on the stroke the training
    // shows in the force-curve window, else comes in from the edge.
    if (!HasCursor && std::abs(strokes) == 1) {
        const TTraining* training = OpenTrainings.TrainingRecord(ReferenceIndex());
        const int shown = training ? training->Header.CurveIndex : 0;
        const auto found = std::find_if(line.begin(), line.end(),
                                        [shown](const TStrokePoint& point) { return point.Stroke == shown; });
        if (shown > 0 && found != line.end()) {
            SetCursorX(found->X);
            return;
        }
    }
    int at = HasCursor ? NearestPoint(line, FCursorX) : (strokes > 0 ? -1 : static_cast<int>(line.size()));
    // Strokes that share an x (a damaged time) are stepped over as one place.
    at = std::clamp(at + strokes, 0, static_cast<int>(line.size()) - 1);
    if (HasCursor && line[at].X == FCursorX && strokes != 0) {
        while (at > 0 && at < static_cast<int>(line.size()) - 1 && line[at].X == FCursorX) at += strokes > 0 ? 1 : -1;
    }
    SetCursorX(line[at].X);
    // A cursor moved out of a zoomed view brings the view along.
    if (FCursorX < AxisTime->min() || FCursorX > AxisTime->max()) {
        const double span = AxisTime->max() - AxisTime->min();
        ZoomTo(FCursorX - span / 2, FCursorX + span / 2);
    }
}

void TfrmStrokeData::PickCursorStroke()
{
    const int reference = ReferenceIndex();
    const int stroke = CursorStroke();
    TTraining* training = OpenTrainings.TrainingRecord(reference);
    if (!training || stroke <= 0) return;
    training->Header.CurveIndex = stroke;
    training->Header.CurveSource = 0;
    OpenTrainings.RefreshForceCurveList();
}

void TfrmStrokeData::FillGrid()
{
    BuildDataRows();
    int row = 0;
    const TCurveScaling scaling;
    for (int i = 0; i < OpenTrainings.OpenTrainingCount(); ++i) {
        const TTraining* training = OpenTrainings.TrainingRecord(i);
        if (!training || !training->Header.Visible) continue;
        const TStrokePoints& line = FullLine(i);
        if (!HasCursor || line.empty()) {
            DataRows->ClearCells(row++);
            continue;
        }
        const size_t stroke = static_cast<size_t>(line[NearestPoint(line, FCursorX)].Stroke);
        const TForceCurve curve = stroke < training->Curves.size() ? training->Curves[stroke] : TForceCurve{};
        QStringList cells;
        for (const std::string& text : StrokeRowTexts(training->Strokes[stroke], curve, training->Settings, scaling))
            cells << Text(text);
        DataRows->SetCells(row++, cells);
    }
}

// --- Zoom ---

void TfrmStrokeData::ZoomTo(double left, double right)
{
    if (!(right > left)) return;
    const QRectF plot = ChartData->plotArea();
    const double span = AxisTime->max() - AxisTime->min();
    if (!(span > 0) || plot.width() <= 0) return;
    const double from = plot.left() + (left - AxisTime->min()) / span * plot.width();
    const double to = plot.left() + (right - AxisTime->min()) / span * plot.width();
    ChartData->zoomIn(QRectF(from, plot.top(), to - from, plot.height()));
    RefreshView();
}

void TfrmStrokeData::ZoomReset()
{
    ChartData->zoomReset();
    RefreshView();
}

bool TfrmStrokeData::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FChart && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int strokes = key->modifiers().testFlag(Qt::ShiftModifier) ? 10 : 1;
        switch (key->key()) {
        case Qt::Key_Left: StepCursor(-strokes); return true;
        case Qt::Key_Right: StepCursor(strokes); return true;
        case Qt::Key_Home: StepCursor(-(1 << 30)); return true;
        case Qt::Key_End: StepCursor(1 << 30); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: PickCursorStroke(); return true;
        case Qt::Key_Escape: ZoomReset(); return true;
        default: break;
        }
    }
    if (watched == FChart->viewport()) {
        const auto valueAt = [this](const QPointF& at) {
            const QPointF scene = FChart->mapToScene(at.toPoint());
            const QRectF plot = ChartData->plotArea();
            const double span = AxisTime->max() - AxisTime->min();
            return plot.width() > 0 ? AxisTime->min() + (scene.x() - plot.left()) / plot.width() * span : 0.0;
        };
        if (event->type() == QEvent::MouseMove) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->buttons() == Qt::NoButton && ChartData->plotArea().contains(FChart->mapToScene(mouse->pos())))
                SetCursorX(valueAt(mouse->position()));
        } else if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            PressedAt = mouse->pos();
            FChart->setFocus(Qt::MouseFocusReason);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && (mouse->pos() - PressedAt).manhattanLength() < 4) {
                SetCursorX(valueAt(mouse->position()));
                PickCursorStroke();
            }
        }
    }
    return TfrmChart::eventFilter(watched, event);
}

// --- Scale, layout and colours ---

void TfrmStrokeData::btnScaleClick()
{
    const int entry = EntryOf(cmbValue);
    if (entry < 0 || entry >= static_cast<int>(StrokeParameters.size())) return;
    TfrmScaleRange dialog(this);
    dialog.SetEntry(StrokeParameters[entry], entry);
    if (ExecModal(dialog) != QDialog::Accepted) return;
    dialog.GetEntry(StrokeParameters[entry]);
    const std::string file = SettingsFileName(true);
    if (!file.empty()) SaveParameterSettings(file, StrokeDataSection, StrokeParameters, StoredStrokeParameterCount);
    DrawStrokeData();
}

void TfrmStrokeData::LoadLayout(const std::string& settingsFile, int placement)
{
    TfrmChart::LoadLayout(settingsFile, placement);
    if (FSection.empty() || !FileExists(settingsFile)) return;
    const TIniFile ini(settingsFile);
    const int value = ini.ReadInteger(FSection, "Value", EntryOf(cmbValue));
    const int value2 = ini.ReadInteger(FSection, "Value2", EntryOf(cmbValue2));
    if (cmbValue->findData(value) >= 0) cmbValue->setCurrentIndex(cmbValue->findData(value));
    if (cmbValue2->findData(value2) >= 0) cmbValue2->setCurrentIndex(cmbValue2->findData(value2));
    const int axis = ini.ReadInteger(FSection, "Against", cmbAxis->currentIndex());
    if (axis >= 0 && axis < cmbAxis->count()) cmbAxis->setCurrentIndex(axis);
    const int window = ini.ReadInteger(FSection, "Smoothing", cmbSmoothing->currentData().toInt());
    if (cmbSmoothing->findData(window) >= 0) cmbSmoothing->setCurrentIndex(cmbSmoothing->findData(window));
}

void TfrmStrokeData::SaveLayout(const std::string& settingsFile)
{
    TfrmChart::SaveLayout(settingsFile);
    if (FSection.empty() || settingsFile.empty() || !IsFileWritable(settingsFile)) return;
    TIniFile ini(settingsFile);
    ini.WriteInteger(FSection, "Value", EntryOf(cmbValue));
    ini.WriteInteger(FSection, "Value2", EntryOf(cmbValue2));
    ini.WriteInteger(FSection, "Against", cmbAxis->currentIndex());
    ini.WriteInteger(FSection, "Smoothing", cmbSmoothing->currentData().toInt());
    ini.UpdateFile();
}

void TfrmStrokeData::ApplyColors(const QFont& font, const QColor& text, const QColor& control, const QColor& form)
{
    TfrmChart::ApplyColors(font, text, control, form);
    AxisY2->setLabelsFont(font);
    QFont title = font;
    title.setBold(true);
    AxisY2->setTitleFont(title);
    AxisY2->setLabelsColor(text);
    AxisY2->setTitleBrush(text);
    pnlTraining2->setFixedHeight(pnlTraining2->layout()->sizeHint().height());
}

QList<QPointF> TfrmStrokeData::ShownPoints(int index) const
{
    const QLineSeries* series = TrainingSeries(index);
    return series && series->isVisible() ? series->points() : QList<QPointF>{};
}
