// The main window's small pictures, drawn at start-up so they stay sharp.
// Minimise and close share the player window's pictures.
#pragma once

#include <QPixmap>

namespace helicordia::artwork {

QPixmap searchButton(int size); // magnifying glass
QPixmap playButton(int size);   // round play button
QPixmap helpButton(int size);   // round "?"

} // namespace helicordia::artwork
