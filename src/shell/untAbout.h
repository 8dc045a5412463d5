// The about box: the program's picture and title, its version texts and the
// usage statistics. The "Email" and "Website" rows of the version texts are
// links, opened by a double click.
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

class TfrmAbout : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    QTableWidget* Version() const { return stgVersion; }
    QTableWidget* Statistics() const { return stgStatistics; }
    QPushButton* OkButton() const { return btbOk; }
    // Fills the grid's last row when it is still empty, else adds a row.
    static void AddRow(QTableWidget* grid, const QString& label, const QString& text);
    // What a version row opens: a mail to the "Email" value, the "Website"
    // value as a web address (given "http://" when it names no scheme);
    // nothing for the other rows or an empty value.
    static QString LinkOf(const QString& key, const QString& value);
    // The program font and colours (text, window, face).
    void ApplyFontAndColors(const QFont& font, const QColor& text, const QColor& window, const QColor& face);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillVersionRows();
    void OpenVersionLink(int row);
    void ShowLinkCursor(int row);

    QColor CreatedColor;
    QColor CreatedTextColor;
    QFont CreatedFont;
    QTabWidget* pgcAbout;
    QLabel* pnlName;
    QTableWidget* stgVersion;
    QTableWidget* stgStatistics;
    QPushButton* btbOk;
};
