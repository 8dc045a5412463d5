// The base of the program's dialogs: a content area above a button strip
// whose right part holds OK and Cancel.
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QFrame;
class QPushButton;

class TFormDialog : public QDialog {
    Q_OBJECT

public:
    explicit TFormDialog(QWidget* parent = nullptr);

    // Where descendants put their controls.
    QWidget* Content() const { return ContentArea; }
    QFrame* ButtonStrip() const { return pnlButtons; }
    QPushButton* OkButton() const { return btbOk; }
    QPushButton* CancelButton() const { return btbCancel; }

    // The program font and colours (text, window, face): the dialog takes the
    // font and the face colour; OK and Cancel get black text.
    virtual void ApplyFontAndColors(const QFont& font, const QColor& text, const QColor& window, const QColor& face);

protected:
    void showEvent(QShowEvent* event) override;

    QColor CreatedColor;
    QFont CreatedFont;

private:
    QWidget* ContentArea;
    QFrame* pnlButtons;
    QWidget* pnlCancelOk;
    QPushButton* btbOk;
    QPushButton* btbCancel;
};
