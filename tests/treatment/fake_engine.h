// A tone engine that records every call as text, e.g.
// "Tone_Channel_SetFrequency(33,52800)", and answers from its fields.
#pragma once

#include "engine/tone_engine.h"

#include <QString>
#include <QStringList>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace helicordia::test {

class RecordingEngine : public ToneEngine {
public:
    QStringList calls;
    std::map<QString, ToneResult> failures; // function name -> code returned
    std::uint32_t version = 0x10000;
    ToneHandle nextSystem = 11;
    ToneHandle nextDsp = 22;
    ToneHandle newChannel = 33;
    float pan = 0.0f;
    float frequency = 0.0f;
    float volume = 0.0f;
    int playing = 0;
    ToneOutputStatus outputStatus = [] {
        ToneOutputStatus s;
        s.state = TONE_OUTPUT_READY;
        return s;
    }();
    std::vector<std::pair<std::string, std::string>> outputs; // name, description

    void clear() { calls.clear(); }
    // The calls whose names start with prefix, in order.
    QStringList named(const QString &prefix) const
    {
        QStringList out;
        for (const QString &c : calls)
            if (c.startsWith(prefix))
                out << c;
        return out;
    }

    ToneResult Tone_System_Create(ToneHandle *system) override
    {
        const ToneResult r = record(QStringLiteral("Tone_System_Create"), {});
        if (r == TONE_OK)
            *system = nextSystem;
        return r;
    }
    ToneResult Tone_System_GetVersion(ToneHandle system, std::uint32_t *v) override
    {
        const ToneResult r = record(QStringLiteral("Tone_System_GetVersion"), {n(system)});
        if (r == TONE_OK)
            *v = version;
        return r;
    }
    ToneResult Tone_System_Init(ToneHandle system, int maxChannels, std::uint32_t flags, void *extra) override
    {
        return record(QStringLiteral("Tone_System_Init"),
                      {n(system), n(maxChannels), n(flags), extra ? QStringLiteral("data") : QStringLiteral("null")});
    }
    ToneResult Tone_System_CreateDSPByType(ToneHandle system, int type, ToneHandle *dsp) override
    {
        const ToneResult r = record(QStringLiteral("Tone_System_CreateDSPByType"), {n(system), n(type)});
        if (r == TONE_OK)
            *dsp = nextDsp;
        return r;
    }
    ToneResult Tone_DSP_SetParameter(ToneHandle dsp, int index, float value) override
    {
        return record(QStringLiteral("Tone_DSP_SetParameter"), {n(dsp), n(index), f(value)});
    }
    ToneResult Tone_System_PlayDSP(ToneHandle system, int channelIndex, ToneHandle dsp, int paused,
                                   ToneHandle *channel) override
    {
        const ToneResult r =
            record(QStringLiteral("Tone_System_PlayDSP"), {n(system), n(channelIndex), n(dsp), n(paused), n(*channel)});
        if (r == TONE_OK && *channel == 0)
            *channel = newChannel;
        return r;
    }
    ToneResult Tone_Channel_SetFrequency(ToneHandle c, float v) override
    {
        return record(QStringLiteral("Tone_Channel_SetFrequency"), {n(c), f(v)});
    }
    ToneResult Tone_Channel_SetVolume(ToneHandle c, float v) override
    {
        return record(QStringLiteral("Tone_Channel_SetVolume"), {n(c), f(v)});
    }
    ToneResult Tone_Channel_SetPan(ToneHandle c, float v) override
    {
        return record(QStringLiteral("Tone_Channel_SetPan"), {n(c), f(v)});
    }
    ToneResult Tone_Channel_SetPaused(ToneHandle c, int p) override
    {
        return record(QStringLiteral("Tone_Channel_SetPaused"), {n(c), n(p)});
    }
    ToneResult Tone_Channel_Stop(ToneHandle c) override { return record(QStringLiteral("Tone_Channel_Stop"), {n(c)}); }
    ToneResult Tone_Channel_GetPan(ToneHandle c, float *v) override
    {
        const ToneResult r = record(QStringLiteral("Tone_Channel_GetPan"), {n(c)});
        if (r == TONE_OK)
            *v = pan;
        return r;
    }
    ToneResult Tone_Channel_GetFrequency(ToneHandle c, float *v) override
    {
        const ToneResult r = record(QStringLiteral("Tone_Channel_GetFrequency"), {n(c)});
        if (r == TONE_OK)
            *v = frequency;
        return r;
    }
    ToneResult Tone_Channel_GetVolume(ToneHandle c, float *v) override
    {
        const ToneResult r = record(QStringLiteral("Tone_Channel_GetVolume"), {n(c)});
        if (r == TONE_OK)
            *v = volume;
        return r;
    }
    ToneResult Tone_Channel_IsPlaying(ToneHandle c, int *p) override
    {
        const ToneResult r = record(QStringLiteral("Tone_Channel_IsPlaying"), {n(c)});
        if (r == TONE_OK)
            *p = playing;
        return r;
    }
    ToneResult Tone_System_Update(ToneHandle s) override
    {
        return record(QStringLiteral("Tone_System_Update"), {n(s)});
    }
    ToneResult Tone_DSP_Release(ToneHandle d) override { return record(QStringLiteral("Tone_DSP_Release"), {n(d)}); }
    ToneResult Tone_System_Close(ToneHandle s) override { return record(QStringLiteral("Tone_System_Close"), {n(s)}); }
    ToneResult Tone_System_Release(ToneHandle s) override
    {
        return record(QStringLiteral("Tone_System_Release"), {n(s)});
    }
    const char *Tone_ErrorString(ToneResult code) override
    {
        return code == 6 ? "Could not write to the sound output." : "Some engine sentence.";
    }
    // The output's queries are answered, not recorded: the tick makes them.
    ToneResult Tone_System_GetOutputStatus(ToneHandle, ToneOutputStatus *status) override
    {
        *status = outputStatus;
        return TONE_OK;
    }
    ToneResult Tone_System_GetOutputCount(ToneHandle, int *count) override
    {
        *count = int(outputs.size());
        return TONE_OK;
    }
    ToneResult Tone_System_GetOutputInfo(ToneHandle, int i, char *name, int nameSize, char *description,
                                         int descriptionSize) override
    {
        std::snprintf(name, std::size_t(nameSize), "%s", outputs[std::size_t(i)].first.c_str());
        std::snprintf(description, std::size_t(descriptionSize), "%s", outputs[std::size_t(i)].second.c_str());
        return TONE_OK;
    }
    ToneResult Tone_System_SetOutput(ToneHandle s, const char *name) override
    {
        return record(QStringLiteral("Tone_System_SetOutput"), {n(s), QString::fromUtf8(name)});
    }

private:
    static QString n(long long v) { return QString::number(v); }
    static QString f(float v) { return QString::number(double(v), 'g', 9); }
    ToneResult record(const QString &name, const QStringList &args)
    {
        calls << name + QLatin1Char('(') + args.join(QLatin1Char(',')) + QLatin1Char(')');
        const auto it = failures.find(name);
        return it == failures.end() ? TONE_OK : it->second;
    }
};

} // namespace helicordia::test
