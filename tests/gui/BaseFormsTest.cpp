// The base forms: window buttons and their cut text, tile mosaic, maximize,
// progress, full screen, find, the bevel lines, the dialog strip, and the
// shared window routines.
#include "GuiKit.h"

#include "untDialog.h"
#include "untFormUtils.h"
#include "untIniFile.h"
#include "untMDIChild.h"
#include "untStatusBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>

#include <algorithm>

namespace {

TMDIChild* AddChild(TfrmMain& main, const QString& caption)
{
    auto* child = new TMDIChild(&main);
    child->setWindowTitle(caption);
    child->resize(200, 150);
    main.AddChild(child);
    return child;
}

// A child window holding an edit with text and a button.
struct TNotesWindow {
    QLineEdit* Edit;
    QPushButton* Button;
};
TNotesWindow AddNotes(TfrmMain& main, const QString& text)
{
    auto* panel = new QWidget;
    TNotesWindow notes{new QLineEdit(text, panel), new QPushButton("button", panel)};
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(notes.Edit);
    layout->addWidget(notes.Button);
    AddChild(main, "notes")->setWidget(panel);
    return notes;
}

QStringList ButtonCaptions(TfrmMain& main)
{
    QStringList captions;
    const auto& panels = main.Status()->Panels();
    for (int i = main.FixedPanelCount(); i < panels.size(); ++i) captions << panels[i].Text;
    return captions;
}

} // namespace

using BaseFormsTest = TShellTest;

TEST_F(BaseFormsTest, WindowButtonsAreSortedAndFollowActivationAndClosing)
{
    auto main = NewMain();
    main->resize(900, 600);
    main->show();
    Settle(20);
    AddChild(*main, "beta");
    TMDIChild* alpha = AddChild(*main, "Alpha");
    AddChild(*main, "gamma");
    Settle();
    EXPECT_EQ(ButtonCaptions(*main), QStringList({"Alpha", "beta", "gamma"}));
    const auto& panels = main->Status()->Panels();
    EXPECT_LE(panels.last().Width, 100);
    // The buttons end at the bar's right edge.
    const int lastRight = main->Status()->PanelRect(static_cast<int>(panels.size()) - 1).right();
    EXPECT_LE(lastRight, main->Status()->contentsRect().right());
    EXPECT_GE(lastRight, main->Status()->contentsRect().right() - 2);

    alpha->close();
    Settle();
    EXPECT_TRUE(main->IsRefreshPending());
    Settle(700);
    EXPECT_EQ(ButtonCaptions(*main), QStringList({"beta", "gamma"}));
}

TEST_F(BaseFormsTest, ClickingAButtonOfTwoEqualCaptionsShowsTheSecondInChildOrder)
{
    auto main = NewMain();
    main->show();
    Settle(20);
    TMDIChild* first = AddChild(*main, "Same");
    TMDIChild* second = AddChild(*main, "Same");
    main->Client()->setActiveSubWindow(first);
    Settle();
    ASSERT_EQ(main->Children().first(), first);
    main->ClickWindowButton(main->FixedPanelCount());
    EXPECT_EQ(main->Client()->activeSubWindow(), second);
    main->ClickWindowButton(0); // a fixed panel does nothing
    EXPECT_EQ(main->Client()->activeSubWindow(), second);
}

TEST_F(BaseFormsTest, CutTextFitsItsButtonAndMarksTheCut)
{
    const QFontMetrics metrics(QFont("Sans", 9));
    const QString caption = "A rather long training caption.stg";
    const QString end = CutToWidth(caption, 80, 0, metrics);
    const QString start = CutToWidth(caption, 80, 1, metrics);
    const QString both = CutToWidth(caption, 80, 2, metrics);
    for (const QString& cut : {end, start, both}) EXPECT_LE(metrics.horizontalAdvance(cut), 80 - 7) << cut.toStdString();
    EXPECT_TRUE(end.startsWith("A rather") && end.endsWith("..."));
    EXPECT_TRUE(start.startsWith("...") && start.endsWith(".stg"));
    EXPECT_TRUE(both.startsWith("...") && both.endsWith("..."));
    EXPECT_EQ(CutToWidth("short", 80, 0, metrics), "short");
    EXPECT_EQ(CutToWidth(caption, 5, 0, metrics), "...");
    EXPECT_EQ(CutToWidth(caption, 5, 2, metrics).size(), 3);

    EXPECT_EQ(CutTextLeft(0, 10, 100, 40), 12);
    EXPECT_EQ(CutTextLeft(1, 10, 100, 40), 63);
    EXPECT_EQ(CutTextLeft(2, 10, 100, 40), 37);
    EXPECT_EQ(CutTextLeft(2, 10, 40, 40), 8); // no room left: -9 halves to -4, toward zero
}

TEST_F(BaseFormsTest, TileMosaicLaysOutTheChildrenThatAreNotMinimised)
{
    auto main = NewMain();
    main->resize(800, 600);
    main->show();
    Settle(20);
    TMDIChild* a = AddChild(*main, "a");
    TMDIChild* b = AddChild(*main, "b");
    TMDIChild* minimised = AddChild(*main, "c");
    minimised->showMinimized();
    main->WindowTileMosaicExecute();
    const QSize free = main->FreeClientSize();
    // Two windows: two columns in one row, filled from the last child index.
    const QList<QMdiSubWindow*> order = main->Children();
    const QMdiSubWindow* left = order.indexOf(a) > order.indexOf(b) ? a : b;
    const QMdiSubWindow* right = left == a ? b : a;
    EXPECT_EQ(left->geometry(), QRect(0, 0, free.width() / 2, free.height()));
    EXPECT_EQ(right->geometry(), QRect(free.width() / 2, 0, free.width() / 2, free.height()));
    EXPECT_TRUE(minimised->isMinimized());

    main->Client()->setActiveSubWindow(a);
    main->WindowMaximizeExecute();
    EXPECT_EQ(a->geometry(), QRect(QPoint(0, 0), free));
    EXPECT_FALSE(a->isMaximized());
}

TEST_F(BaseFormsTest, ProgressIsClampedAndHiddenBelowZero)
{
    auto main = NewMain();
    main->SetProgress(150);
    ASSERT_NE(main->ProgressBar(), nullptr);
    EXPECT_EQ(main->Progress(), 100);
    EXPECT_EQ(main->ProgressBar()->value(), 100);
    EXPECT_FALSE(main->ProgressBar()->isHidden());
    main->SetProgressFraction(0.424);
    EXPECT_EQ(main->ProgressBar()->value(), 42);
    main->SetProgress(-5);
    EXPECT_EQ(main->Progress(), -1);
    EXPECT_TRUE(main->ProgressBar()->isHidden());
}

// The status bar paints only the panels asked for: after a progress and a
// few messages, what is on screen is what a full repaint shows.
TEST_F(BaseFormsTest, StatusPanelsShowTheirTextsAfterProgressAndMessages)
{
    auto main = NewMain();
    main->show();
    Settle(20);
    QWidget* status = main->Status();
    const auto changedAsAFullRepaintShows = [status](const QImage& earlier) {
        Settle();
        const QImage shown = OnScreen(status);
        EXPECT_NE(shown, earlier);
        status->update();
        Settle();
        EXPECT_EQ(OnScreen(status), shown);
        return shown;
    };
    QImage shown = OnScreen(status);
    main->SetMessageText("Opening file \"piece.stg\" ...");
    main->SetProgress(60);
    shown = changedAsAFullRepaintShows(shown);
    main->SetProgress(-1);
    shown = changedAsAFullRepaintShows(shown);
    main->SetMessageText("Done");
    changedAsAFullRepaintShows(shown);
}

TEST_F(BaseFormsTest, FullScreenRefusesWhileChildWindowsAreOpen)
{
    auto main = NewMain();
    main->show();
    Settle(20);
    AddChild(*main, "child");
    QAction* fullscreen = main->findChild<QAction*>("ViewFullscreen");
    fullscreen->trigger();
    EXPECT_EQ(Script.Messages, QStringList({"Please close all windows before switching from/to full screen"}));
    EXPECT_FALSE(fullscreen->isChecked());
    EXPECT_FALSE(main->isFullScreen());
}

TEST_F(BaseFormsTest, DialogStripMovesOkToCancelsPlaceWhenCancelIsHidden)
{
    TFormDialog dialog;
    const QPoint cancelPlace = dialog.CancelButton()->pos();
    EXPECT_EQ(dialog.OkButton()->size(), QSize(90, 25));
    dialog.CancelButton()->hide();
    dialog.show();
    EXPECT_EQ(dialog.OkButton()->pos(), cancelPlace);
    EXPECT_EQ(dialog.ButtonStrip()->height(), 38);
}

TEST_F(BaseFormsTest, FormBoundsRoundTripAndMarkMaximisedAndMinimised)
{
    QWidget form;
    SetFormBounds(&form, {30, 40, 300, 400});
    EXPECT_EQ(GetFormBounds(&form), (TFormBounds{30, 40, 300, 400}));
    SetFormBounds(&form, {-1, -1, -1, -1});
    EXPECT_TRUE(form.isMaximized());
    EXPECT_EQ(GetFormBounds(&form), (TFormBounds{-1, -1, -1, -1}));
    SetFormBounds(&form, {0, 0, 0, 0});
    EXPECT_EQ(GetFormBounds(&form), (TFormBounds{0, 0, 0, 0}));
    form.setWindowState(Qt::WindowFullScreen);
    EXPECT_EQ(GetFormBounds(&form), (TFormBounds{-1, -1, -1, -1})) << "not the screen's bounds";
    SetFormBounds(nullptr, {1, 2, 3, 4});
}

TEST_F(BaseFormsTest, FormBoundsKeptInASectionFallBackKeyByKey)
{
    const std::string path = Root.File("bounds.ini");
    {
        TIniFile ini(path);
        WriteFormBounds(ini, "Chart", {12, -3, 480, 640});
        ini.WriteString("Partial", "Top", "77");
        ini.WriteString("Partial", "Width", "wide");
        ASSERT_TRUE(ini.UpdateFile());
    }
    std::string text = ReadBytes(path);
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    EXPECT_EQ(text.rfind("[Chart]\nLeft=12\nTop=-3\nWidth=640\nHeight=480\n", 0), 0u) << text;

    const TIniFile ini(path);
    const TFormBounds fallback{1, 2, 3, 4};
    EXPECT_EQ(ReadFormBounds(ini, "Chart", fallback), (TFormBounds{12, -3, 480, 640}));
    EXPECT_EQ(ReadFormBounds(ini, "Partial", fallback), (TFormBounds{1, 77, 3, 4}))
        << "a missing key or one that is no integer keeps its part";
    EXPECT_EQ(ReadFormBounds(ini, "Missing", MaximisedBounds), MaximisedBounds);
}

TEST_F(BaseFormsTest, HintsSplitAtTheFirstBar)
{
    EXPECT_EQ(HintShortPart("Next|Shows the next curve"), "Next");
    EXPECT_EQ(HintLongPart("Next|Shows the next curve"), "Shows the next curve");
    EXPECT_EQ(HintShortPart("Data"), "Data");
    EXPECT_EQ(HintLongPart("Data"), "Data") << "without a bar both parts are the whole hint";
    EXPECT_EQ(HintLongPart("a|b|c"), "b|c");
    EXPECT_EQ(HintShortPart("|only long"), "");
    EXPECT_EQ(HintLongPart("only short|"), "");
    EXPECT_EQ(HintShortPart(""), "");
    EXPECT_EQ(HintLongPart(""), "");
}

TEST_F(BaseFormsTest, GridTextSkipsHiddenColumnsButEndsEveryRow)
{
    QTableWidget grid(2, 3);
    grid.setHorizontalHeaderLabels({"A", "B", "C"});
    grid.setVerticalHeaderLabels({"1", "2"});
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column)
            grid.setItem(row, column, new QTableWidgetItem(QStringLiteral("%1%2").arg(row).arg(column)));
    grid.item(0, 1)->setText(" two\r\nlines ");
    grid.setColumnHidden(2, true);
    EXPECT_EQ(GridText(grid, TCopyMode::All), "#\tA\tB\t\r\n1\t00\ttwo; lines\t\r\n2\t10\t11\t\r\n");
    EXPECT_EQ(GridText(grid, TCopyMode::Data), "00\ttwo; lines\t\r\n10\t11\t\r\n");
    grid.setCurrentCell(1, 0);
    EXPECT_EQ(GridText(grid, TCopyMode::Row), "10\t11\t\r\n");

    grid.setColumnHidden(2, false);
    TextToColumnWidths(grid, "40 55 37 9");
    EXPECT_EQ(ColumnWidthsToText(grid), "40 55 37 ");
    TextToColumnWidths(grid, "41 x 38");
    EXPECT_EQ(ColumnWidthsToText(grid), "41 55 37 ") << "a piece that is no number ends the widths";
}

TEST_F(BaseFormsTest, FileFiltersBecomeQtNameFilters)
{
    EXPECT_EQ(QtFileFilters("Training files (*.stg)|*.stg|Marlo compatible files (*.pel, *.stg)|*.pel;*.stg|"
                            "All files (*.*)|*.*"),
              QStringList({"Training files (*.stg)", "Marlo compatible files (*.pel *.stg)", "All files (*.*)"}));
    EXPECT_EQ(PlainCaption("&Window 2-b!"), "Window 2-b");
}

TEST_F(BaseFormsTest, ClipboardCommandsWorkOnTheFocusedEditAndAreOffElsewhere)
{
    auto main = NewMain();
    main->show();
    main->activateWindow();
    Settle(20);
    const auto [edit, button] = AddNotes(*main, "stroke rate");
    QAction* cut = main->findChild<QAction*>("EditCut");
    QAction* paste = main->findChild<QAction*>("EditPaste");

    button->setFocus();
    Settle();
    EXPECT_FALSE(cut->isEnabled()); // Ctrl+X and the others reach the focused control
    edit->setFocus();
    Settle();
    ASSERT_TRUE(cut->isEnabled());
    edit->setSelection(0, 7);
    cut->trigger();
    EXPECT_EQ(edit->text(), "rate");
    edit->setCursorPosition(4);
    paste->trigger();
    EXPECT_EQ(edit->text(), "ratestroke ");
}

TEST_F(BaseFormsTest, FindSearchesTheLastFocusedEditFromAfterTheSelectionStart)
{
    auto main = NewMain();
    main->show();
    main->activateWindow();
    Settle(20);
    const auto [edit, button] = AddNotes(*main, "Row, row, ROW your boat");
    QAction* find = main->findChild<QAction*>("EditFind");

    EXPECT_FALSE(find->isEnabled());
    main->EditFindExecute(); // no target: a beep and no dialog
    EXPECT_EQ(Script.Beeps, 1);
    EXPECT_EQ(main->findChild<QDialog*>("FindDialog"), nullptr);
    edit->setFocus();
    Settle();
    EXPECT_TRUE(find->isEnabled());
    button->setFocus();
    Settle();
    EXPECT_FALSE(find->isEnabled());

    edit->setFocus();
    Settle();
    find->trigger();
    auto* dialog = main->findChild<QDialog*>("FindDialog");
    ASSERT_NE(dialog, nullptr);
    auto* text = dialog->findChild<QLineEdit*>("edtFind");
    auto* next = dialog->findChild<QPushButton*>("btnFindNext");
    dialog->activateWindow();
    text->setFocus();
    Settle(20);
    EXPECT_EQ(main->FindTarget(), edit); // the dialog's own box is no target
    text->setText("row");

    // The caret at the start searches from the first character, in lower case.
    edit->setCursorPosition(0);
    next->click();
    EXPECT_EQ(edit->selectionStart(), 0);
    EXPECT_EQ(edit->selectedText(), "Row");
    EXPECT_TRUE(QTest::qWaitFor([edit] { return QApplication::focusWidget() == edit; }, 2000));
    // Else from the character after the selection's start.
    next->click();
    EXPECT_EQ(edit->selectionStart(), 5);
    next->click();
    EXPECT_EQ(edit->selectedText(), "ROW");
    next->click();
    EXPECT_EQ(Script.Beeps, 2);
    EXPECT_EQ(edit->selectionStart(), 10);

    dialog->findChild<QCheckBox*>("cbxMatchCase")->setChecked(true);
    text->setText("ROW");
    edit->setCursorPosition(0);
    next->click();
    EXPECT_EQ(edit->selectionStart(), 10);
    text->setText("rOW");
    next->click();
    EXPECT_EQ(Script.Beeps, 3);
}

TEST_F(BaseFormsTest, BevelLinesFollowTheViewTogglesAndStayOffAboveAFramesStatusBar)
{
    const auto shown = [](const QFrame* bevel) { return !bevel->isHidden(); };
    const auto toggle = [](QMainWindow& window, const char* name) { window.findChild<QAction*>(name)->trigger(); };

    TFormMain form;
    ASSERT_EQ(form.StatusBevel()->objectName(), "BevelStatus");
    ASSERT_EQ(form.ToolbarBevel()->objectName(), "BevelToolbar");
    toggle(form, "ViewStatusbar");
    EXPECT_FALSE(shown(form.StatusBevel()));
    toggle(form, "ViewStatusbar");
    EXPECT_TRUE(shown(form.StatusBevel()));
    toggle(form, "ViewToolbar");
    EXPECT_TRUE(shown(form.ToolbarBevel()));
    toggle(form, "ViewMenu"); // menu off: no line under the missing bars
    EXPECT_FALSE(shown(form.ToolbarBevel()));
    toggle(form, "ViewMenu");
    EXPECT_TRUE(shown(form.ToolbarBevel()));
    toggle(form, "ViewToolbar");
    EXPECT_FALSE(shown(form.ToolbarBevel()));

    auto main = NewMain();
    EXPECT_FALSE(shown(main->StatusBevel()));
    EXPECT_FALSE(shown(main->ToolbarBevel()));
    toggle(*main, "ViewStatusbar");
    toggle(*main, "ViewStatusbar");
    EXPECT_FALSE(shown(main->StatusBevel()));
    toggle(*main, "ViewToolbar");
    EXPECT_FALSE(shown(main->ToolbarBevel()));
    // The Menu toggle shows the line whenever the tool bar is hidden, frame or not.
    toggle(*main, "ViewMenu");
    toggle(*main, "ViewMenu");
    EXPECT_TRUE(shown(main->ToolbarBevel()));
}
