// The shared controls as the pointer meets them: link colours and clicks,
// picture clicks and presses.
#include "ui/link_label.h"
#include "ui/picture_label.h"

#include <QSignalSpy>
#include <QTest>

using namespace helicordia;

class ControlsTest : public QObject {
    Q_OBJECT

private slots:
    void linkColoursFollowThePointer()
    {
        QWidget window;
        auto *link = new LinkLabel(QStringLiteral("Recent"), &window);
        link->setGeometry(10, 10, 80, 20);
        const LinkLabel::Colours colours{Qt::blue, Qt::red, Qt::cyan};
        link->setColours(colours);
        window.show();
        QSignalSpy pressed(link, &LinkLabel::pressed);
        QSignalSpy clicked(link, &LinkLabel::clicked);

        QTest::mouseMove(link, QPoint(5, 5));
        QCOMPARE(link->textColour(), colours.hover);
        QTest::mousePress(link, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(link->textColour(), colours.pressed);
        QCOMPARE(pressed.size(), 1);
        QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicked.size(), 1);
        link->showNormal();
        QCOMPARE(link->textColour(), colours.normal);

        // Released away from the text: no click.
        QTest::mousePress(link, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(200, 5));
        QCOMPARE(clicked.size(), 1);
        // Any button presses; only the left one clicks.
        QTest::mouseClick(link, Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(pressed.size(), 3);
        QCOMPARE(link->textColour(), colours.pressed);
        QCOMPARE(clicked.size(), 1);
    }

    void pictureClicksOnlyWhenReleasedOverIt()
    {
        QWidget window;
        auto *picture = new PictureLabel(&window);
        picture->setGeometry(0, 0, 32, 32);
        window.show();
        QSignalSpy pressed(picture, &PictureLabel::pressed);
        QSignalSpy clicked(picture, &PictureLabel::clicked);
        QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(16, 16));
        QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(16, 16));
        QTest::mouseRelease(picture, Qt::LeftButton, {}, QPoint(40, 16));
        QTest::mouseClick(picture, Qt::RightButton, {}, QPoint(16, 16));
        QCOMPARE(pressed.size(), 3);
        QCOMPARE(pressed.last().at(0).value<Qt::MouseButton>(), Qt::RightButton);
        QCOMPARE(clicked.size(), 1);
    }
};

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
