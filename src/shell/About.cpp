#include "untAbout.h"

#include "jsUtils.h"
#include "untImages.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const char* const VersionKeys[] = {"CompanyName",      "FileDescription", "FileVersion", "InternalName",
                                   "LegalCopyright",   "LegalTrademarks", "OriginalFilename", "ProductName",
                                   "ProductVersion",   "SpecialBuild",    "Comments",    "Website", "Email"};

QTableWidget* MakeGrid(const char* name, QWidget* parent)
{
    auto* grid = new QTableWidget(1, 2, parent);
    grid->setObjectName(name);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setColumnWidth(0, 150);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return grid;
}

QWidget* GridPage(const QString& title, QTableWidget*& grid, const char* name)
{
    auto* page = new QWidget;
    auto* header = new QLabel(title, page);
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    grid = MakeGrid(name, page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(header);
    layout->addWidget(grid);
    return page;
}

} // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : TFormDialog(parent)
{
    setObjectName("frmAbout");
    setWindowTitle(QStringLiteral("About"));
    auto* pgcAbout = new QTabWidget(Content());
    pgcAbout->setObjectName("pgcAbout");

    auto* general = new QWidget;
    auto* imgAbout = new QLabel(general);
    imgAbout->setPixmap(SplashPicture());
    imgAbout->setAlignment(Qt::AlignCenter);
    auto* pnlName = new QLabel(QString::fromStdString(FileDescription()), general);
    pnlName->setObjectName("pnlName");
    pnlName->setAlignment(Qt::AlignCenter);
    QFont bold = pnlName->font();
    bold.setBold(true);
    pnlName->setFont(bold);
    auto* generalLayout = new QVBoxLayout(general);
    generalLayout->addWidget(imgAbout);
    generalLayout->addWidget(pnlName);
    generalLayout->addStretch();

    pgcAbout->addTab(general, QStringLiteral("General"));
    pgcAbout->addTab(GridPage(QStringLiteral("Version information"), stgVersion, "stgVersion"),
                     QStringLiteral("&Version"));
    pgcAbout->addTab(GridPage(QStringLiteral("Program usage statistics"), stgStatistics, "stgStatistics"),
                     QStringLiteral("&Statistics"));
    for (const char* key : VersionKeys)
        AddRow(stgVersion, QLatin1String(key), QString::fromStdString(GetVersionString(key)));

    auto* layout = new QVBoxLayout(Content());
    layout->addWidget(pgcAbout);
    Content()->setFixedSize(SplashPicture().width() + 26, SplashPicture().height() + 180);
    CancelButton()->hide();
}

void TfrmAbout::AddRow(QTableWidget* grid, const QString& label, const QString& text)
{
    if (grid->rowCount() == 0) {
        grid->setRowCount(1);
    } else {
        const QTableWidgetItem* first = grid->item(grid->rowCount() - 1, 0);
        if (first && !first->text().isEmpty()) grid->setRowCount(grid->rowCount() + 1);
    }
    const int row = grid->rowCount() - 1;
    grid->setItem(row, 0, new QTableWidgetItem(label));
    grid->setItem(row, 1, new QTableWidgetItem(text));
}
