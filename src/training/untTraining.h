// The training window: one child window per opened training, owning its copy
// of the training for its whole life. The "General" page shows where the
// training came from and lets the user edit the recording's texts and date;
// the "Workout" page shows the user settings (editable for user-settings
// trainings), the totals, the averages and the intervals; the "Stroke data",
// "Splits" and "Force curves" pages show every stroke, the training in splits
// of so many strokes, metres or seconds, and every force curve. Each grid
// copies its cells as tab-separated text and shows the columns the user
// chooses. Every edit changes only the copy in memory.
#pragma once

#include "untMDIChild.h"
#include "untSplits.h"
#include "untTrainingGrids.h"
#include "untTypes.h"

#include <QPointer>

#include <string>

class IOpenTrainings;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
class QTimeEdit;
class TGridMenu;
class TLineSample;

// Removes a trailing " (*)" from the group's caption, then adds it when
// modified.
void MarkModified(QGroupBox& group, bool modified);

class TfrmTraining : public TMDIChild {
    Q_OBJECT

public:
    // Client area of a new window, inside its 5-pixel border.
    static constexpr int ClientWidth = 654;
    static constexpr int ClientHeight = 509;
    // What the recording's text controls accept, in characters as stored.
    static constexpr int MaxTextLength = 250;

    TfrmTraining(TMDIMain* owner, IOpenTrainings& trainings);

    // The window bounds last read from or written to the layout; -1 after creation.
    TFormBounds SavedBounds;
    TTraining Training;

    // Refreshes every view from Training.
    void ShowTraining();
    // Refreshes the caption, the "General" page and the modified markers.
    void ShowGeneral() override;
    void ShowCurveGrid() override;
    void ApplyTrainingStyle(const QFont& font, const QColor& text, const QColor& edit, const QColor& window);
    // The layout is read from the section "Training" of the settings file, else
    // from a section named after the training file.
    void LoadTrainingLayout(const std::string& layoutFile, int placement, const QString& trainingPath);
    void SaveTrainingLayout(const std::string& layoutFile, const std::string& section);
    void UpdateUserControls();
    // How the splits page splits the training.
    TSplitSetting SplitSetting() const { return FSplitSetting; }
    void SetSplitSetting(const TSplitSetting& setting);

    // Whether the first close request was accepted.
    bool FClosing() const { return IsClosing(); }

protected:
    void CloseAccepted() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreatePages();
    QWidget* CreateGeneralPage();
    QWidget* CreateWorkoutPage();
    // A page of the page control holding one grid over the training.
    QWidget* AddGridPage(const char* name, const char* caption, const char* hint, QTableView*& grid, TGridKind kind,
                         const char* gridName);
    void CreateDataPages();
    void CreateSplitsPage();
    // The grids' copy menu and the split choices.
    void CreateDataCommands();
    QGroupBox* CreateUserGroup(QWidget* page);
    struct TValueRow {
        const char* Caption;
        const char* Name;
        QLabel** Value;
    };
    // A group of caption and value labels, one row each.
    QGroupBox* CreateValueGroup(QWidget* page, const char* name, const char* caption, const char* hint,
                                const std::initializer_list<TValueRow>& rows);
    void ConnectEdits();
    void ReadHistoryLists();
    void SaveHistoryLists(class TIniFile& ini) const;
    void FillChoiceLists();
    QList<QGroupBox*> MarkedGroups() const;
    QList<QLabel*> ValueLabels() const;

    void ShowIntervalGrid();
    void ShowSplits();
    void ShowStrokeGrid();
    void ShowUserSettings();
    void ShowChartSamples();
    QList<QTableView*> Grids() const;
    // The grids' column widths, 0 for a hidden column, under their keys of
    // the layout's section; the split setting beside them.
    void ReadGridLayout(const class TIniFile& ini, const std::string& section);
    void WriteGridLayout(class TIniFile& ini, const std::string& section) const;

    void SplitKindClick(TSplitKind kind);
    void cmbSplitsChange();

    // Editing.
    void RecordingTextChanged(QWidget* control);
    void dtpDateChange();
    void dtpTimeChange();
    void btnOptionsClick();
    void UserControlEntered(QWidget* control, Qt::FocusReason reason);
    void UserEditChanged(QLineEdit* edit);
    void UserComboChanged(QComboBox* combo);
    void UserEditExit(QLineEdit* edit);
    void UserComboExit(QComboBox* combo);
    void RecordingChanged();
    void SummaryClick();

    IOpenTrainings& OpenTrainings;
    bool ComboExitDetached = false;
    // A user-settings control whose entering by a click was refused: the
    // click itself must not open or change it.
    QPointer<QWidget> RefusedClick;
    TSplitSetting FSplitSetting;

    QTabWidget* pgcTraining;
    // General page.
    QGroupBox* gbxTraining;
    QLabel *lblTFile, *lblTDateTime, *lblTSize, *lblTType;
    QPushButton* btnDatabase;
    QGroupBox* gbxRecording;
    QLineEdit* edtTitle;
    QComboBox *cmbName, *cmbDescription, *cmbType, *cmbEvent;
    QDateEdit* dtpDate;
    QTimeEdit* dtpTime;
    QLabel* pnlRecInterface;
    QGroupBox* gbxNote;
    QPlainTextEdit* memNote;
    QGroupBox* gbxChart;
    QFrame *shpWindow, *shpDialog;
    TLineSample *shpChart, *shpInverse;
    QPushButton* btnOptions;
    QGroupBox* gbxClient;
    QLabel *lblAddress, *lblIDStatus;
    // Workout page.
    QGroupBox* gbxUser;
    QLineEdit *edtWeight, *edtLimitValue, *edtWorkPeriod, *edtRestPeriod, *edtStartValue, *edtStepValue,
        *edtRestValue;
    QComboBox *cmbGender, *cmbBoat, *cmbSprocket, *cmbErgometer, *cmbSessionLimit, *cmbIntervalBy, *cmbDisplay;
    QLabel *lblIntervalBy, *lblWorkPeriod, *lblRestPeriod;
    QList<QWidget*> HiddenUserControls;
    QPushButton* btnReset;
    QGroupBox *gbxTotals, *gbxAverages;
    QLabel *lblDistance, *lblTime, *lblEnergy, *lblStrokes, *lblPower, *lbl500m, *lblStrokerate, *lblDRRatio;
    QGroupBox* gbxIntervals;
    QTableView* sgdIntervals;
    QGroupBox* gbxOFile;
    QLabel *lblOFile, *lblODateTime, *lblOSize, *lblOType;
    // Data pages.
    QTableView *sgdStrokeData, *sgdForceCurves, *sgdSplits;
    QRadioButton *rbtStrokes, *rbtDistance, *rbtTime;
    QComboBox* cmbSplits;
    QLineEdit* edtFactor;
    QLabel *lblFactor, *pnlNoSplits;
    QPlainTextEdit* memLog;
    TGridMenu* pmnCopyData;
};
