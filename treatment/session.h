// A session: an ordered list of treatments (catalogue entries and the user's
// own, found again by their exact names), each with its own length, and a
// repeat count for the whole list. It is kept as a small UTF-8 text file
// (".hsession"):
//
//     repeat 2
//     Insomnia<TAB>00:09:00
//     My evening set<TAB>00:12:30
//
// A row whose name is not found any more is kept as it is, shown as missing
// and passed over when the session plays. Qt Core only.
#pragma once

#include "treatment/frequency_program.h"
#include "treatment/session_schedule.h"
#include "treatment/treatment_finder.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace helicordia {

// The file the last session is kept in, in the user's data folder.
inline constexpr char LastSessionFileName[] = "last.hsession";
inline constexpr char SessionFileSuffix[] = "hsession";

// "hh:mm:ss" of a number of seconds (hours get as many digits as they need).
QString SessionLengthText(int seconds);
// Reads "hh:mm:ss" (or "mm:ss"); nothing for any other text.
std::optional<int> ParseSessionLength(const QString &text);

// The length a treatment of `frequencyCount` frequencies plays for
// `lengthSeconds` (0: the length its player suggests): within the range of
// the player's length slider.
int SessionTreatmentLength(int frequencyCount, int lengthSeconds);

struct SessionRow {
    QString name;
    int lengthSeconds = 0; // 0: the length the player suggests
    bool operator==(const SessionRow &) const = default;
};

class Session {
    Q_DECLARE_TR_FUNCTIONS(Session)
public:
    static constexpr qint64 MaxFileBytes = 1024 * 1024;

    std::vector<SessionRow> rows;
    int repeat = 1;

    bool operator==(const Session &) const = default;

    // The file's text.
    QByteArray fileBytes() const;
    // Reads a file's text. Lines that cannot be read are reported in
    // `problems` (one sentence each, naming the line) and read as well as
    // they can: a length that is not a duration becomes the suggested one.
    static Session fromFile(const QByteArray &bytes, QStringList *problems = nullptr);

    // Editing, by row index from 0; out-of-range indexes change nothing.
    void add(const QString &name, int lengthSeconds);
    void remove(int row);
    // Moves a row one place up (-1) or down (+1); false when it cannot.
    bool move(int row, int step);
};

// One row of a session as it plays: its treatment as found, or not.
struct SessionTreatment {
    QString name; // as the row has it
    std::optional<FoundTreatment> found;
    FrequencyTable frequencies{};
    int frequencyCount = 0;
    int lengthSeconds = 0; // as played: within the player's slider range
    bool playable() const { return found && found->playable(); }
};

// A session resolved against the catalogue and the user's own treatments:
// what each row plays, and when.
class SessionPlan {
    Q_DECLARE_TR_FUNCTIONS(SessionPlan)
public:
    SessionPlan() : schedule_({}, 1) {}
    SessionPlan(const Session &session, const TreatmentFinder &finder);

    const std::vector<SessionTreatment> &rows() const { return rows_; }
    const SessionSchedule &schedule() const { return schedule_; }
    // The treatment that part `part` of the schedule plays.
    const SessionTreatment &treatmentOf(int part) const;
    bool isEmpty() const { return schedule_.parts().empty(); }
    // The message that names the rows passed over; empty when none is.
    QString missingMessage() const;
    // "treatment 2 of 3, round 1 of 2" for a part of the schedule.
    QString placeText(int part) const;

private:
    std::vector<SessionTreatment> rows_;
    SessionSchedule schedule_;
};

} // namespace helicordia
