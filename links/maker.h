// The maker's addresses, kept in one place.
#pragma once

#include <QString>

namespace helicordia::maker {

inline const QString webSite = QStringLiteral("https://helicordia.example.org");
inline const QString downloadSite = QStringLiteral("https://downloads.helicordia.example.org");
inline const QString mailAddress = QStringLiteral("contact@helicordia.example.org");

// The help page as it ships beside the program.
inline const QString helpFileName = QStringLiteral("helicordia_help.html");
// The same page in Romanian.
inline const QString romanianHelpFileName = QStringLiteral("helicordia_help.ro.html");

inline QString homePage()
{
    return webSite + QStringLiteral("/index.htm");
}
inline QString kitDownload()
{
    return downloadSite + QStringLiteral("/KitHelicordia.zip");
}
inline QString orbitdeckDownload()
{
    return downloadSite + QStringLiteral("/kitorbitdeck.zip");
}

} // namespace helicordia::maker
