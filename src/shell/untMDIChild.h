// The base of a child window of a TMDIMain: keeps the frame's window buttons
// current and carries the closing flag that every count of open windows
// skips.
#pragma once

#include "untFormUtils.h"

#include <QColor>
#include <QFont>
#include <QMdiSubWindow>

class TMDIMain;

class TMDIChild : public QMdiSubWindow {
    Q_OBJECT

public:
    // Where a child window goes when its layout is loaded: at the bounds
    // kept for it, over the main window's free client area, or maximised.
    enum TPlacement { plStoredBounds = 1, plFreeClientArea = 2, plMaximised = 3 };

    explicit TMDIChild(TMDIMain* owner);

    TMDIMain* Owner() const { return MainForm; }
    bool IsClosing() const { return Closing; }
    // The program font and colours (text, window, face).
    virtual void ApplyFontAndColors(const QFont& font, const QColor& text, const QColor& window, const QColor& face);
    // A window that shows a training refreshes its caption, its details and its
    // modified markers after another window changed the training.
    virtual void ShowGeneral() {}
    // A window that shows a training's curves shows them again after another
    // window withdrew one.
    virtual void ShowCurveGrid() {}

protected:
    // Whether a close request may proceed; descendants may ask first.
    virtual bool CanClose() { return true; }
    // Runs once, when the first close request was accepted.
    virtual void CloseAccepted() {}
    void closeEvent(QCloseEvent* event) override;
    // Moves the window as placement says; stored are the bounds kept for it.
    void Place(int placement, const TFormBounds& stored);

    QColor CreatedColor;
    QFont CreatedFont;

private:
    TMDIMain* MainForm;
    bool Closing = false;
};
