// The recent list between runs: "Dic.ini" in the program folder, one name per
// line ending in CR LF, most recent first, at most 100 lines written.
#pragma once

#include <QString>
#include <QStringList>

namespace helicordia {

constexpr int RecentFileMaxEntries = 100;
// No more than this is read of the file: a hundred names fit in far less.
constexpr qint64 RecentFileMaxReadBytes = qint64(4) * 1024 * 1024;

// The file's first 100 lines, in order (a last line without a line break
// counts like any other; the rest of the file is not read). An empty list
// when the file is missing or could not be read; then `*skipped`, when
// given, says which file was skipped and why (a file that is not a regular
// file, one that cannot be opened), and is empty for a missing file.
QStringList LoadRecentList(const QString &path, QString *skipped = nullptr);

// Replaces the file with the first 100 names. The file is written whole or
// not at all: a failed save leaves the previous file as it was. A link to a
// file is written through; a device, a FIFO or a folder is refused. Returns
// false on failure, with the reason (naming the file) in `*error` when given.
bool SaveRecentList(const QString &path, const QStringList &names, QString *error = nullptr);

} // namespace helicordia
