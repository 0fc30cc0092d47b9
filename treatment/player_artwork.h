// The player window's pictures, painted at start-up: the transport buttons in
// their normal and active looks, the volume warning sign, the home-page
// picture, the decorative strip and the
// background used when Background_5.jpg is missing.
#pragma once

#include <QPixmap>
#include <QSize>

namespace helicordia::playerart {

enum class Transport { Play, Pause, Stop, Skip, Hold };

QPixmap transportButton(Transport kind, bool active, QSize size);
QPixmap volumeWarning(QSize size);
QPixmap homePage(QSize size);
QPixmap decorativeStrip(QSize size);
QImage builtInBackground(QSize size);

} // namespace helicordia::playerart
