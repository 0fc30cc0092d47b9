// The history of the treatments played: one record for each, appended as a
// line of JSON to history.jsonl in the user's data folder and never
// rewritten, so that a crash loses at most the record being written. The
// file is read only when the history is shown; a line that cannot be read is
// skipped with a note. Qt Core only.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace helicordia {

inline constexpr char HistoryFileName[] = "history.jsonl";
// A longer line is not a record: it is skipped unread.
inline constexpr qsizetype MaxHistoryLineBytes = 1024 * 1024;

// How a treatment ended.
enum class TreatmentEnding {
    Completed,    // its length ran out
    Stopped,      // the user stopped it or closed the player
    ProgramEnded, // the program ended normally while it played
    Interrupted,  // the program did not end normally (a crash, a kill, a power cut)
};
inline constexpr int TreatmentEndingCount = 4;

struct HistoryRecord {
    QDateTime started; // local time, with its offset from UTC
    QString zone;      // the time zone's name then ("Europe/Bucharest")
    QString id;        // "42" for a catalogue entry, "+3" for the user's own treatment 3
    QString name;
    QString frequencies;    // the list as it played
    int plannedSeconds = 0; // the treatment length
    int heardSeconds = 0;   // the clock's seconds that sounded (not paused, not held)
    int pausedSeconds = 0;
    int heldSeconds = 0;
    TreatmentEnding ending = TreatmentEnding::Stopped;
    bool resumed = false; // it went on from where an interrupted one stopped

    bool own() const { return id.startsWith(QLatin1Char('+')); }
    bool operator==(const HistoryRecord &) const = default;
};

// The record as one line of the file, newline included.
QByteArray HistoryLine(const HistoryRecord &record);
// A line of the file (without its newline); nothing when it is not a record.
std::optional<HistoryRecord> ParseHistoryLine(const QByteArray &line);

// "completed" / "stopped" / "program ended" / "interrupted" as the file keeps them.
QString EndingKey(TreatmentEnding ending);
std::optional<TreatmentEnding> EndingOfKey(const QString &key);

class History {
    Q_DECLARE_TR_FUNCTIONS(History)
public:
    struct Read {
        std::vector<HistoryRecord> records; // in the file's order: oldest first
        QStringList notes;                  // lines skipped, or why the file could not be read
    };
    // Reads the whole history; a missing file is an empty history.
    static Read read(const QString &path);
    // Appends one record. A last line left without its end by a crash is
    // ended first, so that it does not swallow the new one. Returns an empty
    // string on success, else a sentence that names the file.
    static QString append(const QString &path, const HistoryRecord &record);

    // How the ending reads for the user.
    static QString endingText(TreatmentEnding ending);
    // The ending as the history's table shows it: "completed", or "completed, resumed".
    static QString endingCell(const HistoryRecord &record);
    // "1:05:20" or "5:20"
    static QString shortDuration(int seconds);
    // "40:00 of 3:00:00", with the paused and held time after it when there was some.
    static QString heardOfPlanned(const HistoryRecord &record);
    // "42 Name" or "+3 Name"
    static QString treatmentText(const HistoryRecord &record);
    // The start as "2026-12-07 21:16" in its own local time.
    static QString dateText(const HistoryRecord &record);
    // True when the search text (blanks aside, case ignored) is in the
    // record's date, treatment or ending.
    static bool matches(const HistoryRecord &record, const QString &search);

    // The records newest first, those of the last `days` days up to `today`
    // only when `days` is more than 0.
    static std::vector<HistoryRecord> newestFirst(std::vector<HistoryRecord> records, QDate today, int days);

    // Seconds heard on each of the `days` days that end with `today` (the
    // first is the earliest), split by ending, counted on the day each started.
    using DayTotals = std::array<int, TreatmentEndingCount>;
    static std::vector<DayTotals> heardPerDay(const std::vector<HistoryRecord> &records, QDate today, int days);

    // The records as comma-separated values with a heading line, for a spreadsheet.
    static QByteArray csv(const std::vector<HistoryRecord> &records);
    // The records as a table for a terminal, with a heading line.
    static QString table(const std::vector<HistoryRecord> &records);
};

} // namespace helicordia
