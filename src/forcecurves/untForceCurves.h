// The force-curve window. For now it lists the open trainings with their
// drawing choice and keeps the play timer; drawing, browsing and playback
// follow.
#pragma once

#include "untMDIChild.h"

#include <string>

class QListWidget;
class QTimer;
class IOpenTrainings;

class TfrmForceCurves : public TMDIChild {
    Q_OBJECT

public:
    TfrmForceCurves(TMDIMain* owner, IOpenTrainings& trainings);

    void LoadLayout(const std::string& settingsFile, int placement);
    void ApplyColors(const QFont& font, const QColor& text, const QColor& window, const QColor& face);
    // Fills the list from the main window's open trainings.
    void ReloadTrainings(bool reload);
    void TrainingsClosed();
    void clbTrainingsClick();
    void SetPlayInterval(int milliseconds);
    int PlayInterval() const;
    void ExportCurve() {}
    QListWidget* Trainings() const { return clbTrainings; }

private:
    IOpenTrainings& OpenTrainings;
    QListWidget* clbTrainings;
    QTimer* tmrPlay;
};
