// What the player tells about the sound output: whether the tone can be
// heard (the treatment's clock follows that), one line when the output
// cannot be opened, is lost, comes back or falls back to the default; the
// output the user chose, kept in the settings.
#pragma once

#include "engine/tone_engine.h"

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QString>

#include <cstdint>

class QSettings;

namespace helicordia {

// The settings key (group "Startup") of the chosen output: the sound
// server's name for it; empty or missing for the system's default.
inline const QString OutputSettingsKey = QStringLiteral("Startup/Output");

QString ReadChosenOutput(QSettings *store);
void WriteChosenOutput(QSettings *store, const QString &name);

// One of the server's outputs, as the Output menu offers it.
struct OutputEntry {
    QString name;        // the server's name ("alsa_output.usb-…"); empty: the system's default
    QString description; // as the desktop shows it
    bool operator==(const OutputEntry &) const = default;
};

class SoundOutputWatch {
    Q_DECLARE_TR_FUNCTIONS(SoundOutputWatch)
public:
    explicit SoundOutputWatch(ToneEngine &engine) : engine_(engine) {}

    // A new engine: nothing known yet, and nothing said.
    void reset();

    // What changed since the last look (once per engine tick).
    struct News {
        bool heardChanged = false;
        QString notice; // one line for the user; empty when there is nothing to say
    };
    News look(ToneHandle system);

    // The tone can be heard (or would be): the output is open and playing.
    bool heard() const { return heard_; }
    // While it cannot be heard, after the first attempt: why, in one line.
    const QString &problem() const { return problem_; }
    // The output could not be opened at the first attempt of this engine.
    bool neverOpened() const { return neverOpened_; }
    // The output was lost (or never opened) at some time since reset().
    bool everLost() const { return everLost_; }

    // The server's outputs as last read, the system's default first.
    QList<OutputEntry> outputs(ToneHandle system) const;
    // An output's description as last seen (its name when never seen).
    QString describe(const QString &name) const { return descriptions_.value(name, name); }

private:
    QString reasonText(const ToneOutputStatus &status) const;

    ToneEngine &engine_;
    bool heard_ = true;
    bool neverOpened_ = false;
    bool everLost_ = false;
    bool said_ = false; // the problem of this episode has been told
    std::uint32_t losses_ = 0;
    std::uint32_t fallbacks_ = 0;
    std::uint32_t listed_ = 0;
    QHash<QString, QString> descriptions_; // of every output seen, to name a missing one
    QString problem_;
};

} // namespace helicordia
