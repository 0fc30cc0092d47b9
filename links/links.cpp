#include "links.h"

#include "maker.h"
#include "platform.h"

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

namespace {

// The one door to the desktop's URL handler.
bool HandOver(const QUrl &url)
{
    if (!MayLeaveProgram(url, dataFile(maker::helpFileName)))
        return false;
    return platform().openUrl(url);
}

} // namespace

QString MailCommandUrl()
{
    return QStringLiteral("mailto:") + maker::mailAddress + QStringLiteral("?subject=Dictionary%20%20Comments");
}

bool OpenLink(const QString &link)
{
    QString target = link;
    if (target.startsWith(QLatin1Char('\\'))) {
        target.remove(0, 1);
        if (target.left(6).compare(QStringLiteral("mailto"), Qt::CaseInsensitive) == 0) {
            const QUrl url(EncodeMailSpaces(target), QUrl::TolerantMode);
            return HandOver(url);
        }
    }
    ShellOpen(nullptr, target);
    return true;
}

void ShellOpen(QWidget *owner, const QString &target)
{
    Q_UNUSED(owner); // the desktop's URL handler needs no owner window
    if (target.isEmpty())
        return;
    HandOver(QUrl(target, QUrl::TolerantMode));
}

void MailCommand()
{
    HandOver(QUrl(MailCommandUrl(), QUrl::TolerantMode));
}

} // namespace helicordia
