// Links reach the user's programs as URLs, exactly as written, with mail
// links' spaces encoded; nothing is ever run as a command line.
#include "links/links.h"
#include "platform/platform.h"

#include <QSettings>
#include <QTest>
#include <QUrl>

using namespace helicordia;

namespace {

// Keeps the URLs handed to the user's programs.
class UrlPlatform : public Platform {
public:
    QStringList opened;
    QString folder = QStringLiteral("/opt/helicordia");
    void message(const QString &, const QString &) override {}
    void endProgram(int) override {}
    QString programFolder() const override { return folder; }
    std::unique_ptr<QSettings> openSettings() override { return nullptr; }
    bool openUrl(const QUrl &url) override
    {
        opened << url.toString(QUrl::FullyEncoded);
        return true;
    }
};

} // namespace

class LinksTest : public QObject {
    Q_OBJECT
    UrlPlatform platform;
    LinkLauncher links{platform};
    QStringList &opened = platform.opened;

private slots:
    void init() { opened.clear(); }

    void encodesOnlySpaces_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("one space") << "mailto:a@b.org?subject=a b"
                                   << "mailto:a@b.org?subject=a%20b";
        QTest::newRow("two spaces") << "mailto:x?subject=a  b"
                                    << "mailto:x?subject=a%20%20b";
        QTest::newRow("trailing") << "mailto:x "
                                  << "mailto:x%20";
        QTest::newRow("other characters pass") << "MailTo:x?s=%&=?"
                                               << "MailTo:x?s=%&=?";
        QTest::newRow("nothing to do") << ""
                                       << "";
    }
    void encodesOnlySpaces()
    {
        QFETCH(QString, link);
        QFETCH(QString, encoded);
        QCOMPARE(EncodeMailSpaces(link), encoded);
    }

    void openLink_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("web address as given")
            << "https://helicordia.example.org/index.htm" << QStringList{"https://helicordia.example.org/index.htm"};
        QTest::newRow("backslash, not mail: opened without it")
            << "\\https://example.org/a" << QStringList{"https://example.org/a"};
        QTest::newRow("lone backslash opens nothing") << "\\" << QStringList{};
        QTest::newRow("empty opens nothing") << "" << QStringList{};
        QTest::newRow("mail link, spaces encoded") << "\\mailto:me@example.org?subject=Hello  there "
                                                   << QStringList{"mailto:me@example.org?subject=Hello%20%20there%20"};
        QTest::newRow("mail link with shell characters is only a URL")
            << "\\mailto:me@example.org?subject=x & del *.* | rm -rf ~"
            << QStringList{"mailto:me@example.org?subject=x%20&%20del%20*.*%20%7C%20rm%20-rf%20~"};
    }
    void openLink()
    {
        QFETCH(QString, link);
        QFETCH(QStringList, expected);
        links.OpenLink(link);
        QCOMPARE(opened, expected);
    }

    // Only web and mail addresses, and the program's own help page, leave the
    // program; nothing an opener could take for an option.
    void onlyLinksLeave_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("leaves");
        QTest::newRow("http") << "http://example.org/x" << true;
        QTest::newRow("own help page") << "file:///opt/helicordia/helicordia_help.html" << true;
        QTest::newRow("option") << "--help" << false;
        QTest::newRow("dash word") << "-e" << false;
        QTest::newRow("mail to an option") << "\\mailto:-oProxyCommand=x" << false;
        QTest::newRow("other file") << "file:///etc/passwd" << false;
        QTest::newRow("other program file") << "file:///opt/helicordia/helicordia" << false;
        QTest::newRow("plain path") << "/usr/bin/xterm" << false;
        QTest::newRow("other scheme") << "javascript:alert(1)" << false;
        QTest::newRow("ftp") << "ftp://example.org/" << false;
        QTest::newRow("no host") << "http:///etc/passwd" << false;
    }
    void onlyLinksLeave()
    {
        QFETCH(QString, link);
        QFETCH(bool, leaves);
        links.OpenLink(link);
        QCOMPARE(opened.size(), leaves ? 1 : 0);
        for (const QString &url : opened)
            QVERIFY(!url.startsWith('-'));
    }

    void mailPrefixCaseIsKept()
    {
        // The scheme is recognised whatever its case; the text itself is untouched.
        QVERIFY(links.OpenLink("\\MailTo:me@example.org?subject=a b"));
        QCOMPARE(opened.size(), 1);
        QVERIFY(opened.first().startsWith("mailto:", Qt::CaseInsensitive));
        QCOMPARE(EncodeMailSpaces("MailTo:me@example.org?subject=a b"), QString("MailTo:me@example.org?subject=a%20b"));
    }

    void mailCommandSubjectHasTwoSpaces()
    {
        links.MailCommand();
        QCOMPARE(opened.size(), 1);
        const QUrl url(opened.first());
        QCOMPARE(url.scheme(), QString("mailto"));
        QCOMPARE(QUrl::fromPercentEncoding(url.query(QUrl::FullyEncoded).toUtf8()),
                 QString("subject=Dictionary  Comments"));
    }
};

QTEST_GUILESS_MAIN(LinksTest)
#include "links_test.moc"
