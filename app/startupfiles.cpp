#include "app/startupfiles.h"

#include "app/background.h"
#include "platform/application.h"
#include "platform/platform.h"

namespace helicordia {

StartupFilesAhead::StartupFilesAhead(const Platform &platform)
{
    // The paths are found here, on the main thread; the worker only reads.
    const QString picturePath = platform.dataFile(BackgroundFileName);
    const QString cataloguePath = platform.dataFile(CatalogueFileName);
    result_ = std::async(std::launch::async, [picturePath, cataloguePath] {
        StartupFiles files;
        files.pictureRead = LoadBackgroundPicture(picturePath, files.picture, &files.pictureError);
        files.catalogue.setCatalogueLineCount(Catalogue::ShippedLineCount);
        files.catalogueRead = files.catalogue.LoadCatalogue(cataloguePath, &files.catalogueError);
        return files;
    });
}

StartupFilesAhead::~StartupFilesAhead()
{
    if (result_.valid())
        result_.wait();
}

StartupFiles StartupFilesAhead::take()
{
    return result_.get();
}

} // namespace helicordia
