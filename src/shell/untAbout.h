// The about box: the program's picture and title, its version texts and the
// usage statistics.
#pragma once

#include "untDialog.h"

class QTableWidget;

class TfrmAbout : public TFormDialog {
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    QTableWidget* Version() const { return stgVersion; }
    QTableWidget* Statistics() const { return stgStatistics; }
    // Fills the grid's last row when it is still empty, else adds a row.
    static void AddRow(QTableWidget* grid, const QString& label, const QString& text);

private:
    QTableWidget* stgVersion;
    QTableWidget* stgStatistics;
};
