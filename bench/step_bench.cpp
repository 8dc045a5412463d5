// Force-curve browsing benchmark: on the largest training a file can hold
// (65,535 strokes), the median time of one step to the next curve in the
// force-curve window (the refresh, then what it changed painted: the chart,
// the data row, the list item), beside the median time of replacing one
// 80-point series in a bare chart view of the same size and painting it, from
// the same run. Both paint what the window system would have painted on
// screen, no more; the paints of the chart and the grid are counted to show
// that every step did paint them. A step must stay well inside one 16 ms
// frame, so that playback and dragging the scroll bar never stutter.
#include "BareChart.h"
#include "BenchKit.h"
#include "DemoTraining.h"
#include "jsUtils.h"
#include "untFiles.h"
#include "untForceCurves.h"
#include "untMain.h"
#include "OffscreenKit.h"
#include "untModal.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTableView>
#include <QDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

const int Strokes = 65535;
const int Steps = 200;

using TClock = std::chrono::steady_clock;

template <typename TStep>
double SecondsOf(TStep&& step)
{
    const auto start = TClock::now();
    step();
    return std::chrono::duration<double>(TClock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = NewOffscreenHome("marlo-step");
    if (folder.empty()) return 1;
    QApplication application(argc, argv);
    TOffscreenProgram program(folder);

    const std::string path = folder + "/largest.stg";
    if (!SaveTrainingFile(path, MakeDemoTraining(Strokes), fkTraining)) return 1;

    // The two steps first take turns, so that both meet the machine in the
    // same state; then each runs on its own, the way playback repeats one.
    std::vector<double> steps, bares, stepsAlone, baresAlone;
    QSize chartSize;
    int chartPainted = 0, gridPainted = 0, barePainted = 0;
    {
        TfrmMain main;
        main.resize(1000, 700);
        main.show();
        QApplication::processEvents();
        main.OpenFile(QString::fromStdString(path));
        main.ShowForceCurves();
        TfrmForceCurves* window = main.ForceCurves();
        if (!window || !window->Chart()) return 1;
        QApplication::processEvents();
        chartSize = window->Chart()->size();
        TBareChart bare(chartSize);
        // A step paints what it changed, as the window system would have it
        // painted on screen: the events it posted are handled, no more.
        const auto step = [window] {
            window->btbNextClick();
            QApplication::processEvents();
        };
        // Counted to show that every step did paint the chart and the grid.
        const TPaintCounter chartPaints(window->Chart()->viewport()), gridPaints(window->DataGrid()->viewport()),
            barePaints(bare.Viewport());
        for (int i = 0; i < Steps; ++i) {
            steps.push_back(SecondsOf(step));
            bares.push_back(SecondsOf([&] { bare.Step(i); }));
        }
        window->btbFirstClick();
        for (int i = 0; i < Steps; ++i) stepsAlone.push_back(SecondsOf(step));
        for (int i = 0; i < Steps; ++i) baresAlone.push_back(SecondsOf([&] { bare.Step(i); }));
        chartPainted = chartPaints.Count;
        gridPainted = gridPaints.Count;
        barePainted = barePaints.Count;
    }
    const double step = Median(steps), bare = Median(bares);
    const double stepAlone = Median(stepsAlone), bareAlone = Median(baresAlone);
    QDir(QString::fromStdString(folder)).removeRecursively();

    std::printf("Force-curve window on a training of %d strokes, chart %dx%d pixels\n", Strokes, chartSize.width(),
                chartSize.height());
    std::printf("  step: btbNextClick, then what it changed painted; bare: one 80-point series replaced\n"
                "  and painted in a bare chart view of the same size (medians of %d, taking turns)\n",
                Steps);
    std::printf("  paints in %d steps: chart %d, data grid %d; in as many bare replacements: %d\n", 2 * Steps,
                chartPainted, gridPainted, barePainted);
    std::printf("  step               %8.2f ms\n", step * 1e3);
    std::printf("  bare replacement   %8.2f ms\n", bare * 1e3);
    std::printf("  ratio              %8.2f     (target <= 2.0, and the step under 16 ms)\n",
                bare > 0 ? step / bare : 0.0);
    std::printf("  each on its own: step %.2f ms, bare %.2f ms, ratio %.2f\n", stepAlone * 1e3, bareAlone * 1e3,
                bareAlone > 0 ? stepAlone / bareAlone : 0.0);
    return 0;
}
