#include "treatment/own_import.h"

#include "catalogue/catalogue.h"
#include "catalogue/entrytext.h"
#include "treatment/own_treatments.h"
#include "treatment/treatment_check.h"

namespace helicordia {

namespace {

// A cell as a spreadsheet may write it: blanks and one pair of double quotes
// around it dropped.
QString Cell(QStringView text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
        text = text.mid(1, text.size() - 2).trimmed();
    return text.toString();
}

// The frequencies after a spreadsheet's separator: one per cell ("432;528")
// or a list in one cell ("432,528"), empty cells at the end of the row left out.
QString FrequencyCells(QStringView text, QChar separator)
{
    QStringList cells;
    for (QStringView cell : text.split(separator))
        cells << Cell(cell);
    while (!cells.isEmpty() && cells.last().isEmpty())
        cells.removeLast();
    return cells.join(QLatin1Char(','));
}

} // namespace

ImportPlan::ImportPlan(const QByteArray &bytes, const OwnTreatments &own)
{
    const CatalogueText read = ReadCatalogueText(bytes, MaxLines + 1);
    cutShort_ = read.lines.size() > size_t(MaxLines);
    for (int n = 1; n <= int(read.lines.size()) && n <= MaxLines; ++n)
        take(n, read.lines[size_t(n) - 1], own);
}

void ImportPlan::take(int number, const QString &text, const OwnTreatments &own)
{
    if (text.trimmed().isEmpty())
        return;
    // The catalogue's separator first, then a spreadsheet's.
    qsizetype at = FindEntrySeparator(text);
    qsizetype width = EntrySeparator.size();
    for (QChar other : {QLatin1Char(';'), QLatin1Char('\t')}) {
        if (at >= 0)
            break;
        at = text.indexOf(other);
        width = 1;
    }
    if (at < 0) {
        refused_.push_back({number, text, tr("it has no \" - \", \";\" or tab between a name and frequencies")});
        return;
    }
    const QStringView rest = QStringView(text).mid(at + width);
    const TreatmentCheck check(Cell(QStringView(text).left(at)),
                               width == 1 ? FrequencyCells(rest, text[at]) : Cell(rest));
    if (!check.canSave()) {
        refused_.push_back({number, text, check.problems().first()});
        return;
    }
    const QString line = check.line();
    if (known_.isEmpty())
        for (int n = 1; n <= own.count(); ++n)
            known_.insert(own.line(n));
    if (known_.contains(line))
        refused_.push_back({number, text, tr("it is already among your own treatments")});
    else
        lines_ << line;
    known_.insert(line);
}

QString ImportPlan::summary(int listed) const
{
    const auto refusedCount = int(refused_.size());
    const auto taken = int(lines_.size());
    QString text = taken == 1 ? tr("1 line can be added to your own treatments")
                              : tr("%n lines can be added to your own treatments", nullptr, taken);
    text += refusedCount == 0 ? tr(".") : tr("; %1 cannot:").arg(refusedCount);
    for (int i = 0; i < refusedCount && i < listed; ++i) {
        const Refused &r = refused_[size_t(i)];
        const QString shown = r.text.size() > 60 ? r.text.left(57) + QStringLiteral("…") : r.text;
        text += QLatin1Char('\n') + tr("line %1, «%2»: %3").arg(r.line).arg(shown, r.reason);
    }
    if (refusedCount > listed)
        text += QLatin1Char('\n') + tr("… and %1 more.").arg(refusedCount - listed);
    if (cutShort_)
        text += QLatin1Char('\n') + tr("Only the first %1 lines of the file were read.").arg(MaxLines);
    return text;
}

} // namespace helicordia
