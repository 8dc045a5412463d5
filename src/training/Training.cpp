// The training window's controls and their arrangement.
#include "untTraining.h"

#include "untCharts.h"
#include "untFiles.h"
#include "untLineSample.h"
#include "untTrainingGrid.h"

#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString StripAmpersand(QString caption) { return caption.remove(QLatin1Char('&')); }

QGroupBox* NewGroup(QWidget* parent, const char* name, const char* caption, const char* hint = nullptr)
{
    auto* group = new QGroupBox(QString::fromUtf8(caption), parent);
    group->setObjectName(QString::fromLatin1(name));
    if (hint) group->setToolTip(QString::fromUtf8(hint));
    return group;
}

// A caption beside a control, its label for a screen reader. An input is also
// named after it; a value label keeps its text as its name.
QLabel* NewCaption(QWidget* parent, const char* caption, QWidget* control)
{
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setBuddy(control);
    if (control && !qobject_cast<QLabel*>(control) && control->accessibleName().isEmpty())
        control->setAccessibleName(StripAmpersand(label->text()));
    return label;
}

QLabel* NewValue(QWidget* parent, const char* name)
{
    auto* label = new QLabel(QStringLiteral("-"), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLineEdit* NewEdit(QWidget* parent, const char* name, int tag = 0)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(TfrmTraining::MaxTextLength);
    if (tag) edit->setProperty("Tag", tag);
    return edit;
}

QComboBox* NewCombo(QWidget* parent, const char* name, int tag, bool editable = false)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    if (editable) {
        // Editable through a line edit of its own: unlike setEditable, this
        // leaves the popup to be built when it first opens.
        combo->setLineEdit(new QLineEdit(combo));
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->lineEdit()->setMaxLength(TfrmTraining::MaxTextLength);
        // A text typed in another case than a listed one stays as typed; a
        // case-blind completer would put the listed one in its place.
        if (combo->completer()) combo->completer()->setCaseSensitivity(Qt::CaseSensitive);
    }
    if (tag) combo->setProperty("Tag", tag);
    // Room for the longest item ("Concept II A-E") even before the lists are
    // filled. A size policy of its own would make the combo box build its
    // popup at once instead of when it first opens.
    if (!editable) combo->setMinimumContentsLength(14);
    return combo;
}

// Caption and value labels in rows of a two-column grid.
void AddRow(QGridLayout* grid, QLabel* caption, QWidget* value)
{
    const int row = grid->rowCount();
    grid->addWidget(caption, row, 0);
    grid->addWidget(value, row, 1);
}

} // namespace

void MarkModified(QGroupBox& group, bool modified)
{
    static const QString Marker = QStringLiteral(" (*)");
    QString caption = group.title();
    if (caption.endsWith(Marker)) caption.chop(Marker.size());
    if (modified) caption += Marker;
    group.setTitle(caption);
}

TfrmTraining::TfrmTraining(TMDIMain* owner, IOpenTrainings& trainings) : TMDIChild(owner), OpenTrainings(trainings)
{
    setObjectName("frmTraining");
    setWindowTitle(QStringLiteral("Training"));
    CreatePages();
    FillChoiceLists();
    ReadHistoryLists();
    ConnectEdits();
    // Until a training is shown, its user settings cannot be changed.
    UpdateUserControls();
    pgcTraining->setCurrentWidget(pgcTraining->findChild<QWidget*>("tshWorkout"));
    const QMargins frame = contentsMargins();
    resize(ClientWidth + frame.left() + frame.right(), ClientHeight + frame.top() + frame.bottom());
}

void TfrmTraining::CreatePages()
{
    auto* client = new QWidget(this);
    pgcTraining = new QTabWidget(client);
    pgcTraining->setObjectName("pgcTraining");
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->addWidget(pgcTraining);
    setWidget(client);

    pgcTraining->addTab(CreateGeneralPage(), QStringLiteral("&General"));
    pgcTraining->addTab(CreateWorkoutPage(), QStringLiteral("W&orkout"));
    CreateDataPages();
    CreateDataCommands();
}

QWidget* TfrmTraining::CreateGeneralPage()
{
    auto* page = new QWidget;
    page->setObjectName("tshGeneral");

    gbxTraining = CreateValueGroup(page, "gbxTraining", "Training", "Training file information",
                                   {{"File", "lblTFile", &lblTFile},
                                    {"Date / Time", "lblTDateTime", &lblTDateTime},
                                    {"Size", "lblTSize", &lblTSize},
                                    {"Type", "lblTType", &lblTType}});
    btnDatabase = new QPushButton(QStringLiteral("&In database"), gbxTraining);
    btnDatabase->setObjectName("btnDatabase");
    btnDatabase->hide();

    gbxRecording = NewGroup(page, "gbxRecording", "&Recording", "Recording information");
    auto* recording = new QGridLayout(gbxRecording);
    edtTitle = NewEdit(gbxRecording, "edtTitle");
    cmbName = NewCombo(gbxRecording, "cmbName", 0, true);
    cmbDescription = NewCombo(gbxRecording, "cmbDescription", 0, true);
    dtpDate = new QDateEdit(gbxRecording);
    dtpDate->setObjectName("dtpDate");
    dtpDate->setCalendarPopup(true);
    dtpDate->setMinimumDate(QDate(100, 1, 1));
    dtpTime = new QTimeEdit(gbxRecording);
    dtpTime->setObjectName("dtpTime");
    dtpTime->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    dtpTime->setAccessibleName(QStringLiteral("Time"));
    cmbType = NewCombo(gbxRecording, "cmbType", 0, true);
    cmbEvent = NewCombo(gbxRecording, "cmbEvent", 0, true);
    AddRow(recording, NewCaption(gbxRecording, "Title", edtTitle), edtTitle);
    AddRow(recording, NewCaption(gbxRecording, "Name", cmbName), cmbName);
    AddRow(recording, NewCaption(gbxRecording, "Description", cmbDescription), cmbDescription);
    auto* when = new QHBoxLayout;
    when->addWidget(dtpDate, 1);
    when->addWidget(dtpTime, 1);
    const int whenRow = recording->rowCount();
    recording->addWidget(NewCaption(gbxRecording, "Date / Time", dtpDate), whenRow, 0);
    recording->addLayout(when, whenRow, 1);
    AddRow(recording, NewCaption(gbxRecording, "Type", cmbType), cmbType);
    AddRow(recording, NewCaption(gbxRecording, "Event", cmbEvent), cmbEvent);
    pnlRecInterface = new QLabel(gbxRecording);
    pnlRecInterface->setObjectName("pnlRecInterface");
    pnlRecInterface->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    recording->addWidget(pnlRecInterface, recording->rowCount(), 0, 1, 2);
    recording->setColumnStretch(1, 1);

    gbxNote = NewGroup(page, "gbxNote", "&Note");
    memNote = new QPlainTextEdit(gbxNote);
    memNote->setObjectName("memNote");
    memNote->setToolTip(QStringLiteral("Note"));
    memNote->setAccessibleName(QStringLiteral("Note"));
    memNote->setTabChangesFocus(true);
    (new QVBoxLayout(gbxNote))->addWidget(memNote);

    gbxChart = NewGroup(page, "gbxChart", "Chart", "Chart options");
    shpWindow = new QFrame(gbxChart);
    shpWindow->setObjectName("shpWindow");
    shpDialog = new QFrame(gbxChart);
    shpDialog->setObjectName("shpDialog");
    for (QFrame* sample : {shpWindow, shpDialog}) {
        sample->setFrameShape(QFrame::Box);
        sample->setAutoFillBackground(true);
        sample->setMinimumSize(64, 40);
    }
    shpChart = new TLineSample(Qt::Horizontal, shpWindow);
    shpChart->setObjectName("shpChart");
    shpChart->setAccessibleName(QStringLiteral("Curve sample"));
    shpInverse = new TLineSample(Qt::Vertical, shpDialog);
    shpInverse->setObjectName("shpInverse");
    shpInverse->setAccessibleName(QStringLiteral("Inverse curve sample"));
    (new QVBoxLayout(shpWindow))->addWidget(shpChart, 0, Qt::AlignVCenter);
    (new QHBoxLayout(shpDialog))->addWidget(shpInverse, 0, Qt::AlignHCenter);
    btnOptions = new QPushButton(QStringLiteral("&Options..."), gbxChart);
    btnOptions->setObjectName("btnOptions");
    auto* chart = new QGridLayout(gbxChart);
    chart->addWidget(shpWindow, 0, 0);
    chart->addWidget(shpDialog, 0, 1);
    chart->addWidget(btnOptions, 1, 0, 1, 2, Qt::AlignRight);

    gbxClient = CreateValueGroup(page, "gbxClient", "Client", "Client information",
                                 {{"Address", "lblAddress", &lblAddress}, {"ID / Status", "lblIDStatus", &lblIDStatus}});
    gbxClient->hide();

    auto* layout = new QGridLayout(page);
    layout->addWidget(gbxTraining, 0, 0);
    layout->addWidget(gbxChart, 1, 0);
    layout->addWidget(gbxClient, 2, 0);
    layout->addWidget(gbxRecording, 0, 1, 2, 1);
    layout->addWidget(gbxNote, 3, 0, 1, 2);
    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(1, 3);
    layout->setRowStretch(3, 1);
    return page;
}

QGroupBox* TfrmTraining::CreateValueGroup(QWidget* page, const char* name, const char* caption, const char* hint,
                                          const std::initializer_list<TValueRow>& rows)
{
    QGroupBox* group = NewGroup(page, name, caption, hint);
    auto* grid = new QGridLayout(group);
    for (const TValueRow& row : rows) {
        *row.Value = NewValue(group, row.Name);
        AddRow(grid, NewCaption(group, row.Caption, *row.Value), *row.Value);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(grid->rowCount(), 1);
    return group;
}

QWidget* TfrmTraining::CreateWorkoutPage()
{
    auto* page = new QWidget;
    page->setObjectName("tshWorkout");

    gbxOFile = CreateValueGroup(page, "gbxOFile", "Original file", nullptr,
                                {{"File", "lblOFile", &lblOFile},
                                 {"Date / Time", "lblODateTime", &lblODateTime},
                                 {"Size", "lblOSize", &lblOSize},
                                 {"Type", "lblOType", &lblOType}});
    gbxOFile->hide();

    gbxUser = CreateUserGroup(page);
    gbxTotals = CreateValueGroup(page, "gbxTotals", "Totals", "Workout totals. Click to see the Results dialogue.",
                                   {{"Distance", "lblDistance", &lblDistance},
                                    {"Time", "lblTime", &lblTime},
                                    {"Energy", "lblEnergy", &lblEnergy},
                                    {"Strokes", "lblStrokes", &lblStrokes}});
    gbxAverages = CreateValueGroup(page, "gbxAverages", "Averages",
                                     "Workout averages. Click to see the Results dialogue.",
                                     {{"Power", "lblPower", &lblPower},
                                      {"500m time", "lbl500m", &lbl500m},
                                      {"Stroke rate", "lblStrokerate", &lblStrokerate},
                                      {"DR ratio", "lblDRRatio", &lblDRRatio}});

    // A click on the summary asks for a results dialogue this program lacks.
    for (QGroupBox* summary : {gbxTotals, gbxAverages}) {
        summary->installEventFilter(this);
        for (QLabel* label : summary->findChildren<QLabel*>()) label->installEventFilter(this);
    }

    gbxIntervals = NewGroup(page, "gbxIntervals", "Intervals", "Interval data");
    gbxIntervals->setMinimumHeight(90);
    sgdIntervals = NewTrainingGrid(Training, TGridKind::Intervals, "sgdIntervals", gbxIntervals);
    sgdIntervals->setAccessibleName(QStringLiteral("Intervals"));
    // Wide enough for the captions, until the stored widths say otherwise.
    sgdIntervals->horizontalHeader()->resizeSections(QHeaderView::ResizeToContents);
    (new QVBoxLayout(gbxIntervals))->addWidget(sgdIntervals);

    auto* layout = new QGridLayout(page);
    layout->addWidget(gbxOFile, 0, 0, 1, 2);
    layout->addWidget(gbxUser, 1, 0, 2, 1);
    layout->addWidget(gbxTotals, 1, 1);
    layout->addWidget(gbxAverages, 2, 1);
    layout->addWidget(gbxIntervals, 3, 0, 1, 2);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);
    // The intervals take what the page has left, at least 90 pixels.
    layout->setRowStretch(3, 1);
    return page;
}

QGroupBox* TfrmTraining::CreateUserGroup(QWidget* page)
{
    QGroupBox* group = NewGroup(page, "gbxUser", "&User", "User settings");
    edtWeight = NewEdit(group, "edtWeight", ueWeight);
    cmbGender = NewCombo(group, "cmbGender", ucGender);
    cmbBoat = NewCombo(group, "cmbBoat", ucBoat);
    cmbSprocket = NewCombo(group, "cmbSprocket", ucSprocket);
    cmbErgometer = NewCombo(group, "cmbErgometer", ucErgometer);
    cmbSessionLimit = NewCombo(group, "cmbSessionLimit", ucSessionLimit);
    edtLimitValue = NewEdit(group, "edtLimitValue", ueLimitValue);
    cmbIntervalBy = NewCombo(group, "cmbIntervalBy", ucIntervalBy);
    edtWorkPeriod = NewEdit(group, "edtWorkPeriod", ueWorkPeriod);
    edtRestPeriod = NewEdit(group, "edtRestPeriod", ueRestPeriod);
    edtStartValue = NewEdit(group, "edtStartValue", ueStartValue);
    edtStepValue = NewEdit(group, "edtStepValue", ueStepValue);
    edtRestValue = NewEdit(group, "edtRestValue", ueRestValue);
    cmbDisplay = NewCombo(group, "cmbDisplay", ucDisplay);
    btnReset = new QPushButton(QStringLiteral("&Reset"), group);
    btnReset->setObjectName("btnReset");

    auto* grid = new QGridLayout(group);
    const auto place = [grid, group](const char* caption, QWidget* control, int row, int column) {
        QLabel* label = NewCaption(group, caption, control);
        grid->addWidget(label, row, column);
        grid->addWidget(control, row, column + 1);
        return label;
    };
    place("Weight", edtWeight, 0, 0);
    place("Gender", cmbGender, 1, 0);
    place("Boat", cmbBoat, 2, 0);
    place("Sprocket", cmbSprocket, 3, 0);
    place("Ergometer", cmbErgometer, 4, 0);
    place("Session limit", cmbSessionLimit, 0, 2);
    place("Limit value", edtLimitValue, 1, 2);
    lblIntervalBy = place("Interval by", cmbIntervalBy, 2, 2);
    lblWorkPeriod = place("Workperiod", edtWorkPeriod, 3, 2);
    lblRestPeriod = place("Restperiod", edtRestPeriod, 4, 2);
    HiddenUserControls = {edtStartValue, place("Startvalue", edtStartValue, 5, 0),
                          edtStepValue,  place("Stepvalue", edtStepValue, 5, 2),
                          edtRestValue,  place("Restvalue", edtRestValue, 6, 0),
                          cmbDisplay,    place("Display", cmbDisplay, 6, 2)};
    for (QWidget* hidden : HiddenUserControls) hidden->hide();
    grid->addWidget(btnReset, 7, 3, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnMinimumWidth(2, 12);
    grid->setRowStretch(8, 1);
    return group;
}

QWidget* TfrmTraining::AddGridPage(const char* name, const char* caption, const char* hint, QTableView*& grid,
                                    TGridKind kind, const char* gridName)
{
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    page->setToolTip(QString::fromUtf8(hint));
    grid = NewTrainingGrid(Training, kind, QString::fromLatin1(gridName), page);
    grid->setAccessibleName(QString::fromUtf8(hint));
    pgcTraining->addTab(page, QString::fromUtf8(caption));
    return page;
}

void TfrmTraining::CreateDataPages()
{
    QWidget* strokes = AddGridPage("tshStrokeData", "&Stroke data", "Stroke data matrix", sgdStrokeData,
                                   TGridKind::Strokes, "sgdStrokeData");
    // Wide enough for the captions, until the stored widths say otherwise.
    sgdStrokeData->horizontalHeader()->resizeSections(QHeaderView::ResizeToContents);
    // The column no value has stays empty: it is shown only when chosen.
    sgdStrokeData->setColumnHidden(seTarget, true);
    (new QVBoxLayout(strokes))->addWidget(sgdStrokeData);

    CreateSplitsPage();

    QWidget* curves = AddGridPage("tshForceCurves", "Force &curves", "Force curves matrix", sgdForceCurves,
                                  TGridKind::Curves, "sgdForceCurves");
    // Samples take 30 pixels, or what the widest position needs ("176.0").
    const QFontMetrics metrics(sgdForceCurves->font());
    sgdForceCurves->horizontalHeader()->setDefaultSectionSize(
        std::max(30, metrics.horizontalAdvance(QStringLiteral("000.0")) + 6));
    sgdForceCurves->setColumnWidth(0, metrics.horizontalAdvance(QStringLiteral("Used")) + 8);
    (new QVBoxLayout(curves))->addWidget(sgdForceCurves);

    // The log has nothing to tell a user: it stays off the page control, so
    // that neither the arrow keys nor a screen reader find an empty page.
    auto* log = new QWidget(this);
    log->setObjectName("tshLog");
    log->hide();
    memLog = new QPlainTextEdit(log);
    memLog->setObjectName("memLog");
    memLog->setReadOnly(true);
    (new QVBoxLayout(log))->addWidget(memLog);
}

void TfrmTraining::CreateSplitsPage()
{
    QWidget* splits = AddGridPage("tshSplits", "Sp&lits", "Splits by strokes, distance or time", sgdSplits,
                                  TGridKind::Splits, "sgdSplits");
    sgdSplits->horizontalHeader()->resizeSections(QHeaderView::ResizeToContents);

    auto* kinds = NewGroup(splits, "gbxSplitBy", "Split by");
    rbtStrokes = new QRadioButton(QStringLiteral("Strokes"), kinds);
    rbtStrokes->setObjectName("rbtStrokes");
    rbtDistance = new QRadioButton(QStringLiteral("Distance"), kinds);
    rbtDistance->setObjectName("rbtDistance");
    rbtTime = new QRadioButton(QStringLiteral("Time"), kinds);
    rbtTime->setObjectName("rbtTime");
    auto* kindRow = new QHBoxLayout(kinds);
    for (QRadioButton* kind : {rbtStrokes, rbtDistance, rbtTime}) kindRow->addWidget(kind);

    cmbSplits = NewCombo(splits, "cmbSplits", 0, true);
    cmbSplits->setMinimumContentsLength(8);
    cmbSplits->setToolTip(QStringLiteral("Split size: pick one or type a number of strokes, metres or seconds"));
    QLabel* size = NewCaption(splits, "Split si&ze", cmbSplits);
    // A factor of the splits has no meaning in this program.
    edtFactor = NewEdit(splits, "edtFactor");
    lblFactor = NewCaption(splits, "Factor", edtFactor);
    lblFactor->setObjectName("lblFactor");
    for (QWidget* unused : std::initializer_list<QWidget*>{edtFactor, lblFactor}) unused->hide();
    pnlNoSplits = new QLabel(QStringLiteral("No splits for this setting"), splits);
    pnlNoSplits->setObjectName("pnlNoSplits");

    auto* controls = new QHBoxLayout;
    controls->addWidget(kinds);
    controls->addSpacing(12);
    controls->addWidget(size);
    controls->addWidget(cmbSplits);
    controls->addSpacing(12);
    controls->addWidget(pnlNoSplits);
    controls->addStretch(1);
    auto* layout = new QVBoxLayout(splits);
    layout->addLayout(controls);
    layout->addWidget(sgdSplits, 1);
    // Tab goes from the choices to the grid, as the page reads.
    QWidget::setTabOrder(rbtTime, cmbSplits);
    QWidget::setTabOrder(cmbSplits, sgdSplits);
}

void TfrmTraining::FillChoiceLists()
{
    const auto fill = [](QComboBox* combo, std::string (*name)(int), int first, int last) {
        for (int i = first; i <= last; ++i) combo->addItem(QString::fromStdString(name(i)));
    };
    // The name tables start with "-" for gender, boat, sprocket and ergometer,
    // which the lists leave out: the item index is the stored value.
    fill(cmbGender, GenderName, 1, 2);
    fill(cmbBoat, BoatName, 1, 8);
    fill(cmbSprocket, SprocketName, 1, 2);
    fill(cmbErgometer, ErgometerName, 1, 4);
    fill(cmbSessionLimit, SessionLimitName, 0, 4);
    fill(cmbIntervalBy, IntervalByName, 0, 3);
    fill(cmbDisplay, DisplayName, 0, 1);
}

QList<QGroupBox*> TfrmTraining::MarkedGroups() const
{
    return {gbxTraining, gbxRecording, gbxNote, gbxChart, gbxClient, gbxOFile,
            gbxUser,     gbxTotals,    gbxAverages, gbxIntervals};
}

QList<QLabel*> TfrmTraining::ValueLabels() const
{
    return {lblTFile,     lblTDateTime, lblTSize, lblTType, lblAddress, lblIDStatus,   lblODateTime, lblOSize, lblOType,
            lblDistance, lblTime,      lblEnergy, lblStrokes, lblPower, lbl500m, lblStrokerate, lblDRRatio};
}
