#include "treatment/treatment_check.h"

#include "catalogue/entrytext.h"

#include <cmath>

namespace helicordia {

namespace {

QString Hertz(float hertz)
{
    return QString::number(double(std::fabs(hertz)), 'g', 6);
}

bool HasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

} // namespace

TreatmentCheck::TreatmentCheck(const QString &name, const QString &frequencies, double outputRate)
    : line_(name.trimmed() + EntrySeparator.toString() + frequencies.trimmed()),
      list_(CheckFrequencyList(frequencies.trimmed(), outputRate))
{
    checkName(name, frequencies);
    if (HasLineBreak(frequencies))
        problems_ << tr("The frequencies must be on one line, separated by commas.");
    const bool noFrequencies = frequencies.trimmed().isEmpty();
    if (noFrequencies)
        problems_ << tr("Give at least one frequency in hertz; separate them with commas.");
    else if (list_.sounding == 0)
        problems_ << (list_.remarks.empty()
                          ? tr("No frequency will be heard: give at least one above 0 Hz and below %1 Hz.")
                                .arg(outputRate / 2)
                          : tr("No frequency will be heard; %1").arg(PieceRemark(list_.remarks.front())));

    if (noFrequencies)
        return;
    const int seconds = SuggestedDuration(list_.counted);
    if (list_.sounding == list_.counted)
        summary_ =
            list_.counted == 1 ? tr("1 frequency will play") : tr("%n frequencies will play", nullptr, list_.counted);
    else
        summary_ = list_.counted == 1
                       ? tr("1 frequency, which will not be heard")
                       : tr("%n frequencies, of which %1 will be heard", nullptr, list_.counted).arg(list_.sounding);
    summary_ += tr("; the treatment lasts %1 at its suggested length.").arg(AfiseazaTimp(seconds));

    for (const PieceCheck &piece : list_.remarks)
        warnings_ << PieceRemark(piece);
    if (list_.pieces > MaxFrequencies)
        warnings_ << tr("The list has %1 frequencies: only the first %2 play.").arg(list_.pieces).arg(MaxFrequencies);
}

void TreatmentCheck::checkName(const QString &name, const QString &frequencies)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) {
        problems_ << tr("Give the treatment a name.");
        return;
    }
    if (HasLineBreak(name)) {
        problems_ << tr("The name must be on one line.");
        return;
    }
    // The saved line must read back as this name and these frequencies.
    const qsizetype separator = FindEntrySeparator(line_);
    if (separator != trimmed.size() || EntryFrequencies(line_) != frequencies.trimmed())
        problems_ << tr("The name must not contain \" - \" (space, hyphen, space) or end in \" -\": "
                        "it separates the name from the frequencies.");
}

QString TreatmentCheck::PieceRemark(const PieceCheck &piece)
{
    const QString at = piece.text.isEmpty() ? tr("piece %1").arg(piece.position)
                                            : tr("piece %1, «%2»,").arg(piece.position).arg(piece.text);
    const QString divided = piece.divided ? tr(" (values above 20000 are divided by 20.0855)") : QString();
    switch (piece.kind) {
    case PieceKind::Unreadable:
        if (piece.text.isEmpty())
            return tr("%1 is empty: it is silent.").arg(at);
        return piece.plays ? tr("%1 is not a number: it plays as %2 Hz.").arg(at, Hertz(piece.hertz))
                           : tr("%1 is not a number: it is silent.").arg(at);
    case PieceKind::Silent:
        return piece.hertz == 0.0f ? tr("%1 is silent (0 Hz).").arg(at)
                                   : tr("%1 is silent: %2 Hz is at or above half the output rate%3.")
                                         .arg(at, Hertz(piece.hertz), divided);
    case PieceKind::Low: return tr("%1 is below 20 Hz: most speakers and headphones reproduce little there.").arg(at);
    case PieceKind::High:
        return tr("%1 plays at %2 Hz, above 16 kHz: many adults hear nothing there%3.")
            .arg(at, Hertz(piece.hertz), divided);
    case PieceKind::Number: break;
    }
    return tr("%1 plays as %2 Hz%3.").arg(at, Hertz(piece.hertz), divided);
}

QString TreatmentCheck::LineProblem(const QString &line, double outputRate)
{
    if (FindEntrySeparator(line) < 0)
        return tr("It cannot be played: it has no \" - \" between a name and its frequencies.");
    const FrequencyListCheck list = CheckFrequencyList(EntryFrequencies(line), outputRate);
    if (list.sounding > 0)
        return QString();
    if (list.remarks.empty())
        return tr("It cannot be played: no frequency in it will be heard.");
    return tr("It cannot be played: no frequency in it will be heard; %1").arg(PieceRemark(list.remarks.front()));
}

} // namespace helicordia
