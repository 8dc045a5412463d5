// What child windows know of the open trainings: the main window's lookups
// by position (the last opened first), implemented by the main window and
// handed to every child it creates, so that no child depends on the main
// window itself.
#pragma once

struct TTraining;

class IOpenTrainings {
public:
    // Training windows that are not closing.
    virtual int OpenTrainingCount() const = 0;
    // The live record of open training i; nullptr outside 0..count - 1.
    virtual TTraining* TrainingRecord(int i) const = 0;
    // A copy of open training i; the empty record outside the range.
    virtual void CopyTraining(int i, TTraining& record) const = 0;
    // The position of open training i among all child windows; -1 outside the range.
    virtual int TrainingWindowIndex(int i) const = 0;
    // A training's drawing options or texts changed: the chart windows redraw.
    virtual void RefreshForceCurveList() = 0;
    // Closes the training windows of that window number and tells the chart windows.
    virtual void CloseTrainingsByNumber(int number) = 0;

protected:
    ~IOpenTrainings() = default;
};
