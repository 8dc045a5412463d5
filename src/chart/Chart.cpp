#include "untChart.h"

#include "ChartTexts.h"

#include "jsUtils.h"
#include "untFiles.h"
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

// The trainings list. A caption that changed only in digits keeps its
// width, so the item is repainted without the relayout that a list
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
    // would clear the selection and leave the window without a training to show.
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
    FChart = new TChartView(ChartData, pnlChart);
    FChart->setObjectName("FChart");
    FChart->setGeometry(22, 15, 195, 195);
    FChart->setAccessibleName(QStringLiteral("Chart"));
    TrainingItems->SwatchColor = ChartData->backgroundBrush().color();
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
    // DescribeTraining's bit for the title alone.
    const int titleField = 4;
    return training ? Text(DescribeTraining(training->Header, titleField, false)) : QString();
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

void TfrmChart::ReloadKeepingSelection(bool justOpened)
{
    const int remembered = SelectedIndex();
    TfrmChart::ReloadTrainings(justOpened);
    {
        const QSignalBlocker quiet(clbTrainings);
        if (remembered < clbTrainings->count()) clbTrainings->setCurrentRow(remembered);
        if (SelectedIndex() < 0 && clbTrainings->count() > 0) clbTrainings->setCurrentRow(0);
    }
    clbTrainingsClick();
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
    // the information panel, but none of the controls of the other panels.
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
