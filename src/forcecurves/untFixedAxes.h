// The force-curve chart's two axes: each runs from 0 to a fixed maximum with
// a grid line at every multiple of a fixed step, so that curves of different
// strokes and trainings are read against the same grid. When the labels do
// not fit between two ticks, only every second (fourth, ...) tick is
// labelled, while every tick keeps its grid line.
#pragma once

#include <QObject>

class QChart;
class QString;
class QValueAxis;

class TFixedAxes : public QObject {
    Q_OBJECT

public:
    // The axes belong to chart; the object lives as long as it does.
    TFixedAxes(QChart* chart, QValueAxis* horizontal, QValueAxis* vertical);

    static void SetAxis(QValueAxis& axis, double maximum, double step, const QString& title);
    // Moves the end of the vertical axis to maximum, keeping its step. A zoom
    // is undone first, as undoing it later would bring back the old end; an
    // axis already ending there keeps its zoom.
    void SetVerticalMaximum(double maximum);

private:
    void FitLabels();

    QChart* Chart;
    QValueAxis *Horizontal, *Vertical;
};
