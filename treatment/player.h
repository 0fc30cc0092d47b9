// The player window: one treatment with its transport buttons, sliders,
// labels and status line. It is frameless, cut to its own outline, dragged by
// its background, and reused for every treatment: closing it releases the tone
// engine and gives the main window back; the next Player_Start loads it again.
#pragma once

#include "links/links.h"
#include "treatment/player_core.h"
#include "ui/layout.h"
#include "ui/shaped_window.h"

#include <QPixmap>
#include <QPolygon>
#include <QTimer>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QAction;
class QMenu;
class QSlider;

namespace helicordia {

class PictureLabel;
class Platform;
class PlayerExport;
class SessionPlan;
class SessionPlayer;
struct SessionTreatment;

class Player : public ShapedWindow, private PlayerView {
    Q_OBJECT
public:
    Player(ToneEngine &engine, Platform &platform, QWidget *mainWindow, QWidget *parent = nullptr);
    ~Player() override;

    // Shows the window (which loads it: picture, outline, tone engine), hides
    // the main window, reads the frequency list and fills the labels. `numar`
    // is the catalogue entry's number, or minus the number of one of the
    // user's own treatments (PlayerNumber), which shows as "+3".
    void Player_Start(int numar, const QString &description, const QString &frecvente);

    static QString AfiseazaTimp(int valoare);

    // Plays a session: shows the window as Player_Start does, then plays
    // the session's treatments one after another (SessionPlayer).
    void playSession(const SessionPlan &plan);
    SessionPlayer &sessionPlayer() { return *session_; }
    // The volume as set on the volume slider, 0..1.
    float chosenVolume() const { return float(volumeSliderValue()) / float(VolumeScale); }

    // Every control of the window: place, font, and whether it is clicked.
    static Layout controls();

    // The window's outline in pixels (21 points, alternate fill).
    static QPolygon WindowOutline();

    // Run before the program ends because the engine failed.
    void setSaveBeforeAbruptEnd(std::function<void()> save) { core_.setSaveBeforeAbruptEnd(std::move(save)); }
    // What "History…" in the background menu opens.
    void setShowHistory(std::function<void()> show) { showHistory_ = std::move(show); }
    // Sets the treatment-length slider (within its range), as the user would.
    void setTreatmentLength(int seconds);

    // The program ends: the tone fades out and the engine closes, if the
    // window is loaded.
    void silenceForEnd();

    PlayerCore &core() { return core_; }
    const PlayerCore &core() const { return core_; }
    bool isLoaded() const { return loaded_; }
    bool buttonLookActive(TransportButton button) const;
    bool hasBuiltInBackground() const { return builtInBackground_; }

    // Asks where an export goes: the path, or empty to give up; *wav16 set
    // for 16-bit WAV. The file dialog unless a test puts its own in place.
    using ExportFileChooser = std::function<QString(const QString &suggested, bool *wav16)>;
    void setExportFileChooser(ExportFileChooser chooser);
    // "Export treatment…" of the background menu: the program as loaded, the
    // length set on the length slider, the volume and pan as set, into a
    // chosen file, rendered while the player plays on (PlayerExport).
    void exportTreatment();
    // The "Output" submenu of the background menu: "System default" and the
    // sound server's outputs by their description, the chosen one checked.
    void fillOutputMenu();

    // Event handlers (the controls and timers call these; tests may too).
    void btnPlay_Click() { core_.btnPlay_Click(); }
    void btnPause_Click() { core_.btnPause_Click(); }
    void btnStop_Click() { core_.btnStop_Click(); }
    void btnSkip_Click() { core_.btnSkip_Click(); }
    void btnHold_Click() { core_.btnHold_Click(); }
    void clockTimer_Timer() { core_.clockTimer_Timer(); }
    void engineTimer_Timer();
    void volumeSlider_Click() { core_.volumeSlider_Click(); }
    void panSlider_Click() { core_.panSlider_Click(); }
    void homePageButton_Click();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // PlayerView
    void setText(PlayerLabel label, const QString &text) override;
    void setButtonLook(TransportButton button, bool active) override;
    void setLengthSliderEnabled(bool enabled) override;
    void setClockTimer(bool on) override;
    void setUpLengthSlider(const SliderSetup &setup) override;
    int lengthSliderValue() const override;
    int volumeSliderValue() const override;
    int panSliderValue() const override;

    void buildControls();
    void buildLabels(Layout layout);
    void buildSliders(Layout layout);
    void buildPictures(Layout layout);
    void buildTransport(Layout layout);
    void buildStatusLine(Layout layout);
    void buildTimers();
    void retranslate();
    void restoreDesignState();
    void placeOverMainWindow();
    bool showForTreatment();
    void loadSessionTreatment(const SessionTreatment &treatment);
    bool Form_Load();
    void Form_Unload();

    static constexpr int TransportButtonCount = 5;
    // Every PlayerLabel but the status line is a label.
    static constexpr int ValueLabelCount = int(PlayerLabel::statusLine);

    Platform &platform_;
    PlayerCore core_;
    LinkLauncher links_;
    QWidget *mainWindow_;
    bool loaded_ = false;
    bool builtInBackground_ = false;

    std::array<QLabel *, ValueLabelCount> valueLabels_{}; // by PlayerLabel
    // Whether a label still shows the text it has when the window loads.
    std::array<bool, ValueLabelCount> designCaption_{};
    QSlider *lengthSlider_ = nullptr;
    QSlider *volumeSlider_ = nullptr;
    QSlider *panSlider_ = nullptr;
    PictureLabel *homePageButton_ = nullptr;
    PictureLabel *volumeWarning_ = nullptr;
    std::array<PictureLabel *, TransportButtonCount> transportButtons_{}; // by TransportButton
    // Each transport button's normal and active look.
    std::array<std::array<QPixmap, 2>, TransportButtonCount> buttonLooks_{};
    std::array<bool, TransportButtonCount> lookActive_{};
    QLineEdit *statusLine_ = nullptr;
    QMenu *backgroundMenu_ = nullptr;
    QAction *exportItem_ = nullptr;
    QAction *historyItem_ = nullptr;
    QMenu *outputMenu_ = nullptr;
    PlayerExport *exporter_ = nullptr;
    std::function<void()> showHistory_;
    SessionPlayer *session_ = nullptr;
    QLabel *sessionPlace_ = nullptr; // "Treatment 2 of 3, round 1 of 2" while a session plays
    QTimer clockTimer_;              // the treatment clock, once a second while a treatment plays
    QTimer engineTimer_;             // the engine tick, ten times a second while the window is loaded
};

} // namespace helicordia
