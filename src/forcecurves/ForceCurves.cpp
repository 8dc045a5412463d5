#include "untForceCurves.h"

#include "untFormUtils.h"

#include "jsUtils.h"
#include "untCurveUnderlay.h"
#include "untFixedAxes.h"
#include "untCharts.h"
#include "untFiles.h"
#include "untIniFile.h"
#include "untLineSample.h"
#include "untMDIMain.h"
#include "untModal.h"
#include "untOpenTrainings.h"

#include <QChart>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

// The curve scroll bar spans up to 65,535 curves, so most steps move its
// handle by less than a pixel; it is repainted only when what it shows
// changes: the handle's place, or an end reached or left.
class TCurveScrollBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void sliderChange(SliderChange change) override
    {
        if (change == SliderValueChange && PaintedLook == Look()) return;
        QScrollBar::sliderChange(change);
    }

    void paintEvent(QPaintEvent* event) override
    {
        PaintedLook = Look();
        QScrollBar::paintEvent(event);
    }

private:
    struct TLook {
        QRect Handle;
        bool AtMinimum = false, AtMaximum = false;
        bool operator==(const TLook& other) const
        {
            return Handle == other.Handle && AtMinimum == other.AtMinimum && AtMaximum == other.AtMaximum;
        }
    };
    TLook PaintedLook;

    TLook Look() const
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
                value() == minimum(), value() == maximum()};
    }
};

// The browse and play glyphs, drawn here: a bar and a triangle for first and
// last, a triangle for previous and next, a green triangle for play and a
// square for stop, a red cross for delete. Disabled buttons get the style's
// greyed version.
enum TGlyph { glFirst, glPrevious, glNext, glLast, glPlay, glStop, glDelete };

QIcon Glyph(TGlyph glyph)
{
    const int size = 16;
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QColor ink(32, 32, 32);
    const auto triangle = [&painter](double tipX, double baseX, const QColor& colour) {
        QPainterPath path;
        path.moveTo(tipX, 8);
        path.lineTo(baseX, 2.5);
        path.lineTo(baseX, 13.5);
        path.closeSubpath();
        painter.fillPath(path, colour);
    };
    switch (glyph) {
    case glFirst:
        painter.fillRect(QRectF(3, 2.5, 2, 11), ink);
        triangle(5.5, 13, ink);
        break;
    case glPrevious: triangle(4, 12, ink); break;
    case glNext: triangle(12, 4, ink); break;
    case glLast:
        triangle(10.5, 3, ink);
        painter.fillRect(QRectF(11, 2.5, 2, 11), ink);
        break;
    case glPlay: triangle(13, 4, QColor(0, 128, 0)); break;
    case glStop: painter.fillRect(QRectF(4, 4, 8, 8), QColor(160, 0, 0)); break;
    case glDelete:
        painter.setPen(QPen(QColor(160, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5));
        painter.drawLine(QPointF(11.5, 4.5), QPointF(4.5, 11.5));
        break;
    }
    painter.end();
    return QIcon(picture);
}

QToolButton* NewGlyphButton(QWidget* parent, const char* name, TGlyph glyph, const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(HintShortPart(hint));
    button->setIcon(Glyph(glyph));
    button->setIconSize(QSize(16, 16));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    SetControlHint(button, hint);
    return button;
}

int LastStroke(const TTraining& training) { return std::max(static_cast<int>(training.Strokes.size()) - 1, 0); }

QList<QPointF> ChartPoints(const TCurvePoints& points)
{
    QList<QPointF> chart;
    chart.reserve(static_cast<qsizetype>(points.size()));
    for (const TCurvePoint& point : points) chart.append(QPointF(point.X, point.Y));
    return chart;
}

const int ButtonHeight = 25;
// The heights of the browse panels below the curve browser.
const int AveragePanelHeight = 26;
const int IntervalsPanelHeight = 50;
const int ShowOptionsPanelHeight = 30;

// The strokes a trail shows, and how far each is lightened towards white.
const size_t TrailLength = 2;
const double TrailTints[TrailLength] = {0.45, 0.7};
// The pinned reference's pen.
const QColor PinnedColour(128, 128, 128);
const int PinnedWidth = 2;
// How opaque the spread band is over the chart.
const int BandAlpha = 64;

QColor Tinted(const QColor& colour, double towardsWhite)
{
    const auto mix = [towardsWhite](int channel) {
        return static_cast<int>(std::lround(channel + (255 - channel) * towardsWhite));
    };
    return QColor(mix(colour.red()), mix(colour.green()), mix(colour.blue()));
}

QPolygonF Polygon(const TCurvePoints& points)
{
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const TCurvePoint& point : points) polygon << QPointF(point.X, point.Y);
    return polygon;
}

// The band's outline: along its upper edge, then back along its lower one.
QPolygonF BandOutline(const TCurveBandPoints& band)
{
    QPolygonF outline = Polygon(band.High);
    for (auto point = band.Low.rbegin(); point != band.Low.rend(); ++point) outline << QPointF(point->X, point->Y);
    return outline;
}

QPen PinnedPen() { return QPen(PinnedColour, PinnedWidth, Qt::DashLine); }

TSamples AverageSamplesOf(const TTraining& training)
{
    return training.Curves.empty() ? TSamples{} : SamplesOf(training.Curves[0]);
}

} // namespace

TfrmForceCurves::TfrmForceCurves(TMDIMain* owner, IOpenTrainings& trainings) : TfrmChart(owner, trainings)
{
    setObjectName("frmForceCurves");
    setWindowTitle(QStringLiteral("Force Curves"));
    FSection = "ForceCurves";
    FSquare = true;
    FTrainingsMinimum = 230;
    FTrainingsWidth = 230;
    pnlTrainings->setMinimumWidth(230);
    FChart->setAccessibleName(QStringLiteral("Force curves chart"));
    FChart->setToolTip(QStringLiteral("Force curves chart"));
    ShiftDown = [] {
        return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier) ||
               QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier);
    };

    FAxes = new TFixedAxes(ChartData, AxisX, AxisY);
    TFixedAxes::SetAxis(*AxisX, 176, 10, QStringLiteral("Strokelength (cm)"));
    TFixedAxes::SetAxis(*AxisY, ForceAxisTop, ForceAxisStep, QStringLiteral("Force (N)"));

    QStringList captions;
    for (const std::string& caption : CurveGridCaptions()) captions << Text(caption);
    DataRows->SetColumnCaptions(captions);
    sgdData->horizontalHeader()->resizeSections(QHeaderView::ResizeToContents);

    FUnderlay = new TCurveUnderlay(ChartData, AxisX, AxisY);
    FUnderlay->setObjectName("Underlay");
    CreateBrowsePanels();
    CreateFixedValuesPanel();
    cbxSquare = new QCheckBox(QStringLiteral("Square"), FChart);
    cbxSquare->setObjectName("cbxSquare");
    cbxSquare->setChecked(FSquare);
    cbxSquare->adjustSize();
    connect(cbxSquare, &QCheckBox::clicked, this, &TfrmForceCurves::cbxSquareClick);

    tmrPlay = new QTimer(this);
    tmrPlay->setObjectName("tmrPlay");
    tmrPlay->setInterval(500);
    connect(tmrPlay, &QTimer::timeout, this, &TfrmForceCurves::tmrPlayTimer);

    pnlTraining4->installEventFilter(this);
    pnlTraining3->installEventFilter(this);
    pnlTraining4Resize();
    pnlTraining3Resize();
    SetPlayGlyph(true);
    // The client area of a new window before the main window places it.
    resize(QSize(565, 476) + QSize(8, 30));
}

TfrmForceCurves::~TfrmForceCurves() = default;

void TfrmForceCurves::CreateBrowsePanels()
{
    pnlBrowseCurves = new QFrame(pnlTraining4);
    pnlBrowseCurves->setObjectName("pnlBrowseCurves");
    pnlBrowseCurves->setFrameShape(QFrame::NoFrame);
    btbFirst = NewGlyphButton(pnlBrowseCurves, "btbFirst", glFirst,
                              QStringLiteral("First|Show first curve of current training"));
    btbPrevious = NewGlyphButton(pnlBrowseCurves, "btbPrevious", glPrevious,
                                 QStringLiteral("Previous|Show previous curve of current training"));
    btbNext = NewGlyphButton(pnlBrowseCurves, "btbNext", glNext,
                             QStringLiteral("Next|Show next curve of current training"));
    btbLast = NewGlyphButton(pnlBrowseCurves, "btbLast", glLast,
                             QStringLiteral("Last|Show last curve of current training"));
    sbrCurves = new TCurveScrollBar(Qt::Horizontal, pnlBrowseCurves);
    sbrCurves->setObjectName("sbrCurves");
    SetControlHint(sbrCurves, QStringLiteral("Browse|Browse through curves of current training"));
    sbrCurves->setRange(1, 1);
    sbrCurves->setPageStep(10);
    btbPlay = NewGlyphButton(pnlBrowseCurves, "btbPlay", glPlay, QStringLiteral("Play|Play animation"));
    rbtBrowseCurves = new QRadioButton(QStringLiteral("Browse curves"), pnlBrowseCurves);
    rbtBrowseCurves->setObjectName("rbtBrowseCurves");
    // A training holds up to 65,535 strokes: five digits.
    metCurve = new QLineEdit(pnlBrowseCurves);
    metCurve->setObjectName("metCurve");
    metCurve->setMaxLength(5);
    metCurve->setValidator(new QIntValidator(0, 65535, metCurve));
    SetControlHint(metCurve, QStringLiteral("Curve|Change curve number of current training"));
    btbDelete = NewGlyphButton(pnlBrowseCurves, "btbDelete", glDelete,
                               QStringLiteral("Delete|Delete curve of current training"));

    pnlBrowseAverage = new QFrame(pnlTraining4);
    pnlBrowseAverage->setObjectName("pnlBrowseAverage");
    rbtBrowseAverage = new QRadioButton(QStringLiteral("Session average"), pnlBrowseAverage);
    rbtBrowseAverage->setObjectName("rbtBrowseAverage");
    pnlBrowseIntervals = new QFrame(pnlTraining4);
    pnlBrowseIntervals->setObjectName("pnlBrowseIntervals");
    rbtBrowseIntervals = new QRadioButton(QStringLiteral("Browse intervals"), pnlBrowseIntervals);
    rbtBrowseIntervals->setObjectName("rbtBrowseIntervals");
    sbrIntervals = new QScrollBar(Qt::Horizontal, pnlBrowseIntervals);
    sbrIntervals->setObjectName("sbrIntervals");
    sbrIntervals->setAccessibleName(QStringLiteral("Intervals"));
    sbrIntervals->setRange(0, 0);
    sbrIntervals->setPageStep(1);

    pnlShowOptions = new QFrame(pnlTraining4);
    pnlShowOptions->setObjectName("pnlShowOptions");
    cbxShowAll = new QCheckBox(QStringLiteral("All"), pnlShowOptions);
    cbxShowAll->setObjectName("cbxShowAll");
    SetControlHint(cbxShowAll, QStringLiteral("All|Show all curves of current training beneath the shown one"));
    cbxTrail = new QCheckBox(QStringLiteral("Trail"), pnlShowOptions);
    cbxTrail->setObjectName("cbxTrail");
    SetControlHint(cbxTrail, QStringLiteral("Trail|Show the two previous curves in lighter tints"));
    cbxSpread = new QCheckBox(QStringLiteral("Spread"), pnlBrowseAverage);
    cbxSpread->setObjectName("cbxSpread");
    SetControlHint(cbxSpread, QStringLiteral("Spread|Show how the strokes of an average spread (10th to 90th percentile)"));
    cbxSpread->setChecked(true);
    btnPin = new QPushButton(QStringLiteral("Pin"), pnlShowOptions);
    btnPin->setObjectName("btnPin");
    btnPin->setCheckable(true);
    SetControlHint(btnPin, QStringLiteral("Pin|Keep the shown curve as a reference"));
    // The three sources are exclusive by the refresh, which may also leave
    // all three unchecked.
    for (QRadioButton* source : {rbtBrowseCurves, rbtBrowseAverage, rbtBrowseIntervals}) source->setAutoExclusive(false);

    connect(btbFirst, &QToolButton::clicked, this, &TfrmForceCurves::btbFirstClick);
    connect(btbPrevious, &QToolButton::clicked, this, &TfrmForceCurves::btbPreviousClick);
    connect(btbNext, &QToolButton::clicked, this, &TfrmForceCurves::btbNextClick);
    connect(btbLast, &QToolButton::clicked, this, &TfrmForceCurves::btbLastClick);
    connect(btbPlay, &QToolButton::clicked, this, &TfrmForceCurves::btbPlayClick);
    // Every change of the position by the user (arrows, page clicks, keys,
    // the wheel, and each move of a drag) arrives here; the refresh sets the
    // position with the signals blocked.
    connect(sbrCurves, &QScrollBar::valueChanged, this, &TfrmForceCurves::sbrCurvesScroll);
    connect(btbDelete, &QToolButton::clicked, this, &TfrmForceCurves::btbDeleteClick);
    connect(cbxShowAll, &QCheckBox::clicked, this, &TfrmForceCurves::cbxShowAllClick);
    connect(metCurve, &QLineEdit::editingFinished, this, &TfrmForceCurves::metCurveExit);
    connect(rbtBrowseCurves, &QRadioButton::clicked, this, [this] { SetCurveSource(SourceStroke); });
    connect(rbtBrowseAverage, &QRadioButton::clicked, this, [this] { SetCurveSource(SourceAverage); });
    connect(rbtBrowseIntervals, &QRadioButton::clicked, this, [this] { SetCurveSource(SourceInterval); });
    connect(sbrIntervals, &QScrollBar::valueChanged, this, &TfrmForceCurves::sbrIntervalsScroll);
    connect(cbxTrail, &QCheckBox::clicked, this, &TfrmForceCurves::cbxTrailClick);
    connect(cbxSpread, &QCheckBox::clicked, this, &TfrmForceCurves::cbxSpreadClick);
    connect(btnPin, &QPushButton::clicked, this, &TfrmForceCurves::btnPinClick);

    // Keys move through the controls in the order they are read.
    QWidget* order[] = {rbtBrowseCurves, metCurve,   btbDelete,          btbFirst,     btbPrevious,
                        btbNext,         btbLast,    sbrCurves,          btbPlay,      rbtBrowseAverage,
                        cbxSpread,       rbtBrowseIntervals, sbrIntervals, cbxShowAll, cbxTrail, btnPin};
    for (size_t k = 1; k < std::size(order); ++k) setTabOrder(order[k - 1], order[k]);
}

void TfrmForceCurves::CreateFixedValuesPanel()
{
    const auto row = [this](const char* boxName, const QString& caption, const QString& hint, const char* editName,
                            const char* spinName, int maximum, int step, int value, QCheckBox*& box,
                            QLineEdit*& edit, QSpinBox*& spin) {
        box = new QCheckBox(caption, pnlTraining3);
        box->setObjectName(QString::fromLatin1(boxName));
        box->setToolTip(hint);
        edit = new QLineEdit(QString::number(value), pnlTraining3);
        edit->setObjectName(QString::fromLatin1(editName));
        edit->setAccessibleName(caption);
        edit->setValidator(new QIntValidator(0, maximum, edit));
        spin = new QSpinBox(pnlTraining3);
        spin->setObjectName(QString::fromLatin1(spinName));
        spin->setAccessibleName(caption);
        spin->setRange(0, maximum);
        spin->setSingleStep(step);
        spin->setValue(value);
        edit->setEnabled(false);
        spin->setEnabled(false);
        // The up-down control writes its position into the entry.
        connect(spin, &QSpinBox::valueChanged, edit, [edit](int position) { edit->setText(QString::number(position)); });
    };
    row("cbxForce", QStringLiteral("Fixed force"), QStringLiteral("Enable / disable fixed peakforce"), "edtForce",
        "udnForce", 999, 10, 550, cbxForce, edtForce, udnForce);
    row("cbxLength", QStringLiteral("Fixed length"), QStringLiteral("Enable / disable fixed strokelength"),
        "edtLength", "udnLength", 176, 2, 150, cbxLength, edtLength, udnLength);
    connect(cbxForce, &QCheckBox::clicked, this, &TfrmForceCurves::cbxForceClick);
    connect(cbxLength, &QCheckBox::clicked, this, &TfrmForceCurves::cbxLengthClick);
    connect(edtForce, &QLineEdit::textChanged, this, &TfrmForceCurves::edtForceChange);
    connect(edtLength, &QLineEdit::textChanged, this, &TfrmForceCurves::edtLengthChange);
    pnlTraining3->show();
    setTabOrder(btnPin, cbxForce);
    setTabOrder(cbxForce, edtForce);
    setTabOrder(edtForce, udnForce);
    setTabOrder(udnForce, cbxLength);
    setTabOrder(cbxLength, edtLength);
    setTabOrder(edtLength, udnLength);
}

// --- Layout of the bottom panels ---

void TfrmForceCurves::pnlTraining4Resize()
{
    const int width = pnlTraining4->width();
    const bool radio = !rbtBrowseCurves->isHidden();
    const int left = radio ? 20 : 6;
    const bool narrow = width < 400 || radio;
    const int height = narrow ? (radio ? 90 : 65) : 40;
    const int total = height + AveragePanelHeight + IntervalsPanelHeight + ShowOptionsPanelHeight;
    if (pnlTraining4->minimumHeight() != total || pnlTraining4->maximumHeight() != total)
        pnlTraining4->setFixedHeight(total);
    pnlBrowseCurves->setGeometry(0, 0, width, height);
    QToolButton* buttons[] = {btbFirst, btbPrevious, btbNext, btbLast};
    const int scrollHeight = std::min(sbrCurves->sizeHint().height(), ButtonHeight);
    if (narrow) {
        const int a = std::max((width - left - 8) / 4, 1);
        const int top = radio ? 25 : 5;
        for (int k = 0; k < 4; ++k) buttons[k]->setGeometry(left + k * a, top, a, ButtonHeight);
        const int rowTop = top + 30;
        sbrCurves->setGeometry(left, rowTop + (ButtonHeight - scrollHeight) / 2, 3 * a, scrollHeight);
        btbPlay->setGeometry(left + 3 * a, rowTop, a, ButtonHeight);
    } else {
        const int a = std::max((width - left - 8) / 8, 1);
        const int top = 8;
        for (int k = 0; k < 4; ++k) buttons[k]->setGeometry(left + k * a, top, a, ButtonHeight);
        const int scrollLeft = left + 4 * a + 2;
        const int scrollRight = width - 8 - a;
        sbrCurves->setGeometry(scrollLeft, top + (ButtonHeight - scrollHeight) / 2,
                               std::max(scrollRight - scrollLeft, 1), scrollHeight);
        btbPlay->setGeometry(width - 5 - a, top, a, ButtonHeight);
    }
    // The first row: the radio button, the curve number and delete.
    const int deleteLeft = width - 30;
    const int entryWidth = std::max(QFontMetrics(metCurve->font()).horizontalAdvance(QStringLiteral("00000")) + 10, 40);
    const int entryLeft = deleteLeft - 4 - entryWidth;
    rbtBrowseCurves->setGeometry(4, 4, std::max(entryLeft - 8, 1), 18);
    metCurve->setGeometry(entryLeft, 2, entryWidth, 21);
    btbDelete->setGeometry(deleteLeft, 2, 26, 21);
    // Each option box at the right of its row, the last row's button too.
    const int spreadWidth = cbxSpread->sizeHint().width();
    pnlBrowseAverage->setGeometry(0, height, width, AveragePanelHeight);
    rbtBrowseAverage->setGeometry(4, 4, std::max(width - 16 - spreadWidth, 1), 18);
    cbxSpread->setGeometry(width - 4 - spreadWidth, 4, spreadWidth, 18);
    pnlBrowseIntervals->setGeometry(0, height + AveragePanelHeight, width, IntervalsPanelHeight);
    rbtBrowseIntervals->setGeometry(4, 4, std::max(width - 8, 1), 18);
    sbrIntervals->setGeometry(20, 26, std::max(width - 24, 1), std::min(sbrIntervals->sizeHint().height(), 20));
    pnlShowOptions->setGeometry(0, height + AveragePanelHeight + IntervalsPanelHeight, width, ShowOptionsPanelHeight);
    const int allWidth = cbxShowAll->sizeHint().width();
    const int pinWidth = std::max(btnPin->sizeHint().width(), 50);
    cbxShowAll->setGeometry(4, 5, allWidth, 20);
    cbxTrail->setGeometry(4 + allWidth + 12, 5, cbxTrail->sizeHint().width(), 20);
    btnPin->setGeometry(width - 4 - pinWidth, 2, pinWidth, ButtonHeight);
}

void TfrmForceCurves::pnlTraining3Resize()
{
    const int width = pnlTraining3->width();
    const bool wide = width >= 300;
    const int height = wide ? 34 : 62;
    if (pnlTraining3->minimumHeight() != height || pnlTraining3->maximumHeight() != height)
        pnlTraining3->setFixedHeight(height);
    const int half = wide ? width / 2 : width;
    const auto place = [half](QCheckBox* box, QLineEdit* edit, QSpinBox* spin, int x, int y) {
        box->setGeometry(x + 4, y, std::max(half - 110, 40), 22);
        edit->setGeometry(x + half - 104, y, 40, 22);
        spin->setGeometry(x + half - 62, y, 58, 22);
    };
    place(cbxForce, edtForce, udnForce, 0, 6);
    place(cbxLength, edtLength, udnLength, wide ? half : 0, wide ? 6 : 34);
}

bool TfrmForceCurves::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == pnlTraining4) pnlTraining4Resize();
        if (watched == pnlTraining3) pnlTraining3Resize();
    }
    return TfrmChart::eventFilter(watched, event);
}

void TfrmForceCurves::pnlChartResize()
{
    TfrmChart::pnlChartResize();
    cbxSquare->move(8, FChart->height() - cbxSquare->height() - 8);
}

void TfrmForceCurves::cbxSquareClick()
{
    FSquare = cbxSquare->isChecked();
    pnlChartResize();
}

// --- The list and the refresh ---

void TfrmForceCurves::ReloadTrainings(bool justOpened)
{
    ForgetCurveCaches();
    ReloadKeepingSelection(justOpened);
}

QString TfrmForceCurves::TrainingCaption(int index) const
{
    const TTraining* training = OpenTrainings.TrainingRecord(index);
    return training ? Text(::TrainingCaption(*training)) : QString();
}

void TfrmForceCurves::TrainingsClosed()
{
    StopPlaying();
    ForgetCurveCaches();
    // A pinned curve goes with its training.
    bool pinnedOpen = false;
    for (int i = 0; i < OpenTrainings.OpenTrainingCount(); ++i)
        pinnedOpen = pinnedOpen || OpenTrainings.TrainingRecord(i) == PinnedTraining;
    if (!pinnedOpen) {
        Pinned.reset();
        PinnedTraining = nullptr;
        const QSignalBlocker quiet(btnPin);
        btnPin->setChecked(false);
    }
    TfrmChart::TrainingsClosed();
}

void TfrmForceCurves::ForgetCurveCaches()
{
    Bands.clear();
    AllKeys.clear();
}

void TfrmForceCurves::clbTrainingsClick()
{
    TfrmChart::clbTrainingsClick();
    if (OpenTrainings.OpenTrainingCount() != clbTrainings->count()) return;

    const TBrowseState state = BrowseStateOf(SelectedRecord());
    const bool browse = state.Back || state.Forward;
    {
        const QSignalBlocker quietCurves(rbtBrowseCurves), quietAverage(rbtBrowseAverage),
            quietIntervals(rbtBrowseIntervals), quietScroll(sbrCurves), quietIntervalScroll(sbrIntervals),
            quietEntry(metCurve), quietAll(cbxShowAll);
        rbtBrowseCurves->setEnabled(state.CurvesEnabled);
        rbtBrowseCurves->setChecked(state.CurvesChecked);
        btbFirst->setEnabled(state.Back);
        btbPrevious->setEnabled(state.Back);
        btbNext->setEnabled(state.Forward);
        btbLast->setEnabled(state.Forward);
        btbDelete->setEnabled(state.Delete);
        metCurve->setEnabled(browse);
        metCurve->setText(QString::number(state.CurveNumber));

        // A maximum below the position would first move the position.
        if (state.ScrollMaximum < sbrCurves->value()) sbrCurves->setRange(0, 0);
        sbrCurves->setMaximum(std::max(state.ScrollMaximum, state.ScrollMinimum));
        sbrCurves->setValue(state.ScrollPosition);
        sbrCurves->setMinimum(state.ScrollMinimum);
        sbrCurves->setEnabled(browse);
        btbPlay->setEnabled(browse);
        SetPlayGlyph(!tmrPlay->isActive());

        const TTraining* selected = SelectedRecord();
        cbxShowAll->setEnabled(state.CurvesEnabled);
        cbxShowAll->setChecked(selected && selected->Spare2 != 0);
        rbtBrowseAverage->setEnabled(state.AverageEnabled);
        rbtBrowseAverage->setChecked(state.AverageChecked);
        rbtBrowseIntervals->setEnabled(state.IntervalsEnabled);
        rbtBrowseIntervals->setChecked(state.IntervalsChecked);
        sbrIntervals->setRange(0, state.IntervalMaximum);
        sbrIntervals->setValue(state.IntervalPosition);
        sbrIntervals->setEnabled(state.IntervalsEnabled && state.IntervalsChecked);
        btnPin->setEnabled(Pinned.has_value() || state.CurvesEnabled);
    }
    DrawForceCurves();
    FillCurveGrid();
}

void TfrmForceCurves::clbTrainingsClickCheck()
{
    TfrmChart::clbTrainingsClickCheck();
    DrawForceCurves();
    FillCurveGrid();
}

void TfrmForceCurves::clbTrainingsDblClick()
{
    TfrmChart::clbTrainingsDblClick();
    DrawForceCurves();
    FillCurveGrid();
}

TCurveScaling TfrmForceCurves::Scaling() const
{
    TCurveScaling scaling;
    scaling.FixedForce = cbxForce->isChecked();
    scaling.FixedLength = cbxLength->isChecked();
    scaling.Force = udnForce->value();
    scaling.Length = udnLength->value();
    return scaling;
}

void TfrmForceCurves::DrawForceCurves()
{
    const TCurveScaling scaling = Scaling();
    const int count = OpenTrainings.OpenTrainingCount();
    std::vector<TCurveUnderlay::TBand> bands;
    std::vector<TCurveUnderlay::TCurve> curves;
    float highest = UpdateAllPicture();
    for (int i = 0; i < count; ++i) {
        const TTraining* training = OpenTrainings.TrainingRecord(i);
        if (!training) {
            ShowTrainingSeries(i, {}, THeader{});
            continue;
        }
        const TCurvePoints shown = ShownCurvePoints(*training, scaling);
        highest = HighestForce(shown, highest);
        ShowTrainingSeries(i, ChartPoints(shown), training->Header);
        if (shown.empty()) continue;
        const QPen pen = CurvePen(training->Header);
        if (cbxSpread->isChecked() && training->Header.CurveSource != SourceStroke) {
            const TCurveBandPoints band = ShownBandPoints(*training, CachedBand(*training), scaling);
            highest = HighestForce(band.High, highest);
            QColor fill = pen.color();
            fill.setAlpha(BandAlpha);
            if (!band.High.empty()) bands.push_back({BandOutline(band), fill});
        }
        if (cbxTrail->isChecked()) {
            const std::vector<TCurvePoints> trail = TrailCurvePoints(*training, scaling, TrailLength);
            // The farthest first, so that the nearer is drawn over it.
            for (size_t k = trail.size(); k-- > 0;) {
                highest = HighestForce(trail[k], highest);
                QPen tint(pen);
                tint.setStyle(Qt::SolidLine);
                tint.setColor(Tinted(pen.color(), TrailTints[k]));
                curves.push_back({Polygon(trail[k]), tint});
            }
        }
    }
    if (Pinned) {
        const TCurvePoints pinned = StrokeCurvePoints(Pinned->Stroke, Pinned->Curve, Pinned->Settings, scaling);
        highest = HighestForce(pinned, highest);
        curves.push_back({Polygon(pinned), PinnedPen()});
    }
    FUnderlay->SetOverlay(std::move(bands), std::move(curves));
    TrimTrainingSeries(count);
    FAxes->SetVerticalMaximum(ForceAxisMaximum(highest));
}

const TCurveBand& TfrmForceCurves::CachedBand(const TTraining& training)
{
    const THeader& header = training.Header;
    const TSamples average = AverageSamplesOf(training);
    for (TBandCache& kept : Bands)
        if (kept.Training == &training && kept.Source == header.CurveSource && kept.Interval == header.CurveInterval
            && kept.Strokes == training.Strokes.size() && kept.Average == average)
            return kept.Band;
    Bands.erase(std::remove_if(Bands.begin(), Bands.end(),
                               [&training](const TBandCache& kept) { return kept.Training == &training; }),
                Bands.end());
    Bands.push_back({&training, header.CurveSource, header.CurveInterval, training.Strokes.size(), average,
                     ShownBand(training)});
    return Bands.back().Band;
}

float TfrmForceCurves::UpdateAllPicture()
{
    const TCurveScaling scaling = Scaling();
    std::vector<TAllKey> keys;
    for (int i = 0; i < OpenTrainings.OpenTrainingCount(); ++i) {
        const TTraining* training = OpenTrainings.TrainingRecord(i);
        if (!training || training->Spare2 == 0 || ShownCurvePoints(*training, scaling).empty()) continue;
        // Thousands of curves make a background, drawn thin and solid whatever
        // the training's pen.
        keys.push_back({training, training->Strokes.size(), AverageSamplesOf(*training),
                        QtColor(InverseColor(training->Header.Color))});
    }
    if (keys == AllKeys && scaling == AllScaling) return AllHighest;
    AllKeys = std::move(keys);
    AllScaling = scaling;
    AllHighest = 0;
    for (const TAllKey& key : AllKeys)
        ForEachOfAllCurves(*key.Training, scaling,
                           [this](const TCurvePoints& points) { AllHighest = HighestForce(points, AllHighest); });
    std::vector<TCurveUnderlay::TPictureLayer> layers;
    for (const TAllKey& key : AllKeys) {
        const TTraining* training = key.Training;
        layers.push_back({key.Colour, [training, scaling](const TCurveUnderlay::TCurveVisitor& visit) {
                              QPointF points[CurveSamples];
                              ForEachOfAllCurves(*training, scaling, [&](const TCurvePoints& curve) {
                                  const int count = std::min(static_cast<int>(curve.size()), CurveSamples);
                                  for (int k = 0; k < count; ++k) points[k] = QPointF(curve[k].X, curve[k].Y);
                                  visit(points, count);
                              });
                          }});
    }
    FUnderlay->SetPicture(std::move(layers));
    return AllHighest;
}

void TfrmForceCurves::FillCurveGrid()
{
    std::vector<TChartDataModel::TRow> pinnedRow;
    if (Pinned)
        pinnedRow.push_back({Text(Pinned->Caption) + QStringLiteral(", pinned"),
                             TPenSample{PinnedColour, Qt::DashLine, PinnedWidth},
                             {}});
    BuildDataRows(pinnedRow);
    const TCurveScaling scaling = Scaling();
    int row = 0;
    for (int i = 0; i < OpenTrainings.OpenTrainingCount(); ++i) {
        const TTraining* training = OpenTrainings.TrainingRecord(i);
        if (!training || !training->Header.Visible) continue;
        QStringList cells;
        for (const std::string& text : CurveRowTexts(*training, scaling)) cells << Text(text);
        DataRows->SetCells(row++, cells);
    }
    if (Pinned) {
        QStringList cells;
        for (const std::string& text : StrokeRowTexts(Pinned->Stroke, Pinned->Curve, Pinned->Settings, scaling))
            cells << Text(text);
        DataRows->SetCells(row, cells);
    }
}

// --- Browsing and playing ---

void TfrmForceCurves::ApplyToTrainings(const std::function<void(TTraining&)>& step, bool stopPlaying)
{
    if (stopPlaying) StopPlaying();
    if (ShiftDown && ShiftDown()) {
        for (int i = 0; i < OpenTrainings.OpenTrainingCount(); ++i)
            if (TTraining* training = OpenTrainings.TrainingRecord(i)) step(*training);
    } else if (TTraining* training = SelectedRecord()) {
        step(*training);
    }
    clbTrainingsClick();
}

void TfrmForceCurves::btbFirstClick()
{
    ApplyToTrainings([](TTraining& training) { FirstCurve(training); });
}

void TfrmForceCurves::btbPreviousClick()
{
    ApplyToTrainings([](TTraining& training) { PreviousCurve(training); });
}

void TfrmForceCurves::btbNextClick()
{
    ApplyToTrainings([](TTraining& training) { NextCurve(training); });
}

void TfrmForceCurves::btbLastClick()
{
    ApplyToTrainings([](TTraining& training) { LastCurve(training); });
}

void TfrmForceCurves::sbrCurvesScroll(int position)
{
    ApplyToTrainings([position](TTraining& training) { GoToCurve(training, position); });
}

void TfrmForceCurves::btbPlayClick()
{
    if (tmrPlay->isActive())
        tmrPlay->stop();
    else
        tmrPlay->start();
    SetPlayGlyph(!tmrPlay->isActive());
}

void TfrmForceCurves::StopPlaying()
{
    if (tmrPlay->isActive()) btbPlayClick();
}

bool TfrmForceCurves::IsPlaying() const { return tmrPlay->isActive(); }

void TfrmForceCurves::tmrPlayTimer()
{
    TTraining* training = SelectedRecord();
    if (training && training->Header.CurveIndex < LastStroke(*training))
        NextCurve(*training);
    else
        StopPlaying();
    clbTrainingsClick();
    // The new curve is painted, and clicks on the window are handled, while
    // the animation runs.
    QCoreApplication::processEvents();
}

void TfrmForceCurves::SetPlayGlyph(bool showPlay)
{
    const QString name = showPlay ? QStringLiteral("Play") : QStringLiteral("Stop");
    if (btbPlay->accessibleName() == name) return;
    btbPlay->setIcon(Glyph(showPlay ? glPlay : glStop));
    btbPlay->setText(name);
    btbPlay->setAccessibleName(name);
    const QString hint = showPlay ? QStringLiteral("Play animation") : QStringLiteral("Stop animation");
    btbPlay->setToolTip(hint);
    btbPlay->setStatusTip(hint);
    btbPlay->setAccessibleDescription(hint);
}

void TfrmForceCurves::SetPlayInterval(int milliseconds) { tmrPlay->setInterval(milliseconds); }

int TfrmForceCurves::PlayInterval() const { return tmrPlay->interval(); }

// --- Sources, the curve number, withdrawing and what is shown beneath ---

void TfrmForceCurves::SetCurveSource(int source)
{
    StopPlaying();
    QRadioButton* buttons[] = {rbtBrowseCurves, rbtBrowseAverage, rbtBrowseIntervals};
    for (int k = 0; k < 3; ++k) {
        const QSignalBlocker quiet(buttons[k]);
        buttons[k]->setChecked(k == source);
    }
    if (SelectedIndex() < 0) return;
    ApplyToTrainings([source](TTraining& training) { training.Header.CurveSource = static_cast<uint8_t>(source); },
                     false);
}

void TfrmForceCurves::metCurveExit()
{
    StopPlaying();
    const int position = DigitsToInt(Trim(metCurve->text().toStdString()));
    ApplyToTrainings(
        [position](TTraining& training) {
            if (position > 0 && position <= LastStroke(training)) training.Header.CurveIndex = position;
        },
        false);
}

void TfrmForceCurves::sbrIntervalsScroll()
{
    const int position = sbrIntervals->value();
    // Each training keeps to its own intervals.
    ApplyToTrainings(
        [position](TTraining& training) {
            if (position < static_cast<int>(training.Intervals.size())) training.Header.CurveInterval = position;
        },
        false);
}

void TfrmForceCurves::cbxShowAllClick()
{
    if (TTraining* training = SelectedRecord()) training->Spare2 = cbxShowAll->isChecked() ? 1 : 0;
    DrawForceCurves();
}

void TfrmForceCurves::cbxSpreadClick() { DrawForceCurves(); }

void TfrmForceCurves::cbxTrailClick() { DrawForceCurves(); }

void TfrmForceCurves::btnPinClick()
{
    Pinned.reset();
    PinnedTraining = nullptr;
    TPinnedCurve pinned;
    if (btnPin->isChecked()) {
        if (const TTraining* training = SelectedRecord(); training && PinShownCurve(*training, pinned)) {
            Pinned = pinned;
            PinnedTraining = training;
        }
    }
    {
        const QSignalBlocker quiet(btnPin);
        btnPin->setChecked(Pinned.has_value());
    }
    clbTrainingsClick();
}

void TfrmForceCurves::btbDeleteClick()
{
    StopPlaying();
    const int row = SelectedIndex();
    if (TTraining* training = SelectedRecord()) {
        DeleteShownCurve(*training);
        training->Header.Modified = 1;
        ForgetCurveCaches();
        // The training window shows the withdrawn curve, the new average and
        // that the training was changed.
        const int window = OpenTrainings.TrainingWindowIndex(row);
        if (window >= 0 && Owner())
            if (auto* child = qobject_cast<TMDIChild*>(Owner()->Children().value(window))) {
                child->ShowCurveGrid();
                child->ShowGeneral();
            }
    }
    clbTrainingsClick();
}

void TfrmForceCurves::cbxForceClick()
{
    edtForce->setEnabled(cbxForce->isChecked());
    udnForce->setEnabled(cbxForce->isChecked());
    clbTrainingsClick();
}

void TfrmForceCurves::cbxLengthClick()
{
    edtLength->setEnabled(cbxLength->isChecked());
    udnLength->setEnabled(cbxLength->isChecked());
    clbTrainingsClick();
}

void TfrmForceCurves::edtForceChange()
{
    if (DigitsToInt(edtForce->text().toStdString()) != udnForce->value()) {
        const QSignalBlocker quiet(edtForce);
        edtForce->setText(QString::number(udnForce->value()));
    }
    clbTrainingsClick();
}

void TfrmForceCurves::edtLengthChange()
{
    if (DigitsToInt(edtLength->text().toStdString()) != udnLength->value()) {
        const QSignalBlocker quiet(edtLength);
        edtLength->setText(QString::number(udnLength->value()));
    }
    clbTrainingsClick();
}

void TfrmForceCurves::ShowFixedValues()
{
    const QSignalBlocker quietForce(cbxForce), quietLength(cbxLength), quietForceEdit(edtForce),
        quietLengthEdit(edtLength), quietForceSpin(udnForce), quietLengthSpin(udnLength);
    cbxForce->setChecked(false);
    udnForce->setValue(550);
    edtForce->setText(QStringLiteral("550"));
    cbxLength->setChecked(false);
    udnLength->setValue(150);
    edtLength->setText(QStringLiteral("150"));
    for (QWidget* control : std::initializer_list<QWidget*>{edtForce, udnForce, edtLength, udnLength})
        control->setEnabled(false);
}

// --- Layout, colours, information and closing ---

void TfrmForceCurves::LoadLayout(const std::string& settingsFile, int placement)
{
    TfrmChart::LoadLayout(settingsFile, placement);
    if (FSection.empty()) return;
    if (FileExists(settingsFile)) {
        const TIniFile ini(settingsFile);
        FSquare = ini.ReadBool(FSection, "Square", FSquare);
        cbxSpread->setChecked(ini.ReadBool(FSection, "Spread", cbxSpread->isChecked()));
        cbxTrail->setChecked(ini.ReadBool(FSection, "Trail", cbxTrail->isChecked()));
    }
    ShowFixedValues();
    {
        const QSignalBlocker quiet(cbxSquare);
        cbxSquare->setChecked(FSquare);
    }
    pnlChartResize();
}

void TfrmForceCurves::SaveLayout(const std::string& settingsFile)
{
    TfrmChart::SaveLayout(settingsFile);
    if (FSection.empty() || settingsFile.empty() || !IsFileWritable(settingsFile)) return;
    TIniFile ini(settingsFile);
    ini.WriteBool(FSection, "Square", FSquare);
    ini.WriteBool(FSection, "Spread", cbxSpread->isChecked());
    ini.WriteBool(FSection, "Trail", cbxTrail->isChecked());
    ini.UpdateFile();
}

void TfrmForceCurves::ApplyColors(const QFont& font, const QColor& text, const QColor& control, const QColor& form)
{
    TfrmChart::ApplyColors(font, text, control, form);
    for (QLineEdit* edit : {metCurve, edtForce, edtLength}) {
        edit->setFont(font);
        SetEditColours(edit, control, text);
    }
    cbxSquare->adjustSize();
    pnlChartResize();
    update();
}

void TfrmForceCurves::UpdateInfo()
{
    const int line = std::abs(static_cast<int>(std::trunc(1.5 * QFontMetrics(pnlTraining1->font()).height())));
    int height = 1;
    QString text;
    if (cbxForce->isChecked()) {
        text = QStringLiteral("Fixed force : %1 N").arg(udnForce->value());
        height += line;
    }
    if (cbxLength->isChecked()) {
        if (!text.isEmpty()) text += QLatin1Char('\n');
        text += QStringLiteral("Fixed length : %1 cm").arg(udnLength->value());
        height += line;
    }
    pnlTraining1->setFixedHeight(height);
    lblInfo->setText(text);
}

void TfrmForceCurves::ExportStrokeFile(const QString& lastDir)
{
    const int row = SelectedIndex();
    if (row < 0 || clbTrainings->item(row)->checkState() != Qt::Checked) {
        ShowInformationMessage("Please select an active curve to export");
        return;
    }
    TTraining training;
    OpenTrainings.CopyTraining(row, training);
    TSaveFileRequest request;
    request.Caption = QStringLiteral("Export stroke file");
    request.Folder = Text(ExtractFilePath(lastDir.toStdString()));
    request.FileName = Text(ExtractFileName(ChangeFileExt(TrainingFileName(training), "")));
    request.Filters = QStringList{QStringLiteral("Stroke files (*.str)"), QStringLiteral("All files (*.*)")};
    request.DefaultSuffix = QStringLiteral("str");
    const QString path = ChooseSaveFile(this, request);
    if (path.isEmpty()) return;
    if (!SaveTrainingFile(path.toStdString(), ExportedStrokeTraining(training, Scaling()), fkStroke))
        ShowErrorMessage(QStringLiteral("Error writing file \"%1\"").arg(path).toStdString());
}

void TfrmForceCurves::CloseAccepted()
{
    tmrPlay->stop();
    TfrmChart::CloseAccepted();
}
