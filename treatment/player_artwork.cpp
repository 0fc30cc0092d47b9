#include "treatment/player_artwork.h"

#include <QCoreApplication>

#include "platform/application.h"
#include "ui/button_art.h"

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace helicordia::playerart {

namespace {

const QColor Navy(28, 44, 86);
const QColor Steel(62, 104, 170);
const QColor ActiveGlow(245, 166, 35);

// Painted at the screens' pixel ratio, so that the pictures stay sharp on a
// scaled display; the painting itself works in window pixels.
QPixmap blank(QSize size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pm(size * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    return pm;
}

void glyph(QPainter &p, Transport kind, const QRectF &r)
{
    const double w = r.width();
    const double x = r.left();
    const double y = r.top();
    const QColor ink(255, 255, 255);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    auto at = [&](double fx, double fy) { return QPointF(x + fx * w, y + fy * w); };
    switch (kind) {
    case Transport::Play: {
        const QPointF tri[3] = {at(0.38, 0.28), at(0.74, 0.5), at(0.38, 0.72)};
        p.drawPolygon(tri, 3);
        break;
    }
    case Transport::Pause:
        p.drawRoundedRect(QRectF(at(0.32, 0.29), at(0.45, 0.71)), w * 0.02, w * 0.02);
        p.drawRoundedRect(QRectF(at(0.55, 0.29), at(0.68, 0.71)), w * 0.02, w * 0.02);
        break;
    case Transport::Stop: p.drawRoundedRect(QRectF(at(0.31, 0.31), at(0.69, 0.69)), w * 0.03, w * 0.03); break;
    case Transport::Skip: {
        const QPointF a[3] = {at(0.26, 0.3), at(0.52, 0.5), at(0.26, 0.7)};
        const QPointF b[3] = {at(0.48, 0.3), at(0.74, 0.5), at(0.48, 0.7)};
        p.drawPolygon(a, 3);
        p.drawPolygon(b, 3);
        p.drawRect(QRectF(at(0.74, 0.3), at(0.8, 0.7)));
        break;
    }
    case Transport::Hold: {
        // a padlock: the held tone
        QPen shackle(ink, w * 0.07);
        p.setPen(shackle);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(at(0.37, 0.22), at(0.63, 0.52)), 0, 180 * 16);
        p.drawLine(at(0.37, 0.37), at(0.37, 0.46));
        p.drawLine(at(0.63, 0.37), at(0.63, 0.46));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(at(0.3, 0.45), at(0.7, 0.76)), w * 0.04, w * 0.04);
        break;
    }
    }
}

} // namespace

QPixmap transportButton(Transport kind, bool active, QSize size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(1.5, 1.5, size.width() - 3.0, size.height() - 3.0);
    if (active) {
        QRadialGradient halo(r.center(), r.width() / 2 + 1);
        halo.setColorAt(0.8, QColor(ActiveGlow.red(), ActiveGlow.green(), ActiveGlow.blue(), 160));
        halo.setColorAt(1.0, QColor(ActiveGlow.red(), ActiveGlow.green(), ActiveGlow.blue(), 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(QRectF(0, 0, size.width(), size.height()));
        buttonart::Disc(p, r.adjusted(1, 1, -1, -1), QColor(226, 120, 20));
    } else {
        buttonart::Disc(p, r.adjusted(1, 1, -1, -1), Steel);
    }
    glyph(p, kind, r);
    return pm;
}

QPixmap volumeWarning(QSize size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    QPainterPath tri;
    tri.moveTo(w / 2, 2);
    tri.lineTo(w - 2, h - 3);
    tri.lineTo(2, h - 3);
    tri.closeSubpath();
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(255, 226, 80));
    g.setColorAt(1, QColor(240, 170, 20));
    p.setPen(QPen(QColor(120, 60, 0), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(tri);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 20, 0));
    p.drawRoundedRect(QRectF(w / 2 - w * 0.055, h * 0.32, w * 0.11, h * 0.34), 1.5, 1.5);
    p.drawEllipse(QPointF(w / 2, h * 0.76), w * 0.065, w * 0.065);
    return pm;
}

QPixmap homePage(QSize size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    QRectF card(2, 2, w - 4, h - 4);
    QLinearGradient g(card.topLeft(), card.bottomRight());
    g.setColorAt(0, QColor(70, 120, 200));
    g.setColorAt(1, QColor(24, 44, 100));
    p.setPen(QPen(QColor(255, 255, 255, 180), 1.5));
    p.setBrush(g);
    p.drawRoundedRect(card, 10, 10);
    // a globe
    const QPointF c(w / 2, h * 0.36);
    const double r = w * 0.3;
    p.setPen(QPen(QColor(230, 240, 255), 2));
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawEllipse(c, r, r);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r * 0.45, r);
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
    p.drawArc(QRectF(c.x() - r * 0.92, c.y() - r * 0.75, r * 1.84, r * 0.6), 0, 180 * 16);
    p.drawArc(QRectF(c.x() - r * 0.92, c.y() + r * 0.15, r * 1.84, r * 0.6), 180 * 16, 180 * 16);
    // sine wave under it
    QPainterPath wave;
    const double wy = h * 0.7;
    for (int i = 0; i <= 60; ++i) {
        const double x = w * 0.14 + (w * 0.72) * i / 60.0;
        const double y = wy + std::sin(i / 60.0 * 4 * M_PI) * h * 0.035;
        if (i == 0)
            wave.moveTo(x, y);
        else
            wave.lineTo(x, y);
    }
    p.setPen(QPen(QColor(255, 200, 90), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(wave);
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(int(h * 0.085));
    p.setFont(f);
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRectF(0, h * 0.78, w, h * 0.16), Qt::AlignCenter,
               QCoreApplication::translate("helicordia::Player", "Visit us"));
    return pm;
}

QPixmap decorativeStrip(QSize size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    QLinearGradient g(0, 0, w, 0);
    g.setColorAt(0.0, QColor(Steel.red(), Steel.green(), Steel.blue(), 0));
    g.setColorAt(0.15, Steel);
    g.setColorAt(0.85, Steel);
    g.setColorAt(1.0, QColor(Steel.red(), Steel.green(), Steel.blue(), 0));
    p.setPen(QPen(QBrush(g), 1.2));
    QPainterPath wave;
    for (int i = 0; i <= int(w); i += 2) {
        const double envelope = std::sin(M_PI * i / w);
        const double y = h / 2 + std::sin(i / 9.0) * (h / 2 - 2) * envelope;
        if (i == 0)
            wave.moveTo(i, y);
        else
            wave.lineTo(i, y);
    }
    p.drawPath(wave);
    p.setPen(QPen(QBrush(g), 1));
    p.drawLine(QPointF(0, h / 2), QPointF(w, h / 2));
    return pm;
}

QImage builtInBackground(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0.0, QColor(232, 240, 252));
    g.setColorAt(0.6, QColor(204, 220, 243));
    g.setColorAt(1.0, QColor(176, 198, 232));
    p.fillRect(img.rect(), g);
    // faint concentric sound waves from the lower left
    for (int i = 1; i <= 9; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 70 - i * 5), 2));
        p.setBrush(Qt::NoBrush);
        const double r = i * w * 0.09;
        p.drawEllipse(QPointF(w * 0.08, h * 0.78), r, r);
    }
    // a title band across the top
    QLinearGradient band(0, 0, w, 0);
    band.setColorAt(0.0, Navy);
    band.setColorAt(1.0, Steel);
    p.fillRect(QRectF(0, 0, w, 26), band);
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(15);
    p.setFont(f);
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRectF(24, 0, w - 120, 26), Qt::AlignVCenter | Qt::AlignLeft, ApplicationTitle);
    return img;
}

} // namespace helicordia::playerart
