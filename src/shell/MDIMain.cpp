#include "untMDIMain.h"

#include "untImages.h"
#include "untMDIChild.h"
#include "untShell.h"
#include "untStatusBar.h"
#include "untFormUtils.h"

#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>
#include <qdrawutil.h>

#include <cmath>

namespace {

bool IsClosing(const QMdiSubWindow* child)
{
    const auto* mdiChild = qobject_cast<const TMDIChild*>(child);
    return mdiChild && mdiChild->IsClosing();
}

void PlaceNormal(QMdiSubWindow* child, const QRect& bounds)
{
    if (child->isMaximized() || child->isMinimized()) child->showNormal();
    child->setGeometry(bounds);
}

} // namespace

TMdiClient::TMdiClient(QWidget* parent) : QMdiArea(parent) { setObjectName("MDIClient"); }

void TMdiClient::SetWallpaper(const QPixmap& picture)
{
    Wallpaper = picture;
    viewport()->update();
}

void TMdiClient::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    if (Wallpaper.isNull()) return;
    const QSize size = Wallpaper.size() / Wallpaper.devicePixelRatio();
    const QRect area = viewport()->rect();
    painter.drawPixmap(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2,
                       Wallpaper);
}

TMDIMain::TMDIMain(QWidget* parent) : TFormMain(parent)
{
    MdiClient = new TMdiClient(this);
    SetClientWidget(MdiClient);

    WindowMenu = MakeMenu("Window_Menu", QStringLiteral("&Window"), HelpMenu->menuAction());
    WindowCascade = MakeAction("WindowCascade", "&Cascade", "Cascade", {}, imgCascade);
    WindowTileHorizontal = MakeAction("WindowTileHorizontal", "Tile &Horizontally", "Tile horizontally", {},
                                      imgTileHorizontal);
    WindowTileVertical = MakeAction("WindowTileVertical", "&Tile Vertically", "Tile vertically", {}, imgTileVertical);
    WindowTileMosaic = MakeAction("WindowTileMosaic", "Tile M&osaic", "Tile mosaic", {}, imgTileMosaic);
    WindowMinimizeAll = MakeAction("WindowMinimizeAll", "&Minimize All", "Minimize all windows");
    WindowArrange = MakeAction("WindowArrange", "&Arrange icons", "Arange icons");
    WindowMaximize = MakeAction("WindowMaximize", "Ma&ximize",
                                "Maximize current window (use Shift to maximize all windows)", {}, imgMaximize);
    WindowMenu->addActions({WindowCascade, WindowTileHorizontal, WindowTileVertical, WindowTileMosaic});
    WindowMenu->addSeparator();
    WindowMenu->addActions({WindowMinimizeAll, WindowArrange, WindowMaximize});

    connect(WindowCascade, &QAction::triggered, this, &TMDIMain::WindowCascadeExecute);
    connect(WindowTileHorizontal, &QAction::triggered, this, &TMDIMain::WindowTileHorizontalExecute);
    connect(WindowTileVertical, &QAction::triggered, this, &TMDIMain::WindowTileVerticalExecute);
    connect(WindowTileMosaic, &QAction::triggered, this, &TMDIMain::WindowTileMosaicExecute);
    connect(WindowMinimizeAll, &QAction::triggered, this, &TMDIMain::WindowMinimizeAllExecute);
    connect(WindowArrange, &QAction::triggered, this, &TMDIMain::WindowArrangeExecute);
    connect(WindowMaximize, &QAction::triggered, this, &TMDIMain::WindowMaximizeExecute);

    FixedPanels = static_cast<int>(Status()->Panels().size());
    LastFixedWidth = Status()->Panels().last().Width;
    Status()->DrawPanel = [this](QPainter& painter, int panel, const QRect& area) {
        DrawWindowButton(painter, panel, area);
    };
    connect(Status(), &TStatusBar::MouseMoved, this, &TMDIMain::StatusBarMouseMoved);
    connect(Status(), &TStatusBar::PanelClicked, this, &TMDIMain::ClickWindowButton);

    RefreshTimer = new QTimer(this);
    RefreshTimer->setSingleShot(true);
    RefreshTimer->setInterval(500);
    connect(RefreshTimer, &QTimer::timeout, this, &TMDIMain::RefreshWindowButtons);
    connect(MdiClient, &QMdiArea::subWindowActivated, this, [this] {
        RefreshWindowButtons();
        UpdateActions();
    });
    UpdateActions();
}

// The children are destroyed after this window's own parts; they must not
// call back into it on their way out.
TMDIMain::~TMDIMain()
{
    disconnect(MdiClient, nullptr, this, nullptr);
    RefreshTimer->stop();
}

QList<QMdiSubWindow*> TMDIMain::Children() const
{
    QList<QMdiSubWindow*> children = MdiClient->subWindowList(QMdiArea::StackingOrder);
    std::reverse(children.begin(), children.end());
    return children;
}

void TMDIMain::AddChild(QMdiSubWindow* child)
{
    MdiClient->addSubWindow(child);
    child->show();
    UpdateActions();
}

bool TMDIMain::HasChildWindows() const { return !MdiClient->subWindowList().isEmpty(); }

void TMDIMain::EnableWindowButtons(bool on)
{
    ButtonsOn = on;
    RefreshWindowButtons();
}

void TMDIMain::SetButtonCutStyle(int style)
{
    CutStyle = style;
    RefreshWindowButtons();
}

void TMDIMain::RefreshWindowButtons()
{
    QVector<TStatusPanel>& panels = Status()->Panels();
    panels.resize(FixedPanels);
    panels.last().Width = LastFixedWidth;
    Buttons.clear();
    if (!ButtonsOn) {
        Status()->update();
        return;
    }
    for (QMdiSubWindow* child : Children())
        if (!IsClosing(child)) Buttons << child;
    if (Buttons.isEmpty()) {
        Status()->update();
        return;
    }
    int fixed = LastFixedWidth;
    for (int i = 0; i < FixedPanels - 1; ++i) fixed += panels[i].Width;
    const int n = static_cast<int>(Buttons.size());
    const int clientWidth = Status()->contentsRect().width();
    const int width = std::min(std::max(clientWidth - fixed, 0) / n, MaxButtonWidth);
    const int gaps = (FixedPanels + n - 1) * TStatusBar::PanelGap;
    panels.last().Width = std::max(clientWidth - n * width - (fixed - LastFixedWidth) - gaps, 0);

    std::stable_sort(Buttons.begin(), Buttons.end(), [](const QMdiSubWindow* a, const QMdiSubWindow* b) {
        return a->windowTitle().compare(b->windowTitle(), Qt::CaseInsensitive) < 0;
    });
    for (const QMdiSubWindow* button : Buttons) panels.append({width, button->windowTitle(), true, Qt::AlignLeft, true});
    Status()->update();
}

void TMDIMain::DrawWindowButton(QPainter& painter, int panel, const QRect& area)
{
    const QString caption = Status()->PanelText(panel);
    const QMdiSubWindow* active = MdiClient->activeSubWindow();
    int firstPressed = -1;
    for (int i = FixedPanels; active && i < Status()->Panels().size(); ++i)
        if (Status()->PanelText(i) == active->windowTitle()) {
            firstPressed = i;
            break;
        }
    const bool lowered = panel == firstPressed;
    painter.fillRect(area, palette().button());
    qDrawShadePanel(&painter, area, palette(), lowered, 1);
    QFont font = Status()->font();
    font.setBold(lowered);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QString text = CutToWidth(caption, area.width(), CutStyle, metrics);
    const int left = CutTextLeft(CutStyle, area.left(), area.width(), metrics.horizontalAdvance(text));
    painter.setPen(palette().buttonText().color());
    painter.drawText(QRect(left, area.top() + 1, area.right() - left, area.height() - 1), Qt::AlignVCenter, text);
}

void TMDIMain::StatusBarMouseMoved(QPoint position)
{
    PanelUnderMouse = Status()->PanelAt(position.x());
    if (PanelUnderMouse >= FixedPanels)
        Status()->setToolTip(QStringLiteral("Click to switch to window [%1]").arg(Status()->PanelText(PanelUnderMouse)));
}

void TMDIMain::ClickWindowButton(int panel)
{
    if (panel < FixedPanels || panel >= Status()->Panels().size()) return;
    const QString caption = Status()->PanelText(panel);
    QMdiSubWindow* chosen = nullptr;
    for (QMdiSubWindow* child : Children()) {
        if (child->windowTitle() != caption) continue;
        const bool laterMatch = chosen != nullptr;
        chosen = child;
        if (laterMatch) break;
    }
    const QList<QMdiSubWindow*> children = Children();
    if (!chosen) chosen = children.value(panel - FixedPanels);
    if (chosen) {
        if (chosen->isMinimized()) chosen->showNormal();
        MdiClient->setActiveSubWindow(chosen);
    }
    RefreshWindowButtons();
}

void TMDIMain::RestartRefreshTimer() { RefreshTimer->start(); }

bool TMDIMain::IsRefreshPending() const { return RefreshTimer->isActive(); }

void TMDIMain::ChildClosing(QMdiSubWindow*)
{
    RestartRefreshTimer();
    UpdateActions();
}

QSize TMDIMain::FreeClientSize() const { return MdiClient->viewport()->size(); }

void TMDIMain::MaximizeChild(QMdiSubWindow* child)
{
    if (!child) return;
    PlaceNormal(child, QRect(QPoint(0, 0), FreeClientSize()));
}

QList<QMdiSubWindow*> TMDIMain::NormalChildren() const
{
    QList<QMdiSubWindow*> children;
    for (QMdiSubWindow* child : Children())
        if (!child->isMinimized()) children << child;
    return children;
}

void TMDIMain::WindowCascadeExecute() { MdiClient->cascadeSubWindows(); }

void TMDIMain::WindowTileHorizontalExecute()
{
    const QList<QMdiSubWindow*> children = NormalChildren();
    if (children.isEmpty()) return;
    const QSize free = FreeClientSize();
    const int height = free.height() / static_cast<int>(children.size());
    for (int i = 0; i < children.size(); ++i) PlaceNormal(children[i], QRect(0, i * height, free.width(), height));
}

void TMDIMain::WindowTileVerticalExecute()
{
    const QList<QMdiSubWindow*> children = NormalChildren();
    if (children.isEmpty()) return;
    const QSize free = FreeClientSize();
    const int width = free.width() / static_cast<int>(children.size());
    for (int i = 0; i < children.size(); ++i) PlaceNormal(children[i], QRect(i * width, 0, width, free.height()));
}

void TMDIMain::WindowTileMosaicExecute()
{
    QList<QMdiSubWindow*> children = NormalChildren();
    const int n = static_cast<int>(children.size());
    if (n == 0) return;
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
    const int rows = (n + columns - 1) / columns;
    const QSize free = FreeClientSize();
    const int width = free.width() / columns, height = free.height() / rows;
    std::reverse(children.begin(), children.end()); // from the last child index to the first
    for (int i = 0; i < n; ++i)
        PlaceNormal(children[i], QRect(width * (i % columns), height * (i / columns), width, height));
}

void TMDIMain::WindowMinimizeAllExecute()
{
    for (QMdiSubWindow* child : Children()) child->showMinimized();
}

void TMDIMain::WindowArrangeExecute()
{
    // Lines the minimised children up along the bottom of the client area.
    int left = 0;
    const int bottom = FreeClientSize().height();
    for (QMdiSubWindow* child : Children()) {
        if (!child->isMinimized()) continue;
        child->move(left, bottom - child->height());
        left += child->width();
    }
}

void TMDIMain::WindowMaximizeExecute()
{
    if (IsShiftDown()) {
        for (QMdiSubWindow* child : Children()) MaximizeChild(child);
    } else {
        MaximizeChild(MdiClient->activeSubWindow());
    }
}

void TMDIMain::UpdateActions()
{
    const bool hasChildren = HasChildWindows();
    WindowTileMosaic->setEnabled(hasChildren);
    WindowMaximize->setEnabled(hasChildren);
}

void TMDIMain::resizeEvent(QResizeEvent* event)
{
    TFormMain::resizeEvent(event);
    RefreshWindowButtons();
}
