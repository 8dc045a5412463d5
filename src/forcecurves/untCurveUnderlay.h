// What the force-curve window draws beneath its curves, in one item of the
// chart: every stroke of a training ("All"), the spread band of an average,
// the pinned reference and the trail. Tens of thousands of strokes are far
// too many for series of their own, so they are drawn into a picture that is
// made again only when they, the plot area or the axes change; the few other
// curves are drawn directly. Points are chart values, mapped onto the plot
// area of the chart by the ranges of its two axes.
#pragma once

#include <cstdint>

#include <QColor>
#include <QGraphicsObject>
#include <QImage>
#include <QPen>
#include <QPolygonF>

#include <functional>
#include <vector>

class QChart;
class QValueAxis;

// Which pixels of a picture a set of one-pixel lines covers. A line's own
// pixels are set directly, as many curves cross each pixel many times over
// and a painter's work for each line would be many times the setting.
class TLineMask {
public:
    TLineMask(int width, int height);
    // The line from a to b in pixel coordinates, clipped to the mask.
    void Line(QPointF a, QPointF b);
    bool Covered(int x, int y) const { return Bits[static_cast<size_t>(y) * Width + x] != 0; }
    int Width, Height;

private:
    std::vector<uint8_t> Bits;
};

class TCurveUnderlay : public QGraphicsObject {
    Q_OBJECT

public:
    struct TCurve {
        QPolygonF Points;
        QPen Pen;
    };
    struct TBand {
        QPolygonF Outline; // the upper edge forwards, then the lower edge back
        QColor Fill;
    };
    // Hands each curve of a picture layer, as chart values, to the visitor.
    using TCurveVisitor = std::function<void(const QPointF* points, int count)>;
    struct TPictureLayer {
        QColor Colour;
        std::function<void(const TCurveVisitor& visit)> Curves;
    };

    TCurveUnderlay(QChart* chart, QValueAxis* axisX, QValueAxis* axisY);

    // The picture's curves changed: it is made again at the next paint, each
    // layer's curves one pixel wide in its colour over the layers before it.
    void SetPicture(std::vector<TPictureLayer> layers);
    // The bands, then the curves, drawn over the picture, in order.
    void SetOverlay(std::vector<TBand> bands, std::vector<TCurve> curves);
    // How often the picture has been made; the window's tests and bench read it.
    int PicturesMade() const { return PictureCount; }
    const std::vector<TBand>& Bands() const { return FBands; }
    const std::vector<TCurve>& Curves() const { return FCurves; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    // From chart values to the chart's own coordinates.
    QTransform ValuesToChart() const;
    void MakePicture(const QRectF& plot, const QTransform& toChart, qreal pixelRatio);
    bool PictureOutdated(const QTransform& toChart, qreal pixelRatio) const;

    QChart* Chart;
    QValueAxis *AxisX, *AxisY;
    QRectF Plot;
    std::vector<TPictureLayer> Layers;
    bool PictureStale = false;
    QImage Picture;
    QRectF PicturePlot;
    QTransform PictureMapping;
    int PictureCount = 0;
    std::vector<TBand> FBands;
    std::vector<TCurve> FCurves;
};
