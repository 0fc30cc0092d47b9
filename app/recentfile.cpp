#include "app/recentfile.h"

#include "catalogue/textcodec.h"

#include <QFile>
#include <QSaveFile>

namespace helicordia {

QStringList LoadRecentList(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
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
    QSaveFile file(path);
    auto fail = [&file, error] {
        if (error)
            *error = file.errorString();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    const qsizetype n = std::min<qsizetype>(names.size(), RecentFileMaxEntries);
    QByteArray bytes;
    for (qsizetype i = 0; i < n; ++i) {
        bytes += names.at(i).toUtf8();
        bytes += "\r\n";
    }
    if (file.write(bytes) != bytes.size()) {
        fail();
        file.cancelWriting();
        return false;
    }
    return file.commit() || fail();
}

} // namespace helicordia
