#include "treatment/player.h"

#include "links/maker.h"
#include "platform/platform.h"
#include "treatment/player_access.h"
#include "treatment/player_artwork.h"
#include "treatment/player_export.h"
#include "ui/button_art.h"
#include "ui/layout.h"
#include "ui/picture_label.h"
#include "ui/twips.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QSlider>
#include <QStatusBar>

#include <algorithm>

namespace helicordia {

namespace {

constexpr int ClientWidthTwips = 9285;
constexpr int ClientHeightTwips = 6900;

// The texts are Arial 9.75 bold unless the window's own font is named.
constexpr FontStyle Bold{9.75, true};
constexpr FontStyle Plain{};

// Every control, in the order it is made (later ones lie above earlier ones).
// Image7 comes first so the labels stay above the strip.
const ControlPlace PlayerControls[] = {
    {"Image7", 60, 3060, 9105, 255},
    {"Find", 1200, 840, 2130, 285, Bold},
    {"Label4", 960, 480, 2370, 285, Bold},
    {"lblID", 3480, 480, 1050, 285, Bold},
    {"lblHealthProblem", 3480, 840, 5610, 1485, Bold},
    {"Label1", 1200, 2400, 2130, 285, Bold},
    {"lblFrequency", 3480, 2400, 2130, 285, Bold},
    // Right-aligned from the window's left edge.
    {"Label2", 0, 2760, 3330, 285, Bold},
    {"lblDurataRecomandata", 3480, 2760, 2130, 285, Bold},
    {"Label8", 1020, 3420, 2250, 585, Bold},
    {"Slider1", 3540, 3420, 4335, 375, Plain, true},
    {"lblDurata", 4680, 3900, 2130, 285, Bold},
    {"Volume", 2280, 4200, 1455, 375, Plain},
    {"volumeSlider", 3720, 4200, 4335, 375, Plain, true},
    {"lblVolume", 8160, 4260, 1050, 285, Bold},
    {"Image8", 8700, 4200, 480, 480},
    {"Pan", 2280, 4680, 1455, 375, Plain},
    {"panSlider", 3720, 4680, 4335, 375, Plain, true},
    {"Image1", 180, 4140, 1740, 2160, Plain, true},
    {"Label3", 2400, 5400, 1830, 285, Bold},
    {"lblTime", 5400, 5400, 2370, 285, Bold},
    {"Frame2", 2700, 5700, 1215, 735},
    {"Frame1", 5160, 5700, 2775, 735},
    {"btnPlay", 600, 180, 480, 480, Plain, true, "Frame1"},
    {"btnPause", 1200, 180, 480, 480, Plain, true, "Frame1"},
    {"btnStop", 1800, 180, 480, 480, Plain, true, "Frame1"},
    {"btnSkip", 540, 180, 480, 480, Plain, true, "Frame2"},
    {"btnHold", 60, 180, 480, 480, Plain, true, "Frame2"},
    {"lblTrack", 4080, 5940, 1050, 285, Bold},
    {"lblState", 8100, 5940, 1050, 285, Bold},
    {"StatusBar", 0, 6525, 9285, 375, Bold},
    {"Text1", 0, 6560, 9255, 315, Bold},
    {"Image2", 8520, 60, 315, 315, Plain, true},
    {"Image4", 8835, 60, 315, 315, Plain, true},
};

const QColor LabelInk(24, 36, 74);

playerart::Transport artKind(int index)
{
    static const playerart::Transport kinds[] = {playerart::Transport::Play, playerart::Transport::Pause,
                                                 playerart::Transport::Stop, playerart::Transport::Skip,
                                                 playerart::Transport::Hold};
    return kinds[index];
}

} // namespace

Layout Player::controls()
{
    return PlayerControls;
}

QPolygon Player::WindowOutline()
{
    static const int pts[21][2] = {{15, 2},    {608, 2},   {612, 3},   {616, 6},   {618, 9},  {619, 15}, {619, 445},
                                   {617, 451}, {615, 453}, {612, 455}, {610, 457}, {15, 457}, {9, 455},  {6, 453},
                                   {3, 451},   {1, 445},   {1, 15},    {3, 12},    {6, 7},    {9, 3},    {15, 1}};
    QPolygon polygon;
    for (const auto &p : pts)
        polygon << QPoint(p[0], p[1]);
    return polygon;
}

QString Player::AfiseazaTimp(int valoare)
{
    return helicordia::AfiseazaTimp(valoare);
}

Player::Player(ToneEngine &engine, Platform &platform, QWidget *mainWindow, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      platform_(platform),
      core_(engine, *this, platform),
      links_(platform),
      mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("Player"));
    setWindowTitle(ApplicationTitle);
    setFixedSize(TwipsToPixels(ClientWidthTwips), TwipsToPixels(ClientHeightTwips));
    buildControls();
    restoreDesignState();

    exporter_ = new PlayerExport(*this, platform);
    backgroundMenu_ = new QMenu(this);
    backgroundMenu_->setObjectName(QStringLiteral("backgroundMenu"));
    connect(backgroundMenu_->addAction(QStringLiteral("Export treatment…")), &QAction::triggered, this,
            &Player::exportTreatment);

    // Children of the window, so they can be found by name like its controls.
    Timer1.setParent(this);
    Timer2.setParent(this);
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(TreatmentClockIntervalMs);
    Timer2.setObjectName(QStringLiteral("Timer2"));
    Timer2.setInterval(EngineTickIntervalMs);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(&Timer2, &QTimer::timeout, this, [this] { Timer2_Timer(); });
    InstallPlayerAccess(*this);
}

Player::~Player() = default;

void Player::buildControls()
{
    const Layout layout = controls();
    QPalette ink = palette();
    ink.setColor(QPalette::WindowText, LabelInk);

    auto makeLabel = [&](const char *name, const QString &caption, Qt::Alignment align) {
        auto *l = new QLabel(caption, this);
        Place(l, layout, name);
        l->setAlignment(align);
        l->setPalette(ink);
        return l;
    };
    const Qt::Alignment heading = Qt::AlignRight | Qt::AlignTop;
    const Qt::Alignment value = Qt::AlignLeft | Qt::AlignTop;

    auto makePicture = [&](const char *name, QPixmap (*draw)(QSize), const QString &tip) {
        auto *picture = new PictureLabel(this);
        Place(picture, layout, name);
        picture->setPixmap(draw(picture->size()));
        picture->setToolTip(tip);
        return picture;
    };

    Image7 = makePicture("Image7", playerart::decorativeStrip, QString());

    Find = makeLabel("Find", QStringLiteral("Health problem:"), heading);
    Label4 = makeLabel("Label4", QStringLiteral("Health problem ID:"), heading);
    lblID = makeLabel("lblID", QStringLiteral("0"), value);
    lblHealthProblem = makeLabel("lblHealthProblem", QStringLiteral("0"), value);
    lblHealthProblem->setWordWrap(true);
    Label1 = makeLabel("Label1", QStringLiteral("Number of frequency:"), heading);
    lblFrequency = makeLabel("lblFrequency", QStringLiteral("0"), value);
    Label2 = makeLabel("Label2", QStringLiteral("Duration of treatment (suggested):"), heading);
    lblDurataRecomandata = makeLabel("lblDurataRecomandata", QStringLiteral("0"), value);
    Label8 = makeLabel("Label8", QStringLiteral("Duration of treatment (can adjust):"), heading);
    Label8->setWordWrap(true);

    auto makeSlider = [&](const char *name, const QString &tip) {
        auto *s = new QSlider(Qt::Horizontal, this);
        Place(s, layout, name);
        s->setToolTip(tip);
        return s;
    };
    Slider1 = makeSlider("Slider1", QStringLiteral("Duration of treatment (can adjust)"));
    Slider1->setTickPosition(QSlider::NoTicks);
    lblDurata = makeLabel("lblDurata", QStringLiteral("0"), value);

    Volume = makeLabel("Volume", QStringLiteral("Channel Volume"), heading);
    volumeSlider = makeSlider("volumeSlider", QStringLiteral("Channel Volume"));
    volumeSlider->setRange(0, VolumeScale);
    volumeSlider->setSingleStep(1);
    volumeSlider->setPageStep(100);
    lblVolume = makeLabel("lblVolume", QStringLiteral("Idle"), value);
    lblVolume->setToolTip(QStringLiteral("Status"));
    Image8 = makePicture("Image8", playerart::volumeWarning, QStringLiteral("High volume level may be dangerous!"));

    Pan = makeLabel("Pan", QStringLiteral("Channel Pan"), heading);
    panSlider = makeSlider("panSlider", QStringLiteral("Channel Pan"));
    panSlider->setRange(-PanScale, PanScale);
    panSlider->setSingleStep(5);
    panSlider->setPageStep(50);

    Image1 =
        makePicture("Image1", playerart::homePage, QStringLiteral("Visit our web site for more programs and news"));
    Image1->setCursor(Qt::PointingHandCursor);

    Label3 = makeLabel("Label3", QStringLiteral("Frequency control"), value);
    lblTime = makeLabel("lblTime", QStringLiteral("Time"), value);
    lblTime->setToolTip(QStringLiteral("Elapsed Time"));

    auto makeFrame = [&](const char *name) {
        auto *f = new QFrame(this);
        Place(f, layout, name);
        f->setFrameShape(QFrame::Box);
        f->setFrameShadow(QFrame::Sunken);
        return f;
    };
    Frame2 = makeFrame("Frame2");
    Frame1 = makeFrame("Frame1");

    static const char *names[5] = {"btnPlay", "btnPause", "btnStop", "btnSkip", "btnHold"};
    static const char *tips[5] = {"Play", "Pause", "Stop", "Skip current frequency",
                                  "Hold current frequency (continuous play)"};
    for (int i = 0; i < 5; ++i) {
        auto *b = new PictureLabel(i < 3 ? Frame1 : Frame2);
        Place(b, layout, names[i]);
        b->setToolTip(QLatin1String(tips[i]));
        b->setCursor(Qt::PointingHandCursor);
        looks_[i][0] = playerart::transportButton(artKind(i), false, b->size());
        looks_[i][1] = playerart::transportButton(artKind(i), true, b->size());
        buttons_[i] = b;
    }
    connect(buttons_[0], &PictureLabel::clicked, this, [this] { btnPlay_Click(); });
    connect(buttons_[1], &PictureLabel::clicked, this, [this] { btnPause_Click(); });
    connect(buttons_[2], &PictureLabel::clicked, this, [this] { btnStop_Click(); });
    connect(buttons_[3], &PictureLabel::clicked, this, [this] { btnSkip_Click(); });
    connect(buttons_[4], &PictureLabel::clicked, this, [this] { btnHold_Click(); });

    lblTrack = makeLabel("lblTrack", QStringLiteral("Track"), value);
    lblTrack->setToolTip(QStringLiteral("Track number"));
    lblState = makeLabel("lblState", QStringLiteral("Idle"), value);
    lblState->setToolTip(QStringLiteral("Status"));

    StatusBar = new QStatusBar(this);
    Place(StatusBar, layout, "StatusBar");
    StatusBar->setSizeGripEnabled(false);
    Text1 = new QLineEdit(this);
    Place(Text1, layout, "Text1");
    Text1->setReadOnly(true); // rewritten ten times a second: nothing to type here
    Text1->setFrame(false);

    Image2 = makePicture("Image2", buttonart::Minimise, QStringLiteral("Minimized"));
    Image4 = makePicture("Image4", buttonart::Close, QStringLiteral("Exit"));
    connect(Image1, &PictureLabel::clicked, this, [this] { Image1_Click(); });
    connect(Image2, &PictureLabel::clicked, this, [this] { Image2_Click(); });
    connect(Image4, &PictureLabel::clicked, this, [this] { Image4_Click(); });

    // The treatment length follows Slider1 on its change, click and mouse-move
    // events alike.
    connect(Slider1, &QSlider::valueChanged, this, [this] { core_.Slider1_Change(); });
    connect(Slider1, &QSlider::sliderReleased, this, [this] { core_.Slider1_Click(); });
    Slider1->installEventFilter(this);

    // Volume and pan reach the channel through their click handler whenever
    // the slider's value changes, however it was moved: a click on the groove,
    // the keys, the wheel, or dragging the handle (the value follows the
    // handle). So what the handle shows is always what is heard. The window's
    // own resets block the signal.
    auto clickOn = [this](QSlider *slider, void (Player::*handler)()) {
        slider->setTracking(true);
        connect(slider, &QAbstractSlider::valueChanged, this, [this, handler] { (this->*handler)(); });
    };
    clickOn(volumeSlider, &Player::volumeSlider_Click);
    clickOn(panSlider, &Player::panSlider_Click);
}

// The controls as they are when the window loads: design-time captions,
// normal button looks, sliders at their initial values.
void Player::restoreDesignState()
{
    lblID->setText(QStringLiteral("0"));
    lblHealthProblem->setText(QStringLiteral("0"));
    lblFrequency->setText(QStringLiteral("0"));
    lblDurataRecomandata->setText(QStringLiteral("0"));
    lblDurata->setText(QStringLiteral("0"));
    lblVolume->setText(QStringLiteral("Idle"));
    lblTime->setText(QStringLiteral("Time"));
    lblTrack->setText(QStringLiteral("Track"));
    lblState->setText(QStringLiteral("Idle"));
    Text1->clear();
    for (int i = 0; i < 5; ++i) {
        buttons_[i]->setPixmap(looks_[i][0]);
        lookActive_[i] = false;
    }
    const QSignalBlocker b1(Slider1), b2(volumeSlider), b3(panSlider);
    Slider1->setEnabled(true);
    Slider1->setRange(0, 10);
    Slider1->setValue(0);
    volumeSlider->setValue(InitialVolume);
    panSlider->setValue(0);
}

bool Player::Form_Load()
{
    restoreDesignState();
    // The picture, or the built-in one when the file cannot be read.
    builtInBackground_ = !background_.load(platform_.dataFile(BackgroundFileName));
    if (builtInBackground_)
        background_ = playerart::builtInBackground(size());
    // The outline.
    setMask(QRegion(WindowOutline(), Qt::OddEvenFill));
    // The tone engine, stopped with the clock off.
    loaded_ = true;
    if (!core_.Form_Load())
        return false;
    Timer2.start();
    return true;
}

void Player::Form_Unload()
{
    Timer1.stop();
    Timer2.stop();
    core_.Form_Unload();
    loaded_ = false;
    if (core_.programEnded())
        return;
    if (mainWindow_)
        mainWindow_->show();
}

void Player::silenceForEnd()
{
    Timer1.stop();
    Timer2.stop();
    if (loaded_)
        core_.Silence();
    loaded_ = false;
}

void Player::Player_Start(int numar, const QString &description, const QString &frecvente)
{
    if (!loaded_ && !Form_Load())
        return;
    placeOverMainWindow();
    show();
    if (mainWindow_)
        mainWindow_->hide();
    core_.LoadProgram(numar, description, frecvente);
}

// The window opens centred where the main window stands (or on the screen),
// and kept whole on the screen.
void Player::placeOverMainWindow()
{
    QRect area;
    if (QScreen *screen = mainWindow_ ? mainWindow_->screen() : this->screen())
        area = screen->availableGeometry();
    QPoint centre = mainWindow_ && mainWindow_->isVisible() ? mainWindow_->frameGeometry().center() : area.center();
    QRect target(QPoint(0, 0), size());
    target.moveCenter(centre);
    if (area.isValid()) {
        target.moveLeft(std::max(area.left(), std::min(target.left(), area.right() - target.width() + 1)));
        target.moveTop(std::max(area.top(), std::min(target.top(), area.bottom() - target.height() + 1)));
    }
    move(target.topLeft());
}

void Player::Timer2_Timer()
{
    core_.setLocale(locale());
    core_.Timer2_Timer();
}

void Player::Image1_Click()
{
    links_.OpenLink(maker::homePage());
}

void Player::Image2_Click()
{
    showMinimized();
}

void Player::Image4_Click()
{
    close();
}

void Player::closeEvent(QCloseEvent *event)
{
    if (loaded_ && !core_.programEnded())
        Form_Unload();
    event->accept();
}

void Player::mousePressEvent(QMouseEvent *event)
{
    // Only the window's own background drags: presses on the controls (which
    // reach the window when a label passes them on) start nothing.
    if (childAt(event->position().toPoint()) != nullptr) {
        drag_.release();
        return;
    }
    drag_.press(event->buttons(), event->position());
}

// The background menu opens over the window's bare background and over its
// texts and frames, which are part of the background to the eye; the
// pictures, sliders and status line keep their own meaning.
void Player::contextMenuEvent(QContextMenuEvent *event)
{
    const QWidget *under = childAt(event->pos());
    const bool background = under == nullptr || (qobject_cast<const QFrame *>(under) != nullptr &&
                                                 qobject_cast<const PictureLabel *>(under) == nullptr);
    if (!background || core_.frequencyCount() <= 0) {
        event->ignore();
        return;
    }
    backgroundMenu_->popup(event->globalPos());
}

void Player::setExportFileChooser(ExportFileChooser chooser)
{
    exporter_->setFileChooser(std::move(chooser));
}

void Player::exportTreatment()
{
    if (core_.frequencyCount() <= 0)
        return;
    ExportRequest request;
    request.frequencies = core_.frequencies();
    request.frequencyCount = core_.frequencyCount();
    request.lengthSeconds = Slider1->value();
    request.volume = float(volumeSlider->value()) / float(VolumeScale);
    request.pan = float(panSlider->value()) / float(PanScale);
    exporter_->start(lblHealthProblem->text().trimmed(), request);
}

void Player::mouseReleaseEvent(QMouseEvent *)
{
    drag_.release();
}

void Player::mouseMoveEvent(QMouseEvent *event)
{
    // The pointer's place in the window is taken from its screen position: the
    // window system reports window-relative positions of events generated
    // before our last move arrived, which would make the window run away.
    move(drag_.step(pos(), event->buttons(), mapFromGlobal(event->globalPosition())));
}

void Player::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!background_.isNull())
        p.drawImage(0, 0, background_);
    else
        p.fillRect(rect(), QColor(220, 230, 245));
    // a thin rim along the outline
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(28, 44, 86), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(WindowOutline());
}

bool Player::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Slider1 && event->type() == QEvent::MouseMove)
        core_.Slider1_MouseMove();
    return QWidget::eventFilter(watched, event);
}

QLabel *Player::label(PlayerLabel which) const
{
    switch (which) {
    case PlayerLabel::lblID: return lblID;
    case PlayerLabel::lblHealthProblem: return lblHealthProblem;
    case PlayerLabel::lblFrequency: return lblFrequency;
    case PlayerLabel::lblDurataRecomandata: return lblDurataRecomandata;
    case PlayerLabel::lblDurata: return lblDurata;
    case PlayerLabel::lblTime: return lblTime;
    case PlayerLabel::lblState: return lblState;
    case PlayerLabel::lblTrack: return lblTrack;
    case PlayerLabel::lblVolume: return lblVolume;
    case PlayerLabel::Text1: return nullptr;
    }
    return nullptr;
}

void Player::setText(PlayerLabel which, const QString &text)
{
    if (which == PlayerLabel::Text1) {
        Text1->setText(text);
        return;
    }
    if (QLabel *l = label(which))
        l->setText(text);
}

void Player::setButtonLook(TransportButton button, bool active)
{
    const int i = int(button);
    lookActive_[i] = active;
    buttons_[i]->setPixmap(looks_[i][active ? 1 : 0]);
}

bool Player::buttonLookActive(TransportButton button) const
{
    return lookActive_[int(button)];
}

void Player::setSlider1Enabled(bool enabled)
{
    Slider1->setEnabled(enabled);
}

void Player::setTimer1(bool on)
{
    if (!on)
        Timer1.stop();
    else if (!Timer1.isActive())
        Timer1.start();
}

void Player::setupSlider1(const SliderSetup &setup)
{
    // The earlier treatment's range must not clamp the new value, so the range
    // is set as a whole before the value.
    const QSignalBlocker block(Slider1);
    Slider1->setRange(setup.minimum, setup.maximum);
    Slider1->setValue(setup.value);
    Slider1->setSingleStep(setup.smallStep);
    Slider1->setPageStep(setup.largeStep);
}

int Player::slider1Value() const
{
    return Slider1->value();
}

int Player::volumeSliderValue() const
{
    return volumeSlider->value();
}

int Player::panSliderValue() const
{
    return panSlider->value();
}

} // namespace helicordia
