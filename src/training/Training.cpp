#include "untTraining.h"

#include "untCharts.h"
#include "untFiles.h"
#include "untFormUtils.h"
#include "untMDIMain.h"
#include "untOpenTrainings.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

QString TotalsText(const TTraining& training)
{
    struct TTotalLine {
        const char* Caption;
        int Index;
    };
    static const TTotalLine Lines[] = {{"Distance", 0}, {"Time", 1}, {"Energy", 2}, {"Strokes", 4},
                                       {"Power", 3},    {"500m time", 5}, {"Stroke rate", 6}};
    QString html = QStringLiteral("<table cellspacing='6'>");
    for (const TTotalLine& line : Lines)
        html += QStringLiteral("<tr><td>%1</td><td align='right'><b>%2</b></td></tr>")
                    .arg(QLatin1String(line.Caption),
                         QString::fromStdString(TotalValueWithUnit(training, line.Index)).toHtmlEscaped());
    return html + QStringLiteral("</table>");
}

} // namespace

TfrmTraining::TfrmTraining(TMDIMain* owner, IOpenTrainings& trainings)
    : TMDIChild(owner), OpenTrainings(trainings)
{
    setObjectName("frmTraining");
    auto* page = new QWidget(this);
    lblTitle = new QLabel(page);
    lblTitle->setObjectName("lblTitle");
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblDescription = new QLabel(page);
    lblDescription->setObjectName("lblDescription");
    lblTotals = new QLabel(page);
    lblTotals->setObjectName("lblTotals");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(lblTitle);
    layout->addWidget(lblDescription);
    layout->addWidget(lblTotals);
    layout->addStretch();
    setWidget(page);
}

void TfrmTraining::ShowTraining()
{
    const QString title = QString::fromStdString(Training.Header.Title.Utf8());
    const QString file = QString::fromStdString(ExtractFileName(TrainingFileName(Training)));
    setWindowTitle(file.isEmpty() ? title : file);
    lblTitle->setText(title.isEmpty() ? QStringLiteral("(no title)") : title);
    lblDescription->setText(QString::fromStdString(DescribeTraining(Training.Header, 1 | 2 | 8 | 16, true)));
    lblTotals->setText(TotalsText(Training));
}

void TfrmTraining::LoadTrainingLayout(const std::string&, int placement, const QString&)
{
    if (placement == 2 && Owner()) Owner()->MaximizeChild(this);
    if (placement == 3) SetFormBounds(this, {-1, -1, -1, -1});
}

void TfrmTraining::ApplyTrainingStyle(const QFont& font, const QColor& text, const QColor& edit, const QColor& window)
{
    ApplyFontAndColors(font, text, edit, window);
    ShowTraining();
}

void TfrmTraining::CloseAccepted()
{
    Training.Status = StatusDisconnected;
    OpenTrainings.CloseTrainingsByNumber(Training.ClientID);
}
