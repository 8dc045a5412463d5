// The training window: its grids, the summary, the modified markers, the
// editing of the recording and of the user settings, its layout, and what a
// screen reader reads of it.
#include "TrainingWindowKit.h"

#include "DemoTraining.h"
#include "untCharts.h"
#include "untFiles.h"
#include "untFormUtils.h"
#include "untIniFile.h"
#include "untTraining.h"
#include "untTrainingGrid.h"

#include <QAbstractItemModelTester>
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTableView>
#include <QTest>
#include <QTextCursor>
#include <QTimeEdit>

#include <cmath>
#include <functional>
#include <limits>

namespace {

void Enter(QWidget* control)
{
    QFocusEvent enter(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(control, &enter);
}

void Leave(QWidget* control)
{
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(control, &leave);
}

// Types the text key by key, one character (a surrogate pair counting as
// one) a key, as a keyboard that has them would.
void TypeText(QWidget* control, const QString& text)
{
    for (int i = 0; i < text.size(); ++i) {
        const int length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString key = text.mid(i, length);
        QTest::sendKeyEvent(QTest::Press, control, Qt::Key_unknown, key, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, control, Qt::Key_unknown, key, Qt::NoModifier);
        i += length - 1;
    }
}

// Types a text into an edit and leaves it, as a user does.
void TypeAndLeave(QLineEdit* edit, const QString& text)
{
    edit->setText(text);
    Leave(edit);
}

} // namespace

class TrainingWindowTest : public TTrainingWindowFixture {};

TEST_F(TrainingWindowTest, GridsHaveTheirColumnsHeadersAndOneEmptyRowWithoutData)
{
    TfrmTraining* window = Open([](TTraining& training) {
        training.Settings.Ergometer = 1; // sample spacing 2.2 cm
        training.Settings.Sprocket = 1;
    });
    ASSERT_NE(window, nullptr);
    ASSERT_NEAR(CurveSpacing(window->Training.Settings), 2.2, 1e-9);
    auto* strokes = Control<QTableView>("sgdStrokeData");
    auto* curves = Control<QTableView>("sgdForceCurves");
    auto* intervals = Control<QTableView>("sgdIntervals");
    // With the row-number column: 27, 84 and 23 columns.
    EXPECT_EQ(strokes->model()->columnCount(), 26);
    EXPECT_EQ(curves->model()->columnCount(), 83);
    EXPECT_EQ(intervals->model()->columnCount(), 22);
    EXPECT_EQ(Control<QTableView>("sgdSplits")->model()->columnCount(), 21);
    EXPECT_EQ(Header(curves, 0), "Used");
    EXPECT_EQ(Header(curves, 1), "2.2");
    EXPECT_EQ(Header(curves, 2), "4.4");
    EXPECT_EQ(Header(curves, 80), "176.0");
    EXPECT_TRUE(GridText(*curves, TCopyMode::All).startsWith("#\tUsed\t2.2\t4.4\t"));
    EXPECT_EQ(strokes->model()->rowCount(), 12);
    EXPECT_EQ(strokes->model()->headerData(11, Qt::Vertical).toString(), "12");

    // Every cell is the core's text of that cell.
    for (QTableView* grid : {strokes, curves, intervals}) {
        const auto* model = qobject_cast<TTrainingGridModel*>(grid->model());
        ASSERT_NE(model, nullptr);
        QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
        for (int row = 0; row < model->rowCount(); row += 5)
            for (int column = 0; column < model->columnCount(); ++column)
                ASSERT_EQ(model->index(row, column).data().toString().toStdString(),
                          GridCellText(window->Training, model->Kind(), row, column));
    }

    window->Training.Strokes.resize(1);
    window->Training.Curves.resize(1);
    window->Training.Intervals.clear();
    window->ShowTraining();
    for (QTableView* grid : {strokes, curves, intervals}) {
        EXPECT_EQ(grid->model()->rowCount(), 1);
        EXPECT_EQ(GridText(*grid, TCopyMode::Data).remove('\t'), "\r\n") << "one empty row";
        EXPECT_EQ(grid->model()->headerData(0, Qt::Vertical).toString(), "");
    }
}

TEST_F(TrainingWindowTest, ARefreshKeepsTheGridsPlaceUntilItsRowsChange)
{
    TfrmTraining* window = Open(nullptr, 60);
    ASSERT_NE(window, nullptr);
    auto* strokes = Control<QTableView>("sgdStrokeData");
    auto* curves = Control<QTableView>("sgdForceCurves");
    const QModelIndex place = strokes->model()->index(40, 3);
    strokes->setCurrentIndex(place);

    // A new sample spacing over as many rows: the same place, new captions.
    window->Training.Settings.Ergometer = 1;
    window->Training.Settings.Sprocket = 1;
    window->ShowTraining();
    EXPECT_EQ(strokes->currentIndex(), place);
    EXPECT_EQ(Header(curves, 1), "2.2");

    // From no stroke to one the grids keep their one row, which now has a number.
    window->Training.Strokes.resize(1);
    window->Training.Curves.resize(1);
    window->ShowTraining();
    EXPECT_EQ(strokes->model()->headerData(0, Qt::Vertical).toString(), "");
    window->Training.Strokes.resize(2);
    window->Training.Curves.resize(2);
    window->ShowTraining();
    ASSERT_EQ(strokes->model()->rowCount(), 1);
    EXPECT_EQ(strokes->model()->headerData(0, Qt::Vertical).toString(), "1");
    EXPECT_EQ(strokes->model()->index(0, 0).data().toString().toStdString(),
              GridCellText(window->Training, TGridKind::Strokes, 0, 0));
}

// The first row of an image with a pixel of black text, anti-aliased or not,
// and whether there is one: grey text, as on a disabled button, has none.
std::pair<int, bool> FirstDarkRow(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 64) return {y, true};
    return {0, false};
}

TEST_F(TrainingWindowTest, HeaderTextsAreBlackAndStartTwoPixelsBelowTheirTop)
{
    TfrmTraining* window = Open([](TTraining& training) { training.Settings.SessionLimit = 4; }, 216);
    ASSERT_NE(window, nullptr);
    Main->show();
    Settle(20);
    auto* intervals = Control<QTableView>("sgdIntervals");
    ASSERT_TRUE(intervals->isVisible());
    auto* corner = intervals->findChild<QAbstractButton*>();
    ASSERT_NE(corner, nullptr);
    ASSERT_FALSE(corner->isEnabled());
    const int ascent = QFontMetrics(intervals->font()).ascent();
    const int capHeight = QFontMetrics(intervals->font()).capHeight();
    // The top of a capital or a digit lies ascent - capHeight below the text's top.
    const auto startsBelowItsTop = [&](QWidget* widget, const QRect& section, const char* what) {
        const auto [row, found] = FirstDarkRow(widget->grab(section).toImage().convertToFormat(QImage::Format_RGB32));
        ASSERT_TRUE(found) << what;
        EXPECT_NEAR(row, 2 + ascent - capHeight, 1) << what;
    };
    startsBelowItsTop(corner, corner->rect(), "#");
    QHeaderView* captions = intervals->horizontalHeader();
    startsBelowItsTop(captions->viewport(), QRect(captions->sectionViewportPosition(1), 0, captions->sectionSize(1), captions->height()),
                      "Power (W)");
    QHeaderView* numbers = intervals->verticalHeader();
    startsBelowItsTop(numbers->viewport(), QRect(0, numbers->sectionViewportPosition(2), numbers->width(), numbers->sectionSize(2)),
                      "3");
}

TEST_F(TrainingWindowTest, RowNumberColumnIsAsWideAsTheStandardHeaderWouldMakeIt)
{
    TfrmTraining* window = Open(nullptr, 1500);
    ASSERT_NE(window, nullptr);
    auto* strokes = Control<QTableView>("sgdStrokeData");
    const auto standardWidth = [strokes] {
        QHeaderView standard(Qt::Vertical);
        standard.setFont(strokes->verticalHeader()->font());
        standard.setModel(strokes->model());
        return standard.sizeHint().width();
    };
    EXPECT_EQ(strokes->verticalHeader()->sizeHint().width(), standardWidth()); // "1500" rules
    window->Training.Strokes.resize(10);
    window->Training.Curves.resize(10);
    window->ShowTraining();
    ASSERT_EQ(strokes->model()->rowCount(), 9);
    EXPECT_EQ(strokes->verticalHeader()->sizeHint().width(), standardWidth());
}

// The caption row keeps the height the font gives it without measuring its
// captions: they must still fit, and the rows start right under it.
TEST_F(TrainingWindowTest, CaptionRowFitsItsCaptionsAndTheRowsStartUnderIt)
{
    TfrmTraining* window = Open([](TTraining& training) { training.Settings.SessionLimit = 4; }, 300);
    ASSERT_NE(window, nullptr);
    Main->show();
    auto* intervals = Control<QTableView>("sgdIntervals");
    ASSERT_TRUE(intervals->isVisible());
    for (const int points : {9, 20}) {
        QFont font = window->font();
        font.setPointSize(points);
        window->ApplyTrainingStyle(font, Qt::black, Qt::white, Qt::lightGray);
        QApplication::processEvents();
        QHeaderView* captions = intervals->horizontalHeader();
        QHeaderView standard(Qt::Horizontal);
        standard.setFont(captions->font());
        standard.setModel(intervals->model());
        EXPECT_GE(captions->height(), standard.sizeHint().height()) << points << " pt";
        EXPECT_EQ(intervals->viewport()->geometry().top(), captions->geometry().bottom() + 1) << points << " pt";
        EXPECT_EQ(intervals->viewport()->geometry().left(), intervals->verticalHeader()->geometry().right() + 1);
    }
}

// At the window's first size, every choice of the user settings reads whole.
TEST_F(TrainingWindowTest, UserComboBoxesShowTheirLongestItemWhole)
{
    TfrmTraining* window = Open(nullptr, 12);
    ASSERT_NE(window, nullptr);
    Main->show();
    window->showNormal();
    const QMargins frame = window->contentsMargins();
    window->resize(TfrmTraining::ClientWidth + frame.left() + frame.right(),
                   TfrmTraining::ClientHeight + frame.top() + frame.bottom());
    QApplication::processEvents();
    const QList<QComboBox*> combos = Group("gbxUser")->findChildren<QComboBox*>();
    ASSERT_GE(combos.size(), 7);
    for (QComboBox* combo : combos) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                           QStyle::SC_ComboBoxEditField, combo);
        for (int item = 0; item < combo->count(); ++item)
            EXPECT_LE(combo->fontMetrics().horizontalAdvance(combo->itemText(item)), field.width())
                << combo->objectName().toStdString() << ": " << combo->itemText(item).toStdString();
    }
}

TEST_F(TrainingWindowTest, SummaryShowsTotalsAveragesAndIntervalsOnlyForIntervalSessions)
{
    TfrmTraining* window = Open(nullptr, 216);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QString::fromStdString(window->Training.Header.Title.Utf8()));
    EXPECT_EQ(Control<QLabel>("lblDistance")->text(), QString::fromStdString(TotalValueWithUnit(window->Training, 0)));
    EXPECT_TRUE(Control<QLabel>("lblTime")->text().endsWith(" m:s"));
    EXPECT_EQ(Control<QLabel>("lblStrokes")->text(), QString::fromStdString(TotalValueWithUnit(window->Training, 4)));
    EXPECT_TRUE(Control<QLabel>("lblDistance")->font().bold());
    EXPECT_EQ(Control<QLabel>("lblDRRatio")->text(), QString::fromStdString(AverageDRRatioText(window->Training)));
    EXPECT_TRUE(Group("gbxIntervals")->isHidden()) << "a distance session";

    window->Training.Settings.SessionLimit = 4;
    window->ShowTraining();
    EXPECT_FALSE(Group("gbxIntervals")->isHidden());
    auto* intervals = Control<QTableView>("sgdIntervals");
    EXPECT_EQ(intervals->model()->rowCount(), static_cast<int>(window->Training.Intervals.size()));
    EXPECT_EQ(intervals->model()->headerData(0, Qt::Vertical).toString(), "1");

    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(Control<QLabel>("lblPower"), &click);
    EXPECT_EQ(Script.Messages, QStringList({"The requested feature is not supported in this programme."}));
}

// A file may hold NaN or infinity in any float: such a value shows as "-",
// without its unit, in the labels and the grids; the record keeps it.
TEST_F(TrainingWindowTest, ValuesThatAreNoNumbersShowADashWithoutTheirUnit)
{
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    TfrmTraining* window = Open([&](TTraining& training) {
        training.Totals = {nan, inf, -inf, nan};
        training.Strokes[2].Power = -inf;
        training.Strokes[3].Time = nan;
        training.Header.DateTime = -inf;
    });
    ASSERT_NE(window, nullptr);
    for (const char* label : {"lblDistance", "lblTime", "lblEnergy", "lblPower", "lbl500m"})
        EXPECT_EQ(Control<QLabel>(label)->text(), "-") << label;
    EXPECT_EQ(Control<QLabel>("lblStrokes")->text(), "12");
    const QAbstractItemModel* strokes = Control<QTableView>("sgdStrokeData")->model();
    EXPECT_EQ(strokes->index(1, sePower).data().toString(), "-");
    EXPECT_EQ(strokes->index(2, seTime).data().toString(), "-");
    EXPECT_NE(strokes->index(0, sePower).data().toString(), "-");
    EXPECT_TRUE(std::isnan(window->Training.Totals.TotalDistance));
    EXPECT_EQ(+window->Training.Totals.TotalEnergy, -inf);
    // A recording time outside the calendar shows as day 0.
    EXPECT_EQ(Control<QDateEdit>("dtpDate")->date(), QDate(1899, 12, 30));
    EXPECT_EQ(Control<QTimeEdit>("dtpTime")->time(), QTime(0, 0));
    EXPECT_EQ(+window->Training.Header.DateTime, -inf);
}

TEST_F(TrainingWindowTest, ModifiedMarkersAreAddedOnceAndRemovedAgain)
{
    TfrmTraining* window = Open();
    ASSERT_NE(window, nullptr);
    auto* title = Control<QLineEdit>("edtTitle");
    const QString original = title->text();
    title->setText(original);
    EXPECT_FALSE(window->Training.Header.Modified) << "the same text is no change";
    title->setText("Monday");
    title->setText("Monday ");
    EXPECT_TRUE(window->Training.Header.Modified);
    EXPECT_EQ(window->windowTitle(), "Monday ");
    for (const char* name : {"gbxTraining", "gbxRecording", "gbxNote", "gbxChart", "gbxUser", "gbxTotals",
                             "gbxAverages", "gbxIntervals", "gbxOFile", "gbxClient"})
        EXPECT_TRUE(Group(name)->title().endsWith("(*)") && !Group(name)->title().endsWith("(*) (*)")) << name;
    EXPECT_EQ(Group("gbxRecording")->title(), "&Recording (*)");

    window->Training.Header.Modified = 0;
    window->ShowGeneral();
    EXPECT_EQ(Group("gbxRecording")->title(), "&Recording");
    EXPECT_EQ(Group("gbxTotals")->title(), "Totals");
}

TEST_F(TrainingWindowTest, DateAndTimeChangeOnlyTheirPartOfTheRecordingTime)
{
    TfrmTraining* window = Open([](TTraining& training) { training.Header.DateTime = EncodeDateTime(2026, 6, 14, 7, 30); });
    ASSERT_NE(window, nullptr);
    auto* date = Control<QDateEdit>("dtpDate");
    auto* time = Control<QTimeEdit>("dtpTime");
    EXPECT_EQ(date->date(), QDate(2026, 6, 14));
    EXPECT_EQ(time->time(), QTime(7, 30));
    date->setDate(QDate(2026, 6, 15));
    EXPECT_DOUBLE_EQ(+window->Training.Header.DateTime, EncodeDateTime(2026, 6, 15, 7, 30));
    time->setTime(QTime(18, 5, 9));
    EXPECT_NEAR(+window->Training.Header.DateTime, EncodeDateTime(2026, 6, 15, 18, 5, 9), 1e-8);
    EXPECT_TRUE(window->Training.Header.Modified);
}

TEST_F(TrainingWindowTest, HistoryListsKeepOneEntryPerTextAndAreStoredOnClosing)
{
    TfrmTraining* window = Open();
    ASSERT_NE(window, nullptr);
    auto* name = Control<QComboBox>("cmbName");
    name->setEditText("Alice");
    Leave(name);
    name->setEditText("ALICE");
    Leave(name);
    EXPECT_EQ(name->findText("alice", Qt::MatchFixedString), 0);
    EXPECT_EQ(name->count(), 1);
    EXPECT_EQ(window->Training.Header.Name.Text(), "ALICE");

    window->close();
    Settle();
    const TIniFile ini(SettingsPath().toStdString());
    std::vector<std::string> names;
    for (const auto& entry : ini.ReadSectionValues("Name")) names.push_back(entry.second);
    EXPECT_EQ(names, std::vector<std::string>({"Alice"}));

    // The next window offers them again.
    TfrmTraining* next = Open();
    ASSERT_NE(next, nullptr);
    EXPECT_GE(next->findChild<QComboBox*>("cmbName")->findText("Alice"), 0);
}

TEST_F(TrainingWindowTest, TimeLimitIsShownAndTypedAsATimeOfDay)
{
    TfrmTraining* window = OpenEmptyUserTraining([](TUserSettings& settings) {
        settings.SessionLimit = 3;
        settings.LimitTime = 5400;
        settings.LimitDistance = 2000;
        settings.IntervalBy = 3;
        settings.WorkTime = 60;
    });
    ASSERT_NE(window, nullptr);
    auto* limit = Control<QLineEdit>("edtLimitValue");
    EXPECT_EQ(limit->text(), "1:30:00");
    EXPECT_TRUE(limit->isEnabled());
    Enter(limit);
    TypeAndLeave(limit, "0:45:00");
    EXPECT_EQ(window->Training.Settings.LimitTime, 2700);
    EXPECT_TRUE(Script.Messages.isEmpty()) << "an empty training is changed without asking";
    TypeAndLeave(limit, "no time");
    EXPECT_EQ(window->Training.Settings.LimitTime, 0) << "a text that is no time stores 0 without a message";
    EXPECT_TRUE(Script.Messages.isEmpty());

    // Another limit kind shows its own value; intervals bring their controls.
    auto* kind = Control<QComboBox>("cmbSessionLimit");
    kind->setCurrentIndex(2);
    EXPECT_EQ(limit->text(), "2000");
    EXPECT_TRUE(Control<QComboBox>("cmbIntervalBy")->isHidden());
    kind->setCurrentIndex(4);
    EXPECT_FALSE(Control<QComboBox>("cmbIntervalBy")->isHidden());
    EXPECT_TRUE(Control<QLineEdit>("edtWorkPeriod")->isEnabled());
    EXPECT_EQ(Control<QLineEdit>("edtWorkPeriod")->text(), "0:01:00") << "work time by default";
    TypeAndLeave(Control<QLineEdit>("edtWorkPeriod"), "0:02:30");
    EXPECT_EQ(window->Training.Settings.WorkTime, 150);
    EXPECT_EQ(window->Training.Settings.WorkPeriod, 150);
}

TEST_F(TrainingWindowTest, NumbersThatAreNoNumbersAreRefusedAndLimitsClamped)
{
    TfrmTraining* window = OpenEmptyUserTraining([](TUserSettings& settings) { settings.Weight = 72; });
    ASSERT_NE(window, nullptr);
    auto* weight = Control<QLineEdit>("edtWeight");
    weight->setText("7x");
    EXPECT_TRUE(Script.Messages.isEmpty()) << "no message while typing";
    Leave(weight);
    ASSERT_EQ(Script.Messages.size(), 1);
    EXPECT_TRUE(Script.Messages[0].contains("7x"));
    EXPECT_EQ(window->Training.Settings.Weight, 72);
    EXPECT_EQ(weight->text(), "72") << "the stored value is shown again";

    auto* limit = Control<QLineEdit>("edtLimitValue");
    TypeAndLeave(limit, "70000");
    EXPECT_EQ(window->Training.Settings.LimitDistance, 65535);
    EXPECT_EQ(limit->text(), "70000") << "the typed text stays until the window is refreshed";
    TypeAndLeave(limit, "-5");
    EXPECT_EQ(window->Training.Settings.LimitDistance, 0);
}

TEST_F(TrainingWindowTest, ChangingTheSettingsOfAUserTrainingWithDataAsksFirst)
{
    TfrmTraining* window = Open([](TTraining& training) { training.Header.FileKind = fkUser; });
    ASSERT_NE(window, nullptr);
    Main->show();
    QApplication::setActiveWindow(Main.get());
    auto* weight = Control<QLineEdit>("edtWeight");
    ASSERT_TRUE(weight->isEnabled());
    const int strokes = static_cast<int>(window->Training.Strokes.size());

    Script.AnswerNext(QMessageBox::No);
    weight->setFocus(Qt::TabFocusReason);
    Settle();
    ASSERT_EQ(Script.Messages.size(), 1);
    EXPECT_EQ(Script.Messages[0],
              "Changing this value will reset the training session.\nDo you wish to continue?");
    EXPECT_FALSE(weight->hasFocus()) << "No takes the focus away";
    EXPECT_EQ(static_cast<int>(window->Training.Strokes.size()), strokes);

    auto* gender = Control<QComboBox>("cmbGender");
    const int genderBefore = window->Training.Settings.Gender;
    Script.AnswerNext(QMessageBox::No);
    gender->setFocus(Qt::TabFocusReason);
    Settle();
    EXPECT_FALSE(gender->hasFocus());
    EXPECT_EQ(window->Training.Settings.Gender, genderBefore);
    EXPECT_EQ(Script.Messages.size(), 2);

    Script.AnswerNext(QMessageBox::Yes);
    weight->setFocus(Qt::TabFocusReason);
    Settle();
    EXPECT_EQ(Script.Messages.size(), 3);
    EXPECT_TRUE(IsEmptyTraining(window->Training)) << "Yes resets the training";
    weight->setText("66");
    gender->setCurrentIndex(1);
    EXPECT_EQ(Script.Messages.size(), 3) << "an empty training asks no more";
    EXPECT_EQ(window->Training.Settings.Gender, 1);
}

TEST_F(TrainingWindowTest, AClickOnAUserListThatIsRefusedNeitherOpensItNorAsksAgain)
{
    TfrmTraining* window = Open([](TTraining& training) { training.Header.FileKind = fkUser; });
    ASSERT_NE(window, nullptr);
    ShowMainActive();
    auto* boat = Control<QComboBox>("cmbBoat");
    const int boatBefore = window->Training.Settings.Boat;

    for (int click = 1; click <= 2; ++click) {
        Script.AnswerNext(QMessageBox::No);
        QTest::mouseClick(boat, Qt::LeftButton);
        Settle();
        EXPECT_EQ(Script.Messages.size(), click) << "one question a click";
        EXPECT_FALSE(boat->view()->isVisible()) << "No keeps the list closed";
        EXPECT_FALSE(boat->hasFocus());
        EXPECT_EQ(window->Training.Settings.Boat, boatBefore);
    }

    // Yes resets the training, and the click goes on to open the list.
    Script.AnswerNext(QMessageBox::Yes);
    QTest::mouseClick(boat, Qt::LeftButton);
    Settle();
    EXPECT_EQ(Script.Messages.size(), 3);
    EXPECT_TRUE(boat->view()->isVisible());
    boat->hidePopup();
}

TEST_F(TrainingWindowTest, TypingWhatTheRecordCannotHoldKeepsTheCursorWhereItWas)
{
    TfrmTraining* window = Open([](TTraining& training) {
        AssignText(training.Header.Title, "2000 m");
        AssignText(training.Header.Note, "line one\r\nline two");
    });
    ASSERT_NE(window, nullptr);
    ShowMainActive();

    auto* title = Control<QLineEdit>("edtTitle");
    title->setFocus();
    title->setCursorPosition(4);
    TypeText(title, QString::fromUtf8("\u010D\U0001F6A3x"));
    EXPECT_EQ(title->text(), "2000??x m") << "what the record holds, in place";
    EXPECT_EQ(title->cursorPosition(), 7);
    EXPECT_EQ(window->Training.Header.Title.Utf8(), "2000??x m");

    auto* name = Control<QComboBox>("cmbName");
    name->setFocus();
    name->lineEdit()->setText("Ana");
    name->lineEdit()->setCursorPosition(1);
    TypeText(name->lineEdit(), QString::fromUtf8("\u010Dy"));
    EXPECT_EQ(name->currentText(), "A?yna");
    EXPECT_EQ(name->lineEdit()->cursorPosition(), 3);

    auto* note = Control<QPlainTextEdit>("memNote");
    note->setFocus();
    QTextCursor cursor = note->textCursor();
    cursor.setPosition(5);
    note->setTextCursor(cursor);
    TypeText(note, QString::fromUtf8("\u010Dz"));
    EXPECT_EQ(note->toPlainText(), "line ?zone\nline two");
    EXPECT_EQ(note->textCursor().position(), 7);
    EXPECT_EQ(window->Training.Header.Note.Utf8(), "line ?zone\r\nline two");
}

TEST_F(TrainingWindowTest, TheNoteTakesNoMoreThanTheRecordStores)
{
    TfrmTraining* window = Open();
    ASSERT_NE(window, nullptr);
    ShowMainActive();
    auto* note = Control<QPlainTextEdit>("memNote");
    note->setFocus();
    note->selectAll();
    // 80 lines of "a": 159 characters on screen, 238 bytes in the record.
    note->insertPlainText(QString("a\n").repeated(79) + "a");
    ASSERT_EQ(window->Training.Header.Note.Text().size(), 238u);

    note->moveCursor(QTextCursor::End);
    QTest::keyClicks(note, "bcdefghijklmnop");
    EXPECT_TRUE(note->toPlainText().endsWith("abcdefghijklm")) << "twelve more bytes fit";
    EXPECT_EQ(window->Training.Header.Note.Text().size(), 250u);
    QTest::keyClick(note, Qt::Key_Return);
    EXPECT_EQ(note->toPlainText().size(), 171);

    // A paste in the middle is cut where it was pasted; the cursor stays after it.
    QTextCursor cursor = note->textCursor();
    cursor.setPosition(3);
    note->setTextCursor(cursor);
    note->textCursor().deleteChar(); // a line break: two bytes
    note->insertPlainText("XYZ");
    EXPECT_EQ(note->toPlainText().left(7), "a\naXYa\n");
    EXPECT_EQ(note->textCursor().position(), 5);
    EXPECT_EQ(QString::fromStdString(window->Training.Header.Note.Utf8()),
              note->toPlainText().replace("\n", "\r\n"))
        << "the record holds what the screen shows";
}

TEST_F(TrainingWindowTest, OpeningAUserTrainingWithDataAsksNothing)
{
    ShowMainActive();
    ASSERT_NE(Open([](TTraining& training) { training.Header.FileKind = fkUser; }), nullptr);
    Settle();
    EXPECT_TRUE(Script.Messages.isEmpty()) << "focus the window gives itself is no entering";
    EXPECT_FALSE(IsEmptyTraining(Window()->Training));
}

TEST_F(TrainingWindowTest, UserSettingsOfOtherTrainingsCannotBeChanged)
{
    TfrmTraining* window = Open();
    ASSERT_NE(window, nullptr);
    for (const char* name : {"edtWeight", "edtLimitValue"}) EXPECT_FALSE(Control<QLineEdit>(name)->isEnabled()) << name;
    for (const char* name : {"cmbGender", "cmbBoat", "cmbSprocket", "cmbErgometer", "cmbSessionLimit"})
        EXPECT_FALSE(Control<QComboBox>(name)->isEnabled()) << name;
    EXPECT_TRUE(Control<QPushButton>("btnReset")->isEnabled());
    EXPECT_EQ(Control<QComboBox>("cmbBoat")->currentIndex(), window->Training.Settings.Boat);
    EXPECT_EQ(Control<QComboBox>("cmbErgometer")->count(), 4);
    EXPECT_EQ(Control<QComboBox>("cmbErgometer")->itemText(0), "Kestrel");
    for (const char* hidden : {"edtStartValue", "edtStepValue", "edtRestValue"})
        EXPECT_TRUE(Control<QLineEdit>(hidden)->isHidden()) << hidden;
    EXPECT_TRUE(Control<QComboBox>("cmbDisplay")->isHidden());
}

TEST_F(TrainingWindowTest, LayoutIsSavedOnceOnADoubleCloseAndRestoredOnTheNextOpen)
{
    TfrmTraining* window = Open();
    ASSERT_NE(window, nullptr);
    auto* intervals = Control<QTableView>("sgdIntervals");
    intervals->setColumnWidth(0, 77);
    intervals->setColumnWidth(1, 33);
    window->close();
    EXPECT_EQ(window->Training.Status, StatusDisconnected);
    EXPECT_TRUE(window->FClosing());
    const QString saved = ReadSettings();
    EXPECT_TRUE(saved.contains("[Training]")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("IntColumns=77 33 ")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("Left=-1")) << "maximised";

    // A second close request before the window is gone writes nothing more.
    {
        TIniFile ini(SettingsPath().toStdString());
        ini.WriteString("Training", "IntColumns", "55 ");
        ini.UpdateFile();
    }
    window->close();
    Settle();
    EXPECT_EQ(Main->OpenTrainingCount(), 0);
    EXPECT_TRUE(ReadSettings().contains("IntColumns=55 "));

    Open();
    ASSERT_NE(Window(), nullptr);
    EXPECT_EQ(Control<QTableView>("sgdIntervals")->columnWidth(0), 55);
    EXPECT_TRUE(Window()->isMaximized());
}

TEST_F(TrainingWindowTest, LayoutBesideTheTrainingUsesItsFileNameAsSection)
{
    TfrmTraining* window = Open();
    ASSERT_NE(window, nullptr);
    const std::string folder = Root.Path() + "data/";
    const std::string layout = folder + "layout.ini";
    WriteBytes(layout, "[piece.stg]\r\nLeft=20\r\nTop=30\r\nWidth=400\r\nHeight=300\r\nIntColumns=44 45\r\n");
    window->LoadTrainingLayout(layout, TfrmTraining::plStoredBounds, QString::fromStdString(folder + "piece.stg"));
    EXPECT_EQ(GetFormBounds(window), (TFormBounds{20, 30, 300, 400}));
    EXPECT_EQ(Control<QTableView>("sgdIntervals")->columnWidth(1), 45);

    // Elsewhere the section is the training's whole path.
    WriteBytes(layout, "[/elsewhere/piece.stg]\r\nLeft=25\r\nTop=35\r\nWidth=410\r\nHeight=310\r\n");
    window->LoadTrainingLayout(layout, TfrmTraining::plStoredBounds, "/elsewhere/piece.stg");
    EXPECT_EQ(GetFormBounds(window), (TFormBounds{25, 35, 310, 410}));
    window->SaveTrainingLayout(layout, "/elsewhere/piece.stg");
    const std::string text = ReadBytes(layout);
    EXPECT_NE(text.find("IntColumns="), std::string::npos);
    EXPECT_EQ(text.find("[Name]"), std::string::npos) << "history lists go only to the settings file";
}

TEST_F(TrainingWindowTest, OptionsMarkTheTrainingModifiedEvenWhenCancelled)
{
    TfrmTraining* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->Training.Header.Modified);
    Control<QPushButton>("btnOptions")->click();
    EXPECT_TRUE(window->Training.Header.Modified);
    EXPECT_TRUE(Group("gbxChart")->title().endsWith(" (*)"));
}

TEST_F(TrainingWindowTest, AScreenReaderReadsCaptionsNamesAndTableHeaders)
{
    TfrmTraining* window = Open([](TTraining& training) { training.Settings.SessionLimit = 4; }, 216);
    ASSERT_NE(window, nullptr);
    const auto name = [](QObject* object) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
        return accessible ? accessible->text(QAccessible::Name) : QString();
    };
    // What labels a control: on this system a list's name is its text, and
    // its caption comes as its label.
    const auto label = [](QObject* object) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
        for (const auto& relation : accessible->relations(QAccessible::Label))
            return relation.first->text(QAccessible::Name);
        return QString();
    };
    EXPECT_EQ(name(Control<QLineEdit>("edtTitle")), "Title");
    EXPECT_EQ(name(Control<QLineEdit>("edtWeight")), "Weight");
    EXPECT_EQ(label(Control<QComboBox>("cmbName")), "Name");
    EXPECT_EQ(label(Control<QComboBox>("cmbSessionLimit")), "Session limit");
    EXPECT_EQ(name(Control<QLabel>("lblDistance")), Control<QLabel>("lblDistance")->text());
    EXPECT_EQ(label(Control<QLabel>("lblDistance")), "Distance");
    EXPECT_EQ(name(Group("gbxTotals")), "Totals");

    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(Control<QTableView>("sgdIntervals"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->columnCount(), 22);
    EXPECT_EQ(cells->rowCount(), static_cast<int>(window->Training.Intervals.size()));
    EXPECT_EQ(cells->columnDescription(0), Header(Control<QTableView>("sgdIntervals"), 0));
    QAccessibleInterface* first = cells->cellAt(0, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(QAccessible::Name),
              QString::fromStdString(GridCellText(window->Training, TGridKind::Intervals, 0, 0)));
}
