#include "untFixedAxes.h"

#include <QChart>
#include <QFontMetrics>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

TFixedAxes::TFixedAxes(QChart* chart, QValueAxis* horizontal, QValueAxis* vertical)
    : QObject(chart), Chart(chart), Horizontal(horizontal), Vertical(vertical)
{
    // Queued: the chart tells of a new plot area while it lays itself out,
    // before the axes have their new lengths.
    connect(chart, &QChart::plotAreaChanged, this, &TFixedAxes::FitLabels, Qt::QueuedConnection);
}

void TFixedAxes::SetAxis(QValueAxis& axis, double maximum, double step, const QString& title)
{
    axis.setRange(0, maximum);
    axis.setTickType(QValueAxis::TicksDynamic);
    axis.setTickAnchor(0);
    axis.setTickInterval(step);
    axis.setMinorTickCount(0);
    axis.setLabelFormat(QStringLiteral("%d"));
    axis.setTitleText(title);
    axis.setProperty("FixedStep", step);
    axis.setProperty("FixedMaximum", maximum);
}

void TFixedAxes::SetVerticalMaximum(double maximum)
{
    if (Vertical->property("FixedMaximum").toDouble() == maximum) return;
    Chart->zoomReset();
    Vertical->setMax(maximum);
    Vertical->setProperty("FixedMaximum", maximum);
    FitLabels();
}

void TFixedAxes::FitLabels()
{
    // The chart gives each label an even share of the axis's length, less a
    // padding on either side, and cuts one that does not fit it to "...".
    // Labelling fewer ticks, and drawing the others as minor ticks, gives
    // each label a larger share.
    const double labelPadding = 4;
    const QRectF plot = Chart->plotArea();
    for (QValueAxis* axis : {Horizontal, Vertical}) {
        const double step = axis->property("FixedStep").toDouble();
        const double range = axis->max() - axis->min();
        const bool horizontal = axis == Horizontal;
        const double length = horizontal ? plot.width() : plot.height();
        if (step <= 0 || range <= 0 || length <= 0) continue;
        const QFontMetrics metrics(axis->labelsFont());
        const QString widest = QString::number(static_cast<int>(std::max(std::fabs(axis->max()), std::fabs(axis->min()))));
        const double needed = (horizontal ? metrics.horizontalAdvance(widest) : metrics.height()) + 2;
        const auto share = [&](int every) {
            const double labels = std::floor(range / (step * every)) + 1;
            return length / labels - 2 * labelPadding;
        };
        int every = 1;
        while (every < 64 && share(every) < needed) every *= 2;
        if (axis->tickInterval() != step * every) axis->setTickInterval(step * every);
        if (axis->minorTickCount() != every - 1) axis->setMinorTickCount(every - 1);
    }
}
