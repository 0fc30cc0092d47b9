#include "catalogue/catalogue.h"

#include <QCoreApplication>

#include "catalogue/entrytext.h"
#include "catalogue/textcodec.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>

namespace helicordia {

namespace {

const QString kEmpty;

QString Quoted(const QString &path)
{
    return QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
}

void SetError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// Where the search anchors a needle: at its rarest character (by the counts
// of the text's ASCII characters), and where the needle has more than one, at
// a pair that starts there or, at the needle's end, ends there.
qsizetype SearchAnchor(const QString &needle, const std::vector<quint32> &counts)
{
    qsizetype anchor = 0;
    quint32 fewest = UINT32_MAX;
    for (qsizetype i = 0; i < needle.size(); ++i) {
        const char16_t c = needle[i].unicode();
        const quint32 count = c < 128 ? counts[c] : 0;
        if (count < fewest) {
            fewest = count;
            anchor = i;
        }
    }
    return needle.size() > 1 && anchor == needle.size() - 1 ? anchor - 1 : anchor;
}

// Where `first` followed by `second` next occurs in text[from, size), or -1.
// Eight places are tested at a time, in vector registers.
qsizetype FindPair(const char16_t *text, qsizetype size, qsizetype from, char16_t first, char16_t second)
{
    using Chars = std::uint16_t __attribute__((vector_size(16)));
    const Chars firsts = {first, first, first, first, first, first, first, first};
    const Chars seconds = {second, second, second, second, second, second, second, second};
    qsizetype i = from;
    for (; i + 9 <= size; i += 8) {
        Chars here, next;
        std::memcpy(&here, text + i, sizeof here);
        std::memcpy(&next, text + i + 1, sizeof next);
        const auto both = (here == firsts) & (next == seconds);
        std::uint64_t halves[2];
        std::memcpy(halves, &both, sizeof halves);
        if (halves[0])
            return i + std::countr_zero(halves[0]) / 16;
        if (halves[1])
            return i + 4 + std::countr_zero(halves[1]) / 16;
    }
    for (; i + 1 < size; ++i)
        if (text[i] == first && text[i + 1] == second)
            return i;
    return -1;
}

// Splits the stream into raw lines at CR LF, LF or a lone CR until `wanted`
// lines are found or the file ends. A last line without a line break counts;
// an empty file has no lines. Returns false on a read error.
// Stops with false after `limit` bytes, too.
template <typename Device> bool ReadRawLines(Device &file, int wanted, qint64 limit, std::vector<QByteArray> &lines)
{
    lines.clear();
    lines.reserve(static_cast<size_t>(std::min(wanted, Catalogue::ShippedLineCount)));
    QByteArray current;
    bool afterCR = false;
    qint64 total = 0;
    while (static_cast<int>(lines.size()) < wanted) {
        const QByteArray chunk = file.read(64 * 1024);
        total += chunk.size();
        if (total > limit)
            return false;
        if (chunk.isEmpty()) {
            if constexpr (std::is_same_v<Device, QFile>)
                if (file.error() != QFileDevice::NoError)
                    return false;
            break;
        }
        const char *data = chunk.constData();
        const qsizetype size = chunk.size();
        qsizetype start = 0;
        for (qsizetype i = 0; i < size && static_cast<int>(lines.size()) < wanted; ++i) {
            const char c = data[i];
            if (c != '\n' && c != '\r')
                continue;
            if (c == '\n' && afterCR && i == start && current.isEmpty()) {
                // The LF of a CR LF pair.
                afterCR = false;
                start = i + 1;
                continue;
            }
            current.append(data + start, i - start);
            lines.push_back(current);
            current.clear();
            afterCR = c == '\r';
            start = i + 1;
        }
        if (static_cast<int>(lines.size()) >= wanted)
            return true;
        if (start < size) {
            current.append(data + start, size - start);
            afterCR = false;
        }
    }
    if (static_cast<int>(lines.size()) < wanted && !current.isEmpty())
        lines.push_back(current);
    return true;
}

// Opens the catalogue after checking what it is: opening a pipe would wait
// for a writer, and a device or a huge file would be read without end.
bool OpenCatalogueFile(QFile &file, QString *error)
{
    const QString path = file.fileName();
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        SetError(
            error,
            QCoreApplication::translate("Catalogue", "The catalogue file %1 is not a regular file.").arg(Quoted(path)));
        return false;
    }
    if (info.exists() && info.size() > Catalogue::MaxFileBytes) {
        SetError(error, QCoreApplication::translate(
                            "Catalogue", "The catalogue file %1 is too large: %2 bytes, at most %3 are accepted.")
                            .arg(Quoted(path))
                            .arg(info.size())
                            .arg(Catalogue::MaxFileBytes));
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(error, QCoreApplication::translate("Catalogue", "The catalogue file %1 cannot be opened: %2.")
                            .arg(Quoted(path), file.errorString()));
        return false;
    }
    return true;
}

enum class Encoding { EightBit, Utf16LE, Utf16BE };

// UTF-16 shows by its byte order mark or, without one, by its zero bytes (the
// high bytes of Latin letters): on odd offsets little-endian, on even ones
// big-endian. A text in UTF-8 or an 8-bit code page has no zero bytes.
Encoding DetectEncoding(const QByteArray &start)
{
    if (start.startsWith("\xFF\xFE"))
        return Encoding::Utf16LE;
    if (start.startsWith("\xFE\xFF"))
        return Encoding::Utf16BE;
    qsizetype even = 0, odd = 0;
    for (qsizetype i = 0; i < start.size(); ++i)
        if (start[i] == '\0')
            ++(i % 2 ? odd : even);
    if (even + odd == 0)
        return Encoding::EightBit;
    return odd >= even ? Encoding::Utf16LE : Encoding::Utf16BE;
}

// Splits decoded text into lines as ReadRawLines splits bytes.
void SplitLines(QStringView text, int wanted, std::vector<QString> &lines)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size() && static_cast<int>(lines.size()) < wanted; ++i) {
        if (text[i] != u'\n' && text[i] != u'\r')
            continue;
        lines.push_back(text.sliced(start, i - start).toString());
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (static_cast<int>(lines.size()) < wanted && start < text.size())
        lines.push_back(text.sliced(start).toString());
}

// Lines of an 8-bit text decoded as one text: UTF-8 when every line is valid
// UTF-8 (a byte order mark at the start dropped), Windows-1250 otherwise.
// Returns whether it was UTF-8.
bool DecodeEightBit(const std::vector<QByteArray> &raw, std::vector<QString> &lines)
{
    const bool utf8 = std::all_of(raw.begin(), raw.end(), [](const QByteArray &line) { return IsValidUtf8(line); });
    for (const QByteArray &line : raw)
        lines.push_back(utf8 ? QString::fromUtf8(line) : DecodeWindows1250(line));
    if (utf8 && !lines.empty() && lines.front().startsWith(QChar(0xFEFF)))
        lines.front().remove(0, 1); // byte order mark
    return utf8;
}

QString ReadFailure(const QFile &file)
{
    return QCoreApplication::translate("Catalogue", "The catalogue file %1 cannot be read: %2.")
        .arg(Quoted(file.fileName()), file.error() != QFileDevice::NoError
                                          ? file.errorString()
                                          : QCoreApplication::translate("Catalogue", "it grew too large"));
}

// The first `wanted` lines, decoded: UTF-16 as such, otherwise UTF-8 when
// every needed line is valid UTF-8 (a byte order mark dropped), else
// Windows-1250.
bool ReadCatalogueLines(QFile &file, int wanted, std::vector<QString> &lines, QString *error)
{
    lines.reserve(static_cast<size_t>(wanted));
    if (const Encoding encoding = DetectEncoding(file.peek(4096)); encoding != Encoding::EightBit) {
        const QByteArray bytes = file.read(Catalogue::MaxFileBytes + 1);
        if (file.error() != QFileDevice::NoError || bytes.size() > Catalogue::MaxFileBytes) {
            SetError(error, ReadFailure(file));
            return false;
        }
        QStringDecoder decode(encoding == Encoding::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        SplitLines(QString(decode(bytes)), wanted, lines);
        return true;
    }
    std::vector<QByteArray> raw;
    if (!ReadRawLines(file, wanted, Catalogue::MaxFileBytes, raw)) {
        SetError(error, ReadFailure(file));
        return false;
    }
    // One decision for the whole file: UTF-8 when every line is valid UTF-8.
    DecodeEightBit(raw, lines);
    return true;
}

} // namespace

CatalogueText ReadCatalogueText(const QByteArray &bytes, int maxLines)
{
    CatalogueText result;
    // UTF-16 is read as the same text in UTF-8, so that it is cut into the
    // same lines.
    if (const Encoding encoding = DetectEncoding(bytes.left(4096)); encoding != Encoding::EightBit) {
        QStringDecoder decode(encoding == Encoding::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        result.fromUtf16 = QString(decode(bytes)).toUtf8();
    }
    QBuffer buffer;
    buffer.setData(result.fromUtf16.isNull() ? bytes : result.fromUtf16);
    buffer.open(QIODevice::ReadOnly);
    ReadRawLines(buffer, maxLines, buffer.size(), result.raw);
    result.utf8 = DecodeEightBit(result.raw, result.lines);
    return result;
}

QString FoldCase(QStringView text)
{
    QString out;
    out.resize(text.size());
    QChar *o = out.data();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            o[i] = QChar(char16_t(c >= u'A' && c <= u'Z' ? c + 32 : c));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(c, text[i + 1].unicode()));
            o[i] = QChar(QChar::highSurrogate(folded));
            o[i + 1] = QChar(QChar::lowSurrogate(folded));
            ++i;
        } else {
            o[i] = QChar(char16_t(QChar::toCaseFolded(char32_t(c))));
        }
    }
    return out;
}

Catalogue::Catalogue() : entries_(1), listTexts_(1), folded_(1), prepared_(1) {}

void Catalogue::resetTables(int count)
{
    // Fresh tables, so that a shorter file gives the room back.
    std::vector<QString>(static_cast<size_t>(count) + 1).swap(entries_);
    std::vector<QString>(static_cast<size_t>(count) + 1).swap(listTexts_);
    std::vector<QString>(static_cast<size_t>(count) + 1).swap(folded_);
    std::vector<quint8>(static_cast<size_t>(count) + 1).swap(prepared_);
    searchTextStale_ = true;
}

void Catalogue::setCatalogueLineCount(int count)
{
    lineCount_ = std::clamp(count, 0, MaxEntries);
}

const QString &Catalogue::entry(int n) const
{
    return n >= 1 && n <= stored() ? entries_[n] : kEmpty;
}

const QString &Catalogue::listText(int n) const
{
    if (n < 1 || n > stored())
        return kEmpty;
    if (!(prepared_[n] & ListTextMade)) {
        listTexts_[n] = FormatEntryText(entries_[n], n);
        prepared_[n] |= ListTextMade;
    }
    return listTexts_[n];
}

const QString &Catalogue::foldedEntry(int n) const
{
    if (n < 1 || n > stored())
        return kEmpty;
    if (searchTextStale_)
        buildSearchText();
    return folded_[n];
}

void Catalogue::setEntry(int n, const QString &line)
{
    if (n < 1 || n > MaxEntries)
        return;
    if (n > stored()) {
        const auto size = static_cast<size_t>(n) + 1;
        entries_.resize(size);
        listTexts_.resize(size);
        folded_.resize(size);
        prepared_.resize(size);
    }
    entries_[n] = line;
    listTexts_[n].clear();
    folded_[n].clear();
    prepared_[n] = 0;
    searchTextStale_ = true;
}

void Catalogue::buildSearchText() const
{
    const int count = stored();
    qsizetype total = 0;
    for (int n = 1; n <= count; ++n) {
        if (!(prepared_[n] & FoldedMade)) {
            folded_[n] = FoldCase(entries_[n]);
            prepared_[n] |= FoldedMade;
        }
        total += folded_[n].size() + 1;
    }
    searchText_.clear();
    searchText_.reserve(total);
    lineStarts_.assign(static_cast<size_t>(count) + 2, 0);
    asciiCounts_.assign(128, 0);
    for (int n = 1; n <= count; ++n) {
        lineStarts_[n] = searchText_.size();
        searchText_ += folded_[n];
        searchText_ += u'\n';
        for (QChar c : folded_[n])
            if (c.unicode() < 128)
                ++asciiCounts_[c.unicode()];
    }
    lineStarts_[count + 1] = searchText_.size();
    searchTextStale_ = false;
}

void Catalogue::findEntries(const QString &search, int last, std::vector<int> &found) const
{
    found.clear();
    // Entries past the table are empty and never found.
    last = std::clamp(last, 0, stored());
    if (search.isEmpty()) {
        for (int n = 1; n <= last; ++n)
            if (!entries_[n].isEmpty())
                found.push_back(n);
        return;
    }
    if (searchTextStale_)
        buildSearchText();

    const QString needle = FoldCase(search);
    const qsizetype length = needle.size();

    // Scan for the needle's rarest character (and the one after it, or
    // before it at the end: two in a row are much rarer), then compare the
    // whole needle around each hit; a hit must lie within one line.
    const qsizetype anchor = SearchAnchor(needle, asciiCounts_);
    const QStringView text = QStringView(searchText_).first(lineStarts_[last + 1]);
    const QChar *data = text.data();
    const auto next = [&](qsizetype from) {
        if (length == 1)
            return text.indexOf(needle[0], from);
        return FindPair(text.utf16(), text.size(), from, needle[anchor].unicode(), needle[anchor + 1].unicode());
    };

    int line = 1;
    qsizetype from = anchor;
    while (from < text.size()) {
        const qsizetype hit = next(from);
        if (hit < 0)
            break;
        const qsizetype start = hit - anchor;
        while (lineStarts_[line + 1] <= start)
            ++line;
        const qsizetype lineEnd = lineStarts_[line + 1] - 1; // the line feed
        if (start >= lineStarts_[line] && start + length <= lineEnd &&
            std::equal(data + start, data + start + length, needle.constData())) {
            found.push_back(line);
            if (line == last)
                break;
            ++line;
            from = lineStarts_[line] + anchor;
        } else {
            from = hit + 1;
        }
    }
}

bool Catalogue::LoadCatalogue(const QString &path, QString *error)
{
    const int wanted = lineCount_;
    QFile file(path);
    std::vector<QString> lines;
    if (!OpenCatalogueFile(file, error) || !ReadCatalogueLines(file, wanted, lines, error))
        return false;
    const int found = static_cast<int>(lines.size());
    if (found < wanted) {
        const QString foundText = QString::number(found), needed = QString::number(wanted);
        SetError(error, found == 0 ? QCoreApplication::translate(
                                         "Catalogue", "The catalogue file %1 is empty (0 lines); %2 lines are needed.")
                                         .arg(Quoted(path), needed)
                        : found == 1 ? QCoreApplication::translate(
                                           "Catalogue", "The catalogue file %1 has only 1 line; %2 lines are needed.")
                                           .arg(Quoted(path), needed)
                                     : QCoreApplication::translate(
                                           "Catalogue", "The catalogue file %1 has only %2 lines; %3 lines are needed.")
                                           .arg(Quoted(path), foundText, needed));
        return false;
    }
    resetTables(wanted);
    for (int n = 1; n <= wanted; ++n)
        entries_[n] = std::move(lines[n - 1]);
    SetError(error, QString());
    return true;
}

} // namespace helicordia
