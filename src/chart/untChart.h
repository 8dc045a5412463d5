// The chart window: the base of the windows that compare the open trainings
// in one chart. It holds the chart, the check list of the open trainings (a
// check mark follows the training's Visible flag), a data grid with one row
// per checked training, the two splitters between them, the layout kept in
// the settings file and the reactions to trainings being opened, changed and
// closed. The window keeps no training data: it asks the open trainings
// through IOpenTrainings every time. A concrete window decides what the chart
// and the grid's value columns show.
#pragma once

#include "untMDIChild.h"

#include <QAbstractTableModel>
#include <QChartView>
#include <QHeaderView>
#include <QList>
#include <QPen>
#include <QPointF>
#include <QStringList>
#include <QStyledItemDelegate>

#include <string>
#include <vector>

class IOpenTrainings;
class QAction;
class QChart;
class QFrame;
class QLabel;
class QLineSeries;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPainter;
class TGridMenu;
class QSplitter;
class QStatusBar;
class QTableView;
class QValueAxis;
struct THeader;
struct TTraining;

// How a training's curve is drawn, as a pen sample shows it; a clear pen
// (Qt::NoPen) draws nothing.
struct TPenSample {
    QColor Color = Qt::black;
    Qt::PenStyle Style = Qt::NoPen;
    int Width = 0;
    bool operator==(const TPenSample& other) const
    {
        return Color == other.Color && Style == other.Style && Width == other.Width;
    }
};
TPenSample PenSampleOf(const THeader& header);
// The pen a chart series of the training is drawn with.
QPen CurvePen(const THeader& header);

// Fills the strip of the rightmost 10 pixels of rect with the painter's
// brush and draws a short vertical line 5 pixels inside the right edge, 3
// pixels short of the top and bottom, in the pen's colour, width and style.
void DrawPenSample(QPainter& painter, const QRect& rect, Qt::PenStyle style, int width, const QColor& colour);

// The data grid: the value columns' captions in the horizontal header, each
// row's caption in the vertical header with the row's pen sample. The rows
// hold their own texts: there is one row per checked training, never more
// than the open trainings. Without rows the grid shows one empty row.
class TChartDataModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum TRoles { PenColorRole = Qt::UserRole + 1, PenStyleRole, PenWidthRole };
    struct TRow {
        QString Caption;
        TPenSample Pen;
        QStringList Cells;
    };

    explicit TChartDataModel(QObject* parent = nullptr);

    void SetColumnCaptions(const QStringList& captions);
    // Rows kept keep their cells; only what changed is announced to the view.
    void SetRowHeaders(const std::vector<TRow>& rows);
    void SetCells(int row, const QStringList& cells);
    void ClearCells(int row);
    int DataRows() const { return static_cast<int>(Rows.size()); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // Row captions changed only in digits, in place: the row header repaints
    // them and keeps its width, without the relayout that headerDataChanged
    // starts.
    void RowCaptionsRetexted(int first, int last);

private:
    QStringList Captions;
    std::vector<TRow> Rows;
};

// The data grid's row captions with the row's pen sample at their right edge.
class TDataRowHeader : public QHeaderView {
    Q_OBJECT

public:
    explicit TDataRowHeader(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    void setModel(QAbstractItemModel* model) override;
    void RepaintRows(int first, int last);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

// The trainings list's items: the standard check box and caption, and at the
// right a swatch with the training's pen sample (colour, style and width in
// the item's data roles).
class TTrainingItemPainter : public QStyledItemDelegate {
    Q_OBJECT

public:
    enum TRoles { PenColorRole = Qt::UserRole + 1, PenStyleRole, PenWidthRole };
    using QStyledItemDelegate::QStyledItemDelegate;
    QColor SwatchColor = Qt::white; // the chart's background

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The chart control: a rubber band zooms into the dragged rectangle, a right
// click shows the whole chart again. The chart's grid lines and ticks are
// drawn from pixmaps of their own, so that a new curve costs little more
// than itself.
class TChartView : public QChartView {
    Q_OBJECT

public:
    explicit TChartView(QChart* chart, QWidget* parent = nullptr);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CacheFixedItems();
};

class TfrmChart : public TMDIChild {
    Q_OBJECT

public:
    // The main window's layout commands; None applies the stored flags.
    enum class TLayoutCommand { None, Data, Trainings };
    // The copy commands' tags.
    enum TCopyTag { ctAll = 1, ctData = 2, ctRow = 3 };

    TfrmChart(TMDIMain* owner, IOpenTrainings& trainings);
    ~TfrmChart() override;

    // Copies the data grid (all, data only, or the current row) to the clipboard.
    virtual void CopyDataExecute(int tag);
    // Training windows were closed: the list is rebuilt, and the window closes
    // when no training is left.
    virtual void TrainingsClosed();
    // Rebuilds the list from the open trainings; justOpened after a training
    // was opened.
    virtual void ReloadTrainings(bool justOpened);
    // For a window that always shows a selected training: the list made again
    // with the selection kept where it was (else the first), then the
    // window's own refresh.
    void ReloadKeepingSelection(bool justOpened);
    // The text of list item index and of the data grid's row caption: the
    // training's title; a concrete window adds what it shows of it.
    virtual QString TrainingCaption(int index) const;
    virtual void UpdateInfo() {}
    virtual void ApplyColors(const QFont& font, const QColor& text, const QColor& control, const QColor& form);
    virtual void LoadLayout(const std::string& settingsFile, int placement);
    virtual void SaveLayout(const std::string& settingsFile);

    // The list's click: the check marks and captions follow the trainings.
    virtual void clbTrainingsClick();
    // An item's check mark changed: the training's Visible flag follows it.
    virtual void clbTrainingsClickCheck();
    virtual void clbTrainingsDblClick();
    void TrainingActiveExecute();
    void TrainingActiveUpdate();
    // Shows the chart options of the selected training. The training is
    // marked modified, and its window refreshed, whatever the dialog's result.
    void ChartOptionsExecute();
    void OpenTrainingExecute();
    void SelectDataColumnsExecute();
    // Copies the window's picture, with the program's name and the time, to
    // the clipboard; with save also to a PNG file the user chooses.
    void CopyChartImage(bool save);

    // The grid's rows: one per checked training, captions and pen samples,
    // then the extra rows.
    void BuildDataRows(const std::vector<TChartDataModel::TRow>& extraRows = {});
    // Keeps the order chart area, splitter, data area, status bar.
    void StackBottomPanels();
    void ApplyLayout(TLayoutCommand command = TLayoutCommand::None);
    // The splitter rules: the data area at least 100 pixels high and at least
    // 225 pixels of client height above it; the trainings list at least 160
    // pixels wide and at least 225 pixels of client width beside it. newSize
    // is the data area's height or the list's width; false when it had to be
    // corrected.
    bool splDataCanResize(int& newSize) const;
    bool splTrainingsCanResize(int& newSize) const;
    // The selected list item, -1 for none.
    int SelectedIndex() const;
    QListWidget* Trainings() const { return clbTrainings; }
    QChartView* Chart() const { return FChart; }
    QTableView* DataGrid() const { return sgdData; }
    TChartDataModel* DataModel() const { return DataRows; }
    bool IsSquare() const { return FSquare; }
    bool DataVisible() const { return FDataVisible; }
    bool TrainingsVisible() const { return FTrainingsVisible; }

    // The window bounds last read from or written to the layout.
    TFormBounds FBounds;

protected:
    void CloseAccepted() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Places the chart: filling its panel, or square and centred.
    virtual void pnlChartResize();

    // The live record of list item index; nullptr outside the list.
    TTraining* SelectedRecord() const;
    // The series of training index, made on first use, drawn with the pen of
    // header; an empty point list hides it. Series of trainings beyond count
    // are removed.
    void ShowTrainingSeries(int index, const QList<QPointF>& points, const THeader& header);
    void TrimTrainingSeries(int count);
    QLineSeries* TrainingSeries(int index) const;

    IOpenTrainings& OpenTrainings;

    QString FColumns;
    std::string FSection;
    bool FSquare = false;
    bool FDataVisible = true;
    int FDataHeight = 80;
    bool FTrainingsVisible = true;
    int FTrainingsWidth = 170;
    int FTrainingsMinimum = 150; // the trainings panel's own minimum width

    QChart* ChartData;
    TChartView* FChart;
    QValueAxis* AxisX;
    QValueAxis* AxisY;
    QSplitter* splData;
    QWidget* pnlTop;
    QSplitter* splTrainings;
    QWidget* pnlChart;
    QFrame* pnlTrainings;
    QWidget* pnlList;
    QLabel* pnlTitle;
    QListWidget* clbTrainings;
    TTrainingItemPainter* TrainingItems;
    QFrame *pnlTraining1, *pnlTraining2, *pnlTraining3, *pnlTraining4;
    QLabel* lblInfo;
    QFrame* pnlData;
    QTableView* sgdData;
    TChartDataModel* DataRows;
    QStatusBar* StatusBar;
    QMenu* pmnTrainings;
    QAction *TrainingActive, *ChartOptions, *OpenTraining;
    TGridMenu* pmnCopyData;
    QString ChartFolder; // where the last chart picture was saved

private:
    void CreateChart();
    void CreateTrainingsPanel();
    void CreateDataPanel();
    void CreateCommands();
    void UpdateSplitterLimits();
    void ApplyPanelSizes();
    void RefreshItem(int index);
    void ItemChanged(QListWidgetItem* item);
    void ShowTrainingsMenu(const QPoint& at);

    QList<QLineSeries*> Series;
    bool PanelSizesPending = false;
};
