// Pictures both windows draw their round buttons with.
#pragma once

#include <QColor>
#include <QRectF>
#include <QSize>

class QPainter;
class QPixmap;

namespace helicordia::buttonart {

// A glossy disc in the given colour, the base of every round button.
void Disc(QPainter &p, const QRectF &r, const QColor &base);

// The minimise and close buttons of both windows.
QPixmap Minimise(QSize size);
QPixmap Close(QSize size);

} // namespace helicordia::buttonart
