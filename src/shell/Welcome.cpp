#include "untWelcome.h"

#include "jsUtils.h"
#include "untIniFile.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

const char* const WelcomeText =
    "<h2>Welcome to %1</h2>"
    "<p>%1 shows the training sessions you rowed on your ergometer: who rowed and when, "
    "the workout set-up, every stroke with its force curve, the intervals and the totals.</p>"
    "<p><b>Open a training</b> with <i>File | Open</i>, by dropping the file on the main window, "
    "or from the list of recent files. A demonstration training, <i>default.stg</i>, waits in "
    "your data folder.</p>"
    "<p><b>Force curves</b> of the open training are drawn, browsed and played back with "
    "<i>Analyse | Force Curves</i>. While that window is active, <i>File | Save As</i> saves the "
    "curve on show as a one-stroke file.</p>"
    "<p>%1 reads training files; it never changes them.</p>";

uint32_t StoredWelcome(const std::string& file)
{
    return static_cast<uint32_t>(TIniFile(file).ReadInteger("General", "Welcome", 0));
}

} // namespace

TfrmWelcome::TfrmWelcome(QWidget* parent) : TFormDialog(parent)
{
    setObjectName("frmWelcome");
    setWindowTitle(QStringLiteral("Welcome to %1").arg(QString::fromStdString(ProductAndVersion())));
    auto* rdtWelcome = new QTextBrowser(Content());
    rdtWelcome->setObjectName("rdtWelcome");
    rdtWelcome->setAccessibleName(QStringLiteral("Welcome text"));
    rdtWelcome->setFrameShape(QFrame::NoFrame);
    rdtWelcome->setHtml(QString::fromLatin1(WelcomeText).arg(QString::fromStdString(ProductName())));
    // Entering the text hands the focus to OK, so that Enter closes the window.
    rdtWelcome->setFocusPolicy(Qt::NoFocus);
    rdtWelcome->installEventFilter(this);
    auto* layout = new QVBoxLayout(Content());
    layout->addWidget(rdtWelcome);
    Content()->setFixedSize(452, 366);

    cbxDontShowAgain = new QCheckBox(QStringLiteral("&Don't show this window again at startup"), ButtonStrip());
    cbxDontShowAgain->setObjectName("cbxDontShowAgain");
    cbxDontShowAgain->move(10, 10);
    cbxDontShowAgain->adjustSize();
    cbxDontShowAgain->setChecked(StoredWelcome(SettingsFileName(false)) >= CurrentVersion());
    CancelButton()->hide();
}

bool TfrmWelcome::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && watched->objectName() == QLatin1String("rdtWelcome"))
        OkButton()->setFocus();
    return TFormDialog::eventFilter(watched, event);
}

void TfrmWelcome::done(int result)
{
    const std::string file = SettingsFileName(true);
    if (IsFileWritable(file)) {
        uint32_t stored = StoredWelcome(file);
        if (cbxDontShowAgain->isChecked())
            stored = CurrentVersion();
        else if (stored == CurrentVersion())
            stored = CurrentVersion() - 1;
        TIniFile ini(file);
        ini.WriteInteger("General", "Welcome", static_cast<int>(stored));
        ini.UpdateFile();
    }
    TFormDialog::done(result);
}
