// Takes the README's pictures of the main window: empty, and with a training
// open. Run it under a display (for example xvfb-run) with a throw-away HOME:
//   screenshots SAMPLE.stg OUTPUT-FOLDER
#include "jsUtils.h"
#include "untMain.h"
#include "untModal.h"
#include "untShell.h"

#include <QApplication>
#include <QDialog>
#include <QLocale>
#include <QTimer>
#include <cstdio>

namespace {

// Lets the start-up splash and welcome pass without waiting.
class TPassDialogs : public IModalAnswerer {
public:
    int Answer(QDialog&) override { return QDialog::Accepted; }
    QStringList OpenFiles(const TOpenFilesRequest&) override { return {}; }
};

void Wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
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
    TfrmMain main;
    main.setWindowState(Qt::WindowNoState);
    main.resize(1000, 640);
    main.show();
    Wait(500);
    bool saved = main.grab().save(output + "/main-empty.png");
    main.OpenFile(QString::fromLocal8Bit(argv[1]));
    Wait(500);
    saved = main.grab().save(output + "/main-training.png") && saved;
    SetModalAnswerer(nullptr);
    SetMessageSink(nullptr);
    return saved ? 0 : 1;
}
