// The chart control: zoom by rubber band, the whole chart by right click.
#include "untChart.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QMouseEvent>

TChartView::TChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent)
{
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::RectangleRubberBand);
    setFrameShape(QFrame::NoFrame);
}

void TChartView::paintEvent(QPaintEvent* event)
{
    CacheFixedItems();
    QChartView::paintEvent(event);
}

void TChartView::CacheFixedItems()
{
    // The chart makes its grid lines and ticks as standard line items, and
    // makes new ones when the axes change; its series are items of its own
    // types. A cached item is painted again only when it changes itself.
    if (!scene()) return;
    for (QGraphicsItem* item : scene()->items())
        if (item->type() == QGraphicsLineItem::Type && item->cacheMode() == QGraphicsItem::NoCache)
            item->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
}

void TChartView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        chart()->zoomReset();
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}
