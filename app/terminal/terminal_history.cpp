// --history and --resume: the history as a table, and resuming a treatment
// cut short from a terminal.
#include "app/terminal/terminal_modes.h"
#include "platform/application.h"
#include "platform/platform.h"
#include "treatment/history.h"
#include "treatment/resume_point.h"
#include "treatment/treatment_finder.h"

#include <QCoreApplication>
#include <QDate>
#include <QTextStream>

#include <cstdio>

namespace helicordia {

void PrintHistory(const Platform &platform, int days, QTextStream &out, QTextStream &err)
{
    History::Read read = History::read(platform.userFile(QLatin1String(HistoryFileName)));
    for (const QString &note : read.notes)
        err << note << '\n';
    err.flush();
    const std::vector<HistoryRecord> records =
        History::newestFirst(std::move(read.records), QDate::currentDate(), days);
    if (records.empty())
        out << (days == 1 ? QCoreApplication::translate("Terminal", "No treatment was played today.")
                : days > 1
                    ? QCoreApplication::translate("Terminal", "No treatment was played in the last %1 days.").arg(days)
                    : QCoreApplication::translate("Terminal", "No treatment has been played yet."))
            << '\n';
    else
        out << History::table(records);
    out.flush();
}

namespace {

// A line from standard input that starts with "y" (or the translation's own word for yes).
bool answeredYes()
{
    QTextStream in(stdin);
    const QString answer = in.readLine().trimmed();
    const QString yes = QCoreApplication::translate("Terminal", "yes");
    return !answer.isEmpty() &&
           (answer.startsWith(QLatin1Char('y'), Qt::CaseInsensitive) || yes.startsWith(answer, Qt::CaseInsensitive));
}

} // namespace

std::optional<TerminalPlayer::Settings> ResumeSettings(Platform &platform, const TreatmentFinder &finder,
                                                       const CommandLineRequest &request, QTextStream &out,
                                                       QTextStream &err)
{
    const ResumeFile file(platform.userFile(QLatin1String(ResumeFileName)));
    const ResumeFile::Found found = file.takeInterrupted(finder, platform.userFile(QLatin1String(HistoryFileName)));
    if (!found.note.isEmpty())
        platform.message(ApplicationTitle, found.note);
    if (!found.point) {
        if (found.note.isEmpty())
            out << QCoreApplication::translate("Terminal", "There is no treatment to resume.") << '\n';
        return std::nullopt;
    }
    err << ResumeFile::question(*found.point) << QCoreApplication::translate("Terminal", " [y/N] ");
    err.flush();
    if (!answeredYes()) {
        file.forget();
        out << QCoreApplication::translate("Terminal", "It stays in the history as interrupted.") << '\n';
        return std::nullopt;
    }
    const ResumePoint &point = *found.point;
    TerminalPlayer::Settings settings;
    settings.number = PlayerNumber(found.entry);
    settings.name = point.name;
    settings.frequencies = point.frequencies;
    settings.lengthSeconds = point.length;
    settings.volumeSlider = request.volumeSlider;
    settings.panSlider = request.panSlider;
    settings.startSecond = point.elapsed;
    settings.startIndex = point.index;
    return settings;
}

} // namespace helicordia
