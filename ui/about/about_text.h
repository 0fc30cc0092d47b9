// The About window's two texts: the title line and the usage notes. Built
// without widgets so that the exact characters can be checked.
#pragma once

#include <QString>
#include <QVersionNumber>

namespace helicordia::about {

// "<title> ver. <major>.<minor>.<revision>", numbers in plain decimal.
QString TitleLine(const QString &title, const QVersionNumber &version);

// The title, the version and the five usage notes, lines ending in CR LF;
// nothing follows the last note.
QString NotesText(const QString &title, const QVersionNumber &version);

} // namespace helicordia::about
