// The force-curve window: a chart window that draws, for every checked
// training, the force curve it shows against the position along the stroke,
// lists the open trainings with their curve position ("2000 m test (3/216)"),
// shows the stroke values of each drawn curve in the data grid, and steps or
// plays through the strokes of the selected training (with Shift: of every
// training). Its browsing state lives in each training's header
// (CurveIndex, CurveSource, CurveInterval, Visible and the pen), so a change
// made in another window shows at the next refresh. What is drawn and which
// texts fill a row come from the core (untForceCurveData.h); the window only
// turns them into a series and cells. Beneath the curves it can draw every
// stroke of a training ("All"), the spread of the strokes around a shown
// average, the two strokes before the shown one (the trail) and a curve
// pinned as a reference.
#pragma once

#include "untChart.h"
#include "untForceCurveData.h"

#include <functional>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TCurveUnderlay;
class TFixedAxes;
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
    // The title with the shown curve: "t (CurveIndex/N)", "t [A] (N)" or "t [Int i]".
    QString TrainingCaption(int index) const override;
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

    // The curve source of the selected training (of every training with
    // Shift): single strokes, the session's average or an interval's.
    void SetCurveSource(int source);
    void metCurveExit();
    void btbDeleteClick();
    void cbxShowAllClick();
    void cbxForceClick();
    void cbxLengthClick();
    void edtForceChange();
    void edtLengthChange();
    void sbrIntervalsScroll();
    void cbxSpreadClick();
    void cbxTrailClick();
    // Pins the selected training's shown curve as the reference, or drops it.
    void btnPinClick();

    // One series per open training, its 80 points replaced, and what the
    // underlay draws beneath them; the force axis is extended only when a
    // drawn curve goes above it, and shrinks back when they fit again.
    // Nothing else of the chart is rebuilt.
    void DrawForceCurves();
    // One grid row per checked training, and the pinned curve's below them.
    void FillCurveGrid();
    void SetPlayGlyph(bool showPlay);

    // The shown curve of the selected training as a one-stroke stroke file,
    // offered in lastDir's folder (the main window's Save As).
    void ExportStrokeFile(const QString& lastDir);

    void SetPlayInterval(int milliseconds);
    int PlayInterval() const;
    bool IsPlaying() const;
    TCurveScaling Scaling() const;
    bool HasPin() const { return Pinned.has_value(); }
    TCurveUnderlay* Underlay() const { return FUnderlay; }

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
    // The spread band of a training, kept until its average changes.
    const TCurveBand& CachedBand(const TTraining& training);
    // The highest force of every curve the "All" pictures draw; each time
    // they change the picture is made anew.
    float UpdateAllPicture();
    // Curves were withdrawn or trainings came and went: the kept bands and
    // pictures are made again.
    void ForgetCurveCaches();

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
    QFrame* pnlShowOptions;
    QCheckBox *cbxTrail, *cbxSpread;
    QPushButton* btnPin;
    TFixedAxes* FAxes;
    TCurveUnderlay* FUnderlay;

    struct TBandCache {
        const TTraining* Training = nullptr;
        uint8_t Source = 0;
        int Interval = 0;
        size_t Strokes = 0;
        TSamples Average{};
        TCurveBand Band;
    };
    std::vector<TBandCache> Bands;
    // What the "All" picture was made of: each training's identity and
    // colour, and the options, so that a change is seen.
    struct TAllKey {
        const TTraining* Training = nullptr;
        size_t Strokes = 0;
        TSamples Average{};
        QColor Colour;
        bool operator==(const TAllKey& other) const
        {
            return Training == other.Training && Strokes == other.Strokes && Average == other.Average
                   && Colour == other.Colour;
        }
    };
    std::vector<TAllKey> AllKeys;
    TCurveScaling AllScaling;
    float AllHighest = 0;

    std::optional<TPinnedCurve> Pinned;
    const TTraining* PinnedTraining = nullptr;
};
