// Window benchmark: what a user feels opening the largest training a file can
// hold (65,535 strokes). Prints, from one run, the median time of reading the
// file into the record alone, the median time of the whole open through the
// main window up to the training window shown and painted once, their ratio,
// and the peak memory of the window opens as a multiple of the record's size.
//
// The window part runs offscreen in a child process of its own, with private
// home, runtime and documents folders, so that it needs no display, never
// touches the user's files, and its peak memory is not that of the file read
// in this process. Every dialog is answered at once; nothing waits for a human.
#include "BenchKit.h"
#include "DemoTraining.h"
#include "jsUtils.h"
#include "untFiles.h"
#include "untMain.h"
#include "OffscreenKit.h"
#include "untModal.h"
#include "untTraining.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QPixmap>
#include <QPointer>
#include <QTabWidget>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const int Strokes = 65535;
const int Repeats = 9;
const int MainWidth = 1000, MainHeight = 700;

using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point start) { return std::chrono::duration<double>(TClock::now() - start).count(); }

// Writes the test file in a child process, so that making it does not count
// towards the peak memory of this process or of the window part. The piece is
// saved as an interval session, so that the "Workout" page shows its
// intervals grid (one interval per 500 m) and the grid is painted.
bool WriteTestFile(const std::string& path)
{
    return WriteTrainingInChild(path, [] {
        TTraining training = MakeDemoTraining(Strokes);
        training.Settings.SessionLimit = 4;
        training.Settings.LimitIntervals = static_cast<int32_t>(training.Intervals.size());
        return training;
    });
}

// Median seconds of OpenTrainingFile into a fresh record, as the main window
// calls it.
double MedianFileOpen(const std::string& path)
{
    std::vector<double> times;
    for (int run = 0; run < Repeats; ++run) {
        const auto start = TClock::now();
        TTraining training;
        OpenTrainingFile(path, training, true);
        times.push_back(Seconds(start));
    }
    return Median(times);
}

// What the window part hands back to this process.
struct TWindowFigures {
    double FileOpen = 0;     // median seconds of OpenTrainingFile alone, between the opens
    double Open = 0;         // median seconds of the whole open, up to the first paint
    double OpenFile = 0;     //   of which TfrmMain::OpenFile until it returns
    double Events = 0;       //   and the events it left, up to the intervals grid painted
    double Grab = 0;         // median seconds of a grab() of the main window after that
    double OpenAndGrab = 0;  // median seconds of the open with that grab
    double General = 0;      // median seconds of showing and painting the "General" page
    double Close = 0;        // median seconds of closing and deleting the window
    long BaselineKiB = 0;    // peak resident memory with the main window shown
    long FirstOpenKiB = 0;   // peak after the first open
    long FirstRunKiB = 0;    // peak after the first run, before any read alone
    long PeakKiB = 0;        // peak after all opens
    int IntervalRows = 0;    // rows of the intervals grid
    int Messages = 0;        // messages the core showed
    int Repainted = 0;       // opens whose grid the events did not paint, repainted instead
    bool WorkoutShown = false;
    bool IntervalsShown = false;
    bool Ok = false;
};

TfrmTraining* OpenWindow(TfrmMain& main)
{
    for (TfrmTraining* window : main.findChildren<TfrmTraining*>())
        if (!window->FClosing()) return window;
    return nullptr;
}

// Lets the pending events run until the counter's widget was painted through
// the window's backing store, as on the screen; true when they painted it.
bool ProcessUntilPainted(TfrmMain& main, const TPaintCounter& counter)
{
    for (int pass = 0; pass < 5 && counter.Count == 0; ++pass) QApplication::processEvents();
    if (counter.Count > 0) return true;
    main.repaint();
    return false;
}

// Opens the file through the main window Repeats times: each run from the
// Open command up to the training window shown and its intervals grid painted
// once, then a grab of the main window, then the "General" page shown and
// painted, then the window closed and deleted, then the file read alone.
TWindowFigures RunWindowOpens(const std::string& folder, const QString& path, int argc, char** argv)
{
    TWindowFigures figures;
    QApplication application(argc, argv);
    TOffscreenProgram program(folder);

    const std::string file = path.toStdString();
    std::vector<double> fileOpens, opens, openFiles, events, grabs, openAndGrabs, generals, closes;
    {
        TfrmMain main;
        main.resize(MainWidth, MainHeight);
        main.show();
        // The first show's splash and welcome come from the event loop.
        QApplication::processEvents();
        QApplication::processEvents();
        figures.BaselineKiB = PeakResidentKiB();

        for (int run = 0; run < Repeats; ++run) {
            auto start = TClock::now();
            main.OpenFile(path);
            const auto opened = TClock::now();
            QPointer<TfrmTraining> window = OpenWindow(main);
            if (!window) return figures;
            auto* pages = window->findChild<QTabWidget*>("pgcTraining");
            auto* intervals = window->findChild<QTableView*>("sgdIntervals");
            {
                const TPaintCounter painted(intervals ? intervals->viewport() : nullptr);
                if (!ProcessUntilPainted(main, painted)) ++figures.Repainted;
            }
            const auto shown = TClock::now();
            main.grab();
            opens.push_back(std::chrono::duration<double>(shown - start).count());
            openFiles.push_back(std::chrono::duration<double>(opened - start).count());
            events.push_back(std::chrono::duration<double>(shown - opened).count());
            grabs.push_back(Seconds(shown));
            openAndGrabs.push_back(Seconds(start));
            if (run == 0) {
                figures.FirstOpenKiB = PeakResidentKiB();
                figures.WorkoutShown = pages && pages->currentWidget()
                                       && pages->currentWidget()->objectName() == QLatin1String("tshWorkout");
                figures.IntervalsShown = intervals && intervals->isVisible();
                figures.IntervalRows = intervals ? intervals->model()->rowCount() : 0;
            }

            start = TClock::now();
            if (QWidget* general = pages ? pages->findChild<QWidget*>("tshGeneral") : nullptr) {
                const TPaintCounter painted(general);
                pages->setCurrentWidget(general);
                ProcessUntilPainted(main, painted);
            }
            generals.push_back(Seconds(start));

            start = TClock::now();
            main.CloseTrainingsByNumber(window->Training.ClientID);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QApplication::processEvents();
            closes.push_back(Seconds(start));
            if (window) return figures;
            if (run == 0) figures.FirstRunKiB = PeakResidentKiB();

            // The read alone, between the opens, so that a busy moment of the
            // machine weighs on both figures alike.
            start = TClock::now();
            {
                TTraining training;
                OpenTrainingFile(file, training, true);
            }
            fileOpens.push_back(Seconds(start));
        }
        figures.PeakKiB = PeakResidentKiB();
    }

    figures.FileOpen = Median(fileOpens);
    figures.Open = Median(opens);
    figures.OpenFile = Median(openFiles);
    figures.Events = Median(events);
    figures.Grab = Median(grabs);
    figures.OpenAndGrab = Median(openAndGrabs);
    figures.General = Median(generals);
    figures.Close = Median(closes);
    figures.Messages = static_cast<int>(program.Messages.Texts.size());
    // Each text once, with how often it came, on the error output.
    std::map<std::string, int> counts;
    for (const std::string& text : program.Messages.Texts) ++counts[text];
    for (const auto& [text, count] : counts) std::fprintf(stderr, "message (%dx): %s\n", count, text.c_str());
    figures.Ok = true;
    return figures;
}

// Runs the window part in a child process and reads its figures.
bool MeasureWindowOpens(const std::string& folder, const std::string& path, int argc, char** argv,
                        TWindowFigures& figures)
{
    int channel[2];
    if (pipe(channel) != 0) return false;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const TWindowFigures result = RunWindowOpens(folder, QString::fromStdString(path), argc, argv);
        const bool written = write(channel[1], &result, sizeof result) == static_cast<ssize_t>(sizeof result);
        std::fflush(nullptr);
        _exit(written && result.Ok ? 0 : 1);
    }
    close(channel[1]);
    const bool read = ::read(channel[0], &figures, sizeof figures) == static_cast<ssize_t>(sizeof figures);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return read && figures.Ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double MiB(double kib) { return kib / 1024.0; }

} // namespace

int main(int argc, char** argv)
{
    const char* temp = std::getenv("TMPDIR");
    std::string folder = std::string(temp && *temp ? temp : "/tmp") + "/marlo-window-bench-XXXXXX";
    if (!mkdtemp(folder.data())) return 1;
    // The window part gets a home, runtime and settings folders of its own and
    // no display.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("HOME", folder.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder + "/.config").c_str(), 1);

    const std::string path = folder + "/large.stg";
    if (!WriteTestFile(path)) return 1;

    TWindowFigures window;
    const bool windowOk = MeasureWindowOpens(folder, path, argc, argv, window);

    size_t recordBytes = 0;
    {
        TTraining training;
        if (!OpenTrainingFile(path, training, true)) return 1;
        recordBytes = RecordBytes(training);
    }
    const double fileOpen = MedianFileOpen(path);
    const double record = static_cast<double>(recordBytes);

    std::printf("Training file of %d strokes, %lld bytes; the record takes %.1f MiB\n", Strokes,
                static_cast<long long>(FileSizeOf(path)), record / 1048576.0);
    std::printf("  OpenTrainingFile: the file read into a fresh record with the after-load computations, "
                "between the window opens\n");
    std::printf("  window open: the main window's OpenFile up to the new window's intervals grid painted on screen\n");
    std::printf("  peak memory: rise of the window process's peak resident memory over its shown main window\n");
    if (!windowOk) {
        std::printf("  window open                  not measured: the window part failed\n");
    } else {
        const auto times = [&](long kib) { return kib * 1024.0 / record; };
        std::printf("  OpenTrainingFile             %8.2f ms  (median of %d; %.2f ms in a process of its own)\n",
                    window.FileOpen * 1e3, Repeats, fileOpen * 1e3);
        std::printf("  window open                  %8.2f ms  (median of %d)\n", window.Open * 1e3, Repeats);
        std::printf("    of which OpenFile returns  %8.2f ms, then its events and the first paint %.2f ms\n",
                    window.OpenFile * 1e3, window.Events * 1e3);
        std::printf("  window open / OpenTrainingFile %6.2f    (target: ratio <= 2.0)\n", window.Open / window.FileOpen);
        std::printf("  with a grab() of the main window after it %.2f ms (the grab %.2f ms), ratio %.2f\n",
                    window.OpenAndGrab * 1e3, window.Grab * 1e3, window.OpenAndGrab / window.FileOpen);
        std::printf("  then General page painted    %8.2f ms\n", window.General * 1e3);
        std::printf("  then window closed, deleted  %8.2f ms\n", window.Close * 1e3);
        std::printf("  peak memory of the opens     %8.1f MiB  %5.2fx the record (target: <= 2.5x)\n",
                    MiB(window.PeakKiB - window.BaselineKiB), times(window.PeakKiB - window.BaselineKiB));
        std::printf("    after the first open %.2fx, after its run %.2fx; process peak %.1f MiB, "
                    "%.1f MiB with the main window shown\n",
                    times(window.FirstOpenKiB - window.BaselineKiB), times(window.FirstRunKiB - window.BaselineKiB),
                    MiB(window.PeakKiB), MiB(window.BaselineKiB));
        std::printf("  Workout page shown: %s, intervals grid shown: %s with %d rows; opens repainted by hand: %d; "
                    "messages: %d\n",
                    window.WorkoutShown ? "yes" : "no", window.IntervalsShown ? "yes" : "no", window.IntervalRows,
                    window.Repainted, window.Messages);
    }

    QDir(QString::fromStdString(folder)).removeRecursively();
    return windowOk ? 0 : 1;
}
