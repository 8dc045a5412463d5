// The training window's refresh routines, its style and its layout.
#include "untTraining.h"

#include "jsUtils.h"
#include "untCharts.h"
#include "untFileNames.h"
#include "untFiles.h"
#include "untFormUtils.h"
#include "untIniFile.h"
#include "untLineSample.h"
#include "untMDIMain.h"
#include "untOpenTrainings.h"
#include "untTrainingGrid.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QTextCursor>
#include <QTimeEdit>

#include <algorithm>
#include <cmath>

namespace {

const char* const LayoutSection = "Training";
const char* const HistorySections[] = {"Name", "Description", "Type", "Event"};

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

bool SameFileName(const std::string& a, const std::string& b)
{
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

// How many characters two texts share from their start.
int CommonStart(const QString& a, const QString& b)
{
    int common = 0;
    while (common < a.size() && common < b.size() && a[common] == b[common]) ++common;
    return common;
}

// Where a place in `before` stands in `after`, a text that differs from it
// only between their common beginning and end.
int MovedPosition(const QString& before, const QString& after, int position)
{
    const int common = CommonStart(before, after);
    if (position <= common) return position;
    return std::clamp(position + static_cast<int>(after.size() - before.size()), common,
                      static_cast<int>(after.size()));
}

// Replaces an edit's text, keeping the cursor and the selection where the
// user left them: a refresh while typing must not move them.
void ReplaceKeepingCursor(QLineEdit* edit, const QString& text)
{
    const QString before = edit->text();
    const int cursor = edit->cursorPosition();
    const int anchor = edit->hasSelectedText()
                           ? (cursor == edit->selectionStart() ? edit->selectionEnd() : edit->selectionStart())
                           : cursor;
    edit->setText(text);
    const int newAnchor = MovedPosition(before, text, anchor);
    const int newCursor = MovedPosition(before, text, cursor);
    if (newAnchor == newCursor) edit->setCursorPosition(newCursor);
    else edit->setSelection(newAnchor, newCursor - newAnchor);
}

// Sets a control's text without its change handler, so that showing a value
// is never taken for an edit. While the user types in it, the cursor stays;
// otherwise a long text is shown from its start.
void SetTextQuietly(QLineEdit* edit, const QString& text)
{
    if (edit->text() == text) return;
    const QSignalBlocker quiet(edit);
    if (edit->hasFocus()) {
        ReplaceKeepingCursor(edit, text);
    } else {
        edit->setText(text);
        edit->setCursorPosition(0);
    }
}

// A text shown from the record replaces the memo's text and its undo steps.
// While the user types, only what differs is replaced, as part of the typing's
// undo step, so that the cursor, the selection and the scroll position stay.
void SetTextQuietly(QPlainTextEdit* memo, const QString& text)
{
    const QString before = memo->toPlainText();
    if (before == text) return;
    const QSignalBlocker quiet(memo);
    if (!memo->hasFocus()) {
        memo->setPlainText(text);
        return;
    }
    const int common = CommonStart(before, text);
    int tail = 0;
    while (tail < before.size() - common && tail < text.size() - common
           && before[before.size() - 1 - tail] == text[text.size() - 1 - tail])
        ++tail;
    QTextCursor change(memo->document());
    change.joinPreviousEditBlock();
    change.setPosition(common);
    change.setPosition(static_cast<int>(before.size()) - tail, QTextCursor::KeepAnchor);
    change.insertText(text.mid(common, text.size() - common - tail));
    change.endEditBlock();
}

// Selects the item equal to the text, ignoring case (or none), then shows the text.
void SelectComboText(QComboBox* combo, const QString& text)
{
    if (combo->currentText() == text) return;
    const QSignalBlocker quiet(combo);
    QLineEdit* edit = combo->lineEdit();
    const bool typing = edit && combo->hasFocus();
    const QString typed = edit ? edit->text() : QString();
    const int cursor = edit ? edit->cursorPosition() : 0;
    combo->setCurrentIndex(combo->findText(text, Qt::MatchFixedString));
    combo->setEditText(text);
    if (!edit) return;
    // The cursor stays where the user types; a long text is shown from its start.
    edit->setCursorPosition(typing ? MovedPosition(typed, text, cursor) : 0);
}

// Multi-line texts are stored with CR LF line ends.
QString NoteText(const TTraining& training)
{
    return Text(training.Header.Note.Utf8()).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// A file may hold any double as its date-time: one outside the calendar
// (not finite among them) shows as day 0.
TDateTime InCalendar(TDateTime dateTime)
{
    const int year = DecodeDateTime(dateTime).Year;
    return year >= 1 && year <= 9999 ? dateTime : 0;
}

QDate DatePart(TDateTime dateTime)
{
    return QDate(1899, 12, 30).addDays(static_cast<qint64>(std::trunc(InCalendar(dateTime))));
}

QTime TimePart(TDateTime dateTime)
{
    dateTime = InCalendar(dateTime);
    const double fraction = std::fabs(dateTime - std::trunc(dateTime));
    const int ms = std::min(static_cast<int>(std::lround(fraction * 86400000.0)), 86399999);
    return QTime::fromMSecsSinceStartOfDay(ms);
}

} // namespace

void TfrmTraining::ShowTraining()
{
    ShowGeneral();
    lblOFile->setText(Text(FileNameOrDash(Training.Header.OrigFileName.Utf8())));
    lblODateTime->setText(Text(DateTimeText(Training.Header.OrigFileDateTime)));
    lblOSize->setText(Text(SizeText(Training.Header.OrigFileName.Utf8(), Training.Header.OrigFileSize)));
    lblOType->setText(Text(FileTypeText(Training.Header.OrigFileKind, Training.Header.OrigFileFormat)));
    UpdateUserControls();
    ShowUserSettings();

    const std::pair<QLabel*, int> totals[] = {
        {lblDistance, teDistance},  {lblTime, teTime},         {lblEnergy, teEnergy},
        {lblStrokes, teStrokes},    {lblPower, teAveragePower}, {lbl500m, teAverageSplit500},
        {lblStrokerate, teAverageStrokeRate}};
    for (const auto& [label, entry] : totals) label->setText(Text(TotalValueWithUnit(Training, entry)));
    lblDRRatio->setText(Text(AverageDRRatioText(Training)));

    ShowIntervalGrid();
    ShowSplits();
    ShowStrokeGrid();
    ShowCurveGrid();
}

void TfrmTraining::ShowGeneral()
{
    const bool modified = Training.Header.Modified != 0;
    const THeader& header = Training.Header;
    MarkModified(*gbxTraining, modified);
    lblTFile->setText(Text(FileNameOrDash(header.FileName.Utf8())));
    lblTDateTime->setText(Text(DateTimeText(header.FileDateTime)));
    lblTSize->setText(Text(SizeText(header.FileName.Utf8(), header.FileSize)));
    lblTType->setText(Text(FileTypeText(header.FileKind, header.FileFormat)));

    MarkModified(*gbxRecording, modified);
    const QString title = Text(header.Title.Utf8());
    setWindowTitle(title);
    SetTextQuietly(edtTitle, title);
    SelectComboText(cmbName, Text(header.Name.Utf8()));
    SelectComboText(cmbDescription, Text(header.Description.Utf8()));
    {
        const QSignalBlocker quietDate(dtpDate), quietTime(dtpTime);
        dtpDate->setDate(DatePart(header.DateTime));
        dtpTime->setTime(TimePart(header.DateTime));
    }
    SelectComboText(cmbType, Text(header.TrainingType.Utf8()));
    SelectComboText(cmbEvent, Text(header.Event.Utf8()));
    SetTextQuietly(memNote, NoteText(Training));

    QString recorded;
    if (!IsEmptyTraining(Training)) {
        if (header.Interface != 0) recorded += Text(InterfaceName(header.Interface)) + QStringLiteral(" @ ");
        if (header.Recorder != 0) recorded += Text(RecorderName(header.Recorder)) + QLatin1Char(' ');
        if (Training.Version != 0) recorded += Text(FormatVersion(Training.Version));
        recorded += QStringLiteral("  ");
    }
    pnlRecInterface->setText(recorded);
    for (QWidget* control : std::initializer_list<QWidget*>{edtTitle, cmbName, cmbDescription, dtpDate, dtpTime,
                                                            cmbType, cmbEvent, memNote})
        control->setEnabled(true);

    MarkModified(*gbxNote, modified);
    MarkModified(*gbxChart, modified);
    ShowChartSamples();

    MarkModified(*gbxClient, modified);
    lblAddress->setText(Training.Client.Address.empty() ? QStringLiteral("-")
                                                         : QStringLiteral("%1:%2")
                                                               .arg(Text(Training.Client.Address))
                                                               .arg(Training.Client.Port));
    lblIDStatus->setText(QStringLiteral("%1 / %2").arg(Training.ClientID).arg(Text(StatusName(Training.Status))));

    for (QGroupBox* group : {gbxNote, gbxOFile, gbxUser, gbxTotals, gbxAverages, gbxIntervals})
        MarkModified(*group, modified);
    if (Owner()) Owner()->RefreshWindowButtons();
}

void TfrmTraining::ShowChartSamples()
{
    const THeader& header = Training.Header;
    const QColor colour = QtColor(header.Color);
    const QColor inverse = QtColor(InverseColor(header.Color));
    const QColor back = shpWindow->palette().window().color();
    // The samples are as thick as the pen; a width no pen has is drawn thin.
    const int width = header.PenWidth >= 1 && header.PenWidth <= 20 ? header.PenWidth : 1;
    shpChart->setFixedHeight(width);
    shpInverse->setFixedWidth(width);
    shpChart->SetPen(colour, width, header.PenStyle);
    shpChart->SetBrush(header.PenStyle != 0 ? back : colour);
    shpInverse->SetPen(inverse, width, header.PenStyle);
    shpInverse->SetBrush(header.PenStyle != 0 ? back : inverse);
    btnOptions->setEnabled(true);
}

void TfrmTraining::ShowIntervalGrid()
{
    gbxIntervals->setVisible(Training.Settings.SessionLimit == 4);
    qobject_cast<TTrainingGridModel*>(sgdIntervals->model())->Refresh();
}

void TfrmTraining::ShowStrokeGrid() { qobject_cast<TTrainingGridModel*>(sgdStrokeData->model())->Refresh(); }

void TfrmTraining::ShowCurveGrid() { qobject_cast<TTrainingGridModel*>(sgdForceCurves->model())->Refresh(); }

void TfrmTraining::ShowUserSettings()
{
    for (QLineEdit* edit : {edtWeight, edtLimitValue, edtWorkPeriod, edtRestPeriod, edtStartValue, edtStepValue,
                            edtRestValue})
        if (const auto text = UserEditText(Training.Settings, edit->property("Tag").toInt()))
            SetTextQuietly(edit, Text(*text));
    for (QComboBox* combo : {cmbGender, cmbBoat, cmbSprocket, cmbErgometer, cmbSessionLimit, cmbIntervalBy,
                             cmbDisplay}) {
        const int index = UserComboIndex(Training.Settings, combo->property("Tag").toInt());
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    }
}

void TfrmTraining::UpdateUserControls()
{
    const bool user = IsUserTraining(Training);
    const bool intervals = Training.Settings.SessionLimit == 4;
    btnReset->setEnabled(!IsEmptyTraining(Training));
    for (QWidget* control : std::initializer_list<QWidget*>{edtWeight, cmbGender, cmbBoat, cmbSprocket, cmbErgometer,
                                                            cmbSessionLimit, edtLimitValue, edtStartValue,
                                                            edtStepValue, edtRestValue, cmbDisplay})
        control->setEnabled(user);
    for (QWidget* control : std::initializer_list<QWidget*>{cmbIntervalBy, edtWorkPeriod, edtRestPeriod, lblIntervalBy,
                                                            lblWorkPeriod, lblRestPeriod})
        control->setVisible(intervals);
    for (QWidget* control : std::initializer_list<QWidget*>{cmbIntervalBy, edtWorkPeriod, edtRestPeriod})
        control->setEnabled(intervals && user);
}

void TfrmTraining::ApplyTrainingStyle(const QFont& font, const QColor& text, const QColor& edit, const QColor& window)
{
    // The window keeps its own colour: this system has no visual themes whose
    // colour it would take.
    Q_UNUSED(window);
    setFont(font);
    QFont bold = font;
    bold.setBold(true);
    for (QLabel* value : ValueLabels()) value->setFont(bold);
    for (QWidget* control : std::initializer_list<QWidget*>{
             edtTitle, cmbName, cmbDescription, cmbType, cmbEvent, dtpDate, dtpTime, memNote, edtWeight, cmbGender,
             cmbBoat, cmbSprocket, cmbErgometer, cmbSessionLimit, edtLimitValue, cmbIntervalBy, edtWorkPeriod,
             edtRestPeriod, edtStartValue, edtStepValue, edtRestValue, cmbDisplay, sgdIntervals, sgdStrokeData,
             sgdForceCurves, sgdSplits, memLog})
        SetEditColours(control, edit, text);
    for (QTableView* grid : {sgdIntervals, sgdStrokeData, sgdForceCurves, sgdSplits}) SizeGridRows(*grid);
    const auto fill = [](QFrame* sample, const QColor& background) {
        QPalette colours = sample->palette();
        colours.setColor(QPalette::Window, background);
        sample->setPalette(colours);
    };
    fill(shpWindow, edit);
    fill(shpDialog, CreatedColor);
    ShowTraining();
    update();
}

// --- Layout ---

void TfrmTraining::LoadTrainingLayout(const std::string& layoutFile, int placement, const QString& trainingPath)
{
    const std::string path = FileNameBytes(trainingPath);
    std::string section = LayoutSection;
    if (!SameFileName(layoutFile, SettingsFileName(false)))
        section = SameFileName(ExtractFilePath(path), ExtractFilePath(layoutFile)) ? ExtractFileName(path) : path;

    if (!FileExists(layoutFile)) {
        Place(placement, SavedBounds);
        return;
    }
    const TIniFile ini(layoutFile);
    SavedBounds = ReadFormBounds(ini, section, SavedBounds);
    Place(placement, SavedBounds);
    ReadGridLayout(ini, section);
}

void TfrmTraining::SaveTrainingLayout(const std::string& layoutFile, const std::string& section)
{
    const bool settingsFile = SameFileName(layoutFile, SettingsFileName(true));
    const std::string name = settingsFile ? LayoutSection : section;
    SavedBounds = GetFormBounds(this);
    if (layoutFile.empty() || !IsFileWritable(layoutFile)) return;
    TIniFile ini(layoutFile);
    WriteFormBounds(ini, name, SavedBounds);
    WriteGridLayout(ini, name);
    if (settingsFile) SaveHistoryLists(ini);
    ini.UpdateFile();
}

void TfrmTraining::ReadHistoryLists()
{
    const TIniFile ini(SettingsFileName(false));
    const QList<QComboBox*> combos{cmbName, cmbDescription, cmbType, cmbEvent};
    for (int i = 0; i < combos.size(); ++i)
        for (const auto& [key, value] : ini.ReadSectionValues(HistorySections[i])) combos[i]->addItem(Text(value));
}

void TfrmTraining::SaveHistoryLists(TIniFile& ini) const
{
    const QList<QComboBox*> combos{cmbName, cmbDescription, cmbType, cmbEvent};
    for (int i = 0; i < combos.size(); ++i) {
        ini.EraseSection(HistorySections[i]);
        for (int item = 0; item < combos[i]->count(); ++item) {
            const QString text = combos[i]->itemText(item);
            if (!text.isEmpty()) ini.WriteString(HistorySections[i], std::to_string(item), text.toStdString());
        }
    }
}

void TfrmTraining::CloseAccepted()
{
    Training.Status = StatusDisconnected;
    SaveTrainingLayout(SettingsFileName(true), LayoutSection);
    OpenTrainings.CloseTrainingsByNumber(Training.ClientID);
}
