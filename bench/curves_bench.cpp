// Force-curve analysis benchmark: on the largest training a file can hold
// (65,535 strokes), offscreen, what a user waits for in the force-curve
// window beyond one stroke, each with what it changed painted:
// - a browse step with the trail on, and with "All" on (every stroke drawn
//   beneath the shown one), beside the bare replacement of one 80-point series
//   in a chart view of the same size, from the same run;
// - "All" turned on: its picture of 65,535 curves made once;
// - switching to the session's average with the spread band on: the first
//   time, when the band is computed, and again, when it is kept;
// - withdrawing a curve: the average computed again, then the band of the
//   new average shown.
// Steps must stay inside one 16 ms frame; the rest inside 100 ms.
#include "BareChart.h"
#include "BenchKit.h"
#include "DemoTraining.h"
#include "OffscreenKit.h"
#include "untCurveUnderlay.h"
#include "untFiles.h"
#include "untForceCurves.h"
#include "untMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int Strokes = 65535;
const int Steps = 100;
const int Switches = 5;

void Click(QWidget& window, const char* name)
{
    if (auto* button = window.findChild<QAbstractButton*>(name)) button->click();
    QApplication::processEvents();
}

void SetChecked(QWidget& window, const char* name, bool checked)
{
    auto* box = window.findChild<QAbstractButton*>(name);
    if (box && box->isChecked() != checked) box->click();
    QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = NewOffscreenHome("marlo-curves");
    if (folder.empty()) return 1;
    QApplication application(argc, argv);
    TOffscreenProgram program(folder);

    const std::string path = folder + "/largest.stg";
    if (!SaveTrainingFile(path, MakeDemoTraining(Strokes), fkTraining)) return 1;

    std::vector<double> bares, trailSteps, allSteps, averagesKept;
    double allOn = 0, averageFirst = 0, withdraw = 0, withdrawnAverage = 0;
    int pictures = 0;
    QSize chartSize;
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
        const auto step = [window] {
            window->btbNextClick();
            QApplication::processEvents();
        };

        SetChecked(*window, "cbxSpread", true);
        SetChecked(*window, "cbxTrail", true);
        for (int i = 0; i < Steps; ++i) {
            trailSteps.push_back(MillisecondsOf(step));
            bares.push_back(MillisecondsOf([&] { bare.Step(i); }));
        }
        SetChecked(*window, "cbxTrail", false);

        allOn = MillisecondsOf([&] { SetChecked(*window, "cbxShowAll", true); });
        const int picturesBefore = window->Underlay()->PicturesMade();
        for (int i = 0; i < Steps; ++i) {
            allSteps.push_back(MillisecondsOf(step));
            bares.push_back(MillisecondsOf([&] { bare.Step(i); }));
        }
        pictures = window->Underlay()->PicturesMade() - picturesBefore;
        SetChecked(*window, "cbxShowAll", false);

        averageFirst = MillisecondsOf([&] { Click(*window, "rbtBrowseAverage"); });
        for (int i = 0; i < Switches; ++i) {
            Click(*window, "rbtBrowseCurves");
            averagesKept.push_back(MillisecondsOf([&] { Click(*window, "rbtBrowseAverage"); }));
        }
        Click(*window, "rbtBrowseCurves");
        withdraw = MillisecondsOf([&] { Click(*window, "btbDelete"); });
        withdrawnAverage = MillisecondsOf([&] { Click(*window, "rbtBrowseAverage"); });
    }
    QDir(QString::fromStdString(folder)).removeRecursively();

    const double bare = Median(bares);
    std::printf("Force-curve analysis on a training of %d strokes, chart %dx%d pixels, offscreen\n", Strokes,
                chartSize.width(), chartSize.height());
    std::printf("  bare replacement of one 80-point series  %8.2f ms  (median of %d)\n", bare, 2 * Steps);
    std::printf("  step with the trail                      %8.2f ms  (median of %d; target under 16 ms)\n",
                Median(trailSteps), Steps);
    std::printf("  \"All\" turned on, its picture made        %8.2f ms\n", allOn);
    std::printf("  step with \"All\"                          %8.2f ms  (median of %d, %d pictures made again;"
                " target under 16 ms)\n",
                Median(allSteps), Steps, pictures);
    std::printf("  session average with its band, first     %8.2f ms  (target under 100 ms)\n", averageFirst);
    std::printf("  session average with its band, kept      %8.2f ms  (median of %d)\n", Median(averagesKept),
                Switches);
    std::printf("  a curve withdrawn, the average again     %8.2f ms\n", withdraw);
    std::printf("  then the new average with its band       %8.2f ms  (together target under 100 ms)\n",
                withdrawnAverage);
    return 0;
}
