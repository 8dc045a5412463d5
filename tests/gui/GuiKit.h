// Helpers of the window tests: an answerer that records every modal dialog
// and answers it from a script, and a fixture that gives each test its own
// documents and program folders.
#pragma once

#include "TestKit.h"
#include "untMain.h"
#include "untModal.h"
#include "untOpenTrainings.h"

#include <QImage>
#include <QMap>
#include <QStringList>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

// Readable failure messages for Qt's texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

class TDialogScript : public IModalAnswerer {
public:
    TDialogScript();
    ~TDialogScript() override;

    int Answer(QDialog& dialog) override;
    QStringList OpenFiles(const TOpenFilesRequest& request) override;
    QString SaveFile(const TSaveFileRequest& request) override;
    void Beeped() override { ++Beeps; }

    // The next message box gets this button (Ok when none is queued).
    void AnswerNext(int button) { Buttons.push_back(button); }

    QStringList Messages;       // texts of the message boxes, in order
    QStringList Dialogs;        // object names of the other dialogs
    // Does what a user would in one of the other dialogs before it is accepted.
    std::function<void(QDialog&)> OnDialog;
    QStringList FilesToChoose;  // what the next Open dialog answers
    std::vector<TOpenFilesRequest> OpenRequests;
    QString FileToSave;         // what the next Save dialog answers ("" for Cancel)
    std::vector<TSaveFileRequest> SaveRequests;
    int Beeps = 0;

private:
    std::deque<int> Buttons;
    IModalAnswerer* Previous;
};

class TShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<TfrmMain> NewMain();
    // A small training file written by the project's own writer.
    QString WriteTraining(const QString& name, int strokes = 12, uint8_t kind = fkTraining);
    // The training written as a file of that name in the test's data folder.
    QString WriteTraining(const QString& name, const TTraining& training);
    // The control named name under window; a failure when there is none.
    template <typename T>
    static T* Control(QWidget* window, const char* name)
    {
        T* control = window->findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QString ProgramFolder() const { return QString::fromStdString(Root.Path()) + "app/"; }
    QString DataFolder() const;
    QString SettingsPath() const;
    QString ReadSettings() const;
    void WriteSettings(const std::string& text) const;

    TTempFolder Root;
    TDialogScript Script;
    TGuiMessageSink Sink;
    IMessageSink* PreviousSink = nullptr;
};

// Open trainings without training windows, for the cases of more than the
// one training the main window allows. A refresh is counted, and handed on
// as the main window would hand it to the force-curve window.
class TFakeTrainings : public IOpenTrainings {
public:
    int OpenTrainingCount() const override { return static_cast<int>(Records.size()); }
    TTraining* TrainingRecord(int i) const override
    {
        return i >= 0 && i < OpenTrainingCount() ? &Records[static_cast<size_t>(i)] : nullptr;
    }
    void CopyTraining(int i, TTraining& record) const override
    {
        record = TrainingRecord(i) ? *TrainingRecord(i) : TTraining{};
    }
    int TrainingWindowIndex(int) const override { return -1; }
    void RefreshForceCurveList() override
    {
        ++Refreshes;
        if (OnRefresh) OnRefresh();
    }
    void CloseTrainingsByNumber(int) override {}

    mutable std::vector<TTraining> Records;
    int Refreshes = 0;
    std::function<void()> OnRefresh;
};

// The visible entries of a menu: captions, "-" for separators.
QStringList VisibleEntries(const QMenu* menu);
// The Alt keys that the shown texts under root give, each with the texts
// that give it: labels, buttons, group boxes and page tabs, and, for a menu
// bar, its menus. Hidden controls are left out; their keys do nothing.
QMap<QString, QStringList> AltKeys(const QWidget* root);
// Lets pending events and timers of up to ms milliseconds run.
void Settle(int ms = 0);
// What the window system shows of a widget: the top-level window's backing
// store, where partial repaints accumulate, cut to the widget.
QImage OnScreen(QWidget* widget);
