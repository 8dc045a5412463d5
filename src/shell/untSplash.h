// The splash window: the program's picture and title, a step text and a
// progress bar with the version in it. Shown modally at start-up, where its
// timer closes it, and briefly while a later copy's command line is read.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QTimer;

class TfrmSplash : public QDialog {
    Q_OBJECT

public:
    TfrmSplash(QWidget* parent, int progressMaximum);

    // 3000 ms when short, else 10000 ms; the version disappears halfway.
    void SetDisplayTime(bool shortTime);
    int DisplayTime() const;
    // Advances the progress bar by one (up to its maximum) and shows text.
    void SplashStep(const QString& text);
    // The window takes the font, the title its bold form.
    void ApplyFont(const QFont& font);
    QProgressBar* Progress() const { return pbrParam; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* lblname;
    QLabel* pnlParam;
    QProgressBar* pbrParam;
    QLabel* lblVersion;
    QTimer* tmrSplash;
    QTimer* tmrVersion;
};
