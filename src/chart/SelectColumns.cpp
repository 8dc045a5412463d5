#include "untSelectColumns.h"

#include <QListWidget>
#include <QVBoxLayout>

TfrmSelectColumns::TfrmSelectColumns(QWidget* parent) : TFormDialog(parent)
{
    setObjectName("frmSelectColumns");
    setWindowTitle(QStringLiteral("Select column(s)"));
    CreatedTextColor = palette().color(QPalette::WindowText);
    clbColumns = new QListWidget(Content());
    clbColumns->setObjectName("clbColumns");
    clbColumns->setAccessibleName(QStringLiteral("Columns"));
    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(clbColumns);
    Content()->setFixedSize(240, 300);
}

void TfrmSelectColumns::showEvent(QShowEvent* event)
{
    TFormDialog::showEvent(event);
    // The keys work the list at once: arrows to a column, Space to tick it,
    // Enter for OK.
    clbColumns->setFocus();
}

QListWidgetItem* TfrmSelectColumns::AddColumn(const QString& caption, bool checked)
{
    auto* item = new QListWidgetItem(caption, clbColumns);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    if (clbColumns->count() == 1) clbColumns->setCurrentItem(item);
    return item;
}

void TfrmSelectColumns::ApplyFontAndColors(const QFont& font, const QColor& text, const QColor& window, const QColor&)
{
    TFormDialog::ApplyFontAndColors(font, text, window, CreatedColor);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, CreatedTextColor);
    setPalette(colours);
    QPalette listColours = clbColumns->palette();
    listColours.setColor(QPalette::Base, window);
    listColours.setColor(QPalette::Text, text);
    clbColumns->setPalette(listColours);
    clbColumns->setFont(this->font());
    update();
}
