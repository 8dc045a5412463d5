// The chart-options dialog, kept by the program block for the whole run. It
// edits how one training is drawn: the curve colour, picked from a grid of
// the sixteen standard colours, and the line style and width. Its colour and
// style choices stay from one use to the next.
#pragma once

#include "untDialog.h"
#include "untTypes.h"

#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QRadioButton;
class QToolButton;
class TLineSample;

// One line style the dialog offers: how the record stores it and the captions.
struct TChartStyle {
    const char* Name;    // object name without its prefix: "Dash" gives shpDash, rbnDash
    const char* Caption; // the radio button's caption
    uint8_t PenStyle;
    int32_t PenWidth;
};
const int ChartStyleCount = 8;
extern const TChartStyle ChartStyles[ChartStyleCount];

// The colours of the grid, row by row.
const int ChartColorCount = 16;
extern const TNamedColor ChartColors[ChartColorCount];

class TfrmChartOptions : public TFormDialog {
    Q_OBJECT

public:
    explicit TfrmChartOptions(QWidget* parent = nullptr);
    ~TfrmChartOptions() override;

    // Shows the dialog for the training; on OK stores the chosen colour and
    // style in its header and returns true. Cancel changes nothing.
    bool ShowChartOptions(TTraining& training);

    // Keeps the dialog's own background: the face colour is replaced by the
    // colour the dialog had when created, and so is the font colour.
    void ApplyFontAndColors(const QFont& font, const QColor& text, const QColor& window, const QColor& face) override;

    // The samples take the chosen colour (the training's own one when no cell
    // of the grid is chosen), and the label below the grid its name.
    void clgColorChange();

    // The chosen cell of the colour grid, -1 for none.
    int ColorIndex() const;
    // The index into ChartStyles of the selected radio button.
    int StyleIndex() const;

    QWidget* ColorGrid() const { return clgColor; }
    QToolButton* ColorCell(int index) const { return Cells[index]; }
    QRadioButton* StyleButton(int index) const { return Radios[index]; }
    TLineSample* StyleSample(int index) const { return Samples[index]; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetColorIndex(int index);

    QGroupBox* gbxColor;
    QGroupBox* gbxStyle;
    QWidget* clgColor;
    QLabel* lblColor; // the chosen colour's name
    QButtonGroup* Grid;
    std::array<QToolButton*, ChartColorCount> Cells{};
    std::array<QRadioButton*, ChartStyleCount> Radios{};
    std::array<TLineSample*, ChartStyleCount> Samples{};
    QColor CreatedTextColor;
    TColor KeptColor = 0; // the training's colour while the dialog shows
};

// The dialog of the run: the first one made, until it is destroyed; nullptr
// when there is none.
TfrmChartOptions* ChartOptionsDialog();
