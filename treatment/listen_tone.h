// "Listen" in the treatment editor: one frequency, sounding for as long as it
// is asked for, through the tone engine as the player uses it (the same
// set-up, the player's starting volume, the engine's ramps at the start and
// at the stop). A failing engine call is reported and the tone given up;
// unlike in the player, it does not end the program, so that nothing typed
// in the editor is lost. Qt Core only.
#pragma once

#include "engine/tone_engine.h"

#include <QCoreApplication>

namespace helicordia {

class Platform;

class ListenTone {
    Q_DECLARE_TR_FUNCTIONS(ListenTone)
public:
    ListenTone(ToneEngine &engine, Platform &platform);
    ~ListenTone();
    ListenTone(const ListenTone &) = delete;
    ListenTone &operator=(const ListenTone &) = delete;

    // Starts the tone at `hertz`. False when the engine failed (reported).
    bool start(float hertz);
    // The tone fades out and the engine is released.
    void stop();
    bool sounding() const { return system_ != 0; }

private:
    bool check(ToneResult result);

    ToneEngine &engine_;
    Platform &platform_;
    ToneHandle system_ = 0;
    ToneHandle oscillator_ = 0;
    ToneHandle channel_ = 0;
};

} // namespace helicordia
