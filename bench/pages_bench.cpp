// Training-window pages benchmark: on the largest training a file can hold
// (65,535 strokes), offscreen, the median time of showing and painting each
// page of the training window, the "Workout" page printed first as the
// baseline the others are held to; then the splits: their computation alone
// for each kind and usual size, and a change of the split kind or size with
// the grid refreshed and painted, which must fit in one 16 ms frame.
#include "BenchKit.h"
#include "DemoTraining.h"
#include "OffscreenKit.h"
#include "untMain.h"
#include "untSplits.h"
#include "untTraining.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

const int Strokes = 65535;
const int Repeats = 15;

using TClock = std::chrono::steady_clock;

double SecondsOf(const std::function<void()>& action)
{
    const auto start = TClock::now();
    action();
    return std::chrono::duration<double>(TClock::now() - start).count();
}

// Lets the posted events run until the widget was painted, as on the screen.
void ProcessUntilPainted(QWidget* widget, const std::function<void()>& action)
{
    const TPaintCounter painted(widget);
    action();
    for (int pass = 0; pass < 5 && painted.Count == 0; ++pass) QApplication::processEvents();
}

struct TPage {
    const char* Name;
    const char* Caption;
    const char* Painted; // the widget whose paint shows the page is on screen
};

const TPage Pages[] = {{"tshWorkout", "Workout (baseline)", "gbxIntervals"},
                       {"tshStrokeData", "Stroke data", "sgdStrokeData"},
                       {"tshSplits", "Splits", "sgdSplits"},
                       {"tshForceCurves", "Force curves", "sgdForceCurves"}};

// The widget that is painted when the page shows: a grid's viewport.
QWidget* PaintedPart(QWidget* window, const char* name)
{
    QWidget* part = window->findChild<QWidget*>(name);
    if (auto* grid = qobject_cast<QTableView*>(part)) return grid->viewport();
    return part;
}

// Median seconds of showing each page from the "General" page, up to its grid painted.
std::vector<double> PageTimes(QWidget* window, QTabWidget& pages)
{
    std::vector<std::vector<double>> times(std::size(Pages));
    QWidget* general = window->findChild<QWidget*>("tshGeneral");
    for (int run = 0; run < Repeats; ++run)
        for (size_t page = 0; page < std::size(Pages); ++page) {
            ProcessUntilPainted(general, [&] { pages.setCurrentWidget(general); });
            QWidget* shown = window->findChild<QWidget*>(Pages[page].Name);
            QWidget* painted = PaintedPart(window, Pages[page].Painted);
            times[page].push_back(SecondsOf([&] { ProcessUntilPainted(painted, [&] { pages.setCurrentWidget(shown); }); }));
        }
    std::vector<double> medians;
    for (const auto& each : times) medians.push_back(Median(each));
    return medians;
}

// The kind and size changes a user makes on the splits page, in turn.
struct TSplitChange {
    const char* Button; // the kind's radio button, or none to type the size
    const char* Size;
};
const TSplitChange SplitChanges[] = {{"rbtStrokes", nullptr}, {nullptr, "20"},   {nullptr, "100"},
                                     {"rbtTime", nullptr},    {nullptr, "5 min"}, {nullptr, "30 s"},
                                     {"rbtDistance", nullptr}, {nullptr, "100 m"}, {nullptr, "2000 m"},
                                     {nullptr, "500 m"}};

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = NewOffscreenHome("marlo-pages");
    if (folder.empty()) return 1;
    QApplication application(argc, argv);
    TOffscreenProgram program(folder);

    const std::string path = folder + "/largest.stg";
    if (!WriteTrainingInChild(path, [] {
            TTraining training = MakeDemoTraining(Strokes);
            training.Settings.SessionLimit = 4; // the Workout page shows its intervals grid
            return training;
        }))
        return 1;

    std::vector<double> pageTimes, computes;
    std::vector<std::vector<double>> switches(std::size(SplitChanges));
    int splitRows = 0;
    {
        TfrmMain main;
        main.resize(1000, 700);
        main.show();
        QApplication::processEvents();
        main.OpenFile(QString::fromStdString(path));
        QApplication::processEvents();
        TfrmTraining* window = main.findChild<TfrmTraining*>();
        auto* pages = window ? window->findChild<QTabWidget*>("pgcTraining") : nullptr;
        if (!pages) return 1;
        pageTimes = PageTimes(window, *pages);

        const TTraining& training = window->Training;
        for (int run = 0; run < Repeats; ++run)
            for (TSplitKind kind : {TSplitKind::Strokes, TSplitKind::Distance, TSplitKind::Time})
                for (double size : UsualSplitSizes(kind))
                    computes.push_back(SecondsOf([&] { ComputeSplits(training, {kind, size}); }));

        pages->setCurrentWidget(window->findChild<QWidget*>("tshSplits"));
        QApplication::processEvents();
        auto* grid = window->findChild<QTableView*>("sgdSplits");
        auto* size = window->findChild<QComboBox*>("cmbSplits");
        for (int run = 0; run < Repeats; ++run)
            for (size_t i = 0; i < std::size(SplitChanges); ++i)
                switches[i].push_back(SecondsOf([&, change = SplitChanges[i]] {
                    ProcessUntilPainted(grid->viewport(), [&] {
                        if (change.Button) window->findChild<QRadioButton*>(change.Button)->click();
                        else size->setEditText(QString::fromLatin1(change.Size));
                    });
                }));
        splitRows = grid->model()->rowCount();
    }
    QDir(QString::fromStdString(folder)).removeRecursively();

    std::printf("Training window on a training of %d strokes, main window 1000x700, offscreen\n", Strokes);
    std::printf("  a page shown: from the General page up to the page's grid painted (medians of %d)\n", Repeats);
    for (size_t page = 0; page < std::size(Pages); ++page)
        std::printf("    %-20s %8.2f ms  %5.2fx the Workout page\n", Pages[page].Caption, pageTimes[page] * 1e3,
                    pageTimes[page] / pageTimes[0]);
    std::printf("  (target: each new page no slower than the Workout page)\n");
    std::sort(computes.begin(), computes.end());
    std::printf("  splits computed alone, every kind and usual size: median %.2f ms, slowest %.2f ms\n",
                Median(computes) * 1e3, computes.back() * 1e3);
    std::printf("  split kind or size changed, grid refreshed and painted (medians of %d; target: under 16 ms)\n",
                Repeats);
    for (size_t i = 0; i < std::size(SplitChanges); ++i) {
        const TSplitChange& change = SplitChanges[i];
        std::printf("    %-12s %8.2f ms  (slowest %.2f ms)\n", change.Button ? change.Button : change.Size,
                    Median(switches[i]) * 1e3, *std::max_element(switches[i].begin(), switches[i].end()) * 1e3);
    }
    std::printf("  %d split rows at the end\n", splitRows);
    return 0;
}
