// The window routines shared by every window: saving and restoring window
// bounds and grid column widths, copying a grid as text, the version message,
// and the texts the main window's controls are made of.
#pragma once

#include "untFiles.h"

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>
#include <QStyledItemDelegate>
#include <QStringList>

class QColor;
class QFont;
class QFontMetrics;
class QTableView;
class QWidget;
class TIniFile;

// Left, top, height, width of a normal window; all -1 for a maximised one,
// all 0 for a minimised one.
struct TFormBounds {
    int Left = -1, Top = -1, Height = -1, Width = -1;
    bool operator==(const TFormBounds& other) const
    {
        return Left == other.Left && Top == other.Top && Height == other.Height && Width == other.Width;
    }
};

const TFormBounds MaximisedBounds{-1, -1, -1, -1};
const TFormBounds MinimisedBounds{0, 0, 0, 0};

TFormBounds GetFormBounds(const QWidget* form);
// MaximisedBounds maximises, MinimisedBounds minimises, anything else places
// a normal window.
void SetFormBounds(QWidget* form, const TFormBounds& bounds);
// The bounds kept in section as "Left", "Top", "Width" and "Height"; a key
// that is missing, no integer or beyond any screen keeps the part of bounds
// it stands for.
TFormBounds ReadFormBounds(const TIniFile& ini, const std::string& section, const TFormBounds& bounds);
void WriteFormBounds(TIniFile& ini, const std::string& section, const TFormBounds& bounds);

// Grids show their captions in the horizontal header and the row numbers in
// the vertical one, which stand for a string grid's fixed row and column: the
// widths are those of the value columns, and copying everything starts with
// "#" and the captions. A hidden column's width is 0, and a width of 0 hides
// its column.
QString ColumnWidthsToText(const QTableView& grid);
// Gives the columns in order the widths at the front of text, up to the first
// piece that is no width (no integer, negative or wider than any screen).
void TextToColumnWidths(QTableView& grid, const QString& text);
enum class TCopyMode { All = 1, Data = 2, Row = 3 };
// Tab-separated cells, "\r\n" after each row; hidden columns are left out.
QString GridText(const QTableView& grid, TCopyMode mode);
// The selected cells (the rectangle that holds them all, or else the current
// cell) as tab-separated rows ending in "\r\n", without the captions; hidden
// columns are left out.
QString GridSelectionText(const QTableView& grid);
void CopyGridToClipboard(const QTableView& grid, TCopyMode mode);

// Writes text on one line in the painter's font, its top at topLeft: a text
// of one line needs no layout.
void DrawTextFromTop(QPainter& painter, const QPointF& topLeft, const QString& text);
// Writes text on one line in area, clipped to item's rectangle, in item's
// font and in the highlighted-text colour when item is selected: an item's
// text written in one go, where the style would lay it out once more to place
// and elide it.
void DrawItemText(QPainter& painter, const QStyleOptionViewItem& item, const QRect& area, const QString& text);
// Clips the painter to the item and takes its font and text colour.
void PrepareItemText(QPainter& painter, const QStyleOptionViewItem& item);

// Draws a cell's text 2 pixels right of and below its top-left corner,
// clipped to the cell; the style draws the cell without its text. Each text
// is laid out once and kept, so that a page of cells is quick to paint.
class TGridCellPainter : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const QStaticText& LaidOut(const QString& text, const QFont& font) const;

    mutable QHash<QString, QStaticText> Texts;
    mutable QFont TextsFont;
};

// The look every grid shares: read only, one cell selected at a time, no word
// wrap and no corner button, rows of a fixed height, columns the user may
// resize, captions at the left that never highlight, in black, and cells
// drawn by TGridCellPainter.
void SetGridLook(QTableView& grid);

// A hint "short|long": its short part (the tooltip) and its long part (the
// status text); both are the whole hint when it has no "|".
QString HintShortPart(const QString& hint);
QString HintLongPart(const QString& hint);
// Gives a control of a chart window its hint: the long part as tooltip,
// status text and accessible description, the short part as the name a
// screen reader reads.
void SetControlHint(QWidget* control, const QString& hint);

// An edit's, list's or grid's background and text colour; disabled controls
// keep the style's look, so that they read as disabled.
void SetEditColours(QWidget* control, const QColor& base, const QColor& text);

// The record's colours (0x00BBGGRR) as Qt's, and back.
QColor QtColor(TColor colour);
TColor ColorOf(const QColor& colour);
// A font's size in points; 9 for a font sized in pixels.
double PointSize(const QFont& font);

// The background of the splash window and the about box: the colour stored
// as "Dialog" in section "Options", by default the desktop's face colour.
QColor DialogColor();

QString VersionMessageText(const QString& extra);
void ShowVersionMessage(const QString& extra = QString());

// The core's "caption|pattern|..." filter text as Qt name filters.
QStringList QtFileFilters(const std::string& filter);

// The caption reduced to blanks, "-", digits and the letters A-Z and a-z.
QString PlainCaption(const QString& caption);
// A text cut to fit width - 7 pixels: style 0 at the end, 1 at the start, 2 on
// both sides, each marked with "...".
QString CutToWidth(const QString& text, int width, int style, const QFontMetrics& metrics);
// Where a cut text starts inside a button at left of the given width.
int CutTextLeft(int style, int left, int width, int textWidth);
