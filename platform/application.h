// The program's name and the files it keeps in its folder.
#pragma once

#include <QString>

namespace helicordia {

// The application's title: the caption of message boxes and windows.
inline const QString ApplicationTitle = QStringLiteral("Helicordia");

// The files in the program folder.
inline const QString CatalogueFileName = QStringLiteral("db.db");
inline const QString BackgroundFileName = QStringLiteral("Background_5.jpg");
inline const QString RecentListFileName = QStringLiteral("Dic.ini");

} // namespace helicordia
