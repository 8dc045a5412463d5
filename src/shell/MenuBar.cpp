#include "untMenuBar.h"

#include "untFormUtils.h"
#include "untIniFile.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <algorithm>
#include <limits>

namespace {

const char* const ToolbarsSection = "Toolbars";
const char* const BarShownProperty = "BarShown";

bool ProducesButton(const QAction* action)
{
    return !action->isSeparator() && action->isVisible() && ImageIndexOf(action) >= 0 && !action->menu();
}

// A tool bar's stored place: "left top shown", three integers; anything else
// is ignored and the bar keeps its place after the stored ones, shown.
struct TBarPlace {
    QToolBar* Bar = nullptr;
    bool Stored = false;
    int Left = 0, Top = 0;
    bool Shown = true;
};

TBarPlace ReadBarPlace(const TIniFile& ini, QToolBar* bar)
{
    TBarPlace place;
    place.Bar = bar;
    const QStringList values = QString::fromStdString(ini.ReadString(ToolbarsSection, bar->windowTitle().toStdString(), ""))
                                   .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (values.size() != 3) return place;
    bool ok[3] = {};
    const int left = values[0].toInt(&ok[0]), top = values[1].toInt(&ok[1]), shown = values[2].toInt(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2]) return place;
    place.Stored = true;
    place.Left = left;
    place.Top = top;
    place.Shown = shown == 1;
    return place;
}

// Bars with the same stored top share a row, ordered by their stored left;
// rows follow each other by top. Bars without a stored place end the first
// row in menu order.
void PlaceToolBars(QMainWindow* window, QList<TBarPlace> places)
{
    int firstTop = 0;
    bool anyStored = false;
    for (const TBarPlace& place : places)
        if (place.Stored) {
            firstTop = anyStored ? std::min(firstTop, place.Top) : place.Top;
            anyStored = true;
        }
    for (TBarPlace& place : places)
        if (!place.Stored) {
            place.Top = firstTop;
            place.Left = std::numeric_limits<int>::max();
        }
    std::stable_sort(places.begin(), places.end(), [](const TBarPlace& a, const TBarPlace& b) {
        return a.Top != b.Top ? a.Top < b.Top : a.Left < b.Left;
    });
    for (int i = 0; i < places.size(); ++i) {
        if (i > 0 && places[i].Top != places[i - 1].Top) window->addToolBarBreak(Qt::TopToolBarArea);
        window->addToolBar(Qt::TopToolBarArea, places[i].Bar);
    }
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
    // The bars live in the band at the top of the window, as the stored
    // places assume.
    bar->setAllowedAreas(Qt::TopToolBarArea);
    bar->setFloatable(false);
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
    for (QToolBar* bar : Bars)
        if (Window->toolBarBreak(bar)) Window->removeToolBarBreak(bar);
    qDeleteAll(Bars);
    Bars.clear();
    const TIniFile ini(settingsFile);
    QList<TBarPlace> places;
    for (QAction* top : Menu->actions()) {
        // A menu hidden by the Menu toggle still gets its tool bar.
        if (TagOf(top) < 0 || !top->menu()) continue;
        QToolBar* bar = MakeToolBar(top->menu(), PlainCaption(top->text()));
        if (!bar) continue;
        places << ReadBarPlace(ini, bar);
        bar->setProperty(BarShownProperty, places.last().Shown);
        Bars << bar;
    }
    PlaceToolBars(Window, places);
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
