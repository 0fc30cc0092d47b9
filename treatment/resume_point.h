// Where a treatment stands while it plays, kept in resume.json in the user's
// data folder (written whole and atomically, at most every 5 seconds, and
// removed when the treatment ends in any normal way). A file still there at
// the next start belongs to a treatment that was cut short: it goes into the
// history as interrupted and can be resumed from where it stood. Qt Core only.
#pragma once

#include "catalogue/entrytext.h"
#include "treatment/history.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

namespace helicordia {

class TreatmentFinder;

inline constexpr char ResumeFileName[] = "resume.json";

enum class ResumePhase { Playing, Paused, Holding };

struct ResumePoint {
    QString id;          // "42", or "+3" for the user's own treatment 3
    QString name;        // as the player showed it, without blanks at its ends
    QString frequencies; // the list as it played
    int length = 0;      // the treatment length in seconds
    int elapsed = 0;     // the clock's second
    int index = 1;       // the frequency sounding, from 1
    int count = 0;       // how many frequencies
    ResumePhase phase = ResumePhase::Playing;
    // What the history record will say.
    QDateTime started;
    QString zone;
    int heard = 0, paused = 0, held = 0;
    bool resumed = false;
    // Who wrote it: a copy of the program that still runs is not interrupted.
    qint64 pid = 0;
    QString boot;
    bool recorded = false; // already in the history as interrupted

    HistoryRecord interruptedRecord() const;
    bool operator==(const ResumePoint &) const = default;
};

QByteArray ResumeJson(const ResumePoint &point);
// Nothing when the text is not a whole, sensible resume point.
std::optional<ResumePoint> ParseResumeJson(const QByteArray &json);

// This boot of the system ("" where it cannot be told), and whether the
// program that wrote a point (this program, in this boot) still runs.
QString CurrentBootId();
bool ResumeWriterRunning(qint64 pid, const QString &boot);

class ResumeFile {
    Q_DECLARE_TR_FUNCTIONS(ResumeFile)
public:
    explicit ResumeFile(QString path) : path_(std::move(path)) {}
    const QString &path() const { return path_; }

    // Writes the point atomically; an empty string on success.
    QString save(const ResumePoint &point) const;
    void remove() const;

    struct Found {
        std::optional<ResumePoint> point; // what can be resumed
        EntryRef entry;                   // the treatment it is, as listed now
        QString note;                     // why a file was dropped, or the history could not be written
    };
    // Looks for a treatment cut short. It goes into the history as
    // interrupted (once, however often the question is left unanswered). A
    // file that is damaged, names a treatment that no longer exists or has a
    // length the player does not allow is dropped with a note; one whose
    // writer still runs is left alone. The file stays until forget().
    using WriterRunning = std::function<bool(qint64 pid, const QString &boot)>;
    Found takeInterrupted(const TreatmentFinder &finder, const QString &historyPath,
                          const WriterRunning &running = ResumeWriterRunning) const;
    void forget() const { remove(); }

    // "Resume «name» at frequency k of n, mm:ss left?"
    static QString question(const ResumePoint &point);

private:
    QString path_;
};

} // namespace helicordia
