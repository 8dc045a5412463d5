#include "untGridMenu.h"

#include "untModal.h"
#include "untSelectColumns.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTableView>

namespace {

QAction* NewMenuAction(TGridMenu* menu, const char* name, const QString& caption, const QString& hint)
{
    auto* action = new QAction(caption, menu);
    action->setObjectName(QString::fromLatin1(name));
    action->setStatusTip(hint);
    menu->addAction(action);
    return action;
}

} // namespace

TGridMenu::TGridMenu(QWidget* parent, const char* selectColumnsName) : QMenu(parent)
{
    setObjectName("pmnCopyData");
    CopySelectionAction = NewMenuAction(this, "CopySelection", QStringLiteral("&Copy"),
                                        QStringLiteral("Copy the selected cells to the clipboard"));
    // Shown beside the command; the grids' key presses do the copying.
    CopySelectionAction->setShortcut(QKeySequence::Copy);
    CopySelectionAction->setShortcutContext(Qt::WidgetShortcut);
    addSeparator();
    SelectColumns = NewMenuAction(this, selectColumnsName, QStringLiteral("&Select columns ..."),
                                  QStringLiteral("Choose the columns the grid shows"));
    addSeparator();
    CopyDataAll = NewMenuAction(this, "CopyDataAll", QStringLiteral("Copy &All"),
                                QStringLiteral("Copy data + headers to the clipboard"));
    CopyDataData = NewMenuAction(this, "CopyDataData", QStringLiteral("Copy &Data"),
                                 QStringLiteral("Copy data only to the clipboard (no headers)"));
    CopyDataRow = NewMenuAction(this, "CopyDataRow", QStringLiteral("Copy &Row"),
                                QStringLiteral("Copy current row to the clipboard"));
    const std::pair<QAction*, TCopyMode> copies[] = {
        {CopyDataAll, TCopyMode::All}, {CopyDataData, TCopyMode::Data}, {CopyDataRow, TCopyMode::Row}};
    for (const auto& [action, mode] : copies) {
        action->setProperty("Tag", static_cast<int>(mode));
        connect(action, &QAction::triggered, this, [this, mode = mode] { CopyGrid(mode); });
    }
    connect(CopySelectionAction, &QAction::triggered, this, &TGridMenu::CopySelection);
    connect(SelectColumns, &QAction::triggered, this, &TGridMenu::ChooseColumns);
}

void TGridMenu::Attach(QTableView& grid)
{
    grid.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&grid, &QWidget::customContextMenuRequested, this, [this, &grid](const QPoint& at) {
        FGrid = &grid;
        popup(grid.viewport()->mapToGlobal(at));
    });
    grid.installEventFilter(this);
}

// Ctrl+C in a grid copies its selection, where the view itself would copy the
// current cell alone; no shortcut of the window takes the keys first.
bool TGridMenu::eventFilter(QObject* watched, QEvent* event)
{
    auto* grid = qobject_cast<QTableView*>(watched);
    const QEvent::Type type = event->type();
    if (!grid || (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)) return false;
    if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) return false;
    event->accept();
    if (type == QEvent::ShortcutOverride) return false;
    FGrid = grid;
    CopySelection();
    return true;
}

void TGridMenu::CopyGrid(TCopyMode mode)
{
    if (FGrid) CopyGridToClipboard(*FGrid, mode);
}

void TGridMenu::CopySelection()
{
    if (FGrid) QGuiApplication::clipboard()->setText(GridSelectionText(*FGrid));
}

bool TGridMenu::ChooseColumns()
{
    if (!FGrid || !FGrid->model()) return false;
    const QAbstractItemModel& model = *FGrid->model();
    TfrmSelectColumns dialog(parentWidget());
    QList<int> listed;
    for (int column = 0; column < model.columnCount(); ++column) {
        const QString caption = model.headerData(column, Qt::Horizontal).toString();
        if (caption.isEmpty()) continue;
        dialog.AddColumn(caption, !FGrid->isColumnHidden(column));
        listed << column;
    }
    if (ExecModal(dialog) != QDialog::Accepted) return false;
    for (int row = 0; row < listed.size(); ++row)
        FGrid->setColumnHidden(listed[row], dialog.Columns()->item(row)->checkState() != Qt::Checked);
    return true;
}
