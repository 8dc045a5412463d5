#include "untChartOptions.h"

#include "untLineSample.h"
#include "untModal.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>

const TChartStyle ChartStyles[ChartStyleCount] = {
    {"Dash", "&Dash", 1, 1},          {"DashDot", "D&ash dot", 3, 1}, {"DashDotDot", "Das&h dot dot", 4, 1},
    {"Dot", "Do&t", 2, 1},            {"Solid1", "Solid (&1)", 0, 1}, {"Solid2", "Solid (&2)", 0, 2},
    {"Solid3", "Solid (&3)", 0, 3},   {"Solid4", "Solid (&4)", 0, 4},
};

const TNamedColor ChartColors[ChartColorCount] = {
    {"Black", 0x000000}, {"Maroon", 0x000080}, {"Green", 0x008000}, {"Olive", 0x008080},
    {"Navy", 0x800000},  {"Purple", 0x800080}, {"Teal", 0x808000},  {"Silver", 0xC0C0C0},
    {"Grey", 0x808080},  {"Red", 0x0000FF},    {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},  {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00}, {"White", 0xFFFFFF},
};

namespace {

TfrmChartOptions* TheDialog = nullptr;

// Where the controls go, in pixels of the content area.
const QSize ClientSize(366, 308);
const int Margin = 8;
const QRect ColorBox(Margin, Margin, 136, ClientSize.height() - 2 * Margin);
const QRect StyleBox(ColorBox.right() + 1 + Margin, Margin, ClientSize.width() - ColorBox.width() - 3 * Margin,
                     ClientSize.height() - 2 * Margin);
const QPoint GridPosition(8, 18); // inside the colour box
const int CellSize = 30;          // four by four cells: 120 x 120
const int GridColumns = 4;
const int SampleLeft = 8; // inside the style box
const int SampleWidth = 75;
const int SampleHeight = 9; // room for the widest pen, 4 pixels
const int RadioLeft = SampleLeft + SampleWidth + 10;

const TColor RgbMask = 0x00FFFFFF;

// Black or white, whichever stands out more on the colour.
QColor Contrasting(const QColor& colour)
{
    const int lightness = (299 * colour.red() + 587 * colour.green() + 114 * colour.blue()) / 1000;
    return lightness >= 128 ? Qt::black : Qt::white;
}

// A cell of the colour grid: a flat, checkable button painted in its colour.
// The chosen cell shows a frame and "FG" in a contrasting colour; the cell
// with the focus shows a dotted rectangle.
class TColorCell : public QToolButton {
public:
    TColorCell(const TNamedColor& colour, QWidget* parent) : QToolButton(parent), Colour(QtColor(colour.Color))
    {
        const QString name = QString::fromLatin1(colour.Name);
        setText(name);
        setToolTip(name);
        setAccessibleName(name);
        setCheckable(true);
        setAutoRaise(true);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect area = rect();
        painter.fillRect(area, Colour);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(area.adjusted(0, 0, -1, -1));
        const QColor mark = Contrasting(Colour);
        if (isChecked()) {
            painter.setPen(QPen(mark, 2));
            painter.drawRect(QRectF(area).adjusted(2, 2, -2, -2));
            painter.drawText(area, Qt::AlignCenter, QStringLiteral("FG"));
        }
        if (hasFocus()) {
            painter.setPen(QPen(mark, 1, Qt::DotLine));
            painter.drawRect(area.adjusted(4, 4, -5, -5));
        }
    }

private:
    QColor Colour;
};

// The style the record's pen style and width stand for, -1 for none: the
// width tells the solid styles apart and is ignored for the others.
int StyleIndexOf(int penStyle, int penWidth)
{
    for (int i = 0; i < ChartStyleCount; ++i)
        if (ChartStyles[i].PenStyle == penStyle && (penStyle != 0 || ChartStyles[i].PenWidth == penWidth)) return i;
    return -1;
}

} // namespace

TfrmChartOptions* ChartOptionsDialog() { return TheDialog; }

TfrmChartOptions::TfrmChartOptions(QWidget* parent) : TFormDialog(parent)
{
    setObjectName("frmChartOptions");
    setWindowTitle(QStringLiteral("Chart options"));
    // A title bar without a close box: the dialog ends through OK or Cancel.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    Content()->setFixedSize(ClientSize);
    CreatedTextColor = palette().color(QPalette::WindowText);

    gbxColor = new QGroupBox(QStringLiteral("Colou&r"), Content());
    gbxColor->setObjectName("gbxColor");
    gbxColor->setToolTip(QStringLiteral("Select curve colour"));
    gbxColor->setGeometry(ColorBox);
    clgColor = new QWidget(gbxColor);
    clgColor->setObjectName("clgColor");
    clgColor->setAccessibleName(QStringLiteral("Curve colour"));
    clgColor->setGeometry(QRect(GridPosition, QSize(GridColumns * CellSize, GridColumns * CellSize)));
    // The chosen colour by name, below the grid: the cells alone say it only
    // by their paint.
    lblColor = new QLabel(gbxColor);
    lblColor->setObjectName("lblColor");
    // It has the rest of the box, so that a larger program font still fits.
    const int labelTop = clgColor->geometry().bottom() + 1 + Margin;
    lblColor->setGeometry(GridPosition.x(), labelTop, clgColor->width(), ColorBox.height() - labelTop - Margin);
    lblColor->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblColor->setWordWrap(true);
    Grid = new QButtonGroup(this);
    Grid->setExclusive(true);
    for (int i = 0; i < ChartColorCount; ++i) {
        auto* cell = new TColorCell(ChartColors[i], clgColor);
        cell->setObjectName(QStringLiteral("clgColor%1").arg(i));
        cell->setGeometry((i % GridColumns) * CellSize, (i / GridColumns) * CellSize, CellSize, CellSize);
        Grid->addButton(cell, i);
        Cells[i] = cell;
    }

    gbxStyle = new QGroupBox(QStringLiteral("&Style"), Content());
    gbxStyle->setObjectName("gbxStyle");
    gbxStyle->setToolTip(QStringLiteral("Select curve style"));
    gbxStyle->setGeometry(StyleBox);
    // The rows share the room below the box's caption evenly.
    const int rowTop = gbxStyle->contentsRect().top();
    const int rowHeight = (gbxStyle->contentsRect().bottom() + 1 - Margin - rowTop) / ChartStyleCount;
    for (int i = 0; i < ChartStyleCount; ++i) {
        const TChartStyle& style = ChartStyles[i];
        const int top = rowTop + i * rowHeight;
        auto* sample = new TLineSample(Qt::Horizontal, gbxStyle);
        sample->setObjectName(QStringLiteral("shp%1").arg(QLatin1String(style.Name)));
        sample->setAccessibleName(QString::fromLatin1(style.Caption).remove('&') + QStringLiteral(" line"));
        sample->setGeometry(SampleLeft, top + (rowHeight - SampleHeight) / 2, SampleWidth, SampleHeight);
        sample->SetPen(Qt::black, style.PenWidth, style.PenStyle);
        sample->SetBrush(CreatedColor);
        Samples[i] = sample;
        auto* radio = new QRadioButton(QString::fromLatin1(style.Caption), gbxStyle);
        radio->setObjectName(QStringLiteral("rbn%1").arg(QLatin1String(style.Name)));
        radio->setGeometry(RadioLeft, top, StyleBox.width() - RadioLeft - Margin, rowHeight);
        Radios[i] = radio;
    }
    Radios[0]->setChecked(true);

    connect(Grid, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) clgColorChange();
    });
    Cells[0]->setChecked(true);

    if (!TheDialog) TheDialog = this;
}

TfrmChartOptions::~TfrmChartOptions()
{
    if (TheDialog == this) TheDialog = nullptr;
}

int TfrmChartOptions::ColorIndex() const { return Grid->checkedId(); }

int TfrmChartOptions::StyleIndex() const
{
    for (int i = 0; i < ChartStyleCount; ++i)
        if (Radios[i]->isChecked()) return i;
    return 0;
}

void TfrmChartOptions::SetColorIndex(int index)
{
    if (index >= 0) {
        Cells[index]->setChecked(true); // runs clgColorChange when the choice changes
        return;
    }
    // An exclusive group keeps its checked button; it lets go only while it
    // is not exclusive.
    Grid->setExclusive(false);
    for (QToolButton* cell : Cells) cell->setChecked(false);
    Grid->setExclusive(true);
    clgColorChange();
}

void TfrmChartOptions::clgColorChange()
{
    const int index = ColorIndex();
    const QColor colour = QtColor(index >= 0 ? ChartColors[index].Color : KeptColor);
    lblColor->setText(index >= 0 ? QString::fromLatin1(ChartColors[index].Name) : QStringLiteral("Other colour"));
    for (TLineSample* sample : Samples) sample->SetPen(colour, sample->PenWidth(), sample->PenStyle());
}

bool TfrmChartOptions::ShowChartOptions(TTraining& training)
{
    THeader& header = training.Header;
    setWindowTitle(QStringLiteral("Chart options for \"%1\"").arg(QString::fromStdString(header.Title.Utf8())));
    KeptColor = header.Color;
    int colour = -1;
    for (int i = 0; i < ChartColorCount; ++i)
        if ((ChartColors[i].Color & RgbMask) == (header.Color & RgbMask)) {
            colour = i;
            break;
        }
    SetColorIndex(colour);
    const int style = StyleIndexOf(header.PenStyle, header.PenWidth);
    if (style >= 0) Radios[style]->setChecked(true);

    if (ExecModal(*this) != QDialog::Accepted) return false;
    // With no cell chosen the training keeps its own colour.
    if (ColorIndex() >= 0) header.Color = ChartColors[ColorIndex()].Color;
    header.PenWidth = 1;
    const TChartStyle& chosen = ChartStyles[StyleIndex()];
    header.PenStyle = chosen.PenStyle;
    header.PenWidth = chosen.PenWidth;
    return true;
}

void TfrmChartOptions::ApplyFontAndColors(const QFont& font, const QColor& text, const QColor& window, const QColor&)
{
    TFormDialog::ApplyFontAndColors(font, text, window, CreatedColor);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, CreatedTextColor);
    setPalette(colours);
    for (TLineSample* sample : Samples) sample->SetBrush(CreatedColor);
    update();
}

void TfrmChartOptions::showEvent(QShowEvent* event)
{
    TFormDialog::showEvent(event);
    const QScreen* display = screen() ? screen() : QGuiApplication::primaryScreen();
    if (display) move(display->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}
