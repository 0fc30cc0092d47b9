// The player window's "Export treatment…": asks where the file goes, renders
// it on a worker thread while the player plays on, and shows the progress
// with a Cancel button. A cancelled or failed export leaves no file.
#pragma once

#include "treatment/export/audio_export.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>

class QProgressDialog;
class QThread;
class QWidget;

namespace helicordia {

class Platform;

class PlayerExport : public QObject {
    Q_OBJECT
public:
    PlayerExport(QWidget &window, Platform &platform);
    ~PlayerExport() override; // cancels a running export and waits for it

    // Asks where an export goes: the path, or empty to give up; *wav16 set
    // for 16-bit WAV. The file dialog unless a test puts its own in place.
    using FileChooser = std::function<QString(const QString &suggested, bool *wav16)>;
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

    // Asks for the file and starts rendering `request` into it (the format
    // follows the file's name); `name` is the entry's name, for the file name
    // offered and the progress text. While an export runs, only brings its
    // progress to the front.
    void start(const QString &name, ExportRequest request);
    bool running() const { return thread_ != nullptr; }

    // The same for anything else written to an audio file: asks for the file
    // (offering `name`), then runs `job` on the worker thread with the path
    // and format chosen; `describe` writes the progress text.
    using Job = std::function<ExportResult(const QString &path, ExportFormat format, const ExportProgressFn &progress)>;
    using Describe = std::function<QString(const ExportProgress &progress)>;
    void startJob(const QString &name, Job job, Describe describe);
    // The file dialog's and the progress window's title ("Export treatment"
    // without one).
    void setTitle(const QString &title) { title_ = title; }

signals:
    // Sent from the worker thread now and then while it renders.
    void progressed(const helicordia::ExportProgress &progress);
    // Sent from the worker thread when the file is in place, or is not.
    void rendered(const helicordia::ExportResult &result);
    // The export is over and its thread has ended; a failure has been reported.
    void finished(helicordia::ExportOutcome outcome);

private:
    QString askFile(const QString &suggested, bool *wav16);
    QString title() const;
    void openProgress(const QString &path);
    void showProgress(const ExportProgress &progress);
    void end(const ExportResult &result);

    QWidget &window_;
    Platform &platform_;
    FileChooser chooseFile_;
    std::unique_ptr<QThread> thread_;
    std::atomic<bool> cancel_{false};
    QPointer<QProgressDialog> dialog_;
    Describe describe_;
    QString title_;
};

} // namespace helicordia
