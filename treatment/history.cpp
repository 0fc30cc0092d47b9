#include "treatment/history.h"

#include "platform/user_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>

#include <algorithm>

namespace helicordia {

namespace {

// The whole history is read at once; years of records stay far below this.
constexpr qint64 MaxHistoryBytes = qint64(256) * 1024 * 1024;
// At most this many skipped lines are named one by one.
constexpr int NamedNotes = 5;

struct EndingName {
    TreatmentEnding ending;
    const char *key;
    const char *text;
};
const EndingName EndingNames[TreatmentEndingCount] = {
    {TreatmentEnding::Completed, "completed", QT_TRANSLATE_NOOP("History", "completed")},
    {TreatmentEnding::Stopped, "stopped", QT_TRANSLATE_NOOP("History", "stopped")},
    {TreatmentEnding::ProgramEnded, "program ended", QT_TRANSLATE_NOOP("History", "program ended")},
    {TreatmentEnding::Interrupted, "interrupted", QT_TRANSLATE_NOOP("History", "interrupted")},
};

std::optional<int> seconds(const QJsonObject &object, const char *key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!(number >= 0 && number <= 1e9) || number != double(qint64(number)))
        return std::nullopt;
    return int(number);
}

// Whether a file that exists ends with its last line's newline.
bool endsWithNewline(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() == 0)
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(info.size() - 1))
        return true; // the append says what is wrong
    char last = 0;
    return file.getChar(&last) && last == '\n';
}

QString csvField(QString text)
{
    if (text.contains(QLatin1Char('"')) || text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('\n')) ||
        text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1String("\""), QLatin1String("\"\""));
        return QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
}

} // namespace

QString EndingKey(TreatmentEnding ending)
{
    return QLatin1String(EndingNames[int(ending)].key);
}

std::optional<TreatmentEnding> EndingOfKey(const QString &key)
{
    for (const EndingName &name : EndingNames)
        if (key == QLatin1String(name.key))
            return name.ending;
    return std::nullopt;
}

QByteArray HistoryLine(const HistoryRecord &record)
{
    QJsonObject object;
    object.insert(QStringLiteral("started"), record.started.toString(Qt::ISODate));
    object.insert(QStringLiteral("zone"), record.zone);
    object.insert(QStringLiteral("id"), record.id);
    object.insert(QStringLiteral("name"), record.name);
    object.insert(QStringLiteral("frequencies"), record.frequencies);
    object.insert(QStringLiteral("planned"), record.plannedSeconds);
    object.insert(QStringLiteral("heard"), record.heardSeconds);
    object.insert(QStringLiteral("paused"), record.pausedSeconds);
    object.insert(QStringLiteral("held"), record.heldSeconds);
    object.insert(QStringLiteral("ending"), EndingKey(record.ending));
    if (record.resumed)
        object.insert(QStringLiteral("resumed"), true);
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<HistoryRecord> ParseHistoryLine(const QByteArray &line)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    HistoryRecord record;
    record.started = QDateTime::fromString(object.value(QStringLiteral("started")).toString(), Qt::ISODate);
    record.started = record.started.addMSecs(-record.started.time().msec()); // kept in whole seconds
    record.zone = object.value(QStringLiteral("zone")).toString();
    record.id = object.value(QStringLiteral("id")).toString();
    record.name = object.value(QStringLiteral("name")).toString();
    record.frequencies = object.value(QStringLiteral("frequencies")).toString();
    const auto planned = seconds(object, "planned");
    const auto heard = seconds(object, "heard");
    const auto ending = EndingOfKey(object.value(QStringLiteral("ending")).toString());
    if (!record.started.isValid() || record.name.isEmpty() || !planned || !heard || !ending)
        return std::nullopt;
    record.plannedSeconds = *planned;
    record.heardSeconds = *heard;
    record.pausedSeconds = seconds(object, "paused").value_or(0);
    record.heldSeconds = seconds(object, "held").value_or(0);
    record.ending = *ending;
    record.resumed = object.value(QStringLiteral("resumed")).toBool();
    return record;
}

History::Read History::read(const QString &path)
{
    Read result;
    const FileRead file = ReadRegularFile(path, MaxHistoryBytes);
    if (!file.error.isEmpty())
        result.notes << file.error;
    if (!file.error.isEmpty() || file.missing)
        return result;
    QList<int> damaged, long_;
    qsizetype start = 0;
    int number = 0;
    while (start < file.bytes.size()) {
        qsizetype end = file.bytes.indexOf('\n', start);
        if (end < 0)
            end = file.bytes.size();
        ++number;
        const qsizetype length = end - start;
        if (length >= MaxHistoryLineBytes) {
            long_ << number;
        } else if (!file.bytes.mid(start, length).trimmed().isEmpty()) {
            if (auto record = ParseHistoryLine(file.bytes.mid(start, length)))
                result.records.push_back(std::move(*record));
            else
                damaged << number;
        }
        start = end + 1;
    }
    const QString name = QDir::toNativeSeparators(path);
    for (int i = 0; i < std::min<qsizetype>(damaged.size(), NamedNotes); ++i)
        result.notes << tr("Line %1 of \"%2\" is not a record and was skipped.").arg(damaged[i]).arg(name);
    if (damaged.size() > NamedNotes)
        result.notes << tr("%n more lines that are not records were skipped.", nullptr,
                           int(damaged.size() - NamedNotes));
    for (int line : long_)
        result.notes << tr("Line %1 of \"%2\" is longer than 1 MB and was skipped.").arg(line).arg(name);
    return result;
}

QString History::append(const QString &path, const HistoryRecord &record)
{
    QByteArray line = HistoryLine(record);
    if (!endsWithNewline(path))
        line.prepend('\n');
    return AppendToFile(path, line);
}

QString History::endingText(TreatmentEnding ending)
{
    return tr(EndingNames[int(ending)].text);
}

QString History::endingCell(const HistoryRecord &record)
{
    return record.resumed ? tr("%1, resumed").arg(endingText(record.ending)) : endingText(record.ending);
}

QString History::shortDuration(int seconds)
{
    const int h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
}

QString History::heardOfPlanned(const HistoryRecord &record)
{
    QString text = tr("%1 of %2").arg(shortDuration(record.heardSeconds), shortDuration(record.plannedSeconds));
    if (record.pausedSeconds > 0)
        text = tr("%1, paused %2").arg(text, shortDuration(record.pausedSeconds));
    if (record.heldSeconds > 0)
        text = tr("%1, held %2").arg(text, shortDuration(record.heldSeconds));
    return text;
}

QString History::treatmentText(const HistoryRecord &record)
{
    return record.id.isEmpty() ? record.name : record.id + QLatin1Char(' ') + record.name;
}

QString History::dateText(const HistoryRecord &record)
{
    //: How a history row writes when the treatment started (a QDateTime format).
    return record.started.toString(tr("yyyy-MM-dd HH:mm"));
}

bool History::matches(const HistoryRecord &record, const QString &search)
{
    const QString text = search.trimmed();
    if (text.isEmpty())
        return true;
    for (const QString &field : {dateText(record), treatmentText(record), endingCell(record)})
        if (field.contains(text, Qt::CaseInsensitive))
            return true;
    return false;
}

std::vector<HistoryRecord> History::newestFirst(std::vector<HistoryRecord> records, QDate today, int days)
{
    if (days > 0) {
        const QDate first = today.addDays(1 - days);
        std::erase_if(records, [&](const HistoryRecord &r) { return r.started.date() < first; });
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const HistoryRecord &a, const HistoryRecord &b) { return a.started > b.started; });
    return records;
}

std::vector<History::DayTotals> History::heardPerDay(const std::vector<HistoryRecord> &records, QDate today, int days)
{
    std::vector<DayTotals> totals(std::size_t(std::max(days, 0)), DayTotals{});
    const QDate first = today.addDays(1 - days);
    for (const HistoryRecord &record : records) {
        const qint64 day = first.daysTo(record.started.date());
        if (day >= 0 && day < days)
            totals[std::size_t(day)][std::size_t(record.ending)] += record.heardSeconds;
    }
    return totals;
}

QByteArray History::csv(const std::vector<HistoryRecord> &records)
{
    QString text = QStringLiteral("started,zone,id,name,frequencies,planned seconds,heard seconds,paused seconds,"
                                  "held seconds,ending,resumed\r\n");
    for (const HistoryRecord &r : records) {
        const QStringList fields = {r.started.toString(Qt::ISODate),
                                    r.zone,
                                    r.id,
                                    r.name,
                                    r.frequencies,
                                    QString::number(r.plannedSeconds),
                                    QString::number(r.heardSeconds),
                                    QString::number(r.pausedSeconds),
                                    QString::number(r.heldSeconds),
                                    EndingKey(r.ending),
                                    r.resumed ? QStringLiteral("yes") : QString()};
        QStringList quoted;
        for (const QString &field : fields)
            quoted << csvField(field);
        text += quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

QString History::table(const std::vector<HistoryRecord> &records)
{
    const QStringList heading = {tr("Date"), tr("Treatment"), tr("Heard of planned"), tr("Ending")};
    std::vector<QStringList> rows{heading};
    for (const HistoryRecord &r : records)
        rows.push_back({dateText(r), treatmentText(r), heardOfPlanned(r), endingCell(r)});
    std::array<qsizetype, 4> widths{};
    for (const QStringList &row : rows)
        for (std::size_t c = 0; c < widths.size(); ++c)
            widths[c] = std::max(widths[c], row[qsizetype(c)].size());
    QString text;
    for (const QStringList &row : rows) {
        QString line;
        for (std::size_t c = 0; c < widths.size(); ++c)
            line += c + 1 < widths.size() ? row[qsizetype(c)].leftJustified(widths[c] + 2) : row[qsizetype(c)];
        text += line + QLatin1Char('\n');
    }
    return text;
}

} // namespace helicordia
