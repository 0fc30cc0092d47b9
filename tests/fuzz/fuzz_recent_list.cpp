// The recent-list reader on arbitrary files: every name it gives back is
// written and read again unchanged (up to the 100 that are kept).
#include "app/recentfile.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Dic.ini"));
    {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size)) != qint64(size))
            return 0;
    }
    const QStringList names = helicordia::LoadRecentList(path);
    for (const QString &name : names)
        if (name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('\r')))
            __builtin_trap();
    if (!helicordia::SaveRecentList(path, names))
        return 0;
    if (helicordia::LoadRecentList(path) != names.mid(0, helicordia::RecentFileMaxEntries))
        __builtin_trap();
    return 0;
}
