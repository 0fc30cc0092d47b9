#include "app/background.h"

#include <QCoreApplication>

#include <QDir>
#include <QImageReader>

namespace helicordia {

bool LoadBackgroundPicture(const QString &path, QImage &picture, QString *error)
{
    QImageReader reader(path);
    const QSize size = reader.size(); // from the header, before any pixel is decoded
    QImage image;
    if (reader.read(&image)) {
        picture = image;
        return true;
    }
    if (!error)
        return false;
    const QString file = QDir::toNativeSeparators(path);
    // The reader refuses pictures whose pixels would need more memory than
    // its allocation limit (in MiB), at four bytes a pixel.
    const double bytes = 4.0 * size.width() * size.height();
    const int limit = QImageReader::allocationLimit();
    if (size.isValid() && limit > 0 && bytes > double(limit) * 1024 * 1024) {
        *error = QCoreApplication::translate(
                     "Background", "Helicordia cannot start: the background picture \"%1\" is too large to load "
                                   "(%2 × %3 pixels; at most %4 MB of picture data is accepted).")
                     .arg(file)
                     .arg(size.width())
                     .arg(size.height())
                     .arg(limit);
    } else {
        *error = QCoreApplication::translate(
                     "Background", "Helicordia cannot start: the background picture \"%1\" is missing or is not a "
                                   "readable JPEG picture.")
                     .arg(file);
    }
    return false;
}

} // namespace helicordia
