// The chart windows' data grid model.
#include "untChart.h"

#include "ChartTexts.h"

TChartDataModel::TChartDataModel(QObject* parent) : QAbstractTableModel(parent) {}

void TChartDataModel::SetColumnCaptions(const QStringList& captions)
{
    beginResetModel();
    Captions = captions;
    endResetModel();
}

void TChartDataModel::SetRowHeaders(const std::vector<TRow>& rows)
{
    const auto shown = [](size_t rows) { return std::max(static_cast<int>(rows), 1); };
    const int before = shown(Rows.size()), after = shown(rows.size());
    const size_t kept = std::min(Rows.size(), rows.size()), filled = std::max(Rows.size(), rows.size());
    // The first and last of a set of rows.
    struct TRange {
        int First = -1, Last = -1;
        void Add(int row)
        {
            First = First < 0 ? row : std::min(First, row);
            Last = std::max(Last, row);
        }
        bool Empty() const { return First < 0; }
    };
    // Of the kept rows, those whose pen or caption text changed may need
    // another header width; those whose caption only changed digits in place
    // keep their width and are just repainted; their cells come with
    // SetCells.
    TRange relaid, retexted;
    std::vector<TRow> next = rows;
    for (size_t r = 0; r < kept; ++r) {
        next[r].Cells = Rows[r].Cells;
        const int row = static_cast<int>(r);
        if (!(Rows[r].Pen == rows[r].Pen) || !OnlyDigitsDiffer(Rows[r].Caption, rows[r].Caption))
            relaid.Add(row);
        else if (Rows[r].Caption != rows[r].Caption)
            retexted.Add(row);
    }
    if (after > before) {
        beginInsertRows(QModelIndex(), before, after - 1);
        Rows = std::move(next);
        endInsertRows();
    } else if (after < before) {
        beginRemoveRows(QModelIndex(), after, before - 1);
        Rows = std::move(next);
        endRemoveRows();
    } else {
        Rows = std::move(next);
    }
    // Rows the view keeps that turn from a training into the empty first row,
    // or back, change their cells too.
    const int swapped = static_cast<int>(kept), stable = std::min({before, after, static_cast<int>(filled)});
    if (swapped < stable) {
        relaid.Add(swapped);
        relaid.Add(stable - 1);
        if (!Captions.isEmpty()) emit dataChanged(index(swapped, 0), index(stable - 1, columnCount() - 1));
    }
    if (!relaid.Empty()) emit headerDataChanged(Qt::Vertical, relaid.First, relaid.Last);
    if (!retexted.Empty()) emit RowCaptionsRetexted(retexted.First, retexted.Last);
}

void TChartDataModel::SetCells(int row, const QStringList& cells)
{
    if (row < 0 || row >= DataRows() || Rows[static_cast<size_t>(row)].Cells == cells) return;
    Rows[static_cast<size_t>(row)].Cells = cells;
    if (!Captions.isEmpty()) emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void TChartDataModel::ClearCells(int row) { SetCells(row, {}); }

int TChartDataModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(DataRows(), 1);
}

int TChartDataModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(Captions.size());
}

QVariant TChartDataModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= DataRows()) return QVariant();
    return Rows[static_cast<size_t>(index.row())].Cells.value(index.column());
}

QVariant TChartDataModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    if (orientation == Qt::Horizontal) return role == Qt::DisplayRole ? Captions.value(section) : QVariant();
    if (section < 0 || section >= DataRows()) return role == Qt::DisplayRole ? QString() : QVariant();
    const TRow& row = Rows[static_cast<size_t>(section)];
    switch (role) {
    case Qt::DisplayRole: return row.Caption;
    case PenColorRole: return row.Pen.Color;
    case PenStyleRole: return static_cast<int>(row.Pen.Style);
    case PenWidthRole: return row.Pen.Width;
    default: return QVariant();
    }
}
