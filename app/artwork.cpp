#include "app/artwork.h"

#include "ui/button_art.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

namespace helicordia::artwork {

namespace {

const QColor Ink(40, 52, 86);
const QColor Accent(58, 110, 196);

// Painted at the screens' pixel ratio, so that the pictures stay sharp on a
// scaled display; the painting itself works in window pixels.
QPixmap canvas(int size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QPixmap searchButton(int size)
{
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QRectF lens(s * 0.14, s * 0.12, s * 0.52, s * 0.52);
    p.setPen(QPen(Ink, s * 0.1, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(220, 232, 250, 200));
    p.drawEllipse(lens);
    p.setPen(QPen(Ink, s * 0.14, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.6, s * 0.58), QPointF(s * 0.84, s * 0.84));
    return pixmap;
}

QPixmap playButton(int size)
{
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    buttonart::Disc(p, QRectF(1.5, 1.5, s - 3, s - 3), QColor(46, 140, 90));
    QPainterPath triangle;
    triangle.moveTo(s * 0.4, s * 0.28);
    triangle.lineTo(s * 0.74, s * 0.5);
    triangle.lineTo(s * 0.4, s * 0.72);
    triangle.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(triangle);
    return pixmap;
}

QPixmap helpButton(int size)
{
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    buttonart::Disc(p, QRectF(0.5, 0.5, size - 1, size - 1), Accent);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(size * 3 / 4);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("?"));
    return pixmap;
}

} // namespace helicordia::artwork
