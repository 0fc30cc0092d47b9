#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace helicordia {

// The catalogue of health problems: one entry per line of the catalogue file,
// entry N being line N (counted from 1). Filled once at start-up, read-only
// afterwards.
class Catalogue {
public:
    // Highest entry number the table can hold. The table holds as many
    // entries as were loaded (or set), not this many.
    static constexpr int MaxEntries = 28300;
    // Number of lines in the catalogue file that ships with the program.
    static constexpr int ShippedLineCount = 1553;
    // Largest catalogue file accepted, in bytes (64 MiB).
    static constexpr qint64 MaxFileBytes = qint64(64) * 1024 * 1024;

    Catalogue();

    // CatalogueLineCount: how many lines LoadCatalogue reads and the list
    // walks. Clamped to 0..MaxEntries.
    void setCatalogueLineCount(int count);
    int catalogueLineCount() const { return lineCount_; }

    // Reads exactly catalogueLineCount() lines of the file at `path` (line
    // breaks CR LF, LF or a lone CR; lines kept exactly as they are, lines
    // past the needed ones ignored). A file in UTF-16 (told by its byte order
    // mark or its zero bytes) is read as such; a file whose needed lines are
    // all valid UTF-8 is read as UTF-8 (a byte order mark at its start
    // dropped), any other as Windows-1250. Only a regular file of at most MaxFileBytes is
    // read. On failure the table is left as it was, `*error` (if given)
    // receives a message for the user that names the file and the problem,
    // and the result is false; on success `*error` is emptied.
    bool LoadCatalogue(const QString &path, QString *error);

    // Entry `n` as read from the file; empty outside 1..MaxEntries and for
    // entries that were not loaded.
    const QString &entry(int n) const;

    // The entry's list text (FormatEntryText of the entry and its number),
    // prepared the first time it is asked for: the list shows a screenful.
    const QString &listText(int n) const;

    // The entry with its case folded (see FoldCase), prepared for the
    // case-insensitive search with the first search.
    const QString &foldedEntry(int n) const;

    // Replaces one entry and its prepared texts; for building a catalogue in
    // memory (tests, measurements); the table grows to hold entry `n`.
    // Ignored outside 1..MaxEntries.
    void setEntry(int n, const QString &line);

    // Replaces `found` with the numbers, ascending, of the entries 1..`last`
    // whose line contains `search` with case ignored. The empty search finds
    // every entry whose line is not empty; an empty line is never found.
    void findEntries(const QString &search, int last, std::vector<int> &found) const;

private:
    void buildSearchText() const;
    // Highest entry number the tables have room for.
    int stored() const { return static_cast<int>(entries_.size()) - 1; }
    // Room for entries 1..count (slot 0 is never used), all empty.
    void resetTables(int count);

    int lineCount_ = ShippedLineCount;
    std::vector<QString> entries_;
    // Prepared texts, made when first needed; which ones are made is kept
    // in prepared_ (the flags below).
    enum : quint8 { ListTextMade = 1, FoldedMade = 2 };
    mutable std::vector<QString> listTexts_;
    mutable std::vector<QString> folded_;
    mutable std::vector<quint8> prepared_;

    // All folded entries in one block, each followed by a line feed, so that a
    // search is one scan over contiguous text. lineStarts_[n] is where entry n
    // begins; lineStarts_[stored() + 1] is the end of the block. Rebuilt on
    // demand after setEntry.
    mutable QString searchText_;
    mutable std::vector<qsizetype> lineStarts_;
    mutable std::vector<quint32> asciiCounts_; // how often each ASCII code occurs
    mutable bool searchTextStale_ = true;
};

// A text in the catalogue's format cut into lines and decoded as
// LoadCatalogue does it, for the other files in that format.
struct CatalogueText {
    std::vector<QByteArray> raw; // each line's bytes, without its line break
    std::vector<QString> lines;  // decoded (a UTF-8 byte order mark dropped)
    bool utf8 = true;            // false: read as Windows-1250
    QByteArray fromUtf16;        // a text in UTF-16: the same text in UTF-8, which `raw` is cut from
};
// Reads at most `maxLines` lines of `bytes`.
CatalogueText ReadCatalogueText(const QByteArray &bytes, int maxLines);

// Simple Unicode case folding, code point by code point: the same folding
// that QString's case-insensitive comparisons apply, so that
// FoldCase(a).contains(FoldCase(b)) equals a.contains(b, Qt::CaseInsensitive).
QString FoldCase(QStringView text);

} // namespace helicordia
