// The main window's small pictures, drawn at start-up so they stay sharp.
#pragma once

#include <QPixmap>

namespace helicordia::artwork {

QPixmap searchButton(int size);   // magnifying glass
QPixmap playButton(int size);     // round play button
QPixmap helpButton(int size);     // round "?"
QPixmap minimiseButton(int size);
QPixmap closeButton(int size);

} // namespace helicordia::artwork
