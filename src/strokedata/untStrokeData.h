// The stroke-data window: a chart window that draws, for every checked
// training, one stroke value (and optionally a second against a right axis)
// against the stroke number, the time or the distance. A vertical cursor,
// moved by the mouse or the Left and Right keys, picks a stroke; the data
// grid shows each checked training's values at that stroke, and a click or
// Enter makes it the selected training's shown force curve. Lines are
// reduced in the core to what the chart's width can show, at every zoom.
#pragma once

#include "untChart.h"
#include "untDialog.h"
#include "untStrokeChart.h"

#include <vector>

class QCategoryAxis;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class TStrokeOverlay;

// Edits an entry's scale mode and stored range.
class TfrmScaleRange : public TFormDialog {
    Q_OBJECT

public:
    explicit TfrmScaleRange(QWidget* parent = nullptr);
    // Shows entry's values; time entries are edited in seconds.
    void SetEntry(const ParameterType& entry, int index);
    // Writes the edited values into entry.
    void GetEntry(ParameterType& entry) const;

    QComboBox* cmbMode;
    QDoubleSpinBox *edtMinimum, *edtMaximum, *edtStep;

private:
    double Scale = 1;
};

class TfrmStrokeData : public TfrmChart {
    Q_OBJECT

public:
    TfrmStrokeData(TMDIMain* owner, IOpenTrainings& trainings);
    ~TfrmStrokeData() override;

    void ReloadTrainings(bool justOpened) override;
    // The training's title and its number of strokes: the shown force curve
    // means nothing here.
    QString TrainingCaption(int index) const override;
    void LoadLayout(const std::string& settingsFile, int placement) override;
    void SaveLayout(const std::string& settingsFile) override;
    void ApplyColors(const QFont& font, const QColor& text, const QColor& control, const QColor& form) override;
    void clbTrainingsClick() override;
    void clbTrainingsClickCheck() override;
    void clbTrainingsDblClick() override;

    // Lines and axes made anew from the trainings and the choices.
    void DrawStrokeData();
    // The shown part: each line reduced to the visible range and the chart's
    // width, the ticks of the axes, the bands and the cursor.
    void RefreshView();
    // The cursor on the stroke of the reference training (the selected one
    // when checked, else the first checked) nearest to x; the grid follows.
    void SetCursorX(double x);
    // Moves the cursor by strokes of the reference training. Without a
    // cursor, a single step starts at the stroke the force-curve window shows
    // of it (its CurveIndex), when the line has that stroke.
    void StepCursor(int strokes);
    // The reference training's CurveIndex := the stroke at the cursor; the
    // force-curve window shows it at once.
    void PickCursorStroke();
    // Edits the first value's scale mode and range and stores them.
    void btnScaleClick();
    void ZoomTo(double left, double right);
    void ZoomReset();

    double CursorX() const { return FCursorX; }
    // The reference training's stroke at the cursor; 0 for none.
    int CursorStroke() const;
    // The shown points of training index's first line (reduced).
    QList<QPointF> ShownPoints(int index) const;
    // The full line of training index's first value.
    const TStrokePoints& FullLine(int index) const;
    QCategoryAxis* ValueAxis() const;
    QCategoryAxis* RightAxis() const { return AxisY2; }
    QComboBox* ValueBox() const { return cmbValue; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void pnlChartResize() override;

private:
    void CreateChoicePanel();
    int ReferenceIndex() const;
    void FillGrid();
    // The chart's accessible description follows the cursor: the stroke and
    // the drawn values of the reference training there, so that a screen
    // reader tells them as the keys move it. Without a cursor it is empty,
    // and the chart's tooltip, which names the keys, describes it.
    void DescribeCursor();
    int EntryOf(const QComboBox* box) const;
    // Ticks from minimum to maximum every step, fewer where their labels
    // would not fit; true when the labels changed.
    bool SetTicks(QCategoryAxis& axis, double minimum, double maximum, double step, bool time);

    QComboBox *cmbValue = nullptr, *cmbValue2 = nullptr, *cmbAxis = nullptr, *cmbSmoothing = nullptr;
    QPushButton* btnScale = nullptr;
    QCategoryAxis *AxisTime = nullptr, *AxisValue = nullptr, *AxisY2 = nullptr;
    TStrokeOverlay* Overlay = nullptr;
    // What the axes were last set from; while it stays the same a zoom is kept.
    struct TDrawnKey {
        int Axis = -1, Entry = -1, Entry2 = -1;
        double Left = 0, Right = 0, Low = 0, High = 0, Low2 = 0, High2 = 0;
        bool operator==(const TDrawnKey& other) const
        {
            return Axis == other.Axis && Entry == other.Entry && Entry2 == other.Entry2 && Left == other.Left
                   && Right == other.Right && Low == other.Low && High == other.High && Low2 == other.Low2
                   && High2 == other.High2;
        }
    };
    TDrawnKey Drawn;
    std::vector<TStrokePoints> Lines, Lines2; // per open training; empty when not checked
    std::vector<QLineSeries*> Series2;
    TValueRange Range1, Range2;
    double FullLeft = 0, FullRight = 1;
    double FCursorX = 0;
    bool HasCursor = false;
    bool Refreshing = false;
    QPoint PressedAt;
    QPair<int, int> LabelWidths; // the widest label of the left and right axes
};
