// Plays a session on a player: loads its first treatment and presses Play;
// when a treatment's length has run out (the player stops by itself, fading
// the tone out), it waits until the engine has rendered the fade and starts
// the next one, as if the user had pressed Play on it then. Stop ends the session; Pause, Hold,
// volume and pan are the player's own and so carry over. The player window
// and the terminal player both play sessions through it. Qt Core only.
#pragma once

#include "treatment/player_core.h"
#include "treatment/session.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

namespace helicordia {

class SessionPlayer : public QObject {
    Q_OBJECT
public:
    // What plays the treatments.
    struct Stage {
        PlayerCore *core = nullptr;
        // Loads a treatment into the player, stopped, with its length set.
        std::function<void(const SessionTreatment &)> load;
        // Shows where the session stands; an empty text when it is over.
        std::function<void(const QString &)> showPlace;
        // Runs after each Play (the terminal sets its pan here).
        std::function<void()> started;
    };

    explicit SessionPlayer(Stage stage, QObject *parent = nullptr);
    ~SessionPlayer() override;

    // Plays `plan` from its first treatment. False when it has nothing to play.
    bool start(const SessionPlan &plan);
    // Ends the session where it stands (the player keeps its state).
    void end();
    bool active() const { return part_ >= 0; }
    // The part of the schedule playing (or about to), -1 when none.
    int part() const { return part_; }
    const SessionPlan &plan() const { return plan_; }

    // How often the hand-off looks whether the fade has been rendered, and
    // how long it waits at most (an output that renders nothing).
    static constexpr int HandOffPollMs = 2;
    static constexpr int HandOffLongestMs = 500;
    // Starts the next treatment once the last one's tone has faded out; the
    // hand-off timer calls it (tests may).
    void handOff_Timer();
    bool handOffPending() const { return handOff_.isActive(); }

signals:
    void partStarted(int part);
    // The session is over: `completed` when its last treatment ran out.
    void finished(bool completed);

private:
    void treatmentStopped(bool byClock);
    void play(int part);
    void finish(bool completed);

    Stage stage_;
    SessionPlan plan_;
    int part_ = -1;
    QTimer handOff_;
    QElapsedTimer handOffWait_;
};

} // namespace helicordia
