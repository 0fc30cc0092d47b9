// Replaces the platform seam for one test: records messages, program ends,
// saves and opened URLs instead of showing, exiting or browsing.
#pragma once

#include "platform.h"

#include <QStringList>
#include <QUrl>

namespace helicordia::test {

struct RecordingPlatform {
    QStringList captions;
    QStringList messages;
    QList<int> endStatuses;
    QStringList events; // "message", "save", "end(1)" in the order they happened
    QList<QUrl> urls;
    QString folder;

    explicit RecordingPlatform(const QString &programFolder = QStringLiteral("/nonexistent-helicordia-folder"))
        : folder(programFolder)
    {
        Platform &p = platform();
        p.message = [this](QWidget *, const QString &caption, const QString &text) {
            captions << caption;
            messages << text;
            events << QStringLiteral("message");
        };
        p.endProgram = [this](int status) {
            endStatuses << status;
            events << QStringLiteral("end(%1)").arg(status);
        };
        p.programFolder = [this] { return folder; };
        p.openUrl = [this](const QUrl &url) {
            urls << url;
            return true;
        };
        p.saveBeforeAbruptEnd = [this] {
            events << QStringLiteral("save");
        };
    }
    ~RecordingPlatform() { resetPlatform(); }
    RecordingPlatform(const RecordingPlatform &) = delete;
    RecordingPlatform &operator=(const RecordingPlatform &) = delete;
};

} // namespace helicordia::test
