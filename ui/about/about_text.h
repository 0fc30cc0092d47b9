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

// A text as the window shows it: control characters other than line breaks
// and tabs are stray (one follows 'hits' in the notes) and are left out, as
// no reader could see them as meant; a box in their place would only puzzle.
QString ShownText(const QString &text);

} // namespace helicordia::about
