#include "treatment/engine_error.h"

namespace helicordia {

QString EngineErrorText(ToneResult code, const char *engineText)
{
    return QStringLiteral("Tone engine error! (") + QString::number(code) + QStringLiteral(") ") +
           QString::fromLocal8Bit(engineText ? engineText : "");
}

} // namespace helicordia
