// The base of the main window: the File, Edit, View and Help menus with their
// commands, the tool bar that mirrors the menu, the status bar with the
// version panel, the message panel and the progress bar, full screen, find,
// and the View toggles kept in the settings file.
#pragma once

#include "untMenuBar.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QPointer>

#include <string>

class QFrame;
class QMenu;
class QProgressBar;
class QVBoxLayout;
class TFindDialog;
class TMenuBar;
class TStatusBar;

class TFormMain : public QMainWindow {
    Q_OBJECT

public:
    // The status bar's panels: the version (the progress bar covers it), a
    // bevelled separator, the message panel and a filler that takes the
    // width left over; a multi-document frame adds its window buttons after it.
    enum TStatusPanelIndex { spVersion, spSeparator, spMessage, spFiller };

    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // The settings file everything of this window reads and writes; by
    // default the program's path with ".ini".
    virtual std::string SettingsFile() const;

    // 0..100 shows the progress bar in the version panel, below 0 hides it.
    void SetProgress(int percent);
    void SetProgressFraction(double fraction);
    int Progress() const { return ProgressPosition; }
    QProgressBar* ProgressBar() const { return Bar; }

    TStatusBar* Status() const { return StatusPanels; }
    // The message panel: hints, the file being opened, notices.
    void SetMessageText(const QString& text);
    QString MessageText() const;
    TMenuBar* ToolBarOfMenu() const { return ToolBarMenu; }

    // The edit control Find works on: the last one that had the focus.
    QWidget* FindTarget() const { return Target; }
    // Searches the target forward for text; selects it when found, else beeps.
    bool FindInTarget(const QString& text, bool matchCase);

    QMenu* createPopupMenu() override;

    // The 3-pixel lines under the tool bar and above the status bar.
    QFrame* ToolbarBevel() const { return BevelToolbar; }
    QFrame* StatusBevel() const { return BevelStatus; }

public slots:
    void FileExitExecute();
    void EditFindExecute();
    void ViewFullscreenExecute();
    void ViewHintsExecute();
    void ViewMenuExecute();
    void ViewToolbarExecute();
    void ViewStatusbarExecute();
    virtual void HelpWebsiteExecute();
    virtual void HelpAboutExecute();

protected:
    // Reads section "View" and applies the five toggles. Descendants call it
    // from their constructor once SettingsFile() answers for them.
    void LoadView();
    // Writes "View" and the tool bars' positions; descendants call it from
    // their destructor after their own settings.
    void SaveViewAndToolbars();
    // Builds the tool bar from the menu as it is now.
    void BuildToolBar();

    QAction* MakeAction(const char* name, const QString& caption, const QString& hint,
                        const QKeySequence& shortcut = {}, int image = -1);
    QMenu* MakeMenu(const char* command, const QString& caption, QAction* before = nullptr);
    // Hides each separator that no visible command precedes or follows
    // within its menu.
    static void HideEmptySeparators(QMenu* menu);
    // True when the window holds child windows (full screen refuses then).
    virtual bool HasChildWindows() const { return false; }
    // A multi-document frame never shows the bevel above its status bar, nor
    // the one under a hidden tool bar when that is toggled.
    virtual bool IsMultiDocumentFrame() const { return false; }
    // Places the window's content between the two bevel lines.
    void SetClientWidget(QWidget* client);

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    QMenu* FileMenu = nullptr;
    QMenu* EditMenu = nullptr;
    QMenu* ViewMenu = nullptr;
    QMenu* HelpMenu = nullptr;
    QAction* FileExit = nullptr;
    QAction* EditCut = nullptr;
    QAction* EditCopy = nullptr;
    QAction* EditPaste = nullptr;
    QAction* EditFind = nullptr;
    QAction* ViewFullscreen = nullptr;
    QAction* ViewHints = nullptr;
    QAction* ViewMenuToggle = nullptr;
    QAction* ViewToolbar = nullptr;
    QAction* ViewStatusbar = nullptr;
    QAction* HelpWebsite = nullptr;
    QAction* HelpUpdate = nullptr;
    QAction* HelpAbout = nullptr;
    QString UpdateAddress;

private:
    void CreateStatusBar();
    void CreateClientPanel();
    void SetFullscreen(bool on);
    void ApplyMenuVisibility(bool on);
    void StatusBarMouseMoved(QPoint position);

    TMenuBar* ToolBarMenu = nullptr;
    TStatusBar* StatusPanels = nullptr;
    QProgressBar* Bar = nullptr;
    int ProgressPosition = -1;
    bool ProcessMessagesOnProgress = false;
    bool OverVersionPanel = false;
    bool ShowHints = true;
    QFrame* BevelToolbar = nullptr;
    QFrame* BevelStatus = nullptr;
    QVBoxLayout* ClientLayout = nullptr;
    QPointer<QWidget> Target;
    TFindDialog* FindDialog = nullptr;
};
