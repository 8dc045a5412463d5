// The column-selection dialog, kept by the program block for the whole run;
// no command of the program shows it yet. It holds one check list of column
// captions.
#pragma once

#include "untDialog.h"

class QListWidget;
class QListWidgetItem;

class TfrmSelectColumns : public TFormDialog {
    Q_OBJECT

public:
    explicit TfrmSelectColumns(QWidget* parent = nullptr);

    QListWidget* Columns() const { return clbColumns; }
    // Adds a checkable entry with the caption.
    QListWidgetItem* AddColumn(const QString& caption, bool checked);

    // Keeps the dialog's own background and font colour; the list takes the
    // window colour and the program font in the text colour.
    void ApplyFontAndColors(const QFont& font, const QColor& text, const QColor& window, const QColor& face) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QListWidget* clbColumns;
    QColor CreatedTextColor;
};
