// The force-curve window: a chart window that draws, for every checked
// training, the force curve it shows against the position along the stroke,
// lists the open trainings with their curve position ("2000 m test (3/216)"),
// shows the stroke values of each drawn curve in the data grid, and steps or
// plays through the strokes of the selected training (with Shift: of every
// training). Its browsing state lives in each training's header
// (CurveIndex, CurveSource, CurveInterval, Visible and the pen), so a change
// made in another window shows at the next refresh. What is drawn and which
// texts fill a row come from the core (untForceCurveData.h); the window only
// turns them into a series and cells.
#pragma once

#include "untChart.h"
#include "untForceCurveData.h"

#include <functional>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QScrollBar;
class QSpinBox;
class QTimer;
class QToolButton;

class TfrmForceCurves : public TfrmChart {
    Q_OBJECT

public:
    TfrmForceCurves(TMDIMain* owner, IOpenTrainings& trainings);
    ~TfrmForceCurves() override;

    void TrainingsClosed() override;
    void ReloadTrainings(bool justOpened) override;
    // The text of the fixed force and length, shown only in a copied chart picture.
    void UpdateInfo() override;
    void ApplyColors(const QFont& font, const QColor& text, const QColor& control, const QColor& form) override;
    // With the base layout the "Square" setting; fixed force and fixed length
    // are always off after opening.
    void LoadLayout(const std::string& settingsFile, int placement) override;
    void SaveLayout(const std::string& settingsFile) override;

    // The one refresh of the window: check marks, the browse controls of the
    // selected training, the chart and the data grid.
    void clbTrainingsClick() override;
    void clbTrainingsClickCheck() override;
    void clbTrainingsDblClick() override;

    // Browsing; each stops playing first and, with Shift down, steps every
    // open training on its own strokes.
    void btbFirstClick();
    void btbPreviousClick();
    void btbNextClick();
    void btbLastClick();
    void sbrCurvesScroll(int position);
    // Starts or stops playing.
    void btbPlayClick();
    // One step of playing: the next valid curve of the selected training, or
    // the end of playing at its last stroke.
    void tmrPlayTimer();
    void cbxSquareClick();

    // Handlers of the controls this program keeps hidden.
    void SetCurveSource(int source);
    void metCurveExit();
    void btbDeleteClick();
    void cbxShowAllClick();
    void cbxForceClick();
    void cbxLengthClick();
    void edtForceChange();
    void edtLengthChange();
    void sbrIntervalsScroll();

    // One series per open training, its 80 points replaced; the force axis
    // is extended only when a drawn curve goes above it, and shrinks back
    // when they fit again. Nothing else of the chart is rebuilt.
    void DrawForceCurves();
    // One grid row per checked training.
    void FillCurveGrid();
    void SetPlayGlyph(bool showPlay);

    // The shown curve of the selected training as a one-stroke stroke file,
    // offered in lastDir's folder (the main window's Save As).
    void ExportStrokeFile(const QString& lastDir);

    void SetPlayInterval(int milliseconds);
    int PlayInterval() const;
    bool IsPlaying() const;
    TCurveScaling Scaling() const;

    // Whether a Shift key is down while a browse command runs; tests replace it.
    std::function<bool()> ShiftDown;

protected:
    void CloseAccepted() override;
    void pnlChartResize() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateBrowsePanels();
    void CreateFixedValuesPanel();
    void pnlTraining4Resize();
    void pnlTraining3Resize();
    void StopPlaying();
    // Runs step on the selected training, or on every training while Shift is down.
    void ApplyToTrainings(const std::function<void(TTraining&)>& step, bool stopPlaying = true);
    void ShowFixedValues();

    QCheckBox* cbxSquare;
    QTimer* tmrPlay;
    QFrame* pnlBrowseCurves;
    QToolButton *btbFirst, *btbPrevious, *btbNext, *btbLast, *btbPlay, *btbDelete;
    QScrollBar* sbrCurves;
    QRadioButton* rbtBrowseCurves;
    QCheckBox* cbxShowAll;
    QLineEdit* metCurve;
    QFrame* pnlBrowseAverage;
    QRadioButton* rbtBrowseAverage;
    QFrame* pnlBrowseIntervals;
    QRadioButton* rbtBrowseIntervals;
    QScrollBar* sbrIntervals;
    QCheckBox *cbxForce, *cbxLength;
    QLineEdit *edtForce, *edtLength;
    QSpinBox *udnForce, *udnLength;
    QList<class QLineSeries*> AllSeries; // the show-all curves, usually none
};
