// One way to find a treatment among the catalogue and the user's own: by its
// id ("42" for a catalogue entry, "+3" for the user's own treatment 3), by
// its exact name, or by a search text that lists one playable entry. The
// main window, the command line and whatever plays treatments by name share
// it. Qt Core only.
#pragma once

#include "catalogue/entrytext.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

namespace helicordia {

class Catalogue;
class OwnTreatments;

struct FoundTreatment {
    EntryRef entry;
    QString listText;    // as the list shows it
    QString name;        // the name part as the player shows it (EntryName of the list text)
    QString frequencies; // the frequency list, without blanks at its ends
    QString refusal;     // not empty: it cannot be played, and this is the message that says so
    bool playable() const { return refusal.isEmpty(); }
};

class TreatmentFinder {
    Q_DECLARE_TR_FUNCTIONS(TreatmentFinder)
public:
    explicit TreatmentFinder(const Catalogue &catalogue, const OwnTreatments *own = nullptr);

    // The entry `entry`, playable or not; nothing when there is no such
    // entry or its line is empty.
    std::optional<FoundTreatment> entry(EntryRef entry) const;
    // The entry with the id `id` as typed ("42", "0042", "+3").
    std::optional<FoundTreatment> byId(const QString &id) const;
    // The playable treatment named exactly `name` (blanks at either end
    // aside; case counts). When one of the user's own has a catalogue
    // entry's name, the user's own is found: it is their version of it.
    std::optional<FoundTreatment> byName(const QString &name) const;

    // What the command line makes of a text naming an entry: an id, or else
    // a search text (the window's search) that lists exactly one playable
    // entry, or several of which exactly one has the text as its name.
    struct Choice {
        int status = 0;                      // 0: found; 1: that entry cannot be played; 2: none, or several
        std::optional<FoundTreatment> found; // status 0 and 1
        QString message;                     // status 1 and 2
        QStringList matches;                 // status 2 after a search: the list texts found
    };
    Choice choose(const QString &text) const;

private:
    QString catalogueName(int n) const;

    const Catalogue &catalogue_;
    const OwnTreatments *own_;
};

} // namespace helicordia
