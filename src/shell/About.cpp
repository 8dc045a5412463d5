#include "untAbout.h"

#include "jsUtils.h"
#include "untFormUtils.h"
#include "untImages.h"
#include "untShell.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

const char* const VersionKeys[] = {"CompanyName",      "FileDescription", "FileVersion", "InternalName",
                                   "LegalCopyright",   "LegalTrademarks", "OriginalFilename", "ProductName",
                                   "ProductVersion",   "SpecialBuild",    "Comments",    "Website", "Email"};

const int FirstColumnWidth = 150, RowHeight = 20, StripHeight = 40;

QTableWidget* NewGrid(const char* name, const QString& caption, bool sizable, QWidget* parent)
{
    auto* grid = new QTableWidget(1, 2, parent);
    grid->setObjectName(name);
    grid->setAccessibleName(caption);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(sizable ? QHeaderView::Interactive : QHeaderView::Fixed);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(RowHeight);
    grid->setColumnWidth(0, FirstColumnWidth);
    // The value column fills the rest of the grid, beside the scroll bar when
    // not every row fits.
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setWordWrap(false);
    return grid;
}

QWidget* GridPage(const QString& title, QTableWidget* grid)
{
    auto* page = new QWidget;
    auto* header = new QLabel(title, page);
    header->setObjectName("pnlHeader");
    header->setAlignment(Qt::AlignCenter);
    header->setFrameStyle(QFrame::Panel | QFrame::Raised);
    header->setFixedHeight(24);
    grid->setParent(page);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(header);
    layout->addWidget(grid);
    return page;
}

void SetColours(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette colours = widget->palette();
    colours.setColor(role, colour);
    widget->setPalette(colours);
}

} // namespace

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName("frmAbout");
    setWindowTitle(QStringLiteral("About"));
    CreatedColor = palette().window().color();
    CreatedTextColor = Qt::black;
    CreatedFont = font();
    SetColours(this, QPalette::WindowText, CreatedTextColor);
    if (IsThemeActive()) SetColours(this, QPalette::Window, DialogColor());

    const QPixmap picture = SplashPicture();
    pgcAbout = new QTabWidget(this);
    pgcAbout->setObjectName("pgcAbout");
    pgcAbout->tabBar()->setAttribute(Qt::WA_Hover); // tabs light up under the mouse

    auto* general = new QWidget;
    general->setObjectName("tshGeneral");
    general->setAutoFillBackground(true);
    SetColours(general, QPalette::Window, picture.toImage().pixelColor(0, picture.height() - 1));
    auto* imgAbout = new QLabel(general);
    imgAbout->setObjectName("imgAbout");
    imgAbout->setAccessibleName(QString::fromStdString(ProductName()));
    imgAbout->setPixmap(picture);
    auto* imgIcon = new QLabel(general);
    imgIcon->setObjectName("imgIcon");
    imgIcon->setAccessibleName(QStringLiteral("Program icon"));
    imgIcon->setPixmap(ProgramIcon().pixmap(50));
    imgIcon->setFixedSize(50, 50);
    pnlName = new QLabel(QString::fromStdString(FileDescription()), general);
    pnlName->setObjectName("pnlName");
    pnlName->setAlignment(Qt::AlignCenter);
    auto* generalLayout = new QVBoxLayout(general);
    generalLayout->addWidget(imgAbout, 0, Qt::AlignHCenter);
    generalLayout->addWidget(imgIcon, 0, Qt::AlignHCenter);
    generalLayout->addWidget(pnlName);
    generalLayout->addStretch();

    stgVersion = NewGrid("stgVersion", QStringLiteral("Version information"), true, this);
    stgStatistics = NewGrid("stgStatistics", QStringLiteral("Program usage statistics"), false, this);
    pgcAbout->addTab(general, QStringLiteral("General"));
    pgcAbout->addTab(GridPage(QStringLiteral("Version information"), stgVersion), QStringLiteral("&Version"));
    pgcAbout->addTab(GridPage(QStringLiteral("Program usage statistics"), stgStatistics),
                     QStringLiteral("&Statistics"));
    stgVersion->setMouseTracking(true);
    connect(stgVersion, &QTableWidget::cellEntered, this, [this](int row, int) { ShowLinkCursor(row); });
    connect(stgVersion, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { OpenVersionLink(row); });

    auto* strip = new QWidget(this);
    strip->setObjectName("pnlButtons");
    strip->setFixedHeight(StripHeight);
    btbOk = new QPushButton(QStringLiteral("OK"), strip);
    btbOk->setObjectName("btbOk");
    btbOk->setFixedSize(75, 25);
    btbOk->setDefault(true);
    SetColours(btbOk, QPalette::ButtonText, Qt::black);
    connect(btbOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 0);
    layout->setSpacing(0);
    layout->addWidget(pgcAbout, 1);
    layout->addWidget(strip);
    setFixedSize(picture.width() + 26, picture.height() + 220);
    btbOk->move((width() - btbOk->width()) / 2 - layout->contentsMargins().left(), (StripHeight - 25) / 2);
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

QString TfrmAbout::LinkOf(const QString& key, const QString& value)
{
    if (value.isEmpty()) return QString();
    if (key == QLatin1String("Email"))
        return value.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive) ? value : "mailto:" + value;
    if (key != QLatin1String("Website")) return QString();
    return value.contains(QLatin1String("://")) ? value : "http://" + value;
}

void TfrmAbout::ApplyFontAndColors(const QFont& font, const QColor&, const QColor& window, const QColor& face)
{
    setFont(font);
    SetColours(this, QPalette::WindowText, CreatedTextColor);
    SetColours(this, QPalette::Window, IsThemeActive() ? face : CreatedColor);
    SetColours(btbOk, QPalette::ButtonText, Qt::black);
    const int rowHeight = static_cast<int>(std::lround(2 * PointSize(font)));
    for (QTableWidget* grid : {stgVersion, stgStatistics}) {
        grid->setFont(font);
        SetEditColours(grid, window, CreatedTextColor);
        grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    }
    QFont bold = font;
    bold.setBold(true);
    pnlName->setFont(bold);
    // A title the colour of its ground would vanish.
    QPalette title = pnlName->palette();
    if (!IsThemeActive() && title.color(QPalette::WindowText) == title.color(QPalette::Window))
        title.setColor(QPalette::WindowText, QtColor(InverseColor(ColorOf(title.color(QPalette::WindowText)))));
    pnlName->setPalette(title);
    update();
}

void TfrmAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    pgcAbout->setCurrentIndex(0);
    pgcAbout->setTabText(0, QStringLiteral("General"));
    if (stgVersion->item(0, 0) == nullptr) FillVersionRows();
}

void TfrmAbout::FillVersionRows()
{
    for (const char* key : VersionKeys)
        AddRow(stgVersion, QLatin1String(key), QString::fromStdString(GetVersionString(key)));
}

void TfrmAbout::ShowLinkCursor(int row)
{
    const QTableWidgetItem* key = stgVersion->item(row, 0);
    const bool link = key && (key->text() == QLatin1String("Email") || key->text() == QLatin1String("Website"));
    stgVersion->viewport()->setCursor(link ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TfrmAbout::OpenVersionLink(int row)
{
    const QTableWidgetItem* key = stgVersion->item(row, 0);
    const QTableWidgetItem* value = stgVersion->item(row, 1);
    if (!key || !value) return;
    const QString link = LinkOf(key->text(), value->text());
    if (!link.isEmpty()) OpenDocument(link);
}
