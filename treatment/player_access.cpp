#include "treatment/player_access.h"

#include "treatment/player.h"

#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QSlider>

#include <cmath>

namespace helicordia {

namespace {

void AddKey(Player &player, Qt::Key key, const std::function<void()> &action)
{
    auto *shortcut = new QShortcut(QKeySequence(key), &player);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setAutoRepeat(false);
    QObject::connect(shortcut, &QShortcut::activated, &player, action);
}

// Sets name and description of the named child, if there is one. An empty
// name keeps the control's own (a label's text).
template <typename W = QWidget>
W *Describe(Player &player, const char *objectName, const QString &name, const QString &description = QString())
{
    W *widget = player.findChild<W *>(QLatin1String(objectName));
    if (widget) {
        if (!name.isEmpty())
            widget->setAccessibleName(name);
        widget->setAccessibleDescription(description);
    }
    return widget;
}

QString VolumeDescription(const QSlider &s)
{
    return QString::number(std::floor(s.value() * 100.0 / 1024.0)) + QStringLiteral(" %");
}

QString PanDescription(const QSlider &s)
{
    const long percent = std::lround(std::abs(s.value()) * 100.0 / 512.0);
    if (percent == 0)
        return Player::tr("centre");
    return s.value() < 0 ? Player::tr("%1 % left").arg(percent) : Player::tr("%1 % right").arg(percent);
}

// The slider's description follows its value, written by `text`.
void DescribeValue(QSlider *slider, QString (*text)(const QSlider &))
{
    if (!slider)
        return;
    QObject::connect(slider, &QSlider::valueChanged, slider,
                     [slider, text] { slider->setAccessibleDescription(text(*slider)); });
}

} // namespace

void InstallPlayerAccess(Player &player)
{
    AddKey(player, Qt::Key_Space, [&player] {
        const auto state = player.core().state();
        if (state == PlayerState::Stopped || state == PlayerState::Paused)
            player.btnPlay_Click();
        else
            player.btnPause_Click();
    });
    AddKey(player, Qt::Key_S, [&player] { player.btnStop_Click(); });
    AddKey(player, Qt::Key_N, [&player] { player.btnSkip_Click(); });
    AddKey(player, Qt::Key_H, [&player] { player.btnHold_Click(); });
    AddKey(player, Qt::Key_Escape, [&player] { player.close(); });

    const QLabel *duration = player.findChild<QLabel *>(QStringLiteral("lblTreatmentLength"));
    auto *length = player.findChild<QSlider *>(QStringLiteral("lengthSlider"));
    if (length && duration) {
        // The label is rewritten from the slider first (it was connected
        // earlier), so it already holds the new length.
        QObject::connect(length, &QSlider::valueChanged, length,
                         [length, duration] { length->setAccessibleDescription(duration->text()); });
    }
    DescribeValue(player.findChild<QSlider *>(QStringLiteral("volumeSlider")), VolumeDescription);
    DescribeValue(player.findChild<QSlider *>(QStringLiteral("panSlider")), PanDescription);
    DescribePlayer(player);
}

void DescribePlayer(Player &player)
{
    player.setAccessibleName(Player::tr("Helicordia player"));
    player.setWindowTitle(Player::tr("Helicordia player"));
    Describe(player, "btnPlay", Player::tr("Play"), Player::tr("Starts or resumes the treatment (Space)"));
    Describe(player, "btnPause", Player::tr("Pause"), Player::tr("Pauses the treatment (Space while playing)"));
    Describe(player, "btnStop", Player::tr("Stop"), Player::tr("Stops the treatment (S)"));
    Describe(player, "btnSkip", Player::tr("Skip"), Player::tr("Skips to the next frequency (N)"));
    Describe(player, "btnHold", Player::tr("Hold"),
             Player::tr("Holds the current frequency; press again to go on (H)"));
    Describe(player, "homePageButton", Player::tr("Home page"), Player::tr("Opens the maker's web site"));
    Describe(player, "minimiseButton", Player::tr("Minimise"));
    Describe(player, "closeButton", Player::tr("Close"), Player::tr("Closes the player (Escape)"));
    Describe(player, "volumeWarning", Player::tr("Warning"), Player::tr("High volume level may be dangerous!"));
    Describe(player, "decorativeStrip", Player::tr("Decoration"));
    Describe(player, "statusLine", Player::tr("Status line"), Player::tr("The channel's frequency, volume and pan"));
    // The value labels keep their text as name; the description says what it is.
    Describe(player, "lblID", QString(), Player::tr("Health problem ID"));
    Describe(player, "lblHealthProblem", QString(), Player::tr("Health problem"));
    Describe(player, "lblFrequencyCount", QString(), Player::tr("Number of frequencies"));
    Describe(player, "lblSuggestedLength", QString(), Player::tr("Suggested duration"));
    Describe(player, "lblTreatmentLength", QString(), Player::tr("Chosen duration"));
    Describe(player, "lblVolume", QString(), Player::tr("Volume"));
    Describe(player, "lblTime", QString(), Player::tr("Elapsed time"));
    Describe(player, "lblTrack", QString(), Player::tr("Frequency playing"));
    Describe(player, "lblState", QString(), Player::tr("State"));

    auto *length = Describe<QSlider>(player, "lengthSlider", Player::tr("Duration of treatment"));
    const QLabel *duration = player.findChild<QLabel *>(QStringLiteral("lblTreatmentLength"));
    if (length && duration)
        length->setAccessibleDescription(duration->text());
    if (auto *volume = Describe<QSlider>(player, "volumeSlider", Player::tr("Channel volume")))
        volume->setAccessibleDescription(VolumeDescription(*volume));
    if (auto *pan = Describe<QSlider>(player, "panSlider", Player::tr("Channel pan")))
        pan->setAccessibleDescription(PanDescription(*pan));
}

} // namespace helicordia
