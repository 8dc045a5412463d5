// The fixture of the training window's tests: a main window that opens
// trainings made by the project's own writer.
#pragma once

#include "GuiKit.h"

#include "DemoTraining.h"
#include "untFiles.h"
#include "untTraining.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QTableView>

#include <functional>

// A grid's caption of column.
inline QString Header(const QTableView* grid, int column)
{
    return grid->model()->headerData(column, Qt::Horizontal).toString();
}

class TTrainingWindowFixture : public TShellTest {
protected:
    void SetUp() override
    {
        TShellTest::SetUp();
        Main = NewMain();
    }
    void TearDown() override
    {
        Main.reset();
        TShellTest::TearDown();
    }

    // Opens the demo training of `strokes` strokes, changed by `change`, in the main window.
    TfrmTraining* Open(const std::function<void(TTraining&)>& change = nullptr, int strokes = 12,
                       const QString& name = "piece.stg")
    {
        TTraining training = MakeDemoTraining(strokes);
        if (change) change(training);
        QDir().mkpath(QString::fromStdString(Root.Path()) + "data");
        const QString path = QString::fromStdString(Root.Path()) + "data/" + name;
        WriteBytes(path.toStdString(), *TrainingFileBytes(training));
        Main->OpenFile(path);
        return Window();
    }
    // An empty user-settings training: its settings can change without a reset.
    TfrmTraining* OpenEmptyUserTraining(const std::function<void(TUserSettings&)>& change = nullptr)
    {
        return Open(
            [&change](TTraining& training) {
                const THeader header = training.Header;
                NewTraining(training);
                training.Header.FileKind = fkUser;
                training.Header.Title = header.Title;
                if (change) change(training.Settings);
            },
            0, "user.stg");
    }
    // The open training window (a closed one may not be deleted yet).
    TfrmTraining* Window() const
    {
        for (TfrmTraining* window : Main->findChildren<TfrmTraining*>())
            if (!window->FClosing()) return window;
        return nullptr;
    }
    template <typename T>
    T* Control(const char* name) const
    {
        T* control = Window()->findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QGroupBox* Group(const char* name) const { return Control<QGroupBox>(name); }
    // Shows the main window as the active one, so that its controls take the
    // focus and the keys as on a screen.
    void ShowMainActive()
    {
        Main->show();
        QApplication::setActiveWindow(Main.get());
        Settle();
    }

    std::unique_ptr<TfrmMain> Main;
};

