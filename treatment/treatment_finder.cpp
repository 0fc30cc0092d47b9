#include "treatment/treatment_finder.h"

#include "catalogue/catalogue.h"
#include "catalogue/cataloguelistmodel.h"
#include "treatment/own_treatments.h"

#include <vector>

namespace helicordia {

TreatmentFinder::TreatmentFinder(const Catalogue &catalogue, const OwnTreatments *own)
    : catalogue_(catalogue), own_(own)
{
}

std::optional<FoundTreatment> TreatmentFinder::entry(EntryRef entry) const
{
    FoundTreatment found;
    found.entry = entry;
    if (!entry.own) {
        if (entry.number < 1 || entry.number > catalogue_.catalogueLineCount() ||
            catalogue_.entry(entry.number).isEmpty())
            return std::nullopt;
        found.listText = catalogue_.listText(entry.number);
        if (found.listText.startsWith(QLatin1Char('_')))
            found.refusal = NotPlayableMessage(found.listText);
        else
            found.frequencies = EntryFrequencies(catalogue_.entry(entry.number));
    } else {
        if (!own_ || entry.number < 1 || entry.number > own_->count() || own_->line(entry.number).isEmpty())
            return std::nullopt;
        found.listText = own_->ownListText(entry.number);
        found.frequencies = own_->frequencies(entry.number);
        if (const QString problem = own_->problem(entry.number); !problem.isEmpty())
            found.refusal = problem + QStringLiteral("\n\n") + found.listText;
    }
    found.name = EntryName(found.listText);
    return found;
}

std::optional<FoundTreatment> TreatmentFinder::byId(const QString &id) const
{
    const std::optional<EntryRef> ref = ParseEntryId(id);
    return ref ? entry(*ref) : std::nullopt;
}

QString TreatmentFinder::catalogueName(int n) const
{
    const QString &line = catalogue_.entry(n);
    const qsizetype separator = FindEntrySeparator(line);
    return separator >= 0 ? line.left(separator).trimmed() : QString();
}

std::optional<FoundTreatment> TreatmentFinder::byName(const QString &name) const
{
    const QString wanted = name.trimmed();
    if (wanted.isEmpty())
        return std::nullopt;
    for (int n = 1; own_ && n <= own_->count(); ++n)
        if (own_->playable(n) && own_->name(n) == wanted)
            return entry(EntryRef{true, n});
    for (int n = 1; n <= catalogue_.catalogueLineCount(); ++n)
        if (catalogueName(n) == wanted)
            return entry(EntryRef{false, n});
    return std::nullopt;
}

TreatmentFinder::Choice TreatmentFinder::choose(const QString &text) const
{
    Choice choice;
    if (const std::optional<EntryRef> ref = ParseEntryId(text)) {
        choice.found = entry(*ref);
        if (!choice.found) {
            choice.status = 2;
            choice.message = ref->own ? tr("There is no treatment %1 among your own.").arg(EntryIdText(*ref))
                                      : tr("There is no entry %1 in the catalogue.").arg(ref->number);
        } else if (!choice.found->playable()) {
            choice.status = 1;
            choice.message = choice.found->refusal;
        }
        return choice;
    }

    // The window's search, the catalogue's entries first.
    CatalogueListModel model(catalogue_);
    model.setOwnEntries(own_);
    model.FillList(text.trimmed());
    std::vector<FoundTreatment> playable, named;
    for (int row = 0; row < model.rowCount(); ++row) {
        choice.matches << model.itemText(row);
        const std::optional<FoundTreatment> found = entry(model.entryAt(row));
        if (!found || !found->playable())
            continue;
        playable.push_back(*found);
        if (found->name.trimmed() == text.trimmed())
            named.push_back(*found);
    }
    if (playable.size() == 1 || named.size() == 1) {
        choice.found = playable.size() == 1 ? playable.front() : named.front();
        choice.matches.clear();
        return choice;
    }
    choice.status = 2;
    choice.message =
        playable.empty()
            ? tr("\"%1\" names no playable entry.").arg(text)
            : tr("\"%1\" names %2 playable entries; choose one by its number.").arg(text).arg(playable.size());
    return choice;
}

} // namespace helicordia
