#include "ui/button_art.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QRadialGradient>

#include <algorithm>

namespace helicordia::buttonart {

namespace {

const QColor Steel(62, 104, 170);

QPixmap CaptionButton(QSize size, bool closeCross)
{
    // Painted at the screens' pixel ratio, so that it stays sharp on a scaled
    // display; the painting itself works in window pixels.
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pm(size * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(1, 1, size.width() - 2.0, size.height() - 2.0);
    Disc(p, r, closeCross ? QColor(196, 58, 58) : Steel);
    p.setPen(QPen(Qt::white, std::max(1.6, size.width() / 9.0), Qt::SolidLine, Qt::RoundCap));
    const double w = size.width();
    if (closeCross) {
        p.drawLine(QPointF(w * 0.33, w * 0.33), QPointF(w * 0.67, w * 0.67));
        p.drawLine(QPointF(w * 0.67, w * 0.33), QPointF(w * 0.33, w * 0.67));
    } else {
        p.drawLine(QPointF(w * 0.3, w * 0.62), QPointF(w * 0.7, w * 0.62));
    }
    return pm;
}

} // namespace

void Disc(QPainter &p, const QRectF &r, const QColor &base)
{
    QRadialGradient g(r.center() - QPointF(r.width() * 0.18, r.height() * 0.22), r.width() * 0.75);
    g.setColorAt(0.0, base.lighter(175));
    g.setColorAt(0.55, base);
    g.setColorAt(1.0, base.darker(150));
    p.setPen(QPen(base.darker(190), std::max(1.0, r.width() / 24.0)));
    p.setBrush(g);
    p.drawEllipse(r);
    // a soft highlight on the upper half
    QRectF shine(r.left() + r.width() * 0.2, r.top() + r.height() * 0.08, r.width() * 0.6, r.height() * 0.35);
    QLinearGradient sg(shine.topLeft(), shine.bottomLeft());
    sg.setColorAt(0.0, QColor(255, 255, 255, 150));
    sg.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sg);
    p.drawEllipse(shine);
}

QPixmap Minimise(QSize size)
{
    return CaptionButton(size, false);
}
QPixmap Close(QSize size)
{
    return CaptionButton(size, true);
}

} // namespace helicordia::buttonart
