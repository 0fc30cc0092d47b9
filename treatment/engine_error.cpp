#include "treatment/engine_error.h"

#include <QCoreApplication>

namespace helicordia {

namespace {

// The engine's sentences, so that they are translated with the program's
// texts; a sentence not listed here is shown as the engine wrote it.
[[maybe_unused]] const char *const EngineSentences[] = {
    QT_TRANSLATE_NOOP("ToneEngine", "No errors."),
    QT_TRANSLATE_NOOP("ToneEngine", "An invalid or released handle was used."),
    QT_TRANSLATE_NOOP("ToneEngine", "An invalid parameter was passed to this function."),
    QT_TRANSLATE_NOOP("ToneEngine", "The sound system has not been initialised."),
    QT_TRANSLATE_NOOP("ToneEngine", "The sound system has already been initialised."),
    QT_TRANSLATE_NOOP("ToneEngine", "No sound output device could be opened."),
    QT_TRANSLATE_NOOP("ToneEngine", "The sound output failed."),
    QT_TRANSLATE_NOOP("ToneEngine", "This feature is not supported."),
    QT_TRANSLATE_NOOP("ToneEngine", "No free channel is left to play on."),
    QT_TRANSLATE_NOOP("ToneEngine", "Too many objects are in use."),
    QT_TRANSLATE_NOOP("ToneEngine", "No sound server answers. Start PipeWire (with its PulseAudio service, "
                                    "pipewire-pulse) or PulseAudio."),
    QT_TRANSLATE_NOOP("ToneEngine", "The sound server does not answer."),
    QT_TRANSLATE_NOOP("ToneEngine", "The sound server went away."),
    QT_TRANSLATE_NOOP("ToneEngine", "A sound-output module of this program is missing."),
    QT_TRANSLATE_NOOP("ToneEngine", "Unknown error."),
};

} // namespace

QString EngineErrorText(ToneResult code, const char *engineText)
{
    const QString sentence = engineText ? QCoreApplication::translate("ToneEngine", engineText) : QString();
    return QCoreApplication::translate("ToneEngine", "Tone engine error! (%1) %2").arg(QString::number(code), sentence);
}

} // namespace helicordia
