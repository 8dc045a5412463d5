// The context menu of data grids: copy the selected cells (also Ctrl+C),
// choose the shown columns, and copy everything, the data or the current row
// as tab-separated text that pastes into a spreadsheet as columns. One menu
// serves any number of grids; its commands act on the grid it was last opened
// on.
#pragma once

#include "untFormUtils.h"

#include <QMenu>
#include <QPointer>
#include <QTableView>

class TGridMenu : public QMenu {
    Q_OBJECT

public:
    // selectColumnsName names the column-choice action.
    TGridMenu(QWidget* parent, const char* selectColumnsName);

    // The grid's context-menu requests open this menu, and Ctrl+C copies its
    // selection.
    void Attach(QTableView& grid);
    // The grid the commands act on.
    QTableView* Grid() const { return FGrid; }
    void SetGrid(QTableView* grid) { FGrid = grid; }

    void CopyGrid(TCopyMode mode);
    void CopySelection();
    // Shows the column-selection dialog for the grid's captioned columns and
    // hides those left unchecked; false when it was cancelled.
    bool ChooseColumns();

    QAction *CopySelectionAction, *SelectColumns, *CopyDataAll, *CopyDataData, *CopyDataRow;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QTableView> FGrid;
};
