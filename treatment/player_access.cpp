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

// The slider's description follows its value, written by `text`.
void DescribeValue(QSlider *slider, QString (*text)(const QSlider &))
{
    if (!slider)
        return;
    const auto update = [slider, text] { slider->setAccessibleDescription(text(*slider)); };
    QObject::connect(slider, &QSlider::valueChanged, slider, update);
    update();
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

    player.setAccessibleName(QStringLiteral("Helicordia player"));
    player.setWindowTitle(QStringLiteral("Helicordia player"));
    Describe(player, "btnPlay", QStringLiteral("Play"), QStringLiteral("Starts or resumes the treatment (Space)"));
    Describe(player, "btnPause", QStringLiteral("Pause"), QStringLiteral("Pauses the treatment (Space while playing)"));
    Describe(player, "btnStop", QStringLiteral("Stop"), QStringLiteral("Stops the treatment (S)"));
    Describe(player, "btnSkip", QStringLiteral("Skip"), QStringLiteral("Skips to the next frequency (N)"));
    Describe(player, "btnHold", QStringLiteral("Hold"),
             QStringLiteral("Holds the current frequency; press again to go on (H)"));
    Describe(player, "homePageButton", QStringLiteral("Home page"), QStringLiteral("Opens the maker's web site"));
    Describe(player, "minimiseButton", QStringLiteral("Minimise"));
    Describe(player, "closeButton", QStringLiteral("Close"), QStringLiteral("Closes the player (Escape)"));
    Describe(player, "volumeWarning", QStringLiteral("Warning"), QStringLiteral("High volume level may be dangerous!"));
    Describe(player, "decorativeStrip", QStringLiteral("Decoration"));
    Describe(player, "statusLine", QStringLiteral("Status line"),
             QStringLiteral("The channel's frequency, volume and pan"));
    // The value labels keep their text as name; the description says what it is.
    Describe(player, "lblID", QString(), QStringLiteral("Health problem ID"));
    Describe(player, "lblHealthProblem", QString(), QStringLiteral("Health problem"));
    Describe(player, "lblFrequencyCount", QString(), QStringLiteral("Number of frequencies"));
    Describe(player, "lblSuggestedLength", QString(), QStringLiteral("Suggested duration"));
    Describe(player, "lblTreatmentLength", QString(), QStringLiteral("Chosen duration"));
    Describe(player, "lblVolume", QString(), QStringLiteral("Volume"));
    Describe(player, "lblTime", QString(), QStringLiteral("Elapsed time"));
    Describe(player, "lblTrack", QString(), QStringLiteral("Frequency playing"));
    Describe(player, "lblState", QString(), QStringLiteral("State"));

    const QLabel *duration = player.findChild<QLabel *>(QStringLiteral("lblTreatmentLength"));
    auto *length = Describe<QSlider>(player, "lengthSlider", QStringLiteral("Duration of treatment"));
    if (length && duration) {
        // The label is rewritten from the slider first (it was connected
        // earlier), so it already holds the new length.
        QObject::connect(length, &QSlider::valueChanged, length,
                         [length, duration] { length->setAccessibleDescription(duration->text()); });
    }
    Describe<QSlider>(player, "volumeSlider", QStringLiteral("Channel volume"));
    DescribeValue(player.findChild<QSlider *>(QStringLiteral("volumeSlider")), [](const QSlider &s) {
        return QString::number(std::floor(s.value() * 100.0 / 1024.0)) + QStringLiteral(" %");
    });
    Describe<QSlider>(player, "panSlider", QStringLiteral("Channel pan"));
    DescribeValue(player.findChild<QSlider *>(QStringLiteral("panSlider")), [](const QSlider &s) {
        const long percent = std::lround(std::abs(s.value()) * 100.0 / 512.0);
        if (percent == 0)
            return QStringLiteral("centre");
        return QStringLiteral("%1 % %2").arg(percent).arg(s.value() < 0 ? QStringLiteral("left")
                                                                        : QStringLiteral("right"));
    });
}

} // namespace helicordia
