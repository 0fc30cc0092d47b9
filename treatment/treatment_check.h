// The checks a treatment of the user's own goes through, in plain words: the
// editor shows them while the user types, --add and the import apply them,
// and the list says why a line of the user's file cannot be played. They
// read the frequencies exactly as the player does (CheckFrequencyList).
#pragma once

#include "engine/tone.h"
#include "treatment/frequency_program.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace helicordia {

class TreatmentCheck {
    Q_DECLARE_TR_FUNCTIONS(TreatmentCheck)
public:
    // The sound output's rate, whose half no tone reaches.
    static constexpr double OutputRate = TONE_SAMPLE_RATE;

    // Checks a name and a frequency list as typed.
    TreatmentCheck(const QString &name, const QString &frequencies, double outputRate = OutputRate);

    // What keeps the treatment from being saved (a wrong name, nothing that
    // plays), one sentence each; empty when it can be saved.
    const QStringList &problems() const { return problems_; }
    // What the user may want to know (pieces that are not numbers, silent,
    // low, high, divided, past the hundredth), one sentence each.
    const QStringList &warnings() const { return warnings_; }
    // How many frequencies will play and how long the treatment lasts; empty
    // when no frequency is given.
    const QString &summary() const { return summary_; }
    const FrequencyListCheck &list() const { return list_; }
    bool canSave() const { return problems_.isEmpty(); }

    // The line the treatment is saved as: "name - frequencies", without
    // blanks at the ends of either.
    QString line() const { return line_; }

    // Why a line of the user's file cannot be played; empty when it can.
    static QString LineProblem(const QString &line, double outputRate = OutputRate);

    // The sentence for one piece, e.g. "piece 3, «44o», is not a number".
    static QString PieceRemark(const PieceCheck &piece);

private:
    void checkName(const QString &name, const QString &frequencies);

    QString line_;
    FrequencyListCheck list_;
    QStringList problems_;
    QStringList warnings_;
    QString summary_;
};

} // namespace helicordia
