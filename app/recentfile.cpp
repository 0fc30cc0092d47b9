#include "app/recentfile.h"

#include "catalogue/textcodec.h"
#include "platform/user_files.h"

namespace helicordia {

namespace {

// The bytes of the first `lines` lines (line breaks CR LF, LF or a lone CR).
// Of a file that was cut short, a last line without its break is dropped: it
// may be cut too.
QByteArray FirstLines(const QByteArray &bytes, int lines, bool cutShort)
{
    int ended = 0;
    qsizetype lastEnd = 0;
    for (qsizetype i = 0; i < bytes.size() && ended < lines; ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r')
            continue;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        ++ended;
        lastEnd = i + 1;
    }
    return ended == lines || cutShort ? bytes.left(lastEnd) : bytes;
}

} // namespace

QStringList LoadRecentList(const QString &path, QString *skipped)
{
    const FileRead read = ReadRegularFileStart(path, RecentFileMaxReadBytes);
    if (skipped)
        *skipped = read.error;
    if (!read.error.isEmpty() || read.missing)
        return {};
    const QByteArray bytes = FirstLines(read.bytes, RecentFileMaxEntries, read.truncated);
    QString text = IsValidUtf8(bytes) ? QString::fromUtf8(bytes) : DecodeWindows1250(bytes);
    if (text.isEmpty())
        return {};
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    return lines;
}

bool SaveRecentList(const QString &path, const QStringList &names, QString *error)
{
    const qsizetype n = std::min<qsizetype>(names.size(), RecentFileMaxEntries);
    QByteArray bytes;
    for (qsizetype i = 0; i < n; ++i) {
        bytes += names.at(i).toUtf8();
        bytes += "\r\n";
    }
    const QString why = WriteFileAtomically(path, bytes);
    if (error)
        *error = why;
    return why.isEmpty();
}

} // namespace helicordia
