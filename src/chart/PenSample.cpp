// A training's pen as the chart windows draw it, and its sample.
#include "untChart.h"

#include "untLineSample.h"

#include <QPainter>

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
