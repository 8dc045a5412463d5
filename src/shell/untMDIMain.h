// The base of a multi-document main window: a client area holding child
// windows, the Window menu (cascade, tile, tile mosaic, maximize), and one
// button per child window on the status bar.
#pragma once

#include "untFormMain.h"

#include <QList>
#include <QMdiArea>

class QMdiSubWindow;
class QTimer;

// The client area: white, with the program's picture once in its centre.
class TMdiClient : public QMdiArea {
    Q_OBJECT

public:
    explicit TMdiClient(QWidget* parent = nullptr);
    void SetWallpaper(const QPixmap& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap Wallpaper;
};

class TMDIMain : public TFormMain {
    Q_OBJECT

public:
    explicit TMDIMain(QWidget* parent = nullptr);
    ~TMDIMain() override;

    TMdiClient* Client() const { return MdiClient; }
    // The children, the active (topmost) one first.
    QList<QMdiSubWindow*> Children() const;
    // Adds a child to the client area and shows it.
    void AddChild(QMdiSubWindow* child);

    void RefreshWindowButtons();
    void EnableWindowButtons(bool on);
    void SetButtonCutStyle(int style);
    int ButtonCutStyle() const { return CutStyle; }
    // The children the window buttons stand for, in button order.
    QList<QMdiSubWindow*> ButtonWindows() const { return Buttons; }
    int FixedPanelCount() const { return FixedPanels; }
    // Shows the child of the window button at panel index (the click rule).
    void ClickWindowButton(int panel);
    // Refreshes the buttons once, half a second from now.
    void RestartRefreshTimer();
    bool IsRefreshPending() const;

    // Lays child over the free client area as a normal window.
    void MaximizeChild(QMdiSubWindow* child);
    QSize FreeClientSize() const;

    // Called by a child that accepted its close request.
    virtual void ChildClosing(QMdiSubWindow* child);

public slots:
    void WindowCascadeExecute();
    void WindowTileHorizontalExecute();
    void WindowTileVerticalExecute();
    void WindowTileMosaicExecute();
    void WindowMinimizeAllExecute();
    void WindowArrangeExecute();
    void WindowMaximizeExecute();
    // Enables the Window commands that need children.
    virtual void UpdateActions();

protected:
    bool HasChildWindows() const override;
    bool IsMultiDocumentFrame() const override { return true; }
    void resizeEvent(QResizeEvent* event) override;

    QMenu* WindowMenu = nullptr;
    QAction* WindowCascade = nullptr;
    QAction* WindowTileHorizontal = nullptr;
    QAction* WindowTileVertical = nullptr;
    QAction* WindowTileMosaic = nullptr;
    QAction* WindowMinimizeAll = nullptr;
    QAction* WindowArrange = nullptr;
    QAction* WindowMaximize = nullptr;

private:
    void DrawWindowButton(QPainter& painter, int panel, const QRect& area);
    void StatusBarMouseMoved(QPoint position);
    QList<QMdiSubWindow*> NormalChildren() const;

    TMdiClient* MdiClient = nullptr;
    int FixedPanels = 0;
    int LastFixedWidth = 0;
    bool ButtonsOn = false;
    int MaxButtonWidth = 100;
    int CutStyle = 0;
    int PanelUnderMouse = -1;
    QTimer* RefreshTimer = nullptr;
    QList<QMdiSubWindow*> Buttons;
};
