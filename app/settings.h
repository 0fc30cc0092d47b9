// The main window's stored preferences: the two language check marks and the
// window position, in the per-user settings store (application "Verbarium",
// group "Startup").
#pragma once

#include "ui/twips.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

class QSettings;

namespace helicordia {

// Positions and sizes are in twips.
constexpr int DefaultWindowEdgeTwips = 3000;

// What the store gave back. A value that was stored but could not be
// converted is left empty, so the window keeps what it had.
struct LoadedSettings {
    std::optional<bool> romanianChecked; // "DictLang"
    std::optional<int> leftTwips;        // "Left"
    std::optional<int> topTwips;         // "Top"
};

struct SettingsToSave {
    bool romanianChecked = false;
    int leftTwips = 0;
    int topTwips = 0;
    int widthTwips = 0;
    int heightTwips = 0;
};

// Reads the stored values; missing keys give the defaults (False, 3000, 3000),
// and so does a store whose file could not be parsed.
LoadedSettings ReadSettings(QSettings &store);

// Writes "DictLang", "Left", "Top", "Width", "Height" in that order; a store
// whose file could not be parsed is first emptied, so a clean file is left.
// Returns false with a reason when the store could not be written.
bool WriteSettings(QSettings &store, const SettingsToSave &values, QString *error);

// The text-to-boolean rule of the store: "True"/"False" in any case, or a
// number (non-zero is true). Anything else gives no value.
std::optional<bool> TextToBool(const QString &text);

// The text-to-number rule for the window edges: a decimal number, rounded to
// a whole twip. Anything else gives no value.
std::optional<int> TextToTwips(const QString &text);

// A window without a caption is moved by its title band, so a stored position
// must leave a piece of that band at least this many pixels wide and high on
// one screen.
constexpr int MinimumVisibleTitle = 32;

// The position to use for a window stored at `position` (pixels) whose title
// band is `titleBand` (window pixels, inside its outline): the stored one when
// enough of the band shows on a screen, otherwise the default 3000, 3000 twips.
QPoint ReachablePosition(const QPoint &position, const QRect &titleBand, const QList<QRect> &screens);

} // namespace helicordia
