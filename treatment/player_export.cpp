#include "treatment/player_export.h"

#include <QCoreApplication>

#include "platform/application.h"
#include "platform/platform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>

#include <algorithm>

namespace helicordia {

namespace {

// The file dialog's choices, in the current language.
QString FlacFilter()
{
    return PlayerExport::tr("FLAC, 24-bit (*.flac)");
}
QString WavFloatFilter()
{
    return PlayerExport::tr("WAV, 32-bit float (*.wav)");
}
QString Wav16Filter()
{
    return PlayerExport::tr("WAV, 16-bit (*.wav)");
}
const QString OggFilter = QStringLiteral("Ogg Vorbis (*.ogg)");

// How often the worker reports its progress.
constexpr qint64 ProgressIntervalMs = 40;

// The entry's name as a file name: characters that folders do not take become "_".
QString FileNameFor(const QString &name)
{
    QString out = name.trimmed();
    for (QChar &c : out)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 32)
            c = QLatin1Char('_');
    return out.isEmpty() ? QStringLiteral("treatment") : out;
}

} // namespace

PlayerExport::PlayerExport(QWidget &window, Platform &platform) : QObject(&window), window_(window), platform_(platform)
{
    setObjectName(QStringLiteral("treatmentExport"));
    // Both come from the worker thread, so they are queued to this one.
    connect(this, &PlayerExport::progressed, this, &PlayerExport::showProgress);
    connect(this, &PlayerExport::rendered, this, &PlayerExport::end);
}

PlayerExport::~PlayerExport()
{
    cancel_ = true;
    if (thread_)
        thread_->wait();
}

QString PlayerExport::askFile(const QString &suggested, bool *wav16)
{
    QFileDialog dialog(&window_, title());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({FlacFilter(), WavFloatFilter(), Wav16Filter(), OggFilter});
    dialog.selectFile(suggested);
    dialog.setDefaultSuffix(QStringLiteral("flac"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
        const QString suffix = filter == OggFilter      ? QStringLiteral("ogg")
                               : filter == FlacFilter() ? QStringLiteral("flac")
                                                        : QStringLiteral("wav");
        dialog.setDefaultSuffix(suffix);
        const QStringList chosen = dialog.selectedFiles();
        if (!chosen.isEmpty())
            dialog.selectFile(QFileInfo(chosen.first()).completeBaseName() + QLatin1Char('.') + suffix);
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    *wav16 = dialog.selectedNameFilter() == Wav16Filter();
    return dialog.selectedFiles().first();
}

void PlayerExport::start(const QString &name, ExportRequest request)
{
    const int length = request.lengthSeconds;
    startJob(
        name,
        [request](const QString &path, ExportFormat format, const ExportProgressFn &progress) mutable {
            request.format = format;
            return ExportTreatment(request, path, progress);
        },
        [name, length](const ExportProgress &p) {
            const int elapsed = std::min(p.elapsedSeconds(), length);
            return tr("%1\n%2 Hz, %3 of %4: %5 of %6")
                .arg(name, QString::number(double(p.frequencyHz), 'g', 7))
                .arg(p.index)
                .arg(p.count)
                .arg(AfiseazaTimp(elapsed), AfiseazaTimp(length));
        });
}

void PlayerExport::startJob(const QString &name, Job job, Describe describe)
{
    if (running()) {
        if (dialog_)
            dialog_->raise();
        return;
    }
    QString folder = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const QString suggested = QDir(folder).filePath(FileNameFor(name) + QStringLiteral(".flac"));
    bool wav16 = false;
    const QString path = chooseFile_ ? chooseFile_(suggested, &wav16) : askFile(suggested, &wav16);
    if (path.isEmpty())
        return;
    const std::optional<ExportFormat> format = ExportFormatForPath(path, wav16);
    if (!format) {
        platform_.message(ApplicationTitle, tr("Cannot export to \"%1\": the name must end in .wav, .flac or .ogg.")
                                                .arg(QDir::toNativeSeparators(path)));
        return;
    }
    describe_ = std::move(describe);

    openProgress(path);

    // The worker touches nothing but its own copy of the job, the cancel
    // flag and the signals; the window's timers run on meanwhile.
    cancel_ = false;
    thread_.reset(QThread::create([this, job = std::move(job), path, format = *format] {
        QElapsedTimer sinceReported;
        sinceReported.start();
        const ExportResult result = job(path, format, [&](const ExportProgress &p) {
            if (sinceReported.elapsed() >= ProgressIntervalMs) {
                sinceReported.restart();
                emit progressed(p);
            }
            return !cancel_.load();
        });
        emit rendered(result);
    }));
    thread_->setObjectName(QStringLiteral("treatmentExport"));
    thread_->start();
}

QString PlayerExport::title() const
{
    return title_.isEmpty() ? tr("Export treatment") : title_;
}

void PlayerExport::openProgress(const QString &path)
{
    dialog_ = new QProgressDialog(QString(), tr("Cancel"), 0, 1000, &window_);
    dialog_->setObjectName(QStringLiteral("exportProgress"));
    // It shows the entry's name and the file's, exactly as they are written.
    auto *label = new QLabel(dialog_);
    label->setTextFormat(Qt::PlainText);
    dialog_->setLabel(label);
    dialog_->setLabelText(tr("Exporting to %1").arg(QDir::toNativeSeparators(path)));
    dialog_->setWindowTitle(title());
    // Not modal: a modal progress dialog runs the event loop inside each
    // setValue(), and the player's own controls stay usable while it works.
    dialog_->setWindowModality(Qt::NonModal);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setMinimumDuration(0);
    dialog_->setMinimumWidth(window_.width() * 3 / 4);
    connect(dialog_, &QProgressDialog::canceled, this, [this] { cancel_ = true; });
    dialog_->setValue(0);
    dialog_->show();
}

void PlayerExport::showProgress(const ExportProgress &p)
{
    if (!dialog_ || cancel_)
        return;
    if (describe_)
        dialog_->setLabelText(describe_(p));
    dialog_->setValue(int(p.framesDone * 1000 / std::max<std::int64_t>(1, p.framesTotal)));
}

void PlayerExport::end(const ExportResult &result)
{
    thread_->wait();
    thread_.reset();
    if (dialog_)
        dialog_->deleteLater();
    dialog_ = nullptr;
    if (result.outcome == ExportOutcome::Failed)
        platform_.message(ApplicationTitle, result.message);
    emit finished(result.outcome);
}

} // namespace helicordia
