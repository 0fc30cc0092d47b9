// The player window: one treatment with its transport buttons, sliders,
// labels and status line. It is frameless, cut to its own outline, dragged by
// its background, and reused for every treatment: closing it releases the tone
// engine and gives the main window back; the next Player_Start loads it again.
#pragma once

#include "links/links.h"
#include "treatment/player_core.h"
#include "ui/layout.h"
#include "ui/window_drag.h"

#include <QImage>
#include <QPixmap>
#include <QPolygon>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QSlider;
class QStatusBar;

namespace helicordia {

class PictureLabel;
class Platform;
class PlayerExport;

class Player : public QWidget, private PlayerView {
    Q_OBJECT
public:
    Player(ToneEngine &engine, Platform &platform, QWidget *mainWindow, QWidget *parent = nullptr);
    ~Player() override;

    // Shows the window (which loads it: picture, outline, tone engine), hides
    // the main window, reads the frequency list and fills the labels.
    void Player_Start(int numar, const QString &description, const QString &frecvente);

    static QString AfiseazaTimp(int valoare);

    // Every control of the window: place, font, and whether it is clicked.
    static Layout controls();

    // The window's outline in pixels (21 points, alternate fill).
    static QPolygon WindowOutline();

    // Run before the program ends because the engine failed.
    void setSaveBeforeAbruptEnd(std::function<void()> save) { core_.setSaveBeforeAbruptEnd(std::move(save)); }

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
    // length set on Slider1, the volume and pan as set, into a chosen file,
    // rendered while the player plays on (PlayerExport).
    void exportTreatment();

    // Event handlers (the controls and timers call these; tests may too).
    void btnPlay_Click() { core_.btnPlay_Click(); }
    void btnPause_Click() { core_.btnPause_Click(); }
    void btnStop_Click() { core_.btnStop_Click(); }
    void btnSkip_Click() { core_.btnSkip_Click(); }
    void btnHold_Click() { core_.btnHold_Click(); }
    void Timer1_Timer() { core_.Timer1_Timer(); }
    void Timer2_Timer();
    void volumeSlider_Click() { core_.volumeSlider_Click(); }
    void panSlider_Click() { core_.panSlider_Click(); }
    void Image1_Click();
    void Image2_Click();
    void Image4_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // PlayerView
    void setText(PlayerLabel label, const QString &text) override;
    void setButtonLook(TransportButton button, bool active) override;
    void setSlider1Enabled(bool enabled) override;
    void setTimer1(bool on) override;
    void setupSlider1(const SliderSetup &setup) override;
    int slider1Value() const override;
    int volumeSliderValue() const override;
    int panSliderValue() const override;

    void buildControls();
    void restoreDesignState();
    void placeOverMainWindow();
    bool Form_Load();
    void Form_Unload();
    QLabel *label(PlayerLabel which) const;

    Platform &platform_;
    PlayerCore core_;
    LinkLauncher links_;
    QWidget *mainWindow_;
    bool loaded_ = false;
    bool builtInBackground_ = false;
    QImage background_;
    WindowDrag drag_;

    QLabel *Find = nullptr, *Label4 = nullptr, *lblID = nullptr, *lblHealthProblem = nullptr;
    QLabel *Label1 = nullptr, *lblFrequency = nullptr, *Label2 = nullptr, *lblDurataRecomandata = nullptr;
    QLabel *Label8 = nullptr, *lblDurata = nullptr, *Volume = nullptr, *lblVolume = nullptr, *Pan = nullptr;
    QLabel *Label3 = nullptr, *lblTime = nullptr, *lblTrack = nullptr, *lblState = nullptr;
    QSlider *Slider1 = nullptr, *volumeSlider = nullptr, *panSlider = nullptr;
    PictureLabel *Image8 = nullptr, *Image1 = nullptr, *Image7 = nullptr, *Image2 = nullptr, *Image4 = nullptr;
    QFrame *Frame1 = nullptr, *Frame2 = nullptr;
    std::array<PictureLabel *, 5> buttons_{};
    std::array<std::array<QPixmap, 2>, 5> looks_{}; // Image3, Image5, Image6, Image10, Image9
    std::array<bool, 5> lookActive_{};
    QLineEdit *Text1 = nullptr;
    QStatusBar *StatusBar = nullptr;
    QMenu *backgroundMenu_ = nullptr;
    PlayerExport *exporter_ = nullptr;
    QTimer Timer1;
    QTimer Timer2;
};

} // namespace helicordia
