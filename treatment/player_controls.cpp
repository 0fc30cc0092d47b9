// The player window's controls: where each lies, what it shows when the
// window loads, and what it is connected to.
#include "treatment/player.h"

#include "treatment/player_access.h"
#include "treatment/player_artwork.h"
#include "treatment/session_player.h"
#include "ui/layout.h"
#include "ui/picture_label.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSlider>
#include <QStatusBar>

namespace helicordia {

namespace {

// The texts are Arial 9.75 bold unless the window's own font is named.
constexpr FontStyle Bold{9.75, true};
constexpr FontStyle Plain{};

// Every control, in the order it is stacked (later ones lie above earlier
// ones). The strip comes first so the labels stay above it.
const ControlPlace PlayerControls[] = {
    {"decorativeStrip", 60, 3060, 9105, 255},
    {"healthProblemHeading", 1200, 840, 2130, 285, Bold},
    {"entryIdHeading", 960, 480, 2370, 285, Bold},
    {"lblID", 3480, 480, 1050, 285, Bold},
    {"lblHealthProblem", 3480, 840, 5610, 1485, Bold},
    {"frequencyCountHeading", 1200, 2400, 2130, 285, Bold},
    {"lblFrequencyCount", 3480, 2400, 2130, 285, Bold},
    // Right-aligned from the window's left edge.
    {"suggestedLengthHeading", 0, 2760, 3330, 285, Bold},
    {"lblSuggestedLength", 3480, 2760, 2130, 285, Bold},
    // Where a session stands, beside the two lines above.
    {"sessionPlace", 5700, 2400, 3450, 630, Bold},
    {"lengthHeading", 1020, 3420, 2250, 585, Bold},
    {"lengthSlider", 3540, 3420, 4335, 375, Plain, true},
    {"lblTreatmentLength", 4680, 3900, 2130, 285, Bold},
    {"volumeHeading", 2280, 4200, 1455, 375, Plain},
    {"volumeSlider", 3720, 4200, 4335, 375, Plain, true},
    {"lblVolume", 8160, 4260, 1050, 285, Bold},
    {"volumeWarning", 8700, 4200, 480, 480},
    {"panHeading", 2280, 4680, 1455, 375, Plain},
    {"panSlider", 3720, 4680, 4335, 375, Plain, true},
    {"homePageButton", 180, 4140, 1740, 2160, Plain, true},
    {"transportHeading", 2400, 5400, 1830, 285, Bold},
    {"lblTime", 5400, 5400, 2370, 285, Bold},
    {"holdSkipFrame", 2700, 5700, 1215, 735},
    {"playPauseStopFrame", 5160, 5700, 2775, 735},
    {"btnPlay", 600, 180, 480, 480, Plain, true, "playPauseStopFrame"},
    {"btnPause", 1200, 180, 480, 480, Plain, true, "playPauseStopFrame"},
    {"btnStop", 1800, 180, 480, 480, Plain, true, "playPauseStopFrame"},
    {"btnSkip", 540, 180, 480, 480, Plain, true, "holdSkipFrame"},
    {"btnHold", 60, 180, 480, 480, Plain, true, "holdSkipFrame"},
    {"lblTrack", 4080, 5940, 1050, 285, Bold},
    {"lblState", 8100, 5940, 1050, 285, Bold},
    {"statusBar", 0, 6525, 9285, 375, Bold},
    {"statusLine", 0, 6560, 9255, 315, Bold},
    {"minimiseButton", 8520, 60, 315, 315, Plain, true},
    {"closeButton", 8835, 60, 315, 315, Plain, true},
};

// The captions beside the values, right-aligned unless told.
struct Heading {
    const char *name;
    const char *caption;
    bool wrap = false;
    bool leftAligned = false;
};
const Heading Headings[] = {
    {"healthProblemHeading", QT_TRANSLATE_NOOP("helicordia::Player", "Health problem:")},
    {"entryIdHeading", QT_TRANSLATE_NOOP("helicordia::Player", "Health problem ID:")},
    {"frequencyCountHeading", QT_TRANSLATE_NOOP("helicordia::Player", "Number of frequency:")},
    {"suggestedLengthHeading", QT_TRANSLATE_NOOP("helicordia::Player", "Duration of treatment (suggested):")},
    {"lengthHeading", QT_TRANSLATE_NOOP("helicordia::Player", "Duration of treatment (can adjust):"), true},
    {"volumeHeading", QT_TRANSLATE_NOOP("helicordia::Player", "Channel Volume")},
    {"panHeading", QT_TRANSLATE_NOOP("helicordia::Player", "Channel Pan")},
    {"transportHeading", QT_TRANSLATE_NOOP("helicordia::Player", "Frequency control"), false, true},
};

// The labels the player's logic writes to, in PlayerLabel order, with the
// texts they show when the window loads (words in the current language).
struct ValueLabel {
    const char *name;
    const char *caption;
    const char *tip;
};
const ValueLabel ValueLabels[] = {
    {"lblID", "0", nullptr},
    {"lblHealthProblem", "0", nullptr},
    {"lblFrequencyCount", "0", nullptr},
    {"lblSuggestedLength", "0", nullptr},
    {"lblTreatmentLength", "0", nullptr},
    {"lblTime", QT_TRANSLATE_NOOP("helicordia::Player", "Time"),
     QT_TRANSLATE_NOOP("helicordia::Player", "Elapsed Time")},
    {"lblState", QT_TRANSLATE_NOOP("helicordia::Player", "Idle"), QT_TRANSLATE_NOOP("helicordia::Player", "Status")},
    {"lblTrack", QT_TRANSLATE_NOOP("helicordia::Player", "Track"),
     QT_TRANSLATE_NOOP("helicordia::Player", "Track number")},
    {"lblVolume", QT_TRANSLATE_NOOP("helicordia::Player", "Idle"), QT_TRANSLATE_NOOP("helicordia::Player", "Status")},
};

// The transport buttons, in TransportButton order.
struct TransportPicture {
    const char *name;
    const char *tip;
    playerart::Transport art;
};
const TransportPicture TransportPictures[] = {
    {"btnPlay", QT_TRANSLATE_NOOP("helicordia::Player", "Play"), playerart::Transport::Play},
    {"btnPause", QT_TRANSLATE_NOOP("helicordia::Player", "Pause"), playerart::Transport::Pause},
    {"btnStop", QT_TRANSLATE_NOOP("helicordia::Player", "Stop"), playerart::Transport::Stop},
    {"btnSkip", QT_TRANSLATE_NOOP("helicordia::Player", "Skip current frequency"), playerart::Transport::Skip},
    {"btnHold", QT_TRANSLATE_NOOP("helicordia::Player", "Hold current frequency (continuous play)"),
     playerart::Transport::Hold},
};

const QColor LabelInk(24, 36, 74);

} // namespace

Layout Player::controls()
{
    return PlayerControls;
}

void Player::buildControls()
{
    const Layout layout = controls();
    buildLabels(layout);
    buildSliders(layout);
    buildPictures(layout);
    buildTransport(layout);
    buildStatusLine(layout);
    addTitleButtons(layout);
    StackAsLaidOut(*this, layout);
}

void Player::buildLabels(Layout layout)
{
    QPalette ink = palette();
    ink.setColor(QPalette::WindowText, LabelInk);
    auto makeLabel = [&](const char *name, const char *caption, Qt::Alignment align) {
        auto *label = new QLabel(tr(caption), this);
        label->setTextFormat(Qt::PlainText); // an entry's name is shown as written, "<b>" and all
        Place(label, layout, name);
        label->setAlignment(align | Qt::AlignTop);
        label->setPalette(ink);
        return label;
    };
    for (const Heading &heading : Headings)
        makeLabel(heading.name, heading.caption, heading.leftAligned ? Qt::AlignLeft : Qt::AlignRight)
            ->setWordWrap(heading.wrap);
    for (int i = 0; i < ValueLabelCount; ++i) {
        const ValueLabel &value = ValueLabels[i];
        valueLabels_[i] = makeLabel(value.name, value.caption, Qt::AlignLeft);
    }
    valueLabels_[int(PlayerLabel::lblHealthProblem)]->setWordWrap(true);
    sessionPlace_ = makeLabel("sessionPlace", "", Qt::AlignLeft);
    sessionPlace_->setWordWrap(true);
}

void Player::buildSliders(Layout layout)
{
    auto makeSlider = [&](const char *name) {
        auto *slider = new QSlider(Qt::Horizontal, this);
        Place(slider, layout, name);
        return slider;
    };
    lengthSlider_ = makeSlider("lengthSlider");
    lengthSlider_->setTickPosition(QSlider::NoTicks);
    volumeSlider_ = makeSlider("volumeSlider");
    volumeSlider_->setRange(0, VolumeScale);
    volumeSlider_->setSingleStep(1);
    volumeSlider_->setPageStep(100);
    panSlider_ = makeSlider("panSlider");
    panSlider_->setRange(-PanScale, PanScale);
    panSlider_->setSingleStep(5);
    panSlider_->setPageStep(50);

    // The treatment length follows the slider on its change, click and
    // mouse-move events alike.
    connect(lengthSlider_, &QSlider::valueChanged, this, [this] { core_.lengthSlider_Change(); });
    connect(lengthSlider_, &QSlider::sliderReleased, this, [this] { core_.lengthSlider_Click(); });
    lengthSlider_->installEventFilter(this);

    // Volume and pan reach the channel through their click handler whenever
    // the slider's value changes, however it was moved: a click on the groove,
    // the keys, the wheel, or dragging the handle (the value follows the
    // handle). So what the handle shows is always what is heard. The window's
    // own resets block the signal.
    auto clickOn = [this](QSlider *slider, void (Player::*handler)()) {
        slider->setTracking(true);
        connect(slider, &QAbstractSlider::valueChanged, this, [this, handler] { (this->*handler)(); });
    };
    clickOn(volumeSlider_, &Player::volumeSlider_Click);
    clickOn(panSlider_, &Player::panSlider_Click);
}

void Player::buildPictures(Layout layout)
{
    addPicture(layout, "decorativeStrip", playerart::decorativeStrip);
    volumeWarning_ = addPicture(layout, "volumeWarning", playerart::volumeWarning);
    homePageButton_ = addPicture(layout, "homePageButton", playerart::homePage);
    homePageButton_->setCursor(Qt::PointingHandCursor);
    connect(homePageButton_, &PictureLabel::clicked, this, [this] { homePageButton_Click(); });
}

void Player::buildTransport(Layout layout)
{
    for (const char *name : {"holdSkipFrame", "playPauseStopFrame"}) {
        auto *frame = new QFrame(this);
        Place(frame, layout, name);
        frame->setFrameShape(QFrame::Box);
        frame->setFrameShadow(QFrame::Sunken);
    }
    for (int i = 0; i < TransportButtonCount; ++i) {
        const TransportPicture &picture = TransportPictures[i];
        auto *button = new PictureLabel(findChild<QFrame *>(QLatin1String(PlaceOf(layout, picture.name).parent)));
        Place(button, layout, picture.name);
        button->setCursor(Qt::PointingHandCursor);
        buttonLooks_[i][0] = playerart::transportButton(picture.art, false, button->size());
        buttonLooks_[i][1] = playerart::transportButton(picture.art, true, button->size());
        transportButtons_[i] = button;
    }
    const std::array<void (Player::*)(), TransportButtonCount> clicks{&Player::btnPlay_Click, &Player::btnPause_Click,
                                                                      &Player::btnStop_Click, &Player::btnSkip_Click,
                                                                      &Player::btnHold_Click};
    for (int i = 0; i < TransportButtonCount; ++i)
        connect(transportButtons_[i], &PictureLabel::clicked, this, [this, click = clicks[i]] { (this->*click)(); });
}

void Player::buildStatusLine(Layout layout)
{
    auto *bar = new QStatusBar(this);
    Place(bar, layout, "statusBar");
    bar->setSizeGripEnabled(false);
    statusLine_ = new QLineEdit(this);
    Place(statusLine_, layout, "statusLine");
    statusLine_->setReadOnly(true); // rewritten ten times a second: nothing to type here
    statusLine_->setFrame(false);
}

void Player::buildTimers()
{
    // Children of the window, so they can be found by name like its controls.
    clockTimer_.setParent(this);
    engineTimer_.setParent(this);
    clockTimer_.setObjectName(QStringLiteral("clockTimer"));
    clockTimer_.setInterval(TreatmentClockIntervalMs);
    engineTimer_.setObjectName(QStringLiteral("engineTimer"));
    engineTimer_.setInterval(EngineTickIntervalMs);
    connect(&clockTimer_, &QTimer::timeout, this, [this] { clockTimer_Timer(); });
    connect(&engineTimer_, &QTimer::timeout, this, [this] { engineTimer_Timer(); });
}

// The controls as they are when the window loads: design-time captions,
// normal button looks, sliders at their initial values.
void Player::restoreDesignState()
{
    for (int i = 0; i < ValueLabelCount; ++i) {
        valueLabels_[i]->setText(tr(ValueLabels[i].caption));
        designCaption_[i] = true;
    }
    statusLine_->clear();
    for (int i = 0; i < TransportButtonCount; ++i) {
        transportButtons_[i]->setPixmap(buttonLooks_[i][0]);
        lookActive_[i] = false;
    }
    const QSignalBlocker b1(lengthSlider_), b2(volumeSlider_), b3(panSlider_);
    lengthSlider_->setEnabled(true);
    lengthSlider_->setRange(0, 10);
    lengthSlider_->setValue(0);
    volumeSlider_->setValue(InitialVolume);
    panSlider_->setValue(0);
}

// Every text of the window in the current language; the values the
// treatment wrote stay, the state's word is written anew.
void Player::retranslate()
{
    for (const Heading &heading : Headings)
        if (auto *label = findChild<QLabel *>(QLatin1String(heading.name)))
            label->setText(tr(heading.caption));
    for (int i = 0; i < ValueLabelCount; ++i) {
        const ValueLabel &value = ValueLabels[i];
        if (designCaption_[i])
            valueLabels_[i]->setText(tr(value.caption));
        if (value.tip)
            valueLabels_[i]->setToolTip(tr(value.tip));
    }
    if (!designCaption_[int(PlayerLabel::lblState)])
        valueLabels_[int(PlayerLabel::lblState)]->setText(core_.stateText());
    for (int i = 0; i < TransportButtonCount; ++i)
        transportButtons_[i]->setToolTip(tr(TransportPictures[i].tip));
    lengthSlider_->setToolTip(tr("Duration of treatment (can adjust)"));
    volumeSlider_->setToolTip(tr("Channel Volume"));
    panSlider_->setToolTip(tr("Channel Pan"));
    volumeWarning_->setToolTip(tr("High volume level may be dangerous!"));
    homePageButton_->setToolTip(tr("Visit our web site for more programs and news"));
    homePageButton_->setPixmap(playerart::homePage(homePageButton_->size())); // it says "Visit us"
    exportItem_->setText(tr("Export treatment…"));
    historyItem_->setText(tr("History…"));
    sessionPlace_->setAccessibleName(tr("Session"));
    if (session_ && session_->active())
        sessionPlace_->setText(session_->plan().placeText(session_->part()));
    outputMenu_->setTitle(tr("Output"));
    outputMenu_->setAccessibleName(tr("Sound output"));
    DescribePlayer(*this);
}

void Player::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    ShapedWindow::changeEvent(event);
}

} // namespace helicordia
