// The tool bar: one Qt tool bar per visible top-level menu that has commands
// with images, holding those commands (the same actions, so enabling and
// hiding follow the menu). It keeps each tool bar's position and visibility
// in the "Toolbars" section of the settings file.
#pragma once

#include <QList>
#include <QObject>

#include <string>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;

class TMenuBar : public QObject {
    Q_OBJECT

public:
    TMenuBar(QMainWindow* window, QMenuBar* menu);

    // Builds the tool bars afresh from the top-level menus this program
    // offers (tag 0 or more), whether or not the menu bar is shown, and
    // puts them in their stored rows, order and visibility from settingsFile.
    void Build(const std::string& settingsFile);
    // Writes "left top shown" per tool bar, keyed by its caption.
    void Save(const std::string& settingsFile) const;

    // Shows or hides the whole bar; each tool bar keeps its own visibility.
    void SetShown(bool shown);
    bool IsShown() const { return Shown; }
    QList<QToolBar*> ToolBars() const { return Bars; }
    QToolBar* ToolBar(const QString& caption) const;
    bool IsBarShown(const QToolBar* bar) const;
    void SetBarShown(QToolBar* bar, bool shown);
    // Lists every tool bar by caption, checked when shown; a click toggles it.
    QMenu* CreatePopup(QWidget* parent);

private:
    QToolBar* MakeToolBar(QMenu* menu, const QString& caption);
    void ApplyVisibility();

    QMainWindow* Window;
    QMenuBar* Menu;
    QList<QToolBar*> Bars;
    bool Shown = true;
};

// The image index a command carries; -1 for none.
int ImageIndexOf(const QAction* action);
// The tag a command or top-level menu carries; a tag below 0 keeps a
// top-level menu hidden when the menu is shown again.
int TagOf(const QAction* action);
void SetTag(QAction* action, int tag);
