#include "untImages.h"

#include "jsUtils.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const int ImageSize = 24;
const QColor Ink(0x2b, 0x3a, 0x4a);
const QColor Accent(0x1f, 0x8a, 0x9e);
const QColor Paper(0xf6, 0xf8, 0xfa);

// The shape of a force curve over one drive, in a w x h box at (x, y).
QPainterPath CurvePath(qreal x, qreal y, qreal w, qreal h)
{
    QPainterPath path(QPointF(x, y + h));
    path.cubicTo(x + w * 0.25, y + h * 0.05, x + w * 0.45, y - h * 0.05, x + w * 0.6, y + h * 0.25);
    path.cubicTo(x + w * 0.75, y + h * 0.5, x + w * 0.85, y + h * 0.9, x + w, y + h);
    return path;
}

void Window(QPainter& p, const QRectF& r)
{
    p.setBrush(Paper);
    p.drawRoundedRect(r, 1.5, 1.5);
    p.fillRect(QRectF(r.left(), r.top(), r.width(), 3.5), Accent);
}

void DrawImage(QPainter& p, int index)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (index) {
    case imgCut:
        p.drawEllipse(QPointF(7, 18), 3, 3);
        p.drawEllipse(QPointF(17, 18), 3, 3);
        p.drawLine(QPointF(9, 15.5), QPointF(16, 3));
        p.drawLine(QPointF(15, 15.5), QPointF(8, 3));
        break;
    case imgCopy:
        p.setBrush(Paper);
        p.drawRect(QRectF(4, 3, 11, 14));
        p.drawRect(QRectF(9, 8, 11, 14));
        break;
    case imgPaste:
        p.setBrush(Paper);
        p.drawRoundedRect(QRectF(5, 4, 14, 17), 2, 2);
        p.setBrush(Accent);
        p.drawRect(QRectF(9, 2.5, 6, 4));
        break;
    case imgOpen: {
        QPainterPath folder(QPointF(3, 19));
        folder.lineTo(3, 6);
        folder.lineTo(9, 6);
        folder.lineTo(11, 8);
        folder.lineTo(19, 8);
        folder.lineTo(19, 11);
        p.setBrush(Paper);
        p.drawPath(folder);
        QPainterPath front(QPointF(3, 19));
        front.lineTo(7, 11);
        front.lineTo(22, 11);
        front.lineTo(18, 19);
        front.closeSubpath();
        p.setBrush(Accent);
        p.drawPath(front);
        break;
    }
    case imgClose:
        Window(p, QRectF(3, 4, 18, 16));
        p.setPen(QPen(Accent.darker(130), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9, 10), QPointF(15, 16));
        p.drawLine(QPointF(15, 10), QPointF(9, 16));
        break;
    case imgTileHorizontal:
        Window(p, QRectF(3, 3, 18, 8));
        Window(p, QRectF(3, 13, 18, 8));
        break;
    case imgTileVertical:
        Window(p, QRectF(3, 3, 8, 18));
        Window(p, QRectF(13, 3, 8, 18));
        break;
    case imgCascade:
        Window(p, QRectF(2, 2, 13, 11));
        Window(p, QRectF(6, 6, 13, 11));
        Window(p, QRectF(10, 10, 12, 11));
        break;
    case imgMaximize:
        Window(p, QRectF(3, 3, 18, 18));
        break;
    case imgTileMosaic:
        Window(p, QRectF(3, 3, 8, 8));
        Window(p, QRectF(13, 3, 8, 8));
        Window(p, QRectF(3, 13, 8, 8));
        Window(p, QRectF(13, 13, 8, 8));
        break;
    case imgWebsite:
        p.setBrush(Paper);
        p.drawEllipse(QPointF(12, 12), 9, 9);
        p.setPen(QPen(Accent, 1.4));
        p.drawEllipse(QPointF(12, 12), 4, 9);
        p.drawLine(QPointF(3, 12), QPointF(21, 12));
        p.drawLine(QPointF(12, 3), QPointF(12, 21));
        break;
    case imgExit:
        p.setBrush(Paper);
        p.drawRect(QRectF(4, 3, 10, 18));
        p.setPen(QPen(Accent, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(10, 12), QPointF(21, 12));
        p.drawLine(QPointF(17, 8), QPointF(21, 12));
        p.drawLine(QPointF(17, 16), QPointF(21, 12));
        break;
    case imgFind:
        p.setBrush(Paper);
        p.drawEllipse(QPointF(10, 10), 6, 6);
        p.setPen(QPen(Accent, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, 15), QPointF(21, 21));
        break;
    case imgForceCurves:
        p.drawLine(QPointF(3, 3), QPointF(3, 21));
        p.drawLine(QPointF(3, 21), QPointF(21, 21));
        p.setPen(QPen(Accent, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(CurvePath(4, 5, 17, 15));
        break;
    case imgDocument: {
        QPainterPath page(QPointF(5, 2));
        page.lineTo(14, 2);
        page.lineTo(19, 7);
        page.lineTo(19, 22);
        page.lineTo(5, 22);
        page.closeSubpath();
        p.setBrush(Paper);
        p.drawPath(page);
        p.setPen(QPen(Accent, 1.4));
        for (int y : {11, 14, 17}) p.drawLine(QPointF(8, y), QPointF(16, y));
        break;
    }
    default:
        break;
    }
}

bool HasImage(int index)
{
    switch (index) {
    case imgCut: case imgCopy: case imgPaste: case imgOpen: case imgClose: case imgTileHorizontal:
    case imgTileVertical: case imgCascade: case imgMaximize: case imgTileMosaic: case imgWebsite:
    case imgExit: case imgFind: case imgForceCurves: case imgDocument:
        return true;
    default:
        return false;
    }
}

QPixmap Render(int index, QIcon::Mode mode)
{
    QPixmap pixmap(ImageSize * 2, ImageSize * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    if (mode == QIcon::Disabled) painter.setOpacity(0.35);
    DrawImage(painter, index);
    return pixmap;
}

// The water under the curve: rows of small waves, on a light band if filled.
void DrawWater(QPainter& p, const QColor& accent, bool filled)
{
    QLinearGradient water(0, 120, 0, 220);
    water.setColorAt(0, QColor(0xe4, 0xf2, 0xf5));
    water.setColorAt(1, QColor(0xc9, 0xe4, 0xea));
    if (filled) p.fillRect(QRectF(0, 150, 420, 70), water);
    p.setPen(QPen(accent.lighter(150), 1.5));
    for (int x = 0; x < 420; x += 28) p.drawArc(QRectF(x, 158 + (x / 28 % 2) * 18, 22, 8), 0, 180 * 16);
}

} // namespace

QIcon MainImage(int index)
{
    if (!HasImage(index)) return QIcon();
    QIcon icon;
    icon.addPixmap(Render(index, QIcon::Normal), QIcon::Normal);
    icon.addPixmap(Render(index, QIcon::Disabled), QIcon::Disabled);
    return icon;
}

QIcon ProgramIcon()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Accent);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(CurvePath(10, 14, 44, 36));
    return QIcon(pixmap);
}

QPixmap SplashPicture()
{
    QPixmap pixmap(420, 220);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    DrawWater(p, Accent, true);
    p.setPen(QPen(Accent, 6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(CurvePath(40, 40, 150, 105));
    p.setPen(Ink);
    QFont title;
    title.setPixelSize(54);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(190, 40, 220, 70), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdString(ProductName()));
    QFont subtitle;
    subtitle.setPixelSize(15);
    p.setFont(subtitle);
    p.setPen(Ink.lighter(160));
    p.drawText(QRectF(192, 104, 220, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("rowing training viewer"));
    return pixmap;
}

QPixmap BackgroundPicture()
{
    // A quiet watermark for the empty client area, unlike the splash picture
    // that shows above it at start-up.
    QPixmap pixmap(420, 220);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(0.45);
    DrawWater(p, Accent, false);
    p.setPen(QPen(Accent.lighter(140), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(CurvePath(135, 30, 150, 115));
    return pixmap;
}
