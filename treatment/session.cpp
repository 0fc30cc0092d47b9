#include "treatment/session.h"

#include <QRegularExpression>

#include <algorithm>

namespace helicordia {

QString SessionLengthText(int seconds)
{
    seconds = std::max(seconds, 0);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

std::optional<int> ParseSessionLength(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^(?:(\\d{1,6}):)?([0-5]?\\d):([0-5]\\d)$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toInt() * 3600 + m.captured(2).toInt() * 60 + m.captured(3).toInt();
}

int SessionTreatmentLength(int frequencyCount, int lengthSeconds)
{
    const SliderSetup slider = TreatmentSliderSetup(frequencyCount);
    if (lengthSeconds <= 0)
        return slider.value;
    return std::clamp(lengthSeconds, slider.minimum, slider.maximum);
}

// ---- the file ---------------------------------------------------------------------

QByteArray Session::fileBytes() const
{
    QString text = QStringLiteral("repeat %1\n").arg(repeat);
    for (const SessionRow &row : rows) {
        // A name holds no tab or line break, so that it reads back as one name.
        QString name = row.name;
        name.replace(QRegularExpression(QStringLiteral("[\\t\\r\\n]")), QStringLiteral(" "));
        text += name + QLatin1Char('\t') + SessionLengthText(row.lengthSeconds) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

Session Session::fromFile(const QByteArray &bytes, QStringList *problems)
{
    static const QRegularExpression repeatLine(QStringLiteral("^repeat\\s+(\\d+)$"),
                                               QRegularExpression::CaseInsensitiveOption);
    Session session;
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool first = true;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const QRegularExpressionMatch repeat = repeatLine.match(line.trimmed());
        if (first && repeat.hasMatch()) {
            first = false;
            const int n = repeat.captured(1).size() <= 3 ? repeat.captured(1).toInt() : SessionSchedule::MaxRepeat + 1;
            session.repeat = std::clamp(n, SessionSchedule::MinRepeat, SessionSchedule::MaxRepeat);
            if (problems && n != session.repeat)
                *problems
                    << tr("Line %1: the repeat count must be from 1 to 99; %2 is used.").arg(i + 1).arg(session.repeat);
            continue;
        }
        first = false;
        const qsizetype tab = line.lastIndexOf(QLatin1Char('\t'));
        SessionRow row{(tab < 0 ? line : line.left(tab)).trimmed(), 0};
        if (tab >= 0) {
            const std::optional<int> length = ParseSessionLength(line.mid(tab + 1));
            row.lengthSeconds = length.value_or(0);
            if (!length && problems)
                *problems << tr("Line %1: the length \"%2\" is not hh:mm:ss; the suggested length is used.")
                                 .arg(i + 1)
                                 .arg(line.mid(tab + 1).trimmed());
        }
        session.rows.push_back(row);
    }
    return session;
}

// ---- editing ----------------------------------------------------------------------

void Session::add(const QString &name, int lengthSeconds)
{
    rows.push_back({name.trimmed(), lengthSeconds});
}

void Session::remove(int row)
{
    if (row >= 0 && row < int(rows.size()))
        rows.erase(rows.begin() + row);
}

bool Session::move(int row, int step)
{
    const int to = row + step;
    if (row < 0 || row >= int(rows.size()) || to < 0 || to >= int(rows.size()))
        return false;
    std::swap(rows[std::size_t(row)], rows[std::size_t(to)]);
    return true;
}

// ---- the plan ----------------------------------------------------------------------

namespace {

std::vector<SessionSchedule::Row> scheduleRows(const std::vector<SessionTreatment> &rows)
{
    std::vector<SessionSchedule::Row> out;
    for (const SessionTreatment &t : rows)
        out.push_back({t.frequencyCount, t.lengthSeconds, t.playable()});
    return out;
}

std::vector<SessionTreatment> resolve(const Session &session, const TreatmentFinder &finder)
{
    std::vector<SessionTreatment> out;
    for (const SessionRow &row : session.rows) {
        SessionTreatment t;
        t.name = row.name;
        t.found = finder.byName(row.name);
        t.lengthSeconds = row.lengthSeconds;
        if (t.playable()) {
            t.frequencyCount = ParseFrequencyList(t.found->frequencies, t.frequencies);
            t.lengthSeconds = SessionTreatmentLength(t.frequencyCount, row.lengthSeconds);
        }
        out.push_back(std::move(t));
    }
    return out;
}

} // namespace

SessionPlan::SessionPlan(const Session &session, const TreatmentFinder &finder)
    : rows_(resolve(session, finder)), schedule_(scheduleRows(rows_), session.repeat)
{
}

const SessionTreatment &SessionPlan::treatmentOf(int part) const
{
    return rows_[std::size_t(schedule_.parts()[std::size_t(part)].row - 1)];
}

QString SessionPlan::missingMessage() const
{
    QStringList names;
    for (const SessionTreatment &t : rows_)
        if (!t.playable())
            names << QStringLiteral("«%1»").arg(t.name);
    if (names.isEmpty())
        return {};
    return tr("Not found, and passed over: %1.").arg(names.join(QStringLiteral(", ")));
}

QString SessionPlan::placeText(int part) const
{
    const SessionSchedule::Part &p = schedule_.parts()[std::size_t(part)];
    return tr("Treatment %1 of %2, round %3 of %4")
        .arg(p.row)
        .arg(schedule_.rowCount())
        .arg(p.round)
        .arg(schedule_.rounds());
}

} // namespace helicordia
