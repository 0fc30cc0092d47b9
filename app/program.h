// The running program: its two windows, the one-copy rule and the end
// signals, wired so that every way of ending lets the tone fade out before
// the process goes.
#pragma once

#include "app/exitsignals.h"
#include "app/mainwindow.h"
#include "app/singleinstance.h"
#include "app/startupfiles.h"
#include "platform/platform.h"
#include "treatment/player.h"
#include "treatment/treatment_recorder.h"

#include <QObject>
#include <QSettings>
#include <memory>
#include <optional>

class ToneEngine;

namespace helicordia {

class HistoryWindow;

// Passes everything to the real platform; before the program ends, it first
// silences the tone (which fades out) so that no ending cuts it off.
class SilencingPlatform final : public Platform {
public:
    explicit SilencingPlatform(Platform &inner) : inner_(inner) {}
    void setSilence(std::function<void()> silence) { silence_ = std::move(silence); }

    void message(const QString &caption, const QString &text) override { inner_.message(caption, text); }
    bool question(const QString &caption, const QString &text) override { return inner_.question(caption, text); }
    void endProgram(int status) override;
    QString programFolder() const override { return inner_.programFolder(); }
    QString installedDataFolder() const override { return inner_.installedDataFolder(); }
    QString userDataFolder() const override { return inner_.userDataFolder(); }
    std::unique_ptr<QSettings> openSettings() override { return inner_.openSettings(); }
    QString settingsRefusal() const override { return inner_.settingsRefusal(); }
    bool openUrl(const QUrl &url) override { return inner_.openUrl(url); }
    void openUrlOrReport(const QUrl &url, std::function<void()> notOpened) override
    {
        inner_.openUrlOrReport(url, std::move(notOpened));
    }

private:
    Platform &inner_;
    std::function<void()> silence_;
};

class Program : public QObject {
    Q_OBJECT
public:
    // `lockFolder` holds the one-copy lock (the user's runtime folder,
    // SingleInstance::UserRuntimeFolder()).
    Program(ToneEngine &engine, Platform &platform, const QString &lockFolder);
    ~Program() override;

    // Start-up. Returns an exit status when the program is to end at once: 0
    // when another copy runs (it has been brought to the front), 1 when the
    // start-up failed (already reported). Nothing otherwise: the main window
    // shows and the event loop may run.
    std::optional<int> start();

    // The normal shutdown, as the Exit command runs it.
    void end();

    MainWindow &mainWindow() { return main_; }
    // The player window, made the first time it is needed (an entry is
    // played): it stays hidden until then, so start-up does not build it.
    Player &player();
    bool playerBuilt() const { return player_ != nullptr; }

    // The history window, read afresh each time it is shown (program_history.cpp).
    void showHistory();
    HistoryWindow *historyWindow() const { return history_.get(); }
    // "Play again": the record's treatment, found by its id or name, with its length.
    void playRecord(const HistoryRecord &record);
    // After start-up: a treatment cut short the last time is recorded as
    // interrupted, and the user is asked whether to resume it.
    void offerResume();
    TreatmentRecorder &recorder() { return *recorder_; }

private:
    void bringToFront();
    // Plays a treatment in the player, from `second` with frequency `index`,
    // after stopping whatever plays there.
    void playInPlayer(EntryRef entry, const QString &name, const QString &frequencies, int length, int second,
                      int index);

    ToneEngine &engine_;
    SilencingPlatform platform_;
    // Before the main window: its files are read while it is being built.
    StartupFilesAhead filesAhead_;
    MainWindow main_;
    // Before the player, which tells it what plays, and so goes first.
    std::unique_ptr<TreatmentRecorder> recorder_;
    std::unique_ptr<Player> player_;
    std::unique_ptr<HistoryWindow> history_;
    SingleInstance instance_;
    ExitSignals signals_;
};

} // namespace helicordia
