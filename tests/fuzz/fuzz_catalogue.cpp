// Catalogue reader and search on arbitrary files: the first byte picks how
// many lines are wanted, the next bytes up to the first NUL are the search,
// the rest is the file.
#include "catalogue/catalogue.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    static helicordia::Catalogue catalogue;
    if (size < 1)
        return 0;
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const int wanted = static_cast<unsigned char>(input[0]) % 64;
    const qsizetype nul = input.indexOf('\0', 1);
    const QByteArray search = nul < 0 ? QByteArray() : input.mid(1, nul - 1);
    const QByteArray file = nul < 0 ? input.mid(1) : input.mid(nul + 1);

    const QString path = dir.filePath(QStringLiteral("db.db"));
    {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
            return 0;
    }
    catalogue.setCatalogueLineCount(wanted);
    QString error;
    const bool loaded = catalogue.LoadCatalogue(path, &error);
    if (loaded != error.isEmpty())
        __builtin_trap(); // a failure always says why, a success never does

    std::vector<int> found;
    const QString needle = QString::fromUtf8(search);
    catalogue.findEntries(needle, wanted, found);
    for (std::size_t i = 0; i < found.size(); ++i) {
        const int n = found[i];
        if (n < 1 || n > wanted || (i > 0 && found[i - 1] >= n))
            __builtin_trap();
        if (!needle.isEmpty() && !catalogue.entry(n).contains(needle, Qt::CaseInsensitive))
            __builtin_trap();
    }
    return 0;
}
