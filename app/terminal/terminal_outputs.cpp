// --list-outputs: the sound server's outputs, as the player's Output menu
// offers them.
#include "app/terminal/terminal_modes.h"
#include "engine/tone_engine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QThread>

namespace helicordia {

namespace {

int failed(QTextStream &err, const QString &message, int status)
{
    err << QStringLiteral("helicordia: ") << message << '\n';
    err.flush();
    return status;
}

} // namespace

// --list-outputs: asks the sound server (for at most a few seconds) and
// prints each output's name and description, or why it cannot.
int PrintSoundOutputs(QTextStream &err)
{
    ToneEngine &engine = realToneEngine();
    ToneHandle system = 0;
    if (engine.Tone_System_Create(&system) != TONE_OK ||
        engine.Tone_System_Init(system, 1, TONE_INIT_NORMAL, nullptr) != TONE_OK)
        return failed(err, QCoreApplication::translate("Terminal", "The tone engine could not be started."), 1);
    ToneOutputStatus status;
    QElapsedTimer waited;
    waited.start();
    while (engine.Tone_System_GetOutputStatus(system, &status) == TONE_OK && status.outputsListed == 0 &&
           (status.state == TONE_OUTPUT_OPENING || status.state == TONE_OUTPUT_READY) && waited.elapsed() < 3000)
        QThread::msleep(10);
    QTextStream out(stdout);
    int count = 0;
    if (status.outputsListed > 0 && engine.Tone_System_GetOutputCount(system, &count) == TONE_OK) {
        for (int i = 0; i < count; ++i) {
            char name[256], description[256];
            if (engine.Tone_System_GetOutputInfo(system, i, name, sizeof name, description, sizeof description) ==
                TONE_OK)
                out << QString::fromUtf8(name) << '\t' << QString::fromUtf8(description) << '\n';
        }
    }
    out.flush();
    engine.Tone_System_Close(system);
    engine.Tone_System_Release(system);
    if (status.outputsListed > 0)
        return 0;
    const QString why =
        status.state == TONE_OUTPUT_OPENING
            ? QCoreApplication::translate("ToneEngine", engine.Tone_ErrorString(TONE_ERR_SERVER_NOT_ANSWERING))
            : QCoreApplication::translate("ToneEngine", engine.Tone_ErrorString(status.reason)) + QLatin1Char(' ') +
                  QString::fromUtf8(status.detail);
    return failed(err, why.trimmed(), 1);
}

} // namespace helicordia
