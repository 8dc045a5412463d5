#include "untFormMain.h"

#include "jsUtils.h"
#include "untFormUtils.h"
#include "untImages.h"
#include "untIniFile.h"
#include "untMenuBar.h"
#include "untModal.h"
#include "untShell.h"
#include "untStatusBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

// The find dialog: a text, a match-case box and a Find Next button; it stays
// open beside the window like the system's own find dialogs.
class TFindDialog : public QDialog {
public:
    explicit TFindDialog(TFormMain* form) : QDialog(form)
    {
        setObjectName("FindDialog");
        setWindowTitle(QStringLiteral("Find"));
        auto* text = new QLineEdit(this);
        text->setObjectName("edtFind");
        auto* matchCase = new QCheckBox(QStringLiteral("Match &case"), this);
        matchCase->setObjectName("cbxMatchCase");
        auto* findNext = new QPushButton(QStringLiteral("&Find Next"), this);
        findNext->setObjectName("btnFindNext");
        findNext->setDefault(true);
        auto* layout = new QHBoxLayout(this);
        layout->addWidget(text);
        layout->addWidget(matchCase);
        layout->addWidget(findNext);
        connect(findNext, &QPushButton::clicked, this,
                [form, text, matchCase] { form->FindInTarget(text->text(), matchCase->isChecked()); });
    }
};

namespace {

const char* const ViewSection = "View";

bool IsEditControl(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget)
           || qobject_cast<const QPlainTextEdit*>(widget);
}

struct TEditState {
    QString Text;
    int SelectionStart = 0;
    int Caret = 0;
};

TEditState EditStateOf(QWidget* edit)
{
    if (auto* line = qobject_cast<QLineEdit*>(edit)) {
        const int start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        return {line->text(), start, line->cursorPosition()};
    }
    QTextCursor cursor;
    QString text;
    if (auto* rich = qobject_cast<QTextEdit*>(edit)) {
        cursor = rich->textCursor();
        text = rich->toPlainText();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(edit)) {
        cursor = plain->textCursor();
        text = plain->toPlainText();
    }
    return {text, cursor.selectionStart(), cursor.position()};
}

// Each character lower-cased on its own, so positions stay those of text.
QString LowerCaseChars(QString text)
{
    for (QChar& c : text) c = c.toLower();
    return text;
}

// Where pattern occurs in text from index from on; -1 when it does not.
// Without matchCase both are compared in lower case.
int FindText(const QString& text, const QString& pattern, int from, bool matchCase)
{
    if (matchCase) return static_cast<int>(text.indexOf(pattern, from, Qt::CaseSensitive));
    return static_cast<int>(LowerCaseChars(text).indexOf(LowerCaseChars(pattern), from, Qt::CaseSensitive));
}

QFrame* MakeBevel(const char* name, QWidget* parent)
{
    auto* bevel = new QFrame(parent);
    bevel->setObjectName(QLatin1String(name));
    bevel->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    bevel->setFixedHeight(3);
    bevel->hide();
    return bevel;
}

void SelectInEdit(QWidget* edit, int start, int length)
{
    edit->window()->activateWindow();
    edit->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(edit)) {
        line->setSelection(start, length);
        return;
    }
    const auto select = [start, length](QTextCursor cursor) {
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        return cursor;
    };
    if (auto* rich = qobject_cast<QTextEdit*>(edit)) rich->setTextCursor(select(rich->textCursor()));
    if (auto* plain = qobject_cast<QPlainTextEdit*>(edit)) plain->setTextCursor(select(plain->textCursor()));
}

} // namespace

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QString::fromStdString(FileDescription()));
    setWindowIcon(ProgramIcon());

    FileMenu = MakeMenu("File_Menu", QStringLiteral("&File"));
    EditMenu = MakeMenu("Edit_Menu", QStringLiteral("&Edit"));
    ViewMenu = MakeMenu("View_Menu", QStringLiteral("&View"));
    HelpMenu = MakeMenu("Help_Menu", QStringLiteral("&Help"));

    FileExit = MakeAction("FileExit", "&Exit", "Exit|Exits this program", {}, imgExit);
    EditCut = MakeAction("EditCut", "Cu&t", "Cut|Cuts the selection and puts it on the Clipboard",
                         QKeySequence(Qt::CTRL | Qt::Key_X), imgCut);
    EditCopy = MakeAction("EditCopy", "&Copy", "Copy|Copies the selection and puts it on the Clipboard",
                          QKeySequence(Qt::CTRL | Qt::Key_C), imgCopy);
    EditPaste = MakeAction("EditPaste", "&Paste", "Paste|Inserts Clipboard contents",
                           QKeySequence(Qt::CTRL | Qt::Key_V), imgPaste);
    EditFind = MakeAction("EditFind", "&Find ...", "Find|Finds text", QKeySequence(Qt::CTRL | Qt::Key_F), imgFind);
    ViewFullscreen = MakeAction("ViewFullscreen", "&Full screen", "Full screen|Sets window to full screen");
    ViewHints = MakeAction("ViewHints", "&Hints", "View hints|Shows or hides hints");
    ViewMenuToggle = MakeAction("ViewMenu", "&Menu", "View menu|Shows or hides the menu", QKeySequence(Qt::CTRL | Qt::Key_M));
    ViewToolbar = MakeAction("ViewToolbar", "&Tool bar", "View tool bar|Shows or hides the tool bar");
    ViewStatusbar = MakeAction("ViewStatusbar", "&Status bar", "View status bar|Shows or hides the status bar");
    HelpWebsite = MakeAction("HelpWebsite", "&Website", "Website|Visits website", {}, imgWebsite);
    HelpUpdate = MakeAction("HelpUpdate", "&Update ...",
                            "Check for update|Checks the Internet for an updated version of this software");
    HelpAbout = MakeAction("HelpAbout", "&About ...", "About|Shows About dialog", QKeySequence(Qt::Key_F1));

    FileMenu->addAction(FileExit);
    EditMenu->addActions({EditCut, EditCopy, EditPaste});
    EditMenu->addSeparator();
    EditMenu->addAction(EditFind);
    ViewMenu->addActions({ViewFullscreen, ViewHints});
    ViewMenu->addSeparator();
    ViewMenu->addActions({ViewMenuToggle, ViewToolbar, ViewStatusbar});
    HelpMenu->addActions({HelpWebsite, HelpUpdate});
    HelpMenu->addSeparator();
    HelpMenu->addAction(HelpAbout);

    for (QAction* toggle : {ViewFullscreen, ViewHints, ViewMenuToggle, ViewToolbar, ViewStatusbar})
        toggle->setCheckable(true);
    ViewHints->setChecked(true);
    ViewMenuToggle->setChecked(true);
    ViewToolbar->setChecked(true);
    ViewStatusbar->setChecked(true);

    connect(FileExit, &QAction::triggered, this, &TFormMain::FileExitExecute);
    connect(EditFind, &QAction::triggered, this, &TFormMain::EditFindExecute);
    // Cut, copy and paste work on the focused edit control, as its own keys
    // would; elsewhere they stay off and leave their keys to the focused control.
    const std::pair<QAction*, const char*> clipboardCommands[] = {
        {EditCut, "cut"}, {EditCopy, "copy"}, {EditPaste, "paste"}};
    for (const auto& [action, command] : clipboardCommands) {
        action->setEnabled(false);
        connect(action, &QAction::triggered, this, [command = command] {
            QWidget* focus = QApplication::focusWidget();
            if (IsEditControl(focus)) QMetaObject::invokeMethod(focus, command);
        });
    }
    connect(ViewFullscreen, &QAction::triggered, this, &TFormMain::ViewFullscreenExecute);
    connect(ViewHints, &QAction::triggered, this, &TFormMain::ViewHintsExecute);
    connect(ViewMenuToggle, &QAction::triggered, this, &TFormMain::ViewMenuExecute);
    connect(ViewToolbar, &QAction::triggered, this, &TFormMain::ViewToolbarExecute);
    connect(ViewStatusbar, &QAction::triggered, this, &TFormMain::ViewStatusbarExecute);
    connect(HelpWebsite, &QAction::triggered, this, &TFormMain::HelpWebsiteExecute);
    connect(HelpAbout, &QAction::triggered, this, &TFormMain::HelpAboutExecute);

    HelpWebsite->setVisible(!GetVersionString("Website").empty());
    HelpUpdate->setEnabled(!UpdateAddress.isEmpty());
    HelpUpdate->setVisible(!UpdateAddress.isEmpty());
    EditFind->setEnabled(false);

    ToolBarMenu = new TMenuBar(this, menuBar());
    CreateClientPanel();
    CreateStatusBar();

    qApp->installEventFilter(this);
    // Only edit controls of this window (its child windows included) become
    // the target; the find dialog's own text box never does.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (IsEditControl(now) && now->window() == this)
            Target = now;
        else if (old == Target && now && !now->isWindow() && now->window() == this)
            Target = nullptr;
        EditFind->setEnabled(Target != nullptr);
        const bool editing = IsEditControl(now) && now->window() == this;
        for (QAction* action : {EditCut, EditCopy, EditPaste}) action->setEnabled(editing);
    });
}

TFormMain::~TFormMain()
{
    qApp->removeEventFilter(this);
    disconnect(qApp, nullptr, this, nullptr);
}

std::string TFormMain::SettingsFile() const { return ChangeFileExt(ProgramFileName(), ".ini"); }

QAction* TFormMain::MakeAction(const char* name, const QString& caption, const QString& hint,
                               const QKeySequence& shortcut, int image)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    action->setToolTip(HintShortPart(hint));
    action->setStatusTip(HintLongPart(hint));
    action->setShortcut(shortcut);
    action->setProperty("ImageIndex", image);
    action->setIcon(MainImage(image));
    action->setIconVisibleInMenu(false);
    // Added to the window as well, so shortcuts work while the menu is hidden.
    addAction(action);
    return action;
}

QMenu* TFormMain::MakeMenu(const char* command, const QString& caption, QAction* before)
{
    auto* menu = new QMenu(caption, this);
    menu->setObjectName(QLatin1String(command).chopped(5) + QLatin1String("Menu"));
    menu->menuAction()->setObjectName(QLatin1String(command));
    menuBar()->insertMenu(before, menu);
    return menu;
}

void TFormMain::HideEmptySeparators(QMenu* menu)
{
    QAction* pending = nullptr;
    bool commandBefore = false;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            if (!action->isVisible()) continue;
            if (!commandBefore || pending) action->setVisible(false);
            if (commandBefore && !pending) pending = action;
            continue;
        }
        if (!action->isVisible()) continue;
        commandBefore = true;
        pending = nullptr;
    }
    if (pending) pending->setVisible(false);
}

void TFormMain::CreateClientPanel()
{
    auto* panel = new QWidget(this);
    panel->setObjectName("ClientPanel");
    ClientLayout = new QVBoxLayout(panel);
    ClientLayout->setContentsMargins(0, 0, 0, 0);
    ClientLayout->setSpacing(0);
    BevelToolbar = MakeBevel("BevelToolbar", panel);
    BevelStatus = MakeBevel("BevelStatus", panel);
    ClientLayout->addWidget(BevelToolbar);
    ClientLayout->addStretch(1);
    ClientLayout->addWidget(BevelStatus);
    setCentralWidget(panel);
}

void TFormMain::SetClientWidget(QWidget* client)
{
    // Replaces the stretch (or the previous client) between the bevels.
    delete ClientLayout->takeAt(1);
    ClientLayout->insertWidget(1, client, 1);
}

void TFormMain::CreateStatusBar()
{
    StatusPanels = new TStatusBar(this);
    StatusPanels->setObjectName("StatusBar");
    // The version panel grows with the font, so that the version always fits.
    const QString version = QString::fromStdString(ProductAndVersion());
    const int versionWidth = std::max(75, StatusPanels->fontMetrics().horizontalAdvance(version) + 12);
    StatusPanels->Panels() = {
        {versionWidth, version, false, Qt::AlignHCenter, false}, // spVersion
        {4, QString(), true, Qt::AlignLeft, false},              // spSeparator
        {300, QString(), false, Qt::AlignLeft, false},           // spMessage
        {10, QString(), false, Qt::AlignLeft, false},            // spFiller
    };
    setStatusBar(StatusPanels);
    connect(StatusPanels, &TStatusBar::MouseMoved, this, &TFormMain::StatusBarMouseMoved);
    connect(StatusPanels, &TStatusBar::DoubleClicked, this, [this] {
        if (OverVersionPanel) ShowVersionMessage();
    });
}

void TFormMain::StatusBarMouseMoved(QPoint position)
{
    OverVersionPanel = position.x() > 0 && position.x() < StatusPanels->Panels().value(spVersion).Width;
    StatusPanels->setToolTip(OverVersionPanel ? QStringLiteral("Shows version information") : QString());
}

void TFormMain::SetMessageText(const QString& text) { StatusPanels->SetPanelText(spMessage, text); }

QString TFormMain::MessageText() const { return StatusPanels->PanelText(spMessage); }

void TFormMain::SetProgress(int percent)
{
    if (percent == ProgressPosition) return;
    ProgressPosition = percent < 0 ? -1 : std::min(percent, 100);
    if (ProgressPosition < 0) {
        if (Bar) Bar->hide(); // the panels under it are repainted
        return;
    }
    if (!Bar) {
        Bar = new QProgressBar(StatusPanels);
        Bar->setObjectName("ProgressBar");
        Bar->setTextVisible(false);
        Bar->setRange(0, 100);
    }
    Bar->setGeometry(1, 1, StatusPanels->Panels().value(spVersion).Width + 3, StatusPanels->height() - 1);
    Bar->show();
    Bar->setValue(ProgressPosition);
    Bar->repaint();
    if (ProcessMessagesOnProgress) QApplication::processEvents();
}

void TFormMain::SetProgressFraction(double fraction) { SetProgress(static_cast<int>(std::lround(fraction * 100))); }

void TFormMain::LoadView()
{
    const TIniFile ini(SettingsFile());
    ViewFullscreen->setChecked(ini.ReadBool(ViewSection, "Fullscreen", false));
    ViewHints->setChecked(ini.ReadBool(ViewSection, "Hints", true));
    ViewMenuToggle->setChecked(ini.ReadBool(ViewSection, "Menu", true));
    ViewToolbar->setChecked(ini.ReadBool(ViewSection, "Toolbar", true));
    ViewStatusbar->setChecked(ini.ReadBool(ViewSection, "Statusbar", true));
    ViewFullscreenExecute();
    ViewHintsExecute();
    ViewMenuExecute();
    ViewToolbarExecute();
    ViewStatusbarExecute();
}

void TFormMain::SaveViewAndToolbars()
{
    const std::string file = SettingsFile();
    if (!IsFileWritable(file)) return;
    {
        TIniFile ini(file);
        ini.WriteBool(ViewSection, "Fullscreen", isFullScreen());
        ini.WriteBool(ViewSection, "Hints", ViewHints->isChecked());
        ini.WriteBool(ViewSection, "Menu", ViewMenuToggle->isChecked());
        ini.WriteBool(ViewSection, "Toolbar", ToolBarMenu->IsShown());
        ini.WriteBool(ViewSection, "Statusbar", !StatusPanels->isHidden());
        ini.UpdateFile();
    }
    ToolBarMenu->Save(file);
    TidyIniFile(file);
}

void TFormMain::BuildToolBar() { ToolBarMenu->Build(SettingsFile()); }

QMenu* TFormMain::createPopupMenu() { return ToolBarMenu->CreatePopup(this); }

void TFormMain::FileExitExecute() { close(); }

void TFormMain::EditFindExecute()
{
    if (!Target) {
        SystemBeep();
        return;
    }
    if (!FindDialog) FindDialog = new TFindDialog(this);
    FindDialog->show();
    FindDialog->raise();
}

bool TFormMain::FindInTarget(const QString& text, bool matchCase)
{
    if (!Target || text.isEmpty()) {
        SystemBeep();
        return false;
    }
    const TEditState state = EditStateOf(Target);
    const int from = state.Caret != 0 ? state.SelectionStart + 1 : 0;
    const int at = FindText(state.Text, text, from, matchCase);
    if (at < 0) {
        SystemBeep();
        return false;
    }
    SelectInEdit(Target, at, static_cast<int>(text.size()));
    return true;
}

void TFormMain::SetFullscreen(bool on)
{
    if (on) {
        if (isVisible())
            showFullScreen();
        else
            setWindowState(windowState() | Qt::WindowFullScreen);
    } else if (isFullScreen()) {
        showNormal();
    }
}

void TFormMain::ViewFullscreenExecute()
{
    const bool on = ViewFullscreen->isChecked();
    if (on != isFullScreen() && HasChildWindows()) {
        ShowWarningMessage("Please close all windows before switching from/to full screen");
        ViewFullscreen->setChecked(!on);
        return;
    }
    SetFullscreen(on);
}

void TFormMain::ViewHintsExecute() { ShowHints = ViewHints->isChecked(); }

void TFormMain::ApplyMenuVisibility(bool on)
{
    for (QAction* top : menuBar()->actions()) top->setVisible(on && TagOf(top) >= 0);
    menuBar()->setVisible(on);
}

void TFormMain::ViewMenuExecute()
{
    const bool on = ViewMenuToggle->isChecked();
    ApplyMenuVisibility(on);
    BevelToolbar->setVisible(on && !ToolBarMenu->IsShown());
}

void TFormMain::ViewToolbarExecute()
{
    const bool on = ViewToolbar->isChecked();
    ToolBarMenu->SetShown(on);
    BevelToolbar->setVisible(!on && !IsMultiDocumentFrame());
}

void TFormMain::ViewStatusbarExecute()
{
    const bool on = ViewStatusbar->isChecked();
    StatusPanels->setVisible(on);
    BevelStatus->setVisible(on && !IsMultiDocumentFrame());
}

void TFormMain::HelpWebsiteExecute()
{
    ShellRun(QString::fromStdString(GetVersionString("Website")), QStringLiteral("open"), QString(), QString(), 1);
}

void TFormMain::HelpAboutExecute() { ShowVersionMessage(); }

bool TFormMain::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        SetMessageText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip && !ShowHints) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
