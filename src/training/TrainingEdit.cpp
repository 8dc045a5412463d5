// Editing in the training window: the recording's texts, date and time, its
// drawing options and, for user-settings trainings, the user settings. Every
// edit changes only the window's copy of the training.
#include "untTraining.h"

#include "jsUtils.h"
#include "untChartOptions.h"
#include "untFiles.h"
#include "untMessages.h"
#include "untOpenTrainings.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTimeEdit>

#include <algorithm>
#include <cmath>

namespace {

// Reason 0 of the reset question: "Changing this value will reset the training session."
const int ResetForChange = 0;

int TagOf(const QObject* control) { return control->property("Tag").toInt(); }

// Entering a control is the user's doing: a click, Tab or a shortcut. Focus
// that a window gives itself when it is shown, that comes back with its
// window, or that goes to a list's pop-up, is no entering.
bool IsEntering(const QFocusEvent* event)
{
    switch (event->reason()) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason: return true;
    default: return false;
    }
}

// Leaving a control: focus that goes with its window, or to a list's pop-up, stays.
bool IsLeaving(const QFocusEvent* event)
{
    const Qt::FocusReason reason = event->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// Adds the combo's text to its items when no item equals it, ignoring case.
void AddToHistory(QComboBox* combo)
{
    const QString text = combo->currentText();
    if (!text.isEmpty() && combo->findText(text, Qt::MatchFixedString) < 0) combo->addItem(text);
}

bool IsMouseButtonEvent(QEvent::Type type)
{
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease
           || type == QEvent::MouseButtonDblClick;
}

// What the record keeps of a note: a byte per character, two per line break.
int StoredSize(const QString& text)
{
    int size = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()) continue;
        size += text[i] == QLatin1Char('\n') ? 2 : 1;
    }
    return size;
}

// Keeps the memo's text within what the record stores: what was just typed
// or pasted beyond that, before the cursor, is taken back at once, as part of
// the typing's undo step.
void KeepWithinStoredSize(QPlainTextEdit* memo, int limit)
{
    const QString text = memo->toPlainText();
    int excess = StoredSize(text) - limit;
    if (excess <= 0) return;
    QTextCursor cursor = memo->textCursor();
    const int end = cursor.position();
    int start = end;
    while (excess > 0 && start > 0) {
        --start;
        if (text[start].isLowSurrogate() && start > 0 && text[start - 1].isHighSurrogate()) --start;
        excess -= text[start] == QLatin1Char('\n') ? 2 : 1;
    }
    const QSignalBlocker quiet(memo);
    cursor.joinPreviousEditBlock();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.endEditBlock();
    memo->setTextCursor(cursor);
}

double WholeDay(TDateTime dateTime) { return std::trunc(dateTime); }
double TimeOfDay(TDateTime dateTime) { return std::fabs(dateTime - std::trunc(dateTime)); }
// A day and a time of day as one value; before 1899-12-30 the time counts
// away from zero, as the record keeps it.
TDateTime Combined(double day, double time) { return day < 0 ? day - time : day + time; }

} // namespace

void TfrmTraining::ConnectEdits()
{
    connect(edtTitle, &QLineEdit::textChanged, this, [this] { RecordingTextChanged(edtTitle); });
    for (QComboBox* combo : {cmbName, cmbDescription, cmbType, cmbEvent}) {
        connect(combo, &QComboBox::editTextChanged, this, [this, combo] { RecordingTextChanged(combo); });
        combo->installEventFilter(this);
    }
    connect(memNote, &QPlainTextEdit::textChanged, this, [this] { RecordingTextChanged(memNote); });
    connect(dtpDate, &QDateEdit::dateChanged, this, &TfrmTraining::dtpDateChange);
    connect(dtpTime, &QTimeEdit::timeChanged, this, &TfrmTraining::dtpTimeChange);
    connect(btnOptions, &QPushButton::clicked, this, &TfrmTraining::btnOptionsClick);

    for (QLineEdit* edit : {edtWeight, edtLimitValue, edtWorkPeriod, edtRestPeriod, edtStartValue, edtStepValue,
                            edtRestValue}) {
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { UserEditChanged(edit); });
        edit->installEventFilter(this);
    }
    for (QComboBox* combo : {cmbGender, cmbBoat, cmbSprocket, cmbErgometer, cmbSessionLimit, cmbIntervalBy,
                             cmbDisplay}) {
        connect(combo, &QComboBox::currentIndexChanged, this, [this, combo] { UserComboChanged(combo); });
        combo->installEventFilter(this);
    }
}

bool TfrmTraining::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == RefusedClick && IsMouseButtonEvent(type)) {
        if (type == QEvent::MouseButtonRelease) RefusedClick = nullptr;
        return true;
    }
    if (type == QEvent::MouseButtonRelease) {
        for (QGroupBox* summary : {gbxTotals, gbxAverages})
            if (watched == summary || watched->parent() == summary) {
                SummaryClick();
                return true;
            }
        return false;
    }
    if (type != QEvent::FocusIn && type != QEvent::FocusOut) return false;
    const auto* focus = static_cast<QFocusEvent*>(event);
    if (type == QEvent::FocusIn ? !IsEntering(focus) : !IsLeaving(focus)) return false;
    auto* edit = qobject_cast<QLineEdit*>(watched);
    auto* combo = qobject_cast<QComboBox*>(watched);
    const bool history = combo && combo->isEditable();
    if (history) {
        if (type == QEvent::FocusOut) AddToHistory(combo);
    } else if (type == QEvent::FocusIn && (edit || combo)) {
        UserControlEntered(static_cast<QWidget*>(watched), focus->reason());
    } else if (type == QEvent::FocusOut && edit) {
        UserEditExit(edit);
    } else if (type == QEvent::FocusOut && combo && !ComboExitDetached) {
        UserComboExit(combo);
    }
    return false;
}

void TfrmTraining::RecordingChanged()
{
    Training.Header.Modified = 1;
    ShowGeneral();
    OpenTrainings.RefreshForceCurveList();
}

void TfrmTraining::RecordingTextChanged(QWidget* control)
{
    THeader& header = Training.Header;
    const std::pair<QWidget*, TText255*> fields[] = {{edtTitle, &header.Title},        {cmbName, &header.Name},
                                                     {cmbDescription, &header.Description},
                                                     {cmbType, &header.TrainingType}, {cmbEvent, &header.Event},
                                                     {memNote, &header.Note}};
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(control)) text = edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(control)) text = combo->currentText();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
        // The memo takes 250 characters as stored, like the other texts; a
        // longer note from a file keeps its length but does not grow.
        const int stored = static_cast<int>(header.Note.Text().size());
        KeepWithinStoredSize(memo, std::max(MaxTextLength, stored));
        text = memo->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    }
    for (const auto& [owner, field] : fields)
        if (owner == control && AssignText(*field, text.toStdString())) RecordingChanged();
}

void TfrmTraining::dtpDateChange()
{
    const double day = QDate(1899, 12, 30).daysTo(dtpDate->date());
    // The packed header holds the value at an odd offset: read and write it whole.
    const TDateTime dateTime = Training.Header.DateTime;
    if (day == WholeDay(dateTime)) return;
    Training.Header.DateTime = Combined(day, TimeOfDay(dateTime));
    RecordingChanged();
}

void TfrmTraining::dtpTimeChange()
{
    const double time = dtpTime->time().msecsSinceStartOfDay() / 86400000.0;
    const TDateTime dateTime = Training.Header.DateTime;
    if (std::lround(time * 86400000.0) == std::lround(TimeOfDay(dateTime) * 86400000.0)) return;
    Training.Header.DateTime = Combined(WholeDay(dateTime), time);
    RecordingChanged();
}

void TfrmTraining::btnOptionsClick()
{
    if (TfrmChartOptions* dialog = ChartOptionsDialog()) dialog->ShowChartOptions(Training);
    // Marked modified whatever the dialog's outcome.
    Training.Header.Modified = 1;
    OpenTrainings.RefreshForceCurveList();
    ShowGeneral();
    OpenTrainings.RefreshForceCurveList();
}

void TfrmTraining::SummaryClick() { ShowErrorMessage("The requested feature is not supported in this programme."); }

// --- User settings ---

void TfrmTraining::UserControlEntered(QWidget* control, Qt::FocusReason reason)
{
    RefusedClick = nullptr;
    if (ConfirmReset(Training, ResetForChange).Proceed) return;
    // The click that entered the control comes after the focus: it must not
    // go on to open the list or place the cursor.
    if (reason == Qt::MouseFocusReason) RefusedClick = control;
    // Leaving a list that was only entered must not store it.
    ComboExitDetached = qobject_cast<QComboBox*>(control) != nullptr;
    control->clearFocus();
    ComboExitDetached = false;
}

void TfrmTraining::UserEditChanged(QLineEdit* edit)
{
    if (edit->text().isEmpty()) return;
    if (!ConfirmReset(Training, ResetForChange).Proceed) {
        ShowUserSettings();
        return;
    }
    // While typing, only whole numbers are stored; the message for a text that
    // is none comes when the edit is left.
    try {
        if (StoreUserEditText(Training.Settings, TagOf(edit), edit->text().toStdString())) RecordingChanged();
    } catch (const EConvertError&) {
    }
}

void TfrmTraining::UserEditExit(QLineEdit* edit)
{
    try {
        if (StoreUserEditText(Training.Settings, TagOf(edit), edit->text().toStdString())) RecordingChanged();
    } catch (const EConvertError& error) {
        ShowErrorMessage(error.what());
        ShowUserSettings();
    }
}

void TfrmTraining::UserComboChanged(QComboBox* combo)
{
    if (ConfirmReset(Training, ResetForChange).Proceed) {
        UserComboExit(combo);
    } else {
        ShowUserSettings();
    }
}

void TfrmTraining::UserComboExit(QComboBox* combo)
{
    if (!StoreUserComboIndex(Training.Settings, TagOf(combo), combo->currentIndex())) return;
    Training.Header.Modified = 1;
    ShowTraining();
    OpenTrainings.RefreshForceCurveList();
}
