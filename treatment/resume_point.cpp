#include "treatment/resume_point.h"

#include "platform/user_files.h"
#include "treatment/frequency_program.h"
#include "treatment/treatment_finder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace helicordia {

namespace {

// A resume point is a few hundred bytes; anything much larger is not one.
constexpr qint64 MaxResumeBytes = 64 * 1024;

const char *const PhaseKeys[] = {"playing", "paused", "holding"};

int number(const QJsonObject &object, const char *key, bool *ok)
{
    const QJsonValue value = object.value(QLatin1String(key));
    const double n = value.toDouble(-1);
    if (!value.isDouble() || !(n >= 0 && n <= 1e9) || n != double(qint64(n)))
        *ok = false;
    return *ok ? int(n) : 0;
}

} // namespace

HistoryRecord ResumePoint::interruptedRecord() const
{
    HistoryRecord record;
    record.started = started;
    record.zone = zone;
    record.id = id;
    record.name = name;
    record.frequencies = frequencies;
    record.plannedSeconds = length;
    record.heardSeconds = heard;
    record.pausedSeconds = paused;
    record.heldSeconds = held;
    record.ending = TreatmentEnding::Interrupted;
    record.resumed = resumed;
    return record;
}

QByteArray ResumeJson(const ResumePoint &p)
{
    QJsonObject o;
    o.insert(QStringLiteral("id"), p.id);
    o.insert(QStringLiteral("name"), p.name);
    o.insert(QStringLiteral("frequencies"), p.frequencies);
    o.insert(QStringLiteral("length"), p.length);
    o.insert(QStringLiteral("elapsed"), p.elapsed);
    o.insert(QStringLiteral("index"), p.index);
    o.insert(QStringLiteral("count"), p.count);
    o.insert(QStringLiteral("phase"), QLatin1String(PhaseKeys[int(p.phase)]));
    o.insert(QStringLiteral("started"), p.started.toString(Qt::ISODate));
    o.insert(QStringLiteral("zone"), p.zone);
    o.insert(QStringLiteral("heard"), p.heard);
    o.insert(QStringLiteral("paused"), p.paused);
    o.insert(QStringLiteral("held"), p.held);
    o.insert(QStringLiteral("resumed"), p.resumed);
    o.insert(QStringLiteral("pid"), double(p.pid));
    o.insert(QStringLiteral("boot"), p.boot);
    o.insert(QStringLiteral("recorded"), p.recorded);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

std::optional<ResumePoint> ParseResumeJson(const QByteArray &json)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject o = document.object();
    ResumePoint p;
    bool ok = true;
    p.id = o.value(QStringLiteral("id")).toString();
    p.name = o.value(QStringLiteral("name")).toString();
    p.frequencies = o.value(QStringLiteral("frequencies")).toString();
    p.length = number(o, "length", &ok);
    p.elapsed = number(o, "elapsed", &ok);
    p.index = number(o, "index", &ok);
    p.count = number(o, "count", &ok);
    p.heard = number(o, "heard", &ok);
    p.paused = number(o, "paused", &ok);
    p.held = number(o, "held", &ok);
    p.started = QDateTime::fromString(o.value(QStringLiteral("started")).toString(), Qt::ISODate);
    p.started = p.started.addMSecs(-p.started.time().msec()); // kept in whole seconds
    p.zone = o.value(QStringLiteral("zone")).toString();
    p.resumed = o.value(QStringLiteral("resumed")).toBool();
    const double pid = o.value(QStringLiteral("pid")).toDouble();
    p.pid = pid >= 1 && pid < 4194305 ? qint64(pid) : 0; // the largest process number Linux gives, 2^22
    p.boot = o.value(QStringLiteral("boot")).toString();
    p.recorded = o.value(QStringLiteral("recorded")).toBool();
    const QString phase = o.value(QStringLiteral("phase")).toString();
    int phaseIndex = 0;
    while (phaseIndex < 3 && phase != QLatin1String(PhaseKeys[phaseIndex]))
        ++phaseIndex;
    p.phase = ResumePhase(std::min(phaseIndex, 2));
    FrequencyTable table{};
    const bool sensible = ok && phaseIndex < 3 && !p.name.trimmed().isEmpty() && p.started.isValid() && p.length > 0 &&
                          p.elapsed < p.length && p.count > 0 && p.index >= 1 && p.index <= p.count &&
                          ParseFrequencyList(p.frequencies, table) == p.count;
    return sensible ? std::optional(p) : std::nullopt;
}

QString CurrentBootId()
{
    QFile file(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().trimmed()) : QString();
}

bool ResumeWriterRunning(qint64 pid, const QString &boot)
{
    if (pid <= 0 || pid == qint64(::getpid()) || boot != CurrentBootId())
        return false;
    if (::kill(pid_t(pid), 0) != 0 && errno != EPERM)
        return false;
    // A process with that number may be another program by now.
    const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    return !exe.isEmpty() && exe == QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

QString ResumeFile::save(const ResumePoint &point) const
{
    const QString error = WriteFileAtomically(path_, ResumeJson(point));
    if (error.isEmpty()) // what the user plays is theirs alone, as the history is
        QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return error;
}

void ResumeFile::remove() const
{
    QFile::remove(path_);
}

ResumeFile::Found ResumeFile::takeInterrupted(const TreatmentFinder &finder, const QString &historyPath,
                                              const WriterRunning &running) const
{
    Found found;
    const FileRead file = ReadRegularFile(path_, MaxResumeBytes);
    if (file.missing)
        return found;
    const QString shown = QDir::toNativeSeparators(path_);
    std::optional<ResumePoint> point = file.error.isEmpty() ? ParseResumeJson(file.bytes) : std::nullopt;
    if (!point) {
        found.note = tr("The treatment that was playing when the program last ended cannot be resumed: its "
                        "record \"%1\" is damaged and has been dropped.")
                         .arg(shown);
        remove();
        return found;
    }
    if (running && running(point->pid, point->boot))
        return found; // another copy plays it now
    if (!point->recorded) {
        const QString error = History::append(historyPath, point->interruptedRecord());
        point->recorded = error.isEmpty();
        if (point->recorded && !save(*point).isEmpty())
            point->recorded = false;
        if (!error.isEmpty())
            found.note = tr("The history could not be written.\n\n%1").arg(error);
    }
    std::optional<FoundTreatment> now = finder.byId(point->id);
    if (!now || now->name.trimmed() != point->name.trimmed())
        now = finder.byName(point->name);
    QString dropped;
    if (!now)
        dropped = tr("\"%1\" was cut short, but it is no longer among the treatments, so it cannot be resumed.")
                      .arg(point->name);
    else if (const SliderSetup limits = TreatmentSliderSetup(point->count); point->length > limits.maximum)
        dropped = tr("\"%1\" was cut short, but its length %2 is longer than the player allows for it (%3), so "
                     "it cannot be resumed.")
                      .arg(point->name, AfiseazaTimp(point->length), AfiseazaTimp(limits.maximum));
    if (!dropped.isEmpty()) {
        found.note = found.note.isEmpty() ? dropped : dropped + QStringLiteral("\n\n") + found.note;
        remove();
        return found;
    }
    found.point = std::move(point);
    found.entry = now->entry;
    return found;
}

QString ResumeFile::question(const ResumePoint &point)
{
    const int left = std::max(0, point.length - point.elapsed);
    const QString time =
        QStringLiteral("%1:%2").arg(left / 60, 2, 10, QLatin1Char('0')).arg(left % 60, 2, 10, QLatin1Char('0'));
    return tr("Resume «%1» at frequency %2 of %3, %4 left?")
        .arg(point.name)
        .arg(point.index)
        .arg(point.count)
        .arg(time);
}

} // namespace helicordia
