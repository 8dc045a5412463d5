// The reference the browse benchmarks measure a step against: a chart view
// with one series of a force curve's 80 points and two axes, nothing more. A
// step gives the series new points, then the view is painted.
#pragma once

#include "untTypes.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QList>
#include <QPointF>
#include <QSize>
#include <QValueAxis>

class TBareChart {
public:
    explicit TBareChart(const QSize& size)
    {
        auto* chart = new QChart;
        Series = new QLineSeries;
        chart->addSeries(Series);
        auto* x = new QValueAxis;
        auto* y = new QValueAxis;
        x->setRange(0, 176);
        y->setRange(0, 780);
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        Series->attachAxis(x);
        Series->attachAxis(y);
        View.setChart(chart);
        View.resize(size);
        View.show();
        QApplication::processEvents();
    }

    void Step(int i)
    {
        QList<QPointF> points;
        for (int j = 1; j <= CurveSamples; ++j) points << QPointF(j * 2.2, 300 + 200 * ((i + j) % 7) / 7.0);
        Series->replace(points);
        QApplication::processEvents();
    }

    QWidget* Viewport() const { return View.viewport(); }

private:
    QChartView View;
    QLineSeries* Series;
};
