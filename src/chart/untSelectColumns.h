// The column-selection dialog, kept by the program block for the whole run;
// no command of the program shows it yet.
#pragma once

#include "untDialog.h"

class TfrmSelectColumns : public TFormDialog {
    Q_OBJECT

public:
    explicit TfrmSelectColumns(QWidget* parent = nullptr) : TFormDialog(parent)
    {
        setObjectName("frmSelectColumns");
        setWindowTitle(QStringLiteral("Select column(s)"));
    }
};
