#include "untFormUtils.h"

#include "jsUtils.h"
#include "untIniFile.h"
#include "untMessages.h"

#include <QAbstractItemModel>
#include <QClipboard>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QPalette>
#include <QStaticText>
#include <QStyle>
#include <QTableView>
#include <QWidget>

#include <algorithm>

namespace {

// No screen is wider or taller than this: a stored place or size beyond it
// is no window's.
const int MostPixels = 32767;

} // namespace

TFormBounds GetFormBounds(const QWidget* form)
{
    if (form->isMinimized()) return MinimisedBounds;
    if (form->isMaximized() || form->isFullScreen()) return MaximisedBounds; // full screen is maximised without border
    return {form->x(), form->y(), form->height(), form->width()};
}

void SetFormBounds(QWidget* form, const TFormBounds& bounds)
{
    if (!form) return;
    if (bounds == MaximisedBounds) {
        form->setWindowState((form->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    } else if (bounds == MinimisedBounds) {
        form->setWindowState(form->windowState() | Qt::WindowMinimized);
    } else {
        form->setWindowState(form->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        form->move(bounds.Left, bounds.Top);
        form->resize(bounds.Width, bounds.Height);
    }
}

TFormBounds ReadFormBounds(const TIniFile& ini, const std::string& section, const TFormBounds& bounds)
{
    TFormBounds read;
    read.Left = ini.ReadInteger(section, "Left", bounds.Left, -MostPixels, MostPixels);
    read.Top = ini.ReadInteger(section, "Top", bounds.Top, -MostPixels, MostPixels);
    read.Width = ini.ReadInteger(section, "Width", bounds.Width, -MostPixels, MostPixels);
    read.Height = ini.ReadInteger(section, "Height", bounds.Height, -MostPixels, MostPixels);
    return read;
}

void WriteFormBounds(TIniFile& ini, const std::string& section, const TFormBounds& bounds)
{
    ini.WriteInteger(section, "Left", bounds.Left);
    ini.WriteInteger(section, "Top", bounds.Top);
    ini.WriteInteger(section, "Width", bounds.Width);
    ini.WriteInteger(section, "Height", bounds.Height);
}

void SetGridLook(QTableView& grid)
{
    grid.setItemDelegate(new TGridCellPainter(&grid));
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.setSelectionMode(QAbstractItemView::SingleSelection);
    grid.setWordWrap(false);
    grid.setCornerButtonEnabled(false);
    grid.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid.horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid.horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid.horizontalHeader()->setHighlightSections(false);
    grid.verticalHeader()->setHighlightSections(false);
    for (QHeaderView* header : {grid.horizontalHeader(), grid.verticalHeader()}) {
        QPalette colours = header->palette();
        colours.setColor(QPalette::ButtonText, Qt::black);
        colours.setColor(QPalette::WindowText, Qt::black);
        header->setPalette(colours);
    }
}

void TGridCellPainter::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QString text = cell.text;
    cell.text.clear();
    const QWidget* view = option.widget;
    QStyle* style = view ? view->style() : nullptr;
    // A cell that is neither selected nor current, without a background,
    // check box, icon or alternate colour, is only its text, which is drawn
    // below: the style would draw nothing else.
    const auto extras = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration
                        | QStyleOptionViewItem::Alternate;
    const bool plain = !(cell.state & (QStyle::State_Selected | QStyle::State_HasFocus))
                       && cell.backgroundBrush.style() == Qt::NoBrush && !(cell.features & extras);
    if (style && !plain) style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, view);
    painter->save();
    PrepareItemText(*painter, cell);
    painter->drawStaticText(option.rect.topLeft() + QPoint(2, 2), LaidOut(text, cell.font));
    painter->restore();
}

const QStaticText& TGridCellPainter::LaidOut(const QString& text, const QFont& font) const
{
    // Grids show few distinct texts in one font; a new font, or many texts,
    // start the store afresh.
    if (font != TextsFont || Texts.size() > 4096) {
        Texts.clear();
        TextsFont = font;
    }
    auto laid = Texts.find(text);
    if (laid == Texts.end()) {
        QStaticText layout(text);
        layout.setTextFormat(Qt::PlainText);
        layout.prepare(QTransform(), font);
        laid = Texts.insert(text, layout);
    }
    return *laid;
}

void PrepareItemText(QPainter& painter, const QStyleOptionViewItem& item)
{
    painter.setClipRect(item.rect);
    const bool selected = item.state & QStyle::State_Selected;
    painter.setPen(item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter.setFont(item.font);
}

void DrawItemText(QPainter& painter, const QStyleOptionViewItem& item, const QRect& area, const QString& text)
{
    painter.save();
    PrepareItemText(painter, item);
    DrawTextFromTop(painter, area.topLeft(), text);
    painter.restore();
}

void DrawTextFromTop(QPainter& painter, const QPointF& topLeft, const QString& text)
{
    painter.drawText(topLeft + QPointF(0, QFontMetricsF(painter.font()).ascent()), text);
}

QString HintShortPart(const QString& hint) { return hint.section(QLatin1Char('|'), 0, 0); }

QString HintLongPart(const QString& hint)
{
    return hint.contains(QLatin1Char('|')) ? hint.section(QLatin1Char('|'), 1) : hint;
}

void SetControlHint(QWidget* control, const QString& hint)
{
    const QString details = HintLongPart(hint);
    control->setToolTip(details);
    control->setStatusTip(details);
    control->setAccessibleName(HintShortPart(hint));
    control->setAccessibleDescription(details);
}

QString ColumnWidthsToText(const QTableView& grid)
{
    QString text;
    const int columns = grid.model() ? grid.model()->columnCount() : 0;
    for (int column = 0; column < columns; ++column)
        text += QString::number(grid.columnWidth(column)) + QLatin1Char(' ');
    return text;
}

void TextToColumnWidths(QTableView& grid, const QString& text)
{
    const int columns = grid.model() ? grid.model()->columnCount() : 0;
    int column = 0;
    for (const QString& piece : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int width = piece.toInt(&ok);
        if (!ok || width < 0 || width > MostPixels || column >= columns) break;
        // A width of 0 is a hidden column's, which keeps its own width for
        // when it is shown again.
        grid.setColumnHidden(column, width == 0);
        if (width > 0) grid.setColumnWidth(column, width);
        ++column;
    }
}

QString GridText(const QTableView& grid, TCopyMode mode)
{
    const QAbstractItemModel* model = grid.model();
    if (!model) return QString();
    const int rows = model->rowCount(), columns = model->columnCount();
    const bool headers = mode == TCopyMode::All;
    // Row -1 is the header row, column -1 the row-number column.
    int firstRow = headers ? -1 : 0, lastRow = rows - 1;
    if (mode == TCopyMode::Row) firstRow = lastRow = grid.currentIndex().row();
    const auto cell = [model](int row, int column) {
        if (row < 0 && column < 0) return QStringLiteral("#");
        if (row < 0) return model->headerData(column, Qt::Horizontal).toString();
        if (column < 0) return model->headerData(row, Qt::Vertical).toString();
        return model->index(row, column).data().toString();
    };
    QString text;
    for (int row = firstRow; row <= lastRow; ++row) {
        if (row < -1) continue;
        for (int column = headers ? -1 : 0; column < columns; ++column) {
            if (column >= 0 && (grid.isColumnHidden(column) || grid.columnWidth(column) <= 0)) continue;
            text += QString::fromStdString(FlattenCellText(cell(row, column).toStdString()));
            if (column < columns - 1) text += QLatin1Char('\t');
        }
        text += QLatin1String("\r\n");
    }
    return text;
}

QString GridSelectionText(const QTableView& grid)
{
    const QAbstractItemModel* model = grid.model();
    if (!model) return QString();
    int top = model->rowCount(), bottom = -1, left = model->columnCount(), right = -1;
    if (const QItemSelectionModel* selection = grid.selectionModel())
        for (const QItemSelectionRange& range : selection->selection()) {
            top = std::min(top, range.top());
            bottom = std::max(bottom, range.bottom());
            left = std::min(left, range.left());
            right = std::max(right, range.right());
        }
    if (bottom < 0) {
        const QModelIndex current = grid.currentIndex();
        if (!current.isValid()) return QString();
        top = bottom = current.row();
        left = right = current.column();
    }
    QString text;
    for (int row = top; row <= bottom; ++row) {
        QStringList cells;
        for (int column = left; column <= right; ++column)
            if (!grid.isColumnHidden(column) && grid.columnWidth(column) > 0)
                cells << QString::fromStdString(FlattenCellText(model->index(row, column).data().toString().toStdString()));
        text += cells.join(QLatin1Char('\t')) + QLatin1String("\r\n");
    }
    return text;
}

void CopyGridToClipboard(const QTableView& grid, TCopyMode mode)
{
    QGuiApplication::clipboard()->setText(GridText(grid, mode));
}

void SetEditColours(QWidget* control, const QColor& base, const QColor& text)
{
    QPalette colours = control->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Base, base);
        colours.setColor(group, QPalette::Text, text);
    }
    control->setPalette(colours);
}

QColor QtColor(TColor colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

TColor ColorOf(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return static_cast<TColor>(rgb.red()) | static_cast<TColor>(rgb.green()) << 8
           | static_cast<TColor>(rgb.blue()) << 16;
}

double PointSize(const QFont& font) { return font.pointSizeF() > 0 ? font.pointSizeF() : 9; }

QColor DialogColor()
{
    // Colours with the top byte FF name a system colour; the stored default
    // is the face colour's.
    const int32_t faceColour = static_cast<int32_t>(0xFF00000Fu);
    const std::string file = SettingsFileName(false);
    const auto stored = static_cast<uint32_t>(
        FileExists(file) ? TIniFile(file).ReadInteger("Options", "Dialog", faceColour) : faceColour);
    if (stored >> 24 == 0xFF) return QGuiApplication::palette().color(QPalette::Window);
    return QtColor(stored);
}

QString VersionMessageText(const QString& extra)
{
    QString text = QString::fromStdString(ProductAndVersion()) + QLatin1Char('\r');
    const auto append = [&text](const char* key, const QString& label) {
        const QString value = QString::fromStdString(GetVersionString(key));
        if (value.size() > 2) text += QLatin1Char('\r') + label + value;
    };
    append("LegalCopyright", QString());
    append("Website", QStringLiteral("Website : "));
    append("Email", QStringLiteral("Email : "));
    if (!extra.isEmpty()) text += QLatin1String("\r\r") + extra;
    return text;
}

void ShowVersionMessage(const QString& extra) { ShowInformationMessage(VersionMessageText(extra).toStdString()); }

QStringList QtFileFilters(const std::string& filter)
{
    const QStringList pieces = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < pieces.size(); i += 2) {
        QString caption = pieces[i];
        const int bracket = caption.lastIndexOf(QLatin1String(" ("));
        if (bracket >= 0 && caption.endsWith(QLatin1Char(')'))) caption.truncate(bracket);
        QString patterns = pieces[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << caption + QLatin1String(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

QString PlainCaption(const QString& caption)
{
    QString plain;
    for (QChar c : caption) {
        const char16_t u = c.unicode();
        if (u == ' ' || u == '-' || (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z'))
            plain += c;
    }
    return plain;
}

QString CutToWidth(const QString& text, int width, int style, const QFontMetrics& metrics)
{
    const int room = width - 7;
    if (metrics.horizontalAdvance(text) <= room) return text;
    const QString dots = QStringLiteral("...");
    QString cut = style == 0 ? text + dots : style == 1 ? dots + text : dots + text + dots;
    while (metrics.horizontalAdvance(cut) > room && cut.size() > 3) {
        if (style == 0) {
            cut.remove(cut.size() - 4, 1);
        } else {
            cut.remove(3, 1);
            if (style == 2 && cut.size() > 3) cut.remove(cut.size() - 4, 1);
        }
    }
    return cut;
}

int CutTextLeft(int style, int left, int width, int textWidth)
{
    if (style == 1) return left + width - textWidth - 7;
    if (style == 2) return left + 2 + (width - textWidth - 9) / 2;
    return left + 2;
}
