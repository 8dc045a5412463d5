#include "untSplash.h"

#include "jsUtils.h"
#include "untImages.h"

#include <QApplication>
#include <algorithm>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

TfrmSplash::TfrmSplash(QWidget* parent, int progressMaximum)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName("frmSplash");
    setWindowTitle(QStringLiteral("Loading ..."));
    auto* imgSplash = new QLabel(this);
    imgSplash->setObjectName("imgSplash");
    imgSplash->setPixmap(SplashPicture());
    auto* lblname = new QLabel(QString::fromStdString(FileDescription()), this);
    lblname->setObjectName("lblname");
    lblname->setAlignment(Qt::AlignCenter);
    lblname->setWordWrap(true);
    QFont bold = lblname->font();
    bold.setBold(true);
    lblname->setFont(bold);
    pnlParam = new QLabel(QStringLiteral("Loading ..."), this);
    pnlParam->setObjectName("pnlParam");
    pnlParam->setAlignment(Qt::AlignCenter);
    pbrParam = new QProgressBar(this);
    pbrParam->setObjectName("pbrParam");
    pbrParam->setFixedHeight(16);
    // A range of 0..0 would show a busy bar; an empty bar is what is meant.
    pbrParam->setRange(0, std::max(progressMaximum, 1));
    pbrParam->setValue(0);
    pbrParam->setProperty("StepMaximum", progressMaximum);
    pbrParam->setTextVisible(false);
    lblVersion = new QLabel(QString::fromStdString(ProductAndVersion()) + QLatin1Char(' '), pbrParam);
    lblVersion->setObjectName("lblVersion");
    QFont small = lblVersion->font();
    small.setPixelSize(pbrParam->height() - 4);
    lblVersion->setFont(small);
    lblVersion->move(3, 1);
    lblVersion->adjustSize();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(9, 9, 9, 9);
    layout->addWidget(imgSplash);
    layout->addWidget(lblname);
    layout->addWidget(pnlParam);
    layout->addWidget(pbrParam);
    setStyleSheet(QStringLiteral("TfrmSplash { background: white; border: 2px solid #1f8a9e; }"));

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

void TfrmSplash::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    tmrVersion->setInterval(tmrSplash->interval() / 2);
    tmrSplash->start();
    tmrVersion->start();
}
