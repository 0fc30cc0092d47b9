#include "links.h"

#include "maker.h"
#include "platform.h"

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
            return url.isValid() && platform().openUrl(url);
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
    const QUrl url(target, QUrl::TolerantMode);
    if (url.isValid())
        platform().openUrl(url);
}

void MailCommand()
{
    const QUrl url(MailCommandUrl(), QUrl::TolerantMode);
    if (url.isValid())
        platform().openUrl(url);
}

} // namespace helicordia
