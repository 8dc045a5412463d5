// The training window's data grids: a table model over the window's live
// training that formats each cell only when the view asks for it, so a
// training of 65,535 strokes opens as quickly as a short one, and the
// headers of the four grids.
#pragma once

#include "untTrainingGrids.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>

struct TTraining;

// The horizontal header holds the captions, the vertical one the row numbers
// ("#" in the corner). Without data rows the grid shows one empty row.
class TTrainingGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    TTrainingGridModel(const TTraining& training, TGridKind kind, QObject* parent = nullptr);

    TGridKind Kind() const { return GridKind; }
    // The training changed: the view asks again for what it shows.
    void Refresh();
    // The splits a grid of kind Splits shows; the view asks again.
    void SetSplits(std::vector<TSplit> splits);
    const std::vector<TSplit>& Splits() const { return FSplits; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    int CurrentDataRows() const;

    const TTraining& Training;
    TGridKind GridKind;
    std::vector<TSplit> FSplits;
    int DataRows = 0;
};

// A header of a training grid. Its sections are drawn by the style without
// their text, which is written 2 pixels right of and below the section's
// corner, as in the grid's cells.
class TGridHeader : public QHeaderView {
    Q_OBJECT

public:
    using QHeaderView::QHeaderView;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

// The row-number column. Its numbers grow down the grid, so its first and
// last rows alone tell its width: the standard header would measure a
// hundred rows at each end, on every change of a grid of 65,535.
class TRowNumberHeader : public TGridHeader {
    Q_OBJECT

public:
    explicit TRowNumberHeader(QWidget* parent = nullptr);
    QSize sizeHint() const override;
};

// The caption row. SizeGridRows fixes its height to suit the font, so the
// standard header's measuring of every caption, again on each change of
// model or font, would buy nothing.
class TCaptionHeader : public TGridHeader {
    Q_OBJECT

public:
    explicit TCaptionHeader(QWidget* parent = nullptr);
    QSize sizeHint() const override;
};

// A read-only grid over one of the training's tables, named name: fixed row
// heights, a row-number column wide enough for 65,535, headers in black.
QTableView* NewTrainingGrid(const TTraining& training, TGridKind kind, const QString& name, QWidget* parent);
// Default row height twice the font's point size, the header row 2.5 times
// (rounded, ties to even), never lower than the text.
void SizeGridRows(QTableView& grid);
