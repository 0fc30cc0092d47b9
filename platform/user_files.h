// The user's own files (own treatments, sessions, history, the recent list):
// read only when they are regular files of a sane size, replaced whole and
// atomically, or appended to one record at a time. Every failure comes back
// as a sentence that names the file and says why, ready for a message box.
#pragma once

#include <QByteArray>
#include <QString>

namespace helicordia {

struct FileRead {
    QByteArray bytes;
    bool missing = false;   // the file does not exist, nor perhaps its folder (not an error for the user's own files)
    bool truncated = false; // ReadRegularFileStart: the file goes on past `bytes`
    QString error;          // empty when the file was read (or is missing)
};

// Reads `path` when it is a regular file of at most `maxBytes` bytes. Opening
// never waits: a FIFO, a device or a folder is refused with a message, as is
// a larger file.
FileRead ReadRegularFile(const QString &path, qint64 maxBytes);

// The same, for a file of which only the start is wanted: a larger file gives
// its first `maxBytes` bytes, and `truncated` is set.
FileRead ReadRegularFileStart(const QString &path, qint64 maxBytes);

// Replaces `path` with `bytes`: the new content is written beside it and
// renamed over it, so a reader sees the old file or the new one, never a part.
// A link to a regular file is written through; a target that exists and is
// not a regular file (a device, a FIFO, a folder) is refused. The folder is
// created when missing. Returns an empty string on success.
QString WriteFileAtomically(const QString &path, const QByteArray &bytes);

// Appends `record` with a single write to `path` (created with mode 0600,
// its folder when missing), so that a crash loses at most the record being
// written. Refuses a target that is not a regular file. Returns an empty
// string on success.
QString AppendToFile(const QString &path, const QByteArray &record);

} // namespace helicordia
