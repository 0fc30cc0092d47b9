#include "tests/treatment/fake_engine.h"
#include "tests/treatment/fake_platform.h"
#include "treatment/player.h"
#include "treatment/player_export.h"

#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <functional>
#include <vector>

using namespace helicordia;
using namespace helicordia::test;

namespace {

struct Window {
    RecordingPlatform platform;
    RecordingEngine engine;
    QWidget mainWindow;
    Player player{engine, platform, &mainWindow};

    Window()
    {
        player.setSaveBeforeAbruptEnd(platform.saveRecorder());
        mainWindow.show();
    }
    template <typename T = QLabel> T *control(const char *name) const
    {
        return player.findChild<T *>(QLatin1String(name));
    }
    QString text(const char *name) const { return control(name)->text(); }
};

} // namespace

// What a layout can get wrong: a control outside the window, a clickable one
// under another, a font other than the one given.
TEST(PlayerWindow, LayoutKeepsControlsInsideUncoveredAndInTheirFonts)
{
    Window w;
    w.player.show();
    for (const ControlPlace &place : Player::controls()) {
        const auto *control = w.control<QWidget>(place.name);
        ASSERT_NE(control, nullptr) << place.name;
        const QRect inWindow(control->mapTo(&w.player, QPoint(0, 0)), control->size());
        EXPECT_TRUE(w.player.rect().contains(inWindow)) << place.name;
        if (place.font.points > 0) {
            EXPECT_EQ(control->font().family(), QStringLiteral("Arial")) << place.name;
            EXPECT_DOUBLE_EQ(control->font().pointSizeF(), place.font.points) << place.name;
            EXPECT_EQ(control->font().bold(), place.font.bold) << place.name;
        }
        if (!place.clickable)
            continue;
        for (const QPoint p :
             {inWindow.center(), inWindow.topLeft() + QPoint(2, 2), inWindow.bottomRight() - QPoint(2, 2)}) {
            const QWidget *hit = w.player.childAt(p);
            EXPECT_TRUE(hit == control || control->isAncestorOf(hit))
                << place.name << " is covered at " << p.x() << "," << p.y();
        }
    }
    // Headings and values are Arial 9.75 bold; the volume and pan headings keep the window's font.
    EXPECT_NE(w.control("volumeHeading")->font().family(), QStringLiteral("Arial"));
    EXPECT_TRUE(w.control("lblHealthProblem")->font().bold());
    EXPECT_EQ(w.player.size(), QSize(619, 460));
    EXPECT_TRUE(w.player.windowFlags() & Qt::FramelessWindowHint);
}

TEST(PlayerWindow, ControlsHaveTheirCaptionsTipsAndRanges)
{
    Window w;
    const std::pair<const char *, const char *> captions[] = {
        {"healthProblemHeading", "Health problem:"},
        {"entryIdHeading", "Health problem ID:"},
        {"frequencyCountHeading", "Number of frequency:"},
        {"suggestedLengthHeading", "Duration of treatment (suggested):"},
        {"lengthHeading", "Duration of treatment (can adjust):"},
        {"volumeHeading", "Channel Volume"},
        {"panHeading", "Channel Pan"},
        {"transportHeading", "Frequency control"},
        {"lblVolume", "Idle"},
        {"lblTime", "Time"},
        {"lblTrack", "Track"},
        {"lblState", "Idle"}};
    for (const auto &[name, caption] : captions)
        EXPECT_EQ(w.text(name), QString::fromLatin1(caption)) << name;
    const std::pair<const char *, const char *> tips[] = {{"lblVolume", "Status"},
                                                          {"lblTime", "Elapsed Time"},
                                                          {"lblTrack", "Track number"},
                                                          {"lblState", "Status"},
                                                          {"volumeWarning", "High volume level may be dangerous!"},
                                                          {"minimiseButton", "Minimized"},
                                                          {"closeButton", "Exit"},
                                                          {"btnHold", "Hold current frequency (continuous play)"},
                                                          {"btnSkip", "Skip current frequency"},
                                                          {"btnPlay", "Play"},
                                                          {"btnPause", "Pause"},
                                                          {"btnStop", "Stop"},
                                                          {"lengthSlider", "Duration of treatment (can adjust)"},
                                                          {"volumeSlider", "Channel Volume"},
                                                          {"panSlider", "Channel Pan"}};
    for (const auto &[name, tip] : tips)
        EXPECT_EQ(w.control<QWidget>(name)->toolTip(), QString::fromLatin1(tip)) << name;
    EXPECT_FALSE(w.control("homePageButton")->toolTip().isEmpty());
    EXPECT_EQ(w.control("btnPlay")->parentWidget()->objectName(), QStringLiteral("playPauseStopFrame"));
    EXPECT_EQ(w.control("btnHold")->parentWidget()->objectName(), QStringLiteral("holdSkipFrame"));
    auto *volume = w.control<QSlider>("volumeSlider");
    EXPECT_EQ(volume->minimum(), 0);
    EXPECT_EQ(volume->maximum(), 1024);
    EXPECT_EQ(volume->value(), 103);
    EXPECT_EQ(volume->singleStep(), 1);
    EXPECT_EQ(volume->pageStep(), 100);
    auto *pan = w.control<QSlider>("panSlider");
    EXPECT_EQ(pan->minimum(), -512);
    EXPECT_EQ(pan->maximum(), 512);
    EXPECT_EQ(pan->value(), 0);
    EXPECT_EQ(pan->singleStep(), 5);
    EXPECT_EQ(pan->pageStep(), 50);
}

TEST(PlayerWindow, StartShowsLabelsSliderAndMask)
{
    Window w;
    w.player.Player_Start(1, QStringLiteral("Alpha complaint (example) "), QStringLiteral("10,20.5,30"));
    EXPECT_TRUE(w.player.isVisible());
    EXPECT_FALSE(w.mainWindow.isVisible());
    EXPECT_EQ(w.text("lblID"), QStringLiteral("1"));
    EXPECT_EQ(w.text("lblHealthProblem"), QStringLiteral("Alpha complaint (example) "));
    EXPECT_EQ(w.text("lblFrequencyCount"), QStringLiteral("3"));
    EXPECT_EQ(w.text("lblSuggestedLength"), QStringLiteral("00h:09m:00s"));
    EXPECT_EQ(w.text("lblTreatmentLength"), QStringLiteral("00h:09m:00s"));
    EXPECT_EQ(w.text("lblTime"), QStringLiteral("Time"));
    EXPECT_EQ(w.text("lblState"), QStringLiteral("Idle"));
    EXPECT_EQ(w.text("lblTrack"), QStringLiteral("Track"));
    auto *lengthSlider = w.control<QSlider>("lengthSlider");
    EXPECT_EQ(lengthSlider->maximum(), 3600);
    EXPECT_EQ(lengthSlider->value(), 540);
    EXPECT_EQ(lengthSlider->minimum(), 30);
    EXPECT_EQ(lengthSlider->singleStep(), 10);
    EXPECT_EQ(lengthSlider->pageStep(), 60);
    EXPECT_TRUE(lengthSlider->isEnabled());
    EXPECT_EQ(w.player.core().treatmentLength(), 540);
    EXPECT_EQ(w.engine.calls.size(), 5); // the engine was set up, nothing played

    const QRegion expected(Player::WindowOutline(), Qt::OddEvenFill);
    EXPECT_EQ(w.player.mask(), expected);
    EXPECT_EQ(Player::WindowOutline().size(), 21);
    EXPECT_TRUE(w.player.rect().contains(w.player.mask().boundingRect()));
    EXPECT_FALSE(w.player.mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(w.player.mask().contains(QPoint(618, 459)));
    EXPECT_TRUE(w.player.mask().contains(QPoint(300, 200)));
    // No picture in the (empty) program folder: the built-in background.
    EXPECT_TRUE(w.player.hasBuiltInBackground());

    auto *engineTimer = w.player.findChild<QTimer *>(QStringLiteral("engineTimer"));
    auto *clockTimer = w.player.findChild<QTimer *>(QStringLiteral("clockTimer"));
    ASSERT_TRUE(clockTimer && engineTimer);
    EXPECT_TRUE(engineTimer->isActive());
    EXPECT_EQ(engineTimer->interval(), 100);
    EXPECT_FALSE(clockTimer->isActive());
    EXPECT_EQ(clockTimer->interval(), 1000);
}

TEST(PlayerWindow, SliderSetUpAfterALongerProgramIsNotClamped)
{
    Window w;
    QStringList many;
    for (int i = 0; i < 100; ++i)
        many << QStringLiteral("100");
    w.player.Player_Start(5, QStringLiteral("Long"), many.join(QLatin1Char(',')));
    auto *lengthSlider = w.control<QSlider>("lengthSlider");
    EXPECT_EQ(lengthSlider->minimum(), 1000);
    EXPECT_EQ(lengthSlider->maximum(), 36000);
    EXPECT_EQ(lengthSlider->value(), 18000);
    EXPECT_EQ(w.text("lblSuggestedLength"), QStringLiteral("05h:00m:00s"));
    w.player.close();
    w.player.Player_Start(6, QStringLiteral("Short"), QStringLiteral("528"));
    EXPECT_EQ(lengthSlider->minimum(), 10);
    EXPECT_EQ(lengthSlider->maximum(), 3600);
    EXPECT_EQ(lengthSlider->value(), 180);
    EXPECT_EQ(w.player.core().treatmentLength(), 180);
}

TEST(PlayerWindow, TreatmentLengthFollowsTheLengthSlider)
{
    Window w;
    w.player.Player_Start(1, QStringLiteral("x"), QStringLiteral("528"));
    auto *lengthSlider = w.control<QSlider>("lengthSlider");
    lengthSlider->setValue(600);
    EXPECT_EQ(w.player.core().treatmentLength(), 600);
    EXPECT_EQ(w.text("lblTreatmentLength"), QStringLiteral("00h:10m:00s"));
    w.player.btnPlay_Click();
    EXPECT_FALSE(lengthSlider->isEnabled());
    w.player.btnStop_Click();
    EXPECT_TRUE(lengthSlider->isEnabled());
}

// The background menu exports the loaded program with the length set on the
// slider; a file that cannot be written is reported by name.
TEST(PlayerWindow, BackgroundMenuExportsTheTreatment)
{
    Window w;
    w.player.Player_Start(1, QStringLiteral("Alpha: two "), QStringLiteral("528,741"));
    w.control<QSlider>("lengthSlider")->setValue(25);
    auto *menu = w.player.findChild<QMenu *>(QStringLiteral("backgroundMenu"));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("Export treatment…"));
    EXPECT_EQ(menu->actions()[1]->text(), QStringLiteral("History…"));
    EXPECT_EQ(menu->actions()[2]->text(), QStringLiteral("Output"));

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("alpha.flac")), suggested;
    w.player.setExportFileChooser([&](const QString &s, bool *) {
        suggested = s;
        return path;
    });
    auto *exporter = w.player.findChild<PlayerExport *>(QStringLiteral("treatmentExport"));
    ASSERT_NE(exporter, nullptr);
    QSignalSpy finished(exporter, &PlayerExport::finished);
    menu->actions()[0]->trigger();
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_TRUE(suggested.endsWith(QStringLiteral("/Alpha_ two.flac"))) << suggested.toStdString();
    SF_INFO info{};
    SNDFILE *f = sf_open(path.toLocal8Bit().constData(), SFM_READ, &info);
    ASSERT_NE(f, nullptr);
    sf_close(f);
    EXPECT_EQ(info.frames / 48000, 25);
    EXPECT_EQ(info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    EXPECT_TRUE(w.platform.messages.isEmpty());

    path = dir.filePath(QStringLiteral("alpha.flac/inside.wav"));
    menu->actions()[0]->trigger();
    ASSERT_TRUE(finished.wait(60000));
    ASSERT_EQ(w.platform.messages.size(), 1);
    EXPECT_TRUE(w.platform.messages[0].contains(path)) << w.platform.messages[0].toStdString();
}

// The export is what Play plays. Play starts the tone with the channel's own
// pan, the centre, and a pan moved before Play reaches it only when moved
// again while it plays: the file is centred the same way.
TEST(PlayerWindow, ExportHasThePanThatPlayStartsWith)
{
    Window w;
    w.player.Player_Start(1, QStringLiteral("x"), QStringLiteral("528"));
    w.control<QSlider>("panSlider")->setValue(-512);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pan.wav"));
    w.player.setExportFileChooser([&](const QString &, bool *) { return path; });
    QSignalSpy finished(w.player.findChild<PlayerExport *>(QStringLiteral("treatmentExport")), &PlayerExport::finished);
    w.player.exportTreatment();
    ASSERT_TRUE(finished.wait(60000));
    SF_INFO info{};
    SNDFILE *f = sf_open(path.toLocal8Bit().constData(), SFM_READ, &info);
    ASSERT_NE(f, nullptr);
    std::vector<float> frames(2 * 48000);
    ASSERT_EQ(sf_readf_float(f, frames.data(), 48000), 48000);
    sf_close(f);
    double left = 0, right = 0;
    for (std::size_t i = 4800; i < 48000; ++i) {
        left += std::abs(frames[2 * i]);
        right += std::abs(frames[2 * i + 1]);
    }
    EXPECT_NEAR(left / right, 1.0, 0.01);
}

// The Output submenu: "System default" and the server's outputs by their
// description, the chosen one checked; a choice reaches the engine.
TEST(PlayerWindow, OutputMenuChoosesWhereTheTonePlays)
{
    Window w;
    w.engine.outputs = {{"usb", "USB Headset"}, {"hdmi", "HDMI Audio"}};
    w.player.Player_Start(1, QStringLiteral("x"), QStringLiteral("528"));
    auto *menu = w.player.findChild<QMenu *>(QStringLiteral("outputMenu"));
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->accessibleName().isEmpty());
    const auto shown = [&] {
        emit menu->aboutToShow();
        QStringList items;
        for (QAction *a : menu->actions())
            items << (a->isChecked() ? QStringLiteral("* ") : QString()) + a->text();
        return items;
    };
    EXPECT_EQ(shown(), (QStringList{"* System default", "USB Headset", "HDMI Audio"}));
    w.engine.clear();
    menu->actions()[1]->trigger();
    EXPECT_EQ(w.engine.named(QStringLiteral("Tone_System_SetOutput")), QStringList{"Tone_System_SetOutput(11,usb)"});
    EXPECT_EQ(shown(), (QStringList{"System default", "* USB Headset", "HDMI Audio"}));
    // Unplugged: still named, so that the user sees what was chosen.
    w.engine.outputs.pop_back();
    w.engine.outputs.front() = {"hdmi", "HDMI Audio"};
    EXPECT_EQ(shown(), (QStringList{"System default", "HDMI Audio", "* usb (not connected)"}));
}

// Export renders on its own thread: the window's event loop runs meanwhile
// (progress arrives while the player plays on), and Cancel leaves no file.
TEST(PlayerWindow, ExportRunsBesideThePlayerAndCancelLeavesNothing)
{
    Window w;
    w.player.Player_Start(1, QStringLiteral("Tag <b>bold</b>"), QStringLiteral("528,741"));
    w.control<QSlider>("lengthSlider")->setValue(3600);
    w.player.btnPlay_Click();
    QTemporaryDir dir;
    w.player.setExportFileChooser([&](const QString &, bool *) { return dir.filePath(QStringLiteral("long.flac")); });
    auto *exporter = w.player.findChild<PlayerExport *>(QStringLiteral("treatmentExport"));
    QSignalSpy finished(exporter, &PlayerExport::finished);
    bool progressed = false; // set here, on the window's thread
    QObject::connect(exporter, &PlayerExport::progressed, &w.player, [&] { progressed = true; });
    w.player.exportTreatment();
    ASSERT_TRUE(QTest::qWaitFor([&] { return progressed; }, 60000));
    EXPECT_TRUE(exporter->running());
    EXPECT_TRUE(w.player.findChild<QTimer *>(QStringLiteral("clockTimer"))->isActive());
    auto *progress = w.player.findChild<QProgressDialog *>(QStringLiteral("exportProgress"));
    EXPECT_EQ(progress->findChild<QLabel *>()->textFormat(), Qt::PlainText);
    EXPECT_TRUE(progress->labelText().startsWith(QStringLiteral("Tag <b>bold</b>\n")));
    progress->findChild<QPushButton *>()->click();
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_EQ(finished[0][0].value<ExportOutcome>(), ExportOutcome::Cancelled);
    EXPECT_EQ(w.player.core().state(), PlayerState::Playing);
    EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    EXPECT_TRUE(w.platform.messages.isEmpty());
}

// A name is shown exactly as written: markup in it is text, not formatting.
TEST(PlayerWindow, ShowsTheNameAsWritten)
{
    Window w;
    w.player.Player_Start(1, QStringLiteral("Tag <b>bold</b>"), QStringLiteral("528"));
    EXPECT_EQ(w.text("lblHealthProblem"), QStringLiteral("Tag <b>bold</b>"));
    for (const QLabel *label : w.player.findChildren<QLabel *>()) {
        if (!label->text().isEmpty()) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
        }
    }
}

TEST(PlayerWindow, TransportDrivesLabelsLooksAndTimers)
{
    Window w;
    w.player.Player_Start(1, QStringLiteral("x"), QStringLiteral("528,741"));
    auto *clockTimer = w.player.findChild<QTimer *>(QStringLiteral("clockTimer"));
    w.player.btnPlay_Click();
    EXPECT_TRUE(clockTimer->isActive());
    EXPECT_TRUE(w.player.buttonLookActive(TransportButton::btnPlay));
    EXPECT_EQ(w.text("lblState"), QStringLiteral("Play"));
    EXPECT_EQ(w.text("lblTrack"), QStringLiteral("1"));
    w.player.clockTimer_Timer();
    EXPECT_EQ(w.text("lblTime"), QStringLiteral("00h:00m:00s"));
    w.player.btnPause_Click();
    EXPECT_FALSE(clockTimer->isActive());
    EXPECT_TRUE(w.player.buttonLookActive(TransportButton::btnPause));
    EXPECT_FALSE(w.player.buttonLookActive(TransportButton::btnPlay));
    EXPECT_EQ(w.text("lblState"), QStringLiteral("Pause"));
    w.player.btnPause_Click();
    EXPECT_TRUE(clockTimer->isActive());
    w.player.btnHold_Click();
    EXPECT_TRUE(w.player.buttonLookActive(TransportButton::btnHold));
    EXPECT_FALSE(clockTimer->isActive());
    w.player.btnHold_Click();
    w.player.btnStop_Click();
    EXPECT_FALSE(clockTimer->isActive());
    EXPECT_TRUE(w.player.buttonLookActive(TransportButton::btnStop));
    EXPECT_EQ(w.text("lblState"), QStringLiteral("Stop"));
    // the two looks differ
    auto *play = w.control("btnPlay");
    const QImage normal = play->pixmap().toImage();
    w.player.btnPlay_Click();
    EXPECT_NE(play->pixmap().toImage(), normal);
}

TEST(PlayerWindow, StatusLineUsesTheWindowLocale)
{
    Window w;
    w.player.Player_Start(1, QStringLiteral("x"), QStringLiteral("7.83"));
    w.player.engineTimer_Timer();
    EXPECT_EQ(w.control<QLineEdit>("statusLine")->text(),
              QStringLiteral("  Channel stopped : Frequency 0Hz Volume 0% Pan 0%"));
    EXPECT_EQ(w.text("lblVolume"), QStringLiteral("0 %"));
    w.player.btnPlay_Click();
    w.engine.frequency = 783.0f;
    w.engine.volume = 103.0f / 1024.0f;
    w.engine.pan = -0.25f;
    w.engine.playing = 1;
    w.player.setLocale(QLocale(QLocale::German, QLocale::Germany));
    w.player.engineTimer_Timer();
    EXPECT_EQ(w.control<QLineEdit>("statusLine")->text(),
              QStringLiteral("  Channel playing : Frequency 7,83Hz Volume 10% Pan -25%"));
    w.player.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    w.player.engineTimer_Timer();
    EXPECT_EQ(w.control<QLineEdit>("statusLine")->text(),
              QStringLiteral("  Channel playing : Frequency 7.83Hz Volume 10% Pan -25%"));
    EXPECT_EQ(w.text("lblVolume"), QStringLiteral("10 %"));
}

// However the handle moves, the channel gets the value the handle shows at
// once: the wheel, the keys, a click on the groove, and dragging (before the
// handle is let go).
TEST(PlayerWindow, EveryWayOfMovingVolumeAndPanIsHeard)
{
    Window w;
    w.player.Player_Start(1, QStringLiteral("x"), QStringLiteral("528"));
    w.player.btnPlay_Click();
    auto *volume = w.control<QSlider>("volumeSlider");
    auto *pan = w.control<QSlider>("panSlider");
    w.player.show();
    auto wheel = [](QSlider *s, int delta) {
        QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(s, &e);
    };
    const struct {
        const char *way;
        QSlider *slider;
        std::function<void()> move;
    } moves[] = {
        {"wheel", volume, [&] { wheel(volume, 120); }},
        {"wheel on pan", pan, [&] { wheel(pan, -120); }},
        {"keys", volume, [&] { QTest::keyClick(volume, Qt::Key_PageUp); }},
        {"groove", volume,
         [&] { QTest::mouseClick(volume, Qt::LeftButton, {}, QPoint(volume->width() - 3, volume->height() / 2)); }},
        {"drag", volume,
         [&] {
             volume->setSliderDown(true);
             volume->setSliderPosition(40);
         }},
    };
    for (const auto &m : moves) {
        const int before = m.slider->value();
        w.engine.clear();
        m.move();
        ASSERT_NE(m.slider->value(), before) << m.way;
        const bool isPan = m.slider == pan;
        const QString expected = QStringLiteral("Tone_Channel_Set%1(33,%2)")
                                     .arg(isPan ? "Pan" : "Volume")
                                     .arg(double(float(m.slider->value()) / (isPan ? 512.0f : 1024.0f)), 0, 'g', 9);
        ASSERT_FALSE(w.engine.calls.isEmpty()) << m.way;
        EXPECT_EQ(w.engine.calls.last(), expected) << m.way;
    }
    volume->setSliderDown(false);
}

TEST(PlayerWindow, CloseReleasesTheEngineAndBringsBackTheMainWindow)
{
    Window w;
    w.player.Player_Start(3, QStringLiteral("x"), QStringLiteral("528"));
    w.player.btnPlay_Click();
    w.engine.clear();
    w.player.closeButton_Click();
    EXPECT_FALSE(w.player.isVisible());
    EXPECT_TRUE(w.mainWindow.isVisible());
    EXPECT_FALSE(w.player.isLoaded());
    EXPECT_EQ(w.engine.calls,
              (QStringList{QStringLiteral("Tone_Channel_Stop(33)"), QStringLiteral("Tone_DSP_Release(22)"),
                           QStringLiteral("Tone_System_Close(11)"), QStringLiteral("Tone_System_Release(11)")}));
    EXPECT_FALSE(w.player.findChild<QTimer *>(QStringLiteral("engineTimer"))->isActive());
    EXPECT_FALSE(w.player.findChild<QTimer *>(QStringLiteral("clockTimer"))->isActive());

    // Reused: the next start loads afresh with design-time texts, and the
    // members (the channel handle) keep their values.
    w.engine.clear();
    w.player.Player_Start(4, QStringLiteral("y"), QStringLiteral("741"));
    EXPECT_EQ(w.engine.calls.first(), QStringLiteral("Tone_System_Create()"));
    EXPECT_EQ(w.text("lblState"), QStringLiteral("Idle"));
    EXPECT_EQ(w.text("lblTime"), QStringLiteral("Time"));
    EXPECT_EQ(w.text("lblTrack"), QStringLiteral("Track"));
    EXPECT_FALSE(w.player.buttonLookActive(TransportButton::btnPlay));
    EXPECT_EQ(w.control<QSlider>("volumeSlider")->value(), 103);
    EXPECT_EQ(w.player.core().toneChannel(), 33u);
    EXPECT_EQ(w.player.core().state(), PlayerState::Stopped);
    EXPECT_FALSE(w.mainWindow.isVisible());
    w.player.close(); // any close runs the same unload
    EXPECT_TRUE(w.mainWindow.isVisible());
}

TEST(PlayerWindow, EngineErrorAtStartEndsWithoutUnload)
{
    Window w;
    w.engine.failures[QStringLiteral("Tone_System_Init")] = 5;
    w.player.Player_Start(1, QStringLiteral("x"), QStringLiteral("528"));
    ASSERT_EQ(w.platform.messages.size(), 1);
    EXPECT_EQ(w.platform.messages[0], QStringLiteral("Tone engine error! (5) Some engine sentence."));
    EXPECT_EQ(w.platform.events,
              (QStringList{QStringLiteral("message"), QStringLiteral("save"), QStringLiteral("end(1)")}));
    const qsizetype calls = w.engine.calls.size();
    w.player.engineTimer_Timer();
    w.player.btnPlay_Click();
    w.player.close();
    EXPECT_EQ(w.engine.calls.size(), calls);
    EXPECT_EQ(w.platform.endStatuses, QList<int>{1});
}

TEST(PlayerWindow, HomePagePictureOpensTheMakersHomePage)
{
    Window w;
    w.player.homePageButton_Click();
    ASSERT_EQ(w.platform.urls.size(), 1);
    EXPECT_EQ(w.platform.urls[0].toString(), QStringLiteral("https://helicordia.example.org/index.htm"));
}

TEST(PlayerWindow, MinimiseKeepsTheTreatmentRunning)
{
    Window w;
    w.player.Player_Start(1, QStringLiteral("x"), QStringLiteral("528"));
    w.player.btnPlay_Click();
    w.player.minimiseButton_Click();
    EXPECT_TRUE(w.player.isMinimized());
    EXPECT_TRUE(w.player.findChild<QTimer *>(QStringLiteral("clockTimer"))->isActive());
    EXPECT_TRUE(w.player.isLoaded());
}

TEST(PlayerWindow, BackgroundPictureFromTheProgramFolder)
{
    QTemporaryDir dir;
    QImage img(700, 500, QImage::Format_RGB32);
    img.fill(QColor(10, 200, 30));
    ASSERT_TRUE(img.save(dir.filePath(QStringLiteral("Background_5.jpg")), "JPG"));
    Window w;
    w.platform.folder = dir.path();
    w.player.Player_Start(1, QStringLiteral("x"), QStringLiteral("528"));
    EXPECT_FALSE(w.player.hasBuiltInBackground());
    const QImage shot = w.player.grab().toImage();
    const QColor c = shot.pixelColor(300, 20);
    EXPECT_LT(c.red(), 60);
    EXPECT_GT(c.green(), 150);
}

// ---- dragging

struct DragCase {
    int window;
    int drag;
    int pointer;
    int result;
};
void PrintTo(const DragCase &c, std::ostream *os)
{
    *os << "window " << c.window << ", press " << c.drag << ", pointer " << c.pointer;
}
class DragStep : public ::testing::TestWithParam<DragCase> {};
TEST_P(DragStep, FloorsToThirtyTwoTwipsAndStaysInRange)
{
    const DragCase &c = GetParam();
    EXPECT_EQ(DragStepTwips(c.window, c.drag, c.pointer), c.result);
}
INSTANTIATE_TEST_SUITE_P(Figures, DragStep,
                         ::testing::Values(DragCase{1500, 300, 300, 1472}, DragCase{1500, 300, 340, 1536},
                                           DragCase{0, 10, 0, -32}, DragCase{0, 0, 31, 0}, DragCase{0, 0, 32, 32},
                                           DragCase{32760, 0, 3000, 35744}, DragCase{-32760, 3000, 0, -35776},
                                           DragCase{2147483000, -2147483000, 2147483000, 2147483616},
                                           DragCase{-2147483000, 2147483000, -2147483000, -2147483648}));

TEST(PlayerWindow, DragsByTheBackgroundOnly)
{
    Window w;
    w.player.Player_Start(1, QStringLiteral("x"), QStringLiteral("528"));
    w.player.move(100, 100);
    // left press on the background, then move right by 40 pixels
    QTest::mousePress(&w.player, Qt::LeftButton, {}, QPoint(300, 30));
    QMouseEvent move(QEvent::MouseMove, QPointF(340, 30), w.player.mapToGlobal(QPointF(340, 30)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.player, &move);
    // 1500 - 4500 + 5100 = 2100 twips -> 2080 -> 139 px; 1500 - 450 + 450 = 1500 -> 1472 -> 98 px
    EXPECT_EQ(w.player.pos(), QPoint(139, 98));
    QTest::mouseRelease(&w.player, Qt::LeftButton, {}, QPoint(340, 30));

    // a right press does not drag
    const QPoint before = w.player.pos();
    QTest::mousePress(&w.player, Qt::RightButton, {}, QPoint(300, 30));
    QMouseEvent rightMove(QEvent::MouseMove, QPointF(380, 80), w.player.mapToGlobal(QPointF(380, 80)), Qt::NoButton,
                          Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(&w.player, &rightMove);
    EXPECT_EQ(w.player.pos(), before);
    QTest::mouseRelease(&w.player, Qt::RightButton, {}, QPoint(380, 80));

    // a press on a label does not drag
    QLabel *label = w.control("lblHealthProblem");
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent labelMove(QEvent::MouseMove, QPointF(300, 300), label->mapToGlobal(QPointF(300, 300)), Qt::NoButton,
                          Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(label, &labelMove);
    EXPECT_EQ(w.player.pos(), before);
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(5, 5));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
