// The real platform: message boxes over the active window, an immediate end,
// the executable's folder, the "Verbarium" settings store and the desktop's
// URL handler.
#pragma once

#include "platform/platform.h"

class QProcess;

namespace helicordia {

class DesktopPlatform final : public Platform {
public:
    void message(const QString &caption, const QString &text) override;
    bool question(const QString &caption, const QString &text) override;
    void endProgram(int status) override;
    QString programFolder() const override;
    QString installedDataFolder() const override;
    std::unique_ptr<QSettings> openSettings() override;
    QString settingsRefusal() const override { return settingsRefusal_; }
    bool openUrl(const QUrl &url) override;
    void openUrlOrReport(const QUrl &url, std::function<void()> notOpened) override;

    // The settings file: Verbarium/Verbarium.conf in the user's configuration
    // folder (~/.config, following XDG_CONFIG_HOME).
    static QString settingsFile();

private:
    QString settingsRefusal_;
};

// How long after it started the desktop's opener (xdg-open) may still report
// that it found no program; an opener that ends later has run a program in
// the foreground, whose own ending says nothing about the page.
constexpr int OpenerVerdictMs = 10000;

// Runs `opener` (xdg-open or the like) on the URL and calls `notOpened` when
// it cannot start or reports a failure within OpenerVerdictMs. The process
// deletes itself when it ends.
QProcess *RunOpener(const QString &opener, const QUrl &url, std::function<void()> notOpened);

} // namespace helicordia
