#include "untSplash.h"

#include "jsUtils.h"
#include "untFormUtils.h"
#include "untImages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const int TitleHeight = 34, IconWidth = 50, StepHeight = 24, ProgressHeight = 16;

void SetBackground(QWidget* widget, const QColor& colour)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, colour);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

QLabel* NewLabel(const char* name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

TfrmSplash::TfrmSplash(QWidget* parent, int progressMaximum)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName("frmSplash");
    setWindowTitle(QStringLiteral("Loading ..."));
    if (parent) setFont(parent->font());
    SetBackground(this, DialogColor());

    const QPixmap picture = SplashPicture();
    auto* pnlSplash = new QFrame(this);
    pnlSplash->setObjectName("pnlSplash");
    pnlSplash->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlSplash->setLineWidth(2);
    SetBackground(pnlSplash, picture.toImage().pixelColor(0, picture.height() - 1));

    auto* imgSplash = new QLabel(pnlSplash);
    imgSplash->setObjectName("imgSplash");
    imgSplash->setAccessibleName(QString::fromStdString(ProductName()));
    imgSplash->setPixmap(picture);
    imgSplash->setFixedSize(picture.size());

    auto* pnlTitle = new QWidget(pnlSplash);
    pnlTitle->setObjectName("pnlTitle");
    pnlTitle->setFixedHeight(TitleHeight);
    auto* imgIcon = NewLabel("imgIcon", QString(), pnlTitle);
    imgIcon->setAccessibleName(QStringLiteral("Program icon"));
    imgIcon->setPixmap(ProgramIcon().pixmap(TitleHeight - 2));
    imgIcon->setFixedWidth(IconWidth);
    lblname = NewLabel("lblname", QString::fromStdString(FileDescription()), pnlTitle);
    lblname->setWordWrap(true);
    auto* titleRow = new QHBoxLayout(pnlTitle);
    titleRow->setContentsMargins(0, 0, 0, 0);
    titleRow->setSpacing(0);
    titleRow->addWidget(imgIcon);
    titleRow->addWidget(lblname, 1);

    pnlParam = NewLabel("pnlParam", QStringLiteral("Loading ..."), pnlSplash);
    pnlParam->setFixedHeight(StepHeight);
    pbrParam = new QProgressBar(pnlSplash);
    pbrParam->setObjectName("pbrParam");
    pbrParam->setAccessibleName(QStringLiteral("Loading"));
    pbrParam->setFixedHeight(ProgressHeight);
    // A range of 0..0 would show a busy bar; an empty bar is what is meant.
    pbrParam->setRange(0, std::max(progressMaximum, 1));
    pbrParam->setValue(0);
    pbrParam->setProperty("StepMaximum", progressMaximum);
    pbrParam->setTextVisible(false);
    lblVersion = new QLabel(QString::fromStdString(ProductAndVersion()) + QLatin1Char(' '), pbrParam);
    lblVersion->setObjectName("lblVersion");
    lblVersion->move(1, 1);

    auto* panel = new QVBoxLayout(pnlSplash);
    panel->setContentsMargins(7, 7, 7, 3);
    panel->setSpacing(0);
    panel->addWidget(imgSplash, 0, Qt::AlignHCenter);
    panel->addWidget(pnlTitle);
    panel->addWidget(pnlParam);
    panel->addWidget(pbrParam);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(pnlSplash);
    setFixedSize(picture.width() + 18, picture.height() + TitleHeight + StepHeight + ProgressHeight + 20);
    ApplyFont(font());

    tmrSplash = new QTimer(this);
    tmrSplash->setSingleShot(true);
    tmrVersion = new QTimer(this);
    tmrVersion->setSingleShot(true);
    connect(tmrSplash, &QTimer::timeout, this, &QDialog::accept);
    connect(tmrVersion, &QTimer::timeout, lblVersion, &QWidget::hide);
    SetDisplayTime(false);
}

void TfrmSplash::SetDisplayTime(bool shortTime) { tmrSplash->setInterval(shortTime ? 3000 : 10000); }

int TfrmSplash::DisplayTime() const { return tmrSplash->interval(); }

void TfrmSplash::SplashStep(const QString& text)
{
    if (pbrParam->value() < pbrParam->property("StepMaximum").toInt()) pbrParam->setValue(pbrParam->value() + 1);
    pnlParam->setText(text);
    repaint();
}

void TfrmSplash::ApplyFont(const QFont& font)
{
    setFont(font);
    QFont bold = font;
    bold.setBold(true);
    lblname->setFont(bold);
    // The version fills the bar's inside but for a pixel above and below.
    QFont small = font;
    small.setPixelSize(std::max(pbrParam->contentsRect().height() - 2, 1));
    lblVersion->setFont(small);
    lblVersion->adjustSize();
    repaint();
}

void TfrmSplash::showEvent(QShowEvent* event)
{
    // Placed before it is mapped, so that it appears once, in the middle.
    if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
    tmrVersion->setInterval(tmrSplash->interval() / 2);
    tmrSplash->start();
    tmrVersion->start();
}
