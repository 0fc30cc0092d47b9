#include "treatment/sound_output.h"

#include <QCoreApplication>

#include <QSettings>

namespace helicordia {

QString ReadChosenOutput(QSettings *store)
{
    return store ? store->value(OutputSettingsKey).toString().trimmed() : QString();
}

void WriteChosenOutput(QSettings *store, const QString &name)
{
    if (!store)
        return;
    if (name.isEmpty())
        store->remove(OutputSettingsKey);
    else
        store->setValue(OutputSettingsKey, name);
    store->sync();
}

void SoundOutputWatch::reset()
{
    heard_ = true;
    neverOpened_ = false;
    everLost_ = false;
    said_ = false;
    losses_ = 0;
    fallbacks_ = 0;
    listed_ = 0;
    descriptions_.clear();
    problem_.clear();
}

QString SoundOutputWatch::reasonText(const ToneOutputStatus &status) const
{
    // The engine's sentence in the interface's language (engine_error.cpp
    // lists them); the detail names files and folders.
    QString text = QCoreApplication::translate("ToneEngine", engine_.Tone_ErrorString(status.reason));
    if (status.detail[0] != '\0')
        text += QLatin1Char(' ') + QString::fromUtf8(status.detail);
    return text;
}

SoundOutputWatch::News SoundOutputWatch::look(ToneHandle system)
{
    News news;
    ToneOutputStatus status;
    if (system == 0 || engine_.Tone_System_GetOutputStatus(system, &status) != TONE_OK)
        return news;
    const bool heard = status.state == TONE_OUTPUT_READY;
    news.heardChanged = heard != heard_;
    const bool lostAgain = status.losses != losses_;
    losses_ = status.losses;
    if (heard) {
        if (news.heardChanged && said_)
            news.notice = tr("The sound is back; the treatment goes on.");
        said_ = false;
        problem_.clear();
    } else if (status.state == TONE_OUTPUT_LOST && (lostAgain || !said_)) {
        problem_ = tr("Sound lost: %1 The treatment waits until it can be heard again.").arg(reasonText(status));
        news.notice = problem_;
        said_ = true;
        everLost_ = true;
    } else if (status.state == TONE_OUTPUT_UNAVAILABLE && !said_) {
        problem_ = tr("No sound: %1").arg(reasonText(status));
        news.notice = problem_;
        said_ = true;
        everLost_ = true;
        neverOpened_ = true;
    }
    heard_ = heard;
    if (status.fallbacks != fallbacks_) {
        fallbacks_ = status.fallbacks;
        if (news.notice.isEmpty())
            news.notice = tr("The output \u201c%1\u201d is not there; the tone plays on the system's default output.")
                              .arg(describe(QString::fromUtf8(status.missingOutput)));
    }
    // (After the notice: the list read since may lack the missing output.)
    if (status.outputsListed != listed_) {
        listed_ = status.outputsListed;
        for (const OutputEntry &entry : outputs(system))
            if (!entry.name.isEmpty())
                descriptions_.insert(entry.name, entry.description);
    }
    return news;
}

QList<OutputEntry> SoundOutputWatch::outputs(ToneHandle system) const
{
    QList<OutputEntry> list{{QString(), tr("System default")}};
    int count = 0;
    if (system == 0 || engine_.Tone_System_GetOutputCount(system, &count) != TONE_OK)
        return list;
    for (int i = 0; i < count; ++i) {
        char name[256], description[256];
        if (engine_.Tone_System_GetOutputInfo(system, i, name, sizeof name, description, sizeof description) == TONE_OK)
            list.append({QString::fromUtf8(name), QString::fromUtf8(description)});
    }
    return list;
}

} // namespace helicordia
