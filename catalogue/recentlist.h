#pragma once

#include <QString>
#include <QStringList>

namespace helicordia {

// Puts `name` at the top of the recent list (position 0 is the newest):
// a name shorter than two characters is ignored; a top item equal to the name
// without its last character (case counts) is replaced; every item equal to
// the name when case is ignored is removed before the name is inserted.
void AddRecent(QStringList &recent, const QString &name);

} // namespace helicordia
