// The real platform: message boxes over the active window, an immediate end,
// the executable's folder, the "Verbarium" settings store and the desktop's
// URL handler.
#pragma once

#include "platform/platform.h"

namespace helicordia {

class DesktopPlatform final : public Platform {
public:
    void message(const QString &caption, const QString &text) override;
    void endProgram(int status) override;
    QString programFolder() const override;
    QString installedDataFolder() const override;
    std::unique_ptr<QSettings> openSettings() override;
    bool openUrl(const QUrl &url) override;
};

} // namespace helicordia
