#include "links/links.h"

#include "links/maker.h"
#include "platform/platform.h"

#include <QDir>
#include <QUrl>

namespace helicordia {

QString EncodeMailSpaces(const QString &link)
{
    QString encoded;
    encoded.reserve(link.size() + 16);
    for (QChar c : link) {
        if (c == QLatin1Char(' '))
            encoded += QStringLiteral("%20");
        else
            encoded += c;
    }
    return encoded;
}

bool MayLeaveProgram(const QUrl &url, const QString &ownHelpFile)
{
    if (!url.isValid() || url.toString(QUrl::FullyEncoded).startsWith(QLatin1Char('-')))
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return !url.host().isEmpty();
    if (scheme == QLatin1String("mailto"))
        return !url.path().isEmpty() && !url.path().startsWith(QLatin1Char('-'));
    if (scheme == QLatin1String("file"))
        return !ownHelpFile.isEmpty() && url.isLocalFile() &&
               QDir::cleanPath(url.toLocalFile()) == QDir::cleanPath(ownHelpFile);
    return false;
}

bool LinkLauncher::HandOver(const QUrl &url) const
{
    if (!MayLeaveProgram(url, platform_.dataFile(maker::helpFileName)))
        return false;
    return platform_.openUrl(url);
}

QString MailCommandUrl()
{
    return QStringLiteral("mailto:") + maker::mailAddress + QStringLiteral("?subject=Dictionary%20%20Comments");
}

bool LinkLauncher::OpenLink(const QString &link) const
{
    QString target = link;
    if (target.startsWith(QLatin1Char('\\'))) {
        target.remove(0, 1);
        if (target.left(6).compare(QStringLiteral("mailto"), Qt::CaseInsensitive) == 0) {
            const QUrl url(EncodeMailSpaces(target), QUrl::TolerantMode);
            return HandOver(url);
        }
    }
    ShellOpen(target);
    return true;
}

void LinkLauncher::ShellOpen(const QString &target) const
{
    if (target.isEmpty())
        return;
    HandOver(QUrl(target, QUrl::TolerantMode));
}

void LinkLauncher::OpenHelpPage(const QString &file, std::function<void()> notOpened) const
{
    const QUrl url = QUrl::fromLocalFile(file);
    if (MayLeaveProgram(url, platform_.dataFile(maker::helpFileName)) ||
        MayLeaveProgram(url, platform_.dataFile(maker::romanianHelpFileName)))
        platform_.openUrlOrReport(url, std::move(notOpened));
    else if (notOpened)
        notOpened();
}

void LinkLauncher::MailCommand() const
{
    HandOver(QUrl(MailCommandUrl(), QUrl::TolerantMode));
}

} // namespace helicordia
