// The training window's data pages: the pages a user and a screen reader
// find, the splits page, and the grids' copy menu and column choice.
#include "TrainingWindowKit.h"

#include "untCharts.h"
#include "untSelectColumns.h"
#include "untTrainingGrid.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace {

QStringList TabTexts(const QTabWidget* pages)
{
    QStringList texts;
    for (int i = 0; i < pages->count(); ++i) texts << pages->tabText(i);
    return texts;
}

// Types a text into an editable combo box as a user does.
void TypeInto(QComboBox* combo, const QString& text)
{
    combo->lineEdit()->selectAll();
    combo->lineEdit()->insert(text);
}

// The cells of a grid's rows as the model gives them, tab-separated.
QString RowText(const QTableView* grid, int row, const QList<int>& columns)
{
    QStringList cells;
    for (int column : columns) cells << grid->model()->index(row, column).data().toString();
    return cells.join('\t') + "\r\n";
}

// Opens the grid's context menu at a cell and runs its command named name.
void RunMenuCommand(QTableView* grid, const char* name)
{
    emit grid->customContextMenuRequested(grid->visualRect(grid->model()->index(0, 0)).center());
    auto* menu = grid->window()->findChild<QMenu*>("pmnCopyData");
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->isVisible()) << "the menu opens on the grid";
    QAction* command = menu->findChild<QAction*>(name);
    ASSERT_NE(command, nullptr) << name;
    menu->hide();
    command->trigger();
}

} // namespace

class TrainingPagesTest : public TTrainingWindowFixture {
protected:
    // A 2,000 m piece of about 216 strokes.
    TfrmTraining* OpenPiece()
    {
        return Open([](TTraining& training) { training = MakeDemoTraining(400, 2000); });
    }
    TfrmTraining* OpenPieceAgain()
    {
        Window()->close();
        Settle();
        Main->OpenFile(QString::fromStdString(Root.Path()) + "data/piece.stg");
        return Window();
    }
    std::vector<TSplit> SplitsShown() const
    {
        return qobject_cast<TTrainingGridModel*>(Control<QTableView>("sgdSplits")->model())->Splits();
    }
};

TEST_F(TrainingPagesTest, DataPagesFollowTheWorkoutPageAndNoPageIsHidden)
{
    ASSERT_NE(OpenPiece(), nullptr);
    auto* pages = Control<QTabWidget>("pgcTraining");
    EXPECT_EQ(TabTexts(pages),
              (QStringList{"&General", "W&orkout", "&Stroke data", "Sp&lits", "Force &curves"}));
    for (int i = 0; i < pages->count(); ++i) EXPECT_TRUE(pages->isTabVisible(i)) << i;
    EXPECT_EQ(pages->indexOf(Window()->findChild<QWidget*>("tshLog")), -1) << "the log is no page";

    // The arrow keys walk the five pages and stop at the last.
    pages->setCurrentIndex(1);
    QTabBar* tabs = pages->tabBar();
    for (int step = 0; step < 5; ++step) QTest::keyClick(tabs, Qt::Key_Right);
    EXPECT_EQ(pages->currentIndex(), 4);
    EXPECT_EQ(pages->currentWidget()->objectName(), "tshForceCurves");

    // A screen reader finds five page tabs, and a table with its captions on each page.
    Main->show();
    Settle();
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(tabs);
    ASSERT_NE(bar, nullptr);
    QStringList pageTabs;
    for (int i = 0; i < bar->childCount(); ++i)
        if (bar->child(i)->role() == QAccessible::PageTab) {
            EXPECT_FALSE(bar->child(i)->state().invisible) << i;
            pageTabs << bar->child(i)->text(QAccessible::Name);
        }
    EXPECT_EQ(pageTabs, (QStringList{"General", "Workout", "Stroke data", "Splits", "Force curves"}));
    for (const char* name : {"sgdStrokeData", "sgdSplits", "sgdForceCurves"}) {
        auto* grid = Control<QTableView>(name);
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->role(), QAccessible::Table) << name;
        EXPECT_EQ(table->tableInterface()->columnDescription(1), Header(grid, 1)) << name;
    }
}

// An Alt key that two shown texts give moves between them instead of acting,
// and one that a menu gives as well no longer opens the menu.
TEST_F(TrainingPagesTest, ThePagesAltKeysLeaveTheMenusTheirsAndTakeNoneTwice)
{
    ASSERT_NE(OpenPiece(), nullptr);
    Main->show();
    Settle();
    const QMap<QString, QStringList> menus = AltKeys(Main->menuBar());
    ASSERT_TRUE(menus.contains("Alt+F")) << "the File menu's key";
    auto* pages = Control<QTabWidget>("pgcTraining");
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        Settle();
        const QMap<QString, QStringList> keys = AltKeys(Window());
        for (auto key = keys.begin(); key != keys.end(); ++key)
            EXPECT_FALSE(menus.contains(key.key())) << key.value().join(", ").toStdString() << " on page " << page;
        // The data pages' tabs give keys of their own.
        for (int tab = 2; tab < pages->count(); ++tab) {
            const QString key = QKeySequence::mnemonic(pages->tabText(tab)).toString();
            EXPECT_EQ(keys.value(key).size(), 1) << keys.value(key).join(", ").toStdString() << " on page " << page;
        }
    }
}

TEST_F(TrainingPagesTest, StrokeDataAndCurvesShowEveryStroke)
{
    TfrmTraining* window = OpenPiece();
    ASSERT_NE(window, nullptr);
    const int strokes = static_cast<int>(window->Training.Strokes.size()) - 1;
    auto* data = Control<QTableView>("sgdStrokeData");
    auto* curves = Control<QTableView>("sgdForceCurves");
    EXPECT_EQ(data->model()->rowCount(), strokes);
    EXPECT_EQ(curves->model()->rowCount(), strokes);
    EXPECT_TRUE(data->isColumnHidden(seTarget)) << "the column no value has";
    EXPECT_EQ(Header(curves, 0), "Used");
    EXPECT_GE(curves->columnWidth(0), curves->fontMetrics().horizontalAdvance("Used"));
}

TEST_F(TrainingPagesTest, SplitsFollowTheKindAndTheSizePickedOrTyped)
{
    TfrmTraining* window = OpenPiece();
    ASSERT_NE(window, nullptr);
    const TTraining& training = window->Training;
    auto* grid = Control<QTableView>("sgdSplits");
    auto* size = Control<QComboBox>("cmbSplits");
    auto* none = Control<QLabel>("pnlNoSplits");
    EXPECT_TRUE(Control<QRadioButton>("rbtDistance")->isChecked()) << "500 m splits at first";
    EXPECT_EQ(size->currentText(), "500 m");
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_TRUE(none->isHidden());
    const auto splits = ComputeSplits(training, {TSplitKind::Distance, 500});
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 21; ++column)
            ASSERT_EQ(grid->model()->index(row, column).data().toString().toStdString(),
                      SplitCellText(splits, row, column));

    Control<QRadioButton>("rbtStrokes")->click();
    QStringList items;
    for (int i = 0; i < size->count(); ++i) items << size->itemText(i);
    EXPECT_EQ(items, (QStringList{"10", "20", "50", "100"}));
    EXPECT_EQ(SplitsShown().size(), ComputeSplits(training, {TSplitKind::Strokes, 10}).size());
    TypeInto(size, "50");
    EXPECT_EQ(SplitsShown().size(), ComputeSplits(training, {TSplitKind::Strokes, 50}).size());

    for (const char* nothing : {"0", "lots"}) {
        TypeInto(size, nothing);
        EXPECT_TRUE(SplitsShown().empty()) << nothing;
        EXPECT_FALSE(none->isHidden()) << "No splits for this setting";
        EXPECT_EQ(none->text(), "No splits for this setting");
        EXPECT_EQ(grid->model()->rowCount(), 1) << "one empty row";
    }

    Control<QRadioButton>("rbtTime")->click();
    EXPECT_EQ(size->currentText(), "1 min");
    TypeInto(size, "1:30");
    EXPECT_EQ(window->SplitSetting(), (TSplitSetting{TSplitKind::Time, 90}));
    EXPECT_TRUE(none->isHidden());

    // The choice is kept for the next window.
    window = OpenPieceAgain();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->SplitSetting(), (TSplitSetting{TSplitKind::Time, 90}));
    EXPECT_TRUE(Control<QRadioButton>("rbtTime")->isChecked());
    EXPECT_EQ(Control<QComboBox>("cmbSplits")->currentText(), "90 s");
}

TEST_F(TrainingPagesTest, ATrainingWithoutStrokesHasNoSplits)
{
    ASSERT_NE(Open(nullptr, 0), nullptr);
    EXPECT_FALSE(Control<QLabel>("pnlNoSplits")->isHidden());
    EXPECT_TRUE(SplitsShown().empty());
}

TEST_F(TrainingPagesTest, CopyCommandsCopyTheShownColumnsAsTabSeparatedText)
{
    ASSERT_NE(OpenPiece(), nullptr);
    auto* grid = Control<QTableView>("sgdStrokeData");
    QClipboard* clipboard = QGuiApplication::clipboard();

    // "Select columns" lists the captioned columns; unchecking Power hides it.
    QStringList listed;
    Script.OnDialog = [&listed](QDialog& dialog) {
        auto* columns = dialog.findChild<QListWidget*>("clbColumns");
        for (int row = 0; row < columns->count(); ++row) listed << columns->item(row)->text();
        columns->item(1)->setCheckState(Qt::Unchecked);
    };
    RunMenuCommand(grid, "SelectColumns");
    EXPECT_EQ(Script.Dialogs, QStringList{"frmSelectColumns"});
    EXPECT_EQ(listed.size(), 25) << "26 columns, but the one without a caption";
    EXPECT_EQ(listed[1], "Power (W)");
    EXPECT_TRUE(grid->isColumnHidden(1));

    QList<int> shown;
    for (int column = 0; column < grid->model()->columnCount(); ++column)
        if (!grid->isColumnHidden(column)) shown << column;
    RunMenuCommand(grid, "CopyDataAll");
    const QStringList lines = clipboard->text().split("\r\n");
    EXPECT_EQ(lines.size(), grid->model()->rowCount() + 2) << "captions, rows, and the end of the last";
    EXPECT_TRUE(lines[0].startsWith("#\tStroke\tAvg. power (W)\t")) << lines[0].toStdString();
    EXPECT_EQ(lines[3] + "\r\n", "3\t" + RowText(grid, 2, shown));

    RunMenuCommand(grid, "CopyDataData");
    EXPECT_TRUE(clipboard->text().startsWith(RowText(grid, 0, shown)));

    grid->setCurrentIndex(grid->model()->index(6, 0));
    RunMenuCommand(grid, "CopyDataRow");
    EXPECT_EQ(clipboard->text(), RowText(grid, 6, shown));

    // Ctrl+C copies the selected block, without the hidden column.
    grid->clearSelection();
    grid->selectionModel()->select(QItemSelection(grid->model()->index(9, 0), grid->model()->index(10, 2)),
                                   QItemSelectionModel::Select);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), RowText(grid, 9, {0, 2}) + RowText(grid, 10, {0, 2}));
    EXPECT_TRUE(clipboard->text().startsWith("10\t")) << "stroke 10 in the first column";
}

TEST_F(TrainingPagesTest, ChosenColumnsAndWidthsAreKeptPerGrid)
{
    ASSERT_NE(OpenPiece(), nullptr);
    Control<QTableView>("sgdSplits")->setColumnHidden(3, true);
    Control<QTableView>("sgdForceCurves")->setColumnWidth(2, 51);
    Control<QTableView>("sgdStrokeData")->setColumnHidden(seTarget, false);
    Control<QTableView>("sgdStrokeData")->setColumnWidth(seTarget, 44);

    ASSERT_NE(OpenPieceAgain(), nullptr);
    const QString settings = ReadSettings();
    for (const char* key : {"IntColumns=", "StrokeColumns=", "CurveColumns=", "SplitColumns=", "SplitKind=1",
                            "SplitSize=500"})
        EXPECT_TRUE(settings.contains(key)) << key;
    EXPECT_TRUE(Control<QTableView>("sgdSplits")->isColumnHidden(3));
    EXPECT_FALSE(Control<QTableView>("sgdSplits")->isColumnHidden(2));
    EXPECT_EQ(Control<QTableView>("sgdForceCurves")->columnWidth(2), 51);
    EXPECT_EQ(Control<QTableView>("sgdStrokeData")->columnWidth(seTarget), 44) << "shown when chosen";
}

TEST_F(TrainingPagesTest, SplitControlsHaveTheirCaptionsAsNames)
{
    ASSERT_NE(OpenPiece(), nullptr);
    const auto name = [](QObject* object) {
        return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
    };
    // A list's caption comes as its label.
    const auto label = [](QObject* object) {
        for (const auto& relation : QAccessible::queryAccessibleInterface(object)->relations(QAccessible::Label))
            return relation.first->text(QAccessible::Name);
        return QString();
    };
    EXPECT_EQ(name(Control<QRadioButton>("rbtStrokes")), "Strokes");
    EXPECT_EQ(name(Control<QRadioButton>("rbtTime")), "Time");
    EXPECT_EQ(label(Control<QComboBox>("cmbSplits")), "Split size");
    EXPECT_EQ(name(Window()->findChild<QGroupBox*>("gbxSplitBy")), "Split by");
}
