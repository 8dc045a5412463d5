// The trainings list's items with their pen swatches.
#include "untChart.h"

#include "untFormUtils.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>

void TTrainingItemPainter::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem row = option;
    initStyleOption(&row, index);
    const QWidget* view = option.widget;
    QStyle* style = view ? view->style() : QApplication::style();
    // The selection spans the whole item; the caption stops short of the swatch.
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &row, painter, view);
    // The style draws the check box; the caption is written 2 pixels below
    // the item's top.
    QStyleOptionViewItem caption = row;
    caption.rect.setRight(option.rect.right() - 34);
    const QString text = caption.text;
    caption.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &caption, painter, view);
    // Where the style writes an item's text, and its margin there.
    const int left = style->subElementRect(QStyle::SE_ItemViewItemText, &caption, view).left()
                     + style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    DrawItemText(*painter, caption,
                 QRect(left, caption.rect.top() + 2, caption.rect.right() - left + 1, caption.rect.height() - 2), text);

    const QRect r = option.rect;
    painter->save();
    painter->fillRect(QRect(QPoint(r.right() - 25, r.top() + 2), QPoint(r.right() - 7, r.bottom() - 2)), SwatchColor);
    const QVariant penStyle = index.data(PenStyleRole);
    if (penStyle.isValid()) {
        QPen pen(index.data(PenColorRole).value<QColor>(), index.data(PenWidthRole).toInt(),
                 static_cast<Qt::PenStyle>(penStyle.toInt()));
        pen.setCapStyle(Qt::FlatCap);
        painter->setPen(pen);
        const int y = r.top() + r.height() / 2;
        painter->drawLine(r.right() - 28, y, r.right() - 4, y);
    }
    painter->restore();
}

QSize TTrainingItemPainter::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), static_cast<int>(std::lround(2 * PointSize(option.font)))));
    return size;
}
