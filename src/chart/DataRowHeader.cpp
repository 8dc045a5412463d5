// The data grid's row captions with their pen samples.
#include "untChart.h"

#include <QPainter>

TDataRowHeader::TDataRowHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {}

void TDataRowHeader::setModel(QAbstractItemModel* model)
{
    QHeaderView::setModel(model);
    if (auto* rows = qobject_cast<TChartDataModel*>(model))
        connect(rows, &TChartDataModel::RowCaptionsRetexted, this, &TDataRowHeader::RepaintRows);
}

void TDataRowHeader::RepaintRows(int first, int last)
{
    const int top = sectionViewportPosition(first);
    const int bottom = sectionViewportPosition(last) + sectionSize(last);
    viewport()->update(0, top, viewport()->width(), bottom - top);
}

QSize TDataRowHeader::sizeHint() const
{
    // Column 0 of the grid: at least 120 pixels, and room for the pen sample.
    QSize size = QHeaderView::sizeHint();
    size.setWidth(std::max(120, size.width() + 14));
    return size;
}

void TDataRowHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    if (!model()) return;
    const QVariant style = model()->headerData(logicalIndex, Qt::Vertical, TChartDataModel::PenStyleRole);
    if (!style.isValid()) return;
    painter->save();
    painter->setBrush(palette().button());
    DrawPenSample(*painter, rect.adjusted(0, 0, -2, 0), static_cast<Qt::PenStyle>(style.toInt()),
                  model()->headerData(logicalIndex, Qt::Vertical, TChartDataModel::PenWidthRole).toInt(),
                  model()->headerData(logicalIndex, Qt::Vertical, TChartDataModel::PenColorRole).value<QColor>());
    painter->restore();
}
