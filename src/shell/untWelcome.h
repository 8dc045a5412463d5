// The welcome dialog: a short welcome text and a box that stops it from
// showing at start-up until the next version. The running version is stored
// as "Welcome" in section "General" when the box is ticked.
#pragma once

#include "untDialog.h"

class QCheckBox;

class TfrmWelcome : public TFormDialog {
    Q_OBJECT

public:
    explicit TfrmWelcome(QWidget* parent = nullptr);
    QCheckBox* DontShowAgain() const { return cbxDontShowAgain; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCheckBox* cbxDontShowAgain;
};
