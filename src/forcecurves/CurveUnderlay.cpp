#include "untCurveUnderlay.h"

#include <QChart>
#include <QRgb>
#include <QPainter>
#include <QValueAxis>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

// Beneath the series of the chart, above its grid and axes.
const qreal UnderlayZ = 3.5;

// Cuts the line from a to b to the rectangle 0..right, 0..bottom (the
// Liang-Barsky way); false when none of it lies inside.
bool ClipLine(QPointF& a, QPointF& b, double right, double bottom)
{
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x(), right - a.x(), a.y(), bottom - a.y()};
    double enter = 0, leave = 1;
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return false; // parallel to this edge and outside it
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
        if (enter > leave) return false;
    }
    b = QPointF(a.x() + leave * dx, a.y() + leave * dy);
    a = QPointF(a.x() + enter * dx, a.y() + enter * dy);
    return true;
}

} // namespace

TLineMask::TLineMask(int width, int height)
    : Width(std::max(width, 0)), Height(std::max(height, 0)), Bits(static_cast<size_t>(Width) * Height)
{
}

void TLineMask::Line(QPointF a, QPointF b)
{
    if (Width == 0 || Height == 0) return;
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) || !std::isfinite(b.y())) return;
    if (!ClipLine(a, b, Width - 1, Height - 1)) return;
    const auto pixel = [](double value, int last) { return std::clamp(static_cast<int>(std::lround(value)), 0, last); };
    int x = pixel(a.x(), Width - 1), y = pixel(a.y(), Height - 1);
    const int toX = pixel(b.x(), Width - 1), toY = pixel(b.y(), Height - 1);
    // Bresenham's steps, in whichever direction the line runs.
    const int dx = std::abs(toX - x), dy = -std::abs(toY - y);
    const int stepX = x < toX ? 1 : -1, stepY = y < toY ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        Bits[static_cast<size_t>(y) * Width + x] = 1;
        if (x == toX && y == toY) break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

TCurveUnderlay::TCurveUnderlay(QChart* chart, QValueAxis* axisX, QValueAxis* axisY)
    : QGraphicsObject(chart), Chart(chart), AxisX(axisX), AxisY(axisY), Plot(chart->plotArea())
{
    setZValue(UnderlayZ);
    setFlag(QGraphicsItem::ItemClipsToShape, false);
    connect(chart, &QChart::plotAreaChanged, this, [this](const QRectF& plot) {
        prepareGeometryChange();
        Plot = plot;
    });
    for (QValueAxis* axis : {axisX, axisY})
        connect(axis, &QValueAxis::rangeChanged, this, [this] { update(); });
}

void TCurveUnderlay::SetPicture(std::vector<TPictureLayer> layers)
{
    Layers = std::move(layers);
    PictureStale = true;
    Picture = QImage();
    update();
}

void TCurveUnderlay::SetOverlay(std::vector<TBand> bands, std::vector<TCurve> curves)
{
    if (bands.empty() && curves.empty() && FBands.empty() && FCurves.empty()) return;
    FBands = std::move(bands);
    FCurves = std::move(curves);
    update();
}

QRectF TCurveUnderlay::boundingRect() const { return Plot; }

QTransform TCurveUnderlay::ValuesToChart() const
{
    const double width = AxisX->max() - AxisX->min();
    const double height = AxisY->max() - AxisY->min();
    if (width <= 0 || height <= 0) return QTransform(0, 0, 0, 0, Plot.left(), Plot.bottom());
    const double sx = Plot.width() / width;
    const double sy = -Plot.height() / height;
    return QTransform(sx, 0, 0, sy, Plot.left() - AxisX->min() * sx, Plot.bottom() - AxisY->min() * sy);
}

void TCurveUnderlay::MakePicture(const QRectF& plot, const QTransform& toChart, qreal pixelRatio)
{
    Picture = QImage((plot.size() * pixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
    Picture.setDevicePixelRatio(pixelRatio);
    Picture.fill(Qt::transparent);
    // Pixel centres lie half a pixel inside the picture's grid.
    const QTransform toPixels = toChart * QTransform::fromTranslate(-plot.left(), -plot.top())
                                * QTransform::fromScale(pixelRatio, pixelRatio)
                                * QTransform::fromTranslate(-0.5, -0.5);
    for (const TPictureLayer& layer : Layers) {
        TLineMask mask(Picture.width(), Picture.height());
        layer.Curves([&mask, &toPixels](const QPointF* points, int count) {
            QPointF from = count > 0 ? toPixels.map(points[0]) : QPointF();
            for (int k = 1; k < count; ++k) {
                const QPointF to = toPixels.map(points[k]);
                mask.Line(from, to);
                from = to;
            }
        });
        const QRgb colour = qPremultiply(layer.Colour.rgba());
        for (int y = 0; y < mask.Height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(Picture.scanLine(y));
            for (int x = 0; x < mask.Width; ++x)
                if (mask.Covered(x, y)) line[x] = colour;
        }
    }
    PicturePlot = Plot;
    PictureMapping = toChart;
    PictureStale = false;
    ++PictureCount;
}

bool TCurveUnderlay::PictureOutdated(const QTransform& toChart, qreal pixelRatio) const
{
    return PictureStale || PicturePlot != Plot || PictureMapping != toChart || Picture.devicePixelRatio() != pixelRatio;
}

void TCurveUnderlay::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget* widget)
{
    if (Plot.isEmpty()) return;
    const QTransform toChart = ValuesToChart();
    painter->save();
    painter->setClipRect(Plot);
    if (!Layers.empty()) {
        const qreal ratio = widget ? widget->devicePixelRatioF() : painter->device()->devicePixelRatioF();
        if (PictureOutdated(toChart, ratio)) MakePicture(Plot, toChart, ratio);
        painter->drawImage(Plot.topLeft(), Picture);
    }
    painter->setRenderHint(QPainter::Antialiasing);
    for (const TBand& band : FBands) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(band.Fill);
        painter->drawPolygon(toChart.map(band.Outline));
    }
    painter->setBrush(Qt::NoBrush);
    for (const TCurve& curve : FCurves) {
        painter->setPen(curve.Pen);
        painter->drawPolyline(toChart.map(curve.Points));
    }
    painter->restore();
}
