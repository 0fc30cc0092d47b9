// How a failed tone-engine call is put to the user, wherever the engine is used.
#pragma once

#include "engine/tone.h"

#include <QString>

namespace helicordia {

// "Tone engine error! (6) " followed by the engine's sentence for the code.
QString EngineErrorText(ToneResult code, const char *engineText);

} // namespace helicordia
