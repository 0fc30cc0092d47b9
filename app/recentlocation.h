// Where the recent list (Dic.ini) is kept between runs.
#pragma once

#include <QString>
#include <functional>

namespace helicordia {

class Platform;

// The Dic.ini to read at start-up and to write at exit. It is the one in the
// program folder when that folder (and the file, if it exists) can be written
// and the program is not `installed` (an installed program keeps every
// user's list in their own folder, whoever runs it, root included, so that
// nothing is written among the installed files). Otherwise it is the one in
// `userDataFolder`, which is created if needed;
// when that file does not exist yet, it starts as a copy of the program
// folder's Dic.ini, if there is one. Returns the path even when the user's
// folder could not be prepared: the save at exit then reports why.
// `canWrite` answers for a folder or file (the real one asks the system).
QString RecentFilePath(const QString &programFolder, const QString &userDataFolder, bool installed,
                       const std::function<bool(const QString &)> &canWrite);

// The same, for the running program: its folder, whether it is installed,
// and the user's data folder, as `platform` gives them.
QString RecentFilePath(const Platform &platform);

} // namespace helicordia
