// The background picture the main window is painted with.
#pragma once

#include <QImage>
#include <QString>

namespace helicordia {

// Reads the picture at `path`. On failure `*error` receives the sentence for
// the user, which names the file and says whether it was missing or unreadable
// or too large for the picture reader to accept.
bool LoadBackgroundPicture(const QString &path, QImage &picture, QString *error);

} // namespace helicordia
