#include "untChart.h"

#include "jsUtils.h"
#include "untFiles.h"
#include "untForceCurveData.h"
#include "untFormUtils.h"
#include "untIniFile.h"
#include "untChartOptions.h"
#include "untLineSample.h"
#include "untMDIMain.h"
#include "untModal.h"
#include "untOpenTrainings.h"
#include "untGridMenu.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QEvent>
#include <QFrame>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace {

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

// A splitter that tells when it was resized, after it laid out its panels,
// so that a panel can be given back the size it should keep.
class TPanelSplitter : public QSplitter {
public:
    TPanelSplitter(Qt::Orientation orientation, QWidget* parent) : QSplitter(orientation, parent) {}
    std::function<void()> Resized;

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QSplitter::resizeEvent(event);
        if (Resized) Resized();
    }
};

// A hint "short|long": the short part is the tooltip, the long part the
// status text and the accessible description.
void SetHint(QWidget* control, const QString& hint)
{
    const QString tip = HintShortPart(hint);
    const QString details = HintLongPart(hint);
    control->setToolTip(tip);
    control->setStatusTip(details);
    control->setAccessibleDescription(details);
}

QAction* NewAction(QObject* parent, const char* name, const QString& caption, const QString& hint)
{
    auto* action = new QAction(caption, parent);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(HintShortPart(hint));
    action->setStatusTip(HintLongPart(hint));
    return action;
}

// Default row height twice the font's point size, the header row 2.5 times,
// never lower than the text.
void SizeDataRows(QTableView& grid)
{
    const QFont font = grid.font();
    const int text = QFontMetrics(font).height();
    const int rowHeight = std::max(static_cast<int>(std::lround(2 * PointSize(font))), text + 2);
    const int headerHeight = std::max(static_cast<int>(std::lround(2.5 * PointSize(font))), text + 6);
    grid.verticalHeader()->setMinimumSectionSize(1);
    grid.verticalHeader()->setDefaultSectionSize(rowHeight);
    grid.horizontalHeader()->setFixedHeight(headerHeight);
}

// Two texts of the same width in any font with digits of one width: they
// differ only in digits, in place, as a caption whose curve number changed.
bool OnlyDigitsDiffer(const QString& a, const QString& b)
{
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && !(a[i].isDigit() && b[i].isDigit())) return false;
    return true;
}

// The trainings list. A caption whose curve number changed in place keeps
// its width, so the item is repainted without the relayout that a list
// starts for every change of an item's data.
class TTrainingList : public QListWidget {
public:
    using QListWidget::QListWidget;

    void SetCaption(QListWidgetItem& item, const QString& caption)
    {
        KeepLayout = OnlyDigitsDiffer(item.text(), caption);
        item.setText(caption);
        KeepLayout = false;
    }

protected:
    // The list keeps its one selected item: Ctrl with a click or Space on it
    // would clear the selection and leave every browse control grey.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override
    {
        const QItemSelectionModel::SelectionFlags flags = QListWidget::selectionCommand(index, event);
        if (flags.testFlag(QItemSelectionModel::Deselect) && index.isValid()
            && selectionModel()->isSelected(index))
            return QItemSelectionModel::NoUpdate;
        return flags;
    }

    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) override
    {
        if (KeepLayout)
            QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
        else
            QListWidget::dataChanged(topLeft, bottomRight, roles);
    }

private:
    bool KeepLayout = false;
};

} // namespace

// --- Pen samples ---

TPenSample PenSampleOf(const THeader& header)
{
    return {QtColor(header.Color), QtPenStyle(header.PenStyle), std::clamp(+header.PenWidth, 1, 20)};
}

QPen CurvePen(const THeader& header)
{
    QPen pen(QtColor(header.Color));
    pen.setStyle(QtPenStyle(header.PenStyle));
    // A width no pen has is drawn thin.
    pen.setWidth(header.PenWidth >= 1 && header.PenWidth <= 20 ? header.PenWidth : 1);
    return pen;
}

void DrawPenSample(QPainter& painter, const QRect& rect, Qt::PenStyle style, int width, const QColor& colour)
{
    painter.save();
    painter.fillRect(QRect(QPoint(rect.right() - 10, rect.top()), rect.bottomRight()), painter.brush());
    if (style != Qt::NoPen && width > 0) {
        QPen pen(colour, width, style);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        const int x = rect.right() - 5;
        painter.drawLine(x, rect.top() + 3, x, rect.bottom() - 3);
    }
    painter.restore();
}

// --- The data grid ---


TChartDataModel::TChartDataModel(QObject* parent) : QAbstractTableModel(parent) {}

void TChartDataModel::SetColumnCaptions(const QStringList& captions)
{
    beginResetModel();
    Captions = captions;
    endResetModel();
}

void TChartDataModel::SetRowHeaders(const std::vector<TRow>& rows)
{
    const auto shown = [](size_t rows) { return std::max(static_cast<int>(rows), 1); };
    const int before = shown(Rows.size()), after = shown(rows.size());
    const size_t kept = std::min(Rows.size(), rows.size()), filled = std::max(Rows.size(), rows.size());
    // The first and last of a set of rows.
    struct TRange {
        int First = -1, Last = -1;
        void Add(int row)
        {
            First = First < 0 ? row : std::min(First, row);
            Last = std::max(Last, row);
        }
        bool Empty() const { return First < 0; }
    };
    // Of the kept rows, those whose pen or caption text changed may need
    // another header width; those whose caption only changed digits in place
    // keep their width and are just repainted. A browse step changes one
    // caption so, and its cells come with SetCells.
    TRange relaid, retexted;
    std::vector<TRow> next = rows;
    for (size_t r = 0; r < kept; ++r) {
        next[r].Cells = Rows[r].Cells;
        const int row = static_cast<int>(r);
        if (!(Rows[r].Pen == rows[r].Pen) || !OnlyDigitsDiffer(Rows[r].Caption, rows[r].Caption))
            relaid.Add(row);
        else if (Rows[r].Caption != rows[r].Caption)
            retexted.Add(row);
    }
    if (after > before) {
        beginInsertRows(QModelIndex(), before, after - 1);
        Rows = std::move(next);
        endInsertRows();
    } else if (after < before) {
        beginRemoveRows(QModelIndex(), after, before - 1);
        Rows = std::move(next);
        endRemoveRows();
    } else {
        Rows = std::move(next);
    }
    // Rows the view keeps that turn from a training into the empty first row,
    // or back, change their cells too.
    const int swapped = static_cast<int>(kept), stable = std::min({before, after, static_cast<int>(filled)});
    if (swapped < stable) {
        relaid.Add(swapped);
        relaid.Add(stable - 1);
        if (!Captions.isEmpty()) emit dataChanged(index(swapped, 0), index(stable - 1, columnCount() - 1));
    }
    if (!relaid.Empty()) emit headerDataChanged(Qt::Vertical, relaid.First, relaid.Last);
    if (!retexted.Empty()) emit RowCaptionsRetexted(retexted.First, retexted.Last);
}

void TChartDataModel::SetCells(int row, const QStringList& cells)
{
    if (row < 0 || row >= DataRows() || Rows[static_cast<size_t>(row)].Cells == cells) return;
    Rows[static_cast<size_t>(row)].Cells = cells;
    if (!Captions.isEmpty()) emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void TChartDataModel::ClearCells(int row) { SetCells(row, {}); }

int TChartDataModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(DataRows(), 1);
}

int TChartDataModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(Captions.size());
}

QVariant TChartDataModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= DataRows()) return QVariant();
    return Rows[static_cast<size_t>(index.row())].Cells.value(index.column());
}

QVariant TChartDataModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    if (orientation == Qt::Horizontal) return role == Qt::DisplayRole ? Captions.value(section) : QVariant();
    if (section < 0 || section >= DataRows()) return role == Qt::DisplayRole ? QString() : QVariant();
    const TRow& row = Rows[static_cast<size_t>(section)];
    switch (role) {
    case Qt::DisplayRole: return row.Caption;
    case PenColorRole: return row.Pen.Color;
    case PenStyleRole: return static_cast<int>(row.Pen.Style);
    case PenWidthRole: return row.Pen.Width;
    default: return QVariant();
    }
}

TDataRowHeader::TDataRowHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {}

void TDataRowHeader::setModel(QAbstractItemModel* model)
{
    QHeaderView::setModel(model);
    if (auto* rows = qobject_cast<TChartDataModel*>(model))
        connect(rows, &TChartDataModel::RowCaptionsRetexted, this, &TDataRowHeader::RepaintRows);
}

void TDataRowHeader::RepaintRows(int first, int last)
{
    const int top = sectionViewportPosition(first);
    const int bottom = sectionViewportPosition(last) + sectionSize(last);
    viewport()->update(0, top, viewport()->width(), bottom - top);
}

QSize TDataRowHeader::sizeHint() const
{
    // Column 0 of the grid: at least 120 pixels, and room for the pen sample.
    QSize size = QHeaderView::sizeHint();
    size.setWidth(std::max(120, size.width() + 14));
    return size;
}

void TDataRowHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    if (!model()) return;
    const QVariant style = model()->headerData(logicalIndex, Qt::Vertical, TChartDataModel::PenStyleRole);
    if (!style.isValid()) return;
    painter->save();
    painter->setBrush(palette().button());
    DrawPenSample(*painter, rect.adjusted(0, 0, -2, 0), static_cast<Qt::PenStyle>(style.toInt()),
                  model()->headerData(logicalIndex, Qt::Vertical, TChartDataModel::PenWidthRole).toInt(),
                  model()->headerData(logicalIndex, Qt::Vertical, TChartDataModel::PenColorRole).value<QColor>());
    painter->restore();
}

// --- The trainings list's items ---

void TTrainingItemPainter::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem row = option;
    initStyleOption(&row, index);
    const QWidget* view = option.widget;
    QStyle* style = view ? view->style() : QApplication::style();
    // The selection spans the whole item; the caption stops short of the swatch.
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &row, painter, view);
    // The style draws the check box; the caption is written 2 pixels below
    // the item's top.
    QStyleOptionViewItem caption = row;
    caption.rect.setRight(option.rect.right() - 34);
    const QString text = caption.text;
    caption.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &caption, painter, view);
    // Where the style writes an item's text, and its margin there.
    const int left = style->subElementRect(QStyle::SE_ItemViewItemText, &caption, view).left()
                     + style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    DrawItemText(*painter, caption,
                 QRect(left, caption.rect.top() + 2, caption.rect.right() - left + 1, caption.rect.height() - 2), text);

    const QRect r = option.rect;
    painter->save();
    painter->fillRect(QRect(QPoint(r.right() - 25, r.top() + 2), QPoint(r.right() - 7, r.bottom() - 2)), SwatchColor);
    const QVariant penStyle = index.data(PenStyleRole);
    if (penStyle.isValid()) {
        QPen pen(index.data(PenColorRole).value<QColor>(), index.data(PenWidthRole).toInt(),
                 static_cast<Qt::PenStyle>(penStyle.toInt()));
        pen.setCapStyle(Qt::FlatCap);
        painter->setPen(pen);
        const int y = r.top() + r.height() / 2;
        painter->drawLine(r.right() - 28, y, r.right() - 4, y);
    }
    painter->restore();
}

QSize TTrainingItemPainter::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), static_cast<int>(std::lround(2 * PointSize(option.font)))));
    return size;
}

// --- The chart control ---

TChartView::TChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent)
{
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::RectangleRubberBand);
    setFrameShape(QFrame::NoFrame);
}

void TChartView::paintEvent(QPaintEvent* event)
{
    CacheFixedItems();
    QChartView::paintEvent(event);
}

void TChartView::CacheFixedItems()
{
    // The chart makes its grid lines and ticks as standard line items, and
    // makes new ones when the axes change; its series are items of its own
    // types. A cached item is painted again only when it changes itself.
    if (!scene()) return;
    for (QGraphicsItem* item : scene()->items())
        if (item->type() == QGraphicsLineItem::Type && item->cacheMode() == QGraphicsItem::NoCache)
            item->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
}

void TChartView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        chart()->zoomReset();
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

// --- The window ---

TfrmChart::TfrmChart(TMDIMain* owner, IOpenTrainings& trainings) : TMDIChild(owner), OpenTrainings(trainings)
{
    setObjectName("frmChart");
    setWindowTitle(QStringLiteral("Chart"));
    setMinimumSize(250, 250);

    auto* page = new QWidget(this);
    page->setObjectName("pnlClient");
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);

    auto* dataSplitter = new TPanelSplitter(Qt::Vertical, page);
    splData = dataSplitter;
    splData->setObjectName("splData");
    splData->setChildrenCollapsible(false);
    pnlTop = new QWidget(splData);
    pnlTop->setObjectName("pnlTop");
    pnlTop->setMinimumHeight(150);
    auto* topLayout = new QHBoxLayout(pnlTop);
    topLayout->setContentsMargins(0, 0, 0, 0);
    auto* trainingsSplitter = new TPanelSplitter(Qt::Horizontal, pnlTop);
    splTrainings = trainingsSplitter;
    splTrainings->setObjectName("splTrainings");
    splTrainings->setChildrenCollapsible(false);
    topLayout->addWidget(splTrainings);
    pnlChart = new QWidget(splTrainings);
    pnlChart->setObjectName("pnlChart");
    pnlChart->setMinimumWidth(100);
    pnlChart->installEventFilter(this);
    splTrainings->addWidget(pnlChart);
    CreateTrainingsPanel();
    splTrainings->addWidget(pnlTrainings);
    splTrainings->setStretchFactor(0, 1);
    splTrainings->setStretchFactor(1, 0);
    SetHint(splTrainings->handle(1), QStringLiteral("Resize chart|Left-click and drag to resize chart"));

    splData->addWidget(pnlTop);
    CreateDataPanel();
    splData->addWidget(pnlData);
    splData->setStretchFactor(0, 1);
    splData->setStretchFactor(1, 0);
    SetHint(splData->handle(1), QStringLiteral("Resize bottom area|Left-click and drag to resize bottom area"));

    StatusBar = new QStatusBar(page);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setSizeGripEnabled(false);
    StatusBar->hide();
    pageLayout->addWidget(splData, 1);
    pageLayout->addWidget(StatusBar);
    setWidget(page);
    page->installEventFilter(this);

    CreateChart();
    CreateCommands();

    // The panels keep the sizes the layout gives them while the window changes
    // size; a move of a splitter is what changes them.
    dataSplitter->Resized = [this] { ApplyPanelSizes(); };
    trainingsSplitter->Resized = [this] { ApplyPanelSizes(); };
    connect(splData, &QSplitter::splitterMoved, this, [this] {
        if (pnlData->isVisible()) FDataHeight = pnlData->height();
        clbTrainings->viewport()->update();
        StackBottomPanels();
    });
    connect(splTrainings, &QSplitter::splitterMoved, this, [this] {
        if (pnlTrainings->isVisible()) FTrainingsWidth = pnlTrainings->width();
    });

    connect(clbTrainings, &QListWidget::currentRowChanged, this, [this] { clbTrainingsClick(); });
    connect(clbTrainings, &QListWidget::itemChanged, this, &TfrmChart::ItemChanged);
    connect(clbTrainings, &QListWidget::itemDoubleClicked, this, [this] { clbTrainingsDblClick(); });
    connect(clbTrainings, &QWidget::customContextMenuRequested, this, &TfrmChart::ShowTrainingsMenu);
}

TfrmChart::~TfrmChart() = default;

void TfrmChart::CreateChart()
{
    ChartData = new QChart();
    ChartData->setObjectName("chtChart");
    ChartData->legend()->hide();
    ChartData->setTitle(QString());
    ChartData->setMargins(QMargins(5, 5, 5, 5));
    ChartData->setBackgroundRoundness(0);
    ChartData->setDropShadowEnabled(false);
    ChartData->setPlotAreaBackgroundVisible(false);
    ChartData->setAnimationOptions(QChart::NoAnimation);
    AxisX = new QValueAxis(ChartData);
    AxisY = new QValueAxis(ChartData);
    ChartData->addAxis(AxisX, Qt::AlignBottom);
    ChartData->addAxis(AxisY, Qt::AlignLeft);
    ChartData->setBackgroundBrush(Qt::white);
    // Grid lines and ticks are drawn one pixel wide by cosmetic pens: for a
    // line of a wider pen the scene strokes its outline each time it asks for
    // the line's bounds, on every repaint of the plot.
    const auto cosmetic = [](QPen pen) {
        pen.setWidth(0);
        return pen;
    };
    for (QValueAxis* axis : {AxisX, AxisY}) {
        axis->setGridLinePen(cosmetic(axis->gridLinePen()));
        axis->setMinorGridLinePen(cosmetic(axis->minorGridLinePen()));
        axis->setLinePen(cosmetic(axis->linePen()));
    }
    // Labels that would not fit between two ticks stand upright instead of
    // being cut to "...".
    connect(ChartData, &QChart::plotAreaChanged, this, &TfrmChart::FitAxisLabels, Qt::QueuedConnection);
    FChart = new TChartView(ChartData, pnlChart);
    FChart->setObjectName("FChart");
    FChart->setGeometry(22, 15, 195, 195);
    FChart->setAccessibleName(QStringLiteral("Chart"));
    TrainingItems->SwatchColor = ChartData->backgroundBrush().color();
}

void TfrmChart::FitAxisLabels()
{
    // Every tick of a fixed axis keeps its grid line; when the labels do not
    // fit between two ticks only every second (fourth, ...) tick is labelled.
    // The chart gives each label an even share of the axis's length, less a
    // padding on either side, and cuts one that does not fit it to "...".
    const double labelPadding = 4;
    const QRectF plot = ChartData->plotArea();
    for (QValueAxis* axis : {AxisX, AxisY}) {
        const double step = axis->property("FixedStep").toDouble();
        const double range = axis->max() - axis->min();
        const bool horizontal = axis == AxisX;
        const double length = horizontal ? plot.width() : plot.height();
        if (step <= 0 || range <= 0 || length <= 0) continue;
        const QFontMetrics metrics(axis->labelsFont());
        const QString widest = QString::number(static_cast<int>(std::max(std::fabs(axis->max()), std::fabs(axis->min()))));
        const double needed = (horizontal ? metrics.horizontalAdvance(widest) : metrics.height()) + 2;
        const auto share = [&](int every) {
            const double labels = std::floor(range / (step * every)) + 1;
            return length / labels - 2 * labelPadding;
        };
        int every = 1;
        while (every < 64 && share(every) < needed) every *= 2;
        if (axis->tickInterval() != step * every) axis->setTickInterval(step * every);
        if (axis->minorTickCount() != every - 1) axis->setMinorTickCount(every - 1);
    }
}

void TfrmChart::CreateTrainingsPanel()
{
    pnlTrainings = new QFrame(splTrainings);
    pnlTrainings->setObjectName("pnlTrainings");
    pnlTrainings->setMinimumWidth(FTrainingsMinimum);
    auto* layout = new QVBoxLayout(pnlTrainings);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(0);

    pnlList = new QWidget(pnlTrainings);
    pnlList->setObjectName("pnlList");
    auto* listLayout = new QVBoxLayout(pnlList);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(0);
    pnlTitle = new QLabel(QStringLiteral("Training sessions"), pnlList);
    pnlTitle->setObjectName("pnlTitle");
    pnlTitle->setFixedHeight(18);
    pnlTitle->setAlignment(Qt::AlignCenter);
    pnlTitle->setFrameShape(QFrame::StyledPanel);
    clbTrainings = new TTrainingList(pnlList);
    clbTrainings->setObjectName("clbTrainings");
    clbTrainings->setAccessibleName(QStringLiteral("Training sessions"));
    SetHint(clbTrainings, QStringLiteral("Training sessions list|Check training session to activate"));
    clbTrainings->setUniformItemSizes(true);
    clbTrainings->setContextMenuPolicy(Qt::CustomContextMenu);
    clbTrainings->setTextElideMode(Qt::ElideRight);
    TrainingItems = new TTrainingItemPainter(clbTrainings);
    clbTrainings->setItemDelegate(TrainingItems);
    pnlTitle->setBuddy(clbTrainings);
    listLayout->addWidget(pnlTitle);
    listLayout->addWidget(clbTrainings, 1);
    layout->addWidget(pnlList, 1);

    const auto spare = [this, layout](const char* name) {
        auto* panel = new QFrame(pnlTrainings);
        panel->setObjectName(QString::fromLatin1(name));
        panel->setFixedHeight(0);
        layout->addWidget(panel);
        return panel;
    };
    pnlTraining1 = spare("pnlTraining1");
    lblInfo = new QLabel(pnlTraining1);
    lblInfo->setObjectName("lblInfo");
    lblInfo->setWordWrap(true);
    auto* infoLayout = new QVBoxLayout(pnlTraining1);
    infoLayout->setContentsMargins(0, 0, 0, 0);
    infoLayout->addWidget(lblInfo);
    pnlTraining1->hide();
    pnlTraining2 = spare("pnlTraining2");
    pnlTraining3 = spare("pnlTraining3");
    pnlTraining4 = spare("pnlTraining4");
}

void TfrmChart::CreateDataPanel()
{
    pnlData = new QFrame(splData);
    pnlData->setObjectName("pnlData");
    pnlData->setMinimumHeight(100);
    auto* layout = new QVBoxLayout(pnlData);
    layout->setContentsMargins(4, 4, 4, 4);
    sgdData = new QTableView(pnlData);
    sgdData->setObjectName("sgdData");
    sgdData->setAccessibleName(QStringLiteral("Data"));
    SetHint(sgdData, QStringLiteral("Data"));
    sgdData->setVerticalHeader(new TDataRowHeader(sgdData));
    DataRows = new TChartDataModel(sgdData);
    sgdData->setModel(DataRows);
    SetGridLook(*sgdData);
    SizeDataRows(*sgdData);
    layout->addWidget(sgdData);
}

void TfrmChart::CreateCommands()
{
    pmnTrainings = new QMenu(this);
    pmnTrainings->setObjectName("pmnTrainings");
    TrainingActive = NewAction(this, "TrainingActive", QStringLiteral("&Active"),
                               QStringLiteral("Active|Mark training session 'Active'"));
    TrainingActive->setCheckable(true);
    ChartOptions = NewAction(this, "ChartOptions", QStringLiteral("&Chart options..."),
                             QStringLiteral("Options|Set chart options"));
    OpenTraining = NewAction(this, "OpenTraining", QStringLiteral("&Open training"),
                             QStringLiteral("Open training|Open training window"));
    pmnTrainings->addActions({TrainingActive, ChartOptions, OpenTraining});
    pmnTrainings->setDefaultAction(ChartOptions);
    OpenTraining->setVisible(true);
    connect(TrainingActive, &QAction::triggered, this, &TfrmChart::TrainingActiveExecute);
    connect(ChartOptions, &QAction::triggered, this, &TfrmChart::ChartOptionsExecute);
    connect(OpenTraining, &QAction::triggered, this, &TfrmChart::OpenTrainingExecute);
    connect(pmnTrainings, &QMenu::aboutToShow, this, &TfrmChart::TrainingActiveUpdate);

    // The grid's copy menu is kept but not attached: no command offers it.
    pmnCopyData = new TGridMenu(this, "SelectDataColumns");
    pmnCopyData->SetGrid(sgdData);
}

void TfrmChart::SetFixedAxis(QValueAxis& axis, double maximum, double step, const QString& title)
{
    axis.setRange(0, maximum);
    axis.setTickType(QValueAxis::TicksDynamic);
    axis.setTickAnchor(0);
    axis.setTickInterval(step);
    axis.setMinorTickCount(0);
    axis.setLabelFormat(QStringLiteral("%d"));
    axis.setTitleText(title);
    axis.setProperty("FixedStep", step);
    axis.setProperty("FixedMaximum", maximum);
}

void TfrmChart::SetFixedAxisMaximum(QValueAxis& axis, double maximum)
{
    if (axis.property("FixedMaximum").toDouble() == maximum) return;
    ChartData->zoomReset();
    axis.setMax(maximum);
    axis.setProperty("FixedMaximum", maximum);
    FitAxisLabels();
}

// --- Series ---

QLineSeries* TfrmChart::TrainingSeries(int index) const { return Series.value(index); }

void TfrmChart::ShowTrainingSeries(int index, const QList<QPointF>& points, const THeader& header)
{
    while (Series.size() <= index) {
        auto* series = new QLineSeries(ChartData);
        series->setObjectName(QStringLiteral("Series%1").arg(Series.size()));
        ChartData->addSeries(series);
        series->attachAxis(AxisX);
        series->attachAxis(AxisY);
        series->setVisible(false);
        Series << series;
    }
    QLineSeries* series = Series[index];
    const QPen pen = CurvePen(header);
    if (series->pen() != pen) series->setPen(pen);
    if (points.isEmpty()) {
        series->setVisible(false);
        if (series->count() > 0) series->clear();
        return;
    }
    series->replace(points);
    series->setVisible(true);
}

void TfrmChart::TrimTrainingSeries(int count)
{
    while (Series.size() > std::max(count, 0)) {
        QLineSeries* series = Series.takeLast();
        ChartData->removeSeries(series);
        delete series;
    }
}

// --- The trainings list ---

int TfrmChart::SelectedIndex() const
{
    const int row = clbTrainings->currentRow();
    return row >= 0 && row < clbTrainings->count() && clbTrainings->currentItem()->isSelected() ? row : -1;
}

TTraining* TfrmChart::SelectedRecord() const
{
    const int row = SelectedIndex();
    return row >= 0 ? OpenTrainings.TrainingRecord(row) : nullptr;
}

QString TfrmChart::TrainingCaption(int index) const
{
    const TTraining* training = OpenTrainings.TrainingRecord(index);
    return training ? Text(::TrainingCaption(*training)) : QString();
}

void TfrmChart::RefreshItem(int index)
{
    QListWidgetItem* item = clbTrainings->item(index);
    const TTraining* training = OpenTrainings.TrainingRecord(index);
    if (!item || !training) return;
    const QSignalBlocker quiet(clbTrainings);
    const QString caption = TrainingCaption(index);
    if (item->text() != caption) static_cast<TTrainingList*>(clbTrainings)->SetCaption(*item, caption);
    const Qt::CheckState check = training->Header.Visible ? Qt::Checked : Qt::Unchecked;
    if (item->checkState() != check) item->setCheckState(check);
    const TPenSample pen = PenSampleOf(training->Header);
    if (item->data(TTrainingItemPainter::PenColorRole).value<QColor>() != pen.Color)
        item->setData(TTrainingItemPainter::PenColorRole, pen.Color);
    if (item->data(TTrainingItemPainter::PenStyleRole) != static_cast<int>(pen.Style))
        item->setData(TTrainingItemPainter::PenStyleRole, static_cast<int>(pen.Style));
    if (item->data(TTrainingItemPainter::PenWidthRole) != pen.Width)
        item->setData(TTrainingItemPainter::PenWidthRole, pen.Width);
}

void TfrmChart::ReloadTrainings(bool justOpened)
{
    const int remembered = SelectedIndex();
    {
        const QSignalBlocker quiet(clbTrainings);
        clbTrainings->clear();
        for (int i = 0; i < OpenTrainings.OpenTrainingCount(); ++i) {
            auto* item = new QListWidgetItem(clbTrainings);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            RefreshItem(i);
        }
        if (justOpened && clbTrainings->count() > 0)
            clbTrainings->setCurrentRow(0);
        else if (remembered >= 0 && remembered < clbTrainings->count())
            clbTrainings->setCurrentRow(remembered);
    }
    TfrmChart::clbTrainingsClick();
}

void TfrmChart::TrainingsClosed()
{
    ReloadTrainings(false);
    if (clbTrainings->count() > 0)
        TfrmChart::clbTrainingsClick();
    else
        close();
}

void TfrmChart::clbTrainingsClick()
{
    if (OpenTrainings.OpenTrainingCount() == clbTrainings->count())
        for (int i = 0; i < clbTrainings->count(); ++i) RefreshItem(i);
}

void TfrmChart::ItemChanged(QListWidgetItem* item)
{
    // Only the user's check marks arrive here: every other change is made
    // with the list's signals blocked.
    const int row = clbTrainings->row(item);
    if (row < 0) return;
    if (SelectedIndex() != row) {
        const QSignalBlocker quiet(clbTrainings);
        clbTrainings->setCurrentRow(row);
    }
    clbTrainingsClickCheck();
}

void TfrmChart::clbTrainingsClickCheck()
{
    const int row = SelectedIndex();
    if (TTraining* training = row >= 0 ? OpenTrainings.TrainingRecord(row) : nullptr)
        training->Header.Visible = clbTrainings->item(row)->checkState() == Qt::Checked ? 1 : 0;
    OpenTrainings.RefreshForceCurveList();
}

void TfrmChart::clbTrainingsDblClick() { ChartOptionsExecute(); }

void TfrmChart::TrainingActiveExecute()
{
    const int row = SelectedIndex();
    if (row >= 0) {
        QListWidgetItem* item = clbTrainings->item(row);
        const QSignalBlocker quiet(clbTrainings);
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
    clbTrainingsClickCheck();
}

void TfrmChart::TrainingActiveUpdate()
{
    const int row = SelectedIndex();
    TrainingActive->setEnabled(row >= 0);
    TrainingActive->setChecked(row >= 0 && clbTrainings->item(row)->checkState() == Qt::Checked);
}

void TfrmChart::ShowTrainingsMenu(const QPoint& at)
{
    if (QListWidgetItem* item = clbTrainings->itemAt(at)) clbTrainings->setCurrentItem(item);
    TrainingActiveUpdate();
    pmnTrainings->popup(clbTrainings->viewport()->mapToGlobal(at));
}

void TfrmChart::ChartOptionsExecute()
{
    const int row = SelectedIndex();
    TTraining* training = row >= 0 ? OpenTrainings.TrainingRecord(row) : nullptr;
    if (training) {
        if (TfrmChartOptions* dialog = ChartOptionsDialog()) dialog->ShowChartOptions(*training);
        // Marked modified whatever the dialog's outcome, as the training window does.
        const int window = OpenTrainings.TrainingWindowIndex(row);
        if (window >= 0) {
            training->Header.Modified = 1;
            if (Owner())
                if (auto* child = qobject_cast<TMDIChild*>(Owner()->Children().value(window))) child->ShowGeneral();
        }
    }
    OpenTrainings.RefreshForceCurveList();
}

void TfrmChart::OpenTrainingExecute()
{
    const int row = SelectedIndex();
    const int window = row >= 0 ? OpenTrainings.TrainingWindowIndex(row) : -1;
    if (window < 0 || !Owner()) return;
    if (QMdiSubWindow* child = Owner()->Children().value(window)) {
        child->show();
        Owner()->Client()->setActiveSubWindow(child);
    }
}

// --- The data grid's commands ---

void TfrmChart::BuildDataRows(const std::vector<TChartDataModel::TRow>& extraRows)
{
    std::vector<TChartDataModel::TRow> rows;
    for (int i = 0; i < OpenTrainings.OpenTrainingCount(); ++i) {
        const TTraining* training = OpenTrainings.TrainingRecord(i);
        if (training && training->Header.Visible) rows.push_back({TrainingCaption(i), PenSampleOf(training->Header), {}});
    }
    rows.insert(rows.end(), extraRows.begin(), extraRows.end());
    DataRows->SetRowHeaders(rows);
}

void TfrmChart::CopyDataExecute(int tag)
{
    if (tag >= ctAll && tag <= ctRow) pmnCopyData->CopyGrid(static_cast<TCopyMode>(tag));
}

void TfrmChart::SelectDataColumnsExecute() { pmnCopyData->ChooseColumns(); }

void TfrmChart::CopyChartImage(bool save)
{
    UpdateInfo();
    // The picture shows the chart, the list without a selection, the grid and
    // the information panel, but none of the browse controls.
    QList<QWidget*> hidden;
    for (QFrame* panel : {pnlTraining2, pnlTraining3, pnlTraining4})
        if (panel->isVisible()) {
            panel->hide();
            hidden << panel;
        }
    const bool infoShown = pnlTraining1->isVisible();
    pnlTraining1->show();
    const int selected = SelectedIndex();
    {
        const QSignalBlocker quiet(clbTrainings);
        clbTrainings->clearSelection();
    }
    QPixmap picture = widget()->grab();
    pnlTraining1->setVisible(infoShown);
    for (QWidget* panel : hidden) panel->show();
    if (selected >= 0) {
        const QSignalBlocker quiet(clbTrainings);
        clbTrainings->setCurrentRow(selected);
    }

    {
        QPainter painter(&picture);
        painter.setPen(Qt::black);
        const int right = picture.width() - 1, bottom = picture.height() - 1;
        painter.drawLine(right, 0, right, bottom);
        painter.drawLine(0, bottom, right, bottom);
        painter.setFont(font());
        painter.drawText(2, 1 + QFontMetrics(font()).ascent(),
                         QStringLiteral("%1 (%2)").arg(Text(ProductAndVersion()), Text(NowDateTimeText())));
    }
    QGuiApplication::clipboard()->setPixmap(picture);
    if (!save) return;

    std::string name = ProgramFileName();
    if (selected >= 0) {
        TTraining training;
        OpenTrainings.CopyTraining(selected, training);
        name = TrainingFileName(training);
    }
    TSaveFileRequest request;
    request.Caption = QStringLiteral("Save chart as file");
    request.Folder = ChartFolder;
    request.FileName = Text(ExtractFileName(ChangeFileExt(name, "")));
    request.Filters = QStringList{QStringLiteral("PNG pictures (*.png)"), QStringLiteral("All files (*.*)")};
    request.DefaultSuffix = QStringLiteral("png");
    const QString path = ChooseSaveFile(this, request);
    if (path.isEmpty()) return;
    if (!picture.save(path, "PNG")) {
        ShowErrorMessage(QStringLiteral("Error writing file \"%1\"").arg(path).toStdString());
        return;
    }
    ChartFolder = Text(ExtractFilePath(path.toStdString()));
}

// --- Layout ---

bool TfrmChart::splDataCanResize(int& newSize) const
{
    const int client = widget()->height();
    if (newSize > client - 225) {
        newSize = client - 225;
        if (newSize < 100) newSize = 100;
        return false;
    }
    if (newSize < 100) {
        newSize = 100;
        return false;
    }
    return true;
}

bool TfrmChart::splTrainingsCanResize(int& newSize) const
{
    const int least = std::max(160, FTrainingsMinimum);
    const int client = widget()->width();
    if (newSize > client - 225) {
        newSize = std::max(client - 225, least);
        return false;
    }
    if (newSize < least) {
        newSize = least;
        return false;
    }
    return true;
}

void TfrmChart::UpdateSplitterLimits()
{
    // The splitters cannot be dragged beyond the panels' limits.
    int most = std::numeric_limits<int>::max() / 2;
    splDataCanResize(most);
    pnlData->setMaximumHeight(most);
    pnlData->setMinimumHeight(100);
    most = std::numeric_limits<int>::max() / 2;
    splTrainingsCanResize(most);
    const int least = std::max(160, FTrainingsMinimum);
    pnlTrainings->setMinimumWidth(least);
    pnlTrainings->setMaximumWidth(most);
}

void TfrmChart::ApplyPanelSizes()
{
    const auto total = [](const QSplitter* splitter) {
        int sum = 0;
        for (int size : splitter->sizes()) sum += size;
        return sum;
    };
    if (FDataVisible && splData->height() > 0) {
        int height = FDataHeight;
        splDataCanResize(height);
        const int room = total(splData);
        if (room > 0 && splData->sizes().value(1) != height) splData->setSizes({std::max(room - height, 0), height});
    }
    if (FTrainingsVisible && splTrainings->width() > 0) {
        int width = FTrainingsWidth;
        splTrainingsCanResize(width);
        const int room = total(splTrainings);
        if (room > 0 && splTrainings->sizes().value(1) != width)
            splTrainings->setSizes({std::max(room - width, 0), width});
    }
}

void TfrmChart::StackBottomPanels()
{
    // The layouts fix the order: chart area, splitter, data panel, status bar.
    if (auto* page = qobject_cast<QVBoxLayout*>(widget()->layout())) {
        if (page->indexOf(splData) != 0) page->insertWidget(0, splData, 1);
        if (page->indexOf(StatusBar) != 1) page->insertWidget(1, StatusBar);
    }
}

void TfrmChart::ApplyLayout(TLayoutCommand command)
{
    if (command == TLayoutCommand::Data) FDataVisible = !FDataVisible;
    if (command == TLayoutCommand::Trainings) FTrainingsVisible = !FTrainingsVisible;
    pnlData->setVisible(FDataVisible);
    pnlTrainings->setVisible(FTrainingsVisible);
    ApplyPanelSizes();
    StackBottomPanels();
}

void TfrmChart::LoadLayout(const std::string& settingsFile, int placement)
{
    if (FSection.empty()) return;
    if (FileExists(settingsFile)) {
        const TIniFile ini(settingsFile);
        FBounds = ReadFormBounds(ini, FSection, FBounds);
        FColumns = Text(ini.ReadString(FSection, "Columns", FColumns.toStdString()));
        FDataVisible = ini.ReadBool(FSection, "Data", FDataVisible);
        if (FDataVisible) FDataHeight = ini.ReadInteger(FSection, "DataHeight", FDataHeight);
        FTrainingsVisible = ini.ReadBool(FSection, "Trainings", FTrainingsVisible);
        if (FTrainingsVisible) FTrainingsWidth = ini.ReadInteger(FSection, "TrainingsWidth", FTrainingsWidth);
    }
    Place(placement, FBounds);
    TextToColumnWidths(*sgdData, FColumns);
    ApplyLayout();
}

void TfrmChart::SaveLayout(const std::string& settingsFile)
{
    if (FSection.empty()) return;
    FColumns = ColumnWidthsToText(*sgdData);
    FBounds = GetFormBounds(this);
    if (settingsFile.empty() || !IsFileWritable(settingsFile)) return;
    // A panel never laid out keeps the size it was given.
    const int dataHeight = pnlData->isVisible() && pnlData->height() > 0 ? pnlData->height() : FDataHeight;
    const int trainingsWidth =
        pnlTrainings->isVisible() && pnlTrainings->width() > 0 ? pnlTrainings->width() : FTrainingsWidth;
    TIniFile ini(settingsFile);
    ini.EraseSection(FSection);
    WriteFormBounds(ini, FSection, FBounds);
    ini.WriteString(FSection, "Columns", FColumns.toStdString());
    ini.WriteBool(FSection, "Data", FDataVisible);
    if (FDataVisible) ini.WriteInteger(FSection, "DataHeight", dataHeight);
    ini.WriteBool(FSection, "Trainings", FTrainingsVisible);
    if (FTrainingsVisible) ini.WriteInteger(FSection, "TrainingsWidth", trainingsWidth);
    ini.UpdateFile();
}

void TfrmChart::CloseAccepted() { SaveLayout(SettingsFileName(true)); }

// --- Colours and events ---

void TfrmChart::ApplyColors(const QFont& font, const QColor& text, const QColor& control, const QColor& form)
{
    setFont(font);
    QPalette colours = widget()->palette();
    colours.setColor(QPalette::Window, form);
    widget()->setPalette(colours);
    widget()->setAutoFillBackground(true);
    for (QWidget* list : std::initializer_list<QWidget*>{clbTrainings, sgdData}) {
        list->setFont(font);
        SetEditColours(list, control, text);
    }
    SizeDataRows(*sgdData);
    for (QValueAxis* axis : {AxisX, AxisY}) {
        axis->setLabelsFont(font);
        QFont title = font;
        title.setBold(true);
        axis->setTitleFont(title);
        axis->setLinePenColor(text);
        axis->setLabelsColor(text);
        axis->setTitleBrush(text);
    }
    for (QWidget* button : StatusBar->findChildren<QWidget*>()) {
        button->setFont(font);
        QPalette black = button->palette();
        black.setColor(QPalette::ButtonText, Qt::black);
        button->setPalette(black);
    }
    BuildDataRows();
    update();
}

bool TfrmChart::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == pnlChart) pnlChartResize();
        if (watched == widget()) {
            UpdateSplitterLimits();
            StackBottomPanels();
        }
    }
    return TMDIChild::eventFilter(watched, event);
}

void TfrmChart::showEvent(QShowEvent* event)
{
    TMDIChild::showEvent(event);
    UpdateSplitterLimits();
    ApplyLayout();
    StackBottomPanels();
}

void TfrmChart::pnlChartResize()
{
    const QRect panel = pnlChart->rect();
    if (!FSquare) {
        FChart->setGeometry(panel);
        return;
    }
    const int side = std::min(panel.width(), panel.height());
    FChart->setGeometry((panel.width() - side) / 2, (panel.height() - side) / 2, side, side);
}
