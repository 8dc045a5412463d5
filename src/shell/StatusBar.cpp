#include "untStatusBar.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    setMouseTracking(true);
    setMinimumHeight(fontMetrics().height() + 8);
}

void TStatusBar::SetPanelText(int index, const QString& text)
{
    if (index < 0 || index >= Items.size() || Items[index].Text == text) return;
    Items[index].Text = text;
    update(PanelRect(index));
}

QString TStatusBar::PanelText(int index) const
{
    return index >= 0 && index < Items.size() ? Items[index].Text : QString();
}

QRect TStatusBar::PanelRect(int index) const
{
    int left = 0;
    for (int i = 0; i < index && i < Items.size(); ++i) left += Items[i].Width + PanelGap;
    const int width = index < Items.size() ? Items[index].Width : 0;
    return QRect(left, 2, width, height() - 3);
}

int TStatusBar::PanelAt(int x) const
{
    int left = 0;
    for (int i = 0; i < Items.size(); ++i) {
        if (x > left && x < left + Items[i].Width) return i;
        left += Items[i].Width + PanelGap;
    }
    return -1;
}

// Only the panels the event asks for are painted: a new message text repaints
// its own panel, not the window buttons and the rest.
void TStatusBar::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().window());
    for (int i = 0; i < Items.size(); ++i) {
        const TStatusPanel& panel = Items[i];
        const QRect area = PanelRect(i);
        if (!event->region().intersects(area)) continue;
        if (panel.OwnerDrawn && DrawPanel) {
            DrawPanel(painter, i, area);
            continue;
        }
        if (panel.Bevel) qDrawShadePanel(&painter, area, palette(), true, 1);
        painter.setPen(palette().windowText().color());
        const QString text = fontMetrics().elidedText(panel.Text, Qt::ElideRight, area.width() - 6);
        painter.drawText(area.adjusted(3, 0, -3, 0), int(panel.Alignment | Qt::AlignVCenter), text);
    }
}

void TStatusBar::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMoved(event->position().toPoint());
    QStatusBar::mouseMoveEvent(event);
}

void TStatusBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) emit PanelClicked(PanelAt(event->position().toPoint().x()));
    QStatusBar::mousePressEvent(event);
}

void TStatusBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit DoubleClicked(event->position().toPoint());
    QStatusBar::mouseDoubleClickEvent(event);
}
