// The chart-options dialog: which colour cell and style button a training
// opens on, what OK stores and Cancel leaves alone, the choices it keeps
// between uses, its own background under the program colours, its layout and
// its accessible names; the line sample and colour conversions it shares
// with the windows; and the column-selection dialog's colours.
#include "GuiKit.h"

#include "untChartOptions.h"
#include "untLineSample.h"
#include "untSelectColumns.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

namespace {

// Answers the chart-options dialog the way a person would: the dialog is
// shown, the reply clicks its controls (ending with OK or Cancel), and what
// the dialog was left with is the answer.
class TChartOptionsAnswerer : public IModalAnswerer {
public:
    TChartOptionsAnswerer() : Previous(SetModalAnswerer(this)) {}
    ~TChartOptionsAnswerer() override { SetModalAnswerer(Previous); }

    int Answer(QDialog& dialog) override
    {
        ++Shown;
        auto* options = qobject_cast<TfrmChartOptions*>(&dialog);
        if (!options) {
            ADD_FAILURE() << "unexpected dialog " << dialog.objectName().toStdString();
            return QDialog::Rejected;
        }
        dialog.setResult(QDialog::Rejected);
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        Reply(*options);
        const int result = dialog.result();
        dialog.hide();
        return result;
    }
    QStringList OpenFiles(const TOpenFilesRequest&) override { return {}; }

    std::function<void(TfrmChartOptions&)> Reply = [](TfrmChartOptions& dialog) { Click(dialog, "btbOk"); };
    int Shown = 0;

    static void Click(TfrmChartOptions& dialog, const char* name)
    {
        auto* control = dialog.findChild<QAbstractButton*>(name);
        ASSERT_NE(control, nullptr) << name;
        // A radio button answers clicks on its circle and caption only.
        const QPoint at = qobject_cast<QRadioButton*>(control) ? QPoint(6, control->height() / 2) : control->rect().center();
        QTest::mouseClick(control, Qt::LeftButton, {}, at);
    }

private:
    IModalAnswerer* Previous;
};

using TClick = TChartOptionsAnswerer;

TTraining Training(uint8_t penStyle, int32_t penWidth, TColor colour = 0x0000FF, const std::string& title = "Row")
{
    TTraining training{};
    training.Header.Title.Assign(title);
    training.Header.PenStyle = penStyle;
    training.Header.PenWidth = penWidth;
    training.Header.Color = colour;
    return training;
}

// The radio button that is checked, by object name.
QString CheckedStyle(const TfrmChartOptions& dialog)
{
    QString checked;
    for (const QRadioButton* radio : dialog.findChildren<QRadioButton*>())
        if (radio->isChecked()) checked += radio->objectName();
    return checked;
}

QString CheckedCell(const TfrmChartOptions& dialog)
{
    QString checked;
    for (const QToolButton* cell : dialog.findChild<QWidget*>("clgColor")->findChildren<QToolButton*>())
        if (cell->isChecked()) checked += cell->objectName();
    return checked;
}

const char* const SampleNames[] = {"shpDash", "shpDashDot", "shpDashDotDot", "shpDot",
                                   "shpSolid1", "shpSolid2", "shpSolid3", "shpSolid4"};

struct TStyleCase {
    const char* Radio;
    const char* Caption;
    uint8_t PenStyle;
    int32_t PenWidth;
};
const TStyleCase StyleCases[] = {
    {"rbnDash", "&Dash", 1, 1},           {"rbnDashDot", "D&ash dot", 3, 1},
    {"rbnDashDotDot", "Das&h dot dot", 4, 1}, {"rbnDot", "Do&t", 2, 1},
    {"rbnSolid1", "Solid (&1)", 0, 1},    {"rbnSolid2", "Solid (&2)", 0, 2},
    {"rbnSolid3", "Solid (&3)", 0, 3},    {"rbnSolid4", "Solid (&4)", 0, 4},
};

struct TColourCase {
    const char* Name;
    TColor Colour;
};
const TColourCase ColourCases[] = {
    {"Black", 0x000000}, {"Maroon", 0x000080}, {"Green", 0x008000},  {"Olive", 0x008080},
    {"Navy", 0x800000},  {"Purple", 0x800080}, {"Teal", 0x808000},   {"Silver", 0xC0C0C0},
    {"Grey", 0x808080},  {"Red", 0x0000FF},    {"Lime", 0x00FF00},   {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},  {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
};

} // namespace

// --- Line style ---

TEST(ChartOptionsStyle, DashDotOfWidthThreeOpensOnDashDotAndStoresWidthOne)
{
    TfrmChartOptions dialog;
    TChartOptionsAnswerer answerer;
    QString opened, caption;
    answerer.Reply = [&](TfrmChartOptions& shown) {
        opened = CheckedStyle(shown);
        caption = shown.findChild<QRadioButton*>(opened)->text();
        TClick::Click(shown, "btbOk");
    };
    TTraining training = Training(3, 3);
    EXPECT_TRUE(dialog.ShowChartOptions(training));
    EXPECT_EQ(opened, "rbnDashDot");
    EXPECT_EQ(caption, "D&ash dot");
    EXPECT_EQ(training.Header.PenStyle, 3);
    EXPECT_EQ(+training.Header.PenWidth, 1);
}

TEST(ChartOptionsStyle, SolidOfWidthTwoOpensOnSolidTwoAndKeepsIt)
{
    TfrmChartOptions dialog;
    TChartOptionsAnswerer answerer;
    QString opened;
    answerer.Reply = [&](TfrmChartOptions& shown) {
        opened = CheckedStyle(shown);
        TClick::Click(shown, "btbOk");
    };
    TTraining training = Training(0, 2);
    EXPECT_TRUE(dialog.ShowChartOptions(training));
    EXPECT_EQ(opened, "rbnSolid2");
    EXPECT_EQ(training.Header.PenStyle, 0);
    EXPECT_EQ(+training.Header.PenWidth, 2);
}

TEST(ChartOptionsStyle, EveryStyleOpensOnItsButtonAndEveryButtonStoresItsStyle)
{
    TfrmChartOptions dialog;
    TChartOptionsAnswerer answerer;
    for (const TStyleCase& style : StyleCases) {
        SCOPED_TRACE(style.Radio);
        QString opened;
        answerer.Reply = [&](TfrmChartOptions& shown) {
            opened = CheckedStyle(shown);
            TClick::Click(shown, "btbOk");
        };
        // A wide pen on a dashed style still opens on that style.
        TTraining training = Training(style.PenStyle, style.PenStyle == 0 ? style.PenWidth : 4);
        EXPECT_TRUE(dialog.ShowChartOptions(training));
        EXPECT_EQ(opened, style.Radio);
        EXPECT_EQ(dialog.findChild<QRadioButton*>(style.Radio)->text(), style.Caption);

        // The other way: from a training drawn otherwise, the button stores its style.
        answerer.Reply = [&](TfrmChartOptions& shown) {
            TClick::Click(shown, style.Radio);
            TClick::Click(shown, "btbOk");
        };
        training = Training(style.PenStyle == 2 ? 4 : 2, 3);
        EXPECT_TRUE(dialog.ShowChartOptions(training));
        EXPECT_EQ(training.Header.PenStyle, style.PenStyle);
        EXPECT_EQ(+training.Header.PenWidth, style.PenWidth);
    }
}

TEST(ChartOptionsStyle, AStyleItCannotShowKeepsThePreviousSelection)
{
    TfrmChartOptions dialog;
    TChartOptionsAnswerer answerer;
    QStringList opened;
    answerer.Reply = [&](TfrmChartOptions& shown) {
        opened << CheckedStyle(shown);
        TClick::Click(shown, "btbOk");
    };
    // A new dialog starts on Dash.
    TTraining training = Training(0, 7);
    EXPECT_TRUE(dialog.ShowChartOptions(training));
    EXPECT_EQ(training.Header.PenStyle, 1);
    EXPECT_EQ(+training.Header.PenWidth, 1);

    training = Training(2, 1);
    EXPECT_TRUE(dialog.ShowChartOptions(training));
    // Solid widths outside 1..4 and styles beyond dash-dot-dot leave Dot selected.
    for (const auto& [style, width] : {std::pair<uint8_t, int32_t>{0, 7}, {0, 0}, {0, -1}, {0, 5}, {5, 1}, {255, 2}}) {
        training = Training(style, width);
        EXPECT_TRUE(dialog.ShowChartOptions(training));
        EXPECT_EQ(training.Header.PenStyle, 2) << int(style) << " " << width;
        EXPECT_EQ(+training.Header.PenWidth, 1) << int(style) << " " << width;
    }
    EXPECT_EQ(opened, QStringList({"rbnDash", "rbnDot", "rbnDot", "rbnDot", "rbnDot", "rbnDot", "rbnDot", "rbnDot"}));
}

TEST(ChartOptionsStyle, CancelChangesNothingAfterPickingACellAndAStyle)
{
    TfrmChartOptions dialog;
    TChartOptionsAnswerer answerer;
    answerer.Reply = [](TfrmChartOptions& shown) {
        TClick::Click(shown, "clgColor12");
        TClick::Click(shown, "rbnSolid4");
        TClick::Click(shown, "btbCancel");
    };
    for (TColor colour : {TColor(0x0000FF), TColor(0x123456)}) {
        TTraining training = Training(3, 3, colour);
        const THeader before = training.Header;
        EXPECT_FALSE(dialog.ShowChartOptions(training));
        EXPECT_EQ(std::memcmp(&before, &training.Header, sizeof(THeader)), 0) << std::hex << colour;
    }
    EXPECT_EQ(answerer.Shown, 2);
}

// --- Colour ---

TEST(ChartOptionsColour, EachCellHasItsNameAndStoresItsColour)
{
    TfrmChartOptions dialog;
    TChartOptionsAnswerer answerer;
    QWidget* grid = dialog.findChild<QWidget*>("clgColor");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->findChildren<QToolButton*>().size(), 16);
    for (int i = 0; i < 16; ++i) {
        const TColourCase& expected = ColourCases[i];
        SCOPED_TRACE(expected.Name);
        const QString name = QStringLiteral("clgColor%1").arg(i);
        auto* cell = grid->findChild<QToolButton*>(name);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->accessibleName(), expected.Name);
        EXPECT_EQ(cell->toolTip(), expected.Name);
        EXPECT_TRUE(cell->isCheckable());
        // Row by row, four to a row.
        EXPECT_EQ(cell->geometry().topLeft(), QPoint((i % 4) * 30, (i / 4) * 30));
        // The cell is painted in its colour (away from the marks of the chosen cell).
        EXPECT_EQ(cell->grab().toImage().pixelColor(cell->width() - 8, 7), QtColor(expected.Colour));

        answerer.Reply = [&](TfrmChartOptions& shown) {
            TClick::Click(shown, name.toLatin1().constData());
            TClick::Click(shown, "btbOk");
        };
        TTraining training = Training(1, 1, i == 0 ? 0xFFFFFF : 0x000000);
        EXPECT_TRUE(dialog.ShowChartOptions(training));
        EXPECT_EQ(+training.Header.Color, expected.Colour);
    }
}

TEST(ChartOptionsColour, AKnownColourPreselectsItsCellAndTheSamplesTakeIt)
{
    TfrmChartOptions dialog;
    TChartOptionsAnswerer answerer;
    QString cell;
    QList<QColor> samples;
    answerer.Reply = [&](TfrmChartOptions& shown) {
        cell = CheckedCell(shown);
        samples.clear();
        for (const char* name : SampleNames) samples << shown.findChild<TLineSample*>(name)->PenColor();
        TClick::Click(shown, "btbOk");
    };
    // Teal, with a stray high byte: only red, green and blue count.
    TTraining training = Training(1, 1, 0x02808000);
    EXPECT_TRUE(dialog.ShowChartOptions(training));
    EXPECT_EQ(cell, "clgColor6");
    EXPECT_EQ(samples, QList<QColor>(8, QColor(0x00, 0x80, 0x80)));
    EXPECT_EQ(dialog.findChild<QLabel*>("lblColor")->text(), "Teal");

    training = Training(1, 1, 0xFF00FF);
    EXPECT_TRUE(dialog.ShowChartOptions(training));
    EXPECT_EQ(cell, "clgColor13");
    EXPECT_EQ(samples, QList<QColor>(8, QColor(0xFF, 0x00, 0xFF)));
    EXPECT_EQ(+training.Header.Color, 0xFF00FFu);
}

TEST(ChartOptionsColour, AColourNotInTheGridIsKeptUnlessACellIsPicked)
{
    TfrmChartOptions dialog;
    TChartOptionsAnswerer answerer;
    QString cell;
    QColor sample;
    answerer.Reply = [&](TfrmChartOptions& shown) {
        cell = CheckedCell(shown);
        sample = shown.findChild<TLineSample*>("shpDot")->PenColor();
        TClick::Click(shown, "btbOk");
    };
    // First on a grid colour, so that the next training has a cell to clear.
    TTraining training = Training(1, 1, 0x00FF00);
    EXPECT_TRUE(dialog.ShowChartOptions(training));
    EXPECT_EQ(cell, "clgColor10");

    training = Training(1, 1, 0x123456);
    EXPECT_TRUE(dialog.ShowChartOptions(training));
    EXPECT_EQ(cell, "");
    EXPECT_EQ(dialog.ColorIndex(), -1);
    EXPECT_EQ(sample, QColor(0x56, 0x34, 0x12)); // the samples show what OK keeps
    EXPECT_EQ(dialog.findChild<QLabel*>("lblColor")->text(), "Other colour");
    EXPECT_EQ(+training.Header.Color, 0x123456u);

    // A second unknown colour after the first.
    training = Training(1, 1, 0x0A0B0C);
    EXPECT_TRUE(dialog.ShowChartOptions(training));
    EXPECT_EQ(sample, QColor(0x0C, 0x0B, 0x0A));
    EXPECT_EQ(+training.Header.Color, 0x0A0B0Cu);

    answerer.Reply = [&](TfrmChartOptions& shown) {
        TClick::Click(shown, "clgColor9");
        sample = shown.findChild<TLineSample*>("shpSolid4")->PenColor();
        TClick::Click(shown, "btbOk");
    };
    training = Training(1, 1, 0x123456);
    EXPECT_TRUE(dialog.ShowChartOptions(training));
    EXPECT_EQ(sample, QColor(0xFF, 0x00, 0x00)); // clicking a cell recolours the samples
    EXPECT_EQ(dialog.findChild<QLabel*>("lblColor")->text(), "Red");
    EXPECT_EQ(+training.Header.Color, 0x0000FFu);
}

TEST(ChartOptionsColour, ArrowKeysMoveTheChosenCellAcrossTheGrid)
{
    TfrmChartOptions dialog;
    TChartOptionsAnswerer answerer;
    QStringList cells;
    answerer.Reply = [&](TfrmChartOptions& shown) {
        shown.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&shown));
        QWidget* red = shown.findChild<QWidget*>("clgColor9");
        red->setFocus();
        QTest::keyClick(red, Qt::Key_Right); // Lime
        cells << CheckedCell(shown);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up); // Teal, a row up
        cells << CheckedCell(shown);
        TClick::Click(shown, "btbOk");
    };
    TTraining training = Training(1, 1, 0x0000FF);
    EXPECT_TRUE(dialog.ShowChartOptions(training));
    EXPECT_EQ(cells, QStringList({"clgColor10", "clgColor6"}));
    EXPECT_EQ(+training.Header.Color, 0x808000u);
}

// --- The dialog ---

TEST(ChartOptionsDialog, CaptionNamesTheTraining)
{
    TfrmChartOptions dialog;
    EXPECT_EQ(dialog.objectName(), "frmChartOptions");
    EXPECT_EQ(dialog.windowTitle(), "Chart options");
    TChartOptionsAnswerer answerer;
    QString caption;
    answerer.Reply = [&](TfrmChartOptions& shown) {
        caption = shown.windowTitle();
        TClick::Click(shown, "btbCancel");
    };
    TTraining training = Training(1, 1, 0, "Morning row");
    dialog.ShowChartOptions(training);
    EXPECT_EQ(caption, "Chart options for \"Morning row\"");
    // Titles are stored in code page 1252.
    training = Training(1, 1, 0, "\xDC" "ber 5 km");
    dialog.ShowChartOptions(training);
    EXPECT_EQ(caption, QString::fromUtf8("Chart options for \"\xC3\x9C" "ber 5 km\""));
    training = Training(1, 1, 0, "");
    dialog.ShowChartOptions(training);
    EXPECT_EQ(caption, "Chart options for \"\"");
}

TEST(ChartOptionsDialog, ProgramColoursLeaveItsOwnBackgroundAndSampleFill)
{
    TfrmChartOptions dialog;
    const QColor ownColour = dialog.palette().color(QPalette::Window);
    const QColor ownText = dialog.palette().color(QPalette::WindowText);
    QFont programFont = dialog.font();
    programFont.setPointSize(programFont.pointSize() + 3);
    dialog.ApplyFontAndColors(programFont, QColor(Qt::red), QColor(Qt::yellow), QColor(Qt::darkBlue));
    EXPECT_EQ(dialog.font().pointSize(), programFont.pointSize());
    EXPECT_EQ(dialog.palette().color(QPalette::Window), ownColour);
    EXPECT_EQ(dialog.palette().color(QPalette::WindowText), ownText);
    EXPECT_EQ(dialog.findChild<QWidget*>("gbxStyle")->palette().color(QPalette::Window), ownColour);
    for (const char* name : SampleNames) EXPECT_EQ(dialog.findChild<TLineSample*>(name)->BrushColor(), ownColour) << name;
    // OK and Cancel keep black text whatever the colours.
    EXPECT_EQ(dialog.OkButton()->palette().color(QPalette::ButtonText), QColor(Qt::black));
}

TEST(ChartOptionsDialog, LayoutFitsItsCaptionsInTheClientArea)
{
    TfrmChartOptions dialog;
    EXPECT_EQ(dialog.Content()->size(), QSize(366, 308));
    EXPECT_TRUE(dialog.windowFlags() & Qt::CustomizeWindowHint);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowSystemMenuHint);

    auto* colour = dialog.findChild<QGroupBox*>("gbxColor");
    auto* style = dialog.findChild<QGroupBox*>("gbxStyle");
    ASSERT_TRUE(colour && style);
    EXPECT_EQ(colour->title(), "Colou&r");
    EXPECT_EQ(colour->toolTip(), "Select curve colour");
    EXPECT_EQ(style->title(), "&Style");
    EXPECT_EQ(style->toolTip(), "Select curve style");
    const QRect client(QPoint(0, 0), QSize(366, 308));
    EXPECT_TRUE(client.contains(colour->geometry()));
    EXPECT_TRUE(client.contains(style->geometry()));
    EXPECT_FALSE(colour->geometry().intersects(style->geometry()));
    EXPECT_EQ(colour->geometry().top(), style->geometry().top());
    EXPECT_EQ(colour->geometry().bottom(), style->geometry().bottom());
    EXPECT_EQ(dialog.findChild<QWidget*>("clgColor")->geometry(), QRect(8, 18, 120, 120));

    int previousBottom = -1;
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(StyleCases[i].Radio);
        auto* radio = style->findChild<QRadioButton*>(StyleCases[i].Radio);
        auto* sample = style->findChild<TLineSample*>(SampleNames[i]);
        ASSERT_TRUE(radio && sample);
        // No caption is cut and every row is inside its box, in table order.
        EXPECT_GE(radio->width(), radio->sizeHint().width());
        EXPECT_GE(radio->height(), radio->sizeHint().height());
        EXPECT_TRUE(style->contentsRect().contains(radio->geometry()));
        EXPECT_TRUE(style->contentsRect().contains(sample->geometry()));
        EXPECT_GT(radio->geometry().top(), previousBottom);
        previousBottom = radio->geometry().bottom();
        // The sample is 75 pixels long, beside its button and centred on it.
        EXPECT_EQ(sample->width(), 75);
        EXPECT_LT(sample->geometry().right(), radio->geometry().left());
        EXPECT_LE(std::abs(sample->geometry().center().y() - radio->geometry().center().y()), 1);
        EXPECT_EQ(sample->PenWidth(), StyleCases[i].PenWidth);
        EXPECT_EQ(sample->PenStyle(), StyleCases[i].PenStyle);
        EXPECT_FALSE(sample->accessibleName().isEmpty());
    }
}

TEST(ChartOptionsDialog, TheFirstDialogMadeIsTheOneOfTheRun)
{
    EXPECT_EQ(ChartOptionsDialog(), nullptr);
    auto first = std::make_unique<TfrmChartOptions>();
    EXPECT_EQ(ChartOptionsDialog(), first.get());
    auto second = std::make_unique<TfrmChartOptions>();
    EXPECT_EQ(ChartOptionsDialog(), first.get());
    second.reset();
    EXPECT_EQ(ChartOptionsDialog(), first.get());
    first.reset();
    EXPECT_EQ(ChartOptionsDialog(), nullptr);
}

// --- The line sample and the colour conversions ---

TEST(ChartOptionsLineSample, ColoursAndPenStylesConvertBothWays)
{
    EXPECT_EQ(QtColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(QtColor(0x00FF00), QColor(0, 255, 0));
    EXPECT_EQ(QtColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(QtColor(0xFF123456), QColor(0x56, 0x34, 0x12)); // the high byte is no colour
    EXPECT_EQ(ColorOf(QColor(0x56, 0x34, 0x12)), 0x123456u);
    EXPECT_EQ(ColorOf(QColor(0x56, 0x34, 0x12, 0x80)), 0x123456u);
    EXPECT_EQ(ColorOf(QColor::fromHsv(0, 255, 255)), 0x0000FFu);
    for (const TColourCase& colour : ColourCases) EXPECT_EQ(ColorOf(QtColor(colour.Colour)), colour.Colour);

    EXPECT_EQ(QtPenStyle(0), Qt::SolidLine);
    EXPECT_EQ(QtPenStyle(1), Qt::DashLine);
    EXPECT_EQ(QtPenStyle(2), Qt::DotLine);
    EXPECT_EQ(QtPenStyle(3), Qt::DashDotLine);
    EXPECT_EQ(QtPenStyle(4), Qt::DashDotDotLine);
    for (int other : {-1, 5, 255}) EXPECT_EQ(QtPenStyle(other), Qt::SolidLine) << other;
}

namespace {

// The pen-coloured pixels of each row (horizontal) or column (vertical).
std::vector<int> PenPixels(TLineSample& sample)
{
    const QImage image = sample.grab().toImage();
    const bool horizontal = sample.Orientation() == Qt::Horizontal;
    std::vector<int> counts(horizontal ? image.height() : image.width(), 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == sample.PenColor()) ++counts[horizontal ? y : x];
    return counts;
}

} // namespace

TEST(ChartOptionsLineSample, ASolidPenIsABandOfItsWidthInTheMiddle)
{
    TLineSample sample(Qt::Horizontal);
    sample.resize(75, 9);
    sample.SetBrush(Qt::white);
    sample.SetPen(Qt::red, 3, 0);
    EXPECT_EQ(PenPixels(sample), std::vector<int>({0, 0, 0, 75, 75, 75, 0, 0, 0}));
    sample.SetPen(Qt::red, 4, 0);
    EXPECT_EQ(PenPixels(sample), std::vector<int>({0, 0, 75, 75, 75, 75, 0, 0, 0}));

    TLineSample upright(Qt::Vertical);
    upright.resize(7, 40);
    upright.SetBrush(Qt::white);
    upright.SetPen(Qt::blue, 1, 0);
    EXPECT_EQ(PenPixels(upright), std::vector<int>({0, 0, 0, 40, 0, 0, 0}));

    // A pen wider than the panel fills it; no pen leaves the brush alone.
    sample.SetPen(Qt::red, 20, 0);
    EXPECT_EQ(PenPixels(sample), std::vector<int>(9, 75));
    sample.SetPen(Qt::red, 0, 0);
    EXPECT_EQ(PenPixels(sample), std::vector<int>(9, 0));
}

TEST(ChartOptionsLineSample, ADashedPenShowsTheBrushBetweenItsDashes)
{
    for (int style : {1, 2, 3, 4}) {
        SCOPED_TRACE(style);
        TLineSample sample(Qt::Horizontal);
        sample.resize(75, 9);
        sample.SetBrush(Qt::yellow);
        sample.SetPen(Qt::black, 1, style);
        const std::vector<int> pen = PenPixels(sample);
        for (int row = 0; row < 9; ++row)
            if (row == 4)
                EXPECT_TRUE(pen[row] > 10 && pen[row] < 70) << pen[row];
            else
                EXPECT_EQ(pen[row], 0) << row;
        // The gaps are the brush, not some blend.
        const QImage image = sample.grab().toImage();
        for (int x = 0; x < 75; ++x) {
            const QColor colour = image.pixelColor(x, 4);
            EXPECT_TRUE(colour == QColor(Qt::black) || colour == QColor(Qt::yellow)) << x;
        }
    }
    // Dots are denser than dashes.
    TLineSample dash(Qt::Horizontal), dot(Qt::Horizontal);
    for (TLineSample* sample : {&dash, &dot}) sample->resize(75, 9);
    dash.SetPen(Qt::black, 1, 1);
    dot.SetPen(Qt::black, 1, 2);
    EXPECT_GT(PenPixels(dash)[4], PenPixels(dot)[4]);
}

// --- The column-selection dialog ---

TEST(ChartOptionsSelectColumns, ProgramColoursGoToTheListButNotTheBackground)
{
    TfrmSelectColumns dialog;
    EXPECT_EQ(dialog.objectName(), "frmSelectColumns");
    EXPECT_EQ(dialog.windowTitle(), "Select column(s)");
    auto* list = dialog.findChild<QListWidget*>("clbColumns");
    ASSERT_NE(list, nullptr);
    QListWidgetItem* item = dialog.AddColumn("Power", true);
    EXPECT_TRUE(item->flags() & Qt::ItemIsUserCheckable);
    EXPECT_EQ(item->checkState(), Qt::Checked);
    EXPECT_EQ(dialog.AddColumn("Pace", false)->checkState(), Qt::Unchecked);

    const QColor ownColour = dialog.palette().color(QPalette::Window);
    const QColor ownText = dialog.palette().color(QPalette::WindowText);
    QFont programFont = dialog.font();
    programFont.setPointSize(programFont.pointSize() + 2);
    dialog.ApplyFontAndColors(programFont, QColor(Qt::darkGreen), QColor(Qt::yellow), QColor(Qt::darkBlue));
    EXPECT_EQ(dialog.palette().color(QPalette::Window), ownColour);
    EXPECT_EQ(dialog.palette().color(QPalette::WindowText), ownText);
    EXPECT_EQ(list->palette().color(QPalette::Base), QColor(Qt::yellow));
    EXPECT_EQ(list->palette().color(QPalette::Text), QColor(Qt::darkGreen));
    EXPECT_EQ(list->font().pointSize(), programFont.pointSize());
}
