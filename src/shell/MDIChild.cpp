#include "untMDIChild.h"

#include "untImages.h"
#include "untMDIMain.h"

#include <QCloseEvent>

TMDIChild::TMDIChild(TMDIMain* owner) : QMdiSubWindow(nullptr), MainForm(owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(ProgramIcon());
    CreatedColor = palette().window().color();
    CreatedFont = font();
}

void TMDIChild::ApplyFontAndColors(const QFont& font, const QColor&, const QColor&, const QColor&)
{
    setFont(font);
    update();
}

void TMDIChild::Place(int placement, const TFormBounds& stored)
{
    if (placement == plStoredBounds) SetFormBounds(this, stored);
    if (placement == plFreeClientArea && MainForm) MainForm->MaximizeChild(this);
    if (placement == plMaximised) SetFormBounds(this, MaximisedBounds);
}

void TMDIChild::closeEvent(QCloseEvent* event)
{
    if (!Closing) {
        if (!CanClose()) {
            event->ignore();
            return;
        }
        Closing = true;
        CloseAccepted();
        if (MainForm) MainForm->ChildClosing(this);
    }
    QMdiSubWindow::closeEvent(event);
}
