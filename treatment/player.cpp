#include "treatment/player.h"

#include "links/maker.h"
#include "platform/platform.h"
#include "treatment/player_access.h"
#include "treatment/player_artwork.h"
#include "treatment/player_export.h"
#include "treatment/session_player.h"
#include "ui/layout.h"
#include "ui/picture_label.h"
#include "ui/twips.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSlider>

#include <algorithm>

namespace helicordia {

namespace {

constexpr int ClientWidthTwips = 9285;
constexpr int ClientHeightTwips = 6900;

} // namespace

QPolygon Player::WindowOutline()
{
    return QPolygon({{15, 2},    {608, 2},   {612, 3},   {616, 6},   {618, 9},  {619, 15}, {619, 445},
                     {617, 451}, {615, 453}, {612, 455}, {610, 457}, {15, 457}, {9, 455},  {6, 453},
                     {3, 451},   {1, 445},   {1, 15},    {3, 12},    {6, 7},    {9, 3},    {15, 1}});
}

QString Player::AfiseazaTimp(int valoare)
{
    return helicordia::AfiseazaTimp(valoare);
}

Player::Player(ToneEngine &engine, Platform &platform, QWidget *mainWindow, QWidget *parent)
    : ShapedWindow(WindowOutline(), parent),
      platform_(platform),
      core_(engine, *this, platform),
      links_(platform),
      mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("Player"));
    setWindowTitle(ApplicationTitle);
    setFixedSize(TwipsToPixels(ClientWidthTwips), TwipsToPixels(ClientHeightTwips));
    setBackgroundColour(QColor(220, 230, 245));
    setRimColour(QColor(28, 44, 86));
    buildControls();
    restoreDesignState();

    exporter_ = new PlayerExport(*this, platform);
    backgroundMenu_ = new QMenu(this);
    backgroundMenu_->setObjectName(QStringLiteral("backgroundMenu"));
    exportItem_ = backgroundMenu_->addAction(QString());
    connect(exportItem_, &QAction::triggered, this, &Player::exportTreatment);
    historyItem_ = backgroundMenu_->addAction(QString());
    historyItem_->setObjectName(QStringLiteral("historyItem"));
    connect(historyItem_, &QAction::triggered, this, [this] {
        if (showHistory_)
            showHistory_();
    });
    outputMenu_ = backgroundMenu_->addMenu(QString()); // its title: retranslate()
    outputMenu_->setObjectName(QStringLiteral("outputMenu"));
    connect(outputMenu_, &QMenu::aboutToShow, this, &Player::fillOutputMenu);

    buildTimers();
    InstallPlayerAccess(*this);
    retranslate();

    SessionPlayer::Stage stage;
    stage.core = &core_;
    stage.load = [this](const SessionTreatment &t) { loadSessionTreatment(t); };
    stage.showPlace = [this](const QString &text) { sessionPlace_->setText(text); };
    session_ = new SessionPlayer(std::move(stage), this);
}

Player::~Player() = default;

bool Player::Form_Load()
{
    restoreDesignState();
    // The picture, or the built-in one when the file cannot be read.
    QImage picture;
    builtInBackground_ = !picture.load(platform_.dataFile(BackgroundFileName));
    if (builtInBackground_)
        picture = playerart::builtInBackground(size());
    setBackground(std::move(picture));
    // The outline.
    applyOutline();
    // The tone engine, stopped with the clock off.
    loaded_ = true;
    if (!core_.Form_Load())
        return false;
    engineTimer_.start();
    return true;
}

void Player::Form_Unload()
{
    session_->end();
    clockTimer_.stop();
    engineTimer_.stop();
    core_.Form_Unload();
    loaded_ = false;
    if (core_.programEnded())
        return;
    if (mainWindow_)
        mainWindow_->show();
}

void Player::silenceForEnd()
{
    clockTimer_.stop();
    engineTimer_.stop();
    if (loaded_)
        core_.Silence();
    loaded_ = false;
}

void Player::Player_Start(int numar, const QString &description, const QString &frecvente)
{
    session_->end(); // a treatment chosen by hand ends a session
    if (!showForTreatment())
        return;
    core_.LoadProgram(numar, description, frecvente);
}

bool Player::showForTreatment()
{
    if (!loaded_ && !Form_Load())
        return false;
    if (!isVisible())
        placeOverMainWindow();
    show();
    if (mainWindow_)
        mainWindow_->hide();
    return true;
}

void Player::playSession(const SessionPlan &plan)
{
    if (plan.isEmpty() || !showForTreatment())
        return;
    session_->start(plan);
}

void Player::loadSessionTreatment(const SessionTreatment &treatment)
{
    core_.LoadProgram(PlayerNumber(treatment.found->entry), treatment.found->name, treatment.found->frequencies);
    setTreatmentLength(treatment.lengthSeconds);
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

void Player::engineTimer_Timer()
{
    core_.setLocale(locale());
    core_.engineTimer_Timer();
}

void Player::homePageButton_Click()
{
    links_.OpenLink(maker::homePage());
}

void Player::closeEvent(QCloseEvent *event)
{
    if (loaded_ && !core_.programEnded())
        Form_Unload();
    event->accept();
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

void Player::setTreatmentLength(int seconds)
{
    lengthSlider_->setValue(seconds);
    core_.lengthSlider_Change(); // also when the value was there already
}

void Player::fillOutputMenu()
{
    outputMenu_->clear();
    auto *group = new QActionGroup(outputMenu_);
    QList<OutputEntry> entries = core_.outputChoices();
    const QString chosen = core_.chosenOutput();
    const bool chosenThere =
        std::any_of(entries.begin(), entries.end(), [&](const OutputEntry &e) { return e.name == chosen; });
    if (!chosenThere)
        entries.append({chosen, tr("%1 (not connected)").arg(core_.soundOutput().describe(chosen))});
    for (const OutputEntry &entry : entries) {
        QAction *action = outputMenu_->addAction(entry.description);
        action->setCheckable(true);
        action->setChecked(entry.name == chosen);
        action->setData(entry.name);
        group->addAction(action);
        const QString name = entry.name;
        connect(action, &QAction::triggered, this, [this, name] { core_.chooseOutput(name); });
    }
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
    request.lengthSeconds = lengthSlider_->value();
    request.volume = float(volumeSlider_->value()) / float(VolumeScale);
    // No pan: Play starts the tone with the channel's own (centre) and the
    // pan control moves only a tone that plays, so the file is what Play
    // plays, wherever the pan slider stands.
    exporter_->start(valueLabels_[int(PlayerLabel::lblHealthProblem)]->text().trimmed(), request);
}

bool Player::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lengthSlider_ && event->type() == QEvent::MouseMove)
        core_.lengthSlider_MouseMove();
    return ShapedWindow::eventFilter(watched, event);
}

void Player::setText(PlayerLabel which, const QString &text)
{
    if (which == PlayerLabel::statusLine)
        statusLine_->setText(text);
    else
        valueLabels_[int(which)]->setText(text);
    if (which != PlayerLabel::statusLine)
        designCaption_[int(which)] = false;
}

void Player::setButtonLook(TransportButton button, bool active)
{
    const int i = int(button);
    lookActive_[i] = active;
    transportButtons_[i]->setPixmap(buttonLooks_[i][active ? 1 : 0]);
}

bool Player::buttonLookActive(TransportButton button) const
{
    return lookActive_[int(button)];
}

void Player::setLengthSliderEnabled(bool enabled)
{
    lengthSlider_->setEnabled(enabled);
}

void Player::setClockTimer(bool on)
{
    if (!on)
        clockTimer_.stop();
    else if (!clockTimer_.isActive())
        clockTimer_.start();
}

void Player::setUpLengthSlider(const SliderSetup &setup)
{
    // The earlier treatment's range must not clamp the new value, so the range
    // is set as a whole before the value.
    const QSignalBlocker block(lengthSlider_);
    lengthSlider_->setRange(setup.minimum, setup.maximum);
    lengthSlider_->setValue(setup.value);
    lengthSlider_->setSingleStep(setup.smallStep);
    lengthSlider_->setPageStep(setup.largeStep);
}

int Player::lengthSliderValue() const
{
    return lengthSlider_->value();
}

int Player::volumeSliderValue() const
{
    return volumeSlider_->value();
}

int Player::panSliderValue() const
{
    return panSlider_->value();
}

} // namespace helicordia
