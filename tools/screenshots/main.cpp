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
#include <QCursor>
#include <QDialog>
#include <QLocale>
#include <QMdiSubWindow>
#include <QAbstractButton>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cmath>
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


// The sample rowed as intervals with easy strokes between them: after every
// interval but the last, RestStrokes strokes at a quarter of the power and
// three fifths of the rate of the interval's last strokes, their curves
// flattened to match. The strokes after a rest move on by its time and
// distance. It shows how rest strokes stand apart from work strokes.
TTraining WithRests(const TTraining& sample)
{
    const size_t RestStrokes = 20;
    const float RateShare = 0.6f, PowerShare = 0.25f;
    TTraining rested = sample;
    rested.Strokes.assign(sample.Strokes.begin(), sample.Strokes.begin() + 1);
    rested.Curves.assign(sample.Curves.begin(), sample.Curves.begin() + 1);
    float addedTime = 0, addedDistance = 0;
    for (size_t i = 1; i < sample.Strokes.size(); ++i) {
        TStroke stroke = sample.Strokes[i];
        stroke.Time += addedTime;
        stroke.Distance += addedDistance;
        rested.Strokes.push_back(stroke);
        rested.Curves.push_back(sample.Curves[i]);
        const bool intervalEnds = i + 1 < sample.Strokes.size()
                                  && sample.Strokes[i + 1].IntervalNumber != sample.Strokes[i].IntervalNumber;
        if (!intervalEnds) continue;
        // A rower's pace goes with the cube root of the power.
        const float slower = std::cbrt(1 / PowerShare);
        for (size_t r = 0; r < RestStrokes && r < i; ++r) {
            // Each easy stroke follows one of the interval's last strokes, so
            // that it varies as rowing does.
            const TStroke& echoed = sample.Strokes[i - r];
            TStroke rest = rested.Strokes.back();
            rest.IntervalNumber = 0;
            rest.Power = echoed.Power * PowerShare;
            rest.StrokeRate = echoed.StrokeRate * RateShare;
            rest.Split500 = echoed.Split500 * slower;
            rest.Time += 60 / rest.StrokeRate;
            rest.Distance += 500 * (60 / rest.StrokeRate) / rest.Split500;
            rest.PeakForce = echoed.PeakForce * PowerShare;
            rested.Strokes.push_back(rest);
            TForceCurve curve = sample.Curves[i - r];
            for (uint16_t& force : curve.Samples) force = static_cast<uint16_t>(force * PowerShare);
            rested.Curves.push_back(curve);
        }
        addedTime += rested.Strokes.back().Time - stroke.Time;
        addedDistance += rested.Strokes.back().Distance - stroke.Distance;
    }
    for (size_t i = 1; i < rested.Strokes.size(); ++i) {
        rested.Strokes[i].Number = static_cast<uint16_t>(i);
        rested.Curves[i].Number = static_cast<uint16_t>(i);
    }
    rested.Settings.SessionLimit = 4; // intervals
    rested.Header.Title.Assign("4 x 500 m with rests");
    return rested;
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
    // The pointer rests outside the window, so that no hover shows a tip.
    QCursor::setPos(main.geometry().bottomRight() + QPoint(100, 100));
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

    // The force-curve window a few strokes in, with its data row below. Its
    // options are set here, as the settings may hold others from before.
    const auto click = [&main](const char* name) {
        if (auto* button = main.findChild<QAbstractButton*>(name)) button->click();
    };
    const auto check = [&main](const char* name, bool checked) {
        if (auto* box = main.findChild<QAbstractButton*>(name); box && box->isChecked() != checked) box->click();
    };
    main.ShowForceCurves();
    Wait(300);
    check("cbxShowAll", false);
    check("cbxTrail", false);
    check("cbxSpread", true);
    for (int step = 0; step < 2; ++step) click("btbNext");
    Wait(300);
    saved = main.grab().save(output + "/force-curves.png") && saved;

    // The session's average with the spread of its strokes; then that
    // average pinned, and a stroke later in the piece with its trail.
    click("rbtBrowseAverage");
    Wait(300);
    saved = main.grab().save(output + "/force-curves-average.png") && saved;
    click("btnPin");
    click("rbtBrowseCurves");
    check("cbxTrail", true);
    for (int step = 0; step < 40; ++step) click("btbNext");
    Wait(300);
    saved = main.grab().save(output + "/force-curves-trail.png") && saved;
    click("btnPin");

    // The stroke-data window: power and, against the right axis, the stroke
    // rate over the time, the cursor a share of the way in and the values
    // there below.
    const auto strokeDataPicture = [&main, &output](const QString& file, const QString& smoothing, double cursorAt) {
        main.ShowStrokeData();
        Wait(300);
        TfrmStrokeData* strokes = main.StrokeData();
        if (!strokes) return false;
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
        choose("cmbSmoothing", smoothing);
        Wait(300);
        const TStrokePoints& line = strokes->FullLine(0);
        if (!line.empty()) strokes->SetCursorX(line[static_cast<size_t>(line.size() * cursorAt)].X);
        Wait(300);
        return main.grab().save(output + file);
    };
    saved = strokeDataPicture(QStringLiteral("/stroke-data.png"), QStringLiteral("Raw"), 1.0 / 3) && saved;

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
    const TTraining sample = main.TrainingRecord(0) ? *main.TrainingRecord(0) : TTraining{};
    const auto reopenAs = [&main, &output, &saved](const TTraining& training, const char* name) {
        const std::string path = (output + "/" + name).toStdString();
        {
            std::ofstream fit(path, std::ios::binary);
            saved = WriteExport(fit, training, TExportFormat::Fit).empty() && saved;
        }
        // Closed windows are freed now, so that no control is found in them.
        for (QMdiSubWindow* window : main.Client()->subWindowList()) window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        main.OpenFile(QString::fromStdString(path));
        std::remove(path.c_str());
    };
    reopenAs(sample, ".sample.fit");
    main.ShowForceCurves();
    Wait(300);
    check("cbxTrail", false);
    for (int step = 0; step < 3; ++step) click("btbNext");
    Wait(300);
    saved = main.grab().save(output + "/force-curves-fit.png") && saved;

    // An interval session with rests: the intervals as numbered bands, the
    // rest strokes hatched between them, smoothed over five strokes.
    reopenAs(WithRests(sample), ".rests.fit");
    saved = strokeDataPicture(QStringLiteral("/stroke-data-intervals.png"), QStringLiteral("Average of 5"), 0.5) && saved;
    SetModalAnswerer(nullptr);
    SetMessageSink(nullptr);
    return saved ? 0 : 1;
}
