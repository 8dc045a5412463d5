// Takes the README's pictures: the main window empty, the training window's
// two pages with a training open, the chart-options dialog and the
// force-curve window. Run it under
// a display (for example xvfb-run) with a throw-away HOME:
//   screenshots SAMPLE.stg OUTPUT-FOLDER
#include "jsUtils.h"
#include "untChartOptions.h"
#include "untMain.h"
#include "untModal.h"
#include "untShell.h"

#include <QApplication>
#include <QDialog>
#include <QLocale>
#include <QAbstractButton>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

namespace {

void Wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Lets the start-up splash and welcome pass without waiting; the dialog named
// in PictureOf is shown, saved as a picture and cancelled.
class TPassDialogs : public IModalAnswerer {
public:
    int Answer(QDialog& dialog) override
    {
        if (dialog.objectName() != PictureOf.first) return QDialog::Accepted;
        dialog.show();
        Wait(300);
        PictureSaved = dialog.grab().save(PictureOf.second);
        dialog.hide();
        return QDialog::Rejected;
    }
    QStringList OpenFiles(const TOpenFilesRequest&) override { return {}; }

    QPair<QString, QString> PictureOf;
    bool PictureSaved = false;
};

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
    TfrmMain main;
    TfrmChartOptions chartOptions; // the one the program block keeps
    main.setWindowState(Qt::WindowNoState);
    main.resize(1000, 640);
    main.show();
    Wait(500);
    bool saved = main.grab().save(output + "/main-empty.png");
    main.OpenFile(QString::fromLocal8Bit(argv[1]));
    Wait(500);
    auto* pages = main.findChild<QTabWidget*>("pgcTraining");
    if (!pages) return 1;
    saved = main.grab().save(output + "/training-workout.png") && saved;
    pages->setCurrentIndex(0);
    Wait(300);
    saved = main.grab().save(output + "/training-general.png") && saved;

    // The training window's Options button opens the dialog; the answerer
    // takes its picture and cancels it.
    pass.PictureOf = {QStringLiteral("frmChartOptions"), output + "/chart-options.png"};
    if (auto* options = main.findChild<QPushButton*>("btnOptions")) options->click();
    saved = pass.PictureSaved && saved;

    // The force-curve window a few strokes in, with its data row below.
    main.ShowForceCurves();
    Wait(300);
    for (int step = 0; step < 2; ++step)
        if (auto* next = main.findChild<QAbstractButton*>("btbNext")) next->click();
    Wait(300);
    saved = main.grab().save(output + "/force-curves.png") && saved;
    SetModalAnswerer(nullptr);
    SetMessageSink(nullptr);
    return saved ? 0 : 1;
}
