// The two files the main window needs before it can show, read on a worker
// thread while the windows are being built: the background picture and the
// catalogue. Only the reading moves; the main window still takes the results
// (and reports a failure) at the same steps of its start-up as before.
#pragma once

#include "catalogue/catalogue.h"

#include <QImage>
#include <QString>

#include <future>

namespace helicordia {

class Platform;

struct StartupFiles {
    bool pictureRead = false;
    QImage picture;
    QString pictureError;
    bool catalogueRead = false;
    Catalogue catalogue; // with Catalogue::ShippedLineCount lines
    QString catalogueError;
};

class StartupFilesAhead {
public:
    // Starts reading the files named by `platform` (its data files).
    explicit StartupFilesAhead(const Platform &platform);
    // Waits for the reading when nobody took it.
    ~StartupFilesAhead();

    // Waits for the reading and hands over what was read; only once.
    StartupFiles take();
    bool taken() const { return !result_.valid(); }

private:
    std::future<StartupFiles> result_;
};

} // namespace helicordia
