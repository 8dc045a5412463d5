// The training window: one child window per opened training, owning its copy
// of the training for its whole life. For now it shows the recording's
// description and its totals; the full summary, grids and details follow.
#pragma once

#include "untMDIChild.h"
#include "untTypes.h"

#include <string>

class QLabel;
class IOpenTrainings;

class TfrmTraining : public TMDIChild {
    Q_OBJECT

public:
    TfrmTraining(TMDIMain* owner, IOpenTrainings& trainings);

    TTraining Training;

    // Refreshes the caption and every label from Training.
    void ShowTraining();
    // placement: 1 keeps stored bounds, 2 fills the main window's free area,
    // 3 maximises.
    void LoadTrainingLayout(const std::string& settingsFile, int placement, const QString& trainingPath);
    void ApplyTrainingStyle(const QFont& font, const QColor& text, const QColor& edit, const QColor& window);

protected:
    void CloseAccepted() override;

private:
    IOpenTrainings& OpenTrainings;
    QLabel* lblTitle;
    QLabel* lblDescription;
    QLabel* lblTotals;
};
