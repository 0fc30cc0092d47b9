// A platform for tests: records messages, program ends, saves and opened URLs
// instead of showing, exiting or browsing.
#pragma once

#include "platform/platform.h"

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>
#include <memory>

namespace helicordia::test {

class RecordingPlatform : public Platform {
public:
    QStringList captions;
    QStringList messages;
    QList<int> endStatuses;
    QStringList events; // "message", "save", "end(1)" in the order they happened
    QList<QUrl> urls;
    QString folder;

    explicit RecordingPlatform(const QString &programFolder = QStringLiteral("/nonexistent-helicordia-folder"))
        : folder(programFolder)
    {
    }

    void message(const QString &caption, const QString &text) override
    {
        captions << caption;
        messages << text;
        events << QStringLiteral("message");
    }
    void endProgram(int status) override
    {
        endStatuses << status;
        events << QStringLiteral("end(%1)").arg(status);
    }
    QString programFolder() const override { return folder; }
    // A folder of the test's own, never the real user's (history, resume file).
    QString userDataFolder() const override
    {
        if (!userFolder_)
            userFolder_ = std::make_unique<QTemporaryDir>();
        return userFolder_->path();
    }
    std::unique_ptr<QSettings> openSettings() override { return nullptr; }
    bool openUrl(const QUrl &url) override
    {
        urls << url;
        return true;
    }
    // What the program saves before an abrupt end, recorded as "save".
    std::function<void()> saveRecorder()
    {
        return [this] { events << QStringLiteral("save"); };
    }

private:
    mutable std::unique_ptr<QTemporaryDir> userFolder_;
};

} // namespace helicordia::test
