#include "untForceCurves.h"

#include "untFormUtils.h"
#include "untOpenTrainings.h"
#include "untTypes.h"

#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>

TfrmForceCurves::TfrmForceCurves(TMDIMain* owner, IOpenTrainings& trainings)
    : TMDIChild(owner), OpenTrainings(trainings)
{
    setObjectName("frmForceCurves");
    setWindowTitle(QStringLiteral("Force curves"));
    auto* page = new QWidget(this);
    clbTrainings = new QListWidget(page);
    clbTrainings->setObjectName("clbTrainings");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("Trainings"), page));
    layout->addWidget(clbTrainings);
    setWidget(page);
    tmrPlay = new QTimer(this);
    tmrPlay->setObjectName("tmrPlay");
    connect(clbTrainings, &QListWidget::itemChanged, this, &TfrmForceCurves::clbTrainingsClick);
}

void TfrmForceCurves::LoadLayout(const std::string&, int placement)
{
    if (placement == 3) SetFormBounds(this, {-1, -1, -1, -1});
}

void TfrmForceCurves::ApplyColors(const QFont& font, const QColor& text, const QColor& window, const QColor& face)
{
    ApplyFontAndColors(font, text, window, face);
}

void TfrmForceCurves::ReloadTrainings(bool)
{
    const QSignalBlocker quiet(clbTrainings);
    clbTrainings->clear();
    for (int i = 0; i < OpenTrainings.OpenTrainingCount(); ++i) {
        const TTraining* training = OpenTrainings.TrainingRecord(i);
        auto* item = new QListWidgetItem(QString::fromStdString(training->Header.Title.Utf8()), clbTrainings);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(training->Header.Visible ? Qt::Checked : Qt::Unchecked);
    }
}

void TfrmForceCurves::TrainingsClosed() { ReloadTrainings(true); }

void TfrmForceCurves::clbTrainingsClick()
{
    for (int i = 0; i < clbTrainings->count(); ++i)
        if (TTraining* training = OpenTrainings.TrainingRecord(i))
            training->Header.Visible = clbTrainings->item(i)->checkState() == Qt::Checked;
}

void TfrmForceCurves::SetPlayInterval(int milliseconds) { tmrPlay->setInterval(milliseconds); }

int TfrmForceCurves::PlayInterval() const { return tmrPlay->interval(); }
