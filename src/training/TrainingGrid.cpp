#include "untTrainingGrid.h"

#include "untFormUtils.h"
#include "untTypes.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QStyleOptionHeader>

#include <algorithm>
#include <cmath>

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// A header section's text, 2 pixels right of and below its corner, clipped to it.
void DrawSectionText(QPainter& painter, const QRect& section, const QString& text)
{
    painter.setPen(Qt::black);
    painter.setClipRect(section);
    DrawTextFromTop(painter, section.topLeft() + QPoint(2, 2), text);
}

// Paints "#" on the table's corner button, above the row numbers. The button
// is disabled, but its caption is as black as the other headers'.
class TCornerCaption : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* corner = qobject_cast<QAbstractButton*>(watched);
        if (!corner || event->type() != QEvent::Paint) return false;
        QPainter painter(corner);
        QStyleOptionHeader option;
        option.initFrom(corner);
        option.rect = corner->rect();
        option.position = QStyleOptionHeader::OnlyOneSection;
        corner->style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
        DrawSectionText(painter, option.rect, QStringLiteral("#"));
        return true;
    }
};

} // namespace

TTrainingGridModel::TTrainingGridModel(const TTraining& training, TGridKind kind, QObject* parent)
    : QAbstractTableModel(parent), Training(training), GridKind(kind)
{
    DataRows = CurrentDataRows();
}

int TTrainingGridModel::CurrentDataRows() const
{
    return GridKind == TGridKind::Splits ? static_cast<int>(FSplits.size()) : GridRowCount(Training, GridKind);
}

void TTrainingGridModel::SetSplits(std::vector<TSplit> splits)
{
    FSplits = std::move(splits);
    Refresh();
}

void TTrainingGridModel::Refresh()
{
    const int rows = CurrentDataRows();
    if (std::max(rows, 1) != rowCount()) {
        beginResetModel();
        DataRows = rows;
        endResetModel();
        return;
    }
    // The same number of rows: the view keeps its place and its headers their
    // 65,535 sections, and asks again only for what it shows.
    DataRows = rows;
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

int TTrainingGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(DataRows, 1);
}

int TTrainingGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : GridColumnCount(GridKind);
}

QVariant TTrainingGridModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= DataRows) return QVariant();
    if (GridKind == TGridKind::Splits) return Text(SplitCellText(FSplits, index.row(), index.column()));
    return Text(GridCellText(Training, GridKind, index.row(), index.column()));
}

QVariant TTrainingGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Horizontal) return Text(GridColumnCaption(Training, GridKind, section));
    return section < DataRows ? Text(GridRowLabel(section)) : QString();
}

void SizeGridRows(QTableView& grid)
{
    const QFont font = grid.font();
    const double points = PointSize(font);
    const int text = QFontMetrics(font).height();
    const int rowHeight = std::max(static_cast<int>(std::lround(2 * points)), text + 2);
    const int headerHeight = std::max(static_cast<int>(std::nearbyint(2.5 * points)), text + 6);
    grid.verticalHeader()->setMinimumSectionSize(1);
    grid.verticalHeader()->setDefaultSectionSize(rowHeight);
    grid.horizontalHeader()->setFixedHeight(headerHeight);
    // The row numbers of the largest training must fit their column.
    const int numbers = QFontMetrics(font).horizontalAdvance(QStringLiteral("65535")) + 8;
    grid.verticalHeader()->setFixedWidth(std::max(30, numbers));
}

void TGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid()) return;
    QStyleOptionHeader section;
    initStyleOption(&section);
    initStyleOptionForIndex(&section, logicalIndex);
    section.rect = rect;
    const QString text = section.text;
    section.text.clear();
    style()->drawControl(QStyle::CE_Header, &section, painter, this);
    DrawSectionText(*painter, rect, text);
}

TRowNumberHeader::TRowNumberHeader(QWidget* parent) : TGridHeader(Qt::Vertical, parent) {}

QSize TRowNumberHeader::sizeHint() const
{
    if (!model() || count() == 0) return QHeaderView::sizeHint();
    const QSize first = sectionSizeFromContents(logicalIndex(0));
    const QSize last = sectionSizeFromContents(logicalIndex(count() - 1));
    return {std::max(first.width(), last.width()), std::max(first.height(), last.height())};
}

TCaptionHeader::TCaptionHeader(QWidget* parent) : TGridHeader(Qt::Horizontal, parent) {}

QSize TCaptionHeader::sizeHint() const
{
    if (minimumHeight() != maximumHeight()) return QHeaderView::sizeHint();
    return {defaultSectionSize(), minimumHeight()};
}

QTableView* NewTrainingGrid(const TTraining& training, TGridKind kind, const QString& name, QWidget* parent)
{
    auto* grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->setHorizontalHeader(new TCaptionHeader(grid));
    grid->setVerticalHeader(new TRowNumberHeader(grid));
    SizeGridRows(*grid);
    grid->setModel(new TTrainingGridModel(training, kind, grid));
    SetGridLook(*grid);
    // A block of cells, whole rows or whole columns can be selected and copied.
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    if (auto* corner = grid->findChild<QAbstractButton*>()) corner->installEventFilter(new TCornerCaption(grid));
    return grid;
}
