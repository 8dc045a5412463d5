// The main window: opens training files (Open command, recent files, drag and
// drop) into training windows, keeps the recent-files list and the usage
// statistics, offers the help documents beside the program, holds off the
// screen saver while active, and asks before the program ends. Other windows
// reach the open trainings only through its lookups.
#pragma once

#include "untForceCurves.h"
#include "untMDIMain.h"
#include "untStrokeData.h"
#include "untOpenTrainings.h"
#include "untTypes.h"

#include <QPointer>
#include <QStringList>

class TFormDialog;
class TInstance;
class TPowerSavingBlock;
class TfrmTraining;

struct TStatistics {
    double RunningTime = 0; // days
    double RowingTime = 0;  // days
    int TimesStarted = 0;
    int RowingSessions = 0;
    int FilesOpened = 0;
    int FilesSaved = 0;
};

class TfrmMain : public TMDIMain, public IOpenTrainings {
    Q_OBJECT

public:
    static constexpr int MaxOpenTrainings = 1;
    static constexpr int MaxRecentFiles = 9;
    static constexpr int TrainingPlacement = TMDIChild::plMaximised;

    // instance, when given, hands over the command lines of later copies.
    explicit TfrmMain(TInstance* instance = nullptr, QWidget* parent = nullptr);
    ~TfrmMain() override;

    std::string SettingsFile() const override;

    void OpenFile(const QString& path);
    void OpenTraining(const std::string& settingsPath, const QString& path);
    bool OpenLimitReached();
    void ShowForceCurves();
    void ShowStrokeData();
    // Copies the active chart window's picture, or saves it with save.
    void ActiveChartPicture(bool save);
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);
    QStringList RecentFiles() const { return Recent; }
    void ApplyFontAndColors();
    void ShowWelcome();
    void ActivateFromInstance(const QString& text);
    // The two dialogs the program block keeps for the whole run.
    void SetDialogs(TFormDialog* chartOptions, TFormDialog* selectColumns);

    // Lookups over the open training windows, the last child first; windows
    // that are closing do not count.
    int OpenTrainingCount() const override;
    int TrainingWindowIndex(int i) const override;
    TTraining* TrainingRecord(int i) const override;
    void CopyTraining(int i, TTraining& record) const override;
    void CloseTrainingsByNumber(int number) override;
    void RefreshForceCurveList() override;
    void NotifyForceCurves(bool reload);
    void ChildClosing(QMdiSubWindow* child) override;

    TfrmForceCurves* ForceCurves() const { return frmForceCurves; }
    TfrmStrokeData* StrokeData() const { return frmStrokeData; }
    const TStatistics& Statistics() const { return Counters; }
    QString LastDir() const { return FLastDir; }
    int LastWindowNumber() const { return NextWindowNumber; }
    // The statistics rows the about box shows: label, value.
    QList<QPair<QString, QString>> StatisticsRows() const;

public slots:
    void FileOpenExecute();
    void FileCloseExecute();
    void FileSaveAsExecute();
    // Exports the active training window's training, or the selected one of
    // an active chart window, as FIT, TCX or rowing-data CSV.
    void FileExportExecute();
    void AnalyseForceCurvesExecute();
    void AnalyseStrokeDataExecute();
    void HelpWelcomeExecute();
    void HelpAboutExecute() override;
    void HelpPDFExecute();
    void UpdateActions() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateCommands();
    void HideUnofferedCommands();
    void AddHelpDocuments();
    void BuildRecentMenu();
    void RemoveRecentMenu();
    void FirstShow();
    void LoadSettings();
    void SaveSettings();
    void MoveDataFiles();
    QList<TfrmTraining*> OpenTrainings() const;
    TfrmTraining* Training(int i) const;
    // The position of the training the active window shows; -1 for none.
    int ActiveTrainingIndex() const;
    // Brings an existing chart window forward; false when there is none.
    bool BringForward(TfrmChart* window);
    // A new chart window among the children, in its stored layout and the
    // program's colours, listing the open trainings.
    void AddChartWindow(TfrmChart* window);

    QStringList Recent;
    QList<QAction*> RecentItems;
    QString FLastDir;
    int NextWindowNumber = 100;
    double StartTime = 0;
    TStatistics Counters;
    QFont ProgramFont;
    QPointer<TfrmForceCurves> frmForceCurves;
    QPointer<TfrmStrokeData> frmStrokeData;
    QPointer<TFormDialog> ChartOptions;
    QPointer<TFormDialog> SelectColumns;
    TPowerSavingBlock* PowerSaving = nullptr;
    bool FirstShowPending = true;

    QMenu* AnalyseMenu = nullptr;
    QAction* FileOpen = nullptr;
    QAction* FileClose = nullptr;
    QAction* FileSaveAs = nullptr;
    QAction* FileExport = nullptr;
    QAction* RecentSeparator = nullptr;
    QAction* AnalyseForceCurves = nullptr;
    QAction* AnalyseStrokeData = nullptr;
    QAction* FileSaveChart = nullptr;
    QAction* EditCopyChart = nullptr;
    QAction* HelpWelcome = nullptr;
    QList<QAction*> HelpDocuments;
};

// The text of the exit confirmation.
QString ExitQuestion();
