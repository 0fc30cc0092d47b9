// The recent list between runs: "Dic.ini" in the program folder, one name per
// line ending in CR LF, most recent first, at most 100 lines written.
#pragma once

#include <QString>
#include <QStringList>

namespace helicordia {

constexpr int RecentFileMaxEntries = 100;

// Every line of the file, in order; an empty list when the file is missing or
// unreadable. A last line without a line break counts like any other.
QStringList LoadRecentList(const QString &path);

// Replaces the file with the first 100 names. The file is written whole or
// not at all: a failed save leaves the previous file as it was. Returns false
// on failure, with the reason in `*error` when given.
bool SaveRecentList(const QString &path, const QStringList &names, QString *error = nullptr);

} // namespace helicordia
