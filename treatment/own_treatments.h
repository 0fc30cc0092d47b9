// The user's own treatments: the file my-treatments.txt in the user's data
// folder, one treatment per line in the catalogue's format, read by the
// catalogue's own line reader. A line that cannot be played is listed (with
// the reason) and kept in the file byte for byte. Every change replaces the
// file at once, atomically, and is kept in memory only when it was saved, so
// that what is listed is always what the file holds. (A file in UTF-16, which
// the catalogue's reader also reads, is written back in UTF-8.) Qt Core only.
#pragma once

#include "catalogue/catalogue.h"
#include "catalogue/cataloguelistmodel.h"
#include "treatment/treatment_check.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace helicordia {

inline constexpr char OwnTreatmentsFileName[] = "my-treatments.txt";

class OwnTreatments : public OwnEntryList {
    Q_DECLARE_TR_FUNCTIONS(OwnTreatments)
public:
    // A larger file is refused.
    static constexpr qint64 MaxFileBytes = qint64(16) * 1024 * 1024;
    // Lines past this many are not listed, but kept in the file as they are.
    static constexpr int MaxLines = Catalogue::MaxEntries;

    explicit OwnTreatments(double outputRate = TreatmentCheck::OutputRate);

    // Reads the file at `path`, where every later change is saved; a missing
    // file is an empty list. Returns a message for the user, naming the file,
    // when it could not be read (then the list is empty and every change is
    // refused, so that the file is never overwritten) or not all of it is
    // listed; empty otherwise.
    QString load(const QString &path);
    const QString &path() const { return path_; }
    // Lists the lines of `bytes` as load() lists a file's (the file itself
    // neither read nor written).
    void takeLines(const QByteArray &bytes);

    int count() const { return static_cast<int>(lines_.size()); }
    // Line `n` (from 1) as read; empty outside 1..count().
    QString line(int n) const;
    // The name: the text before the first " - ", without blanks at its ends
    // (the whole line when there is none).
    QString name(int n) const;
    QString frequencies(int n) const;
    // Why line `n` cannot be played; empty when it can.
    QString problem(int n) const;
    bool playable(int n) const { return n >= 1 && n <= count() && problem(n).isEmpty(); }
    // The first line whose name is exactly `name` (blanks at its ends aside)
    // and which is not `except`; 0 when there is none.
    int findName(const QString &name, int except = 0) const;

    // Changes. Each saves the file and returns an empty string, or leaves
    // everything as it was and returns the message for the user (the file
    // and the reason).
    QString add(const QStringList &newLines);
    // Line `n` becomes `text`; when `remove` names another line, that one
    // goes in the same save (an edit that takes over another's name).
    QString replace(int n, const QString &text, int remove = 0);
    QString remove(int n);
    // Puts the line removed last back where it was; *number (if given)
    // receives its number.
    QString undoRemove(int *number = nullptr);
    bool canUndoRemove() const { return removed_.has_value(); }

    // The file as it would be written now.
    QByteArray fileBytes() const;

    // OwnEntryList
    void findOwnEntries(const QString &search, std::vector<int> &found) const override;
    QString ownListText(int number) const override;
    bool ownPlayable(int number) const override { return playable(number); }

private:
    struct Line {
        QByteArray raw;       // as in the file, without its line break (or byte order mark)
        QByteArray lineBreak; // "\n", "\r\n", "\r", or nothing after the last line
        QString text;
        mutable QString folded; // for the search, made when first needed
        mutable std::optional<QString> problem;
    };
    Line makeLine(const QString &text, const QByteArray &lineBreak) const;
    // Saves `lines` and, when that worked, makes them the list.
    QString commit(std::vector<Line> lines);
    QByteArray bytesOf(const std::vector<Line> &lines) const;
    QString refused() const;

    double outputRate_;
    QString path_;
    QString readError_; // the file could not be read: nothing is written to it
    bool utf8_ = true;
    QByteArray byteOrderMark_;
    QByteArray tail_; // the part of the file past MaxLines lines
    std::vector<Line> lines_;
    std::optional<std::pair<int, Line>> removed_;
};

} // namespace helicordia
