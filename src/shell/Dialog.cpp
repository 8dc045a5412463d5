#include "untDialog.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QSize ButtonSize(90, 25);
}

TFormDialog::TFormDialog(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    ContentArea = new QWidget(this);
    ContentArea->setObjectName("pnlContent");

    pnlButtons = new QFrame(this);
    pnlButtons->setObjectName("pnlButtons");
    pnlButtons->setFixedHeight(38);
    auto* line = new QFrame(pnlButtons);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    pnlCancelOk = new QWidget(pnlButtons);
    pnlCancelOk->setObjectName("pnlCancelOk");
    btbOk = new QPushButton(QStringLiteral("OK"), pnlCancelOk);
    btbOk->setObjectName("btbOk");
    btbOk->setToolTip(QStringLiteral("Accept changes"));
    btbOk->setDefault(true);
    btbCancel = new QPushButton(QStringLiteral("&Cancel"), pnlCancelOk);
    btbCancel->setObjectName("btbCancel");
    btbCancel->setToolTip(QStringLiteral("Cancel changes"));
    for (QPushButton* button : {btbOk, btbCancel}) button->setFixedSize(ButtonSize);
    btbOk->move(0, 0);
    btbCancel->move(ButtonSize.width() + 6, 0);
    pnlCancelOk->setFixedSize(2 * ButtonSize.width() + 6, ButtonSize.height());
    connect(btbOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btbCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* strip = new QVBoxLayout(pnlButtons);
    strip->setContentsMargins(0, 0, 8, 0);
    strip->addWidget(line);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(pnlCancelOk);
    strip->addLayout(row);
    strip->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ContentArea, 1);
    layout->addWidget(pnlButtons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    CreatedColor = palette().window().color();
    CreatedFont = font();
}

void TFormDialog::ApplyFontAndColors(const QFont& font, const QColor&, const QColor&, const QColor& face)
{
    setFont(font);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, face);
    setPalette(colours);
    for (QPushButton* button : {btbOk, btbCancel}) {
        QPalette buttonColours = button->palette();
        buttonColours.setColor(QPalette::ButtonText, Qt::black);
        button->setPalette(buttonColours);
    }
    update();
}

void TFormDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (btbCancel->isHidden()) btbOk->move(btbCancel->pos());
    if (btbOk->isEnabled()) btbOk->setFocus();
}
