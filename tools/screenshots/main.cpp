// Takes the README's pictures: the splash window, the welcome dialog, the
// main window empty, the training window's pages with a training open,
// the chart-options dialog, the force-curve window (a stroke, the session's
// average with its spread, a stroke with its trail beside the pinned
// average), the export dialog and the
// about box's three pages. Run it under
// a display (for example xvfb-run) with a throw-away HOME:
//   screenshots SAMPLE.stg OUTPUT-FOLDER
#include "jsUtils.h"
#include "untChartOptions.h"
#include "untExport.h"
#include "untMain.h"
#include "untStrokeData.h"
#include "untModal.h"
#include "untShell.h"
#include "untSplash.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLocale>
#include <QAbstractButton>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <functional>

namespace {

void Wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Lets the start-up splash and welcome pass without waiting; the dialog named
// Name is shown, Take saves its pictures, and it is cancelled.
class TPassDialogs : public IModalAnswerer {
public:
    int Answer(QDialog& dialog) override
    {
        if (dialog.objectName() != Name) return QDialog::Accepted;
        dialog.show();
        Wait(300);
        PictureSaved = Take(dialog);
        dialog.hide();
        return QDialog::Rejected;
    }
    QStringList OpenFiles(const TOpenFilesRequest&) override { return {}; }

    void Expect(const QString& name, const std::function<bool(QDialog&)>& take)
    {
        Name = name;
        Take = take;
        PictureSaved = false;
    }
    bool PictureSaved = false;

private:
    QString Name;
    std::function<bool(QDialog&)> Take;
};

std::function<bool(QDialog&)> SaveAs(const QString& file)
{
    return [file](QDialog& dialog) { return dialog.grab().save(file); };
}

// One picture per page of the dialog's page control, numbered from 1.
std::function<bool(QDialog&)> SaveEachPage(const QString& pageControl, const QString& stem)
{
    return [pageControl, stem](QDialog& dialog) {
        auto* pages = dialog.findChild<QTabWidget*>(pageControl);
        bool saved = pages != nullptr;
        for (int page = 0; pages && page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            Wait(200);
            saved = dialog.grab().save(QStringLiteral("%1-%2.png").arg(stem).arg(page + 1)) && saved;
        }
        return saved;
    };
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshots SAMPLE.stg OUTPUT-FOLDER\n");
        return 2;
    }
    LoadFormatSettings(QLocale::system());
    TGuiMessageSink messages;
    SetMessageSink(&messages);
    TPassDialogs pass;
    SetModalAnswerer(&pass);

    const QString output = QString::fromLocal8Bit(argv[2]);
    bool saved = true;
    {
        TfrmSplash splash(nullptr, 3);
        splash.SplashStep(QStringLiteral("Loading settings"));
        splash.show();
        Wait(300);
        saved = splash.grab().save(output + "/splash.png");
    }
    TfrmMain main;
    TfrmChartOptions chartOptions; // the one the program block keeps
    main.setWindowState(Qt::WindowNoState);
    main.resize(1000, 640);
    main.show();
    Wait(500);
    saved = main.grab().save(output + "/main-empty.png") && saved;
    pass.Expect(QStringLiteral("frmWelcome"), SaveAs(output + "/welcome.png"));
    main.HelpWelcomeExecute();
    saved = pass.PictureSaved && saved;
    main.OpenFile(QString::fromLocal8Bit(argv[1]));
    Wait(500);
    auto* pages = main.findChild<QTabWidget*>("pgcTraining");
    if (!pages) return 1;
    saved = main.grab().save(output + "/training-workout.png") && saved;
    pages->setCurrentIndex(0);
    Wait(300);
    saved = main.grab().save(output + "/training-general.png") && saved;
    const std::pair<const char*, const char*> dataPages[] = {
        {"tshStrokeData", "/training-strokes.png"}, {"tshSplits", "/training-splits.png"},
        {"tshForceCurves", "/training-curves.png"}};
    for (const auto& [page, file] : dataPages) {
        pages->setCurrentWidget(pages->findChild<QWidget*>(page));
        Wait(300);
        saved = main.grab().save(output + file) && saved;
    }
    pages->setCurrentIndex(1);

    // The training window's Options button opens the dialog; the answerer
    // takes its picture and cancels it.
    pass.Expect(QStringLiteral("frmChartOptions"), SaveAs(output + "/chart-options.png"));
    if (auto* options = main.findChild<QPushButton*>("btnOptions")) options->click();
    saved = pass.PictureSaved && saved;

    // The force-curve window a few strokes in, with its data row below.
    main.ShowForceCurves();
    Wait(300);
    for (int step = 0; step < 2; ++step)
        if (auto* next = main.findChild<QAbstractButton*>("btbNext")) next->click();
    Wait(300);
    saved = main.grab().save(output + "/force-curves.png") && saved;

    // The session's average with the spread of its strokes; then that
    // average pinned, and a stroke later in the piece with its trail.
    const auto click = [&main](const char* name) {
        if (auto* button = main.findChild<QAbstractButton*>(name)) button->click();
    };
    click("rbtBrowseAverage");
    Wait(300);
    saved = main.grab().save(output + "/force-curves-average.png") && saved;
    click("btnPin");
    click("rbtBrowseCurves");
    if (auto* trail = main.findChild<QAbstractButton*>("cbxTrail"); trail && !trail->isChecked()) trail->click();
    for (int step = 0; step < 40; ++step) click("btbNext");
    Wait(300);
    saved = main.grab().save(output + "/force-curves-trail.png") && saved;
    click("btnPin");

    // The stroke-data window: power and, against the right axis, the stroke
    // rate over the time, the cursor on a stroke and its values below; then
    // the sample's intervals (one per 500 m) as numbered bands over the
    // distance, smoothed over five strokes.
    main.ShowStrokeData();
    Wait(300);
    if (TfrmStrokeData* strokes = main.StrokeData()) {
        const auto choose = [strokes](const char* name, const QString& text) {
            auto* box = strokes->findChild<QComboBox*>(name);
            const int index = box ? box->findText(text) : -1;
            if (index < 0) return;
            box->setCurrentIndex(index);
            emit box->activated(index);
        };
        choose("cmbValue", QStringLiteral("Power per stroke"));
        choose("cmbValue2", QStringLiteral("Stroke rate"));
        choose("cmbAxis", QStringLiteral("Time"));
        Wait(300);
        const TStrokePoints& line = strokes->FullLine(0);
        if (!line.empty()) strokes->SetCursorX(line[line.size() / 3].X);
        Wait(300);
        saved = main.grab().save(output + "/stroke-data.png") && saved;
        choose("cmbValue2", QStringLiteral("(none)"));
        choose("cmbAxis", QStringLiteral("Distance"));
        choose("cmbSmoothing", QStringLiteral("Average of 5"));
        Wait(300);
        if (!line.empty()) strokes->SetCursorX(strokes->FullLine(0)[line.size() / 2].X);
        Wait(300);
        saved = main.grab().save(output + "/stroke-data-intervals.png") && saved;
    } else {
        saved = false;
    }

    // The export's save dialog is the system's own: it is shown for real,
    // taken and cancelled.
    SetModalAnswerer(nullptr);
    QTimer::singleShot(800, [&output, &saved] {
        QWidget* dialog = QApplication::activeModalWidget();
        saved = dialog && dialog->grab().save(output + "/export.png") && saved;
        if (auto* modal = qobject_cast<QDialog*>(dialog)) modal->reject();
    });
    main.FileExportExecute();
    SetModalAnswerer(&pass);

    pass.Expect(QStringLiteral("frmAbout"), SaveEachPage(QStringLiteral("pgcAbout"), output + "/about"));
    main.HelpAboutExecute();
    saved = pass.PictureSaved && saved;

    // The sample as a FIT activity, opened again: its force curves come from
    // the file's developer fields.
    const std::string fitPath = (output + "/.sample.fit").toStdString();
    if (const TTraining* training = main.TrainingRecord(0)) {
        std::ofstream fit(fitPath, std::ios::binary);
        saved = WriteExport(fit, *training, TExportFormat::Fit).empty() && saved;
    }
    main.FileCloseExecute();
    main.OpenFile(QString::fromStdString(fitPath));
    std::remove(fitPath.c_str());
    main.ShowForceCurves();
    Wait(300);
    if (auto* trail = main.findChild<QAbstractButton*>("cbxTrail"); trail && trail->isChecked()) trail->click();
    for (int step = 0; step < 3; ++step) click("btbNext");
    Wait(300);
    saved = main.grab().save(output + "/force-curves-fit.png") && saved;
    SetModalAnswerer(nullptr);
    SetMessageSink(nullptr);
    return saved ? 0 : 1;
}
