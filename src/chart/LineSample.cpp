#include "untLineSample.h"

#include <QPainter>
#include <QPen>

#include <algorithm>

Qt::PenStyle QtPenStyle(int penStyle)
{
    switch (penStyle) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
    }
}

TLineSample::TLineSample(Qt::Orientation orientation, QWidget* parent) : QWidget(parent), Direction(orientation)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TLineSample::SetPen(const QColor& colour, int width, int penStyle)
{
    Pen = colour;
    Width = width;
    Style = penStyle;
    update();
}

void TLineSample::SetBrush(const QColor& colour)
{
    Brush = colour;
    update();
}

QSize TLineSample::sizeHint() const
{
    const int thickness = std::max(Width + 6, 12);
    return Direction == Qt::Horizontal ? QSize(75, thickness) : QSize(thickness, 75);
}

void TLineSample::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Brush);
    const bool horizontal = Direction == Qt::Horizontal;
    const int across = horizontal ? height() : width();
    const int band = std::min(Width, across);
    if (band <= 0) return;
    const int start = (across - band) / 2;
    const QRect area = horizontal ? QRect(0, start, width(), band) : QRect(start, 0, band, height());
    const Qt::PenStyle style = QtPenStyle(Style);
    if (style == Qt::SolidLine) {
        painter.fillRect(area, Pen);
        return;
    }
    // The dashes are clipped to the band, so that a rounding of the line's
    // position can never put them a pixel outside it.
    painter.setClipRect(area);
    painter.setPen(QPen(Pen, band, style, Qt::FlatCap));
    const qreal middle = start + band / 2.0;
    if (horizontal)
        painter.drawLine(QPointF(0, middle), QPointF(width(), middle));
    else
        painter.drawLine(QPointF(middle, 0), QPointF(middle, height()));
}
