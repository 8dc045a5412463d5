#include "untMenuBar.h"

#include "untFormUtils.h"
#include "untIniFile.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

const char* const ToolbarsSection = "Toolbars";
const char* const BarShownProperty = "BarShown";

bool ProducesButton(const QAction* action)
{
    return !action->isSeparator() && action->isVisible() && ImageIndexOf(action) >= 0 && !action->menu();
}

} // namespace

int ImageIndexOf(const QAction* action)
{
    const QVariant index = action->property("ImageIndex");
    return index.isValid() ? index.toInt() : -1;
}

int TagOf(const QAction* action) { return action->property("Tag").toInt(); }

void SetTag(QAction* action, int tag) { action->setProperty("Tag", tag); }

TMenuBar::TMenuBar(QMainWindow* window, QMenuBar* menu) : QObject(window), Window(window), Menu(menu) {}

QToolBar* TMenuBar::MakeToolBar(QMenu* menu, const QString& caption)
{
    const QList<QAction*> actions = menu->actions();
    if (std::none_of(actions.begin(), actions.end(), ProducesButton)) return nullptr;
    auto* bar = new QToolBar(caption, Window);
    bar->setObjectName(QLatin1String("tbr") + QString(caption).remove(QLatin1Char(' ')));
    bar->setIconSize(QSize(24, 24));
    bar->setProperty(BarShownProperty, true);
    bar->toggleViewAction()->setVisible(false);
    bool separatorPending = false;
    for (QAction* action : actions) {
        if (action->isSeparator()) {
            separatorPending = true;
            continue;
        }
        if (!ProducesButton(action)) {
            separatorPending = false;
            continue;
        }
        if (separatorPending && !bar->actions().isEmpty()) bar->addSeparator();
        separatorPending = false;
        bar->addAction(action);
    }
    return bar;
}

void TMenuBar::Build(const std::string& settingsFile)
{
    qDeleteAll(Bars);
    Bars.clear();
    const TIniFile ini(settingsFile);
    for (QAction* top : Menu->actions()) {
        // A menu hidden by the Menu toggle still gets its tool bar.
        if (TagOf(top) < 0 || !top->menu()) continue;
        const QString caption = PlainCaption(top->text());
        QToolBar* bar = MakeToolBar(top->menu(), caption);
        if (!bar) continue;
        const QStringList stored = QString::fromStdString(ini.ReadString(ToolbarsSection, caption.toStdString(), ""))
                                       .split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (stored.size() >= 3) bar->setProperty(BarShownProperty, stored[2].toInt() == 1);
        Window->addToolBar(Qt::TopToolBarArea, bar);
        Bars << bar;
    }
    ApplyVisibility();
}

void TMenuBar::Save(const std::string& settingsFile) const
{
    TIniFile ini(settingsFile);
    for (const QToolBar* bar : Bars) {
        const QString value = QStringLiteral("%1 %2 %3").arg(bar->x()).arg(bar->y()).arg(IsBarShown(bar) ? 1 : 0);
        ini.WriteString(ToolbarsSection, bar->windowTitle().toStdString(), value.toStdString());
    }
    ini.UpdateFile();
}

void TMenuBar::SetShown(bool shown)
{
    Shown = shown;
    ApplyVisibility();
}

QToolBar* TMenuBar::ToolBar(const QString& caption) const
{
    for (QToolBar* bar : Bars)
        if (bar->windowTitle() == caption) return bar;
    return nullptr;
}

bool TMenuBar::IsBarShown(const QToolBar* bar) const { return bar->property(BarShownProperty).toBool(); }

void TMenuBar::SetBarShown(QToolBar* bar, bool shown)
{
    bar->setProperty(BarShownProperty, shown);
    ApplyVisibility();
}

void TMenuBar::ApplyVisibility()
{
    for (QToolBar* bar : Bars) bar->setVisible(Shown && IsBarShown(bar));
}

QMenu* TMenuBar::CreatePopup(QWidget* parent)
{
    auto* popup = new QMenu(parent);
    for (QToolBar* bar : Bars) {
        QAction* entry = popup->addAction(bar->windowTitle());
        entry->setCheckable(true);
        entry->setChecked(IsBarShown(bar));
        connect(entry, &QAction::toggled, this, [this, bar](bool on) { SetBarShown(bar, on); });
    }
    return popup;
}
