// Stroke-data window benchmark: on the largest training a file can hold
// (65,535 strokes), offscreen at 1600 x 900, what a user waits for in the
// stroke-data window, each with what it changed painted:
// - the window opened and painted once, beside the training window opened
//   on the same file and painted;
// - one cursor move: the grid's row filled, chart and grid repainted;
// - one zoom: the lines reduced to the new range, the ticks made, painted;
// - a redraw of the reduced lines beside a bare chart view that draws one
//   series of all 65,535 points, from the same run.
// Cursor moves and zooms must fit in one 16 ms frame, the open within the
// training window's; the reduced drawing
// must be at least ten times faster than the bare full series.
#include "BenchKit.h"
#include "DemoTraining.h"
#include "OffscreenKit.h"
#include "untFiles.h"
#include "untMain.h"
#include "untStrokeData.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QTableView>
#include <QValueAxis>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int Strokes = 65535;
const int Repeats = 30;

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = NewOffscreenHome("marlo-strokedata");
    if (folder.empty()) return 1;
    QApplication application(argc, argv);
    TOffscreenProgram program(folder);

    const std::string path = folder + "/largest.stg";
    const TTraining training = MakeDemoTraining(Strokes);
    if (!SaveTrainingFile(path, training, fkTraining)) return 1;

    std::vector<double> cursorMoves, zooms, redraws, bares, refreshes, repaints;
    double opened = 0, trainingOpened = 0;
    int cursorChartPaints = 0, cursorGridPaints = 0;
    int shownPoints = 0;
    {
        TfrmMain main;
        main.resize(1600, 900);
        main.show();
        QApplication::processEvents();
        // The reference for the open: the training window opened on the same
        // file and painted.
        trainingOpened = MillisecondsOf([&] {
            main.OpenFile(QString::fromStdString(path));
            main.repaint();
            QApplication::processEvents();
        });
        TfrmStrokeData* window = nullptr;
        opened = MillisecondsOf([&] {
            main.ShowStrokeData();
            window = main.StrokeData();
            if (window) window->repaint();
            QApplication::processEvents();
        });
        if (!window) return 1;
        shownPoints = static_cast<int>(window->ShownPoints(0).size());
        const TStrokePoints& line = window->FullLine(0);
        if (line.empty()) return 1;

        const auto paint = [window] {
            window->Chart()->viewport()->repaint();
            window->DataGrid()->viewport()->repaint();
        };
        // A cursor move paints what it changed, as the event loop does for a
        // mouse move: the chart's strips the cursor left and entered, the grid.
        TPaintCounter chartPaints(window->Chart()->viewport()), gridPaints(window->DataGrid()->viewport());
        for (int i = 0; i < Repeats; ++i)
            cursorMoves.push_back(MillisecondsOf([&] {
                window->SetCursorX(line[static_cast<size_t>(i) * 2000 + 1000].X);
                QApplication::processEvents();
                QApplication::processEvents();
            }));
        cursorChartPaints = chartPaints.Count;
        cursorGridPaints = gridPaints.Count;
        for (int i = 0; i < Repeats; ++i) {
            const double left = line[static_cast<size_t>(i) * 1000].X;
            zooms.push_back(MillisecondsOf([&] {
                window->ZoomTo(left, left + 5000);
                paint();
            }));
            window->ZoomReset();
        }
        for (int i = 0; i < Repeats; ++i)
            redraws.push_back(MillisecondsOf([&] {
                window->RefreshView();
                window->Chart()->viewport()->repaint();
            }));
        for (int i = 0; i < Repeats; ++i) {
            refreshes.push_back(MillisecondsOf([&] { window->RefreshView(); }));
            repaints.push_back(MillisecondsOf([&] { window->Chart()->viewport()->repaint(); }));
        }

        // The bare reference: one series of every stroke's power in a view of
        // the same size.
        QList<QPointF> all;
        all.reserve(Strokes);
        for (const TStrokePoint& point : line) all.append(QPointF(point.X, point.Y));
        auto* chart = new QChart;
        auto* series = new QLineSeries;
        chart->addSeries(series);
        auto* x = new QValueAxis;
        auto* y = new QValueAxis;
        x->setRange(line.front().X, line.back().X);
        y->setRange(0, 600);
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        series->attachAxis(x);
        series->attachAxis(y);
        QChartView view(chart);
        view.setRenderHint(QPainter::Antialiasing);
        view.resize(window->Chart()->size());
        view.show();
        QApplication::processEvents();
        for (int i = 0; i < Repeats / 3; ++i)
            bares.push_back(MillisecondsOf([&] {
                series->replace(all);
                view.viewport()->repaint();
            }));
    }

    const double redraw = Median(redraws), bare = Median(bares);
    std::printf("stroke-data window, %d strokes, offscreen 1600x900\n", Strokes);
    std::printf("  window opened and painted:            %8.1f ms\n", opened);
    std::printf("  training window opened (reference):   %8.1f ms\n", trainingOpened);
    std::printf("  points shown of the line:             %8d\n", shownPoints);
    std::printf("  cursor move, grid and chart painted:  %8.2f ms (median of %d)\n", Median(cursorMoves), Repeats);
    std::printf("  paints in %d cursor moves:            chart %d, grid %d\n", Repeats, cursorChartPaints,
                cursorGridPaints);
    std::printf("  zoom, lines reduced and painted:      %8.2f ms (median of %d)\n", Median(zooms), Repeats);
    std::printf("  reduced lines redrawn and painted:    %8.2f ms\n", redraw);
    std::printf("    of which lines reduced and ticks:   %8.2f ms\n", Median(refreshes));
    std::printf("    of which the chart painted:         %8.2f ms\n", Median(repaints));
    std::printf("  bare view, all %d points drawn:    %8.2f ms\n", Strokes, bare);
    std::printf("  bare / reduced:                       %8.1f x\n", redraw > 0 ? bare / redraw : 0.0);
    return 0;
}
