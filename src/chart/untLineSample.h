// A line sample: how a curve will be drawn, shown as a short line in its pen
// colour, width and style. Also the conversion of the training record's pen
// styles to Qt's.
#pragma once

#include "jsUtils.h"
#include "untFormUtils.h"

#include <QColor>
#include <QWidget>

// The record's pen styles: 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot;
// any other value draws solid.
Qt::PenStyle QtPenStyle(int penStyle);

// A small panel filled with its brush colour, with a band of the pen's width
// across its middle (horizontal or vertical) drawn with the pen's colour and
// style. With the brush in the pen's colour a solid pen gives a solid band; a
// dashed pen over the window colour shows dashes. It takes no focus; callers
// give it an object name and an accessible name.
class TLineSample : public QWidget {
    Q_OBJECT

public:
    explicit TLineSample(Qt::Orientation orientation, QWidget* parent = nullptr);

    void SetPen(const QColor& colour, int width, int penStyle);
    void SetBrush(const QColor& colour);
    QColor PenColor() const { return Pen; }
    int PenWidth() const { return Width; }
    int PenStyle() const { return Style; }
    QColor BrushColor() const { return Brush; }
    Qt::Orientation Orientation() const { return Direction; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::Orientation Direction;
    QColor Pen = Qt::black;
    int Width = 1;
    int Style = 0;
    QColor Brush = Qt::white;
};
