// The About window as a user meets it: its texts, its links' colours under
// the pointer, and where each click leads.
#include "links/maker.h"
#include "ui/about/about_window.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace helicordia;

class AboutTest : public QObject {
    Q_OBJECT
    QStringList opened;
    int mails = 0;
    std::unique_ptr<AboutWindow> form;

    QWidget *child(const char *name) { return form->findChild<QWidget *>(QString::fromLatin1(name)); }
    QColor colour(const char *name)
    {
        QWidget *w = child(name);
        return w->palette().color(qobject_cast<QLineEdit *>(w) ? QPalette::Text : QPalette::WindowText);
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName("Helicordia");
        QCoreApplication::setApplicationVersion(HELICORDIA_VERSION);
    }
    void init()
    {
        opened.clear();
        mails = 0;
        form = std::make_unique<AboutWindow>(
            AboutWindow::Links{[this](const QString &link) { opened << link; }, [this] { ++mails; }}, nullptr);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() { form.reset(); }

    void texts()
    {
        QCOMPARE(qobject_cast<QLabel *>(child("titleLabel"))->text(), QString("Helicordia ver. " HELICORDIA_VERSION));
        const QString expected =
            QString("Helicordia\r\nver. " HELICORDIA_VERSION "\r\n\r\n") +
            "Most people run frequencies three minutes each. For a 20 frequency set, this would be an hour long "
            "session. Higher powered devices (100W+) may require less time on each frequency. When a frequency is "
            "found to be particularly beneficial it may be run for a longer time after assessing detox reaction to "
            "ensure it is not too strong.\r\n"
            "Note that many times (if not most of the time) frequencies which are beneficial may not cause any "
            "sensation. And, many times frequencies which are 'hits'" +
            QChar(0x9D) +
            " may cause no apparent benefit. In general, though, frequencies which produce consistent hits over "
            "multiple sessions are usually therapeutic, and should be included in sessions until they no longer "
            "do\r\n"
            "Frequencies marked with an asterisk (*) in the comments section are thought to be particularly "
            "effective. \r\n"
            "You are able to modify the length of your treatment, to pause or stop it. \r\n"
            "This program let you to hold on a frequency since some people, when feeling a frequency, desire to run "
            "it longer. Also, you can skip the current frequency, since some people don't like certain frequencies. "
            "Programs display the frequency being run so people know what frequencies they like best. ";
        // Shown a second time, the window writes the same text again, nothing added.
        for (int showing = 0; showing < 2; ++showing) {
            QCOMPARE(form->notesText(), expected);
            QCOMPARE(qobject_cast<QPlainTextEdit *>(child("notesBox"))->toPlainText(),
                     QString(expected).replace("\r\n", "\n").remove(QChar(0x9D)));
            form->hide();
            form->show();
        }
    }

    // Each row moves the pointer onto a control; the colours of the home-page,
    // mail, kit and Orbitdeck links after the move follow ("r" red, "b" blue, "t" dark teal).
    void linkColours()
    {
        const QColor red = AboutWindow::LinkUnderMouse(), blue = AboutWindow::LinkResting(),
                     teal = AboutWindow::OrbitdeckLinkResting();
        const std::map<char, QColor> named{{'r', red}, {'b', blue}, {'t', teal}};
        const std::pair<const char *, const char *> steps[] = {
            {"linkFrame", "bbbt"},  {"kitDownloadLink", "bbrt"},  {"orbitdeckLink", "bbrr"}, {"homePageLink", "rbrr"},
            {"webCaption", "rbrr"}, {"orbitdeckPicture", "rbrr"}, {"mailLink", "rrrr"},      {"linkFrame", "bbbt"}};
        for (const auto &[target, expected] : steps) {
            QWidget *w = child(target);
            // The frame's background: a point inside the frame that no control covers.
            QTest::mouseMove(w, w == child("linkFrame") ? QPoint(20, 100) : QPoint(5, 5));
            int i = 0;
            for (const char *link : {"homePageLink", "mailLink", "kitDownloadLink", "orbitdeckLink"})
                QVERIFY2(colour(link) == named.at(expected[i++]), qPrintable(QString(target) + " -> " + link));
        }
        for (const char *link : {"homePageLink", "mailLink", "kitDownloadLink", "orbitdeckLink"})
            QCOMPARE(child(link)->cursor().shape(), Qt::PointingHandCursor);
    }

    // The window is hidden and shown again, not made anew: a link that was red
    // when it closed is back at rest when it opens.
    void linksRestWhenShownAgain()
    {
        for (const char *link : {"homePageLink", "mailLink", "kitDownloadLink", "orbitdeckLink"})
            QTest::mouseMove(child(link), QPoint(5, 5));
        QTest::mouseClick(child("closeButton"), Qt::LeftButton);
        form->show();
        for (const char *link : {"homePageLink", "mailLink", "kitDownloadLink"})
            QCOMPARE(colour(link), AboutWindow::LinkResting());
        QCOMPARE(colour("orbitdeckLink"), AboutWindow::OrbitdeckLinkResting());
    }

    void clicks_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("links");
        QTest::addColumn<int>("mailCount");
        QTest::newRow("home page") << "homePageLink" << QStringList{maker::webSite} << 0;
        QTest::newRow("kit") << "kitDownloadLink" << QStringList{maker::downloadSite + "/KitHelicordia.zip"} << 0;
        QTest::newRow("orbitdeck") << "orbitdeckLink" << QStringList{maker::downloadSite + "/kitorbitdeck.zip"} << 0;
        QTest::newRow("mail") << "mailLink" << QStringList{} << 1;
        QTest::newRow("caption") << "webCaption" << QStringList{} << 0;
    }
    void clicks()
    {
        QFETCH(QString, control);
        QFETCH(QStringList, links);
        QFETCH(int, mailCount);
        QWidget *w = child(qPrintable(control));
        QTest::mouseClick(w, Qt::RightButton, {}, QPoint(5, 5));
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(opened, links);
        QCOMPARE(mails, mailCount);
        if (control == "homePageLink")
            QCOMPARE(opened.value(0), qobject_cast<QLabel *>(w)->text());
        QVERIFY(form->isVisible());
    }

    void closeButton()
    {
        QCOMPARE(qobject_cast<QPushButton *>(child("closeButton"))->text(), QString("Click!"));
        QTest::mouseClick(child("closeButton"), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->windowTitle(), QString("About"));
    }
};

QTEST_MAIN(AboutTest)
#include "about_test.moc"
