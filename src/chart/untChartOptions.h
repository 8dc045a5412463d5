// The chart-options dialog, kept by the program block for the whole run. It
// edits how one training is drawn; its colour and style choices follow.
#pragma once

#include "untDialog.h"

class TfrmChartOptions : public TFormDialog {
    Q_OBJECT

public:
    explicit TfrmChartOptions(QWidget* parent = nullptr) : TFormDialog(parent)
    {
        setObjectName("frmChartOptions");
        setWindowTitle(QStringLiteral("Chart options"));
    }
};
